// GDK events into macOS-shaped ones: modifier flags, click counts, wheel
// signs, gestures and key codes.
#include "platform/ak/Backing.h"
#include "platform/ak/KeyTable.h"
#include "platform/ak/Keys.h"

#include <gtk/gtk.h>

#include <cmath>
#include <numbers>

namespace ak {

namespace {

uint32_t ModifierFlagsFromState(guint state) {
    uint32_t flags = 0;
    if (state & GDK_SHIFT_MASK)
        flags |= ModifierFlag::Shift;
    if (state & GDK_LOCK_MASK)
        flags |= ModifierFlag::CapsLock;
    if (state & GDK_CONTROL_MASK)
        flags |= ModifierFlag::Command;
    if (state & GDK_MOD1_MASK)
        flags |= ModifierFlag::Option;
    if (state & (GDK_SUPER_MASK | GDK_MOD4_MASK))
        flags |= ModifierFlag::Control;
    return flags;
}

// Clicks count per physical press: the same button pressed again within the
// double-click time and distance of the previous press.
struct ClickCounter {
    guint button = 0;
    guint32 time = 0;
    double x = 0;
    double y = 0;
    int count = 0;

    int Press(guint pressButton, guint32 pressTime, double pressX, double pressY) {
        int doubleTime = 400;
        int distance = 5;
        if (GtkSettings* settings = gtk_settings_get_default())
            g_object_get(settings, "gtk-double-click-time", &doubleTime,
                         "gtk-double-click-distance", &distance, nullptr);
        const bool again = count > 0 && pressButton == button &&
                           pressTime - time <= guint32(doubleTime) &&
                           std::abs(pressX - x) <= distance && std::abs(pressY - y) <= distance;
        count = again ? count + 1 : 1;
        button = pressButton;
        time = pressTime;
        x = pressX;
        y = pressY;
        return count;
    }
};

ClickCounter& Clicks() {
    static ClickCounter counter;
    return counter;
}

// Location in the top-level window, summed over the GDK window chain.
Point LocationInToplevel(GdkWindow* window, double x, double y) {
    while (window && gdk_window_get_window_type(window) == GDK_WINDOW_CHILD) {
        int wx = 0;
        int wy = 0;
        gdk_window_get_position(window, &wx, &wy);
        x += wx;
        y += wy;
        window = gdk_window_get_parent(window);
    }
    return {x, y};
}

EventType ButtonType(guint button, bool down) {
    switch (button) {
    case GDK_BUTTON_PRIMARY:
        return down ? EventType::LeftMouseDown : EventType::LeftMouseUp;
    case GDK_BUTTON_SECONDARY:
        return down ? EventType::RightMouseDown : EventType::RightMouseUp;
    default:
        return down ? EventType::OtherMouseDown : EventType::OtherMouseUp;
    }
}

// GDK numbers buttons 1 left, 2 middle, 3 right; ours 0 left, 1 right, 2 middle.
int ButtonNumber(guint button) {
    switch (button) {
    case 1:
        return 0;
    case 2:
        return 2;
    case 3:
        return 1;
    default:
        return int(button) - 1;
    }
}

EventType DragType(guint state) {
    if (state & GDK_BUTTON1_MASK)
        return EventType::LeftMouseDragged;
    if (state & GDK_BUTTON3_MASK)
        return EventType::RightMouseDragged;
    if (state & (GDK_BUTTON2_MASK | GDK_BUTTON4_MASK | GDK_BUTTON5_MASK))
        return EventType::OtherMouseDragged;
    return EventType::MouseMoved;
}

int Subtype(GdkEvent* gdkEvent) {
    GdkDevice* device = gdk_event_get_source_device(gdkEvent);
    return device && gdk_device_get_source(device) == GDK_SOURCE_PEN ? kTabletPointSubtype : 0;
}

void FillCommon(GdkEvent* gdkEvent, Event& event) {
    event.window = WindowOfGdkWindow(gdk_event_get_window(gdkEvent));
    event.timestamp = gdk_event_get_time(gdkEvent) / 1000.0;
    GdkModifierType state{};
    if (gdk_event_get_state(gdkEvent, &state))
        event.modifierFlags = ModifierFlagsFromState(state);
    double x = 0;
    double y = 0;
    if (gdk_event_get_coords(gdkEvent, &x, &y))
        event.locationInWindow = LocationInToplevel(gdk_event_get_window(gdkEvent), x, y);
    event.subtype = Subtype(gdkEvent);
}

bool TranslateScroll(const GdkEventScroll& scroll, Event& event) {
    // A wheel notch comes as a smooth event and again as an emulated step.
    if (gdk_event_get_pointer_emulated(
            reinterpret_cast<GdkEvent*>(const_cast<GdkEventScroll*>(&scroll))))
        return false;
    event.type = EventType::ScrollWheel;
    switch (scroll.direction) {
    case GDK_SCROLL_UP:
        event.deltaY = 1;
        break;
    case GDK_SCROLL_DOWN:
        event.deltaY = -1;
        break;
    case GDK_SCROLL_LEFT:
        event.deltaX = 1;
        break;
    case GDK_SCROLL_RIGHT:
        event.deltaX = -1;
        break;
    case GDK_SCROLL_SMOOTH:
        event.deltaX = -scroll.delta_x;
        event.deltaY = -scroll.delta_y;
        event.hasPreciseScrollingDeltas = true;
        break;
    }
    return true;
}

bool TranslatePinch(const GdkEventTouchpadPinch& pinch, Event& event) {
    static double lastScale = 1;
    if (pinch.phase == GDK_TOUCHPAD_GESTURE_PHASE_BEGIN)
        lastScale = 1;
    if (pinch.angle_delta != 0) {
        event.type = EventType::Rotate;
        event.rotation = -pinch.angle_delta * 180 / std::numbers::pi;
    } else {
        event.type = EventType::Magnify;
        event.magnification = pinch.scale - lastScale;
    }
    lastScale = pinch.scale;
    return true;
}

bool TranslateSwipe(const GdkEventTouchpadSwipe& swipe, Event& event) {
    if (swipe.phase != GDK_TOUCHPAD_GESTURE_PHASE_END)
        return false;
    event.type = EventType::Swipe;
    if (std::abs(swipe.dx) >= std::abs(swipe.dy))
        event.deltaX = swipe.dx < 0 ? 1 : -1;
    else
        event.deltaY = swipe.dy < 0 ? 1 : -1;
    return true;
}

void TranslateKey(const GdkEventKey& key, Event& event) {
    event.type = key.type == GDK_KEY_PRESS ? EventType::KeyDown : EventType::KeyUp;
    event.keyCode = MacKeyCodeFromX(key.hardware_keycode);
    event.characters = KeyText(key.keyval);
    guint plainKeyval = key.keyval;
    GdkKeymap* keymap = gdk_keymap_get_for_display(gdk_display_get_default());
    gdk_keymap_translate_keyboard_state(
        keymap, key.hardware_keycode, GdkModifierType(key.state & (GDK_SHIFT_MASK | GDK_LOCK_MASK)),
        key.group, &plainKeyval, nullptr, nullptr, nullptr);
    event.charactersIgnoringModifiers = KeyText(plainKeyval);
}

} // namespace

bool TranslateEvent(GdkEvent* gdkEvent, Event& event, bool peek) {
    event = Event{};
    FillCommon(gdkEvent, event);
    switch (gdkEvent->type) {
    case GDK_BUTTON_PRESS: {
        const auto& button = gdkEvent->button;
        event.type = ButtonType(button.button, true);
        event.buttonNumber = ButtonNumber(button.button);
        event.clickCount =
            peek ? Clicks().count + 1
                 : Clicks().Press(button.button, button.time, button.x_root, button.y_root);
        return true;
    }
    case GDK_BUTTON_RELEASE:
        event.type = ButtonType(gdkEvent->button.button, false);
        event.buttonNumber = ButtonNumber(gdkEvent->button.button);
        event.clickCount = Clicks().count;
        return true;
    case GDK_MOTION_NOTIFY:
        event.type = DragType(gdkEvent->motion.state);
        return true;
    case GDK_ENTER_NOTIFY:
        event.type = EventType::MouseEntered;
        return true;
    case GDK_LEAVE_NOTIFY:
        event.type = EventType::MouseExited;
        return true;
    case GDK_SCROLL:
        return TranslateScroll(gdkEvent->scroll, event);
    case GDK_TOUCHPAD_PINCH:
        return TranslatePinch(gdkEvent->touchpad_pinch, event);
    case GDK_TOUCHPAD_SWIPE:
        return TranslateSwipe(gdkEvent->touchpad_swipe, event);
    case GDK_KEY_PRESS:
    case GDK_KEY_RELEASE:
        TranslateKey(gdkEvent->key, event);
        return true;
    default:
        return false;
    }
}

void ResetClickCount() {
    Clicks().count = 0;
}

} // namespace ak
