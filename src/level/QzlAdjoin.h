#pragma once
// One side of a pair of joined surfaces (a portal).

#include "framework/Object.h"

#include <cstdint>

class CQzlAdjoin : public CObject {
    QZ_DECLARE_SERIAL(CQzlAdjoin)

public:
    void Serialize(CArchive& ar) override;

    std::uint32_t m_flags = 7;
    std::int32_t m_mirror = -1;  // the adjoin on the other side
    float m_dist = 0.0f;
    // Derived by CQzlSections::LinkAdjoins from the surfaces that own the mirror; not stored.
    std::int32_t m_otherSector = -1;
    std::int32_t m_otherSurface = -1;
};
