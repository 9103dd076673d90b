// The header skipping on explicit chunks: where the body starts, whatever
// the line ends and wherever the chunks are cut.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/net/HttpHeaderSkipper.h"

namespace {

// What the download would store from these chunks.
std::string BodyOf(const std::vector<std::string>& chunks) {
    HttpHeaderSkipper skipper;
    std::string body;
    for (const std::string& chunk : chunks) {
        const size_t skipped = skipper.HeaderBytes(chunk.data(), chunk.size());
        body += chunk.substr(skipped);
    }
    return body;
}

TEST(HttpHeaderSkipperTest, BodyStartsAfterTheEmptyLine) {
    EXPECT_EQ(BodyOf({"HTTP/1.0 200 OK\r\nA: b\r\n\r\nbody\r\n\r\nstays"}), "body\r\n\r\nstays");
}

TEST(HttpHeaderSkipperTest, BareLineFeedsEndTheHeaderToo) {
    EXPECT_EQ(BodyOf({"HTTP/1.0 200 OK\nA: b\n\nbody"}), "body");
    EXPECT_EQ(BodyOf({"HTTP/1.0 200 OK\r\n\nbody"}), "body");
    EXPECT_EQ(BodyOf({"\n\nbody"}), "body");
}

TEST(HttpHeaderSkipperTest, CarriageReturnsAreIgnoredAnywhere) {
    EXPECT_EQ(BodyOf({"OK\r\r\n\r\r\r\nbody"}), "body");
    // A carriage return does not end a line on its own.
    EXPECT_EQ(BodyOf({"OK\r\r\rstill header"}), "");
}

TEST(HttpHeaderSkipperTest, HeaderEndingAtAChunkEndWritesNothingThenTheNextChunkWhole) {
    HttpHeaderSkipper skipper;
    const std::string header = "HTTP/1.0 200 OK\r\n\r\n";
    EXPECT_EQ(skipper.HeaderBytes(header.data(), header.size()), header.size());
    EXPECT_TRUE(skipper.InBody());
    const std::string next = "\n\nall of it";
    EXPECT_EQ(skipper.HeaderBytes(next.data(), next.size()), 0u);
}

TEST(HttpHeaderSkipperTest, CountCarriesAcrossChunks) {
    EXPECT_EQ(BodyOf({"HTTP/1.0 200 OK\r\n", "\r", "\n", "body"}), "body");
    EXPECT_EQ(BodyOf({"HTTP/1.0 200 OK\n", "\nbo", "dy"}), "body");
    EXPECT_EQ(BodyOf({"HTTP/1.0 200 OK\n", "x\n", "\n", "", "body"}), "body");
}

TEST(HttpHeaderSkipperTest, EveryCutOfAReplyGivesTheSameBody) {
    const std::string reply = "HTTP/1.0 200 OK\r\nServer: a\r\nX: \r\n\r\n\r\nbody\n\nend";
    for (size_t first = 0; first <= reply.size(); ++first)
        for (size_t second = first; second <= reply.size(); ++second) {
            const std::vector<std::string> chunks{
                reply.substr(0, first), reply.substr(first, second - first), reply.substr(second)};
            ASSERT_EQ(BodyOf(chunks), "\r\nbody\n\nend") << first << " " << second;
        }
}

TEST(HttpHeaderSkipperTest, ReplyWithoutAnEmptyLineHasNoBody) {
    HttpHeaderSkipper skipper;
    const std::string reply = "HTTP/1.0 200 OK\r\nServer: a\r\n";
    EXPECT_EQ(skipper.HeaderBytes(reply.data(), reply.size()), reply.size());
    EXPECT_FALSE(skipper.InBody());
}

TEST(HttpHeaderSkipperTest, EmptyChunksChangeNothing) {
    HttpHeaderSkipper skipper;
    EXPECT_EQ(skipper.HeaderBytes("", 0), 0u);
    EXPECT_EQ(skipper.HeaderBytes("\n", 1), 1u);
    EXPECT_EQ(skipper.HeaderBytes("", 0), 0u);
    EXPECT_EQ(skipper.HeaderBytes("\nX", 2), 1u);
}

}  // namespace
