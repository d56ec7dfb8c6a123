#pragma once
// One thing template: name, the template it is based on, its parameter text and its model.

#include "framework/Object.h"

#include <cstdint>
#include <string>

class CQzlTemplate : public CObject {
    QZ_DECLARE_SERIAL(CQzlTemplate)

public:
    void Serialize(CArchive& ar) override;

    std::string m_name;
    std::string m_basedOn;
    std::string m_params;             // the rest of the template line
    std::string m_model;              // value of "model3d=", cut at the first blank or tab
    std::string m_runtimeText;        // not stored
    std::uint32_t m_runtimeWord = 0;  // not stored
};
