#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace resgen {

// Writes `bytes` to `path` through a temporary name, so a failed run never
// leaves a partial file where the build expects a finished one. Throws on error.
void WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes);

// Renames `tempPath` over `path`; throws on error.
void CommitFile(const std::string& tempPath, const std::string& path);

// Creates `dir` and its parents; throws on error.
void MakeFolders(const std::string& dir);

// A fixed integer hash: the only source of noise, so every run draws alike.
uint32_t Hash(uint32_t x, uint32_t y, uint32_t seed);

} // namespace resgen
