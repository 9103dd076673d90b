// Shared by the tests: a started runtime with the game's project settings,
// scripted input by time, and child processes.
#pragma once

#include <functional>
#include <string>

#include "runtime/platform/Platform.h"

// Writes the project settings (320 x 240, 60 frames, windowed, mouse shown
// unless asked) and runs start-up. Returns false when no window could be made.
bool StartTestEngine(int framesPerSecond = 60, int captureMouse = 0, int showCommand = 10,
                     int debugRun = 0);

// Draws what the 2D device has gathered, before a test reads or clears the
// frame buffer with GL calls of its own.
void FlushDrawing();

// Runs `action` once from inside the message pump after `delayMs` from now.
// Several may be pending; they run in the order their times come.
void ScheduleInPump(double delayMs, std::function<void()> action);
void ClearSchedule();

// Closes and detaches a virtual joystick opened by a test.
void DetachJoystick(platform::Joystick* joystick);

// Runs a shell command, collecting standard output and standard error
// together; returns the exit code (or 128 + signal).
int RunProcess(const std::string& command, std::string* output);

// The build folder, where the executables and the generated media are.
std::string BuildFolder();
