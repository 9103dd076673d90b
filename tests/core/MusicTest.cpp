// Looping music: restart timing, the volume scale, the ways music stops.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "runtime/core/EngineState.h"
#include "runtime/platform/Platform.h"
#include "runtime/platform/PlatformTesting.h"
#include "runtime/runtime.h"
#include "support/TestEngine.h"

namespace {

std::vector<std::string> gRequests;

void Record(const char* event) {
    if (std::string(event).rfind("music", 0) == 0) gRequests.push_back(event);
}

void TraceToStderr(const char* event) {
    std::fprintf(stderr, "[%s]\n", event);
    std::fflush(stderr);
}

void Put32(std::ofstream& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.put(static_cast<char>(v >> (8 * i)));
}
void Put16(std::ofstream& out, uint16_t v) {
    out.put(static_cast<char>(v));
    out.put(static_cast<char>(v >> 8));
}

// A mono 22,050 Hz 16-bit tone of the given length.
std::string WriteTone(const std::string& name, int milliseconds) {
    const std::string path = platform::TempFolder() + name;
    const uint32_t frames = 22050u * milliseconds / 1000;
    std::ofstream out(path, std::ios::binary);
    out.write("RIFF", 4);
    Put32(out, 36 + frames * 2);
    out.write("WAVEfmt ", 8);
    Put32(out, 16);
    Put16(out, 1);
    Put16(out, 1);
    Put32(out, 22050);
    Put32(out, 44100);
    Put16(out, 2);
    Put16(out, 16);
    out.write("data", 4);
    Put32(out, frames * 2);
    for (uint32_t i = 0; i < frames; ++i) Put16(out, static_cast<uint16_t>((i % 50) * 400));
    return path;
}

class Music : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(StartTestEngine());
        gRequests.clear();
        platform::SetTraceHook(Record);
    }
    void TearDown() override { platform::SetTraceHook(nullptr); }

    static int Count(const std::string& request) {
        int n = 0;
        for (const auto& r : gRequests) n += r == request;
        return n;
    }
};

TEST_F(Music, PlayingSetsTheRestartTimeFromTheLength) {
    const std::string path = WriteTone("second.wav", 1000);
    const double before = ElapsedMs();
    PlayMusic(RtString(path.c_str()));
    const double after = ElapsedMs();
    ASSERT_NE(gEngine.mediaWindow, nullptr);
    EXPECT_GE(gEngine.musicRestartTime, before + 999);
    EXPECT_LE(gEngine.musicRestartTime, after + 1001);
    EXPECT_EQ(gEngine.musicVolume, 1.0);
    EXPECT_EQ(Count("music volume 1000"), 1);
    EXPECT_GE(Count("music play"), 1);
    EXPECT_EQ(gEngine.paused, 0);
}

TEST_F(Music, AShortPieceRestartsEveryHalfSecond) {
    const std::string path = WriteTone("short.wav", 100);
    const double before = ElapsedMs();
    PlayMusic(RtString(path.c_str()));
    const double after = ElapsedMs();
    const double first = gEngine.musicRestartTime;
    // Opening the mixer may take a while the first time; the half second
    // counts from some moment inside the call.
    EXPECT_GE(first, before + 499);
    EXPECT_LE(first, after + 501);
    gRequests.clear();
    while (ElapsedMs() < first) PresentFrame();
    PresentFrame();
    // play, rewind, play again, and the next restart half a second on.
    ASSERT_GE(gRequests.size(), 3u);
    EXPECT_EQ(gRequests[0], "music play");
    EXPECT_EQ(gRequests[1], "music rewind");
    EXPECT_EQ(gRequests[2], "music play");
    EXPECT_NEAR(gEngine.musicRestartTime - first, 500, 40);
}

TEST_F(Music, VolumeIsSentOnceOnTheThousandScale) {
    PlayMusic(RtString(WriteTone("vol.wav", 600).c_str()));
    gRequests.clear();
    SetMusicVolume(0.5);
    SetMusicVolume(0.5);
    EXPECT_EQ(gRequests, std::vector<std::string>{"music volume 500"});
    EXPECT_EQ(gEngine.musicVolume, 0.5);
    SetMusicVolume(1.5);  // no clamping
    EXPECT_EQ(gRequests.back(), "music volume 1500");
    PlayMusic(RtString(WriteTone("vol2.wav", 600).c_str()));
    EXPECT_EQ(gEngine.musicVolume, 1.0);
    EXPECT_EQ(gRequests.back(), "music volume 1000");
}

TEST_F(Music, VolumeBeforeAnyMusicIsOnlyStored) {
    SetMusicVolume(0.25);
    EXPECT_EQ(gEngine.musicVolume, 0.25);
    EXPECT_EQ(gRequests, std::vector<std::string>{});
}

TEST_F(Music, AMissingFilePlaysNothing) {
    PlayMusic(RtString("no-such-piece.ogg"));
    EXPECT_EQ(gEngine.mediaWindow, nullptr);
    EXPECT_EQ(gEngine.musicRestartTime, 0);
    EXPECT_TRUE(gRequests.empty());
}

TEST_F(Music, AnUnplayableFileStillLoopsEveryHalfSecond) {
    const std::string path = platform::TempFolder() + "noise.mid";
    std::ofstream(path, std::ios::binary) << "this is no music at all";
    const double before = ElapsedMs();
    PlayMusic(RtString(path.c_str()));
    const double after = ElapsedMs();
    ASSERT_NE(gEngine.mediaWindow, nullptr);
    EXPECT_GE(gEngine.musicRestartTime, before + 499);
    EXPECT_LE(gEngine.musicRestartTime, after + 501);
}

TEST_F(Music, StopClearsEverything) {
    PlayMusic(RtString(WriteTone("stop.wav", 600).c_str()));
    gRequests.clear();
    StopMusic();
    EXPECT_EQ(gEngine.mediaWindow, nullptr);
    EXPECT_EQ(gEngine.musicRestartTime, 0);
    EXPECT_EQ(gEngine.musicVolume, -1.0);
    EXPECT_EQ(gRequests, (std::vector<std::string>{"music stop", "music close"}));
}

TEST_F(Music, RestartSaysKick) {
    PlayMusic(RtString(WriteTone("kick.wav", 600).c_str()));
    testing::internal::CaptureStdout();
    RestartMusic();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "kick\n");
}

TEST(MusicShutdown, MusicStopsBeforeTheDeviceGoes) {
    EXPECT_EXIT(
        {
            StartTestEngine();
            PlayMusic(RtString(WriteTone("end.wav", 600).c_str()));
            platform::SetTraceHook(TraceToStderr);
            EndProgram();
        },
        testing::ExitedWithCode(0), "\\[music stop\\].*\\[music close\\].*\\[destroy window\\]");
}

}  // namespace
