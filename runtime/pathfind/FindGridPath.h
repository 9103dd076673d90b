// The game's path-finding command: a cheapest route over a cost grid held in
// a two-dimensional array, found by a weighted A* in straight steps.
#pragma once

#include "runtime/values/RtArray.h"

// map[x][y] is the cost of entering (x, y), 0 or less a wall. The route,
// start and goal included, goes into path as path[i][0] = x, path[i][1] = y.
// Returns its length, or 0: then path is emptied when there is no route, and
// left as it was when the arguments are unusable (start or goal outside the
// map, start equal to goal, no open cell).
double FindGridPath(RtArray& map, RtArray& path, double weight, double startX, double startY,
                    double goalX, double goalY);
