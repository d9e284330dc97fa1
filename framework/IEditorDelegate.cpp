#include "framework/IEditorDelegate.h"

#include <algorithm>

namespace vx {

IEditorDelegate::IEditorDelegate(int nParams) {
    for (int i = 0; i < nParams; ++i) {
        auto* param = new IParam();
        if (!mParams.Add(param)) {
            delete param;
            break;
        }
    }
}

IEditorDelegate::~IEditorDelegate() {
    mParams.Empty(true);
}

void* IEditorDelegate::OpenEditor(void*) {
    OnStateRestored();
    return nullptr;
}

void IEditorDelegate::OnStateRestored() {
    for (int i = 0; i < NParams(); ++i) {
        const IParam* param = GetParam(i);
        SendParameterValueToUI(i, param->ToNormalised(param->CurrentValue()), true);
    }
}

void IEditorDelegate::NotifyAllParamsChanged(int32_t source) {
    for (int i = 0; i < NParams(); ++i) {
        OnParamChangeWithSource(i, source, -1);
        HandleParamChangeOnUI(i, source);
    }
}

void IEditorDelegate::SetParamValueFromUI(int paramIdx, double normalisedValue) {
    if (IParam* param = GetParam(paramIdx))
        param->SetNormalised(normalisedValue);
    HandleParamChangeOnUI(paramIdx, kSourceEditor);
}

bool IEditorDelegate::ConstrainEditorSize(int& width, int& height) const {
    if (width >= mMinWidth && width <= mMaxWidth && height >= mMinHeight && height <= mMaxHeight)
        return true;
    width = std::clamp(width, mMinWidth, mMaxWidth);
    height = std::clamp(height, mMinHeight, mMaxHeight);
    return false;
}

void IEditorDelegate::SetSizeConstraints(int minWidth, int maxWidth, int minHeight, int maxHeight) {
    mMinWidth = std::min(minWidth, maxWidth);
    mMaxWidth = std::max(minWidth, maxWidth);
    mMinHeight = std::min(minHeight, maxHeight);
    mMaxHeight = std::max(minHeight, maxHeight);
}

} // namespace vx
