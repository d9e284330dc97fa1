#pragma once

#include "framework/VxHeapBuf.h"

// A NUL-terminated text on a VxHeapBuf. After every set the buffer holds
// exactly the text and its NUL; an empty buffer reads as "".
class VxString {
public:
    VxString() = default;
    explicit VxString(const char* text) { SetBounded(text, 0); }

    void Set(const char* text, int length) { Write(0, text, length); }
    void Append(const char* text, int length) { Write(GetLength(), text, length); }

    // A maximum of 0 or less takes the whole text; a null text counts as empty.
    void SetBounded(const char* text, int maximum = 0);
    void AppendBounded(const char* text, int maximum = 0);

    // Output longer than maximumLength characters is cut.
    void SetFormatted(int maximumLength, const char* format, ...)
        __attribute__((format(printf, 3, 4)));
    void AppendFormatted(int maximumLength, const char* format, ...)
        __attribute__((format(printf, 3, 4)));

    const char* Get() const;
    int GetLength() const;
    const VxHeapBuf& Buffer() const { return m_buf; }

private:
    // Writes length bytes of text at offset and ends the text behind them.
    void Write(int offset, const char* text, int length);

    VxHeapBuf m_buf{128};
};
