#include "toolkit/svg/SvgImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

using namespace vx::ui::svg;

std::string Doc(const std::string& body,
                const std::string& rootAttrs = R"~(width="100" height="100")~") {
    return R"~(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" )~" +
           rootAttrs + ">" + body + "</svg>";
}

// Every sub-path has a start point and three points per cubic, and its bounds
// are those of the curve: every sampled point lies inside, and the extremes
// of the samples reach the bounds.
void ExpectWellFormed(const Image& image, const std::string& what) {
    for (const Shape& shape : image.shapes)
        for (const Path& p : shape.paths) {
            ASSERT_GE(p.NPoints(), 4) << what;
            ASSERT_EQ((p.NPoints() - 1) % 3, 0) << what;
            float lo[2] = {p.pts[0], p.pts[1]}, hi[2] = {p.pts[0], p.pts[1]};
            for (int i = 0; i + 3 < p.NPoints(); i += 3)
                for (int k = 0; k <= 64; ++k) {
                    const float t = float(k) / 64.f, u = 1.f - t;
                    for (int axis = 0; axis < 2; ++axis) {
                        const float* c = &p.pts[size_t(2 * i + axis)];
                        const float v = u * u * u * c[0] + 3 * u * u * t * c[2] +
                                        3 * u * t * t * c[4] + t * t * t * c[6];
                        lo[axis] = std::min(lo[axis], v);
                        hi[axis] = std::max(hi[axis], v);
                    }
                }
            for (int axis = 0; axis < 2; ++axis) {
                const float tol = 1e-3f * std::max(1.f, hi[axis] - lo[axis]);
                EXPECT_NEAR(p.bounds[axis], lo[axis], tol) << what;
                EXPECT_NEAR(p.bounds[2 + axis], hi[axis], tol) << what;
                EXPECT_LE(p.bounds[axis], lo[axis] + 1e-4f) << what;
                EXPECT_GE(p.bounds[2 + axis], hi[axis] - 1e-4f) << what;
            }
        }
}

std::unique_ptr<Image> ParseOk(const std::string& text, const char* units = "px") {
    ParseResult r = Parse(text.data(), text.size(), units, 72.f);
    EXPECT_TRUE(r.image) << r.error << "\n" << text;
    if (r.image)
        ExpectWellFormed(*r.image, text);
    return std::move(r.image);
}

// The on-curve points of the first sub-path of the first shape, as "x,y" texts.
std::vector<std::string> Nodes(const Image& image, int shape = 0, int path = 0) {
    std::vector<std::string> out;
    const Path& p = image.shapes.at(size_t(shape)).paths.at(size_t(path));
    for (int i = 0; i < p.NPoints(); i += 3) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%g,%g", std::round(p.pts[2 * i] * 1000) / 1000 + 0.0,
                      std::round(p.pts[2 * i + 1] * 1000) / 1000 + 0.0);
        out.push_back(buf);
    }
    return out;
}

TEST(SvgParser, PathCommandTable) {
    struct Case {
        const char* d;
        std::vector<std::string> nodes;
        bool closed;
    };
    const Case cases[] = {
        {"M10 10 L20 10 L20 20", {"10,10", "20,10", "20,20"}, false},
        {"m10 10 l10 0 l0 10z", {"10,10", "20,10", "20,20", "10,10"}, true},
        {"M10 10 H30 V20 h-5 v5", {"10,10", "30,10", "30,20", "25,20", "25,25"}, false},
        {"M0,0 10,0 10,10", {"0,0", "10,0", "10,10"}, false}, // implicit lines after a move
        {"m1 1 2 0 0 2", {"1,1", "3,1", "3,3"}, false},
        {"M0 0C0 10 10 10 10 0S20 -10 20 0", {"0,0", "10,0", "20,0"}, false},
        {"M0 0Q5 10 10 0T20 0", {"0,0", "10,0", "20,0"}, false},
        {"M0 0q5 10 10 0t10 0", {"0,0", "10,0", "20,0"}, false},
        {"M.5.5L1.5-1.5", {"0.5,0.5", "1.5,-1.5"}, false}, // packed numbers
        {"M0 0L1e1 2E0", {"0,0", "10,2"}, false},
        {"M0 0 A10 10 0 0 1 20 0",
         {"0,0", "2.929,-7.071", "10,-10", "17.071,-7.071", "20,0"},
         false},
        {"M0 0a10 10 0 1020 0", {"0,0", "2.929,7.071", "10,10", "17.071,7.071", "20,0"}, false},
        {"M0 0 A0 10 0 0 1 20 0", {"0,0", "20,0"}, false}, // zero radius: a line
    };
    for (const Case& c : cases) {
        const auto image = ParseOk(Doc(std::string("<path d=\"") + c.d + "\"/>"));
        ASSERT_TRUE(image) << c.d;
        ASSERT_EQ(image->shapes.size(), 1u) << c.d;
        EXPECT_EQ(Nodes(*image), c.nodes) << c.d;
        EXPECT_EQ(image->shapes[0].paths[0].closed, c.closed) << c.d;
    }
}

TEST(SvgParser, LinesAndQuadraticsAreExactCubics) {
    const auto image = ParseOk(Doc(R"~(<path d="M0 0 L30 0 Q45 30 60 0"/>)~"));
    const std::vector<float>& p = image->shapes[0].paths[0].pts;
    const std::vector<float> expected = {0, 0, 10, 0, 20, 0, 30, 0, 40, 20, 50, 20, 60, 0};
    ASSERT_EQ(p.size(), expected.size());
    for (size_t i = 0; i < p.size(); ++i)
        EXPECT_NEAR(p[i], expected[i], 1e-4) << i;
    const float* b = image->shapes[0].paths[0].bounds;
    EXPECT_NEAR(b[3], 15.f, 1e-4); // the curve's peak, not its control point's 20
}

TEST(SvgParser, ArcsAndCirclesStayOnTheCircle) {
    const auto image = ParseOk(Doc(R"~(<circle cx="50" cy="40" r="30"/>
        <path d="M20 40 A30 30 0 1 1 80 40"/><ellipse cx="50" cy="40" rx="30" ry="30"/>)~"));
    ASSERT_EQ(image->shapes.size(), 3u);
    for (const Shape& shape : image->shapes) {
        const std::vector<float>& p = shape.paths[0].pts;
        for (size_t i = 0; i + 7 < p.size(); i += 6)
            for (double t = 0; t <= 1.0; t += 0.05) {
                const double u = 1 - t;
                const double x = u * u * u * p[i] + 3 * u * u * t * p[i + 2] +
                                 3 * u * t * t * p[i + 4] + t * t * t * p[i + 6];
                const double y = u * u * u * p[i + 1] + 3 * u * u * t * p[i + 3] +
                                 3 * u * t * t * p[i + 5] + t * t * t * p[i + 7];
                EXPECT_NEAR(std::hypot(x - 50, y - 40), 30.0, 1e-3);
            }
    }
    const float* b = image->shapes[0].paths[0].bounds;
    EXPECT_NEAR(b[0], 20.f, 1e-3);
    EXPECT_NEAR(b[1], 10.f, 1e-3);
    EXPECT_NEAR(b[2], 80.f, 1e-3);
    EXPECT_NEAR(b[3], 70.f, 1e-3);
    EXPECT_TRUE(image->shapes[0].paths[0].closed);
}

TEST(SvgParser, BasicShapes) {
    struct Case {
        const char* element;
        std::vector<std::string> nodes;
        bool closed;
    };
    const Case cases[] = {
        {R"~(<rect x="10" y="20" width="30" height="40"/>)~",
         {"10,20", "40,20", "40,60", "10,60", "10,20"},
         true},
        {R"~(<rect x="0" y="0" width="20" height="10" rx="4"/>)~", // ry follows rx
         {"4,0", "16,0", "18.828,1.172", "20,4", "20,6", "18.828,8.828", "16,10", "4,10",
          "1.172,8.828", "0,6", "0,4", "1.172,1.172", "4,0"},
         true},
        {R"~(<rect x="0" y="0" width="20" height="10" ry="30"/>)~", // clamped to half the size
         {"10,0", "10,0", "17.071,1.464", "20,5", "20,5", "17.071,8.536", "10,10", "10,10",
          "2.929,8.536", "0,5", "0,5", "2.929,1.464", "10,0"},
         true},
        {R"~(<line x1="1" y1="2" x2="3" y2="4"/>)~", {"1,2", "3,4"}, false},
        {R"~(<polyline points="0,0 10,0 10 10"/>)~", {"0,0", "10,0", "10,10"}, false},
        {R"~(<polygon points="0,0 10,0 10,10"/>)~", {"0,0", "10,0", "10,10", "0,0"}, true},
        {R"~(<rect x="10" y="10" width="50%" height="10%"/>)~",
         {"10,10", "60,10", "60,20", "10,20", "10,10"},
         true},
    };
    for (const Case& c : cases) {
        const auto image = ParseOk(Doc(c.element));
        ASSERT_TRUE(image && image->shapes.size() == 1) << c.element;
        EXPECT_EQ(Nodes(*image), c.nodes) << c.element;
        EXPECT_EQ(image->shapes[0].paths[0].closed, c.closed) << c.element;
    }
    // Shapes of no size are left out.
    EXPECT_TRUE(ParseOk(Doc(R"~(<rect width="0" height="5"/><circle r="0"/><polygon points=""/>)~"))
                    ->shapes.empty());
}

TEST(SvgParser, TransformsCompose) {
    struct Case {
        const char* transform;
        std::string node; // where the local point (10, 0) ends up
    };
    const Case cases[] = {
        {"translate(5)", "15,0"},
        {"translate(5 6)", "15,6"},
        {"scale(2)", "20,0"},
        {"scale(2,3)", "20,0"},
        {"rotate(90)", "0,10"},
        {"rotate(90 10 10)", "20,10"},
        {"skewY(45)", "10,10"},
        {"skewX(45)", "10,0"},
        {"matrix(1 2 3 4 5 6)", "15,26"},
        {"translate(100,0) scale(2)", "120,0"}, // the rightmost acts first
    };
    for (const Case& c : cases) {
        const auto image = ParseOk(Doc(std::string("<g transform=\"") + c.transform +
                                       "\"><path d=\"M10 0 L10 0.001\"/></g>"));
        ASSERT_TRUE(image) << c.transform;
        EXPECT_EQ(Nodes(*image).front(), c.node) << c.transform;
    }
    // Nested groups: the outer transform acts last.
    const auto nested = ParseOk(Doc(
        R"~(<g transform="translate(100 0)"><g transform="scale(3)"><path d="M1 1 L2 2"/></g></g>)~"));
    EXPECT_EQ(Nodes(*nested), (std::vector<std::string>{"103,3", "106,6"}));
}

TEST(SvgParser, StrokeWidthAndDashesFollowTheScale) {
    const auto image = ParseOk(Doc(R"~(<g transform="scale(2 8)">
        <path d="M0 0 L10 0" stroke="black" stroke-width="3" stroke-dasharray="1 2 3"
              stroke-dashoffset="1"/></g>
        <path d="M0 0 L10 0" stroke-dasharray="1,2,3,4,5,6,7,8,9,10"/>
        <path d="M0 0 L10 0" stroke-dasharray="0 0"/>
        <path d="M0 0 L10 0" stroke-dasharray="2 -1"/>)~"));
    ASSERT_EQ(image->shapes.size(), 4u);
    const Shape& s = image->shapes[0];
    EXPECT_FLOAT_EQ(s.strokeWidth, 12.f); // sqrt(16) = 4
    EXPECT_FLOAT_EQ(s.strokeDashOffset, 4.f);
    ASSERT_EQ(s.strokeDashCount, 6); // an odd list repeats
    const float dashes[] = {4, 8, 12, 4, 8, 12};
    for (int i = 0; i < 6; ++i)
        EXPECT_FLOAT_EQ(s.strokeDashArray[i], dashes[i]);
    EXPECT_EQ(image->shapes[1].strokeDashCount, 8);
    EXPECT_FLOAT_EQ(image->shapes[1].strokeDashArray[7], 8.f);
    EXPECT_EQ(image->shapes[2].strokeDashCount, 0);
    EXPECT_EQ(image->shapes[3].strokeDashCount, 0);
}

TEST(SvgParser, SizeViewBoxAndUnits) {
    struct Case {
        const char* root;
        const char* units;
        float width, height;
        std::string node; // of the local point (10, 10)
    };
    const Case cases[] = {
        {R"~(width="100" height="50")~", "px", 100, 50, "10,10"},
        {R"~(width="1in" height="2pt")~", "px", 72, 2, "10,10"},
        {R"~(width="25.4mm" height="2.54cm")~", "px", 72, 72, "10,10"},
        {R"~(width="1pc" height="1em")~", "px", 12, 16, "10,10"},
        {R"~(width="72" height="72")~", "in", 1, 1, "0.139,0.139"},
        {R"~(width="200" height="100" viewBox="0 0 20 10")~", "px", 200, 100, "100,100"},
        {R"~(width="200" height="100" viewBox="0 0 10 10")~", "px", 200, 100,
         "150,100"}, // meet, centred
        {R"~(width="200" height="100" viewBox="0 0 10 10" preserveAspectRatio="xMinYMin")~", "px",
         200, 100, "100,100"},
        {R"~(width="200" height="100" viewBox="0 0 10 10" preserveAspectRatio="none")~", "px", 200,
         100, "200,100"},
        {R"~(width="200" height="100" viewBox="0 0 10 10" preserveAspectRatio="xMidYMid slice")~",
         "px", 200, 100, "200,150"},
        {R"~(viewBox="5 5 40 20")~", "px", 40, 20, "5,5"},
        {R"~(width="50")~", "px", 50, 10, "10,10"}, // the missing height reaches the shapes
    };
    for (const Case& c : cases) {
        const auto image = ParseOk(Doc(R"~(<path d="M10 10 L10 10.0001"/>)~", c.root), c.units);
        ASSERT_TRUE(image) << c.root;
        EXPECT_NEAR(image->width, c.width, 1e-3) << c.root;
        EXPECT_NEAR(image->height, c.height, 1e-3) << c.root;
        EXPECT_EQ(Nodes(*image).front(), c.node) << c.root;
    }
}

TEST(SvgParser, SolidPaintsAndOpacities) {
    struct Case {
        const char* attrs;
        int fillType;
        uint32_t fill;
        int strokeType;
        uint32_t stroke;
        float opacity;
    };
    const Case cases[] = {
        {"", Paint::Color, 0xff000000, Paint::None, 0, 1.f}, // SVG defaults
        {R"~(fill="#f00")~", Paint::Color, 0xff0000ff, Paint::None, 0, 1.f},
        {R"~(fill="#00ff80" stroke="rgb(1, 2, 3)")~", Paint::Color, 0xff80ff00, Paint::Color,
         0xff030201, 1.f},
        {R"~(fill="rgb(100%, 0%, 50%)")~", Paint::Color, 0xff8000ff, Paint::None, 0, 1.f},
        {R"~(fill="cornflowerblue" fill-opacity="0.5")~", Paint::Color, 0x80ed9564, Paint::None, 0,
         1.f},
        {R"~(style="fill: none; stroke: Navy; stroke-opacity: .25" fill="red")~", Paint::None, 0,
         Paint::Color, 0x40800000, 1.f},
        {R"~(color="lime" fill="currentColor" opacity="0.5")~", Paint::Color, 0xff00ff00,
         Paint::None, 0, 0.5f},
        {R"~(fill="url(#missing) #0000ff")~", Paint::Color, 0xffff0000, Paint::None, 0, 1.f},
        {R"~(fill="url(#missing)")~", Paint::None, 0, Paint::None, 0, 1.f},
    };
    for (const Case& c : cases) {
        const auto image = ParseOk(Doc(
            std::string("<g opacity=\"1\"><rect width=\"5\" height=\"5\" ") + c.attrs + "/></g>"));
        ASSERT_TRUE(image && image->shapes.size() == 1) << c.attrs;
        const Shape& s = image->shapes[0];
        EXPECT_EQ(s.fill.type, c.fillType) << c.attrs;
        if (c.fillType == Paint::Color) {
            EXPECT_EQ(s.fill.color, c.fill) << c.attrs;
        }
        EXPECT_EQ(s.stroke.type, c.strokeType) << c.attrs;
        if (c.strokeType == Paint::Color) {
            EXPECT_EQ(s.stroke.color, c.stroke) << c.attrs;
        }
        EXPECT_FLOAT_EQ(s.opacity, c.opacity) << c.attrs;
    }
}

TEST(SvgParser, InheritanceAndGroupOpacity) {
    const auto image = ParseOk(Doc(R"~(
        <g fill="red" stroke="blue" stroke-width="4" stroke-linecap="round" stroke-linejoin="bevel"
           stroke-miterlimit="7" opacity="0.5">
          <g opacity="0.5"><rect width="5" height="5" fill="green"/></g>
          <rect width="5" height="5" style="stroke-linecap:square;stroke-linejoin:round"/>
        </g>)~"));
    ASSERT_EQ(image->shapes.size(), 2u);
    const Shape& a = image->shapes[0];
    EXPECT_EQ(a.fill.color, 0xff008000u);
    EXPECT_EQ(a.stroke.color, 0xffff0000u);
    EXPECT_FLOAT_EQ(a.opacity, 0.25f);
    EXPECT_FLOAT_EQ(a.strokeWidth, 4.f);
    EXPECT_EQ(a.strokeLineCap, 1);
    EXPECT_EQ(a.strokeLineJoin, 2);
    EXPECT_FLOAT_EQ(a.miterLimit, 7.f);
    const Shape& b = image->shapes[1];
    EXPECT_EQ(b.fill.color, 0xff0000ffu);
    EXPECT_FLOAT_EQ(b.opacity, 0.5f);
    EXPECT_EQ(b.strokeLineCap, 2);
    EXPECT_EQ(b.strokeLineJoin, 1);
}

TEST(SvgParser, VisibilityKeepsTheShapeDisplayNoneDropsIt) {
    const auto image = ParseOk(Doc(R"~(
        <rect width="1" height="1" visibility="hidden"/>
        <g visibility="hidden"><rect width="2" height="2" visibility="visible"/></g>
        <rect width="3" height="3" display="none"/>
        <g style="display:none"><rect width="4" height="4" display="inline"/></g>
        <defs><rect width="5" height="5"/></defs>
        <rect width="6" height="6"/>)~"));
    ASSERT_EQ(image->shapes.size(), 3u);
    EXPECT_EQ(image->shapes[0].flags & Shape::kVisible, 0u);
    EXPECT_EQ(image->shapes[1].flags & Shape::kVisible, 1u);
    EXPECT_EQ(image->shapes[2].flags & Shape::kVisible, 1u);
    EXPECT_FLOAT_EQ(image->shapes[2].paths[0].bounds[2], 6.f);
}

TEST(SvgParser, SkippedElementsKeepTheirSiblings) {
    const auto image = ParseOk(Doc(R"~(
        <text x="1" y="1">hello <tspan>there</tspan></text>
        <image href="file:///etc/passwd" width="10" height="10"/>
        <svg><rect width="9" height="9"/></svg>
        <clipPath id="c"><rect width="9" height="9"/></clipPath>
        <style>rect { fill: red }</style>
        <foo:bar xmlns:foo="urn:foo"><rect width="9" height="9"/></foo:bar>
        <rect width="1" height="1" foo:thing="x" xmlns:foo="urn:foo" fill-rule="evenodd"/>
        <use xlink:href="#c"/>
        <linearGradient id="g"><rect width="9" height="9"/><stop offset="0"/><g><stop/></g>
        </linearGradient>
        <rect width="2" height="2"/>)~"));
    ASSERT_EQ(image->shapes.size(), 2u);
    EXPECT_FLOAT_EQ(image->shapes[0].paths[0].bounds[2], 1.f);
    EXPECT_FLOAT_EQ(image->shapes[1].paths[0].bounds[2], 2.f);
}

// Maps an image point through a gradient's transform into gradient space.
void ToGradient(const Gradient& g, double x, double y, double& u, double& v) {
    u = g.xform[0] * x + g.xform[2] * y + g.xform[4];
    v = g.xform[1] * x + g.xform[3] * y + g.xform[5];
}

TEST(SvgParser, LinearGradientMapsStartToOriginAndEndToUnitY) {
    struct Case {
        const char* gradient;
        double x1, y1, x2, y2; // expected ends in image space
    };
    const Case cases[] = {
        // Bounding-box units: the rect spans 10..50 x 20..40.
        {R"~(<linearGradient id="g">)~", 10, 20, 50, 20},
        {R"~(<linearGradient id="g" x1="0" y1="0" x2="0" y2="1">)~", 10, 20, 10, 40},
        {R"~(<linearGradient id="g" x1="25%" x2="75%">)~", 20, 20, 40, 20},
        {R"~(<linearGradient id="g" gradientUnits="userSpaceOnUse" x1="5" y1="6" x2="7" y2="9">)~",
         5, 6, 7, 9},
        {R"~(<linearGradient id="g" gradientUnits="userSpaceOnUse" x1="5" y1="6" x2="7" y2="9"
             gradientTransform="translate(10 0)">)~",
         15, 6, 17, 9},
    };
    for (const Case& c : cases) {
        const auto image = ParseOk(Doc(std::string(R"~(<rect x="10" y="20" width="40" height="20"
            fill="url(#g)"/><defs>)~") +
                                       c.gradient +
                                       R"~(<stop offset="0" stop-color="red"/>
            <stop offset="1" stop-color="blue" stop-opacity="0.5"/></linearGradient></defs>)~"));
        ASSERT_TRUE(image) << c.gradient;
        const Paint& fill = image->shapes[0].fill;
        ASSERT_EQ(fill.type, Paint::Linear) << c.gradient;
        double u = 0, v = 0;
        ToGradient(*fill.gradient, c.x1, c.y1, u, v);
        EXPECT_NEAR(u, 0, 1e-5) << c.gradient;
        EXPECT_NEAR(v, 0, 1e-5) << c.gradient;
        ToGradient(*fill.gradient, c.x2, c.y2, u, v);
        EXPECT_NEAR(u, 0, 1e-5) << c.gradient;
        EXPECT_NEAR(v, 1, 1e-5) << c.gradient;
        ASSERT_EQ(fill.gradient->stops.size(), 2u);
        EXPECT_EQ(fill.gradient->stops[0].color, 0xff0000ffu);
        EXPECT_EQ(fill.gradient->stops[1].color, 0x80ff0000u);
    }
}

TEST(SvgParser, RadialGradientsHrefChainsAndSpread) {
    const auto image = ParseOk(Doc(R"~(
        <circle cx="50" cy="50" r="10" fill="url(#r)" fill-opacity="0.5" stroke="url(#base)"/>
        <radialGradient id="r" href="#mid" cx="0.5" cy="0.5" r="0.5"/>
        <radialGradient id="mid" xlink:href="#base" spreadMethod="reflect"/>
        <linearGradient id="base" spreadMethod="repeat">
          <stop offset="10%" style="stop-color:#ffffff"/>
          <stop offset="0.05" stop-color="black"/>
        </linearGradient>)~"));
    const Shape& s = image->shapes[0];
    ASSERT_EQ(s.fill.type, Paint::Radial);
    const Gradient& g = *s.fill.gradient;
    double u = 0, v = 0;
    ToGradient(g, 50, 50, u, v);
    EXPECT_NEAR(u, 0, 1e-5);
    EXPECT_NEAR(v, 0, 1e-5);
    ToGradient(g, 60, 50, u, v);
    EXPECT_NEAR(std::hypot(u, v), 1, 1e-5);
    EXPECT_EQ(g.spread, 1);
    ASSERT_EQ(g.stops.size(), 2u);
    EXPECT_EQ(g.stops[0].color, 0x80ffffffu); // fill-opacity joins the stop alpha
    EXPECT_FLOAT_EQ(g.stops[0].offset, 0.1f);
    EXPECT_FLOAT_EQ(g.stops[1].offset, 0.1f); // offsets never go back
    EXPECT_EQ(s.stroke.type, Paint::Linear);
    EXPECT_EQ(s.stroke.gradient->spread, 2);
}

TEST(SvgParser, DegenerateGradients) {
    struct Case {
        const char* gradient;
        int type;
        uint32_t color;
    };
    const Case cases[] = {
        {R"~(<linearGradient id="g"/>)~", Paint::None, 0},
        {R"~(<linearGradient id="g"><stop offset="0" stop-color="red"/></linearGradient>)~",
         Paint::Color, 0xff0000ff},
        {R"~(<linearGradient id="g" x2="0"><stop offset="0" stop-color="red"/>
            <stop offset="1" stop-color="blue"/></linearGradient>)~",
         Paint::Color, 0xffff0000},
        {R"~(<radialGradient id="g" r="0"><stop offset="0" stop-color="red"/>
            <stop offset="1" stop-color="lime"/></radialGradient>)~",
         Paint::Color, 0xff00ff00},
        {R"~(<linearGradient id="g" href="#g"/>)~", Paint::None, 0}, // a loop ends
    };
    for (const Case& c : cases) {
        const auto image = ParseOk(
            Doc(std::string(R"~(<rect width="5" height="5" fill="url(#g)"/>)~") + c.gradient));
        ASSERT_TRUE(image) << c.gradient;
        EXPECT_EQ(image->shapes[0].fill.type, c.type) << c.gradient;
        if (c.type == Paint::Color) {
            EXPECT_EQ(image->shapes[0].fill.color, c.color) << c.gradient;
        }
    }
}

TEST(SvgParser, MalformedDocumentsFailWithOnePlacedMessage) {
    struct Case {
        std::string text;
        std::string where; // expected in the message
    };
    const Case cases[] = {
        {"", "line 1"},
        {"<svg", "line 1"},
        {"<html/>", "root element is not svg"},
        {"not xml at all", "column 1"},
        {Doc("<rect width=\"1\" height=\"1\">"), "mismatched tag"},
        {"<?xml version=\"1.0\"?><!DOCTYPE svg [<!ENTITY a \"aaaa\">]><svg/>", "entity"},
        {Doc("\n<path d=\"M0 0 L10\"/>"), "line 2, column 1, element <path>, attribute d"},
        {Doc("<path d=\"L0 0\"/>"), "attribute d"},
        {Doc("<path d=\"M0 0 X 1 2\"/>"), "attribute d"},
        {Doc("<path d=\"M0 0 L1e999 0\"/>"), "attribute d"},
        {Doc("<path d=\"M0 0 Z 5 5\"/>"), "attribute d"},
        {Doc("<path d=\"M0 0 A 1 1 0 2 1 5 5\"/>"), "attribute d"},
        {Doc("<rect width=\"1x\" height=\"1\"/>"), "attribute width"},
        {Doc("<rect width=\"1\" height=\"nan\"/>"), "attribute height"},
        {Doc("<rect width=\"1\" height=\"1\" fill=\"#12\"/>"), "attribute fill"},
        {Doc("<rect width=\"1\" height=\"1\" fill=\"notacolour\"/>"), "attribute fill"},
        {Doc("<rect width=\"1\" height=\"1\" style=\"fill: rgb(1,2)\"/>"), "attribute style"},
        {Doc("<g transform=\"rotate(1 2)\"/>"), "element <g>, attribute transform"},
        {Doc("<g transform=\"scale(1) wobble(2)\"/>"), "attribute transform"},
        {Doc("<polygon points=\"1 2 3\"/>"), "attribute points"},
        {Doc("", "width=\"-5\" height=\"5\""), "attribute width"},
        {Doc("", "viewBox=\"0 0 1\""), "attribute viewBox"},
        {Doc("<linearGradient id=\"g\" x1=\"zz\"/>"), "attribute x1"},
    };
    for (const Case& c : cases) {
        const ParseResult r = Parse(c.text.data(), c.text.size(), "px", 72.f);
        EXPECT_FALSE(r.image) << c.text;
        EXPECT_NE(r.error.find(c.where), std::string::npos) << c.text << "\n -> " << r.error;
        EXPECT_NE(r.error.find("line "), std::string::npos) << r.error;
        EXPECT_NE(r.error.find("attribute "), std::string::npos) << r.error;
    }
}

TEST(SvgParser, EntityExpansionIsRefusedBeforeItGrows) {
    std::string text = "<?xml version=\"1.0\"?><!DOCTYPE svg [<!ENTITY a \"xxxxxxxxxx\">";
    for (int i = 0; i < 9; ++i)
        text += "<!ENTITY " + std::string(1, char('b' + i)) + " \"&" + char('a' + i) + ";&" +
                char('a' + i) + ";&" + char('a' + i) + ";&" + char('a' + i) + ";\">";
    text += "]><svg><desc>&j;</desc></svg>";
    const ParseResult r = Parse(text.data(), text.size());
    EXPECT_FALSE(r.image);
    EXPECT_NE(r.error.find("entity"), std::string::npos) << r.error;
}

} // namespace

TEST(SvgParser, HolesAreClassifiedOnceWhenParsed) {
    struct Case {
        const char* d;
        std::vector<bool> holes;
    };
    const Case cases[] = {
        {"M0 0 H100 V100 H0 Z M25 25 H75 V75 H25 Z", {false, true}},
        // Beside, not inside: the ray towards the top left never meets it.
        {"M0 0 H10 V10 H0 Z M50 50 H60 V60 H50 Z", {false, false}},
        // Inside two outlines is solid again.
        {"M0 0 H100 V100 H0 Z M10 10 H90 V90 H10 Z M30 30 H70 V70 H30 Z", {false, true, false}},
        {"M0 0 H100 V100 H0 Z", {false}},
    };
    for (const Case& c : cases) {
        const std::string doc =
            std::string("<svg xmlns=\"http://www.w3.org/2000/svg\"><path d=\"") + c.d +
            "\"/></svg>";
        const ParseResult result = Parse(doc.data(), doc.size());
        ASSERT_TRUE(result.image) << result.error;
        std::vector<bool> holes;
        for (const Path& path : result.image->shapes.at(0).paths)
            holes.push_back(path.hole);
        EXPECT_EQ(holes, c.holes) << c.d;
    }
}
