// Start-up, frame presentation, shutdown and the window procedure.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/core/EngineState.h"

namespace platform {
struct Window;
}

// Start-up: creates the devices and the window, shows "Loading...", prints
// "Init OK". Returns false when the window could not be created (nothing else
// was started then).
bool StartEngine(void* instance, void* reserved, char* commandLine, int showCommand,
                 const char* title);
intptr_t GetWindowHandle();
double SetSourcePosition(double module, double line);
double SetRuntimeError(double number);
void SetAutoPause(double value);
void SetEscapeQuits(double value);

// Frame presentation and the engine clock.
void PresentFrame();
double ElapsedMs();
double LastFrameMs();
void MusicRestartCheck();
// Filled by the music player: restarts looping music when its time has come.
using MusicRestartHook = void (*)();
void SetMusicRestartHook(MusicRestartHook hook);

// The one way out. Both release every device in a fixed order.
[[noreturn]] void EndProgram();
[[noreturn]] void EndAndRun(const RtString& commandLine);
void ReleaseDevices();
// The program's directory with its trailing separator: the program's path
// (at most 1,023 characters) with characters removed from its end until it
// is empty or ends in a separator.
std::string ProgramDirectory();
intptr_t WindowProcedure(platform::Window* window, uint32_t message, uintptr_t wParam,
                         intptr_t lParam);
