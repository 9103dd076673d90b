#include "runtime/core/Movie.h"

#include <vector>

#include "runtime/core/Engine.h"
#include "runtime/core/EngineState.h"
#include "runtime/files/Shoebox.h"
#include "runtime/gfx2d/OpenGLRainbows.h"
#include "runtime/input/InputDevices.h"
#include "runtime/platform/Platform.h"

namespace {

constexpr size_t kMovieNameSize = 256;

bool ResolveMovie(const RtString& fileName, std::vector<char>& path) {
    path.assign(kMovieNameSize, 0);
    return gEngine.movieShoebox &&
           ShoeboxFind(gEngine.movieShoebox, fileName.CStr(), path.data(), path.size());
}

MovieRect ScaledDestination(platform::MovieStream* movie) {
    int sourceWidth = 0, sourceHeight = 0, clientWidth = 0, clientHeight = 0;
    platform::MovieSize(movie, &sourceWidth, &sourceHeight);
    MovieClientSize(&clientWidth, &clientHeight);
    return MovieDestination(sourceWidth, sourceHeight, clientWidth, clientHeight);
}

// A key still held from before the movie must not end it at once.
void WaitForReleasedInput() {
    for (;;) {
        const bool typed = gEngine.input->TypedCharChanged();
        const bool button = gEngine.input->AnyMouseButton();
        if (!typed && !button) return;
    }
}

bool EndRequested() {
    return gEngine.input->TypedCharChanged() || gEngine.input->AnyMouseButton();
}

void ShowPictureAt(platform::MovieStream* movie, MovieFrame& frame, const MovieRect& destination,
                   double position) {
    int width = 0, height = 0;
    platform::MovieSize(movie, &width, &height);
    if (const uint8_t* picture = platform::MovieFrameAt(movie, position))
        frame.Upload(picture, width, height);
    frame.Draw(destination);
}

// The picture is drawn before the input and the messages are looked at and
// shown after, so whatever runs in the message pump sees it in the frame buffer.
void Play(platform::MovieStream* movie, const MovieRect& destination, double end, int loop) {
    MovieFrame frame;
    double start = ElapsedMs();
    for (;;) {
        const double position = ElapsedMs() - start;
        ShowPictureAt(movie, frame, destination, position);
        if (EndRequested()) return;
        MusicRestartCheck();
        if (!gEngine.device->PumpMessages()) EndProgram();
        frame.Show();
        if (position >= end) {
            if (loop != 1) return;
            platform::RewindMovie(movie);
            start = ElapsedMs();
        }
        platform::Sleep(1);
    }
}

}  // namespace

MovieRect MovieDestination(int sourceWidth, int sourceHeight, int clientWidth, int clientHeight) {
    MovieRect rect;
    if (sourceWidth <= 0 || sourceHeight <= 0) return rect;
    const double scaleX = static_cast<double>(clientWidth) / sourceWidth;
    const double scaleY = static_cast<double>(clientHeight) / sourceHeight;
    const double scale = scaleX < scaleY ? scaleX : scaleY;
    rect.width = static_cast<int>(sourceWidth * scale);
    rect.height = static_cast<int>(sourceHeight * scale);
    rect.x = (clientWidth - rect.width) / 2;
    rect.y = (clientHeight - rect.height) / 2;
    return rect;
}

void PlayMovieFile(const RtString& fileName, int loop) {
    std::vector<char> path;
    if (!ResolveMovie(fileName, path)) return;
    if (!gEngine.device || !gEngine.device->Window() || !gEngine.input) return;
    platform::MovieStream* movie = platform::OpenMovie(path.data());
    if (!movie) return;
    const double end = platform::MovieLengthMs(movie);
    const MovieRect destination = ScaledDestination(movie);
    WaitForReleasedInput();
    if (end > 0) Play(movie, destination, end, loop);
    platform::CloseMovie(movie);
}

void PlayMovie(const RtString& fileName) {
    PlayMovieFile(fileName, 0);
}

void PlayMovieLooped(const RtString& fileName) {
    PlayMovieFile(fileName, 1);
}
