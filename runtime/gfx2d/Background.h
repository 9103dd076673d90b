// Background images: eight screen-sized pictures in square tiles; image 0 is
// drawn at the start of every frame.
#pragma once

#include <cstdint>

// Up to 8 x 8 square tiles, tile (column, row) at index column * 8 + row;
// no columns: empty.
struct BackgroundImage {
    uint32_t tileTextures[64] = {};
    int tileTextureWidths[64] = {};
    int tileTextureHeights[64] = {};
    int tileUsedWidths[64] = {};
    int tileUsedHeights[64] = {};
    int columnCount = 0;
    int rowCount = 0;
};

constexpr int kBackgroundCount = 8;
