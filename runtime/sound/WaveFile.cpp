#include "runtime/sound/WaveFile.h"

#include <algorithm>
#include <cstring>

#include "runtime/files/LittleEndian.h"
#include "runtime/platform/Platform.h"

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr size_t kExtensibleFormatSize = 40;
// The sub-format of an extensible format chunk that means plain PCM.
constexpr uint8_t kPcmSubFormat[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                       0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
constexpr size_t kReadStep = 65536;  // a whole number of frames of every format

struct WaveFormat {
    int channels = 0;
    int samplesPerSecond = 0;
    int blockAlign = 0;
    int bitsPerSample = 0;
};

bool TagIs(const uint8_t* tag, const char* name) {
    return std::memcmp(tag, name, 4) == 0;
}

bool IsPcm(const uint8_t* body, size_t size) {
    const uint16_t tag = GetLe16(body);
    if (tag == kFormatPcm) return true;
    return tag == kFormatExtensible && size >= kExtensibleFormatSize &&
           std::memcmp(body + 24, kPcmSubFormat, sizeof kPcmSubFormat) == 0;
}

// 8- and 16-bit PCM of one or two channels, whole frames; anything else would
// play as noise.
bool ReadFormat(WaveSource& source, uint64_t offset, uint32_t size, WaveFormat* format) {
    if (size < 16) return false;
    uint8_t body[kExtensibleFormatSize] = {};
    const size_t wanted = std::min<size_t>(size, sizeof body);
    if (!source.ReadAt(offset, body, wanted) || !IsPcm(body, wanted)) return false;
    format->channels = GetLe16(body + 2);
    format->samplesPerSecond = static_cast<int>(std::min<uint32_t>(GetLe32(body + 4), 0x7FFFFFFF));
    format->blockAlign = GetLe16(body + 12);
    format->bitsPerSample = GetLe16(body + 14);
    if (format->channels != 1 && format->channels != 2) return false;
    if (format->bitsPerSample != 8 && format->bitsPerSample != 16) return false;
    if (format->blockAlign != format->channels * format->bitsPerSample / 8) return false;
    return format->samplesPerSecond >= kMinSamplesPerSecond &&
           format->samplesPerSecond <= kMaxSamplesPerSecond;
}

void DecodeSamples(const uint8_t* bytes, size_t count, int bitsPerSample, int16_t* out) {
    if (bitsPerSample == 8) {
        for (size_t i = 0; i < count; ++i) out[i] = static_cast<int16_t>((bytes[i] - 128) * 256);
    } else {
        for (size_t i = 0; i < count; ++i) out[i] = static_cast<int16_t>(GetLe16(bytes + 2 * i));
    }
}

bool ReadSamples(WaveSource& source, uint64_t offset, uint32_t size, const WaveFormat& format,
                 SampleFrames* out) {
    if (size > kMaxSampleBytes || size > source.Size() - offset) return false;
    const uint32_t frames = size / format.blockAlign;
    if (frames == 0) return false;
    const size_t bytesPerSample = format.bitsPerSample / 8;
    const size_t totalBytes = static_cast<size_t>(frames) * format.blockAlign;
    out->channels = format.channels;
    out->samplesPerSecond = format.samplesPerSecond;
    out->samples.assign(totalBytes / bytesPerSample, 0);
    std::vector<uint8_t> step(std::min(kReadStep, totalBytes));
    for (size_t done = 0; done < totalBytes;) {
        const size_t bytes = std::min(step.size(), totalBytes - done);
        if (!source.ReadAt(offset + done, step.data(), bytes)) return false;
        DecodeSamples(step.data(), bytes / bytesPerSample, format.bitsPerSample,
                      out->samples.data() + done / bytesPerSample);
        done += bytes;
    }
    return true;
}

// The chunk right after the RIFF header, read as the format whatever its tag.
bool FirstChunkFormat(WaveSource& source, WaveFormat* format) {
    uint8_t chunk[8];
    if (!source.ReadAt(12, chunk, sizeof chunk)) return false;
    const uint32_t bodySize = GetLe32(chunk + 4);
    if (bodySize > source.Size() - 20) return false;
    return ReadFormat(source, 20, bodySize, format);
}

class FileSource : public WaveSource {
  public:
    explicit FileSource(platform::FileHandle file) : file_(file) {
        const long long size = platform::FileSize(file);
        size_ = size > 0 ? static_cast<uint64_t>(size) : 0;
    }
    uint64_t Size() const override { return size_; }
    bool ReadAt(uint64_t offset, void* buffer, size_t bytes) override {
        if (offset > size_ || bytes > size_ - offset) return false;
        if (platform::SeekFile(file_, static_cast<long long>(offset), 0) < 0) return false;
        return platform::ReadFile(file_, buffer, bytes) == static_cast<long long>(bytes);
    }

  private:
    platform::FileHandle file_;
    uint64_t size_ = 0;
};

class MemorySource : public WaveSource {
  public:
    MemorySource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint64_t Size() const override { return size_; }
    bool ReadAt(uint64_t offset, void* buffer, size_t bytes) override {
        if (offset > size_ || bytes > size_ - offset) return false;
        if (bytes) std::memcpy(buffer, data_ + offset, bytes);
        return true;
    }

  private:
    const uint8_t* data_;
    size_t size_;
};

}  // namespace

// The RIFF header's tags are not checked, and the chunk right after it is the
// format chunk whatever its tag reads, as other players of these files treat
// them; a chunk tagged "fmt " further on (after a list or junk chunk) is
// taken instead. Other chunks before the data are skipped by their sizes.
bool ReadWave(WaveSource& source, SampleFrames* out) {
    const uint64_t size = source.Size();
    constexpr uint64_t kFirstChunk = 12;
    if (size < kFirstChunk) return false;
    WaveFormat format;
    bool haveFormat = false;
    for (uint64_t offset = kFirstChunk; offset + 8 <= size;) {
        uint8_t chunk[8];
        if (!source.ReadAt(offset, chunk, sizeof chunk)) return false;
        const uint32_t bodySize = GetLe32(chunk + 4);
        const uint64_t body = offset + 8;
        if (TagIs(chunk, "data")) {
            if (!haveFormat && offset > kFirstChunk) haveFormat = FirstChunkFormat(source, &format);
            return haveFormat && ReadSamples(source, body, bodySize, format, out);
        }
        if (bodySize > size - body) return false;
        if (TagIs(chunk, "fmt ") && !haveFormat) {
            if (!ReadFormat(source, body, bodySize, &format)) return false;
            haveFormat = true;
        }
        // Chunks of odd size are followed by one pad byte.
        offset = body + bodySize + (bodySize & 1);
    }
    return false;
}

bool ReadWaveFile(const char* path, SampleFrames* out) {
    const platform::FileHandle file = platform::OpenFile(path, platform::OpenMode::Read);
    if (file == platform::kNoFile) return false;
    FileSource source(file);
    const bool loaded = ReadWave(source, out);
    platform::CloseFile(file);
    return loaded;
}

bool ReadWaveBytes(const uint8_t* data, size_t size, SampleFrames* out) {
    if (!data) size = 0;
    MemorySource source(data, size);
    return ReadWave(source, out);
}
