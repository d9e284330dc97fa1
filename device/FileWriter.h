#pragma once

#include "platform/sys/StagedFile.h"

#include <cstdint>
#include <string>
#include <vector>

// Writes one library or exchange file whole. The bytes are staged beside the
// target, which is neither created nor touched before the commit: only a
// complete, synced file replaces the old one, so a crash, a kill or a full
// disk leaves the old file (or none). An existing target is locked against
// other writers. The append and no-locking modes, which no caller uses, write
// in place.
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
    int Descriptor() const { return OutputDescriptor(); }
    // The count accepted; 0 when closed. A failed write fails the Close.
    int32_t Write(const void* bytes, int32_t count);
    // True when every byte reached the file and it replaced the old one.
    bool Close();
    // The errno of the first failure since Open (0 while none), so a caller
    // can say why: no space, a read-only folder, a folder in the file's place.
    int Error() const { return mError; }

private:
    bool WriteOut(const uint8_t* bytes, int64_t count);
    bool OpenInPlace(bool noLocking);
    bool OpenStaged();
    void Fail();
    int OutputDescriptor() const { return mStaged.IsOpen() ? mStaged.Descriptor() : mFd; }

    int64_t mPosition = 0;
    int64_t mLargestSize = 0;
    std::vector<uint8_t> mBuffer;
    int32_t mBuffered = 0;
    int mFd = -1; // the existing target, held for its lock (or written in place)
    bool mLockHeld = false;
    bool mFailed = false;
    bool mOpen = false;
    int mError = 0;
    bool mCreatedTarget = false;
    std::string mPath;
    sys::StagedFile mStaged;
};
