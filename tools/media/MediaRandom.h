// The generator's own random numbers (SplitMix64): the same seed gives the
// same media on every machine and compiler.
#pragma once

#include <cstdint>

namespace media {

class MediaRandom {
  public:
    explicit MediaRandom(uint64_t seed) : state_(seed) {}
    uint64_t Next();
    int Below(int n);           // 0 .. n-1
    int Range(int lo, int hi);  // lo .. hi
    double Signed();            // -1 .. 1, from 24 random bits (exact in a double)
    double Unit();              // 0 .. 1, likewise

  private:
    uint64_t state_;
};

}  // namespace media
