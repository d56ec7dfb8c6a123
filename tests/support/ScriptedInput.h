#pragma once
// Scripted stand-ins for the modifier keys, the millisecond clock and the random source.

#include "engine/Clock.h"
#include "engine/KeyState.h"
#include "engine/Random.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

// Keys held as the test sets them.
class CScriptedKeyState : public KeyState {
public:
    bool IsShiftDown() const override { return m_shift; }
    bool IsCtrlDown() const override { return m_ctrl; }
    bool IsAltDown() const override { return m_alt; }
    bool IsKeyDown(EKey key) const override { return m_held[Slot(key)]; }

    // Presses or releases one of the camera keys.
    void Hold(EKey key, bool down = true) { m_held[Slot(key)] = down; }
    void Release(EKey key) { Hold(key, false); }
    void ReleaseAll() { m_held.fill(false); }

    bool m_shift = false;
    bool m_ctrl = false;
    bool m_alt = false;

private:
    static std::size_t Slot(EKey key) { return static_cast<std::size_t>(key); }

    std::array<bool, 6> m_held{};
};

// A clock that moves only when the test moves it.
class CScriptedClock : public Clock {
public:
    std::uint32_t Milliseconds() const override { return m_now; }
    void Advance(std::uint32_t ms) { m_now += ms; }

    std::uint32_t m_now = 0;
};

// Returns the scripted values in turn, starting again at the first after the last (each masked
// to 15 bits); 0 when none are scripted. Seeds are recorded and change nothing.
class CScriptedRandom;
// Makes random play the first count numbers of the seeded generator from seed, from the start.
void PlaySeededSequence(CScriptedRandom& random, std::uint32_t seed, std::size_t count);

class CScriptedRandom : public Random {
public:
    CScriptedRandom() = default;
    explicit CScriptedRandom(std::vector<int> values) : m_values(std::move(values)) {}

    int Next() override;
    void Seed(std::uint32_t seed) override { m_seeds.push_back(seed); }

    std::vector<int> m_values;
    std::vector<std::uint32_t> m_seeds;
    std::size_t m_next = 0;
    std::size_t m_calls = 0;
};
