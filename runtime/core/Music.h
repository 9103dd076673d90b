// Background music, looped by the runtime itself: the restart check in frame
// presentation and the waiting commands starts the piece again once its
// length has passed.
#pragma once

#include "runtime/values/RtString.h"

void PlayMusic(const RtString& fileName);
void StopMusic();
void SetMusicVolume(double volume);  // 0..1, sent to the player as 0..1000
void RestartMusic();
