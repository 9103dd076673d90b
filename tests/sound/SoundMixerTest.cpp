// The mixer called directly: frames rendered into a buffer and read back.
// Attenuations are hundredths of a decibel; the expected levels below are
// worked out by hand (-50 dB is a gain of 0.0031622777).
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "runtime/sound/SoundMixer.h"
#include "sound/SoundTestSupport.h"

namespace {

using namespace soundtest;

std::shared_ptr<const SampleFrames> Frames(int channels, int rate, std::vector<int16_t> samples) {
    auto frames = std::make_shared<SampleFrames>();
    frames->channels = channels;
    frames->samplesPerSecond = rate;
    frames->samples = std::move(samples);
    return frames;
}

std::shared_ptr<const SampleFrames> Constant(int value, size_t count, int rate = 22050) {
    return Frames(1, rate, std::vector<int16_t>(count, static_cast<int16_t>(value)));
}

double Decibels(double level, double reference) {
    return 20.0 * std::log10(level / reference);
}

// Buffers belong to whoever made them, not to the mixer: the fixture releases
// what a test leaves.
class SoundMixerTest : public ::testing::Test {
  protected:
    void TearDown() override {
        for (SoundBuffer* buffer : made_) buffer->Release();
    }

    SoundBuffer* Keep(SoundBuffer* buffer) {
        EXPECT_NE(buffer, nullptr);
        if (buffer) made_.push_back(buffer);
        return buffer;
    }
    SoundBuffer* Create(std::shared_ptr<const SampleFrames> frames, SoundMixer* on = nullptr) {
        return Keep((on ? on : &mixer)->CreateBuffer(std::move(frames)));
    }
    SoundBuffer* Duplicate(SoundBuffer* original) { return Keep(mixer.DuplicateBuffer(original)); }
    SoundBuffer* Play(std::shared_ptr<const SampleFrames> frames, uint32_t flags = 0) {
        SoundBuffer* buffer = Create(std::move(frames));
        if (buffer) buffer->Play(flags);
        return buffer;
    }
    void Drop(SoundBuffer* buffer) {
        std::erase(made_, buffer);
        buffer->Release();
    }

    SoundMixer mixer;

  private:
    std::vector<SoundBuffer*> made_;
};

TEST_F(SoundMixerTest, SilenceWithoutVoices) {
    const Rendered out = Render(&mixer, 300);
    for (int16_t s : out.samples) ASSERT_EQ(s, 0);
}

TEST_F(SoundMixerTest, MonoAtTheOutputRateSoundsUnchangedOnBothSides) {
    Play(Frames(1, 22050, {0, 1000, -1000, 32767, -32768}));
    const Rendered out = Render(&mixer, 7);
    const int expected[7] = {0, 1000, -1000, 32767, -32768, 0, 0};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(out.Left(i), expected[i]) << i;
        EXPECT_EQ(out.Right(i), expected[i]) << i;
    }
}

TEST_F(SoundMixerTest, StereoKeepsItsSides) {
    Play(Frames(2, 22050, {100, -200, 300, -400}));
    const Rendered out = Render(&mixer, 3);
    EXPECT_EQ(out.Left(0), 100);
    EXPECT_EQ(out.Right(0), -200);
    EXPECT_EQ(out.Left(1), 300);
    EXPECT_EQ(out.Right(1), -400);
    EXPECT_EQ(out.Left(2), 0);
    EXPECT_EQ(out.Right(2), 0);
}

TEST_F(SoundMixerTest, HalfTheOutputRateIsInterpolatedBetweenSamples) {
    Play(Frames(1, 11025, {0, 1000, 2000, 3000}));
    const Rendered out = Render(&mixer, 10);
    const int expected[10] = {0, 500, 1000, 1500, 2000, 2500, 3000, 3000, 0, 0};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(out.Left(i), expected[i]) << i;
}

TEST_F(SoundMixerTest, TwiceTheOutputRateTakesEveryOtherSample) {
    Play(Frames(2, 44100, {1, -1, 2, -2, 3, -3, 4, -4, 5, -5, 6, -6}));
    const Rendered out = Render(&mixer, 4);
    EXPECT_EQ(out.Left(0), 1);
    EXPECT_EQ(out.Right(0), -1);
    EXPECT_EQ(out.Left(1), 3);
    EXPECT_EQ(out.Right(1), -3);
    EXPECT_EQ(out.Left(2), 5);
    EXPECT_EQ(out.Right(2), -5);
    EXPECT_EQ(out.Left(3), 0);
}

TEST_F(SoundMixerTest, AnyRateLastsItsOwnDuration) {
    // One second of sound at 8,000 Hz lasts one second of output, give or take a frame.
    SoundBuffer* voice = Play(Constant(1000, 8000, 8000));
    Rendered out = Render(&mixer, 22049);
    EXPECT_EQ(out.Left(22048), 1000);
    EXPECT_TRUE(voice->GetStatus() & SoundBuffer::kStatusPlaying);
    out = Render(&mixer, 4);
    EXPECT_EQ(out.Left(3), 0);
    EXPECT_EQ(voice->GetStatus(), 0u);
}

TEST_F(SoundMixerTest, HalfVolumeIsFiftyDecibelsDown) {
    SoundBuffer* voice = Play(Constant(32000, 100));
    ASSERT_TRUE(voice->SetVolume(-5000));
    const Rendered out = Render(&mixer, 10);
    EXPECT_EQ(out.Left(0), 101);  // 32000 x 0.0031622777 = 101.19
    EXPECT_EQ(out.Right(0), 101);
    EXPECT_NEAR(Decibels(out.Left(5), 32000), -50.0, 0.1);
}

TEST_F(SoundMixerTest, VolumeIsLinearInDecibels) {
    SoundBuffer* voice = Play(Constant(20000, 100));
    voice->SetVolume(-600);  // 6 dB: a gain of 0.5011872
    EXPECT_EQ(Render(&mixer, 1).Left(0), 10024);
    voice->SetVolume(-2000);  // 20 dB: a tenth
    EXPECT_EQ(Render(&mixer, 1).Left(0), 2000);
    voice->SetVolume(0);
    EXPECT_EQ(Render(&mixer, 1).Left(0), 20000);
    voice->SetVolume(-10000);  // the minimum is silence
    const Rendered out = Render(&mixer, 1);
    EXPECT_EQ(out.Left(0), 0);
    EXPECT_EQ(out.Right(0), 0);
}

TEST_F(SoundMixerTest, PanAttenuatesTheOtherSideOnly) {
    SoundBuffer* voice = Play(Constant(32000, 100));
    ASSERT_TRUE(voice->SetPan(10000));  // full right: the left is silent
    Rendered out = Render(&mixer, 1);
    EXPECT_EQ(out.Left(0), 0);
    EXPECT_EQ(out.Right(0), 32000);
    ASSERT_TRUE(voice->SetPan(-10000));
    out = Render(&mixer, 1);
    EXPECT_EQ(out.Left(0), 32000);
    EXPECT_EQ(out.Right(0), 0);
    ASSERT_TRUE(voice->SetPan(5000));
    out = Render(&mixer, 1);
    EXPECT_EQ(out.Left(0), 101);
    EXPECT_EQ(out.Right(0), 32000);
    ASSERT_TRUE(voice->SetPan(0));
    out = Render(&mixer, 1);
    EXPECT_EQ(out.Left(0), 32000);
    EXPECT_EQ(out.Right(0), 32000);
}

TEST_F(SoundMixerTest, VolumeAndPanAddUpInDecibels) {
    SoundBuffer* voice = Play(Constant(32000, 100));
    voice->SetVolume(-2000);
    voice->SetPan(-3000);  // right: 20 + 30 dB down
    Rendered out = Render(&mixer, 1);
    EXPECT_EQ(out.Left(0), 3200);
    EXPECT_EQ(out.Right(0), 101);
    voice->SetVolume(-5000);
    voice->SetPan(-5000);  // right: 100 dB down, the minimum
    out = Render(&mixer, 1);
    EXPECT_EQ(out.Left(0), 101);
    EXPECT_EQ(out.Right(0), 0);
}

TEST_F(SoundMixerTest, SettingsOutOfRangeAreRefusedAndTheOldOnesKept) {
    SoundBuffer* voice = Create(Constant(1, 4));
    EXPECT_EQ(voice->GetVolume(), 0);
    EXPECT_EQ(voice->GetPan(), 0);
    EXPECT_TRUE(voice->SetVolume(-300));
    EXPECT_FALSE(voice->SetVolume(1));
    EXPECT_FALSE(voice->SetVolume(-10001));
    EXPECT_EQ(voice->GetVolume(), -300);
    EXPECT_TRUE(voice->SetPan(-10000));
    EXPECT_FALSE(voice->SetPan(10001));
    EXPECT_FALSE(voice->SetPan(-10001));
    EXPECT_EQ(voice->GetPan(), -10000);
}

TEST_F(SoundMixerTest, AOneShotVoiceStopsAtItsEndAndRewinds) {
    SoundBuffer* voice = Play(Frames(1, 22050, {1, 2, 3, 4}));
    EXPECT_EQ(voice->GetStatus(), SoundBuffer::kStatusPlaying);
    Render(&mixer, 3);
    EXPECT_EQ(voice->GetCurrentPosition(), 3u);
    EXPECT_EQ(voice->GetStatus(), SoundBuffer::kStatusPlaying);
    Render(&mixer, 1);
    EXPECT_EQ(voice->GetStatus(), 0u);
    EXPECT_EQ(voice->GetCurrentPosition(), 0u);
    // Played again, it starts from the beginning.
    voice->Play(0);
    EXPECT_EQ(Render(&mixer, 1).Left(0), 1);
}

TEST_F(SoundMixerTest, ALoopingVoiceWrapsRound) {
    SoundBuffer* voice = Play(Frames(1, 22050, {1, 2, 3}), SoundBuffer::kPlayLooping);
    EXPECT_EQ(voice->GetStatus(), SoundBuffer::kStatusPlaying | SoundBuffer::kStatusLooping);
    const Rendered out = Render(&mixer, 7);
    const int expected[7] = {1, 2, 3, 1, 2, 3, 1};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(out.Left(i), expected[i]) << i;
    // A rate far above the output's wraps many times over within one frame.
    SoundBuffer* fast = Create(Frames(1, 200000, {5}));
    voice->Stop();
    fast->Play(SoundBuffer::kPlayLooping);
    EXPECT_EQ(Render(&mixer, 3).Left(2), 5);
}

TEST_F(SoundMixerTest, StopKeepsThePositionAndPlayGoesOnFromIt) {
    SoundBuffer* voice = Play(Frames(1, 22050, {1, 2, 3, 4, 5}));
    Render(&mixer, 2);
    voice->Stop();
    EXPECT_EQ(voice->GetStatus(), 0u);
    EXPECT_EQ(Render(&mixer, 1).Left(0), 0);
    EXPECT_EQ(voice->GetCurrentPosition(), 2u);
    voice->Play(0);
    EXPECT_EQ(Render(&mixer, 1).Left(0), 3);
    EXPECT_TRUE(voice->SetCurrentPosition(0));
    EXPECT_EQ(Render(&mixer, 1).Left(0), 1);
    EXPECT_FALSE(voice->SetCurrentPosition(5));
    EXPECT_EQ(voice->GetCurrentPosition(), 1u);
}

TEST_F(SoundMixerTest, VoicesAddUpAndClipAtFullScale) {
    Play(Constant(1000, 10));
    Play(Constant(-300, 10));
    EXPECT_EQ(Render(&mixer, 1).Left(0), 700);
    Play(Constant(30000, 10));
    Play(Constant(30000, 10));
    EXPECT_EQ(Render(&mixer, 1).Left(0), 32767);
    SoundMixer other;
    Create(Constant(-30000, 10), &other)->Play(0);
    Create(Constant(-30000, 10), &other)->Play(0);
    EXPECT_EQ(Render(&other, 1).Left(0), -32768);
}

TEST_F(SoundMixerTest, DuplicatesShareOneCopyOfTheSamples) {
    SoundBuffer* original = Create(Constant(500, 10));
    original->SetVolume(-2000);
    original->SetPan(300);
    original->Play(0);
    Render(&mixer, 4);
    SoundBuffer* copies[3];
    for (SoundBuffer*& copy : copies) copy = Duplicate(original);
    for (SoundBuffer* copy : copies) {
        EXPECT_EQ(copy->Frames().get(), original->Frames().get());
        EXPECT_EQ(copy->GetVolume(), -2000);
        EXPECT_EQ(copy->GetPan(), 300);
        EXPECT_EQ(copy->GetStatus(), 0u);
        EXPECT_EQ(copy->GetCurrentPosition(), 0u);
    }
    EXPECT_EQ(original->Frames().use_count(), 4);
    EXPECT_EQ(mixer.BufferCount(), 4u);
    // The samples outlive the voice they were loaded into.
    std::weak_ptr<const SampleFrames> samples = original->Frames();
    Drop(original);
    Drop(copies[0]);
    Drop(copies[1]);
    EXPECT_FALSE(samples.expired());
    Drop(copies[2]);
    EXPECT_TRUE(samples.expired());
    EXPECT_EQ(mixer.BufferCount(), 0u);
}

TEST_F(SoundMixerTest, ReleasedVoicesAreMixedNoMore) {
    Drop(Play(Constant(1000, 100)));
    EXPECT_EQ(Render(&mixer, 1).Left(0), 0);
}

TEST_F(SoundMixerTest, BuffersOutliveTheirMixerSafely) {
    auto early = std::make_unique<SoundMixer>();
    SoundBuffer* voice = early->CreateBuffer(Constant(1000, 100));
    voice->Play(0);
    early.reset();
    EXPECT_TRUE(voice->Stop());
    voice->Release();
}

TEST_F(SoundMixerTest, NoBufferWithoutFrames) {
    EXPECT_EQ(mixer.CreateBuffer(nullptr), nullptr);
    EXPECT_EQ(mixer.CreateBuffer(Frames(1, 22050, {})), nullptr);
    EXPECT_EQ(mixer.DuplicateBuffer(nullptr), nullptr);
}

TEST_F(SoundMixerTest, GainsOfAttenuations) {
    EXPECT_FLOAT_EQ(GainOfAttenuation(0), 1.0f);
    EXPECT_FLOAT_EQ(GainOfAttenuation(-2000), 0.1f);
    EXPECT_FLOAT_EQ(GainOfAttenuation(-5000), 0.0031622777f);
    EXPECT_FLOAT_EQ(GainOfAttenuation(-9999), 1.0011520e-5f);
    EXPECT_EQ(GainOfAttenuation(-10000), 0.0f);
}

}  // namespace
