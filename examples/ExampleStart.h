// What every example shares: its command-line options, and the engine's
// start the way a game starts it (project settings, then StartEngine).
#pragma once

#include "runtime/runtime.h"

// The word after `name` on the command line, else `otherwise`.
inline RtString Argument(int argc, char** argv, const char* name, const char* otherwise) {
    for (int i = 1; i + 1 < argc; ++i)
        if (RtString(argv[i]) == name) return argv[i + 1];
    return otherwise;
}

// `--frames N`: N frames, then a screenshot and the end; -1 (no option) runs
// until Escape.
inline double FramesWanted(int argc, char** argv) {
    return TextToNumber(Argument(argc, argv, "--frames", "-1"));
}

// Opens the window with the caption; the default settings are 320 x 240,
// windowed, 60 frames a second. False when no window could be made.
inline bool StartExample(const char* caption, const ProjectSettings& settings = {}) {
    SetProjectSettings(settings);
    char commandLine[256] = "";
    return StartEngine(nullptr, nullptr, commandLine, 10, caption);
}
