// Music and sound effects on the one audio device. Start-up opens the device
// for the sound effects alone; SDL_mixer is loaded the first time music
// plays, takes the device over, and the samples go on in its mix.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/core/EngineState.h"
#include "runtime/platform/Platform.h"
#include "runtime/platform/PlatformTesting.h"
#include "runtime/runtime.h"
#include "runtime/sound/SoundDevice.h"
#include "sound/SoundTestSupport.h"

namespace {

using namespace soundtest;

bool MusicLibraryMapped() {
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line))
        if (line.find("libSDL2_mixer") != std::string::npos) return true;
    return false;
}

std::vector<std::string> gTrace;

void Record(const char* event) {
    gTrace.push_back(event);
}

bool Traced(const std::string& event) {
    for (const auto& e : gTrace)
        if (e == event) return true;
    return false;
}

bool WaitUntilSilent(double channel, int timeoutMs = 3000) {
    for (int waited = 0; waited < timeoutMs; waited += 10) {
        if (IsChannelPlaying(channel) == 0) return true;
        platform::Sleep(10);
    }
    return false;
}

std::vector<int16_t> ReadRaw(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    std::vector<int16_t> samples(bytes.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                          (static_cast<uint8_t>(bytes[2 * i + 1]) << 8));
    return samples;
}

size_t FramesOf(const std::vector<int16_t>& samples, int left, int right) {
    size_t n = 0;
    for (size_t i = 0; i + 1 < samples.size(); i += 2)
        n += samples[i] == left && samples[i + 1] == right;
    return n;
}

// The sound device on SDL's `disk` driver for one test, recording into a
// file; the driver CTest chose comes back afterwards.
class DiskDriver {
  public:
    explicit DiskDriver(const std::string& file) {
        const char* old = std::getenv("SDL_AUDIODRIVER");
        if (old) oldDriver_ = old;
        gEngine.soundDevice->Release();
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    }
    ~DiskDriver() {
        StopMusic();
        for (int i = 0; i < kSoundSlotCount; ++i) gEngine.soundSlots[i].FreeSlot();
        gEngine.soundDevice->Release();
        if (oldDriver_.empty()) {
            unsetenv("SDL_AUDIODRIVER");
        } else {
            setenv("SDL_AUDIODRIVER", oldDriver_.c_str(), 1);
        }
        unsetenv("SDL_DISKAUDIOFILE");
        gEngine.soundDevice->Initialise(gEngine.mainWindow);
    }

  private:
    std::string oldDriver_;
};

// Run in a fresh process, so no earlier test has loaded the library.
TEST(MusicDevice, StartUpLeavesTheMusicLibraryUnloadedUntilMusicPlays) {
    EXPECT_EXIT(
        {
            std::string path;
            {
                ScratchFolder scratch;
                path = scratch.Write("tune.wav", ConstantWave(1000, 22050));
                if (!EnsureEngine()) std::exit(2);
                const bool atStart = MusicLibraryMapped();
                const bool soundAtStart = gEngine.soundDevice->Mixer() != nullptr;
                platform::SetTraceHook(Record);
                PlayMusic(RtString(path.c_str()));
                platform::SetTraceHook(nullptr);
                std::fprintf(stderr,
                             "[sound %d] [library at start %d] [library with music %d] %s\n",
                             soundAtStart, atStart, MusicLibraryMapped(),
                             Traced("music open") ? "[music open]" : "[no music]");
                StopMusic();
            }
            std::exit(0);
        },
        testing::ExitedWithCode(0),
        "\\[sound 1\\] \\[library at start 0\\] \\[library with music 1\\] \\[music open\\]");
}

TEST(MusicDevice, MusicTakesTheSoundEffectsDeviceOverAndTheSamplesGoOn) {
    ASSERT_TRUE(EnsureEngine());
    ScratchFolder scratch;
    const std::string raw = scratch.Path("mix.raw");
    // A tenth of a second of 300 on its own, then a second of music at 1000.
    const std::string click = scratch.Write("click.wav", ConstantWave(300, 2205));
    const std::string tune = scratch.Write("tune.wav", ConstantWave(1000, 22050));
    {
        DiskDriver disk(raw);
        ASSERT_TRUE(gEngine.soundDevice->Initialise(gEngine.mainWindow));
        ASSERT_EQ(LoadSoundFile(RtString(click.c_str()), 0, 1), 1);
        ASSERT_EQ(PlaySoundSlot(0, 0, 1), 0);
        ASSERT_TRUE(WaitUntilSilent(0));
        gTrace.clear();
        platform::SetTraceHook(Record);
        PlayMusic(RtString(tune.c_str()));
        platform::SetTraceHook(nullptr);
        ASSERT_TRUE(Traced("music open"));
        EXPECT_EQ(platform::AudioDriverName(), "disk");
        ASSERT_NE(gEngine.soundDevice->Mixer(), nullptr);
        platform::Sleep(100);
        // The slot plays on the device SDL_mixer now owns, over the music.
        ASSERT_EQ(PlaySoundSlot(0, 0, 1), 0);
        ASSERT_TRUE(WaitUntilSilent(0));
        platform::Sleep(100);
    }
    const std::vector<int16_t> samples = ReadRaw(raw);
    EXPECT_GT(FramesOf(samples, 1000, 1000), 2205u);
    EXPECT_EQ(FramesOf(samples, 1300, 1300), 2205u);
}

}  // namespace
