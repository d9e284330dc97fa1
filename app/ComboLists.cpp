#include "app/ComboLists.h"

#include <vector>

namespace shell {

namespace {

LRESULT Send(HWND dialog, int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessage(GetDlgItem(dialog, id), message, wParam, lParam);
}

} // namespace

void ResetList(HWND dialog, int id) {
    Send(dialog, id, CB_RESETCONTENT);
}

int AddToList(HWND dialog, int id, const std::string& text) {
    return int(Send(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

void AddAllToList(HWND dialog, int id, const std::vector<std::string>& texts) {
    for (const std::string& text : texts)
        AddToList(dialog, id, text);
}

void SelectInList(HWND dialog, int id, int index) {
    Send(dialog, id, CB_SETCURSEL, WPARAM(index));
}

int ListSelection(HWND dialog, int id) {
    return int(Send(dialog, id, CB_GETCURSEL));
}

std::string ListText(HWND dialog, int id, int index) {
    const LRESULT length = Send(dialog, id, CB_GETLBTEXTLEN, WPARAM(index));
    if (index < 0 || length < 0)
        return {};
    std::vector<char> buffer(size_t(length) + 1, '\0');
    if (Send(dialog, id, CB_GETLBTEXT, WPARAM(index), reinterpret_cast<LPARAM>(buffer.data())) < 0)
        return {};
    return std::string(buffer.data());
}

int FindInList(HWND dialog, int id, const std::string& text) {
    const int count = int(Send(dialog, id, CB_GETCOUNT));
    for (int i = 0; i < count; ++i)
        if (ListText(dialog, id, i) == text)
            return i;
    return -1;
}

} // namespace shell
