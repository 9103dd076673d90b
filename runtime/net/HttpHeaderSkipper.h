// Finds where an HTTP response's body begins in a stream read in chunks. A
// carriage return is ignored, a line feed counts, any other byte starts the
// count again; two line feeds in a row (an empty line) end the header. The
// count carries over from chunk to chunk, so a header may split anywhere.
#pragma once

#include <cstddef>

class HttpHeaderSkipper {
  public:
    // How many leading bytes of this chunk belong to the header: the whole
    // chunk while the header goes on, none once the body has begun.
    size_t HeaderBytes(const char* chunk, size_t size);
    bool InBody() const { return inBody_; }

  private:
    int lineFeeds_ = 0;
    bool inBody_ = false;
};
