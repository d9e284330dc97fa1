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
    mError = 0;
    if (!path) {
        mError = EINVAL;
        return;
    }
    mPath = path;
    if (!(append || noLocking ? OpenInPlace(noLocking) : OpenStaged())) {
        Fail();
        Close();
        return;
    }
    if (append) {
        struct stat status {};
        if (fstat(mFd, &status) == 0)
            mPosition = mLargestSize = status.st_size;
    } else if (noLocking && ftruncate(mFd, 0) != 0) {
        Fail();
    }
    const int64_t bufferSize = int64_t{blockSize} * minBlocks;
    if (bufferSize >= 16384)
        mBuffer.resize(std::size_t((bufferSize + 4095) / 4096 * 4096));
}

bool FileWriter::OpenInPlace(bool noLocking) {
    mFd = OpenTarget(mPath.c_str(), mCreatedTarget);
    if (mFd < 0)
        return false;
    mOpen = true;
    if (!noLocking)
        mLockHeld = flock(mFd, LOCK_EX | LOCK_NB) == 0 || flock(mFd, LOCK_SH | LOCK_NB) == 0;
    return true;
}

// An existing target is only opened for its lock (non-blocking, so a FIFO
// in its place cannot stop us); nothing is created until the commit.
bool FileWriter::OpenStaged() {
    mFd = open(mPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (mFd >= 0) {
        struct stat status {};
        if (fstat(mFd, &status) != 0)
            return false;
        if (S_ISDIR(status.st_mode)) {
            errno = EISDIR;
            return false;
        }
        if (!S_ISREG(status.st_mode)) {
            // Nothing to lock: the commit replaces what stands there.
            close(mFd);
            mFd = -1;
        } else if (flock(mFd, LOCK_EX | LOCK_NB) == 0) {
            mLockHeld = true;
        } else if (errno == EWOULDBLOCK) {
            return false;
        }
    } else if (errno != ENOENT) {
        return false;
    }
    if (!mStaged.Create(mPath, sys::ReplacementMode(mPath, kNewFileMode)))
        return false;
    mOpen = true;
    return true;
}

void FileWriter::Fail() {
    if (mError == 0)
        mError = errno != 0 ? errno : EIO;
    mFailed = true;
}

bool FileWriter::WriteOut(const uint8_t* bytes, int64_t count) {
    while (count > 0) {
        const ssize_t written = pwrite(OutputDescriptor(), bytes, std::size_t(count), mPosition);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = ENOSPC;
            Fail();
            return false;
        }
        mPosition += written;
        bytes += written;
        count -= written;
    }
    return true;
}

int32_t FileWriter::Write(const void* bytes, int32_t count) {
    if (!mOpen || !bytes || count <= 0)
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
    if (!mOpen) {
        mStaged.Discard();
        if (mFd >= 0)
            close(mFd);
        mFd = -1;
        mLockHeld = false;
        return false;
    }
    if (mBuffered > 0)
        WriteOut(mBuffer.data(), mBuffered);
    mBuffered = 0;
    bool replaced = !mFailed;
    if (mStaged.IsOpen()) {
        if (replaced && !mStaged.Commit()) {
            Fail();
            replaced = false;
        } else if (!replaced) {
            mStaged.Discard();
        }
    }
    // A file this writer made in place and could not fill must not pose as
    // written (still linked: nothing else took its place meanwhile).
    struct stat status {};
    if (!replaced && mCreatedTarget && mFd >= 0 && fstat(mFd, &status) == 0 && status.st_nlink > 0)
        unlink(mPath.c_str());
    if (mLockHeld)
        flock(mFd, LOCK_UN);
    bool closed = true;
    if (mFd >= 0 && close(mFd) != 0) {
        Fail();
        closed = false;
    }
    mFd = -1;
    mOpen = false;
    mLockHeld = false;
    mCreatedTarget = false;
    mBuffer = {};
    return replaced && closed;
}
