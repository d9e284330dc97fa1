#pragma once

#include "framework/IEditorDelegate.h"

#include <functional>
#include <memory>

namespace vx::ui {

class ICanvas;

// The editor delegate bound to one graphics context: it builds the context
// through the product's make-graphics function, lays it out through the
// layout function, and keeps the editor's size and draw scale across close
// and reopen. Main thread only.
class ICanvasEditorDelegate : public IEditorDelegate {
public:
    using MakeGraphicsFunc = std::function<std::unique_ptr<ICanvas>()>;
    using LayoutFunc = std::function<void(ICanvas*)>;

    explicit ICanvasEditorDelegate(int nParams = 0);
    ~ICanvasEditorDelegate() override;

    void* OpenEditor(void* parentView) override;
    void CloseEditor() override;
    void ResizeEditorFromHost(int32_t width, int32_t height) override;
    bool OnKeyDownFromHost(const IKeyPress& key) override;
    bool OnKeyUpFromHost(const IKeyPress& key) override;
    void PushControlValueToUI(int32_t controlTag, double normalisedValue) override;
    void PushControlMessageToUI(int32_t controlTag, int32_t messageTag, int32_t dataSize,
                                const void* data) override;
    void DeliverMidiMsgToUI(const IMidiMsg& msg) override;
    void SendParameterValueToUI(int32_t index, double value, bool normalised) override;
    bool SaveEditorState(IByteChunk& chunk) const override;
    int32_t RestoreEditorState(const IByteChunk& chunk, int32_t position) override;
    void ApplyEditorScale(float scale) override;
    virtual std::unique_ptr<ICanvas> BuildGraphics();
    virtual void RunLayoutFunc(ICanvas* canvas);

    void SetMakeGraphicsFunc(MakeGraphicsFunc func) { mMakeGraphicsFunc = std::move(func); }
    void SetLayoutFunc(LayoutFunc func) { mLayoutFunc = std::move(func); }
    // Null while the editor is closed.
    ICanvas* GetGraphics() const { return mGraphics.get(); }
    int StoredWidth() const { return mStoredWidth; }
    int StoredHeight() const { return mStoredHeight; }
    float StoredScale() const { return mStoredScale; }

private:
    using KeyHandler = bool (ICanvas::*)(float x, float y, const IKeyPress& key);
    bool ForwardKey(KeyHandler handler, const IKeyPress& key);

    MakeGraphicsFunc mMakeGraphicsFunc;
    LayoutFunc mLayoutFunc;
    std::unique_ptr<ICanvas> mGraphics;
    int32_t mStoredWidth = 0;
    int32_t mStoredHeight = 0;
    float mStoredScale = 0.f;
    bool mClosing = false;
};

} // namespace vx::ui
