// One voice of the mixer: a static buffer of decoded frames, played once or
// looped at its own rate, with volume and pan in hundredths of a decibel as the
// sound service has always defined them. Duplicates share the frames.
#pragma once

#include <cstdint>
#include <memory>

#include "runtime/sound/WaveFile.h"

class SoundMixer;

class SoundBuffer {
  public:
    static constexpr int32_t kVolumeMin = -10000;  // silent
    static constexpr int32_t kVolumeMax = 0;       // as recorded
    static constexpr int32_t kPanLeft = -10000;    // right side silent
    static constexpr int32_t kPanRight = 10000;    // left side silent
    static constexpr uint32_t kPlayLooping = 1;
    static constexpr uint32_t kStatusPlaying = 1;
    static constexpr uint32_t kStatusBufferLost = 2;
    static constexpr uint32_t kStatusLooping = 4;

    SoundBuffer(SoundMixer* mixer, std::shared_ptr<const SampleFrames> frames);
    SoundBuffer(const SoundBuffer&) = delete;
    SoundBuffer& operator=(const SoundBuffer&) = delete;

    // Starts from the current position; a buffer already playing goes on.
    bool Play(uint32_t flags);
    bool Stop();                              // keeps the position
    bool SetCurrentPosition(uint32_t frame);  // false past the last frame
    uint32_t GetCurrentPosition() const;
    uint32_t GetStatus() const;
    bool Restore();                  // nothing is ever lost here
    bool SetVolume(int32_t volume);  // false outside kVolumeMin..kVolumeMax
    bool SetPan(int32_t pan);        // false outside kPanLeft..kPanRight
    int32_t GetVolume() const;
    int32_t GetPan() const;
    const std::shared_ptr<const SampleFrames>& Frames() const { return frames_; }
    // Leaves the mixer and frees the buffer; the frames go with the last voice.
    void Release();

    // The mixer's side, under its lock: adds this voice to `mix` (left, right
    // pairs) for `frameCount` frames of output at `outputRate`.
    void MixInto(float* mix, int frameCount, int outputRate);
    void DetachFromMixer() { mixer_ = nullptr; }

  private:
    ~SoundBuffer() = default;  // only Release ends a buffer
    void UpdateGains();
    bool StopAtEnd();  // a one-shot voice past its end stops and rewinds

    SoundMixer* mixer_;
    std::shared_ptr<const SampleFrames> frames_;
    uint64_t position_ = 0;  // frames, 32 bits of fraction
    bool playing_ = false;
    bool looping_ = false;
    int32_t volume_ = kVolumeMax;
    int32_t pan_ = 0;
    float leftGain_ = 1.0f;
    float rightGain_ = 1.0f;
};

// Gain of an attenuation in hundredths of a decibel; the minimum is silence.
float GainOfAttenuation(int32_t hundredthsDb);
