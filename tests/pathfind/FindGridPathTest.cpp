// The path-finding command as game code calls it: known routes, the edge
// cases, ties in queue order, both ends of the weight, and the cheapest cost
// checked against a plain Dijkstra.
#include <gtest/gtest.h>

#include "PathTestSupport.h"
#include "runtime/runtime.h"

namespace {

using namespace pathtest;

class FindGridPathTest : public ::testing::Test {
  protected:
    double Find(const Grid& grid, double weight, double sx, double sy, double gx, double gy) {
        FillMap(map, grid);
        return FindGridPath(map, path, weight, sx, sy, gx, gy);
    }
    Route Found(double count) { return RouteOf(path, count); }
    // A path holding three known cells, to see whether a call left it alone.
    void MarkPath() {
        DimArray(path, 3, 2);
        for (int i = 0; i < 3; ++i) {
            path(i, 0) = 100 + i;
            path(i, 1) = 200 + i;
        }
    }
    bool PathStillMarked() {
        if (path.size[0] != 3 || path.size[1] != 2) return false;
        for (int i = 0; i < 3; ++i)
            if (path(i, 0) != 100 + i || path(i, 1) != 200 + i) return false;
        return true;
    }

    RtArray map;
    RtArray path;
};

TEST_F(FindGridPathTest, OneByTwoMapGivesBothCells) {
    const double count = Find(UniformGrid(1, 2, 5.0), 0.5, 0, 0, 0, 1);
    EXPECT_EQ(count, 2.0);
    EXPECT_EQ(path.size[0], 2);
    EXPECT_EQ(path.size[1], 2);
    EXPECT_EQ(Found(count), (Route{{0, 0}, {0, 1}}));
}

TEST_F(FindGridPathTest, StartEqualToGoalLeavesPathUntouched) {
    MarkPath();
    EXPECT_EQ(Find(UniformGrid(4, 4), 0.5, 2, 1, 2, 1), 0.0);
    EXPECT_TRUE(PathStillMarked());
}

TEST_F(FindGridPathTest, CoordinatesTruncateTowardZero) {
    const double count = Find(UniformGrid(3, 1), 0.5, -0.5, -0.9, 2.99, 0.5);
    EXPECT_EQ(count, 3.0);
    EXPECT_EQ(Found(count), (Route{{0, 0}, {1, 0}, {2, 0}}));
}

TEST_F(FindGridPathTest, EndsOutsideTheMapLeavePathUntouched) {
    const Grid grid = UniformGrid(4, 3);
    const double ends[][4] = {{-1, 0, 3, 2},    {0, -1, 3, 2},  {4, 0, 3, 2}, {0, 3, 3, 2},
                              {0, 0, -1, 2},    {0, 0, 3, -1},  {0, 0, 4, 2}, {0, 0, 3, 3},
                              {-1e12, 0, 3, 2}, {0, 0, 1e12, 2}};
    for (const auto& e : ends) {
        MarkPath();
        EXPECT_EQ(Find(grid, 0.5, e[0], e[1], e[2], e[3]), 0.0);
        EXPECT_TRUE(PathStillMarked()) << e[0] << "," << e[1] << " to " << e[2] << "," << e[3];
    }
}

TEST_F(FindGridPathTest, MapWithoutOpenCellsLeavesPathUntouched) {
    MarkPath();
    EXPECT_EQ(Find(UniformGrid(3, 3, 0.0), 0.5, 0, 0, 2, 2), 0.0);
    EXPECT_TRUE(PathStillMarked());
    EXPECT_EQ(Find(UniformGrid(3, 3, -4.0), 0.5, 0, 0, 2, 2), 0.0);
    EXPECT_TRUE(PathStillMarked());
}

TEST_F(FindGridPathTest, MapsThatAreNotTwoDimensionalLeavePathUntouched) {
    MarkPath();
    RtArray undimensioned;
    EXPECT_EQ(FindGridPath(undimensioned, path, 0.5, 0, 0, 1, 0), 0.0);
    EXPECT_TRUE(PathStillMarked());
    RtArray row;
    DimArray(row, 5);  // height 0: no cell has a y inside it
    for (int x = 0; x < 5; ++x) row(x) = 1;
    EXPECT_EQ(FindGridPath(row, path, 0.5, 0, 0, 4, 0), 0.0);
    EXPECT_TRUE(PathStillMarked());
}

TEST_F(FindGridPathTest, WalledInGoalEmptiesPath) {
    MarkPath();
    const Grid grid = GridFromRows({
        ".....",
        "..#..",
        ".#.#.",
        "..#..",
    });
    EXPECT_EQ(Find(grid, 0.5, 0, 0, 2, 2), 0.0);
    EXPECT_EQ(path.size[0], 0);
    EXPECT_EQ(path.size[1], 0);
    EXPECT_EQ(ArrayBound(path, 0), 0.0);
}

TEST_F(FindGridPathTest, GoalOnAWallEmptiesPath) {
    MarkPath();
    const Grid grid = GridFromRows({"...", ".#.", "..."});
    EXPECT_EQ(Find(grid, 0.5, 0, 0, 1, 1), 0.0);
    EXPECT_EQ(path.size[0], 0);
}

TEST_F(FindGridPathTest, StartOnAWallStillSearchesOutward) {
    const Grid grid = GridFromRows({"#..", "###", "..."});
    const double count = Find(grid, 0.5, 0, 0, 2, 0);
    EXPECT_EQ(count, 3.0);
    EXPECT_EQ(Found(count), (Route{{0, 0}, {1, 0}, {2, 0}}));
}

TEST_F(FindGridPathTest, GoesAroundAWallInStraightSteps) {
    // Start (0,0), goal (2,0): the wall in column 1 is passed at the bottom.
    const Grid grid = GridFromRows({
        ".#.",
        ".#.",
        "...",
    });
    const double count = Find(grid, 0.5, 0, 0, 2, 0);
    EXPECT_EQ(count, 7.0);
    EXPECT_EQ(Found(count), (Route{{0, 0}, {0, 1}, {0, 2}, {1, 2}, {2, 2}, {2, 1}, {2, 0}}));
}

TEST_F(FindGridPathTest, DiagonalNeighbourIsReachedInTwoStraightSteps) {
    const Grid grid = GridFromRows({".#", ".."});
    const double count = Find(grid, 0.5, 0, 0, 1, 1);
    EXPECT_EQ(count, 3.0);
    EXPECT_EQ(Found(count), (Route{{0, 0}, {0, 1}, {1, 1}}));
    // With both straight cells walled there is no route: no diagonal step is taken.
    EXPECT_EQ(Find(GridFromRows({".#", "#."}), 0.5, 0, 0, 1, 1), 0.0);
}

TEST_F(FindGridPathTest, EqualRoutesTakeTheNeighbourQueuedFirst) {
    // From (0,0) the neighbour (1,0) is queued before (0,1); with equal f the
    // first queued is expanded first and reaches the goal first.
    const Grid grid = UniformGrid(2, 2);
    for (double weight : {0.0, 0.5, 1.0}) {
        const double count = Find(grid, weight, 0, 0, 1, 1);
        EXPECT_EQ(Found(count), (Route{{0, 0}, {1, 0}, {1, 1}})) << weight;
    }
    // From (1,1) the neighbour above, (1,0), is queued before the one to the left.
    const double count = Find(grid, 0.0, 1, 1, 0, 0);
    EXPECT_EQ(Found(count), (Route{{1, 1}, {1, 0}, {0, 0}}));
}

TEST_F(FindGridPathTest, EqualRoutesAroundAnIslandGoOverTheTop) {
    // Two routes of five cells around the wall cost the same; the upper one
    // starts with the neighbour (x, y-1), which is queued first.
    const Grid grid = GridFromRows({
        "...",
        ".#.",
        "...",
    });
    const double count = Find(grid, 0.0, 0, 1, 2, 1);
    EXPECT_EQ(Found(count), (Route{{0, 1}, {0, 0}, {1, 0}, {2, 0}, {2, 1}}));
}

TEST_F(FindGridPathTest, WeightOneFollowsTheDistanceToGo) {
    // Greedy on the distance alone: along x first, then down, on an open map.
    const double count = Find(UniformGrid(4, 4), 1.0, 0, 0, 3, 3);
    EXPECT_EQ(Found(count), (Route{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {3, 1}, {3, 2}, {3, 3}}));
}

TEST_F(FindGridPathTest, WeightOneWalksIntoDearCellsThatWeightZeroAvoids) {
    // Cells cost 1.5 ('1') and 2 ('2') after conversion. Weight 0 takes the
    // cheap way down and along; weight 1 ties at the first step and goes along
    // x, the neighbour queued first, through the dear cells.
    const Grid grid = GridFromRows({
        "122",
        "122",
        "111",
    });
    double count = Find(grid, 0.0, 0, 0, 2, 2);
    EXPECT_EQ(Found(count), (Route{{0, 0}, {0, 1}, {0, 2}, {1, 2}, {2, 2}}));
    EXPECT_DOUBLE_EQ(RouteCost(grid, Found(count)), 6.0);
    EXPECT_DOUBLE_EQ(CheapestCost(grid, {0, 0}, {2, 2}), 6.0);
    count = Find(grid, 1.0, 0, 0, 2, 2);
    EXPECT_EQ(Found(count), (Route{{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}}));
    EXPECT_DOUBLE_EQ(RouteCost(grid, Found(count)), 7.5);
}

TEST_F(FindGridPathTest, WeightsOutsideZeroToOneAreClamped) {
    const Grid grid = RandomGrid(12, 9, 7);
    const auto routeFor = [&](double weight) {
        RtArray local;
        const double count = FindGridPath(map, local, weight, 0, 0, 11, 8);
        return RouteOf(local, count);
    };
    FillMap(map, grid);
    EXPECT_EQ(routeFor(-3), routeFor(0));
    EXPECT_EQ(routeFor(7), routeFor(1));
    EXPECT_EQ(routeFor(1e300), routeFor(1));
    // No number at all orders nothing: the list is worked in queue order, and
    // a route is still found.
    const Route unordered = routeFor(std::nan(""));
    ASSERT_FALSE(unordered.empty());
    EXPECT_EQ(unordered.front(), (Cell{0, 0}));
    EXPECT_EQ(unordered.back(), (Cell{11, 8}));
    EXPECT_TRUE(StraightStepsOverOpenCells(grid, unordered));
}

TEST_F(FindGridPathTest, CheapestCostMatchesDijkstraAtWeightsUpToOneHalf) {
    int compared = 0;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        const Grid grid = RandomGrid(6 + seed % 13, 5 + seed % 11, seed, 0.25);
        const Cell start{0, 0}, goal{grid.width - 1, grid.height - 1};
        const double cheapest = CheapestCost(grid, start, goal);
        for (double weight : {0.0, 0.25, 0.5}) {
            const double count =
                Find(grid, weight, start.first, start.second, goal.first, goal.second);
            if (std::isinf(cheapest)) {
                EXPECT_EQ(count, 0.0) << seed;
                EXPECT_EQ(path.size[0], 0);
                continue;
            }
            const Route route = Found(count);
            ASSERT_GE(route.size(), 2u) << seed;
            EXPECT_EQ(route.front(), start);
            EXPECT_EQ(route.back(), goal);
            EXPECT_TRUE(StraightStepsOverOpenCells(grid, route)) << seed;
            EXPECT_NEAR(RouteCost(grid, route), cheapest, 1e-4 * cheapest) << seed << " " << weight;
            ++compared;
        }
    }
    EXPECT_GT(compared, 60);
}

TEST_F(FindGridPathTest, RoutesMatchASecondReadingOfTheRulesTiesIncluded) {
    int reopened = 0, routes = 0;
    for (unsigned seed = 1; seed <= 60; ++seed) {
        // Few distinct costs make many equal f values.
        const Grid grid = RandomGrid(5 + seed % 17, 4 + seed % 9, seed, 0.2, 1 + seed % 3);
        const Cell start{static_cast<int>(seed % grid.width), 0};
        const Cell goal{grid.width - 1 - static_cast<int>(seed % 3), grid.height - 1};
        for (float weight : {0.0f, 0.3f, 0.5f, 0.75f, 1.0f}) {
            const ModelResult model = ModelSearch(grid, start, goal, weight);
            reopened += model.reopened;
            routes += !model.route.empty();
            const double count =
                Find(grid, weight, start.first, start.second, goal.first, goal.second);
            EXPECT_EQ(Found(count), model.route) << "seed " << seed << " weight " << weight;
        }
    }
    EXPECT_GT(routes, 200);
    EXPECT_GT(reopened, 0);  // the closed-set re-opening was exercised
}

TEST_F(FindGridPathTest, PathArrayIsResizedToTheRoute) {
    DimArray(path, 40, 3);
    const double count = Find(UniformGrid(5, 1), 0.5, 4, 0, 0, 0);
    EXPECT_EQ(count, 5.0);
    EXPECT_EQ(path.dimensionCount, 2);
    EXPECT_EQ(path.size[0], 5);
    EXPECT_EQ(path.size[1], 2);
    EXPECT_EQ(Found(count), (Route{{4, 0}, {3, 0}, {2, 0}, {1, 0}, {0, 0}}));
}

TEST_F(FindGridPathTest, ThirdDimensionOfTheMapIsIgnored) {
    DimArray(map, 3, 2, 2);
    for (int x = 0; x < 3; ++x) {
        map(x, 0, 0) = 1;
        map(x, 1, 0) = 1;
        map(x, 0, 1) = 0;  // the second layer would wall everything
        map(x, 1, 1) = 0;
    }
    const double count = FindGridPath(map, path, 0.5, 0, 0, 2, 0);
    EXPECT_EQ(Found(count), (Route{{0, 0}, {1, 0}, {2, 0}}));
}

TEST_F(FindGridPathTest, MapItselfCanReceiveThePath) {
    FillMap(map, UniformGrid(3, 3));
    const double count = FindGridPath(map, map, 0.5, 0, 0, 0, 2);
    EXPECT_EQ(count, 3.0);
    EXPECT_EQ(RouteOf(map, count), (Route{{0, 0}, {0, 1}, {0, 2}}));
}

}  // namespace
