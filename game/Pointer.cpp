// The pointer (the mouse, or a key-driven cursor) and the volume keys.
#include "game/Game.h"

namespace {

constexpr double kUp = 200, kDown = 208, kLeft = 203, kRight = 205;
constexpr double kPageUp = 201, kPageDown = 209;
constexpr double kKeyA = 30, kKeyD = 32, kKeyS = 31, kKeyW = 17;

double Limit(double v, double low, double high) {
    return v < low ? low : (v > high ? high : v);
}

// Neither key is polled again until both are up: one press, one step.
void WaitForRelease(double key1, double key2) {
    while (KeyState(key1) != 0 || KeyState(key2) != 0) {
    }
}

}  // namespace

double ReadPointer(double& x, double& y, double& button1, double& button2, double update) {
    if (CursorMode == 0) {
        ReadMouse(x, y, button1, button2);
        return 0;
    }
    if (update != 0) {
        CursorX = Limit(CursorX + (KeyState(kRight) - KeyState(kLeft)) * 3, 0, 319);
        CursorY = Limit(CursorY + (KeyState(kDown) - KeyState(kUp)) * 3, 0, 239);
    }
    x = CursorX;
    y = CursorY;
    button1 = (KeyState(kKeyA) != 0 || KeyState(kKeyD) != 0 || KeyState(kKeyS) != 0 ||
               KeyState(kKeyW) != 0)
                  ? 1
                  : 0;
    return 0;
}

RtString VolumeBarText(double volume) {
    RtString bar("[");
    for (double i = 0; i < 10; ++i) {
        if (i == 5)
            bar += "|";
        else if (i < volume * 10)
            bar += "~";
        else
            bar += ".";
    }
    bar += "]";
    return bar;
}

double VolumeKeys(RtArray& board, RtArray& marks) {
    Volume = Limit(Volume + (KeyState(kPageUp) - KeyState(kPageDown)) * 0.1, 0, 1);
    if (KeyState(kPageUp) == 0 && KeyState(kPageDown) == 0) return 0;
    DrawBoard(board, marks, 0, -1);
    PrintText(VolumeBarText(Volume), 0, 0);
    PresentFrame();
    WaitForRelease(kPageUp, kPageDown);
    return 0;
}
