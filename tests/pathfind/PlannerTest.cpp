// The planner driven directly: set-up and its refusals, the converted cost
// grid, the idle flag and search counter, diagonal moves and their cost, the
// node pool, clearing.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "PathTestSupport.h"
#include "runtime/pathfind/Planner.h"

namespace {

using namespace pathtest;

// Gives the tests a look at the pool and the lists.
class OpenPlanner : public AStarPlanner {
  public:
    int32_t NodesUsed() const { return pool_.Used(); }
    int32_t PoolCapacity() const { return pool_.Capacity(); }
    int32_t OpenCapacity() const { return open_.Capacity(); }
    int32_t OpenSize() const { return open_.Size(); }
    int32_t ClosedBuckets() const { return closed_.BucketCount(); }
};

SearchParameters ParametersFor(const Grid& grid, Cell start, Cell goal, float weight = 0.5f) {
    SearchParameters parameters;
    parameters.startX = start.first;
    parameters.startY = start.second;
    parameters.goalX = goal.first;
    parameters.goalY = goal.second;
    parameters.weight = weight;
    parameters.width = grid.width;
    parameters.height = grid.height;
    parameters.sourceCells = grid.cells.data();
    return parameters;
}

Route ChainOf(const Node* goal) {
    Route route;
    for (const Node* node = goal; node; node = node->parent)
        route.emplace(route.begin(), node->x, node->y);
    return route;
}

TEST(PlannerTest, SetUpConvertsCostsToOneAndAHalfUpToTwo) {
    Grid grid = UniformGrid(4, 1);
    grid.cells = {4, 2, 0, -3};
    OpenPlanner planner;
    ASSERT_TRUE(planner.SetUp(ParametersFor(grid, {0, 0}, {1, 0})));
    EXPECT_FLOAT_EQ(planner.CellCost(0, 0), 2.0f);
    EXPECT_FLOAT_EQ(planner.CellCost(1, 0), 1.5f);
    EXPECT_EQ(planner.CellCost(2, 0), -1.0f);
    EXPECT_EQ(planner.CellCost(3, 0), -1.0f);
}

TEST(PlannerTest, SetUpSizesPoolAndListsFromTheGrid) {
    const Grid grid = UniformGrid(7, 5);
    OpenPlanner planner;
    ASSERT_TRUE(planner.SetUp(ParametersFor(grid, {0, 0}, {6, 4})));
    EXPECT_EQ(planner.PoolCapacity(), 35);
    EXPECT_EQ(planner.OpenCapacity(), 35);
    EXPECT_EQ(planner.ClosedBuckets(), 256);
    EXPECT_TRUE(planner.Idle());
    EXPECT_EQ(planner.Result(), nullptr);
    SearchParameters sized = ParametersFor(grid, {0, 0}, {6, 4});
    sized.poolCapacity = 50;
    sized.openCapacity = 20;
    sized.closedExponent = 5;
    ASSERT_TRUE(planner.SetUp(sized));
    EXPECT_EQ(planner.PoolCapacity(), 50);
    EXPECT_EQ(planner.OpenCapacity(), 20);
    EXPECT_EQ(planner.ClosedBuckets(), 16);
}

TEST(PlannerTest, RefusedSetUpLeavesThePlannerAsItWas) {
    const Grid grid = UniformGrid(5, 5);
    const Grid walls = UniformGrid(5, 5, 0.0);
    OpenPlanner planner;
    ASSERT_TRUE(planner.SetUp(ParametersFor(grid, {0, 0}, {4, 4}, 0.25f)));
    EXPECT_FALSE(planner.SetUp(ParametersFor(grid, {2, 2}, {2, 2})));
    EXPECT_FALSE(planner.SetUp(ParametersFor(grid, {5, 0}, {2, 2})));
    EXPECT_FALSE(planner.SetUp(ParametersFor(grid, {0, 0}, {2, -1})));
    EXPECT_FALSE(planner.SetUp(ParametersFor(walls, {0, 0}, {1, 1})));
    SearchParameters noCells = ParametersFor(grid, {0, 0}, {1, 1});
    noCells.sourceCells = nullptr;
    EXPECT_FALSE(planner.SetUp(noCells));
    EXPECT_EQ(planner.Parameters().goalX, 4);
    EXPECT_EQ(planner.Parameters().weight, 0.25f);
    EXPECT_FLOAT_EQ(planner.CellCost(3, 3), 2.0f);
    planner.StartSearch();
    EXPECT_TRUE(planner.Search());
    EXPECT_EQ(planner.Result()->x, 4);
}

TEST(PlannerTest, WeightIsClampedAtSetUp) {
    const Grid grid = UniformGrid(3, 3);
    OpenPlanner planner;
    ASSERT_TRUE(planner.SetUp(ParametersFor(grid, {0, 0}, {2, 2}, 3.0f)));
    EXPECT_EQ(planner.Parameters().weight, 1.0f);
    ASSERT_TRUE(planner.SetUp(ParametersFor(grid, {0, 0}, {2, 2}, -0.5f)));
    EXPECT_EQ(planner.Parameters().weight, 0.0f);
}

TEST(PlannerTest, IdleOnlyWhileSearching) {
    const Grid grid = UniformGrid(4, 4);
    OpenPlanner planner;
    ASSERT_TRUE(planner.SetUp(ParametersFor(grid, {0, 0}, {3, 3})));
    EXPECT_TRUE(planner.Idle());
    EXPECT_EQ(planner.SearchCount(), 0u);
    planner.StartSearch();
    EXPECT_FALSE(planner.Idle());
    EXPECT_EQ(planner.OpenSize(), 1);
    EXPECT_TRUE(planner.Search());
    EXPECT_TRUE(planner.Idle());
    EXPECT_EQ(planner.SearchCount(), 1u);
    planner.ClearSearch();
    EXPECT_TRUE(planner.Idle());
    EXPECT_EQ(planner.Result(), nullptr);
    EXPECT_EQ(planner.OpenSize(), 0);
}

TEST(PlannerTest, FailedSearchEndsIdleWithNoResult) {
    const Grid grid = GridFromRows({"..#.", "..#.", "..#."});
    OpenPlanner planner;
    ASSERT_TRUE(planner.SetUp(ParametersFor(grid, {0, 0}, {3, 0})));
    planner.StartSearch();
    EXPECT_FALSE(planner.Search());
    EXPECT_TRUE(planner.Idle());
    EXPECT_EQ(planner.Result(), nullptr);
    EXPECT_EQ(planner.SearchCount(), 1u);
    EXPECT_EQ(planner.NodesUsed(), 6);  // each reachable cell got one node, never more
}

TEST(PlannerTest, OneNodePerCellWhateverTheWeight) {
    for (unsigned seed = 1; seed <= 10; ++seed) {
        const Grid grid = RandomGrid(20, 15, seed, 0.2);
        for (float weight : {0.0f, 0.5f, 1.0f}) {
            OpenPlanner planner;
            if (!planner.SetUp(ParametersFor(grid, {0, 0}, {19, 14}, weight))) continue;
            planner.StartSearch();
            planner.Search();
            EXPECT_LE(planner.NodesUsed(), 20 * 15);
        }
    }
}

TEST(PlannerTest, DiagonalMovesTakeTheCheaperSlantedRoute) {
    // Column 1 walled but for its bottom cell; diagonal steps cost 2 * 1.4142137.
    const Grid grid = GridFromRows({
        ".#.",
        ".#.",
        "...",
    });
    OpenPlanner planner;
    SearchParameters parameters = ParametersFor(grid, {0, 0}, {2, 0}, 0.0f);
    parameters.diagonalMoves = 1;
    ASSERT_TRUE(planner.SetUp(parameters));
    planner.StartSearch();
    ASSERT_TRUE(planner.Search());
    EXPECT_EQ(ChainOf(planner.Result()), (Route{{0, 0}, {0, 1}, {1, 2}, {2, 1}, {2, 0}}));
    EXPECT_FLOAT_EQ(planner.Result()->g, 2 + 2 * 2 * 1.4142137f + 2);
}

TEST(PlannerTest, DiagonalStepsCostTheCellAloneWithoutTrueDiagonalCost) {
    const Grid grid = UniformGrid(3, 3);
    OpenPlanner planner;
    SearchParameters parameters = ParametersFor(grid, {0, 0}, {2, 2}, 0.0f);
    parameters.diagonalMoves = 1;
    parameters.trueDiagonalCost = 0;
    ASSERT_TRUE(planner.SetUp(parameters));
    planner.StartSearch();
    ASSERT_TRUE(planner.Search());
    EXPECT_EQ(ChainOf(planner.Result()), (Route{{0, 0}, {1, 1}, {2, 2}}));
    EXPECT_FLOAT_EQ(planner.Result()->g, 4.0f);
}

TEST(PlannerTest, DiagonalRoutesMatchTheSecondReading) {
    int routes = 0;
    for (unsigned seed = 1; seed <= 20; ++seed) {
        const Grid grid = RandomGrid(9 + seed % 7, 8 + seed % 5, seed, 0.3, 1 + seed % 4);
        const Cell start{0, static_cast<int>(seed % grid.height)}, goal{grid.width - 1, 0};
        for (float weight : {0.0f, 0.5f, 1.0f}) {
            OpenPlanner planner;
            SearchParameters parameters = ParametersFor(grid, start, goal, weight);
            parameters.diagonalMoves = 1;
            ASSERT_TRUE(planner.SetUp(parameters));
            planner.StartSearch();
            routes += planner.Search();
            EXPECT_EQ(ChainOf(planner.Result()), ModelSearch(grid, start, goal, weight, true).route)
                << "seed " << seed << " weight " << weight;
        }
    }
    EXPECT_GT(routes, 40);
}

TEST(PlannerTest, ClosedSetSizeDoesNotChangeRoutes) {
    for (unsigned seed = 1; seed <= 12; ++seed) {
        const Grid grid = RandomGrid(40, 30, seed, 0.25, 1 + seed % 5);
        for (float weight : {0.0f, 0.5f, 1.0f}) {
            Route routes[3];
            const int exponents[3] = {8, 0, 16};
            for (int i = 0; i < 3; ++i) {
                OpenPlanner planner;
                SearchParameters parameters = ParametersFor(grid, {1, 2}, {38, 27}, weight);
                parameters.closedExponent = exponents[i];
                ASSERT_TRUE(planner.SetUp(parameters));
                planner.StartSearch();
                planner.Search();
                routes[i] = ChainOf(planner.Result());
            }
            EXPECT_EQ(routes[1], routes[0]) << seed;
            EXPECT_EQ(routes[2], routes[0]) << seed;
        }
    }
}

TEST(PlannerTest, NotANumberAndHugeCellValues) {
    Grid grid = UniformGrid(4, 1);
    grid.cells = {std::numeric_limits<double>::quiet_NaN(), 1e300, 1.0, 1e-60};
    OpenPlanner planner;
    ASSERT_TRUE(planner.SetUp(ParametersFor(grid, {1, 0}, {2, 0})));
    EXPECT_EQ(planner.CellCost(0, 0), -1.0f);  // no number: a wall
    EXPECT_FLOAT_EQ(planner.CellCost(1, 0), 2.0f);
    EXPECT_GE(planner.CellCost(2, 0), 1.0f);   // beside the largest float, 1 / M vanishes
    EXPECT_EQ(planner.CellCost(3, 0), -1.0f);  // below a float's range
}

}  // namespace
