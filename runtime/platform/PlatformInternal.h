// Shared between the platform layer's own files only; includes SDL.
#pragma once

#include <SDL.h>

#include <string>

#include "runtime/platform/Platform.h"
#include "runtime/platform/PlatformTesting.h"

namespace platform {

struct Window {
    SDL_Window* sdl = nullptr;
    int frameWidth = 0, frameHeight = 0;  // 0: no frame set, the window is shown as drawn
    // What relative motion has left over below one frame pixel.
    int motionRestX = 0, motionRestY = 0;
};

}  // namespace platform

namespace platform::detail {

// The SDL window's data entry that points back to its Window.
inline constexpr const char* kWindowDataName = "quorbel.window";
// Mouse positions and motion from window pixels into frame pixels (floor
// division, so the bars map outside the frame) and frame positions back to
// the window pixel at the centre of their block.
void WindowToFrame(uint32_t windowId, int* x, int* y);
void MotionToFrame(uint32_t windowId, int* dx, int* dy);
void FrameToWindow(SDL_Window* sdl, int* x, int* y);
// The frame's size for an SDL window, or its own size without a frame.
void FrameSizeOf(SDL_Window* sdl, int* width, int* height);

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

#ifdef __EMSCRIPTEN__
// The browser's page (runtime/platform/web/): the canvas shows only swapped
// frames, drawn into a back buffer of their own; a swap shows the frame at
// the page's next animation frame; a pump that has not let the page run for
// a while gives it its turn; full screen and the program's end are the page's.
void DrawIntoBackBuffer();
void ShowFrameInPage(SDL_Window* sdl);
void GivePageItsTurnWhenDue();
uint64_t PageClock();
uint64_t PageClockFrequency();
bool PageFullScreen(bool on);
void ProgramEndsInPage(int code);
#endif

}  // namespace platform::detail
