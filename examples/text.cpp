// Text, fonts and an INI high-score table. A font is a picture of 16 cells a
// row: this one is made from the built-in font, drawn twice the size and
// tinted, saved as a BMP and loaded back. The five best scores live in
// scores.ini; a new one goes in at its rank and is written back at the end.
//
//   example_text [--frames N] [--score S] [--name NAME]
//   N frames, then text.png and the end (else until Escape); S: a score to enter under NAME
#include "examples/ExampleStart.h"

namespace {

constexpr double kRanks = 5;
constexpr double kSheetSlot = 10, kBigSheetSlot = 11;
constexpr double kBackground = RgbColour(16, 16, 32);
constexpr double kHighlight = RgbColour(40, 60, 160);

// Codes 32..127 of the built-in font in 8 rows of 16 cells, on the transparent
// colour, stretched to 16 x 16 cells with a yellow-to-orange tint; font 1.
void MakeBigFont() {
    LoadFont("", 0);
    DrawRect(0, 0, 128, 64, kColourTransparentKey);
    for (double code = 32; code < 128; ++code)
        PrintText(CharText(code), IntMod(code, 16) * 8, static_cast<int>(code / 16) * 8);
    GrabSprite(kSheetSlot, 0, 0, 128, 64);

    DrawRect(0, 0, 256, 128, kColourTransparentKey);
    SetSmoothing(0);
    // Corners counter-clockwise as seen on the screen: the other way round is culled.
    StartPolygon(kSheetSlot);
    PolygonVertex(0, 0, 0, 0, kColourYellow);
    PolygonVertex(0, 128, 0, 64, RgbColour(255, 128, 0));
    PolygonVertex(256, 128, 128, 64, RgbColour(255, 128, 0));
    PolygonVertex(256, 0, 128, 0, kColourYellow);
    EndPolygon();
    GrabSprite(kBigSheetSlot, 0, 0, 256, 128);
    SaveSprite("bigfont.bmp", kBigSheetSlot);
    LoadFont("bigfont.bmp", 1);
}

// The table from scores.ini, or the starting table when it has none.
void LoadScores(RtTextArray& names, RtArray& scores) {
    FillTextArrayFromList(names, {"ADA", "BOB", "CYD", "DEE", "EVE"});
    FillArrayFromList(scores, {5000, 4000, 3000, 2000, 1000});
    IniOpen("scores.ini");
    for (double rank = 0; rank < kRanks; ++rank) {
        const RtString number = NumberText(rank + 1);
        const RtString name = IniGet("scores", RtString("name") + number);
        if (name == "NO_DATA") continue;
        names(rank) = name;
        scores(rank) = TextToNumber(IniGet("scores", RtString("score") + number));
    }
}

// Returns the new entry's rank 0..4, or -1 when the score is not among the best.
double EnterScore(RtTextArray& names, RtArray& scores, const RtString& name, double score) {
    double rank = 0;
    while (rank < kRanks && scores(rank) >= score) ++rank;  // equal scores: the older first
    if (rank == kRanks) return -1;
    for (double r = kRanks - 1; r > rank; --r) {
        names(r) = names(r - 1);
        scores(r) = scores(r - 1);
    }
    names(rank) = name;
    scores(rank) = score;
    for (double r = 0; r < kRanks; ++r) {
        const RtString number = NumberText(r + 1);
        IniPut("scores", RtString("name") + number, names(r));
        IniPut("scores", RtString("score") + number, NumberText(scores(r)));
    }
    return rank;
}

}  // namespace

int main(int argc, char** argv) {
    const double frames = FramesWanted(argc, argv);
    const RtString scoreText = Argument(argc, argv, "--score", "");
    const RtString playerName = UpperText(Argument(argc, argv, "--name", "YOU"));
    if (!StartExample("Text")) return 1;

    MakeBigFont();
    RtTextArray names;
    RtArray scores;
    LoadScores(names, scores);
    double newRank = -1;
    if (TextLength(scoreText) > 0)
        newRank = EnterScore(names, scores, playerName, TextToNumber(scoreText));

    for (double frame = 0;; ++frame) {
        DrawRect(0, 0, 320, 240, kBackground);
        SetFont(1);
        double cellWidth = 0, cellHeight = 0;
        GetFontSize(cellWidth, cellHeight);
        const RtString title = "HIGH SCORES";
        PrintText(title, (320 - TextLength(title) * cellWidth) / 2, 16);

        SetFont(0);
        for (double rank = 0; rank < kRanks; ++rank) {
            const double y = 64 + rank * 20;
            if (rank == newRank) DrawRect(40, y - 4, 240, 16, kHighlight);
            PrintText(NumberText(rank + 1) + ".", 56, y);
            PrintText(names(rank), 88, y);
            PrintText(FormatNumber(8, 0, scores(rank)), 200, y);
        }
        const RtString cells = NumberText(cellWidth) + " x " + NumberText(cellHeight);
        PrintText(RtString("font 1 cells: ") + cells, 56, 180);
        PrintText(newRank >= 0 ? "written back at the end" : "scores.ini unchanged", 56, 200);

        if (frame + 1 == frames) {
            SaveScreen("text.png");
            EndProgram();  // writes the changed table back to scores.ini
        }
        PresentFrame();
    }
}
