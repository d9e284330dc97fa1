// The factory's maker of list views, list boxes and tree views, and the one
// call that puts them and their calls into the layer.
#include "winlayer/controls/ListControlMaker.h"
#include "winlayer/listviews/ListView.h"
#include "winlayer/listviews/TreeView.h"

#include <algorithm>
#include <cmath>
#include <strings.h>

namespace winlayer {
namespace {

// A list without report columns gets one column this wide at least.
constexpr double kListViewColumnBase = 300;
constexpr double kListBoxColumnBase = 1200;
constexpr double kColumnInset = 4;

HWND MakeListControl(HWND parent, const char* className, int id, int style, ak::Rect frame) {
    if (strcasecmp(className, "SysTreeView32") == 0)
        return CreateTreeView(parent, frame, id, style);
    const bool listBox = strcasecmp(className, "SysListView32_LB") == 0;
    const HWND list = CreateListView(parent, frame, id, style, listBox);
    if (!list || (!listBox && (style & LVS_REPORT)))
        return list;
    LVCOLUMN column{};
    column.mask = LVCF_WIDTH | LVCF_TEXT;
    column.pszText = const_cast<char*>("");
    column.cx = static_cast<int>(std::ceil(std::max(
        listBox ? kListBoxColumnBase : kListViewColumnBase, frame.size.width - kColumnInset)));
    ListView_InsertColumn(list, 0, &column);
    return list;
}

} // namespace

void EnableListControls() {
    SetListControlMaker(&MakeListControl);
    AddListApiNames();
}

} // namespace winlayer
