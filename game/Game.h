// The party game: its entry, its program-wide variables and its main program.
#pragma once

#include "runtime/runtime.h"

extern RtString CommandLine;

// Writes the project settings, starts the runtime and runs the main program.
// Returns only when the window could not be created (the caller reports it).
void GameEntry(void* instance, void* previousInstance, const char* commandLine,
               int showCommand);
[[noreturn]] void MainProgram();
