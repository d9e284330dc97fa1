#include "platform/ak/MenuText.h"

#include "platform/sys/Utf8.h"

namespace ak {

std::string GtkMnemonicLabel(const std::string& title) {
    const std::string valid =
        sys::IsValidUtf8(title) ? title : sys::Utf32ToUtf8(sys::Utf8ToUtf32(title));
    std::string label;
    for (size_t i = 0; i < valid.size(); ++i) {
        const char c = valid[i];
        if (c == '_') {
            label += "__";
        } else if (c == '&' && i + 1 < valid.size() && valid[i + 1] == '&') {
            label += '&';
            ++i;
        } else if (c == '&') {
            label += i + 1 < valid.size() ? "_" : "";
        } else {
            label += c;
        }
    }
    return label;
}

} // namespace ak
