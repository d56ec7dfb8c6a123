#include "level/QzlSector.h"

#include <algorithm>

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
    // The set holds distinct values: the first element not below value is the match or the
    // insertion point.
    const auto it = std::lower_bound(m_visible.begin(), m_visible.end(), value);
    position = static_cast<int>(it - m_visible.begin());
    return it != m_visible.end() && *it == value ? 1 : 0;
}

int CQzlSector::InsertSortedIndex(std::int32_t value)
{
    int position = 0;
    if (!FindSortedIndex(value, position))
        m_visible.insert(m_visible.begin() + position, value);
    return position;
}
