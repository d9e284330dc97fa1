#include "winlayer/window/NativeText.h"

#include "platform/ak/Box.h"
#include "platform/ak/Button.h"
#include "platform/ak/ComboBox.h"
#include "platform/ak/TextField.h"
#include "platform/ak/TextView.h"
#include "platform/ak/Window.h"

namespace winlayer {

std::optional<std::string> NativeText(ak::Responder* object) {
    if (auto* window = dynamic_cast<ak::Window*>(object))
        return window->Title();
    if (auto* button = dynamic_cast<ak::Button*>(object))
        return button->Title();
    if (auto* box = dynamic_cast<ak::Box*>(object))
        return box->Title();
    if (auto* field = dynamic_cast<ak::TextField*>(object))
        return field->Text();
    if (auto* combo = dynamic_cast<ak::ComboBox*>(object))
        return combo->Text();
    if (auto* text = dynamic_cast<ak::TextView*>(object))
        return text->Text();
    return std::nullopt;
}

bool SetNativeText(ak::Responder* object, const std::string& text) {
    if (auto* window = dynamic_cast<ak::Window*>(object))
        window->SetTitle(text);
    else if (auto* button = dynamic_cast<ak::Button*>(object))
        button->SetTitle(text);
    else if (auto* box = dynamic_cast<ak::Box*>(object))
        box->SetTitle(text);
    else if (auto* field = dynamic_cast<ak::TextField*>(object))
        field->SetText(text);
    else if (auto* combo = dynamic_cast<ak::ComboBox*>(object))
        combo->SetText(text);
    else if (auto* view = dynamic_cast<ak::TextView*>(object))
        view->SetText(text);
    else
        return false;
    return true;
}

} // namespace winlayer
