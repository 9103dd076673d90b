// How long before a frame's deadline the frame wait stops sleeping and spins
// the rest: as late as this machine's timed sleeps come back, measured while
// it runs. A desktop wakes within a tenth of a millisecond and spins little;
// a loaded or virtual machine, whose wake-ups come a millisecond or more late
// now and then, spins that much longer instead of missing its deadlines.
// Where the spin itself loses its core (other programs want the processor),
// spinning longer only queues the frame behind them: the margin drops to
// its least until the spins have run undisturbed for two seconds.
#pragma once

#include <algorithm>
#include <array>

class WakeMargin {
  public:
    static constexpr double kLeastMs = 0.2;
    static constexpr double kMostMs = 2.0;
    static constexpr double kFirstMs = 1.0;  // until enough sleeps were measured

    double Ms() const { return quietSpins < kQuietSpinsNeeded ? sharedMargin : margin; }
    // How late a timed sleep came back, in milliseconds.
    void Record(double lateMs);
    // Whether the spin before a deadline lost its core to another thread.
    void RecordSpin(bool preempted) {
        quietSpins = preempted ? 0 : std::min(quietSpins + 1, kQuietSpinsNeeded);
    }

  private:
    static constexpr int kKept = 128;
    static constexpr int kQuietSpinsNeeded = 120;  // two seconds at 60 frames
    std::array<double, kKept> late{};
    int count = 0;
    int next = 0;
    double margin = kFirstMs;
    double sharedMargin = kLeastMs;
    int quietSpins = kQuietSpinsNeeded;
};
