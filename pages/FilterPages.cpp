// The six filter pages: one group of knob columns each.

#include "pages/EffectPages.h"
#include "pages/PageColumns.h"
#include "pages/PageNames.h"

namespace omnar::pages {

namespace {

struct FilterColumn {
    float x;
    int param;
    int readoutTag;
};
constexpr FilterColumn kNoColumn{0.f, -1, -1};

struct FilterPage {
    const char* group;
    FilterColumn gain, frequency, quality;
};

// The buzz and crunch pages sit off the three-column grid. The readout tags
// do not follow the columns: the frequency readout has the highest.
constexpr FilterPage kFilterPages[] = {
    {group::kBuzzFilter, {480, 2, tag::kBuzzGain}, kNoColumn, {760, 44, tag::kBuzzQuality}},
    {group::kPunchFilter,
     {380, 3, tag::kPunchGain},
     {630, 11, tag::kPunchFrequency},
     {880, 45, tag::kPunchQuality}},
    {group::kCrunchFilter, kNoColumn, kNoColumn, {760, 46, tag::kCrunchQuality}},
    {group::kLowFilter,
     {380, 6, tag::kLowGain},
     {630, 72, tag::kLowFrequency},
     {880, 48, tag::kLowQuality}},
    {group::kMidFilter,
     {380, 12, tag::kMidGain},
     {630, 13, tag::kMidFrequency},
     {880, 47, tag::kMidQuality}},
    {group::kHighFilter,
     {380, 7, tag::kHighGain},
     {630, 73, tag::kHighFrequency},
     {880, 49, tag::kHighQuality}},
};

void AddFilterColumn(PageBuilder& builder, const FilterColumn& column, const char* caption,
                     const char* unit, const char* group) {
    if (column.param < 0)
        return;
    AddKnobColumn(builder, column.x, kUpperColumnTop,
                  {caption, column.param, "0.00", unit, column.readoutTag}, group);
}

} // namespace

void AddFilterPages(PageBuilder& builder) {
    for (const FilterPage& page : kFilterPages) {
        AddFilterColumn(builder, page.gain, "GAIN", "dB", page.group);
        AddFilterColumn(builder, page.frequency, "FREQUENCY", "Hz", page.group);
        AddFilterColumn(builder, page.quality, "QUALITY", "Level", page.group);
    }
}

} // namespace omnar::pages
