#include "level/QzlMaterial.h"

#include "level/RecordIo.h"

QZ_IMPLEMENT_SERIAL(CQzlMaterial, 1)

void CQzlMaterial::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteString(m_name);
        ar.WriteFloat(m_xTile);
        ar.WriteFloat(m_yTile);
    } else {
        LoadedSchema(ar, StaticClass());
        m_name = ar.ReadString();
        m_xTile = ar.ReadFloat();
        m_yTile = ar.ReadFloat();
    }
}
