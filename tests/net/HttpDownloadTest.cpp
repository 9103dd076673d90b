// Downloads from a server the test runs itself on 127.0.0.1: the request
// text, bodies stored byte for byte, header endings in every shape and
// position, error pages, refused connections and resets, the local file's
// name and its replacement, and the socket layer released on every way out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LoopbackServer.h"
#include "runtime/platform/Platform.h"
#include "runtime/platform/PlatformTesting.h"
#include "runtime/runtime.h"

namespace {

using namespace nettest;

std::vector<std::string> gTrace;

void RecordSocketCalls(const char* event) {
    if (std::string(event).rfind("socket", 0) == 0) gTrace.push_back(event);
}

class HttpDownloadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        gTrace.clear();
        platform::SetTraceHook(RecordSocketCalls);
    }
    void TearDown() override {
        platform::SetTraceHook(nullptr);
        EXPECT_EQ(platform::SocketLayerUsers(), 0);
    }

    double Download(LoopbackServer& server, const std::string& target = "/file.bin",
                    const std::string& name = "out.bin") {
        EXPECT_TRUE(server.listening());
        const double result = DownloadHttpFile(RtString("127.0.0.1"), RtString(target.c_str()),
                                               server.port(), RtString((scratch / name).c_str()));
        server.Finish();
        return result;
    }
    std::string Stored(const std::string& name = "out.bin") { return ReadAll(scratch / name); }

    ScratchFolder scratch;
};

const std::vector<std::string> kConnectedCalls = {"socket layer init", "socket connect",
                                                  "socket close", "socket layer shutdown"};

TEST_F(HttpDownloadTest, SendsTheExactRequest) {
    LoopbackServer server({Send("HTTP/1.0 200 OK\r\n\r\nx")});
    EXPECT_EQ(Download(server, "/games/level 2.dat?x=1"), 1.0);
    EXPECT_EQ(server.request(),
              "GET /games/level 2.dat?x=1 HTTP/1.0\r\nHost:127.0.0.1\r\nAccept: */*\r\n"
              "User-Agent: Kestrin game\r\n\r\n");
    EXPECT_EQ(gTrace, kConnectedCalls);
}

TEST_F(HttpDownloadTest, PlainBodyIsStoredByteForByte) {
    const std::string body = BinaryBody(200000);
    std::vector<ReplyStep> script{
        Send("HTTP/1.0 200 OK\r\nContent-Type: application/octet-stream\r\n\r\n")};
    for (size_t at = 0, piece = 1; at < body.size(); at += piece, piece = piece * 3 % 9001 + 1)
        script.push_back(Send(body.substr(at, piece)));
    LoopbackServer server(script);
    EXPECT_EQ(Download(server), 1.0);
    const std::string stored = Stored();
    EXPECT_EQ(stored.size(), body.size());
    EXPECT_TRUE(stored == body);
}

TEST_F(HttpDownloadTest, HeaderEndingInBareLineFeeds) {
    LoopbackServer server({Send("HTTP/1.0 200 OK\nServer: test\n\nline one\r\n\r\nline two\n\n")});
    EXPECT_EQ(Download(server), 1.0);
    EXPECT_EQ(Stored(), "line one\r\n\r\nline two\n\n");
}

TEST_F(HttpDownloadTest, HeaderEndingExactlyAtAFullChunk) {
    // 4095 bytes of header, the most one read takes, then the body in the same write.
    std::string header = "HTTP/1.0 200 OK\r\nX-Padding: ";
    header += std::string(4095 - header.size() - 4, 'p');
    header += "\r\n\r\n";
    ASSERT_EQ(header.size(), 4095u);
    const std::string body = BinaryBody(9000);
    LoopbackServer server({Send(header + body)});
    EXPECT_EQ(Download(server), 1.0);
    EXPECT_TRUE(Stored() == body);
}

TEST_F(HttpDownloadTest, HeaderEndingAtTheEndOfAWrite) {
    LoopbackServer server({Send("HTTP/1.0 200 OK\r\nServer: test\r\n\r\n"), Pause(150),
                           Send("\r\n\nthe body"), Pause(50), Send(" goes on")});
    EXPECT_EQ(Download(server), 1.0);
    EXPECT_EQ(Stored(), "\r\n\nthe body goes on");
}

TEST_F(HttpDownloadTest, HeaderSplitAcrossSeveralWrites) {
    LoopbackServer server({Send("HTTP/1.0 200 OK\r"), Pause(40), Send("\n"), Pause(40),
                           Send("Server: test\r\n"), Pause(40), Send("\r"), Pause(40), Send("\nbo"),
                           Pause(40), Send("dy\n")});
    EXPECT_EQ(Download(server), 1.0);
    EXPECT_EQ(Stored(), "body\n");
}

TEST_F(HttpDownloadTest, ErrorPageIsStoredAndCountsAsDone) {
    const std::string page = "<html><body>Not here</body></html>";
    LoopbackServer server(
        {Send("HTTP/1.0 404 Not Found\r\nContent-Type: text/html\r\n\r\n" + page)});
    EXPECT_EQ(Download(server), 1.0);
    EXPECT_EQ(Stored(), page);
}

TEST_F(HttpDownloadTest, ReplyWithoutAnEmptyLineLeavesAnEmptyFile) {
    WriteAll(scratch / "out.bin", "old contents");
    LoopbackServer server({Send("HTTP/1.0 200 OK\r\nServer: test\r\nno end of header")});
    EXPECT_EQ(Download(server), 1.0);
    EXPECT_TRUE(Exists(scratch / "out.bin"));
    EXPECT_EQ(Stored(), "");
}

TEST_F(HttpDownloadTest, EmptyBody) {
    LoopbackServer server({Send("HTTP/1.0 204 No Content\r\n\r\n")});
    EXPECT_EQ(Download(server), 1.0);
    EXPECT_TRUE(Exists(scratch / "out.bin"));
    EXPECT_EQ(Stored(), "");
}

TEST_F(HttpDownloadTest, OldFileIsReplaced) {
    WriteAll(scratch / "out.bin", std::string(5000, 'o'));
    LoopbackServer server({Send("HTTP/1.0 200 OK\r\n\r\nnew")});
    EXPECT_EQ(Download(server), 1.0);
    EXPECT_EQ(Stored(), "new");
}

TEST_F(HttpDownloadTest, ClosedPortReturnsZeroAndLeavesTheFileAlone) {
    WriteAll(scratch / "out.bin", "keep me");
    LoopbackPort closed;  // bound, never listening: connections are refused
    ASSERT_GT(closed.port(), 0);
    EXPECT_EQ(DownloadHttpFile(RtString("127.0.0.1"), RtString("/"), closed.port(),
                               RtString((scratch / "out.bin").c_str())),
              0.0);
    EXPECT_EQ(Stored(), "keep me");
    EXPECT_EQ(gTrace, (std::vector<std::string>{"socket layer init", "socket layer shutdown"}));
}

TEST_F(HttpDownloadTest, ServerNameThatDoesNotResolveReturnsZero) {
    WriteAll(scratch / "out.bin", "keep me");
    EXPECT_EQ(
        DownloadHttpFile(RtString(""), RtString("/"), 80, RtString((scratch / "out.bin").c_str())),
        0.0);
    EXPECT_EQ(Stored(), "keep me");
}

TEST_F(HttpDownloadTest, ResetConnectionReturnsZero) {
    LoopbackServer server(
        {Send("HTTP/1.0 200 OK\r\n\r\nthe first part of"), Pause(50), Send(" a body that")},
        Ending::Reset);
    EXPECT_EQ(Download(server), 0.0);
    EXPECT_TRUE(server.served());
    EXPECT_EQ(gTrace, kConnectedCalls);
}

TEST_F(HttpDownloadTest, ForwardSlashesNameTheSameFileAsBackslashes) {
    std::filesystem::create_directories(scratch / "media/level");
    LoopbackServer first({Send("HTTP/1.0 200 OK\r\n\r\nslashes")});
    EXPECT_EQ(Download(first, "/a", "media/level/a.dat"), 1.0);
    EXPECT_EQ(Stored("media/level/a.dat"), "slashes");
    LoopbackServer second({Send("HTTP/1.0 200 OK\r\n\r\nbackslashes")});
    EXPECT_EQ(Download(second, "/b", "media\\level\\a.dat"), 1.0);
    EXPECT_EQ(Stored("media/level/a.dat"), "backslashes");
}

TEST_F(HttpDownloadTest, FileThatCannotBeMadeStillCompletesTheTransfer) {
    LoopbackServer server({Send("HTTP/1.0 200 OK\r\n\r\nnowhere to go")});
    EXPECT_EQ(Download(server, "/x", "missing-folder/out.bin"), 1.0);
    EXPECT_FALSE(Exists(scratch / "missing-folder/out.bin"));
    EXPECT_EQ(server.request().rfind("GET /x HTTP/1.0\r\n", 0), 0u);
}

TEST_F(HttpDownloadTest, PortIsTruncatedThenCutTo16Bits) {
    LoopbackServer server({Send("HTTP/1.0 200 OK\r\n\r\nported")});
    const double port = server.port() + 65536.0 * 3 + 0.99;
    EXPECT_EQ(DownloadHttpFile(RtString("127.0.0.1"), RtString("/"), port,
                               RtString((scratch / "out.bin").c_str())),
              1.0);
    server.Finish();
    EXPECT_EQ(Stored(), "ported");
}

}  // namespace
