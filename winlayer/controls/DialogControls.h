#pragma once

#include "platform/ak/Box.h"
#include "platform/ak/Button.h"
#include "platform/ak/ComboBox.h"
#include "platform/ak/PopUpButton.h"
#include "platform/ak/Slider.h"
#include "platform/ak/TextField.h"
#include "platform/ak/TextView.h"
#include "winlayer/window/ControlReports.h"
#include "winlayer/window/WindowView.h"

#include <cstdint>
#include <vector>

// The dialog controls of the layer over ak's controls. Window views report
// their actions (winlayer/window/Notifications.cpp); these classes add what
// the Win32 calls read back: style, user data, radio flags, item data.

namespace winlayer {

class WispStyled {
public:
    virtual ~WispStyled() = default;
    int getWispStyle() const { return style_; }
    void setWispStyle(int style) { style_ = style; }
    std::int64_t getWispUserData() const { return userData_; }
    void setWispUserData(std::int64_t value) { userData_ = value; }

private:
    int style_ = 0;
    std::int64_t userData_ = 0;
};

} // namespace winlayer

class Wisp_vOmnarControl_button : public ak::Button,
                                  public winlayer::WispButtonFlags,
                                  public winlayer::WispStyled {
public:
    Wisp_vOmnarControl_button(ak::Rect frame, ak::ButtonKind kind) : ak::Button(frame, kind) {}
    int wispRadioFlags() const override { return radioFlags_; }
    void wispSetRadioFlags(int flags) { radioFlags_ = flags; }
    // The bitmap object of BM_SETIMAGE; not owned.
    void* getWispGDIImage() const { return gdiImage_; }
    void setWispGDIImage(void* image) { gdiImage_ = image; }
    // BM_GETIMAGE and BM_SETIMAGE: the bitmap object held before.
    LRESULT wispImageMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    int radioFlags_ = winlayer::kPushButton;
    void* gdiImage_ = nullptr;
};

// A group box, or with an etch mode (16 horizontal, 17 vertical line, 18
// frame) an etched frame of the Static class.
class Wisp_vOmnarControl_box : public ak::Box, public winlayer::WispClassNamed {
public:
    Wisp_vOmnarControl_box(ak::Rect frame, int etchMode);
    int wispIsEtchBox() const { return etchMode_; }
    const char* getWispClass() const override { return etchMode_ ? "Static" : "Button"; }

private:
    int etchMode_;
};

class Wisp_vOmnarControl_textfield : public ak::TextField,
                                     public winlayer::WispColorFromPass,
                                     public winlayer::WispStyled {
public:
    Wisp_vOmnarControl_textfield(ak::Rect frame, ak::TextFieldKind kind, bool wrapsLines = false)
        : ak::TextField(frame, kind, wrapsLines) {}
    void wispSetColorFromPass() override { colorFromPass_ = true; }
    bool wispColorFromPass() const { return colorFromPass_; }
    // A label made with SS_NOTIFY reports its clicks through its action.
    void wispSetReportsClicks(bool reports) { reportsClicks_ = reports; }
    void MouseDown(const ak::Event& event) override;

private:
    bool colorFromPass_ = false;
    bool reportsClicks_ = false;
};

// A multi-line edit field in its own scrollers, answering the selection,
// scrolling and replacing messages itself.
class Wisp_vOmnarControl_textview : public ak::TextView, public winlayer::WispMessageTarget {
public:
    explicit Wisp_vOmnarControl_textview(ak::Rect frame) : ak::TextView(frame) {}
    LRESULT onWispMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ReplaceText(const char* text);
};

// A drop-down list: item data rides on the menu items.
class Wisp_vOmnarControl_pub : public ak::PopUpButton, public winlayer::WispStyled {
public:
    explicit Wisp_vOmnarControl_pub(ak::Rect frame) : ak::PopUpButton(frame) {}
};

// An editable combo box. Item data is kept beside the items; the index it
// last set or reported is not reported again.
class Wisp_vOmnarControl_cbox : public ak::ComboBox,
                                public winlayer::WispReportedSelection,
                                public winlayer::WispStyled {
public:
    explicit Wisp_vOmnarControl_cbox(ak::Rect frame) : ak::ComboBox(frame) {}
    int wispLastReportedIndex() const override { return ignoreSelection_; }
    void wispSetLastReportedIndex(int index) override { ignoreSelection_ = index; }
    std::vector<std::int64_t>& itemData() { return ids_; }

private:
    std::vector<std::int64_t> ids_;
    int ignoreSelection_ = -1;
};

// Tabs tell their notification window (the parent view) of each change of
// the selected tab as WM_NOTIFY with TCN_SELCHANGE; none while cleared.
class Wisp_vOmnarControl_tabview : public ak::TabView, public winlayer::WispStyled {
public:
    explicit Wisp_vOmnarControl_tabview(ak::Rect frame);
    HWND getNotificationWindow() const { return dest_; }
    void setNotificationWindow(HWND window) { dest_ = window; }

private:
    HWND dest_ = nullptr;
};

// A progress bar answering PBM_SETRANGE, PBM_SETPOS and PBM_DELTAPOS.
class Wisp_vOmnarControl_progind : public ak::ProgressIndicator,
                                   public winlayer::WispMessageTarget {
public:
    explicit Wisp_vOmnarControl_progind(ak::Rect frame) : ak::ProgressIndicator(frame) {}
    LRESULT onWispMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};
