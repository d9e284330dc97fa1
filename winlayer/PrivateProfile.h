#pragma once

#include "winlayer/WinTypes.h"

// The Win32 private-profile functions over plain-text ini files. File
// arguments are full paths, or bare names resolved next to the default ini
// file. Section and key names match without regard to case. Every function
// may be called from any thread. Writes answer 0 when the data did not reach
// the disk, or when the text could not be read back (a line break anywhere,
// '=' in a key, ']' in a section name).

DWORD GetPrivateProfileString(const char* section, const char* key, const char* defaultValue,
                              char* buffer, DWORD size, const char* file);
int GetPrivateProfileInt(const char* section, const char* key, int defaultValue, const char* file);
DWORD GetPrivateProfileSection(const char* section, char* buffer, DWORD size, const char* file);
BOOL GetPrivateProfileStruct(const char* section, const char* key, void* data, int size,
                             const char* file);

BOOL WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const char* file);
BOOL WritePrivateProfileSection(const char* section, const char* list, const char* file);
BOOL WritePrivateProfileStruct(const char* section, const char* key, const void* data, int size,
                               const char* file);

// Not in Win32: several keys of one file set in one locked rewrite, made only
// when one of them changes; a program that stores many keys at a start
// rewrites (and syncs) its file once rather than once a key. All-or-nothing
// like the others: FALSE, nothing changed, when an entry cannot be stored.
struct PrivateProfileEntry {
    const char* section;
    const char* key;
    const char* value;
};
BOOL WritePrivateProfileStrings(const PrivateProfileEntry* entries, int count, const char* file);
