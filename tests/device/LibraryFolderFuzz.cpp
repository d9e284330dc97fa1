#include "tests/device/LibraryFixtures.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>

// The local library as the user's folders may hold it: slot files of any
// length and content, impulse-response files cut or padded, and files with
// names the editor never writes, beside the ones it does. Reading the folders
// must neither crash nor leave a sample or gain that is not a number.
//
// Input: records of [kind][index][length low][length high][bytes...]; kind
// chooses the presets or the user IRs folder, and whether the name is the slot
// file's or made of the record's first bytes.
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

// Made if missing, emptied if not.
void Empty(const std::string& folder) {
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    for (const auto& entry : std::filesystem::directory_iterator(folder, ignored))
        std::filesystem::remove(entry.path(), ignored);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static omnar::test::TempDataHome home;
    const std::string presets = home.PresetsFolder();
    const std::string irs = home.UserIRFolder();
    Empty(presets);
    Empty(irs);

    std::size_t pos = 0;
    for (int files = 0; pos + 4 <= size && files < 16; ++files) {
        const std::uint8_t kind = data[pos];
        const int index = data[pos + 1] % 130; // a little past the last slot too
        const std::size_t length =
            std::min<std::size_t>(data[pos + 2] | (data[pos + 3] << 8), size - pos - 4);
        const std::span<const std::uint8_t> body(data + pos + 4, length);
        pos += 4 + length;
        const std::string folder = kind & 1 ? irs : presets;
        const std::string name = kind & 2 ? OwnName(body) : SlotName(index);
        if (!name.empty())
            omnar::test::WriteFile(folder + name, omnar::test::Bytes(body.begin(), body.end()));
    }

    // One editor for every input: reading the folders again replaces what it showed.
    static vx::test::FakeHost host;
    static FolderEditor editor(vx::InstanceInfo{&host});
    static const bool opened = (editor.OpenPanel(), true);
    (void)opened;
    editor.mIRGain = 0.0;
    editor.RefreshPresetList();
    editor.ListPresetFolder();
    for (int n = 0; n < 130; ++n) {
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
