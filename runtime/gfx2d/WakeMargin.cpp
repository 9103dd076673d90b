#include "runtime/gfx2d/WakeMargin.h"

#include <algorithm>

void WakeMargin::Record(double lateMs) {
    late[next] = std::max(0.0, lateMs);
    next = (next + 1) % kKept;
    if (count < kKept) ++count;
    if (count < 32 || next % 16 != 0) return;
    // The 97th percentile of the kept wake-ups, with a little to spare: the
    // rare wake-up later still costs one frame's accuracy, not a whole core.
    std::array<double, kKept> sorted = late;
    const auto rank = sorted.begin() + (count * 97) / 100;
    std::nth_element(sorted.begin(), rank, sorted.begin() + count);
    margin = std::clamp(*rank + 0.05, kLeastMs, kMostMs);
}
