#pragma once
// A source of 15-bit random numbers (0 to 32767), as the editor's generators and walk mode use.

class Random {
public:
    virtual ~Random() = default;
    static constexpr int kMax = 32767;
    // The next number, 0 to kMax inclusive.
    virtual int Next() = 0;
};
