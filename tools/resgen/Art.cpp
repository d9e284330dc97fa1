#include "Art.h"

#include "Canvas.h"

#include <array>
#include <cctype>
#include <cmath>

namespace resgen {
namespace {

constexpr int kPanelW = 1920, kPanelH = 1200;
constexpr Rgba kCharcoal{1, 1, 1};
constexpr Rgba kDeepRed{1.9, 0.55, 0.55};

struct KnobPlace {
    double x, y, size;
    const char* bankA;
    const char* bankB;
};

// Top-left corners of the knob bitmaps on the panel; the well is drawn under each.
constexpr std::array<KnobPlace, 8> kKnobs{{
    {716.5, 136, 112, "DRIVE", "GAIN"},
    {860.5, 136, 112, "LOW", "AUTOFILTER"},
    {1005, 136, 112, "MID / PUNCH", "SHIFT / FREQ"},
    {1150, 136, 112, "HIGH", "Q"},
    {1295, 136, 112, "CRUNCH", "REVERB"},
    {933.5, 294.5, 112, "DYNAMICS", "RATIO"},
    {1077.5, 294.5, 112, "BLEND", "CHORUS"},
    {701.5, 279, 160, "LEVEL", "LEVEL"},
}};

// Each footswitch's legend names its job; the two preset switches carry an
// arrow (up 1, down -1) drawn as a path, since the fonts have no arrow glyphs.
struct SwitchPlace {
    double x, y;
    const char* legend;
    int arrow;
};
constexpr std::array<SwitchPlace, 4> kSwitches{{{1460, 510, "PRESET", 1},
                                                {1100, 510, "SELECT", 0},
                                                {733, 510, "PRESET", -1},
                                                {1459, 322, "KNOBS A/B", 0}}};

void Triangle(cairo_t* cr, double x, double baseline, double size, int direction, Rgba colour) {
    const double h = size * 0.85;
    if (direction > 0) {
        cairo_move_to(cr, x, baseline);
        cairo_line_to(cr, x + size, baseline);
        cairo_line_to(cr, x + size / 2, baseline - h);
    } else {
        cairo_move_to(cr, x, baseline - h);
        cairo_line_to(cr, x + size, baseline - h);
        cairo_line_to(cr, x + size / 2, baseline);
    }
    cairo_close_path(cr);
    SetColour(cr, colour);
    cairo_fill(cr);
}

void SwitchLegend(Canvas& c, const Fonts& fonts, const SwitchPlace& s) {
    constexpr double kSize = 18, kArrow = 13, kGap = 7;
    const double cx = s.x + 60, baseline = s.y - 8;
    if (s.arrow == 0) {
        c.Engrave(fonts.bold, kSize, cx, baseline, s.legend);
        return;
    }
    const double text = c.Advance(fonts.bold, kSize, s.legend);
    const double left = cx - (text + kGap + kArrow) / 2;
    // The engraved look of Canvas::Engrave: a dark copy two units lower first.
    const struct {
        double dy;
        Rgba colour;
    } layers[] = {{2, {0, 0, 0, 0.7}}, {0, kEngraving}};
    for (const auto& layer : layers) {
        c.Text(fonts.bold, kSize, left, baseline + layer.dy, s.legend, layer.colour);
        Triangle(c.cr(), left + text + kGap, baseline + layer.dy, kArrow, s.arrow, layer.colour);
    }
}

void KnobWell(Canvas& c, const Fonts& fonts, const KnobPlace& k, const char* label) {
    cairo_t* cr = c.cr();
    const double cx = k.x + k.size / 2, cy = k.y + k.size / 2, r = k.size / 2 + 4;
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    SetColour(cr, kWell);
    cairo_fill(cr);
    // 300 degrees of scale, open at the bottom.
    cairo_set_line_width(cr, 3);
    SetColour(cr, kEngraving);
    for (int i = 0; i <= 10; ++i) {
        const double a = (-240 + 30 * i) * M_PI / 180;
        cairo_move_to(cr, cx + (r + 4) * std::cos(a), cy + (r + 4) * std::sin(a));
        const double tick = r + (i % 5 == 0 ? 11 : 9);
        cairo_line_to(cr, cx + tick * std::cos(a), cy + tick * std::sin(a));
    }
    cairo_stroke(cr);
    // Upper-row labels sit above their wells, clear of the large knob below.
    const bool upperRow = k.y < 200;
    c.Engrave(fonts.bold, 20, cx, upperRow ? k.y - 16 : k.y + k.size + 34, label);
}

void Background(const Fonts& fonts, Rgba tint, bool bankB, const std::string& path) {
    Canvas c(kPanelW, kPanelH);
    c.Metal(0, 0, kPanelW, kPanelH, tint, bankB ? 2 : 1);
    c.Inset(0, 222, 302, 1182, {0.09, 0.09, 0.1});      // preset list and its slider
    c.Inset(10, 110, 270, 152, {0.11, 0.11, 0.12}, 4);  // preset name
    c.Fill(660, 5, 1060, 73, {0.80, 0.80, 0.78}, 6);    // status plate under black text
    c.Inset(320, 660, 1170, 1180, {0.12, 0.12, 0.13});  // effect pages
    c.Inset(1180, 650, 1880, 1160, {0.10, 0.10, 0.11}); // impulse response and dynamics
    for (const auto& k : kKnobs)
        KnobWell(c, fonts, k, bankB ? k.bankB : k.bankA);
    c.Inset(1255, 315, 1383, 403, {0.02, 0.02, 0.03}, 3); // preset display window
    for (const auto& s : kSwitches)
        SwitchLegend(c, fonts, s);
    c.Engrave(fonts.bold, 44, 1660, 80, bankB ? "OMNAR  B" : "OMNAR  A", kAccent);
    c.Save(path);
}

// A translucent veil around an opaque plate; controls sit on the plain plate.
void Overlay(Canvas& c, Rgba plate, double x0, double y0, double x1, double y1) {
    c.Fill(0, 0, kPanelW, kPanelH, {0, 0, 0, 0.62});
    cairo_set_operator(c.cr(), CAIRO_OPERATOR_SOURCE);
    c.Fill(x0, y0, x1, y1, plate, 12);
    cairo_set_operator(c.cr(), CAIRO_OPERATOR_OVER);
    c.Fill(x0 + 2, y0 + 2, x1 - 2, y0 + 6, {1, 1, 1, 0.08});
}

void Overlay(Rgba plate, double x0, double y0, double x1, double y1, const std::string& path) {
    Canvas c(kPanelW, kPanelH);
    Overlay(c, plate, x0, y0, x1, y1);
    c.Save(path);
}

// The firmware page: its controls (the help link, UPDATE FIRMWARE, the
// progress knob) sit on the plate; the line says what to do.
void FirmwarePlate(const Fonts& fonts, const std::string& path) {
    Canvas c(kPanelW, kPanelH);
    Overlay(c, {0.13, 0.13, 0.14}, 360, 160, 1560, 1040);
    c.Label(fonts.bold, 40, 960, 300, "FIRMWARE UPDATE", kAccent);
    c.Label(fonts.regular, 26, 960, 560,
            "Press UPDATE FIRMWARE and choose the pedal's .bin file; do not unplug until it ends.",
            kEngraving);
    c.Save(path);
}

// About: name, purpose and the fonts shipped with their licences; the version
// is the page's own text control, right of the name (1275-1375, 310-360).
void AboutPlate(const Fonts& fonts, const std::string& path) {
    Canvas c(kPanelW, kPanelH);
    Overlay(c, {0.04, 0.04, 0.05}, 460, 200, 1460, 1000);
    constexpr double kLeft = 520;
    c.Text(fonts.bold, 72, kLeft, 358, "OmnarControl", kAccent);
    c.Text(fonts.regular, 28, kLeft, 420,
           "Editor and librarian for the Quorbel Omnar bass preamp pedal", kEngraving);
    c.Text(fonts.bold, 26, kLeft, 510, "FONTS", kAccent);
    const struct {
        const char* name;
        const char* credit;
    } credits[] = {
        {"Roboto, Roboto Condensed", "Copyright 2015 Google Inc. Apache License 2.0"},
        {"Fork Awesome", "Copyright 2012-2018 Dave Gandy, 2018 Fork Awesome. SIL OFL 1.1"},
        {"DSEG7 Classic", "Copyright 2017-2020 keshikan. SIL Open Font License 1.1"},
        {"DejaVu Sans", "Copyright 2003 Bitstream, Inc. Bitstream Vera Fonts licence"},
        {"Omnar Segments", "Drawn for this program"},
    };
    double baseline = 556;
    for (const auto& f : credits) {
        c.Text(fonts.bold, 24, kLeft, baseline, f.name, kEngraving);
        c.Text(fonts.regular, 22, kLeft, baseline + 30, f.credit, {0.62, 0.63, 0.64});
        baseline += 74;
    }
    c.Text(fonts.regular, 22, kLeft, 940,
           "Licence texts: the licences folder among the program's resources.", {0.62, 0.63, 0.64});
    c.Text(fonts.regular, 22, kLeft, 972, "Click anywhere to close.", {0.62, 0.63, 0.64});
    c.Save(path);
}

// Radially symmetric, so the rotating bitmap shows only its pointer turning.
void Knob(int size, const std::string& path) {
    Canvas c(size, size);
    cairo_t* cr = c.cr();
    const double m = size / 2.0, r = m - 3;
    cairo_pattern_t* body = cairo_pattern_create_radial(m, m, 0, m, m, r);
    cairo_pattern_add_color_stop_rgb(body, 0, 0.24, 0.24, 0.25);
    cairo_pattern_add_color_stop_rgb(body, 0.85, 0.15, 0.15, 0.16);
    cairo_pattern_add_color_stop_rgb(body, 1, 0.08, 0.08, 0.09);
    cairo_arc(cr, m, m, r, 0, 2 * M_PI);
    cairo_set_source(cr, body);
    cairo_fill(cr);
    cairo_pattern_destroy(body);
    cairo_arc(cr, m, m, r * 0.72, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, size / 16.0);
    SetColour(cr, {0.93, 0.93, 0.93});
    cairo_move_to(cr, m, m - r * 0.25);
    cairo_line_to(cr, m, m - r * 0.9);
    cairo_stroke(cr);
    c.Save(path);
}

void Footswitch(const std::string& path) {
    Canvas c(120, 240);
    cairo_t* cr = c.cr();
    for (int frame = 0; frame < 2; ++frame) {
        const double cy = 60 + 120 * frame;
        cairo_arc(cr, 60, cy, 54, 0, 2 * M_PI);
        SetColour(cr, frame ? kAccent : Rgba{0.35, 0.35, 0.37});
        cairo_fill(cr);
        cairo_pattern_t* cap = cairo_pattern_create_radial(50, cy - 10, 4, 60, cy, 46);
        cairo_pattern_add_color_stop_rgb(cap, 0, 0.85, 0.85, 0.86);
        cairo_pattern_add_color_stop_rgb(cap, 1, frame ? 0.38 : 0.48, 0.48, 0.5);
        cairo_arc(cr, 60, cy, 46, 0, 2 * M_PI);
        cairo_set_source(cr, cap);
        cairo_fill(cr);
        cairo_pattern_destroy(cap);
    }
    c.Save(path);
}

// Two stacked frames: off, then lit in the accent colour.
void CaptionButton(const Fonts& fonts, int w, int h, const std::string& caption, double size,
                   const std::string& path) {
    Canvas c(w, h * 2);
    for (int frame = 0; frame < 2; ++frame) {
        const double y = h * frame;
        c.Fill(0, y, w, y + h, frame ? kAccent : Rgba{0.36, 0.36, 0.38}, 8);
        c.Fill(3, y + 3, w - 3, y + h - 3, frame ? Rgba{0.05, 0.2, 0.22} : Rgba{0.13, 0.13, 0.14},
               6);
        c.Label(fonts.bold, size, w / 2.0, y + h / 2.0 + size * 0.36, caption,
                frame ? kAccent : kEngraving);
    }
    c.Save(path);
}

std::string Upper(std::string s) {
    for (char& ch : s)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return s;
}

void Led(const std::string& path) {
    Canvas c(24, 24);
    cairo_pattern_t* glow = cairo_pattern_create_radial(12, 12, 1, 12, 12, 11);
    cairo_pattern_add_color_stop_rgba(glow, 0, 0.85, 1, 1, 1);
    cairo_pattern_add_color_stop_rgba(glow, 0.6, kAccent.r, kAccent.g, kAccent.b, 1);
    cairo_pattern_add_color_stop_rgba(glow, 1, kAccent.r, kAccent.g, kAccent.b, 0);
    cairo_arc(c.cr(), 12, 12, 11, 0, 2 * M_PI);
    cairo_set_source(c.cr(), glow);
    cairo_fill(c.cr());
    cairo_pattern_destroy(glow);
    c.Save(path);
}

void MicHandle(const std::string& path) {
    Canvas c(40, 35);
    c.Fill(2, 4, 38, 31, {0.75, 0.75, 0.77}, 6);
    c.Fill(4, 16, 36, 19, kAccent);
    c.Save(path);
}

void MicTrack(const std::string& path) {
    Canvas c(40, 435);
    c.Inset(16, 6, 24, 429, {0.03, 0.03, 0.04}, 4);
    for (int row = 0; row < 9; ++row)
        c.Fill(6, 16.5 + 50 * row, 12, 18.5 + 50 * row, kEngraving);
    c.Save(path);
}

void IrBackground(const Fonts& fonts, const std::string& path) {
    Canvas c(640, 460);
    c.Fill(0, 0, 640, 460, {0.1, 0.1, 0.11}, 10);
    for (int row = 0; row < 9; ++row)
        c.Fill(60, 4.5 + 50 * row, 630, 54.5 + 50 * row,
               row % 2 ? Rgba{0.13, 0.13, 0.14} : Rgba{0.16, 0.16, 0.17}, 4);
    (void)fonts;
    c.Save(path);
}

void MidiPlate(const Fonts& fonts, const std::string& path) {
    Canvas c(400, 150);
    c.Fill(0, 0, 400, 150, {0.12, 0.12, 0.13}, 12);
    cairo_t* cr = c.cr();
    cairo_arc(cr, 75, 75, 50, 0, 2 * M_PI);
    SetColour(cr, kEngraving);
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);
    for (int pin = 0; pin < 5; ++pin) {
        const double a = (180 + 45 * pin) * M_PI / 180;
        cairo_arc(cr, 75 + 30 * std::cos(a), 75 + 30 * std::sin(a), 6, 0, 2 * M_PI);
        cairo_fill(cr);
    }
    c.Label(fonts.bold, 56, 260, 96, "MIDI", kAccent);
    c.Save(path);
}

// The radio grid's rows are 35 units apart and its columns at least 140: a
// frame keeps a small gap on both sides, so no button covers its neighbour.
constexpr int kRadioW = 130, kRadioH = 32;

} // namespace

void DrawPanelArt(const Fonts& fonts, const std::string& dir) {
    Background(fonts, kCharcoal, false, dir + "background.png");
    Background(fonts, kDeepRed, true, dir + "backgroundred.png");
    FirmwarePlate(fonts, dir + "fwbg.png");
    Overlay({0.13, 0.13, 0.14}, 260, 120, 1660, 1080, dir + "globalbg.png");
    AboutPlate(fonts, dir + "about.png");
    Knob(112, dir + "knobrotate.png");
    Knob(160, dir + "knobrotatebig.png");
    Footswitch(dir + "fswitch.png");
    CaptionButton(fonts, 56, 56, "SAVE", 13, dir + "save.png");
    Led(dir + "led.png");
    for (const char* name : {"chorus", "echo", "echoverb", "hall", "plate", "room", "spring"})
        CaptionButton(fonts, kRadioW, kRadioH, Upper(name), 19, dir + "radio-" + name + ".png");
    for (const char* name : {"bassorvo", "eraone", "eratwo", "hinge", "inkplate", "isleton",
                             "kelbass", "kelstack", "razen", "twinorvo"})
        CaptionButton(fonts, kRadioW, kRadioH, Upper(name), 18, dir + "amp-" + name + ".png");
    MicHandle(dir + "mic.png");
    MicTrack(dir + "micbg.png");
    IrBackground(fonts, dir + "irbg.png");
    MidiPlate(fonts, dir + "midizelvit.png");
}

} // namespace resgen
