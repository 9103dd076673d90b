// BMP pictures: 1-, 4-, 8-bit palette and 24-, 32-bit colour, with the 12-,
// 40-, 108- (V4) or 124-byte (V5) info header, uncompressed (or with bit
// fields that hold plain pixels), rows bottom-up, or top-down when the height
// is negative.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/files/ImageFile.h"

// Decodes the file at `path`; false for anything that is not such a BMP.
bool DecodeBmp(DecodedImage* image, const char* path, int32_t colourKey);
// The same over a whole file already in memory.
bool DecodeBmpBytes(DecodedImage* image, const uint8_t* data, size_t size, int32_t colourKey);
