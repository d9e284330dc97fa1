#include "pages/PageBuilder.h"

#include "controls/ITextControl.h"
#include "controls/IVButtonControl.h"
#include "pages/DeferredImage.h"
#include "platform/sys/Log.h"
#include "toolkit/IBitmapControl.h"
#include "toolkit/ICanvas.h"

#include <cassert>
#include <cstring>

namespace omnar::pages {

namespace {
void LogMissing(const char* name) {
    sys::LogError(std::string("the image ") + name + " is missing or unreadable");
}
} // namespace

vx::ui::IControl* PageBuilder::AttachControl(vx::ui::IControl* control, int tag,
                                             const char* group) {
    vx::ui::IControl* attached = canvas.AddControl(control, tag, group);
    assert(attached && "a tag of the panel is used twice");
    return attached;
}

vx::ui::ITextControl* PageBuilder::Text(const vx::ui::IRECT& bounds, const char* str,
                                        const vx::ui::IText& style, int tag, const char* group) {
    return Attach(new vx::ui::ITextControl(bounds, str, style, vx::ui::IColor(0, 0, 0, 0), false),
                  tag, group);
}

vx::ui::IControl* PageBuilder::Button(const vx::ui::IRECT& bounds, const char* label,
                                      const vx::ui::IVStyle& style, int tag, const char* group,
                                      std::function<void()> work) {
    vx::ui::IControl* button = Attach(
        new vx::ui::IVButtonControl(bounds, vx::ui::IControl::splashClickAction, label, style), tag,
        group);
    if (button && work)
        button->SetAnimationEndActionFunction([work](vx::ui::IControl*) { work(); });
    return button;
}

vx::ui::IControl* PageBuilder::Image(float x, float y, const char* name, int tag,
                                     const char* group) {
    return Attach(new vx::ui::IBitmapControl(x, y, Bitmap(name), -1, 0), tag, group);
}

vx::ui::IControl* PageBuilder::HiddenImage(float x, float y, const char* name, int tag,
                                           const char* group) {
    const char* dot = std::strrchr(name, '.');
    VxString path;
    int scale = 1;
    if (canvas.FindImageResource(name, dot ? dot + 1 : name, path, 1, scale) > 0 && scale > 0)
        if (const std::optional<ImageSize> size = ReadPngSize(path.Get())) {
            vx::ui::IBitmapHandle sized(nullptr, name, 1, false);
            sized.W = size->width / scale;
            sized.H = size->height / scale;
            return Attach(new DeferredImageControl(x, y, sized), tag, group);
        }
    return Image(x, y, name, tag, group);
}

vx::ui::IBitmapHandle PageBuilder::Bitmap(const char* name, int frames) {
    vx::ui::IBitmapHandle bitmap = canvas.LoadScaledBitmap(name, frames, false, 0);
    if (!bitmap.IsValid())
        LogMissing(name);
    return bitmap;
}

vx::ui::ISVGHandle PageBuilder::Svg(const char* name) {
    vx::ui::ISVGHandle svg = canvas.LoadSVG(name, "px", 72.f);
    if (!svg.IsValid())
        LogMissing(name);
    return svg;
}

vx::ui::IRECT FrameRect(float x, float y, const vx::ui::IBitmapHandle& bitmap) {
    return {x, y, x + float(bitmap.FrameWidth()), y + float(bitmap.FrameHeight())};
}

} // namespace omnar::pages
