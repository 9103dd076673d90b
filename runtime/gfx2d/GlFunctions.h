// The OpenGL the 2D backend draws with: the subset that OpenGL ES 2.0 (and so
// WebGL 1) shares with desktop OpenGL 2.1, where shaders, buffer objects and
// framebuffer objects do everything the fixed-function pipeline used to.
// Only the backend's own files include this header.
#pragma once

#ifdef __EMSCRIPTEN__
#include <GLES2/gl2.h>
#include <GLES2/gl2ext.h>
// Named for the desktop path only; ES takes 16-bit depth buffers.
#ifndef GL_DEPTH_COMPONENT24
#define GL_DEPTH_COMPONENT24 GL_DEPTH_COMPONENT24_OES
#endif
#else
#define GL_GLEXT_PROTOTYPES 0
#include <GL/gl.h>
#include <GL/glext.h>
#endif

#include <string>

// Every entry point past OpenGL 1.1 that the backend calls, by its core name.
// A desktop driver hands them out by address once a context is current; in
// the browser they are the WebGL library's own functions.
#define QUORBEL_GL_FUNCTIONS(X)                                    \
    X(PFNGLACTIVETEXTUREPROC, glActiveTexture)                     \
    X(PFNGLCREATESHADERPROC, glCreateShader)                       \
    X(PFNGLSHADERSOURCEPROC, glShaderSource)                       \
    X(PFNGLCOMPILESHADERPROC, glCompileShader)                     \
    X(PFNGLGETSHADERIVPROC, glGetShaderiv)                         \
    X(PFNGLGETSHADERINFOLOGPROC, glGetShaderInfoLog)               \
    X(PFNGLDELETESHADERPROC, glDeleteShader)                       \
    X(PFNGLCREATEPROGRAMPROC, glCreateProgram)                     \
    X(PFNGLATTACHSHADERPROC, glAttachShader)                       \
    X(PFNGLBINDATTRIBLOCATIONPROC, glBindAttribLocation)           \
    X(PFNGLLINKPROGRAMPROC, glLinkProgram)                         \
    X(PFNGLGETPROGRAMIVPROC, glGetProgramiv)                       \
    X(PFNGLGETPROGRAMINFOLOGPROC, glGetProgramInfoLog)             \
    X(PFNGLUSEPROGRAMPROC, glUseProgram)                           \
    X(PFNGLDELETEPROGRAMPROC, glDeleteProgram)                     \
    X(PFNGLGETUNIFORMLOCATIONPROC, glGetUniformLocation)           \
    X(PFNGLUNIFORM1IPROC, glUniform1i)                             \
    X(PFNGLUNIFORM4FPROC, glUniform4f)                             \
    X(PFNGLGENBUFFERSPROC, glGenBuffers)                           \
    X(PFNGLBINDBUFFERPROC, glBindBuffer)                           \
    X(PFNGLBUFFERDATAPROC, glBufferData)                           \
    X(PFNGLDELETEBUFFERSPROC, glDeleteBuffers)                     \
    X(PFNGLVERTEXATTRIBPOINTERPROC, glVertexAttribPointer)         \
    X(PFNGLENABLEVERTEXATTRIBARRAYPROC, glEnableVertexAttribArray) \
    X(PFNGLDISABLEVERTEXATTRIBARRAYPROC, glDisableVertexAttribArray)
// Core in OpenGL 3.0 and ES 2.0; before, the same under an EXT suffix.
#define QUORBEL_GL_FRAMEBUFFER_FUNCTIONS(X)                      \
    X(PFNGLGENFRAMEBUFFERSPROC, glGenFramebuffers)               \
    X(PFNGLBINDFRAMEBUFFERPROC, glBindFramebuffer)               \
    X(PFNGLFRAMEBUFFERTEXTURE2DPROC, glFramebufferTexture2D)     \
    X(PFNGLCHECKFRAMEBUFFERSTATUSPROC, glCheckFramebufferStatus) \
    X(PFNGLDELETEFRAMEBUFFERSPROC, glDeleteFramebuffers)

struct GlFunctions {
#define QUORBEL_GL_MEMBER(type, name) type name = nullptr;
    QUORBEL_GL_FUNCTIONS(QUORBEL_GL_MEMBER)
    QUORBEL_GL_FRAMEBUFFER_FUNCTIONS(QUORBEL_GL_MEMBER)
#undef QUORBEL_GL_MEMBER

    bool es = false;  // an OpenGL ES (WebGL) context: GLSL ES, no 24-bit depth buffers

    // Fills the table from the current context; false, with the reason in
    // `error`, when the context cannot give what the backend draws with
    // (OpenGL 2.0 shaders, buffer objects and framebuffer objects).
    bool Load(std::string* error);
};
