// Bitmap fonts: one picture of 16 columns of cells in a font slot, text
// drawn cell by cell from the device's vertex store.
#include "runtime/gfx2d/Font.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "runtime/core/EngineState.h"
#include "runtime/files/Shoebox.h"
#include "runtime/gfx2d/CommandArguments.h"
#include "runtime/gfx2d/OpenGLRainbows.h"
#include "runtime/runtime.h"
#include "runtime/values/NumberText.h"

namespace {

int FontNumber(double value) {
    return std::clamp(TruncateInt32(value), 0, kFontCount - 1);
}

constexpr size_t kMaxTextCells = 65536;

// 16 rows (codes 0..255) when the picture is taller than wide, else 8 rows.
int RowsOf(const SpriteSlot& record) {
    return record.width < record.height ? 16 : 8;
}

}  // namespace

bool OpenGLRainbows::LoadFontFile(int font, const char* path) {
    if (!ValidFont(font)) return false;
    return LoadSpriteFile(kFontSlotBase + font, path, static_cast<int32_t>(fontTransparentColour),
                          false);
}

bool OpenGLRainbows::InstallBuiltInFont(int font) {
    if (!ValidFont(font)) return false;
    const int slot = kFontSlotBase + font;
    FreeSprite(slot);
    DecodedImage picture;
    if (!PrepareImageBlock(&picture, kBuiltInFontWidth, kBuiltInFontHeight)) return false;
    BuildBuiltInFont(picture.pixels);
    const bool uploaded = LoadSpritePicture(slot, picture, false);
    ReleaseDecodedImage(&picture);
    return uploaded;
}

void OpenGLRainbows::LoadFont(int font, const char* file) {
    char path[1024];
    if (ShoeboxFind(gEngine.mediaShoebox, file, path, sizeof path) && LoadFontFile(font, path))
        return;
    InstallBuiltInFont(font);
}

void OpenGLRainbows::FontCellSize(int font, int& cellWidth, int& cellHeight) const {
    if (!ValidFont(font)) {
        cellWidth = cellHeight = 0;
        return;
    }
    const SpriteSlot& record = spriteSlots[kFontSlotBase + font];
    cellWidth = record.width / 16;
    cellHeight = record.height / RowsOf(record);
}

// Cells wholly left of the view are skipped and at most kMaxTextCells drawn
// after them: at a pixel a cell or more, no screen shows more, and a text of
// any length needs no more vertex room than that.
int OpenGLRainbows::DrawText(int font, const char* text, float x, float y, float z) {
    const size_t length = std::strlen(text);
    if (length == 0 || !ValidFont(font)) return 0;
    const int slot = kFontSlotBase + font;
    const SpriteSlot& record = spriteSlots[slot];
    BindSprite(slot);
    const int rows = RowsOf(record);
    const float cellWidth = record.width / 16, cellHeight = record.height / rows;
    const float sw = static_cast<float>(record.width) / record.textureWidth / 16;
    const float sh = static_cast<float>(record.height) / record.textureHeight / rows;

    const double left = std::ceil(x);
    const double skipped = cellWidth >= 1 && left < 0 ? std::floor(-left / cellWidth) : 0;
    if (skipped >= static_cast<double>(length)) return 0;
    const size_t first = static_cast<size_t>(skipped);
    const int count = static_cast<int>(std::min(length - first, kMaxTextCells));
    const int need = count * 4;
    if (need > vertexCapacity) {
        const int capacity = vertexCapacity == 0 && need <= bufferInitialSize
                                 ? bufferInitialSize
                                 : (need / bufferGrowStep + 1) * bufferGrowStep;
        auto* grown =
            static_cast<TextVertex*>(std::realloc(vertexBuffer, capacity * sizeof(TextVertex)));
        if (!grown) return 0;
        vertexBuffer = grown;
        vertexCapacity = capacity;
    }
    float X = static_cast<float>(left + first * static_cast<double>(cellWidth));
    const float Y = std::ceil(y);
    TextVertex* v = vertexBuffer;
    for (int i = 0; i < count; ++i) {
        const int code = static_cast<unsigned char>(text[first + i]) % (rows == 16 ? 256 : 128);
        const int column = code % 16, row = code / 16;
        const float s0 = sw * column, s1 = s0 + sw;
        const float t0 = sh * (rows - 1 - row), t1 = t0 + sh;
        *v++ = {X, Y + cellHeight, z, s0, t0};
        *v++ = {X + cellWidth, Y + cellHeight, z, s1, t0};
        *v++ = {X + cellWidth, Y, z, s1, t1};
        *v++ = {X, Y, z, s0, t1};
        X += cellWidth;
    }
    vertexCount = need;
    backend.DrawTextQuads(vertexBuffer, vertexCount);
    return count;
}

// ---------------------------------------------------------------- commands

void LoadFont(const RtString& fileName, double slot) {
    const int font = FontNumber(slot);
    gEngine.currentFont = font;
    if (gEngine.device) gEngine.device->LoadFont(font, fileName.CStr());
}

void SetFont(double slot) {
    gEngine.currentFont = FontNumber(slot);
}

void GetFontSize(double& characterWidth, double& characterHeight) {
    int w = 0, h = 0;
    if (gEngine.device) gEngine.device->FontCellSize(gEngine.currentFont, w, h);
    characterWidth = w;
    characterHeight = h;
}

void PrintText(const RtString& text, double x, double y) {
    if (gEngine.device)
        gEngine.device->DrawText(gEngine.currentFont, text.CStr(), Coordinate(x), Coordinate(y), 0);
}

void PrintNumber(double number, double x, double y) {
    PrintText(NumberText(number), x, y);
}
