// What tests use to drive and watch the platform: input pushed as real
// events, virtual joysticks, switches that force the runtime's fallback
// paths, and a trace of what the runtime asks of the system. The runtime
// never calls these. Scancodes and hat values here are SDL's (the USB usage
// numbers), as the one backend takes them.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/platform/Platform.h"

namespace platform {

// ---------------------------------------------------------------- start-up
bool Init();  // starts the backend without a window; idempotent

// Each request the tests watch reports one short line to the hook: "destroy
// window", "delete context", "show cursor", "hide cursor", "exit 0", "exit
// non-zero", "close audio", "music open|close|play|rewind|stop", "music
// volume N", "movie open|close", "socket layer init|shutdown", "socket
// connect", "socket close".
using TraceHook = void (*)(const char* event);
void SetTraceHook(TraceHook hook);
void Trace(const char* event);  // the backend's side

// ---------------------------------------------------------------- clock
void ForceNoPerformanceCounter(bool on);  // the multimedia timer path

// ---------------------------------------------------------------- window
bool IsWindowShown(Window* window);
bool ScreenSaverEnabled();
// The scale WindowedScale gives from now on (0: the display decides again).
void ForceWindowScale(int scale);
// The size game windows are made at from now on, whatever is asked (0, 0:
// as asked); the offscreen driver cannot resize a window's drawing surface.
void ForceWindowSize(int width, int height);
// GlProcAddress gives null for this GL function from now on, as a driver
// without it would (null: every function again).
void HideGlFunction(const char* name);

// ---------------------------------------------------------------- messages
// Called at the start of every pump, to script input by time.
using PumpHook = void (*)();
void SetPumpHook(PumpHook hook);
// Synthetic input, pushed through the event queue as real events are.
void InjectKey(int sdlScancode, bool down);
void InjectKeyCode(int keyCode, bool down);  // by the runtime's key code
// Mouse positions are the window's own, as the system reports them; a
// screen pixel's place in a scaled window comes from ScreenToWindowPosition.
void ScreenToWindowPosition(int* x, int* y);
void InjectMouseMotion(int x, int y, int dx, int dy);
void InjectMouseButton(int button, bool down, int x, int y);  // 1 left, 2 middle, 3 right
void InjectMouseWheel(int amount);
void InjectFocus(bool gained);
void InjectCloseRequest();
void InjectSysCommand(uint32_t code);

// ---------------------------------------------------------------- keyboard
bool KeyDownByCode(int keyCode);           // from the pumped events
int KeyCodeFromScancode(int sdlScancode);  // 0 when the key has no code
int ScancodeFromKeyCode(int keyCode);      // 0 when unknown
void EnableKeyboardEvents(bool on);        // off: the keyboard cannot be acquired

// ---------------------------------------------------------------- mouse
bool CursorShown();
bool RelativeMouse();
void EnableMouseEvents(bool on);  // off: the mouse cannot be acquired

// ---------------------------------------------------------------- joysticks
int AttachVirtualJoystick(int axes, int buttons, int hats);  // its device index, or -1
bool DetachVirtualJoystick(int index);
bool SetVirtualJoystickAxis(Joystick* joystick, int axis, int value);
bool SetVirtualJoystickButton(Joystick* joystick, int button, bool down);
bool SetVirtualJoystickHat(Joystick* joystick, int hat, int sdlHatValue);
// The last motor speeds a virtual joystick was asked for (0, 0 once stopped).
bool VirtualJoystickRumble(Joystick* joystick, uint16_t* low, uint16_t* high);

// ---------------------------------------------------------------- files
std::string NativePath(const char* path);  // every "\\" becomes "/"
// The next call of the kind fails, once, as the system fails it with `error`
// (an errno value): a write-back can be made to fail where permissions cannot
// make it fail (the tests run as root).
enum class FileCall { CreateBeside, Write, Sync, Rename };
void FailNextFileCall(FileCall call, int error);

// ---------------------------------------------------------------- audio
std::string AudioDriverName();  // the driver in use, empty when none

// ---------------------------------------------------------------- network
int SocketLayerUsers();  // InitSockets calls not yet balanced by ShutdownSockets

}  // namespace platform
