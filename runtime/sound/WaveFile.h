// WAV files: RIFF chunks walked by their own sizes up to the "data" chunk,
// 8- or 16-bit PCM, mono or stereo, decoded to 16-bit frames. Files are
// untrusted: every size is checked against the file before anything is read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Decoded samples of one sound: interleaved frames of one or two channels.
struct SampleFrames {
    int channels = 1;  // 1 or 2
    int samplesPerSecond = 0;
    std::vector<int16_t> samples;
    uint32_t FrameCount() const { return static_cast<uint32_t>(samples.size() / channels); }
};

// Limits of a sound buffer, as the sound service has always had them.
constexpr int kMinSamplesPerSecond = 100;
constexpr int kMaxSamplesPerSecond = 200000;
constexpr uint32_t kMaxSampleBytes = 0x0FFFFFFF;

// Where a WAV file is read from: a platform file or bytes in memory.
class WaveSource {
  public:
    virtual ~WaveSource() = default;
    virtual uint64_t Size() const = 0;
    // Reads exactly `bytes` at `offset`; false when fewer are there.
    virtual bool ReadAt(uint64_t offset, void* buffer, size_t bytes) = 0;
};

// False for anything that is not such a WAV; `out` is then unspecified.
bool ReadWave(WaveSource& source, SampleFrames* out);
bool ReadWaveFile(const char* path, SampleFrames* out);
bool ReadWaveBytes(const uint8_t* data, size_t size, SampleFrames* out);
