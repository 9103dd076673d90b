// The runtime's one random number generator: ISAAC (32-bit words, 256-word
// state), seeded once at start-up from the engine clock.
#pragma once

#include <cstdint>

struct RandomGenerator {
    uint32_t results[256];  // the result block of the last generation round
    uint32_t memory[256];   // the internal state
    uint32_t a, b, c;       // accumulators; c counts generation rounds
    int32_t count;          // 256 after seeding; nothing reads it
};

extern RandomGenerator gRandom;  // zero until seeded

uint32_t SeedRandom(uint32_t seed);  // returns the first generated word
uint32_t NextRandomWord();           // one whole generation round, its first word
