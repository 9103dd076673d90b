#include "Grandstand.h"

#include <algorithm>
#include <cstdint>

#include "MediaRandom.h"
#include "Painting.h"
#include "Scene.h"

namespace media {

namespace {

constexpr int kStandTop = 70;

void SkyGradient(Image& img, Mood mood) {
    static const Rgba tops[Moods] = {Hex(0x4C8FE8), Hex(0x5A3A8C), Hex(0x070B24), Hex(0x5C636E)};
    static const Rgba bottoms[Moods] = {Hex(0xBFE2FF), Hex(0xFF9A4A), Hex(0x1E2A5C), Hex(0x9CA3AD)};
    for (int y = 0; y < kStandTop; ++y)
        for (int x = 0; x < kScreenWidth; ++x)
            img.Put(x, y, Vertical(tops[mood], bottoms[mood], y, 0, kStandTop));
}

void SettingSun(Image& img) {
    Mask sun(kScreenWidth, kScreenHeight);
    sun.Add(Circle(236, 60, 22));
    Paint(img, sun, Hex(0xFFD870));
    for (int y = 0; y < kStandTop; ++y)  // thin cloud bands across the sun
        if (y % 7 == 3 && y > 40)
            for (int x = 200; x < 280; ++x)
                if (sun.Get(x, y)) img.Put(x, y, Hex(0xFF9A4A));
}

void StarsAndMoon(Image& img, MediaRandom& rng) {
    for (int i = 0; i < 70; ++i) {
        const int x = rng.Below(kScreenWidth), y = rng.Below(kStandTop - 8);
        img.Put(x, y, i % 9 == 0 ? Hex(0xFFFFFF) : Hex(0x8C96C8));
    }
    Mask moon(kScreenWidth, kScreenHeight);
    moon.Add(Circle(262, 20, 9)).Cut(Circle(267, 16, 8));
    Paint(img, moon, Hex(0xFFF6D0));
}

void Clouds(Image& img, Mood mood, MediaRandom& rng) {
    const Rgba cloud = mood == Day ? Hex(0xFFFFFF) : (mood == Rain ? Hex(0x4A5058) : Hex(0xF2789A));
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

void Sky(Image& img, Mood mood, MediaRandom& rng) {
    SkyGradient(img, mood);
    if (mood == Sunset) SettingSun(img);
    if (mood == Night) StarsAndMoon(img, rng);
    if (mood == Day || mood == Rain || mood == Sunset) Clouds(img, mood, rng);
}

void Floodlight(Image& img, int x, Mood mood) {
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

// The back wall with its advertising boards.
void BackWall(Image& img) {
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
}

void Seat(Image& img, int x0, int x1, int seatTop, int seatBottom, int seatHeight, Rgba seat) {
    for (int y = seatTop; y < seatBottom; ++y)
        for (int x = x0; x < x1; ++x) {
            Rgba c = seat;
            if (y == seatTop || x == x0) c = Light(seat);
            if (x == x1 - 1 || y == seatTop + seatHeight - 1) c = Shade(seat);
            img.Put(x, y, c);
        }
}

// One tier under a board row: a riser, a step edge and a row of seat backs.
void Tier(Image& img, int tier) {
    static const Rgba seats[3] = {Hex(0x2F5FB0), Hex(0xC8463C), Hex(0x2F5FB0)};
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
        Seat(img, x0, x1, seatTop, std::min(seatTop + seatHeight, y0 + 30), seatHeight,
             seats[(tier + (k + 40) / 7) % 3]);
    }
    img.FillRect(0, y0 + 28, kScreenWidth, 2, Hex(0x5A5E68));
}

// An aisle of steps up the middle, narrowing with distance.
void Aisle(Image& img) {
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

void Stand(Image& img) {
    BackWall(img);
    for (int tier = 0; tier < 6; ++tier) Tier(img, tier);
    Aisle(img);
}

// Muted everywhere so that the faces in front carry the colour.
int Muted(int v, int grey) {
    return (v * 3 + grey) / 4 * 88 / 100;
}

void TintForMood(Mood mood, int x, int y, int grey, int& r, int& g, int& b) {
    switch (mood) {
        case Sunset:
            r = r * 100 / 100 + 18;
            g = g * 80 / 100 + 4;
            b = b * 66 / 100 + 8;
            if ((x + (y - kStandTop) * 2) % 320 < 110) {  // long warm light across the stand
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
}

// The mood's light over the stand (the sky is drawn already lit).
void LightTheStand(Image& img, Mood mood) {
    for (int y = kStandTop; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x) {
            Rgba& p = img.At(x, y);
            const int grey = (p.r * 3 + p.g * 5 + p.b * 2) / 10;
            int r = Muted(p.r, grey), g = Muted(p.g, grey), b = Muted(p.b, grey);
            TintForMood(mood, x, y, grey, r, g, b);
            p = Colour(Clamp255(r), Clamp255(g), Clamp255(b));
        }
}

void RainStreaks(Image& img, MediaRandom& rng) {
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

void MoodGlows(Image& img, Mood mood) {
    if (mood == Night) {
        Glow(img, 53, 14, 70, Hex(0xFFF4C8), 150);
        Glow(img, 269, 14, 70, Hex(0xFFF4C8), 150);
        Glow(img, 160, 200, 190, Hex(0x8090C0), 70);
    }
    if (mood == Sunset) Glow(img, 236, 60, 90, Hex(0xFF8040), 80);
}

}  // namespace

Image Grandstand(Mood mood) {
    Image img(kScreenWidth, kScreenHeight, Colour(0, 0, 0));
    MediaRandom rng(0xB0A7D00Dull + uint64_t(mood) * 7919);
    Sky(img, mood, rng);
    Stand(img);
    LightTheStand(img, mood);
    Floodlight(img, 52, mood);
    Floodlight(img, 268, mood);
    MoodGlows(img, mood);
    if (mood == Rain) RainStreaks(img, rng);
    return img;
}

}  // namespace media
