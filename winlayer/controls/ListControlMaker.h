#pragma once

#include "platform/ak/Geometry.h"
#include "winlayer/WindowApi.h"

// The list view, list box and tree view controls live in a library above the
// window core; that library hands the factory its maker here, so
// WISP_MakeControl can build them from control lists without a cyclic link.

namespace winlayer {

// Makes a control of className ("SysListView32", "SysListView32_LB" or
// "SysTreeView32") in parent at frame (points), with its id and style; the
// parent holds it. Null when it cannot.
using ListControlMaker = HWND (*)(HWND parent, const char* className, int id, int style,
                                  ak::Rect frame);
void SetListControlMaker(ListControlMaker maker);

} // namespace winlayer
