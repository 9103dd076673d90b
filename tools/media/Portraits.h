// The crowd's 63 portraits: cartoon busts drawn from a list of features.
//
// Geometry, from the board: a portrait is drawn with its top-left corner at the
// cell position, the hit test measures from (32, 18) inside it, rows lie 30
// pixels apart (each row covers the one behind from 30 pixels down) and the
// back row of a 9-column board puts neighbours 25.6 pixels apart. So the head
// (skin about 24 x 28 pixels) is centred near (30, 20) and everything a player
// must see lies in the top 34 rows; the shoulders below show between the heads
// of the row in front. The badge shows columns 0..29, rows 17..48 of the
// picture: eyes, mouth, chin and collar, so skin, clothes and eyewear must tell
// people apart as much as hair and hats do.
#pragma once

#include <array>
#include <vector>

#include "Characters.h"
#include "MediaImage.h"

namespace media {

constexpr int kPortraitWidth = 64;
constexpr int kPortraitHeight = 64;

inline const std::array<Rgba, 8> kSkins = {Hex(0xFFE3CF), Hex(0xF9CFA8), Hex(0xEDB587),
                                           Hex(0xD89A64), Hex(0xB97A4C), Hex(0x95603A),
                                           Hex(0x74462A), Hex(0x5A3522)};
inline const std::array<Rgba, 14> kHairColours = {
    Hex(0x2A2530), Hex(0x5A3620), Hex(0x8E5A2E), Hex(0xA8432A), Hex(0xF08A2A),
    Hex(0xF6D365), Hex(0xFBF3D0), Hex(0x9A9AA4), Hex(0xECEAF0), Hex(0x3F7AE8),
    Hex(0xF26EB5), Hex(0x4CC46A), Hex(0x9150D8), Hex(0x2FC2C2)};
inline const std::array<Rgba, 14> kClothColours = {
    Hex(0xE03A3A), Hex(0xF39237), Hex(0xF5D03B), Hex(0x4DB84A), Hex(0x1FA89A),
    Hex(0x3A78E0), Hex(0x2A3F88), Hex(0x8A4FD0), Hex(0xF07AB8), Hex(0xF4F4F0),
    Hex(0x8C929C), Hex(0x33333B), Hex(0x8A5A34), Hex(0x9CE05A)};
inline const std::array<Rgba, 5> kEyeColours = {Hex(0x2A1E1A), Hex(0x3070D0), Hex(0x2E9A4E),
                                                Hex(0x7A4A22), Hex(0x7A50B0)};

constexpr double kCx = 30.0;  // the face's middle line lies between columns 29 and 30
constexpr double kCy = 20.0;
inline int Mirror(int x) {
    return 59 - x;
}

class PortraitPainter {
  public:
    explicit PortraitPainter(const Character& c)
        : c_(c),
          img_(kPortraitWidth, kPortraitHeight),
          skin_(kSkins[size_t(c.skin)]),
          hair_(kHairColours[size_t(c.hairColour)]),
          cloth_(kClothColours[size_t(c.shirtColour)]),
          accent_(kClothColours[size_t(c.accent)]) {
        static const double rx[3] = {12, 11, 13}, ry[3] = {14, 15, 13};
        rx_ = rx[c.head];
        ry_ = ry[c.head];
    }

    Image Draw() {
        BackHair();
        Body();
        Head();
        Face();
        FrontHair();
        Hat();
        Eyewear();
        return img_;
    }

  private:
    Mask NewMask() const { return Mask(kPortraitWidth, kPortraitHeight); }
    void Both(int x, int y, Rgba col) {
        img_.Put(x, y, col);
        img_.Put(Mirror(x), y, col);
    }
    bool HatCoversTop() const {
        return c_.hat == Cap || c_.hat == Beanie || c_.hat == TopHat || c_.hat == Cowboy ||
               c_.hat == Viking || c_.hat == ChefHat || c_.hat == Propeller || c_.hat == Beret;
    }
    Mask HeadMask() const { return std::move(NewMask().Add(Ellipse(kCx, kCy, rx_, ry_))); }
    // The hair's outer shape above a hairline.
    Mask HairCap(double grow, double hairline) const {
        Mask m = NewMask();
        m.Add(Ellipse(kCx, kCy - 0.5, rx_ + grow, ry_ + grow * 0.8));
        m.Cut(Box(0, hairline, 64, 64));
        return m;
    }
    Mask Sideburns(double bottom) const {
        Mask m = NewMask();
        m.Add(Box(kCx - rx_ - 1.5, 10, kCx - rx_ + 2.5, bottom));
        m.Add(Box(kCx + rx_ - 2.5, 10, kCx + rx_ + 1.5, bottom));
        m.Keep(NewMask().Add(Ellipse(kCx, kCy, rx_ + 1.5, ry_ + 1)));
        return m;
    }

    void BackHair() {
        Mask m = NewMask();
        const double w = rx_ + 4;
        switch (c_.hair) {
            case Afro:
                m.Add(Circle(kCx, kCy - 4, rx_ + 6.5));
                break;
            case Long:
                m.Add(Ellipse(kCx, kCy - 2, w, ry_ + 1)).Add(Box(kCx - w, kCy - 2, kCx + w, 46));
                m.Cut(Polygon({kCx - 6, 46.5, kCx + 6, 46.5, kCx, 40}));
                break;
            case Bob:
                m.Add(Ellipse(kCx, kCy - 1, rx_ + 4, ry_ + 2)).Cut(Box(0, 31, 64, 64));
                break;
            case Pigtails:
                m.Add(Ellipse(kCx - rx_ - 4, 28, 4, 8)).Add(Ellipse(kCx + rx_ + 4, 28, 4, 8));
                break;
            case Bun:
                m.Add(Circle(kCx, 5, 5));
                break;
            case Ponytail:
                m.Add(Ellipse(kCx + rx_ + 3, 30, 4, 11));
                break;
            default:
                return;
        }
        DrawPart(img_, m, hair_);
        if (c_.hair == Pigtails) {  // hair ties
            for (int dx = -1; dx <= 1; ++dx) Both(int(kCx - rx_ - 4) + dx, 20, accent_);
        }
    }

    void Body() {
        Mask body = NewMask();
        body.Add(Ellipse(kCx, 51, 20, 15)).Add(Box(kCx - 20, 51, kCx + 20, 64));
        if (c_.shirt == Hoodie) body.Add(Ellipse(kCx, 38, 12, 5));
        DrawPart(img_, body, cloth_);
        Mask neck = NewMask();
        neck.Add(Box(kCx - 4, 28, kCx + 4, 38));
        switch (c_.shirt) {
            case Tee:
            case Jersey:
                neck.Add(Ellipse(kCx, 37, 6, 3.5));
                break;
            case VNeck:
                neck.Add(Polygon({kCx - 6, 36, kCx + 6, 36, kCx, 44}));
                break;
            default:
                break;
        }
        DrawPart(img_, neck, Shade(skin_), false);
        switch (c_.shirt) {
            case Stripes: {
                Mask inner = body;
                inner.Cut(body.Rim(1, 0)).Cut(body.Rim(-1, 0));
                for (int y = 42; y < 64; y += 5) {
                    Mask band = NewMask();
                    band.Add(Box(0, y, 64, y + 2.5)).Keep(inner);
                    Paint(img_, band, accent_);
                }
                break;
            }
            case Tie: {
                Mask collar = NewMask();
                collar.Add(Polygon({kCx - 7, 36, kCx - 0.5, 37, kCx - 4, 42}));
                collar.Add(Polygon({kCx + 7, 36, kCx + 0.5, 37, kCx + 4, 42}));
                DrawPart(img_, collar, Hex(0xF8F8F4), false);
                Mask tie = NewMask();
                tie.Add(Polygon({kCx - 2, 38, kCx + 2, 38, kCx + 3, 52, kCx, 55, kCx - 3, 52}));
                DrawPart(img_, tie, accent_, false);
                break;
            }
            case Hoodie: {
                for (int y = 40; y < 48; ++y) {
                    img_.Put(int(kCx) - 4, y, Hex(0xF4F4F0));
                    img_.Put(int(kCx) + 3, y, Hex(0xF4F4F0));
                }
                Mask pocket = NewMask();
                pocket.Add(Box(kCx - 8, 54, kCx + 8, 64));
                Paint(img_, pocket.Ring(false).Cut(NewMask().Add(Box(0, 63, 64, 64))),
                      Shade(cloth_));
                break;
            }
            case Scarf: {
                Mask scarf = NewMask();
                scarf.Add(Ellipse(kCx, 37, 11, 4)).Add(Box(kCx + 3, 37, kCx + 8, 54));
                DrawPart(img_, scarf, accent_, false);
                Mask stripes = NewMask();
                for (int x = 0; x < 64; x += 4) stripes.Add(Box(x, 0, x + 2, 64));
                Mask inner = scarf;
                inner.Cut(scarf.Rim(0, 1));
                stripes.Keep(inner);
                Paint(img_, stripes, Hex(0xF8F8F4));
                break;
            }
            case Overalls: {
                Mask bib = NewMask();
                bib.Add(Box(kCx - 8, 46, kCx + 8, 64))
                    .Add(Box(kCx - 9, 38, kCx - 6, 47))
                    .Add(Box(kCx + 6, 38, kCx + 9, 47));
                DrawPart(img_, bib, accent_, false);
                Both(22, 47, Hex(0xF6D365));
                break;
            }
            case Suit: {
                Mask shirt = NewMask();
                shirt.Add(Polygon({kCx - 6, 36, kCx + 6, 36, kCx, 56}));
                Paint(img_, shirt, Hex(0xF8F8F4));
                Mask tie = NewMask();
                tie.Add(Polygon({kCx - 1.5, 38, kCx + 1.5, 38, kCx + 2, 50, kCx, 53, kCx - 2, 50}));
                Paint(img_, tie, accent_);
                for (int y = 36; y < 57; ++y) {
                    const int d = (y - 36) * 6 / 20;
                    img_.Put(int(kCx) - 7 + d, y, Ink(cloth_));
                    img_.Put(Mirror(int(kCx) - 7 + d), y, Ink(cloth_));
                }
                break;
            }
            case Jersey: {
                Mask sleeves = NewMask();
                sleeves.Add(Box(0, 0, kCx - 13, 64)).Add(Box(kCx + 13, 0, 64, 64));
                Mask inner = body;
                inner.Cut(body.Rim(0, -1).Add(body.Rim(1, 0)).Add(body.Rim(-1, 0)));
                sleeves.Keep(inner);
                Paint(img_, sleeves, accent_);
                Mask collar = NewMask().Add(Ellipse(kCx, 37, 7, 4.5));
                collar.Cut(NewMask().Add(Ellipse(kCx, 37, 6, 3.5)));
                collar.Keep(body);
                Paint(img_, collar, accent_);
                DrawNumber();
                break;
            }
            default:
                break;
        }
        if (c_.shirt != Suit && c_.shirt != Overalls && c_.shirt != Tie) DrawEmblem();
    }

    void DrawEmblem() {
        static const char* shapes[Emblems][5] = {{"", "", "", "", ""},
                                                 {"..#..", ".###.", "#####", ".###.", ".#.#."},
                                                 {".#.#.", "#####", "#####", ".###.", "..#.."},
                                                 {"..#..", ".###.", "#####", ".###.", "..#.."},
                                                 {"...##", "..##.", ".###.", ".##..", "##..."},
                                                 {".###.", "##.##", "#...#", "##.##", ".###."}};
        static const Rgba colours[Emblems] = {Hex(0),        Hex(0xFFD23A), Hex(0xFF4A6A),
                                              Hex(0x5AE0F0), Hex(0xFFF27A), Hex(0xF4F4F0)};
        if (c_.emblem <= NoEmblem || c_.emblem >= Emblems) return;
        Mask m = NewMask();
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 5; ++x)
                if (shapes[c_.emblem][y][x] == '#') m.Set(17 + x, 42 + y);
        DrawPart(img_, m, colours[c_.emblem], false, Hex(0x1A1024));
    }

    // A two-pixel-wide numeral on the jersey, from the character's colours.
    void DrawNumber() {
        static const char* digits[4][5] = {{"111", "001", "111", "100", "111"},
                                           {"111", "001", "011", "001", "111"},
                                           {"101", "101", "111", "001", "001"},
                                           {"111", "100", "111", "101", "111"}};
        const int d = (c_.accent + c_.shirtColour) % 4;
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 3; ++x)
                if (digits[d][y][x] == '1') {
                    img_.Put(28 + x, 46 + y, accent_);
                }
    }

    void Head() {
        Mask ears = NewMask();
        ears.Add(Ellipse(kCx - rx_, 22, 2.5, 3.5)).Add(Ellipse(kCx + rx_, 22, 2.5, 3.5));
        DrawPart(img_, ears, skin_, false);
        if (c_.glasses == NoGlasses && c_.hat != Headphones &&
            (c_.skin + c_.shirtColour) % 5 == 0) {
            img_.Put(int(kCx - rx_) - 1, 25, Hex(0xF6D365));  // earring
        }
        DrawPart(img_, HeadMask(), skin_);
    }

    void Face() {
        const Rgba ink = Ink(skin_);
        const Rgba dark = Hex(0x241620);
        const Rgba brow = c_.hair == Bald || c_.hair == Receding ? Scale(hair_, 70) : Ink(hair_);
        // Brows
        const int by = c_.eyes == Fierce ? 18 : 17;
        if (c_.eyes == Fierce) {
            for (int i = 0; i < 4; ++i) Both(23 + i, by - 1 + i / 2, brow);
        } else if (c_.facial == Beard || c_.hairColour == 0 || c_.hair == Afro) {
            for (int i = 0; i < 4; ++i) {
                Both(23 + i, by, brow);
                Both(23 + i, by - 1, brow);
            }
        } else {
            for (int i = 0; i < 4; ++i) Both(23 + i, by - (i == 1 || i == 2 ? 1 : 0), brow);
        }
        // Cheeks under everything else
        switch (c_.cheeks) {
            case Blush:
                for (int x = 20; x < 23; ++x) Both(x, 26, Mix(skin_, Hex(0xFF5A7A), 110));
                break;
            case Freckles:
                Both(21, 25, Scale(skin_, 80));
                Both(23, 26, Scale(skin_, 80));
                Both(21, 27, Scale(skin_, 80));
                break;
            case FacePaint:
                for (int x = 20; x < 25; ++x) {
                    Both(x, 26, accent_);
                    Both(x, 27, cloth_);
                }
                break;
            default:
                break;
        }
        DrawEyes(dark);
        DrawNose(ink);
        DrawFacialHair();
        DrawMouth(dark);
    }

    void DrawEyes(Rgba dark) {
        const Rgba iris = kEyeColours[size_t(c_.eyeColour)];
        const Rgba white = Hex(0xFFFFFF);
        auto roundEye = [&](bool left) {
            auto put = [&](int x, int y, Rgba col) { img_.Put(left ? x : Mirror(x), y, col); };
            for (int y = 20; y < 24; ++y)
                for (int x = 23; x < 26; ++x) put(x, y, white);
            for (int x = 23; x < 26; ++x) {
                put(x, 19, dark);
                put(x, 24, Ink(skin_));
            }
            for (int y = 20; y < 24; ++y) {
                put(22, y, dark);
                put(26, y, dark);
            }
            put(24, 21, iris);
            put(25, 21, iris);
            put(24, 22, dark);
            put(25, 22, dark);
            put(24, 23, iris);
            put(25, 23, iris);
            put(left ? 25 : 24, 21, white);
        };
        auto arc = [&](bool left) {
            auto put = [&](int x, int y) { img_.Put(left ? x : Mirror(x), y, dark); };
            put(23, 22);
            put(24, 21);
            put(25, 21);
            put(26, 22);
        };
        switch (c_.eyes) {
            case Dots:
            case Fierce:
                for (int y = 21; y < 24; ++y) {
                    Both(24, y, dark);
                    Both(25, y, dark);
                }
                Both(24, 21, Hex(0xFFFFFF));
                if (c_.eyes == Fierce) Both(24, 21, dark);
                break;
            case Round:
                roundEye(true);
                roundEye(false);
                break;
            case Lashes:
                roundEye(true);
                roundEye(false);
                Both(22, 19, Hex(0x241620));
                Both(21, 18, Hex(0x241620));
                break;
            case Happy:
                arc(true);
                arc(false);
                break;
            case Sleepy:
                for (int x = 23; x < 27; ++x) Both(x, 21, dark);
                Both(24, 22, iris);
                Both(25, 22, iris);
                Both(24, 23, dark);
                Both(25, 23, dark);
                break;
            case Wide:
                for (int y = 20; y < 25; ++y)
                    for (int x = 22; x < 27; ++x) Both(x, y, white);
                for (int x = 22; x < 27; ++x) {
                    Both(x, 19, dark);
                    Both(x, 25, Ink(skin_));
                }
                for (int y = 20; y < 25; ++y) {
                    Both(21, y, dark);
                    Both(27, y, dark);
                }
                Both(24, 22, dark);
                Both(24, 23, dark);
                break;
            case Wink:
                roundEye(true);
                arc(false);
                break;
            default:
                break;
        }
    }

    void DrawNose(Rgba ink) {
        switch (c_.nose) {
            case Tiny:
                img_.Put(29, 26, Shade(skin_));
                img_.Put(30, 26, Shade(skin_));
                break;
            case Button:
                img_.Put(28, 26, Shade(skin_));
                img_.Put(31, 26, Shade(skin_));
                img_.Put(29, 25, Light(skin_));
                break;
            case BigNose: {
                Mask m = NewMask();
                m.Add(Ellipse(kCx + 0.5, 25, 3, 2.5));
                DrawPart(img_, m, skin_, true, ink);
                break;
            }
            case Clown: {
                Mask m = NewMask();
                m.Add(Circle(kCx, 25, 2.6));
                DrawPart(img_, m, Hex(0xF03A3A), false);
                img_.Put(29, 24, Hex(0xFFC0C0));
                break;
            }
            case Pointy:
                for (int i = 0; i < 4; ++i) img_.Put(30 + i / 2, 23 + i, ink);
                img_.Put(31, 26, ink);
                img_.Put(30, 26, ink);
                break;
            default:
                break;
        }
    }

    void DrawFacialHair() {
        Mask m = NewMask();
        switch (c_.facial) {
            case Moustache:
                m.Add(Ellipse(kCx - 2.5, 27.3, 3, 1.4)).Add(Ellipse(kCx + 2.5, 27.3, 3, 1.4));
                break;
            case Handlebar:
                m.Add(Ellipse(kCx - 2.5, 27.3, 3, 1.3)).Add(Ellipse(kCx + 2.5, 27.3, 3, 1.3));
                m.Add(Circle(kCx - 5.5, 26, 1.1)).Add(Circle(kCx + 5.5, 26, 1.1));
                break;
            case Beard:
                m.Add(Ellipse(kCx, kCy + 1, rx_ + 1, ry_ + 2)).Cut(Box(0, 0, 64, 25));
                m.Cut(Ellipse(kCx, 29, 4, 2.2));
                break;
            case Goatee:
                m.Add(Ellipse(kCx, 33, 3, 3)).Add(Ellipse(kCx, 27.5, 4.5, 1.2));
                break;
            case Stubble: {
                const Rgba dots = Mix(skin_, hair_, 110);
                Mask face = HeadMask();
                face.Cut(face.Rim(0, 1));
                for (int y = 27; y < 34; ++y)
                    for (int x = 20; x < 40; ++x)
                        if (((x + y) % 2) == 0 && face.Get(x, y) && (y > 29 || x < 25 || x > 34))
                            img_.Put(x, y, dots);
                return;
            }
            default:
                return;
        }
        DrawPart(img_, m, hair_, c_.facial == Beard);
    }

    void DrawMouth(Rgba dark) {
        const int y = 29;
        const Rgba white = Hex(0xFFFFFF);
        switch (c_.mouth) {
            case Smile:
                img_.Put(27, y - 1, dark);
                img_.Put(32, y - 1, dark);
                for (int x = 28; x < 32; ++x) img_.Put(x, y, dark);
                break;
            case Grin:
            case Laugh: {
                Mask m = NewMask();
                m.Add(Ellipse(kCx, y - 1, 4.2, 3.2)).Cut(Box(0, 0, 64, y - 1));
                DrawPart(img_, m, Hex(0x8A1E2E), false, dark);
                for (int x = 27; x < 33; ++x) img_.Put(x, y - 1, white);
                if (c_.mouth == Laugh) {
                    img_.Put(29, y + 1, Hex(0xF27A8A));
                    img_.Put(30, y + 1, Hex(0xF27A8A));
                }
                break;
            }
            case Oh: {
                Mask m = NewMask();
                m.Add(Ellipse(kCx, y, 1.8, 2));
                DrawPart(img_, m, Hex(0x8A1E2E), false, dark);
                break;
            }
            case Flat:
                for (int x = 27; x < 33; ++x) img_.Put(x, y, dark);
                break;
            case Smirk:
                for (int x = 27; x < 32; ++x) img_.Put(x, y, dark);
                img_.Put(32, y - 1, dark);
                break;
            case Tongue:
                img_.Put(27, y - 1, dark);
                img_.Put(32, y - 1, dark);
                for (int x = 28; x < 32; ++x) img_.Put(x, y, dark);
                img_.Put(30, y + 1, Hex(0xF27A8A));
                img_.Put(31, y + 1, Hex(0xF27A8A));
                img_.Put(30, y + 2, Hex(0xD85A6A));
                img_.Put(31, y + 2, dark);
                img_.Put(29, y + 1, dark);
                img_.Put(32, y + 1, dark);
                break;
            case Frown:
                img_.Put(27, y + 1, dark);
                img_.Put(32, y + 1, dark);
                for (int x = 28; x < 32; ++x) img_.Put(x, y, dark);
                break;
            case Teeth:
                for (int x = 27; x < 33; ++x) img_.Put(x, y - 1, dark);
                img_.Put(29, y, white);
                img_.Put(30, y, white);
                img_.Put(28, y, dark);
                img_.Put(31, y, dark);
                img_.Put(29, y + 1, dark);
                img_.Put(30, y + 1, dark);
                break;
            default:
                break;
        }
    }

    void FrontHair() {
        Mask m = NewMask();
        const bool hatted = HatCoversTop();
        switch (c_.hair) {
            case Bald:
            case Receding:
                if (c_.hair == Receding) {
                    m.Add(Ellipse(kCx - rx_ + 1, 15, 2.5, 5))
                        .Add(Ellipse(kCx + rx_ - 1, 15, 2.5, 5));
                }
                if (!hatted) {
                    img_.Put(24, 9, Light(skin_));
                    img_.Put(25, 8, Light(skin_));
                    img_.Put(26, 8, Light(skin_));
                }
                break;
            case Short:
                m.Add(HairCap(1.5, 12)).Add(Sideburns(19));
                m.Cut(Polygon({kCx - 3, 12.5, kCx + 6, 12.5, kCx + 2, 9.5}));
                break;
            case Spiky:
                m.Add(HairCap(1.5, 12)).Add(Sideburns(17));
                for (int i = 0; i < 5; ++i) {
                    const double x = kCx - 12 + i * 6;
                    m.Add(
                        Polygon({x - 5, 10, x + 5, 10, x + (i - 2) * 1.5, 1.5 + (i == 2 ? 0 : 2)}));
                }
                break;
            case Afro: {
                m.Add(HairCap(3, 12));
                break;
            }
            case Long:
            case Bob:
                m.Add(HairCap(2, c_.hair == Bob ? 13.5 : 12));
                if (c_.hair == Long) m.Cut(Polygon({kCx - 3, 13, kCx + 3, 13, kCx, 7}));
                break;
            case Pigtails:
            case Bun:
            case Ponytail:
                m.Add(HairCap(1.5, 12)).Add(Sideburns(16));
                m.Cut(Polygon({kCx - 2, 12.5, kCx + 2, 12.5, kCx, 8.5}));
                break;
            case Mohawk:
                m.Add(Ellipse(kCx, 9, 3.5, 9)).Cut(Box(0, 13, 64, 64));
                {
                    Mask scalp = HeadMask();
                    scalp.Cut(scalp.Rim(0, -1));
                    for (int y = 10; y < 18; ++y)
                        for (int x = 0; x < 64; ++x)
                            if ((x + y) % 2 == 0 && scalp.Get(x, y) && (x < 24 || x > 35))
                                img_.Put(x, y, Mix(skin_, hair_, 100));
                }
                break;
            case Curly:
                for (int i = 0; i < 7; ++i) {
                    static const double px[7] = {-12, -9, -4.5, 0, 4.5, 9, 12};
                    static const double py[7] = {15, 9, 6, 5, 6, 9, 15};
                    m.Add(Circle(kCx + px[i], py[i], 4));
                }
                m.Add(HairCap(1.5, 12));
                break;
            case Swoop:
                m.Add(HairCap(1.8, 17)).Add(Sideburns(18));
                m.Cut(Polygon(
                    {kCx - rx_ + 2, 18, kCx + rx_ + 3, 18, kCx + rx_ + 3, 10.5, kCx - 4, 12}));
                break;
            case Buzz:
                m.Add(HairCap(0.6, 11)).Add(Sideburns(16));
                break;
            case Quiff:
                m.Add(HairCap(1.5, 12)).Add(Sideburns(18));
                m.Add(Ellipse(kCx - 1, 6, 10, 5));
                m.Cut(Box(0, 0, 64, 1));
                break;
            default:
                break;
        }
        if (m.Empty()) return;
        DrawPart(img_, m, hair_, true, c_.hair == Afro ? Shade(hair_) : Rgba{});
        // A shine line on the hair reads as hair at small sizes.
        if (!hatted && c_.hair != Mohawk) {
            Mask shine = m.Rim(-1, -1);
            shine.Cut(m.Rim(0, -2));
            shine.Keep(NewMask().Add(Box(20, 0, 30, 12)));
            Paint(img_, shine, Light(hair_));
        }
    }

    void Hat() {
        const Rgba col = kClothColours[size_t(c_.hatColour)];
        const Rgba gold = Hex(0xF8C832);
        Mask m = NewMask();
        switch (c_.hat) {
            case Cap: {
                m.Add(Ellipse(kCx, 13, rx_ + 1.5, 10)).Cut(Box(0, 13, 64, 64));
                DrawPart(img_, m, col);
                Mask brim = NewMask();
                brim.Add(Ellipse(kCx - 3, 13, rx_ + 3, 2.2)).Cut(Box(0, 0, 64, 12.5));
                DrawPart(img_, brim, accent_, false);
                img_.Put(29, 3, accent_);
                img_.Put(30, 3, accent_);
                return;
            }
            case Beanie: {
                m.Add(Ellipse(kCx, 14, rx_ + 2, 11)).Cut(Box(0, 14, 64, 64));
                DrawPart(img_, m, col);
                Mask cuff = NewMask();
                cuff.Add(Box(kCx - rx_ - 2, 10, kCx + rx_ + 2, 15))
                    .Keep(NewMask().Add(Ellipse(kCx, 13, rx_ + 2.5, 11)));
                DrawPart(img_, cuff, accent_, false);
                Mask pom = NewMask();
                pom.Add(Circle(kCx, 3, 3));
                DrawPart(img_, pom, accent_, false);
                return;
            }
            case TopHat: {
                m.Add(Box(kCx - 8, 0, kCx + 8, 11));
                DrawPart(img_, m, col);
                Mask band = NewMask();
                band.Add(Box(kCx - 8, 8, kCx + 8, 11));
                Paint(img_, band, accent_);
                Mask brim = NewMask();
                brim.Add(Ellipse(kCx, 11.5, rx_ + 4, 2.2));
                DrawPart(img_, brim, col, false);
                return;
            }
            case Cowboy: {
                m.Add(Ellipse(kCx, 8, 9, 8)).Cut(Box(0, 11, 64, 64)).Cut(Ellipse(kCx, 0, 2, 4));
                DrawPart(img_, m, col);
                Mask brim = NewMask();
                brim.Add(Ellipse(kCx, 11, rx_ + 7, 3.2)).Cut(Ellipse(kCx, 7.5, rx_ + 2, 3));
                DrawPart(img_, brim, col, false);
                Mask band = NewMask();
                band.Add(Box(kCx - 8, 8.5, kCx + 8, 10.5)).Keep(m);
                Paint(img_, band, accent_);
                return;
            }
            case Crown: {
                m.Add(Polygon({kCx - 9, 11, kCx + 9, 11, kCx + 9, 2, kCx + 5, 6, kCx + 0, 1,
                               kCx - 5, 6, kCx - 9, 2}));
                DrawPart(img_, m, gold);
                img_.Put(29, 8, Hex(0xE03A3A));
                img_.Put(30, 8, Hex(0xE03A3A));
                img_.Put(24, 9, Hex(0x3A78E0));
                img_.Put(35, 9, Hex(0x3A78E0));
                return;
            }
            case PartyHat: {
                m.Add(Polygon({kCx - 7, 11, kCx + 7, 11, kCx + 1, 0}));
                DrawPart(img_, m, col);
                for (int y = 3; y < 11; y += 3)
                    for (int x = 0; x < 64; ++x)
                        if (m.Get(x, y) && (x + y) % 4 == 0) img_.Put(x, y, accent_);
                Mask pom = NewMask();
                pom.Add(Circle(kCx + 1, 1, 2));
                DrawPart(img_, pom, accent_, false);
                return;
            }
            case Headband: {
                m.Add(Box(0, 10.5, 64, 14))
                    .Keep(NewMask().Add(Ellipse(kCx, kCy, rx_ + 1.5, ry_ + 1.5)));
                DrawPart(img_, m, col, false);
                Mask stripe = NewMask();
                stripe.Add(Box(0, 12, 64, 13)).Keep(m);
                Paint(img_, stripe, accent_);
                return;
            }
            case Bow: {
                m.Add(Polygon({kCx + 8, 7, kCx + 2, 2, kCx + 2, 12}))
                    .Add(Polygon({kCx + 8, 7, kCx + 14, 2, kCx + 14, 12}));
                DrawPart(img_, m, col);
                Mask knot = NewMask();
                knot.Add(Circle(kCx + 8, 7, 2));
                DrawPart(img_, knot, accent_, false);
                return;
            }
            case Headphones: {
                Mask band = NewMask();
                band.Add(Ellipse(kCx, kCy - 1, rx_ + 3, ry_ + 1))
                    .Cut(Ellipse(kCx, kCy - 1, rx_ + 1.5, ry_ - 0.5));
                band.Cut(Box(0, 17, 64, 64));
                DrawPart(img_, band, Hex(0x3A3A44), false);
                m.Add(Ellipse(kCx - rx_ - 0.5, 21, 3, 4.5))
                    .Add(Ellipse(kCx + rx_ + 0.5, 21, 3, 4.5));
                DrawPart(img_, m, col);
                return;
            }
            case Viking: {
                Mask horns = NewMask();
                horns.Add(
                    Polygon({kCx - 9, 11, kCx - 13, 10, kCx - 17, 1, kCx - 13, 4, kCx - 8, 6}));
                horns.Add(
                    Polygon({kCx + 9, 11, kCx + 13, 10, kCx + 17, 1, kCx + 13, 4, kCx + 8, 6}));
                DrawPart(img_, horns, Hex(0xF6EED8));
                m.Add(Ellipse(kCx, 13, rx_ + 1.5, 11)).Cut(Box(0, 13, 64, 64));
                DrawPart(img_, m, Hex(0xA8AEB8));
                Mask rim = NewMask();
                rim.Add(Box(kCx - rx_ - 2, 11, kCx + rx_ + 2, 14))
                    .Keep(NewMask().Add(Ellipse(kCx, 13, rx_ + 2.5, 11)));
                DrawPart(img_, rim, gold, false);
                return;
            }
            case Beret: {
                m.Add(Ellipse(kCx + 2, 8, rx_ + 3, 4.5));
                DrawPart(img_, m, col);
                img_.Put(32, 3, Ink(col));
                img_.Put(32, 2, Ink(col));
                return;
            }
            case Flower: {
                for (int i = 0; i < 5; ++i) {
                    static const double fx[5] = {0, 3, 2, -2, -3};
                    static const double fy[5] = {-3, -1, 2.5, 2.5, -1};
                    m.Add(Circle(kCx + 10 + fx[i], 10 + fy[i], 2));
                }
                DrawPart(img_, m, col, false);
                Mask mid = NewMask();
                mid.Add(Circle(kCx + 10, 10, 1.5));
                Paint(img_, mid, Hex(0xF8C832));
                return;
            }
            case ChefHat: {
                m.Add(Circle(kCx - 5, 5, 5)).Add(Circle(kCx + 5, 5, 5)).Add(Circle(kCx, 3.5, 5.5));
                m.Add(Box(kCx - 9, 5, kCx + 9, 13));
                DrawPart(img_, m, Hex(0xF8F8F4));
                Mask band = NewMask();
                band.Add(Box(kCx - 9, 10, kCx + 9, 13));
                Paint(img_, band, Hex(0xE2E2DE));
                return;
            }
            case Propeller: {
                m.Add(Ellipse(kCx, 13, rx_ + 1.5, 9)).Cut(Box(0, 13, 64, 64));
                DrawPart(img_, m, col);
                Mask seg = NewMask();
                seg.Add(Box(kCx - 3, 0, kCx + 3, 13)).Keep(m).Cut(m.Rim(0, -1));
                Paint(img_, seg, accent_);
                Mask prop = NewMask();
                prop.Add(Ellipse(kCx - 4, 2, 4, 1.3))
                    .Add(Ellipse(kCx + 4, 2, 4, 1.3))
                    .Add(Box(kCx - 0.5, 2, kCx + 0.5, 5));
                DrawPart(img_, prop, Hex(0xF8C832), false);
                return;
            }
            default:
                return;
        }
    }

    void Eyewear() {
        const Rgba frame =
            c_.glasses == Shades ? Hex(0x22222A) : kClothColours[size_t(c_.glassesColour)];
        Mask lenses = NewMask();
        switch (c_.glasses) {
            case RoundGlasses:
                lenses.Add(Circle(24.5, 22, 3.6)).Add(Circle(35.5, 22, 3.6));
                Paint(img_, lenses.Ring(false), Ink(frame));
                Paint(img_,
                      lenses.Rim(0, -1)
                          .Add(lenses.Rim(0, 1))
                          .Add(lenses.Rim(1, 0))
                          .Add(lenses.Rim(-1, 0)),
                      frame);
                img_.Put(29, 21, frame);
                img_.Put(30, 21, frame);
                return;
            case SquareGlasses:
                lenses.Add(Box(21, 19, 29, 25)).Add(Box(31, 19, 39, 25));
                Paint(img_, lenses.Ring(false), Ink(frame));
                Paint(img_,
                      lenses.Rim(0, -1)
                          .Add(lenses.Rim(0, 1))
                          .Add(lenses.Rim(1, 0))
                          .Add(lenses.Rim(-1, 0)),
                      frame);
                img_.Put(29, 20, frame);
                img_.Put(30, 20, frame);
                return;
            case Shades:
            case HeartShades: {
                if (c_.glasses == Shades) {
                    lenses.Add(Box(20, 19, 29, 24)).Add(Ellipse(24.5, 24, 4.5, 2.2));
                    lenses.Add(Box(31, 19, 40, 24)).Add(Ellipse(35.5, 24, 4.5, 2.2));
                } else {
                    for (double ex : {24.5, 35.5}) {
                        lenses.Add(Circle(ex - 1.8, 21, 2.3)).Add(Circle(ex + 1.8, 21, 2.3));
                        lenses.Add(Polygon({ex - 4.1, 21.5, ex + 4.1, 21.5, ex, 26.5}));
                    }
                }
                const Rgba lens = c_.glasses == Shades ? Hex(0x1C1C26) : Hex(0xF03A8A);
                DrawPart(img_, lenses, lens, false, Hex(0x141018));
                img_.Put(29, 20, Hex(0x141018));
                img_.Put(30, 20, Hex(0x141018));
                img_.Put(22, 20, Hex(0xFFFFFF));
                img_.Put(33, 20, Hex(0xFFFFFF));
                img_.Put(23, 20, Hex(0xB0B0C0));
                img_.Put(34, 20, Hex(0xB0B0C0));
                return;
            }
            case Monocle: {
                lenses.Add(Circle(35.5, 22, 3.8));
                Paint(img_,
                      lenses.Rim(0, -1)
                          .Add(lenses.Rim(0, 1))
                          .Add(lenses.Rim(1, 0))
                          .Add(lenses.Rim(-1, 0)),
                      Hex(0xF8C832));
                for (int y = 26; y < 34; ++y) img_.Put(39 + (y - 26) / 3, y, Hex(0xF8C832));
                return;
            }
            default:
                return;
        }
    }

    const Character& c_;
    Image img_;
    Rgba skin_, hair_, cloth_, accent_;
    double rx_ = 12, ry_ = 14;
};

inline Image PaintPortrait(const Character& c) {
    return PortraitPainter(c).Draw();
}

}  // namespace media
