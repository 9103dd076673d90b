// The shader programs the 2D backend draws with: one per combination of the
// rules the drawing commands mix (texturing on one or two units, vertex or
// current colour, the alpha test), each built the first time it is needed.
// The sources are written once in the GLSL that desktop OpenGL 2.1 (version
// 120) and OpenGL ES 2.0 / WebGL (version 100) both accept.
//
// A program is built in two steps: its shaders are handed to the driver and
// linked, then the driver is asked whether that worked. Where the driver
// compiles apart from the program (a browser's GPU process), every question
// waits for all the work handed over before it, frames and textures too.
#pragma once

#include <cstdint>
#include <string>

struct GlFunctions;

// What a program does to a fragment: the colour, times the texel of unit 0
// when kTexture, times the texel of unit 1 when also kSecondTexture;
// dropped unless its alpha is above 0.05 when kAlphaTest.
enum ProgramFeature : unsigned {
    kTexture = 1,
    kSecondTexture = 2,
    kVertexColour = 4,  // each vertex carries its colour, interpolated; else one for the draw
    kAlphaTest = 8,
    // The draw's colour is opaque white, which leaves the texel as it is: the
    // multiplication is left out, a fifth of a software rasteriser's work on
    // a sprite's pixels.
    kOpaqueWhite = 16,
};
constexpr unsigned kProgramVariants = 32;

// Where the vertex attributes are bound in every program.
enum : unsigned { kPositionAttribute = 0, kTexCoordAttribute = 1, kColourAttribute = 2 };

struct GlProgram {
    uint32_t name = 0;
    int projection = -1, colour = -1;  // uniform locations
    // What the uniforms hold, so that only changes reach the driver.
    uint32_t projectionGeneration = 0;
    float colourValue[4] = {-1, -1, -1, -1};
};

class GlPrograms {
  public:
    // The program of these features, built on first use; null (the reason
    // written to the error log once) when the driver refuses the sources.
    GlProgram* Get(const GlFunctions& gl, unsigned features);
    // Builds the most used program at once; false, with the reason in
    // `error`, when this driver cannot compile it. Where the driver compiles
    // apart, the other programs of plain drawing are built with it.
    bool Prepare(const GlFunctions& gl, std::string* error);
    // The context that held the programs is gone; nothing is deleted.
    void Forget();

  private:
    // A program handed to the driver, not yet asked about.
    struct Handed {
        uint32_t program = 0, fragmentShader = 0;
        unsigned vertexSource = 0;  // which of the vertex shaders it links
    };

    void Hand(const GlFunctions& gl, unsigned features);
    bool Finish(const GlFunctions& gl, unsigned features, std::string* error);
    void Abandon(const GlFunctions& gl);
    uint32_t VertexShader(const GlFunctions& gl, unsigned features);

    GlProgram programs[kProgramVariants];
    Handed handed[kProgramVariants];
    bool failed[kProgramVariants] = {};
    // Each vertex shader serves every program of the same texturing and
    // colour source; they live as long as the context.
    uint32_t vertexShaders[kProgramVariants] = {};
};
