#pragma once

#include "platform/sys/StagedFile.h"

#include <cstdint>
#include <string>
#include <vector>

// Writes one library or exchange file whole. The target is locked against
// other writers and the bytes are staged beside it; only a complete, synced
// file replaces the old one, so a crash or a full disk leaves it whole. The
// append and no-locking modes, which no caller uses, write in place.
class FileWriter {
public:
    FileWriter() = default;
    ~FileWriter() { Close(); }
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    // The descriptor tells success: negative when the file could not be opened
    // or another writer holds its lock (the file is then untouched).
    void Open(const char* path, int mode = 1, int blockSize = 8192, int minBlocks = 4,
              int maxBlocks = 0, bool append = false, bool noLocking = false);
    int Descriptor() const { return mFd; }
    // The count accepted; 0 when closed. A failed write fails the Close.
    int32_t Write(const void* bytes, int32_t count);
    // True when every byte reached the file and it replaced the old one.
    bool Close();

private:
    bool WriteOut(const uint8_t* bytes, int64_t count);
    int OutputDescriptor() const { return mStaged.IsOpen() ? mStaged.Descriptor() : mFd; }

    int64_t mPosition = 0;
    int64_t mLargestSize = 0;
    std::vector<uint8_t> mBuffer;
    int32_t mBuffered = 0;
    int mFd = -1; // the target, held for its lock
    bool mLockHeld = false;
    bool mFailed = false;
    bool mCreatedTarget = false;
    std::string mPath;
    sys::StagedFile mStaged;
};
