#pragma once

#include "winlayer/WinTypes.h"

#include <cstddef>

// Kernel-style handles: threads, events, events over socket pairs and child
// processes, with waits and reference-counted closing. Safe from any thread.

using LPTHREAD_START_ROUTINE = DWORD (*)(void* argument);

HANDLE CreateThread(void* attributes, std::size_t stackSize, LPTHREAD_START_ROUTINE function,
                    void* argument, DWORD flags, DWORD* threadId);
UINT_PTR GetCurrentThreadId();
// Priority 15 and above asks for first-in-first-out scheduling; FALSE when the
// system refuses (no permission) or the thread has finished.
BOOL SetThreadPriority(HANDLE thread, int priority);

HANDLE CreateEvent(void* attributes, BOOL manualReset, BOOL initiallySignalled);
// An event whose state is a byte in a socket pair, so it can be polled.
HANDLE CreateEventAsSocket(void* attributes, BOOL manualReset, BOOL initiallySignalled);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);

// WAIT_OBJECT_0, WAIT_TIMEOUT or WAIT_FAILED; INFINITE waits for ever.
int WaitForSingleObject(HANDLE handle, DWORD milliseconds);
// The index of the first signalled socket event or descriptor object,
// WAIT_TIMEOUT or WAIT_FAILED.
int WaitForAnySocketObject(int count, const HANDLE* handles, DWORD milliseconds);
BOOL CloseHandle(HANDLE handle);

// Child processes, started by exact path; argv holds the arguments after the
// program's own name. Null when the program could not be started.
HANDLE WISP_CreateProcessIO(const char* executable, int argc, const char* const* argv,
                            BOOL wantPipes);
HANDLE WISP_CreateProcess(const char* executable, int argc, const char* const* argv);
// -3 while running, then the exit status (the signal number when killed); -1
// for anything that is not a process.
int WISP_GetProcessExitCode(HANDLE process);
int WISP_TerminateProcess(HANDLE process);

inline constexpr int WISP_PROCESS_IO_NONBLOCKING = 0x1000000;
// which: 0 writes to standard input, 1 and 2 read standard output and error
// (with WISP_PROCESS_IO_NONBLOCKING: only what is pending). Answers the bytes
// moved, 0 on failure.
int WISP_ReadWriteProcessIO(HANDLE process, int which, void* buffer, int size);
