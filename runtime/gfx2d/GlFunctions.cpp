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
    QUORBEL_GL_FRAMEBUFFER_FUNCTIONS(QUORBEL_GL_DIRECT)
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
    // and framebuffer objects from 3.0, ES 2.0 or one of two extensions.
    const char* missing = nullptr;
#define QUORBEL_GL_ADDRESS(type, name)                             \
    name = reinterpret_cast<type>(platform::GlProcAddress(#name)); \
    if (!name && !missing) missing = #name;
    QUORBEL_GL_FUNCTIONS(QUORBEL_GL_ADDRESS)
#undef QUORBEL_GL_ADDRESS
    std::string suffix;
    if (!es && major < 3 && !platform::GlExtensionSupported("GL_ARB_framebuffer_object")) {
        if (!platform::GlExtensionSupported("GL_EXT_framebuffer_object")) {
            *error = std::string("the OpenGL ") + version +
                     " driver has no framebuffer objects, which drawing needs";
            return false;
        }
        suffix = "EXT";
    }
    std::string framebufferMissing;
#define QUORBEL_GL_SUFFIXED(type, name)                                               \
    name = reinterpret_cast<type>(platform::GlProcAddress((#name + suffix).c_str())); \
    if (!name && framebufferMissing.empty()) framebufferMissing = #name + suffix;
    QUORBEL_GL_FRAMEBUFFER_FUNCTIONS(QUORBEL_GL_SUFFIXED)
#undef QUORBEL_GL_SUFFIXED
    if (!missing && !framebufferMissing.empty()) missing = framebufferMissing.c_str();
    if (missing) {
        *error = std::string("the OpenGL ") + version + " driver has no " + missing +
                 ", which drawing needs";
        return false;
    }
    return true;
}

#endif
