#include "core/RandomSource.h"

#include <chrono>
#include <cstdint>

// Each draw takes a fresh seed from the clock, mixed (splitmix64) so that
// seeds a few nanoseconds apart give unrelated numbers. The count keeps two
// draws within one tick of the clock apart. Seeding a large generator at
// every draw cost microseconds, which a shuffle of a few thousand draws
// turned into a pause before a transition.
int RandomSource::Draw(int n) {
    if (n <= 0) return 0;
    std::uint64_t z = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) +
                      ++draws_ * 0x9e3779b97f4a7c15ULL;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    z ^= z >> 31;
    const double rnd = static_cast<double>(z >> 11) * 0x1.0p-53;  // uniform in [0, 1)
    const int r = static_cast<int>(rnd * n);
    return r < n ? r : n - 1;
}
