// Message boxes over ak's alert.
#include "platform/ak/Alert.h"
#include "winlayer/MessageBoxButtons.h"
#include "winlayer/WindowApi.h"

int MessageBox(HWND, const char* text, const char* title, UINT flags) {
    const std::vector<int> ids = winlayer::MessageBoxButtons(flags);
    auto alert = ak::MakeRef<ak::Alert>();
    alert->SetTitle(title ? title : "");
    alert->SetMessageText(title ? title : "");
    alert->SetInformativeText(text ? text : "");
    for (const int id : ids)
        alert->AddButton(winlayer::ButtonTitle(id));
    const int answer = alert->RunModal() - ak::AlertResponse::FirstButton;
    return answer >= 0 && answer < int(ids.size()) ? ids[answer] : winlayer::IDCANCEL;
}
