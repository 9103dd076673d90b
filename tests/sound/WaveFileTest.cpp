// The WAV loader over files the tests write: every PCM layout that is well
// formed loads, with its samples decoded exactly; everything else fails
// without reading past the file.
#include <gtest/gtest.h>

#include <cstring>

#include "runtime/sound/WaveFile.h"
#include "sound/SoundTestSupport.h"

namespace {

using namespace soundtest;

class WaveFileTest : public ::testing::Test {
  protected:
    // Loads the bytes both from a file and from memory; the two must agree.
    bool Load(const Bytes& bytes, SampleFrames* out = nullptr) {
        SampleFrames fromFile, fromMemory;
        const bool fileLoaded = ReadWaveFile(scratch.Write("sound.wav", bytes).c_str(), &fromFile);
        const bool memoryLoaded = ReadWaveBytes(bytes.data(), bytes.size(), &fromMemory);
        EXPECT_EQ(fileLoaded, memoryLoaded);
        if (fileLoaded && memoryLoaded) {
            EXPECT_EQ(fromFile.samples, fromMemory.samples);
            EXPECT_EQ(fromFile.channels, fromMemory.channels);
            EXPECT_EQ(fromFile.samplesPerSecond, fromMemory.samplesPerSecond);
        }
        if (out) *out = fromFile;
        return fileLoaded;
    }

    ScratchFolder scratch;
};

TEST_F(WaveFileTest, SixteenBitMonoAndStereoKeepTheirSamples) {
    SampleFrames sound;
    Format mono;
    mono.rate = 11025;
    ASSERT_TRUE(Load(SimpleWave(mono, Pcm16({0, 1, -1, 32767, -32768})), &sound));
    EXPECT_EQ(sound.channels, 1);
    EXPECT_EQ(sound.samplesPerSecond, 11025);
    EXPECT_EQ(sound.samples, (std::vector<int16_t>{0, 1, -1, 32767, -32768}));
    EXPECT_EQ(sound.FrameCount(), 5u);

    Format stereo;
    stereo.channels = 2;
    stereo.rate = 44100;
    ASSERT_TRUE(Load(SimpleWave(stereo, Pcm16({100, -100, 200, -200})), &sound));
    EXPECT_EQ(sound.channels, 2);
    EXPECT_EQ(sound.samplesPerSecond, 44100);
    EXPECT_EQ(sound.samples, (std::vector<int16_t>{100, -100, 200, -200}));
    EXPECT_EQ(sound.FrameCount(), 2u);
}

TEST_F(WaveFileTest, EightBitSamplesAreUnsignedAroundTheMiddle) {
    SampleFrames sound;
    Format mono;
    mono.bits = 8;
    ASSERT_TRUE(Load(SimpleWave(mono, Bytes{0, 128, 255, 200, 1}), &sound));
    EXPECT_EQ(sound.samples, (std::vector<int16_t>{-32768, 0, 32512, 18432, -32512}));

    Format stereo = mono;
    stereo.channels = 2;
    ASSERT_TRUE(Load(SimpleWave(stereo, Bytes{0, 255, 128, 64}), &sound));
    EXPECT_EQ(sound.channels, 2);
    EXPECT_EQ(sound.samples, (std::vector<int16_t>{-32768, 32512, 0, -16384}));
}

TEST_F(WaveFileTest, ChunksBeforeTheDataAreSkippedByTheirOwnSizes) {
    const Format f;
    const Bytes data = Chunk("data", Pcm16({7, 8, 9}));
    SampleFrames sound;
    // A fact chunk.
    Bytes fact;
    Append32(&fact, 3);
    ASSERT_TRUE(Load(Riff({Chunk("fmt ", FormatBody(f)), Chunk("fact", fact), data}), &sound));
    EXPECT_EQ(sound.samples, (std::vector<int16_t>{7, 8, 9}));
    // The common 18-byte format chunk, and the 30-byte one.
    ASSERT_TRUE(Load(Riff({Chunk("fmt ", FormatBody(f, 2)), data}), &sound));
    EXPECT_EQ(sound.samples, (std::vector<int16_t>{7, 8, 9}));
    ASSERT_TRUE(Load(Riff({Chunk("fmt ", FormatBody(f, 14)), data}), &sound));
    EXPECT_EQ(sound.samples, (std::vector<int16_t>{7, 8, 9}));
    // A list chunk with text of odd length (and its pad byte), before and after the format.
    const Bytes list =
        Chunk("LIST", Bytes{'I', 'N', 'F', 'O', 'I', 'N', 'A', 'M', 3, 0, 0, 0, 'a', 'b', 0});
    ASSERT_TRUE(Load(Riff({Chunk("fmt ", FormatBody(f)), list, data}), &sound));
    EXPECT_EQ(sound.samples, (std::vector<int16_t>{7, 8, 9}));
    ASSERT_TRUE(Load(Riff({Chunk("JUNK", Bytes(28, 0)), list, Chunk("fmt ", FormatBody(f, 2)),
                           Chunk("fact", fact), list, data}),
                     &sound));
    EXPECT_EQ(sound.samples, (std::vector<int16_t>{7, 8, 9}));
}

TEST_F(WaveFileTest, ChunksAfterTheDataAreIgnored) {
    SampleFrames sound;
    const Format f;
    ASSERT_TRUE(Load(Riff({Chunk("fmt ", FormatBody(f)), Chunk("data", Pcm16({5, 6})),
                           Chunk("LIST", Bytes(10, 'x'))}),
                     &sound));
    EXPECT_EQ(sound.samples, (std::vector<int16_t>{5, 6}));
}

TEST_F(WaveFileTest, ExtensibleFormatLoadsOnlyWhenItIsPcm) {
    SampleFrames sound;
    ASSERT_TRUE(Load(Riff({Chunk("fmt ", ExtensibleFormatBody(2, 22050, 16, 1)),
                           Chunk("data", Pcm16({1, 2, 3, 4}))}),
                     &sound));
    EXPECT_EQ(sound.channels, 2);
    EXPECT_EQ(sound.samples, (std::vector<int16_t>{1, 2, 3, 4}));
    // Sub-format 3 is floating point.
    EXPECT_FALSE(Load(Riff({Chunk("fmt ", ExtensibleFormatBody(2, 22050, 16, 3)),
                            Chunk("data", Pcm16({1, 2, 3, 4}))})));
    // Too short to hold a sub-format.
    Format f;
    f.tag = 0xFFFE;
    EXPECT_FALSE(Load(Riff({Chunk("fmt ", FormatBody(f, 2)), Chunk("data", Pcm16({1, 2}))})));
}

TEST_F(WaveFileTest, DataOfAPartFrameAtTheEndIsDropped) {
    SampleFrames sound;
    Format stereo;
    stereo.channels = 2;
    ASSERT_TRUE(Load(SimpleWave(stereo, Bytes{1, 0, 2, 0, 3, 0}), &sound));
    EXPECT_EQ(sound.samples, (std::vector<int16_t>{1, 2}));
}

TEST_F(WaveFileTest, OtherEncodingsFail) {
    const Bytes data = Pcm16({1, 2, 3, 4});
    Format f;
    f.tag = 2;  // ADPCM
    EXPECT_FALSE(Load(SimpleWave(f, data)));
    f.tag = 3;  // floating point
    f.bits = 32;
    EXPECT_FALSE(Load(SimpleWave(f, data)));
    f.tag = 1;
    f.bits = 24;
    EXPECT_FALSE(Load(SimpleWave(f, Bytes(12, 0))));
    f.bits = 32;
    EXPECT_FALSE(Load(SimpleWave(f, data)));
    f.bits = 16;
    f.channels = 3;
    EXPECT_FALSE(Load(SimpleWave(f, Bytes(12, 0))));
    f.channels = 0;
    EXPECT_FALSE(Load(SimpleWave(f, data)));
}

TEST_F(WaveFileTest, InconsistentFormatsFail) {
    const Bytes data = Pcm16({1, 2, 3, 4});
    Format f;
    f.blockAlign = 4;  // mono 16-bit frames are 2 bytes
    EXPECT_FALSE(Load(SimpleWave(f, data)));
    f.blockAlign = 0;
    EXPECT_FALSE(Load(SimpleWave(f, data)));
    f.blockAlign = -1;
    f.rate = 0;
    EXPECT_FALSE(Load(SimpleWave(f, data)));
    f.rate = 99;
    EXPECT_FALSE(Load(SimpleWave(f, data)));
    f.rate = 100;
    EXPECT_TRUE(Load(SimpleWave(f, data)));
    f.rate = 200000;
    EXPECT_TRUE(Load(SimpleWave(f, data)));
    f.rate = 200001;
    EXPECT_FALSE(Load(SimpleWave(f, data)));
    f.rate = 0xFFFFFFFF;
    EXPECT_FALSE(Load(SimpleWave(f, data)));
    // A format chunk shorter than 16 bytes.
    Bytes shortFormat = FormatBody(Format{});
    shortFormat.resize(14);
    EXPECT_FALSE(Load(Riff({Chunk("fmt ", shortFormat), Chunk("data", data)})));
}

TEST_F(WaveFileTest, SizesReachingPastTheFileFail) {
    const Format f;
    const Bytes format = Chunk("fmt ", FormatBody(f));
    // Data larger than the file, by one byte and by far.
    Bytes data = ChunkHeader("data", 9);
    const Bytes samples = Pcm16({1, 2, 3, 4});
    data.insert(data.end(), samples.begin(), samples.end());
    EXPECT_FALSE(Load(Riff({format, data})));
    EXPECT_FALSE(Load(Riff({format, ChunkHeader("data", 0xFFFFFFFF), samples})));
    // A fact chunk whose size is far beyond the file.
    EXPECT_FALSE(Load(Riff({format, ChunkHeader("fact", 0x7FFFFFF0), Chunk("data", samples)})));
    EXPECT_FALSE(Load(Riff({format, ChunkHeader("fact", 0xFFFFFFFF), Chunk("data", samples)})));
    // A format chunk that claims more than is left.
    EXPECT_FALSE(Load(Riff({ChunkHeader("fmt ", 1000), FormatBody(f), Chunk("data", samples)})));
}

TEST_F(WaveFileTest, BrokenStructureFails) {
    const Format f;
    const Bytes format = Chunk("fmt ", FormatBody(f));
    const Bytes data = Chunk("data", Pcm16({1, 2}));
    const Bytes good = Riff({format, data});
    EXPECT_TRUE(Load(good));
    EXPECT_FALSE(Load(Bytes{}));
    EXPECT_FALSE(Load(Bytes(good.begin(), good.begin() + 11)));  // shorter than the header
    EXPECT_FALSE(Load(Bytes(good.begin(), good.begin() + 36)));  // the data chunk cut off
    EXPECT_FALSE(
        Load(Bytes(good.begin(), good.begin() + 46)));      // the data header, half its samples
    EXPECT_FALSE(Load(Riff({format})));                     // no data
    EXPECT_FALSE(Load(Riff({data, format})));               // data before its format
    EXPECT_FALSE(Load(Riff({format, Chunk("data", {})})));  // no whole frame
    EXPECT_FALSE(Load(Riff({format, Chunk("data", Bytes{1})})));
    // An odd chunk whose pad byte is missing swallows the next chunk's first byte.
    EXPECT_FALSE(Load(Riff({format, Chunk("LIST", Bytes{'x'}, false), data})));
}

// Files whose header or format tags read otherwise still play, as they do
// in other players: the chunk after the header is the format.
TEST_F(WaveFileTest, HeaderAndFormatTagsAreNotChecked) {
    const Format f;
    const Bytes data = Chunk("data", Pcm16({4, -4, 9}));
    SampleFrames sound;
    Bytes odd = Riff({Chunk("fmt ", FormatBody(f)), data});
    std::memcpy(odd.data(), "JUNK", 4);
    std::memcpy(odd.data() + 8, "ABCD", 4);
    ASSERT_TRUE(Load(odd, &sound));
    EXPECT_EQ(sound.samples, (std::vector<int16_t>{4, -4, 9}));
    ASSERT_TRUE(Load(Riff({Chunk("xyz ", FormatBody(f)), data}), &sound));
    EXPECT_EQ(sound.samples, (std::vector<int16_t>{4, -4, 9}));
    Format stereo = f;
    stereo.channels = 2;
    stereo.rate = 8000;
    ASSERT_TRUE(Load(Riff({Chunk("\0\0\0\0", FormatBody(stereo, 2)), Chunk("fact", Bytes(4, 0)),
                           Chunk("data", Pcm16({1, 2, 3, 4}))}),
                     &sound));
    EXPECT_EQ(sound.channels, 2);
    EXPECT_EQ(sound.samplesPerSecond, 8000);
    EXPECT_EQ(sound.samples, (std::vector<int16_t>{1, 2, 3, 4}));
    // The first chunk still has to hold a playable format.
    Format adpcm = f;
    adpcm.tag = 2;
    EXPECT_FALSE(Load(Riff({Chunk("xyz ", FormatBody(adpcm)), data})));
    EXPECT_FALSE(Load(Riff({Chunk("xyz ", Bytes(16, 0)), data})));
}

TEST_F(WaveFileTest, MissingFilesAndFoldersFail) {
    SampleFrames sound;
    EXPECT_FALSE(ReadWaveFile(scratch.Path("absent.wav").c_str(), &sound));
    EXPECT_FALSE(ReadWaveFile(scratch.Path("").c_str(), &sound));
    EXPECT_FALSE(ReadWaveFile("", &sound));
    EXPECT_FALSE(ReadWaveBytes(nullptr, 100, &sound));
}

TEST_F(WaveFileTest, PathsMayUseBackslashes) {
    SampleFrames sound;
    std::string path = scratch.Write("slashes.wav", ConstantWave(5, 3));
    for (char& c : path)
        if (c == '/') c = '\\';
    ASSERT_TRUE(ReadWaveFile(path.c_str(), &sound));
    EXPECT_EQ(sound.samples, (std::vector<int16_t>{5, 5, 5}));
}

TEST_F(WaveFileTest, LongFilesReadInStepsKeepEverySample) {
    std::vector<int16_t> ramp(100000);
    for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<int16_t>(i * 7);
    Format f;
    SampleFrames sound;
    ASSERT_TRUE(Load(SimpleWave(f, Pcm16(ramp)), &sound));
    EXPECT_EQ(sound.samples, ramp);
}

}  // namespace
