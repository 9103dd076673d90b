// The sound device: the mixer (its interface; none when there is no audio
// output, and sound stays silent) and the audio output that pulls frames from
// it. The 256 sound slots that play through it are in SoundSlot.h.
#pragma once

#include <memory>

#include "runtime/sound/SoundMixer.h"
#include "runtime/sound/SoundSlot.h"

namespace platform {
struct Window;
struct AudioOutput;
}  // namespace platform

class SoundDevice {
  public:
    SoundDevice() = default;
    ~SoundDevice();  // releases what Release has not
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

    bool Initialise(platform::Window* newWindow);  // false: sound stays silent
    void SetWindow(platform::Window* newWindow);
    void Release();
    // A static buffer over decoded frames, or a duplicate sharing them; null
    // without an interface.
    SoundBuffer* CreateSoundBuffer(std::shared_ptr<const SampleFrames> frames);
    SoundBuffer* DuplicateSoundBuffer(const SoundBuffer* original);
    // Test switch: a paused output asks the mixer for nothing, so a test can
    // render frames itself with `mixer->Render`.
    void PauseOutput(bool paused);

    SoundMixer* Mixer() const { return mixer; }  // the interface; null while silent
    platform::AudioOutput* Output() const { return output; }
    platform::Window* Window() const { return window; }  // the window sound cooperates with

  private:
    SoundMixer* mixer = nullptr;
    platform::AudioOutput* output = nullptr;
    platform::Window* window = nullptr;
};
