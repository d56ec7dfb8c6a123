#include "support/ScriptedInput.h"

int CScriptedRandom::Next()
{
    ++m_calls;
    if (m_values.empty()) {
        return 0;
    }
    const int value = m_values[m_next % m_values.size()] & kMax;
    m_next = (m_next + 1) % m_values.size();
    return value;
}

void PlaySeededSequence(CScriptedRandom& random, std::uint32_t seed, std::size_t count)
{
    CSeededRandom generator(seed);
    random.m_values.clear();
    random.m_next = 0;
    for (std::size_t i = 0; i < count; ++i)
        random.m_values.push_back(generator.Next());
}
