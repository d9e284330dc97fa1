#pragma once

// Window views that draw through a Metal layer: GDI writes into a texture,
// each refresh copies it into the layer's next drawable and presents it, and
// the view paints the newest presented frame.

#include "platform/mtl/MtlLayer.h"
#include "winlayer/WinTypes.h"
#include "winlayer/metal/MetalFrame.h"

#include <cairo.h>

#include <functional>
#include <memory>
#include <vector>

class Wisp_vOmnarControl_hwnd;

namespace winlayer {

// Keeps the newest frame presented (premultiplied BGRA, cairo's ARGB32 byte
// order); presentation runs on the Metal worker, so it tells the view later.
class PresentedFrame : public mtl::HeadlessPresenter {
public:
    explicit PresentedFrame(std::function<void()> presented) : presented_(std::move(presented)) {}
    void present(const unsigned char* pixels, int width, int height, int pitch,
                 mtl::PixelRect damage) override {
        HeadlessPresenter::present(pixels, width, height, pitch, damage);
        if (presented_)
            presented_();
    }

private:
    std::function<void()> presented_;
};

class MetalView final : public PixelUploadTarget {
public:
    enum Mode { direct = 1, full = 2 };
    MetalView(Wisp_vOmnarControl_hwnd* view, int mode);
    ~MetalView() override; // leaves the refresh list
    MetalView(const MetalView&) = delete;
    MetalView& operator=(const MetalView&) = delete;

    int GetMode() const { return mode_; }
    bool FrameOpen() const override { return dirty_ != 0; }
    bool FrameRetina() const override { return retina_; }
    // Writes 0xAARRGGBB premultiplied pixels into the frame, opening it first.
    void Upload(const std::uint32_t* pixels, int x, int y, int width, int height, int stride,
                bool retina) override;
    void Blit(const std::uint32_t* pixels, int x, int y, int width, int height, int stride,
              bool retina, bool blend) override;
    bool ViewRetina() const override;
    // Paints the view into the frame over area (null: all of it) and presents.
    void Refresh(const RECT* area);
    // Draws the newest presented frame at the contents gravity.
    void PaintFrame(cairo_t* cr) const;

    const PresentedFrame& Presented() const { return *presented_; }
    const mtl::MetalLayer& Layer() const { return *layer_; }
    int GravityBits() const { return gravity_; }

private:
    bool OpenFrame(bool retina);
    // The open frame's pixels in a region, clipped to the texture.
    std::vector<std::uint32_t> ReadBack(int x, int y, int width, int height) const;
    void CopyToDrawable();

    Wisp_vOmnarControl_hwnd* view_;
    int mode_;
    std::shared_ptr<mtl::Device> device_;
    std::shared_ptr<mtl::MetalLayer> layer_ = std::make_shared<mtl::MetalLayer>();
    std::shared_ptr<PresentedFrame> presented_;
    std::shared_ptr<Wisp_vOmnarControl_hwnd*> alive_;
    std::shared_ptr<mtl::Texture> texture_;
    std::shared_ptr<mtl::Drawable> drawable_;
    int dirty_ = 0;
    bool retina_ = false;
    bool presentedRetina_ = false;
    int gravity_ = 0;
    FrameRect lastFrame_;
    bool hasLastFrame_ = false;
};

// The Metal state of a window view; null when it draws through cairo.
MetalView* MetalOf(HWND window);
// The refresh list behind InvalidateRect of Metal views, flushed by a 1 ms
// windowless timer; the flush is also callable directly.
void MetalNeedsRefresh(Wisp_vOmnarControl_hwnd* view, const RECT* area, bool keep);
void FlushMetalViews();
bool MetalViewListed(HWND window);
// The default device's name into buffer; false when none was written.
BOOL DefaultMetalDeviceName(char* buffer, int size);
// Hiding takes a view off the list; showing draws it at once.
void MetalViewShown(Wisp_vOmnarControl_hwnd* view, bool shown);

} // namespace winlayer
