#include "level/QzlThing.h"

#include "level/RecordIo.h"

QZ_IMPLEMENT_SERIAL(CQzlThing, 2)

// Schema 1 has no spare index.
void CQzlThing::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteString(m_template);
        ar.WriteString(m_name);
        ar.WriteFloat(m_pitch);
        ar.WriteFloat(m_yaw);
        ar.WriteFloat(m_roll);
        WriteVector3(ar, m_position);
        WriteVector3(ar, m_velocity);
        ar.WriteInt(m_sector);
        ar.WriteDWord(m_thingFlags);
        ar.WriteString(m_aiClass);
        ar.WriteInt(m_spareIndex);
        ar.WriteRawArray(m_frames);
        return;
    }

    const std::uint16_t schema = LoadedSchema(ar, StaticClass());
    m_template = ar.ReadString();
    m_name = ar.ReadString();
    m_pitch = ar.ReadFloat();
    m_yaw = ar.ReadFloat();
    m_roll = ar.ReadFloat();
    m_position = ReadVector3(ar);
    m_velocity = ReadVector3(ar);
    m_sector = ar.ReadInt();
    m_thingFlags = ar.ReadDWord();
    m_aiClass = ar.ReadString();
    if (schema >= 2)
        m_spareIndex = ar.ReadInt();
    ar.ReadRawArray(m_frames);
}
