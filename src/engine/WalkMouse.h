#pragma once
// The mouse as walk mode reads it: the relative motion gathered since the last read and whether
// the right button is down. The view window feeds it from its mouse events while walk mode is on
// (it is acquired then); the walk navigation reads and empties it once per frame.

#include <cstdint>

struct CWalkMouse {
    // Motion in window pixels since the last read, x to the right, y downwards.
    std::int32_t m_dx = 0;
    std::int32_t m_dy = 0;
    bool m_rightButton = false;
    // While false the mouse is not followed: reads fail and motion is not gathered.
    bool m_acquired = false;

    // Starts following the mouse, with no motion gathered yet.
    void Acquire()
    {
        m_acquired = true;
        m_dx = 0;
        m_dy = 0;
    }
    // Stops following it; the gathered motion and the button are dropped.
    void Unacquire()
    {
        m_acquired = false;
        m_dx = 0;
        m_dy = 0;
        m_rightButton = false;
    }
    // Adds motion while acquired.
    void AddMotion(std::int32_t dx, std::int32_t dy)
    {
        if (!m_acquired)
            return;
        m_dx = SaturatedSum(m_dx, dx);
        m_dy = SaturatedSum(m_dy, dy);
    }
    // The motion gathered since the last read (then emptied) and the button; false, changing
    // nothing, while not acquired.
    bool Read(std::int32_t& dx, std::int32_t& dy, bool& rightButton)
    {
        if (!m_acquired)
            return false;
        dx = m_dx;
        dy = m_dy;
        rightButton = m_rightButton;
        m_dx = 0;
        m_dy = 0;
        return true;
    }

private:
    static std::int32_t SaturatedSum(std::int32_t a, std::int32_t b)
    {
        const std::int64_t sum = static_cast<std::int64_t>(a) + b;
        constexpr std::int64_t kLimit = 1 << 20;
        return static_cast<std::int32_t>(sum > kLimit ? kLimit : (sum < -kLimit ? -kLimit : sum));
    }
};
