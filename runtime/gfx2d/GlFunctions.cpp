#include "runtime/gfx2d/GlFunctions.h"

#include <cstdio>
#include <cstring>

#include "runtime/platform/Platform.h"

namespace {

// "4.5 (Compatibility Profile) Mesa 22.3.6", "2.1 NVIDIA ...", "OpenGL ES 2.0 (WebGL 1.0)".
bool ReadVersion(const char* text, int* major, int* minor, bool* es) {
    if (!text) return false;
    *es = std::strncmp(text, "OpenGL ES", 9) == 0;
    const char* number = text;
    while (*number && (*number < '0' || *number > '9')) ++number;
    return std::sscanf(number, "%d.%d", major, minor) == 2;
}

}  // namespace

#ifdef __EMSCRIPTEN__

bool GlFunctions::Load(std::string* error) {
#define QUORBEL_GL_DIRECT(type, name) name = ::name;
    QUORBEL_GL_FUNCTIONS(QUORBEL_GL_DIRECT)
#undef QUORBEL_GL_DIRECT
    es = true;
    return true;
}

#else

bool GlFunctions::Load(std::string* error) {
    int major = 0, minor = 0;
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (!ReadVersion(version, &major, &minor, &es) || major < 2) {
        *error = std::string("the OpenGL driver offers version ") + (version ? version : "none") +
                 "; drawing needs OpenGL 2.0 or later (or OpenGL ES 2.0)";
        return false;
    }
    // An address alone proves nothing: the functions are core from 2.0 on,
    // and framebuffer objects from 3.0, ES 2.0 or one of the two extensions.
    bool all = true;
#define QUORBEL_GL_ADDRESS(type, name) \
    all = (name = reinterpret_cast<type>(platform::GlProcAddress(#name))) != nullptr && all;
    QUORBEL_GL_FUNCTIONS(QUORBEL_GL_ADDRESS)
#undef QUORBEL_GL_ADDRESS
    const bool coreFramebuffers =
        es || major >= 3 || platform::GlExtensionSupported("GL_ARB_framebuffer_object");
    if (!coreFramebuffers) {
        if (!platform::GlExtensionSupported("GL_EXT_framebuffer_object")) {
            *error = "the OpenGL driver has no framebuffer objects, which drawing needs";
            return false;
        }
        glGenFramebuffers = reinterpret_cast<PFNGLGENFRAMEBUFFERSPROC>(
            platform::GlProcAddress("glGenFramebuffersEXT"));
        glBindFramebuffer = reinterpret_cast<PFNGLBINDFRAMEBUFFERPROC>(
            platform::GlProcAddress("glBindFramebufferEXT"));
        glFramebufferTexture2D = reinterpret_cast<PFNGLFRAMEBUFFERTEXTURE2DPROC>(
            platform::GlProcAddress("glFramebufferTexture2DEXT"));
        glCheckFramebufferStatus = reinterpret_cast<PFNGLCHECKFRAMEBUFFERSTATUSPROC>(
            platform::GlProcAddress("glCheckFramebufferStatusEXT"));
        glDeleteFramebuffers = reinterpret_cast<PFNGLDELETEFRAMEBUFFERSPROC>(
            platform::GlProcAddress("glDeleteFramebuffersEXT"));
        all = all && glGenFramebuffers && glBindFramebuffer && glFramebufferTexture2D &&
              glCheckFramebufferStatus && glDeleteFramebuffers;
    }
    if (!all) {
        *error =
            std::string("the OpenGL ") + version + " driver lacks an entry point drawing needs";
        return false;
    }
    return true;
}

#endif
