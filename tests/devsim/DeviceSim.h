#pragma once

// The pedal's side of the SysEx protocol, in-process. The caller owns the
// clock: every call carries the time in milliseconds, and delayed replies and
// the reboot after a firmware update follow it.

#include "tests/devsim/SimFaults.h"
#include "tests/devsim/SimState.h"

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace devsim {

struct SimOptions {
    int rebootMs = 2000;
    // Answer a type-0 settings write with 'W' as well.
    bool ackGlobalsWrite = false;
};

struct TraceEntry {
    std::int64_t timeMs = 0;
    bool outgoing = false;
    Bytes bytes;
    std::string text;
};

class DeviceSim {
public:
    explicit DeviceSim(SimState state = FactoryState(), SimOptions options = {});

    // Handles one incoming message and returns every reply due at nowMs.
    std::vector<Bytes> Receive(ByteView message, std::int64_t nowMs);
    // Replies and injected messages that have come due by nowMs.
    std::vector<Bytes> Poll(std::int64_t nowMs);
    // When the next queued message comes due, or -1 when none is queued.
    std::int64_t NextDueMs() const;

    void AddFault(const FaultRule& rule) { mFaults.Add(rule); }
    // Ends a disconnect fault: the pedal takes and sends messages again.
    void Reconnect() { mDisconnected = false; }
    bool Disconnected() const { return mDisconnected; }

    // Spontaneous messages, as when the pedal's own controls are used; they
    // come out of the next Poll or Receive.
    void InjectParamValue(std::uint8_t index, std::uint8_t value, std::int64_t nowMs);
    void InjectPresetChange(int slot, std::int64_t nowMs);
    void InjectRaw(Bytes message, std::int64_t nowMs);

    const SimState& State() const { return mState; }
    SimState& MutableState() { return mState; }
    bool Rebooting(std::int64_t nowMs) const { return nowMs < mRebootUntilMs; }
    // Incoming and outgoing messages in order, each with a readable line.
    const std::vector<TraceEntry>& Trace() const { return mTrace; }
    void ClearTrace() { mTrace.clear(); }

private:
    struct Outcome {
        std::vector<Bytes> replies;
        std::string note;
    };
    struct Upload {
        bool active = false;
        bool restore = false;
        bool failed = false;
        int slot = 0;
        std::size_t declared = 0;
        Bytes packed;
    };
    struct Loader {
        bool started = false;
        std::size_t declared = 0;
        Bytes received;
    };
    struct Queued {
        std::int64_t dueMs;
        std::uint64_t order;
        Bytes bytes;
    };

    // Why a message is refused before any command sees it, or empty.
    std::string Screen(ByteView message, std::int64_t nowMs) const;
    // Applies faults and the command; returns the note for the trace.
    std::string Handle(ByteView message, std::int64_t nowMs);
    int CountOccurrence(CommandKey key);
    Outcome Dispatch(ByteView m, std::int64_t nowMs);
    Outcome Refuse(CommandKey key);
    void Enqueue(Bytes bytes, std::int64_t dueMs);

    // Editor commands (group 05).
    Outcome OnEditBufferDump(ByteView m);
    Outcome OnPresetSelect(ByteView m);
    Outcome OnParamChange(ByteView m);
    Outcome OnSettingsDump(ByteView m);
    Outcome OnSettingsRequest(ByteView m);
    Outcome OnFactoryReset(ByteView m);
    Outcome OnPresetWrite(ByteView m);
    Outcome OnIRNamesRequest(ByteView m);
    Outcome OnIRDumpRequest(ByteView m);
    Bytes PresetReply(int slot) const;
    Bytes SettingsReply(std::uint8_t type, const PresetImage& data) const;

    // IR transfers into the pedal.
    Outcome OnIRFirst(ByteView m, bool restore);
    Outcome OnIRMiddle(ByteView m);
    Outcome OnIRLast(ByteView m);
    const IRImage* FindIR(int number) const;

    // Firmware loader (group 04).
    Outcome OnLoader(ByteView m, std::int64_t nowMs);
    Outcome LoaderAppend(ByteView data, std::int64_t nowMs);
    Outcome LeaveLoader(Outcome outcome);

    SimState mState;
    SimOptions mOptions;
    FaultBook mFaults;
    std::vector<std::pair<CommandKey, int>> mCounts;
    Upload mUpload;
    Loader mLoader;
    std::int64_t mRebootUntilMs = std::numeric_limits<std::int64_t>::min();
    std::vector<Queued> mQueue;
    bool mDisconnected = false;
    std::uint64_t mOrder = 0;
    std::vector<TraceEntry> mTrace;
};

} // namespace devsim
