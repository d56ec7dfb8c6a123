#include "level/QzlHeader.h"

#include "framework/Archive.h"

QZ_IMPLEMENT_SERIAL(CQzlHeader, 1)

namespace {

template <std::size_t N>
void WriteFloats(CArchive& ar, const float (&values)[N])
{
    for (float v : values)
        ar.WriteFloat(v);
}

template <std::size_t N>
void ReadFloats(CArchive& ar, float (&values)[N])
{
    for (float& v : values)
        v = ar.ReadFloat();
}

}  // namespace

// The header has only ever had schema 1 and is stored as bare data (no object tag), so the
// archive's object schema is not consulted here.
void CQzlHeader::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteInt(m_version);
        ar.WriteFloat(m_worldGravity);
        ar.WriteFloat(m_ceilingSkyZ);
        ar.WriteFloat(m_horizonDistance);
        WriteFloats(ar, m_horizonSkyOffset);
        WriteFloats(ar, m_ceilingSkyOffset);
        WriteFloats(ar, m_mipmapDistances);
        WriteFloats(ar, m_lodDistances);
        ar.WriteFloat(m_horizonPixelsPerRev);
        ar.WriteFloat(m_perspectiveDistance);
        ar.WriteFloat(m_gouraudDistance);
    } else {
        m_version = ar.ReadInt();
        m_worldGravity = ar.ReadFloat();
        m_ceilingSkyZ = ar.ReadFloat();
        m_horizonDistance = ar.ReadFloat();
        ReadFloats(ar, m_horizonSkyOffset);
        ReadFloats(ar, m_ceilingSkyOffset);
        ReadFloats(ar, m_mipmapDistances);
        ReadFloats(ar, m_lodDistances);
        m_horizonPixelsPerRev = ar.ReadFloat();
        m_perspectiveDistance = ar.ReadFloat();
        m_gouraudDistance = ar.ReadFloat();
    }
}
