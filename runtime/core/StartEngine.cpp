// Start-up: the devices, the working directory, the "Loading..." screen.
#include <cstdio>
#include <cstring>
#include <string>

#include "runtime/core/Engine.h"
#include "runtime/core/EngineState.h"
#include "runtime/core/Random.h"
#include "runtime/files/ErrorLog.h"
#include "runtime/files/Shoebox.h"
#include "runtime/gfx2d/Font.h"
#include "runtime/gfx2d/OpenGLRainbows.h"
#include "runtime/input/InputDevices.h"
#include "runtime/platform/Platform.h"
#include "runtime/sound/SoundDevice.h"

namespace {

constexpr int kShowHide = 0;

void CreateDevices() {
    gEngine.input = new InputDevices();
    gEngine.soundDevice = new SoundDevice();
    gEngine.soundSlots = new SoundSlot[kSoundSlotCount];
    // No multi-player layer and no 3D renderer in this build: their fields stay empty.
}

void ShowLoadingScreen() {
    OpenGLRainbows* device = gEngine.device;
    device->Present();
    device->SetView(0, 0, 0, 0);
    double screenWidth = 0, screenHeight = 0;
    GetScreenSize(screenWidth, screenHeight);
    LoadFont(RtString(""), 0);
    LoadFont(RtString("smalfont.bmp"), 0);
    double charWidth = 0, charHeight = 0;
    GetFontSize(charWidth, charHeight);
    PrintText(RtString("Loading..."), (screenWidth - 10 * charWidth) / 2,
              (screenHeight - charHeight) / 2);
    // Shown as soon as it is drawn: the frame before it was the first one
    // shown, and there is no rate to keep yet.
    device->RestartPacing();
    PresentFrame();
}

void StampClock() {
    const double now = EngineNow();
    gEngine.frameTime = now;
    gEngine.previousFrameTime = now;
    gEngine.clockOrigin = now;
}

}  // namespace

std::string ProgramDirectory() {
    std::string path = platform::ProgramPath();
    if (path.size() >= 1024) path.resize(1023);
    while (!path.empty() && path.back() != '/' && path.back() != '\\') path.pop_back();
    return path;
}

bool StartEngine(void* instance, void* reserved, char* commandLine, int showCommand,
                 const char* title) {
    gEngine.autoPause = 1;
    gEngine.device = new OpenGLRainbows();
    if (!gEngine.device->Create(instance, gEngine.screenWidth, gEngine.screenHeight, 0,
                                gEngine.framesPerSecond, gEngine.multisampleSamples))
        return false;

    gEngine.mainWindow = gEngine.device->Window();
    platform::SetCaption(gEngine.mainWindow, title);
    gEngine.windowTitle = title;
    DeleteErrorLog();
    // The device warned before the old log went; the warning belongs to this run.
    if (SoftwareRenderingWarned()) AppendErrorLog("OpenGL Software Emulation");

    CreateDevices();
    SeedRandom(static_cast<uint32_t>(static_cast<int64_t>(EngineNow())));

    if (gEngine.fullScreen != 0)
        gEngine.device->EnterFullScreen();
    else
        gEngine.device->EnterWindowed();
    gEngine.mainWindow = gEngine.device->Window();

    gEngine.input->Initialise(gEngine.mainWindow, instance, gEngine.captureMouse != 0);
    gEngine.soundDevice->Initialise(gEngine.mainWindow);
    gEngine.input->SetWindow(gEngine.mainWindow);
    gEngine.soundDevice->SetWindow(gEngine.mainWindow);
    gEngine.currentFont = 0;

    const std::string directory = ProgramDirectory();
    platform::ChangeDirectory(directory.c_str());
    gEngine.movieShoebox = new Shoebox();
    gEngine.mediaShoebox = new Shoebox();
    SetShoebox(RtString(directory.c_str()), RtString(directory.c_str()));

    ClearScreen();
    StampClock();
    ShowLoadingScreen();

    gEngine.paused = 0;
    platform::DisableScreenSaver();
    StampClock();

    if (showCommand == kShowHide) {
        gEngine.device->HideWindow();
        platform::ShowGameWindow(gEngine.mainWindow, false);
    }
    gEngine.input->SetPointerMode(gEngine.captureMouse == 0);
    std::puts("Init OK");
    std::fflush(stdout);
    return true;
}

intptr_t GetWindowHandle() {
    return reinterpret_cast<intptr_t>(gEngine.mainWindow);
}

double SetSourcePosition(double module, double line) {
    gEngine.currentModule = module;
    gEngine.currentLine = line;
    return line;
}

void SetProjectSettings(const ProjectSettings& settings) {
    gEngine.screenWidth = settings.screenWidth;
    gEngine.screenHeight = settings.screenHeight;
    gEngine.fullScreen = settings.fullScreen;
    gEngine.multisampleSamples = settings.multisampleSamples;
    gEngine.framesPerSecond = settings.framesPerSecond;
    gEngine.debugRun = settings.debugRun;
    gEngine.captureMouse = settings.captureMouse;
}

void ClearRuntimeError() {
    gEngine.errorLine = 0;
    gEngine.errorNumber = 0;
    gEngine.currentLine = 0;
}

double SetRuntimeError(double number) {
    gEngine.errorLine = gEngine.currentLine;
    gEngine.errorNumber = number;
    return number;
}

void SetAutoPause(double value) {
    gEngine.autoPause = value != 0 ? 1 : 0;
}
void SetEscapeQuits(double value) {
    gEngine.escapeQuits = value != 0 ? 1 : 0;
}
