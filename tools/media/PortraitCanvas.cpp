#include "PortraitCanvas.h"

#include <array>
#include <cstddef>
#include <utility>

#include "Portraits.h"

namespace media {

namespace {

constexpr std::array<Rgba, 8> kSkins = {Hex(0xFFE3CF), Hex(0xF9CFA8), Hex(0xEDB587), Hex(0xD89A64),
                                        Hex(0xB97A4C), Hex(0x95603A), Hex(0x74462A), Hex(0x5A3522)};
constexpr std::array<Rgba, 14> kHairColours = {
    Hex(0x2A2530), Hex(0x5A3620), Hex(0x8E5A2E), Hex(0xA8432A), Hex(0xF08A2A),
    Hex(0xF6D365), Hex(0xFBF3D0), Hex(0x9A9AA4), Hex(0xECEAF0), Hex(0x3F7AE8),
    Hex(0xF26EB5), Hex(0x4CC46A), Hex(0x9150D8), Hex(0x2FC2C2)};
constexpr std::array<Rgba, 14> kClothColours = {
    Hex(0xE03A3A), Hex(0xF39237), Hex(0xF5D03B), Hex(0x4DB84A), Hex(0x1FA89A),
    Hex(0x3A78E0), Hex(0x2A3F88), Hex(0x8A4FD0), Hex(0xF07AB8), Hex(0xF4F4F0),
    Hex(0x8C929C), Hex(0x33333B), Hex(0x8A5A34), Hex(0x9CE05A)};
constexpr std::array<Rgba, 5> kEyeColours = {Hex(0x2A1E1A), Hex(0x3070D0), Hex(0x2E9A4E),
                                             Hex(0x7A4A22), Hex(0x7A50B0)};

}  // namespace

PortraitCanvas::PortraitCanvas(const Character& c)
    : who(c),
      img(kPortraitWidth, kPortraitHeight),
      skin(kSkins[size_t(c.skin)]),
      hair(kHairColours[size_t(c.hairColour)]),
      cloth(kClothColours[size_t(c.shirtColour)]),
      accent(kClothColours[size_t(c.accent)]),
      hatCloth(kClothColours[size_t(c.hatColour)]),
      frame(kClothColours[size_t(c.glassesColour)]),
      iris(kEyeColours[size_t(c.eyeColour)]) {
    static const double radiiX[3] = {12, 11, 13}, radiiY[3] = {14, 15, 13};
    rx = radiiX[c.head];
    ry = radiiY[c.head];
}

Mask PortraitCanvas::NewMask() const {
    return Mask(kPortraitWidth, kPortraitHeight);
}

void PortraitCanvas::Both(int x, int y, Rgba col) {
    img.Put(x, y, col);
    img.Put(Mirror(x), y, col);
}

bool PortraitCanvas::HatCoversTop() const {
    return who.hat == Cap || who.hat == Beanie || who.hat == TopHat || who.hat == Cowboy ||
           who.hat == Viking || who.hat == ChefHat || who.hat == Propeller || who.hat == Beret;
}

Mask PortraitCanvas::HeadMask() const {
    return std::move(NewMask().Add(Ellipse(kCx, kCy, rx, ry)));
}

Mask PortraitCanvas::HairCap(double grow, double hairline) const {
    Mask m = NewMask();
    m.Add(Ellipse(kCx, kCy - 0.5, rx + grow, ry + grow * 0.8));
    m.Cut(Box(0, hairline, 64, 64));
    return m;
}

Mask PortraitCanvas::Sideburns(double bottom) const {
    Mask m = NewMask();
    m.Add(Box(kCx - rx - 1.5, 10, kCx - rx + 2.5, bottom));
    m.Add(Box(kCx + rx - 2.5, 10, kCx + rx + 1.5, bottom));
    m.Keep(NewMask().Add(Ellipse(kCx, kCy, rx + 1.5, ry + 1)));
    return m;
}

Image PaintPortrait(const Character& c) {
    PortraitCanvas p(c);
    PaintBackHair(p);
    PaintClothes(p);
    PaintHead(p);
    PaintFace(p);
    PaintFrontHair(p);
    PaintHat(p);
    PaintEyewear(p);
    return p.img;
}

}  // namespace media
