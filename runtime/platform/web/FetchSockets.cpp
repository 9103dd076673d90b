// TCP for the HTTP download in a browser page, which has no sockets: a
// connection is carried by the page's fetch. Connecting asks the server
// whether it answers at all (an opaque request needs no permission, so a
// server that is not there refuses the connection as it would a socket);
// the request written names the path; reading hands out an HTTP/1.0 reply
// made from the response (status line, headers, then the body as it
// arrives), and the end of the body is the peer's orderly close. A server the
// page may not read (another origin without CORS permission) fails the
// transfer like a reset connection.
#include <emscripten.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/platform/Platform.h"
#include "runtime/platform/PlatformTesting.h"

namespace platform {

namespace {

int gSocketLayerUsers = 0;
// Host names stand behind addresses of the reserved range 240.0.0.0/4, one
// each, as the page resolves nothing itself.
std::vector<std::string> gNames;
constexpr uint32_t kNamedRange = 0xF0000000u;

bool DottedAddress(const char* name, uint32_t* ipv4) {
    unsigned a, b, c, d;
    char rest;
    if (std::sscanf(name, "%u.%u.%u.%u%c", &a, &b, &c, &d, &rest) != 4) return false;
    if (a > 255 || b > 255 || c > 255 || d > 255) return false;
    *ipv4 = a << 24 | b << 16 | c << 8 | d;
    return true;
}

std::string HostOf(uint32_t ipv4) {
    if ((ipv4 & 0xF0000000u) == kNamedRange && (ipv4 & 0x0FFFFFFFu) < gNames.size())
        return gNames[ipv4 & 0x0FFFFFFFu];
    return std::to_string(ipv4 >> 24) + "." + std::to_string(ipv4 >> 16 & 255) + "." +
           std::to_string(ipv4 >> 8 & 255) + "." + std::to_string(ipv4 & 255);
}

// The origin a host and port stand for is the page's own when they are the
// page's, else http (https for port 443, or when the page itself is https,
// which may fetch nothing less).
// clang-format off
EM_ASYNC_JS(int, OpenConnection, (const char* host, int port), {
    if (!Module['quorbelConnections']) Module['quorbelConnections'] = {next: 3, open: {}};
    const connections = Module['quorbelConnections'];
    const name = UTF8ToString(host);
    const here = location;
    const ownPort = here.port || (here.protocol === 'https:' ? '443' : '80');
    const secure = port === 443 || here.protocol === 'https:';
    const own = name === here.hostname && String(port) === ownPort;
    const origin = own ? here.origin : (secure ? 'https://' : 'http://') + name + ':' + port;
    try {
        await fetch(origin + '/', {mode: 'no-cors', method: 'HEAD', cache: 'no-store'});
    } catch (refused) {
        return -1;
    }
    const id = connections.next++;
    connections.open[id] = {origin: origin, url: null, pending: null, reader: null, failed: false};
    return id;
});
// clang-format on

// clang-format off
EM_JS(int, SendRequest, (int id, const char* bytes, int length), {
    const connection = Module['quorbelConnections'].open[id];
    if (!connection) return -1;
    const words = UTF8ToString(bytes, length).split(String.fromCharCode(13))[0].split(' ');
    if (words.length < 3 || words[0] !== 'GET' || connection.url) {
        connection.failed = true;
        return length;
    }
    const target = words[1];
    connection.url = target.indexOf('://') > 0 ? target : connection.origin + target;
    return length;
});
// clang-format on

// The reply's bytes into `buffer`: the count, -2 at the end of the body,
// -1 when the fetch failed.
// clang-format off
EM_ASYNC_JS(int, ReceiveReply, (int id, char* buffer, int size), {
    const connection = Module['quorbelConnections'].open[id];
    if (!connection || connection.failed) return -1;
    try {
        if (!connection.reader) {
            if (!connection.url) return -1;
            const response = await fetch(connection.url, {cache: 'no-store'});
            const lineEnd = String.fromCharCode(13, 10);
            let head =
                'HTTP/1.0 ' + response.status + ' ' + (response.statusText || 'OK') + lineEnd;
            response.headers.forEach((value, name) => { head += name + ': ' + value + lineEnd; });
            connection.pending = new TextEncoder().encode(head + lineEnd);
            connection.reader = response.body.getReader();
        }
        while (!connection.pending || connection.pending.length === 0) {
            const piece = await connection.reader.read();
            if (piece.done) return -2;
            connection.pending = piece.value;
        }
    } catch (failure) {
        connection.failed = true;
        return -1;
    }
    const count = Math.min(size, connection.pending.length);
    HEAPU8.set(connection.pending.subarray(0, count), buffer);
    connection.pending = connection.pending.subarray(count);
    return count;
});
// clang-format on

// clang-format off
EM_JS(void, CloseConnection, (int id), {
    const connections = Module['quorbelConnections'];
    const connection = connections && connections.open[id];
    if (!connection) return;
    if (connection.reader) connection.reader.cancel().catch(() => {});
    delete connections.open[id];
});
// clang-format on

}  // namespace

bool InitSockets() {
    ++gSocketLayerUsers;
    Trace("socket layer init");
    return true;
}

void ShutdownSockets() {
    if (gSocketLayerUsers > 0) --gSocketLayerUsers;
    Trace("socket layer shutdown");
}

int SocketLayerUsers() {
    return gSocketLayerUsers;
}

bool ResolveAddress(const char* name, NetAddress* out) {
    if (!out) return false;
    *out = NetAddress();
    if (!name || !*name || std::strpbrk(name, " /:?#@")) return false;
    uint32_t ipv4 = 0;
    if (!DottedAddress(name, &ipv4)) {
        size_t index = 0;
        while (index < gNames.size() && gNames[index] != name) ++index;
        if (index == gNames.size()) gNames.push_back(name);
        ipv4 = kNamedRange | static_cast<uint32_t>(index);
    }
    out->ipv4 = ipv4;
    out->valid = true;
    return true;
}

void SetAddressPort(NetAddress* address, uint16_t port) {
    if (address) address->port = port;
}

Socket ConnectTcp(const NetAddress& address) {
    if (!address.valid || address.port == 0) return kNoSocket;
    const int id = OpenConnection(HostOf(address.ipv4).c_str(), address.port);
    if (id < 0) return kNoSocket;
    Trace("socket connect");
    return id;
}

long long ReadSocket(Socket socket, void* buffer, size_t bytes) {
    if (socket == kNoSocket || !buffer || bytes == 0) return kSocketError;
    const int got = ReceiveReply(socket, static_cast<char*>(buffer),
                                 static_cast<int>(bytes > 1 << 20 ? 1 << 20 : bytes));
    if (got == -2) return kSocketPeerClosed;
    return got < 0 ? kSocketError : got;
}

long long WriteSocket(Socket socket, const void* buffer, size_t bytes) {
    if (socket == kNoSocket || (!buffer && bytes)) return kSocketError;
    const int sent = SendRequest(socket, static_cast<const char*>(buffer), static_cast<int>(bytes));
    return sent < 0 ? kSocketError : sent;
}

void CloseSocket(Socket socket) {
    if (socket == kNoSocket) return;
    CloseConnection(socket);
    Trace("socket close");
}

}  // namespace platform
