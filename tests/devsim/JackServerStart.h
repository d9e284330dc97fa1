#pragma once

// Starts a private JACK server with the dummy driver for a test or benchmark
// and waits until it answers. Shared by the GoogleTest fixture and the
// benchmarks, which cannot use a fixture.

#include "tests/devsim/ChildProcess.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

namespace devsim::test {

// The dummy driver's own period, 1024 frames (23 ms at 44.1 kHz): every MIDI
// message waits for a cycle, so a chain of replies advances one cycle a step.
inline constexpr unsigned kDefaultJackPeriod = 1024;

// How the server waits for its clients each cycle. Synchronous: a late client
// delays the cycle instead of losing its MIDI. Asynchronous: a client that dies
// without closing (SIGKILL) is dropped at once; a synchronous server stalls for
// ten client timeouts a client first.
enum class JackClientWait { Synchronous, Asynchronous };

// jackd -n name at 44,100 Hz with the given period in frames, its stderr in
// folder/jackd.err. Returns nullptr with the reason in error when it did not
// answer within timeout.
std::unique_ptr<ChildProcess> StartJackServer(const std::string& name,
                                              const std::filesystem::path& folder,
                                              std::chrono::milliseconds timeout, std::string& error,
                                              unsigned periodFrames = kDefaultJackPeriod,
                                              JackClientWait wait = JackClientWait::Synchronous);

} // namespace devsim::test
