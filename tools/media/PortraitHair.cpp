// The hair: what falls behind the head and shoulders, painted first, and
// what lies over the forehead, painted after the face.
#include "Painting.h"
#include "PortraitCanvas.h"

namespace media {

namespace {

// Empty for styles with nothing behind the head.
Mask BackHairShape(const PortraitCanvas& p) {
    Mask m = p.NewMask();
    const double w = p.rx + 4;
    switch (p.who.hair) {
        case Afro:
            m.Add(Circle(kCx, kCy - 4, p.rx + 6.5));
            break;
        case Long:
            m.Add(Ellipse(kCx, kCy - 2, w, p.ry + 1)).Add(Box(kCx - w, kCy - 2, kCx + w, 46));
            m.Cut(Polygon({kCx - 6, 46.5, kCx + 6, 46.5, kCx, 40}));
            break;
        case Bob:
            m.Add(Ellipse(kCx, kCy - 1, p.rx + 4, p.ry + 2)).Cut(Box(0, 31, 64, 64));
            break;
        case Pigtails:
            m.Add(Ellipse(kCx - p.rx - 4, 28, 4, 8)).Add(Ellipse(kCx + p.rx + 4, 28, 4, 8));
            break;
        case Bun:
            m.Add(Circle(kCx, 5, 5));
            break;
        case Ponytail:
            m.Add(Ellipse(kCx + p.rx + 3, 30, 4, 11));
            break;
        default:
            break;
    }
    return m;
}

Mask SpikesShape(const PortraitCanvas& p) {
    Mask m = p.NewMask();
    m.Add(p.HairCap(1.5, 12)).Add(p.Sideburns(17));
    for (int i = 0; i < 5; ++i) {
        const double x = kCx - 12 + i * 6;
        m.Add(Polygon({x - 5, 10, x + 5, 10, x + (i - 2) * 1.5, 1.5 + (i == 2 ? 0 : 2)}));
    }
    return m;
}

Mask CurlsShape(const PortraitCanvas& p) {
    static const double px[7] = {-12, -9, -4.5, 0, 4.5, 9, 12};
    static const double py[7] = {15, 9, 6, 5, 6, 9, 15};
    Mask m = p.NewMask();
    for (int i = 0; i < 7; ++i) m.Add(Circle(kCx + px[i], py[i], 4));
    m.Add(p.HairCap(1.5, 12));
    return m;
}

Mask SwoopShape(const PortraitCanvas& p) {
    Mask m = p.NewMask();
    m.Add(p.HairCap(1.8, 17)).Add(p.Sideburns(18));
    m.Cut(Polygon({kCx - p.rx + 2, 18, kCx + p.rx + 3, 18, kCx + p.rx + 3, 10.5, kCx - 4, 12}));
    return m;
}

// The hair over the forehead, with its cut parting; empty for bald heads.
Mask FrontHairShape(const PortraitCanvas& p) {
    Mask m = p.NewMask();
    switch (p.who.hair) {
        case Receding:
            m.Add(Ellipse(kCx - p.rx + 1, 15, 2.5, 5)).Add(Ellipse(kCx + p.rx - 1, 15, 2.5, 5));
            break;
        case Short:
            m.Add(p.HairCap(1.5, 12)).Add(p.Sideburns(19));
            m.Cut(Polygon({kCx - 3, 12.5, kCx + 6, 12.5, kCx + 2, 9.5}));
            break;
        case Spiky:
            return SpikesShape(p);
        case Afro:
            m.Add(p.HairCap(3, 12));
            break;
        case Long:
        case Bob:
            m.Add(p.HairCap(2, p.who.hair == Bob ? 13.5 : 12));
            if (p.who.hair == Long) m.Cut(Polygon({kCx - 3, 13, kCx + 3, 13, kCx, 7}));
            break;
        case Pigtails:
        case Bun:
        case Ponytail:
            m.Add(p.HairCap(1.5, 12)).Add(p.Sideburns(16));
            m.Cut(Polygon({kCx - 2, 12.5, kCx + 2, 12.5, kCx, 8.5}));
            break;
        case Mohawk:
            m.Add(Ellipse(kCx, 9, 3.5, 9)).Cut(Box(0, 13, 64, 64));
            break;
        case Curly:
            return CurlsShape(p);
        case Swoop:
            return SwoopShape(p);
        case Buzz:
            m.Add(p.HairCap(0.6, 11)).Add(p.Sideburns(16));
            break;
        case Quiff:
            m.Add(p.HairCap(1.5, 12)).Add(p.Sideburns(18));
            m.Add(Ellipse(kCx - 1, 6, 10, 5));
            m.Cut(Box(0, 0, 64, 1));
            break;
        default:
            break;
    }
    return m;
}

// Light on a bald scalp where no hat covers it.
void ScalpShine(PortraitCanvas& p) {
    p.img.Put(24, 9, Light(p.skin));
    p.img.Put(25, 8, Light(p.skin));
    p.img.Put(26, 8, Light(p.skin));
}

// Stubble on the shaven sides of a mohawk.
void ShavenSides(PortraitCanvas& p) {
    Mask scalp = p.HeadMask();
    scalp.Cut(scalp.Rim(0, -1));
    for (int y = 10; y < 18; ++y)
        for (int x = 0; x < 64; ++x)
            if ((x + y) % 2 == 0 && scalp.Get(x, y) && (x < 24 || x > 35))
                p.img.Put(x, y, Mix(p.skin, p.hair, 100));
}

// A shine line on the hair reads as hair at small sizes.
void HairShine(PortraitCanvas& p, const Mask& m) {
    Mask shine = m.Rim(-1, -1);
    shine.Cut(m.Rim(0, -2));
    shine.Keep(p.NewMask().Add(Box(20, 0, 30, 12)));
    Paint(p.img, shine, Light(p.hair));
}

}  // namespace

void PaintBackHair(PortraitCanvas& p) {
    const Mask m = BackHairShape(p);
    if (m.Empty()) return;
    DrawPart(p.img, m, p.hair);
    if (p.who.hair == Pigtails) {  // hair ties
        for (int dx = -1; dx <= 1; ++dx) p.Both(int(kCx - p.rx - 4) + dx, 20, p.accent);
    }
}

void PaintFrontHair(PortraitCanvas& p) {
    const bool hatted = p.HatCoversTop();
    if ((p.who.hair == Bald || p.who.hair == Receding) && !hatted) ScalpShine(p);
    if (p.who.hair == Mohawk) ShavenSides(p);
    const Mask m = FrontHairShape(p);
    if (m.Empty()) return;
    DrawPart(p.img, m, p.hair, true, p.who.hair == Afro ? Shade(p.hair) : Rgba{});
    if (!hatted && p.who.hair != Mohawk) HairShine(p, m);
}

}  // namespace media
