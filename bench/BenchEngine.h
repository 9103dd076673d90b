// The runtime as the benchmarks start it: the game's 320 x 240 screen at 60
// frames a second in its window (headless on the offscreen driver).
#pragma once

#include "runtime/core/EngineState.h"
#include "runtime/runtime.h"

inline bool StartBenchEngine(const char* title) {
    gEngine.screenWidth = 320;
    gEngine.screenHeight = 240;
    gEngine.framesPerSecond = 60;
    char commandLine[256] = {};
    return StartEngine(nullptr, nullptr, commandLine, 10, title);
}
