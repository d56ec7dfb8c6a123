#include "engine/WalkCogs.h"

#include "engine/C3dView.h"
#include "engine/Dsound.h"
#include "engine/WalkMode.h"
#include "framework/CFormat.h"
#include "framework/StringUtil.h"
#include "level/CogSymbols.h"
#include "level/GameResources.h"
#include "level/QzlCog.h"
#include "level/QzlSections.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// Surfaces with this flag slide with a "00_slideceiling.cog".
constexpr std::uint32_t kSlidingSurface = 0x400;

// The symbols of one cog, with the cog's own values by the same index.
struct CWalkCog {
    const CQzlCog& m_cog;
    std::vector<std::string> m_labels;
    std::vector<std::string> m_defaults;
    std::vector<std::string> m_types;

    std::size_t Count() const { return m_types.size(); }
    bool HasValue(std::size_t i) const { return i < m_cog.m_values.size(); }
    const std::string& Value(std::size_t i) const { return m_cog.m_values[i]; }
    bool Is(std::size_t i, const char* type) const { return m_types[i] == type; }
    // The cog's value when it has one at i, else the symbol's default.
    const std::string& ValueOrDefault(std::size_t i) const
    {
        return HasValue(i) ? Value(i) : m_defaults[i];
    }
};

bool Contains(std::string_view text, std::string_view word)
{
    return FindNoCase(text, word) != std::string_view::npos;
}

// A float read from a value or default; text that is no finite number gives 0.
float ReadFloat(const std::string& text)
{
    const double value = AtofC(text.c_str());
    return std::isfinite(value) ? static_cast<float>(value) : 0.0f;
}

bool ValidThing(const CQzlSections& level, int i)
{
    return i >= 0 && static_cast<std::size_t>(i) < level.m_things.size() &&
           level.m_things[static_cast<std::size_t>(i)] != nullptr;
}

CQzlSurface* SurfaceAt(CQzlSections& level, int i)
{
    if (i < 0 || static_cast<std::size_t>(i) >= level.m_surfaces.size())
        return nullptr;
    return level.m_surfaces[static_cast<std::size_t>(i)].get();
}

// "(a/b/c)" as three floats; the parts that cannot be read stay 0.
CVector3 ReadTriple(const char* text)
{
    float a = 0.0f;
    float b = 0.0f;
    float c = 0.0f;
    ScanC(text, "(%f/%f/%f)", &a, &b, &c);
    return {a, b, c};
}

// A door, elevator or funicular cog: the things it moves get the cog's speed and sleep time, its
// surfaces switch the first thing it names, and a door switch pairs its first two doors.
void ReadMoverCog(CQzlSections& level, const CWalkCog& cog)
{
    const bool doorSwitch = EqualsNoCase(cog.m_cog.m_script, "00_doorswitch.cog");
    std::vector<int> doors;
    int currentThing = -1;
    int currentSurface = -1;
    for (std::size_t i = 0; i < cog.Count(); ++i) {
        if (cog.HasValue(i) && cog.Is(i, "thing"))
            currentThing = AtoiC(cog.Value(i).c_str());
        if (cog.HasValue(i) && cog.Is(i, "surface"))
            currentSurface = AtoiC(cog.Value(i).c_str());
        if (ValidThing(level, currentThing)) {
            // Each door once: a door listed twice would be made its own partner.
            if (doorSwitch && std::find(doors.begin(), doors.end(), currentThing) == doors.end())
                doors.push_back(currentThing);
            CQzlThing& thing = *level.m_things[static_cast<std::size_t>(currentThing)];
            for (std::size_t j = 0; j < cog.Count(); ++j) {
                if (!cog.Is(j, "float") && !cog.Is(j, "flex"))
                    continue;
                const std::string& name = cog.m_labels[j];
                if (Contains(name, "speed"))  // also "speedeasy" and "movespeed"
                    thing.m_runtimeFloat[0] = ReadFloat(cog.ValueOrDefault(j));
                else if (Contains(name, "sleepeasy") || Contains(name, "sleeptime"))
                    thing.m_runtimeFloat[1] = ReadFloat(cog.ValueOrDefault(j));
            }
        }
        if (CQzlSurface* surface = SurfaceAt(level, currentSurface)) {
            for (std::size_t j = 0; j < cog.Count(); ++j) {
                if (cog.Is(j, "thing") && cog.HasValue(j)) {
                    const int triggered = AtoiC(cog.Value(j).c_str());
                    if (ValidThing(level, triggered))
                        surface->m_triggeredThing = triggered;
                    break;
                }
            }
        }
    }
    if (doors.size() >= 2) {
        level.m_things[static_cast<std::size_t>(doors[0])]->m_runtimeIndex = doors[1];
        level.m_things[static_cast<std::size_t>(doors[1])]->m_runtimeIndex = doors[0];
    }
}

// A force-field switch hums at the centre of each of its switch surfaces.
void ReadForceFieldCog(C3dView& view, const CWalkCog& cog)
{
    for (std::size_t i = 0; i < cog.Count(); ++i) {
        if (!cog.Is(i, "surface") || !Contains(cog.m_labels[i], "switch") || !cog.HasValue(i))
            continue;
        const CQzlSurface* surface = SurfaceAt(view.GetLevel(), AtoiC(cog.Value(i).c_str()));
        if (surface == nullptr)
            continue;
        const CVector3 centre = (surface->m_box.min + surface->m_box.max) * 0.5f;
        view.m_sound->Play("forcefieldhum01.wav", centre, 1.0f, kPlayLooping);
    }
}

// The first two corners of a surface with their texture coordinates; false when it has fewer or
// they name no world vertex.
bool FirstEdge(const CQzlSections& level, const CQzlSurface& surface, CVector3 corner[2],
               float u[2], float v[2])
{
    if (surface.m_vertices.size() < 2)
        return false;
    for (int k = 0; k < 2; ++k) {
        const CQzlVertex& vertex = surface.m_vertices[static_cast<std::size_t>(k)];
        const int w = vertex.m_worldVertex;
        if (w < 0 || static_cast<std::size_t>(w) >= level.m_worldVertices.size())
            return false;
        const CWorldVertex& world = level.m_worldVertices[static_cast<std::size_t>(w)];
        corner[k] = {world.x, world.y, world.z};
        u[k] = vertex.m_u;
        v[k] = vertex.m_v;
    }
    return true;
}

void ReadConveyorCog(CQzlSections& level, const CWalkCog& cog)
{
    CVector3 direction{0.0f, 0.0f, 1.0f};
    float speed = 1.0f;
    for (std::size_t i = 0; i < cog.Count(); ++i) {
        if (!cog.HasValue(i))
            continue;
        if (cog.Is(i, "vector")) {
            const CVector3 abc = ReadTriple(cog.Value(i).c_str());
            direction = {abc.x, abc.z, abc.y};
        } else if (cog.Is(i, "float") || cog.Is(i, "flex")) {
            speed = ReadFloat(cog.Value(i));
        }
    }
    for (std::size_t i = 0; i < cog.Count(); ++i) {
        if (!cog.Is(i, "surface") || !cog.HasValue(i))
            continue;
        CQzlSurface* surface = SurfaceAt(level, AtoiC(cog.Value(i).c_str()));
        CVector3 corner[2];
        float u[2];
        float v[2];
        if (surface == nullptr || !FirstEdge(level, *surface, corner, u, v))
            continue;
        const CScrollSpeed scroll = ConveyorScrollSpeed(corner[0], corner[1], u[0], v[0], u[1],
                                                        v[1], surface->m_normal, direction, speed);
        surface->m_scrollU = scroll.u;
        surface->m_scrollV = scroll.v;
    }
}

// A sliding ceiling's two values are the speeds of every surface marked to slide.
void ReadSlideCeilingCog(CQzlSections& level, const CWalkCog& cog)
{
    if (cog.m_cog.m_values.size() != 2)
        return;
    const float p = ReadFloat(cog.m_cog.m_values[0]);
    const float q = ReadFloat(cog.m_cog.m_values[1]);
    for (const auto& surface : level.m_surfaces) {
        if (surface && (surface->m_surfaceFlags & kSlidingSurface) != 0) {
            surface->m_scrollU = -p * 0.001f;
            surface->m_scrollV = -q * 0.001f;
        }
    }
}

// Animated surfaces: each frame rate starts the cels of the surfaces named before it.
void ReadSurfaceAnimationCog(C3dView& view, const CWalkCog& cog, int firstCel)
{
    std::vector<int> surfaces;
    for (std::size_t i = 0; i < cog.Count(); ++i) {
        if (!cog.HasValue(i))
            continue;
        if (cog.Is(i, "surface")) {
            surfaces.push_back(AtoiC(cog.Value(i).c_str()));
        } else if (cog.Is(i, "float")) {
            const float rate = ReadFloat(cog.Value(i));
            for (const int index : surfaces) {
                const CQzlSurface* surface = SurfaceAt(view.GetLevel(), index);
                if (surface != nullptr && surface->m_texture != nullptr)
                    StartTextureAnimation(view, *surface->m_texture, firstCel, rate, 1);
            }
        }
    }
}

}  // namespace

CScrollSpeed ConveyorScrollSpeed(const CVector3& corner0, const CVector3& corner1, float u0,
                                 float v0, float u1, float v1, const CVector3& n,
                                 const CVector3& direction, float speed)
{
    const CVector3 edge = corner1 - corner0;
    const CVector3 textureEdge{u1 - u0, v1 - v0, 0.0f};
    const float edgeLength = VectorLength(edge);
    const float textureLength = VectorLength(textureEdge);
    const float directionLength = VectorLength(direction);
    // Without an edge, a texture edge or a direction there is no way to scroll.
    if (!(edgeLength > 0.0f) || !(textureLength > 0.0f) || !(directionLength > 0.0f) ||
        !std::isfinite(edgeLength) || !std::isfinite(textureLength) ||
        !std::isfinite(directionLength) || !std::isfinite(speed) || !std::isfinite(VectorLength(n)))
        return {};
    const CVector3 e = edge / edgeLength;
    const CVector3 t = textureEdge / textureLength;
    const CVector3 c = direction / directionLength;
    float cosA = Dot(c, e);
    const float s = Dot(direction, VectorCross(e, n));
    if (s > 0.0f)
        cosA = -cosA;
    // Rounding may take the cosine just past 1.
    const float angle = std::acos(std::clamp(cosA, -1.0f, 1.0f));
    float rx = t.x * std::cos(angle) - t.y * std::sin(angle);
    float ry = t.x * std::sin(angle) + t.y * std::cos(angle);
    if (s <= 0.0f && (t.x <= 0.0f || t.y <= 0.0f)) {
        rx = -rx;
        ry = -ry;
    }
    CScrollSpeed scroll{rx * speed * 0.01f, ry * speed * 0.01f};
    if (!std::isfinite(scroll.u) || !std::isfinite(scroll.v))
        return {};
    return scroll;
}

int CdTrackFromRandom(int r, int count)
{
    if (count < 1)
        return 0;
    const std::int64_t track = static_cast<std::int64_t>(r) * count / 32767 + 1;
    return static_cast<int>(std::clamp<std::int64_t>(track, 1, count));
}

void ReadWalkCogs(C3dView& view)
{
    const CGameResources& game = view.GetGame();
    if (game.m_archive == nullptr)
        return;
    CQzlSections& level = view.GetLevel();
    for (const auto& record : level.m_cogs) {
        if (!record)
            continue;
        CWalkCog cog{*record, {}, {}, {}};
        GetCogSymbols(level, game, *record, cog.m_labels, cog.m_defaults, cog.m_types);
        const std::string& script = record->m_script;
        if (Contains(script, "door") || Contains(script, "elev") || Contains(script, "funicular"))
            ReadMoverCog(level, cog);
        else if (EqualsNoCase(script, "10_ffieldswitch.cog"))
            ReadForceFieldCog(view, cog);
        else if (EqualsNoCase(script, "00_conveyor.cog") || EqualsNoCase(script, "12_conveyor.cog"))
            ReadConveyorCog(level, cog);
        else if (EqualsNoCase(script, "00_slideceiling.cog"))
            ReadSlideCeilingCog(level, cog);
        else if (EqualsNoCase(script, "00_surfanim.cog"))
            ReadSurfaceAnimationCog(view, cog, 0);
        else if (EqualsNoCase(script, "01_neonsign.cog"))
            ReadSurfaceAnimationCog(view, cog, 2);
    }
}
