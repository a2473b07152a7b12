#pragma once

#include "tests/support/QtApp.h"
#include "core/RandomSource.h"

// Hands out the draws a test scripted, then 0; remembers each n asked for.
class ScriptedRandom : public RandomSource {
public:
    int Draw(int n) override {
        asked.push_back(n);
        if (draws.empty()) return 0;
        const int r = draws.front();
        draws.pop_front();
        return r;
    }

    std::deque<int> draws;
    std::deque<int> asked;
};
