// FindGridPath on open and random-cost grids of 64, 256 and 512 cells a side,
// corner to corner, beside two references on the same grids in the same run:
// a plain Dijkstra with a binary heap (the one the tests check routes with)
// and a breadth-first search. The planner's set-up alone (cost grid, one
// allocation per node, lists) is timed apart, and the search is run again
// with a closed set of 2^16 buckets instead of the command's 2^8, so the
// share of each step shows.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <deque>
#include <vector>

#include "runtime/pathfind/Planner.h"
#include "runtime/runtime.h"
#include "tests/pathfind/PathTestSupport.h"

namespace {

using namespace pathtest;

enum GridKind { kOpen = 0, kRandomCost = 1 };

Grid BenchGrid(int side, int kind) {
    return kind == kOpen ? UniformGrid(side, side) : RandomGrid(side, side, 99, 0.0, 9);
}

void Label(benchmark::State& state) {
    state.SetLabel(state.range(1) == kOpen ? "open" : "random cost 1..9");
}

// A search of the whole grid from the top-left corner to the bottom-right.
SearchParameters CornerToCorner(const Grid& grid, int side) {
    SearchParameters parameters;
    parameters.goalX = parameters.goalY = side - 1;
    parameters.width = parameters.height = side;
    parameters.sourceCells = grid.cells.data();
    return parameters;
}

void BM_FindGridPath(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const Grid grid = BenchGrid(side, static_cast<int>(state.range(1)));
    const double weight = state.range(2) / 100.0;
    RtArray map, path;
    FillMap(map, grid);
    double length = 0;
    for (auto _ : state) {
        length = FindGridPath(map, path, weight, 0, 0, side - 1, side - 1);
        benchmark::DoNotOptimize(length);
    }
    if (length == 0) state.SkipWithError("no route");
    state.counters["route"] = length;
    Label(state);
}

void BM_PlannerSetUpOnly(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const Grid grid = BenchGrid(side, static_cast<int>(state.range(1)));
    SearchParameters parameters = CornerToCorner(grid, side);
    for (auto _ : state) {
        AStarPlanner planner;
        benchmark::DoNotOptimize(planner.SetUp(parameters));
    }
    Label(state);
}

// The command's search with the closed set's bucket exponent as argument 2.
void BM_PlannerSearch(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const Grid grid = BenchGrid(side, static_cast<int>(state.range(1)));
    SearchParameters parameters = CornerToCorner(grid, side);
    parameters.closedExponent = static_cast<int32_t>(state.range(2));
    for (auto _ : state) {
        AStarPlanner planner;
        planner.SetUp(parameters);
        planner.StartSearch();
        benchmark::DoNotOptimize(planner.Search());
        planner.ClearSearch();
    }
    Label(state);
}

void BM_ReferenceDijkstra(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const Grid grid = BenchGrid(side, static_cast<int>(state.range(1)));
    for (auto _ : state) benchmark::DoNotOptimize(CheapestCost(grid, {0, 0}, {side - 1, side - 1}));
    Label(state);
}

void BM_ReferenceBreadthFirst(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const Grid grid = BenchGrid(side, static_cast<int>(state.range(1)));
    for (auto _ : state) {
        std::vector<int> parent(grid.cells.size(), -1);
        std::deque<int> queue{0};
        parent[0] = 0;
        const int goal = static_cast<int>(grid.cells.size()) - 1;
        while (!queue.empty() && parent[goal] < 0) {
            const int index = queue.front();
            queue.pop_front();
            const int x = index % side, y = index / side;
            const int next[4] = {y > 0 ? index - side : -1, x > 0 ? index - 1 : -1,
                                 x + 1 < side ? index + 1 : -1, y + 1 < side ? index + side : -1};
            for (int n : next) {
                if (n < 0 || parent[n] >= 0 || !(grid.cells[n] > 0)) continue;
                parent[n] = index;
                queue.push_back(n);
            }
        }
        benchmark::DoNotOptimize(parent[goal]);
    }
    Label(state);
}

void Sizes(benchmark::internal::Benchmark* bench, const std::vector<int64_t>& thirds) {
    for (int kind : {kOpen, kRandomCost})
        for (int side : {64, 256, 512}) {
            if (thirds.empty()) bench->Args({side, kind});
            for (int64_t third : thirds) bench->Args({side, kind, third});
        }
    bench->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_FindGridPath)->Apply([](auto* b) {
                              Sizes(b, {0, 50, 100});
                          }) -> ArgNames({"side", "grid", "weight%"});
BENCHMARK(BM_PlannerSetUpOnly)->Apply([](auto* b) { Sizes(b, {}); }) -> ArgNames({"side", "grid"});
BENCHMARK(BM_PlannerSearch)
    ->Apply([](auto* b) { Sizes(b, {16}); }) -> ArgNames({"side", "grid", "exponent"});
BENCHMARK(BM_ReferenceDijkstra)->Apply([](auto* b) { Sizes(b, {}); }) -> ArgNames({"side", "grid"});
BENCHMARK(BM_ReferenceBreadthFirst)
    ->Apply([](auto* b) { Sizes(b, {}); }) -> ArgNames({"side", "grid"});

}  // namespace

int main(int argc, char** argv) {
    // A running game's heap is warm: keep freed memory instead of handing it
    // back after every call, or each call would pay for fresh pages and the
    // figures would depend on what else happens to sit at the heap's top.
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
