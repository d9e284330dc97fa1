#include "pages/DeferredImage.h"

#include "platform/sys/File.h"
#include "platform/sys/Log.h"
#include "toolkit/ICanvas.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace omnar::pages {

namespace {

constexpr std::array<unsigned char, 8> kPngSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

int BigEndian32(const unsigned char* bytes) {
    return int((unsigned(bytes[0]) << 24) | (unsigned(bytes[1]) << 16) | (unsigned(bytes[2]) << 8) |
               unsigned(bytes[3]));
}

} // namespace

std::optional<ImageSize> ReadPngSize(const char* path) {
    const sys::UniqueFile file = sys::OpenFile(path, "rb");
    if (!file)
        return std::nullopt;
    // Signature, then the IHDR chunk: length, "IHDR", width, height.
    std::array<unsigned char, 24> head{};
    if (std::fread(head.data(), 1, head.size(), file.get()) != head.size() ||
        std::memcmp(head.data(), kPngSignature.data(), kPngSignature.size()) != 0 ||
        std::memcmp(head.data() + 12, "IHDR", 4) != 0)
        return std::nullopt;
    const ImageSize size{BigEndian32(head.data() + 16), BigEndian32(head.data() + 20)};
    if (size.width <= 0 || size.height <= 0)
        return std::nullopt;
    return size;
}

DeferredImageControl::DeferredImageControl(float x, float y, const vx::ui::IBitmapHandle& sized)
    : IBitmapControl(x, y, sized) {}

void DeferredImageControl::OnRescale() {
    if (bitmap.IsValid())
        IBitmapControl::OnRescale();
}

void DeferredImageControl::Draw(vx::ui::ICanvas& g) {
    if (!bitmap.IsValid() && !failed) {
        vx::ui::IBitmapHandle loaded =
            g.LoadScaledBitmap(bitmap.name.Get(), bitmap.nFrames, bitmap.framesHorizontal,
                               static_cast<int>(std::ceil(g.GetScreenScale())));
        if (loaded.IsValid()) {
            bitmap = std::move(loaded);
        } else {
            failed = true; // told once, not on every frame
            sys::LogError(std::string("the image ") + bitmap.name.Get() + " cannot be decoded");
        }
    }
    DrawBitmap(g);
}

} // namespace omnar::pages
