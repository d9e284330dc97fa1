#pragma once

#include "winlayer/WinTypes.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// The dropped-file block a window receives with WM_DROPFILES, and the pure
// rules around drops: which dragged addresses count as files and how a
// promised file is named.

using HDROP = void*;
inline constexpr UINT WM_DROPFILES = 0x0233;

// DragQueryFile's index asking for the number of paths.
inline constexpr UINT kDropFileCount = 0xFFFFFFFF;

UINT DragQueryFile(HDROP drop, UINT index, char* buffer, UINT size);
BOOL DragQueryPoint(HDROP drop, POINT* point);
void DragFinish(HDROP drop);

namespace winlayer {

// 16-byte header (name-list offset 16, point x, y, two zero flag bytes), the
// NUL-terminated UTF-8 names in order, and a final NUL.
std::vector<char> DropBlockBytes(const std::vector<std::string>& names, POINT point);
// The same in a GlobalAlloc block; null when the allocation fails.
HDROP MakeDropBlock(const std::vector<std::string>& names, POINT point);

// Local paths of a text/uri-list, in order; other schemes and comment lines
// are skipped.
std::vector<std::string> LocalPathsOfUriList(const std::string& uriList);
// A local path as a file:// address.
std::string FileUriOf(const std::string& path);

// What a hovering promise shows: "tmp." + each file type.
std::vector<std::string> HoverNamesOfPromises(const std::vector<std::string>& types);
// The directory promised files land in: the hook's answer, "/tmp/" for none.
std::string PromiseDirectory(const char* hookAnswer);

// Where a promised file would land: directory + "/" + the source's file name;
// none when that path would pass 4,096 bytes.
std::optional<std::string> PromiseCandidate(const std::string& directory,
                                            const std::string& sourcePath);
// "Keep Both Files": the first free numbered name beside the candidate
// ("take 07.wav" tries "take 008.wav", "loop.wav" tries "loop 001.wav"), none
// when every number up to 999 is taken.
std::optional<std::string> KeepBothName(const std::string& candidate,
                                        const std::function<bool(const std::string&)>& exists);

} // namespace winlayer
