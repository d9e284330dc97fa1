#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace vx {

enum class BusDirection : int32_t { Input = 0, Output = 1 };

// One bus of a channel layout; the wildcard "*" stands for any channel count.
struct BusRecord {
    static constexpr int32_t kWildcard = -64;
    BusDirection direction = BusDirection::Input;
    int32_t channelCount = 0;
};

// One configuration of the channel-I/O text, such as "1-1" or "0-2.2".
struct ChannelLayout {
    std::vector<BusRecord> inputBuses;
    std::vector<BusRecord> outputBuses;

    const std::vector<BusRecord>& Buses(BusDirection direction) const {
        return direction == BusDirection::Input ? inputBuses : outputBuses;
    }
    int32_t ChannelTotal(BusDirection direction) const;
};

struct ChannelIOTotals {
    int32_t maxInputChannels = 0;
    int32_t maxOutputChannels = 0;
    int32_t maxInputBuses = 0;
    int32_t maxOutputBuses = 0;
};

// Parses blank-separated configurations "in-out", each part a "."-separated
// list of bus channel counts or "*". Appends one layout per configuration and
// returns how many there were.
int ParseChannelIO(std::string_view text, std::vector<ChannelLayout>& layouts,
                   ChannelIOTotals& totals);

} // namespace vx
