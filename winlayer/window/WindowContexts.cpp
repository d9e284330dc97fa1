// Drawing contexts on a window view outside its paint.
#include "winlayer/GdiRecords.h"
#include "winlayer/window/WindowCalls.h"

#include "platform/ak/View.h"

using namespace winlayer;

HDC GetDC(HWND window) {
    ak::View* view = FindView(window);
    if (!view)
        return nullptr;
    cairo_t* cr = view->LockFocus();
    if (!cr)
        return nullptr;
    HDC hdc = WISP_WrapGraphicsContext(cr);
    hdc->origin = ContextOrigin::Window;
    hdc->window = window;
    cairo_save(cr);
    return hdc;
}

HDC GetWindowDC(HWND window) {
    // Views' bounds start at the origin here, so there is nothing to move.
    return GetDC(window);
}

int ReleaseDC(HWND window, HDC hdc) {
    if (!IsValidContext(hdc) || hdc->origin != ContextOrigin::Window)
        return 0;
    ak::View* view = FindView(hdc->window ? hdc->window : window);
    cairo_restore(hdc->cr);
    WISP_DeleteGfxContext(hdc);
    if (view)
        view->UnlockFocus();
    return 1;
}
