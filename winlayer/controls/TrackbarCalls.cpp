// The trackbar calls over ak's slider, or a control answering the messages.
#include "platform/ak/Slider.h"
#include "winlayer/InputRecords.h"
#include "winlayer/controls/ControlCalls.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

using namespace winlayer;

namespace {

constexpr UINT TBM_GETPOS_MESSAGE = 0x400;
constexpr UINT TBM_SETTIC_MESSAGE = 0x404;
constexpr UINT TBM_SETPOS_MESSAGE = 0x405;
constexpr UINT TBM_SETRANGE_MESSAGE = 0x406;

struct Trackbar {
    ak::Slider* slider = nullptr;
    WispMessageTarget* target = nullptr;
};

Trackbar Find(HWND window, int id) {
    ak::Responder* object = FindObject(GetDlgItem(window, id));
    return {dynamic_cast<ak::Slider*>(object), dynamic_cast<WispMessageTarget*>(object)};
}

} // namespace

int WISP_TB_GetPos(HWND window, int id) {
    const Trackbar bar = Find(window, id);
    if (bar.slider)
        return int(bar.slider->Value() + 0.5);
    return bar.target ? int(bar.target->onWispMessage(TBM_GETPOS_MESSAGE, 0, 0)) : 0;
}

void WISP_TB_SetPos(HWND window, int id, int pos) {
    const Trackbar bar = Find(window, id);
    if (bar.slider)
        bar.slider->SetValue(pos);
    else if (bar.target)
        bar.target->onWispMessage(TBM_SETPOS_MESSAGE, 1, pos);
}

void WISP_TB_SetRange(HWND window, int id, int low, int high) {
    const Trackbar bar = Find(window, id);
    if (bar.slider)
        bar.slider->SetRange(low, high);
    else if (bar.target)
        bar.target->onWispMessage(TBM_SETRANGE_MESSAGE, 1,
                                  (LPARAM(high) << 16) | (LPARAM(low) & 0xFFFF));
}

void WISP_TB_SetTic(HWND window, int id, int pos) {
    const Trackbar bar = Find(window, id);
    if (!bar.slider && bar.target)
        bar.target->onWispMessage(TBM_SETTIC_MESSAGE, 0, pos);
}
