#pragma once

namespace vx {

class IParam;
struct IMidiMsg;

namespace ui {
class ICanvas;
}

// What the toolkit asks of the plug-in side: its parameters, value changes
// made in the panel, and editor size negotiation.
class IEditorDelegate {
public:
    virtual ~IEditorDelegate() = default;

    // The parameter at index, null outside the list.
    virtual IParam* GetParam(int index) const = 0;
    virtual int NParams() const = 0;

    virtual void BeginParamChangeFromUI(int paramIdx) = 0;
    virtual void SetParamValueFromUI(int paramIdx, double normalisedValue) = 0;
    virtual void EndParamChangeFromUI(int paramIdx) = 0;

    // May change the sizes; false when it had to.
    virtual bool ConstrainEditorSize(int& width, int& height) const = 0;
    virtual bool RequestEditorResize(int width, int height, bool needsPlatformResize) = 0;

    virtual void PushMidiFromUI(const IMidiMsg& msg) = 0;
};

namespace ui {

// The delegate as bound to one graphics context.
class ICanvasEditorDelegate : public IEditorDelegate {
public:
    virtual void RunLayoutFunc(ICanvas* canvas) = 0;
};

} // namespace ui
} // namespace vx
