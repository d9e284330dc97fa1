#pragma once

// The platform canvas: the vector back end plus the platform slots, over the
// project's AppKit-like layer. Owns the one view while attached.

#include "platform/ak/Object.h"
#include "render/canvas/ICanvasVG.h"
#include "render/view/ICanvasView.h"

#include <memory>
#include <string>
#include <vector>

namespace vx::ui {

class ICanvasMac : public ICanvasVG {
public:
    ICanvasMac(ICanvasEditorDelegate& delegate, int width, int height, int fps, float drawScale);
    ~ICanvasMac() override;

    void SetBundleId(const char* id) { bundleId = id ? id : ""; }
    void SetAppGroupId(const char* id) { appGroupId = id ? id : ""; }
    void SetSharedResourcesSubPath(const char* path);
    ICanvasView* View() const { return view.Get(); }

    // ---- Attaching ----
    // parent is an ak::View* (or null); answers the canvas's view.
    void* AttachToParentWindow(void* parent) override;
    void DetachFromParentWindow() override;
    void* NativeViewHandle() const override { return view.Get(); }
    const char* PlatformName() const override { return "Cocoa"; }
    const char* ResourceBundleId() const override { return bundleId.c_str(); }
    const char* AuxiliaryIdString() const override { return appGroupId.c_str(); }

    // ---- Cursor ----
    void QueryMousePosition(float& x, float& y) const override;
    void SetCursorHidden(bool hide, bool lock) override;
    void WarpMouseCursor(float x, float y) override;
    int SetCursorShape(int kind) override;
    int CursorShape() const { return cursorShape; }
    // What the view needs of the cursor state while translating pointer events.
    bool CursorHeldAtHidePosition() const { return cursorHidden && cursorLocked && !tabletInput; }
    void ReturnCursorToHidePosition() const;
    void LastCursorPosition(float& x, float& y) const {
        x = lastCursorX;
        y = lastCursorY;
    }
    void NoteCursorPosition(float x, float y) {
        lastCursorX = x;
        lastCursorY = y;
    }
    void NoteTabletInput(bool tablet) { tabletInput = tablet; }
    // The view going away or changing scale: nothing platform-bound stays.
    void ForgetPlatformContext() { platformContext = nullptr; }

    // ---- Native subviews (ak::View*) ----
    void AddNativeSubview(const IRECT& bounds, void* view) override;
    void RemoveNativeSubview(void* view) override;
    void ShowNativeSubview(void* view, bool show) override;
    void ResizeNativeView(bool) override;
    bool IsDarkAppearance() const override;

    // ---- Services ----
    void EndTextEditing() override;
    bool ReadClipboardText(VxString& out) override;
    bool WriteClipboardText(const char* utf8) override;
    bool WriteClipboardFilePath(const char* path) override;
    bool BeginFileDragOut(const char* path, const IRECT& bounds) override;
    void UpdateTooltips() override;
    EMsgBoxResult RunMessageBox(const char* text, const char* caption, EMsgBoxButtons buttons,
                                MsgBoxCompletion completion) override;
    void RunFileDialog(VxString& fileName, VxString& path, EFileAction action,
                       const char* extensions, FileDialogCompletion completion) override;
    void RunFolderDialog(VxString& dir, FileDialogCompletion completion) override;
    bool RunColorPicker(IColor& color, const char* prompt,
                        ColorPickerCompletion completion) override;
    bool OpenInBrowser(const char* url) override;
    bool ShowInFinder(const VxString& path, bool select) override;
    void ShowNativeTextEntry(int paramIdx, const IText& text, const IRECT& bounds, int length,
                             const char* str) override;
    IPopupMenu* ShowNativePopupMenu(IPopupMenu& menu, bool& answersLater,
                                    const IRECT& bounds) override;

    // ---- Fonts ----
    std::unique_ptr<PlatformFont> FontFromResourceFile(const char* fontID,
                                                       const char* fileName) override;
    std::unique_ptr<PlatformFont> FontFromMemory(const char* fontID, const void* data,
                                                 int size) override;
    std::unique_ptr<PlatformFont> FontFromFamilyStyle(const char* fontID, const char* family,
                                                      const char* style) override;
    void CachePlatformFont(const char* fontID, std::unique_ptr<PlatformFont> font) override;

protected:
    std::shared_ptr<mtl::MetalLayer> ContextLayer() override;

private:
    // Remembers where the cursor is now, as the hide position and the last position.
    void StoreCursorPosition();
    ak::Point PanelToScreen(float x, float y) const;
    ak::Point ScreenToPanel(ak::Point onScreen) const;

    // Queued work (menus, sheets) checks that this canvas still exists.
    std::shared_ptr<int> liveness = std::make_shared<int>(0);
    ak::Ref<ICanvasView> view;
    ak::Point hidePosition;
    std::string bundleId;
    std::string appGroupId;
    std::vector<std::unique_ptr<PlatformFont>> fonts;
};

} // namespace vx::ui
