#include "toolkit/ICanvas.h"
#include "toolkit/ISpecialControls.h"

namespace vx::ui {

namespace {

constexpr int kFadeMs = 200;
constexpr int kHoldMs = 1000;

} // namespace

IBubbleControl::IBubbleControl(const IText& t, const IColor& fill, const IColor& frame,
                               float roundness)
    : IControl(IRECT(), -1, nullptr), roundness(roundness), fillColor(fill), frameColor(frame) {
    text = t;
    hidden = true;
    ignoreMouse = true;
    SetActionFunction([](IControl* c) { c->SetAnimation(FadeStep, kFadeMs); });
    SetAnimationEndActionFunction([](IControl* c) {
        if (static_cast<IBubbleControl*>(c)->state == kShowing)
            c->SetAnimation(FadeStep, kHoldMs);
    });
}

void IBubbleControl::FadeStep(IControl* control) {
    auto* b = static_cast<IBubbleControl*>(control);
    const double p = control->AnimationFraction();
    const float top = b->maxOpacity;
    if (p <= 1.0) {
        if (b->state == kExpanding)
            b->bubbleBlend.weight = static_cast<float>(p) * top;
        else if (b->state == kShowing)
            b->bubbleBlend.weight = top;
        else if (b->state == kCollapsing)
            b->bubbleBlend.weight = static_cast<float>(1.0 - p) * top;
        return;
    }
    switch (b->state) {
    case kExpanding:
        b->bubbleBlend.weight = top;
        b->state = kShowing;
        b->OnAnimationFinished(); // starts the hold
        break;
    case kShowing:
        // Held while the caller is still captured, looked at again after each fade step.
        if (!(b->caller && b->graphics && b->graphics->ControlIsCaptured(b->caller))) {
            b->bubbleBlend.weight = top;
            b->state = kCollapsing;
        }
        b->SetDirty(true, -1);
        break;
    case kCollapsing:
        b->bubbleBlend.weight = 0.f;
        b->Hide(true);
        b->state = kCollapsed;
        b->caller = nullptr;
        b->SetDirty(false, -1);
        b->OnAnimationFinished();
        break;
    default:
        b->OnAnimationFinished();
        break;
    }
}

void IBubbleControl::Draw(ICanvas& g) {
    const IRECT inner = bubbleBounds.GetPadded(-shadowSize);
    g.DrawRectShadowFast(inner, bubbleBounds, &bubbleBlend, 2.f, roundness, 10.f);
    DrawBubble(g, inner);
    DrawContent(g, inner);
}

void IBubbleControl::DrawBubble(ICanvas& g, const IRECT& r) {
    const float q = roundness, a = arrowSize, cx = r.MW(), cy = r.MH();
    auto topRight = [&] { g.PathAddArc(r.R - q, r.T + q, q, 0.f, 90.f, 0); };
    auto bottomRight = [&] { g.PathAddArc(r.R - q, r.B - q, q, 90.f, 180.f, 0); };
    auto bottomLeft = [&] { g.PathAddArc(r.L + q, r.B - q, q, 180.f, 270.f, 0); };
    g.PathReset();
    g.PathAddMove(r.L, r.T + q);
    g.PathAddArc(r.L + q, r.T + q, q, 270.f, 360.f, 0);
    switch (arrowSide) {
    case 0:
        g.PathAddLine(cx - a / 2.f, r.T);
        g.PathAddLine(cx, r.T - a);
        g.PathAddLine(cx + a / 2.f, r.T);
        topRight();
        bottomRight();
        bottomLeft();
        break;
    case 1:
        topRight();
        g.PathAddLine(r.R, cy - a / 2.f);
        g.PathAddLine(r.R + a, cy);
        g.PathAddLine(r.R, cy + a / 2.f);
        bottomRight();
        bottomLeft();
        break;
    case 2:
        topRight();
        bottomRight();
        g.PathAddLine(cx + a / 2.f, r.B);
        g.PathAddLine(cx, r.B + a);
        g.PathAddLine(cx - a / 2.f, r.B);
        bottomLeft();
        break;
    case 3:
        topRight();
        bottomRight();
        bottomLeft();
        g.PathAddLine(r.L, cy + a / 2.f);
        g.PathAddLine(r.L - a, cy);
        g.PathAddLine(r.L, cy - a / 2.f);
        break;
    default:
        break;
    }
    g.PathAddClose();
    g.PathFillCurrent(IFillPattern(fillColor), {IFillStyle::Winding, true}, &bubbleBlend);
    g.PathStrokeCurrent(IFillPattern(frameColor), frameThickness, IStrokeStyle(), &bubbleBlend);
}

void IBubbleControl::DrawContent(ICanvas& g, const IRECT& r) {
    if (content.GetLength() > 0)
        g.DrawTextString(text, content.Get(), r, &bubbleBlend);
}

void IBubbleControl::MeasureContent(const char* str, IRECT& out) {
    if (graphics)
        graphics->MeasureText(text, str, out);
}

} // namespace vx::ui
