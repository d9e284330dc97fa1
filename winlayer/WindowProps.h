#pragma once

#include "winlayer/WinTypes.h"

#include <cstdint>
#include <list>
#include <string>

namespace winlayer {

// A window's named values. A name below 0x10000 is an atom matched by its
// number; any other is a string matched by its characters, so atom 42 and
// "42" are different names.
class WindowProps {
public:
    using EnumProc = BOOL (*)(HWND window, const char* name, void* data, LPARAM lParam);

    // False for a null name.
    bool set(const char* name, void* data);
    // The value, null when absent; `remove` drops the entry too.
    void* get(const char* name, bool remove);
    // -1 when empty; 0 when a callback stops the walk with 0; else 1.
    int enumerate(HWND window, EnumProc proc, LPARAM lParam) const;

private:
    struct Entry {
        std::uintptr_t atom = 0; // 0 for a string name
        std::string text;
        void* data = nullptr;
        const char* name() const;
    };
    static bool IsAtom(const char* name);
    std::list<Entry>::iterator find(const char* name);

    std::list<Entry> entries_; // newest first
};

} // namespace winlayer
