#include "winlayer/HandleRecord.h"

#include "winlayer/WinBasics.h"

#include <algorithm>
#include <vector>

using winlayer::HandleKind;
using winlayer::ProcessRecord;

namespace {

ProcessRecord* ProcessOf(HANDLE handle) {
    auto* record = winlayer::RecordAs<ProcessRecord>(handle, HandleKind::Process);
    return record && record->child ? record : nullptr;
}

} // namespace

HANDLE WISP_CreateProcessIO(const char* executable, int argc, const char* const* argv,
                            BOOL wantPipes) {
    std::vector<std::string> arguments;
    for (int i = 0; argv && i < argc; ++i)
        arguments.push_back(WISP_CStringToCFString(argv[i]));
    auto child =
        sys::ChildProcess::Spawn(WISP_CStringToCFString(executable), arguments, wantPipes != FALSE);
    if (!child)
        return nullptr;
    return new ProcessRecord(std::move(child));
}

HANDLE WISP_CreateProcess(const char* executable, int argc, const char* const* argv) {
    return WISP_CreateProcessIO(executable, argc, argv, FALSE);
}

int WISP_GetProcessExitCode(HANDLE process) {
    auto* record = ProcessOf(process);
    if (!record)
        return -1;
    const auto code = record->child->ExitCode();
    return code ? *code : -3;
}

int WISP_TerminateProcess(HANDLE process) {
    auto* record = ProcessOf(process);
    if (!record)
        return -1;
    record->child->Terminate();
    return 0;
}

int WISP_ReadWriteProcessIO(HANDLE process, int which, void* buffer, int size) {
    auto* record = ProcessOf(process);
    if (!record)
        return 0;
    // Held as a wait holds its object: reads and writes block for as long as
    // the child likes, and a close meanwhile must not take the pipes away.
    const winlayer::HandleReference held(*record);
    const bool nonBlocking = (which & WISP_PROCESS_IO_NONBLOCKING) != 0;
    const int stream = which & ~WISP_PROCESS_IO_NONBLOCKING;
    sys::ChildProcess& child = *record->child;
    if (stream == 0) {
        if (size < 1 || !buffer)
            return 0;
        return static_cast<int>(child.WriteInput(buffer, static_cast<std::size_t>(size)));
    }
    if (stream != 1 && stream != 2)
        return 0;
    const auto source =
        stream == 1 ? sys::ChildProcess::Stream::Output : sys::ChildProcess::Stream::Error;
    // With no room the child's output stays in the pipe rather than being dropped.
    if (size < 1 || !buffer)
        return 0;
    const ssize_t got = child.Read(source, buffer, static_cast<std::size_t>(size), nonBlocking);
    return got > 0 ? static_cast<int>(got) : 0;
}
