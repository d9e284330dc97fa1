#include "framework/ChannelLayout.h"

#include <algorithm>
#include <charconv>

namespace vx {

namespace {

// Splits at `separator`, skipping empty pieces as repeated blanks would make.
template <class Visit>
void ForEachPiece(std::string_view text, char separator, bool skipEmpty, Visit visit) {
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(separator, start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view piece = text.substr(start, end - start);
        if (!piece.empty() || !skipEmpty)
            visit(piece);
        start = end + 1;
    }
}

int32_t ParseBusCount(std::string_view token) {
    if (token == "*")
        return BusRecord::kWildcard;
    int32_t count = 0;
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), count);
    return error == std::errc() ? count : 0;
}

void ParseBuses(std::string_view part, BusDirection direction, std::vector<BusRecord>& buses) {
    if (part.empty())
        return;
    ForEachPiece(part, '.', false, [&](std::string_view token) {
        if (const int32_t count = ParseBusCount(token))
            buses.push_back({direction, count});
    });
}

} // namespace

int32_t ChannelLayout::ChannelTotal(BusDirection direction) const {
    int32_t total = 0;
    for (const BusRecord& bus : Buses(direction))
        total += bus.channelCount;
    return total;
}

int ParseChannelIO(std::string_view text, std::vector<ChannelLayout>& layouts,
                   ChannelIOTotals& totals) {
    totals = {};
    int count = 0;
    ForEachPiece(text, ' ', true, [&](std::string_view token) {
        ChannelLayout layout;
        const size_t dash = token.find('-');
        ParseBuses(token.substr(0, dash), BusDirection::Input, layout.inputBuses);
        if (dash != std::string_view::npos)
            ParseBuses(token.substr(dash + 1), BusDirection::Output, layout.outputBuses);
        totals.maxInputChannels =
            std::max(totals.maxInputChannels, layout.ChannelTotal(BusDirection::Input));
        totals.maxOutputChannels =
            std::max(totals.maxOutputChannels, layout.ChannelTotal(BusDirection::Output));
        totals.maxInputBuses =
            std::max<int32_t>(totals.maxInputBuses, static_cast<int32_t>(layout.inputBuses.size()));
        totals.maxOutputBuses = std::max<int32_t>(totals.maxOutputBuses,
                                                  static_cast<int32_t>(layout.outputBuses.size()));
        layouts.push_back(std::move(layout));
        ++count;
    });
    return count;
}

} // namespace vx
