// SDL_mixer, for the platform layer's audio and music files only. The game is
// not linked against it: SDL_mixer and the decoder libraries it needs (a
// score of them, several megabytes once mapped) are opened the first time
// music is, so a game that plays only sound effects never loads them.
#pragma once

#include <SDL_mixer.h>

namespace platform::detail {

// The entry points the platform layer calls, read from the library.
struct MixerLibrary {
    decltype(&Mix_Init) Init = nullptr;
    decltype(&Mix_Quit) Quit = nullptr;
    decltype(&Mix_OpenAudioDevice) OpenAudioDevice = nullptr;
    decltype(&Mix_CloseAudio) CloseAudio = nullptr;
    decltype(&Mix_SetPostMix) SetPostMix = nullptr;
    decltype(&Mix_LoadMUS) LoadMUS = nullptr;
    decltype(&Mix_FreeMusic) FreeMusic = nullptr;
    decltype(&Mix_MusicDuration) MusicDuration = nullptr;
    decltype(&Mix_PlayMusic) PlayMusic = nullptr;
    decltype(&Mix_HaltMusic) HaltMusic = nullptr;
    decltype(&Mix_PausedMusic) PausedMusic = nullptr;
    decltype(&Mix_ResumeMusic) ResumeMusic = nullptr;
    decltype(&Mix_PlayingMusic) PlayingMusic = nullptr;
    decltype(&Mix_RewindMusic) RewindMusic = nullptr;
    decltype(&Mix_VolumeMusic) VolumeMusic = nullptr;
};

// Opens the library on the first call; null, then and later, when it or one
// of its entry points is missing.
const MixerLibrary* Mixer();

// Takes one count of the audio device as AcquireMixerDevice does, with
// SDL_mixer owning it: a device the sample mixer opened on its own is handed
// over, the samples going on in SDL_mixer's post-mix. False when SDL_mixer
// cannot be loaded or cannot open the device.
bool AcquireMusicDevice();

}  // namespace platform::detail
