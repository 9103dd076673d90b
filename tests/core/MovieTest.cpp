// Full-window movies: the picture scaled and centred in the window, the keys
// and buttons that end it, looping. The videos are written here with the
// decoder library's own lossless encoder.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "runtime/core/EngineState.h"
#include "runtime/core/Movie.h"
#include "runtime/gfx2d/OpenGLRainbows.h"
#include "runtime/platform/Platform.h"
#include "runtime/platform/PlatformTesting.h"
#include "runtime/runtime.h"
#include "support/TestEngine.h"

namespace {

constexpr int kFramesPerSecond = 10;

using Rgb = std::array<int, 3>;
constexpr Rgb kRed = {220, 30, 40};
constexpr Rgb kBlue = {20, 40, 200};
constexpr Rgb kBlack = {0, 0, 0};

// The colour of pixel (x, y) of picture `frame`.
using Painter = std::function<Rgb(int x, int y, int frame)>;

Rgb TopRedBottomBlue(int, int y, int height) {
    return y < height / 2 ? kRed : kBlue;
}

bool EncodeFrame(AVCodecContext* codec, AVFrame* frame, AVStream* stream, AVFormatContext* file) {
    if (avcodec_send_frame(codec, frame) < 0) return false;
    AVPacket* packet = av_packet_alloc();
    while (avcodec_receive_packet(codec, packet) == 0) {
        packet->duration = 1;  // so the file's length covers the last picture too
        av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
        packet->stream_index = stream->index;
        av_interleaved_write_frame(file, packet);
    }
    av_packet_free(&packet);
    return true;
}

void PaintFrame(AVFrame* frame, int index, const Painter& paint) {
    for (int y = 0; y < frame->height; ++y) {
        uint8_t* row = frame->data[0] + static_cast<ptrdiff_t>(y) * frame->linesize[0];
        for (int x = 0; x < frame->width; ++x) {
            const Rgb c = paint(x, y, index);
            row[4 * x + 0] = static_cast<uint8_t>(c[2]);
            row[4 * x + 1] = static_cast<uint8_t>(c[1]);
            row[4 * x + 2] = static_cast<uint8_t>(c[0]);
            row[4 * x + 3] = 0;
        }
    }
}

// A Matroska file of FFV1 pictures at ten a second.
std::string WriteMovie(const std::string& name, int width, int height, int milliseconds,
                       const Painter& paint) {
    const std::string path = platform::TempFolder() + name;
    AVFormatContext* file = nullptr;
    if (avformat_alloc_output_context2(&file, nullptr, "matroska", path.c_str()) < 0) return "";
    const AVCodec* encoder = avcodec_find_encoder(AV_CODEC_ID_FFV1);
    AVStream* stream = avformat_new_stream(file, nullptr);
    AVCodecContext* codec = avcodec_alloc_context3(encoder);
    codec->width = width;
    codec->height = height;
    codec->pix_fmt = AV_PIX_FMT_BGR0;
    codec->time_base = {1, kFramesPerSecond};
    codec->framerate = {kFramesPerSecond, 1};
    if (file->oformat->flags & AVFMT_GLOBALHEADER) codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    bool ok = avcodec_open2(codec, encoder, nullptr) == 0;
    ok = ok && avcodec_parameters_from_context(stream->codecpar, codec) >= 0;
    stream->time_base = codec->time_base;
    ok = ok && avio_open(&file->pb, path.c_str(), AVIO_FLAG_WRITE) >= 0;
    ok = ok && avformat_write_header(file, nullptr) >= 0;
    AVFrame* frame = av_frame_alloc();
    frame->format = codec->pix_fmt;
    frame->width = width;
    frame->height = height;
    ok = ok && av_frame_get_buffer(frame, 0) >= 0;
    const int frames = milliseconds * kFramesPerSecond / 1000;
    for (int i = 0; ok && i < frames; ++i) {
        ok = av_frame_make_writable(frame) >= 0;
        PaintFrame(frame, i, paint);
        frame->pts = i;
        ok = ok && EncodeFrame(codec, frame, stream, file);
    }
    ok = ok && EncodeFrame(codec, nullptr, stream, file);
    ok = ok && av_write_trailer(file) == 0;
    av_frame_free(&frame);
    avcodec_free_context(&codec);
    if (file->pb) avio_closep(&file->pb);
    avformat_free_context(file);
    return ok ? path : "";
}

std::string WriteHalvesMovie(const std::string& name, int width, int height, int milliseconds) {
    return WriteMovie(name, width, height, milliseconds,
                      [height](int x, int y, int) { return TopRedBottomBlue(x, y, height); });
}

// The test project's settings with a window of the given size.
bool StartWithWindow(int width, int height) {
    gEngine.screenWidth = width;
    gEngine.screenHeight = height;
    gEngine.fullScreen = 0;
    gEngine.framesPerSecond = 60;
    gEngine.captureMouse = 0;
    char commandLine[256] = {};
    return StartEngine(nullptr, nullptr, commandLine, 10, "Quorbel");
}

// Pixel (x, y) of the window, top row 0, as the back buffer holds it now.
Rgb ReadPixel(int x, int y) {
    uint8_t rgba[4] = {};
    FlushDrawing();
    glReadPixels(x, gEngine.device->Height() - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return {rgba[0], rgba[1], rgba[2]};
}

void ExpectColour(const Rgb& actual, const Rgb& expected, const char* where) {
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(actual[i], expected[i], 3) << where << " channel " << i;
}

double TimePlaying(const std::function<void()>& play) {
    const double start = ElapsedMs();
    play();
    return ElapsedMs() - start;
}

std::vector<std::string> gTraces;
void Record(const char* event) {
    if (std::string(event).rfind("movie", 0) == 0) gTraces.push_back(event);
}

class Movie : public testing::Test {
  protected:
    // Several tests may share a process: nothing stays held for the next.
    void TearDown() override {
        platform::SetTraceHook(nullptr);
        ClearSchedule();
        platform::InjectKeyCode(kKeyA, false);
        platform::InjectKeyCode(kKeyB, false);
        platform::InjectMouseButton(1, false, 10, 10);
        platform::PumpEvents();
    }
};

TEST(MovieDestination, FitsTheWindowAndIsCentred) {
    const MovieRect doubled = MovieDestination(320, 240, 640, 480);
    EXPECT_EQ(doubled.x, 0);
    EXPECT_EQ(doubled.y, 0);
    EXPECT_EQ(doubled.width, 640);
    EXPECT_EQ(doubled.height, 480);
    const MovieRect shrunk = MovieDestination(400, 300, 320, 240);
    EXPECT_EQ(shrunk.width, 320);
    EXPECT_EQ(shrunk.height, 240);
    EXPECT_EQ(shrunk.x, 0);
    EXPECT_EQ(shrunk.y, 0);
    const MovieRect wide = MovieDestination(320, 120, 320, 240);
    EXPECT_EQ(wide.x, 0);
    EXPECT_EQ(wide.y, 60);
    EXPECT_EQ(wide.width, 320);
    EXPECT_EQ(wide.height, 120);
    const MovieRect tall = MovieDestination(100, 240, 321, 240);
    EXPECT_EQ(tall.x, 110);  // (321 - 100) / 2, rounded down
    EXPECT_EQ(tall.width, 100);
}

TEST_F(Movie, ASmallMovieFillsALargerWindow) {
    ASSERT_TRUE(StartWithWindow(640, 480));
    const std::string path = WriteHalvesMovie("small.mkv", 320, 240, 500);
    ASSERT_FALSE(path.empty());
    std::vector<Rgb> seen;
    ScheduleInPump(250, [&] {
        for (auto [x, y] : {std::pair{0, 0}, {639, 0}, {320, 100}, {0, 479}, {639, 479}})
            seen.push_back(ReadPixel(x, y));
    });
    const double ms = TimePlaying([&] { PlayMovie(RtString(path.c_str())); });
    EXPECT_GE(ms, 450);
    EXPECT_LT(ms, 1500);
    ASSERT_EQ(seen.size(), 5u);
    ExpectColour(seen[0], kRed, "top left");
    ExpectColour(seen[1], kRed, "top right");
    ExpectColour(seen[2], kRed, "upper middle");
    ExpectColour(seen[3], kBlue, "bottom left");
    ExpectColour(seen[4], kBlue, "bottom right");
}

TEST_F(Movie, ALargerMovieIsScaledDownToTheWindow) {
    ASSERT_TRUE(StartTestEngine());
    const std::string path = WriteHalvesMovie("large.mkv", 400, 300, 400);
    std::vector<Rgb> seen;
    ScheduleInPump(200, [&] {
        for (auto [x, y] :
             {std::pair{0, 0}, {319, 0}, {0, 239}, {319, 239}, {160, 115}, {160, 125}})
            seen.push_back(ReadPixel(x, y));
    });
    PlayMovie(RtString(path.c_str()));
    ASSERT_EQ(seen.size(), 6u);
    ExpectColour(seen[0], kRed, "top left");
    ExpectColour(seen[1], kRed, "top right");
    ExpectColour(seen[2], kBlue, "bottom left");
    ExpectColour(seen[3], kBlue, "bottom right");
    ExpectColour(seen[4], kRed, "above the middle");
    ExpectColour(seen[5], kBlue, "below the middle");
}

TEST_F(Movie, AWideMovieIsCentredBetweenBlackBands) {
    ASSERT_TRUE(StartTestEngine());
    const std::string path =
        WriteMovie("wide.mkv", 320, 120, 300, [](int, int, int) { return kRed; });
    std::vector<Rgb> seen;
    ScheduleInPump(150, [&] {
        for (int y : {0, 58, 61, 178, 181, 239}) seen.push_back(ReadPixel(160, y));
    });
    PlayMovie(RtString(path.c_str()));
    ASSERT_EQ(seen.size(), 6u);
    ExpectColour(seen[0], kBlack, "row 0");
    ExpectColour(seen[1], kBlack, "row 58");
    ExpectColour(seen[2], kRed, "row 61");
    ExpectColour(seen[3], kRed, "row 178");
    ExpectColour(seen[4], kBlack, "row 181");
    ExpectColour(seen[5], kBlack, "row 239");
}

TEST_F(Movie, ThePictureFollowsTheMoviesClock) {
    ASSERT_TRUE(StartTestEngine());
    const std::string path = WriteMovie(
        "change.mkv", 160, 120, 600, [](int, int, int frame) { return frame < 3 ? kRed : kBlue; });
    Rgb early{}, late{};
    ScheduleInPump(100, [&] { early = ReadPixel(160, 120); });
    ScheduleInPump(500, [&] { late = ReadPixel(160, 120); });
    PlayMovie(RtString(path.c_str()));
    ExpectColour(early, kRed, "at 100 ms");
    ExpectColour(late, kBlue, "at 500 ms");
}

TEST_F(Movie, AKeyHeldAtTheStartDoesNotEndIt) {
    ASSERT_TRUE(StartTestEngine());
    const std::string path = WriteHalvesMovie("held.mkv", 160, 120, 500);
    platform::InjectKeyCode(kKeyA, true);
    const double ms = TimePlaying([&] { PlayMovie(RtString(path.c_str())); });
    platform::InjectKeyCode(kKeyA, false);
    EXPECT_GE(ms, 450);
}

TEST_F(Movie, ANewKeyPressEndsIt) {
    ASSERT_TRUE(StartTestEngine());
    const std::string path = WriteHalvesMovie("newkey.mkv", 160, 120, 300);
    platform::InjectKeyCode(kKeyA, true);
    ScheduleInPump(150, [] { platform::InjectKeyCode(kKeyA, false); });
    ScheduleInPump(400, [] { platform::InjectKeyCode(kKeyB, true); });
    ScheduleInPump(3000, [] { platform::InjectMouseButton(1, true, 5, 5); });  // a hung test ends
    const double ms = TimePlaying([&] { PlayMovieLooped(RtString(path.c_str())); });
    EXPECT_GE(ms, 390);
    EXPECT_LT(ms, 1000);
}

TEST_F(Movie, AMouseButtonEndsIt) {
    ASSERT_TRUE(StartTestEngine());
    const std::string path = WriteHalvesMovie("mouse.mkv", 160, 120, 300);
    ScheduleInPump(250, [] { platform::InjectMouseButton(1, true, 10, 10); });
    ScheduleInPump(3000, [] { platform::InjectKeyCode(kKeyB, true); });
    const double ms = TimePlaying([&] { PlayMovieLooped(RtString(path.c_str())); });
    EXPECT_GE(ms, 240);
    EXPECT_LT(ms, 1000);
}

TEST_F(Movie, ALoopedMovieRunsUntilAKey) {
    ASSERT_TRUE(StartTestEngine());
    const std::string path = WriteMovie(
        "loop.mkv", 160, 120, 200, [](int, int, int frame) { return frame == 0 ? kRed : kBlue; });
    gTraces.clear();
    platform::SetTraceHook(Record);
    // Each pass shows red for its first tenth of a second, then blue: red
    // seen again after the first pass means the movie started over.
    std::vector<std::pair<int, Rgb>> seen;
    for (int at = 20; at < 800; at += 20)
        ScheduleInPump(at, [&seen, at] { seen.push_back({at, ReadPixel(160, 120)}); });
    ScheduleInPump(800, [] { platform::InjectKeyCode(kKeyB, true); });
    const double ms = TimePlaying([&] { PlayMovieLooped(RtString(path.c_str())); });
    EXPECT_GE(ms, 790);
    EXPECT_LT(ms, 1500);
    int redAgain = 0, blue = 0;
    for (const auto& [at, colour] : seen) {
        if (at >= 300 && colour == kRed) ++redAgain;
        if (colour == kBlue) ++blue;
    }
    EXPECT_GE(redAgain, 2);
    EXPECT_GE(blue, 10);
    EXPECT_EQ(gTraces, (std::vector<std::string>{"movie open", "movie close"}));
}

TEST_F(Movie, AMissingFilePlaysNothingAndSaysNothing) {
    ASSERT_TRUE(StartTestEngine());
    gTraces.clear();
    platform::SetTraceHook(Record);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const double ms = TimePlaying([] { PlayMovie(RtString("no-such-movie.mkv")); });
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_LT(ms, 50);
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "");
    EXPECT_TRUE(gTraces.empty());
}

TEST_F(Movie, AFileNoDecoderTakesPlaysNothingAndSaysNothing) {
    ASSERT_TRUE(StartTestEngine());
    const std::string path = platform::TempFolder() + "noise.mkv";
    std::ofstream(path, std::ios::binary) << "this is no movie at all";
    testing::internal::CaptureStderr();
    const double ms = TimePlaying([&] { PlayMovie(RtString(path.c_str())); });
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_LT(ms, 200);
}

}  // namespace
