#include "platform/sys/Log.h"

#include <cstdio>
#include <mutex>

namespace sys {

namespace {

std::mutex& SinkMutex() {
    static std::mutex m;
    return m;
}

std::function<void(const std::string&)>& Sink() {
    static std::function<void(const std::string&)> sink;
    return sink;
}

} // namespace

void LogError(const std::string& line) {
    const std::lock_guard lock(SinkMutex());
    if (Sink()) {
        Sink()(line);
        return;
    }
    std::fprintf(stderr, "OmnarControl: %s\n", line.c_str());
}

void SetLogSink(std::function<void(const std::string&)> sink) {
    const std::lock_guard lock(SinkMutex());
    Sink() = std::move(sink);
}

} // namespace sys
