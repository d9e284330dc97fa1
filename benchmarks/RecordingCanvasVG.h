#pragma once

// The headless vector back end that also keeps what a frame drew: while
// recording, every path, paint, transform, clip, text and bitmap call the
// toolkit makes is copied into a list before the renderer draws it. The list
// plays back into this same back end (its images and fonts stay loaded), and
// the images and fonts it names are kept as pixels and font bytes, so another
// back end can draw the same frame.

#include "benchmarks/DrawOps.h"
#include "tests/support/HeadlessCanvas.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace bench {

// An image's pixels: straight RGBA, rows top-down.
struct ImagePixels {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
};

class RecordingCanvasVG : public vx::test::AttachingHeadlessCanvas {
public:
    using AttachingHeadlessCanvas::AttachingHeadlessCanvas;

    // Draws one frame of every control, keeping its calls in Ops().
    bool RecordFrame();
    const DrawOps& Ops() const { return ops; }
    // Draws the kept calls as one frame, without recording them again.
    void Replay(const DrawOps& frame);

    // What the calls need on another back end: pixels by bitmap, font bytes by font id.
    const std::map<const vx::ui::APIBitmap*, ImagePixels>& Images() const { return images; }
    const std::map<std::string, std::unique_ptr<text::FontFileData>>& Fonts() const {
        return fonts;
    }

    // ---- Recorded operations ----
    void PathReset() override;
    void PathAddClose() override;
    void PathAddArc(float cx, float cy, float r, float a1, float a2, int winding) override;
    void PathAddMove(float x, float y) override;
    void PathAddLine(float x, float y) override;
    void PathSetFillRule(bool hole) override;
    void PathAddCubic(float c1x, float c1y, float c2x, float c2y, float x2, float y2) override;
    void PathAddQuad(float cx, float cy, float x2, float y2) override;
    void PathStrokeCurrent(const vx::ui::IFillPattern& pattern, float thickness,
                           const vx::ui::IStrokeStyle& style,
                           const vx::ui::IBlendSetting* blend) override;
    void PathFillCurrent(const vx::ui::IFillPattern& pattern, const vx::ui::IFillStyle& style,
                         const vx::ui::IBlendSetting* blend) override;
    void PathSetTransform(const vx::ui::IAffineMatrix& matrix) override;
    void SetClipRect(const vx::ui::IRECT& r) override;
    void DrawTextString(const vx::ui::IText& text, const char* str, const vx::ui::IRECT& bounds,
                        const vx::ui::IBlendSetting* blend) override;
    void DrawWrappedText(const vx::ui::IText& text, const char* str, const vx::ui::IRECT& bounds,
                         const vx::ui::IBlendSetting* blend) override;
    void DrawBitmapRegion(const vx::ui::IBitmapHandle& bitmap, const vx::ui::IRECT& dest, int srcX,
                          int srcY, const vx::ui::IBlendSetting* blend) override;
    void DrawRectShadowFast(const vx::ui::IRECT& inner, const vx::ui::IRECT& outer,
                            const vx::ui::IBlendSetting* blend, float offset, float roundness,
                            float blur) override;

    // ---- Kept for the other back end ----
    std::unique_ptr<vx::ui::APIBitmap> DecodeImageFile(const char* path, int scale, int location,
                                                       const char* ext) override;
    std::unique_ptr<vx::ui::APIBitmap> DecodeImageData(const char* name, const void* data, int size,
                                                       int scale) override;
    bool RegisterFont(const char* fontID, const vx::ui::PlatformFont& font) override;

private:
    // Copies a call unless it is made from inside another recorded call.
    DrawOp* Record(DrawOp::Kind kind, const vx::ui::IBlendSetting* blend = nullptr);
    void Play(const DrawOp& op);

    bool recording = false;
    int depth = 0; // recorded calls running, outermost first
    DrawOps ops;
    std::map<const vx::ui::APIBitmap*, ImagePixels> images;
    std::map<std::string, std::unique_ptr<text::FontFileData>> fonts;
};

} // namespace bench
