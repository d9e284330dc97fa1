#include "platform/ak/ScrollView.h"

#include "platform/ak/Backing.h"
#include "platform/ak/Event.h"

#include <gtk/gtk.h>

#include <algorithm>

namespace ak {

namespace {

// A wheel notch moves this far, as a few lines of text would.
constexpr double kPixelsPerNotch = 40;

GtkAdjustment* AdjustmentOf(void* bar) {
    return gtk_range_get_adjustment(GTK_RANGE(bar));
}

} // namespace

// The visible part: the document lies in it at minus the scroll offset.
class ScrollView::ClipView : public View {
public:
    explicit ClipView(ScrollView* owner) : m_owner(owner) {}
    void SubviewFrameDidChange(View*) override {
        if (m_owner)
            m_owner->Tile();
    }
    ScrollView* m_owner; // cleared when the owner goes
};

ScrollView::ScrollView(Rect frame)
    : View(frame), m_clip(MakeRef<ClipView>(this)), m_vertical(MakeRef<NativeView>()),
      m_horizontal(MakeRef<NativeView>()),
      m_verticalBar(gtk_scrollbar_new(GTK_ORIENTATION_VERTICAL, nullptr)),
      m_horizontalBar(gtk_scrollbar_new(GTK_ORIENTATION_HORIZONTAL, nullptr)) {
    // Ours until we go, though the window may destroy its widgets first.
    for (void* bar : {m_verticalBar, m_horizontalBar})
        g_object_ref_sink(bar);
    HostWidget(*m_vertical, GTK_WIDGET(m_verticalBar));
    HostWidget(*m_horizontal, GTK_WIDGET(m_horizontalBar));
    for (void* bar : {m_verticalBar, m_horizontalBar})
        g_signal_connect(AdjustmentOf(bar), "value-changed", G_CALLBACK(&ScrollView::OnScrolled),
                         this);
    AddSubview(m_clip.Get());
    AddSubview(m_vertical.Get());
    AddSubview(m_horizontal.Get());
    Tile();
}

ScrollView::~ScrollView() {
    m_clip->m_owner = nullptr;
    for (void* bar : {m_verticalBar, m_horizontalBar}) {
        g_signal_handlers_disconnect_by_data(AdjustmentOf(bar), this);
        g_object_unref(bar);
    }
}

void ScrollView::SetDocumentView(View* document) {
    if (m_document)
        m_document->RemoveFromSuperview();
    m_document = document;
    if (document) {
        document->SetFrameOrigin({});
        m_clip->AddSubview(document);
    }
    Tile();
}

void ScrollView::SetHasVerticalScroller(bool has) {
    m_hasVertical = has;
    Tile();
}

void ScrollView::SetHasHorizontalScroller(bool has) {
    m_hasHorizontal = has;
    Tile();
}

bool ScrollView::IsVerticalScrollerShown() const {
    return !m_vertical->IsHidden();
}

bool ScrollView::IsHorizontalScrollerShown() const {
    return !m_horizontal->IsHidden();
}

Rect ScrollView::DocumentVisibleRect() const {
    const Point origin = m_document ? m_document->Frame().origin : Point{};
    return {{-origin.x, -origin.y}, m_clip->Frame().size};
}

Point ScrollView::MaxOffset() const {
    const Size clip = m_clip->Frame().size;
    const Size document = m_document ? m_document->Frame().size : Size{};
    return {std::max(0.0, document.width - clip.width),
            std::max(0.0, document.height - clip.height)};
}

void ScrollView::ScrollToPoint(Point inDocument) {
    ShowOffset(inDocument);
}

void ScrollView::ScrollRectToVisible(Rect inDocument) {
    const Rect visible = DocumentVisibleRect();
    Point offset = visible.origin;
    if (inDocument.MaxX() > visible.MaxX())
        offset.x = inDocument.MaxX() - visible.size.width;
    if (inDocument.MinX() < offset.x)
        offset.x = inDocument.MinX();
    if (inDocument.MaxY() > visible.MaxY())
        offset.y = inDocument.MaxY() - visible.size.height;
    if (inDocument.MinY() < offset.y)
        offset.y = inDocument.MinY();
    ShowOffset(offset);
}

// Scrollers only where the document does not fit; showing one narrows the
// room for the other.
void ScrollView::Tile() {
    if (m_tiling)
        return;
    m_tiling = true;
    int thickness = 0;
    gtk_widget_get_preferred_width(GTK_WIDGET(m_verticalBar), nullptr, &thickness);
    const double t = thickness;
    const Size area = Frame().size;
    const Size document = m_document ? m_document->Frame().size : Size{};
    bool vertical = m_hasVertical && document.height > area.height;
    const bool horizontal = m_hasHorizontal && document.width > area.width - (vertical ? t : 0);
    if (horizontal && !vertical)
        vertical = m_hasVertical && document.height > area.height - t;
    const Size clip{std::max(0.0, area.width - (vertical ? t : 0)),
                    std::max(0.0, area.height - (horizontal ? t : 0))};
    m_clip->SetFrame({{}, clip});
    m_vertical->SetFrame({{clip.width, 0}, {t, clip.height}});
    m_vertical->SetHidden(!vertical);
    m_horizontal->SetFrame({{0, clip.height}, {clip.width, t}});
    m_horizontal->SetHidden(!horizontal);
    const Point offset = DocumentVisibleRect().origin;
    gtk_adjustment_configure(AdjustmentOf(m_verticalBar), offset.y, 0, document.height, 16,
                             clip.height * 0.9, clip.height);
    gtk_adjustment_configure(AdjustmentOf(m_horizontalBar), offset.x, 0, document.width, 16,
                             clip.width * 0.9, clip.width);
    m_tiling = false;
    ShowOffset(offset);
}

void ScrollView::ShowOffset(Point offset) {
    if (!m_document || m_tiling)
        return;
    const Point limit = MaxOffset();
    offset = {std::clamp(offset.x, 0.0, limit.x), std::clamp(offset.y, 0.0, limit.y)};
    m_tiling = true;
    m_document->SetFrameOrigin({-offset.x, -offset.y});
    gtk_adjustment_set_value(AdjustmentOf(m_verticalBar), offset.y);
    gtk_adjustment_set_value(AdjustmentOf(m_horizontalBar), offset.x);
    m_tiling = false;
}

void ScrollView::OnScrolled(void*, ScrollView* self) {
    if (self->m_tiling)
        return;
    Ref<View> hold(self);
    self->ShowOffset({gtk_adjustment_get_value(AdjustmentOf(self->m_horizontalBar)),
                      gtk_adjustment_get_value(AdjustmentOf(self->m_verticalBar))});
}

void ScrollView::ScrollWheel(const Event& event) {
    if (!m_document)
        return View::ScrollWheel(event);
    const Point offset = DocumentVisibleRect().origin;
    ShowOffset(
        {offset.x - event.deltaX * kPixelsPerNotch, offset.y - event.deltaY * kPixelsPerNotch});
}

} // namespace ak
