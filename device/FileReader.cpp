#include "device/FileReader.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int64_t kBlockAlignment = 8192;
// Smaller blocks are not worth a window: reads go straight to the caller.
constexpr int32_t kSmallestWindow = 16383;

} // namespace

void FileReader::Open(const char* path, int, int blockSize, int blockCount, int64_t smallestToMap,
                      int64_t largestToLoad) {
    Close();
    mProblem = FileProblem::CannotOpen;
    if (!path)
        return;
    // Non-blocking, so that a FIFO put where a file belongs cannot stop the
    // open; only regular files go on (a FIFO, folder or device never ends well).
    mFd = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (mFd < 0)
        return;
    struct stat status {};
    if (fstat(mFd, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(mFd);
        mFd = -1;
        mProblem = FileProblem::NotAFile;
        return;
    }
    mProblem = FileProblem::None;
    mLockHeld = flock(mFd, LOCK_SH | LOCK_NB) == 0;
    mRecheckSize = !mLockHeld;
    mSize = std::max<int64_t>(0, status.st_size);

    if (mSize < largestToLoad) {
        if (mSize >= smallestToMap && mSize > 0) {
            void* mapped = mmap(nullptr, std::size_t(mSize), PROT_READ, MAP_PRIVATE, mFd, 0);
            mMapping = mapped == MAP_FAILED ? nullptr : mapped;
        }
        if (!mMapping) {
            mCopy.resize(std::size_t(mSize));
            const ssize_t got = mSize > 0 ? pread(mFd, mCopy.data(), mCopy.size(), 0) : 0;
            mCopy.resize(std::size_t(std::max<ssize_t>(0, got)));
            mSize = int64_t(mCopy.size());
            mHasCopy = true;
        }
        return;
    }
    const int64_t rounded =
        (std::max(blockSize, 1) + kBlockAlignment - 1) / kBlockAlignment * kBlockAlignment;
    mBlockSize = int32_t(rounded * std::max(blockCount, 0));
}

uint8_t* FileReader::Block() {
    // Made at the first block read and never cleared, as pread fills what is
    // used: the library's 128 slot files are opened at every start and most
    // are read with one small read.
    if (!mBlockStorage) {
        mBlockStorage = std::make_unique_for_overwrite<uint8_t[]>(
            std::size_t(mBlockSize + kBlockAlignment - 1));
        const auto address = reinterpret_cast<std::uintptr_t>(mBlockStorage.get());
        mBlockAlign =
            std::size_t((kBlockAlignment - int64_t(address % kBlockAlignment)) % kBlockAlignment);
    }
    return mBlockStorage.get() + mBlockAlign;
}

void FileReader::RefreshSize() {
    struct stat status {};
    if (mFd >= 0 && fstat(mFd, &status) == 0)
        mSize = status.st_size;
}

int64_t FileReader::GetSize() {
    if (mRecheckSize)
        RefreshSize();
    return mSize;
}

int32_t FileReader::ReadFromBlock(uint8_t* out, int32_t count) {
    int32_t copied = 0;
    while (copied < count) {
        if (mWindowPosition >= mWindowLength) {
            if (mFileOffset >= mSize)
                break;
            // A read that takes a whole block, or the rest of the file, needs no window.
            const int32_t wanted = count - copied;
            if (wanted >= mBlockSize || wanted >= mSize - mFileOffset) {
                const ssize_t got = pread(mFd, out + copied, std::size_t(wanted), mFileOffset);
                if (got <= 0)
                    break;
                mWindowLength = mWindowPosition = 0;
                mFileOffset += got;
                copied += int32_t(got);
                continue;
            }
            const ssize_t got = pread(mFd, Block(), std::size_t(mBlockSize), mFileOffset);
            if (got <= 0)
                break;
            mWindowLength = int32_t(got);
            mWindowPosition = 0;
            mFileOffset += got;
        }
        const int32_t chunk = std::min(count - copied, mWindowLength - mWindowPosition);
        std::memcpy(out + copied, Block() + mWindowPosition, std::size_t(chunk));
        mWindowPosition += chunk;
        copied += chunk;
    }
    return copied;
}

int32_t FileReader::Read(void* bytes, int32_t count) {
    if (!bytes || count <= 0)
        return 0;
    auto* out = static_cast<uint8_t*>(bytes);
    if (mMapping || mHasCopy) {
        const int32_t n = int32_t(std::min<int64_t>(count, mSize - mPosition));
        if (n <= 0)
            return 0;
        const uint8_t* base = mMapping ? static_cast<const uint8_t*>(mMapping) : mCopy.data();
        std::memcpy(out, base + mPosition, std::size_t(n));
        mPosition += n;
        return n;
    }
    if (mFd < 0)
        return 0;
    if (mRecheckSize)
        RefreshSize();
    int32_t copied = 0;
    if (mBlockSize >= kSmallestWindow) {
        copied = ReadFromBlock(out, count);
    } else {
        const ssize_t got = pread(mFd, out, std::size_t(count), mFileOffset);
        copied = int32_t(std::max<ssize_t>(0, got));
        mFileOffset += copied;
    }
    mPosition += copied;
    return copied;
}

int FileReader::SetPosition(int64_t position) {
    if (!mHasCopy) {
        if (mFd < 0)
            return 1;
        if (mRecheckSize)
            RefreshSize();
    }
    position = std::clamp<int64_t>(position, 0, mSize);
    if (position == mPosition)
        return 0;
    mPosition = position;
    if (mMapping || mHasCopy)
        return 0;
    // Keep the block when the new position lies inside it.
    const int64_t windowStart = mFileOffset - mWindowLength;
    if (mBlockSize >= kSmallestWindow && position >= windowStart && position < mFileOffset) {
        mWindowPosition = int32_t(position - windowStart);
        return 0;
    }
    mWindowLength = mWindowPosition = 0;
    mFileOffset = position;
    return 0;
}

void FileReader::Close() {
    mCopy = {};
    mHasCopy = false;
    if (mMapping)
        munmap(mMapping, std::size_t(mSize));
    mMapping = nullptr;
    if (mFd >= 0) {
        if (mLockHeld)
            flock(mFd, LOCK_UN);
        close(mFd);
    }
    mFd = -1;
    mLockHeld = mRecheckSize = false;
    mBlockStorage.reset();
    mBlockAlign = 0;
    mBlockSize = mWindowLength = mWindowPosition = 0;
    mPosition = mSize = mFileOffset = 0;
}

std::optional<std::vector<uint8_t>> ReadWholeFile(const char* path, int64_t maxSize,
                                                  FileProblem* problem) {
    FileProblem ignored = FileProblem::None;
    FileProblem& why = problem ? *problem : ignored;
    why = FileProblem::CannotOpen;
    if (!path || !*path)
        return std::nullopt;
    FileReader reader;
    reader.Open(path);
    why = reader.Problem();
    if (reader.Descriptor() < 0)
        return std::nullopt;
    const int64_t size = reader.GetSize();
    if (size < 0 || size > maxSize) {
        why = FileProblem::TooLarge;
        return std::nullopt;
    }
    std::vector<uint8_t> bytes(std::size_t(size), 0);
    if (reader.Read(bytes.data(), int32_t(size)) != size) {
        why = FileProblem::ReadFailed;
        return std::nullopt;
    }
    return bytes;
}
