#pragma once

namespace vx {

// One key event: the Windows virtual-key code (or 0), the character as UTF-8,
// and the shift, control and option modifiers.
struct IKeyPress {
    int VK = 0;
    char utf8[5] = {};
    bool S = false;
    bool C = false;
    bool A = false;
};

} // namespace vx
