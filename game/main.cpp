// Process entry: the command line is kept for the game, not interpreted.
#include <cstdio>
#include <string>

#include "game/Game.h"

int main(int argc, char** argv) {
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) commandLine += ' ';
        commandLine += argv[i];
    }
    constexpr int kShowDefault = 10;
    GameEntry(nullptr, nullptr, commandLine.c_str(), kShowDefault);
    // Only a failed start-up comes back here: there is no device to run on.
    std::fprintf(stderr, "quorbel: cannot open the game window: %s\n", DeviceCreateError());
    return 1;
}
