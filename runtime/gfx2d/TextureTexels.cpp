#include "runtime/gfx2d/TextureTexels.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

int PowerOfTwoSide(int size, int minimum) {
    int side = minimum;
    while (side < size && side < (1 << 30)) side *= 2;
    return side;
}

bool ResizeTexels(std::vector<uint8_t>& texels, int width, int height) {
    try {
        texels.resize(static_cast<size_t>(width) * height * 4);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

void CopyPictureIntoTexels(const DecodedImage& picture, int left, int top, int width, int height,
                           uint8_t* texels, int textureWidth) {
    for (int r = 0; r < height; ++r) {
        const int pictureRow = top + r;
        if (pictureRow < 0 || pictureRow >= picture.height) continue;
        uint8_t* row = texels + static_cast<size_t>(height - 1 - r) * textureWidth * 4;
        for (int c = 0; c < width; ++c) {
            const int pictureColumn = left + c;
            if (pictureColumn < 0 || pictureColumn >= picture.width) continue;
            std::memcpy(row + c * 4,
                        picture.pixels +
                            (static_cast<size_t>(pictureRow) * picture.width + pictureColumn) * 4,
                        4);
        }
    }
}

void BleedColourIntoTransparentTexels(uint8_t* texels, int textureWidth, int textureHeight) {
    // Where each row's opaque texels inside the border begin and end: a
    // transparent texel with none of them beside it in its own row or the
    // rows above and below takes black at once (most of a picture's padding).
    std::vector<int> first(static_cast<size_t>(textureHeight), textureWidth);
    std::vector<int> last(static_cast<size_t>(textureHeight), -1);
    for (int y = 1; y < textureHeight - 1; ++y) {
        const uint8_t* row = texels + static_cast<size_t>(y) * textureWidth * 4;
        for (int x = 1; x < textureWidth - 1; ++x) {
            if (row[x * 4 + 3] == 0) continue;
            if (first[y] == textureWidth) first[y] = x;
            last[y] = x;
        }
    }
    auto beside = [&](int x, int y) {
        for (int ny = std::max(y - 1, 0); ny <= std::min(y + 1, textureHeight - 1); ++ny)
            if (first[ny] <= x + 1 && last[ny] >= x - 1) return true;
        return false;
    };
    for (int y = 0; y < textureHeight; ++y) {
        for (int x = 0; x < textureWidth; ++x) {
            uint8_t* texel = texels + (static_cast<size_t>(y) * textureWidth + x) * 4;
            if (texel[3] != 0) continue;
            int sum[3] = {0, 0, 0};
            int count = 0;
            const bool near = beside(x, y);
            for (int ny = y - 1; near && ny <= y + 1; ++ny) {
                if (ny < 1 || ny > textureHeight - 2) continue;
                for (int nx = x - 1; nx <= x + 1; ++nx) {
                    if (nx < 1 || nx > textureWidth - 2 || (nx == x && ny == y)) continue;
                    const uint8_t* n = texels + (static_cast<size_t>(ny) * textureWidth + nx) * 4;
                    if (n[3] == 0) continue;
                    for (int c = 0; c < 3; ++c) sum[c] += n[c];
                    ++count;
                }
            }
            for (int c = 0; c < 3; ++c) texel[c] = count ? static_cast<uint8_t>(sum[c] / count) : 0;
        }
    }
}

void ConvertToNormalMap(uint8_t* texels, int textureWidth, int textureHeight) {
    const int w = textureWidth, h = textureHeight;
    const std::vector<uint8_t> source(texels, texels + static_cast<size_t>(w) * h * 4);
    auto v = [&](int r, int c) {
        r = (r % h + h) % h;
        c = (c % w + w) % w;
        return source[(static_cast<size_t>(r) * w + c) * 4 + 2] / 255.0f;
    };
    for (int r = 0; r < h; ++r) {
        for (int c = 0; c < w; ++c) {
            const float dx = -(v(r + 1, c + 1) + 2 * v(r, c + 1) + v(r - 1, c + 1) -
                               v(r + 1, c - 1) - 2 * v(r, c - 1) - v(r - 1, c - 1));
            const float dy = -(v(r - 1, c - 1) + 2 * v(r - 1, c) + v(r - 1, c + 1) -
                               v(r + 1, c - 1) - 2 * v(r + 1, c) - v(r + 1, c + 1));
            const float length = std::sqrt(dx * dx + dy * dy + 1.0f);
            uint8_t* texel = texels + (static_cast<size_t>(r) * w + c) * 4;
            texel[0] = static_cast<uint8_t>((dx / length + 1) / 2 * 255);
            texel[1] = static_cast<uint8_t>((dy / length + 1) / 2 * 255);
            texel[2] = static_cast<uint8_t>((1 / length + 1) / 2 * 255);
        }
    }
}

int SquareScaledLevel(const uint8_t* texels, int textureWidth, int textureHeight,
                      std::vector<uint8_t>& level) {
    int w = textureWidth, h = textureHeight;
    level.assign(texels, texels + static_cast<size_t>(w) * h * 4);
    while (w > h) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w / 2; ++x)
                for (int c = 0; c < 4; ++c)
                    level[(static_cast<size_t>(y) * (w / 2) + x) * 4 + c] = static_cast<uint8_t>(
                        (level[(static_cast<size_t>(y) * w + 2 * x) * 4 + c] +
                         level[(static_cast<size_t>(y) * w + 2 * x + 1) * 4 + c]) >>
                        1);
        w /= 2;
    }
    while (h > w) {
        for (int y = 0; y < h / 2; ++y)
            for (int x = 0; x < w; ++x)
                for (int c = 0; c < 4; ++c)
                    level[(static_cast<size_t>(y) * w + x) * 4 + c] = static_cast<uint8_t>(
                        (level[(static_cast<size_t>(2 * y) * w + x) * 4 + c] +
                         level[(static_cast<size_t>(2 * y + 1) * w + x) * 4 + c]) >>
                        1);
        h /= 2;
    }
    level.resize(static_cast<size_t>(w) * h * 4);
    return w;
}

// Each texel weighs its source texel with the right neighbour and the texels
// two rows up, as the runtime has always filtered; the last row and column
// take fewer of them.
void NextMipLevel(const uint8_t* source, int side, std::vector<uint8_t>& level) {
    const int d = side / 2;
    level.assign(static_cast<size_t>(d) * d * 4, 0);
    auto at = [&](int x, int y, int c) {
        return source[(static_cast<size_t>(y) * side + x) * 4 + c];
    };
    for (int y = 0; y < d; ++y) {
        for (int x = 0; x < d; ++x) {
            const bool lastColumn = x == d - 1, lastRow = y == d - 1;
            for (int c = 0; c < 4; ++c) {
                const int s0 = at(2 * x, 2 * y, c);
                int value = s0;
                if (!lastColumn && !lastRow)
                    value = (4 * s0 + 2 * at(2 * x + 1, 2 * y, c) +
                             2 * at(2 * x + 1, 2 * y + 2, c) + at(2 * x, 2 * y + 2, c)) /
                            9;
                else if (!lastColumn)
                    value = (2 * s0 + at(2 * x + 1, 2 * y, c)) / 3;
                else if (!lastRow)
                    value = (2 * s0 + at(2 * x, 2 * y + 2, c)) / 3;
                level[(static_cast<size_t>(y) * d + x) * 4 + c] = static_cast<uint8_t>(value);
            }
        }
    }
}
