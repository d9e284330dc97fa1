#pragma once

// Byte-at-a-time UTF-8 decoder (a DFA over 256 byte classes). A malformed
// sequence moves it to the reject state, which it never leaves.
constexpr unsigned int UTF8_ACCEPT = 0;
constexpr unsigned int UTF8_REJECT = 12;

// Feeds one byte; returns the new state. *codepoint is complete when the
// state is UTF8_ACCEPT.
unsigned int utf8_decode(unsigned int* state, unsigned int* codepoint, unsigned int byte);
