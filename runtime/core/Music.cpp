#include "runtime/runtime.h"

#include <cstdio>
#include <vector>

#include "runtime/core/Engine.h"
#include "runtime/core/EngineState.h"
#include "runtime/files/Shoebox.h"
#include "runtime/input/InputDevices.h"
#include "runtime/platform/Platform.h"

namespace {

// The music player. It exists while music is loaded, also when no decoder
// could open the file: then it plays nothing but still loops every 500 ms.
struct MediaWindow {
    platform::MusicStream* stream = nullptr;
};

constexpr double kShortestLength = 500;

RtString& MusicFileName() {
    static RtString name;
    return name;
}

MediaWindow* Player() {
    return static_cast<MediaWindow*>(gEngine.mediaWindow);
}

double PieceLength(MediaWindow* player) {
    const double length = platform::MusicLengthMs(player->stream);
    return length < kShortestLength ? kShortestLength : length;
}

void RestartWhenDue() {
    MediaWindow* player = Player();
    if (!player) return;
    gEngine.musicRestartTime = ElapsedMs() + PieceLength(player);
    platform::PlayMusicStream(player->stream);
    platform::RewindMusicStream(player->stream);
    platform::PlayMusicStream(player->stream);
}

void CloseMediaWindow() {
    MediaWindow* player = Player();
    if (!player) return;
    platform::StopMusicStream(player->stream);
    platform::CloseMusic(player->stream);
    delete player;
    gEngine.mediaWindow = nullptr;
}

void SetPointer(bool shown) {
    if (gEngine.input) gEngine.input->SetPointerMode(shown);
}

}  // namespace

void StopMusic() {
    gEngine.musicVolume = -1.0;
    gEngine.musicRestartTime = 0;
    CloseMediaWindow();
}

void PlayMusic(const RtString& fileName) {
    StopMusic();
    SetMusicRestartHook(RestartWhenDue);
    std::vector<char> path(1024, 0);
    if (!gEngine.movieShoebox ||
        !ShoeboxFind(gEngine.movieShoebox, fileName.CStr(), path.data(), path.size()))
        return;
    MusicFileName() = path.data();

    const bool pointerShown = gEngine.input && gEngine.input->PointerShown();
    SetPointer(false);
    auto* player = new MediaWindow{platform::OpenMusic(path.data())};
    gEngine.mediaWindow = player;
    gEngine.musicRestartTime = ElapsedMs() + PieceLength(player);
    platform::RewindMusicStream(player->stream);
    platform::PlayMusicStream(player->stream);
    SetPointer(pointerShown);

    if (gEngine.musicVolume != 1.0) {
        gEngine.musicVolume = 1.0;
        platform::SetMusicStreamVolume(player->stream, 1000);
    }
    gEngine.paused = 0;
    if (!pointerShown && gEngine.input) {
        SetPointer(true);
        SetPointer(false);
    }
}

void SetMusicVolume(double volume) {
    if (volume == gEngine.musicVolume) return;
    gEngine.musicVolume = volume;
    if (Player()) platform::SetMusicStreamVolume(Player()->stream, static_cast<int>(volume * 1000));
}

void RestartMusic() {
    std::puts("kick");
    std::fflush(stdout);
    if (!Player()) return;
    platform::RewindMusicStream(Player()->stream);
    platform::PlayMusicStream(Player()->stream);
}
