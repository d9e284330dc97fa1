#include "platform/ak/TableView.h"
#include "platform/ak/TreeParts.h"
#include "tests/platform/ak/ShownControl.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using ak::Color;
using ak::Rect;

constexpr Color kRed{1, 0, 0, 1};
constexpr Color kBlue{0, 0, 1, 1};
constexpr Color kGreen{0, 1, 0, 1};
constexpr Color kMagenta{1, 0, 1, 1};
constexpr Color kGrey{0.5, 0.5, 0.5, 1};

uint32_t Rgb(const Color& c) {
    return uint32_t(std::lround(c.red * 255)) << 16 | uint32_t(std::lround(c.green * 255)) << 8 |
           uint32_t(std::lround(c.blue * 255));
}

// Presets with a status image on the odd rows, blue text on row 2 and an
// owner-drawn swatch column.
struct Presets : ak::TableDataSource {
    std::vector<std::string> names{"Clean", "WWWW", "MMMM", "Octave"};
    ak::Ref<ak::Image> image;
    Presets() {
        std::vector<uint32_t> red(16 * 16, 0xFFFF0000);
        image = ak::Image::FromPixels(red.data(), 16, 16);
    }
    int NumberOfRows(ak::TableView&) override { return static_cast<int>(names.size()); }
    std::string TextAt(ak::TableView&, const std::string& column, int row) override {
        return column == "name" ? names.at(size_t(row)) : "";
    }
    ak::Ref<ak::Image> ImageAt(ak::TableView&, const std::string&, int row) override {
        return row % 2 ? image : ak::Ref<ak::Image>();
    }
    std::optional<Color> TextColorAt(ak::TableView&, const std::string&, int row) override {
        return row == 2 ? std::optional<Color>(kBlue) : std::nullopt;
    }
    void DrawCell(ak::TableView&, const std::string&, int, cairo_t* cr, Rect frame, bool) override {
        cairo_set_source_rgb(cr, 0, 0, 1);
        cairo_rectangle(cr, frame.MinX(), frame.MinY(), frame.size.width, frame.size.height);
        cairo_fill(cr);
    }
};

struct TableCellsTest : ShownControl<ak::TableView> {
    void SetUp() override {
        ShownControl::SetUp();
        table = control.Get();
        table->AddColumn("name", "Name", 150);
        table->AddColumn("swatch", "Swatch", 60);
        table->SetColumnCell("name", ak::CellKind::Status);
        table->SetColumnCell("swatch", ak::CellKind::OwnerDraw);
        table->SetDataSource(&source);
        Show();
    }
    ak::Surface Snapshot() {
        EXPECT_TRUE(ak::test::WaitUntilSettled(*window));
        return window->Snapshot();
    }
    uint32_t Pixel(const ak::Surface& surface, ak::Point inTable) {
        const ak::Point p = table->ConvertPointToView(inTable, nullptr);
        cairo_surface_flush(surface.get());
        const unsigned char* data = cairo_image_surface_get_data(surface.get());
        const int stride = cairo_image_surface_get_stride(surface.get());
        return reinterpret_cast<const uint32_t*>(data + int(p.y) * stride)[int(p.x)] & 0xFFFFFF;
    }
    // Whether any pixel of a rectangle (table coordinates) passes a test.
    template <class Test>
    bool AnyPixel(const ak::Surface& surface, Rect area, Test test) {
        for (int y = int(area.MinY()); y < int(area.MaxY()); ++y)
            for (int x = int(area.MinX()); x < int(area.MaxX()); ++x)
                if (test(Pixel(surface, {double(x), double(y)})))
                    return true;
        return false;
    }
    ak::Point Middle(Rect r) { return {r.MinX() + r.size.width / 2, r.MinY() + r.size.height / 2}; }
    Presets source;
    ak::TableView* table = nullptr;
};

TEST(StatusCell, ImageSitsInASquareOfTheRowHeightAndTheTextAfterIt) {
    const Rect frame{{0, 0}, {100, 20}};
    EXPECT_EQ(ak::StatusImageRect(frame, {16, 16}), (Rect{{2, 2}, {16, 16}}));
    EXPECT_EQ(ak::StatusImageRect(frame, {40, 40}), (Rect{{0, 0}, {20, 20}})) << "shrunk to fit";
    EXPECT_EQ(ak::StatusImageRect({{5, 10}, {8, 20}}, {16, 16}), (Rect{{5, 12}, {8, 16}}))
        << "a column narrower than the image";
    EXPECT_EQ(ak::StatusTextRect(frame), (Rect{{22, 0}, {78, 20}}));
}

TEST_F(TableCellsTest, StatusImagesOwnerDrawnCellsAndTextColoursByPixels) {
    const ak::Surface shot = Snapshot();
    ak::test::SaveSnapshot(*window, "ak-table-cells");
    const Rect odd = table->RectOfCell(1, "name");
    const Rect image = ak::StatusImageRect(odd, {16, 16});
    EXPECT_EQ(Pixel(shot, Middle(image)), Rgb(kRed));
    EXPECT_NE(Pixel(shot, Middle(ak::StatusImageRect(table->RectOfCell(0, "name"), {16, 16}))),
              Rgb(kRed))
        << "no image on an even row";
    EXPECT_EQ(Pixel(shot, Middle(table->RectOfCell(3, "swatch"))), Rgb(kBlue));
    auto bluish = [](uint32_t p) {
        return (p & 0xFF) > 0x80 && ((p >> 16) & 0xFF) < 0x60 && ((p >> 8) & 0xFF) < 0x60;
    };
    EXPECT_TRUE(AnyPixel(shot, ak::StatusTextRect(table->RectOfCell(2, "name")), bluish));
    EXPECT_FALSE(AnyPixel(shot, ak::StatusTextRect(table->RectOfCell(1, "name")), bluish));
}

TEST_F(TableCellsTest, SelectionFillFollowsTheFocusAndBackgroundAndGridTakeTheirColours) {
    table->SetSelectionColors({kGreen, kGrey, kMagenta, kGrey});
    table->SetBackgroundColor(kGrey);
    table->SelectRow(0);
    // Right of the names' text; the swatches draw over the whole cell.
    const ak::Point selected{table->RectOfCell(0, "name").MaxX() - 5,
                             Middle(table->RectOfRow(0)).y};
    const ak::Point other{table->RectOfCell(3, "name").MaxX() - 5, Middle(table->RectOfRow(3)).y};
    window->MakeFirstResponder(nullptr);
    ak::Surface shot = Snapshot();
    EXPECT_FALSE(table->HasFocus());
    EXPECT_EQ(Pixel(shot, selected), Rgb(kMagenta));
    EXPECT_EQ(Pixel(shot, other), Rgb(kGrey));

    window->MakeFirstResponder(table);
    shot = Snapshot();
    EXPECT_TRUE(table->HasFocus());
    EXPECT_EQ(Pixel(shot, selected), Rgb(kGreen));

    // Fewer colours than the focus needs: the desktop's own fill.
    table->SetSelectionColors({});
    shot = Snapshot();
    EXPECT_NE(Pixel(shot, selected), Rgb(kGreen));

    table->SetGridLines(true, true);
    table->SetGridColor(kRed);
    shot = Snapshot();
    const Rect first = table->RectOfRow(0);
    EXPECT_TRUE(AnyPixel(shot, {{first.MinX() + 40, first.MaxY() - 2}, {1, 4}}, [](uint32_t p) {
        return p == Rgb(kRed);
    })) << "a horizontal grid line between rows 0 and 1";
}

TEST_F(TableCellsTest, ARightAlignedColumnDrawsItsTextAtTheRightEdge) {
    table->SetColumnCell("name", ak::CellKind::Text);
    table->SetColumnAlignment("name", ak::TextAlignment::Right);
    EXPECT_EQ(table->ColumnAlignment("name"), ak::TextAlignment::Right);
    const ak::Surface shot = Snapshot();
    const Rect cell = table->RectOfCell(1, "name");
    auto dark = [](uint32_t p) { return ((p >> 8) & 0xFF) < 0x80; };
    EXPECT_FALSE(AnyPixel(shot, {cell.origin, {cell.size.width / 2, cell.size.height}}, dark));
    EXPECT_TRUE(AnyPixel(
        shot,
        {{cell.MinX() + cell.size.width / 2, cell.MinY()}, {cell.size.width / 2, cell.size.height}},
        dark));
}

} // namespace
