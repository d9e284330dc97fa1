#include "controls/ITextControl.h"
#include "device/FileReader.h"
#include "device/FileWriter.h"
#include "device/OmnarControl.h"
#include "platform/sys/Folders.h"
#include "platform/sys/Log.h"
#include "platform/sys/StagedFile.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kSlotCount = 128;
constexpr int kSlotFileBytes = 256;
constexpr int kNameOffset = 2;
constexpr int kNameBytes = 32;
constexpr int kPatchOffsetParam = 91;

std::string SlotFileName(int slot) {
    char name[16];
    std::snprintf(name, sizeof name, "%03d.dat", slot + 1);
    return name;
}

// The first 256 bytes of a slot file, zero-filled; false when it does not open.
bool ReadSlotFile(const char* path, std::array<uint8_t, kSlotFileBytes>& bytes) {
    bytes.fill(0);
    FileReader reader;
    reader.Open(path);
    if (reader.Descriptor() < 0)
        return false;
    int got = 0;
    while (got < kSlotFileBytes) {
        const int n = reader.Read(bytes.data() + got, kSlotFileBytes - got);
        if (n <= 0)
            break;
        got += n;
    }
    return true;
}

std::string SlotName(const std::array<uint8_t, kSlotFileBytes>& bytes) {
    const char* name = reinterpret_cast<const char*>(bytes.data() + kNameOffset);
    return std::string(name, strnlen(name, kNameBytes));
}

// The slot a file name stands for ("001.dat" .. "128.dat"), or -1.
int SlotOfFileName(const char* name) {
    if (std::strlen(name) != 7 || std::strcmp(name + 3, ".dat") != 0)
        return -1;
    if (!std::isdigit(uint8_t(name[0])) || !std::isdigit(uint8_t(name[1])) ||
        !std::isdigit(uint8_t(name[2])))
        return -1;
    const int number = (name[0] - '0') * 100 + (name[1] - '0') * 10 + (name[2] - '0');
    return number >= 1 && number <= kSlotCount ? number - 1 : -1;
}

std::vector<std::string> FolderNames(const std::string& folder) {
    std::vector<std::string> names;
    vx::ui::DirectoryScanner scanner;
    if (scanner.First(folder.c_str()) != 0)
        return names;
    do {
        if (scanner.CurrentName()[0] != '.' && !scanner.CurrentIsDirectory())
            names.emplace_back(scanner.CurrentName());
    } while (scanner.Next());
    return names;
}

} // namespace

int CompareNumeric(const char* a, const char* b) {
    while (*a && *b) {
        if (std::isdigit(uint8_t(*a)) && std::isdigit(uint8_t(*b))) {
            while (*a == '0')
                ++a;
            while (*b == '0')
                ++b;
            const char* aEnd = a;
            const char* bEnd = b;
            while (std::isdigit(uint8_t(*aEnd)))
                ++aEnd;
            while (std::isdigit(uint8_t(*bEnd)))
                ++bEnd;
            // Without leading zeros, the longer run is the larger number.
            if (aEnd - a != bEnd - b)
                return aEnd - a < bEnd - b ? -1 : 1;
            if (const int order = std::strncmp(a, b, std::size_t(aEnd - a)))
                return order < 0 ? -1 : 1;
            a = aEnd;
            b = bEnd;
            continue;
        }
        if (*a != *b)
            return uint8_t(*a) < uint8_t(*b) ? -1 : 1;
        ++a;
        ++b;
    }
    return *a ? 1 : (*b ? -1 : 0);
}

int OmnarControl::ParamInt(int index) const {
    return int(GetParam(index)->CurrentValue());
}

void OmnarControl::SetPresetRow(int row, const char* name) {
    if (row < 0 || row >= kSlotCount || !mPresetRows[std::size_t(row)])
        return;
    const int offset = ParamInt(kPatchOffsetParam) != 0 ? 1 : 0;
    char number[16];
    std::snprintf(number, sizeof number, " %02d ", row + offset);
    mPresetRows[std::size_t(row)]->SetString((std::string(number) + name).c_str());
}

void ReadPresetName(OmnarControl* editor, const VxString& path, int row) {
    std::array<uint8_t, kSlotFileBytes> bytes;
    if (ReadSlotFile(path.Get(), bytes))
        editor->SetPresetRow(row, SlotName(bytes).c_str());
}

void OmnarControl::ClearLocalLibrary() {
    for (const std::string& folder :
         {sys::PresetsFolder(), sys::UserIRFolder(), sys::FactoryIRFolder()}) {
        if (mLibraryDir.First(folder.c_str()) == 0) {
            do {
                if (mLibraryDir.CurrentIsDirectory())
                    continue;
                VxString path;
                mLibraryDir.CurrentFullPath(path);
                const char* dot = std::strrchr(path.Get(), '.');
                if (dot && std::strcmp(dot, ".dat") == 0)
                    unlink(path.Get());
            } while (mLibraryDir.Next());
        }
        mLibraryDir.Close();
    }
}

int OmnarControl::WriteLibraryFile(const std::string& path, std::span<const uint8_t> bytes) {
    FileWriter writer;
    writer.Open(path.c_str());
    if (writer.Descriptor() >= 0)
        writer.Write(bytes.data(), int32_t(bytes.size()));
    const bool whole = writer.Close();
    return whole ? 0 : (writer.Error() != 0 ? writer.Error() : EIO);
}

void OmnarControl::ReportWriteFailure(const std::string& path, int error) {
    const std::string folder = sys::FolderOfPath(path);
    const std::string text =
        "The library folder\n" + folder + "\ncould not be written: " + std::strerror(error) + ".";
    ShowMessage(text.c_str());
}

void OmnarControl::RemoveAbandonedLibraryFiles() {
    const auto isSlotFile = [](std::string_view name) {
        return name.size() == 7 && name.ends_with(".dat") &&
               std::all_of(name.begin(), name.begin() + 3,
                           [](char c) { return std::isdigit(uint8_t(c)) != 0; });
    };
    for (const std::string& folder :
         {sys::PresetsFolder(), sys::UserIRFolder(), sys::FactoryIRFolder()})
        sys::RemoveAbandonedTemporaries(folder, isSlotFile);
}

void OmnarControl::RefreshPresetList() {
    mStreamCount = 0;
    const std::string folder = sys::PresetsFolder();
    for (int slot = 0; slot < kSlotCount; ++slot) {
        std::array<uint8_t, kSlotFileBytes> bytes;
        const bool opened = ReadSlotFile((folder + SlotFileName(slot)).c_str(), bytes);
        SetPresetRow(slot, opened ? SlotName(bytes).c_str() : "");
        int sum = 0;
        for (const uint8_t b : bytes)
            sum += b;
        mPresetChecksums[std::size_t(slot)] = {uint8_t((sum >> 7) & 0x7F), uint8_t(sum & 0x7F)};
    }
}

void OmnarControl::ListPresetFolder() {
    const std::string folder = sys::PresetsFolder();
    std::vector<std::string> names = FolderNames(folder);
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return CompareNumeric(a.c_str(), b.c_str()) < 0;
    });
    std::string listing = "Presets folder:";
    for (const std::string& name : names)
        listing += " " + name;
    sys::LogError(listing);

    // Each file fills its own slot's row, so a missing file moves no other.
    int listed = 0;
    for (const std::string& name : names) {
        const int slot = SlotOfFileName(name.c_str());
        if (slot < 0)
            continue;
        ReadPresetName(this, VxString((folder + name).c_str()), slot);
        ++listed;
    }
    if (listed >= kSlotCount)
        mSlotSyncActive = false;
}
