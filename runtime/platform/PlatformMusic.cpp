// Music through SDL_mixer, on the audio device it shares with the sample mixer.
#include <SDL.h>
#include <SDL_mixer.h>

#include <string>

#include "runtime/platform/PlatformInternal.h"

namespace platform {

struct MusicStream {
    Mix_Music* music = nullptr;
};

MusicStream* OpenMusic(const char* path) {
    if (!path || !detail::AcquireMixerDevice(nullptr)) return nullptr;
    Mix_Music* music = Mix_LoadMUS(NativePath(path).c_str());
    if (!music) {
        detail::ReleaseMixerDevice();
        return nullptr;
    }
    Trace("music open");
    return new MusicStream{music};
}

void CloseMusic(MusicStream* music) {
    if (!music) return;
    Trace("music close");
    Mix_HaltMusic();
    Mix_FreeMusic(music->music);
    delete music;
    detail::ReleaseMixerDevice();
}

double MusicLengthMs(MusicStream* music) {
    if (!music) return 0;
    const double seconds = Mix_MusicDuration(music->music);
    return seconds > 0 ? seconds * 1000.0 : 0;
}

void PlayMusicStream(MusicStream* music) {
    Trace("music play");
    if (!music) return;
    if (Mix_PausedMusic()) Mix_ResumeMusic();
    if (!Mix_PlayingMusic()) Mix_PlayMusic(music->music, 0);
}

void RewindMusicStream(MusicStream* music) {
    Trace("music rewind");
    if (!music || !Mix_PlayingMusic()) return;
    Mix_RewindMusic();
}

void StopMusicStream(MusicStream* music) {
    Trace("music stop");
    if (music) Mix_HaltMusic();
}

void SetMusicStreamVolume(MusicStream* music, int volume) {
    Trace(("music volume " + std::to_string(volume)).c_str());
    if (!music) return;
    const int clamped = volume < 0 ? 0 : (volume > 1000 ? 1000 : volume);
    Mix_VolumeMusic(clamped * MIX_MAX_VOLUME / 1000);
}

}  // namespace platform
