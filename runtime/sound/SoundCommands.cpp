#include "runtime/runtime.h"

#include <algorithm>
#include <cstring>

#include "runtime/core/EngineState.h"
#include "runtime/files/Shoebox.h"
#include "runtime/sound/SoundDevice.h"
#include "runtime/values/Truncate.h"

namespace {

constexpr size_t kPathSize = 1024;
constexpr int kLastSlot = kAddressedSoundSlots - 1;

// The media shoebox's path for a name; empty when it finds nothing.
void ResolveSoundName(const RtString& fileName, char (&path)[kPathSize]) {
    path[0] = 0;
    if (gEngine.mediaShoebox) {
        ShoeboxFind(gEngine.mediaShoebox, fileName.CStr(), path, kPathSize);
    } else if (fileName.Length() < kPathSize) {
        std::memcpy(path, fileName.CStr(), fileName.Length() + 1);
    }
}

// The slot record of a number; null outside the table.
SoundSlot* SlotRecord(int number) {
    if (!gEngine.soundSlots || number < 0 || number >= kSoundSlotCount) return nullptr;
    return &gEngine.soundSlots[number];
}

// The slot a command addresses: numbers above 127 use 127, negative ones none.
SoundSlot* AddressedSlot(int number) {
    return number < 0 ? nullptr : SlotRecord(std::min(number, kLastSlot));
}

bool DeviceHasInterface() {
    return gEngine.soundDevice && gEngine.soundDevice->Mixer();
}

void DuplicateVoices(SoundSlot* slot) {
    for (int i = 1; i < slot->voiceCount; ++i)
        slot->voices[i] = gEngine.soundDevice->DuplicateSoundBuffer(slot->voices[0]);
}

}  // namespace

double LoadSoundFile(const RtString& fileName, double slot, double voices) {
    char path[kPathSize];
    ResolveSoundName(fileName, path);
    SoundSlot* record = AddressedSlot(TruncateInt32(slot));
    if (!record) return 0;
    record->FreeSlot();
    record->device = gEngine.soundDevice;
    const int voiceCount = std::clamp(TruncateInt32(voices), 1, kMaxVoices);
    if (DeviceHasInterface()) {
        record->voiceCount = voiceCount;
        record->fileName = path;
        if (record->LoadWave()) {
            DuplicateVoices(record);
            record->fileName = nullptr;
            return 1;
        }
    }
    record->voiceCount = 0;
    record->fileName = nullptr;
    return 0;
}

double PlaySoundSlot(double slot, double pan, double volume) {
    int number = TruncateInt32(slot);
    if (number > kLastSlot) {
        number = kLastSlot;
        slot = kLastSlot;
    }
    SoundSlot* record = AddressedSlot(number);
    if (!record) return -1;
    const int32_t panHundredths = TruncateInt32(std::clamp(pan, -1.0, 1.0) * 10000);
    const int32_t volumePercent = TruncateInt32(std::clamp(volume * 100, 0.0, 100.0));
    const int voice = record->PlayVoice(panHundredths, volumePercent, 0);
    if (voice < 0) return -1;
    return voice + slot * 256;
}

double IsChannelPlaying(double channel) {
    if (channel < 0) return 0;
    const int32_t whole = TruncateInt32(channel);
    if (whole < 0) return 0;
    SoundSlot* record = SlotRecord(whole / 256);
    return record && record->IsVoicePlaying(whole % 256) ? 1 : 0;
}

void StopAllSounds() {
    if (!gEngine.soundSlots) return;
    for (int i = 0; i < kAddressedSoundSlots; ++i) gEngine.soundSlots[i].StopSlot();
}
