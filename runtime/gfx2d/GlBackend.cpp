#include "runtime/gfx2d/GlBackend.h"

#define GL_GLEXT_PROTOTYPES 0
#include <GL/gl.h>
#include <GL/glext.h>

#include <string>
#include <type_traits>
#include <vector>

#include "runtime/core/EngineState.h"
#include "runtime/gfx2d/TextureTexels.h"
#include "runtime/platform/Platform.h"

namespace {

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

void SetRepeatWrapping() {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

void SetFilters(GLint magnification, GLint minification) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magnification);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minification);
}

GLint FilterOf(TextureFilter filter) {
    return filter == TextureFilter::Linear ? GL_LINEAR : GL_NEAREST;
}

void UnpackTightly() {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
}

void Corners(const Quad& quad) {
    glBegin(GL_QUADS);
    for (const QuadCorner& c : quad.corners) {
        glTexCoord2f(c.s, c.t);
        glVertex2f(c.x, c.y);
    }
    glEnd();
}

}  // namespace

// ---------------------------------------------------------------- context

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

// ---------------------------------------------------------------- state

void GlBackend::SetViewport(int left, int bottom, int width, int height) {
    glViewport(left, bottom, width, height);
}

void GlBackend::SetProjection(int width, int height) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void GlBackend::ResetTwoDState() {
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.05f);
    glColor4f(1, 1, 1, 1);
    glClearColor(0, 0, 0, 1);
    for (GLenum cap : {GL_FOG, GL_LINE_SMOOTH, GL_POINT_SMOOTH, GL_POLYGON_SMOOTH, GL_STENCIL_TEST,
                       GL_POLYGON_OFFSET_POINT, GL_AUTO_NORMAL, GL_NORMALIZE, GL_LIGHTING,
                       GL_COLOR_MATERIAL, GL_DITHER})
        glDisable(cap);
    glShadeModel(GL_FLAT);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_FASTEST);
}

void GlBackend::ResetBlendingAndColour() {
    glEnable(GL_BLEND);
    glDisable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
}

void GlBackend::SetBlending(bool on) {
    if (on)
        glEnable(GL_BLEND);
    else
        glDisable(GL_BLEND);
}

void GlBackend::SetBlendFunction(BlendFunction function) {
    glBlendFunc(GL_SRC_ALPHA,
                function == BlendFunction::Additive ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
}

void GlBackend::SetColour(float red, float green, float blue, float alpha) {
    glColor4f(red, green, blue, alpha);
}

void GlBackend::SetColourBytes(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) {
    glColor4ub(red, green, blue, alpha);
}

void GlBackend::SetAlphaTest(bool on) {
    if (on)
        glEnable(GL_ALPHA_TEST);
    else
        glDisable(GL_ALPHA_TEST);
}

void GlBackend::SetFrontFaceClockwise(bool clockwise) {
    glFrontFace(clockwise ? GL_CW : GL_CCW);
}

void GlBackend::BeginPixelCentreShift() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glTranslatef(0.375f, 0.375f, 0);
    glMatrixMode(GL_MODELVIEW);
}

void GlBackend::EndPixelCentreShift() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

// ---------------------------------------------------------------- texture units

void GlBackend::BindTextures(std::optional<uint32_t> first, std::optional<uint32_t> second) {
    const auto activeTexture = gEngine.gl.activeTexture;
    if (!activeTexture) {
        if (!first) {
            glDisable(GL_TEXTURE_2D);
            glEnable(GL_COLOR_MATERIAL);
            return;
        }
        glBindTexture(GL_TEXTURE_2D, *first);
        glEnable(GL_TEXTURE_2D);
        return;
    }
    const bool unitOne = first && second;
    if (unitOne || textureUnitOneOn) {
        activeTexture(GL_TEXTURE1_ARB);
        if (unitOne) {
            glBindTexture(GL_TEXTURE_2D, *first);
            glEnable(GL_TEXTURE_2D);
        } else {
            glDisable(GL_TEXTURE_2D);
        }
        textureUnitOneOn = unitOne;
        activeTexture(GL_TEXTURE0_ARB);
    }
    if (!first) {
        glDisable(GL_TEXTURE_2D);
        return;
    }
    glBindTexture(GL_TEXTURE_2D, second ? *second : *first);
    glEnable(GL_TEXTURE_2D);
}

void GlBackend::UseTextureUnitZeroOnly() {
    const auto activeTexture = gEngine.gl.activeTexture;
    if (activeTexture && textureUnitOneOn) {
        activeTexture(GL_TEXTURE1_ARB);
        glDisable(GL_TEXTURE_2D);
        textureUnitOneOn = false;
        activeTexture(GL_TEXTURE0_ARB);
    }
    glEnable(GL_TEXTURE_2D);
}

void GlBackend::BindTexture(uint32_t texture) {
    glBindTexture(GL_TEXTURE_2D, texture);
}

void GlBackend::SetFilter(TextureFilter filter) {
    SetFilters(FilterOf(filter), FilterOf(filter));
}

// ---------------------------------------------------------------- drawing

// The software rasteriser starts on a frame's quads only when they are
// flushed, and stalls the game once its queue is full; handing them over in
// parts lets it draw while the game goes on submitting the rest.
void GlBackend::CountQuads(int quads) {
    quadsSinceFlush += quads;
    if (quadsSinceFlush < kQuadsPerFlush) return;
    glFlush();
    quadsSinceFlush = 0;
}

void GlBackend::DrawQuad(const Quad& quad) {
    Corners(quad);
    CountQuads(1);
}

void GlBackend::DrawRotatedQuad(const Quad& quad, float x, float y, float angle) {
    glPushMatrix();
    glTranslatef(x, y, 0);
    glRotatef(angle, 0, 0, -1);
    Corners(quad);
    CountQuads(1);
    glPopMatrix();
}

void GlBackend::DrawTile(const Quad& quad) {
    Corners(quad);
}

void GlBackend::DrawRectangle(float x, float y, float width, float height) {
    glBegin(GL_QUADS);
    glVertex2f(x, y + height);
    glVertex2f(x + width, y + height);
    glVertex2f(x + width, y);
    glVertex2f(x, y);
    glEnd();
}

void GlBackend::DrawPoint(float x, float y) {
    glBegin(GL_POINTS);
    glVertex2f(x, y);
    glEnd();
}

void GlBackend::DrawLine(float x1, float y1, float x2, float y2) {
    glBegin(GL_LINES);
    glVertex2f(x1, y1);
    glVertex2f(x2, y2);
    glEnd();
}

void GlBackend::DrawTextQuads(const TextVertex* vertices, int count) {
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(TextVertex), &vertices->x);
    glTexCoordPointer(2, GL_FLOAT, sizeof(TextVertex), &vertices->s);
    glDrawArrays(GL_QUADS, 0, count);
    CountQuads(count / 4);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void GlBackend::DrawPolygon(const PolygonPoint* points, int count, bool textured,
                            TextureFilter filter, float opacity) {
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_DITHER);
    glShadeModel(GL_SMOOTH);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(PolygonPoint), &points->x);
    if (textured) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, sizeof(PolygonPoint), &points->s);
    }
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FLOAT, sizeof(PolygonPoint), &points->red);
    SetFilter(filter);
    glDrawArrays(GL_TRIANGLE_FAN, 0, count);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glShadeModel(GL_FLAT);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, opacity);
    glDisable(GL_DITHER);
    glDisable(GL_COLOR_MATERIAL);
}

void GlBackend::DrawPicture(uint32_t texture, float left, float top, float right, float bottom) {
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_TEXTURE_BIT);
    BindTextures(std::nullopt, std::nullopt);
    for (GLenum cap : {GL_BLEND, GL_ALPHA_TEST, GL_CULL_FACE, GL_DEPTH_TEST, GL_LIGHTING})
        glDisable(cap);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glColor4f(1, 1, 1, 1);
    Corners({{{0, 0, left, top}, {0, 1, left, bottom}, {1, 1, right, bottom}, {1, 0, right, top}}});
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glPopAttrib();
}

// ---------------------------------------------------------------- frame buffer

void GlBackend::ShowFrameScaled(uint32_t* texture, const FrameShowing& showing) {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    const auto activeTexture = gEngine.gl.activeTexture;
    if (activeTexture) {
        activeTexture(GL_TEXTURE1_ARB);
        glDisable(GL_TEXTURE_2D);
        activeTexture(GL_TEXTURE0_ARB);
    }
    glEnable(GL_TEXTURE_2D);
    if (!*texture) {
        glGenTextures(1, texture);
        glBindTexture(GL_TEXTURE_2D, *texture);
        SetFilters(GL_NEAREST, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, showing.textureWidth, showing.textureHeight, 0,
                     GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    } else {
        glBindTexture(GL_TEXTURE_2D, *texture);
    }
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, showing.frameWidth, showing.frameHeight);

    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, showing.drawableWidth, showing.drawableHeight, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glViewport(0, 0, showing.drawableWidth, showing.drawableHeight);
    for (GLenum cap : {GL_SCISSOR_TEST, GL_BLEND, GL_ALPHA_TEST, GL_CULL_FACE, GL_DEPTH_TEST,
                       GL_LIGHTING, GL_STENCIL_TEST})
        glDisable(cap);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glColor4f(1, 1, 1, 1);
    // The copy's row 0 is the frame's bottom row.
    const float s = static_cast<float>(showing.frameWidth) / showing.textureWidth;
    const float t = static_cast<float>(showing.frameHeight) / showing.textureHeight;
    const float left = static_cast<float>(showing.x), top = static_cast<float>(showing.y);
    const float right = left + static_cast<float>(showing.frameWidth * showing.scale);
    const float bottom = top + static_cast<float>(showing.frameHeight * showing.scale);
    Corners({{{0, t, left, top}, {0, 0, left, bottom}, {s, 0, right, bottom}, {s, t, right, top}}});
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}

void GlBackend::Present(platform::Window* window) {
    platform::SwapBuffers(window);
    quadsSinceFlush = 0;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void GlBackend::ClearColour() {
    glClear(GL_COLOR_BUFFER_BIT);
}

void GlBackend::ClearToBlack() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

uint32_t GlBackend::ReadPixel(int x, int row) {
    GLubyte rgb[3] = {0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, row, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return rgb[0] | rgb[1] << 8 | rgb[2] << 16;
}

void GlBackend::ReadPixelsBgr(int width, int height, uint8_t* pixels) {
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, width, height, GL_BGR, GL_UNSIGNED_BYTE, pixels);
}

void GlBackend::ReadPixelsBgra(int x, int y, int width, int height, uint8_t* pixels) {
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_BGRA, GL_UNSIGNED_BYTE, pixels);
}

// A clear limited to the pixel by the scissor writes the colour; the clear
// colour and the scissor are put back as they were.
uint32_t GlBackend::ColourAsStored(uint32_t colour) {
    GLubyte saved[4] = {}, seen[4] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(4, 4, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, saved);
    GLfloat clearColour[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    GLint box[4];
    glGetIntegerv(GL_SCISSOR_BOX, box);
    glEnable(GL_SCISSOR_TEST);
    glScissor(4, 4, 1, 1);
    glClearColor((colour & 255) / 255.0f, (colour >> 8 & 255) / 255.0f,
                 (colour >> 16 & 255) / 255.0f, 1.0f);
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
    if (rgba) UnpackTightly();
    DeleteTexture(texture);
    glGenTextures(1, texture);
    glBindTexture(GL_TEXTURE_2D, *texture);
    SetRepeatWrapping();
    SetFilter(filter);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
}

void GlBackend::CreateScaledTexture(uint32_t* texture, const uint8_t* rgba, int width, int height) {
    DeleteTexture(texture);
    glGenTextures(1, texture);
    glBindTexture(GL_TEXTURE_2D, *texture);
    SetRepeatWrapping();
    SetFilters(GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR);
    std::vector<uint8_t> level, next;
    int side = SquareScaledLevel(rgba, width, height, level);
    for (int index = 0;; ++index) {
        glTexImage2D(GL_TEXTURE_2D, index, GL_RGBA8, side, side, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     level.data());
        if (side <= 1) break;
        NextMipLevel(level.data(), side, next);
        level.swap(next);
        side /= 2;
    }
}

void GlBackend::UploadClampedTexture(uint32_t* texture, const uint8_t* rgba, int width,
                                     int height) {
    if (!*texture) glGenTextures(1, texture);
    glBindTexture(GL_TEXTURE_2D, *texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    SetFilters(GL_LINEAR, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

void GlBackend::UploadBgraTexels(int width, int height, const uint8_t* pixels) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_BGRA, GL_UNSIGNED_BYTE, pixels);
}

void GlBackend::CopyFrameBuffer(int x, int y, int width, int height) {
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, x, y, width, height);
}

void GlBackend::DeleteTexture(uint32_t* texture) {
    if (*texture) glDeleteTextures(1, texture);
    *texture = 0;
}

void GlBackend::ReadTextureAlpha(uint32_t texture, uint8_t* alpha) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_ALPHA, GL_UNSIGNED_BYTE, alpha);
}

void GlBackend::ReadTextureBgr(uint32_t texture, uint8_t* pixels) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGR, GL_UNSIGNED_BYTE, pixels);
}

// ---------------------------------------------------------------- framebuffer objects

bool GlBackend::CreateFramebuffer(uint32_t* framebuffer, uint32_t* depthBuffer, uint32_t texture,
                                  int width, int height) {
    const GlEntryPoints& gl = gEngine.gl;
    gl.genFramebuffers(1, framebuffer);
    gl.genRenderbuffers(1, depthBuffer);
    gl.bindRenderbuffer(GL_RENDERBUFFER_EXT, *depthBuffer);
    gl.renderbufferStorage(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT24, width, height);
    AttachFramebuffer(*framebuffer, *depthBuffer, texture);
    return gl.checkFramebufferStatus(GL_FRAMEBUFFER_EXT) == GL_FRAMEBUFFER_COMPLETE_EXT;
}

void GlBackend::AttachFramebuffer(uint32_t framebuffer, uint32_t depthBuffer, uint32_t texture) {
    const GlEntryPoints& gl = gEngine.gl;
    gl.bindFramebuffer(GL_FRAMEBUFFER_EXT, framebuffer);
    gl.bindRenderbuffer(GL_RENDERBUFFER_EXT, depthBuffer);
    gl.framebufferTexture2D(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, texture,
                            0);
    gl.framebufferRenderbuffer(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT,
                               depthBuffer);
}

void GlBackend::BindFramebuffer(uint32_t framebuffer) {
    gEngine.gl.bindFramebuffer(GL_FRAMEBUFFER_EXT, framebuffer);
    gEngine.gl.bindRenderbuffer(GL_RENDERBUFFER_EXT, 0);
}

void GlBackend::DeleteFramebuffer(uint32_t* framebuffer, uint32_t* depthBuffer) {
    const GlEntryPoints& gl = gEngine.gl;
    if (*framebuffer && gl.deleteFramebuffers) gl.deleteFramebuffers(1, framebuffer);
    if (*depthBuffer && gl.deleteRenderbuffers) gl.deleteRenderbuffers(1, depthBuffer);
    *framebuffer = *depthBuffer = 0;
}
