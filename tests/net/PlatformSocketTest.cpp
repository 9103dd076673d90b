// The socket layer under the download: resolution, refused connections,
// blocking reads, an orderly close told apart from a reset, and writes to a
// peer that has gone failing instead of ending the process.
#include <gtest/gtest.h>

#include <string>

#include "LoopbackServer.h"
#include "runtime/platform/Platform.h"
#include "runtime/platform/PlatformTesting.h"

namespace {

using namespace nettest;

platform::Socket ConnectTo(int port) {
    platform::NetAddress address;
    if (!platform::ResolveAddress("127.0.0.1", &address)) return platform::kNoSocket;
    platform::SetAddressPort(&address, static_cast<uint16_t>(port));
    return platform::ConnectTcp(address);
}

// Reads until the layer reports something other than bytes.
long long ReadToEnd(platform::Socket socket, std::string* received) {
    char buffer[100];
    for (int reads = 0; reads < 10000; ++reads) {
        const long long got = platform::ReadSocket(socket, buffer, sizeof buffer);
        if (got <= 0) return got;
        received->append(buffer, static_cast<size_t>(got));
    }
    return 0;
}

TEST(PlatformSocketTest, ResolvesDottedAddresses) {
    platform::NetAddress address;
    ASSERT_TRUE(platform::ResolveAddress("127.0.0.1", &address));
    EXPECT_TRUE(address.valid);
    EXPECT_EQ(address.ipv4, 0x7F000001u);
    platform::SetAddressPort(&address, 8080);
    EXPECT_EQ(address.port, 8080);
    EXPECT_FALSE(platform::ResolveAddress("", &address));
    EXPECT_FALSE(address.valid);
    EXPECT_FALSE(platform::ResolveAddress(nullptr, &address));
}

TEST(PlatformSocketTest, InitAndShutdownAreCounted) {
    const int before = platform::SocketLayerUsers();
    EXPECT_TRUE(platform::InitSockets());
    EXPECT_TRUE(platform::InitSockets());
    EXPECT_EQ(platform::SocketLayerUsers(), before + 2);
    platform::ShutdownSockets();
    platform::ShutdownSockets();
    EXPECT_EQ(platform::SocketLayerUsers(), before);
    platform::ShutdownSockets();  // one too many changes nothing
    EXPECT_EQ(platform::SocketLayerUsers(), before);
}

TEST(PlatformSocketTest, RefusedConnectionGivesNoSocket) {
    LoopbackPort closed;
    EXPECT_EQ(ConnectTo(closed.port()), platform::kNoSocket);
    EXPECT_EQ(platform::ConnectTcp(platform::NetAddress()), platform::kNoSocket);
}

TEST(PlatformSocketTest, OrderlyCloseIsReportedAsSuch) {
    LoopbackServer server({Send("hello"), Pause(30), Send(" world")});
    const platform::Socket socket = ConnectTo(server.port());
    ASSERT_NE(socket, platform::kNoSocket);
    const std::string request = "GET / HTTP/1.0\r\n\r\n";
    EXPECT_EQ(platform::WriteSocket(socket, request.data(), request.size()),
              static_cast<long long>(request.size()));
    std::string received;
    EXPECT_EQ(ReadToEnd(socket, &received), platform::kSocketPeerClosed);
    EXPECT_EQ(received, "hello world");
    platform::CloseSocket(socket);
    server.Finish();
    EXPECT_EQ(server.request(), request);
}

TEST(PlatformSocketTest, ResetIsAnError) {
    LoopbackServer server({Send("partial")}, Ending::Reset);
    const platform::Socket socket = ConnectTo(server.port());
    ASSERT_NE(socket, platform::kNoSocket);
    const std::string request = "GET / HTTP/1.0\r\n\r\n";
    platform::WriteSocket(socket, request.data(), request.size());
    server.Finish();
    std::string received;
    EXPECT_EQ(ReadToEnd(socket, &received), platform::kSocketError);
    platform::CloseSocket(socket);
}

TEST(PlatformSocketTest, WritingToAGonePeerFailsWithoutEndingTheProcess) {
    LoopbackServer server({}, Ending::Reset);
    const platform::Socket socket = ConnectTo(server.port());
    ASSERT_NE(socket, platform::kNoSocket);
    const std::string request = "GET / HTTP/1.0\r\n\r\n";
    platform::WriteSocket(socket, request.data(), request.size());
    server.Finish();
    const std::string more(1000, 'x');
    long long result = 0;
    for (int attempt = 0; attempt < 100 && result >= 0; ++attempt)
        result = platform::WriteSocket(socket, more.data(), more.size());
    EXPECT_EQ(result, platform::kSocketError);
    platform::CloseSocket(socket);
}

TEST(PlatformSocketTest, BadArgumentsAreErrors) {
    char buffer[4];
    EXPECT_EQ(platform::ReadSocket(platform::kNoSocket, buffer, sizeof buffer),
              platform::kSocketError);
    EXPECT_EQ(platform::WriteSocket(platform::kNoSocket, buffer, sizeof buffer),
              platform::kSocketError);
    platform::CloseSocket(platform::kNoSocket);
}

}  // namespace
