#include <algorithm>
#include <cstring>
#include <vector>

#include "game/Game.h"

RtString CommandLine;
double Volume = 0.5;
double LastPortrait = 62;
double RoundNumber = 0;
double CursorMode = 0;
double CursorX = 160;
double CursorY = 120;
GameState Game;

void GameEntry(void* instance, void* previousInstance, const char* commandLine, int showCommand) {
    CommandLine = commandLine;

    ProjectSettings settings;
    settings.screenWidth = 320;
    settings.screenHeight = 240;
    settings.fullScreen = 0;
    settings.multisampleSamples = 0;
    settings.framesPerSecond = 60;
    settings.debugRun = 0;
    settings.captureMouse = 1;
    SetProjectSettings(settings);

    std::vector<char> buffer(std::max<size_t>(256, std::strlen(commandLine) + 1), 0);
    std::memcpy(buffer.data(), commandLine, std::strlen(commandLine));
    if (!StartEngine(instance, previousInstance, buffer.data(), showCommand, "Quorbel")) return;

    ClearRuntimeError();
    MainProgram();
}
