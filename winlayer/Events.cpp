#include "winlayer/HandleRecord.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

using winlayer::EventRecord;
using winlayer::HandleKind;
using winlayer::SocketEventRecord;

namespace {

bool HasPendingByte(int fd) {
    pollfd entry{fd, POLLIN, 0};
    return poll(&entry, 1, 0) > 0 && (entry.revents & POLLIN);
}

void WriteSignalByte(int fd) {
    const char zero = 0;
    (void)send(fd, &zero, 1, MSG_NOSIGNAL | MSG_DONTWAIT);
}

} // namespace

HANDLE CreateEvent(void*, BOOL manualReset, BOOL initiallySignalled) {
    return new EventRecord(manualReset != FALSE, initiallySignalled != FALSE);
}

HANDLE CreateEventAsSocket(void*, BOOL manualReset, BOOL initiallySignalled) {
    auto* record = new SocketEventRecord(manualReset == FALSE);
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
        delete record;
        return nullptr;
    }
    record->readEnd = ends[0];
    record->writeEnd = ends[1];
    fcntl(record->readEnd, F_SETFL, fcntl(record->readEnd, F_GETFL) | O_NONBLOCK);
    if (initiallySignalled)
        WriteSignalByte(record->writeEnd);
    return record;
}

BOOL SetEvent(HANDLE event) {
    if (auto* record = winlayer::RecordAs<EventRecord>(event, HandleKind::Event)) {
        std::lock_guard lock(record->mutex);
        if (!record->signalled) {
            record->signalled = true;
            if (record->manualReset)
                record->condition.notify_all();
            else
                record->condition.notify_one();
        }
        return TRUE;
    }
    if (auto* record = winlayer::RecordAs<SocketEventRecord>(event, HandleKind::SocketEvent)) {
        if (!HasPendingByte(record->readEnd))
            WriteSignalByte(record->writeEnd);
        return TRUE;
    }
    return FALSE;
}

BOOL ResetEvent(HANDLE event) {
    if (auto* record = winlayer::RecordAs<EventRecord>(event, HandleKind::Event)) {
        std::lock_guard lock(record->mutex);
        record->signalled = false;
        return TRUE;
    }
    if (auto* record = winlayer::RecordAs<SocketEventRecord>(event, HandleKind::SocketEvent)) {
        char drain[128];
        (void)recv(record->readEnd, drain, sizeof drain, MSG_DONTWAIT);
        return TRUE;
    }
    return FALSE;
}
