// devsim: the simulated pedal on JACK MIDI ports. See DevsimOptions.cpp for usage.

#include "tests/devsim/DevsimOptions.h"
#include "tests/devsim/DevsimRun.h"

#include <csignal>
#include <cstdio>
#include <pthread.h>

int main(int argc, char** argv) {
    const auto parsed =
        devsim::ParseDevsimOptions(std::span<const char* const>(argv + 1, argc - 1));
    if (parsed.help) {
        std::fputs(devsim::DevsimUsage().c_str(), stdout);
        return 0;
    }
    if (!parsed.ok) {
        std::fprintf(stderr, "devsim: %s\n%s", parsed.error.c_str(), devsim::DevsimUsage().c_str());
        return 2;
    }
    // Blocked before JACK starts its threads, so the main loop alone takes them.
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGINT);
    sigaddset(&stops, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stops, nullptr);
    return devsim::RunDevsim(parsed.options);
}
