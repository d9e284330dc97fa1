#include "platform/sys/Log.h"
#include "tests/device/LibraryFixtures.h"
#include "tests/support/MemoryTempFolder.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <span>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

// The local library as the user's folders may hold it: slot files of any
// length and content, impulse-response files cut or padded, and files with
// names the editor never writes, beside the ones it does. Reading the folders
// must neither crash nor leave a sample or gain that is not a number.
//
// Input: records of [kind][index][length low][length high][bytes...]; kind
// chooses the presets or the user IRs folder, whether the name is the slot
// file's or made of the record's first bytes, and (bits 2 and 3) whether a
// file, a FIFO, a folder or a link to /dev/zero stands there: none may stop
// or hang the reading.
namespace {

class FolderEditor : public omnar::test::LibraryEditor {
public:
    using LibraryEditor::LibraryEditor;
    using OmnarControl::BuildIRNameList;
    using OmnarControl::ListPresetFolder;
    using OmnarControl::LoadUserIR;
    using OmnarControl::RefreshPresetList;
};

std::string SlotName(int index) {
    char name[16];
    std::snprintf(name, sizeof name, "%03d.dat", index + 1);
    return name;
}

// A name of up to 12 of the bytes; one that cannot be a plain file name gives nothing.
std::string OwnName(std::span<const std::uint8_t> bytes) {
    std::string name;
    for (const std::uint8_t b : bytes.first(std::min<std::size_t>(bytes.size(), 12)))
        if (b != '/' && b != 0)
            name += char(b);
    return name == "." || name == ".." ? std::string() : name;
}

// The files the last input left: only this program writes in the folders,
// so removing them empties the folders without listing them.
std::vector<std::string>& Written() {
    static std::vector<std::string> paths;
    return paths;
}

// Files, FIFOs and links go with unlink, (empty) folders with rmdir.
void Remove(const std::string& path) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT &&
        !(errno == EISDIR && ::rmdir(path.c_str()) == 0))
        std::abort();
}

void RemoveWritten() {
    for (const std::string& path : Written())
        Remove(path);
    Written().clear();
}

enum class Kind { File, Fifo, Folder, LinkToDevZero };

// Makes what the record asks for; false when the name is taken already.
bool Make(Kind kind, const std::string& path, std::span<const std::uint8_t> body) {
    switch (kind) {
    case Kind::File:
        vx::test::WriteWholeFile(path, body.data(), body.size());
        return true;
    case Kind::Fifo:
        return ::mkfifo(path.c_str(), 0644) == 0;
    case Kind::Folder:
        return ::mkdir(path.c_str(), 0755) == 0;
    case Kind::LinkToDevZero:
        return ::symlink("/dev/zero", path.c_str()) == 0;
    }
    return false;
}

constexpr int kSlots = 130; // a little past the last slot too

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    vx::test::PreferMemoryTempFolder();
    // The folder listing each input logs is of no use here.
    sys::SetLogSink([](const std::string&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static omnar::test::TempDataHome home;
    static const std::string presets = home.PresetsFolder();
    static const std::string irs = home.UserIRFolder();
    static const bool made =
        std::filesystem::create_directories(presets) && std::filesystem::create_directories(irs);
    (void)made;
    RemoveWritten();

    // The user IRs whose slot file the input wrote, read below; the others have none.
    std::set<int> read;
    std::size_t pos = 0;
    for (int files = 0; pos + 4 <= size && files < 16; ++files) {
        const std::uint8_t kind = data[pos];
        const int index = data[pos + 1] % kSlots;
        const std::size_t length =
            std::min<std::size_t>(data[pos + 2] | (data[pos + 3] << 8), size - pos - 4);
        const std::span<const std::uint8_t> body(data + pos + 4, length);
        pos += 4 + length;
        const std::string folder = kind & 1 ? irs : presets;
        const std::string name = kind & 2 ? OwnName(body) : SlotName(index);
        if (name.empty())
            continue;
        const std::string path = folder + name;
        const bool fresh = std::find(Written().begin(), Written().end(), path) == Written().end();
        if (!fresh)
            Remove(path); // a name made twice holds its last kind
        if (!Make(Kind((kind >> 2) & 3), path, body))
            continue;
        if (fresh)
            Written().push_back(path);
        for (int n = 0; kind & 1 && n < kSlots; ++n)
            if (name == SlotName(n))
                read.insert(n);
    }
    // And one without a file, so that a missing file is read every time.
    int missing = 0;
    while (read.contains(missing))
        ++missing;
    read.insert(missing);

    // One editor for every input, put back to no IR: reading the folders
    // again replaces every preset row it showed.
    static vx::test::FakeHost host;
    static FolderEditor editor(vx::InstanceInfo{&host});
    static const bool opened = (editor.OpenPanel(), true);
    (void)opened;
    editor.mIRGain = 0.0;
    std::fill(editor.mIRSamples.begin(), editor.mIRSamples.end(), 0.0);
    editor.mIRNames = {};
    editor.RefreshPresetList();
    editor.ListPresetFolder();
    for (const int n : read) {
        editor.BuildIRNameList(n);
        editor.LoadUserIR(n);
    }
    if (!std::isfinite(editor.mIRGain))
        std::abort();
    for (const double x : editor.mIRSamples)
        if (!std::isfinite(x))
            std::abort();
    return 0;
}
