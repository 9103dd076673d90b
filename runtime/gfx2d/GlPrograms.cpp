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

// The programs plain drawing uses (sprites and text, coloured or opaque
// white, with or without the alpha test; rectangles, lines and points).
constexpr unsigned kPlainDrawing[] = {
    kTexture | kAlphaTest | kOpaqueWhite,
    kTexture | kAlphaTest,
    kTexture | kOpaqueWhite,
    kTexture,
    kAlphaTest | kOpaqueWhite,
    kAlphaTest,
    kOpaqueWhite,
    0,
};

// Where the driver compiles apart from the program and every question waits
// for it (a browser's GPU process).
#ifdef __EMSCRIPTEN__
constexpr bool kDriverCompilesApart = true;
#else
constexpr bool kDriverCompilesApart = false;
#endif

// What a vertex shader depends on.
unsigned VertexSource(unsigned features) {
    return features & (kTexture | kVertexColour);
}

uint32_t Compile(const GlFunctions& gl, GLenum type, const std::string& defines, const char* body) {
    const GLuint shader = gl.glCreateShader(type);
    const char* parts[] = {defines.c_str(), body};
    gl.glShaderSource(shader, 2, parts, nullptr);
    gl.glCompileShader(shader);
    return shader;
}

// Why the shader was refused; empty when it compiled.
std::string Refusal(const GlFunctions& gl, GLenum type, uint32_t shader) {
    GLint compiled = 0;
    gl.glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled) return std::string();
    GLint length = 0;
    gl.glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    std::vector<char> log(static_cast<size_t>(length > 0 ? length : 1) + 1, '\0');
    gl.glGetShaderInfoLog(shader, static_cast<GLsizei>(log.size()), nullptr, log.data());
    return std::string(type == GL_VERTEX_SHADER ? "vertex" : "fragment") +
           " shader refused by the driver: " + log.data();
}

unsigned Canonical(unsigned features) {
    features %= kProgramVariants;
    if (!(features & kTexture)) features &= ~kSecondTexture;
    if (features & kVertexColour) features &= ~kOpaqueWhite;
    return features;
}

}  // namespace

uint32_t GlPrograms::VertexShader(const GlFunctions& gl, unsigned features) {
    uint32_t& shader = vertexShaders[VertexSource(features)];
    if (!shader)
        shader =
            Compile(gl, GL_VERTEX_SHADER, Defines(gl.es, VertexSource(features)), kVertexShader);
    return shader;
}

// The shaders compiled and linked, nothing asked.
void GlPrograms::Hand(const GlFunctions& gl, unsigned features) {
    Handed& program = handed[features];
    if (program.program || programs[features].name || failed[features]) return;
    const uint32_t vertex = VertexShader(gl, features);
    program.fragmentShader =
        Compile(gl, GL_FRAGMENT_SHADER, Defines(gl.es, features), kFragmentShader);
    program.vertexSource = VertexSource(features);
    program.program = gl.glCreateProgram();
    gl.glAttachShader(program.program, vertex);
    gl.glAttachShader(program.program, program.fragmentShader);
    gl.glBindAttribLocation(program.program, kPositionAttribute, "position");
    gl.glBindAttribLocation(program.program, kTexCoordAttribute, "texCoord");
    gl.glBindAttribLocation(program.program, kColourAttribute, "colour");
    gl.glLinkProgram(program.program);
}

// Asks whether the handed program linked; the program is bound when it did.
bool GlPrograms::Finish(const GlFunctions& gl, unsigned features, std::string* error) {
    Handed program = handed[features];
    handed[features] = Handed{};
    GLint linked = 0;
    gl.glGetProgramiv(program.program, GL_LINK_STATUS, &linked);
    if (!linked) {
        *error = Refusal(gl, GL_VERTEX_SHADER, vertexShaders[program.vertexSource]);
        if (error->empty()) *error = Refusal(gl, GL_FRAGMENT_SHADER, program.fragmentShader);
        if (error->empty()) {
            char log[1024] = {};
            gl.glGetProgramInfoLog(program.program, sizeof log - 1, nullptr, log);
            *error = std::string("shader program refused by the driver: ") + log;
        }
    }
    // The program keeps its shaders; the fragment shader goes with it.
    gl.glDeleteShader(program.fragmentShader);
    if (!linked) {
        gl.glDeleteProgram(program.program);
        failed[features] = true;
        return false;
    }
    GlProgram& ready = programs[features];
    ready = GlProgram{};
    ready.name = program.program;
    ready.projection = gl.glGetUniformLocation(ready.name, "projection");
    ready.colour = gl.glGetUniformLocation(ready.name, "colour");
    gl.glUseProgram(ready.name);
    gl.glUniform1i(gl.glGetUniformLocation(ready.name, "texture0"), 0);
    gl.glUniform1i(gl.glGetUniformLocation(ready.name, "texture1"), 1);
    return true;
}

GlProgram* GlPrograms::Get(const GlFunctions& gl, unsigned features) {
    features = Canonical(features);
    GlProgram& program = programs[features];
    if (program.name) return &program;
    if (failed[features]) return nullptr;
    Hand(gl, features);
    std::string error;
    if (Finish(gl, features, &error)) return &program;
    AppendErrorLog(error.c_str());
    return nullptr;
}

// The sprites' program decides whether this driver can draw at all. Where
// the driver compiles apart, the other programs of plain drawing are handed
// over with it and asked about in the same wait: once drawing has begun,
// every question would wait for the frames and textures handed over before.
bool GlPrograms::Prepare(const GlFunctions& gl, std::string* error) {
    const unsigned sprites = kTexture | kAlphaTest | kOpaqueWhite;
    Hand(gl, sprites);
    if (kDriverCompilesApart)
        for (unsigned features : kPlainDrawing) Hand(gl, features);
    if (handed[sprites].program && !Finish(gl, sprites, error)) {
        failed[sprites] = false;
        Abandon(gl);
        return false;
    }
    for (unsigned features = 0; features < kProgramVariants; ++features) {
        std::string refusal;
        if (handed[features].program && !Finish(gl, features, &refusal))
            AppendErrorLog(refusal.c_str());
    }
    return !failed[sprites];
}

// Every handed program deleted unasked.
void GlPrograms::Abandon(const GlFunctions& gl) {
    for (Handed& program : handed) {
        if (!program.program) continue;
        gl.glDeleteShader(program.fragmentShader);
        gl.glDeleteProgram(program.program);
        program = Handed{};
    }
}

void GlPrograms::Forget() {
    for (GlProgram& program : programs) program = GlProgram{};
    for (Handed& program : handed) program = Handed{};
    for (bool& f : failed) f = false;
    for (uint32_t& shader : vertexShaders) shader = 0;
}
