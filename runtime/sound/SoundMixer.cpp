#include "runtime/sound/SoundMixer.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMixBlock = 256;  // frames summed at a time, on the stack

int16_t ToSample(float value) {
    const long rounded = std::lrint(value);
    return static_cast<int16_t>(std::clamp<long>(rounded, -32768, 32767));
}

}  // namespace

SoundMixer::~SoundMixer() {
    for (SoundBuffer* buffer : buffers_) buffer->DetachFromMixer();
}

void SoundMixer::SetLock(LockFunction lock, LockFunction unlock, void* context) {
    lock_ = lock;
    unlock_ = unlock;
    lockContext_ = context;
}

void SoundMixer::Lock() {
    if (lock_) lock_(lockContext_);
}

void SoundMixer::Unlock() {
    if (unlock_) unlock_(lockContext_);
}

SoundBuffer* SoundMixer::CreateBuffer(std::shared_ptr<const SampleFrames> frames) {
    if (!frames || frames->FrameCount() == 0) return nullptr;
    auto* buffer = new SoundBuffer(this, std::move(frames));
    MixerGuard guard(this);
    buffers_.push_back(buffer);
    return buffer;
}

SoundBuffer* SoundMixer::DuplicateBuffer(const SoundBuffer* original) {
    if (!original) return nullptr;
    SoundBuffer* copy = CreateBuffer(original->Frames());
    if (!copy) return nullptr;
    copy->SetVolume(original->GetVolume());
    copy->SetPan(original->GetPan());
    return copy;
}

void SoundMixer::Render(int16_t* out, int frameCount) {
    MixerGuard guard(this);
    float mix[2 * kMixBlock];
    while (frameCount > 0) {
        const int block = std::min(frameCount, kMixBlock);
        std::fill(mix, mix + 2 * block, 0.0f);
        for (SoundBuffer* buffer : buffers_) buffer->MixInto(mix, block, outputRate_);
        for (int i = 0; i < 2 * block; ++i) out[i] = ToSample(mix[i]);
        out += 2 * block;
        frameCount -= block;
    }
}

void SoundMixer::Remove(SoundBuffer* buffer) {
    buffers_.erase(std::remove(buffers_.begin(), buffers_.end(), buffer), buffers_.end());
}
