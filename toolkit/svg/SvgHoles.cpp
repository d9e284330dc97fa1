#include "toolkit/svg/SvgHoles.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace vx::ui::svg {

namespace {

struct Ray {
    double x, y, dx, dy;
};

// Whether the ray can reach the box; the box grows a little, so points that
// rounding put just outside the curve bounds still count.
bool RayMeetsBox(const Ray& ray, const float* bounds) {
    const double margin =
        1e-3 * (1.0 + std::fabs(bounds[2] - bounds[0]) + std::fabs(bounds[3] - bounds[1]));
    // Most boxes lie behind the ray's start on one axis: cheap to turn away.
    if ((ray.dx <= 0 && bounds[0] - margin > ray.x) ||
        (ray.dx >= 0 && bounds[2] + margin < ray.x) ||
        (ray.dy <= 0 && bounds[1] - margin > ray.y) || (ray.dy >= 0 && bounds[3] + margin < ray.y))
        return false;
    double enter = 0.0, leave = std::numeric_limits<double>::infinity();
    const double origin[2] = {ray.x, ray.y}, direction[2] = {ray.dx, ray.dy};
    for (int axis = 0; axis < 2; ++axis) {
        const double low = bounds[axis] - margin, high = bounds[axis + 2] + margin;
        if (std::fabs(direction[axis]) < 1e-12) {
            if (origin[axis] < low || origin[axis] > high)
                return false;
            continue;
        }
        double t0 = (low - origin[axis]) / direction[axis];
        double t1 = (high - origin[axis]) / direction[axis];
        if (t0 > t1)
            std::swap(t0, t1);
        enter = std::max(enter, t0);
        leave = std::min(leave, t1);
        if (enter > leave)
            return false;
    }
    return true;
}

// How often the ray crosses the outline of `other`: its chords between
// on-curve points, closing chord included.
int Crossings(const Ray& ray, const Path& other) {
    const int n = other.NPoints();
    if (n < 4)
        return 0;
    const float* q = other.pts.data();
    int count = 0;
    for (int i = 1; i < n + 3; i += 3) {
        const int a = i - 1, b = i + 2 >= n ? 0 : i + 2;
        const double ex = q[2 * b] - q[2 * a], ey = q[2 * b + 1] - q[2 * a + 1];
        const double bx = q[2 * a] - ray.x, by = q[2 * a + 1] - ray.y;
        const double m = ray.dx * ey - ray.dy * ex;
        if (std::fabs(m) >= 1e-8) {
            const double u = -(ray.dx * by - ray.dy * bx) / m;
            const double t = (bx * ey - by * ex) / m;
            if (u >= 0 && u < 1 && t >= 0)
                ++count;
        }
        if (i + 2 >= n)
            break;
    }
    return count;
}

// The ray leaves from the path's first point towards just beyond the top-left
// corner of its bounds.
Ray RayOutOf(const Path& path) {
    const double x = path.pts[0], y = path.pts[1];
    return {x, y, path.bounds[0] - 1.0 - x, path.bounds[1] - 1.0 - y};
}

void ClassifyShape(Shape& shape) {
    for (std::size_t i = 0; i < shape.paths.size(); ++i) {
        Path& path = shape.paths[i];
        if (path.pts.size() < 2)
            continue;
        const Ray ray = RayOutOf(path);
        int crossings = 0;
        for (std::size_t j = 0; j < shape.paths.size(); ++j) {
            if (j != i && RayMeetsBox(ray, shape.paths[j].bounds))
                crossings += Crossings(ray, shape.paths[j]);
        }
        path.hole = crossings % 2 == 1;
    }
}

} // namespace

void ClassifyHoles(Image& image) {
    for (Shape& shape : image.shapes) {
        if (shape.paths.size() > 1)
            ClassifyShape(shape);
    }
}

} // namespace vx::ui::svg
