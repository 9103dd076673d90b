// BMP pictures: 1-, 4-, 8-bit palette and 24-, 32-bit colour, with the 12- or
// 40-byte info header, uncompressed (or with bit fields), rows bottom-up.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/files/ImageFile.h"

// Decodes the file at `path`; false for anything that is not such a BMP.
bool DecodeBmp(DecodedImage* image, const char* path, int32_t colourKey);
// The same over a whole file already in memory.
bool DecodeBmpBytes(DecodedImage* image, const uint8_t* data, size_t size, int32_t colourKey);
