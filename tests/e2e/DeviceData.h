#pragma once

// What a device test puts in the simulated pedal and in the editor's library
// before it starts, and how it reads them back: the pedal's memory as devsim's
// --state folder, the library as the editor's own slot files.

#include <filesystem>
#include <string>
#include <vector>

namespace e2e {

// A factory pedal in stateDir, and the same presets in the editor's library,
// except the given slots, whose library copies carry another name (so their
// checksums differ and a connection syncs them).
void SeedPedalAndLibrary(const std::filesystem::path& stateDir,
                         const std::filesystem::path& presetsFolder,
                         const std::vector<int>& differing);

// A bank file of the 128 factory presets as the pedal dumps them, or with
// each renamed "Restored %03d".
void WriteFactoryBank(const std::filesystem::path& file);
void WriteRenamedBank(const std::filesystem::path& file);

// Slots (0-based) whose library file is missing or differs from the pedal's.
std::vector<int> SlotsDiffering(const std::filesystem::path& stateDir,
                                const std::filesystem::path& presetsFolder);

// Files under the folder that a writer staged and never put in place.
std::vector<std::string> LeftTemporaries(const std::filesystem::path& folder);

// A firmware image of the given size, a pattern with no run of equal bytes.
void WriteFirmware(const std::filesystem::path& file, int size);

// A mono 16-bit WAV at 44.1 kHz of the given length: a decaying tone, a
// cabinet's response to a click.
void WriteCabinetWav(const std::filesystem::path& file, int frames);

} // namespace e2e
