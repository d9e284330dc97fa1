#pragma once

#include "framework/IParam.h"
#include "tests/support/ToolkitTest.h"

#include <memory>

namespace vx::test {

// The toolkit fixture with the parameter shapes the panel's controls meet.
class ControlsTest : public ToolkitTest {
protected:
    // Each returns the new parameter's index.
    int AddTwoValued() {
        return AddParam([](IParam& p) { p.SetUpBool("Bypass", false, "", 0, "", "Off", "On"); });
    }
    int AddFourEnum() {
        return AddParam(
            [](IParam& p) { p.SetUpEnum("Mode", 0, 4, "", 0, "", "A", "B", "C", "D"); });
    }
    int AddZeroToThree() {
        return AddParam([](IParam& p) { p.SetUpInt("Type", 0, 0, 3); });
    }
    int AddOneToHundred() {
        return AddParam([](IParam& p) { p.SetUpInt("Channel", 50, 1, 100); });
    }
    int AddMidi() {
        return AddParam([](IParam& p) { p.SetUpInt("CC", 64, 0, 127); });
    }

    template <typename SetUp>
    int AddParam(SetUp setUp) {
        delegate.params.push_back(std::make_unique<IParam>());
        setUp(*delegate.params.back());
        return delegate.NParams() - 1;
    }

    // Attaches a control and returns it with its own type.
    template <typename T>
    T* Attach(T* control, int tag = -1) {
        return static_cast<T*>(canvas.AddControl(control, tag));
    }

    IParam& Param(int index) { return *delegate.params[static_cast<size_t>(index)]; }
};

} // namespace vx::test
