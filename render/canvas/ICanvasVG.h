#pragma once

// The toolkit's drawing back end on the vector renderer and its Metal back
// end. Every frame is drawn into a persistent back buffer, then copied to the
// layer's drawable as one textured rectangle. Images belong to the one
// renderer context, so bitmaps live in a cache of this instance. The platform
// class supplies the layer and the platform services.

#include "platform/mtl/MtlLayer.h"
#include "render/metal/VGMetal.h"
#include "toolkit/ICanvas.h"
#include "toolkit/ResourceCache.h"

#include <deque>
#include <memory>
#include <mutex>
#include <vector>

namespace vx::ui {

class ICanvasVG : public ICanvas {
public:
    class Bitmap : public APIBitmap {
    public:
        // Wraps an existing image; its size from the renderer.
        Bitmap(VGdrawContext* context, int image, float scale, float drawScale);
        // A cleared off-screen target of the owner's context.
        Bitmap(ICanvasVG* owner, int width, int height, float scale, float drawScale);
        // An image of RGBA pixels.
        Bitmap(VGdrawContext* context, int width, int height, const unsigned char* rgba,
               float scale, float drawScale);
        ~Bitmap() override;

        int image = 0;
        ICanvasVG* owner = nullptr;
        VGdrawContext* context = nullptr;
        MVGoffscreen* offscreen = nullptr;
        bool shared = false;
    };

    ICanvasVG(ICanvasEditorDelegate& delegate, int width, int height, int fps, float drawScale);
    ~ICanvasVG() override;

    // ---- Frame and context ----
    void StartDrawFrame() override;
    void CreateDrawContext() override;
    void DestroyDrawContext() override;
    void FinishDrawFrame() override;
    void RebuildBackBuffer() override;

    // ---- Drawing ----
    void DrawBitmapRegion(const IBitmapHandle& bitmap, const IRECT& dest, int srcX, int srcY,
                          const IBlendSetting* blend = nullptr) override;
    void DrawDashedLine(const IColor& color, float x1, float y1, float x2, float y2,
                        const IBlendSetting* blend = nullptr, float thickness = 1.f,
                        float dashLen = 2.f) override;
    void DrawDashedRect(const IColor& color, const IRECT& bounds,
                        const IBlendSetting* blend = nullptr, float thickness = 1.f,
                        float dashLen = 2.f) override;
    void DrawWrappedText(const IText& text, const char* str, const IRECT& bounds,
                         const IBlendSetting* blend = nullptr) override;
    IColor ConstantBlackColor() const override { return {255, 0, 0, 0}; }
    void* DrawContextHandle() override { return context; }
    const char* DrawingBackendName() const override { return "VG | Metal"; }
    void DrawRectShadowFast(const IRECT& inner, const IRECT& outer, const IBlendSetting* blend,
                            float offset, float roundness, float blur) override;
    void PathReset() override;
    void PathAddClose() override;
    void PathAddArc(float cx, float cy, float r, float a1, float a2, int winding = 0) override;
    void PathAddMove(float x, float y) override;
    void PathAddLine(float x, float y) override;
    void PathSetFillRule(bool hole) override;
    void PathAddCubic(float c1x, float c1y, float c2x, float c2y, float x2, float y2) override;
    void PathAddQuad(float cx, float cy, float x2, float y2) override;
    void PathStrokeCurrent(const IFillPattern& pattern, float thickness, const IStrokeStyle& style,
                           const IBlendSetting* blend) override;
    void PathFillCurrent(const IFillPattern& pattern, const IFillStyle& style,
                         const IBlendSetting* blend) override;
    void PathSetTransform(const IAffineMatrix& matrix) override;
    void SetClipRect(const IRECT& r) override;
    float MeasureTextBounds(const IText& text, const char* str, IRECT& bounds) const override;
    void DrawTextString(const IText& text, const char* str, const IRECT& bounds,
                        const IBlendSetting* blend = nullptr) override;

    // ---- Bitmaps, layers and fonts ----
    void HoldBitmap(std::unique_ptr<APIBitmap> bitmap, const char* name) override;
    void FreeBitmap(const IBitmapHandle& bitmap) override;
    bool IsImageExtensionSupported(const char* ext) const override;
    void ReadLayerPixels(const IOffscreenLayer& layer, VxHeapBuf& out) override;
    void ApplyLayerShadow(IOffscreenLayer& layer, const VxHeapBuf& mask,
                          const ILayerShadow& shadow) override;
    void RetargetToTopLayer() override;
    IBitmapHandle LoadScaledBitmap(const char* name, int nFrames, bool framesHorizontal,
                                   int targetScale) override;
    IBitmapHandle LoadScaledBitmapData(const char* name, const void* data, int size, int nFrames,
                                       bool framesHorizontal, int targetScale) override;
    std::unique_ptr<APIBitmap> DecodeImageFile(const char* path, int scale, int location,
                                               const char* ext) override;
    std::unique_ptr<APIBitmap> DecodeImageData(const char* name, const void* data, int size,
                                               int scale) override;
    std::unique_ptr<APIBitmap> CreateOffscreenBitmap(int width, int height, bool cacheable,
                                                     float screenScale, float drawScale) override;
    bool RegisterFont(const char* fontID, const PlatformFont& font) override;
    int AlphaByteIndex() const override { return 3; }
    void AfterControlDrawn(const IRECT& clip) override;
    bool LayerRowsBottomUp() const override { return false; }

    // Off-screen targets wait for the end of a frame that may still sample them.
    void QueueImageDeletion(MVGoffscreen* target);
    void FlushImageDeletions();

    // ---- Inspection ----
    bool InFrame() const { return inFrame; }
    MVGoffscreen* BackBuffer() const { return backBuffer; }
    int CachedBitmapCount() { return bitmaps.Size(); }
    int PendingDeletions();

    // ---- Whole-window images at device resolution ----
    // On by default: an opaque image filling most of the panel at a scale of
    // its own is filtered once per scale into a device-sized image, which
    // later frames copy 1:1; the pixels come out the same.
    void SetDeviceLayers(bool on);
    int DeviceLayersMade() const { return deviceLayersMade; }
    int DeviceLayerCount() const { return static_cast<int>(deviceLayers.size()); }

protected:
    // The layer the draw context presents to; the platform class owns it.
    virtual std::shared_ptr<mtl::MetalLayer> ContextLayer() = 0;

private:
    VGcolor ColorOf(const IColor& color, const IBlendSetting* blend) const;
    void ApplyBlend(const IBlendSetting* blend);
    // Fills or strokes under the blend, then restores the operation.
    void PaintPath(void (*paint)(VGdrawContext*), const IBlendSetting* blend, bool keepPath);
    void EndPath(bool keepPath);
    VGpaint PatternToPaint(const IFillPattern& pattern, const IBlendSetting* blend);
    void PrepareText(const IText& text, const char* str, IRECT& r, float& x, float& y) const;
    void StrokeSolidPath(const IColor& color, float thickness, const IBlendSetting* blend);
    void BeginPanelFrame();
    mtl::PixelRect FrameDamage() const;
    void DrawBackBufferScaled();
    // Binds the top layer's target, else the back buffer within a frame, and begins on it.
    void BeginFrameOnCurrentTarget();
    void EraseLayer(IOffscreenLayer& layer);
    int BackBufferWidth() const;
    int BackBufferHeight() const;
    void DeleteCachedBitmaps();
    // The image's pixels filtered onto dest, as every path that shows it draws them.
    void FillImageRect(const Bitmap& image, const IBitmapHandle& b, const IRECT& dest, int srcX,
                       int srcY, const IBlendSetting* blend);

    // What a device layer holds: one image region drawn at one scale and size.
    struct DeviceLayerKey {
        const APIBitmap* source = nullptr;
        int image = 0;
        int w = 0, h = 0; // the handle's size in panel units
        int srcX = 0, srcY = 0;
        IRECT dest;
        float scale = 0.f;
        int deviceW = 0, deviceH = 0;

        bool operator==(const DeviceLayerKey&) const = default;
    };
    struct DeviceLayer {
        DeviceLayerKey key;
        std::unique_ptr<Bitmap> pixels; // null until made, at the next frame's start
        bool used = true;               // drawn since the last frame began
    };
    // The key when the draw may come from a device layer; false otherwise.
    bool DeviceLayerKeyFor(const Bitmap& image, const IBitmapHandle& b, const IRECT& dest, int srcX,
                           int srcY, const IBlendSetting* blend, DeviceLayerKey& key) const;
    // Drops layers of another scale or size or not drawn in the last frame,
    // then makes those asked for.
    void PrepareDeviceLayers();
    void ForgetDeviceLayersOf(const APIBitmap* source);

    bool useDeviceLayers = true;
    int deviceLayersMade = 0;
    std::vector<DeviceLayer> deviceLayers;

    bool inFrame = false;
    IRECT drawnArea; // the clips of the controls drawn this frame; empty: none
    std::mutex deletionMutex;
    std::deque<MVGoffscreen*> deletionQueue;
    ResourceCache<APIBitmap> bitmaps;
    VGdrawContext* context = nullptr;
    MVGoffscreen* backBuffer = nullptr;
};

} // namespace vx::ui
