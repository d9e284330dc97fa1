#include "device/FileWriter.h"
#include "device/OmnarControl.h"

#include <algorithm>

bool OmnarControl::WriteBankFile() {
    FileWriter writer;
    writer.Open(mBankExportPath.Get());
    if (writer.Descriptor() < 0)
        return false;
    const int32_t length = std::clamp(mBankLength, 0, kBankBufferSize);
    const bool accepted = writer.Write(mBankBuffer.data(), length) == length;
    return writer.Close() && accepted;
}
