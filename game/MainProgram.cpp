#include "game/Game.h"

void MainProgram() {
    for (;;) PresentFrame();
}
