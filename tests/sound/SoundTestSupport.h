// WAV files made byte by byte by the tests, a scratch folder for them, and a
// started runtime whose audio output is held so the tests render the mixer
// themselves.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "runtime/core/EngineState.h"
#include "runtime/files/LittleEndian.h"
#include "runtime/sound/SoundDevice.h"
#include "support/TestEngine.h"

namespace soundtest {

using Bytes = std::vector<uint8_t>;

inline void Append16(Bytes* out, uint32_t value) {
    AppendLe16(out, static_cast<uint16_t>(value));
}

inline void Append32(Bytes* out, uint32_t value) {
    AppendLe32(out, value);
}

inline void AppendTag(Bytes* out, const char* tag) {
    for (int i = 0; i < 4; ++i) out->push_back(static_cast<uint8_t>(tag[i]));
}

// A chunk with its header; odd bodies get their pad byte unless told not to.
inline Bytes Chunk(const char* tag, const Bytes& body, bool pad = true) {
    Bytes out;
    AppendTag(&out, tag);
    Append32(&out, static_cast<uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    if (pad && (body.size() & 1)) out.push_back(0);
    return out;
}

// A chunk header that claims `size` bytes, without a body.
inline Bytes ChunkHeader(const char* tag, uint32_t size) {
    Bytes out;
    AppendTag(&out, tag);
    Append32(&out, size);
    return out;
}

struct Format {
    uint16_t tag = 1;  // PCM
    uint16_t channels = 1;
    uint32_t rate = 22050;
    uint16_t bits = 16;
    int blockAlign = -1;  // -1: channels x bits / 8
};

// The 16-byte format body, then `extra` bytes (an 18-byte chunk has a 2-byte
// extension size of 0).
inline Bytes FormatBody(const Format& f, size_t extra = 0) {
    const uint16_t align = f.blockAlign >= 0 ? f.blockAlign : f.channels * f.bits / 8;
    Bytes out;
    Append16(&out, f.tag);
    Append16(&out, f.channels);
    Append32(&out, f.rate);
    Append32(&out, f.rate * align);
    Append16(&out, align);
    Append16(&out, f.bits);
    out.resize(out.size() + extra, 0);
    return out;
}

// The 40-byte extensible format body with a sub-format GUID whose first word is `subFormat`.
inline Bytes ExtensibleFormatBody(uint16_t channels, uint32_t rate, uint16_t bits,
                                  uint16_t subFormat) {
    Format f;
    f.tag = 0xFFFE;
    f.channels = channels;
    f.rate = rate;
    f.bits = bits;
    Bytes out = FormatBody(f);
    Append16(&out, 22);                     // extension size
    Append16(&out, bits);                   // valid bits
    Append32(&out, channels == 2 ? 3 : 4);  // speaker mask
    const uint8_t guidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                  0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    Append16(&out, subFormat);
    out.insert(out.end(), guidTail, guidTail + 14);
    return out;
}

inline Bytes Pcm16(std::initializer_list<int> samples) {
    Bytes out;
    for (int s : samples) Append16(&out, static_cast<uint16_t>(static_cast<int16_t>(s)));
    return out;
}

inline Bytes Pcm16(const std::vector<int16_t>& samples) {
    Bytes out;
    for (int16_t s : samples) Append16(&out, static_cast<uint16_t>(s));
    return out;
}

inline Bytes Riff(std::initializer_list<Bytes> chunks) {
    Bytes body;
    AppendTag(&body, "WAVE");
    for (const Bytes& c : chunks) body.insert(body.end(), c.begin(), c.end());
    Bytes out;
    AppendTag(&out, "RIFF");
    Append32(&out, static_cast<uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

// The plainest file: a 16-byte format chunk and the data.
inline Bytes SimpleWave(const Format& f, const Bytes& data) {
    return Riff({Chunk("fmt ", FormatBody(f)), Chunk("data", data)});
}

// `frames` frames of one 16-bit mono value at 22,050 Hz.
inline Bytes ConstantWave(int value, size_t frames, uint32_t rate = 22050) {
    Format f;
    f.rate = rate;
    return SimpleWave(f, Pcm16(std::vector<int16_t>(frames, static_cast<int16_t>(value))));
}

class ScratchFolder {
  public:
    ScratchFolder() {
        path_ = std::filesystem::temp_directory_path() /
                ("quorbel-sound-" + std::to_string(getpid()) + "-" + std::to_string(counter_++));
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string Write(const std::string& name, const Bytes& bytes) const {
        const std::string path = (path_ / name).string();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    std::string Path(const std::string& name) const { return (path_ / name).string(); }

  private:
    static inline int counter_ = 0;
    std::filesystem::path path_;
};

// Stereo frames rendered from a mixer.
struct Rendered {
    std::vector<int16_t> samples;
    int Left(size_t frame) const { return samples[2 * frame]; }
    int Right(size_t frame) const { return samples[2 * frame + 1]; }
    size_t Frames() const { return samples.size() / 2; }
};

inline Rendered Render(SoundMixer* mixer, int frames) {
    Rendered out;
    out.samples.assign(2 * static_cast<size_t>(frames), 0);
    mixer->Render(out.samples.data(), frames);
    return out;
}

// Starts the runtime the first time it is asked in this process. Sound goes
// to the `dummy` driver unless the environment names another, so no test
// plays through a real sound card.
inline bool EnsureEngine() {
    static bool started = false;
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (!started) started = StartTestEngine();
    return started;
}

// The runtime, started once per process, with a sound device whose output is
// held: voices move only when a test renders.
class SoundEngineTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_TRUE(EnsureEngine()); }

    void SetUp() override {
        ASSERT_NE(gEngine.soundDevice, nullptr);
        if (!gEngine.soundDevice->Mixer()) gEngine.soundDevice->Initialise(gEngine.mainWindow);
        ASSERT_NE(gEngine.soundDevice->Mixer(), nullptr) << "no audio output on this machine";
        gEngine.soundDevice->PauseOutput(true);
    }

    void TearDown() override {
        for (int i = 0; i < kSoundSlotCount; ++i) gEngine.soundSlots[i].FreeSlot();
    }

    static SoundMixer* Mixer() { return gEngine.soundDevice->Mixer(); }
    static SoundSlot& Slot(int number) { return gEngine.soundSlots[number]; }

    ScratchFolder scratch;
};

}  // namespace soundtest
