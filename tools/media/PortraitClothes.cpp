// The shoulders, the neck and what the character wears on them, down to the
// pin on the chest that the badge shows.
#include "Painting.h"
#include "PortraitCanvas.h"

namespace media {

namespace {

Mask BodyShape(const PortraitCanvas& p) {
    Mask body = p.NewMask();
    body.Add(Ellipse(kCx, 51, 20, 15)).Add(Box(kCx - 20, 51, kCx + 20, 64));
    if (p.who.shirt == Hoodie) body.Add(Ellipse(kCx, 38, 12, 5));
    return body;
}

// The neck, reaching down into the opening of the shirt.
void Neck(PortraitCanvas& p) {
    Mask neck = p.NewMask();
    neck.Add(Box(kCx - 4, 28, kCx + 4, 38));
    if (p.who.shirt == Tee || p.who.shirt == Jersey) neck.Add(Ellipse(kCx, 37, 6, 3.5));
    if (p.who.shirt == VNeck) neck.Add(Polygon({kCx - 6, 36, kCx + 6, 36, kCx, 44}));
    DrawPart(p.img, neck, Shade(p.skin), false);
}

void StripedShirt(PortraitCanvas& p, const Mask& body) {
    Mask inner = body;
    inner.Cut(body.Rim(1, 0)).Cut(body.Rim(-1, 0));
    for (int y = 42; y < 64; y += 5) {
        Mask band = p.NewMask();
        band.Add(Box(0, y, 64, y + 2.5)).Keep(inner);
        Paint(p.img, band, p.accent);
    }
}

void CollarAndTie(PortraitCanvas& p) {
    Mask collar = p.NewMask();
    collar.Add(Polygon({kCx - 7, 36, kCx - 0.5, 37, kCx - 4, 42}));
    collar.Add(Polygon({kCx + 7, 36, kCx + 0.5, 37, kCx + 4, 42}));
    DrawPart(p.img, collar, Hex(0xF8F8F4), false);
    Mask tie = p.NewMask();
    tie.Add(Polygon({kCx - 2, 38, kCx + 2, 38, kCx + 3, 52, kCx, 55, kCx - 3, 52}));
    DrawPart(p.img, tie, p.accent, false);
}

void HoodieStringsAndPocket(PortraitCanvas& p) {
    for (int y = 40; y < 48; ++y) {
        p.img.Put(int(kCx) - 4, y, Hex(0xF4F4F0));
        p.img.Put(int(kCx) + 3, y, Hex(0xF4F4F0));
    }
    Mask pocket = p.NewMask();
    pocket.Add(Box(kCx - 8, 54, kCx + 8, 64));
    Paint(p.img, pocket.Ring(false).Cut(p.NewMask().Add(Box(0, 63, 64, 64))), Shade(p.cloth));
}

void StripedScarf(PortraitCanvas& p) {
    Mask scarf = p.NewMask();
    scarf.Add(Ellipse(kCx, 37, 11, 4)).Add(Box(kCx + 3, 37, kCx + 8, 54));
    DrawPart(p.img, scarf, p.accent, false);
    Mask stripes = p.NewMask();
    for (int x = 0; x < 64; x += 4) stripes.Add(Box(x, 0, x + 2, 64));
    Mask inner = scarf;
    inner.Cut(scarf.Rim(0, 1));
    stripes.Keep(inner);
    Paint(p.img, stripes, Hex(0xF8F8F4));
}

void OverallsBib(PortraitCanvas& p) {
    Mask bib = p.NewMask();
    bib.Add(Box(kCx - 8, 46, kCx + 8, 64))
        .Add(Box(kCx - 9, 38, kCx - 6, 47))
        .Add(Box(kCx + 6, 38, kCx + 9, 47));
    DrawPart(p.img, bib, p.accent, false);
    p.Both(22, 47, Hex(0xF6D365));
}

void SuitFront(PortraitCanvas& p) {
    Mask shirt = p.NewMask();
    shirt.Add(Polygon({kCx - 6, 36, kCx + 6, 36, kCx, 56}));
    Paint(p.img, shirt, Hex(0xF8F8F4));
    Mask tie = p.NewMask();
    tie.Add(Polygon({kCx - 1.5, 38, kCx + 1.5, 38, kCx + 2, 50, kCx, 53, kCx - 2, 50}));
    Paint(p.img, tie, p.accent);
    for (int y = 36; y < 57; ++y) {  // the lapels
        const int d = (y - 36) * 6 / 20;
        p.img.Put(int(kCx) - 7 + d, y, Ink(p.cloth));
        p.img.Put(Mirror(int(kCx) - 7 + d), y, Ink(p.cloth));
    }
}

// A two-pixel-wide numeral on the jersey, from the character's colours.
void JerseyNumber(PortraitCanvas& p) {
    static const char* digits[4][5] = {{"111", "001", "111", "100", "111"},
                                       {"111", "001", "011", "001", "111"},
                                       {"101", "101", "111", "001", "001"},
                                       {"111", "100", "111", "101", "111"}};
    const int d = (p.who.accent + p.who.shirtColour) % 4;
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 3; ++x)
            if (digits[d][y][x] == '1') p.img.Put(28 + x, 46 + y, p.accent);
}

void JerseyTrim(PortraitCanvas& p, const Mask& body) {
    Mask sleeves = p.NewMask();
    sleeves.Add(Box(0, 0, kCx - 13, 64)).Add(Box(kCx + 13, 0, 64, 64));
    Mask inner = body;
    inner.Cut(body.Rim(0, -1).Add(body.Rim(1, 0)).Add(body.Rim(-1, 0)));
    sleeves.Keep(inner);
    Paint(p.img, sleeves, p.accent);
    Mask collar = p.NewMask().Add(Ellipse(kCx, 37, 7, 4.5));
    collar.Cut(p.NewMask().Add(Ellipse(kCx, 37, 6, 3.5)));
    collar.Keep(body);
    Paint(p.img, collar, p.accent);
    JerseyNumber(p);
}

void ShirtDetails(PortraitCanvas& p, const Mask& body) {
    switch (p.who.shirt) {
        case Stripes:
            return StripedShirt(p, body);
        case Tie:
            return CollarAndTie(p);
        case Hoodie:
            return HoodieStringsAndPocket(p);
        case Scarf:
            return StripedScarf(p);
        case Overalls:
            return OverallsBib(p);
        case Suit:
            return SuitFront(p);
        case Jersey:
            return JerseyTrim(p, body);
        default:
            return;
    }
}

void ChestPin(PortraitCanvas& p) {
    static const char* shapes[Emblems][5] = {{"", "", "", "", ""},
                                             {"..#..", ".###.", "#####", ".###.", ".#.#."},
                                             {".#.#.", "#####", "#####", ".###.", "..#.."},
                                             {"..#..", ".###.", "#####", ".###.", "..#.."},
                                             {"...##", "..##.", ".###.", ".##..", "##..."},
                                             {".###.", "##.##", "#...#", "##.##", ".###."}};
    static const Rgba colours[Emblems] = {Hex(0),        Hex(0xFFD23A), Hex(0xFF4A6A),
                                          Hex(0x5AE0F0), Hex(0xFFF27A), Hex(0xF4F4F0)};
    if (p.who.emblem <= NoEmblem || p.who.emblem >= Emblems) return;
    Mask m = p.NewMask();
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            if (shapes[p.who.emblem][y][x] == '#') m.Set(17 + x, 42 + y);
    DrawPart(p.img, m, colours[p.who.emblem], false, Hex(0x1A1024));
}

}  // namespace

void PaintClothes(PortraitCanvas& p) {
    const Mask body = BodyShape(p);
    DrawPart(p.img, body, p.cloth);
    Neck(p);
    ShirtDetails(p, body);
    if (p.who.shirt != Suit && p.who.shirt != Overalls && p.who.shirt != Tie) ChestPin(p);
}

}  // namespace media
