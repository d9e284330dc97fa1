#include "framework/host/HostMidiOutput.h"

#include <cstdio>
#include <exception>

namespace host {

bool HostMidiOutput::SendBytes(std::span<const uint8_t> bytes) {
    if (!IsPortOpen())
        return false;
    try {
        mOutput->Send(bytes);
        return true;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return false;
    }
}

} // namespace host
