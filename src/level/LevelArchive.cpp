#include "level/LevelArchive.h"

#include "framework/Archive.h"
#include "framework/CFormat.h"
#include "level/QzlSections.h"
#include "math/Rounding.h"

#include <string>

int LevelTagVersion(const std::string& tag)
{
    if (tag.size() <= 2)
        return 0;
    return AtoiC(tag.c_str() + 2);
}

namespace {

// About the bytes the records of level take when stored: a little more than the fixed part of each
// record, so that the store's buffer is rarely grown.
std::size_t StoredSizeEstimate(const CQzlSections& level)
{
    constexpr std::size_t kCorner = 32;  // tag, world vertex, u, v and four intensities
    std::size_t bytes = 4096;
    for (const auto& surface : level.m_surfaces)
        bytes += 80 + surface->m_vertices.size() * kCorner;
    for (const auto& sector : level.m_sectors)
        bytes += 128 + sector->m_groupName.size() + sector->m_surfaces.size() * 4;
    for (const auto& thing : level.m_things)
        bytes += 160 + thing->m_frames.size() * sizeof(CWorldVertex);
    bytes += level.m_materials.size() * 64 + level.m_adjoins.size() * 16 +
             (level.m_cogs.size() + level.m_templates.size()) * 128;
    bytes += (level.m_worldVertices.size() + level.m_bookmarks.size()) * sizeof(CWorldVertex);
    return bytes;
}

void StoreLevel(CQzlSections& level, CArchive& ar, int& version)
{
    version = kLevelArchiveVersion;
    ar.Reserve(StoredSizeEstimate(level));
    level.m_gameTag = "QZ5";
    ar.WriteString(level.m_gameTag);

    ar.WriteObArray(level.m_materials);
    ar.WriteObArray(level.m_adjoins);
    ar.WriteObArray(level.m_surfaces);
    ar.WriteObArray(level.m_sectors);
    ar.WriteObArray(level.m_cogs);
    ar.WriteObArray(level.m_templates);
    ar.WriteObArray(level.m_things);

    level.m_textureVertices.clear();

    ar.WriteStringList(level.m_notices);
    level.m_header.Serialize(ar);
    ar.WriteStringList(level.m_sounds);
    ar.WriteStringList(level.m_colormaps);
    ar.WriteRawArray(level.m_worldVertices);
    ar.WriteRawArray(level.m_textureVertices);
    ar.WriteStringList(level.m_aiClasses);
    ar.WriteStringList(level.m_models);
    ar.WriteStringList(level.m_sprites);
    ar.WriteStringList(level.m_keyframes);
    ar.WriteStringList(level.m_puppets);
    ar.WriteStringList(level.m_soundClasses);
    ar.WriteStringList(level.m_cogScripts);
    level.m_levelFiles.Serialize(ar);
    ar.WriteRawArray(level.m_bookmarks);

    level.m_gameTag = "QZ";
}

// Older files kept texture coordinates in a shared table; give every corner its own u and v.
void ConvertTextureVertices(CQzlSections& level)
{
    const auto count = static_cast<std::int64_t>(level.m_textureVertices.size());
    for (std::size_t s = 0; s < level.m_surfaces.size(); ++s) {
        for (CQzlVertex& corner : level.m_surfaces[s]->m_vertices) {
            const std::int64_t t = corner.m_textureVertex;
            if (t < 0 || t >= count)
                throw CArchiveException(CArchiveException::badIndex,
                                        "Surface " + std::to_string(s) + " names texture vertex " +
                                            std::to_string(t) + ", but the file holds " +
                                            std::to_string(count) + ".");
            const CWorldVertex& tv = level.m_textureVertices[static_cast<std::size_t>(t)];
            corner.m_u = tv.extra[3];
            corner.m_v = tv.extra[4];
            RoundToThousandth(corner.m_u, corner.m_v);
        }
    }
}

void LoadLevel(CQzlSections& level, CArchive& ar, int& version)
{
    version = kLevelArchiveVersion;

    level.m_gameTag = ar.ReadString();
    ar.ReadObArray(level.m_materials);
    ar.ReadObArray(level.m_adjoins);
    ar.ReadObArray(level.m_surfaces);
    ar.ReadObArray(level.m_sectors);
    ar.ReadObArray(level.m_cogs);
    ar.ReadObArray(level.m_templates);
    ar.ReadObArray(level.m_things);

    version = LevelTagVersion(level.m_gameTag);
    if (version > kLevelArchiveVersion)
        throw CArchiveException(CArchiveException::badSchema,
                                "The level was saved by a newer editor (version " +
                                    std::to_string(version) + ").");

    ar.ReadStringList(level.m_notices);
    level.m_header.Serialize(ar);
    ar.ReadStringList(level.m_sounds);
    ar.ReadStringList(level.m_colormaps);
    ar.ReadRawArray(level.m_worldVertices);
    ar.ReadRawArray(level.m_textureVertices);
    ar.ReadStringList(level.m_aiClasses);
    ar.ReadStringList(level.m_models);
    ar.ReadStringList(level.m_sprites);
    ar.ReadStringList(level.m_keyframes);
    ar.ReadStringList(level.m_puppets);
    ar.ReadStringList(level.m_soundClasses);
    ar.ReadStringList(level.m_cogScripts);
    if (version >= 1) {
        level.m_levelFiles.Serialize(ar);
        ar.ReadRawArray(level.m_bookmarks);
    } else {
        level.m_levelFiles.m_entries.clear();
        level.m_bookmarks.clear();
    }

    // The use counts are not stored; the 3D view counts the corners again when it rebuilds.
    level.m_useCounts.assign(level.m_worldVertices.size(), 0);

    if (version == 1) {
        for (CWorldVertex& b : level.m_bookmarks) {
            b.extra[3] = 0.0f;
            b.extra[4] = 1.0f;
            b.extra[5] = 0.0f;
        }
    }
    if (version < 4)
        ConvertTextureVertices(level);
    if (version < 5) {
        for (CWorldVertex& b : level.m_bookmarks) {
            b.x *= 0.02f;
            b.y *= 0.02f;
            b.z *= 0.02f;
        }
    }
    level.m_gameTag = "QZ";
}

}  // namespace

void SerializeLevel(CQzlSections& level, CArchive& ar, int& version)
{
    if (ar.IsStoring())
        StoreLevel(level, ar, version);
    else
        LoadLevel(level, ar, version);
}
