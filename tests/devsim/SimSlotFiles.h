#pragma once

// The pedal's memory as slot files, so a simulator run can start where the
// last one ended: DIR/Presets/001.dat .. 128.dat (256 bytes each) and
// DIR/User IRs/001.dat .. 384.dat (2436 bytes each, only slots holding an IR).
// Saving also writes the last firmware image the loader took, as
// DIR/firmware.bin; loading leaves it alone.

#include "tests/devsim/SimState.h"

#include <filesystem>
#include <string>
#include <vector>

namespace devsim {

// Reads whatever slot files exist; files of the wrong size, and preset files
// with bytes of 0x80 or above, are skipped and named in the returned problems.
// A missing folder is not a problem.
std::vector<std::string> LoadSlotFiles(const std::filesystem::path& dir, SimState& state);
// Writes every preset, every stored user IR and the last firmware, each file
// replaced whole.
// Returns an error text, or an empty string.
std::string SaveSlotFiles(const std::filesystem::path& dir, const SimState& state);

} // namespace devsim
