#pragma once

#include "framework/IModuleBase.h"
#include "framework/PluginConfig.h"
#include "framework/PluginRings.h"
#include "framework/Timer.h"

#include <memory>
#include <mutex>
#include <vector>

namespace vx {

// Takes the configuration apart, owns the rings between the real-time threads
// and the editor, runs the 20 ms UI timer that empties them on the main
// thread, identifies the host, and carries the editor's parameter changes.
// Host notifications are empty: this program is its own host.
class IAPIBase : public IModuleBase {
public:
    static constexpr int kParamRingSize = 512;
    static constexpr int kMidiRingSize = 32;
    static constexpr int kSysExFromEditorRingSize = 4;
    // The editor's SysEx ring is fed in the same tick as the callback's, so it holds as many.
    static constexpr int kSysExToEditorRingSize = 64;
    static constexpr uint32_t kUITimerMs = 20;

    IAPIBase(const PluginConfig& config, int32_t apiCode);
    ~IAPIBase() override;

    void NotifyHostOfAllParams() override;
    void BeginParamChangeFromUI(int index) override { NotifyHostParamGestureBegin(index); }
    void SetParamValueFromUI(int index, double normalisedValue) override;
    void EndParamChangeFromUI(int index) override { NotifyHostParamGestureEnd(index); }
    bool RequestEditorResize(int width, int height, bool needsWindowResize) override;
    void PushMidiFromUI(const IMidiMsg& msg) override { EnqueueMidiMsgFromUI(msg); }
    void PushSysExFromUI(const ISysEx& sysex) override { EnqueueSysExFromUI(sysex); }
    void SendUIControlMessage(int32_t messageTag, int32_t controlTag, int32_t dataSize,
                              const void* data) override {
        HandleDelegateMessage(messageTag, controlTag, dataSize, data);
    }
    void EnqueueMidiMsgFromUI(const IMidiMsg& msg) override { mMidiFromEditor.Push(msg); }
    // A message that does not fit one record is refused whole: a cut SysEx is corrupt.
    void EnqueueSysExFromUI(const ISysEx& sysex) override;

    // True when every parameter equals values[start + i] to 1e-5 in single precision.
    virtual bool CompareParamValues(const double* values, int32_t start) const;
    virtual void ListImportantParams(int32_t count, std::vector<int>& out) const;
    // Safe from the main and the audio thread; dropped when the ring is full.
    virtual void QueueParamValueForUI(int32_t index, double value, bool normalised);
    virtual bool ResizeHostWindow(int, int) { return false; }
    virtual void NotifyHostParamGestureBegin(int32_t) {}
    virtual void NotifyHostParamGestureEnd(int32_t) {}
    virtual void NotifyHostParamChanged(int32_t, double) {}
    virtual bool OnHostRequestingAboutBox() { return false; }
    virtual bool OnHostRequestingManual() { return false; }
    virtual void OnHostRequestingMessage(int32_t) {}
    virtual void ShowConnectionStatus() {}
    virtual void ReservedHook51() {}
    virtual bool ReservedCheck53(int32_t a, int32_t b) const { return b == -a; }
    virtual void ReservedHook54() {}
    virtual bool GetOptionalText(char* out) const;
    virtual ui::ICanvas* GetEditorGraphics() const { return GetGraphics(); }
    virtual void OnIdle() {}
    virtual void ReservedHook58() {}
    virtual void GetHostTimeInfo(int32_t* a, int32_t* b, int32_t* c) const;
    virtual void ReservedHook60() {}
    virtual int32_t ReservedQuery61() const { return 0; }
    virtual void ReservedHook62() {}
    virtual int32_t ReservedQuery63() const { return 0; }
    virtual void ReservedHook65() {}
    virtual void ReservedHook70() {}
    virtual void ReservedHook71() {}

    // Sets the value, tells the host and reaches the product's OnParamChange.
    void SetParamFromNormalised(int32_t index, double normalisedValue);
    void DetectHost(const char* hostName, int32_t hostVersion);
    void StartUITimer();
    void OnUITimer(Timer& timer);

protected:
    // Runs first in every UI tick; the standalone object empties the MIDI
    // callback's rings here, on the main thread.
    virtual void DrainCallbackQueues() {}

    // Filled by the processing side, emptied by the UI tick.
    MidiMsgRing& MidiToEditor() { return mMidiToEditor; }
    SysExRing& SysExToEditor() { return mSysExToEditor; }
    // Filled by the editor, emptied by the processing side.
    MidiMsgRing& MidiFromEditor() { return mMidiFromEditor; }
    SysExRing& SysExFromEditor() { return mSysExFromEditor; }

private:
    VxString mParamDisplayText;
    std::unique_ptr<Timer> mUITimer;
    std::mutex mParamQueueMutex; // the parameter ring's one-producer side
    ParamChangeRing mParamChangesToEditor{kParamRingSize};
    MidiMsgRing mMidiFromEditor{kMidiRingSize};
    MidiMsgRing mMidiToEditor{kMidiRingSize};
    SysExRing mSysExFromEditor{kSysExFromEditorRingSize};
    SysExRing mSysExToEditor{kSysExToEditorRingSize};
};

} // namespace vx
