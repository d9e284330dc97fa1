// The pedal's answers to the editor's group-05 commands other than IR transfers.

#include "tests/devsim/DeviceSim.h"

#include <algorithm>

namespace devsim {

namespace {

constexpr std::uint8_t kStoreId = 0x12;
constexpr std::uint8_t kKnobBankId = 0x13;
constexpr std::uint8_t kIRNumberHighIdA = 0x39;
constexpr std::uint8_t kIRNumberHighIdB = 0x3B;
constexpr std::uint8_t kKeepPotDisplay = 2;
constexpr int kNamesPerBlock = 8;
constexpr int kFactoryNamesBlock = 32;

ByteView DumpData(ByteView m) {
    return m.subspan(kDumpDataOffset, kDumpDataSize);
}

bool DumpCheckOk(ByteView m) {
    const auto check = CheckDigits(SumOf(DumpData(m)));
    return m[264] == check[0] && m[265] == check[1];
}

PresetImage ToImage(ByteView data) {
    PresetImage image;
    std::copy(data.begin(), data.end(), image.begin());
    return image;
}

} // namespace

Bytes DeviceSim::PresetReply(int slot) const {
    // Preset dumps always carry 0C; only the settings replies carry the version.
    return BuildDump(0x41, kProtocolVersion, static_cast<std::uint8_t>(slot), mState.presets[slot]);
}

Bytes DeviceSim::SettingsReply(std::uint8_t type, const PresetImage& data) const {
    return BuildDump(0x52, mState.versionByte, type, data);
}

DeviceSim::Outcome DeviceSim::OnEditBufferDump(ByteView m) {
    if (!DumpCheckOk(m)) {
        return {{}, "ignored: bad checksum"};
    }
    mState.editBuffer = ToImage(DumpData(m));
    return {{}, "edit buffer replaced"};
}

DeviceSim::Outcome DeviceSim::OnPresetSelect(ByteView m) {
    mState.currentSlot = m[7];
    mState.editBuffer = mState.presets[mState.currentSlot];
    return {{PresetReply(mState.currentSlot)}, {}};
}

DeviceSim::Outcome DeviceSim::OnParamChange(ByteView m) {
    const std::uint8_t id = m[7];
    const std::uint8_t value = m[8];
    if (id == kStoreId) {
        mState.presets[value] = mState.editBuffer;
        mState.currentSlot = value;
        return {{PresetReply(value)}, "stored"};
    }
    if (id == kKnobBankId) {
        mState.knobBankB = value > 0;
        return {{}, "knob bank set"};
    }
    if (id == 16 || id == 17) {
        mState.extraParams[id - 16] = value;
        return {};
    }
    // Device ids 0..15 and 20..77 are the preset values 0..15 and 16..73.
    if (id > 77) {
        return {{}, "ignored: unknown parameter id"};
    }
    const int index = id < 16 ? id : id - 4;
    mState.editBuffer[kPresetValuesOffset + index] = value;
    if (id == kIRNumberHighIdA || id == kIRNumberHighIdB) {
        return {{BuildShortReply('_')}, {}};
    }
    return {};
}

DeviceSim::Outcome DeviceSim::OnSettingsDump(ByteView m) {
    if (!DumpCheckOk(m)) {
        return {{}, "ignored: bad checksum"};
    }
    const ByteView d = DumpData(m);
    switch (m[7]) {
    case 0: {
        const std::uint8_t keptPotDisplay = mState.globals[6];
        // d1..d13, d16 and d17 are settings; the reserved bytes stay as they are.
        std::copy(d.begin() + 1, d.begin() + 14, mState.globals.begin() + 1);
        std::copy(d.begin() + 16, d.begin() + 18, mState.globals.begin() + 16);
        if (d[6] == kKeepPotDisplay) {
            mState.globals[6] = keptPotDisplay;
        }
        if (!mOptions.ackGlobalsWrite) {
            return {};
        }
        break;
    }
    case 1:
        std::copy_n(d.begin(), mState.ccTable.size(), mState.ccTable.begin());
        break;
    case 2:
        std::copy_n(d.begin(), mState.programMap.size(), mState.programMap.begin());
        break;
    default:
        return {{}, "ignored: settings type not writable"};
    }
    return {{BuildShortReply('W')}, {}};
}

DeviceSim::Outcome DeviceSim::OnSettingsRequest(ByteView m) {
    const std::uint8_t type = m[7];
    PresetImage data{};
    switch (type) {
    case 0:
        data = mState.globals;
        data[0] = static_cast<std::uint8_t>(mState.currentSlot);
        break;
    case 1:
        std::copy(mState.ccTable.begin(), mState.ccTable.end(), data.begin());
        break;
    case 2:
        std::copy(mState.programMap.begin(), mState.programMap.end(), data.begin());
        break;
    case 3:
        for (int slot = 0; slot < kPresetCount; ++slot) {
            const auto check = PresetCheck(mState.presets[slot]);
            data[2 * slot] = check[0];
            data[2 * slot + 1] = check[1];
        }
        break;
    case 0x0F: {
        const auto serial = TextField(mState.serial);
        std::copy(serial.begin(), serial.end(), data.end() - kTextFieldSize);
        break;
    }
    default:
        return {{}, "ignored: unknown settings type"};
    }
    return {{SettingsReply(type, data)}, {}};
}

DeviceSim::Outcome DeviceSim::OnFactoryReset(ByteView m) {
    const std::uint8_t what = m[7];
    if (what > 2) {
        return {{}, "ignored: unknown reset"};
    }
    const SimState fresh = FactoryState();
    if (what == 0 || what == 1) {
        mState.presets = fresh.presets;
    }
    if (what == 0 || what == 2) {
        mState.globals = fresh.globals;
        mState.ccTable = fresh.ccTable;
        mState.programMap = fresh.programMap;
    }
    if (what == 0) {
        mState.currentSlot = 0;
        mState.knobBankB = false;
        mState.extraParams = {};
    }
    mState.editBuffer = mState.presets[mState.currentSlot];
    return {{BuildShortReply('W')}, {}};
}

DeviceSim::Outcome DeviceSim::OnPresetWrite(ByteView m) {
    if (!DumpCheckOk(m)) {
        return {{BuildShortReply('r')}, "refused: bad checksum"};
    }
    const int slot = m[7];
    mState.presets[slot] = ToImage(DumpData(m));
    if (slot == mState.currentSlot) {
        mState.editBuffer = mState.presets[slot];
    }
    return {{BuildShortReply('q')}, {}};
}

DeviceSim::Outcome DeviceSim::OnIRNamesRequest(ByteView m) {
    const int block = m[7];
    PresetImage data;
    data.fill(' ');
    for (int k = 0; k < kNamesPerBlock; ++k) {
        const IRImage* image = nullptr;
        if (block < kFactoryNamesBlock) {
            image = FindIR(block * kNamesPerBlock + k);
        } else if (block == kFactoryNamesBlock) {
            image = &mState.factoryIRs[k];
        }
        if (image) {
            std::copy_n(image->begin() + kIRNameOffset, kTextFieldSize,
                        data.begin() + k * kTextFieldSize);
        }
    }
    return {{BuildDump(0x6B, kProtocolVersion, static_cast<std::uint8_t>(block), data)}, {}};
}

DeviceSim::Outcome DeviceSim::OnIRDumpRequest(ByteView m) {
    const int number = m[7] * 128 + m[8];
    if (number >= kFactoryIRFirst + kFactoryIRCount) {
        return {{}, "ignored: no such IR"};
    }
    const IRImage* image = FindIR(number);
    const IRImage blank = BlankIRImage();
    return {BuildIRDump(number, image ? *image : blank), image ? "" : "empty slot: blank image"};
}

const IRImage* DeviceSim::FindIR(int number) const {
    if (number >= 0 && number < kUserIRCount) {
        const auto& slot = mState.userIRs[number];
        return slot ? &*slot : nullptr;
    }
    if (number >= kFactoryIRFirst && number < kFactoryIRFirst + kFactoryIRCount) {
        return &mState.factoryIRs[number - kFactoryIRFirst];
    }
    return nullptr;
}

} // namespace devsim
