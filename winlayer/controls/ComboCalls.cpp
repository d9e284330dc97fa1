// The combo-box calls over any ak combo box or pop-up button.
#include "winlayer/controls/ControlCalls.h"
#include "winlayer/controls/DialogControls.h"
#include "winlayer/controls/StyleBits.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

using namespace winlayer;

namespace {

constexpr int kAppend = -1000;
// Item texts are compared within this many bytes.
constexpr std::size_t kCompareLimit = 4095;

struct Combo {
    ak::ComboBox* combo = nullptr;
    ak::PopUpButton* popUp = nullptr;
    Wisp_vOmnarControl_cbox* own = nullptr;

    explicit operator bool() const { return combo || popUp; }
    int Count() const { return combo ? combo->Count() : popUp ? popUp->Count() : 0; }
    std::string TitleAt(int index) const {
        return combo ? combo->TitleAt(index) : popUp ? popUp->TitleAt(index) : std::string{};
    }
    bool InRange(int index) const { return index >= 0 && index < Count(); }
};

Combo Find(HWND window, int id) {
    ak::Responder* object = FindObject(GetDlgItem(window, id));
    Combo found;
    found.combo = dynamic_cast<ak::ComboBox*>(object);
    found.popUp = dynamic_cast<ak::PopUpButton*>(object);
    found.own = dynamic_cast<Wisp_vOmnarControl_cbox*>(object);
    return found;
}

// Halves [0, count): an equal item ends the search at its place, otherwise
// the text goes before the first item not less than it.
int SortedPosition(const Combo& combo, const std::string& text) {
    int low = 0;
    int high = combo.Count();
    while (low < high) {
        const int middle = (low + high) / 2;
        const int order = text.compare(combo.TitleAt(middle));
        if (order == 0)
            return middle;
        if (order < 0)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

bool IsSorted(ak::Responder* object) {
    auto* styled = dynamic_cast<WispStyled*>(object);
    return styled && (styled->getWispStyle() & CBS_SORT);
}

} // namespace

int WISP_CB_InsertString(HWND window, int id, int index, const char* text) {
    const Combo combo = Find(window, id);
    if (!combo)
        return -1;
    const std::string item = text ? text : "";
    const int count = combo.Count();
    int position = index == kAppend ? count : index < 0 ? 0 : std::min(index, count);
    if (index == kAppend && IsSorted(combo.combo ? static_cast<ak::Responder*>(combo.combo)
                                                 : static_cast<ak::Responder*>(combo.popUp)))
        position = SortedPosition(combo, item);
    if (combo.own) {
        if (combo.own->wispLastReportedIndex() >= position)
            combo.own->wispSetLastReportedIndex(combo.own->wispLastReportedIndex() + 1);
        auto& data = combo.own->itemData();
        data.insert(data.begin() + std::min<std::size_t>(position, data.size()), 0);
    }
    if (combo.combo)
        combo.combo->InsertItem(position, item);
    else
        combo.popUp->InsertItem(position, item);
    return position;
}

int WISP_CB_AddString(HWND window, int id, const char* text) {
    return WISP_CB_InsertString(window, id, kAppend, text);
}

void WISP_CB_DeleteString(HWND window, int id, int index) {
    const Combo combo = Find(window, id);
    if (!combo.InRange(index))
        return;
    if (combo.own) {
        auto& data = combo.own->itemData();
        if (std::size_t(index) < data.size())
            data.erase(data.begin() + index);
        const int remembered = combo.own->wispLastReportedIndex();
        combo.own->wispSetLastReportedIndex(remembered == index  ? -1
                                            : remembered > index ? remembered - 1
                                                                 : remembered);
    }
    if (combo.combo)
        combo.combo->RemoveItemAt(index);
    else
        combo.popUp->RemoveItemAt(index);
}

int WISP_CB_GetNumItems(HWND window, int id) {
    return Find(window, id).Count();
}

int WISP_CB_GetCurSel(HWND window, int id) {
    const Combo combo = Find(window, id);
    return combo.combo   ? combo.combo->SelectedIndex()
           : combo.popUp ? combo.popUp->SelectedIndex()
                         : -1;
}

void WISP_CB_SetCurSel(HWND window, int id, int index) {
    const Combo combo = Find(window, id);
    if (!combo)
        return;
    const int chosen = combo.InRange(index) ? index : -1;
    if (combo.own)
        combo.own->wispSetLastReportedIndex(chosen);
    if (combo.combo)
        combo.combo->SelectIndex(chosen);
    else
        combo.popUp->SelectIndex(chosen);
}

int WISP_CB_GetItemText(HWND window, int id, int index, char* buffer, int size) {
    if (buffer && size > 0)
        buffer[0] = '\0';
    const Combo combo = Find(window, id);
    if (!combo.InRange(index))
        return -1;
    const std::string text = combo.TitleAt(index);
    if (!buffer)
        return int(text.size()) + 64;
    if (size > 0) {
        const std::size_t copied = std::min<std::size_t>(text.size(), std::size_t(size) - 1);
        std::memcpy(buffer, text.data(), copied);
        buffer[copied] = '\0';
    }
    return 1;
}

void WISP_CB_Empty(HWND window, int id) {
    const Combo combo = Find(window, id);
    if (combo.own) {
        combo.own->itemData().clear();
        combo.own->wispSetLastReportedIndex(-1);
    }
    if (combo.combo)
        combo.combo->RemoveAllItems();
    else if (combo.popUp)
        combo.popUp->RemoveAllItems();
}

LONG_PTR WISP_CB_GetItemData(HWND window, int id, int index) {
    const Combo combo = Find(window, id);
    if (!combo.InRange(index))
        return 0;
    if (combo.popUp)
        return combo.popUp->DataAt(index);
    if (combo.own && std::size_t(index) < combo.own->itemData().size())
        return combo.own->itemData()[index];
    return 0;
}

void WISP_CB_SetItemData(HWND window, int id, int index, LONG_PTR value) {
    const Combo combo = Find(window, id);
    if (!combo.InRange(index))
        return;
    if (combo.popUp)
        combo.popUp->SetDataAt(index, value);
    else if (combo.own && std::size_t(index) < combo.own->itemData().size())
        combo.own->itemData()[index] = value;
}

int WISP_CB_FindString(HWND window, int id, int start, const char* text, BOOL exact) {
    const Combo combo = Find(window, id);
    if (!combo || !text)
        return -1;
    const std::size_t length = std::strlen(text);
    for (int i = start < 0 ? 0 : start + 1; i < combo.Count(); ++i) {
        std::string item = combo.TitleAt(i);
        item.resize(std::min(item.size(), kCompareLimit));
        const bool match = exact ? strcasecmp(item.c_str(), text) == 0
                                 : strncasecmp(item.c_str(), text, length) == 0;
        if (match)
            return i;
    }
    return -1;
}
