#include "tests/pages/EditFixture.h"

#include "framework/Timer.h"
#include "toolkit/ICanvas.h"

#include <cstdio>

namespace omnar::test {

EditFixture::EditFixture() {
    Open();
    editor->mApplyingValues = false;
    editor->mUserEditing = true;
    TakeSent();
}

void EditFixture::Connect() {
    editor->mConnected = true;
}

void EditFixture::Set(int index, double value) {
    editor->SetParamFromNormalised(index, editor->GetParam(index)->ToNormalised(value));
}

int EditFixture::Value(int index) const {
    return int(editor->GetParam(index)->CurrentValue());
}

std::vector<std::string> EditFixture::TakeSent() {
    std::vector<std::string> sent;
    for (const auto& message : host.output->messages)
        sent.push_back(HexBytes(message));
    host.output->messages.clear();
    return sent;
}

namespace {
struct StillTimer : vx::Timer {
    void Stop() override {}
};
} // namespace

void EditFixture::Tick() {
    StillTimer timer;
    editor->OnZMK3Timer(timer);
}

vx::ui::IControl* EditFixture::Tag(int tag) {
    return Panel().FindControlByTag(tag);
}

std::string HexBytes(const std::vector<uint8_t>& bytes) {
    std::string text;
    for (uint8_t b : bytes) {
        char part[4];
        std::snprintf(part, sizeof part, "%s%02X", text.empty() ? "" : " ", b);
        text += part;
    }
    return text;
}

} // namespace omnar::test
