#pragma once

#include "framework/VxPointerList.h"
#include "toolkit/IControl.h"

#include <functional>

namespace vx::ui {

class IContainerBase;
using IContainerFunc = std::function<void(IContainerBase*, const IRECT& bounds)>;

// A control that groups child controls: it builds them when attached, lays
// them out when resized and hides or disables them with itself. The children
// are ordinary controls of the context's list; the container only knows them.
class IContainerBase : public IControl {
public:
    IContainerBase(const IRECT& bounds, IContainerFunc attach = nullptr,
                   IContainerFunc resize = nullptr);
    ~IContainerBase() override;

    void OnResize() override;
    void OnAddedToGraphics() override;
    void Draw(ICanvas&) override {}
    void Hide(bool hide) override;
    void SetDisabled(bool disable) override;

    // Attaches a child to the context after this container; the context owns it.
    // Returns the child, or null when the context refused it.
    IControl* AddChildControl(IControl* child, int tag = -1, const char* group = "");
    // Forgets a child the context is removing.
    void ForgetChild(IControl* child);
    int NChildren() const { return children.GetSize(); }
    // Whether the child is still one of ours (the context has not removed it).
    bool HoldsChild(const IControl* child) const {
        return child && children.Find(const_cast<IControl*>(child)) >= 0;
    }
    IControl* GetChild(int index) const { return children.Get(index); }

protected:
    // Set by subclasses whose functions need their own state.
    IContainerFunc attachFunc;
    IContainerFunc resizeFunc;

private:
    void ForEachChild(const std::function<void(IControl*)>& func);

    VxPointerList<IControl> children;
};

} // namespace vx::ui
