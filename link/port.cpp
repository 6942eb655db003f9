#include "link/port.h"

#include "link/parallel/parallel_link.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace stampa {
namespace {

// The open connections of every session, by handle. Handles are unique in
// the process, as the descriptors and device handles many of them are.
struct Connections {
    std::mutex mutex;
    std::map<PortHandleValue, std::shared_ptr<Transport>> table;
    // The handles the table gives itself: apart from descriptors and device handles.
    PortHandleValue next = 0x10000;
};

Connections& Open() {
    static Connections connections;
    return connections;
}

std::shared_ptr<Transport> Take(PortHandleValue handle) {
    std::lock_guard lock(Open().mutex);
    auto& table = Open().table;
    const auto it = table.find(handle);
    if (it == table.end()) {
        return nullptr;
    }
    auto connection = std::move(it->second);
    table.erase(it);
    return connection;
}

}  // namespace

void RegisterConnection(PortHandleValue handle, std::shared_ptr<Transport> connection) {
    if (auto previous = Take(handle)) {
        previous->Close();
    }
    std::lock_guard lock(Open().mutex);
    Open().table[handle] = std::move(connection);
}

PortHandleValue RegisterNewConnection(std::shared_ptr<Transport> connection) {
    std::lock_guard lock(Open().mutex);
    const PortHandleValue handle = Open().next++;
    Open().table[handle] = std::move(connection);
    return handle;
}

void UnregisterConnection(PortHandleValue handle) {
    Take(handle);
}

std::shared_ptr<Transport> FindConnection(PortHandleValue handle) {
    std::lock_guard lock(Open().mutex);
    const auto it = Open().table.find(handle);
    return it == Open().table.end() ? nullptr : it->second;
}

int PortWrite(PortHandleValue handle, const unsigned char* bytes, int length) {
    if (handle == kNoHandle || length < 1 || bytes == nullptr) {
        return 0;
    }
    const auto connection = FindConnection(handle);
    if (!connection || connection->Closed()) {
        return 0;
    }
    const WriteWatcher watcher = connection->Watcher();
    if (!watcher) {
        const int result = connection->Write(bytes, length);
        if (result != 0) {
            connection->CountWritten(length);
        }
        return result;
    }
    for (int done = 0; done < length;) {
        const int part = std::min(kWatchedWritePart, length - done);
        if (connection->Write(bytes + done, part) == 0) {
            return 0;
        }
        connection->CountWritten(part);
        done += part;
        watcher(connection->BytesWritten());
    }
    return 1;
}

void PortWatchWrites(PortHandleValue handle, WriteWatcher watcher) {
    if (const auto connection = FindConnection(handle)) {
        connection->SetWriteWatcher(std::move(watcher));
    }
}

long long PortBytesWritten(PortHandleValue handle) {
    const auto connection = FindConnection(handle);
    return connection ? connection->BytesWritten() : 0;
}

LinkError LastLinkError(const LinkState& link) {
    const auto connection = FindConnection(link.PortHandle);
    const LinkError failure = connection ? connection->LastError() : LinkError{};
    return failure.step != LinkStep::None ? failure : link.OpenFailure;
}

int PortFlush(PortHandleValue handle) {
    const auto connection = FindConnection(handle);
    return connection && !connection->Closed() ? connection->Flush() : 0;
}

bool PortCanRead(PortHandleValue handle) {
    const auto connection = FindConnection(handle);
    return connection && !connection->Closed() && connection->CanRead();
}

int PortRead(PortHandleValue handle, unsigned char* buffer, int max, int timeoutMs) {
    const auto connection = FindConnection(handle);
    if (!connection || connection->Closed() || buffer == nullptr || max < 1) {
        return -1;
    }
    return connection->Read(buffer, max, std::max(timeoutMs, 0));
}

void PortDiscardInput(PortHandleValue handle) {
    unsigned char sink[256];
    for (int rounds = 0; rounds < 64 && PortRead(handle, sink, sizeof sink, 0) > 0; ++rounds) {
    }
}

bool IsDriverConnection(PortHandleValue handle) {
    const auto connection = FindConnection(handle);
    return connection && !connection->Closed() && connection->Kind() == kDriverLink;
}

int PortStartDocument(PortHandleValue handle, const DocInfo& info) {
    const auto connection = FindConnection(handle);
    return connection && !connection->Closed() ? connection->StartDocument(info) : 0;
}

int PortEndDocument(PortHandleValue handle) {
    const auto connection = FindConnection(handle);
    return connection && !connection->Closed() ? connection->EndDocument() : 0;
}

int PortClose(PortHandleValue handle, PortKindValue chosen) {
    if (handle == kNoHandle) {
        // A failed parallel open leaves its port I/O driver loaded, on the
        // connection kept under the parallel token.
        if (chosen == kParallelLink) {
            if (auto failed = Take(kParallelToken))
                failed->Close();
        }
        return 1;
    }
    if (auto connection = Take(handle)) {
        return connection->Close();
    }
    return 1;
}

}  // namespace stampa
