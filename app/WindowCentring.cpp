#include "app/WindowCentring.h"

namespace shell {

Placement CentredPlacement(int editorWidth, int editorHeight, int screenWidth, int screenHeight,
                           int clientWidth, int clientHeight, int frameWidth, int frameHeight) {
    const int extraWidth = frameWidth - clientWidth;
    const int extraHeight = frameHeight - clientHeight;
    return {screenWidth / 2 - editorWidth / 2, screenHeight / 2 - editorHeight / 2 - extraHeight,
            editorWidth + extraWidth, editorHeight + extraHeight};
}

} // namespace shell
