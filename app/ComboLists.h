#pragma once

#include "winlayer/WindowApi.h"

#include <string>
#include <vector>

// The preferences dialog's drop-down lists through their CB_* messages.
namespace shell {

void ResetList(HWND dialog, int id);
// Appends the text; answers its index.
int AddToList(HWND dialog, int id, const std::string& text);
void AddAllToList(HWND dialog, int id, const std::vector<std::string>& texts);
// -1 selects nothing.
void SelectInList(HWND dialog, int id, int index);
int ListSelection(HWND dialog, int id);
// The entry's whole text, read into a buffer sized from CB_GETLBTEXTLEN;
// empty for an index outside the list.
std::string ListText(HWND dialog, int id, int index);
// The first entry whose text equals text exactly, -1 when none does.
int FindInList(HWND dialog, int id, const std::string& text);

} // namespace shell
