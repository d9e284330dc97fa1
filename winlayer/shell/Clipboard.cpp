// The clipboard over the desktop's: text, file lists and registered types.
#include "platform/ak/Pasteboard.h"
#include "winlayer/ClipboardFormats.h"
#include "winlayer/WinBasics.h"
#include "winlayer/drops/DropBlock.h"
#include "winlayer/shell/ShellCalls.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

using namespace winlayer;

namespace {

struct Pending {
    UINT format;
    void* block;
};

// One clipboard use at a time, from OpenClipboard to CloseClipboard.
struct ClipboardState {
    ClipboardFormatTable formats;
    std::vector<UINT> available;
    std::vector<Pending> pending;
    std::vector<void*> handedOut;
};

ClipboardState& State() {
    static ClipboardState state;
    return state;
}

void DropPending() {
    for (const Pending& record : State().pending)
        GlobalFree(record.block);
    State().pending.clear();
}

void* BlockOf(const std::string& bytes, bool terminate) {
    void* block = GlobalAlloc(0, INT_PTR(bytes.size() + (terminate ? 1 : 0)));
    if (!block)
        return nullptr;
    auto* at = static_cast<char*>(GlobalLock(block));
    std::memcpy(at, bytes.data(), bytes.size());
    if (terminate)
        at[bytes.size()] = '\0';
    GlobalUnlock(block);
    return block;
}

std::string BytesOf(void* block) {
    const auto* at = static_cast<const char*>(GlobalLock(block));
    std::string bytes = at ? std::string(at, GlobalSize(block)) : std::string();
    GlobalUnlock(block);
    return bytes;
}

void* HandOut(void* block) {
    if (block)
        State().handedOut.push_back(block);
    return block;
}

// The pending records as the desktop's representations; file lists become
// one uri list.
void WritePending() {
    std::vector<std::pair<std::string, std::string>> representations;
    std::string uriList;
    bool hasFiles = false;
    for (const Pending& record : State().pending) {
        const std::string bytes = BytesOf(record.block);
        if (record.format == CF_TEXT) {
            representations.emplace_back(ak::Pasteboard::kTextType,
                                         TextOfBlock(bytes.data(), bytes.size()));
        } else if (record.format == CF_HDROP) {
            if (const auto paths = PathsOfDropBlock(bytes.data(), bytes.size())) {
                hasFiles = true;
                for (const std::string& path : *paths)
                    uriList += FileUriOf(path) + "\r\n";
            }
        } else if (const auto name = State().formats.NameOf(record.format)) {
            representations.emplace_back(*name, bytes);
        }
    }
    if (hasFiles)
        representations.emplace_back(ak::Pasteboard::kFilesType, uriList);
    if (!representations.empty())
        ak::Pasteboard::SetContents(std::move(representations));
}

} // namespace

UINT RegisterClipboardFormat(const char* name) {
    return State().formats.Register(name);
}

BOOL OpenClipboard(HWND) {
    DropPending();
    std::vector<UINT>& available = State().available;
    available.clear();
    if (!ak::Pasteboard::FilePaths().empty())
        available.push_back(CF_HDROP);
    for (const std::string& type : ak::Pasteboard::Types()) {
        const UINT format = State().formats.FormatOfType(type);
        if (format && std::find(available.begin(), available.end(), format) == available.end())
            available.push_back(format);
    }
    return TRUE;
}

UINT EnumClipboardFormats(UINT previous) {
    const std::vector<UINT>& available = State().available;
    if (previous == 0)
        return available.empty() ? 0 : available.front();
    const auto at = std::find(available.begin(), available.end(), previous);
    return at == available.end() || at + 1 == available.end() ? 0 : *(at + 1);
}

void* GetClipboardData(UINT format) {
    if (format == CF_TEXT) {
        const auto text = ak::Pasteboard::Text();
        return text ? HandOut(BlockOf(*text, true)) : nullptr;
    }
    if (format == CF_HDROP) {
        const std::vector<std::string> paths = ak::Pasteboard::FilePaths();
        return paths.empty() ? nullptr : HandOut(MakeDropBlock(paths, POINT{0, 0}));
    }
    const auto name = State().formats.NameOf(format);
    const auto bytes = name ? ak::Pasteboard::Data(*name) : std::nullopt;
    return bytes ? HandOut(BlockOf(*bytes, false)) : nullptr;
}

void* SetClipboardData(UINT format, void* block) {
    if (block)
        State().pending.push_back({format, block});
    return block;
}

BOOL EmptyClipboard() {
    DropPending();
    return TRUE;
}

BOOL CloseClipboard() {
    for (void* block : std::exchange(State().handedOut, {}))
        GlobalFree(block);
    WritePending();
    DropPending();
    return TRUE;
}
