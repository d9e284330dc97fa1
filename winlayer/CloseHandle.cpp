#include "winlayer/HandleRecord.h"

#include <unistd.h>

using namespace winlayer;

namespace {

void FreeRecord(HandleRecord* record) {
    switch (record->kind) {
    case HandleKind::Thread: {
        auto* thread = static_cast<ThreadRecord*>(record);
        pthread_detach(thread->thread);
        delete thread;
        break;
    }
    case HandleKind::Event:
        delete static_cast<EventRecord*>(record);
        break;
    case HandleKind::File: {
        auto* file = static_cast<FileRecord*>(record);
        if (file->file)
            std::fclose(file->file);
        delete file;
        break;
    }
    case HandleKind::SocketEvent: {
        auto* event = static_cast<SocketEventRecord*>(record);
        close(event->readEnd);
        close(event->writeEnd);
        delete event;
        break;
    }
    case HandleKind::Process:
        delete static_cast<ProcessRecord*>(record);
        break;
    case HandleKind::Descriptor:
        break;
    }
}

} // namespace

BOOL CloseHandle(HANDLE handle) {
    auto* record = static_cast<HandleRecord*>(handle);
    // Descriptor objects belong to whoever made them: closing one is refused
    // and leaves its count alone.
    if (!record || !IsKnownKind(record->kind) || record->kind == HandleKind::Descriptor)
        return FALSE;
    if (record->referenceCount.fetch_sub(1, std::memory_order_acq_rel) != 1)
        return TRUE;
    FreeRecord(record);
    return TRUE;
}
