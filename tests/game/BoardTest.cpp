// The board, the volume bar and the result lines, with answers worked out by hand.
#include <gtest/gtest.h>

#include <map>

#include "game/Game.h"

namespace {

std::map<double, int> PortraitCounts(RtArray& board) {
    std::map<double, int> counts;
    for (double c = 0; c < ArrayBound(board, 0); ++c)
        for (double r = 0; r < ArrayBound(board, 1); ++r)
            if (board(c, r) >= 0) ++counts[board(c, r)];
    return counts;
}

int EmptyCells(RtArray& board) {
    int n = 0;
    for (double c = 0; c < ArrayBound(board, 0); ++c)
        for (double r = 0; r < ArrayBound(board, 1); ++r) n += board(c, r) == -1;
    return n;
}

TEST(Board, CellPositionsOfTheEasyAndNormalBoards) {
    RtArray board, marks;
    BuildBoard(board, marks, 0);
    EXPECT_NEAR(CellX(board, 0, 0), 41.84, 1e-9);
    EXPECT_NEAR(CellX(board, 0, 1), -8.24, 1e-9);
    EXPECT_NEAR(CellX(board, 0, 2), -58.32, 1e-9);
    EXPECT_EQ(board(0, 2), -1);
    EXPECT_EQ(board(4, 2), -1);
    EXPECT_EQ(EmptyCells(board), 2);

    BuildBoard(board, marks, 1);
    EXPECT_NEAR(CellX(board, 2, 3), -4, 1e-9);
    EXPECT_NEAR(CellX(board, 1, 3), -68, 1e-9);
    EXPECT_GE(board(2, 3), 0);
    EXPECT_EQ(board(1, 3), -1);
    EXPECT_EQ(EmptyCells(board), 36 - 26);
}

TEST(Board, EasyHasThirteenPortraitsWithOneTriplet) {
    for (int round = 0; round < 20; ++round) {
        RtArray board, marks;
        BuildBoard(board, marks, 0);
        EXPECT_EQ(ArrayBound(board, 0), 5);
        EXPECT_EQ(ArrayBound(board, 1), 3);
        const auto counts = PortraitCounts(board);
        int triplets = 0, singles = 0;
        for (auto [portrait, n] : counts) {
            EXPECT_GE(portrait, 0);
            EXPECT_LE(portrait, 12);
            triplets += n == 3;
            singles += n == 1;
        }
        EXPECT_EQ(triplets, 1);
        EXPECT_EQ(singles, 10);  // 13 cells: one portrait three times, two overwritten
        for (double c = 0; c < 5; ++c)
            for (double r = 0; r < 3; ++r) EXPECT_EQ(marks(c, r), 0);
    }
}

TEST(Board, NormalHasOneTripletAndTwentyThreeDecoys) {
    for (int round = 0; round < 20; ++round) {
        RtArray board, marks;
        BuildBoard(board, marks, 1);
        const auto counts = PortraitCounts(board);
        int triplets = 0, singles = 0;
        for (auto [portrait, n] : counts) {
            triplets += n == 3;
            singles += n == 1;
        }
        EXPECT_EQ(triplets, 1);
        EXPECT_EQ(singles, 23);
    }
}

TEST(Board, HardDecoysComeInPairs) {
    for (int round = 0; round < 20; ++round) {
        RtArray board, marks;
        BuildBoard(board, marks, 2);
        const auto counts = PortraitCounts(board);
        int triplets = 0, pairs = 0, singles = 0;
        for (auto [portrait, n] : counts) {
            triplets += n == 3;
            pairs += n == 2;
            singles += n == 1;
        }
        // e three times; e+1, e+2, e+13 once; e+3 .. e+12 in pairs.
        EXPECT_EQ(triplets, 1);
        EXPECT_EQ(pairs, 10);
        EXPECT_EQ(singles, 3);
    }
}

TEST(Board, HitTestReachesBelowThirtyTwoPixelsOnly) {
    RtArray board, marks;
    BuildBoard(board, marks, 0);
    const double cx = CellX(board, 2, 0) + 32, cy = 0 * 30 + 110;
    EXPECT_EQ(HitTestBoard(board, cx, cy), 2);
    // Straight above the back row nothing else is near: 32 pixels up misses.
    EXPECT_EQ(HitTestBoard(board, cx, cy - 32), -1);
    EXPECT_EQ(HitTestBoard(board, cx, cy - 31), 2);
    // An empty cell is never hit.
    EXPECT_EQ(HitTestBoard(board, CellX(board, 0, 2) + 32, 2 * 30 + 110), -1);
}

TEST(Board, TripletNeedsThreeEqualMarksAndNoStranger) {
    RtArray board, marks;
    DimArray(board, 5, 3);
    DimArray(marks, 5, 3);
    for (double c = 0; c < 5; ++c)
        for (double r = 0; r < 3; ++r) board(c, r) = c + 5 * r;
    board(1, 0) = 7;
    board(3, 2) = 7;  // 7 is at (2, 1), (1, 0) and (3, 2)
    marks(2, 1) = 1;
    marks(1, 0) = 1;
    EXPECT_EQ(TripletMarked(board, marks), 0);  // two of the same
    marks(4, 0) = 1;                            // a stranger
    marks(3, 2) = 1;
    EXPECT_EQ(TripletMarked(board, marks), 0);
    marks(4, 0) = 0;
    EXPECT_EQ(TripletMarked(board, marks), 1);
}

TEST(VolumeBar, ShowsTheLevelAroundTheDivider) {
    EXPECT_STREQ(VolumeBarText(0.6).CStr(), "[~~~~~|....]");
    EXPECT_STREQ(VolumeBarText(0.0).CStr(), "[.....|....]");
    EXPECT_STREQ(VolumeBarText(1.0).CStr(), "[~~~~~|~~~~]");
    EXPECT_STREQ(VolumeBarText(0.5).CStr(), "[~~~~~|....]");
}

TEST(Results, LinesAreRightAlignedSecondsPerTurn) {
    // Average seconds per turn: the summed time over the turns played.
    EXPECT_STREQ(ResultLineText(8000, 2).CStr(), "     4.0 sec.");
    EXPECT_STREQ(ResultLineText(10000, 4).CStr(), "     2.5 sec.");
    EXPECT_STREQ(ResultLineText(123456, 1).CStr(), "   123.5 sec.");
}

}  // namespace
