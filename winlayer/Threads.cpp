#include "winlayer/HandleRecord.h"

#include "winlayer/Runtime.h"

#include <algorithm>
#include <sched.h>

using winlayer::HandleKind;
using winlayer::ThreadRecord;

namespace {

void* ThreadBody(void* parameter) {
    auto* record = static_cast<ThreadRecord*>(parameter);
    record->result.store(static_cast<int>(record->function(record->argument)));
    record->finished.store(true);
    CloseHandle(record);
    return nullptr;
}

} // namespace

HANDLE CreateThread(void*, std::size_t, LPTHREAD_START_ROUTINE function, void* argument, DWORD,
                    DWORD* threadId) {
    if (!function)
        return nullptr;
    WISP_EnsureMultithreadedCocoa();
    auto* record = new ThreadRecord(function, argument);
    if (pthread_create(&record->thread, nullptr, ThreadBody, record) != 0) {
        delete record;
        return nullptr;
    }
    if (threadId)
        *threadId = static_cast<DWORD>(record->thread);
    return record;
}

UINT_PTR GetCurrentThreadId() {
    return static_cast<UINT_PTR>(pthread_self());
}

BOOL SetThreadPriority(HANDLE thread, int priority) {
    auto* record = winlayer::RecordAs<ThreadRecord>(thread, HandleKind::Thread);
    if (!record || record->finished.load())
        return FALSE;
    int policy = SCHED_OTHER;
    sched_param parameters{};
    if (pthread_getschedparam(record->thread, &policy, &parameters) != 0)
        return FALSE;
    if (priority >= 15)
        policy = SCHED_FIFO;
    parameters.sched_priority =
        std::clamp(priority + 31, sched_get_priority_min(policy), sched_get_priority_max(policy));
    return pthread_setschedparam(record->thread, policy, &parameters) == 0;
}
