#include "ContactSheets.h"

#include <cmath>
#include <cstddef>
#include <string>

#include "Characters.h"
#include "FontPicture.h"
#include "Portraits.h"

namespace media {

namespace {

constexpr Rgba kSheetBackground = Colour(90, 100, 120);

// The board's cell position, as the game computes it.
double CellX(int cols, int rows, int c, int r) {
    return double((c - cols / 2) * 576 / double(cols)) * (r + 2) / 5 + 160 - 32 -
           (r - rows * 0.5) * 4;
}

void DrawCrowd(Image& screen, const std::vector<Image>& portraits, int cols, int rows, int first,
               bool pairs) {
    int n = 0;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const double x = CellX(cols, rows, c, r);
            if (x < -16 || x > 272) continue;
            const int v = (first + (pairs ? (n + 1) / 2 : n)) % kPortraitCount;
            ++n;
            screen.Stamp(portraits[size_t(v)], int(std::ceil(x)), r * 30 + 92);
        }
}

void DrawBadge(Image& screen, const Image& portrait, int x, int y) {
    for (int dy = 0; dy < 32; ++dy)
        for (int dx = 0; dx < 30; ++dx) {
            Rgba& d = screen.At(x + dx, y + dy);
            d = Mix(d, Colour(255, 255, 255), 128);
            const Rgba& s = portrait.At(dx, dy + 17);
            if (s.a != 0) d = s;
        }
}

// Portraits from `first` on in a grid of `cols` columns, 8 pixels apart and from the edges.
void StampGrid(Image& sheet, const std::vector<Image>& portraits, int first, int count, int cols,
               int scale) {
    const int cell = kPortraitWidth * scale + 8;
    for (int i = 0; i < count && first + i < kPortraitCount; ++i)
        sheet.Stamp(portraits[size_t(first + i)], 8 + (i % cols) * cell, 8 + (i / cols) * cell,
                    scale);
}

// A board at the game's size: Easy (b 0), Normal (1) or Hard (2), with the badges above.
Image MockBoard(const std::vector<Image>& portraits, int b) {
    Image screen(320, 240, Colour(70, 80, 95));
    for (int y = 0; y < 240; y += 30) screen.FillRect(0, y + 122, 320, 3, Colour(60, 66, 80));
    if (b == 0) DrawCrowd(screen, portraits, 5, 3, 0, false);
    if (b == 1) DrawCrowd(screen, portraits, 9, 4, 13, false);
    if (b == 2) DrawCrowd(screen, portraits, 9, 4, 40, true);
    for (int i = 0; i < 7; ++i) DrawBadge(screen, portraits[size_t(b * 7 + i)], 16 + i * 34, 8);
    return screen;
}

Image GameScreen(const std::vector<Image>& portraits, const Image& scene, size_t i) {
    Image screen = scene;
    DrawCrowd(screen, portraits, i % 2 ? 9 : 5, i % 2 ? 4 : 3, int(i) * 11, false);
    DrawBadge(screen, portraits[i], 16, 8);
    for (int k = 0; k < 5; ++k) DrawText(screen, "$", 16 * (k + 1), 40);
    DrawText(screen, "TIME/PICK:", 60, 0);
    DrawText(screen, "[~~~~~|....]", 0, 226);
    return screen;
}

Image MenuScreen(const Image& menu, const Image& icon) {
    Image screen = menu;
    screen.Stamp(icon, 16, 16);
    DrawText(screen, "Players:", 76, 20);
    const char* labels[3] = {"Easy", "Normal", "Hard"};
    for (int k = 0; k < 3; ++k) {
        const int y = 70 + k * 24;
        if (k == 1) screen.FillRect(74, y - 2, 64 + 4, 16 + 4, Colour(255, 255, 255));
        screen.FillRect(76, y, 64, 16, Colour(255, 117, 255));
        screen.FillRect(78, y + 2, 62, 14, Colour(128, 0, 128));
        DrawText(screen, labels[k], 76 + (8 - int(std::string(labels[k]).size())) * 4, y + 3);
    }
    DrawText(screen, "Difficulty 0123456789", 8, 150);
    DrawText(screen, "The quick brown fox", 8, 166);
    DrawText(screen, "jumps! (Wow?) 2.5 sec.", 8, 182);
    return screen;
}

// The results screen: badges and times over a background.
Image ResultsScreen(const std::vector<Image>& portraits, const Image& scene) {
    Image results = scene;
    DrawText(results, "TIME/PICK:", 16, 0);
    for (int i = 0; i < 6; ++i) {
        DrawBadge(results, portraits[size_t(i * 2)], 16, i * 32 + 48);
        DrawText(results, "    " + std::to_string(2 + i) + ".5 sec.", 50, i * 32 + 52);
    }
    return results;
}

// The font over green, so its outline shows.
Image FontOnGreen() {
    Image font = FontPicture();
    Image back(font.Width(), font.Height(), Colour(40, 120, 60));
    back.Stamp(font, 0, 0);
    return back;
}

}  // namespace

Image ContactSheet(const std::vector<Image>& portraits) {
    const int scale = 2, cols = 9;
    const int cell = kPortraitWidth * scale + 8;
    Image sheet(cols * cell + 8, 7 * cell + 8 + 2 * 248 * 2, kSheetBackground);
    StampGrid(sheet, portraits, 0, kPortraitCount, cols, scale);
    // Mock boards at real size, shown doubled.
    const int top = 7 * cell + 8;
    for (int b = 0; b < 3; ++b)
        sheet.Stamp(MockBoard(portraits, b), 8 + (b % 2) * 648, top + (b / 2) * 496, 2);
    return sheet;
}

Image BadgeSheet(const std::vector<Image>& portraits) {
    Image badges(9 * 34 + 4, 7 * 36 + 4, Colour(40, 60, 90));
    for (int i = 0; i < kPortraitCount; ++i)
        DrawBadge(badges, portraits[size_t(i)], 4 + (i % 9) * 34, 4 + (i / 9) * 36);
    Image zoomed(badges.Width() * 3, badges.Height() * 3);
    zoomed.Stamp(badges, 0, 0, 3);
    return zoomed;
}

Image ZoomSheet(const std::vector<Image>& portraits, int first, int count) {
    const int scale = 4, cols = 6, cell = kPortraitWidth * scale + 8;
    Image sheet(cols * cell + 8, (count + cols - 1) / cols * cell + 8, kSheetBackground);
    StampGrid(sheet, portraits, first, count, cols, scale);
    return sheet;
}

Image SceneSheet(const std::vector<Image>& portraits, const std::vector<Image>& scenes,
                 const Image& menu, const Image& icon) {
    Image sheet(2 * 648 + 8, 3 * 488 + 8 + 360, kSheetBackground);
    for (size_t i = 0; i < scenes.size(); ++i)
        sheet.Stamp(GameScreen(portraits, scenes[i], i), 8 + int(i % 2) * 648, 8 + int(i / 2) * 488,
                    2);
    sheet.Stamp(MenuScreen(menu, icon), 8, 8 + 2 * 488, 2);
    sheet.Stamp(ResultsScreen(portraits, scenes[2]), 656, 8 + 2 * 488, 2);
    sheet.Stamp(FontOnGreen(), 8, 8 + 3 * 488, 4);
    return sheet;
}

}  // namespace media
