// What the board draws besides the crowd: the round marks and the badge,
// read back from the frame buffer.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vector>

#include "game/Game.h"
#include "support/TestEngine.h"

namespace {

bool CellLit(int x, int y, int w, int h) {
    FlushDrawing();
    std::vector<unsigned char> rgba(static_cast<size_t>(w) * h * 4);
    glReadPixels(x, 240 - y - h, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    for (size_t i = 0; i < rgba.size(); i += 4)
        if (rgba[i] > 128 && rgba[i + 1] > 128 && rgba[i + 2] > 128) return true;
    return false;
}

class BoardDrawing : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(StartTestEngine());
        LoadFont(RtString(""), 0);  // the built-in font: "$" is a white glyph
        BuildBoard(board, marks, 1);
        for (double c = 0; c < 9; ++c)
            for (double r = 0; r < 4; ++r) board(c, r) = -1;  // no portraits in the way
        FlushDrawing();
        glClear(GL_COLOR_BUFFER_BIT);
    }
    RtArray board, marks;
};

TEST_F(BoardDrawing, RoundMarksRunEighteenToALine) {
    RoundNumber = 19;
    DrawBoard(board, marks, 0, -1);
    EXPECT_TRUE(CellLit(16, 40, 8, 8));    // round 1
    EXPECT_TRUE(CellLit(288, 40, 8, 8));   // round 18 ends the first line
    EXPECT_FALSE(CellLit(304, 40, 8, 8));  // no nineteenth on it
    EXPECT_TRUE(CellLit(16, 56, 8, 8));    // round 19 starts the second
    EXPECT_FALSE(CellLit(32, 56, 8, 8));
}

TEST_F(BoardDrawing, OneRoundOneMark) {
    RoundNumber = 1;
    DrawBoard(board, marks, 0, -1);
    EXPECT_TRUE(CellLit(16, 40, 8, 8));
    EXPECT_FALSE(CellLit(32, 40, 8, 8));
}

TEST_F(BoardDrawing, NoBadgeDrawsNoBox) {
    RoundNumber = 0;
    DrawBoard(board, marks, 0, -1);
    EXPECT_FALSE(CellLit(16, 8, 30, 32));
    DrawBoard(board, marks, 0, 5);  // with a badge: the half-white box
    unsigned char rgba[4] = {};
    FlushDrawing();
    glReadPixels(17, 240 - 9 - 1, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    EXPECT_GT(rgba[0], 100);  // half-transparent white over black
}

}  // namespace
