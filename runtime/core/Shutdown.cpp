// The one way out, and the window procedure that may take it.
#include <cstdio>
#include <string>

#include "runtime/core/Engine.h"
#include "runtime/core/EngineState.h"
#include "runtime/files/ErrorLog.h"
#include "runtime/files/FileCommands.h"
#include "runtime/files/Shoebox.h"
#include "runtime/gfx2d/OpenGLRainbows.h"
#include "runtime/input/InputDevices.h"
#include "runtime/platform/Platform.h"
#include "runtime/runtime.h"
#include "runtime/sound/SoundDevice.h"

namespace {

void ReleaseShoeboxes() {
    for (Shoebox** field : {&gEngine.movieShoebox, &gEngine.mediaShoebox}) {
        if (!*field) continue;
        ReleaseShoebox(*field);
        *field = nullptr;
    }
}

void WriteEndOfRunReport() {
    char line[32];
    AppendErrorLog("-End On Line");
    std::snprintf(line, sizeof line, "%d", static_cast<int>(gEngine.errorNumber));
    AppendErrorLog(line);
    std::snprintf(line, sizeof line, "%d", static_cast<int>(gEngine.errorLine) - 1);
    AppendErrorLog(line);
    std::snprintf(line, sizeof line, "%d", static_cast<int>(gEngine.currentLine));
    AppendErrorLog(line);
    std::snprintf(line, sizeof line, "%d", static_cast<int>(gEngine.currentModule));
    AppendErrorLog(line);
}

void Activate(uintptr_t state) {
    if (gEngine.debugRun != 0 || gEngine.autoPause != 1) return;
    if (state == 0) {
        const std::string caption = std::string(gEngine.windowTitle.CStr()) + " <pause>";
        platform::SetCaption(gEngine.mainWindow, caption.c_str());
        gEngine.paused = 1;
    } else if (state == 1 || state == 2) {
        platform::SetCaption(gEngine.mainWindow, gEngine.windowTitle.CStr());
        gEngine.paused = 0;
    }
}

}  // namespace

void ReleaseDevices() {
    platform::ChangeDirectory(ProgramDirectory().c_str());
    StopMusic();
    delete gEngine.device;
    gEngine.device = nullptr;
    delete gEngine.input;
    gEngine.input = nullptr;
    if (gEngine.soundSlots) {
        delete[] gEngine.soundSlots;  // destroys the slots last to first
        gEngine.soundSlots = nullptr;
    }
    if (gEngine.soundDevice) {
        gEngine.soundDevice->Release();
        delete gEngine.soundDevice;
        gEngine.soundDevice = nullptr;
    }
    ReleaseShoeboxes();
    if (gEngine.mainWindow) {
        // The device's destructor has destroyed the window it owned.
        gEngine.mainWindow = nullptr;
    }
}

void EndProgram() {
    // Changed line files and INI tables go back to their files first.
    FlushFileCommands();
    ReleaseDevices();
    if (gEngine.debugRun != 0) WriteEndOfRunReport();
    platform::PostQuitMessage(0);
    platform::ExitProcess(0);
}

void EndAndRun(const RtString& commandLine) {
    FlushFileCommands();
    ReleaseDevices();
    platform::StartProcess(commandLine.CStr());
    platform::ExitProcess(0);
}

intptr_t WindowProcedure(platform::Window* window, uint32_t message, uintptr_t wParam,
                         intptr_t lParam) {
    switch (message) {
        case platform::kMsgClose:
            EndProgram();
        case platform::kMsgEraseBackground:
            return 1;
        case platform::kMsgSysCommand: {
            const uint32_t command = static_cast<uint32_t>(wParam) & ~0xFu;
            if (command == platform::kSysCommandScreenSave ||
                command == platform::kSysCommandMonitorPower)
                return 0;
            if (command == platform::kSysCommandClose) EndProgram();
            return platform::DefaultWindowProcedure(window, message, wParam, lParam);
        }
        case platform::kMsgActivate:
            Activate(wParam & 0xFFFF);
            return 0;
        case platform::kMsgToggleFullScreen:
            if (gEngine.device) gEngine.device->ToggleFullScreen();
            return 0;
        default:
            return platform::DefaultWindowProcedure(window, message, wParam, lParam);
    }
}
