#include "runtime/sound/SoundDevice.h"

#include <string>

#include "runtime/platform/Platform.h"

static_assert(kMixRate == platform::kAudioRate);

namespace {

void MixOutput(void* user, int16_t* frames, int frameCount) {
    static_cast<SoundMixer*>(user)->Render(frames, frameCount);
}

void LockOutput(void* output) {
    platform::LockAudio(static_cast<platform::AudioOutput*>(output));
}

void UnlockOutput(void* output) {
    platform::UnlockAudio(static_cast<platform::AudioOutput*>(output));
}

}  // namespace

bool InitSoundDevice(SoundDevice* device, platform::Window* window) {
    if (!device) return false;
    ReleaseSoundDevice(device);
    device->window = window;
    auto* mixer = new SoundMixer(platform::kAudioRate);
    std::string error;
    platform::AudioOutput* output = platform::OpenAudio(MixOutput, mixer, &error);
    if (!output) {
        delete mixer;
        return false;
    }
    // The output opens paused, so the lock is in place before the first callback.
    mixer->SetLock(LockOutput, UnlockOutput, output);
    device->mixer = mixer;
    device->output = output;
    platform::PauseAudio(output, false);
    return true;
}

void SetSoundWindow(SoundDevice* device, platform::Window* window) {
    if (device && device->mixer) device->window = window;
}

void ReleaseSoundDevice(SoundDevice* device) {
    if (!device) return;
    if (device->output) {
        platform::CloseAudio(device->output);
        device->output = nullptr;
    }
    if (device->mixer) {
        device->mixer->SetLock(nullptr, nullptr, nullptr);
        delete device->mixer;
        device->mixer = nullptr;
    }
}

SoundDevice::~SoundDevice() {
    ReleaseSoundDevice(this);
}

bool SoundDevice::Initialise(platform::Window* newWindow) {
    return InitSoundDevice(this, newWindow);
}

void SoundDevice::SetWindow(platform::Window* newWindow) {
    SetSoundWindow(this, newWindow);
}

void SoundDevice::Release() {
    ReleaseSoundDevice(this);
}

SoundBuffer* SoundDevice::CreateSoundBuffer(std::shared_ptr<const SampleFrames> frames) {
    return mixer ? mixer->CreateBuffer(std::move(frames)) : nullptr;
}

SoundBuffer* SoundDevice::DuplicateSoundBuffer(const SoundBuffer* original) {
    return mixer ? mixer->DuplicateBuffer(original) : nullptr;
}

void SoundDevice::PauseOutput(bool paused) {
    platform::PauseAudio(output, paused);
}
