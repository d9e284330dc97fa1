#include "render/view/ICanvasView.h"

#include "framework/ICanvasEditorDelegate.h"
#include "platform/ak/Appearance.h"
#include "platform/ak/Application.h"
#include "platform/ak/ColorPanel.h"
#include "platform/ak/Screen.h"
#include "platform/ak/Window.h"
#include "render/view/ICanvasMac.h"
#include "render/view/ViewGeometry.h"

#include <cmath>

namespace vx::ui {

// Runs on the Metal worker: keeps the frame's damage and wakes the main
// thread once per batch of frames, which repaints only what changed.
class ICanvasView::Presenter : public mtl::Presenter {
public:
    Presenter(std::shared_ptr<FrameStore> store, std::weak_ptr<ICanvasView*> view)
        : store(std::move(store)), view(std::move(view)) {}

    void present(const unsigned char* pixels, int width, int height, int pitch,
                 mtl::PixelRect damage) override {
        if (!store->Store(pixels, width, height, pitch, damage))
            return;
        ak::Application::RunOnMainLater([store = store, view = view] {
            const mtl::PixelRect changed = store->RedrawTaken();
            if (const auto alive = view.lock(); alive && *alive)
                (*alive)->SetNeedsDisplayInPixels(changed);
        });
    }

private:
    std::shared_ptr<FrameStore> store;
    std::weak_ptr<ICanvasView*> view;
};

ICanvasView::ICanvasView(ICanvasMac* canvas)
    : View({{}, PanelViewSize(canvas->Width(), canvas->Height(), canvas->GetDrawScale())}),
      canvas(canvas), self(std::make_shared<ICanvasView*>(this)) {
    layer->setDevice(std::make_shared<mtl::Device>());
    layer->setPresenter(std::make_shared<Presenter>(store, self));
    RegisterForDraggedFiles();
    SetTracksMouseEnterExit(true);
    // The desktop's callbacks hold one function each: the newest view takes them.
    std::weak_ptr<ICanvasView*> alive = self;
    ak::Appearance::SetChangeCallback([alive] {
        if (const auto view = alive.lock(); view && *view)
            (*view)->ViewDidChangeEffectiveAppearance();
    });
    ak::Screen::SetChangeCallback([alive] {
        if (const auto view = alive.lock(); view && *view)
            (*view)->BackingScaleChanged(ak::Screen::Main().BackingScaleFactor());
    });
    SetTimer();
}

ICanvasView::~ICanvasView() {
    KillTimer();
    *self = nullptr;
    if (textField) { // its focus leaving must not reach this view any more
        textField->onEditingEnded = nullptr;
        textField->onReturn = nullptr;
    }
    if (ak::ColorPanel::IsShown())
        ak::ColorPanel::Close();
}

void ICanvasView::SetTimer() {
    KillTimer();
    timer = std::make_unique<ak::TimeoutSource>(
        FrameIntervalMs(canvas ? canvas->FPS() : 60), [this] { Render(); },
        ak::TimeoutSource::Start::AfterInterval);
}

void ICanvasView::KillTimer() {
    if (timer)
        timer->Cancel();
    timer.reset();
}

void ICanvasView::Render() {
    dirtyRects.Clear();
    if (!canvas || !canvas->IsDirty(dirtyRects))
        return;
    canvas->MarkAllControlsClean();
    canvas->BeginContextUse();
    try {
        canvas->DrawAllDirty(dirtyRects);
    } catch (...) {
        canvas->EndContextUse();
        throw;
    }
    canvas->EndContextUse();
}

void ICanvasView::SetNeedsDisplayInPixels(const mtl::PixelRect& r) {
    const double s = backingScale > 0 ? backingScale : 1;
    SetNeedsDisplayInRect({{r.x / s, r.y / s}, {r.width / s, r.height / s}});
}

void ICanvasView::DrawRect(cairo_t* cr, ak::Rect dirty) {
    store->WithKept([&](const FrameStore::Frame& frame) {
        if (frame.pixels.empty())
            return;
        // cairo only reads the bytes while painting, under the store's lock.
        auto* data = const_cast<unsigned char*>(frame.pixels.data());
        cairo_surface_t* surface = cairo_image_surface_create_for_data(
            data, CAIRO_FORMAT_ARGB32, frame.width, frame.height, frame.width * 4);
        cairo_surface_set_device_scale(surface, backingScale, backingScale);
        cairo_save(cr);
        cairo_rectangle(cr, dirty.MinX(), dirty.MinY(), dirty.size.width, dirty.size.height);
        cairo_clip(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_surface(cr, surface, 0, 0);
        cairo_paint(cr);
        cairo_restore(cr);
        cairo_surface_destroy(surface);
        ++painted;
    });
}

void ICanvasView::ViewDidMoveToWindow() {
    ak::Window* window = GetWindow();
    if (!window) {
        // The window went away under us: the editor closes, after this call.
        if (canvas && !removed) {
            ICanvasEditorDelegate* delegate = &canvas->GetDelegate();
            std::weak_ptr<ICanvasView*> alive = self;
            ak::Application::RunOnMainLater([alive, delegate] {
                if (const auto view = alive.lock(); view && *view && (*view)->canvas)
                    delegate->CloseEditor();
            });
        }
        return;
    }
    window->MakeFirstResponder(this);
    backingScale = ak::Screen::Main().BackingScaleFactor();
    if (canvas)
        canvas->SetScreenScale(float(backingScale));
    ResizeDrawable();
}

void ICanvasView::FrameDidChange() {
    ResizeDrawable();
}

void ICanvasView::BackingScaleChanged(double scale) {
    if (!GetWindow())
        return;
    if (canvas) {
        canvas->ForgetPlatformContext();
        if (float(scale) != canvas->GetScreenScale())
            canvas->SetScreenScale(float(scale));
    }
    backingScale = scale;
    ResizeDrawable();
}

void ICanvasView::RegisterToolTip(const IRECT& bounds) {
    const float scale = canvas ? canvas->GetDrawScale() : 1.f;
    AddToolTipRect(ViewRectOf(bounds, scale), [this](ak::Point) { return ToolTipText(); });
}

void ICanvasView::ResizeDrawable() {
    const ak::Size size = Frame().size;
    layer->drawableSize = {size_t(size.width * backingScale), size_t(size.height * backingScale),
                           1};
}

void ICanvasView::RemoveFromWindow() {
    if (removed)
        return;
    removed = true;
    EndUserInput();
    if (colorPickerFunc && ak::ColorPanel::IsShown())
        ak::ColorPanel::Close(); // its changes would reach nobody
    colorPickerFunc = nullptr;
    KillTimer();
    RemoveAllToolTips();
    ICanvasMac* owner = canvas;
    canvas = nullptr;
    if (owner)
        owner->ForgetPlatformContext();
    ak::Ref<View> keep(this); // the superview may hold the last reference
    RemoveFromSuperview();
    if (owner)
        owner->GetDelegate().CloseEditor();
}

} // namespace vx::ui
