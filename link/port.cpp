#include "link/port.h"

#include "link/parallel/parallel_link.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>

namespace stampa {
namespace {

std::mutex tableMutex;
std::atomic<long long> bytesWritten{0};
std::map<PortHandleValue, std::shared_ptr<Transport>>& Table() {
    static std::map<PortHandleValue, std::shared_ptr<Transport>> table;
    return table;
}

std::shared_ptr<Transport> Take(PortHandleValue handle) {
    std::lock_guard lock(tableMutex);
    auto& table = Table();
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
    std::lock_guard lock(tableMutex);
    Table()[handle] = std::move(connection);
}

void UnregisterConnection(PortHandleValue handle) {
    Take(handle);
}

std::shared_ptr<Transport> FindConnection(PortHandleValue handle) {
    std::lock_guard lock(tableMutex);
    const auto it = Table().find(handle);
    return it == Table().end() ? nullptr : it->second;
}

int PortWrite(PortHandleValue handle, const unsigned char* bytes, int length) {
    if (handle == kNoHandle || length < 1 || bytes == nullptr) {
        return 0;
    }
    const auto connection = FindConnection(handle);
    if (!connection || connection->Closed()) {
        return 0;
    }
    const int result = connection->Write(bytes, length);
    if (result != 0) {
        bytesWritten += length;
    }
    return result;
}

long long PortBytesWritten() {
    return bytesWritten;
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
        // A failed parallel open leaves the port I/O driver loaded.
        if (chosen == kParallelLink) {
            ParallelShutdown();
        }
        return 1;
    }
    if (auto connection = Take(handle)) {
        return connection->Close();
    }
    return 1;
}

}  // namespace stampa
