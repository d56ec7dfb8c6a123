#include "engine/Random.h"

int CSeededRandom::Next()
{
    // Unsigned arithmetic wraps modulo 2^32, as the sequence is defined.
    m_state = m_state * 1103515245u + 12345u;
    return static_cast<int>((m_state / 65536u) % 32768u);
}
