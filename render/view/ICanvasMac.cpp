#include "render/view/ICanvasMac.h"

#include "framework/ICanvasEditorDelegate.h"
#include "platform/ak/Screen.h"
#include "render/canvas/CoreTextFont.h"
#include "render/canvas/FontDescriptorCache.h"

#include <cstdio>
#include <cstdlib>

namespace vx::ui {

namespace {

[[noreturn]] void NotBuiltYet(const char* name) {
    std::fprintf(stderr, "ICanvasMac: %s is not built yet\n", name);
    std::abort();
}

} // namespace

ICanvasMac::ICanvasMac(ICanvasEditorDelegate& delegate, int width, int height, int fps,
                       float drawScale)
    : ICanvasVG(delegate, width, height, fps, drawScale) {}

ICanvasMac::~ICanvasMac() {
    DetachFromParentWindow();
}

void ICanvasMac::SetSharedResourcesSubPath(const char* path) {
    resourceSubPath.SetBounded(path ? path : "");
}

void* ICanvasMac::AttachToParentWindow(void* parent) {
    if (view)
        DetachFromParentWindow();
    view = ak::Ref<ICanvasView>::Adopt(new ICanvasView(this));
    BeginContextUse();
    CreateDrawContext();
    SetScreenScale(float(ak::Screen::Main().BackingScaleFactor()));
    GetDelegate().RunLayoutFunc(this);
    UpdateTooltips();
    GetDelegate().OnStateRestored();
    if (auto* parentView = static_cast<ak::View*>(parent))
        parentView->AddSubview(view.Get());
    return view.Get();
}

void ICanvasMac::DetachFromParentWindow() {
    if (!view)
        return;
    // This canvas starts the removal: the view must not close the editor,
    // which would delete this object mid-call.
    ak::Ref<ICanvasView> detached = view;
    view = nullptr;
    detached->ForgetCanvas();
    detached->RemoveFromWindow();
    if (DrawContextHandle())
        DestroyDrawContext();
}

std::shared_ptr<mtl::MetalLayer> ICanvasMac::ContextLayer() {
    return view ? view->Layer() : nullptr;
}

void ICanvasMac::QueryMousePosition(float&, float&) const {
    NotBuiltYet("QueryMousePosition");
}
void ICanvasMac::SetCursorHidden(bool, bool) {
    NotBuiltYet("SetCursorHidden");
}
void ICanvasMac::WarpMouseCursor(float, float) {
    NotBuiltYet("WarpMouseCursor");
}
void ICanvasMac::EndTextEditing() {}
bool ICanvasMac::ReadClipboardText(VxString&) {
    NotBuiltYet("ReadClipboardText");
}
bool ICanvasMac::WriteClipboardText(const char*) {
    NotBuiltYet("WriteClipboardText");
}
void ICanvasMac::UpdateTooltips() {}
EMsgBoxResult ICanvasMac::RunMessageBox(const char*, const char*, EMsgBoxButtons,
                                        MsgBoxCompletion) {
    NotBuiltYet("RunMessageBox");
}
void ICanvasMac::RunFileDialog(VxString&, VxString&, EFileAction, const char*,
                               FileDialogCompletion) {
    NotBuiltYet("RunFileDialog");
}
void ICanvasMac::RunFolderDialog(VxString&, FileDialogCompletion) {
    NotBuiltYet("RunFolderDialog");
}
bool ICanvasMac::RunColorPicker(IColor&, const char*, ColorPickerCompletion) {
    NotBuiltYet("RunColorPicker");
}
bool ICanvasMac::OpenInBrowser(const char*) {
    NotBuiltYet("OpenInBrowser");
}
void ICanvasMac::ShowNativeTextEntry(int, const IText&, const IRECT&, int, const char*) {
    NotBuiltYet("ShowNativeTextEntry");
}
IPopupMenu* ICanvasMac::ShowNativePopupMenu(IPopupMenu&, bool&, const IRECT&) {
    NotBuiltYet("ShowNativePopupMenu");
}

std::unique_ptr<PlatformFont> ICanvasMac::FontFromResourceFile(const char*, const char* fileName) {
    return ui::LoadFontFromResource(fileName, ResourceBundleId(), resourceSubPath.Get());
}

std::unique_ptr<PlatformFont> ICanvasMac::FontFromMemory(const char*, const void* data, int size) {
    return ui::LoadFontFromMemory(data, size);
}

std::unique_ptr<PlatformFont> ICanvasMac::FontFromFamilyStyle(const char*, const char* family,
                                                              const char* style) {
    return ui::LoadFontFromFamily(family, TextStyleFromName(style));
}

void ICanvasMac::CachePlatformFont(const char* fontID, std::unique_ptr<PlatformFont> font) {
    if (!font)
        return;
    SharedFontDescriptorCache().AddFont(fontID, *font);
    fonts.push_back(std::move(font));
}

} // namespace vx::ui
