#include "MediaRandom.h"

namespace media {

uint64_t MediaRandom::Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int MediaRandom::Below(int n) {
    return n <= 0 ? 0 : int(Next() % uint64_t(n));
}

int MediaRandom::Range(int lo, int hi) {
    return lo + Below(hi - lo + 1);
}

double MediaRandom::Signed() {
    return double(int64_t(Next() >> 40) - (1 << 23)) / double(1 << 23);
}

double MediaRandom::Unit() {
    return double(Next() >> 40) / double(1 << 24);
}

}  // namespace media
