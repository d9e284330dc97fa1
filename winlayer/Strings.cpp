#include "winlayer/WinBasics.h"

#include "platform/sys/Utf8.h"

#include <cstring>

char* lstrcpyn(char* destination, const char* source, int size) {
    if (!destination || size <= 0)
        return destination;
    if (!source)
        source = "";
    const std::size_t length = strnlen(source, static_cast<std::size_t>(size) - 1);
    std::memmove(destination, source, length);
    destination[length] = '\0';
    return destination;
}

CFString WISP_CStringToCFString(const char* text) {
    return sys::Utf8OrAscii(text ? text : "");
}

BOOL WISP_CFStringToCString(const CFString* text, char* buffer, int size) {
    if (!buffer || size < 1)
        return FALSE;
    buffer[0] = '\0';
    if (size == 1 || !text)
        return size == 1;
    const std::size_t room = static_cast<std::size_t>(size) - 1;
    const std::size_t length = sys::Utf8PrefixLength(*text, room);
    std::memcpy(buffer, text->data(), length);
    buffer[length] = '\0';
    return length == text->size();
}
