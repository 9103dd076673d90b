#include "runtime/runtime.h"

#include "runtime/pathfind/Planner.h"
#include "runtime/values/Truncate.h"

namespace {

SearchParameters GridParameters(RtArray& map, double weight, double startX, double startY,
                                double goalX, double goalY) {
    SearchParameters parameters;
    parameters.startX = TruncateInt32(startX);
    parameters.startY = TruncateInt32(startY);
    parameters.goalX = TruncateInt32(goalX);
    parameters.goalY = TruncateInt32(goalY);
    parameters.trueDiagonalCost = 1;
    parameters.diagonalMoves = 0;
    parameters.poolCapacity = 0;
    parameters.openCapacity = 0;
    parameters.closedExponent = 8;
    parameters.weight = ClampWeight(weight);
    parameters.width = map.size[0];
    parameters.height = map.size[1];
    parameters.sourceCells = map.data;
    return parameters;
}

double WriteRoute(const Node* goal, RtArray& path) {
    int32_t count = 0;
    for (const Node* node = goal; node; node = node->parent) ++count;
    if (count == 0) {
        RedimArray(path, 0);
        return 0;
    }
    RedimArray(path, count, 2);
    int32_t index = count - 1;
    for (const Node* node = goal; node; node = node->parent, --index) {
        path(index, 0) = node->x;
        path(index, 1) = node->y;
    }
    return count;
}

}  // namespace

double FindGridPath(RtArray& map, RtArray& path, double weight, double startX, double startY,
                    double goalX, double goalY) {
    AStarPlanner planner;
    if (!planner.SetUp(GridParameters(map, weight, startX, startY, goalX, goalY))) return 0;
    planner.StartSearch();
    planner.Search();
    const double count = WriteRoute(planner.Result(), path);
    planner.ClearSearch();
    return count;
}
