#pragma once

#include "platform/ak/Geometry.h"

#include <cstdint>
#include <string>

namespace ak {

class Window;

enum class EventType {
    LeftMouseDown,
    LeftMouseUp,
    RightMouseDown,
    RightMouseUp,
    OtherMouseDown,
    OtherMouseUp,
    MouseMoved,
    LeftMouseDragged,
    RightMouseDragged,
    OtherMouseDragged,
    MouseEntered,
    MouseExited,
    KeyDown,
    KeyUp,
    FlagsChanged,
    ScrollWheel,
    Magnify,
    Rotate,
    Swipe,
    Other,
};

// Modifier bits of Event::modifierFlags. Ctrl plays Command, Super plays
// Control and Alt plays Option.
namespace ModifierFlag {
constexpr uint32_t CapsLock = 0x10000;
constexpr uint32_t Shift = 0x20000;
constexpr uint32_t Control = 0x40000;
constexpr uint32_t Option = 0x80000;
constexpr uint32_t Command = 0x100000;
} // namespace ModifierFlag

// Function-key characters of charactersIgnoringModifiers.
namespace FunctionKey {
constexpr char32_t Up = 0xF700;
constexpr char32_t Down = 0xF701;
constexpr char32_t Left = 0xF702;
constexpr char32_t Right = 0xF703;
constexpr char32_t F1 = 0xF704; // F1 ... F35 follow in order
constexpr char32_t Insert = 0xF727;
constexpr char32_t Delete = 0xF728;
constexpr char32_t Home = 0xF729;
constexpr char32_t Begin = 0xF72A;
constexpr char32_t End = 0xF72B;
constexpr char32_t PageUp = 0xF72C;
constexpr char32_t PageDown = 0xF72D;
constexpr char32_t PrintScreen = 0xF72E;
constexpr char32_t ScrollLock = 0xF72F;
constexpr char32_t Pause = 0xF730;
constexpr char32_t SysReq = 0xF731;
constexpr char32_t Break = 0xF732;
constexpr char32_t Menu = 0xF735;
constexpr char32_t Print = 0xF738;
constexpr char32_t Select = 0xF741;
constexpr char32_t Execute = 0xF742;
constexpr char32_t Undo = 0xF743;
constexpr char32_t Redo = 0xF744;
constexpr char32_t Find = 0xF745;
constexpr char32_t Help = 0xF746;
} // namespace FunctionKey

constexpr int kTabletPointSubtype = 1;

// One input event, shaped like the platform's: locations in the window's
// coordinates (y down), wheel deltas positive up and left.
struct Event {
    EventType type = EventType::Other;
    Window* window = nullptr;
    Point locationInWindow;
    double timestamp = 0; // seconds
    uint32_t modifierFlags = 0;
    int buttonNumber = 0; // 0 left, 1 right, 2 middle, ...
    int clickCount = 0;
    int subtype = 0;
    double deltaX = 0;
    double deltaY = 0;
    bool hasPreciseScrollingDeltas = false;
    double magnification = 0;
    double rotation = 0; // degrees, counter-clockwise positive
    uint16_t keyCode = 0;
    bool isARepeat = false;
    std::string characters;                  // UTF-8, as typed
    std::string charactersIgnoringModifiers; // UTF-8, Shift and Caps Lock only

    bool IsMouseDown() const {
        return type == EventType::LeftMouseDown || type == EventType::RightMouseDown ||
               type == EventType::OtherMouseDown;
    }
    bool IsMouseUp() const {
        return type == EventType::LeftMouseUp || type == EventType::RightMouseUp ||
               type == EventType::OtherMouseUp;
    }
};

} // namespace ak
