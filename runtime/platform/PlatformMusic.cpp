// Music through SDL_mixer, on the audio device it shares with the sample mixer.
#include <string>

#include "runtime/platform/PlatformInternal.h"
#include "runtime/platform/PlatformMixer.h"

namespace platform {

struct MusicStream {
    Mix_Music* music = nullptr;
};

namespace {

// A stream exists only once the library is loaded.
const detail::MixerLibrary& Mix() {
    return *detail::Mixer();
}

}  // namespace

MusicStream* OpenMusic(const char* path) {
    if (!path || !detail::AcquireMusicDevice()) return nullptr;
    Mix_Music* music = Mix().LoadMUS(NativePath(path).c_str());
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
    Mix().HaltMusic();
    Mix().FreeMusic(music->music);
    delete music;
    detail::ReleaseMixerDevice();
}

double MusicLengthMs(MusicStream* music) {
    if (!music) return 0;
    const double seconds = Mix().MusicDuration(music->music);
    return seconds > 0 ? seconds * 1000.0 : 0;
}

void PlayMusicStream(MusicStream* music) {
    Trace("music play");
    if (!music) return;
    if (Mix().PausedMusic()) Mix().ResumeMusic();
    if (!Mix().PlayingMusic()) Mix().PlayMusic(music->music, 0);
}

void RewindMusicStream(MusicStream* music) {
    Trace("music rewind");
    if (!music || !Mix().PlayingMusic()) return;
    Mix().RewindMusic();
}

void StopMusicStream(MusicStream* music) {
    Trace("music stop");
    if (music) Mix().HaltMusic();
}

void SetMusicStreamVolume(MusicStream* music, int volume) {
    Trace(("music volume " + std::to_string(volume)).c_str());
    if (!music) return;
    const int clamped = volume < 0 ? 0 : (volume > 1000 ? 1000 : volume);
    Mix().VolumeMusic(clamped * MIX_MAX_VOLUME / 1000);
}

}  // namespace platform
