#pragma once

// The one place where the program draws random numbers: re-seed from the
// clock, then a uniform whole number from 0 to n - 1.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual int Draw(int n);

private:
    unsigned long long draws_ = 0;
};
