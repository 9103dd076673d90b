#include "runtime/files/PlatformInfo.h"

#include <cstdint>
#include <cstring>

#include "runtime/platform/Platform.h"
#include "runtime/runtime.h"
#include "runtime/values/NumberText.h"

namespace {

constexpr uint32_t kIdMask = 0x5EC0B17A;
constexpr char kGlPrefix[] = "GLEXT:";
constexpr size_t kGlPrefixLength = sizeof kGlPrefix - 1;

// Entry points the runtime looks up, each with the extension that brings it.
// A non-null address proves nothing here (the GL loader hands out dispatch
// stubs for any name), so a function counts as present only when its
// extension is in the current context's list.
struct GlFunction {
    const char* name;
    const char* extension;
};
constexpr GlFunction kGlFunctions[] = {
    {"glActiveTextureARB", "GL_ARB_multitexture"},
    {"glMultiTexCoord2fARB", "GL_ARB_multitexture"},
    {"glClientActiveTextureARB", "GL_ARB_multitexture"},
    {"glActiveTexture", "GL_ARB_multitexture"},
    {"glMultiTexCoord2f", "GL_ARB_multitexture"},
    {"glClientActiveTexture", "GL_ARB_multitexture"},
    {"glGenBuffersARB", "GL_ARB_vertex_buffer_object"},
    {"glBindBufferARB", "GL_ARB_vertex_buffer_object"},
    {"glBufferDataARB", "GL_ARB_vertex_buffer_object"},
    {"glDeleteBuffersARB", "GL_ARB_vertex_buffer_object"},
    {"glMapBufferARB", "GL_ARB_vertex_buffer_object"},
    {"glUnmapBufferARB", "GL_ARB_vertex_buffer_object"},
    {"glGetBufferParameterivARB", "GL_ARB_vertex_buffer_object"},
    {"glCreateProgramObjectARB", "GL_ARB_shader_objects"},
    {"glDeleteObjectARB", "GL_ARB_shader_objects"},
    {"glCreateShaderObjectARB", "GL_ARB_shader_objects"},
    {"glShaderSourceARB", "GL_ARB_shader_objects"},
    {"glCompileShaderARB", "GL_ARB_shader_objects"},
    {"glGetObjectParameterivARB", "GL_ARB_shader_objects"},
    {"glAttachObjectARB", "GL_ARB_shader_objects"},
    {"glGetInfoLogARB", "GL_ARB_shader_objects"},
    {"glLinkProgramARB", "GL_ARB_shader_objects"},
    {"glUseProgramObjectARB", "GL_ARB_shader_objects"},
    {"glGetUniformLocationARB", "GL_ARB_shader_objects"},
    {"glUniform1fARB", "GL_ARB_shader_objects"},
    {"glUniform1iARB", "GL_ARB_shader_objects"},
    {"glGetAttribLocationARB", "GL_ARB_vertex_shader"},
    {"glVertexAttrib1fARB", "GL_ARB_vertex_program"},
    {"glBindRenderbufferEXT", "GL_EXT_framebuffer_object"},
    {"glDeleteRenderbuffersEXT", "GL_EXT_framebuffer_object"},
    {"glGenRenderbuffersEXT", "GL_EXT_framebuffer_object"},
    {"glRenderbufferStorageEXT", "GL_EXT_framebuffer_object"},
    {"glBindFramebufferEXT", "GL_EXT_framebuffer_object"},
    {"glDeleteFramebuffersEXT", "GL_EXT_framebuffer_object"},
    {"glGenFramebuffersEXT", "GL_EXT_framebuffer_object"},
    {"glCheckFramebufferStatusEXT", "GL_EXT_framebuffer_object"},
    {"glFramebufferTexture2DEXT", "GL_EXT_framebuffer_object"},
    {"glFramebufferRenderbufferEXT", "GL_EXT_framebuffer_object"},
    {"glBindRenderbuffer", "GL_ARB_framebuffer_object"},
    {"glDeleteRenderbuffers", "GL_ARB_framebuffer_object"},
    {"glGenRenderbuffers", "GL_ARB_framebuffer_object"},
    {"glRenderbufferStorage", "GL_ARB_framebuffer_object"},
    {"glBindFramebuffer", "GL_ARB_framebuffer_object"},
    {"glDeleteFramebuffers", "GL_ARB_framebuffer_object"},
    {"glGenFramebuffers", "GL_ARB_framebuffer_object"},
    {"glCheckFramebufferStatus", "GL_ARB_framebuffer_object"},
    {"glFramebufferTexture2D", "GL_ARB_framebuffer_object"},
    {"glFramebufferRenderbuffer", "GL_ARB_framebuffer_object"},
};

// "1" when the name is an extension of the current context, or a function
// whose extension is, and the driver exports it.
bool GlFunctionAvailable(const char* name) {
    if (!*name) return false;
    if (std::strncmp(name, "GL_", 3) == 0) return platform::GlExtensionSupported(name);
    for (const GlFunction& function : kGlFunctions) {
        if (std::strcmp(function.name, name) != 0) continue;
        return platform::GlExtensionSupported(function.extension) &&
               platform::GlProcAddress(name) != nullptr;
    }
    return false;
}

RtString TwoDigitText(int value) {
    RtString text;
    if (value <= 9) text = "0";
    text += static_cast<double>(value);
    return text;
}

RtString MachineIdText() {
    const uint32_t id = platform::MachineSerial() ^ kIdMask;
    const unsigned char bytes[4] = {
        static_cast<unsigned char>(id), static_cast<unsigned char>(id >> 8),
        static_cast<unsigned char>(id >> 16), static_cast<unsigned char>(id >> 24)};
    return HexText(bytes, 4);
}

RtString LocalTimeText() {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    if (!local) return RtString("NO_DATA");
    return DateTimeText(*local);
}

}  // namespace

RtString DateTimeText(const std::tm& when) {
    RtString text(static_cast<double>(when.tm_year + 1900));
    text += "-";
    text += TwoDigitText(when.tm_mon + 1);
    text += "-";
    text += TwoDigitText(when.tm_mday);
    text += " ";
    text += TwoDigitText(when.tm_hour);
    text += ":";
    text += TwoDigitText(when.tm_min);
    text += ":";
    text += TwoDigitText(when.tm_sec);
    return text;
}

RtString PlatformInfo(RtString& key) {
    const RtString asGiven(key);
    key = UpperText(key);
    const char* upper = key.CStr();
    if (!*upper) return RtString("WIN32");
    if (std::strncmp(upper, kGlPrefix, kGlPrefixLength) == 0)
        return RtString(GlFunctionAvailable(asGiven.CStr() + kGlPrefixLength) ? "1" : "0");
    if (std::strcmp(upper, "ID") == 0) return MachineIdText();
    if (std::strcmp(upper, "DEVICE") == 0) return RtString("DESKTOP");
    if (std::strcmp(upper, "TIME") == 0) return LocalTimeText();
    if (std::strcmp(upper, "BATTERY") == 0)
        return RtString(static_cast<double>(platform::BatteryPercent()));
    return RtString("NO_DATA");
}

RtString PlatformInfo(RtString&& key) {
    return PlatformInfo(key);
}
