#pragma once

// The layer's own view of its GTK objects. GTK types are only named here,
// never defined: their headers stay in the .cpp files.

#include "platform/ak/View.h"
#include "platform/ak/Window.h"

#include <cstdint>
#include <functional>

typedef struct _GtkWidget GtkWidget;
typedef struct _GdkWindow GdkWindow;
typedef union _GdkEvent GdkEvent;
typedef struct _GtkAccelGroup GtkAccelGroup;

namespace ak {

struct View::Backing {
    GtkWidget* widget = nullptr; // owned reference
    // The drag now over the view: its paths once GTK has handed them over.
    bool dragKnown = false;
    bool dragEntered = false;
    bool dropPending = false;
    bool dragAccepted = false;
    FileDrag drag;
    // A promised file: the name its source suggests, then where it is to be.
    std::string promisedName;
    std::string promisedPath;
    std::vector<std::string> outgoing;
    std::function<std::vector<std::string>()> promise; // resolves outgoing when asked
    bool dataGetConnected = false;
    void* focus = nullptr; // GdkDrawingContext of LockFocus
};

// One step of a file drag over a view, from the URI list GTK delivered.
enum class DragPhase { Motion, Drop };
bool DeliverFileDrag(View& view, DragPhase phase, const std::string& uriList, Point inWidget);
// The same once the drag's files (or promises) are known.
bool DeliverKnownDrag(View& view, DragPhase phase, Point inWidget);
void EndFileDrag(View& view);

struct Window::Backing {
    GtkWidget* window = nullptr; // owned reference
    GtkWidget* menuSlot = nullptr;
    GtkAccelGroup* accelGroup = nullptr; // the menu bar's key equivalents
    GtkWidget* box = nullptr;
    bool frameRequestPending = false;
    int64_t frameRequestTimeUs = 0;
};

class NativeView;
// Puts a native control's widget into its view, replacing the one before.
void HostWidget(NativeView& view, GtkWidget* widget);

// A window made after a cursor was set shows it too, once it has its GDK window.
void ApplyCurrentCursor(GtkWidget* toplevel);

// The container widget that backs a view.
GtkWidget* NewViewWidget(View* view);
// The view a widget backs, or null for other widgets.
View* ViewOfWidget(GtkWidget* widget);
// Draws the child first, behind its siblings.
void StackChildAtBack(GtkWidget* container, GtkWidget* child);
// Our window of a GDK window (any depth), or null.
Window* WindowOfGdkWindow(GdkWindow* window);

// Turns a GDK input event into ours; false for other events. A peek leaves
// the click count alone.
bool TranslateEvent(GdkEvent* gdkEvent, Event& event, bool peek = false);
void ResetClickCount();
// The GDK event being dispatched, or null.
GdkEvent* CurrentGdkEvent();

// A modal prompt's key chords it does not use go to its parent window's
// menu accelerators (ModalPrompt.h).
void ForwardUnhandledChords(GtkWidget* prompt, GtkWidget* parentWindow);

} // namespace ak
