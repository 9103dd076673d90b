// The sound commands on a started runtime. The audio output is held, so a
// voice keeps sounding until the test renders the mixer past its end.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "runtime/platform/Platform.h"
#include "runtime/runtime.h"
#include "runtime/sound/SoundDevice.h"
#include "sound/SoundTestSupport.h"

namespace {

using namespace soundtest;

class SoundSlotTest : public SoundEngineTest {
  protected:
    // A second of sound: long enough to be still sounding when the next play comes.
    std::string Second(int value = 10000) {
        return scratch.Write("second.wav", ConstantWave(value, 22050));
    }
    std::string Short(int frames, int value = 10000) {
        return scratch.Write("short.wav", ConstantWave(value, frames));
    }
    static double Load(const std::string& path, double slot, double voices) {
        return LoadSoundFile(RtString(path.c_str()), slot, voices);
    }
};

TEST_F(SoundSlotTest, ThreeVoicesPlayedFourTimesWrapRoundRobin) {
    ASSERT_EQ(Load(Second(), 5, 3), 1);
    EXPECT_EQ(Slot(5).voiceCount, 3);
    EXPECT_EQ(PlaySoundSlot(5, 0, 1), 5 * 256 + 0);
    Render(Mixer(), 100);
    EXPECT_EQ(PlaySoundSlot(5, 0, 1), 5 * 256 + 1);
    EXPECT_EQ(PlaySoundSlot(5, 0, 1), 5 * 256 + 2);
    EXPECT_EQ(Slot(5).voices[0]->GetCurrentPosition(), 100u);
    // The fourth play takes voice 0 back: stopped, rewound, started again.
    EXPECT_EQ(PlaySoundSlot(5, 0, 1), 5 * 256 + 0);
    EXPECT_EQ(Slot(5).voices[0]->GetCurrentPosition(), 0u);
    for (int voice = 0; voice < 3; ++voice)
        EXPECT_EQ(IsChannelPlaying(5 * 256 + voice), 1) << voice;
    EXPECT_EQ(IsChannelPlaying(5 * 256 + 3), 0);
    // Three voices sound at once.
    EXPECT_EQ(Render(Mixer(), 1).Left(0), 30000);
}

TEST_F(SoundSlotTest, ALoneVoiceIsNotRestartedWhileItSounds) {
    ASSERT_EQ(Load(Short(50), 2, 1), 1);
    EXPECT_EQ(PlaySoundSlot(2, 0, 1), 512);
    Render(Mixer(), 20);
    EXPECT_EQ(PlaySoundSlot(2, 0, 1), -1);
    EXPECT_EQ(Slot(2).voices[0]->GetCurrentPosition(), 20u);
    EXPECT_EQ(IsChannelPlaying(512), 1);
    Render(Mixer(), 30);
    EXPECT_EQ(IsChannelPlaying(512), 0);
    EXPECT_EQ(PlaySoundSlot(2, 0, 1), 512);
}

TEST_F(SoundSlotTest, VoicesShareOneCopyOfTheSamples) {
    ASSERT_EQ(Load(Second(), 0, 4), 1);
    for (int voice = 1; voice < 4; ++voice)
        EXPECT_EQ(Slot(0).voices[voice]->Frames().get(), Slot(0).voices[0]->Frames().get());
    EXPECT_EQ(Slot(0).voices[0]->Frames().use_count(), 4);
}

TEST_F(SoundSlotTest, HalfVolumeComesOutFiftyDecibelsDown) {
    ASSERT_EQ(Load(Short(100, 32000), 1, 1), 1);
    ASSERT_EQ(PlaySoundSlot(1, 0, 0.5), 256);
    EXPECT_EQ(Slot(1).voices[0]->GetVolume(), -5000);
    const Rendered out = Render(Mixer(), 10);
    EXPECT_EQ(out.Left(3), 101);
    EXPECT_EQ(out.Right(3), 101);
    EXPECT_NEAR(20 * std::log10(out.Left(3) / 32000.0), -50.0, 0.1);
}

TEST_F(SoundSlotTest, VolumeIsClampedAndTruncatedToWholePercent) {
    ASSERT_EQ(Load(Second(), 1, 4), 1);
    PlaySoundSlot(1, 0, 1);
    EXPECT_EQ(Slot(1).voices[0]->GetVolume(), 0);
    PlaySoundSlot(1, 0, 7);
    EXPECT_EQ(Slot(1).voices[1]->GetVolume(), 0);
    PlaySoundSlot(1, 0, -3);
    EXPECT_EQ(Slot(1).voices[2]->GetVolume(), -10000);
    PlaySoundSlot(1, 0, 0.257);  // 25.7 percent: 25
    EXPECT_EQ(Slot(1).voices[3]->GetVolume(), -7500);
}

TEST_F(SoundSlotTest, PanOneSilencesTheLeftAndPanTwoIsPanOne) {
    ASSERT_EQ(Load(Short(100, 20000), 3, 2), 1);
    ASSERT_EQ(PlaySoundSlot(3, 1, 1), 768);
    EXPECT_EQ(Slot(3).voices[0]->GetPan(), 10000);
    Rendered out = Render(Mixer(), 4);
    EXPECT_EQ(out.Left(2), 0);
    EXPECT_EQ(out.Right(2), 20000);
    ASSERT_EQ(PlaySoundSlot(3, 2, 1), 769);
    EXPECT_EQ(Slot(3).voices[1]->GetPan(), 10000);
    out = Render(Mixer(), 4);
    EXPECT_EQ(out.Left(2), 0);
    EXPECT_EQ(out.Right(2), 32767);  // two voices of 20000, clipped
    StopAllSounds();
    // The round-robin position stays on voice 1, which is free now.
    ASSERT_EQ(PlaySoundSlot(3, -1, 1), 768 + 1);
    EXPECT_EQ(Slot(3).voices[1]->GetPan(), -10000);
    out = Render(Mixer(), 1);
    EXPECT_EQ(out.Left(0), 20000);
    EXPECT_EQ(out.Right(0), 0);
    ASSERT_EQ(PlaySoundSlot(3, 0.25, 1), 768 + 0);  // 2500: the left 25 dB down
    EXPECT_EQ(Slot(3).voices[0]->GetPan(), 2500);
}

TEST_F(SoundSlotTest, SlotsAbove127Use127) {
    ASSERT_EQ(Load(Second(), 200, 2), 1);
    EXPECT_EQ(Slot(127).voiceCount, 2);
    EXPECT_EQ(Slot(200).voiceCount, 0);
    EXPECT_EQ(PlaySoundSlot(200, 0, 1), 127 * 256 + 0);
    EXPECT_EQ(PlaySoundSlot(128, 0, 1), 127 * 256 + 1);
    EXPECT_EQ(IsChannelPlaying(127 * 256 + 1), 1);
    EXPECT_EQ(PlaySoundSlot(1e9, 0, 1), 127 * 256 + 0);
}

TEST_F(SoundSlotTest, VoiceCountsAreClampedToOneToFour) {
    const std::string path = Second();
    ASSERT_EQ(Load(path, 0, 0), 1);
    EXPECT_EQ(Slot(0).voiceCount, 1);
    ASSERT_EQ(Load(path, 0, 9), 1);
    EXPECT_EQ(Slot(0).voiceCount, 4);
    ASSERT_EQ(Load(path, 0, 2.9), 1);
    EXPECT_EQ(Slot(0).voiceCount, 2);
    ASSERT_EQ(Load(path, 0, std::numeric_limits<double>::quiet_NaN()), 1);
    EXPECT_EQ(Slot(0).voiceCount, 1);
    EXPECT_EQ(Slot(0).voices[1], nullptr);
}

TEST_F(SoundSlotTest, ReloadingASlotReleasesItsOldVoices) {
    ASSERT_EQ(Load(Second(), 4, 4), 1);
    PlaySoundSlot(4, 0, 1);
    const size_t before = Mixer()->BufferCount();
    ASSERT_EQ(Load(Short(10), 4, 1), 1);
    EXPECT_EQ(Mixer()->BufferCount(), before - 3);
    EXPECT_EQ(Slot(4).currentVoice, 0);
    EXPECT_EQ(Slot(4).voices[0]->GetStatus(), 0u);
    EXPECT_EQ(Render(Mixer(), 1).Left(0), 0);
}

TEST_F(SoundSlotTest, WavesWithFactListAndLongFormatChunksLoadAndPlay) {
    Format f;
    const Bytes data = Chunk("data", Pcm16(std::vector<int16_t>(100, 1234)));
    Bytes fact;
    Append32(&fact, 100);
    const Bytes list = Chunk(
        "LIST", Bytes{'I', 'N', 'F', 'O', 'I', 'S', 'F', 'T', 5, 0, 0, 0, 'q', 'u', 'o', 'r', 0});
    const std::string withFact =
        scratch.Write("fact.wav", Riff({Chunk("fmt ", FormatBody(f)), Chunk("fact", fact), data}));
    const std::string withLongFormat =
        scratch.Write("fmt18.wav", Riff({Chunk("fmt ", FormatBody(f, 2)), data}));
    const std::string withList =
        scratch.Write("list.wav", Riff({Chunk("fmt ", FormatBody(f)), list, data}));
    int slot = 10;
    for (const std::string& path : {withFact, withLongFormat, withList}) {
        ASSERT_EQ(Load(path, slot, 1), 1) << path;
        EXPECT_EQ(PlaySoundSlot(slot, 0, 1), slot * 256) << path;
        EXPECT_EQ(Render(Mixer(), 1).Left(0), 1234) << path;
        StopAllSounds();
        ++slot;
    }
}

TEST_F(SoundSlotTest, BrokenWavesFailAndLeaveTheSlotEmpty) {
    const std::string good = Second();
    Format adpcm;
    adpcm.tag = 2;
    Bytes tooLong = ChunkHeader("data", 1000);
    const std::vector<Bytes> broken = {
        Bytes{},
        Bytes{'R', 'I', 'F', 'F'},
        Riff({Chunk("fmt ", FormatBody(Format{})), tooLong, Pcm16({1, 2})}),
        Riff({Chunk("fmt ", FormatBody(Format{})), ChunkHeader("fact", 0x7FFFFFFF),
              Chunk("data", Pcm16({1}))}),
        SimpleWave(adpcm, Pcm16({1, 2})),
        Riff({Chunk("fmt ", FormatBody(Format{}))}),
    };
    for (size_t i = 0; i < broken.size(); ++i) {
        ASSERT_EQ(Load(good, 6, 2), 1);
        const size_t loaded = Mixer()->BufferCount();
        EXPECT_EQ(Load(scratch.Write("broken.wav", broken[i]), 6, 2), 0) << i;
        EXPECT_EQ(Slot(6).voiceCount, 0) << i;
        EXPECT_EQ(Slot(6).voices[0], nullptr) << i;
        EXPECT_EQ(Slot(6).voices[1], nullptr) << i;
        EXPECT_EQ(Mixer()->BufferCount(), loaded - 2) << i;
        EXPECT_EQ(PlaySoundSlot(6, 0, 1), -1) << i;
    }
}

TEST_F(SoundSlotTest, MissingFilesLoadNothing) {
    EXPECT_EQ(Load(scratch.Path("absent.wav"), 7, 1), 0);
    EXPECT_EQ(Slot(7).voiceCount, 0);
    EXPECT_EQ(LoadSoundFile(RtString(""), 7, 1), 0);
    EXPECT_EQ(PlaySoundSlot(7, 0, 1), -1);
}

TEST_F(SoundSlotTest, NamesResolveThroughTheMediaShoebox) {
    // The working directory is the program's: a plain file there is found by its name.
    const std::string name = "quorbel-sound-" + std::to_string(getpid()) + ".wav";
    const std::string path = platform::CurrentDirectory() + "/" + name;
    const Bytes bytes = ConstantWave(77, 10);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    EXPECT_EQ(LoadSoundFile(RtString(name.c_str()), 8, 1), 1);
    std::filesystem::remove(path);
    EXPECT_EQ(PlaySoundSlot(8, 0, 1), 8 * 256);
    EXPECT_EQ(Render(Mixer(), 1).Left(0), 77);
}

TEST_F(SoundSlotTest, ChannelsOutsideTheSlotsAreNotPlaying) {
    ASSERT_EQ(Load(Second(), 0, 1), 1);
    ASSERT_EQ(PlaySoundSlot(0, 0, 1), 0);
    EXPECT_EQ(IsChannelPlaying(0), 1);
    EXPECT_EQ(IsChannelPlaying(0.9), 1);
    EXPECT_EQ(IsChannelPlaying(-1), 0);
    EXPECT_EQ(IsChannelPlaying(-0.5), 0);
    EXPECT_EQ(IsChannelPlaying(1), 0);
    EXPECT_EQ(IsChannelPlaying(255), 0);
    EXPECT_EQ(IsChannelPlaying(200 * 256), 0);
    EXPECT_EQ(IsChannelPlaying(256 * 256), 0);
    EXPECT_EQ(IsChannelPlaying(1e12), 0);
    EXPECT_EQ(IsChannelPlaying(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST_F(SoundSlotTest, NegativeSlotsAreRefused) {
    EXPECT_EQ(Load(Second(), -3, 1), 0);
    EXPECT_EQ(PlaySoundSlot(-3, 0, 1), -1);
    EXPECT_EQ(PlaySoundSlot(std::numeric_limits<double>::quiet_NaN(), 0, 1), -1);
}

TEST_F(SoundSlotTest, StopAllSoundsStopsAndRewindsEveryVoice) {
    ASSERT_EQ(Load(Second(), 0, 2), 1);
    ASSERT_EQ(Load(Second(), 127, 1), 1);
    PlaySoundSlot(0, 0, 1);
    PlaySoundSlot(0, 0, 1);
    PlaySoundSlot(127, 0, 1);
    Render(Mixer(), 50);
    StopAllSounds();
    EXPECT_EQ(IsChannelPlaying(0), 0);
    EXPECT_EQ(IsChannelPlaying(1), 0);
    EXPECT_EQ(IsChannelPlaying(127 * 256), 0);
    EXPECT_EQ(Slot(0).voices[0]->GetCurrentPosition(), 0u);
    EXPECT_EQ(Slot(127).voices[0]->GetCurrentPosition(), 0u);
    EXPECT_EQ(Render(Mixer(), 1).Left(0), 0);
}

TEST_F(SoundSlotTest, EmptySlotsPlayNothing) {
    EXPECT_EQ(PlaySoundSlot(9, 0, 1), -1);
    EXPECT_FALSE(Slot(9).StopSlot());
    EXPECT_EQ(Slot(9).PickVoice(), nullptr);
}

TEST_F(SoundSlotTest, FreeingASlotZeroesIt) {
    ASSERT_EQ(Load(Second(), 11, 3), 1);
    PlaySoundSlot(11, 0, 1);
    PlaySoundSlot(11, 0, 1);
    Slot(11).FreeSlot();
    EXPECT_EQ(Slot(11).voiceCount, 0);
    EXPECT_EQ(Slot(11).currentVoice, 0);
    EXPECT_EQ(Slot(11).device, nullptr);
    for (SoundBuffer* voice : Slot(11).voices) EXPECT_EQ(voice, nullptr);
    EXPECT_EQ(Render(Mixer(), 1).Left(0), 0);
}

}  // namespace
