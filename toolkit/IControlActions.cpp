// The free action and animation functions controls install.
#include "toolkit/IControl.h"

#include "toolkit/ICanvas.h"
#include "toolkit/IVectorBase.h"

namespace vx::ui {

namespace {

constexpr int kClickAnimationMs = 100;

void ShowBubble(IControl* caller, EDirection dir, float x, float y) {
    ICanvas* g = caller->GetUI();
    const IParam* param = caller->GetParam(0);
    if (!g || !param)
        return;
    VxString text;
    IControl::ParamDisplayTextWithUnit(param, text, true);
    g->ShowValueBubble(caller, text.Get(), static_cast<int>(dir), x, y, {0.f, 0.f, 50.f, 30.f});
}

} // namespace

void IControl::defaultClickAction(IControl* caller) {
    caller->SetAnimation(defaultAnimation, kClickAnimationMs);
}

void IControl::defaultAnimation(IControl* caller) {
    if (caller->GetAnimationFunction() && caller->AnimationFraction() > 1.0)
        caller->OnAnimationFinished();
}

void IControl::splashClickAction(IControl* caller) {
    if (auto* vector = dynamic_cast<IVectorBase*>(caller); vector && caller->GetUI()) {
        float x = 0.f, y = 0.f;
        caller->GetUI()->GetMouseDownPoint(x, y);
        vector->SetSplashPoint(x, y);
        vector->OnAppearanceChanged();
    }
    caller->SetAnimation(splashAnimation, kClickAnimationMs);
}

void IControl::splashAnimation(IControl* caller) {
    const double progress = caller->AnimationFraction();
    if (progress > 1.0) {
        caller->OnAnimationFinished();
        return;
    }
    if (auto* vector = dynamic_cast<IVectorBase*>(caller)) {
        vector->SetSplashRadius(static_cast<float>(progress) * vector->GetMaxSplashRadius());
        vector->OnAppearanceChanged();
    }
    caller->SetDirty(false, -1);
}

void IControl::showBubbleHorizontalAction(IControl* caller) {
    const IRECT& r = caller->GetRECT();
    ShowBubble(caller, EDirection::Horizontal, r.R, r.MH());
}

void IControl::showBubbleVerticalAction(IControl* caller) {
    const IRECT& r = caller->GetRECT();
    ShowBubble(caller, EDirection::Vertical, r.MW(), r.T);
}

} // namespace vx::ui
