// How the 2D device's drawing reaches the GPU: the fixed rules of the 2D
// commands (the current colour times the texel, the alpha test, blending,
// the pixel-centre shift, culling) carried out by shader programs, and quads
// gathered into one vertex buffer until the state they are drawn under
// changes, a read-back needs them, or the frame ends. Everything stays within
// what OpenGL ES 2.0 shares with desktop OpenGL 2.1, so the same backend
// draws on a desktop driver and in a browser's WebGL. The device decides what
// is drawn and where; every GL call it makes goes through here, and nothing
// else in the runtime includes GL.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "runtime/gfx2d/GlPrograms.h"

namespace platform {
struct Window;
}
struct GlEntryPoints;
struct GlFunctions;

// A textured quad's corners, drawn in the order given.
struct QuadCorner {
    float s, t, x, y;
};
struct Quad {
    QuadCorner corners[4];

    // The rectangle (x, y, width, height) showing texture coordinates 0..s,
    // 0..t, t at its top edge; the corners run from the bottom left.
    static Quad Rectangle(float x, float y, float width, float height, float s, float t) {
        return {{{0, 0, x, y + height},
                 {s, 0, x + width, y + height},
                 {s, t, x + width, y},
                 {0, t, x, y}}};
    }
};

struct TextVertex {
    float x, y, z, s, t;
};

struct PolygonPoint {
    float x, y, s, t, red, green, blue, alpha;
};

// Where the frame is shown in the window: the frame of frameWidth x
// frameHeight in the drawable area's lower-left corner, shown scaled at (x,
// y) from the drawable's top left; the copy's texture is textureWidth x
// textureHeight.
struct FrameShowing {
    int frameWidth = 0, frameHeight = 0;
    int textureWidth = 0, textureHeight = 0;
    int drawableWidth = 0, drawableHeight = 0;
    int scale = 1, x = 0, y = 0;
};

enum class TextureFilter { Nearest, Linear };
enum class BlendFunction { Additive, Transparent };

class GlBackend {
  public:
    // Quads gathered into one draw call at most (as many as 16-bit indices
    // reach); a frame of more is drawn in parts, each handed to the driver
    // at once, so a software rasteriser starts on them while the game goes
    // on submitting the rest.
    static constexpr int kQuadsPerBatch = 16384;
    static constexpr int kQuadsPerFlush = kQuadsPerBatch;

    GlBackend();
    ~GlBackend();
    GlBackend(const GlBackend&) = delete;
    GlBackend& operator=(const GlBackend&) = delete;

    // The context: its entry points, named in its extension list, loaded
    // into `gl`; what the driver calls itself; the texture size limit.
    static void LoadEntryPoints(GlEntryPoints& gl);
    static const char* RendererName();
    static int MaxTextureSize();          // 1024 when the driver gives none
    static bool HasFramebufferObjects();  // every framebuffer entry point is there

    // With the window's context current: the shader programs and buffers the
    // drawing needs. False, with the reason in `error`, on a context that
    // cannot draw this way (no OpenGL 2.0 or ES 2.0, no framebuffer objects).
    bool Start(std::string* error);
    // The context that held the programs, buffers and textures is gone.
    void ContextLost();

    // ------------------------------------------------------------ state
    void SetViewport(int left, int bottom, int width, int height);
    // One unit per pixel, y downwards from the top left.
    void SetProjection(int width, int height);
    // What all 2D drawing relies on: texturing, culling with counter-clockwise
    // front faces, the alpha test (alpha > 0.05), opaque white, a black clear
    // colour, and depth, stencil and dithering off.
    void ResetTwoDState();
    // Between frames: blending off, colour opaque white.
    void ResetBlendingAndColour();
    void SetBlending(bool on);
    void SetBlendFunction(BlendFunction function);
    void SetColour(float red, float green, float blue, float alpha);
    void SetColourBytes(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha);
    void SetAlphaTest(bool on);
    void SetFrontFaceClockwise(bool clockwise);
    // Shifts what is drawn by (0.375, 0.375), so that integer coordinates hit
    // pixel centres, until the shift is ended.
    void BeginPixelCentreShift();
    void EndPixelCentreShift();

    // ------------------------------------------------------------ texture units
    // The textures of the next drawing. No first texture: texturing off. With
    // a second texture, the first goes to unit 1 and the second to unit 0,
    // and a fragment takes the colour times both texels.
    void BindTextures(std::optional<uint32_t> first, std::optional<uint32_t> second);
    // Unit 1 off and texturing on, on unit 0.
    void UseTextureUnitZeroOnly();
    void BindTexture(uint32_t texture);    // on unit 0
    void SetFilter(TextureFilter filter);  // magnification and minification of the bound texture

    // ------------------------------------------------------------ drawing
    void DrawQuad(const Quad& quad);
    // The quad turned by `angle` degrees, counter-clockwise on the screen,
    // about (x, y), where its own origin lands.
    void DrawRotatedQuad(const Quad& quad, float x, float y, float angle);
    void DrawTile(const Quad& quad);                                  // a background tile
    void DrawRectangle(float x, float y, float width, float height);  // untextured
    void DrawPoint(float x, float y);
    void DrawLine(float x1, float y1, float x2, float y2);
    // Quads from the vertex store, four vertices each; a quad whose depth
    // lies outside -1..1 is clipped away whole.
    void DrawTextQuads(const TextVertex* vertices, int count);
    // A triangle fan in its vertex colours, smoothly shaded; afterwards
    // texturing on and the colour white at `opacity`.
    void DrawPolygon(const PolygonPoint* points, int count, bool textured, TextureFilter filter,
                     float opacity);
    // The texture replacing whatever is under (left, top)..(right, bottom),
    // with blending, the alpha test and culling off; the state before is kept.
    void DrawPicture(uint32_t texture, float left, float top, float right, float bottom);
    // Draws what is gathered. Every read-back, copy and state change that
    // would alter it does this first.
    void Flush();

    // ------------------------------------------------------------ frame buffer
    // The frame copied into *texture (made when 0), then the whole drawable
    // area black with the copy scaled into place, nearest sampling; every
    // state it changes is put back.
    void ShowFrameScaled(uint32_t* texture, const FrameShowing& showing);
    // Swaps the window's buffers; colour and depth are cleared for the next frame.
    void Present(platform::Window* window);
    void ClearColour();
    void ClearToBlack();                 // colour and depth, the clear colour opaque black
    uint32_t ReadPixel(int x, int row);  // red + 256 green + 65536 blue
    // Rows bottom-up, blue-green-red bytes, each row padded to 4 bytes.
    void ReadPixelsBgr(int width, int height, uint8_t* pixels);
    // Rows bottom-up, blue-green-red-alpha bytes.
    void ReadPixelsBgra(int x, int y, int width, int height, uint8_t* pixels);
    // How the frame buffer stores a colour (red + 256 green + 65536 blue):
    // written into pixel (4, 4) and read back, the pixel then put back.
    uint32_t ColourAsStored(uint32_t colour);
    bool FrameBufferHasAlpha();  // asked once and remembered

    // ------------------------------------------------------------ textures
    // A new texture in *texture (the old one deleted), bound, repeat wrapping:
    // RGBA8 texels from `rgba`, rows bottom first and tightly packed, or
    // undefined ones without.
    void CreateTexture(uint32_t* texture, int width, int height, const uint8_t* rgba,
                       TextureFilter filter);
    // The same with a mip chain for scaled drawing (linear, mip-mapped): the
    // longer side halved down to a square, then each level made from the
    // one before, down to 1 x 1.
    void CreateScaledTexture(uint32_t* texture, const uint8_t* rgba, int width, int height);
    // Makes the texture when *texture is 0, else replaces its texels; linear,
    // clamped at the edges; rows 4-byte aligned.
    void UploadClampedTexture(uint32_t* texture, const uint8_t* rgba, int width, int height);
    // Blue-green-red-alpha texels into the bound texture at (0, 0).
    void UploadBgraTexels(int width, int height, const uint8_t* pixels);
    // The frame buffer's rectangle at (x, y), counted from the bottom, into
    // the bound texture at (0, 0).
    void CopyFrameBuffer(int x, int y, int width, int height);
    void DeleteTexture(uint32_t* texture);                    // nothing when 0; 0 afterwards
    void ReadTextureAlpha(uint32_t texture, uint8_t* alpha);  // one byte a texel
    void ReadTextureBgr(uint32_t texture, uint8_t* pixels);   // rows padded to 4 bytes

    // ------------------------------------------------------------ framebuffer objects
    // A framebuffer with a depth buffer of width x height and the texture as
    // its colour; true when the driver calls the attached framebuffer complete.
    bool CreateFramebuffer(uint32_t* framebuffer, uint32_t* depthBuffer, uint32_t texture,
                           int width, int height);
    // Drawing goes into the framebuffer, the texture attached as its colour.
    void AttachFramebuffer(uint32_t framebuffer, uint32_t depthBuffer, uint32_t texture);
    void BindFramebuffer(uint32_t framebuffer);  // 0: the window; no renderbuffer bound
    // Each where it and its entry point exist; both 0 afterwards.
    void DeleteFramebuffer(uint32_t* framebuffer, uint32_t* depthBuffer);

  private:
    friend struct OpenGLRainbowsTesting;

    enum class Primitive : uint8_t { Quads, Lines, Points };
    // What the gathered vertices are drawn with besides the GL state, which
    // changes only after they are drawn.
    struct BatchState {
        unsigned features = 0;
        Primitive primitive = Primitive::Quads;
        float colour[4] = {1, 1, 1, 1};
        bool operator==(const BatchState&) const = default;
    };
    struct TextureRecord {
        int width = 0, height = 0;  // level 0; 0 while the name holds no texture
        int magnification = 0, minification = 0;
    };

    TextureRecord* Record(uint32_t texture);
    void ForgetTexture(uint32_t texture);
    void SetTextureFilters(int magnification, int minification);
    bool TextureUsable(uint32_t texture);
    unsigned Features();
    // Room for `vertices` more under the current state; returns where they go.
    float* Reserve(Primitive primitive, int vertices);
    void AppendQuad(const QuadCorner (&corners)[4], bool counted);
    void DrawAlone(uint32_t texture, const QuadCorner (&corners)[4]);
    void CountDrawCall(int vertices);
    bool UseProgram(unsigned features, const float* drawColour);
    void UseAttributes(int stride, bool colours);
    void SetClearColour(float red, float green, float blue, float alpha);
    void ReadRgba(int x, int y, int width, int height, uint8_t* rgba);
    void ReadTextureRgba(uint32_t texture, std::vector<uint8_t>& rgba);
    void ApplyTextureBinding(uint32_t texture);

    std::unique_ptr<GlFunctions> gl;
    GlPrograms programs;
    uint32_t vertexBuffer = 0, indexBuffer = 0, readFramebuffer = 0;
    GlProgram* currentProgram = nullptr;
    int attributeStride = 0;  // the layout the attribute pointers describe; 0: none yet
    int viewport[4] = {-1, -1, -1, -1};

    // The drawing state as the device set it.
    bool blending = false;
    int blendFunction = -1;  // BlendFunction, or -1 until first set
    float colour[4] = {1, 1, 1, 1};
    bool alphaTest = true;
    bool frontFaceClockwise = false;
    bool pixelCentreShift = false;
    bool texturing = true;  // on unit 0
    bool textureUnitOneOn = false;
    uint32_t boundTexture = 0;  // unit 0
    uint32_t unitOneTexture = 0;
    uint32_t boundFramebuffer = 0;
    float clearColour[4] = {0, 0, 0, 1};
    float projection[4] = {1, -1, -1, 1};
    uint32_t projectionGeneration = 1;
    std::vector<TextureRecord> textures;  // by texture name

    // The gathered vertices: x, y, s, t each.
    std::vector<float> batch;
    int batchVertices = 0;
    int batchQuads = 0;  // of those counted toward the driver's flush
    BatchState batchState;
    bool stateChanged = true;  // the state may differ from the batch's

    int quadsSinceFlush = 0;
    int frameBufferAlphaBits = -1;  // -1 until first asked
    // Draw calls of the frame being drawn and of the one shown last, and the
    // vertex count of each of this frame's, for tests.
    int drawCalls = 0, lastFrameDrawCalls = 0;
    std::vector<int> drawCallVertices;
};
