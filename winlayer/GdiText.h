#pragma once

#include "winlayer/Gdi.h"

namespace ak {
class Font;
}

// Fonts, text colours and text drawing of the drawing contexts. Fonts may be
// made on any thread; text is drawn on the thread that owns the context.

struct LOGFONT {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    char lfFaceName[32];
};

struct TEXTMETRIC {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmAveCharWidth;
};

inline constexpr UINT DT_CENTER = 0x1;
inline constexpr UINT DT_RIGHT = 0x2;
inline constexpr UINT DT_VCENTER = 0x4;
inline constexpr UINT DT_BOTTOM = 0x8;
inline constexpr UINT DT_SINGLELINE = 0x20;
inline constexpr UINT DT_NOCLIP = 0x100;
inline constexpr UINT DT_CALCRECT = 0x400;
inline constexpr UINT DT_NOPREFIX = 0x800;
inline constexpr int OPAQUE = 1;

HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                 DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                 DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, const char* face);
HFONT CreateFontIndirect(const LOGFONT* font);
void SetTextColor(HDC hdc, int color);
int GetTextColor(HDC hdc);
void SetBkColor(HDC hdc, int color);
void SetBkMode(HDC hdc, int mode);
int WISP_DrawText(HDC hdc, const char* text, int length, RECT* rect, UINT flags);
BOOL GetTextMetrics(HDC hdc, TEXTMETRIC* metrics);
int GetTextFace(HDC hdc, int size, char* buffer);
int GetGlyphIndicesW(HDC hdc, const char16_t* characters, int count, WORD* glyphs, DWORD flags);
int AddFontResourceEx(const char* path, DWORD flags, void* reserved);
// The font a control draws with, or null.
const ak::Font* WISP_FontHandleToCTFont(HFONT font);
