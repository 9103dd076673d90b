// The heartbeat: one call per frame.
#include "runtime/core/Engine.h"
#include "runtime/core/EngineState.h"
#include "runtime/gfx2d/OpenGLRainbows.h"
#include "runtime/input/InputDevices.h"
#include "runtime/platform/Platform.h"

namespace {

MusicRestartHook gMusicRestartHook = nullptr;

[[noreturn]] void EndNormally() {
    gEngine.errorNumber = 0;
    gEngine.errorLine = gEngine.currentLine;
    EndProgram();
}

void DispatchPending() {
    if (gEngine.device && !gEngine.device->PumpMessages()) EndNormally();
}

}  // namespace

void SetMusicRestartHook(MusicRestartHook hook) {
    gMusicRestartHook = hook;
}

void MusicRestartCheck() {
    if (gEngine.musicRestartTime > 0 && ElapsedMs() >= gEngine.musicRestartTime &&
        gMusicRestartHook)
        gMusicRestartHook();
}

void PresentFrame() {
    if (gEngine.debugRun != 0 && gEngine.mainWindow) {
        platform::ShowGameWindow(gEngine.mainWindow, true);
        platform::RaiseGameWindow(gEngine.mainWindow);
    }
    gEngine.previousFrameTime = gEngine.frameTime;
    gEngine.frameTime = EngineNow();

    while (gEngine.paused == 1) {
        MusicRestartCheck();
        DispatchPending();
        platform::Sleep(100);
    }

    if (gEngine.input) {
        gEngine.input->ReadKeyboard();
        gEngine.input->StartFrame();
        if (gEngine.escapeQuits == 1 && gEngine.input->KeyHeld(kKeyEscape)) EndNormally();
        if (gEngine.input->KeyHeld(kKeyLeftAlt) && gEngine.input->KeyHeld(kKeyF4)) EndNormally();
    }

    MusicRestartCheck();
    DispatchPending();
    if (!gEngine.device) return;
    if (gEngine.device->Present() == 0) EndNormally();
    gEngine.device->PrepareNextFrame();
}

double ElapsedMs() {
    return EngineNow() - gEngine.clockOrigin;
}

double LastFrameMs() {
    const double difference = gEngine.frameTime - gEngine.previousFrameTime;
    return difference <= 0 ? 1.0 : difference;
}
