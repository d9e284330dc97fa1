#pragma once

#include "toolkit/IControl.h"
#include "toolkit/IResourceRecords.h"

namespace vx::ui {

// What bitmap controls share: the strip shown and its frame drawing.
class IBitmapBase {
public:
    IBitmapBase(IControl& owner, const IBitmapHandle& bitmap) : owner(&owner), bitmap(bitmap) {}
    virtual ~IBitmapBase() = default;

    // Draws the frame picked by value slot 0, centred in the owner's rectangle.
    void DrawBitmap(ICanvas& g);
    // Where DrawBitmap puts the frame.
    IRECT FrameRect() const;
    const IBitmapHandle& GetBitmap() const { return bitmap; }
    // One frame's size in panel units; an empty strip counts as one frame.
    int FrameW() const;
    int FrameH() const;

protected:
    IControl* owner;
    IBitmapHandle bitmap;
};

// A bitmap strip whose frame follows the value; reloads at the screen's scale.
class IBitmapControl : public IControl, public IBitmapBase {
public:
    IBitmapControl(float x, float y, const IBitmapHandle& bitmap, int paramIdx = -1,
                   int blendType = 0);

    void OnRescale() override;
    void Draw(ICanvas& g) override { DrawBitmap(g); }
    // The frame's rectangle when the image is opaque and drawn plainly.
    IRECT OpaqueBounds() const override;
};

} // namespace vx::ui
