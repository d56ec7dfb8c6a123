#include "level/QzlTemplate.h"

#include "level/RecordIo.h"

QZ_IMPLEMENT_SERIAL(CQzlTemplate, 1)

void CQzlTemplate::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteString(m_name);
        ar.WriteString(m_basedOn);
        ar.WriteString(m_params);
        ar.WriteString(m_model);
    } else {
        LoadedSchema(ar, StaticClass());
        m_name = ar.ReadString();
        m_basedOn = ar.ReadString();
        m_params = ar.ReadString();
        m_model = ar.ReadString();
    }
}
