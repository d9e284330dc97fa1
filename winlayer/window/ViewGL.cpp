// OpenGL contexts of window views. The platform offers no OpenGL, so a view
// never has one: asking for one changes nothing and the queries say so.
#include "winlayer/window/WindowCalls.h"

void WISP_SetViewGL(HWND, int) {}

BOOL WISP_GetViewGL(HWND) {
    return FALSE;
}

BOOL WISP_SetGLContextToView(HWND) {
    return FALSE;
}
