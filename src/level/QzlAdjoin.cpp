#include "level/QzlAdjoin.h"

#include "level/RecordIo.h"

QZ_IMPLEMENT_SERIAL(CQzlAdjoin, 1)

void CQzlAdjoin::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteDWord(m_flags);
        ar.WriteInt(m_mirror);
        ar.WriteFloat(m_dist);
    } else {
        LoadedSchema(ar, StaticClass());
        m_flags = ar.ReadDWord();
        m_mirror = ar.ReadInt();
        m_dist = ar.ReadFloat();
    }
}
