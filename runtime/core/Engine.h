// The core's own entry points behind the commands of start-up, frame
// presentation and shutdown: the music restart check, the release of devices
// and the window procedure.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/core/EngineState.h"
#include "runtime/runtime.h"

namespace platform {
struct Window;
}

// Restarts looping music when its time has come; frame presentation and the
// waiting commands call it.
void MusicRestartCheck();
// Filled by the music player: restarts looping music when its time has come.
using MusicRestartHook = void (*)();
void SetMusicRestartHook(MusicRestartHook hook);

// The release of devices shared by EndProgram and EndAndRun, in its fixed order.
void ReleaseDevices();
// The program's directory with its trailing separator: the program's path
// (at most 1,023 characters) with characters removed from its end until it
// is empty or ends in a separator.
std::string ProgramDirectory();
intptr_t WindowProcedure(platform::Window* window, uint32_t message, uintptr_t wParam,
                         intptr_t lParam);
