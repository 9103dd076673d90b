#include "runtime/sound/SoundSlot.h"

#include <algorithm>
#include <limits>
#include <memory>

#include "runtime/sound/SoundDevice.h"
#include "runtime/sound/WaveFile.h"

namespace {

bool IsPlaying(uint32_t status) {
    return (status & SoundBuffer::kStatusPlaying) != 0;
}

// Volume 0..100 as an attenuation: 100 is full, 0 silent, linear in decibels.
int32_t VolumeAttenuation(int32_t volume) {
    const int64_t hundredths = int64_t{volume} * 100 - 10000;
    return static_cast<int32_t>(std::clamp<int64_t>(hundredths, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

}  // namespace

SoundSlot::~SoundSlot() {
    FreeSlot();
}

bool SoundSlot::LoadWave() {
    auto frames = std::make_shared<SampleFrames>();
    if (!fileName || !ReadWaveFile(fileName, frames.get())) return false;
    voices[0] = device ? device->CreateSoundBuffer(std::move(frames)) : nullptr;
    if (!voices[0]) {
        device = nullptr;
        return false;
    }
    return true;
}

SoundBuffer* SoundSlot::PickVoice() {
    if (voiceCount <= 0) return nullptr;
    SoundBuffer* voice = voices[currentVoice];
    if (!voice) return nullptr;
    uint32_t status = voice->GetStatus();
    if (IsPlaying(status)) {
        // A lone voice is not restarted; otherwise the oldest play gives way.
        if (voiceCount == 1) return nullptr;
        currentVoice = (currentVoice + 1) % voiceCount;
        voice = voices[currentVoice];
        if (!voice) return nullptr;
        status = voice->GetStatus();
        if (IsPlaying(status)) {
            voice->Stop();
            voice->SetCurrentPosition(0);
        }
    }
    if ((status & SoundBuffer::kStatusBufferLost) && !voice->Restore()) return nullptr;
    return voice;
}

int SoundSlot::PlayVoice(int32_t pan, int32_t volume, uint32_t flags) {
    if (!device || !device->Mixer() || voiceCount == 0) return -1;
    SoundBuffer* voice = PickVoice();
    if (!voice) return -1;
    // Settings out of range leave the voice's previous ones, as before.
    voice->SetVolume(VolumeAttenuation(volume));
    voice->SetPan(pan);
    if (!voice->Play(flags)) return -1;
    return currentVoice;
}

bool SoundSlot::IsVoicePlaying(int voice) {
    if (!device || !device->Mixer() || voice < 0 || voice >= voiceCount || !voices[voice])
        return false;
    return IsPlaying(voices[voice]->GetStatus());
}

bool SoundSlot::StopSlot() {
    if (!device || !device->Mixer() || voiceCount == 0) return false;
    for (int i = 0; i < voiceCount; ++i) {
        if (!voices[i] || !voices[i]->Stop() || !voices[i]->SetCurrentPosition(0)) return false;
    }
    return true;
}

void SoundSlot::FreeSlot() {
    for (SoundBuffer*& voice : voices) {
        if (!voice) continue;
        voice->Stop();
        voice->Release();
        voice = nullptr;
    }
    voiceCount = 0;
    currentVoice = 0;
    fileName = nullptr;
    device = nullptr;
}
