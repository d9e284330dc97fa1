#include "render/view/ICanvasMac.h"

#include "framework/ICanvasEditorDelegate.h"
#include "platform/ak/Alert.h"
#include "platform/ak/Cursor.h"
#include "platform/ak/Pasteboard.h"
#include "platform/ak/Screen.h"
#include "platform/ak/Window.h"
#include "platform/sys/Open.h"
#include "render/canvas/CoreTextFont.h"
#include "render/canvas/FontDescriptorCache.h"
#include "render/view/ServiceRules.h"

#include <cmath>
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

ak::Point ICanvasMac::PanelToScreen(float x, float y) const {
    const ak::Window* window = view ? view->GetWindow() : nullptr;
    if (!window)
        return {};
    const ak::Point inWindow =
        view->ConvertPointToView({double(x * GetDrawScale()), double(y * GetDrawScale())}, nullptr);
    return window->ConvertPointToScreen(inWindow);
}

ak::Point ICanvasMac::ScreenToPanel(ak::Point onScreen) const {
    const ak::Window* window = view->GetWindow();
    const ak::Point inWindow = window ? window->ConvertPointFromScreen(onScreen) : ak::Point{};
    const ak::Point p = view->ConvertPointFromView(inWindow, nullptr);
    return {p.x / GetDrawScale(), p.y / GetDrawScale()};
}

void ICanvasMac::QueryMousePosition(float& x, float& y) const {
    ak::Point p = ak::Cursor::MouseLocation();
    if (view)
        p = ScreenToPanel(p);
    x = float(p.x);
    y = float(p.y);
}

void ICanvasMac::StoreCursorPosition() {
    const ak::Point p = ak::Cursor::MouseLocation();
    hidePosition = {std::round(p.x), std::round(p.y)};
    ak::Point last = hidePosition;
    if (view)
        last = ScreenToPanel(hidePosition);
    lastCursorX = float(last.x);
    lastCursorY = float(last.y);
}

void ICanvasMac::SetCursorHidden(bool hide, bool lock) {
    if (hide == cursorHidden)
        return;
    cursorHidden = hide;
    if (hide) {
        StoreCursorPosition();
        ak::Cursor::Hide();
    } else {
        ak::Cursor::Unhide();
        lock = false;
    }
    cursorLocked = lock;
}

void ICanvasMac::ReturnCursorToHidePosition() const {
    ak::Cursor::Warp(hidePosition);
}

void ICanvasMac::WarpMouseCursor(float x, float y) {
    if (tabletInput)
        return;
    const ak::Point target = view ? PanelToScreen(x, y) : ak::Point{x, y};
    ak::Cursor::Warp(target);
    StoreCursorPosition();
}

int ICanvasMac::SetCursorShape(int kind) {
    if (view)
        ICanvasView::SetMouseCursor(kind);
    return ICanvasVG::SetCursorShape(kind);
}
void ICanvasMac::EndTextEditing() {}
bool ICanvasMac::ReadClipboardText(VxString& out) {
    const std::optional<std::string> text = ak::Pasteboard::Text();
    out.SetBounded(text ? text->c_str() : "");
    return text.has_value();
}

bool ICanvasMac::WriteClipboardText(const char* utf8) {
    ak::Pasteboard::SetText(utf8 ? utf8 : "");
    return true;
}
void ICanvasMac::UpdateTooltips() {}
EMsgBoxResult ICanvasMac::RunMessageBox(const char* text, const char* caption, EMsgBoxButtons type,
                                        MsgBoxCompletion completion) {
    ClearMouseCapture();
    auto alert = ak::Ref<ak::Alert>::Adopt(new ak::Alert());
    alert->SetMessageText(caption ? caption : "");
    alert->SetInformativeText(text ? text : "");
    const std::vector<std::string> titles = MessageBoxButtonTitles(type);
    for (const std::string& title : titles)
        alert->AddButton(title);
    const int index =
        alert->RunModal(view ? view->GetWindow() : nullptr) - ak::AlertResponse::FirstButton;
    const EMsgBoxResult result =
        titles.empty() ? EMsgBoxResult::Cancel : MessageBoxResultOf(type, index);
    if (completion)
        completion(result);
    return result;
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
bool ICanvasMac::OpenInBrowser(const char* url) {
    const std::string text = url ? url : "";
    if (text.empty())
        return false;
    return StartsWithUriScheme(text) ? sys::OpenUri(text) : sys::OpenPath(text);
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
