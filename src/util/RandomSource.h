#pragma once
#include <cstdint>
#include <memory>
#include <random>

namespace velmo {

// The random numbers of the program, injectable so that tests and `--seed` are reproducible.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    // A uniform number in [0, n); 0 when n is 0.
    virtual uint32_t below(uint32_t n) = 0;
    // Starts the sequence again from `seed`.
    virtual void reseed(uint64_t seed) = 0;
};

class Mt19937Random : public RandomSource {
public:
    explicit Mt19937Random(uint64_t seed) : engine_(seed) {}
    uint32_t below(uint32_t n) override {
        if (n == 0) return 0;
        return std::uniform_int_distribution<uint32_t>(0, n - 1)(engine_);
    }
    void reseed(uint64_t seed) override { engine_.seed(seed); }

private:
    std::mt19937_64 engine_;
};

// A seed taken from the clock, as the program does at start-up.
uint64_t clockSeed();

inline std::unique_ptr<RandomSource> makeClockSeededRandom() {
    return std::make_unique<Mt19937Random>(clockSeed());
}

} // namespace velmo
