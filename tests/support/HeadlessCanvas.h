#pragma once

// The vector back end on a headless Metal layer, with inert platform slots:
// draws any control and keeps the last presented frame, as RGBA and as a PNG
// in build/test-output/. Fonts load through the real platform font loaders.

#include "platform/mtl/MtlLayer.h"
#include "render/canvas/ICanvasVG.h"

#include <memory>
#include <string>
#include <vector>

namespace vx::test {

class HeadlessCanvas : public ui::ICanvasVG {
public:
    HeadlessCanvas(ui::ICanvasEditorDelegate& delegate, int width, int height,
                   float drawScale = 1.f, float screenScale = 1.f);
    ~HeadlessCanvas() override;

    // Makes the draw context and back buffer, as attaching to a window does.
    void Attach();
    // Runs one frame when something is dirty; answers whether it drew.
    bool DrawFrame();

    std::shared_ptr<mtl::Device> device = std::make_shared<mtl::Device>();
    std::shared_ptr<mtl::HeadlessPresenter> presenter = std::make_shared<mtl::HeadlessPresenter>();

    // The last presented frame, straight (not premultiplied) RGBA, rows top-down.
    std::vector<unsigned char> LastFrame(int* width = nullptr, int* height = nullptr) const;
    // Writes the last frame to build/test-output/<name>.png; its path, empty on failure.
    std::string WriteFramePNG(const std::string& name) const;

    // ---- Inert platform slots ----
    void QueryMousePosition(float& x, float& y) const override { x = y = 0.f; }
    void SetCursorHidden(bool hide, bool) override { cursorHidden = hide; }
    void WarpMouseCursor(float, float) override {}
    void EndTextEditing() override {}
    void* AttachToParentWindow(void* parent) override { return parent; }
    void DetachFromParentWindow() override {}
    void* NativeViewHandle() const override { return nullptr; }
    bool ReadClipboardText(VxString&) override { return false; }
    bool WriteClipboardText(const char*) override { return false; }
    void UpdateTooltips() override {}
    ui::EMsgBoxResult RunMessageBox(const char*, const char*, ui::EMsgBoxButtons,
                                    MsgBoxCompletion) override {
        return ui::EMsgBoxResult::OK;
    }
    void RunFileDialog(VxString& fileName, VxString&, ui::EFileAction, const char*,
                       FileDialogCompletion) override {
        fileName.Set("", 0);
    }
    void RunFolderDialog(VxString&, FileDialogCompletion) override {}
    bool RunColorPicker(ui::IColor&, const char*, ColorPickerCompletion) override { return false; }
    bool OpenInBrowser(const char*) override { return false; }
    void ShowNativeTextEntry(int, const ui::IText&, const ui::IRECT&, int, const char*) override {}
    ui::IPopupMenu* ShowNativePopupMenu(ui::IPopupMenu&, bool& answersLater,
                                        const ui::IRECT&) override {
        answersLater = false;
        return nullptr;
    }

    // ---- Fonts through the platform loaders ----
    std::unique_ptr<ui::PlatformFont> FontFromResourceFile(const char*,
                                                           const char* fileName) override;
    std::unique_ptr<ui::PlatformFont> FontFromMemory(const char*, const void* data,
                                                     int size) override;
    std::unique_ptr<ui::PlatformFont> FontFromFamilyStyle(const char*, const char* family,
                                                          const char* style) override;
    void CachePlatformFont(const char* fontID, std::unique_ptr<ui::PlatformFont> font) override;

protected:
    std::shared_ptr<mtl::MetalLayer> ContextLayer() override { return layer; }

private:
    std::shared_ptr<mtl::MetalLayer> layer = std::make_shared<mtl::MetalLayer>();
    std::vector<std::unique_ptr<ui::PlatformFont>> fonts;
};

// The headless back end attached as the platform view attaches an editor's
// panel: the drawable first, then the layout, then the drawable again at the
// size the layout chose (its saved scale).
class AttachingHeadlessCanvas : public HeadlessCanvas {
public:
    using HeadlessCanvas::HeadlessCanvas;
    void* AttachToParentWindow(void* parent) override;
};

} // namespace vx::test
