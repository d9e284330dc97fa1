#include "winlayer/DrawTextLayout.h"
#include "winlayer/GdiRecords.h"
#include "winlayer/GdiText.h"

#include <cmath>

using namespace winlayer;

namespace {

struct MeasuredText {
    std::vector<int> widths;
    int width = 0;
    int height = 0;
    int lineStep = 0;
    double ascent = 0;
    double lineHeight = 0;
};

MeasuredText Measure(const ak::Font& font, const std::vector<std::string>& lines) {
    MeasuredText m;
    const ak::FontMetrics metrics = font.Metrics();
    m.ascent = metrics.ascent;
    m.lineHeight = metrics.lineHeight; // ascent + descent + leading
    m.lineStep = static_cast<int>(std::floor(metrics.lineHeight + 0.5));
    for (const std::string& line : lines) {
        const int width = static_cast<int>(std::floor(font.Measure(line).width + 0.5));
        m.widths.push_back(width);
        m.width = std::max(m.width, width);
        m.height += static_cast<int>(std::floor(metrics.lineHeight + 1.5));
    }
    return m;
}

void DrawLines(HDC hdc, const ak::Font& font, const std::vector<std::string>& lines,
               const MeasuredText& m, TextOrigin at, int result, const RECT& rect, UINT flags) {
    cairo_t* cr = hdc->cr;
    cairo_save(cr);
    if (!(flags & DT_NOCLIP)) {
        cairo_rectangle(cr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
        cairo_clip(cr);
    }
    if (hdc->bkMode == OPAQUE) {
        GdiColor::FromValue(hdc->bkColor).SetSource(cr);
        if (lines.size() == 1)
            cairo_rectangle(cr, at.x, at.y, m.width, result);
        else
            for (size_t i = 0; i < lines.size(); ++i)
                cairo_rectangle(cr, at.x, at.y + double(i) * m.lineStep, m.widths[i], m.lineHeight);
        cairo_fill(cr);
    }
    if (hdc->hasTextColor)
        hdc->textColorRGB.SetSource(cr);
    else
        cairo_set_source_rgb(cr, 0, 0, 0);
    for (size_t i = 0; i < lines.size(); ++i)
        font.Draw(cr, lines[i], {double(at.x), double(at.y) + double(i) * m.lineStep});
    cairo_restore(cr);
}

} // namespace

void SetTextColor(HDC hdc, int color) {
    if (!IsValidContext(hdc))
        return;
    hdc->textColor = color;
    hdc->textColorRGB = GdiColor::FromValue(color);
    hdc->hasTextColor = true;
}

int GetTextColor(HDC hdc) {
    return IsValidContext(hdc) ? hdc->textColor : -1;
}

void SetBkColor(HDC hdc, int color) {
    if (IsValidContext(hdc))
        hdc->bkColor = color;
}

void SetBkMode(HDC hdc, int mode) {
    if (IsValidContext(hdc))
        hdc->bkMode = mode;
}

int WISP_DrawText(HDC hdc, const char* text, int length, RECT* rect, UINT flags) {
    if (!IsValidContext(hdc) || !rect)
        return 0;
    if (!(flags & DT_CALCRECT) && !hdc->cr)
        return 0;
    const auto lines =
        DrawTextLines(text, length, (flags & DT_NOPREFIX) != 0, (flags & DT_SINGLELINE) != 0);
    if (lines.empty())
        return 0;
    const ak::Font& font = SelectedFontFace(hdc).font;
    const MeasuredText m = Measure(font, lines);
    if (m.height == 0)
        return 0;
    const int result = m.height + 1;
    if (flags & DT_CALCRECT) {
        rect->right = rect->left + m.width;
        rect->bottom = rect->top + result;
        return result;
    }
    const TextOrigin at =
        DrawTextOrigin(rect->left, rect->top, rect->right, rect->bottom, m.width, result, flags);
    DrawLines(hdc, font, lines, m, at, result, *rect, flags);
    return result;
}

BOOL GetTextMetrics(HDC hdc, TEXTMETRIC* metrics) {
    if (!metrics)
        return FALSE;
    *metrics = {16, 12, 4, 3, 10};
    if (!IsValidContext(hdc))
        return FALSE;
    const ak::FontMetrics m = SelectedFontFace(hdc).font.Metrics();
    const double leading = std::max(0.0, m.lineHeight - m.ascent - m.descent);
    metrics->tmInternalLeading = static_cast<LONG>(leading);
    metrics->tmAscent = static_cast<LONG>(m.ascent);
    metrics->tmDescent = static_cast<LONG>(m.descent);
    const LONG sum = metrics->tmInternalLeading + metrics->tmAscent + metrics->tmDescent;
    metrics->tmAveCharWidth = sum * 2 / 3;
    metrics->tmHeight = sum ? sum + 1 : 0;
    return TRUE;
}
