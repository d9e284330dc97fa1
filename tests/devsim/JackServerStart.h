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

// jackd -n name at 44,100 Hz, its stderr in folder/jackd.err. Returns nullptr
// with the reason in error when it did not answer within timeout.
std::unique_ptr<ChildProcess> StartJackServer(const std::string& name,
                                              const std::filesystem::path& folder,
                                              std::chrono::milliseconds timeout,
                                              std::string& error);

} // namespace devsim::test
