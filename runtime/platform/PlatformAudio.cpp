// The audio output. SDL_mixer owns the one device (drivers such as `dummy`
// and `disk` open only one), plays the music into it, and the runtime's
// sample mixer adds its frames on top after every mix. SDL converts when the
// driver prefers another format, so both always see 22,050 Hz 16-bit stereo.
#include <SDL_mixer.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "runtime/platform/PlatformInternal.h"

namespace platform {

struct AudioOutput {
    AudioCallback callback = nullptr;
    void* user = nullptr;
    bool paused = true;
    std::vector<int16_t> scratch;
};

namespace {

int gMixerUsers = 0;
std::recursive_mutex gOutputLock;  // guards the sample mixer against the audio thread
AudioOutput* gOutput = nullptr;

void AddSamples(void*, Uint8* stream, int length) {
    std::lock_guard<std::recursive_mutex> hold(gOutputLock);
    AudioOutput* output = gOutput;
    if (!output || output->paused) return;
    const int frames = length / (kAudioChannels * static_cast<int>(sizeof(int16_t)));
    output->scratch.assign(static_cast<size_t>(frames) * kAudioChannels, 0);
    output->callback(output->user, output->scratch.data(), frames);
    auto* mixed = reinterpret_cast<int16_t*>(stream);
    for (size_t i = 0; i < output->scratch.size(); ++i)
        mixed[i] = static_cast<int16_t>(
            std::clamp(static_cast<int>(mixed[i]) + output->scratch[i], -32768, 32767));
}

}  // namespace

namespace detail {

bool AcquireMixerDevice(std::string* error) {
    if (gMixerUsers > 0) {
        ++gMixerUsers;
        return true;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        if (error) *error = SDL_GetError();
        return false;
    }
    Mix_Init(MIX_INIT_OGG | MIX_INIT_MP3 | MIX_INIT_FLAC | MIX_INIT_MOD);
    // About 23 ms a buffer: short enough for a click to sound at once.
    if (Mix_OpenAudioDevice(kAudioRate, AUDIO_S16SYS, kAudioChannels, 512, nullptr, 0) != 0) {
        if (error) *error = SDL_GetError();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_SetPostMix(AddSamples, nullptr);
    gMixerUsers = 1;
    return true;
}

void ReleaseMixerDevice() {
    if (gMixerUsers == 0 || --gMixerUsers > 0) return;
    Mix_SetPostMix(nullptr, nullptr);
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace detail

AudioOutput* OpenAudio(AudioCallback callback, void* user, std::string* error) {
    if (!callback || gOutput) return nullptr;
    if (!detail::AcquireMixerDevice(error)) return nullptr;
    auto* output = new AudioOutput();
    output->callback = callback;
    output->user = user;
    std::lock_guard<std::recursive_mutex> hold(gOutputLock);
    gOutput = output;
    return output;
}

void LockAudio(AudioOutput* output) {
    if (output) gOutputLock.lock();
}

void UnlockAudio(AudioOutput* output) {
    if (output) gOutputLock.unlock();
}

void PauseAudio(AudioOutput* output, bool paused) {
    if (!output) return;
    std::lock_guard<std::recursive_mutex> hold(gOutputLock);
    output->paused = paused;
}

void CloseAudio(AudioOutput* output) {
    if (!output) return;
    {
        std::lock_guard<std::recursive_mutex> hold(gOutputLock);
        if (gOutput == output) gOutput = nullptr;
    }
    delete output;
    detail::ReleaseMixerDevice();
    Trace("close audio");
}

std::string AudioDriverName() {
    const char* name = SDL_GetCurrentAudioDriver();
    return name ? name : "";
}

}  // namespace platform
