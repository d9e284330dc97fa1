#include "toolkit/IContainerBase.h"

#include "toolkit/ICanvas.h"

namespace vx::ui {

IContainerBase::IContainerBase(const IRECT& bounds, IContainerFunc attach, IContainerFunc resize)
    : IControl(bounds, -1, nullptr), attachFunc(std::move(attach)), resizeFunc(std::move(resize)) {}

IContainerBase::~IContainerBase() {
    // The children live on in the context's list; they must not point here.
    ForEachChild([](IControl* child) { child->SetParent(nullptr); });
    children.Empty(false);
}

void IContainerBase::OnResize() {
    if (resizeFunc && children.GetSize() > 0)
        resizeFunc(this, drawRect);
}

void IContainerBase::OnAddedToGraphics() {
    if (attachFunc)
        attachFunc(this, drawRect);
    OnResize();
}

void IContainerBase::Hide(bool hide) {
    ForEachChild([hide](IControl* child) { child->Hide(hide); });
    hidden = hide;
    SetDirty(false, -1);
}

void IContainerBase::SetDisabled(bool disable) {
    ForEachChild([disable](IControl* child) { child->SetDisabled(disable); });
    blend.weight = disable ? 0.25f : 1.f;
    disabled = disable;
    SetDirty(false, -1);
}

IControl* IContainerBase::AddChildControl(IControl* child, int tag, const char* group) {
    if (!child || !graphics)
        return nullptr;
    child->SetParent(this);
    IControl* added = graphics->AddControl(child, tag, group);
    if (added && !children.Add(added))
        added->SetParent(nullptr); // out of memory: the context still owns and draws it
    return added;
}

void IContainerBase::ForgetChild(IControl* child) {
    const int index = children.Find(child);
    if (index >= 0)
        children.Delete(index);
}

void IContainerBase::ForEachChild(const std::function<void(IControl*)>& func) {
    for (int i = 0; i < children.GetSize(); ++i)
        func(children.Get(i));
}

} // namespace vx::ui
