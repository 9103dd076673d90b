// Movies in a browser page: the desktop's video decoder has no browser build,
// so every movie file is one that no decoder takes, and the movie commands
// return at once as they do for any file that cannot be decoded.
#include "runtime/platform/Platform.h"

namespace platform {

struct MovieStream {};

MovieStream* OpenMovie(const char*) {
    return nullptr;
}
void CloseMovie(MovieStream*) {}
void MovieSize(MovieStream*, int* width, int* height) {
    *width = 0;
    *height = 0;
}
double MovieLengthMs(MovieStream*) {
    return 0;
}
const uint8_t* MovieFrameAt(MovieStream*, double) {
    return nullptr;
}
void RewindMovie(MovieStream*) {}

}  // namespace platform
