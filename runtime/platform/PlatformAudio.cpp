// The audio output: one device, 22,050 Hz 16-bit stereo (SDL converts when
// the driver prefers another format). Sound effects alone need no more than
// SDL's own device, which the runtime's sample mixer fills. Once music is
// opened SDL_mixer owns the device instead (drivers such as `dummy` and
// `disk` open only one), plays the music into it, and the sample mixer adds
// its frames on top after every mix, as it does on the runtime's own device.
#include <algorithm>
#include <mutex>
#include <vector>

#include "runtime/platform/PlatformInternal.h"
#include "runtime/platform/PlatformMixer.h"

namespace platform {

struct AudioOutput {
    AudioCallback callback = nullptr;
    void* user = nullptr;
    bool paused = true;
    std::vector<int16_t> scratch;
};

namespace {

// About 23 ms a buffer: short enough for a click to sound at once.
constexpr int kBufferFrames = 512;
constexpr const char* kMixerLibraryName = "libSDL2_mixer-2.0.so.0";

int gDeviceUsers = 0;
SDL_AudioDeviceID gOwnDevice = 0;  // the device while SDL_mixer does not own it
bool gMixerOwnsDevice = false;
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

// What SDL_mixer's mix gives without music: silence, then the samples on top.
void MixOwnDevice(void* user, Uint8* stream, int length) {
    SDL_memset(stream, 0, static_cast<size_t>(length));
    AddSamples(user, stream, length);
}

bool OpenOwnDevice(std::string* error) {
    SDL_AudioSpec wanted{};
    wanted.freq = kAudioRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = kAudioChannels;
    wanted.samples = kBufferFrames;
    wanted.callback = MixOwnDevice;
    gOwnDevice = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (gOwnDevice == 0) {
        if (error) *error = SDL_GetError();
        return false;
    }
    SDL_PauseAudioDevice(gOwnDevice, 0);
    return true;
}

void CloseOwnDevice() {
    if (gOwnDevice != 0) SDL_CloseAudioDevice(gOwnDevice);
    gOwnDevice = 0;
}

bool OpenMixerOwnedDevice(const detail::MixerLibrary& mix) {
    mix.Init(MIX_INIT_OGG | MIX_INIT_MP3 | MIX_INIT_FLAC | MIX_INIT_MOD);
    if (mix.OpenAudioDevice(kAudioRate, AUDIO_S16SYS, kAudioChannels, kBufferFrames, nullptr, 0) !=
        0) {
        mix.Quit();
        return false;
    }
    mix.SetPostMix(AddSamples, nullptr);
    return true;
}

template <typename Entry>
bool Bind(void* library, const char* name, Entry* entry) {
    *entry = reinterpret_cast<Entry>(SDL_LoadFunction(library, name));
    return *entry != nullptr;
}

const detail::MixerLibrary* LoadMixerLibrary() {
#ifdef __EMSCRIPTEN__
    // A browser page has no libraries to open: SDL_mixer is linked in.
    static const detail::MixerLibrary linked{
        &Mix_Init,         &Mix_Quit,        &Mix_OpenAudioDevice, &Mix_CloseAudio,
        &Mix_SetPostMix,   &Mix_LoadMUS,     &Mix_FreeMusic,       &Mix_MusicDuration,
        &Mix_PlayMusic,    &Mix_HaltMusic,   &Mix_PausedMusic,     &Mix_ResumeMusic,
        &Mix_PlayingMusic, &Mix_RewindMusic, &Mix_VolumeMusic};
    return &linked;
#endif
    void* library = SDL_LoadObject(kMixerLibraryName);
    if (!library) return nullptr;
    static detail::MixerLibrary mix;
    const bool complete = Bind(library, "Mix_Init", &mix.Init) &&
                          Bind(library, "Mix_Quit", &mix.Quit) &&
                          Bind(library, "Mix_OpenAudioDevice", &mix.OpenAudioDevice) &&
                          Bind(library, "Mix_CloseAudio", &mix.CloseAudio) &&
                          Bind(library, "Mix_SetPostMix", &mix.SetPostMix) &&
                          Bind(library, "Mix_LoadMUS", &mix.LoadMUS) &&
                          Bind(library, "Mix_FreeMusic", &mix.FreeMusic) &&
                          Bind(library, "Mix_MusicDuration", &mix.MusicDuration) &&
                          Bind(library, "Mix_PlayMusic", &mix.PlayMusic) &&
                          Bind(library, "Mix_HaltMusic", &mix.HaltMusic) &&
                          Bind(library, "Mix_PausedMusic", &mix.PausedMusic) &&
                          Bind(library, "Mix_ResumeMusic", &mix.ResumeMusic) &&
                          Bind(library, "Mix_PlayingMusic", &mix.PlayingMusic) &&
                          Bind(library, "Mix_RewindMusic", &mix.RewindMusic) &&
                          Bind(library, "Mix_VolumeMusic", &mix.VolumeMusic);
    if (!complete) {
        SDL_UnloadObject(library);
        return nullptr;
    }
    return &mix;
}

}  // namespace

namespace detail {

const MixerLibrary* Mixer() {
    static const MixerLibrary* mix = LoadMixerLibrary();
    return mix;
}

bool AcquireMixerDevice(std::string* error) {
    if (gDeviceUsers > 0) {
        ++gDeviceUsers;
        return true;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        if (error) *error = SDL_GetError();
        return false;
    }
    if (!OpenOwnDevice(error)) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    gDeviceUsers = 1;
    return true;
}

bool AcquireMusicDevice() {
    const MixerLibrary* mix = Mixer();
    if (!mix) return false;
    if (gMixerOwnsDevice) {
        ++gDeviceUsers;
        return true;
    }
    if (gDeviceUsers == 0 && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    CloseOwnDevice();
    if (!OpenMixerOwnedDevice(*mix)) {
        // The sound effects get their own device back, or go silent with the rest.
        if (gDeviceUsers > 0 && OpenOwnDevice(nullptr)) return false;
        gDeviceUsers = 0;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    gMixerOwnsDevice = true;
    ++gDeviceUsers;
    return true;
}

void ReleaseMixerDevice() {
    if (gDeviceUsers == 0 || --gDeviceUsers > 0) return;
    if (gMixerOwnsDevice) {
        const MixerLibrary* mix = Mixer();
        mix->SetPostMix(nullptr, nullptr);
        mix->CloseAudio();
        mix->Quit();
        gMixerOwnsDevice = false;
    }
    CloseOwnDevice();
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
