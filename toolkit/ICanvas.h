#pragma once

#include "framework/VxHeapBuf.h"
#include "framework/VxPointerList.h"
#include "framework/VxString.h"
#include "toolkit/Clock.h"
#include "toolkit/IControl.h"
#include "toolkit/IDrawingRecords.h"
#include "toolkit/IEditorDelegate.h"
#include "toolkit/IKeyPress.h"
#include "toolkit/IPopupMenu.h"
#include "toolkit/IRECTList.h"
#include "toolkit/IResourceRecords.h"
#include "toolkit/ISpecialControls.h"
#include "toolkit/IVStyle.h"

#include <deque>
#include <functional>
#include <memory>
#include <thread>
#include <unordered_map>
#include <vector>

namespace vx {
struct IMidiMsg;
}

namespace vx::ui {

namespace svg {
struct Paint;
struct Image;
} // namespace svg

// The graphics context: owns the controls, runs the drawing cycle against its
// abstract drawing operations and dispatches pointer, key and drop events.
// The drawing back end and the platform layer derive from it. Main thread only.
class ICanvas {
public:
    using ControlFunc = std::function<void(IControl*)>;
    using KeyHandlerFunc = std::function<bool(const IKeyPress&, bool isUp)>;
    using MsgBoxCompletion = std::function<void(EMsgBoxResult)>;
    using FileDialogCompletion = std::function<void(const VxString& fileName, const VxString& dir)>;
    using ColorPickerCompletion = std::function<void(const IColor&)>;
    using GestureFunc = std::function<void(IControl*, const IGestureInfo&)>;
    using MidiFunc = std::function<void(const IMidiMsg&)>;

    ICanvas(ICanvasEditorDelegate& delegate, int width, int height, int fps, float drawScale);
    ICanvas(const ICanvas&) = delete;
    ICanvas& operator=(const ICanvas&) = delete;

    // ---- Virtual operations, in slot order ----
    virtual void StartDrawFrame();
    virtual void CreateDrawContext() {}
    virtual void DestroyDrawContext() {}
    virtual void FinishDrawFrame() {}
    virtual void DrawSVG(const ISVGHandle& svg, const IRECT& bounds,
                         const IBlendSetting* blend = nullptr, const IColor* strokeColor = nullptr,
                         const IColor* fillColor = nullptr);
    virtual void DrawRotatedSVG(const ISVGHandle& svg, float cx, float cy, float w, float h,
                                double angle, const IBlendSetting* blend = nullptr);
    virtual void DrawBitmapRegion(const IBitmapHandle& bitmap, const IRECT& dest, int srcX,
                                  int srcY, const IBlendSetting* blend = nullptr) = 0;
    virtual void DrawFittedBitmap(const IBitmapHandle& bitmap, const IRECT& bounds,
                                  const IBlendSetting* blend = nullptr);
    virtual void DrawRotatedBitmap(const IBitmapHandle& bitmap, float cx, float cy, double angle,
                                   const IBlendSetting* blend = nullptr);
    virtual void DrawPoint(const IColor& color, float x, float y,
                           const IBlendSetting* blend = nullptr);
    virtual void DrawLine(const IColor& color, float x1, float y1, float x2, float y2,
                          const IBlendSetting* blend = nullptr, float thickness = 1.f);
    virtual void DrawDashedLine(const IColor& color, float x1, float y1, float x2, float y2,
                                const IBlendSetting* blend = nullptr, float thickness = 1.f,
                                float dashLen = 2.f);
    virtual void DrawTriangle(const IColor& color, float x1, float y1, float x2, float y2, float x3,
                              float y3, const IBlendSetting* blend = nullptr,
                              float thickness = 1.f);
    virtual void DrawRect(const IColor& color, const IRECT& bounds,
                          const IBlendSetting* blend = nullptr, float thickness = 1.f);
    virtual void DrawRoundRect(const IColor& color, const IRECT& bounds, float radius,
                               const IBlendSetting* blend = nullptr, float thickness = 1.f);
    virtual void DrawRoundRectCorners(const IColor& color, const IRECT& bounds, float tl, float tr,
                                      float bl, float br, const IBlendSetting* blend = nullptr,
                                      float thickness = 1.f);
    virtual void DrawArc(const IColor& color, float cx, float cy, float r, float a1, float a2,
                         const IBlendSetting* blend = nullptr, float thickness = 1.f);
    virtual void DrawCircle(const IColor& color, float cx, float cy, float r,
                            const IBlendSetting* blend = nullptr, float thickness = 1.f);
    virtual void DrawEllipse(const IColor& color, const IRECT& bounds,
                             const IBlendSetting* blend = nullptr, float thickness = 1.f);
    virtual void DrawRotatedEllipse(const IColor& color, float cx, float cy, float r1, float r2,
                                    float angle, const IBlendSetting* blend = nullptr,
                                    float thickness = 1.f);
    virtual void DrawConvexPolygon(const IColor& color, const float* x, const float* y, int n,
                                   const IBlendSetting* blend = nullptr, float thickness = 1.f);
    virtual void DrawDashedRect(const IColor& color, const IRECT& bounds,
                                const IBlendSetting* blend = nullptr, float thickness = 1.f,
                                float dashLen = 2.f);
    virtual void FillTriangle(const IColor& color, float x1, float y1, float x2, float y2, float x3,
                              float y3, const IBlendSetting* blend = nullptr);
    virtual void FillRect(const IColor& color, const IRECT& bounds,
                          const IBlendSetting* blend = nullptr);
    virtual void FillRoundRect(const IColor& color, const IRECT& bounds, float radius,
                               const IBlendSetting* blend = nullptr);
    virtual void FillRoundRectCorners(const IColor& color, const IRECT& bounds, float tl, float tr,
                                      float bl, float br, const IBlendSetting* blend = nullptr);
    virtual void FillCircle(const IColor& color, float cx, float cy, float r,
                            const IBlendSetting* blend = nullptr);
    virtual void FillEllipse(const IColor& color, const IRECT& bounds,
                             const IBlendSetting* blend = nullptr);
    virtual void FillRotatedEllipse(const IColor& color, float cx, float cy, float r1, float r2,
                                    float angle, const IBlendSetting* blend = nullptr);
    virtual void FillArc(const IColor& color, float cx, float cy, float r, float a1, float a2,
                         const IBlendSetting* blend = nullptr);
    virtual void FillConvexPolygon(const IColor& color, const float* x, const float* y, int n,
                                   const IBlendSetting* blend = nullptr);
    // 0 for a null or empty string, else the measured width.
    virtual float MeasureText(const IText& text, const char* str, IRECT& bounds) const;
    virtual void DrawWrappedText(const IText& text, const char* str, const IRECT& bounds,
                                 const IBlendSetting* blend = nullptr);
    virtual IColor ConstantBlackColor() const = 0;
    virtual void* DrawContextHandle() = 0;
    virtual const char* DrawingBackendName() const = 0;
    virtual IBitmapHandle RescaleBitmap(const IBitmapHandle& source, const char* name,
                                        int targetScale);
    // Keeps a fresh bitmap under (name, its scale) in the shared cache. The
    // loaders hand out handles to it, so an override must keep it alive too
    // (a back end with context-bound images keeps a cache of its own).
    virtual void HoldBitmap(std::unique_ptr<APIBitmap> bitmap, const char* name);
    // Removes the handle's bitmap from the cache and deletes it.
    virtual void FreeBitmap(const IBitmapHandle& bitmap);
    virtual bool IsImageExtensionSupported(const char* ext) const = 0;
    virtual void DrawRectShadowFast(const IRECT&, const IRECT&, const IBlendSetting*, float, float,
                                    float) {}
    virtual void DrawGrid(const IColor& color, const IRECT& bounds, float gridW, float gridH,
                          const IBlendSetting* blend = nullptr, float thickness = 1.f);
    virtual void DrawData(const IColor& color, const IRECT& bounds, const float* y, int n,
                          const float* x = nullptr, const IBlendSetting* blend = nullptr,
                          float thickness = 1.f, const IColor* fill = nullptr);
    virtual bool LoadFontFromFile(const char* fontID, const char* fileName);
    virtual bool LoadFontFromMemory(const char* fontID, const void* data, int size);
    virtual void DropShadowOnLayer(IOffscreenLayer& layer, const ILayerShadow& shadow);
    virtual void ReadLayerPixels(const IOffscreenLayer& layer, VxHeapBuf& out) = 0;
    virtual void ApplyLayerShadow(IOffscreenLayer& layer, const VxHeapBuf& mask,
                                  const ILayerShadow& shadow) = 0;
    virtual void RetargetToTopLayer() {}
    virtual void PathReset() = 0;
    virtual void PathAddClose() = 0;
    // Degrees, 0 up, clockwise; winding 0 clockwise, 1 counter-clockwise.
    virtual void PathAddArc(float cx, float cy, float r, float a1, float a2, int winding = 0) = 0;
    virtual void PathAddMove(float x, float y) = 0;
    virtual void PathAddLine(float x, float y) = 0;
    virtual void PathSetFillRule(bool) {}
    virtual void PathAddCubic(float c1x, float c1y, float c2x, float c2y, float x2, float y2) = 0;
    virtual void PathAddQuad(float cx, float cy, float x2, float y2) = 0;
    virtual void PathStrokeCurrent(const IFillPattern& pattern, float thickness,
                                   const IStrokeStyle& style, const IBlendSetting* blend) = 0;
    virtual void PathFillCurrent(const IFillPattern& pattern, const IFillStyle& style,
                                 const IBlendSetting* blend) = 0;
    virtual void PathSetTransform(const IAffineMatrix& matrix) = 0;
    virtual void AfterControlDrawn(const IRECT&) {}
    virtual void SetClipRect(const IRECT& r) = 0;
    // The platform view is placed over the panel rectangle.
    virtual void AddNativeSubview(const IRECT&, void*) {}
    virtual void RemoveNativeSubview(void*) {}
    virtual void ShowNativeSubview(void*, bool) {}
    virtual void QueryMousePosition(float& x, float& y) const = 0;
    // Implementations keep cursorHidden up to date.
    virtual void SetCursorHidden(bool hide, bool lock) = 0;
    virtual void WarpMouseCursor(float x, float y) = 0;
    virtual int SetCursorShape(int kind);
    virtual void EndTextEditing() = 0;
    virtual void* AttachToParentWindow(void* parent) = 0;
    virtual void DetachFromParentWindow() = 0;
    virtual void* NativeViewHandle() const = 0;
    virtual bool HasNativeView() const { return NativeViewHandle() != nullptr; }
    virtual bool ReadClipboardText(VxString& out) = 0;
    virtual bool WriteClipboardText(const char* utf8) = 0;
    virtual bool WriteClipboardFilePath(const char*) { return false; }
    virtual bool BeginFileDragOut(const char*, const IRECT&) { return false; }
    virtual void UpdateTooltips() = 0;
    virtual EMsgBoxResult RunMessageBox(const char* text, const char* caption,
                                        EMsgBoxButtons buttons,
                                        MsgBoxCompletion completion = nullptr) = 0;
    // Leaves the chosen path in fileName, empty when cancelled.
    virtual void RunFileDialog(VxString& fileName, VxString& dir, EFileAction action,
                               const char* extensions,
                               FileDialogCompletion completion = nullptr) = 0;
    virtual void RunFolderDialog(VxString& dir, FileDialogCompletion completion = nullptr) = 0;
    virtual bool RunColorPicker(IColor& color, const char* title,
                                ColorPickerCompletion completion = nullptr) = 0;
    virtual bool OpenInBrowser(const char* url) = 0;
    virtual const char* PlatformName() const { return ""; }
    // select: the file shown selected in its folder, else the file opened.
    virtual bool ShowInFinder(const VxString&, bool) { return false; }
    virtual void EmptyPlatformHook1() {}
    virtual bool UsesSharedResources() const { return false; }
    virtual void EmptyPlatformHook2() {}
    // Font makers: null when the font cannot be made.
    virtual std::unique_ptr<PlatformFont> FontFromResourceFile(const char* fontID,
                                                               const char* fileName) = 0;
    virtual std::unique_ptr<PlatformFont> FontFromMemory(const char* fontID, const void* data,
                                                         int size) = 0;
    virtual std::unique_ptr<PlatformFont>
    FontFromFamilyStyle(const char* fontID, const char* family, const char* style) = 0;
    // Keeps the font descriptor of a registered font.
    virtual void CachePlatformFont(const char* fontID, std::unique_ptr<PlatformFont> font) = 0;
    virtual const char* ResourceBundleId() const { return ""; }
    virtual const char* AuxiliaryIdString() const { return ""; }
    virtual void BeginContextUse() {}
    virtual void EndContextUse() {}
    virtual void ShowNativeTextEntry(int paramIdx, const IText& text, const IRECT& bounds,
                                     int length, const char* initial) = 0;
    // Sets answersLater when the choice will come through ApplyPopupMenuChoice.
    virtual IPopupMenu* ShowNativePopupMenu(IPopupMenu& menu, bool& answersLater,
                                            const IRECT& bounds) = 0;
    virtual ~ICanvas();
    virtual int PlatformInitHook() { return 0; }
    virtual float NativeWindowScale() const { return 1.f; }
    virtual void ResizeNativeView(bool) {}
    virtual void RebuildBackBuffer() {}
    virtual bool IsDarkAppearance() const { return false; }
    virtual IBitmapHandle LoadScaledBitmap(const char* name, int nFrames, bool framesHorizontal,
                                           int targetScale);
    virtual IBitmapHandle LoadScaledBitmapData(const char* name, const void* data, int size,
                                               int nFrames, bool framesHorizontal, int targetScale);
    virtual ISVGHandle LoadSVG(const char* name, const char* units = "px", float dpi = 72.f);
    virtual ISVGHandle LoadSVGData(const char* name, const void* data, int size,
                                   const char* units = "px", float dpi = 72.f);
    virtual VxHeapBuf ReadResourceFile(const char* name, const char* type);
    virtual void AddToIntList(int kind);
    // Image makers: null when the image cannot be decoded or made.
    virtual std::unique_ptr<APIBitmap> DecodeImageFile(const char* path, int scale, int location,
                                                       const char* ext) = 0;
    virtual std::unique_ptr<APIBitmap> DecodeImageData(const char* name, const void* data, int size,
                                                       int scale) = 0;
    virtual std::unique_ptr<APIBitmap> CreateOffscreenBitmap(int width, int height, bool cacheable,
                                                             float screenScale,
                                                             float drawScale) = 0;
    // Makes the font available to the renderer; the renderer keeps its own copy.
    virtual bool RegisterFont(const char* fontID, const PlatformFont& font) = 0;
    virtual int AlphaByteIndex() const = 0;
    virtual bool LayerRowsBottomUp() const = 0;
    // Writes the text's bounds; returns its width.
    virtual float MeasureTextBounds(const IText& text, const char* str, IRECT& bounds) const = 0;
    virtual void DrawTextString(const IText& text, const char* str, const IRECT& bounds,
                                const IBlendSetting* blend = nullptr) = 0;
    virtual float GetTotalScale() const { return screenScale * drawScale; }

    // ---- Resources (shared caches, files, fonts) ----
    // 0 when nothing was found, 1 when a file path was written.
    int FindImageResource(const char* name, const char* ext, VxString& path, int targetScale,
                          int& foundScale);
    APIBitmap* FindCachedBitmap(const char* name, int targetScale, int& foundScale);
    IBitmapHandle LoadBitmap(const IBitmapHandle& bitmap);
    bool LoadFontFromFamilyStyle(const char* fontID, const char* family, const char* style);

    // ---- Off-screen layers ----
    void BeginOffscreenLayer(IControl* owner, const IRECT& r, bool cacheable);
    ILayerPtr FinishOffscreenLayer();
    void PushLayerTarget(ILayerPtr layer);
    ILayerPtr PopLayerTarget();
    bool IsLayerCurrent(IOffscreenLayer* layer);
    void DrawOffscreenLayer(const IOffscreenLayer& layer, const IBlendSetting* blend = nullptr);
    void DrawFittedLayer(const IOffscreenLayer& layer, const IRECT& bounds,
                         const IBlendSetting* blend = nullptr);
    void DrawRotatedLayer(const IOffscreenLayer& layer, double angle);
    int LayerDepth() const { return static_cast<int>(layerStack.size()); }
    const IOffscreenLayer* TopLayer() const {
        return layerStack.empty() ? nullptr : layerStack.back().get();
    }
    // For a back end whose context goes: no layer outlives the images it holds.
    void DropLayerTargets() { layerStack.clear(); }

    // ---- SVG paint and rotated text ----
    static IFillPattern PatternFromSVGPaint(const svg::Paint& paint, float opacity);
    // Offsets that place text rotated by its angle inside bounds; nothing is
    // written for angle 0 or an alignment outside 0..2.
    void TextRotationOffset(const IText& text, const IRECT& bounds, IRECT& measured, float& dx,
                            float& dy) const;
    void MeasureRotatedText(const IText& text, const IRECT& bounds, IRECT& measured) const;

    // ---- Makers of the background and special controls ----
    void AddBackgroundBitmap(const char* name);
    void AddBackgroundSVG(const char* name);
    void AddBackgroundPanel(const IColor& color);
    void AddBackgroundPanel(const IFillPattern& fill);
    void AddCornerResizer(float size, int resizerMode, bool layoutOnResize,
                          const IColor& normal = kColorTranslucent,
                          const IColor& over = kColorBlack, const IColor& drag = kColorBlack);
    void AddBubbleControl(const IText& text = kDefaultText);
    IBubbleControl* GetBubbleControl(int index) const { return bubbleControls.Get(index); }
    void SetQwertyMidiKeyHandlerFunc(MidiFunc func = nullptr);
    void ApplyStyleToVectorControls(const IVStyle& style);

    // ---- Gesture regions ----
    void AttachGestureRegion(const IRECT& bounds, int kind, GestureFunc func);
    void ClearGestureRegions();
    bool GestureRegionAtPoint(float x, float y);
    void OnGestureRecognized(const IGestureInfo& gesture);
    int NGestureRegions() const { return gestureRegions.Size(); }

    // ---- Control list, tags and groups ----
    // Always takes ownership: on a duplicate tag the control is deleted and null returned.
    IControl* AddControl(IControl* control, int tag = -1, const char* group = "");
    void AttachCornerResizer(ICornerResizerControl* control, int resizerMode,
                             bool layoutOnResize = false);
    void AttachBubbleControl(IBubbleControl* control);
    void AttachPopupMenuControl(IPopupMenuControl* control);
    void RemovePopupMenuControl();
    void AttachTextEntryControl(ITextEntryControl* control);
    void RemoveTextEntryControl();
    // Build the in-panel entry and menu once; later calls do nothing.
    void AddTextEntryControl();
    void AddPopupMenuControl(const IText& text, const IRECT& bounds);
    void AttachFrameRateDisplay(IFPSDisplayControl* control);
    void ToggleFrameRateDisplay(bool enable);

    IControl* FindControlByTag(int tag) const;
    IControl* FindControlByParam(int paramIdx) const;
    int NControls() const { return controls.GetSize(); }
    IControl* GetControl(int index) const { return controls.Get(index); }
    int GetControlIdx(const IControl* control) const { return controls.Find(control); }
    IControl* GetBackgroundControl() const { return controls.Get(0); }
    ICornerResizerControl* GetCornerResizer() const { return cornerResizer; }
    IPopupMenuControl* GetPopupMenuControl() const { return popupMenuControl; }
    ITextEntryControl* GetTextEntryControl() const { return textEntryControl; }
    IFPSDisplayControl* GetFrameRateDisplay() const { return fpsDisplay; }
    // Where the frame-time display goes; (10, 10, 210, 60) once enabled with none set.
    const IRECT& GetFrameRateRect() const { return fpsRect; }
    int NBubbleControls() const { return bubbleControls.GetSize(); }

    void ForEveryControl(const ControlFunc& func);
    void ForEveryListedControl(const ControlFunc& func);
    template <class... Params, class... Args>
    void ForAllControls(void (IControl::*method)(Params...), Args... args) {
        ForEveryControl([&](IControl* c) { (c->*method)(args...); });
    }
    template <class... Params, class... Args>
    void ForMatchingControls(void (IControl::*method)(Params...), int paramIdx, Args... args) {
        ForEachControlOfParam(paramIdx, [&](IControl* c) { (c->*method)(args...); });
    }
    void ForEachControlOfParam(int paramIdx, const ControlFunc& func);
    void ForEachControlOfParam(const std::vector<int>& params, const ControlFunc& func);
    // func must not remove controls; controls it appends are visited.
    void ForEachControlInGroup(const char* group, const ControlFunc& func);

    void MarkAllControlsDirty();
    void MarkAllControlsClean();
    void HideControl(int paramIdx, bool hide);
    void DisableControl(int paramIdx, bool disable);
    void HighlightParamControls(int paramIdx, bool on, int colourChoice);
    void SetTooltipsEnabled(bool enable);
    bool TooltipsEnabled() const { return tooltipsEnabled; }
    void AssignParamNameToolTips();
    void UpdatePeers(IControl* sender, int valIdx);
    void SetControlPosition(IControl* control, float x, float y);
    void SetControlSize(IControl* control, float w, float h);
    void SetControlBounds(IControl* control, const IRECT& r);

    void RemoveControl(IControl* control);
    void RemoveControlAt(int index);
    void RemoveControlsFrom(int index);
    void RemoveControlWithTag(int tag);
    void RemoveAllControls();

    // ---- Drawing cycle ----
    bool IsDirty(IRECTList& rects);
    void DrawAllDirty(IRECTList& rects);
    void Draw(const IRECT& rect, float scale);
    void DrawOneControl(IControl* control, const IRECT& rect, float scale);
    void PrepareDrawRegion(const IRECT& clip);
    void SetDrawUnionOfDirtyRects(bool on);
    // On by default: a control hidden within its clip by a later opaque one
    // (IControl::OpaqueBounds) is not drawn; the pixels come out the same.
    void SetSkipHiddenControls(bool on) { skipHiddenControls = on; }
    // Controls left out as hidden, counted over the context's life.
    int SkippedDraws() const { return skippedDraws; }
    void SetFrameCallback(std::function<void()> func) { frameCallback = std::move(func); }
    // Every way a control becomes dirty (SetDirty, a new animation, being
    // attached) notes it here; until then a frame tick walks no control.
    void NoteControlDirty() { mayBeDirty = true; }
    const IRECT& GetClipRect() const { return clipRect; }

    // A string wider than `bounds` is drawn smaller, then cut (toolkit/TextFit.h).
    void DrawText(const IText& text, const char* str, const IRECT& bounds,
                  const IBlendSetting* blend = nullptr);
    void DrawTextAt(const IText& text, const char* str, float x, float y,
                    const IBlendSetting* blend = nullptr);
    void DrawBitmapFrame(const IBitmapHandle& bitmap, const IRECT& dest, int frame,
                         const IBlendSetting* blend = nullptr);
    void DrawBitmapText(const IBitmapHandle& font, const IRECT& bounds, const IText& text,
                        const IBlendSetting* blend, const char* str, bool vCentre, bool wrap,
                        int charWidth, int charHeight, int charOffset);
    void DrawHorizontalLine(const IColor& color, const IRECT& r, float value,
                            const IBlendSetting* blend = nullptr, float thickness = 1.f);
    void DrawVerticalLine(const IColor& color, const IRECT& r, float value,
                          const IBlendSetting* blend = nullptr, float thickness = 1.f);
    void DrawVerticalLineAt(const IColor& color, float x, float y1, float y2,
                            const IBlendSetting* blend = nullptr, float thickness = 1.f);
    void DrawHorizontalLineAt(const IColor& color, float y, float x1, float x2,
                              const IBlendSetting* blend = nullptr, float thickness = 1.f);
    void DrawLineAcross(const IColor& color, const IRECT& r, EDirection dir, float value,
                        const IBlendSetting* blend = nullptr, float thickness = 1.f);
    void DrawRadialLine(const IColor& color, float cx, float cy, float angle, float r1, float r2,
                        const IBlendSetting* blend = nullptr, float thickness = 1.f);
    void PathRadialLine(float cx, float cy, float angle, float r1, float r2);

    // ---- Path and transform helpers ----
    void PathAddRect(const IRECT& r);
    void PathAddTriangle(float x1, float y1, float x2, float y2, float x3, float y3);
    void PathAddRoundRect(const IRECT& r, float radius);
    void PathAddRoundRectCorners(const IRECT& r, float tl, float tr, float bl, float br);
    void PathAddConvexPolygon(const float* x, const float* y, int n);
    void PathAddCircle(float cx, float cy, float r);
    void PathAddEllipse(float cx, float cy, float r1, float r2, float angle = 0.f);
    void PathAddEllipseInRect(const IRECT& r);
    void PathMatrixPush();
    void PathMatrixPop();
    void PathMatrixReset(bool clearStack = true);
    void PathMatrixTranslate(float x, float y);
    void PathMatrixRotate(float degrees);
    void PathMatrixScale(float x, float y);
    void PathMatrixScale(float s) { PathMatrixScale(s, s); }
    void PathMatrixSkew(float xDegrees, float yDegrees);
    void PathMatrixMultiply(const IAffineMatrix& m);
    const IAffineMatrix& GetTransform() const { return transform; }
    int TransformStackDepth() const { return static_cast<int>(transformStack.size()); }
    // Clips to r within the top layer (or the control's clip); all zero removes the clip.
    void PathClipToRect(const IRECT& r = IRECT());

    // ---- Event dispatch ----
    IControl* ControlUnderPointer(bool capture, bool mouseOver, int64_t touchId, float x, float y);
    int HitTestControlList(bool mouseOver, float x, float y) const;
    void OnMouseDown(const IMouseInfoList& list);
    void OnMouseUp(const IMouseInfoList& list);
    void OnMouseDrag(const IMouseInfoList& list);
    void OnTouchCancelled(const IMouseInfoList& list);
    bool OnMouseDoubleClick(float x, float y, const IMouseMod& mod);
    bool OnMouseOver(float x, float y, const IMouseMod& mod);
    void OnMouseOut();
    bool OnMouseWheel(float x, float y, const IMouseMod& mod, float delta);
    bool OnKeyDown(float x, float y, const IKeyPress& key);
    bool OnKeyUp(float x, float y, const IKeyPress& key);
    void OnDrop(const char* path, float x, float y);
    void OnDropMultiple(const std::vector<const char*>& paths, float x, float y);
    void ClearMouseCapture();
    bool ControlIsCaptured(const IControl* control) const;
    bool ControlIsCaptured() const { return !capturedMap.empty(); }
    void OpenContextMenu(IControl* control, float x, float y);
    void OpenContextMenuAt(int index, float x, float y);
    void RecordParamUnderPoint(float x, float y);
    int TakeRecordedParam();
    void ResizeFromCornerDrag(float x, float y);
    void EndCornerResize();
    void SetResizingInProgress(bool on) { resizingInProgress = on; }
    bool IsResizingInProgress() const { return resizingInProgress; }
    void SetKeyHandlerFunc(KeyHandlerFunc func) { keyHandler = std::move(func); }
    void SetMouseOverEnabled(bool on) { mouseOverEnabled = on; }
    void SetMultiTouch(bool on) { multiTouch = on; }
    bool GetMultiTouch() const { return multiTouch; }
    IControl* GetMouseOverControl() const { return mouseOverControl; }
    int GetMouseOverIdx() const { return mouseOverIdx; }
    void GetMouseDownPoint(float& x, float& y) const;
    bool IsCursorHidden() const { return cursorHidden; }
    IControl* GetControlInTextEntry() const { return inTextEntry; }
    // A cancelled entry: no value goes to the control that was edited.
    void ForgetTextEntry() { inTextEntry = nullptr; }
    IControl* GetControlInPopupMenu() const { return inPopupMenu; }

    // ---- Context services ----
    ICanvasEditorDelegate& GetDelegate() const { return delegate; }
    int Width() const { return width; }
    int Height() const { return height; }
    int FPS() const { return fps; }
    float GetDrawScale() const { return drawScale; }
    float GetScreenScale() const { return screenScale; }
    IRECT GetBounds() const { return {0.f, 0.f, float(width), float(height)}; }
    void SetScaleLimits(float a, float b);
    void SetLayoutOnResize(bool on) { layoutOnResize = on; }
    void Resize(int w, int h, float scale, bool needsPlatformResize);
    void SetScreenScale(float scale);
    void OpenValueEntry(IControl* control, const IRECT& bounds, int valIdx);
    void BeginTextEntry(IControl* control, const IText& text, const IRECT& bounds,
                        const char* initial, int valIdx);
    void ApplyTextEntryValue(const char* text);
    // While the in-panel menu is busy with another menu, this one is answered at once
    // without a choice.
    void OpenPopupMenu(IControl* control, IPopupMenu& menu, const IRECT& bounds, int valIdx,
                       bool isContext);
    void OpenPopupMenuNonContext(IControl* control, IPopupMenu& menu, const IRECT& bounds,
                                 int valIdx) {
        OpenPopupMenu(control, menu, bounds, valIdx, false);
    }
    void ApplyPopupMenuChoice(IPopupMenu* result);
    void ForwardPopupMenuEvent();
    void ShowValueBubble(IControl* control, const char* text, int direction, float x, float y,
                         const IRECT& minContent);
    void OnAppearanceChanged(int dark);
    void SetAppearanceCallback(std::function<void(int)> func) {
        appearanceCallback = std::move(func);
    }
    IPopupMenu& GetPromptMenu() { return promptMenu; }
    const std::vector<int>& GetGestureKinds() const { return gestureKinds; }

    // Debug builds check that the context is used on the thread that made it.
    void AssertMainThread() const;

protected:
    ICanvasEditorDelegate& delegate;
    int width;
    int height;
    int fps;
    float screenScale = 1.f;
    float drawScale;
    float minScale = 0.5f;
    float maxScale = 4.f;
    bool layoutOnResize = false;
    int resizerMode = 0;
    int cursorShape = 0;
    bool cursorHidden = false;
    bool cursorLocked = false;
    bool tabletInput = false;
    float lastCursorX = -1.f;
    float lastCursorY = -1.f;
    void* platformContext = nullptr;
    VxString resourceSubPath;
    std::function<void(int)> appearanceCallback;

private:
    void DetachFromLinks(IControl* control);
    void ForgetControl(IControl* control);
    void AttachSpecial(IControl* control);
    bool ClipToAncestors(const IControl* control, IRECT& clip, float scale) const;
    // The control's clip within rect; false when it draws nothing there.
    bool ClipOf(const IControl* control, const IRECT& rect, float scale, IRECT& clip) const;
    void DrawClipped(IControl* control, const IRECT& clip);
    IRECT DirtyRectOf(const IControl* control) const;
    void BeginParamChanges(const IControl* control);
    // Parameters bound to the control's slots, read before handlers that may delete it.
    static std::vector<int> BoundParams(const IControl* control);
    void UpdateMouseOver(float x, float y, const IMouseMod& mod);
    bool KeepRegisteredFont(const char* fontID, std::unique_ptr<PlatformFont> font);
    void DrawSVGShapes(const svg::Image& image, const IBlendSetting* blend,
                       const IColor* strokeColor, const IColor* fillColor);
    void ShowBubbleOn(IBubbleControl& bubble, IControl* control, const char* text, int direction,
                      float x, float y, const IRECT& minContent, int64_t touchId);
    void InsertBackground(IControl* control, bool runHooks);
    void RequestNativeSize(bool needsPlatformResize);
    // A menu's result to the control that opened it; its parameter gestures end.
    void DeliverMenuChoice(IControl* control, IPopupMenu* result, int valIdx, bool isContext);
    // Caches a freshly decoded bitmap at the target scale, or a rescaled copy of it.
    IBitmapHandle KeepLoadedBitmap(APIBitmap* bitmap, std::unique_ptr<APIBitmap> fresh,
                                   const char* name, int nFrames, bool framesHorizontal,
                                   int target);
    void StrokeSolid(const IColor& color, float thickness, const IBlendSetting* blend,
                     const IStrokeStyle& style = IStrokeStyle());
    void FillSolid(const IColor& color, const IBlendSetting* blend,
                   const IFillStyle& style = IFillStyle());

    // Control list.
    VxPointerList<IControl> controls;
    std::unordered_map<int, IControl*> tagMap;
    ICornerResizerControl* cornerResizer = nullptr;
    VxPointerList<IBubbleControl> bubbleControls;
    IPopupMenuControl* popupMenuControl = nullptr;
    IFPSDisplayControl* fpsDisplay = nullptr;
    ITextEntryControl* textEntryControl = nullptr;
    IRECT fpsRect;
    bool tooltipsEnabled = false;

    // Drawing.
    std::function<void()> frameCallback;
    bool drawUnionOfDirtyRects = false;
    bool skipHiddenControls = true;
    int skippedDraws = 0;
    std::vector<IControl*> drawOrder;
    bool mayBeDirty = true;
    double lastFrameTime = 0.0;
    IAffineMatrix transform;
    std::deque<IAffineMatrix> transformStack;
    IRECT clipRect;
    std::deque<ILayerPtr> layerStack;

    // Events.
    std::unordered_map<int64_t, IControl*> capturedMap;
    IControl* mouseOverControl = nullptr;
    int mouseOverIdx = -1;
    float mouseDownX = -1.f;
    float mouseDownY = -1.f;
    IControl* inTextEntry = nullptr;
    int textEntryValIdx = -1;
    IControl* inPopupMenu = nullptr;
    int popupValIdx = -1;
    bool isContextMenu = false;
    IPopupMenu promptMenu;
    KeyHandlerFunc keyHandler;
    int recordedParamIdx = -1;
    bool mouseOverEnabled = false;
    bool multiTouch = false;
    bool resizingInProgress = false;
    std::vector<int> gestureKinds;
    IRECTList gestureRegions;
    std::unordered_map<int, GestureFunc> gestureRegionFuncs;

    std::thread::id mainThread = std::this_thread::get_id();
};

} // namespace vx::ui
