// Shared by the path-finding tests: maps built from rows of text or numbers,
// the route read back from the path array, a plain Dijkstra over the same
// costs, and a second, independent reading of the search's rules (sorted
// vector, cell-indexed arrays) to compare routes with, ties included.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <limits>
#include <queue>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "runtime/runtime.h"
#include "runtime/values/RtArray.h"

namespace pathtest {

using Cell = std::pair<int, int>;
using Route = std::vector<Cell>;

// A width x height grid of cell values, cell (x, y) at x + width * y.
struct Grid {
    int width = 0;
    int height = 0;
    std::vector<double> cells;
    double& at(int x, int y) { return cells[x + width * y]; }
    double at(int x, int y) const { return cells[x + width * y]; }
};

// Rows of text, top row first: '#' a wall, a digit its value, '.' a 1.
inline Grid GridFromRows(const std::vector<std::string>& rows) {
    Grid grid;
    grid.height = static_cast<int>(rows.size());
    grid.width = static_cast<int>(rows.front().size());
    grid.cells.assign(grid.width * grid.height, 1.0);
    for (int y = 0; y < grid.height; ++y)
        for (int x = 0; x < grid.width; ++x) {
            const char c = rows[y][x];
            grid.at(x, y) = c == '#' ? 0.0 : c == '.' ? 1.0 : c - '0';
        }
    return grid;
}

inline Grid UniformGrid(int width, int height, double value = 1.0) {
    Grid grid;
    grid.width = width;
    grid.height = height;
    grid.cells.assign(width * height, value);
    return grid;
}

// Costs 1..9 and about `wallShare` walls, from a fixed seed.
inline Grid RandomGrid(int width, int height, unsigned seed, double wallShare = 0.2,
                       int largest = 9) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> share(0.0, 1.0);
    std::uniform_int_distribution<int> value(1, largest);
    Grid grid = UniformGrid(width, height);
    for (double& cell : grid.cells) cell = share(random) < wallShare ? 0.0 : value(random);
    return grid;
}

// The game's view: map[x][y], first dimension the width.
inline void FillMap(RtArray& map, const Grid& grid) {
    DimArray(map, grid.width, grid.height);
    for (int y = 0; y < grid.height; ++y)
        for (int x = 0; x < grid.width; ++x) map(x, y) = grid.at(x, y);
}

inline Route RouteOf(RtArray& path, double count) {
    Route route;
    for (int i = 0; i < static_cast<int>(count); ++i)
        route.emplace_back(static_cast<int>(path(i, 0)), static_cast<int>(path(i, 1)));
    return route;
}

// The cost of entering each cell as the search sees it: -1 a wall, an open
// value v becomes v / M + 1 with M the largest value (in floats, as the search).
inline std::vector<float> EnteringCosts(const Grid& grid) {
    std::vector<float> costs(grid.cells.size());
    float largest = 0;
    for (size_t i = 0; i < costs.size(); ++i) {
        costs[i] = grid.cells[i] > 0 ? static_cast<float>(grid.cells[i]) : -1.0f;
        largest = std::max(largest, costs[i]);
    }
    for (float& cost : costs)
        if (cost > 0) cost = cost / largest + 1;
    return costs;
}

// Straight steps only; the start cell's own cost never counts.
inline double RouteCost(const Grid& grid, const Route& route) {
    const std::vector<float> costs = EnteringCosts(grid);
    double total = 0;
    for (size_t i = 1; i < route.size(); ++i)
        total += costs[route[i].first + grid.width * route[i].second];
    return total;
}

// True when every step moves one cell straight onto an open cell.
inline bool StraightStepsOverOpenCells(const Grid& grid, const Route& route) {
    for (size_t i = 1; i < route.size(); ++i) {
        const int dx = std::abs(route[i].first - route[i - 1].first);
        const int dy = std::abs(route[i].second - route[i - 1].second);
        if (dx + dy != 1) return false;
        if (!(grid.at(route[i].first, route[i].second) > 0)) return false;
    }
    return true;
}

// Plain Dijkstra in doubles over the entering costs, four neighbours; the
// cheapest cost from start to goal, or infinity.
inline double CheapestCost(const Grid& grid, Cell start, Cell goal) {
    const std::vector<float> costs = EnteringCosts(grid);
    const double none = std::numeric_limits<double>::infinity();
    std::vector<double> best(costs.size(), none);
    using Entry = std::pair<double, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> queue;
    const int first = start.first + grid.width * start.second;
    best[first] = 0;
    queue.push({0, first});
    while (!queue.empty()) {
        const auto [cost, index] = queue.top();
        queue.pop();
        if (cost > best[index]) continue;
        const int x = index % grid.width, y = index / grid.width;
        const int steps[4][2] = {{0, -1}, {-1, 0}, {1, 0}, {0, 1}};
        for (const auto& step : steps) {
            const int nx = x + step[0], ny = y + step[1];
            if (nx < 0 || ny < 0 || nx >= grid.width || ny >= grid.height) continue;
            const int next = nx + grid.width * ny;
            if (costs[next] < 0) continue;
            if (cost + costs[next] < best[next]) {
                best[next] = cost + costs[next];
                queue.push({best[next], next});
            }
        }
    }
    return best[goal.first + grid.width * goal.second];
}

// The search rules read a second time: one record per cell, the open list a
// vector of cell indices sorted by f (largest first, equal f: earlier first
// out), found by a plain scan. Counts how often a closed cell was re-opened.
struct ModelResult {
    Route route;
    int reopened = 0;
};

inline ModelResult ModelSearch(const Grid& grid, Cell start, Cell goal, float weight,
                               bool diagonals = false) {
    const std::vector<float> costs = EnteringCosts(grid);
    enum State { Unseen, Open, Closed };
    const size_t count = costs.size();
    std::vector<State> state(count, Unseen);
    std::vector<float> g(count, 0), f(count, 0);
    std::vector<int> parent(count, -1);
    std::vector<int> open;
    ModelResult result;
    const auto cell = [&](int x, int y) { return x + grid.width * y; };
    const auto enqueue = [&](int index) {
        const auto at = std::partition_point(open.begin(), open.end(),
                                             [&](int other) { return f[other] > f[index]; });
        open.insert(at, index);
        state[index] = Open;
    };
    const int first = cell(start.first, start.second);
    state[first] = Open;
    open.push_back(first);
    while (!open.empty()) {
        const int index = open.back();
        open.pop_back();
        const int x = index % grid.width, y = index / grid.width;
        if (x == goal.first && y == goal.second) {
            for (int walk = index; walk >= 0; walk = parent[walk])
                result.route.emplace_back(walk % grid.width, walk / grid.width);
            std::reverse(result.route.begin(), result.route.end());
            return result;
        }
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const bool diagonal = dx != 0 && dy != 0;
                if ((dx == 0 && dy == 0) || (diagonal && !diagonals)) continue;
                const int nx = x + dx, ny = y + dy;
                if (nx < 0 || ny < 0 || nx >= grid.width || ny >= grid.height) continue;
                const int next = cell(nx, ny);
                if (costs[next] == -1.0f) continue;
                const float newG = g[index] + (diagonal ? costs[next] * 1.4142137f : costs[next]);
                const int h = std::abs(goal.first - nx) + std::abs(goal.second - ny);
                const float newF = newG + weight * (static_cast<float>(h) - newG);
                if (state[next] != Unseen && !(g[next] > newG)) continue;
                if (state[next] == Closed) ++result.reopened;
                if (state[next] == Open) open.erase(std::find(open.begin(), open.end(), next));
                g[next] = newG;
                f[next] = newF;
                parent[next] = index;
                enqueue(next);
            }
        state[index] = Closed;
    }
    return result;
}

}  // namespace pathtest
