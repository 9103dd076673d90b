// The head and the face on it: ears, brows, cheeks, eyes, nose, facial hair
// and mouth, each in the style the character has.
#include "Painting.h"
#include "PortraitCanvas.h"

namespace media {

namespace {

constexpr Rgba kDark = Hex(0x241620);  // pupils, lids, lips
constexpr Rgba kWhite = Hex(0xFFFFFF);
constexpr int kMouthY = 29;

void DrawBrows(PortraitCanvas& p) {
    const Rgba brow =
        p.who.hair == Bald || p.who.hair == Receding ? Scale(p.hair, 70) : Ink(p.hair);
    const int by = p.who.eyes == Fierce ? 18 : 17;
    if (p.who.eyes == Fierce) {
        for (int i = 0; i < 4; ++i) p.Both(23 + i, by - 1 + i / 2, brow);
    } else if (p.who.facial == Beard || p.who.hairColour == 0 || p.who.hair == Afro) {
        for (int i = 0; i < 4; ++i) {
            p.Both(23 + i, by, brow);
            p.Both(23 + i, by - 1, brow);
        }
    } else {
        for (int i = 0; i < 4; ++i) p.Both(23 + i, by - (i == 1 || i == 2 ? 1 : 0), brow);
    }
}

void DrawCheeks(PortraitCanvas& p) {
    switch (p.who.cheeks) {
        case Blush:
            for (int x = 20; x < 23; ++x) p.Both(x, 26, Mix(p.skin, Hex(0xFF5A7A), 110));
            break;
        case Freckles:
            p.Both(21, 25, Scale(p.skin, 80));
            p.Both(23, 26, Scale(p.skin, 80));
            p.Both(21, 27, Scale(p.skin, 80));
            break;
        case FacePaint:
            for (int x = 20; x < 25; ++x) {
                p.Both(x, 26, p.accent);
                p.Both(x, 27, p.cloth);
            }
            break;
        default:
            break;
    }
}

// A pixel of the left eye, or its mirror image for the right one.
void PutEye(PortraitCanvas& p, bool left, int x, int y, Rgba col) {
    p.img.Put(left ? x : Mirror(x), y, col);
}

// The white of an open eye, x0 <= x < x1 and y0 <= y < y1, outlined dark
// with the lower lid in the skin's ink.
void EyeWhite(PortraitCanvas& p, bool left, int x0, int y0, int x1, int y1) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) PutEye(p, left, x, y, kWhite);
    for (int x = x0; x < x1; ++x) {
        PutEye(p, left, x, y0 - 1, kDark);
        PutEye(p, left, x, y1, Ink(p.skin));
    }
    for (int y = y0; y < y1; ++y) {
        PutEye(p, left, x0 - 1, y, kDark);
        PutEye(p, left, x1, y, kDark);
    }
}

void RoundEye(PortraitCanvas& p, bool left) {
    EyeWhite(p, left, 23, 20, 26, 24);
    PutEye(p, left, 24, 21, p.iris);
    PutEye(p, left, 25, 21, p.iris);
    PutEye(p, left, 24, 22, kDark);
    PutEye(p, left, 25, 22, kDark);
    PutEye(p, left, 24, 23, p.iris);
    PutEye(p, left, 25, 23, p.iris);
    PutEye(p, left, left ? 25 : 24, 21, kWhite);  // the catch light, toward the middle
}

// A closed, smiling eye.
void EyeArc(PortraitCanvas& p, bool left) {
    PutEye(p, left, 23, 22, kDark);
    PutEye(p, left, 24, 21, kDark);
    PutEye(p, left, 25, 21, kDark);
    PutEye(p, left, 26, 22, kDark);
}

void DotEyes(PortraitCanvas& p) {
    for (int y = 21; y < 24; ++y) {
        p.Both(24, y, kDark);
        p.Both(25, y, kDark);
    }
    p.Both(24, 21, p.who.eyes == Fierce ? kDark : kWhite);
}

void SleepyEyes(PortraitCanvas& p) {
    for (int x = 23; x < 27; ++x) p.Both(x, 21, kDark);
    p.Both(24, 22, p.iris);
    p.Both(25, 22, p.iris);
    p.Both(24, 23, kDark);
    p.Both(25, 23, kDark);
}

void WideEyes(PortraitCanvas& p) {
    EyeWhite(p, true, 22, 20, 27, 25);
    EyeWhite(p, false, 22, 20, 27, 25);
    p.Both(24, 22, kDark);
    p.Both(24, 23, kDark);
}

void DrawEyes(PortraitCanvas& p) {
    switch (p.who.eyes) {
        case Dots:
        case Fierce:
            DotEyes(p);
            break;
        case Round:
        case Lashes:
            RoundEye(p, true);
            RoundEye(p, false);
            if (p.who.eyes == Lashes) {
                p.Both(22, 19, kDark);
                p.Both(21, 18, kDark);
            }
            break;
        case Happy:
            EyeArc(p, true);
            EyeArc(p, false);
            break;
        case Sleepy:
            SleepyEyes(p);
            break;
        case Wide:
            WideEyes(p);
            break;
        case Wink:
            RoundEye(p, true);
            EyeArc(p, false);
            break;
        default:
            break;
    }
}

void BigRoundNose(PortraitCanvas& p, Rgba ink) {
    Mask m = p.NewMask();
    m.Add(Ellipse(kCx + 0.5, 25, 3, 2.5));
    DrawPart(p.img, m, p.skin, true, ink);
}

void ClownNose(PortraitCanvas& p) {
    Mask m = p.NewMask();
    m.Add(Circle(kCx, 25, 2.6));
    DrawPart(p.img, m, Hex(0xF03A3A), false);
    p.img.Put(29, 24, Hex(0xFFC0C0));
}

void DrawNose(PortraitCanvas& p, Rgba ink) {
    switch (p.who.nose) {
        case Tiny:
            p.img.Put(29, 26, Shade(p.skin));
            p.img.Put(30, 26, Shade(p.skin));
            break;
        case Button:
            p.img.Put(28, 26, Shade(p.skin));
            p.img.Put(31, 26, Shade(p.skin));
            p.img.Put(29, 25, Light(p.skin));
            break;
        case BigNose:
            BigRoundNose(p, ink);
            break;
        case Clown:
            ClownNose(p);
            break;
        case Pointy:
            for (int i = 0; i < 4; ++i) p.img.Put(30 + i / 2, 23 + i, ink);
            p.img.Put(31, 26, ink);
            p.img.Put(30, 26, ink);
            break;
        default:
            break;
    }
}

// Dots of hair colour on the chin and cheeks, around the mouth.
void StubbleDots(PortraitCanvas& p) {
    const Rgba dots = Mix(p.skin, p.hair, 110);
    Mask face = p.HeadMask();
    face.Cut(face.Rim(0, 1));
    for (int y = 27; y < 34; ++y)
        for (int x = 20; x < 40; ++x)
            if (((x + y) % 2) == 0 && face.Get(x, y) && (y > 29 || x < 25 || x > 34))
                p.img.Put(x, y, dots);
}

// Empty for a shaven face (and for stubble, which is dots rather than a shape).
Mask FacialHairShape(const PortraitCanvas& p) {
    Mask m = p.NewMask();
    switch (p.who.facial) {
        case Moustache:
            m.Add(Ellipse(kCx - 2.5, 27.3, 3, 1.4)).Add(Ellipse(kCx + 2.5, 27.3, 3, 1.4));
            break;
        case Handlebar:
            m.Add(Ellipse(kCx - 2.5, 27.3, 3, 1.3)).Add(Ellipse(kCx + 2.5, 27.3, 3, 1.3));
            m.Add(Circle(kCx - 5.5, 26, 1.1)).Add(Circle(kCx + 5.5, 26, 1.1));
            break;
        case Beard:
            m.Add(Ellipse(kCx, kCy + 1, p.rx + 1, p.ry + 2)).Cut(Box(0, 0, 64, 25));
            m.Cut(Ellipse(kCx, 29, 4, 2.2));
            break;
        case Goatee:
            m.Add(Ellipse(kCx, 33, 3, 3)).Add(Ellipse(kCx, 27.5, 4.5, 1.2));
            break;
        default:
            break;
    }
    return m;
}

void DrawFacialHair(PortraitCanvas& p) {
    if (p.who.facial == Stubble) return StubbleDots(p);
    const Mask m = FacialHairShape(p);
    if (!m.Empty()) DrawPart(p.img, m, p.hair, p.who.facial == Beard);
}

// A closed mouth: a line with its corners up (a smile) or down (a frown).
void MouthLine(PortraitCanvas& p, int cornerY) {
    p.img.Put(27, cornerY, kDark);
    p.img.Put(32, cornerY, kDark);
    for (int x = 28; x < 32; ++x) p.img.Put(x, kMouthY, kDark);
}

void Lips(PortraitCanvas& p, const Mask& open) {
    DrawPart(p.img, open, Hex(0x8A1E2E), false, kDark);
}

// Wide open with the upper teeth showing.
void GrinningMouth(PortraitCanvas& p) {
    const int y = kMouthY;
    Mask m = p.NewMask();
    m.Add(Ellipse(kCx, y - 1, 4.2, 3.2)).Cut(Box(0, 0, 64, y - 1));
    Lips(p, m);
    for (int x = 27; x < 33; ++x) p.img.Put(x, y - 1, kWhite);
    if (p.who.mouth == Laugh) {
        p.img.Put(29, y + 1, Hex(0xF27A8A));
        p.img.Put(30, y + 1, Hex(0xF27A8A));
    }
}

void RoundMouth(PortraitCanvas& p) {
    Mask m = p.NewMask();
    m.Add(Ellipse(kCx, kMouthY, 1.8, 2));
    Lips(p, m);
}

void TongueOut(PortraitCanvas& p) {
    const int y = kMouthY;
    MouthLine(p, y - 1);
    p.img.Put(30, y + 1, Hex(0xF27A8A));
    p.img.Put(31, y + 1, Hex(0xF27A8A));
    p.img.Put(30, y + 2, Hex(0xD85A6A));
    p.img.Put(31, y + 2, kDark);
    p.img.Put(29, y + 1, kDark);
    p.img.Put(32, y + 1, kDark);
}

void ShowingTeeth(PortraitCanvas& p) {
    const int y = kMouthY;
    for (int x = 27; x < 33; ++x) p.img.Put(x, y - 1, kDark);
    p.img.Put(29, y, kWhite);
    p.img.Put(30, y, kWhite);
    p.img.Put(28, y, kDark);
    p.img.Put(31, y, kDark);
    p.img.Put(29, y + 1, kDark);
    p.img.Put(30, y + 1, kDark);
}

void DrawMouth(PortraitCanvas& p) {
    const int y = kMouthY;
    switch (p.who.mouth) {
        case Smile:
            MouthLine(p, y - 1);
            break;
        case Grin:
        case Laugh:
            GrinningMouth(p);
            break;
        case Oh:
            RoundMouth(p);
            break;
        case Flat:
            for (int x = 27; x < 33; ++x) p.img.Put(x, y, kDark);
            break;
        case Smirk:
            for (int x = 27; x < 32; ++x) p.img.Put(x, y, kDark);
            p.img.Put(32, y - 1, kDark);
            break;
        case Tongue:
            TongueOut(p);
            break;
        case Frown:
            MouthLine(p, y + 1);
            break;
        case Teeth:
            ShowingTeeth(p);
            break;
        default:
            break;
    }
}

}  // namespace

void PaintHead(PortraitCanvas& p) {
    Mask ears = p.NewMask();
    ears.Add(Ellipse(kCx - p.rx, 22, 2.5, 3.5)).Add(Ellipse(kCx + p.rx, 22, 2.5, 3.5));
    DrawPart(p.img, ears, p.skin, false);
    if (p.who.glasses == NoGlasses && p.who.hat != Headphones &&
        (p.who.skin + p.who.shirtColour) % 5 == 0) {
        p.img.Put(int(kCx - p.rx) - 1, 25, Hex(0xF6D365));  // earring
    }
    DrawPart(p.img, p.HeadMask(), p.skin);
}

void PaintFace(PortraitCanvas& p) {
    DrawBrows(p);
    DrawCheeks(p);  // under everything else
    DrawEyes(p);
    DrawNose(p, Ink(p.skin));
    DrawFacialHair(p);
    DrawMouth(p);
}

}  // namespace media
