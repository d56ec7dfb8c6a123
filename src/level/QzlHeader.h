#pragma once
// The level header: format version, gravity, sky and horizon settings, mipmap and LOD distances.
// One instance is embedded in the level container and archived without an object tag.

#include "framework/Object.h"

#include <cstdint>

class CQzlHeader : public CObject {
    QZ_DECLARE_SERIAL(CQzlHeader)

public:
    void Serialize(CArchive& ar) override;

    std::int32_t m_version = 0;
    float m_worldGravity = 0.0f;
    float m_ceilingSkyZ = 0.0f;
    float m_horizonDistance = 0.0f;
    float m_horizonPixelsPerRev = 0.0f;
    float m_horizonSkyOffset[2] = {};
    float m_ceilingSkyOffset[2] = {};
    float m_mipmapDistances[4] = {};
    float m_lodDistances[4] = {};
    float m_perspectiveDistance = 0.0f;
    float m_gouraudDistance = 0.0f;
};
