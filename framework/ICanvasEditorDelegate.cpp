#include "framework/ICanvasEditorDelegate.h"

#include "framework/IByteChunk.h"
#include "toolkit/ICanvas.h"

namespace vx::ui {

ICanvasEditorDelegate::ICanvasEditorDelegate(int nParams) : IEditorDelegate(nParams) {}

// The context goes before the functions and the parameters it may still reach.
ICanvasEditorDelegate::~ICanvasEditorDelegate() {
    mGraphics.reset();
}

void* ICanvasEditorDelegate::OpenEditor(void* parentView) {
    if (!mGraphics) {
        mGraphics = BuildGraphics();
        if (mGraphics && mStoredWidth != 0 && mStoredHeight != 0 && mStoredScale != 0.f)
            mGraphics->Resize(mStoredWidth, mStoredHeight, mStoredScale, true);
    }
    return mGraphics ? mGraphics->AttachToParentWindow(parentView) : nullptr;
}

void ICanvasEditorDelegate::CloseEditor() {
    if (mClosing)
        return;
    mClosing = true;
    OnEditorClose();
    if (mGraphics) {
        mStoredWidth = mGraphics->Width();
        mStoredHeight = mGraphics->Height();
        mStoredScale = mGraphics->GetDrawScale();
        mGraphics->DetachFromParentWindow();
        mGraphics.reset();
    }
    mClosing = false;
}

void ICanvasEditorDelegate::ResizeEditorFromHost(int32_t width, int32_t height) {
    if (!mGraphics)
        return;
    const float scale = mGraphics->NativeWindowScale();
    mGraphics->Resize(static_cast<int>(float(width) / scale),
                      static_cast<int>(float(height) / scale), 1.f, false);
}

bool ICanvasEditorDelegate::ForwardKey(KeyHandler handler, const IKeyPress& key) {
    if (!mGraphics)
        return false;
    // Keys go to the control under the mouse.
    float x = 0.f, y = 0.f;
    mGraphics->QueryMousePosition(x, y);
    return (mGraphics.get()->*handler)(x, y, key);
}

bool ICanvasEditorDelegate::OnKeyDownFromHost(const IKeyPress& key) {
    return ForwardKey(&ICanvas::OnKeyDown, key);
}

bool ICanvasEditorDelegate::OnKeyUpFromHost(const IKeyPress& key) {
    return ForwardKey(&ICanvas::OnKeyUp, key);
}

void ICanvasEditorDelegate::PushControlValueToUI(int32_t controlTag, double normalisedValue) {
    if (!mGraphics)
        return;
    if (IControl* control = mGraphics->FindControlByTag(controlTag))
        control->SetValueFromEditorSide(normalisedValue, 0);
}

void ICanvasEditorDelegate::PushControlMessageToUI(int32_t controlTag, int32_t messageTag,
                                                   int32_t dataSize, const void* data) {
    if (!mGraphics)
        return;
    if (IControl* control = mGraphics->FindControlByTag(controlTag))
        control->OnDelegateMessage(messageTag, dataSize, data);
}

void ICanvasEditorDelegate::DeliverMidiMsgToUI(const IMidiMsg& msg) {
    if (mGraphics) {
        for (int i = 0; i < mGraphics->NControls(); ++i) {
            IControl* control = mGraphics->GetControl(i);
            if (control && control->GetWantsMidi())
                control->OnMidi(msg);
        }
    }
    HandleMidiMsgOnUI(msg);
}

void ICanvasEditorDelegate::SendParameterValueToUI(int32_t index, double value, bool normalised) {
    if (mGraphics) {
        if (!normalised) {
            if (const IParam* param = GetParam(index))
                value = param->ToNormalised(value);
        }
        for (int i = 0; i < mGraphics->NControls(); ++i) {
            IControl* control = mGraphics->GetControl(i);
            for (int slot = 0; control && slot < control->NVals(); ++slot) {
                if (control->GetParamIdx(slot) == index)
                    control->SetValueFromEditorSide(value, slot);
            }
        }
    }
    HandleParamChangeOnUI(index, kSourceToEditor);
}

bool ICanvasEditorDelegate::SaveEditorState(IByteChunk& chunk) const {
    const int32_t width = mGraphics ? mGraphics->Width() : mStoredWidth;
    const int32_t height = mGraphics ? mGraphics->Height() : mStoredHeight;
    const float scale = mGraphics ? mGraphics->GetDrawScale() : mStoredScale;
    const int before = chunk.Size();
    chunk.Put(width);
    chunk.Put(height);
    chunk.Put(scale);
    return chunk.Size() == before + 12;
}

int32_t ICanvasEditorDelegate::RestoreEditorState(const IByteChunk& chunk, int32_t position) {
    int32_t width = 0, height = 0;
    float scale = 0.f;
    // Each field is read only when it is wholly inside the chunk; a missing one stays 0.
    const bool whole = position >= 0 && chunk.Get(width, position) >= 0 &&
                       chunk.Get(height, position + 4) >= 0 && chunk.Get(scale, position + 8) >= 0;
    if (mGraphics) {
        if (width != 0 && height != 0 && scale != 0.f)
            mGraphics->Resize(width, height, scale, true);
    } else {
        mStoredWidth = width;
        mStoredHeight = height;
        mStoredScale = scale;
    }
    return whole ? position + 12 : -1;
}

void ICanvasEditorDelegate::ApplyEditorScale(float scale) {
    if (mGraphics)
        mGraphics->SetScreenScale(scale);
}

std::unique_ptr<ICanvas> ICanvasEditorDelegate::BuildGraphics() {
    return mMakeGraphicsFunc ? mMakeGraphicsFunc() : nullptr;
}

void ICanvasEditorDelegate::RunLayoutFunc(ICanvas* canvas) {
    if (mLayoutFunc)
        mLayoutFunc(canvas);
}

} // namespace vx::ui
