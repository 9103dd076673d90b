#include "runtime/sound/SoundBuffer.h"

#include <cmath>

#include "runtime/sound/SoundMixer.h"

namespace {

constexpr int kFractionBits = 32;
constexpr uint64_t kFractionMask = (uint64_t{1} << kFractionBits) - 1;
constexpr float kFractionScale = 1.0f / 4294967296.0f;

}  // namespace

float GainOfAttenuation(int32_t hundredthsDb) {
    if (hundredthsDb <= SoundBuffer::kVolumeMin) return 0.0f;
    if (hundredthsDb >= 0) return 1.0f;
    return static_cast<float>(std::pow(10.0, hundredthsDb / 2000.0));
}

SoundBuffer::SoundBuffer(SoundMixer* mixer, std::shared_ptr<const SampleFrames> frames)
    : mixer_(mixer), frames_(std::move(frames)) {}

bool SoundBuffer::Play(uint32_t flags) {
    MixerGuard guard(mixer_);
    looping_ = (flags & kPlayLooping) != 0;
    playing_ = true;
    return true;
}

bool SoundBuffer::Stop() {
    MixerGuard guard(mixer_);
    playing_ = false;
    return true;
}

bool SoundBuffer::SetCurrentPosition(uint32_t frame) {
    if (frame >= frames_->FrameCount()) return false;
    MixerGuard guard(mixer_);
    position_ = static_cast<uint64_t>(frame) << kFractionBits;
    return true;
}

uint32_t SoundBuffer::GetCurrentPosition() const {
    MixerGuard guard(mixer_);
    return static_cast<uint32_t>(position_ >> kFractionBits);
}

uint32_t SoundBuffer::GetStatus() const {
    MixerGuard guard(mixer_);
    if (!playing_) return 0;
    return kStatusPlaying | (looping_ ? kStatusLooping : 0);
}

bool SoundBuffer::Restore() {
    return true;
}

bool SoundBuffer::SetVolume(int32_t volume) {
    if (volume < kVolumeMin || volume > kVolumeMax) return false;
    MixerGuard guard(mixer_);
    volume_ = volume;
    UpdateGains();
    return true;
}

bool SoundBuffer::SetPan(int32_t pan) {
    if (pan < kPanLeft || pan > kPanRight) return false;
    MixerGuard guard(mixer_);
    pan_ = pan;
    UpdateGains();
    return true;
}

int32_t SoundBuffer::GetVolume() const {
    MixerGuard guard(mixer_);
    return volume_;
}

int32_t SoundBuffer::GetPan() const {
    MixerGuard guard(mixer_);
    return pan_;
}

void SoundBuffer::Release() {
    {
        MixerGuard guard(mixer_);
        if (mixer_) mixer_->Remove(this);
    }
    delete this;
}

// Pan attenuates the far side only; the attenuations add up in decibels.
void SoundBuffer::UpdateGains() {
    leftGain_ = GainOfAttenuation(volume_ - (pan_ > 0 ? pan_ : 0));
    rightGain_ = GainOfAttenuation(volume_ + (pan_ < 0 ? pan_ : 0));
}

bool SoundBuffer::StopAtEnd() {
    const uint64_t count = frames_->FrameCount();
    const uint64_t end = count << kFractionBits;
    if (position_ < end) return false;
    if (looping_) {
        position_ %= end;
        return false;
    }
    playing_ = false;
    position_ = 0;
    return true;
}

void SoundBuffer::MixInto(float* mix, int frameCount, int outputRate) {
    if (!playing_ || StopAtEnd()) return;
    const SampleFrames& frames = *frames_;
    const uint32_t count = frames.FrameCount();
    const int16_t* samples = frames.samples.data();
    const uint64_t step =
        (static_cast<uint64_t>(frames.samplesPerSecond) << kFractionBits) / outputRate;
    for (int i = 0; i < frameCount; ++i) {
        const uint32_t index = static_cast<uint32_t>(position_ >> kFractionBits);
        const uint32_t next = index + 1 < count ? index + 1 : (looping_ ? 0 : index);
        const float fraction = static_cast<float>(position_ & kFractionMask) * kFractionScale;
        float left, right;
        if (frames.channels == 1) {
            left = samples[index] + (samples[next] - samples[index]) * fraction;
            right = left;
        } else {
            left = samples[2 * index] + (samples[2 * next] - samples[2 * index]) * fraction;
            right = samples[2 * index + 1] +
                    (samples[2 * next + 1] - samples[2 * index + 1]) * fraction;
        }
        mix[2 * i] += left * leftGain_;
        mix[2 * i + 1] += right * rightGain_;
        position_ += step;
        if (StopAtEnd()) return;
    }
}
