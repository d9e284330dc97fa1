#pragma once

#include "toolkit/svg/SvgImage.h"
#include "toolkit/svg/SvgValues.h"

#include <string_view>
#include <vector>

namespace vx::ui::svg {

// Collects sub-paths of cubic segments in an element's own coordinates: lines
// and quadratics become exact cubics, elliptical arcs pieces of at most 45°.
class PathBuilder {
public:
    struct LocalPath {
        std::vector<double> pts; // start point, then three points per cubic
        bool closed = false;
    };

    void MoveTo(double x, double y);
    void LineTo(double x, double y);
    void CubicTo(double c1x, double c1y, double c2x, double c2y, double x, double y);
    void QuadTo(double qx, double qy, double x, double y);
    void ArcTo(double rx, double ry, double rotationDeg, bool largeArc, bool sweep, double x,
               double y);
    void Close();
    // A closed ellipse starting at 3 o'clock, drawn clockwise on screen.
    void AddEllipse(double cx, double cy, double rx, double ry);

    // The whole path grammar; throws BadValue on a malformed path.
    void AddPathData(std::string_view d);

    // Sub-paths with at least one segment.
    std::vector<LocalPath> Finish();

private:
    void EnsureStarted();

    std::vector<LocalPath> paths;
    LocalPath* current = nullptr;
    double curX = 0, curY = 0, startX = 0, startY = 0;
};

// Bounds of a cubic sub-path (x, y pairs): min x, min y, max x, max y of the curves.
void CubicBounds(const double* pts, int nPoints, double out[4]);

// Turns local sub-paths into image sub-paths through `xform`.
std::vector<Path> TransformPaths(const std::vector<PathBuilder::LocalPath>& local,
                                 const Xform& xform);

} // namespace vx::ui::svg
