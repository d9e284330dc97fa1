#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// UTF-8 helpers that never throw on bad input: malformed bytes decode as
// U+FFFD, one byte at a time, and unencodable code points encode as U+FFFD.
namespace sys {

inline constexpr char32_t kReplacementCharacter = U'\uFFFD';

// True when the bytes are well-formed UTF-8: no overlong forms, no surrogates,
// nothing above U+10FFFF, no truncated sequence. NUL bytes are allowed.
bool IsValidUtf8(std::string_view text) noexcept;

// Decodes the code point starting at offset and returns how many bytes it
// took: 0 at or past the end, 1 for a malformed byte (then U+FFFD).
std::size_t DecodeUtf8(std::string_view text, std::size_t offset, char32_t& codePoint) noexcept;

// Writes the UTF-8 form of codePoint (U+FFFD for surrogates and values above
// U+10FFFF) into out and returns its length, 1 to 4.
std::size_t EncodeUtf8(char32_t codePoint, char out[4]) noexcept;
void AppendUtf8(std::string& out, char32_t codePoint);

std::u32string Utf8ToUtf32(std::string_view text);
std::string Utf32ToUtf8(std::u32string_view codePoints);

// Offsets of the next and previous code point boundary, for caret movement;
// clamped to the text.
std::size_t NextUtf8Boundary(std::string_view text, std::size_t offset) noexcept;
std::size_t PreviousUtf8Boundary(std::string_view text, std::size_t offset) noexcept;

// The longest prefix of at most maxBytes bytes that does not end inside a
// multi-byte sequence.
std::size_t Utf8PrefixLength(std::string_view text, std::size_t maxBytes) noexcept;

// Valid UTF-8 unchanged; anything else is taken as ASCII, each byte above 0x7F
// becoming '?'.
std::string Utf8OrAscii(std::string_view bytes);

} // namespace sys
