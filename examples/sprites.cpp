// Sprites and pixel-exact collision: a ball written as a BMP file with the
// file commands, a cross drawn on the screen and grabbed, and SpriteCollision,
// which only answers 1 where solid pixels of both pictures meet.
//
//   example_sprites [--frames N]   N frames, then sprites.png and the end; else until Escape
#include "examples/ExampleStart.h"

namespace {

constexpr double kBallSlot = 1, kCrossSlot = 2;
constexpr double kBackground = RgbColour(20, 24, 48);
constexpr double kBallColour = RgbColour(40, 120, 255);
constexpr double kCrossColour = RgbColour(230, 140, 30);

// BMP stores blue, green, red; WriteByte keeps the low 8 bits of each quotient.
void WriteColour(double channel, double colour) {
    WriteByte(channel, colour / 65536);
    WriteByte(channel, colour / 256);
    WriteByte(channel, colour);
}

// A 32 x 32 ball of radius 12 with a highlight, on the transparent colour.
void WriteBallPicture(const RtString& file) {
    const double size = 32, rowBytes = size * 3;  // 96 bytes: rows need no padding
    OpenFile(0, file, 0);
    WriteByte(0, CharCode("B"));
    WriteByte(0, CharCode("M"));
    WriteLong(0, 54 + rowBytes * size);  // file size
    WriteLong(0, 0);
    WriteLong(0, 54);  // where the pixels start
    WriteLong(0, 40);  // the size of this header
    WriteLong(0, size);
    WriteLong(0, size);
    WriteWord(0, 1);   // planes
    WriteWord(0, 24);  // bits per pixel
    WriteLong(0, 0);   // no compression
    WriteLong(0, rowBytes * size);
    WriteLong(0, 2835);  // 72 dots per inch, both ways
    WriteLong(0, 2835);
    WriteLong(0, 0);
    WriteLong(0, 0);
    for (double y = size - 1; y >= 0; --y) {  // the bottom row first
        for (double x = 0; x < size; ++x) {
            const double dx = 2 * x - 31, dy = 2 * y - 31;  // twice the offset from the centre
            double colour = kColourTransparentKey;
            if (dx * dx + dy * dy < 576) colour = kBallColour;
            if ((dx + 10) * (dx + 10) + (dy + 10) * (dy + 10) < 64) colour = kColourWhite;
            WriteColour(0, colour);
        }
    }
    CloseFile(0);
}

// A plus sign with transparent corners, drawn and grabbed before the first frame.
void GrabCross() {
    DrawRect(0, 0, 32, 32, kColourTransparentKey);
    DrawRect(10, 0, 12, 32, kCrossColour);
    DrawRect(0, 10, 32, 12, kCrossColour);
    GrabSprite(kCrossSlot, 0, 0, 32, 32);
}

void Lamp(double x, double y, double on, double colour) {
    DrawRect(x, y, 12, 12, on != 0 ? colour : kColourGrey);
}

// A ball against the cross at a fixed offset, with the answer as a lamp.
void BenchPair(double x, double y, double dx, double dy, const RtString& label) {
    DrawSprite(kCrossSlot, x, y);
    DrawSprite(kBallSlot, x + dx, y + dy);
    const double hit = SpriteCollision(kBallSlot, x + dx, y + dy, kCrossSlot, x, y);
    DrawRect(x, y + 70, 12, 12, hit != 0 ? kColourRed : kColourGreen);
    PrintText(label, x + 16, y + 72);
}

}  // namespace

int main(int argc, char** argv) {
    const double frames = FramesWanted(argc, argv);
    if (!StartExample("Sprites")) return 1;

    WriteBallPicture("ball.bmp");
    if (LoadSprite("ball.bmp", kBallSlot) == 0) PrintText("ball.bmp did not load", 0, 0);
    GrabCross();

    for (double frame = 0;; ++frame) {
        DrawRect(0, 0, 320, 240, kBackground);
        PrintText("SPRITES AND COLLISION", 8, 4);

        // The ball sweeps past the cross; boxes meet long before pixels do.
        // Whole pixels: DrawSprite rounds a position up, SpriteCollision cuts it.
        const double cx = 144, cy = 36;
        const double bx = cx + static_cast<int>(80 * SinDeg(frame * 3)), by = cy + 20;
        const double boxes = AbsValue(bx - cx) < 32 ? 1 : 0;
        const double pixels = SpriteCollision(kBallSlot, bx, by, kCrossSlot, cx, cy);
        DrawSprite(kCrossSlot, cx, cy);
        DrawSprite(kBallSlot, bx, by);
        Lamp(8, 30, boxes, kColourYellow);
        PrintText("boxes", 24, 32);
        Lamp(8, 50, pixels, kColourRed);
        PrintText("pixels", 24, 52);

        // Red: SpriteCollision says 1; green: 0.
        BenchPair(16, 120, 20, 20, "corner");
        BenchPair(120, 120, 20, 4, "arm");
        BenchPair(224, 120, 40, 0, "apart");

        if (frame + 1 == frames) {
            SaveScreen("sprites.png");
            EndProgram();
        }
        PresentFrame();
    }
}
