#include "device/FileWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr mode_t kNewFileMode = 0644;

// Opens the target, remembering whether this call created it, so a failed
// first write can take the empty file away again.
int OpenTarget(const char* path, bool& created) {
    created = false;
    int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
    if (fd >= 0) {
        created = true;
        return fd;
    }
    if (errno != EEXIST)
        return -1;
    return open(path, O_WRONLY | O_CLOEXEC);
}

} // namespace

void FileWriter::Open(const char* path, int, int blockSize, int minBlocks, int, bool append,
                      bool noLocking) {
    Close();
    mPosition = mLargestSize = 0;
    mBuffered = 0;
    mFailed = false;
    if (!path)
        return;
    mFd = OpenTarget(path, mCreatedTarget);
    if (mFd < 0)
        return;
    mPath = path;
    if (!noLocking) {
        if (flock(mFd, LOCK_EX | LOCK_NB) == 0) {
            mLockHeld = true;
        } else if (errno == EWOULDBLOCK) {
            close(mFd);
            mFd = -1;
            return;
        } else {
            mLockHeld = flock(mFd, LOCK_SH | LOCK_NB) == 0;
        }
    }
    if (append) {
        struct stat status {};
        if (fstat(mFd, &status) == 0)
            mPosition = mLargestSize = status.st_size;
    } else if (noLocking) {
        if (ftruncate(mFd, 0) != 0)
            mFailed = true;
    } else if (!mStaged.Create(mPath, sys::ReplacementMode(mPath, kNewFileMode))) {
        mFailed = true;
        Close();
        return;
    }
    const int64_t bufferSize = int64_t{blockSize} * minBlocks;
    if (bufferSize >= 16384)
        mBuffer.resize(std::size_t((bufferSize + 4095) / 4096 * 4096));
}

bool FileWriter::WriteOut(const uint8_t* bytes, int64_t count) {
    while (count > 0) {
        const ssize_t written = pwrite(OutputDescriptor(), bytes, std::size_t(count), mPosition);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            mFailed = true;
            return false;
        }
        mPosition += written;
        bytes += written;
        count -= written;
    }
    return true;
}

int32_t FileWriter::Write(const void* bytes, int32_t count) {
    if (mFd < 0 || !bytes || count <= 0)
        return 0;
    const auto* source = static_cast<const uint8_t*>(bytes);
    if (mBuffer.empty()) {
        const int64_t before = mPosition;
        WriteOut(source, count);
        mLargestSize = std::max(mLargestSize, mPosition);
        return int32_t(mPosition - before);
    }
    int32_t accepted = 0;
    while (accepted < count) {
        const int32_t room = int32_t(mBuffer.size()) - mBuffered;
        const int32_t chunk = std::min(room, count - accepted);
        std::memcpy(mBuffer.data() + mBuffered, source + accepted, std::size_t(chunk));
        mBuffered += chunk;
        accepted += chunk;
        mLargestSize = std::max(mLargestSize, mPosition + mBuffered);
        if (mBuffered == int32_t(mBuffer.size())) {
            WriteOut(mBuffer.data(), mBuffered);
            mBuffered = 0;
        }
    }
    return accepted;
}

bool FileWriter::Close() {
    if (mFd < 0)
        return false;
    if (mBuffered > 0)
        WriteOut(mBuffer.data(), mBuffered);
    mBuffered = 0;
    bool replaced = !mFailed;
    if (mStaged.IsOpen()) {
        if (replaced)
            replaced = mStaged.Commit();
        else
            mStaged.Discard();
    }
    // A file this writer made and could not fill must not pose as written.
    // (Still linked means the replacement never took its place.)
    struct stat status {};
    if (!replaced && mCreatedTarget && fstat(mFd, &status) == 0 && status.st_nlink > 0)
        unlink(mPath.c_str());
    if (mLockHeld)
        flock(mFd, LOCK_UN);
    const bool closed = close(mFd) == 0;
    mFd = -1;
    mLockHeld = false;
    mCreatedTarget = false;
    mBuffer = {};
    return replaced && closed;
}
