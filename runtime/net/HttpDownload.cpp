#include "runtime/runtime.h"

#include <string>

#include "runtime/net/HttpHeaderSkipper.h"
#include "runtime/platform/Platform.h"
#include "runtime/values/Truncate.h"

namespace {

constexpr size_t kChunkBytes = 4095;

// Everything the transfer holds open, released in one place.
struct Transfer {
    platform::Socket socket = platform::kNoSocket;
    platform::FileHandle file = platform::kNoFile;
    bool layerStarted = false;

    ~Transfer() {
        platform::CloseSocket(socket);
        if (layerStarted) platform::ShutdownSockets();
        platform::CloseFile(file);
    }
};

bool Connect(Transfer& transfer, const char* server, uint16_t port) {
    if (!platform::InitSockets()) return false;
    transfer.layerStarted = true;
    platform::NetAddress address;
    if (!platform::ResolveAddress(server, &address)) return false;
    platform::SetAddressPort(&address, port);
    transfer.socket = platform::ConnectTcp(address);
    return transfer.socket != platform::kNoSocket;
}

// The file is replaced only once the server has answered the connection; if
// it cannot be made the transfer still runs and stores nothing.
platform::FileHandle ReplaceLocalFile(const RtString& localFile) {
    std::string name = localFile.CStr();
    for (char& c : name) {
        if (c == '/') c = '\\';
    }
    platform::DeleteFile(name.c_str());
    return platform::OpenFile(name.c_str(), platform::OpenMode::CreateAlways);
}

std::string RequestText(const char* path, const char* server) {
    return std::string("GET ") + path + " HTTP/1.0\r\nHost:" + server +
           "\r\nAccept: */*\r\nUser-Agent: Kestrin game\r\n\r\n";
}

void Store(platform::FileHandle file, const char* bytes, size_t size) {
    if (file != platform::kNoFile && size > 0) platform::WriteFile(file, bytes, size);
}

// Reads until the stream ends; true when the peer ended it in order.
bool ReceiveBody(Transfer& transfer) {
    HttpHeaderSkipper header;
    char chunk[kChunkBytes];
    for (;;) {
        const long long got = platform::ReadSocket(transfer.socket, chunk, sizeof chunk);
        if (got == 0) continue;
        if (got < 0) return got == platform::kSocketPeerClosed;
        const size_t size = static_cast<size_t>(got);
        const size_t skipped = header.HeaderBytes(chunk, size);
        Store(transfer.file, chunk + skipped, size - skipped);
    }
}

}  // namespace

double DownloadHttpFile(const RtString& server, const RtString& path, double port,
                        const RtString& localFile) {
    const uint16_t port16 = static_cast<uint16_t>(TruncateInt32(port));
    Transfer transfer;
    if (!Connect(transfer, server.CStr(), port16)) return 0;
    transfer.file = ReplaceLocalFile(localFile);
    const std::string request = RequestText(path.CStr(), server.CStr());
    if (platform::WriteSocket(transfer.socket, request.data(), request.size()) !=
        static_cast<long long>(request.size()))
        return 0;
    if (!ReceiveBody(transfer)) return 0;
    platform::CloseFile(transfer.file);
    transfer.file = platform::kNoFile;
    return 1;
}
