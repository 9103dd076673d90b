// Hats, and what else the character wears on the head (bands, bows,
// headphones, a flower), painted over the hair.
#include "Painting.h"
#include "PortraitCanvas.h"

namespace media {

namespace {

constexpr Rgba kGold = Hex(0xF8C832);
constexpr Rgba kChefWhite = Hex(0xF8F8F4);

// The crown of a hat: the top of an ellipse over the head, cut at the brim line `brimY`.
Mask Dome(const PortraitCanvas& p, double brimY, double grow, double height) {
    Mask m = p.NewMask();
    m.Add(Ellipse(kCx, brimY, p.rx + grow, height)).Cut(Box(0, brimY, 64, 64));
    return m;
}

// A band from `top` to `bottom` round a hat's crown.
Mask BandRoundTheHead(const PortraitCanvas& p, double top, double bottom) {
    Mask m = p.NewMask();
    m.Add(Box(kCx - p.rx - 2, top, kCx + p.rx + 2, bottom))
        .Keep(p.NewMask().Add(Ellipse(kCx, 13, p.rx + 2.5, 11)));
    return m;
}

void PaintCap(PortraitCanvas& p) {
    DrawPart(p.img, Dome(p, 13, 1.5, 10), p.hatCloth);
    Mask brim = p.NewMask();
    brim.Add(Ellipse(kCx - 3, 13, p.rx + 3, 2.2)).Cut(Box(0, 0, 64, 12.5));
    DrawPart(p.img, brim, p.accent, false);
    p.Both(29, 3, p.accent);  // the button on top
}

void PaintBeanie(PortraitCanvas& p) {
    DrawPart(p.img, Dome(p, 14, 2, 11), p.hatCloth);
    DrawPart(p.img, BandRoundTheHead(p, 10, 15), p.accent, false);
    Mask pom = p.NewMask();
    pom.Add(Circle(kCx, 3, 3));
    DrawPart(p.img, pom, p.accent, false);
}

void PaintTopHat(PortraitCanvas& p) {
    Mask m = p.NewMask();
    m.Add(Box(kCx - 8, 0, kCx + 8, 11));
    DrawPart(p.img, m, p.hatCloth);
    Mask band = p.NewMask();
    band.Add(Box(kCx - 8, 8, kCx + 8, 11));
    Paint(p.img, band, p.accent);
    Mask brim = p.NewMask();
    brim.Add(Ellipse(kCx, 11.5, p.rx + 4, 2.2));
    DrawPart(p.img, brim, p.hatCloth, false);
}

void PaintCowboy(PortraitCanvas& p) {
    Mask m = p.NewMask();
    m.Add(Ellipse(kCx, 8, 9, 8)).Cut(Box(0, 11, 64, 64)).Cut(Ellipse(kCx, 0, 2, 4));
    DrawPart(p.img, m, p.hatCloth);
    Mask brim = p.NewMask();
    brim.Add(Ellipse(kCx, 11, p.rx + 7, 3.2)).Cut(Ellipse(kCx, 7.5, p.rx + 2, 3));
    DrawPart(p.img, brim, p.hatCloth, false);
    Mask band = p.NewMask();
    band.Add(Box(kCx - 8, 8.5, kCx + 8, 10.5)).Keep(m);
    Paint(p.img, band, p.accent);
}

void PaintCrown(PortraitCanvas& p) {
    Mask m = p.NewMask();
    m.Add(Polygon(
        {kCx - 9, 11, kCx + 9, 11, kCx + 9, 2, kCx + 5, 6, kCx + 0, 1, kCx - 5, 6, kCx - 9, 2}));
    DrawPart(p.img, m, kGold);
    p.Both(29, 8, Hex(0xE03A3A));  // the jewels
    p.Both(24, 9, Hex(0x3A78E0));
}

void PaintPartyHat(PortraitCanvas& p) {
    Mask m = p.NewMask();
    m.Add(Polygon({kCx - 7, 11, kCx + 7, 11, kCx + 1, 0}));
    DrawPart(p.img, m, p.hatCloth);
    for (int y = 3; y < 11; y += 3)
        for (int x = 0; x < 64; ++x)
            if (m.Get(x, y) && (x + y) % 4 == 0) p.img.Put(x, y, p.accent);
    Mask pom = p.NewMask();
    pom.Add(Circle(kCx + 1, 1, 2));
    DrawPart(p.img, pom, p.accent, false);
}

void PaintHeadband(PortraitCanvas& p) {
    Mask m = p.NewMask();
    m.Add(Box(0, 10.5, 64, 14)).Keep(p.NewMask().Add(Ellipse(kCx, kCy, p.rx + 1.5, p.ry + 1.5)));
    DrawPart(p.img, m, p.hatCloth, false);
    Mask stripe = p.NewMask();
    stripe.Add(Box(0, 12, 64, 13)).Keep(m);
    Paint(p.img, stripe, p.accent);
}

void PaintBow(PortraitCanvas& p) {
    Mask m = p.NewMask();
    m.Add(Polygon({kCx + 8, 7, kCx + 2, 2, kCx + 2, 12}))
        .Add(Polygon({kCx + 8, 7, kCx + 14, 2, kCx + 14, 12}));
    DrawPart(p.img, m, p.hatCloth);
    Mask knot = p.NewMask();
    knot.Add(Circle(kCx + 8, 7, 2));
    DrawPart(p.img, knot, p.accent, false);
}

void PaintHeadphones(PortraitCanvas& p) {
    Mask band = p.NewMask();
    band.Add(Ellipse(kCx, kCy - 1, p.rx + 3, p.ry + 1))
        .Cut(Ellipse(kCx, kCy - 1, p.rx + 1.5, p.ry - 0.5));
    band.Cut(Box(0, 17, 64, 64));
    DrawPart(p.img, band, Hex(0x3A3A44), false);
    Mask cups = p.NewMask();
    cups.Add(Ellipse(kCx - p.rx - 0.5, 21, 3, 4.5)).Add(Ellipse(kCx + p.rx + 0.5, 21, 3, 4.5));
    DrawPart(p.img, cups, p.hatCloth);
}

void PaintViking(PortraitCanvas& p) {
    Mask horns = p.NewMask();
    horns.Add(Polygon({kCx - 9, 11, kCx - 13, 10, kCx - 17, 1, kCx - 13, 4, kCx - 8, 6}));
    horns.Add(Polygon({kCx + 9, 11, kCx + 13, 10, kCx + 17, 1, kCx + 13, 4, kCx + 8, 6}));
    DrawPart(p.img, horns, Hex(0xF6EED8));
    DrawPart(p.img, Dome(p, 13, 1.5, 11), Hex(0xA8AEB8));
    DrawPart(p.img, BandRoundTheHead(p, 11, 14), kGold, false);
}

void PaintBeret(PortraitCanvas& p) {
    Mask m = p.NewMask();
    m.Add(Ellipse(kCx + 2, 8, p.rx + 3, 4.5));
    DrawPart(p.img, m, p.hatCloth);
    p.img.Put(32, 3, Ink(p.hatCloth));
    p.img.Put(32, 2, Ink(p.hatCloth));
}

void PaintFlower(PortraitCanvas& p) {
    static const double fx[5] = {0, 3, 2, -2, -3};
    static const double fy[5] = {-3, -1, 2.5, 2.5, -1};
    Mask petals = p.NewMask();
    for (int i = 0; i < 5; ++i) petals.Add(Circle(kCx + 10 + fx[i], 10 + fy[i], 2));
    DrawPart(p.img, petals, p.hatCloth, false);
    Mask middle = p.NewMask();
    middle.Add(Circle(kCx + 10, 10, 1.5));
    Paint(p.img, middle, kGold);
}

void PaintChefHat(PortraitCanvas& p) {
    Mask m = p.NewMask();
    m.Add(Circle(kCx - 5, 5, 5)).Add(Circle(kCx + 5, 5, 5)).Add(Circle(kCx, 3.5, 5.5));
    m.Add(Box(kCx - 9, 5, kCx + 9, 13));
    DrawPart(p.img, m, kChefWhite);
    Mask band = p.NewMask();
    band.Add(Box(kCx - 9, 10, kCx + 9, 13));
    Paint(p.img, band, Hex(0xE2E2DE));
}

void PaintPropeller(PortraitCanvas& p) {
    const Mask m = Dome(p, 13, 1.5, 9);
    DrawPart(p.img, m, p.hatCloth);
    Mask segment = p.NewMask();
    segment.Add(Box(kCx - 3, 0, kCx + 3, 13)).Keep(m).Cut(m.Rim(0, -1));
    Paint(p.img, segment, p.accent);
    Mask blades = p.NewMask();
    blades.Add(Ellipse(kCx - 4, 2, 4, 1.3))
        .Add(Ellipse(kCx + 4, 2, 4, 1.3))
        .Add(Box(kCx - 0.5, 2, kCx + 0.5, 5));
    DrawPart(p.img, blades, kGold, false);
}

}  // namespace

void PaintHat(PortraitCanvas& p) {
    switch (p.who.hat) {
        case Cap:
            return PaintCap(p);
        case Beanie:
            return PaintBeanie(p);
        case TopHat:
            return PaintTopHat(p);
        case Cowboy:
            return PaintCowboy(p);
        case Crown:
            return PaintCrown(p);
        case PartyHat:
            return PaintPartyHat(p);
        case Headband:
            return PaintHeadband(p);
        case Bow:
            return PaintBow(p);
        case Headphones:
            return PaintHeadphones(p);
        case Viking:
            return PaintViking(p);
        case Beret:
            return PaintBeret(p);
        case Flower:
            return PaintFlower(p);
        case ChefHat:
            return PaintChefHat(p);
        case Propeller:
            return PaintPropeller(p);
        default:
            return;
    }
}

}  // namespace media
