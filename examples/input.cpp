// Keyboard, mouse and joystick read-out. The mouse is captured (its pointer
// hidden) and starts at (260, 130), right of the read-out; held keys light up on a
// small keyboard, typed characters collect in a line, and the first joystick
// shows its axes, hat and buttons.
//
//   example_input [--frames N]   N frames, then input.png and the end; else until Escape
#include "examples/ExampleStart.h"

namespace {

constexpr double kBackground = RgbColour(16, 24, 24);
constexpr double kCapUp = RgbColour(48, 64, 64);
constexpr double kCapDown = RgbColour(255, 200, 0);

void Lamp(double x, double y, double on) {
    DrawRect(x, y, 10, 10, on != 0 ? kColourRed : kCapUp);
}

// An axis -1..1 as a marker on a bar 64 pixels wide.
void Axis(const char* name, double value, double x, double y) {
    PrintText(name, x, y);
    DrawRect(x + 24, y + 3, 64, 2, kColourGrey);
    DrawRect(x + 24 + (value + 1) * 30, y, 4, 8, kColourCyan);
}

}  // namespace

int main(int argc, char** argv) {
    const double frames = FramesWanted(argc, argv);
    ProjectSettings settings;
    settings.captureMouse = 1;
    if (!StartExample("Input", settings)) return 1;

    // Five rows of keys and their labels; row r runs from rowStart(r) to rowStart(r + 1).
    RtArray keys;
    // clang-format off
    FillArrayFromList(keys, {kKey1, kKey2, kKey3, kKey4, kKey5, kKey6, kKey7, kKey8, kKey9, kKey0,
                             kKeyQ, kKeyW, kKeyE, kKeyR, kKeyT, kKeyY, kKeyU, kKeyI, kKeyO, kKeyP,
                             kKeyA, kKeyS, kKeyD, kKeyF, kKeyG, kKeyH, kKeyJ, kKeyK, kKeyL,
                             kKeyLeftShift, kKeyZ, kKeyX, kKeyC, kKeyV, kKeyB, kKeyN, kKeyM,
                             kKeySpace, kKeyLeft, kKeyUp, kKeyDown, kKeyRight});
    // clang-format on
    const RtString labels = "1234567890QWERTYUIOPASDFGHJKL^ZXCVBNM_<^v>";
    RtArray rowStart;
    FillArrayFromList(rowStart, {0, 10, 20, 29, 37, 42});

    PresentFrame();  // the first frame takes up the motion of capturing the mouse
    SetMousePosition(260, 130);
    RtString typed;
    double wheel = 0;

    for (double frame = 0;; ++frame) {
        DrawRect(0, 0, 320, 240, kBackground);
        PrintText("INPUT (Escape quits)", 8, 4);

        for (double row = 0; row < 5; ++row) {
            for (double i = rowStart(row); i < rowStart(row + 1); ++i) {
                const double x = 8 + row * 6 + (i - rowStart(row)) * 14, y = 20 + row * 14;
                DrawRect(x, y, 12, 12, KeyState(keys(i)) != 0 ? kCapDown : kCapUp);
                PrintText(CharText(labels.CStr()[static_cast<int>(i)]), x + 2, y + 2);
            }
        }
        const RtString character = TypedChar();
        if (TextLength(character) > 0) typed += character;
        if (TextLength(typed) > 36) {
            const RtString rest = typed.CStr() + 1;
            typed = rest;
        }
        PrintText(RtString("typed: ") + typed, 8, 94);

        double x = 0, y = 0, left = 0, right = 0;
        ReadMouse(x, y, left, right);
        wheel += ReadMouseAxis(2);
        DrawLine(x - 6, y, x + 6, y, kColourWhite);
        DrawLine(x, y - 6, x, y + 6, kColourWhite);
        PrintText(RtString("mouse ") + NumberText(x) + ", " + NumberText(y) + " wheel " +
                      NumberText(wheel),
                  8, 112);
        Lamp(8, 124, left);
        Lamp(22, 124, ReadMouseAxis(5));
        Lamp(36, 124, right);

        const double count = JoystickCount();
        PrintText(RtString("joysticks: ") + NumberText(count), 8, 146);
        if (count > 0) {
            PrintText(JoystickName(0), 8, 158);
            Axis("X", JoystickX(0), 8, 172);
            Axis("Y", JoystickY(0), 8, 184);
            Axis("Z", JoystickZ(0), 8, 196);
            Axis("RX", JoystickRX(0), 112, 172);
            Axis("RY", JoystickRY(0), 112, 184);
            Axis("RZ", JoystickRZ(0), 112, 196);
            DrawRect(240 + JoystickHatX(0) * 12, 184 + JoystickHatY(0) * 12, 8, 8, kColourCyan);
            double stickX = 0, stickY = 0, button1 = 0, button2 = 0;
            ReadJoystick(stickX, stickY, button1, button2);
            Lamp(230, 210, button1);
            Lamp(244, 210, button2);
        } else {
            DrawRect(8, 160, 200, 48, kCapUp);
            PrintText("no joystick attached", 24, 180);
        }

        if (frame + 1 == frames) {
            SaveScreen("input.png");
            EndProgram();
        }
        PresentFrame();
    }
}
