#pragma once
// A source of 15-bit random numbers (0 to 32767), as the editor's generators and walk mode use,
// and the seeded generator the application and the tools run on.

#include <cstdint>

class Random {
public:
    virtual ~Random() = default;
    static constexpr int kMax = 32767;
    // The next number, 0 to kMax inclusive.
    virtual int Next() = 0;
    // Starts the sequence again from seed (the landscape builder seeds with the time in seconds).
    virtual void Seed(std::uint32_t seed) = 0;
};

// The portable generator of the C standard: a 32-bit linear congruential sequence (multiplier
// 1103515245, increment 12345) whose bits 16 to 30 are the number. The same seed gives the same
// sequence on every machine; a generator that was never seeded runs as if seeded with 1.
class CSeededRandom final : public Random {
public:
    explicit CSeededRandom(std::uint32_t seed = 1) : m_state(seed) {}
    int Next() override;
    void Seed(std::uint32_t seed) override { m_state = seed; }

private:
    std::uint32_t m_state;
};
