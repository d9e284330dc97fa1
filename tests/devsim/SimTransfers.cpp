// Packed transfers into the pedal: IR uploads and restores, and the firmware loader.

#include "tests/devsim/DeviceSim.h"

#include <algorithm>

namespace devsim {

namespace {

constexpr std::size_t kIRPackedSize = 2785;
constexpr std::size_t kMaxFirmwarePacked = 65535 * 8 / 7 + 1;
constexpr std::uint8_t kLoaderReady = 0x12;
constexpr std::uint8_t kLoaderDone = 0x14;
constexpr std::uint8_t kLoaderError = 0x15;

std::size_t Read21(ByteView m, std::size_t at) {
    return (std::size_t{m[at]} << 14) | (std::size_t{m[at + 1]} << 7) | m[at + 2];
}

bool CheckMatches(ByteView data, std::uint8_t hi, std::uint8_t lo) {
    const auto check = CheckDigits(SumOf(data) & 0x3FFF);
    return check[0] == hi && check[1] == lo;
}

} // namespace

DeviceSim::Outcome DeviceSim::OnIRFirst(ByteView m, bool restore) {
    mUpload = {};
    mUpload.active = true;
    mUpload.restore = restore;
    mUpload.slot = m[7] * 128 + m[8];
    mUpload.declared = Read21(m, 9);
    mUpload.packed.assign(m.begin() + 12, m.end() - 1);
    const bool slotOk = mUpload.slot < kFactoryIRFirst + kFactoryIRCount;
    if (slotOk && mUpload.declared == kIRPackedSize) {
        return {{restore ? BuildShortReply('s') : BuildShortReply('c')}, {}};
    }
    const char* why = slotOk ? "refused: packed size is not 2785" : "refused: no such IR";
    // A refused restore part is answered at once, or the restore would wait for ever.
    mUpload = {};
    return {{BuildShortReply(restore ? '~' : 'b')}, why};
}

DeviceSim::Outcome DeviceSim::OnIRMiddle(ByteView m) {
    if (!mUpload.active) {
        return {{}, "ignored: no IR transfer under way"};
    }
    const ByteView data = m.subspan(7, m.size() - 8);
    if (mUpload.packed.size() + data.size() > mUpload.declared) {
        // Held back rather than stored: a sender that never stops must not grow it.
        mUpload.failed = true;
        return {{}, "more data than declared"};
    }
    mUpload.packed.insert(mUpload.packed.end(), data.begin(), data.end());
    return {};
}

DeviceSim::Outcome DeviceSim::OnIRLast(ByteView m) {
    const bool restore = m[5] == 0x79;
    const Bytes refusal = BuildShortReply(restore ? '~' : 'b');
    if (!mUpload.active || mUpload.restore != restore) {
        mUpload = {};
        return {{refusal}, "refused: no IR transfer under way"};
    }
    Upload upload = std::move(mUpload);
    mUpload = {};
    upload.packed.insert(upload.packed.end(), m.begin() + 7, m.end() - 3);
    const std::uint8_t hi = m[m.size() - 3];
    const std::uint8_t lo = m[m.size() - 2];
    if (upload.failed || upload.packed.size() != upload.declared) {
        return {{refusal}, "refused: transfer incomplete or oversized"};
    }
    if (!CheckMatches(upload.packed, hi, lo)) {
        return {{refusal}, "refused: bad transfer checksum"};
    }
    const Bytes image = Unpack7To8(upload.packed);
    IRImage stored;
    std::copy_n(image.begin(), stored.size(), stored.begin());
    if (upload.slot < kUserIRCount) {
        mState.userIRs[upload.slot] = stored;
    } else {
        mState.factoryIRs[upload.slot - kFactoryIRFirst] = stored;
    }
    return {{BuildShortReply(restore ? '}' : 'a')}, "IR stored"};
}

DeviceSim::Outcome DeviceSim::OnLoader(ByteView m, std::int64_t nowMs) {
    switch (m[5]) {
    case 0x10:
        mState.loaderActive = true;
        mLoader = {};
        return {{BuildLoaderReply(kLoaderReady)}, "loader entered"};
    case 0x13:
        mLoader = {};
        mLoader.started = true;
        mLoader.declared = Read21(m, 6);
        if (mLoader.declared == 0 || mLoader.declared > kMaxFirmwarePacked) {
            return LeaveLoader(
                {{BuildLoaderReply(kLoaderError)}, "refused: packed size out of range"});
        }
        return LoaderAppend(m.subspan(9, m.size() - 10), nowMs);
    default:
        if (!mLoader.started) {
            return LeaveLoader({{BuildLoaderReply(kLoaderError)}, "refused: chunk before start"});
        }
        return LoaderAppend(m.subspan(6, m.size() - 7), nowMs);
    }
}

DeviceSim::Outcome DeviceSim::LoaderAppend(ByteView data, std::int64_t nowMs) {
    mLoader.received.insert(mLoader.received.end(), data.begin(), data.end());
    const std::size_t total = mLoader.declared + 2;
    if (mLoader.received.size() < total) {
        return {};
    }
    const ByteView packed = ByteView(mLoader.received).first(mLoader.declared);
    if (mLoader.received.size() > total ||
        !CheckMatches(packed, mLoader.received[total - 2], mLoader.received[total - 1])) {
        return LeaveLoader({{BuildLoaderReply(kLoaderError)}, "refused: bad firmware transfer"});
    }
    mState.firmware = Unpack7To8(packed);
    ++mState.firmwareUpdates;
    mRebootUntilMs = nowMs + mOptions.rebootMs;
    return LeaveLoader({{BuildLoaderReply(kLoaderDone)}, "firmware accepted, rebooting"});
}

DeviceSim::Outcome DeviceSim::LeaveLoader(Outcome outcome) {
    mState.loaderActive = false;
    mLoader = {};
    return outcome;
}

} // namespace devsim
