#pragma once

#include "toolkit/ICanvas.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vx::test {

// A back end that records every drawing and platform call with its arguments,
// measures text deterministically and answers platform prompts from scripts.
// Colours print as A,R,G,B, rectangles as L,T,R,B, a blend as b(type,weight)
// and a missing blend as "-". The overrides carry no default arguments: call
// drawing operations through an ICanvas& to get the toolkit's defaults.
class RecordingCanvas : public ui::ICanvas {
public:
    RecordingCanvas(ui::ICanvasEditorDelegate& delegate, int width = 400, int height = 300,
                    float drawScale = 1.f)
        : ICanvas(delegate, width, height, 60, drawScale) {}
    ~RecordingCanvas() override;

    // ---- The log ----
    std::vector<std::string> calls;
    void ClearCalls() { calls.clear(); }
    // Calls whose text starts with the prefix (e.g. "Fill"), in order.
    std::vector<std::string> CallsStartingWith(const std::string& prefix) const;
    void Record(std::string call) { calls.push_back(std::move(call)); }

    // ---- Text metrics: each character is half the font size wide, one size high;
    // the kerning pair, when set, narrows every occurrence by kerningAdjust. ----
    std::string kerningPair;
    float kerningAdjust = 0.f;

    // ---- Scripts and platform state ----
    VxString clipboard;
    std::deque<ui::EMsgBoxResult> messageBoxAnswers; // empty: OK
    // Set: a box stays up, its answer kept in pendingMessageBoxAnswers until
    // AnswerMessageBox, as a user's may come much later.
    bool messageBoxAnswersLater = false;
    std::deque<std::function<void()>> pendingMessageBoxAnswers;
    std::deque<std::string> fileDialogAnswers;     // empty: cancelled
    bool browserOpens = true;                      // OpenInBrowser's answer
    std::vector<std::string> fileDialogStartNames; // the name each dialog was opened with
    std::deque<std::string> textEntryAnswers;      // typed by AnswerTextEntry
    std::deque<ui::IColor> colorPickerAnswers;     // empty: cancelled
    std::function<void()> pendingColorAnswer;      // a completion not yet delivered
    int nativeMenuChoice = -1;
    bool nativeMenuAnswersLater = false;
    ui::IPopupMenu* lastNativeMenu = nullptr;
    float mouseX = 0.f;
    float mouseY = 0.f;
    bool darkAppearance = false;

    // ---- Images, layers and fonts ----
    // Decoded files are PNGs read with stb_image (the sizes matter, not the
    // pixels); every decode is counted. Layer pixels are 4 bytes a pixel, top
    // down, all zero unless layerPixels holds more; the last shadow mask is kept.
    int decodeCount = 0;
    std::vector<std::string> decodedPaths;
    std::vector<uint8_t> layerPixels;
    std::vector<uint8_t> lastShadowMask;
    bool fontsRegister = true; // false: RegisterFont refuses
    std::vector<std::string> cachedFonts;
    static int liveFonts; // fonts made and not yet freed
    void RetargetToTopLayer() override { Record("RetargetToTopLayer"); }
    void PathSetFillRule(bool hole) override {
        Record(hole ? "PathSetFillRule hole" : "PathSetFillRule solid");
    }

    static std::string Str(const ui::IColor& c);
    static std::string Str(const ui::IRECT& r);
    static std::string Str(const ui::IBlendSetting* b);
    static std::string Num(double v);

    // ---- Drawing primitives (recorded, then the toolkit body runs) ----
    void DrawLine(const ui::IColor&, float, float, float, float, const ui::IBlendSetting*,
                  float) override;
    void DrawTriangle(const ui::IColor&, float, float, float, float, float, float,
                      const ui::IBlendSetting*, float) override;
    void DrawRect(const ui::IColor&, const ui::IRECT&, const ui::IBlendSetting*, float) override;
    void DrawRoundRectCorners(const ui::IColor&, const ui::IRECT&, float, float, float, float,
                              const ui::IBlendSetting*, float) override;
    void DrawEllipse(const ui::IColor&, const ui::IRECT&, const ui::IBlendSetting*, float) override;
    void FillTriangle(const ui::IColor&, float, float, float, float, float, float,
                      const ui::IBlendSetting*) override;
    void FillRect(const ui::IColor&, const ui::IRECT&, const ui::IBlendSetting*) override;
    void FillRoundRectCorners(const ui::IColor&, const ui::IRECT&, float, float, float, float,
                              const ui::IBlendSetting*) override;
    void FillCircle(const ui::IColor&, float, float, float, const ui::IBlendSetting*) override;
    void FillEllipse(const ui::IColor&, const ui::IRECT&, const ui::IBlendSetting*) override;
    void DrawArc(const ui::IColor&, float, float, float, float, float, const ui::IBlendSetting*,
                 float) override;
    void DrawCircle(const ui::IColor&, float, float, float, const ui::IBlendSetting*,
                    float) override;
    void FillArc(const ui::IColor&, float, float, float, float, float,
                 const ui::IBlendSetting*) override;
    void DrawDashedLine(const ui::IColor&, float, float, float, float, const ui::IBlendSetting*,
                        float, float) override;
    void DrawConvexPolygon(const ui::IColor&, const float*, const float*, int,
                           const ui::IBlendSetting*, float) override;
    void FillConvexPolygon(const ui::IColor&, const float*, const float*, int,
                           const ui::IBlendSetting*) override;
    void DrawGrid(const ui::IColor&, const ui::IRECT&, float, float, const ui::IBlendSetting*,
                  float) override;
    void DrawData(const ui::IColor&, const ui::IRECT&, const float*, int, const float*,
                  const ui::IBlendSetting*, float, const ui::IColor*) override;
    void DrawSVG(const ui::ISVGHandle&, const ui::IRECT&, const ui::IBlendSetting*,
                 const ui::IColor*, const ui::IColor*) override;
    void DrawRotatedSVG(const ui::ISVGHandle&, float, float, float, float, double,
                        const ui::IBlendSetting*) override;
    void DrawRotatedBitmap(const ui::IBitmapHandle&, float, float, double,
                           const ui::IBlendSetting*) override;

    // ---- Abstract operations ----
    void DrawBitmapRegion(const ui::IBitmapHandle&, const ui::IRECT&, int, int,
                          const ui::IBlendSetting*) override;
    ui::IColor ConstantBlackColor() const override { return {255, 0, 0, 0}; }
    void* DrawContextHandle() override { return this; }
    const char* DrawingBackendName() const override { return "Recording"; }
    bool IsImageExtensionSupported(const char* ext) const override;
    void ReadLayerPixels(const ui::IOffscreenLayer& layer, VxHeapBuf& out) override;
    void ApplyLayerShadow(ui::IOffscreenLayer&, const VxHeapBuf& mask,
                          const ui::ILayerShadow&) override;
    void PathReset() override { Record("PathReset"); }
    void PathAddClose() override { Record("PathAddClose"); }
    void PathAddArc(float, float, float, float, float, int) override;
    void PathAddMove(float, float) override;
    void PathAddLine(float, float) override;
    void PathAddCubic(float, float, float, float, float, float) override;
    void PathAddQuad(float, float, float, float) override;
    void PathStrokeCurrent(const ui::IFillPattern&, float, const ui::IStrokeStyle&,
                           const ui::IBlendSetting*) override;
    void PathFillCurrent(const ui::IFillPattern&, const ui::IFillStyle&,
                         const ui::IBlendSetting*) override;
    void PathSetTransform(const ui::IAffineMatrix&) override;
    void SetClipRect(const ui::IRECT&) override;
    void QueryMousePosition(float& x, float& y) const override;
    void SetCursorHidden(bool hide, bool lock) override;
    int SetCursorShape(int kind) override;
    void WarpMouseCursor(float x, float y) override;
    void EndTextEditing() override { Record("EndTextEditing"); }
    void* AttachToParentWindow(void* parent) override { return parent; }
    void DetachFromParentWindow() override {}
    void* NativeViewHandle() const override { return nullptr; }
    bool ReadClipboardText(VxString& out) override;
    bool WriteClipboardText(const char* utf8) override;
    void UpdateTooltips() override { Record("UpdateTooltips"); }
    ui::EMsgBoxResult RunMessageBox(const char* text, const char* caption,
                                    ui::EMsgBoxButtons buttons,
                                    MsgBoxCompletion completion) override;
    void RunFileDialog(VxString& fileName, VxString& dir, ui::EFileAction action,
                       const char* extensions, FileDialogCompletion completion) override;
    void RunFolderDialog(VxString& dir, FileDialogCompletion completion) override;
    // Answers with the next scripted colour (through the completion when one is
    // given, after the call, as a platform may); none scripted: cancelled.
    bool RunColorPicker(ui::IColor& color, const char* title,
                        ColorPickerCompletion completion) override;
    bool OpenInBrowser(const char* url) override;
    std::unique_ptr<ui::PlatformFont> FontFromResourceFile(const char*, const char*) override;
    std::unique_ptr<ui::PlatformFont> FontFromMemory(const char*, const void*, int) override;
    std::unique_ptr<ui::PlatformFont> FontFromFamilyStyle(const char*, const char*,
                                                          const char*) override;
    void CachePlatformFont(const char* fontID, std::unique_ptr<ui::PlatformFont> font) override;
    void ShowNativeTextEntry(int paramIdx, const ui::IText&, const ui::IRECT& bounds, int length,
                             const char* initial) override;
    ui::IPopupMenu* ShowNativePopupMenu(ui::IPopupMenu& menu, bool& answersLater,
                                        const ui::IRECT& bounds) override;
    bool IsDarkAppearance() const override { return darkAppearance; }
    std::unique_ptr<ui::APIBitmap> DecodeImageFile(const char* path, int scale, int,
                                                   const char*) override;
    std::unique_ptr<ui::APIBitmap> DecodeImageData(const char*, const void*, int,
                                                   int scale) override;
    std::unique_ptr<ui::APIBitmap> CreateOffscreenBitmap(int w, int h, bool, float screenScale,
                                                         float drawScale) override;
    bool RegisterFont(const char* fontID, const ui::PlatformFont&) override;
    int AlphaByteIndex() const override { return 3; }
    bool LayerRowsBottomUp() const override { return false; }
    float MeasureTextBounds(const ui::IText& text, const char* str,
                            ui::IRECT& bounds) const override;
    void DrawTextString(const ui::IText& text, const char* str, const ui::IRECT& bounds,
                        const ui::IBlendSetting* blend) override;

    void BeginContextUse() override { Record("BeginContextUse"); }
    void EndContextUse() override { Record("EndContextUse"); }
    void StartDrawFrame() override;
    void FinishDrawFrame() override { Record("FinishDrawFrame"); }
    void ResizeNativeView(bool flag) override;
    void RebuildBackBuffer() override { Record("RebuildBackBuffer"); }

    // Finishes an open native text entry with the next scripted answer, as the
    // platform does when the user presses Return. False when none is scripted.
    bool AnswerTextEntry();
    // Answers the box shown first of those still up; false when none is.
    bool AnswerMessageBox();

    // A fake image of the given pixel size, owned by the caller.
    static ui::APIBitmap* MakeBitmap(int width, int height, float scale = 1.f);

private:
    std::vector<std::unique_ptr<ui::PlatformFont>> fontCache;
};

} // namespace vx::test
