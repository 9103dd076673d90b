#include "runtime/core/Random.h"

#include "runtime/values/Truncate.h"

RandomGenerator gRandom = {};

namespace {

constexpr uint32_t kGoldenRatio = 0x9e3779b9;

void Mix(uint32_t w[8]) {
    w[0] ^= w[1] << 11;
    w[3] += w[0];
    w[1] += w[2];
    w[1] ^= w[2] >> 2;
    w[4] += w[1];
    w[2] += w[3];
    w[2] ^= w[3] << 8;
    w[5] += w[2];
    w[3] += w[4];
    w[3] ^= w[4] >> 16;
    w[6] += w[3];
    w[4] += w[5];
    w[4] ^= w[5] << 10;
    w[7] += w[4];
    w[5] += w[6];
    w[5] ^= w[6] >> 4;
    w[0] += w[5];
    w[6] += w[7];
    w[6] ^= w[7] << 8;
    w[1] += w[6];
    w[7] += w[0];
    w[7] ^= w[0] >> 9;
    w[2] += w[7];
    w[0] += w[1];
}

// One pass over the state: each group of eight words is added, mixed and stored.
void MixPass(uint32_t w[8], const uint32_t* material) {
    for (int i = 0; i < 256; i += 8) {
        for (int n = 0; n < 8; ++n) w[n] += material[i + n];
        Mix(w);
        for (int n = 0; n < 8; ++n) gRandom.memory[i + n] = w[n];
    }
}

}  // namespace

uint32_t NextRandomWord() {
    RandomGenerator& g = gRandom;
    g.c += 1;
    g.b += g.c;
    for (int i = 0; i < 256; ++i) {
        const uint32_t x = g.memory[i];
        switch (i & 3) {
            case 0:
                g.a ^= g.a << 13;
                break;
            case 1:
                g.a ^= g.a >> 6;
                break;
            case 2:
                g.a ^= g.a << 2;
                break;
            case 3:
                g.a ^= g.a >> 16;
                break;
        }
        g.a += g.memory[(i + 128) & 255];
        const uint32_t y = g.memory[(x >> 2) & 255] + g.a + g.b;
        g.memory[i] = y;
        g.b = g.memory[(y >> 10) & 255] + x;
        g.results[i] = g.b;
    }
    return g.results[0];
}

uint32_t SeedRandom(uint32_t seed) {
    gRandom.a = gRandom.b = gRandom.c = 0;
    uint32_t w[8];
    for (uint32_t& word : w) word = kGoldenRatio;
    // The seed enters only here; the words written now are overwritten below,
    // the mixed words carry it on.
    for (int i = 0; i < 256; i += 8) {
        w[0] += seed;
        Mix(w);
        for (int n = 0; n < 8; ++n) gRandom.memory[i + n] = w[n];
    }
    for (int n = 0; n < 4; ++n) Mix(w);
    MixPass(w, gRandom.results);
    MixPass(w, gRandom.memory);
    const uint32_t first = NextRandomWord();
    gRandom.count = 256;
    return first;
}

double RandomInt(double limit) {
    if (limit <= 0) return 0;
    const uint32_t word = NextRandomWord();
    const uint32_t low = static_cast<uint32_t>(TruncateInt64(limit));
    // A limit whose low 32 bits are all ones covers every word: no modulus.
    if (low == 0xFFFFFFFFu) return word;
    return word % (low + 1);
}
