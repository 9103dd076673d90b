// A numbered sound: one to four voices over one copy of a WAV file's samples,
// played round-robin so the sound can overlap itself. 256 slot records exist;
// the commands address 0..127. Channel = slot x 256 + voice.
#pragma once

#include <cstdint>

class SoundBuffer;
class SoundDevice;

constexpr int kSoundSlotCount = 256;
constexpr int kAddressedSoundSlots = 128;
constexpr int kMaxVoices = 4;

struct SoundSlot {
    SoundSlot() = default;
    ~SoundSlot();  // FreeSlot: stops and frees its voices
    SoundSlot(const SoundSlot&) = delete;
    SoundSlot& operator=(const SoundSlot&) = delete;

    bool LoadWave();           // the file name into voice 0
    SoundBuffer* PickVoice();  // the voice for the next play, or null
    int PlayVoice(int32_t pan, int32_t volume, uint32_t flags);  // voice index or -1
    bool IsVoicePlaying(int voice);
    bool StopSlot();
    void FreeSlot();

    int voiceCount = 0;              // 0 = empty
    int currentVoice = 0;            // the round-robin position
    const char* fileName = nullptr;  // only while loading
    SoundDevice* device = nullptr;   // none when the buffer could not be made
    SoundBuffer* voices[kMaxVoices] = {};
};
