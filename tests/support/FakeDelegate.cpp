#include "tests/support/FakeDelegate.h"

#include <algorithm>
#include <cstdio>

namespace vx::test {

namespace {

std::string Entry(const char* what, int paramIdx, double value = -1.0) {
    char buf[64];
    if (value < 0.0)
        std::snprintf(buf, sizeof buf, "%s %d", what, paramIdx);
    else
        std::snprintf(buf, sizeof buf, "%s %d %g", what, paramIdx, value);
    return buf;
}

} // namespace

FakeDelegate::FakeDelegate() {
    for (int i = 0; i < kNumParams; ++i)
        params.push_back(std::make_unique<IParam>());
    params[kGain]->SetUpDouble("Gain", 25.0, 0.0, 100.0, 0.1, "dB");
    params[kCount]->SetUpInt("Count", 3, 0, 10);
    params[kSemis]->SetUpDouble("Semis", 1.3, -12.0, 12.0, 0.5, "st", IParam::kFlagStepped);
    params[kRoom]->SetUpEnum("Room", 1, 5, "", 0, "", "Room", "Hall", "Arena", "Spring", "Plate");
}

IParam* FakeDelegate::GetParam(int index) const {
    return index >= 0 && index < NParams() ? params[static_cast<size_t>(index)].get() : nullptr;
}

void FakeDelegate::BeginParamChangeFromUI(int paramIdx) {
    log.push_back(Entry("begin", paramIdx));
}

void FakeDelegate::SetParamValueFromUI(int paramIdx, double normalisedValue) {
    log.push_back(Entry("set", paramIdx, normalisedValue));
    if (IParam* param = GetParam(paramIdx))
        param->SetNormalised(normalisedValue);
}

void FakeDelegate::EndParamChangeFromUI(int paramIdx) {
    log.push_back(Entry("end", paramIdx));
}

bool FakeDelegate::ConstrainEditorSize(int& width, int& height) const {
    const int w = std::clamp(width, minWidth, maxWidth);
    const int h = std::clamp(height, minHeight, maxHeight);
    const bool unchanged = w == width && h == height;
    width = w;
    height = h;
    return unchanged;
}

bool FakeDelegate::RequestEditorResize(int width, int height, bool needsPlatformResize) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "resize %d %d %d", width, height, needsPlatformResize);
    log.push_back(buf);
    return resizeAnswer;
}

void FakeDelegate::RunLayoutFunc(ui::ICanvas* canvas) {
    ++layoutRuns;
    if (layout)
        layout(canvas);
}

} // namespace vx::test
