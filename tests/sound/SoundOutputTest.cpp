// The sound device over a real SDL audio driver: the mix recorded by the
// `disk` driver, a driver that does not exist, and the release of the device.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/platform/Platform.h"
#include "runtime/platform/PlatformTesting.h"
#include "runtime/runtime.h"
#include "runtime/sound/SoundDevice.h"
#include "sound/SoundTestSupport.h"

namespace {

using namespace soundtest;

// Points SDL at another audio driver for one test and reopens the device;
// the driver CTest chose comes back afterwards.
class AudioDriverSwitch {
  public:
    AudioDriverSwitch(const char* driver, const std::string& diskFile = "") {
        const char* old = std::getenv("SDL_AUDIODRIVER");
        hadDriver_ = old != nullptr;
        if (old) oldDriver_ = old;
        gEngine.soundDevice->Release();
        setenv("SDL_AUDIODRIVER", driver, 1);
        if (!diskFile.empty()) setenv("SDL_DISKAUDIOFILE", diskFile.c_str(), 1);
    }
    ~AudioDriverSwitch() {
        for (int i = 0; i < kSoundSlotCount; ++i) gEngine.soundSlots[i].FreeSlot();
        gEngine.soundDevice->Release();
        if (hadDriver_) {
            setenv("SDL_AUDIODRIVER", oldDriver_.c_str(), 1);
        } else {
            unsetenv("SDL_AUDIODRIVER");
        }
        unsetenv("SDL_DISKAUDIOFILE");
        gEngine.soundDevice->Initialise(gEngine.mainWindow);
    }

  private:
    bool hadDriver_ = false;
    std::string oldDriver_;
};

bool WaitUntilSilent(double channel, int timeoutMs = 3000) {
    for (int waited = 0; waited < timeoutMs; waited += 10) {
        if (IsChannelPlaying(channel) == 0) return true;
        platform::Sleep(10);
    }
    return false;
}

struct SoundRun {
    size_t start = 0, length = 0;
    int left = 0, right = 0;
};

// Stretches of identical frames that are not silence.
std::vector<SoundRun> SoundingRuns(const std::vector<int16_t>& samples) {
    std::vector<SoundRun> runs;
    for (size_t frame = 0; frame < samples.size() / 2; ++frame) {
        const int left = samples[2 * frame], right = samples[2 * frame + 1];
        if (left == 0 && right == 0) continue;
        if (!runs.empty() && runs.back().start + runs.back().length == frame &&
            runs.back().left == left && runs.back().right == right) {
            ++runs.back().length;
        } else {
            runs.push_back({frame, 1, left, right});
        }
    }
    return runs;
}

std::vector<int16_t> ReadRaw(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    std::vector<int16_t> samples(bytes.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<int16_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                          (static_cast<uint8_t>(bytes[2 * i + 1]) << 8));
    }
    return samples;
}

TEST(SoundOutput, TheDiskDriverRecordsPanAndVolume) {
    ASSERT_TRUE(EnsureEngine());
    ScratchFolder scratch;
    const std::string raw = scratch.Path("mix.raw");
    {
        AudioDriverSwitch disk("disk", raw);
        ASSERT_TRUE(gEngine.soundDevice->Initialise(gEngine.mainWindow));
        EXPECT_EQ(platform::AudioDriverName(), "disk");
        // A tenth of a second at 11,025 Hz: two frames of output for each of its 1,103.
        ASSERT_EQ(LoadSoundFile(
                      RtString(scratch.Write("tone.wav", ConstantWave(32000, 1103, 11025)).c_str()),
                      0, 1),
                  1);
        ASSERT_EQ(PlaySoundSlot(0, 1, 1), 0);
        ASSERT_TRUE(WaitUntilSilent(0));
        ASSERT_EQ(PlaySoundSlot(0, 0, 0.5), 0);
        ASSERT_TRUE(WaitUntilSilent(0));
        platform::Sleep(100);  // the last mixed block reaches the file
        gEngine.soundDevice->Release();
    }
    const std::vector<int16_t> samples = ReadRaw(raw);
    ASSERT_GT(samples.size(), 2u * 4410);
    const std::vector<SoundRun> runs = SoundingRuns(samples);
    ASSERT_EQ(runs.size(), 2u);
    // Pan 1: nothing on the left, the right as recorded.
    EXPECT_EQ(runs[0].left, 0);
    EXPECT_EQ(runs[0].right, 32000);
    EXPECT_EQ(runs[0].length, 2206u);
    // Volume 0.5: 50 dB down on both sides.
    EXPECT_EQ(runs[1].left, 101);
    EXPECT_EQ(runs[1].right, 101);
    EXPECT_NEAR(20 * std::log10(runs[1].left / 32000.0), -50.0, 0.1);
    EXPECT_EQ(runs[1].length, 2206u);
    EXPECT_GT(runs[1].start, runs[0].start + runs[0].length);
}

TEST(SoundOutput, NoAudioDriverLeavesSoundSilentAndTheProgramRunning) {
    ASSERT_TRUE(EnsureEngine());
    ScratchFolder scratch;
    AudioDriverSwitch nowhere("nowhere");
    EXPECT_FALSE(gEngine.soundDevice->Initialise(gEngine.mainWindow));
    EXPECT_EQ(gEngine.soundDevice->Mixer(), nullptr);
    EXPECT_EQ(gEngine.soundDevice->Output(), nullptr);
    const std::string path = scratch.Write("tone.wav", ConstantWave(1000, 100));
    EXPECT_EQ(LoadSoundFile(RtString(path.c_str()), 0, 2), 0);
    EXPECT_EQ(gEngine.soundSlots[0].voiceCount, 0);
    EXPECT_EQ(gEngine.soundSlots[0].voices[0], nullptr);
    EXPECT_EQ(PlaySoundSlot(0, 0, 1), -1);
    EXPECT_EQ(IsChannelPlaying(0), 0);
    StopAllSounds();
    gEngine.soundDevice->SetWindow(gEngine.mainWindow);
    PresentFrame();
    PresentFrame();
    EXPECT_EQ(gEngine.soundDevice->Mixer(), nullptr);
}

std::vector<std::string> gTrace;

TEST(SoundOutput, ReleaseClosesTheAudioOnceAfterTheSlots) {
    ASSERT_TRUE(EnsureEngine());
    ASSERT_NE(gEngine.soundDevice->Mixer(), nullptr);
    ScratchFolder scratch;
    const std::string path = scratch.Write("tone.wav", ConstantWave(1000, 22050));
    ASSERT_EQ(LoadSoundFile(RtString(path.c_str()), 0, 3), 1);
    ASSERT_EQ(PlaySoundSlot(0, 0, 1), 0);
    ASSERT_EQ(PlaySoundSlot(0, 0, 1), 1);
    gTrace.clear();
    platform::SetTraceHook([](const char* event) { gTrace.push_back(event); });
    // The shutdown's order: the slots go first, the device after them.
    delete[] gEngine.soundSlots;
    gEngine.soundSlots = nullptr;
    EXPECT_EQ(gEngine.soundDevice->Mixer()->BufferCount(), 0u);
    EXPECT_TRUE(gTrace.empty());
    gEngine.soundDevice->Release();
    gEngine.soundDevice->Release();
    platform::SetTraceHook(nullptr);
    EXPECT_EQ(gTrace, std::vector<std::string>{"close audio"});
    EXPECT_EQ(gEngine.soundDevice->Mixer(), nullptr);
    EXPECT_EQ(PlaySoundSlot(0, 0, 1), -1);
    EXPECT_EQ(IsChannelPlaying(0), 0);
    StopAllSounds();
    gEngine.soundSlots = new SoundSlot[kSoundSlotCount];
    EXPECT_TRUE(gEngine.soundDevice->Initialise(gEngine.mainWindow));
}

TEST(SoundOutput, ADeviceReleasedUnderItsSlotsLeavesThemSafe) {
    ASSERT_TRUE(EnsureEngine());
    ASSERT_NE(gEngine.soundDevice->Mixer(), nullptr);
    ScratchFolder scratch;
    const std::string path = scratch.Write("tone.wav", ConstantWave(1000, 22050));
    ASSERT_EQ(LoadSoundFile(RtString(path.c_str()), 3, 2), 1);
    ASSERT_EQ(PlaySoundSlot(3, 0, 1), 768);
    gEngine.soundDevice->Release();
    EXPECT_EQ(PlaySoundSlot(3, 0, 1), -1);
    EXPECT_EQ(IsChannelPlaying(768), 0);
    EXPECT_FALSE(gEngine.soundSlots[3].StopSlot());
    gEngine.soundSlots[3].FreeSlot();
    EXPECT_EQ(gEngine.soundSlots[3].voices[0], nullptr);
    EXPECT_TRUE(gEngine.soundDevice->Initialise(gEngine.mainWindow));
}

TEST(SoundOutput, TheDummyDriverPlaysInRealTime) {
    ASSERT_TRUE(EnsureEngine());
    ASSERT_NE(gEngine.soundDevice->Mixer(), nullptr);
    ScratchFolder scratch;
    // A twentieth of a second.
    const std::string path = scratch.Write("tone.wav", ConstantWave(1000, 1103));
    ASSERT_EQ(LoadSoundFile(RtString(path.c_str()), 0, 1), 1);
    ASSERT_EQ(PlaySoundSlot(0, 0, 1), 0);
    EXPECT_EQ(IsChannelPlaying(0), 1);
    EXPECT_TRUE(WaitUntilSilent(0));
    EXPECT_EQ(PlaySoundSlot(0, 0, 1), 0);
    gEngine.soundSlots[0].FreeSlot();
}

}  // namespace
