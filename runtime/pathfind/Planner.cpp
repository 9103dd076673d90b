#include "runtime/pathfind/Planner.h"

#include <cstdlib>
#include <limits>
#include <new>

namespace {

bool InsideGrid(const SearchParameters& p, int32_t x, int32_t y) {
    return x >= 0 && x < p.width && y >= 0 && y < p.height;
}

// Walls become -1 and open cells c become c / M + 1, M the largest open
// value, so every open cell costs more than 1 and at most 2 and the Manhattan
// distance never overestimates. Null when no cell is open.
float* ConvertCostGrid(const double* cells, int64_t count) {
    float* costs = new (std::nothrow) float[count];
    if (!costs) return nullptr;
    float largest = 0;
    for (int64_t i = 0; i < count; ++i) {
        const double value = cells[i];
        // Not-a-number is no cost either; values beyond a float's range keep its largest.
        float cost = !(value > 0)                                ? Planner::kWall
                     : value > std::numeric_limits<float>::max() ? std::numeric_limits<float>::max()
                                                                 : static_cast<float>(value);
        if (!(cost > 0)) cost = Planner::kWall;  // too small for a float
        if (cost > largest) largest = cost;
        costs[i] = cost;
    }
    if (!(largest > 0)) {
        delete[] costs;
        return nullptr;
    }
    for (int64_t i = 0; i < count; ++i) {
        if (costs[i] > 0) costs[i] = costs[i] / largest + 1;
    }
    return costs;
}

}  // namespace

float ClampWeight(double weight) {
    if (weight < 0) return 0;
    if (weight > 1) return 1;
    return static_cast<float>(weight);
}

Planner::~Planner() {
    delete[] costs_;
}

bool Planner::SetUp(const SearchParameters& parameters) {
    const SearchParameters& p = parameters;
    if (p.width <= 0 || p.height <= 0 || !p.sourceCells) return false;
    if (!InsideGrid(p, p.startX, p.startY) || !InsideGrid(p, p.goalX, p.goalY)) return false;
    if (p.startX == p.goalX && p.startY == p.goalY) return false;
    const int64_t cellCount = static_cast<int64_t>(p.width) * p.height;
    if (cellCount > std::numeric_limits<int32_t>::max()) return false;
    float* costs = ConvertCostGrid(p.sourceCells, cellCount);
    if (!costs) return false;
    const int32_t cells = static_cast<int32_t>(cellCount);
    if (!pool_.Create(p.poolCapacity > 0 ? p.poolCapacity : cells) ||
        !open_.Allocate(p.openCapacity > 0 ? p.openCapacity : cells) ||
        !closed_.Create(p.closedExponent)) {
        delete[] costs;
        return false;
    }
    delete[] costs_;
    costs_ = costs;
    parameters_ = parameters;
    parameters_.weight = ClampWeight(parameters_.weight);
    result_ = nullptr;
    idle_ = true;
    return true;
}

void Planner::StartSearch() {
    idle_ = false;
    result_ = nullptr;
}

void Planner::ClearSearch() {
    open_.Clear();
    closed_.Clear();
    result_ = nullptr;
    idle_ = true;
}

AStarPlanner::~AStarPlanner() = default;

void AStarPlanner::StartSearch() {
    Planner::StartSearch();
    Node* start = pool_.NewNode();
    if (!start) return;
    start->parent = nullptr;
    start->x = parameters_.startX;
    start->y = parameters_.startY;
    start->g = 0;
    start->f = 0;
    start->bucketNext = nullptr;
    open_.PushBack(start);
}

bool AStarPlanner::Search() {
    ++searchCount_;
    while (!open_.Empty()) {
        Node* node = open_.Back();
        open_.PopBack();
        if (node->x == parameters_.goalX && node->y == parameters_.goalY) {
            closed_.Insert(node);
            result_ = node;
            idle_ = true;
            return true;
        }
        Expand(node);
        closed_.Insert(node);
    }
    idle_ = open_.Empty();
    return false;
}

void AStarPlanner::Expand(Node* node) {
    struct Step {
        int32_t dx, dy;
        bool diagonal;
    };
    static constexpr Step kSteps[8] = {{-1, -1, true}, {0, -1, false}, {1, -1, true},
                                       {-1, 0, false}, {1, 0, false},  {-1, 1, true},
                                       {0, 1, false},  {1, 1, true}};
    for (const Step& step : kSteps) {
        if (step.diagonal && !parameters_.diagonalMoves) continue;
        Visit(node, node->x + step.dx, node->y + step.dy, step.diagonal);
    }
}

void AStarPlanner::Visit(Node* from, int32_t x, int32_t y, bool diagonal) {
    if (!InsideGrid(parameters_, x, y)) return;
    const float cost = CellCost(x, y);
    if (cost == kWall) return;
    const float factor = diagonal && parameters_.trueDiagonalCost ? kDiagonalFactor : 1.0f;
    const float g = from->g + cost * factor;
    const int32_t h = std::abs(parameters_.goalX - x) + std::abs(parameters_.goalY - y);
    const float f = g + parameters_.weight * (static_cast<float>(h) - g);

    if (Node* closed = closed_.Find(x, y)) {
        if (closed->g > g) {
            closed_.Unlink();
            Reopen(closed, from, x, y, g, f);
        }
        return;
    }
    const int32_t position = FindOpen(x, y);
    if (position >= 0) {
        Node* open = open_.At(position);
        if (open->g > g) {
            open_.Erase(position);
            Reopen(open, from, x, y, g, f);
        }
        return;
    }
    if (Node* fresh = pool_.NewNode()) Reopen(fresh, from, x, y, g, f);
}

void AStarPlanner::Reopen(Node* node, Node* parent, int32_t x, int32_t y, float g, float f) {
    node->parent = parent;
    node->x = x;
    node->y = y;
    node->g = g;
    node->f = f;
    InsertOpen(node);
}

// The open list runs from the largest f at the front to the smallest at the
// back; a node goes in front of every node of equal f, so among equals the
// one queued first leaves first.
void AStarPlanner::InsertOpen(Node* node) {
    int32_t lo = 0;
    int32_t hi = open_.Size();
    while (lo < hi) {
        const int32_t mid = (lo + hi) / 2;
        if (open_.At(mid)->f > node->f)
            lo = mid + 1;
        else
            hi = mid;
    }
    open_.Insert(lo, node);
}

int32_t AStarPlanner::FindOpen(int32_t x, int32_t y) const {
    for (int32_t position = open_.Size() - 1; position >= 0; --position) {
        const Node* node = open_.At(position);
        if (node->x == x && node->y == y) return position;
    }
    return -1;
}
