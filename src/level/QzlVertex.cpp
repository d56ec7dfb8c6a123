#include "level/QzlVertex.h"

#include "level/RecordIo.h"

QZ_IMPLEMENT_SERIAL(CQzlVertex, 3)

CQzlVertex::CQzlVertex(const CQzlVertex& other)
    : CObject(other), m_worldVertex(other.m_worldVertex),
      m_textureVertex(other.m_textureVertex), m_intensity{other.m_intensity[0],
                                                          other.m_intensity[1],
                                                          other.m_intensity[2],
                                                          other.m_intensity[3]},
      m_u(other.m_u), m_v(other.m_v)
{}

CQzlVertex& CQzlVertex::operator=(const CQzlVertex& other)
{
    if (this != &other) {
        m_worldVertex = other.m_worldVertex;
        m_textureVertex = other.m_textureVertex;
        for (int i = 0; i < 4; ++i)
            m_intensity[i] = other.m_intensity[i];
        m_u = other.m_u;
        m_v = other.m_v;
        m_marked = 0;
        m_spareIndex = -1;
    }
    return *this;
}

// Schema 1: world vertex, texture vertex, one intensity for all four.
// Schema 2: world vertex, texture vertex, four intensities.
// Schema 3: world vertex, u, v, four intensities.
void CQzlVertex::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteInt(m_worldVertex);
        ar.WriteFloat(m_u);
        ar.WriteFloat(m_v);
        for (float intensity : m_intensity)
            ar.WriteFloat(intensity);
        return;
    }

    const std::uint16_t schema = LoadedSchema(ar, StaticClass());
    m_worldVertex = ar.ReadInt();
    if (schema >= 3) {
        m_u = ar.ReadFloat();
        m_v = ar.ReadFloat();
    } else {
        m_textureVertex = ar.ReadInt();
    }
    if (schema == 1) {
        const float intensity = ar.ReadFloat();
        for (float& value : m_intensity)
            value = intensity;
    } else {
        for (float& value : m_intensity)
            value = ar.ReadFloat();
    }
}
