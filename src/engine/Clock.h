#pragma once
// A millisecond counter for frame timing and animation; only differences between two readings
// mean anything, and the counter may wrap.

#include <cstdint>

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::uint32_t Milliseconds() const = 0;
};
