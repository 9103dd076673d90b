// Grid path finding drawn on the screen. The map is 20 x 14 cells of 16
// pixels, each holding the cost of entering it (0: a wall). A left click picks
// the goal, a right click the start; FindGridPath finds the route again.
//
//   example_pathfind [--frames N]   N frames, then pathfind.png and the end; else until Escape
#include "examples/ExampleStart.h"

namespace {

constexpr double kColumns = 20, kRows = 14, kCell = 16;
constexpr double kOpen = RgbColour(40, 56, 40), kWall = RgbColour(120, 120, 130);

void Fill(RtArray& map, double x0, double y0, double x1, double y1, double cost) {
    for (double x = x0; x <= x1; ++x)
        for (double y = y0; y <= y1; ++y) map(x, y) = cost;
}

// Three walls across the map with one or two gaps each, and two short ones.
void BuildMap(RtArray& map) {
    DimArray(map, kColumns, kRows);
    Fill(map, 0, 0, kColumns - 1, kRows - 1, 1);
    Fill(map, 4, 0, 4, kRows - 1, 0);
    Fill(map, 4, 11, 4, 11, 1);
    Fill(map, 9, 0, 9, kRows - 1, 0);
    Fill(map, 9, 2, 9, 2, 1);
    Fill(map, 14, 0, 14, kRows - 1, 0);
    Fill(map, 14, 6, 14, 6, 1);
    Fill(map, 14, 11, 14, 11, 1);
    Fill(map, 10, 5, 12, 5, 0);
    Fill(map, 15, 9, 18, 9, 0);
}

// The cell under a screen position, or -1 when it is off the map.
double CellAt(double x, double y) {
    const double column = static_cast<int>(x / kCell), row = static_cast<int>(y / kCell);
    return column < kColumns && row < kRows ? row * kColumns + column : -1;
}

void Mark(double x, double y, double inset, double colour) {
    DrawRect(x * kCell + inset, y * kCell + inset, kCell - 1 - 2 * inset, kCell - 1 - 2 * inset,
             colour);
}

}  // namespace

int main(int argc, char** argv) {
    const double frames = FramesWanted(argc, argv);
    if (!StartExample("Path finding")) return 1;

    RtArray map, path;
    BuildMap(map);
    double startX = 1, startY = 1, goalX = 18, goalY = 12;
    double steps = 0, searched = 0, wasLeft = 0, wasRight = 0;

    for (double frame = 0;; ++frame) {
        double x = 0, y = 0, left = 0, right = 0;
        ReadMouse(x, y, left, right);
        const double cell = CellAt(x, y);
        const double cellX = IntMod(cell, kColumns), cellY = static_cast<int>(cell / kColumns);
        if (cell >= 0 && map(cellX, cellY) > 0) {
            if (left != 0 && wasLeft == 0) {
                goalX = cellX;
                goalY = cellY;
                searched = 0;
            }
            if (right != 0 && wasRight == 0) {
                startX = cellX;
                startY = cellY;
                searched = 0;
            }
        }
        wasLeft = left;
        wasRight = right;
        if (searched == 0) {
            // Weight 0.5: cost so far and distance to go count alike.
            steps = FindGridPath(map, path, 0.5, startX, startY, goalX, goalY);
            searched = 1;
        }

        DrawRect(0, 0, 320, 240, kColourBlack);
        for (double cx = 0; cx < kColumns; ++cx)
            for (double cy = 0; cy < kRows; ++cy) Mark(cx, cy, 0, map(cx, cy) > 0 ? kOpen : kWall);
        for (double i = 1; i < steps - 1; ++i) Mark(path(i, 0), path(i, 1), 4, kColourYellow);
        Mark(startX, startY, 2, kColourCyan);
        Mark(goalX, goalY, 2, kColourRed);
        if (cell >= 0) {  // the cell under the pointer, outlined in the gaps around it
            const double x0 = cellX * kCell - 1, y0 = cellY * kCell - 1;
            DrawLine(x0, y0, x0 + kCell, y0, kColourWhite);
            DrawLine(x0, y0 + kCell, x0 + kCell, y0 + kCell, kColourWhite);
            DrawLine(x0, y0, x0, y0 + kCell, kColourWhite);
            DrawLine(x0 + kCell, y0, x0 + kCell, y0 + kCell, kColourWhite);
        }
        PrintText(steps > 0 ? RtString("route: ") + NumberText(steps - 1) + " steps"
                            : RtString("no route"),
                  4, 228);
        PrintText("L: goal  R: start", 176, 228);

        if (frame + 1 == frames) {
            SaveScreen("pathfind.png");
            EndProgram();
        }
        PresentFrame();
    }
}
