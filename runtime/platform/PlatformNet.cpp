// TCP sockets over POSIX: name resolution, blocking connect, read and write.
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "runtime/platform/Platform.h"
#include "runtime/platform/PlatformTesting.h"

namespace platform {

namespace {
std::atomic<int> gSocketLayerUsers{0};
}

bool InitSockets() {
    // Nothing to start on POSIX; the count lets callers prove they shut down.
    gSocketLayerUsers.fetch_add(1);
    Trace("socket layer init");
    return true;
}

void ShutdownSockets() {
    int users = gSocketLayerUsers.load();
    while (users > 0 && !gSocketLayerUsers.compare_exchange_weak(users, users - 1)) {
    }
    Trace("socket layer shutdown");
}

int SocketLayerUsers() {
    return gSocketLayerUsers.load();
}

bool ResolveAddress(const char* name, NetAddress* out) {
    if (!out) return false;
    *out = NetAddress();
    if (!name || !*name) return false;
    addrinfo hints;
    std::memset(&hints, 0, sizeof hints);
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(name, nullptr, &hints, &found) != 0 || !found) return false;
    const sockaddr_in* first = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    out->ipv4 = ntohl(first->sin_addr.s_addr);
    out->valid = true;
    ::freeaddrinfo(found);
    return true;
}

void SetAddressPort(NetAddress* address, uint16_t port) {
    if (address) address->port = port;
}

Socket ConnectTcp(const NetAddress& address) {
    if (!address.valid) return kNoSocket;
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return kNoSocket;
    sockaddr_in target;
    std::memset(&target, 0, sizeof target);
    target.sin_family = AF_INET;
    target.sin_port = htons(address.port);
    target.sin_addr.s_addr = htonl(address.ipv4);
    int result = ::connect(fd, reinterpret_cast<const sockaddr*>(&target), sizeof target);
    if (result != 0 && errno == EINTR) {
        // An interrupted connect goes on by itself; wait for its outcome.
        fd_set writable;
        FD_ZERO(&writable);
        FD_SET(fd, &writable);
        while ((result = ::select(fd + 1, nullptr, &writable, nullptr, nullptr)) < 0 &&
               errno == EINTR) {
        }
        int failure = 0;
        socklen_t length = sizeof failure;
        if (result > 0 && ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &failure, &length) == 0 &&
            failure == 0)
            result = 0;
        else
            result = -1;
    }
    if (result != 0) {
        ::close(fd);
        return kNoSocket;
    }
    Trace("socket connect");
    return fd;
}

long long ReadSocket(Socket socket, void* buffer, size_t bytes) {
    if (socket < 0 || (!buffer && bytes)) return kSocketError;
    if (bytes == 0) return 0;
    for (;;) {
        const ssize_t got = ::recv(socket, buffer, bytes, 0);
        if (got > 0) return static_cast<long long>(got);
        if (got == 0) return kSocketPeerClosed;
        if (errno != EINTR) return kSocketError;
    }
}

long long WriteSocket(Socket socket, const void* buffer, size_t bytes) {
    if (socket < 0 || (!buffer && bytes)) return kSocketError;
    const char* in = static_cast<const char*>(buffer);
    size_t done = 0;
    while (done < bytes) {
        // A peer that has gone must fail the write, not end the process.
        const ssize_t put = ::send(socket, in + done, bytes - done, MSG_NOSIGNAL);
        if (put < 0) {
            if (errno == EINTR) continue;
            return kSocketError;
        }
        done += static_cast<size_t>(put);
    }
    return static_cast<long long>(done);
}

void CloseSocket(Socket socket) {
    if (socket < 0) return;
    ::close(socket);
    Trace("socket close");
}

}  // namespace platform
