#pragma once

#include "platform/ak/NativeView.h"
#include "platform/ak/View.h"

namespace ak {

// Shows part of a larger document view through a clip area, with scrollers
// that appear only while the document does not fit. The document is an
// ordinary subview (of the clip area): it draws and receives the mouse at
// its own coordinates, however far it is scrolled; wheel events it passes
// on scroll it. No background of its own.
class ScrollView : public View {
public:
    explicit ScrollView(Rect frame);
    ~ScrollView() override;

    // Replaces the document view (null: none); its origin is the scroll view's.
    void SetDocumentView(View* document);
    View* DocumentView() const { return m_document.Get(); }

    // Scrollers allowed at all (both are, at first); shown only when needed.
    void SetHasVerticalScroller(bool has);
    void SetHasHorizontalScroller(bool has);
    bool IsVerticalScrollerShown() const;
    bool IsHorizontalScrollerShown() const;

    // The part of the document in sight, in the document's coordinates.
    Rect DocumentVisibleRect() const;
    // Puts a document point at the clip's top-left, kept within the document.
    void ScrollToPoint(Point inDocument);
    void ScrollRectToVisible(Rect inDocument);
    // Lays out clip and scrollers again; the document's frame changes do it too.
    void Tile();

    void ScrollWheel(const Event& event) override;
    void FrameDidChange() override { Tile(); }

private:
    class ClipView;
    static void OnScrolled(void* adjustment, ScrollView* self);
    void ShowOffset(Point offset);
    Point MaxOffset() const;

    Ref<ClipView> m_clip;
    Ref<View> m_document;
    Ref<NativeView> m_vertical;
    Ref<NativeView> m_horizontal;
    void* m_verticalBar;   // GtkScrollbar, the scroller view's
    void* m_horizontalBar; // GtkScrollbar
    bool m_hasVertical = true;
    bool m_hasHorizontal = true;
    bool m_tiling = false;
};

} // namespace ak
