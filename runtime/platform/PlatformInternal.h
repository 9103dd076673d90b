// Shared between the platform layer's own files only; includes SDL.
#pragma once

#include <SDL.h>

#include <string>

#include "runtime/platform/Platform.h"
#include "runtime/platform/PlatformTesting.h"

namespace platform::detail {

// Input state: every pumped event passes through here first (keys, mouse,
// wheel, text, joystick hot-plug), so queries see pushed events too.
void InputHandleEvent(const SDL_Event& event);
// Called once SDL is up, and before SDL quits.
void InputStartup();
void InputShutdown();
// The SDL window of a live handle; null for null and for a destroyed window.
SDL_Window* NativeWindow(Window* window);
// Where the last destroyed window's client area stood on the desktop.
void LastWindowOrigin(int* x, int* y);
// The one audio device, shared by the music and the sample mixer; counted.
bool AcquireMixerDevice(std::string* error);
void ReleaseMixerDevice();

}  // namespace platform::detail
