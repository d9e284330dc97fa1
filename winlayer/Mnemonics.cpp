#include "winlayer/Mnemonics.h"

#include <cstring>
#include <deque>

namespace {

constexpr std::size_t kMaxRemembered = 257;
constexpr std::size_t kScanLimit = 1024;

struct Remembered {
    std::string shown;
    std::string original;
};

std::deque<Remembered>& RememberedCaptions() {
    static std::deque<Remembered> captions;
    return captions;
}

} // namespace

namespace winlayer {

std::string StripMnemonics(const char* caption) {
    if (!caption)
        return {};
    const std::size_t length = std::strlen(caption);
    if (length >= kScanLimit || !std::memchr(caption, '&', length))
        return caption;
    std::string shown;
    for (std::size_t i = 0; i < length; ++i) {
        if (caption[i] == '&') {
            if (++i == length)
                break;
        }
        shown += caption[i];
    }
    auto& captions = RememberedCaptions();
    if (captions.size() >= kMaxRemembered)
        captions.pop_front();
    captions.push_back({shown, caption});
    return shown;
}

void ForgetMnemonicCaptions() {
    RememberedCaptions().clear();
}

} // namespace winlayer

const char* FindMnemonicOriginal(const char* shown) {
    if (!shown)
        return nullptr;
    for (const auto& caption : RememberedCaptions())
        if (caption.shown == shown)
            return caption.original.c_str();
    return nullptr;
}
