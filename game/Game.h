// The party game: its entry, its program-wide variables and its parts.
#pragma once

#include "runtime/runtime.h"

// Program-wide game variables; they live for the whole run.
extern RtString CommandLine;
extern double Volume;        // volume of both game sounds, 0..1
extern double LastPortrait;  // portraits are sprites 0..LastPortrait
extern double RoundNumber;   // current round, 1-based while a game runs
extern double CursorMode;    // 1: the pointer is a key-driven cursor
extern double CursorX, CursorY;

// State of the main program, kept across the whole cycle.
struct GameState {
    double BackgroundIndex = 0;
    RtArray PlayerPortrait;
    RtArray PlayerLevel;
    RtArray PlayerTime;
    RtArray Board;
    RtArray Marks;
    double RoundCount = 0;
    double CurrentPlayer = 0;
    double TurnStart = 0;
    double TurnDeadline = 0;
    double ClickLatch = 0;
};
extern GameState Game;

// Entry: project settings, start-up, then the main program. Returns only
// when the window could not be created (the caller reports it).
void GameEntry(void* instance, void* previousInstance, const char* commandLine, int showCommand);
[[noreturn]] void MainProgram();

// The crowd board.
double BuildBoard(RtArray& board, RtArray& marks, double level);
double CellX(RtArray& board, double column, double row);
double DrawBoard(RtArray& board, RtArray& marks, double offset, double badge);
double HitTestBoard(RtArray& board, double x, double y);
double TripletMarked(RtArray& board, RtArray& marks);
void DrawBadge(double portrait, double x, double y);

// Pointer and volume keys.
double ReadPointer(double& x, double& y, double& button1, double& button2, double update);
double VolumeKeys(RtArray& board, RtArray& marks);
RtString VolumeBarText(double volume);

// The options menu.
double RunOptionsMenu(RtArray& portraits, RtArray& levels);
double ChoiceScreen(const RtString& title, double header, RtArray& options, double initial);
double MakeLabelSprites(RtTextArray& texts, RtArray& options, double first);

// The results screen.
double ShowResults(RtArray& portraits, RtArray& times, double rounds);
RtString ResultLineText(double time, double rounds);
