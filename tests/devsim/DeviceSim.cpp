#include "tests/devsim/DeviceSim.h"

#include "tests/devsim/SimDescribe.h"

#include <algorithm>

namespace devsim {

namespace {

// Spoils the check digits of every reply that has them.
void Corrupt(Bytes& reply) {
    const bool lastIRPart = reply.size() > 10 && reply[4] == kEditorGroup && reply[5] == 0x66;
    if (reply.size() == kDumpSize || lastIRPart) {
        std::uint8_t& low = reply[reply.size() - 2];
        low = static_cast<std::uint8_t>((low + 1) & 0x7F);
    }
}

} // namespace

DeviceSim::DeviceSim(SimState state, SimOptions options)
    : mState(std::move(state)), mOptions(options) {
    mState.userIRs.resize(kUserIRCount);
}

std::vector<Bytes> DeviceSim::Receive(ByteView message, std::int64_t nowMs) {
    TraceEntry entry{nowMs, false, Bytes(message.begin(), message.end()), DescribeMessage(message)};
    std::string note = mDisconnected ? "ignored: disconnected" : Screen(message, nowMs);
    if (note.empty()) {
        note = Handle(message, nowMs);
    }
    if (!note.empty()) {
        entry.text += " -- " + note;
    }
    mTrace.push_back(std::move(entry));
    return Poll(nowMs);
}

std::string DeviceSim::Handle(ByteView message, std::int64_t nowMs) {
    const CommandKey key{message[4], message[5]};
    const std::optional<FaultRule> fault = mFaults.Match(key, CountOccurrence(key));
    const auto faultIs = [&](FaultKind kind) { return fault && fault->kind == kind; };
    if (faultIs(FaultKind::Drop)) {
        return "dropped (fault)";
    }
    Outcome outcome = faultIs(FaultKind::Nak) ? Refuse(key) : Dispatch(message, nowMs);
    if (faultIs(FaultKind::Nak)) {
        outcome.note = "refused (fault)";
    }
    if (faultIs(FaultKind::Corrupt)) {
        std::for_each(outcome.replies.begin(), outcome.replies.end(), Corrupt);
        outcome.note +=
            outcome.note.empty() ? "check bytes spoilt (fault)" : "; check bytes spoilt (fault)";
    }
    if (faultIs(FaultKind::Disconnect)) {
        // The cable is pulled after the first reply: nothing queued goes out.
        mQueue.clear();
        outcome.replies.resize(std::min<std::size_t>(outcome.replies.size(), 1));
        outcome.note += outcome.note.empty() ? "disconnected (fault)" : "; disconnected (fault)";
    }
    const std::int64_t dueMs = nowMs + (faultIs(FaultKind::Delay) ? fault->delayMs : 0);
    for (Bytes& reply : outcome.replies) {
        Enqueue(std::move(reply), dueMs);
    }
    mDisconnected = mDisconnected || faultIs(FaultKind::Disconnect);
    return outcome.note;
}

int DeviceSim::CountOccurrence(CommandKey key) {
    auto count = std::find_if(mCounts.begin(), mCounts.end(),
                              [&](const auto& entry) { return entry.first == key; });
    if (count == mCounts.end()) {
        count = mCounts.insert(mCounts.end(), {key, 0});
    }
    return ++count->second;
}

std::string DeviceSim::Screen(ByteView message, std::int64_t nowMs) const {
    if (Rebooting(nowMs)) {
        return "ignored: rebooting";
    }
    if (!IsDeviceFrame(message)) {
        return "ignored: not F0 00 51 21 ... F7 with 7-bit data";
    }
    const CommandKey key{message[4], message[5]};
    if (!IsKnownCommand(key)) {
        return "ignored: unknown command";
    }
    if (!HasValidLength(key, message.size())) {
        return "ignored: wrong length for its command";
    }
    if (mState.loaderActive && key.group == kEditorGroup) {
        return "ignored: the loader is running";
    }
    if (!mState.loaderActive && key.group == kLoaderGroup && key.command != 0x10) {
        return "ignored: the loader is not running";
    }
    return {};
}

DeviceSim::Outcome DeviceSim::Refuse(CommandKey key) {
    Outcome outcome;
    if (auto reply = NegativeReply(key)) {
        outcome.replies.push_back(std::move(*reply));
    }
    if (key.group == kLoaderGroup) {
        return LeaveLoader(std::move(outcome));
    }
    if (key.command == 0x60 || key.command == 0x66 || key.command == 0x79) {
        mUpload = {};
    }
    return outcome;
}

DeviceSim::Outcome DeviceSim::Dispatch(ByteView m, std::int64_t nowMs) {
    if (m[4] == kLoaderGroup) {
        return OnLoader(m, nowMs);
    }
    switch (m[5]) {
    case 0x20:
        return OnEditBufferDump(m);
    case 0x23:
        return OnPresetSelect(m);
    case 0x40:
        return {{PresetReply(m[7])}, {}};
    case 0x50:
        return OnParamChange(m);
    case 0x52:
        return OnSettingsDump(m);
    case 0x55:
        return OnSettingsRequest(m);
    case 0x56:
        return OnFactoryReset(m);
    case 0x5A:
    case 0x5B:
        mState.bulkOpen = m[5] == 0x5A;
        return {};
    case 0x5F:
        return {};
    case 0x60:
    case 0x77:
        return OnIRFirst(m, m[5] == 0x77);
    case 0x65:
    case 0x78:
        return OnIRMiddle(m);
    case 0x66:
    case 0x79:
        return OnIRLast(m);
    case 0x69:
        return OnIRDumpRequest(m);
    case 0x6A:
        return OnIRNamesRequest(m);
    case 0x7F:
        return OnPresetWrite(m);
    default:
        return {{}, "ignored: unknown command"};
    }
}

void DeviceSim::Enqueue(Bytes bytes, std::int64_t dueMs) {
    if (mDisconnected) {
        return;
    }
    mQueue.push_back({dueMs, mOrder++, std::move(bytes)});
}

std::vector<Bytes> DeviceSim::Poll(std::int64_t nowMs) {
    std::stable_sort(mQueue.begin(), mQueue.end(), [](const Queued& a, const Queued& b) {
        return a.dueMs != b.dueMs ? a.dueMs < b.dueMs : a.order < b.order;
    });
    std::vector<Bytes> due;
    auto it = mQueue.begin();
    for (; it != mQueue.end() && it->dueMs <= nowMs; ++it) {
        mTrace.push_back({nowMs, true, it->bytes, DescribeMessage(it->bytes)});
        due.push_back(std::move(it->bytes));
    }
    mQueue.erase(mQueue.begin(), it);
    return due;
}

std::int64_t DeviceSim::NextDueMs() const {
    if (mQueue.empty()) {
        return -1;
    }
    return std::min_element(mQueue.begin(), mQueue.end(),
                            [](const Queued& a, const Queued& b) { return a.dueMs < b.dueMs; })
        ->dueMs;
}

void DeviceSim::InjectParamValue(std::uint8_t index, std::uint8_t value, std::int64_t nowMs) {
    if (index < kPresetValueCount) {
        mState.editBuffer[kPresetValuesOffset + index] = value;
    } else if (index == 0x4D) {
        mState.knobBankB = value > 0;
    }
    Enqueue(BuildParamValue(index & 0x7F, value & 0x7F), nowMs);
}

void DeviceSim::InjectPresetChange(int slot, std::int64_t nowMs) {
    mState.currentSlot = std::clamp(slot, 0, kPresetCount - 1);
    mState.editBuffer = mState.presets[mState.currentSlot];
    Enqueue(PresetReply(mState.currentSlot), nowMs);
}

void DeviceSim::InjectRaw(Bytes message, std::int64_t nowMs) {
    Enqueue(std::move(message), nowMs);
}

} // namespace devsim
