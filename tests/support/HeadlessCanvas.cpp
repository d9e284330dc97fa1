#include "tests/support/HeadlessCanvas.h"

#include "framework/ICanvasEditorDelegate.h"
#include "render/canvas/CoreTextFont.h"
#include "render/canvas/FontDescriptorCache.h"
#include "tests/render/support/TestAssets.h"
#include "tests/support/RunFrame.h"

#include <algorithm>

namespace vx::test {

HeadlessCanvas::HeadlessCanvas(ui::ICanvasEditorDelegate& delegate, int width, int height,
                               float drawScale, float screenScale)
    : ICanvasVG(delegate, width, height, 60, drawScale) {
    this->screenScale = screenScale;
    layer->setDevice(device);
    layer->setPresenter(presenter);
    layer->presentsWithTransaction = true; // a frame is presented when DrawFrame returns
}

HeadlessCanvas::~HeadlessCanvas() {
    if (DrawContextHandle())
        DestroyDrawContext(); // while this object's platform part still exists
}

void HeadlessCanvas::Attach() {
    const float s = GetTotalScale();
    layer->drawableSize = {size_t(float(Width()) * s), size_t(float(Height()) * s), 1};
    CreateDrawContext();
    SetScreenScale(GetScreenScale());
}

bool HeadlessCanvas::DrawFrame() {
    return RunFrame(*this);
}

std::vector<unsigned char> HeadlessCanvas::LastFrame(int* width, int* height) const {
    std::vector<unsigned char> pixels = presenter->lastFrame(width, height);
    // BGRA premultiplied to straight RGBA.
    for (size_t i = 0; i + 3 < pixels.size(); i += 4) {
        const unsigned a = pixels[i + 3];
        unsigned b = pixels[i], g = pixels[i + 1], r = pixels[i + 2];
        if (a > 0 && a < 255) {
            r = std::min(255u, (r * 255 + a / 2) / a);
            g = std::min(255u, (g * 255 + a / 2) / a);
            b = std::min(255u, (b * 255 + a / 2) / a);
        }
        pixels[i] = static_cast<unsigned char>(r);
        pixels[i + 1] = static_cast<unsigned char>(g);
        pixels[i + 2] = static_cast<unsigned char>(b);
    }
    return pixels;
}

std::string HeadlessCanvas::WriteFramePNG(const std::string& name) const {
    int w = 0, h = 0;
    const std::vector<unsigned char> pixels = LastFrame(&w, &h);
    if (pixels.empty())
        return {};
    return render_test::write_test_png(name + ".png", w, h, 4, pixels.data());
}

std::unique_ptr<ui::PlatformFont> HeadlessCanvas::FontFromResourceFile(const char*,
                                                                       const char* fileName) {
    return ui::LoadFontFromResource(fileName, ResourceBundleId(), "");
}

std::unique_ptr<ui::PlatformFont> HeadlessCanvas::FontFromMemory(const char*, const void* data,
                                                                 int size) {
    return ui::LoadFontFromMemory(data, size);
}

std::unique_ptr<ui::PlatformFont>
HeadlessCanvas::FontFromFamilyStyle(const char*, const char* family, const char* style) {
    return ui::LoadFontFromFamily(family, ui::TextStyleFromName(style));
}

void HeadlessCanvas::CachePlatformFont(const char* fontID, std::unique_ptr<ui::PlatformFont> font) {
    if (!font)
        return;
    ui::SharedFontDescriptorCache().AddFont(fontID, *font);
    fonts.push_back(std::move(font));
}

void* AttachingHeadlessCanvas::AttachToParentWindow(void* parent) {
    Attach();
    GetDelegate().RunLayoutFunc(this);
    Attach();
    return parent;
}

} // namespace vx::test
