#include "level/QzlWriter.h"

#include "framework/CFormat.h"
#include "framework/Exceptions.h"
#include "framework/FileIO.h"
#include "framework/StringUtil.h"
#include "level/CogSymbols.h"
#include "level/GameResources.h"
#include "level/QzlReader.h"
#include "level/ResourceLists.h"
#include "math/Rounding.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace {

double D(float f)
{
    return static_cast<double>(f);
}

// Counts and indices as the %d of the format (lists of more than INT_MAX entries cannot occur).
int N(std::size_t n)
{
    return n > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(n);
}

std::string Lower(const std::string& s)
{
    return ToLowerAscii(s);
}

// Exact order of texture coordinates; NaN sorts after every number and equals itself.
int CompareCoordinate(float a, float b)
{
    const bool nanA = std::isnan(a);
    const bool nanB = std::isnan(b);
    if (nanA || nanB)
        return nanA == nanB ? 0 : (nanA ? 1 : -1);
    return a < b ? -1 : (a > b ? 1 : 0);
}

int ComparePair(float u1, float v1, float u2, float v2)
{
    const int c = CompareCoordinate(u1, u2);
    return c != 0 ? c : CompareCoordinate(v1, v2);
}

// Refuses a level whose sectors name surfaces that do not exist: the writer would have to read
// past the surface list. A sound that does not exist is written as none (see WriteSectors).
void CheckSectors(const CQzlSections& level)
{
    const std::size_t surfaces = level.m_surfaces.size();
    for (std::size_t s = 0; s < level.m_sectors.size(); ++s) {
        const CQzlSector& sector = *level.m_sectors[s];
        for (const std::int32_t e : sector.m_surfaces)
            if (e < 0 || static_cast<std::size_t>(e) >= surfaces)
                throw CArchiveException(CArchiveException::badIndex,
                                        "Sector " + std::to_string(s) + " lists surface " +
                                            std::to_string(e) + ", but the level holds " +
                                            std::to_string(surfaces) + " surfaces.");
    }
}

class CQzlWriter {
public:
    CQzlWriter(CQzlSections& level, bool varnok) : m_level(level), m_varnok(varnok) {}

    std::string Write()
    {
        m_out.reserve(EstimatedSize());
        WriteBanner();
        WriteHeader();
        WriteSounds();
        WriteMaterials();
        WriteGeoResource();
        WriteSectors();
        WriteNameList("\n######### AI Classes ###########\n", "Section: AICLASS\n",
                      "\nWorld AIClasses ", m_level.m_aiClasses, 0);
        WriteNameList("\n######### Models information ###########\n", "Section: MODELS\n",
                      "\nWorld models ", m_level.m_models, 32);
        WriteNameList("\n######### Sprite information ###########\n", "Section: SPRITES\n",
                      "\nWorld sprites ", m_level.m_sprites, 0);
        WriteNameList("\n######### Keyframe information ###########\n", "Section: KEYFRAMES\n",
                      "\nWorld keyframes ", m_level.m_keyframes, 32);
        WriteNameList("\n######### Animation Classes ###########\n", "Section: ANIMCLASS\n",
                      "\nWorld puppets ", m_level.m_puppets, 0);
        WriteNameList("\n######### Sound (foley) Classes ###########\n", "Section: SOUNDCLASS\n",
                      "\nWorld soundclasses ", m_level.m_soundClasses, 0);
        WriteNameList("\n######### COG scripts ###########\n", "Section: COGSCRIPTS\n",
                      "\nWorld scripts ", m_level.m_cogScripts, 0);
        WriteCogs();
        WriteTemplates();
        WriteThings();
        return std::move(m_out);
    }

private:
    // A little more than the text will take, so that it is built without reallocation.
    std::size_t EstimatedSize() const
    {
        const CQzlSections& L = m_level;
        const std::size_t perCorner = m_varnok ? 52 : 19;
        std::size_t size = 8192 + L.m_worldVertices.size() * 48 + L.m_textureVertices.size() * 32 +
                           L.m_adjoins.size() * 32;
        for (const auto& s : L.m_surfaces)
            size += 128 + s->m_vertices.size() * perCorner;
        for (const auto& s : L.m_sectors) {
            size += 520;
            for (const std::int32_t e : s->m_surfaces)
                if (e >= 0 && static_cast<std::size_t>(e) < L.m_surfaces.size())
                    size += 16 * L.m_surfaces[static_cast<std::size_t>(e)]->m_vertices.size();
        }
        for (const auto& t : L.m_things)
            size += 200 + t->m_aiClass.size() + t->m_frames.size() * 80;
        for (const auto& c : L.m_cogs) {
            size += 16 + c->m_script.size();
            for (const std::string& v : c->m_values)
                size += v.size() + 1;
        }
        for (const auto& t : L.m_templates)
            size += 48 + t->m_name.size() + t->m_basedOn.size() + t->m_params.size();
        for (const auto* list :
             {&L.m_sounds, &L.m_colormaps, &L.m_aiClasses, &L.m_models, &L.m_sprites,
              &L.m_keyframes, &L.m_puppets, &L.m_soundClasses, &L.m_cogScripts})
            for (const std::string& name : *list)
                size += 24 + name.size();
        for (const auto& m : L.m_materials)
            size += 48 + m->m_name.size();
        for (const std::string& n : L.m_notices)
            size += n.size() + 1;
        return size;
    }

    void WriteBanner()
    {
        m_out += "# Level file written by QzEdit, the Korvath & Varnok level editor\n\n";
        m_out += "######    QZ  information ######\n";
        // The product's tag, whatever the level holds: the reader knows the section by it.
        m_out += "SECTION: " + std::string(kQzlGameTag) + "\n";
        m_out += "# Korvath specific data\n\n";
        m_out += "# THIS LEVEL IS NOT MADE, DISTRIBUTED, OR SUPPORTED BY\n";
        m_out += "# " + std::string(kNoticeMarker) + ". Korvath, Varnok and all of their\n";
        m_out += "# elements are trademarks and copyrights of Halvern Software.\n";

        m_out += "#### Copyright information #####\n";
        m_out += "SECTION: COPYRIGHT\n";
        // Each notice line ends with its line feed. An empty one would end the block early and
        // lose the lines after it, so it is left out.
        for (const std::string& notice : m_level.m_notices) {
            if (notice.empty() || notice == "\n")
                continue;
            m_out += notice;
            if (notice.back() != '\n')
                m_out += '\n';
        }
    }

    void WriteHeader()
    {
        const CQzlHeader& h = m_level.m_header;
        m_out += "\n###### Header information ######\n";
        m_out += "SECTION: HEADER\n";
        m_out += "# version and global constant settings\n";
        m_out += FormatC("Version           %d\n", h.m_version);
        m_out += FormatC("World Gravity    %5.2f\n", D(h.m_worldGravity));
        m_out += FormatC("Ceiling Sky Z    %10.6f\n", D(h.m_ceilingSkyZ));
        m_out += FormatC("Horizon Distance %10.6f\n", D(h.m_horizonDistance));
        m_out += FormatC("Horizon Pixels per Rev %10.6f\n", D(h.m_horizonPixelsPerRev));
        m_out += FormatC("Horizon Sky Offset   %10.6f %10.6f\n", D(h.m_horizonSkyOffset[0]),
                         D(h.m_horizonSkyOffset[1]));
        m_out += FormatC("Ceiling Sky Offset   %10.6f %10.6f\n", D(h.m_ceilingSkyOffset[0]),
                         D(h.m_ceilingSkyOffset[1]));
        m_out += FormatC("MipMap Distances     %10.6f %10.6f %10.6f %10.6f\n",
                         D(h.m_mipmapDistances[0]), D(h.m_mipmapDistances[1]),
                         D(h.m_mipmapDistances[2]), D(h.m_mipmapDistances[3]));
        m_out +=
            FormatC("LOD Distances        %10.6f %10.6f %10.6f %10.6f\n", D(h.m_lodDistances[0]),
                    D(h.m_lodDistances[1]), D(h.m_lodDistances[2]), D(h.m_lodDistances[3]));
        m_out += FormatC("Perspective distance  %5.2f\n", D(h.m_perspectiveDistance));
        m_out += FormatC("Gouraud distance      %5.2f\n", D(h.m_gouraudDistance));
    }

    void WriteSounds()
    {
        m_out += "\n###### Sound information  ######\n";
        m_out += "SECTION: SOUNDS\n\n";
        m_out += FormatC("World sounds %d\n", N(m_level.m_sounds.size() + 64));
        for (const std::string& name : m_level.m_sounds)
            m_out += Lower(name) + "\n";
        m_out += "end\n";
    }

    void WriteMaterials()
    {
        m_out += "\n##### Material information #####\n";
        m_out += "SECTION: MATERIALS\n\n";
        m_out += FormatC("World materials %d\n", N(m_level.m_materials.size()));
        m_out += "#num:\tmat:\t\txTile:\t\tyTile:\n";
        for (std::size_t i = 0; i < m_level.m_materials.size(); ++i) {
            const CQzlMaterial& m = *m_level.m_materials[i];
            std::string name = Lower(m.m_name);
            while (!name.empty() && (name.back() == ' ' || name.back() == '\t'))
                name.pop_back();
            m_out +=
                FormatC("%d: %16s %10.6f %10.6f\n", N(i), name.c_str(), D(m.m_xTile), D(m.m_yTile));
        }
        m_out += "end\n";
    }

    void WriteGeoResource()
    {
        const CQzlSections& L = m_level;
        m_out += "\n#### Geomtry Resources Info ####\n";
        m_out += "SECTION: GEORESOURCE\n\n";

        m_out += "#------ Palette Subsection -----\n";
        m_out += FormatC("World Colormaps %d\n", N(L.m_colormaps.size()));
        for (std::size_t i = 0; i < L.m_colormaps.size(); ++i)
            m_out += FormatC("%d: %14s\n", N(i), Lower(L.m_colormaps[i]).c_str());

        m_out += "\n#----- Vertices Subsection -----\n";
        m_out += FormatC("World vertices %d\n", N(L.m_worldVertices.size()));
        m_out += "#num:\tvertex:\n";
        for (std::size_t i = 0; i < L.m_worldVertices.size(); ++i) {
            const CWorldVertex& v = L.m_worldVertices[i];
            m_out += FormatC("%d: %10.6f %10.6f %10.6f\n", N(i), D(v.x), D(v.z), D(v.y));
        }

        m_out += "\n#-- Texture Verts Subsection ---\n";
        m_out += FormatC("World texture vertices %d\n", N(L.m_textureVertices.size()));
        m_out += "#num:\tu:\tv:\n";
        for (std::size_t i = 0; i < L.m_textureVertices.size(); ++i) {
            const CWorldVertex& t = L.m_textureVertices[i];
            m_out += FormatC("%d: %10.3f %10.3f\n", N(i), D(t.extra[3]), D(t.extra[4]));
        }

        m_out += "\n#------ Adjoins Subsection -----\n";
        m_out += FormatC("World adjoins %d\n", N(L.m_adjoins.size()));
        m_out += "#num:\tflags:\tmirror:\tdist:\n";
        for (std::size_t i = 0; i < L.m_adjoins.size(); ++i) {
            const CQzlAdjoin& a = *L.m_adjoins[i];
            m_out += FormatC("%d: 0x%x %d %5.2f\n", N(i), a.m_flags, a.m_mirror, D(a.m_dist));
        }

        m_out += "\n#----- Surfaces Subsection -----\n";
        m_out += FormatC("World surfaces %d\n", N(L.m_surfaces.size()));
        m_out += "#num:\tmat:\tsurfflags:\tfaceflags:\tgeo:\tlight:\ttex:\tadjoin:\textralight:"
                 "\tnverts:\tvertices:\t\t\tintensities:\n";
        for (std::size_t i = 0; i < L.m_surfaces.size(); ++i)
            WriteSurface(N(i), *L.m_surfaces[i]);

        m_out += "\n#--- Surface normals ---\n";
        for (std::size_t i = 0; i < L.m_surfaces.size(); ++i) {
            const CVector3& n = L.m_surfaces[i]->m_normal;
            m_out += FormatC("%d: %10.6f %10.6f %10.6f\n", N(i), D(n.x), D(n.z), D(n.y));
        }
    }

    void WriteSurface(int index, const CQzlSurface& s)
    {
        m_out += FormatC("%d:   %d   0x%x   0x%x  %d  %d  %d  %d  %5.2f  %d  ", index, s.m_material,
                         s.m_surfaceFlags, s.m_faceFlags, s.m_geo, s.m_light, s.m_tex, s.m_adjoin,
                         D(s.m_extraLight), N(s.m_vertices.size()));
        for (const CQzlVertex& c : s.m_vertices)
            m_out += FormatC("%d,%d ", c.m_worldVertex, c.m_textureVertex);
        // Each intensity keeps a blank before it, so that values of 100 and more stay separate.
        const int perCorner = m_varnok ? 4 : 1;
        for (const CQzlVertex& c : s.m_vertices)
            for (int k = 0; k < perCorner; ++k)
                m_out += FormatC(" %9.6f", D(c.m_intensity[k]));
        m_out += '\n';
    }

    void WriteSectors()
    {
        const CQzlSections& L = m_level;
        m_out += "\n###### Sector information ######\n";
        m_out += "Section: SECTORS\n";
        m_out += FormatC("\nWorld sectors %d\n", N(L.m_sectors.size()));
        // Distinct world vertices of each sector, in the order their corners name them.
        std::vector<std::size_t> seenIn(L.m_worldVertices.size(), 0);
        std::vector<std::int32_t> vertices;
        for (std::size_t si = 0; si < L.m_sectors.size(); ++si) {
            const CQzlSector& s = *L.m_sectors[si];
            m_out += FormatC("\n\nSECTOR    %d\n", s.m_number);
            m_out += FormatC("FLAGS     0x%x\n", s.m_flags);
            m_out += FormatC("AMBIENT LIGHT  %5.2f\n", D(s.m_ambientLight));
            m_out += FormatC("EXTRA LIGHT    %5.2f\n", D(s.m_extraLight));
            m_out += FormatC("COLORMAP  %d\n", s.m_colormap);
            m_out +=
                FormatC("TINT %5.2f %5.2f %5.2f\n", D(s.m_tint[0]), D(s.m_tint[1]), D(s.m_tint[2]));
            const CBoundingBox& b = s.m_boundBox;
            m_out += FormatC("BOUNDBOX   %10.6f %10.6f %10.6f %10.6f %10.6f %10.6f\n", D(b.min.x),
                             D(b.min.z), D(b.min.y), D(b.max.x), D(b.max.z), D(b.max.y));
            if (s.m_flags & 0x1000) {
                const CBoundingBox& c = s.m_collideBox;
                m_out +=
                    FormatC("COLLIDEBOX %10.6f %10.6f %10.6f %10.6f %10.6f %10.6f\n", D(c.min.x),
                            D(c.min.z), D(c.min.y), D(c.max.x), D(c.max.z), D(c.max.y));
            }
            // The file names the sound; one that is not in the list has no name and is written
            // as none, like a negative index.
            if (s.m_sound >= 0 && static_cast<std::size_t>(s.m_sound) < L.m_sounds.size()) {
                m_out += FormatC("SOUND  %s %10.6f\n",
                                 Lower(L.m_sounds[static_cast<std::size_t>(s.m_sound)]).c_str(),
                                 D(s.m_soundVolume));
            }
            m_out += FormatC("CENTER %10.6f %10.6f %10.6f\n", D(s.m_center.x), D(s.m_center.z),
                             D(s.m_center.y));
            m_out += FormatC("RADIUS  %5.2f\n", D(s.m_radius));

            vertices.clear();
            for (const std::int32_t e : s.m_surfaces) {
                for (const CQzlVertex& c : L.m_surfaces[static_cast<std::size_t>(e)]->m_vertices) {
                    const std::int32_t w = c.m_worldVertex;
                    if (w >= 0 && static_cast<std::size_t>(w) < seenIn.size()) {
                        std::size_t& mark = seenIn[static_cast<std::size_t>(w)];
                        if (mark == si + 1)
                            continue;
                        mark = si + 1;
                    } else if (std::find(vertices.begin(), vertices.end(), w) != vertices.end()) {
                        continue;
                    }
                    vertices.push_back(w);
                }
            }
            m_out += FormatC("VERTICES  %d\n", N(vertices.size()));
            for (std::size_t k = 0; k < vertices.size(); ++k)
                m_out += FormatC("%d:  %d\n", N(k), vertices[k]);
            // After the reorder the sector's surfaces are one run; an empty list writes 0.
            const std::int32_t first = s.m_surfaces.empty() ? 0 : s.m_surfaces.front();
            m_out += FormatC("SURFACES  %d  %d\n", first, N(s.m_surfaces.size()));
        }
    }

    void WriteNameList(const char* comment, const char* section, const char* countLine,
                       const std::vector<std::string>& list, std::size_t addition)
    {
        m_out += comment;
        m_out += section;
        m_out += countLine;
        m_out += FormatC("%d\n", N(list.size() + addition));
        for (std::size_t i = 0; i < list.size(); ++i)
            m_out += FormatC("%d: %s\n", N(i), Lower(list[i]).c_str());
        m_out += "end\n";
    }

    void WriteCogs()
    {
        const CQzlSections& L = m_level;
        m_out += "\n######### COG placement ########\n";
        m_out += "Section: COGS\n";
        m_out += FormatC("\nWorld cogs %d\n", N(L.m_cogs.size() + L.m_cogScripts.size()));
        m_out += "#Num\tScript          Symbol values\n";
        for (std::size_t i = 0; i < L.m_cogs.size(); ++i) {
            const CQzlCog& cog = *L.m_cogs[i];
            m_out += FormatC("%d: %s ", N(i), Lower(cog.m_script).c_str());
            for (const std::string& value : cog.m_values)
                m_out += Lower(value) + " ";
            m_out += '\n';
        }
        m_out += "end\n";
    }

    void WriteTemplates()
    {
        const CQzlSections& L = m_level;
        m_out += "\n##### Templates information ####\n";
        m_out += "Section: TEMPLATES\n";
        m_out += FormatC("\nWorld templates %d\n", N(L.m_templates.size()));
        m_out += "#Name:                Based On:             Params:\n";
        for (const auto& t : L.m_templates) {
            // 22 columns each, as "%-22s", but a name that fills its column still gets a blank
            // after it, so that it does not run into the next field.
            m_out += FormatC("%-21s %-21s %s\n", Lower(t->m_name).c_str(),
                             Lower(t->m_basedOn).c_str(), Lower(t->m_params).c_str());
        }
        m_out += "end\n";
    }

    void WriteThings()
    {
        const CQzlSections& L = m_level;
        m_out += "\n######## Thing placement #######\n";
        m_out += "Section: Things\n";
        m_out += FormatC("\nWorld things %d\n", N(L.m_things.size() + 200));
        m_out += "#num template:        name:           \tX:\t\tY:\t\tZ:\t\tPitch:\t\tYaw:\t\t"
                 "Roll:\t\tSector:\n";
        for (std::size_t i = 0; i < L.m_things.size(); ++i) {
            const CQzlThing& t = *L.m_things[i];
            m_out += FormatC("%3d: %-16s %-16s %11.6f %11.6f %11.6f %11.6f %11.6f %11.6f %3d", N(i),
                             Lower(t.m_template).c_str(), Lower(t.m_name).c_str(),
                             D(t.m_position.x), D(t.m_position.z), D(t.m_position.y), D(t.m_roll),
                             D(t.m_yaw), D(t.m_pitch), t.m_sector);
            if (m_varnok)
                m_out += " -1";
            if (t.m_thingFlags != 0)
                m_out += FormatC(" thingflags=0x%x", t.m_thingFlags);
            const CVector3& v = t.m_velocity;
            if (v.x != 0.0f || v.y != 0.0f || v.z != 0.0f)
                m_out += FormatC(" vel=(%8.6f/%8.6f/%8.6f)", D(v.x), D(v.z), D(v.y));
            if (!t.m_aiClass.empty())
                m_out += " aiclass=" + Lower(t.m_aiClass);
            if (!t.m_frames.empty()) {
                m_out += FormatC(" numframes=%d", N(t.m_frames.size()));
                for (const CWorldVertex& f : t.m_frames)
                    m_out += FormatC(" frame=(%8.6f/%8.6f/%8.6f:%8.6f/%8.6f/%8.6f)", D(f.x), D(f.z),
                                     D(f.y), D(f.extra[0]), D(f.extra[2]), D(f.extra[1]));
            }
            m_out += '\n';
        }
        m_out += "end\n";
    }

    CQzlSections& m_level;
    bool m_varnok;
    std::string m_out;
};

}  // namespace

namespace {

// True when the surfaces can be written in their present order: each sector lists one run of
// consecutive surfaces, and no surface is listed twice.
bool SurfacesLieInRuns(const CQzlSections& level)
{
    std::vector<bool> listed(level.m_surfaces.size(), false);
    for (const auto& sector : level.m_sectors) {
        const std::vector<std::int32_t>& list = sector->m_surfaces;
        for (std::size_t k = 0; k < list.size(); ++k) {
            const auto e = static_cast<std::size_t>(list[k]);
            if (list[k] != list.front() + static_cast<std::int64_t>(k) || listed[e])
                return false;
            listed[e] = true;
        }
    }
    return true;
}

// True when sorting would change nothing: the sectors' runs follow each other from surface 0 in
// sector order, each surface listed once.
bool SurfacesInSectorOrder(const CQzlSections& level)
{
    std::int64_t k = 0;
    for (const auto& sector : level.m_sectors)
        for (const std::int32_t e : sector->m_surfaces)
            if (e != k++)
                return false;
    return true;
}

// The first cog with values whose script is found nowhere (its values cannot be renumbered), or
// -1.
int CogWithoutScript(const CQzlSections& level, const CGameResources& game)
{
    std::vector<std::uint8_t> script;
    for (std::size_t c = 0; c < level.m_cogs.size(); ++c) {
        const CQzlCog* cog = level.m_cogs[c].get();
        if (cog != nullptr && !cog->m_values.empty() &&
            !FindCogScript(level, game, cog->m_script, CogScriptOrder::gameArchiveFirst, script))
            return static_cast<int>(c);
    }
    return -1;
}

}  // namespace

std::string SortSurfacesBySector(CQzlSections& level, const CGameResources& game)
{
    CheckSectors(level);
    if (SurfacesInSectorOrder(level))
        return {};
    // Renumbering the surfaces must renumber every cog value that names one; a cog whose script
    // cannot be read does not say which of its values those are.
    const int blind = CogWithoutScript(level, game);
    if (blind >= 0) {
        const std::string script = level.m_cogs[static_cast<std::size_t>(blind)]->m_script;
        const std::string which =
            "cog " + std::to_string(blind) + " (script \"" + Lower(script) + "\")";
        if (SurfacesLieInRuns(level))
            return "The surfaces kept their order: the values of " + which +
                   " cannot be renumbered without its script.";
        throw CArchiveException(
            CArchiveException::badIndex,
            "The surfaces must be renumbered by sector, but the values of " + which +
                " cannot be renumbered without its script, which neither the game nor the level "
                "holds.");
    }

    const std::size_t count = level.m_surfaces.size();
    std::vector<int> map(count, -1);
    // The new order: an old index, or -1 - k for the k-th copy.
    std::vector<std::int64_t> order;
    order.reserve(count);
    std::vector<std::unique_ptr<CQzlSurface>> copies;
    int k = 0;
    for (const auto& sector : level.m_sectors) {
        for (std::int32_t& e : sector->m_surfaces) {
            const auto old = static_cast<std::size_t>(e);
            if (map[old] < 0) {
                map[old] = k;
                order.push_back(e);
            } else {
                // Listed before: this listing gets a surface of its own.
                auto copy = std::make_unique<CQzlSurface>(*level.m_surfaces[old], true, false);
                copy->m_adjoin = -1;
                order.push_back(-1 - static_cast<std::int64_t>(copies.size()));
                copies.push_back(std::move(copy));
            }
            e = k++;
        }
    }
    for (std::size_t old = 0; old < count; ++old) {
        if (map[old] < 0) {
            map[old] = k++;
            order.push_back(static_cast<std::int64_t>(old));
        }
    }

    std::vector<std::unique_ptr<CQzlSurface>> surfaces;
    surfaces.reserve(order.size());
    for (const std::int64_t o : order)
        surfaces.push_back(o >= 0 ? std::move(level.m_surfaces[static_cast<std::size_t>(o)])
                                  : std::move(copies[static_cast<std::size_t>(-1 - o)]));
    level.m_surfaces = std::move(surfaces);

    RemapCogSymbols(level, game, map, 0);
    return {};
}

int FindTextureVertex(const CQzlSections& level, float u, float v, int& position)
{
    const std::vector<CWorldVertex>& table = level.m_textureVertices;
    int lo = 0;
    int hi = N(table.size()) - 1;
    while (lo <= hi) {
        const int mid = lo + (hi - lo) / 2;
        position = mid;
        const CWorldVertex& e = table[static_cast<std::size_t>(mid)];
        const int c = ComparePair(e.extra[3], e.extra[4], u, v);
        if (c < 0)
            lo = mid + 1;
        else if (c > 0)
            hi = mid - 1;
        else
            return 1;
    }
    position = lo;
    return 0;
}

void BuildTextureVertices(CQzlSections& level)
{
    // The table is the sorted set of every rounded (u, v); collecting first and sorting once
    // gives the same table and positions as inserting pair by pair.
    std::vector<std::pair<float, float>> pairs;
    for (const auto& surface : level.m_surfaces) {
        for (CQzlVertex& c : surface->m_vertices) {
            RoundToThousandth(c.m_u, c.m_v);
            pairs.emplace_back(c.m_u, c.m_v);
        }
    }
    const auto less = [](const std::pair<float, float>& a, const std::pair<float, float>& b) {
        return ComparePair(a.first, a.second, b.first, b.second) < 0;
    };
    const auto same = [](const std::pair<float, float>& a, const std::pair<float, float>& b) {
        return ComparePair(a.first, a.second, b.first, b.second) == 0;
    };
    std::sort(pairs.begin(), pairs.end(), less);
    pairs.erase(std::unique(pairs.begin(), pairs.end(), same), pairs.end());

    level.m_textureVertices.assign(pairs.size(), CWorldVertex{});
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        level.m_textureVertices[i].extra[3] = pairs[i].first;
        level.m_textureVertices[i].extra[4] = pairs[i].second;
    }
    for (const auto& surface : level.m_surfaces) {
        for (CQzlVertex& c : surface->m_vertices) {
            int position = 0;
            FindTextureVertex(level, c.m_u, c.m_v, position);
            c.m_textureVertex = position;
        }
    }
}

std::string WriteQzl(CQzlSections& level, const CGameResources& game, int product,
                     std::string* status)
{
    CheckSectors(level);
    std::string order = SortSurfacesBySector(level, game);
    BuildTextureVertices(level);
    BuildResourceLists(level, game);
    CQzlWriter writer(level, product == 1);
    std::string text = writer.Write();
    if (status != nullptr)
        *status = std::move(order);
    return text;
}

std::string SaveQzlFile(const std::filesystem::path& path, CQzlSections& level,
                        const CGameResources& game, int product)
{
    std::string status;
    const std::string text = WriteQzl(level, game, product, &status);
    WriteFileAtomic(path, std::span<const std::uint8_t>(
                              reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    return status;
}
