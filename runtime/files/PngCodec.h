// PNG pictures through libpng: grey, RGB and RGBA at any depth (palettes and
// transparency chunks expanded, 16-bit samples cut to 8), and RGBA writing.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/files/ImageFile.h"

// Decodes the file at `path`; unsupported kinds print two lines to stdout.
bool DecodePng(DecodedImage* image, const char* path, int32_t colourKey);
// The same over a whole file already in memory; `name` is for the messages.
bool DecodePngBytes(DecodedImage* image, const uint8_t* data, size_t size, int32_t colourKey,
                    const char* name);
// Writes width × height pixels stored blue, green, red, alpha as an 8-bit RGBA PNG.
bool EncodePng(const char* path, const uint8_t* pixels, int width, int height);
