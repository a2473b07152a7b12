#pragma once

#include <array>

// The memory model of the review schedule: FSRS-6 with its published
// default weights, pass/fail grades (1 Again, 3 Good), no fuzz.
class Fsrs {
public:
    static constexpr int kAgain = 1;
    static constexpr int kGood = 3;
    static constexpr double kRetention = 0.9;

    struct Memory {
        double stability = 0;  // days
        double difficulty = 0; // 1 to 10
    };

    Fsrs();

    // Chance of recalling a word t days after its last review.
    double Retrievability(double days, double stability) const;
    // Whole days until recall falls to the desired retention, at least one.
    int NextInterval(double stability) const;

    Memory First(int grade) const;
    // days: whole days since the last review, never below 0.
    Memory Next(const Memory& memory, int days, int grade) const;

private:
    double InitialDifficulty(int grade) const;
    double NextDifficulty(double difficulty, int grade) const;
    double StabilityAfterRecall(const Memory& memory, double r) const;
    double StabilityAfterLapse(const Memory& memory, double r) const;
    double StabilitySameDay(double stability, int grade) const;

    std::array<double, 21> w_;
    double factor_;
};
