#include "winlayer/MessageBoxButtons.h"

namespace winlayer {

namespace {

constexpr UINT kSecondDefault = 0x100;
constexpr UINT kThirdDefault = 0x200;

} // namespace

std::vector<int> MessageBoxButtons(UINT flags) {
    const bool second = flags & kSecondDefault;
    const bool third = flags & kThirdDefault;
    switch (flags & 0xF) {
    case 1:
        return second ? std::vector{IDCANCEL, IDOK} : std::vector{IDOK, IDCANCEL};
    case 2:
        if (third)
            return {IDIGNORE, IDRETRY, IDABORT};
        return second ? std::vector{IDRETRY, IDABORT, IDIGNORE}
                      : std::vector{IDABORT, IDIGNORE, IDRETRY};
    case 3:
        if (third)
            return {IDCANCEL, IDNO, IDYES};
        return second ? std::vector{IDNO, IDYES, IDCANCEL} : std::vector{IDYES, IDCANCEL, IDNO};
    case 4:
        return second ? std::vector{IDNO, IDYES} : std::vector{IDYES, IDNO};
    case 5:
        return second ? std::vector{IDCANCEL, IDRETRY} : std::vector{IDRETRY, IDCANCEL};
    default:
        return {IDOK};
    }
}

const char* ButtonTitle(int id) {
    static const char* const titles[] = {"OK", "Cancel", "Abort", "Retry", "Ignore", "Yes", "No"};
    return id >= IDOK && id <= IDNO ? titles[id - 1] : "";
}

} // namespace winlayer
