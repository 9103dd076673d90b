#include "Sounds.h"

#include <algorithm>
#include <cmath>

#include "MediaFiles.h"
#include "MediaRandom.h"

namespace media {

namespace {

// sin(2 pi t) for t in turns, to about 1e-6.
double SineTurns(double t) {
    t -= std::floor(t);
    if (t > 0.5) t -= 1.0;  // -0.5 .. 0.5
    double sign = 1.0;
    if (t < 0) {
        t = -t;
        sign = -1.0;
    }
    if (t > 0.25) t = 0.5 - t;  // 0 .. 0.25 turns
    const double x = t * 6.283185307179586, x2 = x * x;
    const double s =
        x * (1 - x2 / 6 * (1 - x2 / 20 * (1 - x2 / 42 * (1 - x2 / 72 * (1 - x2 / 110)))));
    return sign * s;
}

std::vector<int16_t> ToSamples(const std::vector<double>& mix, double peak) {
    double most = 1e-9;
    for (double v : mix) most = std::max(most, std::fabs(v));
    std::vector<int16_t> out;
    out.reserve(mix.size());
    for (double v : mix) out.push_back(int16_t(std::lround(v / most * peak * 32767.0)));
    return out;
}

// Noise through a two-pole band filter, a cheap voice-like colour.
class BandNoise {
  public:
    BandNoise(double low, double high) : a_(low), b_(high) {}
    double Next(MediaRandom& rng) {
        const double white = rng.Signed();
        lowFast_ += b_ * (white - lowFast_);
        lowSlow_ += a_ * (white - lowSlow_);
        return lowFast_ - lowSlow_;
    }

  private:
    double a_, b_, lowFast_ = 0, lowSlow_ = 0;
};

// The roar: a swelling crowd, slowly waving.
void Roar(std::vector<double>& mix, MediaRandom& rng) {
    const int n = int(mix.size());
    BandNoise roar(0.02, 0.25), roar2(0.05, 0.45);
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / kSampleRate;
        const double rise = std::min(1.0, t / 0.18);
        const double fall = t > 1.3 ? std::max(0.0, 1 - (t - 1.3) / 0.6) : 1.0;
        const double wave = 0.8 + 0.2 * SineTurns(t * 2.3) + 0.1 * SineTurns(t * 5.1 + 0.3);
        mix[size_t(i)] +=
            (roar.Next(rng) * 1.6 + roar2.Next(rng) * 0.9) * rise * fall * fall * wave;
    }
}

// Claps: short bright bursts at random moments.
void Claps(std::vector<double>& mix, MediaRandom& rng) {
    const int n = int(mix.size());
    for (int k = 0; k < 70; ++k) {
        const int start = int(rng.Unit() * (n - kSampleRate / 3)) + kSampleRate / 20;
        const double gain = 0.5 + 0.5 * rng.Unit();
        BandNoise clap(0.15, 0.8);
        const int len = kSampleRate * 30 / 1000;
        for (int i = 0; i < len && start + i < n; ++i) {
            const double env = (1 - double(i) / len);
            mix[size_t(start + i)] += clap.Next(rng) * gain * env * env * env * 1.2;
        }
    }
}

// One voice sliding up from f0 to f1, with a wobble and a few overtones.
void Whoop(std::vector<double>& mix, int start, int len, double f0, double f1, double wobble) {
    const int n = int(mix.size());
    double phase = 0;
    for (int i = 0; i < len && start + i < n; ++i) {
        const double t = double(i) / len;
        const double f =
            f0 + (f1 - f0) * (t < 0.6 ? t / 0.6 : 1.0) + 12 * SineTurns(wobble * i / kSampleRate);
        phase += f / kSampleRate;
        const double env = std::min(1.0, t * 8) * (t > 0.7 ? (1 - t) / 0.3 : 1.0);
        const double voice = SineTurns(phase) + 0.5 * SineTurns(phase * 2) +
                             0.3 * SineTurns(phase * 3) + 0.15 * SineTurns(phase * 4);
        mix[size_t(start + i)] += voice * env * 0.22;
    }
}

void Whoops(std::vector<double>& mix, MediaRandom& rng) {
    for (int k = 0; k < 7; ++k) {
        const int start = int(rng.Unit() * kSampleRate * 0.9);
        const int len = int(kSampleRate * (0.28 + 0.25 * rng.Unit()));
        const double f0 = 330 + 260 * rng.Unit(), f1 = f0 * (1.6 + 0.5 * rng.Unit());
        const double wobble = 5 + 3 * rng.Unit();
        Whoop(mix, start, len, f0, f1, wobble);
    }
}

}  // namespace

std::vector<int16_t> Blip() {
    const int n = kSampleRate * 80 / 1000;
    std::vector<double> mix(size_t(n), 0.0);
    double phase = 0;
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / n;
        const double freq = 1100 + 700 * t;
        phase += freq / kSampleRate;
        const double attack = std::min(1.0, i / 40.0);
        const double decay = (1 - t) * (1 - t);
        const double wave =
            SineTurns(phase) + 0.25 * SineTurns(phase * 3) + 0.1 * SineTurns(phase * 5);
        mix[size_t(i)] = wave * attack * decay;
    }
    return ToSamples(mix, 0.6);
}

std::vector<int16_t> Cheer() {
    std::vector<double> mix(size_t(kSampleRate * 19 / 10), 0.0);
    MediaRandom rng(0xC4EE12ull);
    Roar(mix, rng);
    Claps(mix, rng);
    Whoops(mix, rng);
    return ToSamples(mix, 0.8);
}

}  // namespace media
