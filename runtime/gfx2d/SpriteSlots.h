// Sprite slot commands: loading pictures into slots, grabbing the screen,
// sizes and the transparent colour. Slots 65504..65535 hold the fonts and
// 65503 is the off-screen emulation's scratch slot.
#pragma once

#include <cstdint>

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

// The largest side a slot's picture may have: the GL texture limit, and
// never more than the slot's 16-bit sizes hold as a power of two (16,384).
int MaxSlotSide();

constexpr int kSpriteSlotCount = 65536;
constexpr int kFontSlotBase = 65504;
constexpr int kFontCount = 32;
constexpr int kScratchSlot = 65503;
