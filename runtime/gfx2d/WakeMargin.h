// How long before a frame's deadline the frame wait stops sleeping and spins
// the rest: as late as this machine's timed sleeps come back, measured while
// it runs. A desktop wakes within a tenth of a millisecond and spins little;
// a loaded or virtual machine, whose wake-ups come a millisecond or more late
// now and then, spins that much longer instead of missing its deadlines.
#pragma once

#include <array>

class WakeMargin {
  public:
    static constexpr double kLeastMs = 0.2;
    static constexpr double kMostMs = 2.0;
    static constexpr double kFirstMs = 1.0;  // until enough sleeps were measured

    double Ms() const { return margin; }
    // How late a timed sleep came back, in milliseconds.
    void Record(double lateMs);

  private:
    static constexpr int kKept = 128;
    std::array<double, kKept> late{};
    int count = 0;
    int next = 0;
    double margin = kFirstMs;
};
