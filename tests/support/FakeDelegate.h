#pragma once

#include "framework/IParam.h"
#include "framework/MidiTypes.h"
#include "toolkit/IEditorDelegate.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vx::test {

// An editor delegate with four parameters and a log of what controls told it.
class FakeDelegate : public ui::ICanvasEditorDelegate {
public:
    enum Params : int {
        kGain = 0,  // double 0..100, step 0.1, default 25, label "dB"
        kCount = 1, // int 0..10, default 3
        kSemis = 2, // stepped double -12..12, step 0.5, default 1.3
        kRoom = 3,  // enum Room, Hall, Arena, Spring, Plate; default 1
        kNumParams
    };

    FakeDelegate();

    IParam* GetParam(int index) const override;
    int NParams() const override { return static_cast<int>(params.size()); }
    void BeginParamChangeFromUI(int paramIdx) override;
    void SetParamValueFromUI(int paramIdx, double normalisedValue) override;
    void EndParamChangeFromUI(int paramIdx) override;
    bool ConstrainEditorSize(int& width, int& height) const override;
    bool RequestEditorResize(int width, int height, bool needsPlatformResize) override;
    void PushMidiFromUI(const IMidiMsg& msg) override { midi.push_back(msg); }
    void RunLayoutFunc(ui::ICanvas* canvas) override;

    std::vector<std::unique_ptr<IParam>> params;
    std::vector<std::string> log; // "begin 1", "set 1 0.5", "end 1", "resize 800 600 1"
    std::vector<IMidiMsg> midi;
    std::function<void(ui::ICanvas*)> layout;
    int layoutRuns = 0;
    bool resizeAnswer = true;
    int minWidth = 10, maxWidth = 100000, minHeight = 10, maxHeight = 100000;
};

} // namespace vx::test
