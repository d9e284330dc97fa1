#pragma once

#include "winlayer/WindowApi.h"

// The common dialogs over ak's panels. Each runs modally on the main thread
// and answers when the user has. File-type lists are Win32 filter lists:
// pairs of NUL-terminated description and pattern list ("*.wav;*.aif"),
// ended by an empty string.

struct LOGFONT;

// 1 with the saved path in out (whole, NUL-terminated), 0 when cancelled or
// when the path does not fit (out untouched).
int BrowseForSaveFile(const char* title, const char* initialFolder, const char* initialFile,
                      const char* fileTypes, char* out, int outSize);
// Null when cancelled; else a block the caller frees with free(): one path
// and two NULs, or for several an empty string, each path and a final NUL.
char* BrowseForFiles(const char* title, const char* initialFolder, const char* initialFile,
                     BOOL allowMultiple, const char* fileTypes);
// 1 with the folder in out, 0 when cancelled or when it does not fit.
int BrowseForDirectory(const char* title, const char* initialFolder, char* out, int outSize);
// The next file or folder panel carries this dialog as its accessory.
void BrowseFile_SetTemplate(int dialogId, DLGPROC proc, DialogResourceRecord* resources);

// colour: 0x00RRGGBB. 1 when the user accepted (colour updated), else 0.
int WISP_ChooseColor(HWND owner, int* colour);
// 1 when the user accepted a font other than the one passed (record
// updated), else 0.
int WISP_ChooseFont(HWND owner, LOGFONT* font);

namespace winlayer {
// The selector a save panel shows with two or more file types.
inline constexpr int kFileTypeLabelId = 1001;
inline constexpr int kFileTypeListId = 1000;
} // namespace winlayer
