#pragma once

#include "winlayer/WinTypes.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The value parts of a window view: its extra bytes, its text, and the
// packing and parsing rules the window calls share.

namespace winlayer {

// 256 byte indices over 32 eight-byte slots: indices 0-7 share slot 0.
class ExtraData {
public:
    static constexpr int kByteCount = 256;
    std::int64_t get(int byteIndex) const;
    // Indices outside 0-255 are ignored.
    void set(int byteIndex, std::int64_t value);

private:
    std::array<std::int64_t, kByteCount / 8> slots_{};
};

// A window text of at most 1023 bytes, never cut inside a character.
class WindowText {
public:
    static constexpr std::size_t kMaxBytes = 1023;
    void set(std::string_view text);
    const std::string& get() const { return text_; }

private:
    std::string text_;
};

// WM_MOVE's lParam: y in the high half, x's low 16 bits in the low half,
// each rounded to the nearest pixel.
LPARAM PackMoveParam(double x, double y);

// GetDlgItemInt's reading of a field's text: leading blanks and tabs
// skipped; FALSE in *ok for no number, a value out of int range, or a
// negative value when unsigned.
int ParseDialogInt(const char* text, BOOL* ok, BOOL isSigned);

} // namespace winlayer
