#include "render/view/ICanvasMac.h"

#include "framework/ICanvasEditorDelegate.h"
#include "platform/ak/Alert.h"
#include "platform/ak/Appearance.h"
#include "platform/ak/Cursor.h"
#include "platform/ak/Pasteboard.h"
#include "platform/ak/Screen.h"
#include "platform/ak/Window.h"
#include "platform/sys/Open.h"
#include "render/canvas/CoreTextFont.h"
#include "render/canvas/FontDescriptorCache.h"
#include "render/view/ServiceRules.h"
#include "render/view/ViewGeometry.h"
#include "toolkit/IPopupMenuControl.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vx::ui {

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

void ICanvasMac::AddNativeSubview(const IRECT& bounds, void* subview) {
    if (!view || !subview)
        return;
    auto* native = static_cast<ak::View*>(subview);
    native->SetFrame(ViewRectOf(bounds, GetDrawScale()));
    view->AddSubview(native);
}

void ICanvasMac::RemoveNativeSubview(void* subview) {
    if (subview)
        static_cast<ak::View*>(subview)->RemoveFromSuperview();
}

void ICanvasMac::ShowNativeSubview(void* subview, bool show) {
    if (subview)
        static_cast<ak::View*>(subview)->SetHidden(!show);
}

void ICanvasMac::ResizeNativeView(bool) {
    if (view)
        view->SetFrameSize(PanelViewSize(Width(), Height(), GetDrawScale()));
    UpdateTooltips();
}

bool ICanvasMac::IsDarkAppearance() const {
    return view && ak::Appearance::IsDark();
}

int ICanvasMac::SetCursorShape(int kind) {
    if (view)
        ICanvasView::SetMouseCursor(kind);
    return ICanvasVG::SetCursorShape(kind);
}
void ICanvasMac::EndTextEditing() {
    if (view)
        view->EndUserInput();
}
bool ICanvasMac::ReadClipboardText(VxString& out) {
    const std::optional<std::string> text = ak::Pasteboard::Text();
    out.SetBounded(text ? text->c_str() : "");
    return text.has_value();
}

bool ICanvasMac::WriteClipboardText(const char* utf8) {
    return ak::Pasteboard::SetText(utf8 ? utf8 : "");
}
bool ICanvasMac::WriteClipboardFilePath(const char* path) {
    if (!path || !*path)
        return false;
    return ak::Pasteboard::SetFilePaths({path});
}

bool ICanvasMac::BeginFileDragOut(const char* path, const IRECT&) {
    // Without a view, or with no file to drag, nothing starts.
    if (!view || !path || !*path)
        return false;
    view->BeginFileDrag({path});
    ClearMouseCapture();
    return true;
}

void ICanvasMac::UpdateTooltips() {
    if (!view || !TooltipsEnabled())
        return;
    view->RemoveAllToolTips();
    // No tooltips pop up over an open in-panel menu.
    if (const IPopupMenuControl* menu = GetPopupMenuControl(); menu && menu->GetState() > 0)
        return;
    for (int i = 0; i < NControls(); ++i) {
        const IControl* control = GetControl(i);
        const IRECT& r = control->GetTargetRECT();
        if (!control->IsHidden() && !(r.L == 0 && r.T == 0 && r.R == 0 && r.B == 0))
            view->RegisterToolTip(r);
    }
}
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
bool ICanvasMac::OpenInBrowser(const char* url) {
    const std::string text = url ? url : "";
    if (text.empty())
        return false;
    return StartsWithUriScheme(text) ? sys::OpenUri(text) : sys::OpenPath(text);
}

bool ICanvasMac::ShowInFinder(const VxString& path, bool select) {
    const std::string text = path.Get();
    if (text.empty())
        return false;
    return select ? sys::RevealPath(text) : sys::OpenPath(text);
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
