#pragma once
// The engine's input seams on the desktop: the modifier keys held now (Qt), a steady millisecond
// clock and a seeded 15-bit random generator.

#include "engine/Clock.h"
#include "engine/KeyState.h"
#include "engine/Random.h"

#include <chrono>
#include <cstdint>
#include <random>

class CQtKeyState final : public KeyState {
public:
    bool IsShiftDown() const override;
    bool IsCtrlDown() const override;
    bool IsAltDown() const override;
};

class CSteadyClock final : public Clock {
public:
    std::uint32_t Milliseconds() const override
    {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<std::uint32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
    }
};

class CSeededRandom final : public Random {
public:
    explicit CSeededRandom(std::uint32_t seed = 1) : m_engine(seed) {}
    int Next() override { return static_cast<int>(m_engine() % (kMax + 1u)); }

private:
    std::minstd_rand m_engine;
};
