#pragma once
// One material of the level's material list: file name and tiling.

#include "framework/Object.h"

#include <string>
#include <utility>

class CQzlMaterial : public CObject {
    QZ_DECLARE_SERIAL(CQzlMaterial)

public:
    CQzlMaterial() = default;
    explicit CQzlMaterial(std::string name) : m_name(std::move(name)) {}

    void Serialize(CArchive& ar) override;

    std::string m_name;  // e.g. "dflt.mat"
    float m_xTile = 1.0f;
    float m_yTile = 1.0f;
};
