#include "MenuPictures.h"

#include <cstddef>

#include "FontPicture.h"
#include "MediaRandom.h"
#include "Painting.h"
#include "Scene.h"

namespace media {

namespace {

// Diagonal stripes of a spotlit stage.
void Stage(Image& img) {
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x) {
            Rgba c = Vertical(Hex(0x1C1440), Hex(0x4A2A78), y, 0, kScreenHeight);
            if (((x + y * 2) / 24) % 2 == 0) c = Mix(c, Hex(0x6A4AA8), 40);
            img.Put(x, y, c);
        }
    Glow(img, 250, -20, 200, Hex(0xFFE0A0), 60);
    Glow(img, 90, -30, 160, Hex(0xA0C0FF), 40);
}

void Confetti(Image& img) {
    MediaRandom rng(0xC0FE771ull);
    static const Rgba confetti[5] = {Hex(0xF5D03B), Hex(0xF07AB8), Hex(0x4DD0E0), Hex(0x9CE05A),
                                     Hex(0xFFFFFF)};
    for (int i = 0; i < 90; ++i) {
        const int x = 150 + rng.Below(170), y = rng.Below(150);
        const Rgba c = confetti[rng.Below(5)];
        img.Put(x, y, c);
        img.Put(x + 1, y + (i % 2), c);
    }
}

// A little crowd cheering in the corner, under the title.
void CheeringCrowd(Image& img, const std::vector<Image>& portraits) {
    static const int faces[7] = {1, 9, 4, 6, 0, 10, 2};
    for (int i = 0; i < 7; ++i) {
        const int row = i < 3 ? 0 : 1;
        const int x = row == 0 ? 182 + i * 44 : 160 + (i - 3) * 44;
        img.Stamp(portraits[size_t(faces[i])], x, 118 + row * 28);
    }
}

void TitleBanner(Image& img) {
    img.FillRect(144, 198, 176, 36, Hex(0x1A1024));
    img.FillRect(144, 200, 176, 32, Hex(0xD8443C));
    img.FillRect(144, 200, 176, 2, Hex(0xF07A6A));
    DrawText(img, "QUORBEL", 149, 201, 3);
}

void MagnifyingGlass(Image& img) {
    Mask handle(48, 48);
    handle.Add(Stroke(30, 30, 42, 42, 3.5));
    DrawPart(img, handle, Hex(0x8A5A34));
    Mask rim(48, 48);
    rim.Add(Circle(20, 20, 17));
    DrawPart(img, rim, Hex(0xC0C8D8), false);
    Mask glass(48, 48);
    glass.Add(Circle(20, 20, 14));
    Paint(img, glass, Hex(0xBFE6FF));
}

void SmilingFace(Image& img) {
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
}

}  // namespace

Image MenuBackground(const std::vector<Image>& portraits) {
    Image img(kScreenWidth, kScreenHeight, Colour(0, 0, 0));
    Stage(img);
    Confetti(img);
    CheeringCrowd(img, portraits);
    TitleBanner(img);
    return img;
}

Image MenuIcon() {
    Image img(48, 48);
    MagnifyingGlass(img);
    SmilingFace(img);
    Mask shine(48, 48);
    shine.Add(Ellipse(12, 10, 4, 2.5));
    Paint(img, shine, Hex(0xFFFFFF));
    DrawGlyph(img, '$', 36, 2, 1);
    DrawGlyph(img, '$', 38, 30, 1);
    return img;
}

}  // namespace media
