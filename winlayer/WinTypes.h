#pragma once

#include <cstdint>

// The Win32 base types of the windowing layer, with pointer-sized handles and
// 64-bit message parameters.

using BOOL = int;
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using LONG = std::int32_t;
using INT_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using WPARAM = std::uint64_t;
using LPARAM = std::int64_t;
using LRESULT = std::int64_t;
using LONG_PTR = std::int64_t;

using HANDLE = void*;
using HINSTANCE = void*;
using HMODULE = HINSTANCE;

struct HWND__;
using HWND = HWND__*;

struct RECT {
    int left;
    int top;
    int right;
    int bottom;
};

struct POINT {
    int x;
    int y;
};

struct GUID {
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];
};

// 100-nanosecond units since 1 January 1601.
struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};

inline constexpr DWORD INFINITE = 0xFFFFFFFF;
// Wait results.
inline constexpr int WAIT_OBJECT_0 = 0;
inline constexpr int WAIT_TIMEOUT = 258;
inline constexpr int WAIT_FAILED = -1;
