#pragma once

// What a key-down does in a dialog before the platform sees it: Escape,
// Return, Command+W and Command+C/X/V, chosen from the translated key, its
// accelerator flags and what has the focus.

namespace winlayer {

enum class KeyFocus {
    Other,         // a view that is not text
    OneLineText,   // an edit field, or a text view that is not multi-line
    MultiLineText, // an editable text view of its own
};

enum class DialogKey {
    PassOn,
    Copy,
    Cut,
    Paste,
    DropFocus,     // the dialog view takes the focus from the text
    Cancel,        // WM_COMMAND IDCANCEL
    DefaultButton, // WM_COMMAND with the default button's id, or DropFocus without one
};

DialogKey ChooseDialogKey(int key, int flags, KeyFocus focus);

} // namespace winlayer
