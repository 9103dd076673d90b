// Starter: fly the ship with the arrow keys (or hold the left mouse button
// where it should go) and catch as many coins as you can in 30 seconds. The
// best score is kept in starter.ini beside the program.
//
//   starter                            play until Escape or the close box
//   starter --frames N --shot FILE     N frames flown by the autopilot, then
//                                      the screen saved to FILE and the end
#include <quorbel/runtime.h>
#include <algorithm>
#include <cstring>

constexpr double kSky = RgbColour(24, 28, 64);
constexpr double kGround = RgbColour(40, 110, 50);

// The word after `name` on the command line; "" when it is not there.
RtString Option(int argc, char** argv, const char* name) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0) return argv[i + 1];
    return "";
}

constexpr double kShip = 1, kCoin = 2;
double ShipX = 152, ShipY = 112;
double CoinX = 48, CoinY = 48;

// 1: nobody is at the keys (a run of a fixed number of frames), the ship
// flies itself.
double Autopilot = 0;

// -1, 0 or 1: which way to go from `from` to come within a pixel of `to`.
double Toward(double from, double to) {
    if (to > from + 1) return 1;
    if (to < from - 1) return -1;
    return 0;
}

// The arrow keys move the ship two pixels a frame; holding the left button
// steers it to the pointer instead, and the autopilot steers it to the coin.
void SteerShip() {
    double x, y, left, right;
    ReadMouse(x, y, left, right);
    if (Autopilot != 0) {
        x = CoinX + 6;
        y = CoinY + 6;
        left = 1;
    }
    double dx = KeyState(kKeyRight) - KeyState(kKeyLeft);
    double dy = KeyState(kKeyDown) - KeyState(kKeyUp);
    if (left != 0) {
        dx = Toward(ShipX + 8, x);
        dy = Toward(ShipY + 8, y);
    }
    ShipX = std::clamp(ShipX + 2 * dx, 0.0, 304.0);
    ShipY = std::clamp(ShipY + 2 * dy, 16.0, 208.0);
}

double Score = 0;

// Somewhere new in the sky for the coin.
void PlaceCoin() {
    CoinX = 8 + RandomInt(296);
    CoinY = 24 + RandomInt(184);
}

// 1 when the ship's and the coin's solid pixels meet: the coin is caught and
// moves on. Else 0.
double CatchCoin() {
    if (SpriteCollision(kShip, ShipX, ShipY, kCoin, CoinX, CoinY) == 0) return 0;
    PlaceCoin();
    return 1;
}

constexpr double kBlip = 0;

constexpr double kRoundSeconds = 30;
double RoundStart = 0;
double Best = 0;

// Whole seconds left in this round.
double TimeLeft() {
    return kRoundSeconds - static_cast<int>((ElapsedMs() - RoundStart) / 1000);
}

// A new best score goes into the INI table at once; EndProgram writes the
// table back to starter.ini however the program ends.
void KeepBest() {
    if (Score <= Best) return;
    Best = Score;
    IniPut("starter", "best", NumberText(Best));
}

// Time is up: the score stays on the screen until Space or a click starts
// the next round.
void RoundOver() {
    double x, y, left = 0, right;
    while (KeyState(kKeySpace) == 0 && left == 0) {
        DrawRect(0, 0, 320, 240, kSky);
        PrintText("SCORE " + NumberText(Score) + "   BEST " + NumberText(Best), 84, 96);
        PrintText("SPACE OR CLICK: ANOTHER ROUND", 44, 120);
        PresentFrame();
        ReadMouse(x, y, left, right);
    }
    Score = 0;
    RoundStart = ElapsedMs();
    PlaceCoin();
}

// The program's own file, which carries its media: StartEngine made the
// program's folder the current one, and argv[0] ends with the file's name.
RtString OwnProgram(const char* argv0) {
    const char* slash = std::strrchr(argv0, '/');
    return CurrentDirectory() + "/" + (slash ? slash + 1 : argv0);
}

int main(int argc, char** argv) {
    const double frames = TextToNumber(Option(argc, argv, "--frames"));
    const RtString shot = Option(argc, argv, "--shot");
    ProjectSettings settings;  // 320 x 240 pixels, in a window, 60 frames a second
    SetProjectSettings(settings);
    char commandLine[256] = "";
    if (!StartEngine(nullptr, nullptr, commandLine, 10, "Starter")) return 1;
    SetShoebox(OwnProgram(argv[0]), OwnProgram(argv[0]));

    LoadSprite("ship.bmp", kShip);
    LoadSprite("coin.bmp", kCoin);
    Autopilot = frames > 0 ? 1 : 0;
    LoadSoundFile("blip.wav", kBlip, 2);
    IniOpen("starter.ini");
    Best = TextToNumber(IniGet("starter", "best"));
    RoundStart = ElapsedMs();

    for (double frame = 1;; ++frame) {
        DrawRect(0, 0, 320, 240, kSky);
        DrawRect(0, 224, 320, 16, kGround);
        SteerShip();
        const double caught = CatchCoin();
        Score = Score + caught;
        if (caught != 0) PlaySoundSlot(kBlip, (ShipX - 152) / 152, 1);
        KeepBest();
        DrawSprite(kCoin, CoinX, CoinY);
        DrawSprite(kShip, ShipX, ShipY);
        PrintText("SCORE " + NumberText(Score), 4, 4);
        PrintText("BEST " + NumberText(Best), 128, 4);
        PrintText("TIME " + NumberText(TimeLeft()), 252, 4);
        if (frame == frames) {
            SaveScreen(shot);
            EndProgram();
        }
        PresentFrame();
        if (TimeLeft() <= 0) RoundOver();
    }
}
