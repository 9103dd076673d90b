// The 320 x 240 scenes: a grandstand in four moods (day, sunset, night under
// floodlights, rain) behind the crowd, the menu's background and its icon.
// The stand is kept muted and a little dark so the portraits stand out; its
// seat rows lie under the board's rows (30 pixels apart, spreading wider
// toward the bottom like the board itself).
#pragma once

#include <string>
#include <vector>

#include "FontPicture.h"
#include "MediaImage.h"
#include "MediaRandom.h"
#include "Portraits.h"

namespace media {

enum Mood { Day, Sunset, Night, Rain, Moods };

constexpr int kScreenWidth = 320;
constexpr int kScreenHeight = 240;
constexpr int kStandTop = 70;

inline Rgba Vertical(Rgba top, Rgba bottom, int y, int y0, int y1) {
    const int t = std::clamp((y - y0) * 256 / std::max(1, y1 - y0), 0, 256);
    return Mix(top, bottom, t);
}

inline void Sky(Image& img, Mood mood, MediaRandom& rng) {
    static const Rgba tops[Moods] = {Hex(0x4C8FE8), Hex(0x5A3A8C), Hex(0x070B24), Hex(0x5C636E)};
    static const Rgba bottoms[Moods] = {Hex(0xBFE2FF), Hex(0xFF9A4A), Hex(0x1E2A5C), Hex(0x9CA3AD)};
    for (int y = 0; y < kStandTop; ++y)
        for (int x = 0; x < kScreenWidth; ++x)
            img.Put(x, y, Vertical(tops[mood], bottoms[mood], y, 0, kStandTop));
    if (mood == Sunset) {
        Mask sun(kScreenWidth, kScreenHeight);
        sun.Add(Circle(236, 60, 22));
        Paint(img, sun, Hex(0xFFD870));
        for (int y = 0; y < kStandTop; ++y)  // thin cloud bands across the sun
            if (y % 7 == 3 && y > 40)
                for (int x = 200; x < 280; ++x)
                    if (sun.Get(x, y)) img.Put(x, y, Hex(0xFF9A4A));
    }
    if (mood == Night) {
        for (int i = 0; i < 70; ++i) {
            const int x = rng.Below(kScreenWidth), y = rng.Below(kStandTop - 8);
            img.Put(x, y, i % 9 == 0 ? Hex(0xFFFFFF) : Hex(0x8C96C8));
        }
        Mask moon(kScreenWidth, kScreenHeight);
        moon.Add(Circle(262, 20, 9)).Cut(Circle(267, 16, 8));
        Paint(img, moon, Hex(0xFFF6D0));
    }
    if (mood == Day || mood == Rain || mood == Sunset) {
        const Rgba cloud =
            mood == Day ? Hex(0xFFFFFF) : (mood == Rain ? Hex(0x4A5058) : Hex(0xF2789A));
        const int count = mood == Rain ? 14 : 5;
        for (int i = 0; i < count; ++i) {
            const double cx = rng.Below(360) - 20, cy = 10 + rng.Below(mood == Rain ? 40 : 36);
            const double w = 16 + rng.Below(22);
            Mask m(kScreenWidth, kScreenHeight);
            m.Add(Ellipse(cx, cy, w, 5))
                .Add(Circle(cx - w / 3, cy - 3, 6))
                .Add(Circle(cx + w / 5, cy - 5, 8));
            m.Cut(Box(0, cy + 4, 320, 240));
            Paint(img, m, cloud);
            Paint(img, m.Rim(0, 2), Mix(cloud, Hex(0x7080A0), 70));
        }
    }
}

inline void Floodlight(Image& img, int x, Mood mood) {
    const Rgba steel = mood == Night ? Hex(0x3A3F55) : Hex(0x5C6270);
    for (int y = 18; y < kStandTop; ++y) {
        img.Put(x, y, steel);
        img.Put(x + 1, y, steel);
        if (y % 6 == 0) img.Put(x - 1, y, steel), img.Put(x + 2, y, steel);
    }
    const Rgba lamp =
        mood == Night ? Hex(0xFFFFF0) : (mood == Sunset ? Hex(0xFFE8C0) : Hex(0xD8DCE8));
    img.FillRect(x - 9, 8, 20, 11, steel);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 4; ++c) img.FillRect(x - 8 + c * 5, 9 + r * 5, 4, 4, lamp);
}

// Adds light around a point, falling off with distance (night glows).
inline void Glow(Image& img, double cx, double cy, double radius, Rgba col, int strength) {
    for (int y = 0; y < img.Height(); ++y)
        for (int x = 0; x < img.Width(); ++x) {
            const double dx = x - cx, dy = y - cy, d2 = dx * dx + dy * dy;
            if (d2 >= radius * radius) continue;
            const int t = int(strength * (1.0 - d2 / (radius * radius)));
            Rgba& p = img.At(x, y);
            p = Rgba{uint8_t(Clamp255(p.r + col.r * t / 256)),
                     uint8_t(Clamp255(p.g + col.g * t / 256)),
                     uint8_t(Clamp255(p.b + col.b * t / 256)), 255};
        }
}

inline void Stand(Image& img, Mood mood) {
    // Back wall with advertising boards
    static const Rgba boards[6] = {Hex(0xD8443C), Hex(0x2E6BD0), Hex(0xF0C030),
                                   Hex(0x2AA868), Hex(0xE06AA8), Hex(0xF4F4F0)};
    img.FillRect(0, kStandTop, kScreenWidth, 22, Hex(0x3C4150));
    for (int i = 0; i < 8; ++i) {
        const int x0 = i * 40 + 2;
        img.FillRect(x0, kStandTop + 4, 36, 13, boards[i % 6]);
        img.FillRect(x0 + 4, kStandTop + 9, 16 + (i * 7) % 12, 3, boards[(i + 3) % 6]);
        img.FillRect(x0, kStandTop + 17, 36, 1, Hex(0x23262F));
    }
    img.FillRect(0, kStandTop, kScreenWidth, 2, Hex(0x8890A0));
    // Tiers: a riser, a step edge and a row of seat backs per board row
    static const Rgba seats[3] = {Hex(0x2F5FB0), Hex(0xC8463C), Hex(0x2F5FB0)};
    for (int tier = 0; tier < 6; ++tier) {
        const int y0 = 92 + tier * 30;
        const double scale = (tier + 2) / 5.0;
        img.FillRect(0, y0, kScreenWidth, 30, Hex(0x8A8E96));
        img.FillRect(0, y0, kScreenWidth, 2, Hex(0xB4B8C0));
        img.FillRect(0, y0 + 2, kScreenWidth, 1, Hex(0x5A5E68));
        const double pitch = 20 * scale;
        const int seatTop = y0 + 16, seatHeight = 9 + tier;
        for (int k = -20; k <= 20; ++k) {
            const double sx = 160 + k * pitch - pitch * 0.35;
            const int x0 = int(sx), x1 = int(sx + pitch * 0.7);
            if (x1 < 0 || x0 >= kScreenWidth) continue;
            const Rgba seat = seats[(tier + (k + 40) / 7) % 3];
            for (int y = seatTop; y < std::min(seatTop + seatHeight, y0 + 30); ++y)
                for (int x = x0; x < x1; ++x) {
                    Rgba c = seat;
                    if (y == seatTop || x == x0) c = Light(seat);
                    if (x == x1 - 1 || y == seatTop + seatHeight - 1) c = Shade(seat);
                    img.Put(x, y, c);
                }
        }
        img.FillRect(0, y0 + 28, kScreenWidth, 2, Hex(0x5A5E68));
    }
    // An aisle of steps up the middle, narrowing with distance
    for (int y = 92; y < kScreenHeight; ++y) {
        const double half = 7 + (y - 92) * 0.09;
        for (int x = int(160 - half); x < int(160 + half); ++x) {
            const bool edge = ((y - 92) % 15) < 2;
            img.Put(x, y, edge ? Hex(0xC4C8D0) : Hex(0x9EA2AA));
        }
        img.Put(int(160 - half) - 1, y, Hex(0xE8C040));
        img.Put(int(160 + half), y, Hex(0xE8C040));
    }
}

// Lighting of a mood over the stand (the sky is drawn already lit).
inline void Light(Image& img, Mood mood) {
    for (int y = kStandTop; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x) {
            Rgba& p = img.At(x, y);
            int r = p.r, g = p.g, b = p.b;
            const int grey = (r * 3 + g * 5 + b * 2) / 10;
            // Muted everywhere so that the faces in front carry the colour.
            r = (r * 3 + grey) / 4 * 88 / 100;
            g = (g * 3 + grey) / 4 * 88 / 100;
            b = (b * 3 + grey) / 4 * 88 / 100;
            switch (mood) {
                case Sunset:
                    r = r * 100 / 100 + 18;
                    g = g * 80 / 100 + 4;
                    b = b * 66 / 100 + 8;
                    if ((x + (y - kStandTop) * 2) % 320 <
                        110) {  // long warm light across the stand
                        r += 16;
                        g += 8;
                    }
                    break;
                case Night:
                    r = r * 40 / 100;
                    g = g * 44 / 100;
                    b = b * 58 / 100 + 10;
                    break;
                case Rain:
                    r = (r + grey) / 2 * 72 / 100;
                    g = (g + grey) / 2 * 76 / 100;
                    b = (b + grey) / 2 * 82 / 100;
                    break;
                default:
                    break;
            }
            p = Colour(Clamp255(r), Clamp255(g), Clamp255(b));
        }
}

inline void RainStreaks(Image& img, MediaRandom& rng) {
    for (int i = 0; i < 420; ++i) {
        const int x = rng.Below(kScreenWidth + 40) - 20, y = rng.Below(kScreenHeight);
        const int len = 4 + rng.Below(5);
        for (int k = 0; k < len; ++k) img.Blend(x - k / 2, y + k, Hex(0xD8E4F0), 60 + 10 * k);
    }
    // Puddle sheen on the step edges
    for (int tier = 0; tier < 6; ++tier)
        for (int x = 0; x < kScreenWidth; ++x)
            if ((x * 7 + tier * 13) % 23 < 9) img.Blend(x, 92 + tier * 30, Hex(0xE8F0FF), 90);
}

inline Image Grandstand(Mood mood) {
    Image img(kScreenWidth, kScreenHeight, Colour(0, 0, 0));
    MediaRandom rng(0xB0A7D00Dull + uint64_t(mood) * 7919);
    Sky(img, mood, rng);
    Stand(img, mood);
    Light(img, mood);
    Floodlight(img, 52, mood);
    Floodlight(img, 268, mood);
    if (mood == Night) {
        Glow(img, 53, 14, 70, Hex(0xFFF4C8), 150);
        Glow(img, 269, 14, 70, Hex(0xFFF4C8), 150);
        Glow(img, 160, 200, 190, Hex(0x8090C0), 70);
    }
    if (mood == Sunset) Glow(img, 236, 60, 90, Hex(0xFF8040), 80);
    if (mood == Rain) RainStreaks(img, rng);
    return img;
}

inline Image MenuBackground(const std::vector<Image>& portraits) {
    Image img(kScreenWidth, kScreenHeight, Colour(0, 0, 0));
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x) {
            Rgba c = Vertical(Hex(0x1C1440), Hex(0x4A2A78), y, 0, kScreenHeight);
            // Diagonal stripes of a spotlit stage
            if (((x + y * 2) / 24) % 2 == 0) c = Mix(c, Hex(0x6A4AA8), 40);
            img.Put(x, y, c);
        }
    Glow(img, 250, -20, 200, Hex(0xFFE0A0), 60);
    Glow(img, 90, -30, 160, Hex(0xA0C0FF), 40);
    // Confetti
    MediaRandom rng(0xC0FE771ull);
    static const Rgba confetti[5] = {Hex(0xF5D03B), Hex(0xF07AB8), Hex(0x4DD0E0), Hex(0x9CE05A),
                                     Hex(0xFFFFFF)};
    for (int i = 0; i < 90; ++i) {
        const int x = 150 + rng.Below(170), y = rng.Below(150);
        const Rgba c = confetti[rng.Below(5)];
        img.Put(x, y, c);
        img.Put(x + 1, y + (i % 2), c);
    }
    // A little crowd cheering in the corner, under the title
    static const int faces[7] = {1, 9, 4, 6, 0, 10, 2};
    for (int i = 0; i < 7; ++i) {
        const int row = i < 3 ? 0 : 1;
        const int x = row == 0 ? 182 + i * 44 : 160 + (i - 3) * 44;
        img.Stamp(portraits[size_t(faces[i])], x, 118 + row * 28);
    }
    // The title on a banner
    img.FillRect(144, 198, 176, 36, Hex(0x1A1024));
    img.FillRect(144, 200, 176, 32, Hex(0xD8443C));
    img.FillRect(144, 200, 176, 2, Hex(0xF07A6A));
    DrawText(img, "QUORBEL", 149, 201, 3);
    return img;
}

// A magnifying glass over a smiling face, with the round mark's star.
inline Image MenuIcon() {
    Image img(48, 48);
    Mask handle(48, 48);
    handle.Add(Stroke(30, 30, 42, 42, 3.5));
    DrawPart(img, handle, Hex(0x8A5A34));
    Mask rim(48, 48);
    rim.Add(Circle(20, 20, 17));
    DrawPart(img, rim, Hex(0xC0C8D8), false);
    Mask glass(48, 48);
    glass.Add(Circle(20, 20, 14));
    Paint(img, glass, Hex(0xBFE6FF));
    Mask face(48, 48);
    face.Add(Circle(20, 21, 10));
    DrawPart(img, face, Hex(0xF9CFA8));
    for (int y = 17; y < 21; ++y) {
        img.Put(16, y, Hex(0x241620));
        img.Put(17, y, Hex(0x241620));
        img.Put(23, y, Hex(0x241620));
        img.Put(24, y, Hex(0x241620));
    }
    for (int x = 15; x < 26; ++x)
        img.Put(x, 25 + (x == 15 || x == 25 ? -1 : 0) + (x >= 17 && x <= 23 ? 1 : 0),
                Hex(0x241620));
    Mask shine(48, 48);
    shine.Add(Ellipse(12, 10, 4, 2.5));
    Paint(img, shine, Hex(0xFFFFFF));
    DrawGlyph(img, '$', 36, 2, 1);
    DrawGlyph(img, '$', 38, 30, 1);
    return img;
}

}  // namespace media
