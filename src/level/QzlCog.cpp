#include "level/QzlCog.h"

#include "level/RecordIo.h"

QZ_IMPLEMENT_SERIAL(CQzlCog, 1)

void CQzlCog::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteString(m_script);
        ar.WriteStringList(m_values);
    } else {
        LoadedSchema(ar, StaticClass());
        m_script = ar.ReadString();
        ar.ReadStringList(m_values);
    }
}
