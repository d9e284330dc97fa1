#include "platform/ak/test/AkTest.h"

#include "platform/ak/Alert.h"
#include "platform/ak/Backing.h"
#include "platform/ak/FilePanel.h"
#include "platform/ak/Menu.h"
#include "platform/ak/RunLoop.h"

#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace ak::test {

namespace {

uint32_t g_lastTime = 1000;

uint32_t NextTime(uint32_t wanted) {
    // Far enough apart that presses never count as one click by accident.
    g_lastTime = wanted ? wanted : g_lastTime + 1000;
    return g_lastTime;
}

// The deepest GDK window under a point of the top-level window; its children
// are listed topmost first.
GdkWindow* DeepestAt(GdkWindow* window, double& x, double& y) {
    for (;;) {
        GdkWindow* hit = nullptr;
        GList* children = gdk_window_get_children(window);
        for (GList* item = children; item; item = item->next) {
            auto* child = static_cast<GdkWindow*>(item->data);
            if (!gdk_window_is_visible(child))
                continue;
            int cx = 0;
            int cy = 0;
            gdk_window_get_position(child, &cx, &cy);
            const int w = gdk_window_get_width(child);
            const int h = gdk_window_get_height(child);
            if (x >= cx && y >= cy && x < cx + w && y < cy + h) {
                hit = child;
                x -= cx;
                y -= cy;
                break;
            }
        }
        g_list_free(children);
        if (!hit)
            return window;
        window = hit;
    }
}

GdkWindow* ToplevelOf(Window& window) {
    return gtk_widget_get_window(window.GetBacking().window);
}

GdkDevice* Pointer() {
    return gdk_seat_get_pointer(gdk_display_get_default_seat(gdk_display_get_default()));
}

GdkDevice* Keyboard() {
    return gdk_seat_get_keyboard(gdk_display_get_default_seat(gdk_display_get_default()));
}

// The frame clocks asked to flush an injected motion that have not yet done
// so, with the window each motion went to.
struct Unflushed {
    GdkFrameClock* clock;
    GdkWindow* window;
};
std::vector<Unflushed> g_unflushed;

void OnFlushed(GdkFrameClock* clock, gpointer);

void Forget(const Unflushed& entry) {
    g_signal_handlers_disconnect_by_func(entry.clock, reinterpret_cast<gpointer>(&OnFlushed),
                                         nullptr);
    g_object_unref(entry.clock);
    g_object_unref(entry.window);
}

void OnFlushed(GdkFrameClock* clock, gpointer) {
    const auto flushed = std::find_if(g_unflushed.begin(), g_unflushed.end(),
                                      [&](const Unflushed& entry) { return entry.clock == clock; });
    if (flushed == g_unflushed.end())
        return;
    const Unflushed entry = *flushed;
    g_unflushed.erase(flushed);
    Forget(entry);
}

// True while a frame is still to flush an injected motion. A window that has
// gone or hides draws no frame, and its motion is dropped anyway.
bool MotionUnflushed() {
    for (auto entry = g_unflushed.begin(); entry != g_unflushed.end();) {
        if (gdk_window_is_destroyed(entry->window) || !gdk_window_is_viewable(entry->window)) {
            Forget(*entry);
            entry = g_unflushed.erase(entry);
        } else {
            ++entry;
        }
    }
    return !g_unflushed.empty();
}

void Put(GdkEvent* event) {
    gdk_display_put_event(gdk_display_get_default(), event);
    // GDK holds the last motion back until its window's next frame flushes
    // events; real motion asks for that frame, so ours does too, and notes
    // that the motion is not served before it.
    if (event->type == GDK_MOTION_NOTIFY && event->any.window)
        if (GdkFrameClock* clock = gdk_window_get_frame_clock(event->any.window)) {
            const bool noted =
                std::any_of(g_unflushed.begin(), g_unflushed.end(),
                            [&](const Unflushed& entry) { return entry.clock == clock; });
            if (!noted) {
                g_unflushed.push_back({GDK_FRAME_CLOCK(g_object_ref(clock)),
                                       GDK_WINDOW(g_object_ref(event->any.window))});
                g_signal_connect_after(clock, "flush-events", G_CALLBACK(&OnFlushed), nullptr);
            }
            gdk_frame_clock_request_phase(clock, GDK_FRAME_CLOCK_PHASE_FLUSH_EVENTS);
        }
    gdk_event_free(event);
}

GdkEvent* PointerEvent(GdkEventType type, Window& window, Point at, double& x, double& y) {
    GdkWindow* toplevel = ToplevelOf(window);
    x = at.x;
    y = at.y;
    GdkWindow* target = toplevel ? DeepestAt(toplevel, x, y) : nullptr;
    GdkEvent* event = gdk_event_new(type);
    event->any.window = target ? GDK_WINDOW(g_object_ref(target)) : nullptr;
    event->any.send_event = FALSE;
    gdk_event_set_device(event, Pointer());
    gdk_event_set_source_device(event, Pointer());
    return event;
}

// Fills the coordinates every pointer event carries.
template <class PointerFields>
void Place(PointerFields& fields, Window& window, Point at, double x, double y) {
    fields.time = ++g_lastTime;
    fields.x = x;
    fields.y = y;
    fields.x_root = window.Frame().MinX() + at.x;
    fields.y_root = window.Frame().MinY() + at.y;
}

// The last injected press: GTK's own gestures (a text view's, an entry's)
// count a press as part of a multiple click while a real-time timer of the
// double-click time runs, whatever the events' times say.
struct LastPress {
    gint64 realTimeUs = 0;
    unsigned button = 0;
    double xRoot = 0;
    double yRoot = 0;
};
LastPress g_lastPress;

// A press the caller meant as a click of its own waits, if it falls where the
// previous one did, until that timer has run out: no event marks its end.
void WaitUntilNotAMultipleClick(const GdkEventButton& press) {
    int doubleTime = 400;
    int distance = 5;
    g_object_get(gtk_settings_get_default(), "gtk-double-click-time", &doubleTime,
                 "gtk-double-click-distance", &distance, nullptr);
    const bool near = press.button == g_lastPress.button &&
                      std::abs(press.x_root - g_lastPress.xRoot) <= distance &&
                      std::abs(press.y_root - g_lastPress.yRoot) <= distance;
    const gint64 free = g_lastPress.realTimeUs + gint64{doubleTime + 1} * 1000;
    if (near)
        PumpUntil([&] { return g_get_monotonic_time() >= free; }, doubleTime + 1000);
}

void ButtonEvent(GdkEventType type, Window& window, Point at, const Button& button) {
    double x = 0;
    double y = 0;
    GdkEvent* event = PointerEvent(type, window, at, x, y);
    auto& b = event->button;
    Place(b, window, at, x, y);
    b.time = NextTime(button.timeMs);
    b.button = button.number;
    b.state = button.modifiers;
    if (type == GDK_BUTTON_RELEASE)
        b.state |= GDK_BUTTON1_MASK << (button.number - 1);
    if (type == GDK_BUTTON_PRESS) {
        // An explicit time asks for the multiple click it may make.
        if (!button.timeMs)
            WaitUntilNotAMultipleClick(b);
        g_lastPress = {g_get_monotonic_time(), b.button, b.x_root, b.y_root};
    }
    Put(event);
}

} // namespace

void Press(Window& window, Point inWindow, Button button) {
    ButtonEvent(GDK_BUTTON_PRESS, window, inWindow, button);
}

void Release(Window& window, Point inWindow, Button button) {
    ButtonEvent(GDK_BUTTON_RELEASE, window, inWindow, button);
}

void Click(Window& window, Point inWindow, Button button) {
    Press(window, inWindow, button);
    button.timeMs = button.timeMs ? button.timeMs + 10 : 0;
    Release(window, inWindow, button);
}

void Enter(Window& window, Point inWindow) {
    double x = 0;
    double y = 0;
    GdkEvent* event = PointerEvent(GDK_ENTER_NOTIFY, window, inWindow, x, y);
    auto& c = event->crossing;
    Place(c, window, inWindow, x, y);
    c.mode = GDK_CROSSING_NORMAL;
    c.detail = GDK_NOTIFY_NONLINEAR;
    Put(event);
}

void Move(Window& window, Point inWindow, unsigned heldButton, unsigned modifiers) {
    double x = 0;
    double y = 0;
    GdkEvent* event = PointerEvent(GDK_MOTION_NOTIFY, window, inWindow, x, y);
    auto& m = event->motion;
    Place(m, window, inWindow, x, y);
    m.state = modifiers | (heldButton ? GDK_BUTTON1_MASK << (heldButton - 1) : 0);
    Put(event);
}

void Scroll(Window& window, Point inWindow, int direction, double dx, double dy) {
    double x = 0;
    double y = 0;
    GdkEvent* event = PointerEvent(GDK_SCROLL, window, inWindow, x, y);
    auto& s = event->scroll;
    Place(s, window, inWindow, x, y);
    s.direction = static_cast<GdkScrollDirection>(direction);
    s.delta_x = dx;
    s.delta_y = dy;
    Put(event);
}

void Pinch(Window& window, Point inWindow, int phase, double scale, double angleDelta) {
    double x = 0;
    double y = 0;
    GdkEvent* event = PointerEvent(GDK_TOUCHPAD_PINCH, window, inWindow, x, y);
    auto& p = event->touchpad_pinch;
    Place(p, window, inWindow, x, y);
    p.phase = static_cast<gint8>(phase);
    p.n_fingers = 2;
    p.scale = scale;
    p.angle_delta = angleDelta;
    Put(event);
}

void Swipe(Window& window, Point inWindow, int phase, double dx, double dy) {
    double x = 0;
    double y = 0;
    GdkEvent* event = PointerEvent(GDK_TOUCHPAD_SWIPE, window, inWindow, x, y);
    auto& s = event->touchpad_swipe;
    Place(s, window, inWindow, x, y);
    s.phase = static_cast<gint8>(phase);
    s.n_fingers = 3;
    s.dx = dx;
    s.dy = dy;
    Put(event);
}

void CloseBox(Window& window) {
    GdkEvent* event = gdk_event_new(GDK_DELETE);
    event->any.window = GDK_WINDOW(g_object_ref(ToplevelOf(window)));
    Put(event);
}

void Key(Window& window, unsigned xKeycode, unsigned keysym, bool down, unsigned modifiers) {
    GdkEvent* event = gdk_event_new(down ? GDK_KEY_PRESS : GDK_KEY_RELEASE);
    auto& k = event->key;
    k.window = GDK_WINDOW(g_object_ref(ToplevelOf(window)));
    k.time = ++g_lastTime;
    k.state = modifiers;
    k.keyval = keysym;
    k.hardware_keycode = static_cast<guint16>(xKeycode);
    gdk_event_set_device(event, Keyboard());
    Put(event);
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    const gint64 deadline = g_get_monotonic_time() + gint64{timeoutMs} * 1000;
    while (!done()) {
        if (g_get_monotonic_time() >= deadline)
            return false;
        if (!RunLoop::Iterate(false))
            g_usleep(1000);
    }
    return true;
}

bool WaitUntilServed(int timeoutMs) {
    GdkDisplay* display = gdk_display_get_default();
    if (!display)
        return false;
    // The answer comes after every event the server sent before it.
    gdk_display_sync(display);
    return PumpUntil(
        [&] {
            // The display's event source is ready while an event waits,
            // whether from the server or injected.
            return !MotionUnflushed() && !gdk_display_has_pending(display) &&
                   !g_main_context_pending(nullptr);
        },
        timeoutMs);
}

bool WaitUntilPointerAt(Point onScreen) {
    GdkDisplay* display = gdk_display_get_default();
    GdkDevice* pointer = gdk_seat_get_pointer(gdk_display_get_default_seat(display));
    const bool there = PumpUntil([&] {
        int x = 0;
        int y = 0;
        // A round trip: the motion the server sent before its answer is queued by now.
        gdk_device_get_position(pointer, nullptr, &x, &y);
        return std::abs(x - onScreen.x) < 1 && std::abs(y - onScreen.y) < 1;
    });
    return there && WaitUntilServed();
}

namespace {

gboolean NoteDrawn(GtkWidget*, cairo_t*, gpointer drawn) {
    *static_cast<bool*>(drawn) = true;
    return FALSE;
}

} // namespace

bool WaitUntilDrawn(Window& window) {
    GtkWidget* widget = window.GetBacking().window;
    bool drawn = false;
    const gulong handler = g_signal_connect(widget, "draw", G_CALLBACK(&NoteDrawn), &drawn);
    gtk_widget_queue_draw(widget);
    const bool done = PumpUntil([&] { return drawn; });
    g_signal_handler_disconnect(widget, handler);
    return done;
}

bool WaitUntilSettled(Window& window) {
    return WaitUntilDrawn(window) && WaitUntilServed();
}

bool WaitUntilShown(Window& window) {
    GtkWidget* widget = window.GetBacking().window;
    // Mapped, then the first frame's configure and draw.
    return PumpUntil([&] { return gtk_widget_get_mapped(widget) != 0; }) &&
           WaitUntilSettled(window);
}

void RunDuringLateStampedEvent(Window& window, const std::function<void()>& fn) {
    GtkWidget* widget = window.GetBacking().window;
    GdkWindow* gdkWindow = gtk_widget_get_window(widget);
    if (!gdkWindow)
        return;
    // A property event: the layer's own input handling leaves it to GTK, which
    // makes it the current event while its handlers run.
    const gulong handler =
        g_signal_connect(widget, "property-notify-event",
                         G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer data) noexcept -> gboolean {
                             (*static_cast<const std::function<void()>*>(data))();
                             return TRUE;
                         }),
                         const_cast<std::function<void()>*>(&fn));
    GdkEvent* event = gdk_event_new(GDK_PROPERTY_NOTIFY);
    event->property.window = GDK_WINDOW(g_object_ref(gdkWindow));
    event->property.atom = gdk_atom_intern_static_string("OMNAR_TEST_LATE_EVENT");
    event->property.time = gdk_x11_get_server_time(gdkWindow) + 3600u * 1000u;
    event->property.state = GDK_PROPERTY_NEW_VALUE;
    gtk_main_do_event(event);
    gdk_event_free(event);
    g_signal_handler_disconnect(widget, handler);
}

std::string SaveSnapshot(Window& window, const std::string& name) {
    // The name may hold a subfolder ("pages/start-up").
    const std::filesystem::path file =
        std::filesystem::path(OMNAR_TEST_OUTPUT_DIR) / (name + ".png");
    std::filesystem::create_directories(file.parent_path());
    const std::string path = file.string();
    Surface surface = window.Snapshot();
    if (cairo_surface_write_to_png(surface.get(), path.c_str()) != CAIRO_STATUS_SUCCESS)
        return {};
    return path;
}

} // namespace ak::test

namespace ak::test {

bool DragFiles(View& view, const std::string& uriList, const std::vector<Point>& path, bool drop) {
    // GTK hands the widget its coordinates; non-flipped views count y up.
    auto inWidget = [&](Point p) {
        return view.IsFlipped() ? p : Point{p.x, view.Frame().size.height - p.y};
    };
    for (const Point& point : path)
        DeliverFileDrag(view, DragPhase::Motion, uriList, inWidget(point));
    if (drop && !path.empty())
        return DeliverFileDrag(view, DragPhase::Drop, uriList, inWidget(path.back()));
    EndFileDrag(view);
    return false;
}

namespace {

GdkAtom DirectSaveAtom() {
    return gdk_atom_intern_static_string("XdndDirectSave0");
}

struct PromiseDrag {
    const PromisedFile* file = nullptr;
    bool ended = false;
    bool failed = false;
    bool succeeded = false;
};

// The local path the receiver wrote into the drag window's property, or
// empty when it is missing or names another host.
std::string PlaceNamedByReceiver(GdkDragContext* context) {
    GdkAtom type = GDK_NONE;
    int format = 0;
    int length = 0;
    guchar* data = nullptr;
    if (!gdk_property_get(gdk_drag_context_get_source_window(context), DirectSaveAtom(), GDK_NONE,
                          0, 4096, FALSE, &type, &format, &length, &data))
        return {};
    const std::string uri(reinterpret_cast<const char*>(data), std::size_t(std::max(length, 0)));
    g_free(data);
    gchar* host = nullptr;
    gchar* path = g_filename_from_uri(uri.c_str(), &host, nullptr);
    std::string place;
    if (path &&
        (!host || g_strcmp0(host, g_get_host_name()) == 0 || g_strcmp0(host, "localhost") == 0))
        place = path;
    g_free(path);
    g_free(host);
    return place;
}

void PromiseDataGet(GtkWidget*, GdkDragContext* context, GtkSelectionData* selection, guint, guint,
                    gpointer data) noexcept {
    const auto& drag = *static_cast<PromiseDrag*>(data);
    if (gtk_selection_data_get_target(selection) != DirectSaveAtom())
        return;
    const std::string place = PlaceNamedByReceiver(context);
    const char* answer = "E";
    if (!place.empty()) {
        const std::string& bytes = drag.file->bytes;
        answer = !drag.file->fails && g_file_set_contents(place.c_str(), bytes.data(),
                                                          gssize(bytes.size()), nullptr)
                     ? "S"
                     : "F";
    }
    gtk_selection_data_set(selection, DirectSaveAtom(), 8, reinterpret_cast<const guchar*>(answer),
                           1);
}

// The name goes up before any receiver can look: as the drag begins.
void PromiseDragBegin(GtkWidget*, GdkDragContext* context, gpointer data) noexcept {
    const std::string& name = static_cast<PromiseDrag*>(data)->file->name;
    gdk_property_change(gdk_drag_context_get_source_window(context), DirectSaveAtom(),
                        gdk_atom_intern_static_string("text/plain"), 8, GDK_PROP_MODE_REPLACE,
                        reinterpret_cast<const guchar*>(name.data()), int(name.size()));
}

void PromiseDragEnd(GtkWidget*, GdkDragContext* context, gpointer data) noexcept {
    auto& drag = *static_cast<PromiseDrag*>(data);
    drag.succeeded = gdk_drag_drop_succeeded(context);
    drag.ended = true;
}

// Pointer input while the drag holds the pointer: GDK hands it to the drag
// before anything else, whichever window it names.
void DragPointerEvent(GdkEventType type, GdkWindow* window, Point onScreen) {
    GdkEvent* event = gdk_event_new(type);
    event->any.window = GDK_WINDOW(g_object_ref(window));
    gdk_event_set_device(event, Pointer());
    gdk_event_set_source_device(event, Pointer());
    if (type == GDK_MOTION_NOTIFY) {
        auto& m = event->motion;
        m.time = ++g_lastTime;
        m.x_root = onScreen.x;
        m.y_root = onScreen.y;
        m.state = GDK_BUTTON1_MASK;
    } else {
        auto& b = event->button;
        b.time = ++g_lastTime;
        b.x_root = onScreen.x;
        b.y_root = onScreen.y;
        b.button = 1;
        b.state = GDK_BUTTON1_MASK;
    }
    Put(event);
}

} // namespace

bool DragPromisedFile(View& view, Point at, const PromisedFile& file) {
    GdkWindow* viewWindow = gtk_widget_get_window(view.GetBacking().widget);
    if (!viewWindow)
        return false;
    int originX = 0;
    int originY = 0;
    gdk_window_get_origin(viewWindow, &originX, &originY);
    const double y = view.IsFlipped() ? at.y : view.Frame().size.height - at.y;
    const Point onScreen{originX + at.x, originY + y};

    GtkWidget* source = g_object_ref_sink(gtk_invisible_new());
    gtk_widget_realize(source);
    PromiseDrag drag{&file};
    g_signal_connect(source, "drag-begin", G_CALLBACK(PromiseDragBegin), &drag);
    g_signal_connect(source, "drag-data-get", G_CALLBACK(PromiseDataGet), &drag);
    g_signal_connect(source, "drag-end", G_CALLBACK(PromiseDragEnd), &drag);
    // A refused drop ends at once, without the icon's way back.
    g_signal_connect(source, "drag-failed",
                     G_CALLBACK(+[](GtkWidget*, GdkDragContext*, GtkDragResult,
                                    gpointer data) noexcept -> gboolean {
                         static_cast<PromiseDrag*>(data)->failed = true;
                         return TRUE;
                     }),
                     &drag);
    GtkTargetEntry target{const_cast<char*>("XdndDirectSave0"), 0, 0};
    GtkTargetList* targets = gtk_target_list_new(&target, 1);
    GdkDragContext* context =
        gtk_drag_begin_with_coordinates(source, targets, GDK_ACTION_COPY, 1, nullptr, -1, -1);
    gtk_target_list_unref(targets);
    bool taken = false;
    if (context) {
        g_object_ref(context);
        GdkWindow* dragWindow =
            GDK_WINDOW(g_object_ref(gdk_drag_context_get_source_window(context)));
        GdkWindow* toplevel = gdk_window_get_toplevel(viewWindow);
        DragPointerEvent(GDK_MOTION_NOTIFY, toplevel, onScreen);
        // The receiver's answer to the motion: whether it would take the drop.
        PumpUntil([&] { return gdk_drag_context_get_selected_action(context) != 0; });
        DragPointerEvent(GDK_BUTTON_RELEASE, toplevel, onScreen);
        // A cancelled drag counts as succeeded in GDK: its failure tells.
        taken = PumpUntil([&] { return drag.ended; }) && !drag.failed && drag.succeeded;
        gdk_property_delete(dragWindow, DirectSaveAtom());
        g_object_unref(dragWindow);
        g_object_unref(context);
    }
    gtk_widget_destroy(source);
    g_object_unref(source);
    return taken;
}

Ref<NativeView> MakeTextField(Rect frame) {
    auto view = MakeRef<NativeView>(frame);
    HostWidget(*view, gtk_entry_new());
    return view;
}

void FocusNativeWidget(NativeView& view) {
    GList* children = gtk_container_get_children(GTK_CONTAINER(view.GetBacking().widget));
    GtkWidget* target = children ? static_cast<GtkWidget*>(children->data) : nullptr;
    g_list_free(children);
    // A scrolled text view takes the focus in its text, not its scroller.
    if (target && GTK_IS_SCROLLED_WINDOW(target) && gtk_bin_get_child(GTK_BIN(target)))
        target = gtk_bin_get_child(GTK_BIN(target));
    if (target)
        gtk_widget_grab_focus(target);
}

namespace {

GtkWidget* FirstChildOf(NativeView& view) {
    GList* children = gtk_container_get_children(GTK_CONTAINER(view.GetBacking().widget));
    GtkWidget* child = children ? static_cast<GtkWidget*>(children->data) : nullptr;
    g_list_free(children);
    return child;
}

GtkWidget* EntryOf(NativeView& view) {
    GtkWidget* child = FirstChildOf(view);
    return child && GTK_IS_ENTRY(child) ? child : nullptr;
}

GtkWidget* ScrollerOf(NativeView& view) {
    GtkWidget* child = FirstChildOf(view);
    return child && GTK_IS_SCROLLED_WINDOW(child) ? child : nullptr;
}

} // namespace

void TypeIntoNativeWidget(NativeView& view, const std::string& text) {
    if (GtkWidget* entry = EntryOf(view)) {
        int position = gtk_editable_get_position(GTK_EDITABLE(entry));
        gtk_editable_insert_text(GTK_EDITABLE(entry), text.c_str(), int(text.size()), &position);
        gtk_editable_set_position(GTK_EDITABLE(entry), position);
    } else if (GtkWidget* scroller = ScrollerOf(view)) {
        GtkWidget* inner = gtk_bin_get_child(GTK_BIN(scroller));
        if (inner && GTK_IS_TEXT_VIEW(inner))
            gtk_text_buffer_insert_interactive_at_cursor(
                gtk_text_view_get_buffer(GTK_TEXT_VIEW(inner)), text.c_str(), int(text.size()),
                TRUE);
    }
}

double NativeVerticalScroll(NativeView& view) {
    GtkWidget* scroller = ScrollerOf(view);
    return scroller ? gtk_adjustment_get_value(
                          gtk_scrolled_window_get_vadjustment(GTK_SCROLLED_WINDOW(scroller)))
                    : 0;
}

void PressReturnInNativeWidget(NativeView& view) {
    if (GtkWidget* entry = EntryOf(view)) {
        gtk_widget_activate(entry);
        return;
    }
    GtkWidget* scroller = ScrollerOf(view);
    GtkWidget* inner = scroller ? gtk_bin_get_child(GTK_BIN(scroller)) : nullptr;
    if (!inner || !GTK_IS_TEXT_VIEW(inner) || !gtk_widget_get_realized(inner))
        return;
    GdkEvent* event = gdk_event_new(GDK_KEY_PRESS);
    event->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(inner)));
    event->key.keyval = GDK_KEY_Return;
    event->key.hardware_keycode = guint16(KeycodeOf(GDK_KEY_Return));
    event->key.time = GDK_CURRENT_TIME;
    gdk_event_set_device(
        event, gdk_seat_get_keyboard(gdk_display_get_default_seat(gtk_widget_get_display(inner))));
    gtk_widget_event(inner, event);
    gdk_event_free(event);
}

int NativeDisplayLines(NativeView& view) {
    if (EntryOf(view))
        return 1;
    GtkWidget* scroller = ScrollerOf(view);
    GtkWidget* inner = scroller ? gtk_bin_get_child(GTK_BIN(scroller)) : nullptr;
    if (!inner || !GTK_IS_TEXT_VIEW(inner))
        return 0;
    WaitUntilServed(); // the text view lays its lines out when idle
    GtkTextIter at;
    gtk_text_buffer_get_start_iter(gtk_text_view_get_buffer(GTK_TEXT_VIEW(inner)), &at);
    int lines = 1;
    while (gtk_text_view_forward_display_line(GTK_TEXT_VIEW(inner), &at) &&
           !gtk_text_iter_is_end(&at))
        ++lines;
    return lines;
}

void SetTheme(const char* name, bool preferDark) {
    g_object_set(gtk_settings_get_default(), "gtk-theme-name", name,
                 "gtk-application-prefer-dark-theme", preferDark ? TRUE : FALSE, nullptr);
}

Application* App() {
    static Ref<Application> app = Application::Create();
    return app.Get();
}

} // namespace ak::test

namespace ak::test {

namespace {

GtkWidget* OpenMenu() {
    GtkWidget* found = nullptr;
    GList* toplevels = gtk_window_list_toplevels();
    for (GList* item = toplevels; item && !found; item = item->next) {
        auto* window = static_cast<GtkWidget*>(item->data);
        GtkWidget* child = GTK_IS_BIN(window) ? gtk_bin_get_child(GTK_BIN(window)) : nullptr;
        if (child && GTK_IS_MENU(child) && gtk_widget_get_mapped(child))
            found = child;
    }
    g_list_free(toplevels);
    return found;
}

GtkWidget* RunningAlert() {
    return static_cast<GtkWidget*>(Alert::Running());
}

} // namespace

bool IsMenuOpen() {
    return OpenMenu() != nullptr;
}

bool WaitUntilNoMenu() {
    GdkDisplay* display = gdk_display_get_default();
    return PumpUntil(
               [&] { return !OpenMenu() && !gdk_display_device_is_grabbed(display, Pointer()); }) &&
           WaitUntilServed();
}

namespace {

GtkWidget* ChildAt(GtkWidget* container, int index) {
    if (!container)
        return nullptr;
    GList* items = gtk_container_get_children(GTK_CONTAINER(container));
    auto* item = static_cast<GtkWidget*>(g_list_nth_data(items, guint(index)));
    g_list_free(items);
    return item;
}

} // namespace

bool ChooseInOpenMenu(int index) {
    GtkWidget* menu = OpenMenu();
    GtkWidget* item = ChildAt(menu, index);
    if (!item)
        return false;
    // What a click on the item does: deactivate the menu, then activate it.
    gtk_menu_shell_activate_item(GTK_MENU_SHELL(menu), item, TRUE);
    return true;
}

Rect OpenMenuItemOnScreen(int index) {
    GtkWidget* menu = OpenMenu();
    if (!menu)
        return {};
    GList* items = gtk_container_get_children(GTK_CONTAINER(menu));
    auto* item = static_cast<GtkWidget*>(g_list_nth_data(items, guint(index)));
    g_list_free(items);
    GtkWidget* top = item ? gtk_widget_get_toplevel(item) : nullptr;
    GdkWindow* window = top ? gtk_widget_get_window(top) : nullptr;
    if (!window)
        return {};
    int x = 0;
    int y = 0;
    gtk_widget_translate_coordinates(item, top, 0, 0, &x, &y);
    int originX = 0;
    int originY = 0;
    gdk_window_get_origin(window, &originX, &originY);
    return {{double(originX + x), double(originY + y)},
            {double(gtk_widget_get_allocated_width(item)),
             double(gtk_widget_get_allocated_height(item))}};
}

namespace {

MenuSnapshot SnapshotMenuShell(GtkWidget* shell) {
    MenuSnapshot shot;
    if (!shell || !gtk_widget_get_mapped(shell))
        return shot;
    // Hover and keyboard selection would paint over the items.
    gtk_menu_shell_deselect(GTK_MENU_SHELL(shell));
    GList* items = gtk_container_get_children(GTK_CONTAINER(shell));
    for (GList* entry = items; entry; entry = entry->next) {
        auto* item = static_cast<GtkWidget*>(entry->data);
        const int width = std::max(1, gtk_widget_get_allocated_width(item));
        const int height = std::max(1, gtk_widget_get_allocated_height(item));
        Surface pixels(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
        cairo_t* cr = cairo_create(pixels.get());
        gtk_widget_draw(item, cr);
        cairo_destroy(cr);
        cairo_surface_flush(pixels.get());
        shot.items.push_back(std::move(pixels));
        Rect title;
        if (GtkWidget* child = gtk_bin_get_child(GTK_BIN(item))) {
            int x = 0;
            int y = 0;
            gtk_widget_translate_coordinates(child, item, 0, 0, &x, &y);
            title = {{double(x), double(y)},
                     {double(gtk_widget_get_allocated_width(child)),
                      double(gtk_widget_get_allocated_height(child))}};
        }
        shot.titles.push_back(title);
    }
    g_list_free(items);
    return shot;
}

} // namespace

MenuSnapshot SnapshotMenuBar(Window& window) {
    Menu* bar = window.MenuBar();
    return SnapshotMenuShell(bar ? bar->Shell() : nullptr);
}

MenuSnapshot SnapshotOpenMenu() {
    return SnapshotMenuShell(OpenMenu());
}

bool CancelOpenMenu() {
    GtkWidget* menu = OpenMenu();
    if (menu)
        gtk_menu_shell_cancel(GTK_MENU_SHELL(menu));
    return menu != nullptr;
}

bool ChooseInOpenSubmenu(int index, int subIndex) {
    GtkWidget* menu = OpenMenu();
    GtkWidget* item = ChildAt(menu, index);
    GtkWidget* submenu = item ? gtk_menu_item_get_submenu(GTK_MENU_ITEM(item)) : nullptr;
    GtkWidget* subItem = ChildAt(submenu, subIndex);
    if (!subItem)
        return false;
    gtk_menu_item_activate(GTK_MENU_ITEM(subItem));
    gtk_menu_shell_cancel(GTK_MENU_SHELL(menu));
    return true;
}

unsigned KeycodeOf(unsigned keysym) {
    GdkKeymapKey* keys = nullptr;
    int count = 0;
    unsigned keycode = 0;
    if (gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(gdk_display_get_default()),
                                          keysym, &keys, &count) &&
        count > 0)
        keycode = keys[0].keycode;
    g_free(keys);
    return keycode;
}

bool IsAlertShown() {
    GtkWidget* dialog = RunningAlert();
    return dialog && gtk_widget_get_mapped(dialog);
}

std::string AlertTitle() {
    GtkWidget* dialog = RunningAlert();
    const char* title = dialog ? gtk_window_get_title(GTK_WINDOW(dialog)) : nullptr;
    return title ? title : "";
}

bool AlertPressButton(int index) {
    GtkWidget* dialog = RunningAlert();
    GtkWidget* button =
        dialog ? gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog), index) : nullptr;
    if (button)
        gtk_button_clicked(GTK_BUTTON(button));
    return button != nullptr;
}

bool AlertKey(unsigned keysym) {
    GtkWidget* dialog = RunningAlert();
    GdkWindow* window = dialog ? gtk_widget_get_window(dialog) : nullptr;
    if (!window)
        return false;
    for (auto type : {GDK_KEY_PRESS, GDK_KEY_RELEASE}) {
        GdkEvent* event = gdk_event_new(type);
        event->key.window = GDK_WINDOW(g_object_ref(window));
        event->key.time = ++g_lastTime;
        event->key.keyval = keysym;
        event->key.hardware_keycode = static_cast<guint16>(KeycodeOf(keysym));
        gdk_event_set_device(event, Keyboard());
        Put(event);
    }
    return true;
}

bool AlertCloseBox() {
    GtkWidget* dialog = RunningAlert();
    GdkWindow* window = dialog ? gtk_widget_get_window(dialog) : nullptr;
    if (!window)
        return false;
    GdkEvent* event = gdk_event_new(GDK_DELETE);
    event->any.window = GDK_WINDOW(g_object_ref(window));
    Put(event);
    return true;
}

} // namespace ak::test

namespace ak::test {

namespace {

GtkWidget* RunningPanel() {
    return static_cast<GtkWidget*>(SavePanel::Running());
}

std::string Owned(gchar* text) {
    std::string result = text ? text : "";
    g_free(text);
    return result;
}

bool Respond(int response) {
    GtkWidget* panel = RunningPanel();
    GtkWidget* button =
        panel ? gtk_dialog_get_widget_for_response(GTK_DIALOG(panel), response) : nullptr;
    if (button)
        gtk_button_clicked(GTK_BUTTON(button));
    return button != nullptr;
}

// The column of a tree model that holds files, -1 when none does.
int FileColumnOf(GtkTreeModel* model) {
    for (int column = 0; model && column < gtk_tree_model_get_n_columns(model); ++column)
        if (gtk_tree_model_get_column_type(model, column) == G_TYPE_FILE)
            return column;
    return -1;
}

// The chooser's list of files: the tree view whose model holds files.
GtkTreeView* FileListOf(GtkWidget* widget) {
    if (GTK_IS_TREE_VIEW(widget) &&
        FileColumnOf(gtk_tree_view_get_model(GTK_TREE_VIEW(widget))) >= 0)
        return GTK_TREE_VIEW(widget);
    // The chooser's parts are internal children: forall, not foreach.
    GtkTreeView* found = nullptr;
    if (GTK_IS_CONTAINER(widget))
        gtk_container_forall(
            GTK_CONTAINER(widget),
            [](GtkWidget* child, gpointer data) {
                auto* result = static_cast<GtkTreeView**>(data);
                if (!*result)
                    *result = FileListOf(child);
            },
            &found);
    return found;
}

// Selects the rows of these files too, keeping the rows selected already.
bool AddRowsOfFiles(GtkWidget* panel, const std::vector<std::string>& paths) {
    GtkTreeView* list = FileListOf(panel);
    GtkTreeModel* model = list ? gtk_tree_view_get_model(list) : nullptr;
    const int column = FileColumnOf(model);
    if (column < 0)
        return false;
    GtkTreeSelection* selection = gtk_tree_view_get_selection(list);
    std::size_t added = 0;
    GtkTreeIter row;
    for (bool more = gtk_tree_model_get_iter_first(model, &row); more;
         more = gtk_tree_model_iter_next(model, &row)) {
        GFile* file = nullptr;
        gtk_tree_model_get(model, &row, column, &file, -1);
        const std::string path = file ? Owned(g_file_get_path(file)) : "";
        if (file)
            g_object_unref(file);
        if (std::find(paths.begin(), paths.end(), path) != paths.end()) {
            gtk_tree_selection_select_iter(selection, &row);
            ++added;
        }
    }
    return added == paths.size();
}

} // namespace

bool IsFilePanelShown() {
    GtkWidget* panel = RunningPanel();
    return panel && gtk_widget_get_mapped(panel);
}

std::string FilePanelFolder() {
    GtkWidget* panel = RunningPanel();
    std::string folder;
    // The chooser reports its folder once it has loaded it.
    PumpUntil([&] {
        folder = panel ? Owned(gtk_file_chooser_get_current_folder(GTK_FILE_CHOOSER(panel))) : "";
        return !panel || !folder.empty();
    });
    return folder;
}

std::string FilePanelName() {
    GtkWidget* panel = RunningPanel();
    return panel ? Owned(gtk_file_chooser_get_current_name(GTK_FILE_CHOOSER(panel))) : "";
}

bool FilePanelShows(const std::string& fileName) {
    GtkWidget* panel = RunningPanel();
    GtkFileFilter* filter = panel ? gtk_file_chooser_get_filter(GTK_FILE_CHOOSER(panel)) : nullptr;
    if (!filter)
        return panel != nullptr;
    GtkFileFilterInfo info{};
    info.contains = static_cast<GtkFileFilterFlags>(GTK_FILE_FILTER_DISPLAY_NAME);
    info.display_name = fileName.c_str();
    return gtk_file_filter_filter(filter, &info);
}

bool FilePanelAccept(const std::vector<std::string>& paths) {
    GtkWidget* panel = RunningPanel();
    if (!panel || paths.empty())
        return false;
    auto* chooser = GTK_FILE_CHOOSER(panel);
    if (gtk_file_chooser_get_action(chooser) == GTK_FILE_CHOOSER_ACTION_SAVE) {
        gtk_file_chooser_set_current_name(chooser, paths.front().c_str());
        // The chooser checks a typed name against its folder before it
        // answers: the folder loaded, and what the name started served.
        if (FilePanelFolder().empty() || !WaitUntilServed())
            return false;
    } else {
        const auto chosenAre = [&](const std::vector<std::string>& wanted) {
            GSList* chosen = gtk_file_chooser_get_filenames(chooser);
            std::vector<std::string> names;
            for (GSList* item = chosen; item; item = item->next)
                names.push_back(static_cast<char*>(item->data));
            g_slist_free_full(chosen, g_free);
            return std::is_permutation(names.begin(), names.end(), wanted.begin(), wanted.end());
        };
        // The chooser selects once its folder has loaded; a folder chooser
        // counts its current folder as chosen until then. Each call replaces
        // the selection, so the others are added as a Ctrl-click adds rows.
        gtk_file_chooser_unselect_all(chooser);
        gtk_file_chooser_select_filename(chooser, paths.front().c_str());
        if (!PumpUntil([&] { return chosenAre({paths.front()}); }))
            return false;
        if (paths.size() > 1) {
            if (!AddRowsOfFiles(panel, {paths.begin() + 1, paths.end()}))
                return false;
            if (!PumpUntil([&] { return chosenAre(paths); }))
                return false;
        }
    }
    return Respond(GTK_RESPONSE_ACCEPT);
}

bool FilePanelCancel() {
    return Respond(GTK_RESPONSE_CANCEL);
}

bool FilePanelResize(int width, int height) {
    GtkWidget* panel = RunningPanel();
    if (!panel)
        return false;
    gtk_window_resize(GTK_WINDOW(panel), width, height);
    return PumpUntil([&] {
        if (RunningPanel() != panel)
            return false;
        int w = 0;
        int h = 0;
        gtk_window_get_size(GTK_WINDOW(panel), &w, &h);
        return w == width && gtk_widget_get_allocated_width(panel) >= width;
    });
}

} // namespace ak::test

namespace ak::test {

Rect NativeWidgetRectInWindow(NativeView& view) {
    GList* children = gtk_container_get_children(GTK_CONTAINER(view.GetBacking().widget));
    GtkWidget* widget = children ? static_cast<GtkWidget*>(children->data) : nullptr;
    g_list_free(children);
    if (!widget || !view.GetWindow())
        return {};
    GtkAllocation allocation;
    gtk_widget_get_allocation(widget, &allocation);
    int x = 0;
    int y = 0;
    gtk_widget_translate_coordinates(widget, view.GetWindow()->GetBacking().window, 0, 0, &x, &y);
    return {{double(x), double(y)}, {double(allocation.width), double(allocation.height)}};
}

void* CursorOfWindow(Window& window) {
    GdkWindow* gdkWindow = gtk_widget_get_window(window.GetBacking().window);
    return gdkWindow ? gdk_window_get_cursor(gdkWindow) : nullptr;
}

} // namespace ak::test

namespace ak::test {

bool ColorPanelPick(Color color) {
    auto* dialog = static_cast<GtkWidget*>(ColorPanel::Dialog());
    if (!dialog)
        return false;
    const GdkRGBA rgba{color.red, color.green, color.blue, color.alpha};
    gtk_color_chooser_set_rgba(GTK_COLOR_CHOOSER(dialog), &rgba);
    return true;
}

bool FontPanelPick(const std::string& description) {
    auto* dialog = static_cast<GtkWidget*>(FontPanel::Dialog());
    if (dialog)
        gtk_font_chooser_set_font(GTK_FONT_CHOOSER(dialog), description.c_str());
    return dialog != nullptr;
}

bool PanelAnswer(void* dialog, bool accept) {
    if (!dialog)
        return false;
    gtk_dialog_response(GTK_DIALOG(dialog), accept ? GTK_RESPONSE_OK : GTK_RESPONSE_CANCEL);
    return true;
}

} // namespace ak::test
