#pragma once

#include "device/ByteSource.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// Why a file could not be had: it does not open, it is no regular file (a
// FIFO, folder or device, which could block or never end), it is larger than
// the caller takes, or it could not be read whole.
enum class FileProblem { None, CannotOpen, NotAFile, TooLarge, ReadFailed };

// Reads one regular file (or a link to one) under a shared lock with
// positioned block reads. When no shared lock can be had (a writer holds the
// file), the size is read again before each read. It can also map or load a
// whole file, which no caller asks.
class FileReader : public ByteSource {
public:
    FileReader() = default;
    ~FileReader() override { Close(); }
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    void Open(const char* path, int mode = 1, int blockSize = 8192, int blockCount = 4,
              int64_t smallestToMap = 0, int64_t largestToLoad = 0);
    int Descriptor() const { return mFd; }
    FileProblem Problem() const { return mProblem; }
    bool IsOpen() const { return mFd >= 0 || mHasCopy; }
    int64_t GetSize() override;
    int32_t Read(void* bytes, int32_t count) override;
    int SetPosition(int64_t position) override;
    int64_t GetPosition() const override { return mPosition; }
    void Close();

private:
    void RefreshSize();
    int32_t ReadFromBlock(uint8_t* out, int32_t count);
    uint8_t* Block();

    std::unique_ptr<uint8_t[]> mBlockStorage;
    std::size_t mBlockAlign = 0;
    int32_t mBlockSize = 0;
    int32_t mWindowLength = 0;
    int32_t mWindowPosition = 0;
    int64_t mPosition = 0;
    int64_t mSize = 0;
    void* mMapping = nullptr;
    std::vector<uint8_t> mCopy;
    bool mHasCopy = false;
    int64_t mFileOffset = 0;
    int mFd = -1;
    bool mLockHeld = false;
    bool mRecheckSize = false;
    FileProblem mProblem = FileProblem::None;
};

// A whole file read under the shared lock; nothing when it does not open, is
// no regular file, is larger than maxSize or could not be read whole (the
// reason in *problem when given).
std::optional<std::vector<uint8_t>> ReadWholeFile(const char* path, int64_t maxSize,
                                                  FileProblem* problem = nullptr);
