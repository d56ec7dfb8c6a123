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

std::unique_ptr<CQzlThing> CopyStoredThing(const CQzlThing& source)
{
    auto thing = std::make_unique<CQzlThing>();
    thing->m_template = source.m_template;
    thing->m_name = source.m_name;
    thing->m_position = source.m_position;
    thing->m_pitch = source.m_pitch;
    thing->m_yaw = source.m_yaw;
    thing->m_roll = source.m_roll;
    thing->m_sector = source.m_sector;
    thing->m_spareIndex = source.m_spareIndex;
    thing->m_thingFlags = source.m_thingFlags;
    thing->m_velocity = source.m_velocity;
    thing->m_frames = source.m_frames;
    thing->m_aiClass = source.m_aiClass;
    return thing;
}
