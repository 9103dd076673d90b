#include "runtime/gfx2d/GlPrograms.h"

#include <vector>

#include "runtime/files/ErrorLog.h"
#include "runtime/gfx2d/GlFunctions.h"

namespace {

constexpr const char* kVertexShader = R"(
attribute vec2 position;
uniform vec4 projection;
#if TEXTURE
attribute vec2 texCoord;
varying vec2 vTexCoord;
#endif
#if VERTEX_COLOUR
attribute vec4 colour;
varying vec4 vColour;
#endif
void main() {
    gl_Position = vec4(position * projection.xy + projection.zw, 0.0, 1.0);
    gl_PointSize = 1.0;
#if TEXTURE
    vTexCoord = texCoord;
#endif
#if VERTEX_COLOUR
    vColour = colour;
#endif
}
)";

// Texture coordinates reach 4,096 texels and more, beyond what medium
// precision resolves; ES drivers without high precision in fragments get
// medium.
constexpr const char* kFragmentShader = R"(
#ifdef GL_ES
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
#endif
#if TEXTURE
uniform sampler2D texture0;
varying vec2 vTexCoord;
#endif
#if SECOND_TEXTURE
uniform sampler2D texture1;
#endif
#if VERTEX_COLOUR
varying vec4 vColour;
#elif !OPAQUE_WHITE
uniform vec4 colour;
#endif
void main() {
#if VERTEX_COLOUR
    vec4 c = vColour;
#elif OPAQUE_WHITE
    vec4 c = vec4(1.0);
#else
    vec4 c = colour;
#endif
#if TEXTURE && OPAQUE_WHITE
    c = texture2D(texture0, vTexCoord);
#elif TEXTURE
    c *= texture2D(texture0, vTexCoord);
#endif
#if SECOND_TEXTURE
    c *= texture2D(texture1, vTexCoord);
#endif
#if ALPHA_TEST
    if (!(c.a > 0.05)) discard;
#endif
    gl_FragColor = c;
}
)";

std::string Defines(bool es, unsigned features) {
    std::string text = es ? "#version 100\n" : "#version 120\n";
    auto define = [&](const char* name, bool on) {
        text += std::string("#define ") + name + (on ? " 1\n" : " 0\n");
    };
    define("TEXTURE", features & kTexture);
    define("SECOND_TEXTURE", (features & kTexture) && (features & kSecondTexture));
    define("VERTEX_COLOUR", features & kVertexColour);
    define("ALPHA_TEST", features & kAlphaTest);
    define("OPAQUE_WHITE", features & kOpaqueWhite);
    return text;
}

uint32_t Compile(const GlFunctions& gl, GLenum type, const std::string& defines, const char* body,
                 std::string* error) {
    const GLuint shader = gl.glCreateShader(type);
    const char* parts[] = {defines.c_str(), body};
    gl.glShaderSource(shader, 2, parts, nullptr);
    gl.glCompileShader(shader);
    GLint compiled = 0;
    gl.glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled) return shader;
    GLint length = 0;
    gl.glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    std::vector<char> log(static_cast<size_t>(length > 0 ? length : 1) + 1, '\0');
    gl.glGetShaderInfoLog(shader, static_cast<GLsizei>(log.size()), nullptr, log.data());
    *error = std::string(type == GL_VERTEX_SHADER ? "vertex" : "fragment") +
             " shader refused by the driver: " + log.data();
    gl.glDeleteShader(shader);
    return 0;
}

}  // namespace

bool GlPrograms::Build(const GlFunctions& gl, unsigned features, std::string* error) {
    const std::string defines = Defines(gl.es, features);
    const uint32_t vertex = Compile(gl, GL_VERTEX_SHADER, defines, kVertexShader, error);
    if (!vertex) return false;
    const uint32_t fragment = Compile(gl, GL_FRAGMENT_SHADER, defines, kFragmentShader, error);
    if (!fragment) {
        gl.glDeleteShader(vertex);
        return false;
    }
    const GLuint name = gl.glCreateProgram();
    gl.glAttachShader(name, vertex);
    gl.glAttachShader(name, fragment);
    gl.glBindAttribLocation(name, kPositionAttribute, "position");
    gl.glBindAttribLocation(name, kTexCoordAttribute, "texCoord");
    gl.glBindAttribLocation(name, kColourAttribute, "colour");
    gl.glLinkProgram(name);
    // The program keeps its shaders; they go with it.
    gl.glDeleteShader(vertex);
    gl.glDeleteShader(fragment);
    GLint linked = 0;
    gl.glGetProgramiv(name, GL_LINK_STATUS, &linked);
    if (!linked) {
        char log[1024] = {};
        gl.glGetProgramInfoLog(name, sizeof log - 1, nullptr, log);
        *error = std::string("shader program refused by the driver: ") + log;
        gl.glDeleteProgram(name);
        return false;
    }
    GlProgram& program = programs[features];
    program = GlProgram{};
    program.name = name;
    program.projection = gl.glGetUniformLocation(name, "projection");
    program.colour = gl.glGetUniformLocation(name, "colour");
    gl.glUseProgram(name);
    gl.glUniform1i(gl.glGetUniformLocation(name, "texture0"), 0);
    gl.glUniform1i(gl.glGetUniformLocation(name, "texture1"), 1);
    return true;
}

GlProgram* GlPrograms::Get(const GlFunctions& gl, unsigned features) {
    features %= kProgramVariants;
    if (!(features & kTexture)) features &= ~kSecondTexture;
    if (features & kVertexColour) features &= ~kOpaqueWhite;
    GlProgram& program = programs[features];
    if (program.name) return &program;
    if (failed[features]) return nullptr;
    std::string error;
    if (Build(gl, features, &error)) return &program;
    failed[features] = true;
    AppendErrorLog(error.c_str());
    return nullptr;
}

bool GlPrograms::Prepare(const GlFunctions& gl, std::string* error) {
    const unsigned sprites = kTexture | kAlphaTest | kOpaqueWhite;
    return programs[sprites].name || Build(gl, sprites, error);
}

void GlPrograms::Forget() {
    for (GlProgram& program : programs) program = GlProgram{};
    for (bool& f : failed) f = false;
}
