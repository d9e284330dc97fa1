#pragma once

#include "framework/IParam.h"
#include "framework/MidiTypes.h"
#include "framework/VxPointerList.h"

#include <cstdint>

namespace vx {

class IByteChunk;
struct IKeyPress;

// Where a parameter change came from, as handed to the change hooks.
enum EParamSource : int32_t {
    kSourceRecall = 2,   // state or preset recall
    kSourceEditor = 3,   // a change made in the editor
    kSourceToEditor = 4, // a value sent to the editor
};

// The root of the plug-in object: owns the parameters and defines what passes
// between the plug-in side and its editor. All but the gesture begin and end
// have a default that works without any editor.
class IEditorDelegate {
public:
    explicit IEditorDelegate(int nParams = 0);
    virtual ~IEditorDelegate();
    IEditorDelegate(const IEditorDelegate&) = delete;
    IEditorDelegate& operator=(const IEditorDelegate&) = delete;

    // The parameter at index, null outside the list.
    virtual IParam* GetParam(int index) const { return mParams.Get(index); }
    virtual int NParams() const { return mParams.GetSize(); }

    virtual void* OpenEditor(void* parentView);
    virtual void CloseEditor() { OnEditorClose(); }
    virtual void ResizeEditorFromHost(int32_t, int32_t) {}
    virtual void OnStateRestored();
    virtual void OnEditorClose() {}
    virtual void OnParamChangeWithSource(int32_t index, int32_t, int32_t) { OnParamChange(index); }
    virtual void OnParamChange(int32_t) {}
    virtual void HandleParamChangeOnUI(int32_t, int32_t) {}
    virtual void NotifyAllParamsChanged(int32_t source);
    virtual void HandleMidiMsgOnUI(const IMidiMsg&) {}
    virtual void HandleSysExOnUI(const ISysEx&) {}
    virtual bool HandleDelegateMessage(int32_t, int32_t, int32_t, const void*) { return false; }
    virtual void OnPresetRestored() { OnStateRestored(); }
    virtual bool OnKeyDownFromHost(const IKeyPress&) { return false; }
    virtual bool OnKeyUpFromHost(const IKeyPress&) { return false; }
    virtual void PushControlValueToUI(int32_t, double) {}
    virtual void PushControlMessageToUI(int32_t controlTag, int32_t messageTag, int32_t dataSize,
                                        const void* data) {
        HandleDelegateMessage(messageTag, controlTag, dataSize, data);
    }
    virtual void SendUIMessage(int32_t messageTag, int32_t dataSize, const void* data) {
        HandleDelegateMessage(messageTag, -1, dataSize, data);
    }
    virtual void DeliverMidiMsgToUI(const IMidiMsg& msg) { HandleMidiMsgOnUI(msg); }
    virtual void DeliverSysExToUI(const ISysEx& sysex) { HandleSysExOnUI(sysex); }
    virtual void SendParameterValueToUI(int32_t index, double, bool) {
        HandleParamChangeOnUI(index, kSourceToEditor);
    }
    virtual void NotifyHostOfAllParams() {}
    virtual void BeginParamChangeFromUI(int paramIdx) = 0;
    virtual void SetParamValueFromUI(int paramIdx, double normalisedValue);
    virtual void EndParamChangeFromUI(int paramIdx) = 0;
    virtual bool RequestEditorResize(int, int, bool) { return false; }
    virtual void PushMidiFromUI(const IMidiMsg&) {}
    virtual void PushSysExFromUI(const ISysEx&) {}
    virtual void SendUIControlMessage(int32_t, int32_t, int32_t, const void*) {}
    virtual void EnqueueMidiMsgFromUI(const IMidiMsg&) {}
    virtual void EnqueueSysExFromUI(const ISysEx&) {}
    // True when the size is within the limits; otherwise clamps it and answers false.
    virtual bool ConstrainEditorSize(int& width, int& height) const;
    virtual bool SaveEditorState(IByteChunk&) const { return true; }
    virtual int32_t RestoreEditorState(const IByteChunk&, int32_t position) { return position; }
    virtual void ApplyEditorScale(float) {}

    int EditorWidth() const { return mEditorWidth; }
    int EditorHeight() const { return mEditorHeight; }
    void SetEditorSize(int width, int height) {
        mEditorWidth = width;
        mEditorHeight = height;
    }
    // Each pair is stored smaller first.
    void SetSizeConstraints(int minWidth, int maxWidth, int minHeight, int maxHeight);

private:
    VxPointerList<IParam> mParams;
    int32_t mEditorWidth = 0;
    int32_t mEditorHeight = 0;
    int32_t mMinWidth = 10;
    int32_t mMaxWidth = 100000;
    int32_t mMinHeight = 10;
    int32_t mMaxHeight = 100000;
};

} // namespace vx
