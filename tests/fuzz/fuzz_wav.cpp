// Any bytes through the WAV loader: it must fail cleanly or give whole frames
// of a playable format, which the mixer then plays without reading outside them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "runtime/sound/SoundMixer.h"
#include "runtime/sound/WaveFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto frames = std::make_shared<SampleFrames>();
    if (!ReadWaveBytes(data, size, frames.get())) return 0;
    if (frames->channels != 1 && frames->channels != 2) std::abort();
    if (frames->FrameCount() == 0 || frames->samples.size() % frames->channels != 0) std::abort();
    if (frames->samplesPerSecond < kMinSamplesPerSecond ||
        frames->samplesPerSecond > kMaxSamplesPerSecond)
        std::abort();

    // The last bytes choose how it is played.
    const uint8_t a = data[size - 1], b = data[size - 2];
    SoundMixer mixer;
    SoundBuffer* voice = mixer.CreateBuffer(frames);
    if (!voice) std::abort();
    voice->SetVolume(-static_cast<int32_t>(a) * 40);
    voice->SetPan((static_cast<int32_t>(b) - 128) * 80);
    voice->Play(a & 1 ? SoundBuffer::kPlayLooping : 0);
    SoundBuffer* copy = mixer.DuplicateBuffer(voice);
    copy->Play(0);
    int16_t out[2 * 1024];
    mixer.Render(out, 1024);
    copy->SetCurrentPosition(frames->FrameCount() - 1);
    mixer.Render(out, 1024);
    copy->Release();
    voice->Release();
    return 0;
}
