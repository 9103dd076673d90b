// The texel work done on the processor before a picture becomes a texture:
// texture sides, colour bled into transparent texels, the normal map and the
// hand-built mip chain. Texel buffers are RGBA bytes, row 0 the bottom row.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/files/ImageFile.h"

// Smallest power of two >= size, and at least `minimum`.
int PowerOfTwoSide(int size, int minimum);

// Room for width x height texels (new ones 0); false when memory runs out.
bool ResizeTexels(std::vector<uint8_t>& texels, int width, int height);

// Copies the rectangle (left, top, width, height) of the picture, clipped to
// it, so that its top row lands in texture row height - 1.
void CopyPictureIntoTexels(const DecodedImage& picture, int left, int top, int width, int height,
                           uint8_t* texels, int textureWidth);

// Gives every transparent texel the mean colour of its opaque neighbours that
// lie inside the texture's one-texel border, so linear filtering does not
// darken the edges of a picture.
void BleedColourIntoTransparentTexels(uint8_t* texels, int textureWidth, int textureHeight);

// A normal map from the blue channel (Sobel sums, wrapping at the edges);
// alpha is kept.
void ConvertToNormalMap(uint8_t* texels, int textureWidth, int textureHeight);

// The square level 0 of the scaled texture: the longer side halved by
// averaging pairs until both sides are equal. Returns the side.
int SquareScaledLevel(const uint8_t* texels, int textureWidth, int textureHeight,
                      std::vector<uint8_t>& level);

// The next level of the mip chain from a square level of `side` texels.
void NextMipLevel(const uint8_t* source, int side, std::vector<uint8_t>& level);
