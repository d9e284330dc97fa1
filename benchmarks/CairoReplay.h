#pragma once

// A bench-only cairo version of the toolkit's drawing calls, to time a
// recorded frame against: the same paths, paints, transforms, clips, text
// (fonts through cairo-ft, sized as the vector renderer sizes them) and
// bitmaps (converted once, beforehand) on a cairo image surface.

#include "benchmarks/DrawOps.h"
#include "benchmarks/RecordingCanvasVG.h"

#include <cairo.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace bench {

class CairoReplay {
public:
    // A panel of width x height units drawn at `scale` pixels per unit.
    CairoReplay(int width, int height, float scale, const RecordingCanvasVG& source);
    ~CairoReplay();
    CairoReplay(const CairoReplay&) = delete;
    CairoReplay& operator=(const CairoReplay&) = delete;

    // Draws the calls as one frame and presents it, as the vector back end
    // does: the whole frame copied out of the surface it was drawn on. The
    // pixels are done when it returns.
    void Play(const DrawOps& frame);
    // Calls this version leaves out (unknown font or image, shadows), in the last frame.
    int Skipped() const { return skipped; }
    // The last frame, straight RGBA, rows top-down.
    std::vector<unsigned char> Pixels(int* width, int* height) const;

private:
    struct Face;
    struct FreeType;
    void Run(const DrawOp& op);
    void SetTransform(const vx::ui::IAffineMatrix& m);
    void SetPaint(const vx::ui::IFillPattern& pattern, const vx::ui::IBlendSetting* blend);
    void SetClip(const vx::ui::IRECT& r);
    void Quad(const float* v);
    void Text(const DrawOp& op, bool wrapped);
    void Bitmap(const DrawOp& op);
    void EndPath(bool keep);

    float scale;
    std::unique_ptr<FreeType> freetype;
    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
    std::vector<unsigned char> presented;
    std::map<std::string, std::unique_ptr<Face>> faces;
    std::map<const vx::ui::APIBitmap*, cairo_surface_t*> images;
    bool hole = false;
    int skipped = 0;
};

} // namespace bench
