// Glasses, shades and the monocle, painted last, over everything.
#include "Painting.h"
#include "PortraitCanvas.h"

namespace media {

namespace {

constexpr Rgba kShadeFrame = Hex(0x141018);
constexpr Rgba kGoldFrame = Hex(0xF8C832);

// Lenses outlined in the frame's ink, the frame on the lenses' own edge, and
// the bridge between them at row `bridgeY`.
void FramedLenses(PortraitCanvas& p, const Mask& lenses, Rgba frame, int bridgeY) {
    Paint(p.img, lenses.Ring(false), Ink(frame));
    Paint(p.img, lenses.Edge(), frame);
    p.Both(29, bridgeY, frame);
}

Mask ShadesLenses(const PortraitCanvas& p) {
    Mask lenses = p.NewMask();
    lenses.Add(Box(20, 19, 29, 24)).Add(Ellipse(24.5, 24, 4.5, 2.2));
    lenses.Add(Box(31, 19, 40, 24)).Add(Ellipse(35.5, 24, 4.5, 2.2));
    return lenses;
}

Mask HeartLenses(const PortraitCanvas& p) {
    Mask lenses = p.NewMask();
    for (double ex : {24.5, 35.5}) {
        lenses.Add(Circle(ex - 1.8, 21, 2.3)).Add(Circle(ex + 1.8, 21, 2.3));
        lenses.Add(Polygon({ex - 4.1, 21.5, ex + 4.1, 21.5, ex, 26.5}));
    }
    return lenses;
}

// Dark or heart-shaped lenses with a glint on each.
void Sunglasses(PortraitCanvas& p, bool hearts) {
    const Mask lenses = hearts ? HeartLenses(p) : ShadesLenses(p);
    DrawPart(p.img, lenses, hearts ? Hex(0xF03A8A) : Hex(0x1C1C26), false, kShadeFrame);
    p.Both(29, 20, kShadeFrame);  // the bridge
    for (int lens : {0, 11}) {
        p.img.Put(22 + lens, 20, Hex(0xFFFFFF));
        p.img.Put(23 + lens, 20, Hex(0xB0B0C0));
    }
}

void MonocleOnAChain(PortraitCanvas& p) {
    Mask lens = p.NewMask();
    lens.Add(Circle(35.5, 22, 3.8));
    Paint(p.img, lens.Edge(), kGoldFrame);
    for (int y = 26; y < 34; ++y) p.img.Put(39 + (y - 26) / 3, y, kGoldFrame);  // the chain
}

}  // namespace

void PaintEyewear(PortraitCanvas& p) {
    Mask lenses = p.NewMask();
    switch (p.who.glasses) {
        case RoundGlasses:
            lenses.Add(Circle(24.5, 22, 3.6)).Add(Circle(35.5, 22, 3.6));
            return FramedLenses(p, lenses, p.frame, 21);
        case SquareGlasses:
            lenses.Add(Box(21, 19, 29, 25)).Add(Box(31, 19, 39, 25));
            return FramedLenses(p, lenses, p.frame, 20);
        case Shades:
        case HeartShades:
            return Sunglasses(p, p.who.glasses == HeartShades);
        case Monocle:
            return MonocleOnAChain(p);
        default:
            return;
    }
}

}  // namespace media
