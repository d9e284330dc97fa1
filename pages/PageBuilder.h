#pragma once

#include "pages/PageStyles.h"
#include "toolkit/IRECT.h"
#include "toolkit/IResourceRecords.h"

#include <functional>

namespace vx::ui {
class ICanvas;
class IControl;
class ITextControl;
} // namespace vx::ui

namespace omnar::pages {

// What every stretch of the layout shares: the context it fills, the styles,
// and the one way a control is attached.
class PageBuilder {
public:
    PageBuilder(vx::ui::ICanvas& canvas, const PageStyles& styles)
        : canvas(canvas), styles(styles) {}

    // The context owns the control from here on, attached or not; a refused
    // (duplicate) tag is a layout fault, so debug builds stop on it.
    template <class Control>
    Control* Attach(Control* control, int tag, const char* group) {
        return static_cast<Control*>(AttachControl(control, tag, group));
    }
    // A label with a transparent background, not sized to its text.
    vx::ui::ITextControl* Text(const vx::ui::IRECT& bounds, const char* str,
                               const vx::ui::IText& style, int tag, const char* group);
    // An image of the resources; an empty handle (and one line on stderr) when
    // it is missing or cannot be decoded.
    // A vector button keeping the click splash; `work` runs once the splash
    // has ended. No work: the button only splashes.
    vx::ui::IControl* Button(const vx::ui::IRECT& bounds, const char* label,
                             const vx::ui::IVStyle& style, int tag, const char* group,
                             std::function<void()> work = nullptr);
    // A bitmap at (x, y), one frame, no parameter.
    vx::ui::IControl* Image(float x, float y, const char* name, int tag, const char* group);
    // The same for an image whose group is hidden at start: decoded when first
    // drawn. A file whose size cannot be read is loaded at once, as by Image.
    vx::ui::IControl* HiddenImage(float x, float y, const char* name, int tag, const char* group);
    vx::ui::IBitmapHandle Bitmap(const char* name, int frames = 1);
    vx::ui::ISVGHandle Svg(const char* name);

    vx::ui::ICanvas& canvas;
    const PageStyles& styles;

private:
    vx::ui::IControl* AttachControl(vx::ui::IControl* control, int tag, const char* group);
};

// The rectangle of one frame of a bitmap with its top-left corner at (x, y).
vx::ui::IRECT FrameRect(float x, float y, const vx::ui::IBitmapHandle& bitmap);

} // namespace omnar::pages
