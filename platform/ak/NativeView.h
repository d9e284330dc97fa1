#pragma once

#include "platform/ak/View.h"

namespace ak {

// A view that hosts one GTK widget, a native control, which fills it. GTK
// serves the widget's own input; its taking the focus makes this view the
// window's first responder, and making this view first responder gives the
// widget the focus.
class NativeView : public View {
public:
    explicit NativeView(Rect frame = {}) : View(frame) {}

    bool AcceptsFirstResponder() const override { return true; }
    bool BecomeFirstResponder() override;
    bool HasNativeFocus() const;
};

} // namespace ak
