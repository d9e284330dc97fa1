#pragma once

#include "framework/VxString.h"
#include "toolkit/IContainerBase.h"
#include "toolkit/IControl.h"
#include "toolkit/IResourceRecords.h"
#include "toolkit/IVectorBase.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

namespace vx::ui {

// Two values set by dragging a handle over a square area; y grows upwards.
class IVXYPadControl : public IControl, public IVectorBase {
public:
    IVXYPadControl(const IRECT& bounds, std::initializer_list<int> params, const char* label = "",
                   const IVStyle& style = kDefaultStyle, float handleRadius = 10.f,
                   bool handleClippedToPad = false, bool drawCrossHair = true);

    void Draw(ICanvas& g) override;
    void DrawControlBody(ICanvas& g) override;
    void OnMouseDown(float x, float y, const IMouseMod& mod) override;
    void OnMouseUp(float x, float y, const IMouseMod& mod) override;
    void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;
    void OnResize() override;

private:
    float handleRadius;
    bool mouseDown = false;
    bool handleClippedToPad;
    bool drawCrossHair;
};

// Curves of functions of x in 0..1 over a grid.
class IVPlotControl : public IControl, public IVectorBase {
public:
    struct Plot {
        IColor color;
        std::function<double(double)> func;
    };

    IVPlotControl(const IRECT& bounds, std::initializer_list<Plot> plots, int numPoints,
                  const char* label = "", const IVStyle& style = kDefaultStyle, float min = -1.f,
                  float max = 1.f, bool useLayer = false);

    void AddPlotFunc(const IColor& color, std::function<double(double)> func);
    void Draw(ICanvas& g) override;
    void DrawControlBody(ICanvas& g) override;
    void OnResize() override;
    // Sample j of the points lies at this x.
    double SampleX(int j) const;

private:
    ILayerPtr layer;
    std::vector<Plot> plots;
    float min;
    float max;
    bool useLayer;
    int horizontalDivisions = 10;
    int verticalDivisions = 10;
    std::vector<float> points;
};

// A labelled frame around a group of controls.
class IVGroupControl : public IContainerBase, public IVectorBase {
public:
    IVGroupControl(const IRECT& bounds, const char* label = "",
                   const IVStyle& style = kDefaultStyle, IContainerFunc attach = nullptr,
                   IContainerFunc resize = nullptr, float labelOffset = 10.f);
    IVGroupControl(const char* label, const char* groupName, const IVStyle& style = kDefaultStyle,
                   float padL = 0.f, float padT = 0.f, float padR = 0.f, float padB = 0.f);

    void Draw(ICanvas& g) override;
    void OnInit() override;
    void OnResize() override;
    void SetBoundsBasedOnGroup(const char* groupName, float padL, float padT, float padR,
                               float padB);

private:
    VxString groupName;
    float padL = 0.f, padT = 0.f, padR = 0.f, padB = 0.f;
    float labelOffset = 10.f;
    float labelMargin = 10.f;
};

// A grid of colour cells, each editing one entry of the style's colours.
class IVColorSwatchControl : public IControl, public IVectorBase {
public:
    using ColorChangedFunc = std::function<void(int cell, const IColor& color)>;
    enum ELayout { kGrid = 0, kRow = 1, kColumn = 2 };

    IVColorSwatchControl(const IRECT& bounds, const char* label = "",
                         ColorChangedFunc func = nullptr, const IVStyle& style = kDefaultStyle,
                         int layout = kGrid,
                         std::initializer_list<int> colorIndexes = {kBG, kFG, kPR, kFR, kHL, kSH,
                                                                    kX1, kX2, kX3},
                         std::initializer_list<const char*> labels = {});

    void Draw(ICanvas& g) override;
    void OnMouseDown(float x, float y, const IMouseMod& mod) override;
    void OnMouseOver(float x, float y, const IMouseMod& mod) override;
    void OnMouseOut() override;
    void OnResize() override;

    int NCells() const { return static_cast<int>(colorIndexes.size()); }
    const IRECT& GetCellBounds(int i) const { return cellBounds[static_cast<size_t>(i)]; }
    int GetMouseOverCell() const { return mouseOverCell; }

private:
    int CellAt(float x, float y) const;
    // A colour index outside the style's set has nothing to show or edit.
    bool CellEditable(int i) const;
    void Pick(int cell, const IColor& color);

    ColorChangedFunc colorChangedFunc;
    // A picker answering after the swatch is gone finds this expired.
    std::shared_ptr<IVColorSwatchControl*> self = std::make_shared<IVColorSwatchControl*>(this);
    int mouseOverCell = -1;
    int layout;
    std::vector<IRECT> cellBounds;
    std::vector<std::unique_ptr<VxString>> cellLabels;
    std::vector<int> colorIndexes;
};

} // namespace vx::ui
