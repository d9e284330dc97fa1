#pragma once

#include "winlayer/WinTypes.h"

#include <string>

// Time, rectangles, movable memory, strings, file times, GUIDs, the temporary
// folder and the system version. Safe from any thread.

void Sleep(DWORD milliseconds);
// Milliseconds of the monotonic clock, wrapping at 32 bits.
DWORD GetTickCount();
int MulDiv(int a, int b, int c);
unsigned int _controlfp(unsigned int newValue, unsigned int mask);

BOOL WISP_PtInRect(const RECT* rect, POINT point);
BOOL WinOffsetRect(RECT* rect, int dx, int dy);
BOOL WinSetRect(RECT* rect, int left, int top, int right, int bottom);
BOOL WinIntersectRect(RECT* destination, const RECT* a, const RECT* b);
BOOL WinUnionRect(RECT* destination, const RECT* a, const RECT* b);

void* GlobalAlloc(UINT flags, INT_PTR size);
void* GlobalLock(void* block);
BOOL GlobalUnlock(void* block);
UINT_PTR GlobalSize(void* block);
void* GlobalFree(void* block);

char* lstrcpyn(char* destination, const char* source, int size);

// A CFString is an owned string that is always valid UTF-8.
using CFString = std::string;
// Text that is not valid UTF-8 is taken as ASCII, each byte above 0x7F
// becoming '?'; null is taken as "".
CFString WISP_CStringToCFString(const char* text);
// TRUE when the whole string fitted; a shortened copy (never cut inside a
// UTF-8 sequence) answers FALSE.
BOOL WISP_CFStringToCString(const CFString* text, char* buffer, int size);

BOOL GetFileTime(int fd, FILETIME* creation, FILETIME* access, FILETIME* write);
BOOL WISP_GenerateGUID(GUID* guid);
DWORD GetTempPath(DWORD size, char* buffer);
int WISP_GetOSXVersion();
