// The font every program has without files: a 5 x 6 glyph per printable
// code, white with a dark grey outline so it reads on any background.
#include <cstdint>
#include <cstring>

#include "runtime/gfx2d/Font.h"

namespace {

// Codes 32..127, one row of the font picture's 16 cells a line; bit
// (row * 5 + column) lights glyph pixel (column, row).
// clang-format off
constexpr uint32_t kGlyphMasks[96] = {
    0x00000000, 0x08021080, 0x00002940, 0x15F57D40, 0x08E619C4, 0x14222140, 0x0ED114E0, 0x00001080, 0x08210880, 0x04421040, 0x09575480, 0x08471080, 0x04400000, 0x00070000, 0x08000000, 0x04222100,  // 32..47
    0x00E5294E, 0x004210C4, 0x00E1390E, 0x00E4390E, 0x0084394A, 0x00E4384E, 0x00E5384E, 0x0042210E, 0x00E5394E, 0x00E4394E, 0x00020080, 0x00220080, 0x00820888, 0x000701C0, 0x00222082, 0x0040310E,  // 48..63
    0x00E0B526, 0x00A5394E, 0x00E5194E, 0x00E5094E, 0x00E52946, 0x00E1384E, 0x0021384E, 0x00E5284E, 0x00A5394A, 0x00E2108E, 0x00E5210C, 0x00A5194A, 0x00E10842, 0x015AD6BF, 0x00A5294E, 0x00E5294E,  // 64..79
    0x0021394E, 0x00F294A7, 0x00A5194E, 0x00E4384E, 0x0042108E, 0x00E5294A, 0x0045294A, 0x01FAD6B5, 0x00A5114A, 0x0042394A, 0x00E1110E, 0x00610846, 0x01041041, 0x00621086, 0x00000144, 0x00E00000,  // 80..95
    0x00000082, 0x00E53000, 0x00E53842, 0x00E13800, 0x00E53908, 0x08273800, 0x00423888, 0x08873800, 0x00A51842, 0x00421004, 0x04421004, 0x00A32842, 0x00421084, 0x015ABC00, 0x00A51800, 0x00E53800,  // 96..111
    0x04E51800, 0x10E53000, 0x00253800, 0x00E409C0, 0x00C23884, 0x00C52800, 0x00452800, 0x00EAD400, 0x00A22800, 0x1C872800, 0x00E121C0, 0x00821888, 0x00421084, 0x00223082, 0x0002A800, 0x3F18C63F,  // 112..127
};
// clang-format on

constexpr int kCell = 8;

// Whether cell pixel (x, y) is a lit glyph pixel; the glyph sits at (1, 1).
bool Lit(uint32_t mask, int x, int y) {
    const int column = x - 1, row = y - 1;
    if (column < 0 || column > 4 || row < 0 || row > 5) return false;
    return (mask >> (row * 5 + column)) & 1;
}

void SetPixel(uint8_t* rgba, int x, int y, uint8_t grey, uint8_t alpha) {
    uint8_t* p = rgba + (static_cast<size_t>(y) * kBuiltInFontWidth + x) * 4;
    p[0] = p[1] = p[2] = grey;
    p[3] = alpha;
}

}  // namespace

void BuildBuiltInFont(uint8_t* rgba) {
    std::memset(rgba, 0, static_cast<size_t>(kBuiltInFontWidth) * kBuiltInFontHeight * 4);
    for (int code = 32; code < 128; ++code) {
        const uint32_t mask = kGlyphMasks[code - 32];
        const int left = code % 16 * kCell, top = code / 16 * kCell;
        for (int y = 0; y < kCell; ++y) {
            for (int x = 0; x < kCell; ++x) {
                if (Lit(mask, x, y))
                    SetPixel(rgba, left + x, top + y, 255, 255);
                else if (Lit(mask, x - 1, y) || Lit(mask, x + 1, y) || Lit(mask, x, y - 1) ||
                         Lit(mask, x, y + 1))
                    SetPixel(rgba, left + x, top + y, 8, 255);
            }
        }
    }
}
