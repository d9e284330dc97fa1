#pragma once

// Where the panel's controls stand, in panel units (1920 x 1200): the real
// layout run once in this process on a recording context, so a test names a
// control by its tag, its parameter or its group rather than by pixels.

#include <optional>
#include <string>
#include <vector>

namespace e2e {

struct PanelRect {
    float left = 0, top = 0, right = 0, bottom = 0;
    float CentreX() const { return (left + right) / 2; }
    float CentreY() const { return (top + bottom) / 2; }
};

struct PanelControl {
    PanelRect rect;
    int tag = -1;
    int param = -1;
    std::string group;
    std::string text; // a text control's text or a vector control's label
};

class PanelMap {
public:
    // The layout, built on first use.
    static const PanelMap& Get();

    // The first control in attach order that matches; a test that names a
    // control the layout lacks fails there.
    const PanelControl& ByTag(int tag) const;
    const PanelControl& ByParam(int param, const std::string& group) const;
    const PanelControl& ByText(const std::string& text, const std::string& group) const;
    // The controls of a group in attach order.
    std::vector<PanelControl> Group(const std::string& group) const;

private:
    std::vector<PanelControl> mControls;
};

} // namespace e2e
