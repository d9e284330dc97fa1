// Tool tips and file drags of a view.
#include "platform/ak/Backing.h"
#include "platform/ak/DirectSave.h"
#include "platform/ak/UriList.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <utility>

namespace ak {

namespace {

Point FromWidget(const View& view, Point inWidget) {
    if (!view.IsFlipped())
        inWidget.y = view.Frame().size.height - inWidget.y;
    return inWidget;
}

Rect ToWidget(const View& view, Rect rect) {
    if (!view.IsFlipped())
        rect.origin.y = view.Frame().size.height - rect.MaxY();
    return rect;
}

gboolean QueryToolTip(GtkWidget*, int x, int y, gboolean, GtkTooltip* tooltip,
                      gpointer data) noexcept {
    Ref<View> view(static_cast<View*>(data));
    Rect area;
    const std::string text = view->ToolTipAt(FromWidget(*view, {double(x), double(y)}), &area);
    if (text.empty())
        return FALSE;
    gtk_tooltip_set_text(tooltip, text.c_str());
    area = ToWidget(*view, area);
    const GdkRectangle tip{PixelEdge(area.MinX()), PixelEdge(area.MinY()),
                           PixelEdge(area.MaxX()) - PixelEdge(area.MinX()),
                           PixelEdge(area.MaxY()) - PixelEdge(area.MinY())};
    gtk_tooltip_set_tip_area(tooltip, &tip);
    return TRUE;
}

GdkAtom UriListAtom() {
    return gdk_atom_intern_static_string("text/uri-list");
}

GdkAtom DirectSaveAtom() {
    return gdk_atom_intern_static_string(kDirectSaveTarget);
}

bool Offers(GdkDragContext* context, GdkAtom target) {
    for (GList* item = gdk_drag_context_list_targets(context); item; item = item->next)
        if (GDK_POINTER_TO_ATOM(item->data) == target)
            return true;
    return false;
}

// A drag that offers no file list but a file its source writes on demand:
// known at once, from the name the source suggests.
bool NotePromisedFile(View& view, GdkDragContext* context) {
    if (Offers(context, UriListAtom()) || !Offers(context, DirectSaveAtom()))
        return false;
    auto& backing = view.GetBacking();
    backing.dragKnown = true;
    backing.drag.paths.clear();
    backing.drag.promisedTypes.clear();
    backing.promisedName = DirectSaveFileName(context);
    if (!backing.promisedName.empty())
        backing.drag.promisedTypes.push_back(DirectSaveFileType(backing.promisedName));
    return true;
}

std::string InFolder(std::string folder, const std::string& name) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return (folder == "/" ? folder : folder + "/") + name;
}

// The drop of a promise: the view names the folder, the source is told the
// place and asked to write there; its answer comes as the drag's data.
void DropPromisedFile(View& view, GtkWidget* widget, GdkDragContext* context, guint time) {
    auto& backing = view.GetBacking();
    const std::string folder = backing.dragAccepted && !backing.promisedName.empty()
                                   ? view.PromisedFilesFolder(backing.drag)
                                   : std::string();
    const std::string path = folder.empty() ? folder : InFolder(folder, backing.promisedName);
    if (path.empty() || !DirectSaveTellSource(context, path)) {
        gtk_drag_finish(context, FALSE, FALSE, time);
        EndFileDrag(view);
        return;
    }
    backing.promisedPath = path;
    gtk_drag_get_data(widget, context, DirectSaveAtom(), time);
}

// The source's answer: only a file it says it wrote, and that is there, drops.
void FinishPromisedFile(View& view, GdkDragContext* context, const std::string& answer,
                        Point inWidget, guint time) {
    auto& backing = view.GetBacking();
    const std::string path = backing.promisedPath;
    bool ok = backing.dropPending && !path.empty() && DirectSaveSucceeded(answer) &&
              g_file_test(path.c_str(), G_FILE_TEST_IS_REGULAR);
    if (ok) {
        backing.drag.paths = {path};
        ok = DeliverKnownDrag(view, DragPhase::Drop, inWidget);
    } else {
        EndFileDrag(view);
    }
    gtk_drag_finish(context, ok, FALSE, time);
}

gboolean DragMotion(GtkWidget* widget, GdkDragContext* context, int x, int y, guint time,
                    gpointer data) noexcept {
    Ref<View> view(static_cast<View*>(data));
    auto& backing = view->GetBacking();
    if (!backing.dragKnown && NotePromisedFile(*view, context)) {
        const bool ok = DeliverKnownDrag(*view, DragPhase::Motion, {double(x), double(y)});
        gdk_drag_status(context, ok ? GDK_ACTION_COPY : GdkDragAction(0), time);
        return TRUE;
    }
    if (!backing.dragKnown) {
        // The paths come with the data; the answer waits for them.
        backing.drag.location = {double(x), double(y)};
        gtk_drag_get_data(widget, context, UriListAtom(), time);
        return TRUE;
    }
    backing.drag.location = FromWidget(*view, {double(x), double(y)});
    backing.dragAccepted = view->DraggingUpdated(backing.drag);
    gdk_drag_status(context, backing.dragAccepted ? GDK_ACTION_COPY : GdkDragAction(0), time);
    return TRUE;
}

void DragLeave(GtkWidget*, GdkDragContext*, guint, gpointer data) noexcept {
    Ref<View> view(static_cast<View*>(data));
    // GTK leaves before it drops; the drop still needs the drag.
    if (!view->GetBacking().dropPending)
        EndFileDrag(*view);
}

gboolean DragDrop(GtkWidget* widget, GdkDragContext* context, int x, int y, guint time,
                  gpointer data) noexcept {
    Ref<View> view(static_cast<View*>(data));
    auto& backing = view->GetBacking();
    // GTK has left the view just before the drop: a promise is taken again
    // from the drag's offer.
    const bool promise =
        backing.dragKnown ? !backing.promisedName.empty() : NotePromisedFile(*view, context);
    backing.dropPending = true;
    if (promise) {
        DeliverKnownDrag(*view, DragPhase::Motion, {double(x), double(y)});
        DropPromisedFile(*view, widget, context, time);
        return TRUE;
    }
    backing.drag.location = {double(x), double(y)};
    gtk_drag_get_data(widget, context, UriListAtom(), time);
    return TRUE;
}

void DragDataReceived(GtkWidget*, GdkDragContext* context, int x, int y,
                      GtkSelectionData* selection, guint, guint time, gpointer data) noexcept {
    Ref<View> view(static_cast<View*>(data));
    const guchar* bytes = gtk_selection_data_get_data(selection);
    const int length = gtk_selection_data_get_length(selection);
    const std::string list = bytes && length > 0
                                 ? std::string(reinterpret_cast<const char*>(bytes), size_t(length))
                                 : "";
    if (gtk_selection_data_get_target(selection) == DirectSaveAtom()) {
        FinishPromisedFile(*view, context, list, {double(x), double(y)}, time);
        return;
    }
    const bool drop = view->GetBacking().dropPending;
    const bool ok = DeliverFileDrag(*view, drop ? DragPhase::Drop : DragPhase::Motion, list,
                                    {double(x), double(y)});
    if (drop)
        gtk_drag_finish(context, ok, FALSE, time);
    else
        gdk_drag_status(context, ok ? GDK_ACTION_COPY : GdkDragAction(0), time);
}

void DragDataGet(GtkWidget*, GdkDragContext*, GtkSelectionData* selection, guint, guint,
                 gpointer data) noexcept {
    const std::string list = static_cast<View*>(data)->OutgoingDragUriList();
    gtk_selection_data_set(selection, UriListAtom(), 8,
                           reinterpret_cast<const guchar*>(list.data()), int(list.size()));
}

// Offers the view's outgoing files as a "text/uri-list", from the press
// that is being handled.
void StartOutgoingDrag(View& view) {
    auto& backing = view.GetBacking();
    if (!backing.dataGetConnected) {
        g_signal_connect(backing.widget, "drag-data-get", G_CALLBACK(DragDataGet), &view);
        backing.dataGetConnected = true;
    }
    GtkTargetEntry target{const_cast<char*>("text/uri-list"), 0, 0};
    GtkTargetList* targets = gtk_target_list_new(&target, 1);
    // Our views take their input before GTK sees it, so GTK's own current
    // event is not the press; ours is.
    GdkEvent* current = CurrentGdkEvent();
    const guint button = current && current->type == GDK_BUTTON_PRESS ? current->button.button : 1;
    gtk_drag_begin_with_coordinates(backing.widget, targets, GDK_ACTION_COPY, int(button), current,
                                    -1, -1);
    gtk_target_list_unref(targets);
}

} // namespace

bool DeliverFileDrag(View& view, DragPhase phase, const std::string& uriList, Point inWidget) {
    auto& backing = view.GetBacking();
    if (!backing.dragKnown) {
        backing.dragKnown = true;
        backing.drag.paths = FilePathsFromUriList(uriList, g_get_host_name());
    }
    return DeliverKnownDrag(view, phase, inWidget);
}

bool DeliverKnownDrag(View& view, DragPhase phase, Point inWidget) {
    auto& backing = view.GetBacking();
    backing.drag.location = FromWidget(view, inWidget);
    if (backing.drag.paths.empty() && backing.drag.promisedTypes.empty()) {
        backing.dragAccepted = false;
    } else if (!backing.dragEntered) {
        backing.dragEntered = true;
        backing.dragAccepted = view.DraggingEntered(backing.drag);
    } else if (phase == DragPhase::Motion) {
        backing.dragAccepted = view.DraggingUpdated(backing.drag);
    }
    bool result = backing.dragAccepted;
    if (phase == DragPhase::Drop) {
        result = backing.dragAccepted && view.PerformDrop(backing.drag);
        backing.dropPending = false;
        EndFileDrag(view);
    }
    return result;
}

void EndFileDrag(View& view) {
    auto& backing = view.GetBacking();
    const bool entered = backing.dragEntered;
    backing.dragKnown = false;
    backing.dragEntered = false;
    backing.dragAccepted = false;
    backing.dropPending = false;
    backing.drag = {};
    backing.promisedName.clear();
    backing.promisedPath.clear();
    if (entered)
        view.DraggingExited();
}

int View::AddToolTipRect(Rect rect, ToolTipProvider provider) {
    if (!provider || !rect.IsFinite())
        return 0;
    const int tag = m_nextToolTipTag++;
    m_toolTips.push_back({tag, rect.Normalized(), std::move(provider)});
    if (m_toolTips.size() == 1) {
        gtk_widget_set_has_tooltip(m_backing->widget, TRUE);
        g_signal_connect(m_backing->widget, "query-tooltip", G_CALLBACK(QueryToolTip), this);
    }
    return tag;
}

void View::RemoveToolTip(int tag) {
    std::erase_if(m_toolTips, [tag](const ToolTip& tip) { return tip.tag == tag; });
    if (m_toolTips.empty())
        RemoveAllToolTips();
}

void View::RemoveAllToolTips() {
    m_toolTips.clear();
    gtk_widget_set_has_tooltip(m_backing->widget, FALSE);
    g_signal_handlers_disconnect_by_func(m_backing->widget, gpointer(QueryToolTip), this);
}

std::string View::ToolTipAt(Point inView, Rect* area) const {
    for (auto it = m_toolTips.rbegin(); it != m_toolTips.rend(); ++it) {
        if (!it->rect.Contains(inView))
            continue;
        if (area)
            *area = it->rect;
        return it->provider(inView);
    }
    return {};
}

void View::RegisterForDraggedFiles() {
    // GTK hands over only the data of the targets listed here.
    GtkTargetEntry targets[] = {{const_cast<char*>("text/uri-list"), 0, 0},
                                {const_cast<char*>(kDirectSaveTarget), 0, 0}};
    gtk_drag_dest_set(m_backing->widget, GtkDestDefaults(0), targets, 2, GDK_ACTION_COPY);
    g_signal_connect(m_backing->widget, "drag-motion", G_CALLBACK(DragMotion), this);
    g_signal_connect(m_backing->widget, "drag-leave", G_CALLBACK(DragLeave), this);
    g_signal_connect(m_backing->widget, "drag-drop", G_CALLBACK(DragDrop), this);
    g_signal_connect(m_backing->widget, "drag-data-received", G_CALLBACK(DragDataReceived), this);
}

std::string View::OutgoingDragUriList() {
    auto& backing = *m_backing;
    if (backing.promise)
        backing.outgoing = std::exchange(backing.promise, nullptr)();
    std::string list;
    for (const auto& path : backing.outgoing)
        list += FileUriFromPath(path) + "\r\n";
    return list;
}

void View::BeginPromisedFileDrag(std::function<std::vector<std::string>()> resolve) {
    if (!resolve)
        return;
    m_backing->outgoing.clear();
    m_backing->promise = std::move(resolve);
    StartOutgoingDrag(*this);
}

void View::BeginFileDrag(const std::vector<std::string>& paths) {
    if (paths.empty())
        return;
    m_backing->promise = nullptr;
    m_backing->outgoing = paths;
    StartOutgoingDrag(*this);
}

} // namespace ak
