// The mixer: every live sound buffer, summed into 16-bit stereo frames at the
// output rate. The audio thread renders while the main thread plays and stops
// voices, so both sides take the mixer's lock (the output device's own lock).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "runtime/sound/SoundBuffer.h"

constexpr int kMixRate = 22050;

class SoundMixer {
  public:
    using LockFunction = void (*)(void* context);

    explicit SoundMixer(int outputRate = kMixRate) : outputRate_(outputRate) {}
    ~SoundMixer();  // buffers still alive stay valid but are mixed no more
    SoundMixer(const SoundMixer&) = delete;
    SoundMixer& operator=(const SoundMixer&) = delete;

    // Without a lock (tests, the fuzzer) the mixer is used from one thread.
    void SetLock(LockFunction lock, LockFunction unlock, void* context);
    void Lock();
    void Unlock();

    SoundBuffer* CreateBuffer(std::shared_ptr<const SampleFrames> frames);
    // A new voice over the same frames, with the original's volume and pan,
    // stopped at the start.
    SoundBuffer* DuplicateBuffer(const SoundBuffer* original);
    // Fills `frameCount` frames (left, right) with the sum of the playing voices.
    void Render(int16_t* out, int frameCount);
    int OutputRate() const { return outputRate_; }
    size_t BufferCount() const { return buffers_.size(); }

  private:
    friend class SoundBuffer;
    void Remove(SoundBuffer* buffer);

    int outputRate_;
    std::vector<SoundBuffer*> buffers_;
    LockFunction lock_ = nullptr;
    LockFunction unlock_ = nullptr;
    void* lockContext_ = nullptr;
};

// Holds the mixer's lock for a scope; nothing without a mixer.
class MixerGuard {
  public:
    explicit MixerGuard(SoundMixer* mixer) : mixer_(mixer) {
        if (mixer_) mixer_->Lock();
    }
    ~MixerGuard() {
        if (mixer_) mixer_->Unlock();
    }
    MixerGuard(const MixerGuard&) = delete;
    MixerGuard& operator=(const MixerGuard&) = delete;

  private:
    SoundMixer* mixer_;
};
