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

SoundDevice::~SoundDevice() {
    Release();
}

bool SoundDevice::Initialise(platform::Window* newWindow) {
    Release();
    window = newWindow;
    auto* newMixer = new SoundMixer(platform::kAudioRate);
    std::string error;
    platform::AudioOutput* newOutput = platform::OpenAudio(MixOutput, newMixer, &error);
    if (!newOutput) {
        delete newMixer;
        return false;
    }
    // The output opens paused, so the lock is in place before the first callback.
    newMixer->SetLock(LockOutput, UnlockOutput, newOutput);
    mixer = newMixer;
    output = newOutput;
    platform::PauseAudio(output, false);
    return true;
}

void SoundDevice::SetWindow(platform::Window* newWindow) {
    if (mixer) window = newWindow;
}

void SoundDevice::Release() {
    if (output) {
        platform::CloseAudio(output);
        output = nullptr;
    }
    if (mixer) {
        mixer->SetLock(nullptr, nullptr, nullptr);
        delete mixer;
        mixer = nullptr;
    }
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
