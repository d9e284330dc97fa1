#pragma once

#include <cstdint>

// What the dialog controls of the layer tell a window view about themselves
// when they report to it; ak controls without these interfaces report as
// plain controls.

namespace winlayer {

// Bit 0 radio button, bit 1 first of a group, 0x1000 push button.
inline constexpr int kRadioButton = 1;
inline constexpr int kFirstOfGroup = 2;
inline constexpr int kPushButton = 0x1000;

class WispButtonFlags {
public:
    virtual ~WispButtonFlags() = default;
    virtual int wispRadioFlags() const = 0;
};

// A combo box that reports a selection once: the index it reported last.
class WispReportedSelection {
public:
    virtual ~WispReportedSelection() = default;
    virtual int wispLastReportedIndex() const = 0;
    virtual void wispSetLastReportedIndex(int index) = 0;
};

// A control that names its Win32 class itself (GetClassName).
class WispClassNamed {
public:
    virtual ~WispClassNamed() = default;
    virtual const char* getWispClass() const = 0;
};

// A text field that learns its colour came from the colour pass.
class WispColorFromPass {
public:
    virtual ~WispColorFromPass() = default;
    virtual void wispSetColorFromPass() = 0;
};

} // namespace winlayer
