#pragma once

#include "toolkit/IBitmapControl.h"

#include <optional>

namespace omnar::pages {

// Width and height from a PNG file's header, without decoding it; none when
// the file is no PNG or cannot be read.
struct ImageSize {
    int width = 0;
    int height = 0;
};
std::optional<ImageSize> ReadPngSize(const char* path);

// A bitmap on a page that is hidden at start. Its size comes from the file's
// header; the pixels are decoded the first time it is drawn, so the first
// frame does not wait for whole-window images nobody sees yet.
class DeferredImageControl : public vx::ui::IBitmapControl {
public:
    // `sized`: the image's name and size in panel units, no pixels yet.
    DeferredImageControl(float x, float y, const vx::ui::IBitmapHandle& sized);

    void Draw(vx::ui::ICanvas& g) override;
    // Before the first draw there is nothing to reload at a new scale.
    void OnRescale() override;

private:
    bool failed = false;
};

} // namespace omnar::pages
