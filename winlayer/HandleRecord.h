#pragma once

#include "winlayer/Handles.h"

#include "platform/sys/ChildProcess.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <pthread.h>
#include <utility>

// The records behind kernel-style handles. Each begins with its kind and its
// reference count; CloseHandle frees it with the last reference.
namespace winlayer {

enum class HandleKind : std::uint32_t {
    Thread = 0x1000002,
    Event = 0x1000003,
    File = 0x1000004,
    Descriptor = 0x1000005,
    SocketEvent = 0x1000006,
    Process = 0x1000007,
};

// The six kinds handles may have; anything else is not one of ours.
inline bool IsKnownKind(HandleKind kind) {
    return kind >= HandleKind::Thread && kind <= HandleKind::Process;
}

struct HandleRecord {
    HandleRecord(HandleKind k, int references) : kind(k), referenceCount(references) {}
    const HandleKind kind;
    std::atomic<std::int32_t> referenceCount;
};

struct ThreadRecord : HandleRecord {
    ThreadRecord(LPTHREAD_START_ROUTINE f, void* a)
        : HandleRecord(HandleKind::Thread, 2), function(f), argument(a) {}
    LPTHREAD_START_ROUTINE function;
    void* argument;
    pthread_t thread{};
    std::atomic<int> result{0};
    std::atomic<bool> finished{false};
};

struct EventRecord : HandleRecord {
    EventRecord(bool manual, bool signalledAtStart)
        : HandleRecord(HandleKind::Event, 1), signalled(signalledAtStart), manualReset(manual) {}
    std::mutex mutex;
    std::condition_variable condition;
    bool signalled;
    const bool manualReset;
};

// Files and descriptor objects have no creator in this layer; whoever makes
// them hands them over with one reference.
struct FileRecord : HandleRecord {
    explicit FileRecord(std::FILE* f) : HandleRecord(HandleKind::File, 1), file(f) {}
    std::FILE* file;
};

struct DescriptorRecord : HandleRecord {
    explicit DescriptorRecord(int fd) : HandleRecord(HandleKind::Descriptor, 1), descriptor(fd) {}
    int descriptor;
};

struct SocketEventRecord : HandleRecord {
    explicit SocketEventRecord(bool autoResetting)
        : HandleRecord(HandleKind::SocketEvent, 1), autoReset(autoResetting) {}
    int readEnd = -1;
    int writeEnd = -1;
    const bool autoReset;
};

struct ProcessRecord : HandleRecord {
    explicit ProcessRecord(std::unique_ptr<sys::ChildProcess> c)
        : HandleRecord(HandleKind::Process, 1), child(std::move(c)) {}
    std::unique_ptr<sys::ChildProcess> child;
};

// The record when handle is one of the given kind, else null.
template <class Record>
Record* RecordAs(HANDLE handle, HandleKind kind) {
    auto* record = static_cast<HandleRecord*>(handle);
    return record && record->kind == kind ? static_cast<Record*>(record) : nullptr;
}

// Holds an object through a blocking call as an open handle does, so a thread
// that closes the last handle meanwhile cannot free it under the caller.
// Descriptor objects belong to whoever made them and are not counted.
class HandleReference {
public:
    explicit HandleReference(HandleRecord& record)
        : m_record(record.kind == HandleKind::Descriptor ? nullptr : &record) {
        if (m_record)
            m_record->referenceCount.fetch_add(1, std::memory_order_relaxed);
    }
    ~HandleReference() {
        if (m_record)
            CloseHandle(m_record);
    }
    HandleReference(HandleReference&& other) noexcept
        : m_record(std::exchange(other.m_record, nullptr)) {}
    HandleReference& operator=(HandleReference&&) = delete;

private:
    HandleRecord* m_record;
};

} // namespace winlayer
