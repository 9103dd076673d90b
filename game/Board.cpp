// The crowd: rows of portraits that spread wider toward the front, one of
// them three times among the decoys.
#include <cmath>

#include "game/Game.h"

namespace {

double Int(double x) {
    return std::trunc(x);
}

double Columns(RtArray& board) {
    return ArrayBound(board, 0);
}
double Rows(RtArray& board) {
    return ArrayBound(board, 1);
}
// The centre of row r's portraits (rows 30 pixels apart), which hit tests
// measure from, and the top that drawing places them at.
double RowCentreY(double r) {
    return r * 30 + 110;
}
double RowY(double r) {
    return RowCentreY(r) - 18;
}

void FillCells(RtArray& board, RtArray& marks, double level) {
    const double cols = Columns(board), rows = Rows(board);
    const double e = RandomInt(LastPortrait);
    double f = 0;
    for (double c = 0; c < cols; ++c) {
        for (double r = 0; r < rows; ++r) {
            marks(c, r) = 0;
            const double x = CellX(board, c, r);
            if (x < -16 || x > 272) {
                board(c, r) = -1;
                continue;
            }
            f = level == 2 ? f + 0.5 : f + 1;
            board(c, r) = level == 0 ? IntMod(f + e, 13) : IntMod(f + e, LastPortrait + 1);
        }
    }
}

void Shuffle(RtArray& board) {
    const double cols = Columns(board), rows = Rows(board);
    for (int n = 0; n < 1001; ++n) {
        const double c1 = RandomInt(cols - 1);
        const double r1 = RandomInt(rows - 1);
        const double c2 = RandomInt(cols - 1);
        const double r2 = RandomInt(rows - 1);
        if (board(c1, r1) >= 0 && board(c2, r2) >= 0) {
            const double v = board(c1, r1);
            board(c1, r1) = board(c2, r2);
            board(c2, r2) = v;
        }
    }
}

void DrawRoundMarks() {
    for (double k = 1; k <= RoundNumber; ++k)
        PrintText(RtString("$"), 16 * (IntMod(k - 1, 18) + 1), 16 * (Int((k - 1) / 18) + 1) + 24);
}

}  // namespace

double CellX(RtArray& board, double c, double r) {
    const double cols = Columns(board), rows = Rows(board);
    return ((c - Int(cols * 0.5)) * 576 / cols) * (r + 2) / 5 + 160 - 32 - (r - rows * 0.5) * 4;
}

double BuildBoard(RtArray& board, RtArray& marks, double level) {
    if (level == 0) {
        DimArray(board, 5, 3);
        DimArray(marks, 5, 3);
    } else {
        DimArray(board, 9, 4);
        DimArray(marks, 9, 4);
    }
    FillCells(board, marks, level);
    board(1, 0) = board(0, 0);
    board(2, 0) = board(0, 0);
    Shuffle(board);
    return 0;
}

void DrawBadge(double portrait, double x, double y) {
    SetAlphaMode(0.5);
    DrawRect(x, y, 30, 32, kColourWhite);
    SetAlphaMode(0);
    SetViewport(x, y, 30, 32);
    DrawSprite(portrait, 0, -17);
    SetViewport(0, 0, 0, 0);
}

double DrawBoard(RtArray& board, RtArray& marks, double offset, double badge) {
    double amp = 18;
    double px = 0, py = 0, b = 0;
    ReadPointer(px, py, b, b, 0);
    double hover = -1;
    if (badge >= 0) DrawBadge(badge, 16, 8);
    if (!(PlatformInfo(RtString("")) == "GP2X")) hover = HitTestBoard(board, px, py);
    if (offset != 0) {
        amp = AbsValue(offset) / (18 * 0.15);
        if (amp > 18) amp = 18;
    }
    const double cols = Columns(board), rows = Rows(board);
    for (double r = 0; r < rows; ++r) {
        for (double c = 0; c < cols; ++c) {
            const double v = board(c, r);
            const double x = CellX(board, c, r) + offset;
            double y = RowY(r);
            if (v < 0) continue;
            if (marks(c, r) != 0) y -= AbsValue(SinDeg(ElapsedMs() * 0.6 + (c + r) * 35)) * amp;
            if (hover == cols * r + c) {
                SetAlphaMode(-0.7);
                ZoomSprite(v, x, y, 1.1, 1.1);
                SetAlphaMode(0);
            }
            DrawSprite(v, x, y);
        }
    }
    DrawRoundMarks();
    if (CursorMode != 0) {
        DrawLine(px - 16, py, px + 16, py, kColourWhite);
        DrawLine(px, py - 16, px, py + 16, kColourWhite);
    }
    return 0;
}

double HitTestBoard(RtArray& board, double px, double py) {
    double best = 1024, result = -1;
    const double cols = Columns(board), rows = Rows(board);
    for (double c = 0; c < cols; ++c) {
        for (double r = rows - 1; r >= 0; --r) {
            if (board(c, r) < 0) continue;
            const double dx = px - (CellX(board, c, r) + 32);
            const double dy = py - RowCentreY(r);
            const double d = dx * dx + dy * dy;
            if (d < best) {
                best = d;
                result = cols * r + c;
            }
        }
    }
    return result;
}

double TripletMarked(RtArray& board, RtArray& marks) {
    double ref = -1, count = 0;
    const double cols = Columns(board), rows = Rows(board);
    for (double r = 0; r < rows; ++r) {
        for (double c = 0; c < cols; ++c) {
            if (marks(c, r) == 0) continue;
            if (ref == -1) ref = board(c, r);
            if (board(c, r) != ref) return 0;
            count = count + 1;
        }
    }
    return count >= 3 ? 1 : 0;
}
