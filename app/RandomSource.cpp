#include "app/RandomSource.h"

#include <chrono>
#include <random>

int RandomSource::Draw(int n) {
    if (n <= 0) return 0;
    std::mt19937 generator(static_cast<unsigned>(
        std::chrono::steady_clock::now().time_since_epoch().count()));
    std::uniform_real_distribution<double> rnd(0.0, 1.0);
    const int r = static_cast<int>(rnd(generator) * n);
    return r < n ? r : n - 1;
}
