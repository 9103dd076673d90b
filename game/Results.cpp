// The ranking: players by average time per turn, fastest first.
#include "game/Game.h"

RtString ResultLineText(double time, double rounds) {
    return FormatNumber(8, 1, time / (1000 * rounds)) + " sec.";
}

double ShowResults(RtArray& portraits, RtArray& times, double rounds) {
    const double players = ArrayBound(portraits, 0);
    RtArray order;
    DimArray(order, players);
    for (double i = 0; i < players; ++i) order(i) = i;
    // Bubble sort; equal times keep the players' order.
    for (bool swapped = true; swapped;) {
        swapped = false;
        for (double j = 0; j <= players - 2; ++j) {
            if (times(order(j)) > times(order(j + 1))) {
                const double t = order(j);
                order(j) = order(j + 1);
                order(j + 1) = t;
                swapped = true;
            }
        }
    }
    PrintText(RtString("TIME/PICK:"), 16, 0);
    for (double i = 0; i < players; ++i) {
        const double y = i * 32 + 48;
        const double p = order(i);
        DrawBadge(portraits(p), 16, y);
        PrintText(ResultLineText(times(p), rounds), 50, y + 4);
    }
    PresentFrame();
    WaitForKey();
    return 0;
}
