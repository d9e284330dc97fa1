#include "device/BankFormat.h"

#include "device/DeviceMessage.h"
#include "device/Packing.h"
#include "device/ReplyRules.h"

#include <algorithm>

namespace omnar {
namespace {

constexpr std::uint8_t kPresetDump = 0x41;
constexpr std::uint8_t kIRFirstPart = 0x60;
constexpr std::uint8_t kIRMiddlePart = 0x65;
constexpr std::uint8_t kIRLastPart = 0x66;

// The whole message starting at `at`, or an empty span when none starts there.
std::span<const std::uint8_t> MessageAt(std::span<const std::uint8_t> bank, std::size_t at) {
    if (at >= bank.size() || bank[at] != kSysExStart)
        return {};
    const auto end = std::find(bank.begin() + std::ptrdiff_t(at), bank.end(), kSysExEnd);
    if (end == bank.end())
        return {};
    const auto m = bank.subspan(at, std::size_t(end - bank.begin()) - at + 1);
    return IsWellFormedReply(m) && m[4] == kEditorGroup ? m : std::span<const std::uint8_t>{};
}

} // namespace

std::optional<int> CountBankMessages(std::span<const std::uint8_t> bank, BankProblem* problem) {
    BankProblem ignored = BankProblem::None;
    BankProblem& why = problem ? *problem : ignored;
    why = BankProblem::UnknownFormat;
    if (bank.empty() || bank.size() > kBankFileMax)
        return std::nullopt;
    int count = 0;
    std::size_t at = 0;
    while (at < bank.size()) {
        const auto m = MessageAt(bank, at);
        if (m.empty()) {
            const bool padding =
                std::find(bank.begin() + std::ptrdiff_t(at), bank.end(), kSysExStart) == bank.end();
            if (padding && count > 0)
                break;
            return std::nullopt;
        }
        if (m[5] == kPresetDump) {
            if (!DumpChecksumOk(m))
                return std::nullopt;
            ++count;
            at += m.size();
            continue;
        }
        if (m[5] != kIRFirstPart)
            return std::nullopt;
        // The parts up to the last one are checked as one transfer.
        const std::size_t start = at;
        int parts = 0;
        for (auto part = m;; part = MessageAt(bank, at)) {
            if (part.empty() || (parts > 0 && part[5] != kIRMiddlePart && part[5] != kIRLastPart))
                return std::nullopt;
            ++parts;
            at += part.size();
            if (part[5] == kIRLastPart)
                break;
        }
        if (!IsWholeIRDump(bank.subspan(start, at - start))) {
            why = BankProblem::DamagedIR;
            return std::nullopt;
        }
        count += parts;
    }
    why = BankProblem::None;
    return count;
}

std::optional<std::vector<std::uint8_t>> PackFirmwareFile(std::span<const std::uint8_t> file) {
    if (file.size() < kFirmwareFileMin || file.size() > kFirmwareFileMax)
        return std::nullopt;
    return Pack8To7(file);
}

} // namespace omnar
