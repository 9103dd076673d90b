// The game cycle (menu, game, results) and the turn cycle with its slides.
#include <cmath>

#include "game/Game.h"

namespace {

double Players() {
    return ArrayBound(Game.PlayerPortrait, 0);
}

RtString BackgroundName() {
    return RtString("back") + NumberText(Game.BackgroundIndex) + ".png";
}

void LoadStartupMedia() {
    LoadSoundFile(RtString("blip.wav"), 0, 1);
    LoadSoundFile(RtString("cheer.wav"), 1, 1);
    for (double n = 0; n <= LastPortrait; ++n) {
        RtString name = NumberText(n);
        if (n < 10) name = RtString("0") + name;
        LoadSprite(RtString("vux/") + name + ".png", n);
    }
    LoadFont(RtString("smalfont.png"), 0);
}

void SetAllMarks(double value) {
    const double cols = ArrayBound(Game.Marks, 0), rows = ArrayBound(Game.Marks, 1);
    for (double c = 0; c < cols; ++c)
        for (double r = 0; r < rows; ++r) Game.Marks(c, r) = value;
}

void Slide(double from, double to) {
    for (double offset = from; offset <= to; offset += 4) {
        DrawBoard(Game.Board, Game.Marks, offset, Game.PlayerPortrait(Game.CurrentPlayer));
        PresentFrame();
    }
}

void Click(double x, double y) {
    PlaySoundSlot(0, 0, Volume);
    const double hit = HitTestBoard(Game.Board, x, y);
    if (hit >= 0) {
        const double columns = ArrayBound(Game.Board, 0);
        const double column = IntMod(hit, columns);
        const double row = std::trunc(hit / columns);
        Game.Marks(column, row) = 1 - Game.Marks(column, row);
    }
    Game.ClickLatch = 1;
    if (TripletMarked(Game.Board, Game.Marks) != 0) {
        Game.TurnDeadline = ElapsedMs() + 2000;
        PlaySoundSlot(1, 0, Volume);
    }
}

void Search() {
    double x = 0, y = 0, button1 = 0, button2 = 0;
    ReadPointer(x, y, button1, button2, 1);
    if (button1 != 0 && Game.ClickLatch == 0) Click(x, y);
    if (button1 == 0) Game.ClickLatch = 0;
}

// Returns false when the game is over.
bool EndOfTurn() {
    SetAllMarks(1);
    Slide(4, 480);
    Game.PlayerTime(Game.CurrentPlayer) =
        Game.PlayerTime(Game.CurrentPlayer) + (ElapsedMs() - Game.TurnStart);
    if (Game.CurrentPlayer == Players() - 1) RoundNumber = RoundNumber + 1;
    if (RoundNumber > Game.RoundCount) return false;
    Game.CurrentPlayer = IntMod(Game.CurrentPlayer + 1, Players());
    BuildBoard(Game.Board, Game.Marks, Game.PlayerLevel(Game.CurrentPlayer));
    Game.TurnStart = ElapsedMs();
    if (IntMod(RoundNumber, 4) == 0) {
        Game.BackgroundIndex = IntMod(Game.BackgroundIndex + 1, 4);
        BlendToBackground(BackgroundName());
    }
    SetAllMarks(1);
    Slide(-320, -4);
    SetAllMarks(0);
    Game.TurnDeadline = 0;
    return true;
}

void DrawAndPresent() {
    DrawBoard(Game.Board, Game.Marks, 0, Game.PlayerPortrait(Game.CurrentPlayer));
    PresentFrame();
}

// One frame; false when the game is over.
bool Frame() {
    VolumeKeys(Game.Board, Game.Marks);
    if (Game.TurnDeadline != 0) {
        if (ElapsedMs() > Game.TurnDeadline && !EndOfTurn()) return false;
    } else {
        Search();
    }
    DrawAndPresent();
    return true;
}

void PlayGame() {
    Game.RoundCount = RunOptionsMenu(Game.PlayerPortrait, Game.PlayerLevel);
    DimArray(Game.PlayerTime, Players());
    LoadBackground(BackgroundName());
    BuildBoard(Game.Board, Game.Marks, Game.PlayerLevel(0));
    Game.CurrentPlayer = 0;
    RoundNumber = 1;
    Game.TurnDeadline = 0;
    Game.ClickLatch = 0;
    Game.TurnStart = ElapsedMs();
    while (Frame()) {
    }
    ShowResults(Game.PlayerPortrait, Game.PlayerTime, Game.RoundCount);
}

}  // namespace

void MainProgram() {
    ShowMousePointer(1);
    Game.BackgroundIndex = RandomInt(3);
    if (PlatformInfo(RtString("DEVICE")) == "F100") CursorMode = 1;
    LoadStartupMedia();
    for (;;) PlayGame();
}
