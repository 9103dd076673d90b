#include "support/TestEngine.h"
#include "runtime/core/EngineState.h"

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "runtime/gfx2d/DeviceTesting.h"
#include "runtime/platform/Platform.h"
#include "runtime/platform/PlatformTesting.h"
#include "runtime/runtime.h"

namespace {

struct Scheduled {
    double when;
    std::function<void()> action;
};
std::vector<Scheduled> gSchedule;

void RunDue() {
    const double now = EngineNow();
    for (;;) {
        auto due = std::find_if(gSchedule.begin(), gSchedule.end(),
                                [now](const Scheduled& s) { return s.when <= now; });
        if (due == gSchedule.end()) return;
        auto action = std::move(due->action);
        gSchedule.erase(due);
        action();
    }
}

}  // namespace

bool StartTestEngine(int framesPerSecond, int captureMouse, int showCommand, int debugRun) {
    gEngine.screenWidth = 320;
    gEngine.screenHeight = 240;
    gEngine.fullScreen = 0;
    gEngine.framesPerSecond = framesPerSecond;
    gEngine.debugRun = debugRun;
    gEngine.captureMouse = captureMouse;
    char commandLine[256] = {};
    return StartEngine(nullptr, nullptr, commandLine, showCommand, "Quorbel");
}

void FlushDrawing() {
    if (gEngine.device) OpenGLRainbowsTesting::FlushDrawing(*gEngine.device);
}

void ScheduleInPump(double delayMs, std::function<void()> action) {
    if (gEngine.clockAvailable == 0 && gEngine.counterFrequency == 0) ProbeEngineClock();
    gSchedule.push_back({EngineNow() + delayMs, std::move(action)});
    std::stable_sort(gSchedule.begin(), gSchedule.end(),
                     [](const Scheduled& a, const Scheduled& b) { return a.when < b.when; });
    platform::SetPumpHook(RunDue);
}

void ClearSchedule() {
    gSchedule.clear();
}

// Detaching goes by device index, which moves as others come and go.
void DetachJoystick(platform::Joystick* joystick) {
    for (int index = platform::JoystickCount() - 1; index >= 0; --index) {
        platform::Joystick* probe = platform::OpenJoystick(index);
        const bool same = probe == joystick;
        platform::CloseJoystick(probe);
        if (!same) continue;
        platform::CloseJoystick(joystick);
        platform::DetachVirtualJoystick(index);
        return;
    }
}

int RunProcess(const std::string& command, std::string* output) {
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return -1;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        if (output) output->append(buffer, n);
    const int status = pclose(pipe);
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

std::string BuildFolder() {
    const char* folder = std::getenv("QUORBEL_TEST_BIN");
    if (folder) return folder;
    // Test programs live in the build folder's tests/.
    const std::string program = platform::ProgramPath();
    return program.substr(0, program.rfind('/')) + "/..";
}
