// Off-screen targets and a screenshot. Target 0 is drawn once into slot 20
// and then used as a sprite (as it is, halved, turning); target 1 is drawn
// every frame as a small map of the scene. F12 saves screenshot.png.
//
//   example_offscreen [--frames N]
//   N frames, then offscreen.png, target.bmp (slot 20's picture) and the end; else until Escape
#include "examples/ExampleStart.h"

namespace {

constexpr double kTileSlot = 20, kMapSlot = 21;
constexpr double kBackground = RgbColour(32, 32, 40), kMapBackground = RgbColour(0, 40, 80);
constexpr double kBallColour = RgbColour(255, 160, 0);

// Red, green, blue and white quarters; GetPixel reads the target in use.
bool DrawTile() {
    CreateScreen(0, kTileSlot, 64, 64);
    UseScreen(0);
    DrawRect(0, 0, 32, 32, kColourRed);
    DrawRect(32, 0, 32, 32, kColourGreen);
    DrawRect(0, 32, 32, 32, kColourBlue);
    DrawRect(32, 32, 32, 32, kColourWhite);
    const bool drawn = GetPixel(40, 8) == kColourGreen;
    UseScreen(-1);
    return drawn;
}

}  // namespace

int main(int argc, char** argv) {
    const double frames = FramesWanted(argc, argv);
    if (!StartExample("Off-screen targets")) return 1;

    const bool tileDrawn = DrawTile();
    CreateScreen(1, kMapSlot, 80, 60);
    double shots = 0, wasF12 = 0;

    for (double frame = 0;; ++frame) {
        const double ballX = 192 + static_cast<int>(80 * SinDeg(frame * 4));
        const double ballY = 160 + static_cast<int>(48 * CosDeg(frame * 5));

        UseScreen(1);
        DrawRect(0, 0, 80, 60, kMapBackground);
        DrawRect(static_cast<int>(ballX / 4), static_cast<int>(ballY / 4), 4, 4, kBallColour);
        UseScreen(-1);

        DrawRect(0, 0, 320, 240, kBackground);
        PrintText(tileDrawn ? "OFF-SCREEN TARGETS" : "target 0 could not be drawn", 8, 4);
        DrawSprite(kTileSlot, 16, 16);
        ZoomSprite(kTileSlot, 100, 16, 0.5, 0.5);
        RotateSprite(kTileSlot, 16, 120, frame * 3);
        DrawRect(ballX, ballY, 16, 16, kBallColour);
        DrawRect(230, 6, 84, 64, kColourWhite);
        DrawSprite(kMapSlot, 232, 8);
        PrintText("map", 260, 74);
        PrintText(RtString("F12: screenshot (") + NumberText(shots) + ")", 8, 228);

        const double f12 = KeyState(kKeyF12);
        if (f12 != 0 && wasF12 == 0) shots += SaveScreen("screenshot.png");
        wasF12 = f12;
        if (frame + 1 == frames) {
            SaveScreen("offscreen.png");
            SaveSprite("target.bmp", kTileSlot);
            EndProgram();
        }
        PresentFrame();
    }
}
