#pragma once

#include "platform/ak/Control.h"

#include <string>

namespace ak {

enum class BoxKind { Titled, HorizontalLine, VerticalLine, EtchedFrame };

// A titled group frame or an etched line or frame; draws only, takes no input.
class Box : public Control {
public:
    Box(Rect frame, BoxKind kind);

    BoxKind Kind() const { return m_kind; }
    const std::string& Title() const { return m_title; }
    void SetTitle(const std::string& title);
    void SetTitleCentered(bool centered);

private:
    BoxKind m_kind;
    std::string m_title;
};

} // namespace ak
