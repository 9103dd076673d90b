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

    gEngine.screenWidth = 320;
    gEngine.screenHeight = 240;
    gEngine.fullScreen = 0;
    gEngine.multisampleSamples = 0;
    gEngine.framesPerSecond = 60;
    gEngine.debugRun = 0;
    gEngine.captureMouse = 1;

    std::vector<char> buffer(std::max<size_t>(256, std::strlen(commandLine) + 1), 0);
    std::memcpy(buffer.data(), commandLine, std::strlen(commandLine));
    if (!StartEngine(instance, previousInstance, buffer.data(), showCommand, "Quorbel")) return;

    gEngine.errorLine = 0;
    gEngine.errorNumber = 0;
    gEngine.currentLine = 0;
    MainProgram();
}
