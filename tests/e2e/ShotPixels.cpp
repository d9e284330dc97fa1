#include "tests/e2e/ShotPixels.h"

#include "tests/e2e/ProgramSession.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <numbers>

namespace e2e {

namespace {

constexpr int kTolerance = 24; // of r + g + b: smoothing differences are no change

} // namespace

std::optional<ShotPixels> ShotPixels::Load(const std::string& png) {
    const std::string ppm = png + ".ppm";
    const ToolRun run = RunTool({"convert", png, "-depth", "8", "ppm:" + ppm}, 10s);
    if (run.status != 0)
        return std::nullopt;
    std::ifstream in(ppm, std::ios::binary);
    std::string magic;
    int width = 0, height = 0, maximum = 0;
    in >> magic >> width >> height >> maximum;
    in.get(); // the one whitespace before the pixels
    ShotPixels shot;
    shot.mWidth = width;
    shot.mHeight = height;
    shot.mRgb.resize(std::size_t(width) * std::size_t(height) * 3);
    in.read(reinterpret_cast<char*>(shot.mRgb.data()), std::streamsize(shot.mRgb.size()));
    const bool whole =
        magic == "P6" && maximum == 255 && in.gcount() == std::streamsize(shot.mRgb.size());
    std::remove(ppm.c_str());
    if (!whole)
        return std::nullopt;
    return shot;
}

int ShotPixels::Brightness(int x, int y) const {
    if (x < 0 || y < 0 || x >= mWidth || y >= mHeight)
        return 0;
    const std::size_t at = (std::size_t(y) * std::size_t(mWidth) + std::size_t(x)) * 3;
    return mRgb[at] + mRgb[at + 1] + mRgb[at + 2];
}

int ShotPixels::ChangedPixels(const ShotPixels& other, const PixelRect& area) const {
    int changed = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            changed += std::abs(Brightness(x, y) - other.Brightness(x, y)) > kTolerance;
    return changed;
}

std::optional<PixelRect> ShotPixels::ChangedBounds(const ShotPixels& other,
                                                   const PixelRect& area) const {
    std::optional<PixelRect> bounds;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            if (std::abs(Brightness(x, y) - other.Brightness(x, y)) <= kTolerance)
                continue;
            if (!bounds)
                bounds = PixelRect{x, y, x + 1, y + 1};
            bounds->left = std::min(bounds->left, x);
            bounds->right = std::max(bounds->right, x + 1);
            bounds->bottom = y + 1;
        }
    return bounds;
}

KnobPointer FindPointer(const ShotPixels& shot, const PixelRect& knob) {
    const double cx = (knob.left + knob.right) / 2.0;
    const double cy = (knob.top + knob.bottom) / 2.0;
    const double radius = 0.75 * std::min(knob.right - knob.left, knob.bottom - knob.top) / 2.0;
    KnobPointer pointer{0, -1};
    for (double degrees = -180; degrees < 180; degrees += 0.5) {
        const double a = degrees * std::numbers::pi / 180;
        const int x = int(std::lround(cx + radius * std::sin(a)));
        const int y = int(std::lround(cy - radius * std::cos(a)));
        if (const int b = shot.Brightness(x, y); b > pointer.brightness)
            pointer = {degrees, b};
    }
    return pointer;
}

namespace {

int Background(const ShotPixels& shot, const PixelRect& area) {
    std::array<int, 766> shades{};
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            ++shades[std::size_t(shot.Brightness(x, y))];
    return int(std::max_element(shades.begin(), shades.end()) - shades.begin());
}

} // namespace

std::vector<int> ShotPixels::TextLines(const PixelRect& area) const {
    const int background = Background(*this, area);
    std::vector<int> lines;
    int runStart = -1;
    for (int y = area.top; y <= area.bottom; ++y) {
        bool plain = false;
        int ink = 0;
        for (int x = area.left; y < area.bottom && x < area.right; ++x) {
            const int off = std::abs(Brightness(x, y) - background);
            plain = plain || off <= kTolerance;
            ink += off > 3 * kTolerance;
        }
        const bool text = plain && ink >= 2;
        if (text && runStart < 0)
            runStart = y;
        if (!text && runStart >= 0) {
            lines.push_back((runStart + y - 1) / 2);
            runStart = -1;
        }
    }
    return lines;
}

int ShotPixels::InkPixels(const PixelRect& area) const {
    const int background = Background(*this, area);
    int ink = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            ink += std::abs(Brightness(x, y) - background) > 3 * kTolerance;
    return ink;
}

double PointerAngleOf(int value) {
    return value / 127.0 * 300.0 - 150.0;
}

} // namespace e2e
