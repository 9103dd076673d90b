#include "runtime/gfx2d/GlBackend.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <string>
#include <type_traits>
#include <vector>

#include "runtime/core/EngineState.h"
#include "runtime/gfx2d/GlFunctions.h"
#include "runtime/gfx2d/TextureTexels.h"
#include "runtime/platform/Platform.h"

namespace {

constexpr int kFloatsPerVertex = 4;  // x, y, s, t
constexpr int kBatchStride = kFloatsPerVertex * sizeof(float);
constexpr int kPolygonStride = sizeof(PolygonPoint);
static_assert(sizeof(PolygonPoint) == 8 * sizeof(float), "polygon points are read as they are");

#ifndef __EMSCRIPTEN__

// The one cast from the driver's address to the entry point, whose type must
// be GL's own; an entry point counts only when its extension is in the
// context's list, as an address alone proves nothing.
template <typename GlType, typename Held>
void Load(Held& entry, const char* extension, const char* name) {
    static_assert(std::is_same_v<Held, GlType>, "the entry point's type differs from GL's");
    entry = platform::GlExtensionSupported(extension)
                ? reinterpret_cast<Held>(platform::GlProcAddress(name))
                : nullptr;
}

void LoadMultitexture(GlEntryPoints& gl) {
    const char* mt = "GL_ARB_multitexture";
    const char* vbo = "GL_ARB_vertex_buffer_object";
    Load<PFNGLACTIVETEXTUREARBPROC>(gl.activeTexture, mt, "glActiveTextureARB");
    Load<PFNGLMULTITEXCOORD2FARBPROC>(gl.multiTexCoord2f, mt, "glMultiTexCoord2fARB");
    Load<PFNGLCLIENTACTIVETEXTUREARBPROC>(gl.clientActiveTexture, mt, "glClientActiveTextureARB");
    Load<PFNGLGENBUFFERSARBPROC>(gl.genBuffers, vbo, "glGenBuffersARB");
    Load<PFNGLBINDBUFFERARBPROC>(gl.bindBuffer, vbo, "glBindBufferARB");
    Load<PFNGLBUFFERDATAARBPROC>(gl.bufferData, vbo, "glBufferDataARB");
    Load<PFNGLDELETEBUFFERSARBPROC>(gl.deleteBuffers, vbo, "glDeleteBuffersARB");
    Load<PFNGLMAPBUFFERARBPROC>(gl.mapBuffer, vbo, "glMapBufferARB");
    Load<PFNGLUNMAPBUFFERARBPROC>(gl.unmapBuffer, vbo, "glUnmapBufferARB");
    Load<PFNGLGETBUFFERPARAMETERIVARBPROC>(gl.getBufferParameteriv, vbo,
                                           "glGetBufferParameterivARB");
}

void LoadShaderObjects(GlEntryPoints& gl) {
    const char* so = "GL_ARB_shader_objects";
    const char* vs = "GL_ARB_vertex_shader";
    Load<PFNGLCREATEPROGRAMOBJECTARBPROC>(gl.createProgramObject, so, "glCreateProgramObjectARB");
    Load<PFNGLDELETEOBJECTARBPROC>(gl.deleteObject, so, "glDeleteObjectARB");
    Load<PFNGLCREATESHADEROBJECTARBPROC>(gl.createShaderObject, so, "glCreateShaderObjectARB");
    Load<PFNGLSHADERSOURCEARBPROC>(gl.shaderSource, so, "glShaderSourceARB");
    Load<PFNGLCOMPILESHADERARBPROC>(gl.compileShader, so, "glCompileShaderARB");
    Load<PFNGLGETOBJECTPARAMETERIVARBPROC>(gl.getObjectParameteriv, so,
                                           "glGetObjectParameterivARB");
    Load<PFNGLATTACHOBJECTARBPROC>(gl.attachObject, so, "glAttachObjectARB");
    Load<PFNGLGETINFOLOGARBPROC>(gl.getInfoLog, so, "glGetInfoLogARB");
    Load<PFNGLLINKPROGRAMARBPROC>(gl.linkProgram, so, "glLinkProgramARB");
    Load<PFNGLUSEPROGRAMOBJECTARBPROC>(gl.useProgramObject, so, "glUseProgramObjectARB");
    Load<PFNGLGETUNIFORMLOCATIONARBPROC>(gl.getUniformLocation, so, "glGetUniformLocationARB");
    Load<PFNGLUNIFORM1FARBPROC>(gl.uniform1f, so, "glUniform1fARB");
    Load<PFNGLUNIFORM1IARBPROC>(gl.uniform1i, so, "glUniform1iARB");
    Load<PFNGLGETATTRIBLOCATIONARBPROC>(gl.getAttribLocation, vs, "glGetAttribLocationARB");
    Load<PFNGLVERTEXATTRIB1FARBPROC>(gl.vertexAttrib1f, vs, "glVertexAttrib1fARB");
}

void LoadFramebufferObjects(GlEntryPoints& gl) {
    const char* fbo = "GL_EXT_framebuffer_object";
    Load<PFNGLBINDRENDERBUFFEREXTPROC>(gl.bindRenderbuffer, fbo, "glBindRenderbufferEXT");
    Load<PFNGLDELETERENDERBUFFERSEXTPROC>(gl.deleteRenderbuffers, fbo, "glDeleteRenderbuffersEXT");
    Load<PFNGLGENRENDERBUFFERSEXTPROC>(gl.genRenderbuffers, fbo, "glGenRenderbuffersEXT");
    Load<PFNGLRENDERBUFFERSTORAGEEXTPROC>(gl.renderbufferStorage, fbo, "glRenderbufferStorageEXT");
    Load<PFNGLBINDFRAMEBUFFEREXTPROC>(gl.bindFramebuffer, fbo, "glBindFramebufferEXT");
    Load<PFNGLDELETEFRAMEBUFFERSEXTPROC>(gl.deleteFramebuffers, fbo, "glDeleteFramebuffersEXT");
    Load<PFNGLGENFRAMEBUFFERSEXTPROC>(gl.genFramebuffers, fbo, "glGenFramebuffersEXT");
    Load<PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC>(gl.checkFramebufferStatus, fbo,
                                             "glCheckFramebufferStatusEXT");
    Load<PFNGLFRAMEBUFFERTEXTURE2DEXTPROC>(gl.framebufferTexture2D, fbo,
                                           "glFramebufferTexture2DEXT");
    Load<PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC>(gl.framebufferRenderbuffer, fbo,
                                              "glFramebufferRenderbufferEXT");
}

#endif

GLint FilterOf(TextureFilter filter) {
    return filter == TextureFilter::Linear ? GL_LINEAR : GL_NEAREST;
}

void SetRepeatWrapping() {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

// Blue-green-red(-alpha) orders are the game's; the GPU is handed and hands
// back red-green-blue-alpha, the one order every driver takes.
void SwapRedAndBlue(uint8_t* pixels, size_t count) {
    for (size_t i = 0; i < count; ++i, pixels += 4) std::swap(pixels[0], pixels[2]);
}

// Rows of RGBA texels as blue-green-red rows padded to 4 bytes.
void RgbaToPaddedBgr(const uint8_t* rgba, int width, int height, uint8_t* bgr) {
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    for (int row = 0; row < height; ++row) {
        const uint8_t* from = rgba + static_cast<size_t>(row) * width * 4;
        uint8_t* to = bgr + row * stride;
        for (int x = 0; x < width; ++x, from += 4, to += 3) {
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
        }
    }
}

}  // namespace

GlBackend::GlBackend() : gl(std::make_unique<GlFunctions>()) {}
GlBackend::~GlBackend() = default;

// ---------------------------------------------------------------- context

#ifdef __EMSCRIPTEN__

// WebGL has framebuffer objects in its core and none of the desktop's
// extensions; the multitexture and shader groups stay empty.
void GlBackend::LoadEntryPoints(GlEntryPoints& gl) {
    gl.bindRenderbuffer = glBindRenderbuffer;
    gl.deleteRenderbuffers = glDeleteRenderbuffers;
    gl.genRenderbuffers = glGenRenderbuffers;
    gl.renderbufferStorage = glRenderbufferStorage;
    gl.bindFramebuffer = glBindFramebuffer;
    gl.deleteFramebuffers = glDeleteFramebuffers;
    gl.genFramebuffers = glGenFramebuffers;
    gl.checkFramebufferStatus = glCheckFramebufferStatus;
    gl.framebufferTexture2D = glFramebufferTexture2D;
    gl.framebufferRenderbuffer = glFramebufferRenderbuffer;
}

#else

// The multitexture and shader groups are only asked for when their first
// extension is in the list (a substring search); the framebuffer entry
// points always are.
void GlBackend::LoadEntryPoints(GlEntryPoints& gl) {
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    const std::string all = extensions ? extensions : "";
    if (all.find("GL_ARB_multitexture") != std::string::npos) LoadMultitexture(gl);
    if (all.find("GL_ARB_fragment_program") != std::string::npos) LoadShaderObjects(gl);
    LoadFramebufferObjects(gl);
}

#endif

const char* GlBackend::RendererName() {
    return reinterpret_cast<const char*>(glGetString(GL_RENDERER));
}

int GlBackend::MaxTextureSize() {
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    return size > 0 ? size : 1024;
}

bool GlBackend::HasFramebufferObjects() {
    const GlEntryPoints& gl = gEngine.gl;
    return gl.bindRenderbuffer && gl.deleteRenderbuffers && gl.genRenderbuffers &&
           gl.renderbufferStorage && gl.bindFramebuffer && gl.deleteFramebuffers &&
           gl.genFramebuffers && gl.checkFramebufferStatus && gl.framebufferTexture2D &&
           gl.framebufferRenderbuffer;
}

// Quads are drawn as two triangles each, split along the diagonal from their
// second corner to their fourth, as drivers split their own quads.
bool GlBackend::Start(std::string* error) {
    if (!gl->Load(error) || !programs.Prepare(*gl, error)) return false;
    currentProgram = nullptr;
    if (!vertexBuffer) gl->glGenBuffers(1, &vertexBuffer);
    gl->glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    attributeStride = 0;
    if (!indexBuffer) {
        std::vector<uint16_t> indices(static_cast<size_t>(kQuadsPerBatch) * 6);
        for (int quad = 0; quad < kQuadsPerBatch; ++quad) {
            const uint16_t base = static_cast<uint16_t>(quad * 4);
            const uint16_t pattern[6] = {0, 1, 3, 1, 2, 3};
            for (int i = 0; i < 6; ++i) indices[quad * 6 + i] = base + pattern[i];
        }
        gl->glGenBuffers(1, &indexBuffer);
        gl->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
        gl->glBufferData(GL_ELEMENT_ARRAY_BUFFER, indices.size() * sizeof(uint16_t), indices.data(),
                         GL_STATIC_DRAW);
    }
    gl->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    if (!readFramebuffer) gl->glGenFramebuffers(1, &readFramebuffer);
    gl->glActiveTexture(GL_TEXTURE0);
    stateChanged = true;
    return true;
}

// A new context starts from GL's defaults and holds none of the old names.
void GlBackend::ContextLost() {
    programs.Forget();
    currentProgram = nullptr;
    vertexBuffer = indexBuffer = readFramebuffer = 0;
    attributeStride = 0;
    textures.clear();
    batchVertices = batchQuads = 0;
    blending = false;
    blendFunction = -1;
    boundTexture = unitOneTexture = boundFramebuffer = 0;
    textureUnitOneOn = false;
    frameBufferAlphaBits = -1;
    for (float& c : clearColour) c = 0;
    viewport[0] = viewport[1] = viewport[2] = viewport[3] = -1;
    stateChanged = true;
}

// ---------------------------------------------------------------- state

void GlBackend::SetViewport(int left, int bottom, int width, int height) {
    const int wanted[4] = {left, bottom, width, height};
    if (std::memcmp(viewport, wanted, sizeof viewport) == 0) return;
    Flush();
    glViewport(left, bottom, width, height);
    std::memcpy(viewport, wanted, sizeof viewport);
}

// What an orthographic projection of (0, width) x (height, 0) does to a
// vertex, in single precision as GL computes it: x * scale + offset.
void GlBackend::SetProjection(int width, int height) {
    if (width == 0 || height == 0) return;
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    const float wanted[4] = {2.0f / w, 2.0f / (0.0f - h), -1.0f, 1.0f};
    if (std::memcmp(projection, wanted, sizeof projection) == 0) return;
    Flush();
    std::memcpy(projection, wanted, sizeof projection);
    ++projectionGeneration;
}

void GlBackend::ResetTwoDState() {
    Flush();
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_DITHER);
    frontFaceClockwise = false;
    texturing = true;
    alphaTest = true;
    SetColour(1, 1, 1, 1);
    SetClearColour(0, 0, 0, 1);
}

void GlBackend::ResetBlendingAndColour() {
    SetBlending(false);
    SetColour(1, 1, 1, 1);
}

void GlBackend::SetBlending(bool on) {
    if (on == blending) return;
    Flush();
    if (on)
        glEnable(GL_BLEND);
    else
        glDisable(GL_BLEND);
    blending = on;
}

void GlBackend::SetBlendFunction(BlendFunction function) {
    if (blendFunction == static_cast<int>(function)) return;
    Flush();
    glBlendFunc(GL_SRC_ALPHA,
                function == BlendFunction::Additive ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
    blendFunction = static_cast<int>(function);
}

void GlBackend::SetColour(float red, float green, float blue, float alpha) {
    const float wanted[4] = {red, green, blue, alpha};
    if (std::memcmp(colour, wanted, sizeof colour) == 0) return;
    std::memcpy(colour, wanted, sizeof colour);
    stateChanged = true;
}

void GlBackend::SetColourBytes(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) {
    SetColour(red / 255.0f, green / 255.0f, blue / 255.0f, alpha / 255.0f);
}

void GlBackend::SetAlphaTest(bool on) {
    if (alphaTest == on) return;
    alphaTest = on;
    stateChanged = true;
}

// Culling keeps counter-clockwise front faces; a quad drawn while clockwise
// faces are the front goes in with its corners in the other order, which
// turns the same triangles round.
void GlBackend::SetFrontFaceClockwise(bool clockwise) {
    frontFaceClockwise = clockwise;
}

void GlBackend::BeginPixelCentreShift() {
    pixelCentreShift = true;
}

void GlBackend::EndPixelCentreShift() {
    pixelCentreShift = false;
}

void GlBackend::SetClearColour(float red, float green, float blue, float alpha) {
    const float wanted[4] = {red, green, blue, alpha};
    if (std::memcmp(clearColour, wanted, sizeof clearColour) == 0) return;
    glClearColor(red, green, blue, alpha);
    std::memcpy(clearColour, wanted, sizeof clearColour);
}

// ---------------------------------------------------------------- texture units

void GlBackend::ApplyTextureBinding(uint32_t texture) {
    if (texture == boundTexture) return;
    Flush();
    glBindTexture(GL_TEXTURE_2D, texture);
    boundTexture = texture;
    stateChanged = true;
}

void GlBackend::BindTextures(std::optional<uint32_t> first, std::optional<uint32_t> second) {
    const bool unitOne = first && second;
    if (unitOne && unitOneTexture != *first) {
        Flush();
        gl->glActiveTexture(GL_TEXTURE1);
        glBindTexture(GL_TEXTURE_2D, *first);
        gl->glActiveTexture(GL_TEXTURE0);
        unitOneTexture = *first;
    }
    if (unitOne != textureUnitOneOn) {
        textureUnitOneOn = unitOne;
        stateChanged = true;
    }
    if (!first) {
        if (texturing) stateChanged = true;
        texturing = false;
        return;
    }
    ApplyTextureBinding(second ? *second : *first);
    if (!texturing) stateChanged = true;
    texturing = true;
}

void GlBackend::UseTextureUnitZeroOnly() {
    if (textureUnitOneOn || !texturing) stateChanged = true;
    textureUnitOneOn = false;
    texturing = true;
}

void GlBackend::BindTexture(uint32_t texture) {
    ApplyTextureBinding(texture);
}

GlBackend::TextureRecord* GlBackend::Record(uint32_t texture) {
    if (texture == 0) return nullptr;
    if (texture >= textures.size()) textures.resize(texture + 1);
    return &textures[texture];
}

void GlBackend::ForgetTexture(uint32_t texture) {
    if (texture < textures.size()) textures[texture] = TextureRecord{};
}

// A name without texels (0 above all) leaves a fragment its colour, as an
// incomplete texture left it in the fixed pipeline.
bool GlBackend::TextureUsable(uint32_t texture) {
    return texture != 0 && texture < textures.size() && textures[texture].width > 0;
}

void GlBackend::SetTextureFilters(int magnification, int minification) {
    TextureRecord* record = Record(boundTexture);
    if (record && record->magnification == magnification && record->minification == minification)
        return;
    Flush();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magnification);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minification);
    if (record) {
        record->magnification = magnification;
        record->minification = minification;
    }
}

void GlBackend::SetFilter(TextureFilter filter) {
    SetTextureFilters(FilterOf(filter), FilterOf(filter));
}

// ---------------------------------------------------------------- drawing

unsigned GlBackend::Features() {
    unsigned features = alphaTest ? unsigned{kAlphaTest} : 0u;
    if (texturing && TextureUsable(boundTexture)) {
        features |= kTexture;
        if (textureUnitOneOn && TextureUsable(unitOneTexture)) features |= kSecondTexture;
    }
    return features;
}

float* GlBackend::Reserve(Primitive primitive, int vertices) {
    if (stateChanged || primitive != batchState.primitive) {
        BatchState now;
        now.features = Features();
        if (colour[0] == 1 && colour[1] == 1 && colour[2] == 1 && colour[3] == 1)
            now.features |= kOpaqueWhite;
        now.primitive = primitive;
        std::memcpy(now.colour, colour, sizeof colour);
        if (batchVertices > 0 && !(now == batchState)) Flush();
        batchState = now;
        stateChanged = false;
    }
    if (batchVertices + vertices > kQuadsPerBatch * 4) Flush();
    // The store grows with the largest batch a frame has made, not to the
    // most a batch may hold.
    const size_t needed = static_cast<size_t>(batchVertices + vertices) * kFloatsPerVertex;
    if (needed > batch.size()) batch.resize(std::max(needed, batch.size() * 2));
    float* at = &batch[static_cast<size_t>(batchVertices) * kFloatsPerVertex];
    batchVertices += vertices;
    return at;
}

void GlBackend::AppendQuad(const QuadCorner (&corners)[4], bool counted) {
    static constexpr int kOrder[2][4] = {{0, 1, 2, 3}, {0, 3, 2, 1}};
    const float shift = pixelCentreShift ? 0.375f : 0.0f;
    float* v = Reserve(Primitive::Quads, 4);
    for (int i : kOrder[frontFaceClockwise ? 1 : 0]) {
        const QuadCorner& c = corners[i];
        *v++ = c.x + shift;
        *v++ = c.y + shift;
        *v++ = c.s;
        *v++ = c.t;
    }
    if (counted) ++batchQuads;
}

void GlBackend::DrawQuad(const Quad& quad) {
    AppendQuad(quad.corners, true);
}

// Turned as GL turns about (0, 0, -1): sine and cosine of the angle in
// double precision, kept as floats.
void GlBackend::DrawRotatedQuad(const Quad& quad, float x, float y, float angle) {
    const double radians = static_cast<double>(angle) * std::numbers::pi / 180.0;
    const float s = static_cast<float>(std::sin(radians)),
                c = static_cast<float>(std::cos(radians));
    QuadCorner turned[4];
    for (int i = 0; i < 4; ++i) {
        const QuadCorner& corner = quad.corners[i];
        turned[i] = {corner.s, corner.t, c * corner.x + s * corner.y + x,
                     -s * corner.x + c * corner.y + y};
    }
    AppendQuad(turned, true);
}

void GlBackend::DrawTile(const Quad& quad) {
    AppendQuad(quad.corners, false);
}

void GlBackend::DrawRectangle(float x, float y, float width, float height) {
    const QuadCorner corners[4] = {
        {0, 0, x, y + height}, {0, 0, x + width, y + height}, {0, 0, x + width, y}, {0, 0, x, y}};
    AppendQuad(corners, false);
}

void GlBackend::DrawPoint(float x, float y) {
    const float shift = pixelCentreShift ? 0.375f : 0.0f;
    float* v = Reserve(Primitive::Points, 1);
    v[0] = x + shift;
    v[1] = y + shift;
    v[2] = v[3] = 0;
}

void GlBackend::DrawLine(float x1, float y1, float x2, float y2) {
    const float shift = pixelCentreShift ? 0.375f : 0.0f;
    float* v = Reserve(Primitive::Lines, 2);
    const float line[8] = {x1 + shift, y1 + shift, 0, 0, x2 + shift, y2 + shift, 0, 0};
    std::memcpy(v, line, sizeof line);
}

void GlBackend::DrawTextQuads(const TextVertex* vertices, int count) {
    for (int quad = 0; quad + 4 <= count; quad += 4) {
        const TextVertex* v = vertices + quad;
        bool inside = true;
        for (int i = 0; i < 4; ++i) inside = inside && v[i].z >= -1 && v[i].z <= 1;
        if (!inside) continue;
        const QuadCorner corners[4] = {{v[0].s, v[0].t, v[0].x, v[0].y},
                                       {v[1].s, v[1].t, v[1].x, v[1].y},
                                       {v[2].s, v[2].t, v[2].x, v[2].y},
                                       {v[3].s, v[3].t, v[3].x, v[3].y}};
        AppendQuad(corners, true);
    }
}

void GlBackend::DrawPolygon(const PolygonPoint* points, int count, bool textured,
                            TextureFilter filter, float opacity) {
    Flush();
    SetFilter(filter);
    unsigned features = kVertexColour | (alphaTest ? unsigned{kAlphaTest} : 0u);
    if (textured && texturing && TextureUsable(boundTexture)) {
        features |= kTexture;
        if (textureUnitOneOn && TextureUsable(unitOneTexture)) features |= kSecondTexture;
    }
    if (count > 0 && UseProgram(features, nullptr)) {
        UseAttributes(kPolygonStride, true);
        glEnable(GL_DITHER);
        if (frontFaceClockwise) glFrontFace(GL_CW);
        gl->glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(count) * kPolygonStride, points,
                         GL_STREAM_DRAW);
        glDrawArrays(GL_TRIANGLE_FAN, 0, count);
        CountDrawCall(count);
        if (frontFaceClockwise) glFrontFace(GL_CCW);
        glDisable(GL_DITHER);
    }
    if (!texturing) stateChanged = true;
    texturing = true;
    SetColour(1, 1, 1, opacity);
}

void GlBackend::DrawPicture(uint32_t texture, float left, float top, float right, float bottom) {
    Flush();
    const QuadCorner corners[4] = {
        {0, 0, left, top}, {0, 1, left, bottom}, {1, 1, right, bottom}, {1, 0, right, top}};
    DrawAlone(texture, corners);
}

// One textured quad under its own rules (no blending, no alpha test, no
// culling: the texel as it is), the device's state left as it was.
void GlBackend::DrawAlone(uint32_t texture, const QuadCorner (&corners)[4]) {
    const float white[4] = {1, 1, 1, 1};
    if (!UseProgram(kTexture, white)) return;
    UseAttributes(kBatchStride, false);
    if (blending) glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glBindTexture(GL_TEXTURE_2D, texture);
    float vertices[16];
    for (int i = 0; i < 4; ++i) {
        vertices[i * 4] = corners[i].x;
        vertices[i * 4 + 1] = corners[i].y;
        vertices[i * 4 + 2] = corners[i].s;
        vertices[i * 4 + 3] = corners[i].t;
    }
    gl->glBufferData(GL_ARRAY_BUFFER, sizeof vertices, vertices, GL_STREAM_DRAW);
    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_SHORT, nullptr);
    CountDrawCall(4);
    glBindTexture(GL_TEXTURE_2D, boundTexture);
    glEnable(GL_CULL_FACE);
    if (blending) glEnable(GL_BLEND);
}

void GlBackend::Flush() {
    if (batchVertices == 0) return;
    if (UseProgram(batchState.features, batchState.colour)) {
        UseAttributes(kBatchStride, false);
        gl->glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(batchVertices) * kBatchStride,
                         batch.data(), GL_STREAM_DRAW);
        switch (batchState.primitive) {
            case Primitive::Quads:
                glDrawElements(GL_TRIANGLES, batchVertices / 4 * 6, GL_UNSIGNED_SHORT, nullptr);
                break;
            case Primitive::Lines:
                glDrawArrays(GL_LINES, 0, batchVertices);
                break;
            case Primitive::Points:
                glDrawArrays(GL_POINTS, 0, batchVertices);
                break;
        }
        CountDrawCall(batchVertices);
    }
    const int quads = batchQuads;
    batchVertices = batchQuads = 0;
    // The software rasteriser starts on a frame's quads only when they are
    // flushed, and stalls the game once its queue is full; handing them over
    // in parts lets it draw while the game goes on submitting the rest.
    quadsSinceFlush += quads;
    if (quadsSinceFlush >= kQuadsPerFlush) {
        glFlush();
        quadsSinceFlush = 0;
    }
}

void GlBackend::CountDrawCall(int vertices) {
    ++drawCalls;
    drawCallVertices.push_back(vertices);
}

bool GlBackend::UseProgram(unsigned features, const float* drawColour) {
    GlProgram* program = programs.Get(*gl, features);
    if (!program) return false;
    if (program != currentProgram) {
        gl->glUseProgram(program->name);
        currentProgram = program;
    }
    if (program->projectionGeneration != projectionGeneration) {
        gl->glUniform4f(program->projection, projection[0], projection[1], projection[2],
                        projection[3]);
        program->projectionGeneration = projectionGeneration;
    }
    if (drawColour && std::memcmp(program->colourValue, drawColour, sizeof colour) != 0) {
        gl->glUniform4f(program->colour, drawColour[0], drawColour[1], drawColour[2],
                        drawColour[3]);
        std::memcpy(program->colourValue, drawColour, sizeof colour);
    }
    return true;
}

void GlBackend::UseAttributes(int stride, bool colours) {
    const int layout = colours ? -stride : stride;
    if (attributeStride == layout) return;
    const auto offset = [](size_t bytes) { return reinterpret_cast<const void*>(bytes); };
    gl->glVertexAttribPointer(kPositionAttribute, 2, GL_FLOAT, GL_FALSE, stride, offset(0));
    gl->glEnableVertexAttribArray(kPositionAttribute);
    gl->glVertexAttribPointer(kTexCoordAttribute, 2, GL_FLOAT, GL_FALSE, stride, offset(8));
    gl->glEnableVertexAttribArray(kTexCoordAttribute);
    if (colours) {
        gl->glVertexAttribPointer(kColourAttribute, 4, GL_FLOAT, GL_FALSE, stride, offset(16));
        gl->glEnableVertexAttribArray(kColourAttribute);
    } else {
        gl->glDisableVertexAttribArray(kColourAttribute);
    }
    attributeStride = layout;
}

// ---------------------------------------------------------------- frame buffer

void GlBackend::ShowFrameScaled(uint32_t* texture, const FrameShowing& showing) {
    Flush();
    if (!*texture) {
        glGenTextures(1, texture);
        glBindTexture(GL_TEXTURE_2D, *texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, showing.textureWidth, showing.textureHeight, 0,
                     GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        TextureRecord* record = Record(*texture);
        *record = {showing.textureWidth, showing.textureHeight, GL_NEAREST, GL_NEAREST};
    } else {
        glBindTexture(GL_TEXTURE_2D, *texture);
    }
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, showing.frameWidth, showing.frameHeight);

    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    if (scissor) glDisable(GL_SCISSOR_TEST);
    glViewport(0, 0, showing.drawableWidth, showing.drawableHeight);
    const float saved[4] = {projection[0], projection[1], projection[2], projection[3]};
    const float drawable[4] = {2.0f / showing.drawableWidth, 2.0f / (0.0f - showing.drawableHeight),
                               -1.0f, 1.0f};
    std::memcpy(projection, drawable, sizeof projection);
    ++projectionGeneration;
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    // The copy's row 0 is the frame's bottom row.
    const float s = static_cast<float>(showing.frameWidth) / showing.textureWidth;
    const float t = static_cast<float>(showing.frameHeight) / showing.textureHeight;
    const float left = static_cast<float>(showing.x), top = static_cast<float>(showing.y);
    const float right = left + static_cast<float>(showing.frameWidth * showing.scale);
    const float bottom = top + static_cast<float>(showing.frameHeight * showing.scale);
    const QuadCorner corners[4] = {
        {0, t, left, top}, {0, 0, left, bottom}, {s, 0, right, bottom}, {s, t, right, top}};
    DrawAlone(*texture, corners);

    std::memcpy(projection, saved, sizeof projection);
    ++projectionGeneration;
    if (viewport[2] >= 0) glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    glClearColor(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
    if (scissor) glEnable(GL_SCISSOR_TEST);
}

void GlBackend::Present(platform::Window* window) {
    Flush();
    platform::SwapBuffers(window);
    quadsSinceFlush = 0;
    lastFrameDrawCalls = drawCalls;
    drawCalls = 0;
    drawCallVertices.clear();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void GlBackend::ClearColour() {
    Flush();
    glClear(GL_COLOR_BUFFER_BIT);
}

void GlBackend::ClearToBlack() {
    Flush();
    SetClearColour(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void GlBackend::ReadRgba(int x, int y, int width, int height, uint8_t* rgba) {
    Flush();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
}

uint32_t GlBackend::ReadPixel(int x, int row) {
    uint8_t rgba[4] = {0, 0, 0, 0};
    ReadRgba(x, row, 1, 1, rgba);
    return rgba[0] | rgba[1] << 8 | rgba[2] << 16;
}

void GlBackend::ReadPixelsBgr(int width, int height, uint8_t* pixels) {
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
    ReadRgba(0, 0, width, height, rgba.data());
    RgbaToPaddedBgr(rgba.data(), width, height, pixels);
}

void GlBackend::ReadPixelsBgra(int x, int y, int width, int height, uint8_t* pixels) {
    ReadRgba(x, y, width, height, pixels);
    SwapRedAndBlue(pixels, static_cast<size_t>(width) * height);
}

// A clear limited to the pixel by the scissor writes the colour; the clear
// colour and the scissor are put back as they were.
uint32_t GlBackend::ColourAsStored(uint32_t stored) {
    uint8_t saved[4] = {}, seen[4] = {};
    ReadRgba(4, 4, 1, 1, saved);
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    GLint box[4];
    glGetIntegerv(GL_SCISSOR_BOX, box);
    glEnable(GL_SCISSOR_TEST);
    glScissor(4, 4, 1, 1);
    glClearColor((stored & 255) / 255.0f, (stored >> 8 & 255) / 255.0f,
                 (stored >> 16 & 255) / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glReadPixels(4, 4, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, seen);
    glClearColor(saved[0] / 255.0f, saved[1] / 255.0f, saved[2] / 255.0f, saved[3] / 255.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
    glScissor(box[0], box[1], box[2], box[3]);
    if (!scissor) glDisable(GL_SCISSOR_TEST);
    return seen[0] | seen[1] << 8 | seen[2] << 16;
}

bool GlBackend::FrameBufferHasAlpha() {
    if (frameBufferAlphaBits < 0) {
        GLint bits = 0;
        glGetIntegerv(GL_ALPHA_BITS, &bits);
        frameBufferAlphaBits = bits;
    }
    return frameBufferAlphaBits > 0;
}

// ---------------------------------------------------------------- textures

void GlBackend::CreateTexture(uint32_t* texture, int width, int height, const uint8_t* rgba,
                              TextureFilter filter) {
    DeleteTexture(texture);
    glGenTextures(1, texture);
    ApplyTextureBinding(*texture);
    SetRepeatWrapping();
    *Record(*texture) = TextureRecord{};
    SetFilter(filter);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    Record(*texture)->width = width;
    Record(*texture)->height = height;
    stateChanged = true;
}

void GlBackend::CreateScaledTexture(uint32_t* texture, const uint8_t* rgba, int width, int height) {
    DeleteTexture(texture);
    glGenTextures(1, texture);
    ApplyTextureBinding(*texture);
    SetRepeatWrapping();
    *Record(*texture) = TextureRecord{};
    SetTextureFilters(GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    std::vector<uint8_t> level, next;
    int side = SquareScaledLevel(rgba, width, height, level);
    Record(*texture)->width = Record(*texture)->height = side;
    for (int index = 0;; ++index) {
        glTexImage2D(GL_TEXTURE_2D, index, GL_RGBA, side, side, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     level.data());
        if (side <= 1) break;
        NextMipLevel(level.data(), side, next);
        level.swap(next);
        side /= 2;
    }
    stateChanged = true;
}

void GlBackend::UploadClampedTexture(uint32_t* texture, const uint8_t* rgba, int width,
                                     int height) {
    if (!*texture) glGenTextures(1, texture);
    ApplyTextureBinding(*texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    *Record(*texture) = TextureRecord{width, height, 0, 0};
    SetTextureFilters(GL_LINEAR, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    stateChanged = true;
}

void GlBackend::UploadBgraTexels(int width, int height, const uint8_t* pixels) {
    Flush();
    std::vector<uint8_t> rgba(pixels, pixels + static_cast<size_t>(width) * height * 4);
    SwapRedAndBlue(rgba.data(), static_cast<size_t>(width) * height);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
}

void GlBackend::CopyFrameBuffer(int x, int y, int width, int height) {
    Flush();
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, x, y, width, height);
}

void GlBackend::DeleteTexture(uint32_t* texture) {
    if (*texture) {
        Flush();
        glDeleteTextures(1, texture);
        ForgetTexture(*texture);
        // Deleting a bound texture binds 0 in its place.
        if (boundTexture == *texture) boundTexture = 0;
        if (unitOneTexture == *texture) unitOneTexture = 0;
        stateChanged = true;
    }
    *texture = 0;
}

// Textures are read through a framebuffer they are attached to, as OpenGL ES
// cannot read them directly; the drawing's own framebuffer is put back.
void GlBackend::ReadTextureRgba(uint32_t texture, std::vector<uint8_t>& rgba) {
    Flush();
    const TextureRecord* record = texture < textures.size() ? &textures[texture] : nullptr;
    const int width = record ? record->width : 0, height = record ? record->height : 0;
    rgba.assign(static_cast<size_t>(width) * height * 4, 0);
    if (rgba.empty()) return;
    gl->glBindFramebuffer(GL_FRAMEBUFFER, readFramebuffer);
    gl->glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    if (gl->glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE) {
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    }
    gl->glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, 0, 0);
    gl->glBindFramebuffer(GL_FRAMEBUFFER, boundFramebuffer);
}

void GlBackend::ReadTextureAlpha(uint32_t texture, uint8_t* alpha) {
    std::vector<uint8_t> rgba;
    ReadTextureRgba(texture, rgba);
    for (size_t i = 3; i < rgba.size(); i += 4) *alpha++ = rgba[i];
}

void GlBackend::ReadTextureBgr(uint32_t texture, uint8_t* pixels) {
    std::vector<uint8_t> rgba;
    ReadTextureRgba(texture, rgba);
    const TextureRecord* record = &textures[texture];
    if (!rgba.empty()) RgbaToPaddedBgr(rgba.data(), record->width, record->height, pixels);
}

// ---------------------------------------------------------------- framebuffer objects

// OpenGL ES has no 24-bit depth buffer in its core; 16 bits serve 2D drawing
// as well, which never tests depth.
bool GlBackend::CreateFramebuffer(uint32_t* framebuffer, uint32_t* depthBuffer, uint32_t texture,
                                  int width, int height) {
    Flush();
    const GlEntryPoints& entry = gEngine.gl;
    entry.genFramebuffers(1, framebuffer);
    entry.genRenderbuffers(1, depthBuffer);
    entry.bindRenderbuffer(GL_RENDERBUFFER, *depthBuffer);
    entry.renderbufferStorage(GL_RENDERBUFFER, gl->es ? GL_DEPTH_COMPONENT16 : GL_DEPTH_COMPONENT24,
                              width, height);
    AttachFramebuffer(*framebuffer, *depthBuffer, texture);
    return entry.checkFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

void GlBackend::AttachFramebuffer(uint32_t framebuffer, uint32_t depthBuffer, uint32_t texture) {
    Flush();
    const GlEntryPoints& entry = gEngine.gl;
    entry.bindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    boundFramebuffer = framebuffer;
    entry.bindRenderbuffer(GL_RENDERBUFFER, depthBuffer);
    entry.framebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    entry.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                                  depthBuffer);
}

void GlBackend::BindFramebuffer(uint32_t framebuffer) {
    Flush();
    gEngine.gl.bindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    gEngine.gl.bindRenderbuffer(GL_RENDERBUFFER, 0);
    boundFramebuffer = framebuffer;
}

void GlBackend::DeleteFramebuffer(uint32_t* framebuffer, uint32_t* depthBuffer) {
    const GlEntryPoints& entry = gEngine.gl;
    if (*framebuffer || *depthBuffer) Flush();
    if (*framebuffer && entry.deleteFramebuffers) entry.deleteFramebuffers(1, framebuffer);
    if (*depthBuffer && entry.deleteRenderbuffers) entry.deleteRenderbuffers(1, depthBuffer);
    if (*framebuffer == boundFramebuffer) boundFramebuffer = 0;
    *framebuffer = *depthBuffer = 0;
}
