#include "level/QzlSector.h"

#include "level/RecordIo.h"

QZ_IMPLEMENT_SERIAL(CQzlSector, 2)

// Schema 1 has no group name.
void CQzlSector::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteInt(m_number);
        ar.WriteDWord(m_flags);
        ar.WriteInt(m_colormap);
        ar.WriteFloat(m_ambientLight);
        ar.WriteFloat(m_extraLight);
        ar.WriteInt(m_sound);
        ar.WriteFloat(m_soundVolume);
        for (float t : m_tint)
            ar.WriteFloat(t);
        WriteBox(ar, m_boundBox);
        WriteBox(ar, m_collideBox);
        WriteVector3(ar, m_center);
        ar.WriteFloat(m_radius);
        ar.WriteString(m_groupName);
        ar.WriteIntList(m_surfaces);
        return;
    }

    const std::uint16_t schema = LoadedSchema(ar, StaticClass());
    m_number = ar.ReadInt();
    m_flags = ar.ReadDWord();
    m_colormap = ar.ReadInt();
    m_ambientLight = ar.ReadFloat();
    m_extraLight = ar.ReadFloat();
    m_sound = ar.ReadInt();
    m_soundVolume = ar.ReadFloat();
    for (float& t : m_tint)
        t = ar.ReadFloat();
    m_boundBox = ReadBox(ar);
    m_collideBox = ReadBox(ar);
    m_center = ReadVector3(ar);
    m_radius = ar.ReadFloat();
    if (schema >= 2)
        m_groupName = ar.ReadString();
    ar.ReadIntList(m_surfaces);
}

int CQzlSector::FindSortedIndex(std::int32_t value, int& position) const
{
    int low = 0;
    int high = static_cast<int>(m_visible.size()) - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        const std::int32_t element = m_visible[static_cast<std::size_t>(middle)];
        if (element < value) {
            low = middle + 1;
        } else if (element > value) {
            high = middle - 1;
        } else {
            position = middle;
            return 1;
        }
    }
    position = low;
    return 0;
}

int CQzlSector::InsertSortedIndex(std::int32_t value)
{
    int position = 0;
    if (!FindSortedIndex(value, position))
        m_visible.insert(m_visible.begin() + position, value);
    return position;
}
