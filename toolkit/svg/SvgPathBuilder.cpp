#include "toolkit/svg/SvgPathBuilder.h"

#include <algorithm>
#include <cmath>

namespace vx::ui::svg {

namespace {

constexpr double kPi = 3.14159265358979323846;

bool IsCommand(char c) {
    switch (c) {
    case 'M':
    case 'm':
    case 'L':
    case 'l':
    case 'H':
    case 'h':
    case 'V':
    case 'v':
    case 'C':
    case 'c':
    case 'S':
    case 's':
    case 'Q':
    case 'q':
    case 'T':
    case 't':
    case 'A':
    case 'a':
    case 'Z':
    case 'z':
        return true;
    default:
        return false;
    }
}

double VectorAngle(double ux, double uy, double vx, double vy) {
    return std::atan2(ux * vy - uy * vx, ux * vx + uy * vy);
}

void Extend(double v, double& lo, double& hi) {
    lo = std::min(lo, v);
    hi = std::max(hi, v);
}

// Extremes of one coordinate of a cubic at the roots of its derivative.
void CubicExtremes(double p0, double p1, double p2, double p3, double& lo, double& hi) {
    const double a = -p0 + 3 * p1 - 3 * p2 + p3;
    const double b = 2 * (p0 - 2 * p1 + p2);
    const double c = p1 - p0;
    auto at = [&](double t) {
        const double u = 1 - t;
        return u * u * u * p0 + 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t * p3;
    };
    auto consider = [&](double t) {
        if (t > 0 && t < 1)
            Extend(at(t), lo, hi);
    };
    if (std::fabs(a) < 1e-12) {
        if (std::fabs(b) > 1e-12)
            consider(-c / b);
        return;
    }
    const double disc = b * b - 4 * a * c;
    if (disc < 0)
        return;
    const double root = std::sqrt(disc);
    consider((-b + root) / (2 * a));
    consider((-b - root) / (2 * a));
}

} // namespace

void PathBuilder::EnsureStarted() {
    if (!current) {
        paths.push_back({{curX, curY}, false});
        current = &paths.back();
    }
}

void PathBuilder::MoveTo(double x, double y) {
    paths.push_back({{x, y}, false});
    current = &paths.back();
    curX = startX = x;
    curY = startY = y;
}

void PathBuilder::LineTo(double x, double y) {
    const double dx = x - curX, dy = y - curY;
    CubicTo(curX + dx / 3, curY + dy / 3, curX + 2 * dx / 3, curY + 2 * dy / 3, x, y);
}

void PathBuilder::CubicTo(double c1x, double c1y, double c2x, double c2y, double x, double y) {
    EnsureStarted();
    current->pts.insert(current->pts.end(), {c1x, c1y, c2x, c2y, x, y});
    curX = x;
    curY = y;
}

void PathBuilder::QuadTo(double qx, double qy, double x, double y) {
    CubicTo(curX + 2.0 / 3.0 * (qx - curX), curY + 2.0 / 3.0 * (qy - curY),
            x + 2.0 / 3.0 * (qx - x), y + 2.0 / 3.0 * (qy - y), x, y);
}

// Endpoint to centre parameterisation of the SVG implementation notes.
void PathBuilder::ArcTo(double rx, double ry, double rotationDeg, bool largeArc, bool sweep,
                        double x, double y) {
    rx = std::fabs(rx);
    ry = std::fabs(ry);
    const double x1 = curX, y1 = curY;
    if (x1 == x && y1 == y)
        return;
    if (rx == 0 || ry == 0) {
        LineTo(x, y);
        return;
    }
    const double phi = rotationDeg / 180.0 * kPi;
    const double cosPhi = std::cos(phi), sinPhi = std::sin(phi);
    const double dx2 = (x1 - x) / 2, dy2 = (y1 - y) / 2;
    const double x1p = cosPhi * dx2 + sinPhi * dy2;
    const double y1p = -sinPhi * dx2 + cosPhi * dy2;
    const double lambda = (x1p * x1p) / (rx * rx) + (y1p * y1p) / (ry * ry);
    if (lambda > 1) {
        rx *= std::sqrt(lambda);
        ry *= std::sqrt(lambda);
    }
    const double num = rx * rx * ry * ry - rx * rx * y1p * y1p - ry * ry * x1p * x1p;
    const double den = rx * rx * y1p * y1p + ry * ry * x1p * x1p;
    double coef = den > 0 ? std::sqrt(std::max(0.0, num / den)) : 0.0;
    if (largeArc == sweep)
        coef = -coef;
    const double cxp = coef * rx * y1p / ry;
    const double cyp = -coef * ry * x1p / rx;
    const double cx = cosPhi * cxp - sinPhi * cyp + (x1 + x) / 2;
    const double cy = sinPhi * cxp + cosPhi * cyp + (y1 + y) / 2;
    const double ux = (x1p - cxp) / rx, uy = (y1p - cyp) / ry;
    const double vx = (-x1p - cxp) / rx, vy = (-y1p - cyp) / ry;
    const double theta1 = VectorAngle(1, 0, ux, uy);
    double delta = VectorAngle(ux, uy, vx, vy);
    if (!sweep && delta > 0)
        delta -= 2 * kPi;
    else if (sweep && delta < 0)
        delta += 2 * kPi;
    if (!std::isfinite(delta) || !std::isfinite(cx) || !std::isfinite(cy)) {
        LineTo(x, y);
        return;
    }
    const int segments =
        std::max(1, static_cast<int>(std::ceil(std::fabs(delta) / (kPi / 4) - 1e-9)));
    const double step = delta / segments;
    const double k = 4.0 / 3.0 * std::tan(step / 4);
    auto point = [&](double t, double& px, double& py, double& tx, double& ty) {
        const double ct = std::cos(t), st = std::sin(t);
        px = cx + rx * ct * cosPhi - ry * st * sinPhi;
        py = cy + rx * ct * sinPhi + ry * st * cosPhi;
        tx = -rx * st * cosPhi - ry * ct * sinPhi;
        ty = -rx * st * sinPhi + ry * ct * cosPhi;
    };
    double px = 0, py = 0, tx = 0, ty = 0;
    point(theta1, px, py, tx, ty);
    for (int i = 1; i <= segments; ++i) {
        double qx = 0, qy = 0, sx = 0, sy = 0;
        point(theta1 + step * i, qx, qy, sx, sy);
        if (i == segments) {
            qx = x;
            qy = y;
        }
        CubicTo(px + k * tx, py + k * ty, qx - k * sx, qy - k * sy, qx, qy);
        px = qx, py = qy, tx = sx, ty = sy;
    }
}

void PathBuilder::Close() {
    if (!current)
        return;
    if (curX != startX || curY != startY)
        LineTo(startX, startY);
    current->closed = true;
    current = nullptr;
    curX = startX;
    curY = startY;
}

void PathBuilder::AddEllipse(double cx, double cy, double rx, double ry) {
    MoveTo(cx + rx, cy);
    ArcTo(rx, ry, 0, false, true, cx - rx, cy);
    ArcTo(rx, ry, 0, false, true, cx + rx, cy);
    Close();
}

void PathBuilder::AddPathData(std::string_view d) {
    Scanner sc(d);
    char cmd = 0;
    char previous = 0;
    double lastCtrlX = 0, lastCtrlY = 0;
    sc.SkipSpace();
    while (!sc.AtEnd()) {
        const char c = sc.Peek();
        if (IsCommand(c)) {
            cmd = c;
            sc.Advance();
            sc.SkipSpace();
        } else if (cmd == 0 || cmd == 'Z' || cmd == 'z' || !sc.NumberAhead()) {
            throw BadValue("malformed path data");
        }
        if (previous == 0 && cmd != 'M' && cmd != 'm')
            throw BadValue("path data must begin with a move");
        const bool rel = cmd >= 'a';
        const double ox = rel ? curX : 0, oy = rel ? curY : 0;
        auto num = [&] {
            const double v = sc.Number();
            sc.SkipCommaSpace();
            return v;
        };
        auto flag = [&] {
            const bool v = sc.Flag();
            sc.SkipCommaSpace();
            return v;
        };
        const char upper = rel ? static_cast<char>(cmd - 'a' + 'A') : cmd;
        switch (upper) {
        case 'M': {
            const double x = num() + ox, y = num() + oy;
            MoveTo(x, y);
            cmd = rel ? 'l' : 'L'; // further pairs are lines
            break;
        }
        case 'L': {
            const double x = num() + ox, y = num() + oy;
            LineTo(x, y);
            break;
        }
        case 'H':
            LineTo(num() + ox, curY);
            break;
        case 'V':
            LineTo(curX, num() + oy);
            break;
        case 'C': {
            const double c1x = num() + ox, c1y = num() + oy, c2x = num() + ox, c2y = num() + oy;
            const double x = num() + ox, y = num() + oy;
            CubicTo(c1x, c1y, c2x, c2y, x, y);
            lastCtrlX = c2x, lastCtrlY = c2y;
            break;
        }
        case 'S': {
            const bool smooth = previous == 'C' || previous == 'S';
            const double c1x = smooth ? 2 * curX - lastCtrlX : curX;
            const double c1y = smooth ? 2 * curY - lastCtrlY : curY;
            const double c2x = num() + ox, c2y = num() + oy, x = num() + ox, y = num() + oy;
            CubicTo(c1x, c1y, c2x, c2y, x, y);
            lastCtrlX = c2x, lastCtrlY = c2y;
            break;
        }
        case 'Q': {
            const double qx = num() + ox, qy = num() + oy, x = num() + ox, y = num() + oy;
            QuadTo(qx, qy, x, y);
            lastCtrlX = qx, lastCtrlY = qy;
            break;
        }
        case 'T': {
            const bool smooth = previous == 'Q' || previous == 'T';
            const double qx = smooth ? 2 * curX - lastCtrlX : curX;
            const double qy = smooth ? 2 * curY - lastCtrlY : curY;
            const double x = num() + ox, y = num() + oy;
            QuadTo(qx, qy, x, y);
            lastCtrlX = qx, lastCtrlY = qy;
            break;
        }
        case 'A': {
            const double rx = num(), ry = num(), rot = num();
            const bool large = flag(), sweep = flag();
            const double x = num() + ox, y = num() + oy;
            ArcTo(rx, ry, rot, large, sweep, x, y);
            break;
        }
        case 'Z':
            Close();
            break;
        }
        previous = upper == 'M' ? 'M' : upper;
        sc.SkipCommaSpace();
    }
}

std::vector<PathBuilder::LocalPath> PathBuilder::Finish() {
    std::vector<LocalPath> out;
    for (LocalPath& p : paths)
        if (p.pts.size() >= 8)
            out.push_back(std::move(p));
    paths.clear();
    current = nullptr;
    return out;
}

void CubicBounds(const double* pts, int nPoints, double out[4]) {
    out[0] = out[2] = pts[0];
    out[1] = out[3] = pts[1];
    for (int i = 1; i + 2 < nPoints; i += 3) {
        const double* p = pts + (i - 1) * 2;
        Extend(p[6], out[0], out[2]);
        Extend(p[7], out[1], out[3]);
        CubicExtremes(p[0], p[2], p[4], p[6], out[0], out[2]);
        CubicExtremes(p[1], p[3], p[5], p[7], out[1], out[3]);
    }
}

std::vector<Path> TransformPaths(const std::vector<PathBuilder::LocalPath>& local,
                                 const Xform& xform) {
    std::vector<Path> out;
    out.reserve(local.size());
    std::vector<double> pts;
    for (const PathBuilder::LocalPath& lp : local) {
        pts = lp.pts;
        for (size_t i = 0; i + 1 < pts.size(); i += 2)
            xform.Apply(pts[i], pts[i + 1]);
        for (double v : pts)
            if (!std::isfinite(v) || std::fabs(v) > 1e30)
                throw BadValue("coordinates out of range");
        Path path;
        path.closed = lp.closed;
        path.pts.assign(pts.begin(), pts.end());
        double b[4];
        CubicBounds(pts.data(), static_cast<int>(pts.size() / 2), b);
        for (int i = 0; i < 4; ++i)
            path.bounds[i] = static_cast<float>(b[i]);
        out.push_back(std::move(path));
    }
    return out;
}

} // namespace vx::ui::svg
