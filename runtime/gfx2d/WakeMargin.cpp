#include "runtime/gfx2d/WakeMargin.h"

#include <algorithm>

void WakeMargin::Record(double lateMs) {
    late[next] = std::max(0.0, lateMs);
    next = (next + 1) % kKept;
    if (count < kKept) ++count;
    if (count < 32 || next % 16 != 0) return;
    // The latest of the kept wake-ups, with a little to spare. A percentile
    // lower than that let one late wake-up in thirty-odd through, each one a
    // frame shown up to two milliseconds late; the latest costs a few more
    // tenths of a millisecond of spinning on a machine that wakes late at all.
    std::array<double, kKept> sorted = late;
    std::sort(sorted.begin(), sorted.begin() + count);
    margin = std::clamp(sorted[count - 1] + 0.05, kLeastMs, kMostMs);
    // On a shared core the wait aims at the usual wake-up instead: as often
    // early (and spinning briefly) as late.
    sharedMargin = std::clamp(sorted[count / 2], kLeastMs, kMostMs);
}
