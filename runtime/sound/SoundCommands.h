// The sound commands of the game language. Slots 0..127 (larger numbers use
// 127); a play returns channel = slot x 256 + voice. Without a sound device
// loads give 0 and plays -1, and the game goes on in silence.
#pragma once

#include "runtime/values/RtString.h"

double LoadSoundFile(const RtString& fileName, double slot,
                     double voices);  // 1 loaded; 0 leaves the slot empty; voices 1..4
double PlaySoundSlot(double slot, double pan,
                     double volume);  // pan -1..1 (1 silences the left), volume 0..1; channel or -1
double IsChannelPlaying(double channel);  // 1 while that voice sounds, else 0
void StopAllSounds();                     // stops and rewinds every voice of slots 0..127
