// Sprite slot commands: loading pictures into slots, grabbing the screen,
// sizes and the transparent colour. Slots 65504..65535 hold the fonts and
// 65503 is the off-screen emulation's scratch slot.
#pragma once

#include <cstdint>

#include "runtime/values/RtString.h"

// One numbered picture: its texture with the picture in the lower-left
// corner, the mip-mapped copy for scaled drawing, and the sizes.
struct SpriteSlot {
    uint32_t texture = 0;
    uint32_t scaledTexture = 0;
    int16_t textureWidth = -1;
    int16_t textureHeight = -1;
    int16_t width = 0;
    int16_t height = 0;
    int16_t frameWidth = 0;
    int16_t frameHeight = 0;
};

constexpr int kSpriteSlotCount = 65536;
constexpr int kFontSlotBase = 65504;
constexpr int kFontCount = 32;
constexpr int kScratchSlot = 65503;

double LoadSprite(const RtString& file, double slot);     // 1 loaded, 0 not found or unreadable
double LoadNormalMap(const RtString& file, double slot);  // a normal map from the picture's blue
double LoadAnimation(const RtString& file, double slot, double frameWidth, double frameHeight);
void GetSpriteSize(double slot, double& width, double& height);  // 0, 0 for an empty slot
double GrabSprite(double slot, double x, double y, double width, double height);  // screen to slot
void SetTransparentColour(double colour);  // red + 256 green + 65536 blue; -1 none
