#include "level/QzlSurface.h"

#include "level/RecordIo.h"

QZ_IMPLEMENT_SERIAL(CQzlSurface, 3)

CQzlSurface::CQzlSurface(const CQzlSurface& source, bool copyCorners, bool reverse)
    : CObject(source), m_material(source.m_material), m_surfaceFlags(source.m_surfaceFlags),
      m_faceFlags(source.m_faceFlags), m_geo(source.m_geo), m_light(source.m_light),
      m_tex(source.m_tex), m_adjoin(source.m_adjoin), m_extraLight(source.m_extraLight),
      m_normal(source.m_normal), m_textureWidth(source.m_textureWidth),
      m_textureHeight(source.m_textureHeight), m_xTile(source.m_xTile),
      m_yTile(source.m_yTile), m_plane{source.m_plane[0], source.m_plane[1], source.m_plane[2],
                                       source.m_plane[3]},
      m_box(source.m_box), m_texture(source.m_texture), m_startVertex(source.m_startVertex),
      m_angle(source.m_angle), m_uOffset(source.m_uOffset), m_vOffset(source.m_vOffset),
      m_uScale(source.m_uScale), m_vScale(source.m_vScale), m_mirror(source.m_mirror)
{
    if (!copyCorners)
        return;
    m_vertices.reserve(source.m_vertices.size());
    if (reverse)
        m_vertices.assign(source.m_vertices.rbegin(), source.m_vertices.rend());
    else
        m_vertices.assign(source.m_vertices.begin(), source.m_vertices.end());
}

// Schema 1: material .. corners, normal. Schema 2 adds angle, u and v offset, u and v scale after
// the corners; schema 3 adds the start vertex after those.
void CQzlSurface::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteInt(m_material);
        ar.WriteDWord(m_surfaceFlags);
        ar.WriteDWord(m_faceFlags);
        ar.WriteInt(m_geo);
        ar.WriteInt(m_light);
        ar.WriteInt(m_tex);
        ar.WriteInt(m_adjoin);
        ar.WriteFloat(m_extraLight);
        ar.WriteObArray(m_vertices);
        ar.WriteFloat(m_angle);
        ar.WriteFloat(m_uOffset);
        ar.WriteFloat(m_vOffset);
        ar.WriteFloat(m_uScale);
        ar.WriteFloat(m_vScale);
        ar.WriteInt(m_startVertex);
        WriteVector3(ar, m_normal);
        return;
    }

    const std::uint16_t schema = LoadedSchema(ar, StaticClass());
    m_material = ar.ReadInt();
    m_surfaceFlags = ar.ReadDWord();
    m_faceFlags = ar.ReadDWord();
    m_geo = ar.ReadInt();
    m_light = ar.ReadInt();
    m_tex = ar.ReadInt();
    m_adjoin = ar.ReadInt();
    m_extraLight = ar.ReadFloat();
    m_vertices.clear();
    ar.ReadObArray(m_vertices);
    if (schema >= 2) {
        m_angle = ar.ReadFloat();
        m_uOffset = ar.ReadFloat();
        m_vOffset = ar.ReadFloat();
        m_uScale = ar.ReadFloat();
        m_vScale = ar.ReadFloat();
    }
    if (schema >= 3)
        m_startVertex = ar.ReadInt();
    m_normal = ReadVector3(ar);
}
