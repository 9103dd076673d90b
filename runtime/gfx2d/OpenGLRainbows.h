// The one 2D device: the game window, its OpenGL context and all 2D state
// (sprite slots, font slots, background images, off-screen targets, opacity,
// transparency colours and the frame clock). The commands of the 2D files
// truncate their arguments and call in here; only the device writes its
// records, and it reaches GL through its backend alone.
#pragma once

#include <cstdint>

#include "runtime/files/ImageFile.h"
#include "runtime/gfx2d/Background.h"
#include "runtime/gfx2d/GlBackend.h"
#include "runtime/gfx2d/OffscreenTarget.h"
#include "runtime/gfx2d/SpriteSlots.h"
#include "runtime/gfx2d/WakeMargin.h"

namespace platform {
struct Window;
struct GlContext;
}  // namespace platform
struct MovieRect;

class OpenGLRainbows {
  public:
    OpenGLRainbows();
    virtual ~OpenGLRainbows();
    OpenGLRainbows(const OpenGLRainbows&) = delete;
    OpenGLRainbows& operator=(const OpenGLRainbows&) = delete;

    // The bounds of the device's tables. Every operation that takes a number
    // from a command asks here before it touches a record.
    static bool ValidSlot(int slot) { return slot >= 0 && slot < kSpriteSlotCount; }
    static bool ValidFont(int font) { return font >= 0 && font < kFontCount; }
    static bool ValidBackground(int image) { return image >= 0 && image < kBackgroundCount; }
    bool TargetCreated(int target) const {
        return target >= 0 && target < kOffscreenTargetCount &&
               ValidSlot(offscreenTargets[target].slot);
    }

    // Window, context and frames.
    bool Create(void* instance, int width, int height, int colourBits, int framesPerSecond,
                int samples);
    bool EnterFullScreen();
    bool EnterWindowed();
    bool HideWindow();
    // F11 and Alt+Enter: desktop full screen, the screen scaled, or back.
    void ToggleFullScreen();
    bool ChangeMode(int width, int height, int colourBits, int fullScreen);
    void SetView(int x, int y, int width, int height);
    double Present();
    // After Present: blending reset, opacity 1, background 0 drawn into the
    // fresh back buffer, the whole screen as the view.
    void PrepareNextFrame();
    bool PumpMessages();
    void SetFrameRate(int framesPerSecond);
    void CloseWindow();

    platform::Window* Window() const { return window; }
    int Width() const { return width; }
    int Height() const { return height; }
    bool FullScreen() const { return fullScreenFlag != 0; }
    int MultisampleSamples() const { return multisampleSamples; }
    double FrameInterval() const { return frameInterval; }
    double NextFrameTime() const { return nextFrameTime; }
    // The next Present shows at once and paces from then on.
    void RestartPacing();
    bool Initialised() const { return initialisedFlag != 0; }

    // Sprite slots and textures. LoadSprite, LoadNormalMap and LoadAnimation
    // empty the slot, then load the file found by the media lookup.
    bool LoadSprite(int slot, const char* file);
    bool LoadNormalMap(int slot, const char* file);  // 0x8000FF transparent, whatever is set
    bool LoadAnimation(int slot, const char* file, int frameWidth, int frameHeight);
    bool LoadSpriteFile(int slot, const char* path, int32_t transparentColour, bool normalMap);
    // The picture's textures into an empty slot (nearest and unscaled for a font).
    bool LoadSpritePicture(int slot, const DecodedImage& picture, bool normalMap);
    void FreeSprite(int slot);
    bool GrabScreen(int slot, int x, int y, int width, int height);
    void SpriteSize(int slot, int& width, int& height) const;
    void SetFrameSize(int slot, int frameWidth, int frameHeight);
    void SetTransparentColour(uint32_t colour);  // for sprites and fonts alike
    uint32_t SpriteTransparentColour() const { return spriteTransparentColour; }
    uint32_t FontTransparentColour() const { return fontTransparentColour; }
    // The sprite transparent colour as the frame buffer stores it.
    uint32_t TransparentColourOnScreen();
    // The slot's record; null outside the table.
    const SpriteSlot* Sprite(int slot) const {
        return ValidSlot(slot) ? &spriteSlots[slot] : nullptr;
    }

    // Sprite drawing, in the current view.
    void DrawSprite(int slot, float x, float y);
    void StretchSprite(int slot, float x, float y, float width, float height);
    void ZoomSprite(int slot, float x, float y, float scaleX, float scaleY);
    void RotoZoomSprite(int slot, float x, float y, float angle, float zoom);
    void DrawAnimation(int slot, int frame, float x, float y);
    void StretchAnimation(int slot, int frame, float x, float y, float width, float height);
    void RotoZoomAnimation(int slot, int frame, float x, float y, float angle, float zoom);
    void StartPolygon(int slot);  // -1: untextured
    void PolygonVertex(float x, float y, float textureX, float textureY, int32_t colour);
    void EndPolygon();
    void SetSmoothing(bool on);
    uint8_t SmoothFlag() const { return smoothFlag; }
    // A slot's texture means its scaled texture when `scaled` is set; slot
    // -1: no texture.
    void BindSprite(int slot, int secondSlot = -1, bool scaled = false);

    // Fonts.
    // The font file found by the media lookup, else the built-in font.
    void LoadFont(int font, const char* file);
    bool LoadFontFile(int font, const char* path);
    bool InstallBuiltInFont(int font);
    int DrawText(int font, const char* text, float x, float y, float z);
    void FontCellSize(int font, int& width, int& height) const;
    int VertexCapacity() const { return vertexCapacity; }

    // Alpha mode, primitives and clearing.
    void SetAlphaMode(float mode);
    float CurrentOpacity() const { return currentOpacity; }
    void DrawPixel(float x, float y, int32_t colour);
    void DrawLine(float x1, float y1, float x2, float y2, int32_t colour);
    void DrawRect(float x, float y, float width, float height, int32_t colour);
    uint32_t GetPixel(int x, int y);
    void ClearScreen();  // background 0 removed, the colour buffer cleared

    // Collision of two placed pictures (frame -1: the whole picture).
    bool Collide(int slot1, int frame1, int x1, int y1, int slot2, int frame2, int x2, int y2);
    // The slot's collision mask while it is kept; null before the first test.
    const uint8_t* KeptCollisionMask(int slot) const {
        return ValidSlot(slot) ? collisionMasks[slot] : nullptr;
    }

    // Background images.
    void LoadBackground(const char* file);     // into background 0 and drawn
    void BlendToBackground(const char* file);  // the 1.5-second cross-fade
    bool LoadBackgroundFile(int image, const char* path);
    void GrabToBackground(int image);
    void DrawBackground(int image);
    void FreeBackground(int image);
    // The image's record; null outside the table.
    const BackgroundImage* Background(int image) const {
        return ValidBackground(image) ? &backgroundImages[image] : nullptr;
    }

    // Off-screen targets.
    bool CreateScreen(int target, int slot, int width, int height);
    void UseScreen(int target);
    void EndScreen();
    // The target's record; null outside the table.
    const OffscreenTarget* Target(int target) const {
        return target >= 0 && target < kOffscreenTargetCount ? &offscreenTargets[target] : nullptr;
    }
    int CurrentOffscreenTarget() const { return currentOffscreenTarget; }

    // Saving: the whole back buffer, or a slot's picture.
    bool SaveScreen(const char* path);
    bool SaveSprite(const char* path, int slot);
    // Pixels: bufferWidth x bufferHeight, rows bottom-up, blue-green-red bytes
    // with rows padded to 4 bytes; the lower-left width x height are written.
    bool SaveImage(const char* path, const uint8_t* pixels, int width, int height, int bufferWidth,
                   int bufferHeight);

    // Movie pictures, drawn over the whole window (black around the
    // destination) outside the 2D view, which the end of a movie restores.
    void UploadMoviePicture(uint32_t* texture, const uint8_t* rgba, int width, int height);
    void DrawMoviePicture(uint32_t texture, const MovieRect& destination);  // texture 0: black
    void EndMoviePictures(uint32_t* texture);

  private:
    friend struct OpenGLRainbowsTesting;

    struct PolygonList;
    struct FrameCoordinates {
        float s0, s1, t0, t1;
    };

    bool LoadResolved(int slot, const char* file, int32_t transparentColour, bool normalMap);
    // A texture of the rectangle (0 = up to the picture's edge); the scaled
    // texture (mip-mapped) only when scaledTextureOut is given.
    bool UploadPicture(const DecodedImage& picture, int left, int top, int width, int height,
                       uint32_t* textureOut, uint32_t* scaledTextureOut, bool normalMap,
                       bool nearest);
    void RecordBinding(int slot, int secondSlot, bool scaled);
    // The bound texture's filters from the smooth flag. A quad that maps
    // texels one to one to pixels passes oneToOne and always gets nearest.
    void ApplySmoothing(bool oneToOne = false);
    const SpriteSlot* BindFrame(int slot, int frame, FrameCoordinates& coordinates, bool oneToOne);
    uint8_t* CollisionMask(int slot);
    void BeginPrimitive(int32_t colour);
    void EndPrimitive();
    void FinishTarget();

    bool CreateWindowAndFormat(int samples);
    bool EnterDesktopFullScreen();
    // Where the window is larger than the screen: the screen drawn in its
    // lower-left corner is shown scaled and centred instead.
    void ShowFrame();
    bool ChooseMultisampleFormat();
    void WarnAboutSoftwareRendering();
    void EmptySpriteSlots();

    // Fields, in the order the device has always kept them.
    TextVertex* vertexBuffer = nullptr;
    int vertexCount = 0;
    int vertexCapacity = 0;
    int bufferGrowStep = 128;
    int bufferInitialSize = 512;
    SpriteSlot* spriteSlots = nullptr;
    float currentOpacity = 0;
    OffscreenTarget offscreenTargets[kOffscreenTargetCount];
    int currentOffscreenTarget = -1;
    uint8_t** collisionMasks = nullptr;
    BackgroundImage backgroundImages[kBackgroundCount];
    uint8_t smoothFlag = 1;
    platform::Window* window = nullptr;
    int width = 0;
    int height = 0;
    int colourBits = 0;
    uint8_t fullScreenFlag = 0;
    int multisampleSamples = 0;
    int viewX = 0, viewY = 0, viewWidth = 0, viewHeight = 0;
    uint32_t spriteTransparentColour = 0x8000FF;
    uint32_t fontTransparentColour = 0x8000FF;
    uint8_t initialisedFlag = 0;
    double nextFrameTime = 0;
    double frameInterval = 2.0;
    void* programInstance = nullptr;
    platform::GlContext* renderingContext = nullptr;

    // Bound-texture record.
    int boundSlot = -1;
    int boundSecondSlot = -1;
    uint8_t boundScaled = 0;

    uint32_t frameTexture = 0;      // the copy of the screen a scaled window shows
    uint8_t desktopFullScreen = 0;  // full screen at the desktop's mode, the screen scaled
    int windowedScale = 1;          // the window's multiple of the screen when windowed
    WakeMargin wakeMargin;          // how early the frame wait stops sleeping

    GlBackend backend;
    // The polygon being built: one list for the process, reused and only grown.
    static PolygonList polygon;
};

// True once the software-rendering warning has been given in this process.
bool SoftwareRenderingWarned();
