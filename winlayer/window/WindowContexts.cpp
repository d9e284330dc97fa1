// Drawing contexts on a window view outside its paint.
#include "winlayer/draw/GdiRecords.h"
#include "winlayer/window/MetalView.h"
#include "winlayer/window/WindowCalls.h"

#include "platform/ak/View.h"
#include "platform/sys/Log.h"

#include <cstdio>

using namespace winlayer;

HDC GetDC(HWND window) {
    ak::View* view = FindView(window);
    if (!view)
        return nullptr;
    if (MetalView* metal = MetalOf(window)) { // drawing goes into its frame
        HDC hdc = NewMetalContext(metal);
        hdc->window = window;
        return hdc;
    }
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
    if (IsValidContext(hdc) && hdc->origin == ContextOrigin::Metal) {
        const HWND owner = hdc->window ? hdc->window : window;
        WISP_DeleteGfxContext(hdc);
        MetalView* metal = MetalOf(owner);
        if (metal && metal->FrameOpen()) { // what was written is shown now
            if (metal->GetMode() == MetalView::direct) {
                char line[160];
                std::snprintf(line, sizeof line,
                              "wisp-cocoa: metal(1) surface %p had write in GetDC()/ReleaseDC(), "
                              "this is unsupported, use a metal(2) surface\n",
                              static_cast<void*>(owner));
                sys::LogError(line);
            }
            metal->Refresh(nullptr);
        }
        return 1;
    }
    if (!IsValidContext(hdc) || hdc->origin != ContextOrigin::Window)
        return 0;
    ak::View* view = FindView(hdc->window ? hdc->window : window);
    cairo_restore(hdc->cr);
    WISP_DeleteGfxContext(hdc);
    if (view)
        view->UnlockFocus();
    return 1;
}
