// A packed media archive read back through SetShoebox. The build packs four
// files with sbpack (tools/sbpack.cpp):
//
//   sbpack pack examples.sbx vux/07.png smalfont.png blip.wav archive.ini
//
// Members are found by the last part of a name, without letter case, once no
// plain file of that name opens; a plain file beside the program wins.
//
//   example_archive [--frames N]   N frames, then archive.png and the end; else until Escape
#include "examples/ExampleStart.h"

namespace {

constexpr double kPortraitSlot = 1, kSoundSlot = 0, kArchiveFont = 1;
constexpr double kBackground = RgbColour(40, 32, 24);

void Lamp(double y, double on, const char* label) {
    DrawRect(168, y, 12, 12, on != 0 ? kColourGreen : kColourRed);
    PrintText(label, 186, y + 2);
}

}  // namespace

int main(int argc, char** argv) {
    const double frames = FramesWanted(argc, argv);
    if (!StartExample("Archive")) return 1;

    SetShoebox("examples.sbx", "examples.sbx");  // media names, then music and movie names
    const double portrait = LoadSprite("vux/07.png", kPortraitSlot);
    const double sound = LoadSoundFile("blip.wav", kSoundSlot, 1);
    LoadFont("smalfont.png", kArchiveFont);
    double cellWidth = 0, cellHeight = 0;
    GetFontSize(cellWidth, cellHeight);
    const double font = cellHeight != 8 ? 1 : 0;  // the built-in font's cells are 8 x 8
    IniOpen("archive.ini");
    const RtString caption = IniGet("portrait", "caption");
    const double table = caption != "NO_DATA" ? 1 : 0;
    PlaySoundSlot(kSoundSlot, 0, 1);

    for (double frame = 0;; ++frame) {
        DrawRect(0, 0, 320, 240, kBackground);
        SetFont(0);
        PrintText("examples.sbx", 8, 8);
        DrawSprite(kPortraitSlot, 16, 32);
        ZoomSprite(kPortraitSlot, 40, 136, 1.5, 1.5);
        Lamp(32, portrait, "07.png");
        Lamp(50, font, "smalfont.png");
        Lamp(68, sound, "blip.wav");
        Lamp(86, table, "archive.ini");
        PrintText(RtString("members: ") + IniGet("archive", "members"), 168, 110);
        SetFont(kArchiveFont);
        PrintText(caption, 8, 220);

        if (frame + 1 == frames) {
            SaveScreen("archive.png");
            EndProgram();  // also removes the members unpacked into the temporary folder
        }
        PresentFrame();
    }
}
