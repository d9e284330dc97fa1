// Pictures for a person: every image with its frames side by side, and the
// art at its places on the panel. Written to build/test-output/resources/.
#include "ResourceFiles.h"

#include <cairo.h>
#include <filesystem>
#include <gtest/gtest.h>

namespace resources_test {
namespace {

struct Surface {
    explicit Surface(cairo_surface_t* s) : s(s) {}
    ~Surface() { cairo_surface_destroy(s); }
    cairo_surface_t* s;
};

std::string OutputFolder() {
    const std::string dir = std::string(OMNAR_TEST_OUTPUT) + "/resources/";
    std::filesystem::create_directories(dir);
    return dir;
}

// Frame `frame` (from 0) of a bitmap whose frames are `frameHeight` high, at (x, y).
void Paint(cairo_t* cr, const std::string& name, double x, double y, int frameHeight = 0,
           int frame = 0) {
    Surface img(cairo_image_surface_create_from_png(Locate({name, Kind::Png}).c_str()));
    ASSERT_EQ(cairo_surface_status(img.s), CAIRO_STATUS_SUCCESS) << name;
    const int h = frameHeight ? frameHeight : cairo_image_surface_get_height(img.s);
    cairo_save(cr);
    cairo_rectangle(cr, x, y, cairo_image_surface_get_width(img.s), h);
    cairo_clip(cr);
    cairo_set_source_surface(cr, img.s, x, y - frame * h);
    cairo_paint(cr);
    cairo_restore(cr);
}

TEST(ResourceSheets, ContactSheetAndFrontPanelAreWritten) {
    {
        Surface sheet(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 2000, 1500));
        cairo_t* cr = cairo_create(sheet.s);
        cairo_set_source_rgb(cr, 0.5, 0.5, 0.5);
        cairo_paint(cr);
        double x = 10, y = 10, rowHeight = 0;
        for (const Entry& e : AllResources()) {
            if (e.kind != Kind::Png)
                continue;
            const double scale = e.width > 1000 ? 0.25 : 1.0;
            const int frameH = e.height / e.frames;
            const double w = e.width * e.frames * scale, h = frameH * scale;
            if (x + w > 1990) {
                x = 10;
                y += rowHeight + 10;
                rowHeight = 0;
            }
            for (int f = 0; f < e.frames; ++f) {
                cairo_save(cr);
                cairo_translate(cr, x + f * e.width * scale, y);
                cairo_scale(cr, scale, scale);
                Paint(cr, e.name, 0, 0, frameH, f);
                cairo_restore(cr);
            }
            x += w + 10;
            rowHeight = std::max(rowHeight, h);
        }
        cairo_destroy(cr);
        EXPECT_EQ(
            cairo_surface_write_to_png(sheet.s, (OutputFolder() + "contact-sheet.png").c_str()),
            CAIRO_STATUS_SUCCESS);
    }
    Surface panel(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1920, 1200));
    cairo_t* cr = cairo_create(panel.s);
    Paint(cr, "background.png", 0, 0);
    for (auto [x, y] : {std::pair{716.5, 136.0},
                        {860.5, 136.0},
                        {1005.0, 136.0},
                        {1150.0, 136.0},
                        {1295.0, 136.0},
                        {933.5, 294.5},
                        {1077.5, 294.5}})
        Paint(cr, "knobrotate.png", x, y);
    Paint(cr, "knobrotatebig.png", 701.5, 279);
    for (auto [x, y] : {std::pair{1460.0, 510.0}, {1100.0, 510.0}, {733.0, 510.0}, {1459.0, 322.0}})
        Paint(cr, "fswitch.png", x, y, 120);
    Paint(cr, "led.png", 1170, 256);
    Paint(cr, "save.png", 869, 314, 56);
    Paint(cr, "irbg.png", 429, 705);
    Paint(cr, "micbg.png", 380, 717);
    Paint(cr, "mic.png", 380, 717);
    cairo_destroy(cr);
    EXPECT_EQ(cairo_surface_write_to_png(panel.s, (OutputFolder() + "front-panel.png").c_str()),
              CAIRO_STATUS_SUCCESS);
}

} // namespace
} // namespace resources_test
