// The options menu: one question per screen, Up/Down to move, A/S/D/W to confirm.
#include <initializer_list>

#include "game/Game.h"

namespace {

constexpr double kIconSlot = 100;
constexpr double kFirstLabelSlot = 101;

// The portraits a player may choose, in menu order.
const std::initializer_list<double> kSelectablePortraits = {
    0,  2,  4,  5,  8,  9,  10, 11, 14, 15, 16, 17, 18, 19, 20, 22, 23, 26, 27,
    29, 31, 35, 36, 38, 39, 45, 46, 48, 50, 51, 52, 53, 54, 55, 56, 57, 59};

RtString MenuBackground() {
    return RtString("menu/back.png");
}

void SetLabels(RtTextArray& texts, std::initializer_list<RtString> labels) {
    FillTextArrayFromList(texts, labels);
}

// Removes entry i, moving every later entry one place forward.
void RemoveEntry(RtArray& list, double i) {
    const double n = ArrayBound(list, 0);
    if (i < 0 || i >= n) {
        SetRuntimeError(8);
        EndProgram();
    }
    for (double j = i; j < n - 1; ++j) CopyArrayRow(list, j, j + 1);
    RedimArray(list, n - 1);
}

bool ConfirmHeld() {
    return KeyState(kKeyA) != 0 || KeyState(kKeyD) != 0 || KeyState(kKeyS) != 0 ||
           KeyState(kKeyW) != 0;
}

double DrawOptions(RtArray& options, double selection, double tx) {
    double result = 0, y = 50;
    const double count = ArrayBound(options, 0);
    for (double i = selection - 1; i < count; ++i) {
        double w = 0, h = 0;
        GetSpriteSize(options(i < 0 ? 0 : i), w, h);
        if (i < 0) {
            y += h + 8;
            continue;
        }
        if (i == selection) {
            result = i;
            DrawRect(tx - 2, y - 2, w + 4, h + 4, kColourWhite);
        }
        DrawSprite(options(i), tx, y);
        y += h + 8;
        if (y > 240) break;
    }
    return result;
}

}  // namespace

double MakeLabelSprites(RtTextArray& texts, RtArray& options, double first) {
    DimArray(options, 0);
    const double count = TextArrayBound(texts, 0);
    double m = 0;
    for (double j = 0; j < count; ++j)
        if (TextLength(texts(j)) > m) m = TextLength(texts(j));
    double cw = 0, ch = 0;
    GetFontSize(cw, ch);
    for (double j = 0; j < count; ++j) {
        DrawRect(0, 0, (m + 2) * cw, ch * 1.5, 16741887);
        DrawRect(2, 2, (m + 2) * cw, ch * 1.5, 8388736);
        PrintText(texts(j), (m + 2 - TextLength(texts(j))) * 0.5 * cw, ch * 0.25);
        GrabSprite(first + j, 0, 0, (m + 2) * cw, ch * 1.5);
        if (ArrayBound(options, 1) != 0) {
            SetRuntimeError(8);
            EndProgram();
        }
        const double n = ArrayBound(options, 0);
        RedimArray(options, n + 1);
        options(n) = first + j;
    }
    return 0;
}

double ChoiceScreen(const RtString& title, double header, RtArray& options, double initial) {
    double result = 0, selection = initial, tx = 28;
    if (header >= 0) {
        double w = 0, h = 0;
        GetSpriteSize(header, w, h);
        tx += w;
    }
    const double last = ArrayBound(options, 0) - 1;
    for (;;) {
        if (header >= 0) DrawSprite(header, 16, 16);
        PrintText(title, tx, 20);
        result = DrawOptions(options, selection, tx);
        const double d = KeyState(kKeyDown) - KeyState(kKeyUp);
        if (d != 0) {
            selection += d;
            if (selection < 0) selection = 0;
            if (selection > last) selection = last;
            while (KeyState(kKeyDown) != 0 || KeyState(kKeyUp) != 0) {
            }
        }
        if (ConfirmHeld()) break;
        PresentFrame();
    }
    PlaySoundSlot(0, 0, Volume);
    BlendToBackground(MenuBackground());
    return result;
}

double RunOptionsMenu(RtArray& portraits, RtArray& levels) {
    RtArray options, working;
    RtTextArray texts;
    BlendToBackground(MenuBackground());
    LoadSprite(RtString("menu/icon.png"), kIconSlot);
    SetLabels(texts, {"1", "2", "3", "4", "5", "6", "7"});
    MakeLabelSprites(texts, options, kFirstLabelSlot);
    const double players = ChoiceScreen(RtString("Players:"), kIconSlot, options, 1) + 1;
    DimArray(portraits, players);
    DimArray(levels, players);
    FillArrayFromList(working, kSelectablePortraits);
    for (double p = 0; p < players; ++p) {
        SetLabels(texts, {RtString("Nr.") + NumberText(p + 1)});
        MakeLabelSprites(texts, options, kIconSlot);
        const double i = ChoiceScreen(RtString("Image"), kIconSlot, working, 0);
        portraits(p) = working(i);
        RemoveEntry(working, i);
        SetLabels(texts, {"Easy", "Normal", "Hard"});
        MakeLabelSprites(texts, options, kFirstLabelSlot);
        levels(p) = ChoiceScreen(RtString("Difficulty"), portraits(p), options, 0);
    }
    SetLabels(texts, {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"});
    MakeLabelSprites(texts, options, kFirstLabelSlot);
    return ChoiceScreen(RtString("Rounds:"), -1, options, 0) + TextToNumber(texts(0));
}
