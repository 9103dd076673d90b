// A portrait while it is painted: the character, the picture, the colours
// its features resolve to, the head's size, and the shapes several parts
// are measured from. Parts are painted back to front, each by its own file.
#pragma once

#include "Characters.h"
#include "Image.h"
#include "Mask.h"
#include "Rgba.h"

namespace media {

constexpr double kCx = 30.0;  // the face's middle line lies between columns 29 and 30
constexpr double kCy = 20.0;
constexpr int Mirror(int x) {
    return 59 - x;
}

struct PortraitCanvas {
    explicit PortraitCanvas(const Character& c);

    Mask NewMask() const;
    void Both(int x, int y, Rgba col);  // the pixel and its mirror image across the face
    bool HatCoversTop() const;
    Mask HeadMask() const;
    // The hair's outer shape above a hairline.
    Mask HairCap(double grow, double hairline) const;
    Mask Sideburns(double bottom) const;

    const Character& who;
    Image img;
    Rgba skin, hair, cloth, accent, hatCloth, frame, iris;
    double rx = 12, ry = 14;  // the head's radii
};

// The parts, in the order they are painted.
void PaintBackHair(PortraitCanvas& p);
void PaintClothes(PortraitCanvas& p);
void PaintHead(PortraitCanvas& p);
void PaintFace(PortraitCanvas& p);
void PaintFrontHair(PortraitCanvas& p);
void PaintHat(PortraitCanvas& p);
void PaintEyewear(PortraitCanvas& p);

}  // namespace media
