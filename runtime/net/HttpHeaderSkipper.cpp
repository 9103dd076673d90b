#include "runtime/net/HttpHeaderSkipper.h"

size_t HttpHeaderSkipper::HeaderBytes(const char* chunk, size_t size) {
    if (inBody_) return 0;
    for (size_t i = 0; i < size; ++i) {
        const char byte = chunk[i];
        if (byte == '\r') continue;
        if (byte != '\n') {
            lineFeeds_ = 0;
            continue;
        }
        if (++lineFeeds_ == 2) {
            inBody_ = true;
            return i + 1;
        }
    }
    return size;
}
