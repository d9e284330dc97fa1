// Controls by Win32 class name, from control lists and from the
// application's registered creators.
#include "platform/ak/Font.h"
#include "winlayer/controls/BuildState.h"
#include "winlayer/controls/ControlCalls.h"
#include "winlayer/controls/DialogControls.h"
#include "winlayer/controls/ListControlMaker.h"
#include "winlayer/controls/StyleBits.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <vector>

using namespace winlayer;

namespace {

constexpr int kGwlExStyle = -20;
constexpr double kSliderRange = 1000;
constexpr int kComboTextPoints = 22;
constexpr int kDropDownPoints = 18;
constexpr double kComboFontSize = 10;

struct CreatorNode {
    CustomControlCreator creator;
    int references;
};

std::vector<CreatorNode>& Creators() {
    static std::vector<CreatorNode> creators;
    return creators;
}

bool Is(const char* name, const char* className) {
    return strcasecmp(name, className) == 0;
}

ListControlMaker& ListMaker() {
    static ListControlMaker maker = nullptr;
    return maker;
}

HWND MakeListClass(const char* className, int id, int style, int x, int y, int w, int h) {
    if (!ListMaker()) {
        std::fprintf(stderr,
                     "winlayer: WISP_MakeControl(%s) needs the list controls: link "
                     "omnar_winlayer_listviews and call winlayer::EnableListControls()\n",
                     className);
        std::abort();
    }
    const ControlFrame frame = ScaleControlRect(BuildParms(), x, y, w, h, ShiftRequest::None);
    return ListMaker()(HandleOf(BuildParent()), className, id, style, ToRect(frame));
}

HWND FromCreators(const char* caption, int id, const char* className, int style, int x, int y,
                  int w, int h, int exStyle) {
    ak::View* parent = BuildParent();
    const ControlFrame frame = ScaleControlRect(BuildParms(), x, y, w, h, ShiftRequest::None);
    // A creator may register or unregister others: walk a copy.
    const std::vector<CreatorNode> creators = Creators();
    for (const CreatorNode& node : creators) {
        const HWND made = node.creator(parent ? HandleOf(parent) : nullptr, caption, id, className,
                                       style, frame.x, frame.y, frame.width, frame.height);
        if (!made)
            continue;
        if (exStyle && IsLiveWindowHandle(made))
            SetWindowLong(made, kGwlExStyle, exStyle);
        return made;
    }
    return nullptr;
}

HWND AddPlain(ak::Control& control, int id, int style) {
    control.SetTag(id);
    return AddToParent(*BuildParent(), control, style);
}

HWND MakeTabs(int id, int style, int x, int y, int w, int h) {
    const ControlFrame frame =
        ScaleControlRect(BuildParms(), x, y - 1, w, h + 6, ShiftRequest::None);
    auto tabs = ak::MakeRef<Wisp_vOmnarControl_tabview>(ToRect(frame));
    tabs->setWispStyle(style);
    tabs->setNotificationWindow(HandleOf(BuildParent()));
    SetAllowNoMiddleManRendering(HandleOf(BuildParent()), FALSE);
    return AddPlain(*tabs, id, style);
}

HWND MakeProgress(int id, int style, int x, int y, int w, int h) {
    const ControlFrame frame = ScaleControlRect(BuildParms(), x, y, w, h, ShiftRequest::None);
    auto bar = ak::MakeRef<Wisp_vOmnarControl_progind>(ToRect(frame));
    return AddPlain(*bar, id, style);
}

HWND MakeTrackbar(int id, int style, bool mini, int x, int y, int w, int h) {
    const ControlFrame frame = ScaleControlRect(BuildParms(), x, y, w, h, ShiftRequest::None);
    auto slider = ak::MakeRef<ak::Slider>(ToRect(frame));
    slider->SetRange(0, kSliderRange);
    slider->SetMini(mini);
    return AddPlain(*slider, id, style);
}

} // namespace

HWND WISP_MakeCombo(int id, int x, int y, int w, int, int style) {
    ak::View* parent = BuildParent();
    if (!parent)
        return nullptr;
    ak::Ref<ak::Control> control;
    if ((style & CBS_DROPDOWNLIST) == CBS_DROPDOWNLIST) {
        auto list = ak::MakeRef<Wisp_vOmnarControl_pub>(ToRect(ScaleControlRect(
            BuildParms(), x, y, w, kDropDownPoints, ShiftRequest::Shift, HeightUnit::Points)));
        list->setWispStyle(style);
        control = list;
    } else {
        auto combo = ak::MakeRef<Wisp_vOmnarControl_cbox>(ToRect(ScaleControlRect(
            BuildParms(), x, y - 1, w, kComboTextPoints, ShiftRequest::Shift, HeightUnit::Points)));
        combo->setWispStyle(style);
        control = combo;
    }
    control->SetFont(ak::Font::System(kComboFontSize));
    control->SetTag(id);
    const HWND handle = AddToParent(*parent, *control, style);
    MeasureShift(*control);
    return handle;
}

HWND WISP_MakeListBox(int id, int x, int y, int w, int h, int style) {
    return WISP_MakeControl("", id, "SysListView32_LB", style, x, y, w, h, 0);
}

HWND WISP_MakeControl(const char* caption, int id, const char* className, int style, int x, int y,
                      int w, int h, int exStyle) {
    if (!className || !BuildParent())
        return nullptr;
    if (HWND made = FromCreators(caption, id, className, style, x, y, w, h, exStyle))
        return made;
    if (Is(className, "SysTabControl32"))
        return MakeTabs(id, style, x, y, w, h);
    if (Is(className, "SysListView32") || Is(className, "SysListView32_LB") ||
        Is(className, "SysTreeView32"))
        return MakeListClass(className, id, style, x, y, w, h);
    if (Is(className, "msctls_progress32"))
        return MakeProgress(id, style, x, y, w, h);
    if (Is(className, "Edit"))
        return WISP_MakeEditField(id, x, y, w, h, style);
    if (Is(className, "Static"))
        return MakeStaticClass(caption, id, style, x, y, w, h);
    if (Is(className, "Button"))
        return MakeButtonClass(caption, id, style, x, y, w, h);
    if (Is(className, "KESTRAhfader") || Is(className, "msctls_trackbar32"))
        return MakeTrackbar(id, style, Is(className, "msctls_trackbar32"), x, y, w, h);
    if (Is(className, "COMBOBOX"))
        return WISP_MakeCombo(id, x, y, w, 0, style);
    return nullptr;
}

void winlayer::SetListControlMaker(ListControlMaker maker) {
    ListMaker() = maker;
}

void WISP_GenerateDialogFromList(const DialogControlListEntry* list, int count) {
    for (int i = 0; list && i < count; ++i) {
        const DialogControlListEntry& e = list[i];
        const std::string_view type = e.type ? e.type : "";
        if (type == "__WISP_BUTTON")
            WISP_MakeButton(e.flag, e.text, e.id, e.x, e.y, e.w, e.h, e.style);
        else if (type == "__WISP_EDIT")
            WISP_MakeEditField(e.id, e.x, e.y, e.w, e.h, e.style);
        else if (type == "__WISP_COMBO")
            WISP_MakeCombo(e.id, e.x, e.y, e.w, 0, e.style);
        else if (type == "__WISP_LISTBOX")
            WISP_MakeControl("", e.id, "SysListView32_LB", e.style, e.x, e.y, e.w, e.h, 0);
        else if (type == "__WISP_GROUP")
            WISP_MakeGroupBox(e.text, e.id, e.x, e.y, e.w, e.h, e.style);
        else if (type == "__WISP_CHECKBOX")
            WISP_MakeControl(e.text, e.id, "Button", e.style | 3, e.x, e.y, e.w, e.h, 0);
        else if (type == "__WISP_LABEL")
            WISP_MakeLabel(e.flag, e.text, e.id, e.x, e.y, e.w, e.h, e.style);
        else if (type == "__WISP_ICON")
            continue;
        else if (e.text && *e.text)
            WISP_MakeControl(e.type, e.flag, e.text, e.id, e.x, e.y, e.w, e.h, e.style);
    }
}

void WISP_RegisterCustomControlCreator(CustomControlCreator creator) {
    if (!creator)
        return;
    auto& creators = Creators();
    const auto at = std::find_if(creators.begin(), creators.end(),
                                 [&](const CreatorNode& node) { return node.creator == creator; });
    if (at != creators.end())
        ++at->references;
    else
        creators.push_back({creator, 1});
}

void WISP_UnregisterCustomControlCreator(CustomControlCreator creator) {
    auto& creators = Creators();
    const auto at = std::find_if(creators.begin(), creators.end(),
                                 [&](const CreatorNode& node) { return node.creator == creator; });
    if (!creator || at == creators.end())
        return;
    if (at->references-- <= 1)
        creators.erase(at);
}

BOOL WISP_IsGroupBox(HWND window) {
    auto* box = dynamic_cast<Wisp_vOmnarControl_box*>(FindObject(window));
    return box && box->wispIsEtchBox() == 0;
}

BOOL WISP_IsButton(HWND window) {
    return dynamic_cast<Wisp_vOmnarControl_button*>(FindObject(window)) != nullptr;
}
