#include "quiz/Fsrs.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr std::array<double, 21> kDefaultWeights{0.212,  1.2931, 2.3065, 8.2956, 6.4133, 0.8334, 3.0194,
                                                 0.001,  1.8722, 0.1666, 0.796,  1.4835, 0.0614, 0.2629,
                                                 1.6483, 0.6014, 1.8729, 0.5425, 0.0912, 0.0658, 0.1542};

double ClampDifficulty(double d) {
    return std::clamp(d, 1.0, 10.0);
}

}  // namespace

// The factor makes R(S, S) equal 0.9 whatever the decay.
Fsrs::Fsrs() : w_(kDefaultWeights), factor_(std::pow(0.9, -1.0 / kDefaultWeights[20]) - 1.0) {}

double Fsrs::Retrievability(double days, double stability) const {
    return std::pow(1.0 + factor_ * std::max(0.0, days) / stability, -w_[20]);
}

int Fsrs::NextInterval(double stability) const {
    const double days = stability / factor_ * (std::pow(kRetention, -1.0 / w_[20]) - 1.0);
    return std::max(1, static_cast<int>(std::lround(days)));
}

double Fsrs::InitialDifficulty(int grade) const {
    return w_[4] - std::exp(w_[5] * (grade - 1)) + 1.0;
}

Fsrs::Memory Fsrs::First(int grade) const {
    return {w_[grade - 1], ClampDifficulty(InitialDifficulty(grade))};
}

// Mean reversion pulls towards the unclamped difficulty of an easy first answer.
double Fsrs::NextDifficulty(double difficulty, int grade) const {
    const double damped = difficulty - w_[6] * (grade - kGood) * (10.0 - difficulty) / 9.0;
    return ClampDifficulty(w_[7] * InitialDifficulty(4) + (1.0 - w_[7]) * damped);
}

double Fsrs::StabilityAfterRecall(const Memory& m, double r) const {
    return m.stability * (1.0 + std::exp(w_[8]) * (11.0 - m.difficulty) * std::pow(m.stability, -w_[9]) *
                                    (std::exp(w_[10] * (1.0 - r)) - 1.0));
}

double Fsrs::StabilityAfterLapse(const Memory& m, double r) const {
    const double lapse = w_[11] * std::pow(m.difficulty, -w_[12]) * (std::pow(m.stability + 1.0, w_[13]) - 1.0) *
                         std::exp(w_[14] * (1.0 - r));
    return std::min(lapse, m.stability / std::exp(w_[17] * w_[18]));
}

double Fsrs::StabilitySameDay(double stability, int grade) const {
    const double next = stability * std::exp(w_[17] * (grade - kGood + w_[18])) * std::pow(stability, -w_[19]);
    return grade >= kGood ? std::max(next, stability) : next;
}

// Stability moves with the difficulty the word had before this answer.
Fsrs::Memory Fsrs::Next(const Memory& memory, int days, int grade) const {
    Memory next;
    if (days <= 0) {
        next.stability = StabilitySameDay(memory.stability, grade);
    } else {
        const double r = Retrievability(days, memory.stability);
        next.stability = grade >= kGood ? StabilityAfterRecall(memory, r) : StabilityAfterLapse(memory, r);
    }
    next.difficulty = NextDifficulty(memory.difficulty, grade);
    return next;
}
