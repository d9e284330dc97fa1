#pragma once

#include "platform/ak/Geometry.h"
#include "platform/ak/Responder.h"

#include <cairo.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ak {

class Window;

// Files dragged over a view: their local paths and the pointer in the view.
// A source may instead promise files it writes only once told where: then
// the paths stay empty until the drop and promisedTypes holds the type (the
// name's extension) of each promised file.
struct FileDrag {
    std::vector<std::string> paths;
    Point location;
    std::vector<std::string> promisedTypes;
};

// A rectangle of a window that draws itself with cairo and receives input.
// Backed by one container widget with its own window-system window, which
// places its subviews exactly at their frames; later subviews lie on top.
class View : public Responder {
public:
    explicit View(Rect frame = {});
    ~View() override;

    Rect Frame() const { return m_frame; }
    // A NaN or infinite frame is refused; a negative size becomes 0.
    void SetFrame(Rect frame);
    void SetFrameOrigin(Point origin) { SetFrame({origin, m_frame.size}); }
    void SetFrameSize(Size size) { SetFrame({m_frame.origin, size}); }
    Rect Bounds() const { return {{}, m_frame.size}; }

    bool IsHidden() const { return m_hidden; }
    void SetHidden(bool hidden);
    // Hidden itself or inside a hidden superview.
    bool IsHiddenOrHasHiddenAncestor() const;
    virtual bool IsOpaque() const { return false; }
    // Flipped views (the default) have y growing downwards; the others see y up.
    virtual bool IsFlipped() const { return true; }

    View* Superview() const { return m_superview; }
    const std::vector<Ref<View>>& Subviews() const { return m_subviews; }
    void AddSubview(View* view);
    // Added behind every other subview: drawn first, hit last.
    void AddSubviewAtBack(View* view);
    void RemoveFromSuperview();
    bool IsDescendantOf(const View* view) const;
    Window* GetWindow() const { return m_window; }

    // The deepest visible view under a point given in the superview's
    // coordinates, or null.
    virtual View* HitTest(Point inSuperview);
    Point ConvertPointFromView(Point point, const View* from) const;
    Point ConvertPointToView(Point point, const View* to) const;
    Rect ConvertRectToView(Rect rect, const View* to) const;
    Rect ConvertRectFromView(Rect rect, const View* from) const;

    void SetNeedsDisplay() { SetNeedsDisplayInRect(Bounds()); }
    void SetNeedsDisplayInRect(Rect rect);
    // Called with cairo clipped to dirty and set up in the view's coordinates.
    virtual void DrawRect(cairo_t* cr, Rect dirty);
    // Drawing outside DrawRect: a cairo context on the view's window-system
    // window, in the view's coordinates, until UnlockFocus. Null when the
    // view is not mapped or already focused.
    cairo_t* LockFocus();
    void UnlockFocus();

    virtual bool AcceptsFirstMouse(const Event*) { return false; }
    Responder* NextResponder() const override;

    // Cocoa's hooks around the view tree's changes.
    virtual void ViewWillMoveToSuperview(View*) {}
    virtual void ViewDidMoveToSuperview() {}
    virtual void ViewWillMoveToWindow(Window*) {}
    virtual void ViewDidMoveToWindow() {}
    virtual void DidAddSubview(View*) {}
    virtual void WillRemoveSubview(View*) {}
    virtual void FrameDidChange() {}
    // A subview's frame changed (a scroll view's document grew, say).
    virtual void SubviewFrameDidChange(View*) {}

    // Mouse entered/exited over the bounds, delivered in drags too.
    void SetTracksMouseEnterExit(bool tracks) { m_tracksEnterExit = tracks; }
    bool TracksMouseEnterExit() const { return m_tracksEnterExit; }

    // Tool tips: the text of the last added rectangle holding the point; an
    // empty text shows none.
    using ToolTipProvider = std::function<std::string(Point inView)>;
    int AddToolTipRect(Rect rect, ToolTipProvider provider);
    void RemoveToolTip(int tag);
    void RemoveAllToolTips();
    std::string ToolTipAt(Point inView, Rect* area = nullptr) const;

    // File drops: a view that registered answers whether it takes the files.
    void RegisterForDraggedFiles();
    virtual bool DraggingEntered(const FileDrag&) { return false; }
    virtual bool DraggingUpdated(const FileDrag& drag) { return DraggingEntered(drag); }
    virtual void DraggingExited() {}
    virtual bool PerformDrop(const FileDrag&) { return false; }
    // Where the source of promised files is to write them, asked at the drop;
    // empty refuses the drop. PerformDrop then gets the written files' paths.
    virtual std::string PromisedFilesFolder(const FileDrag&) { return {}; }
    // Drags files out of the view; call from a mouse-down or -dragged handler.
    void BeginFileDrag(const std::vector<std::string>& paths);
    // The same for files that exist only once a receiver asks for them:
    // resolve runs then, once per drag, and answers their paths (none: the
    // receiver gets an empty list).
    void BeginPromisedFileDrag(std::function<std::vector<std::string>()> resolve);
    // What the drag now leaving this view hands a receiver: its
    // "text/uri-list", resolving a promise first.
    std::string OutgoingDragUriList();

    // The backing widget, for the layer's own files.
    struct Backing;
    Backing& GetBacking() const { return *m_backing; }

private:
    friend class Window;
    void SetWindow(Window* window);
    Point OffsetInWindow() const;

    Rect m_frame;
    bool m_hidden = false;
    bool m_tracksEnterExit = false;
    struct ToolTip {
        int tag;
        Rect rect;
        ToolTipProvider provider;
    };
    std::vector<ToolTip> m_toolTips;
    int m_nextToolTipTag = 1;
    View* m_superview = nullptr;
    Window* m_window = nullptr;
    std::vector<Ref<View>> m_subviews;
    std::unique_ptr<Backing> m_backing;
};

} // namespace ak
