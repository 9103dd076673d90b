// The pointer (the mouse, or a key-driven cursor) and the volume keys.
#include "game/Game.h"

namespace {

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
        CursorX = Limit(CursorX + (KeyState(kKeyRight) - KeyState(kKeyLeft)) * 3, 0, 319);
        CursorY = Limit(CursorY + (KeyState(kKeyDown) - KeyState(kKeyUp)) * 3, 0, 239);
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
    Volume = Limit(Volume + (KeyState(kKeyPageUp) - KeyState(kKeyPageDown)) * 0.1, 0, 1);
    if (KeyState(kKeyPageUp) == 0 && KeyState(kKeyPageDown) == 0) return 0;
    DrawBoard(board, marks, 0, -1);
    PrintText(VolumeBarText(Volume), 0, 0);
    PresentFrame();
    WaitForRelease(kKeyPageUp, kKeyPageDown);
    return 0;
}
