// Edit fields, labels and static texts.
#include "winlayer/controls/BuildState.h"
#include "winlayer/controls/ControlCalls.h"
#include "winlayer/controls/DialogControls.h"
#include "winlayer/controls/StyleBits.h"
#include "winlayer/window/WindowView.h"

#include <cstdlib>
#include <cstring>

using namespace winlayer;

namespace {

// Labels taller than this many dialog units wrap.
constexpr int kLabelOneLineHeight = 12;

ak::Ref<Wisp_vOmnarControl_textfield> NewLabel(ControlFrame frame, const char* caption) {
    auto label = ak::MakeRef<Wisp_vOmnarControl_textfield>(ToRect(frame), ak::TextFieldKind::Label);
    label->SetEditable(false);
    label->SetSelectable(false);
    ApplyScaleFont(*label);
    if (caption && *caption)
        label->SetText(CaptionText(caption));
    return label;
}

} // namespace

HWND WISP_MakeLabel(int alignment, const char* caption, int id, int x, int y, int w, int h,
                    int style) {
    ak::View* parent = BuildParent();
    if (!parent)
        return nullptr;
    auto label = NewLabel(ScaleControlRect(BuildParms(), x, y, w, h, ShiftRequest::Shift), caption);
    label->setWispStyle(style);
    label->SetAlignment(alignment < 0    ? ak::TextAlignment::Left
                        : alignment == 0 ? ak::TextAlignment::Center
                                         : ak::TextAlignment::Right);
    label->SetWraps(h > kLabelOneLineHeight);
    label->SetTag(id);
    const HWND handle = AddToParent(*parent, *label, style);
    if (BuildParms().sizeToFit == 1 && caption && std::strlen(caption) > 1)
        label->SizeToFit();
    MeasureShift(*label);
    return handle;
}

HWND WISP_MakeEditField(int id, int x, int y, int w, int h, int style) {
    ak::View* parent = BuildParent();
    if (!parent)
        return nullptr;
    const ControlFrame frame = ScaleControlRect(BuildParms(), x, y, w, h, ShiftRequest::Shift);
    // Multi-line fields are single-line entries here: GTK's text view is not
    // one of the layer's controls yet.
    auto field = ak::MakeRef<Wisp_vOmnarControl_textfield>(
        ToRect(frame),
        (style & ES_PASSWORD) ? ak::TextFieldKind::Secure : ak::TextFieldKind::Editable);
    field->setWispStyle(style);
    field->SetEditable(!(style & ES_READONLY));
    field->SetSelectable(true);
    ApplyScaleFont(*field);
    field->SetAlignment((style & ES_CENTER)  ? ak::TextAlignment::Center
                        : (style & ES_RIGHT) ? ak::TextAlignment::Right
                                             : ak::TextAlignment::Left);
    field->SetTag(id);
    const HWND handle = AddToParent(*parent, *field, style);
    MeasureShift(*field);
    return handle;
}

namespace winlayer {

HWND MakeStaticClass(const char* caption, int id, int style, int x, int y, int w, int h) {
    ak::View* parent = BuildParent();
    if (!parent)
        return nullptr;
    const int kind = style & 0x1F;
    if (kind == SS_ETCHEDHORZ || kind == SS_ETCHEDVERT || kind == SS_ETCHEDFRAME) {
        const ControlFrame frame = ScaleControlRect(BuildParms(), x, y, w, h, ShiftRequest::None);
        auto box = ak::MakeRef<Wisp_vOmnarControl_box>(ToRect(frame), kind);
        box->SetTag(id);
        parent->AddSubview(box.Get());
        return HandleOf(box.Get());
    }
    // Static texts shift and record, but are not measured afterwards.
    auto text = NewLabel(ScaleControlRect(BuildParms(), x, y, w, h, ShiftRequest::Shift), caption);
    text->setWispStyle(style);
    text->SetAlignment(kind == SS_CENTER  ? ak::TextAlignment::Center
                       : kind == SS_RIGHT ? ak::TextAlignment::Right
                                          : ak::TextAlignment::Left);
    text->SetWraps(kind != SS_LEFTNOWORDWRAP);
    text->SetTag(id);
    if (kind == SS_BLACKRECT)
        text->SetHidden(true);
    return AddToParent(*parent, *text, style);
}

} // namespace winlayer
