// A window view's paint: the non-client step, WM_PAINT with its paint
// context, and the dialog background behind it.
#include "winlayer/InputRecords.h"
#include "winlayer/window/MetalView.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

#include <utility>

namespace {

RECT Normalised(RECT rect) {
    if (rect.bottom < rect.top)
        std::swap(rect.top, rect.bottom);
    return rect;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace

void Wisp_vOmnarControl_hwnd::DrawRect(cairo_t* cr, ak::Rect dirty) {
    if (metal_) { // the procedure paints into the Metal frame, shown here
        metal_->PaintFrame(cr);
        return;
    }
    HDC hdc = WISP_WrapGraphicsContext(cr);
    deliverPaint(hdc, false, dirty);
    WISP_DeleteGfxContext(hdc);
    dirtyBits_ = 0;
}

void Wisp_vOmnarControl_hwnd::deliverPaint(HDC hdc, bool after, ak::Rect rect) {
    if (life_ != Life::alive)
        return;
    ak::Ref<ak::View> hold(this);
    const HWND self = Handle();
    paint_ = {hdc, rect, false};
    RECT windowRect{};
    GetWindowRect(self, &windowRect);
    NCCALCSIZE_PARAMS sizes{};
    sizes.rgrc[0] = Normalised(windowRect);
    onWispMessage(WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&sizes));
    const RECT client = sizes.rgrc[0];
    if (!after)
        onWispMessage(WM_NCPAINT, 1, 0);
    paint_.rect.origin.x += client.left - windowRect.left;
    paint_.rect.origin.y += client.top - windowRect.top;
    const WPARAM hdcParam = reinterpret_cast<WPARAM>(hdc);
    if (paint_.rect.size.width >= 1 && paint_.rect.size.height >= 1) {
        if (!after && !SameRect(client, windowRect)) {
            WISP_PushClipRegion(hdc);
            RECT clip{};
            GetClientRect(self, &clip);
            WISP_SetClipRegion(hdc, &clip);
            onWispMessage(WM_PAINT, hdcParam, 0);
            WISP_PopClipRegion(hdc);
        } else {
            onWispMessage(WM_PAINT, hdcParam, 0);
        }
    }
    if (after)
        onWispMessage(WM_NCPAINT, 1, 0);
    paint_.hdc = nullptr;
}

bool Wisp_vOmnarControl_hwnd::getWispPaintInfo(PAINTSTRUCT* paint) {
    if (!paint_.hdc || !paint)
        return false;
    paint_.used = true;
    RECT client{};
    GetClientRect(Handle(), &client);
    const ak::Rect r = paint_.rect;
    paint->hdc = paint_.hdc;
    paint->fErase = 0;
    paint->rcPaint =
        winlayer::PaintRectangle(r.origin.x, r.origin.y, r.size.width, r.size.height, client);
    return true;
}

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
    if (!paint)
        return nullptr;
    paint->hdc = nullptr;
    paint->fErase = 0;
    paint->rcPaint = {};
    paint->fRestore = 0;
    paint->fIncUpdate = 0;
    auto* view = dynamic_cast<Wisp_vOmnarControl_hwnd*>(winlayer::FindView(window));
    if (!view || !view->getWispPaintInfo(paint))
        return nullptr;
    return static_cast<HDC>(paint->hdc);
}

namespace winlayer {

void PaintDialogBackground(HWND window, DLGPROC dialogProc) {
    auto* view = dynamic_cast<Wisp_vOmnarControl_hwnd*>(FindView(window));
    if (!view || dialogProc(window, WM_ERASEBKGND, 0, 0) != 0)
        return;
    if (!view->IsOpaque() && !view->isContentView())
        return;
    PAINTSTRUCT paint{};
    HDC hdc = BeginPaint(window, &paint);
    const RECT& r = paint.rcPaint;
    if (hdc && r.right > r.left && r.bottom > r.top) {
        const auto brush =
            static_cast<LRESULT>(dialogProc(window, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(hdc),
                                            reinterpret_cast<LPARAM>(window)));
        if (brush > 1)
            WISP_FillRect(hdc, &r, reinterpret_cast<HBRUSH>(brush));
        else if (view->IsOpaque())
            WISP_FillDialogBackground(hdc, &r);
    }
    EndPaint(window, &paint);
}

} // namespace winlayer
