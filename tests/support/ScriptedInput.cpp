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
