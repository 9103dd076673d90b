// Any bytes as a server's reply, cut into chunks at places the input picks:
// the header skipping must stay in bounds, and the stored body must be the
// same however the reply is cut, and equal to the reply after its first
// empty line (carriage returns ignored).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "runtime/net/HttpHeaderSkipper.h"

namespace {

// Where the body begins in the whole reply, found a second way: the end of
// the first run of two line feeds with nothing but carriage returns between.
size_t BodyStart(const std::string& reply) {
    size_t lastLineFeed = std::string::npos;
    for (size_t i = 0; i < reply.size(); ++i) {
        if (reply[i] != '\n') continue;
        if (lastLineFeed != std::string::npos &&
            reply.find_first_not_of('\r', lastLineFeed + 1) == i)
            return i + 1;
        lastLineFeed = i;
    }
    return reply.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    // The first byte seeds the chunk sizes; the rest is the reply.
    uint32_t cut = data[0] | 1u;
    const std::string reply(reinterpret_cast<const char*>(data + 1), size - 1);

    HttpHeaderSkipper whole;
    const size_t skipped = whole.HeaderBytes(reply.data(), reply.size());
    if (skipped > reply.size()) abort();
    if (skipped != BodyStart(reply)) abort();

    HttpHeaderSkipper chunked;
    std::string body;
    for (size_t at = 0; at < reply.size();) {
        cut = cut * 1664525u + 1013904223u;
        // Mostly short pieces, sometimes up to a whole read of the download.
        const uint32_t longest = (cut & 0x80000000u) ? 4095 : 9;
        const size_t piece = std::min<size_t>(reply.size() - at, 1 + (cut >> 8) % longest);
        const size_t header = chunked.HeaderBytes(reply.data() + at, piece);
        if (header > piece) abort();
        body.append(reply, at + header, piece - header);
        at += piece;
    }
    if (body != reply.substr(skipped)) abort();
    if (chunked.InBody() != whole.InBody()) abort();
    return 0;
}
