#include "framework/Object.h"

#include "framework/Archive.h"

#include <cstring>

void CObject::Serialize(CArchive& /*ar*/) {}

const CRuntimeClass g_classCObArray{"CObArray", 0, nullptr};

void CClassRegistry::Add(const CRuntimeClass& cls)
{
    if (!Find(cls.m_lpszClassName))
        m_classes.push_back(&cls);
}

const CRuntimeClass* CClassRegistry::Find(std::string_view name) const
{
    for (const CRuntimeClass* cls : m_classes)
        if (name == cls->m_lpszClassName)
            return cls;
    return nullptr;
}
