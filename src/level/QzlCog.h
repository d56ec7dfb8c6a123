#pragma once
// One cog: a script instance with the values of the script's symbols.

#include "framework/Object.h"

#include <string>
#include <utility>
#include <vector>

class CQzlCog : public CObject {
    QZ_DECLARE_SERIAL(CQzlCog)

public:
    CQzlCog() = default;
    explicit CQzlCog(std::string script) : m_script(std::move(script)) {}

    void Serialize(CArchive& ar) override;

    std::string m_script;               // cog script file name
    std::vector<std::string> m_values;  // one value per symbol, in symbol order
};
