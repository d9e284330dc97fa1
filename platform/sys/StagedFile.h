#pragma once

#include <string>
#include <string_view>
#include <sys/types.h>

namespace sys {

// A temporary file beside the one it will replace, so that a crash, a full
// disk or a failed write never leaves the target half written. Failures keep
// the errno that explains them.
class StagedFile {
public:
    StagedFile() = default;
    ~StagedFile() { Discard(); }
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Creates ".<name>.tmp-XXXXXX" exclusively in the target's folder (a
    // planted link is never followed) with the given mode, and holds an
    // exclusive lock on it while it is open, so a clean-up of abandoned
    // temporaries can tell it from one whose writer died. False when it cannot.
    bool Create(const std::string& target, mode_t mode);
    int Descriptor() const { return mFd; }
    bool IsOpen() const { return mFd >= 0; }

    enum CommitMode { kReplace, kKeepExisting };
    // Syncs the bytes, moves the temporary into the target's place and syncs
    // the folder so the move survives a power cut. kKeepExisting never
    // replaces a file that is already there. On failure the temporary goes
    // and the target stays as it was.
    bool Commit(CommitMode mode = kReplace);
    // Closes and removes the temporary; the target is untouched.
    void Discard();

    // The name prefix of the temporaries staged for a file called name.
    static std::string TemporaryPrefix(const std::string& name) { return "." + name + ".tmp-"; }

private:
    int mFd = -1;
    std::string mPath;
    std::string mTarget;
};

// Removes the temporaries in folder that staged a file whose name `staged`
// accepts and whose writer is gone (their lock can be taken); a write under
// way keeps its own.
void RemoveAbandonedTemporaries(const std::string& folder, bool (*staged)(std::string_view name));

// The folder part of a path: "" or ending in '/'.
std::string FolderOfPath(const std::string& path);
// Syncs a folder ("" is the current one), so renames in it are durable.
bool SyncFolder(const std::string& folder);
// The mode a replacement gets: the existing file's, else the given default.
mode_t ReplacementMode(const std::string& target, mode_t fallback);

} // namespace sys
