// The generator's own random numbers (SplitMix64): the same seed gives the
// same media on every machine and compiler.
#pragma once

#include <cstdint>

namespace media {

class MediaRandom {
  public:
    explicit MediaRandom(uint64_t seed) : state_(seed) {}
    uint64_t Next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 .. n-1
    int Below(int n) { return n <= 0 ? 0 : int(Next() % uint64_t(n)); }
    int Range(int lo, int hi) { return lo + Below(hi - lo + 1); }
    // -1 .. 1, from 24 random bits (exact in a double)
    double Signed() { return double(int64_t(Next() >> 40) - (1 << 23)) / double(1 << 23); }
    double Unit() { return double(Next() >> 40) / double(1 << 24); }

  private:
    uint64_t state_;
};

}  // namespace media
