// The text level writer: the exact text, the preparations it makes on the level (surface order,
// texture vertices), write -> read -> write, and independence from the user's locale.

#include "GridLevel.h"

#include "framework/Exceptions.h"
#include "framework/StringUtil.h"
#include "level/GameResources.h"
#include "level/QzlReader.h"
#include "level/QzlWriter.h"

#include "support/CommaLocale.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace {

std::span<const std::uint8_t> Bytes(const std::string& text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string Write(CQzlSections& level, int product = 0)
{
    const CGameResources game;
    return WriteQzl(level, game, product);
}

CQzlSections Read(const std::string& text, int product = 0)
{
    CQzlSections level;
    ReadQzl(level, Bytes(text), product);
    return level;
}

// The line of text that begins with start (empty when there is none).
std::string LineStarting(const std::string& text, const std::string& start)
{
    const std::size_t at = text.find("\n" + start);
    if (at == std::string::npos)
        return {};
    return text.substr(at + 1, text.find('\n', at + 1) - at - 1);
}

// Three world vertices and `count` three-corner surfaces; surface i uses material i, so that a
// surface can be recognised after a reorder.
CQzlSections Triangles(int count)
{
    CQzlSections L;
    L.m_gameTag = "QZ";
    L.m_colormaps = {"dflt.cmp"};
    for (const CWorldVertex& v :
         {CWorldVertex{0, 0, 0, {}}, CWorldVertex{1, 0, 0, {}}, CWorldVertex{0, 0, 1, {}}}) {
        L.m_worldVertices.push_back(v);
        L.m_useCounts.push_back(0);
    }
    for (int i = 0; i < count; ++i) {
        L.m_materials.push_back(std::make_unique<CQzlMaterial>("m" + std::to_string(i) + ".mat"));
        auto s = std::make_unique<CQzlSurface>();
        s->m_material = i;
        for (std::int32_t w = 0; w < 3; ++w) {
            CQzlVertex c;
            c.m_worldVertex = w;
            c.m_u = static_cast<float>(w) * 8.0f;
            s->m_vertices.push_back(c);
        }
        L.m_surfaces.push_back(std::move(s));
    }
    return L;
}

void AddSector(CQzlSections& L, std::vector<std::int32_t> surfaces)
{
    auto sector = std::make_unique<CQzlSector>();
    sector->m_number = static_cast<std::int32_t>(L.m_sectors.size());
    sector->m_surfaces = std::move(surfaces);
    L.m_sectors.push_back(std::move(sector));
}

std::vector<std::int32_t> Materials(const CQzlSections& L)
{
    std::vector<std::int32_t> m;
    for (const auto& s : L.m_surfaces)
        m.push_back(s->m_material);
    return m;
}

// A small level that uses every line of the format.
CQzlSections GoldenLevel()
{
    CQzlSections L = Triangles(1);
    L.m_notices = {"Made by us\n"};
    CQzlHeader& h = L.m_header;
    h.m_version = 1;
    h.m_worldGravity = 4.0f;
    h.m_ceilingSkyZ = 15.0f;
    h.m_horizonDistance = 200.0f;
    h.m_horizonPixelsPerRev = 768.0f;
    h.m_horizonSkyOffset[0] = 1.5f;
    h.m_horizonSkyOffset[1] = 2.5f;
    for (int i = 0; i < 4; ++i) {
        h.m_mipmapDistances[i] = static_cast<float>(i + 1);
        h.m_lodDistances[i] = 0.25f * static_cast<float>(i + 1);
    }
    h.m_perspectiveDistance = 2.0f;
    h.m_gouraudDistance = 4.0f;
    L.m_sounds = {"Door.WAV"};
    L.m_materials[0]->m_name = "Stone.MAT  ";
    L.m_materials[0]->m_yTile = 0.5f;
    L.m_worldVertices[2] = CWorldVertex{0, 3, 2, {}};
    CQzlSurface& s = *L.m_surfaces[0];
    s.m_surfaceFlags = 1;
    s.m_faceFlags = 0x22;
    s.m_geo = 4;
    s.m_light = 3;
    s.m_tex = 1;
    s.m_adjoin = 0;
    s.m_extraLight = 0.5f;
    s.m_vertices[1].m_v = 32.5f;
    s.m_vertices[1].m_intensity[0] = 0.5f;
    s.m_vertices[2].m_intensity[0] = 100.0f;
    s.m_normal = {0.0f, 1.0f, 0.0f};
    auto adjoin = std::make_unique<CQzlAdjoin>();
    adjoin->m_mirror = 0;
    adjoin->m_dist = 1.25f;
    L.m_adjoins.push_back(std::move(adjoin));
    AddSector(L, {0});
    CQzlSector& sector = *L.m_sectors[0];
    sector.m_number = 5;
    sector.m_flags = 0x1000;
    sector.m_ambientLight = 0.5f;
    sector.m_extraLight = 0.25f;
    sector.m_tint[0] = 0.1f;
    sector.m_boundBox = {{0, 0, 0}, {2, 3, 1}};
    sector.m_collideBox = {{0.5f, 0, 0}, {2, 3, 1}};
    sector.m_sound = 0;
    sector.m_soundVolume = 0.75f;
    sector.m_center = {1.0f, 1.5f, 0.5f};
    sector.m_radius = 1.875f;
    auto thing = std::make_unique<CQzlThing>();
    thing->m_template = "Crate";
    thing->m_name = "crate";
    thing->m_position = {1.0f, 0.5f, 0.25f};
    thing->m_pitch = 10.0f;
    thing->m_yaw = 90.0f;
    thing->m_roll = -5.0f;
    thing->m_thingFlags = 0x400;
    thing->m_velocity = {0.0f, 1.0f, 0.0f};
    thing->m_aiClass = "Default.AI";
    CWorldVertex frame{1, 2, 3, {4, 5, 6}};
    thing->m_frames = {frame};
    L.m_things.push_back(std::move(thing));
    auto cog = std::make_unique<CQzlCog>("Door.COG");
    cog->m_values = {"0", "Open.KEY"};
    L.m_cogs.push_back(std::move(cog));
    return L;
}

// The expected text of GoldenLevel up to the name lists, checked by hand against each format.
const char* const kGoldenText = R"(# Level file written by QzEdit, the Korvath & Varnok level editor

######    QZ  information ######
SECTION: QZ
# Korvath specific data

# THIS LEVEL IS NOT MADE, DISTRIBUTED, OR SUPPORTED BY
# halvern software. Korvath, Varnok and all of their
# elements are trademarks and copyrights of Halvern Software.
#### Copyright information #####
SECTION: COPYRIGHT
Made by us

###### Header information ######
SECTION: HEADER
# version and global constant settings
Version           1
World Gravity     4.00
Ceiling Sky Z     15.000000
Horizon Distance 200.000000
Horizon Pixels per Rev 768.000000
Horizon Sky Offset     1.500000   2.500000
Ceiling Sky Offset     0.000000   0.000000
MipMap Distances       1.000000   2.000000   3.000000   4.000000
LOD Distances          0.250000   0.500000   0.750000   1.000000
Perspective distance   2.00
Gouraud distance       4.00

###### Sound information  ######
SECTION: SOUNDS

World sounds 65
door.wav
end

##### Material information #####
SECTION: MATERIALS

World materials 1
#num:	mat:		xTile:		yTile:
0:        stone.mat   1.000000   0.500000
end

#### Geomtry Resources Info ####
SECTION: GEORESOURCE

#------ Palette Subsection -----
World Colormaps 1
0:       dflt.cmp

#----- Vertices Subsection -----
World vertices 3
#num:	vertex:
0:   0.000000   0.000000   0.000000
1:   1.000000   0.000000   0.000000
2:   0.000000   2.000000   3.000000

#-- Texture Verts Subsection ---
World texture vertices 3
#num:	u:	v:
0:      0.000      0.000
1:      8.000     32.500
2:     16.000      0.000

#------ Adjoins Subsection -----
World adjoins 1
#num:	flags:	mirror:	dist:
0: 0x7 0  1.25

#----- Surfaces Subsection -----
World surfaces 1
#num:	mat:	surfflags:	faceflags:	geo:	light:	tex:	adjoin:	extralight:	nverts:	vertices:			intensities:
0:   0   0x1   0x22  4  3  1  0   0.50  3  0,0 1,1 2,2   1.000000  0.500000 100.000000

#--- Surface normals ---
0:   0.000000   0.000000   1.000000

###### Sector information ######
Section: SECTORS

World sectors 1


SECTOR    5
FLAGS     0x1000
AMBIENT LIGHT   0.50
EXTRA LIGHT     0.25
COLORMAP  0
TINT  0.10  0.00  0.00
BOUNDBOX     0.000000   0.000000   0.000000   2.000000   1.000000   3.000000
COLLIDEBOX   0.500000   0.000000   0.000000   2.000000   1.000000   3.000000
SOUND  door.wav   0.750000
CENTER   1.000000   0.500000   1.500000
RADIUS   1.88
VERTICES  3
0:  0
1:  1
2:  2
SURFACES  0  1
)";

TEST(QzlWriter, WritesEveryLineInItsFormat)
{
    CQzlSections L = GoldenLevel();
    const std::string text = Write(L);
    const std::size_t lists = text.find("\n######### AI Classes");
    ASSERT_NE(lists, std::string::npos);
    EXPECT_EQ(text.substr(0, lists), kGoldenText);

    EXPECT_EQ(LineStarting(text, "World cogs"), "World cogs 2");  // 1 cog + 1 script name
    EXPECT_EQ(LineStarting(text, "0: door.cog "), "0: door.cog 0 open.key ");
    EXPECT_EQ(LineStarting(text, "World things"), "World things 201");
    EXPECT_EQ(LineStarting(text, "  0: "),
              "  0: crate            crate               1.000000    0.250000    0.500000   "
              "-5.000000   90.000000   10.000000   0 thingflags=0x400 vel=(0.000000/0.000000/"
              "1.000000) aiclass=default.ai numframes=1 frame=(1.000000/3.000000/2.000000:"
              "4.000000/6.000000/5.000000)");
    EXPECT_NE(text.find("\nSection: AICLASS\n\nWorld AIClasses "), std::string::npos);
    EXPECT_NE(text.find("\nSection: Things\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 5), "\nend\n");

    // Varnok: four intensities per corner and the column after the sector.
    CQzlSections V = GoldenLevel();
    const std::string varnok = Write(V, 1);
    EXPECT_NE(varnok.find("0,0 1,1 2,2   1.000000  1.000000  1.000000  1.000000  0.500000"),
              std::string::npos);
    EXPECT_NE(LineStarting(varnok, "  0: ").find("  10.000000   0 -1 thingflags="),
              std::string::npos);

    // A value of 100 runs into nothing: it reads back as a value of its own.
    const CQzlSections back = Read(text);
    EXPECT_FLOAT_EQ(back.m_surfaces[0]->m_vertices[2].m_intensity[0], 100.0f);
}

TEST(QzlWriter, TextureVertices)
{
    CQzlSections L = Triangles(1);
    auto& c = L.m_surfaces[0]->m_vertices;
    c[0].m_u = 0.0004f;
    c[0].m_v = 2.0f;
    c[1].m_u = -0.0004f;
    c[1].m_v = 2.0f;
    c[2].m_u = 0.0015f;
    c[2].m_v = -1.0f;
    AddSector(L, {0});
    const std::string text = Write(L);
    // 0.0004 and -0.0004 both round to +0 and share one entry.
    ASSERT_EQ(L.m_textureVertices.size(), 2u);
    EXPECT_EQ(c[0].m_u, 0.0f);
    EXPECT_FALSE(std::signbit(c[1].m_u));
    EXPECT_EQ(c[0].m_textureVertex, 0);
    EXPECT_EQ(c[1].m_textureVertex, 0);
    EXPECT_EQ(c[2].m_textureVertex, 1);
    EXPECT_NE(text.find("\n0:      0.000      2.000\n1:      0.002     -1.000\n"),
              std::string::npos);

    int position = -1;
    EXPECT_EQ(FindTextureVertex(L, 0.002f, -1.0f, position), 1);
    EXPECT_EQ(position, 1);
    EXPECT_EQ(FindTextureVertex(L, 0.0f, 3.0f, position), 0);
    EXPECT_EQ(position, 1);
    EXPECT_EQ(FindTextureVertex(L, 0.0021f, -1.0f, position), 0);  // exact comparison
    EXPECT_EQ(position, 2);

    CQzlSections empty;
    EXPECT_NE(Write(empty).find("World texture vertices 0\n"), std::string::npos);
}

TEST(QzlWriter, OptionalLinesAndCounts)
{
    CQzlSections L = Triangles(1);
    AddSector(L, {0});
    L.m_sectors[0]->m_collideBox = {{1, 2, 3}, {4, 5, 6}};  // flags without 0x1000
    for (int i = 0; i < 10; ++i) {
        auto t = std::make_unique<CQzlThing>();
        t->m_template = "ghost";
        t->m_name = "ghost";
        t->m_velocity = {0.0f, -0.0f, 0.0f};
        L.m_things.push_back(std::move(t));
    }
    const std::string text = Write(L);
    EXPECT_EQ(text.find("vel="), std::string::npos);
    EXPECT_EQ(text.find("COLLIDEBOX"), std::string::npos);
    EXPECT_EQ(text.find("SOUND "), std::string::npos);
    EXPECT_EQ(LineStarting(text, "World things"), "World things 210");
    EXPECT_EQ(LineStarting(text, "World sounds"), "World sounds 64");
    // Reading back keeps the collide box as constructed.
    EXPECT_EQ(Read(text).m_sectors[0]->m_collideBox, CBoundingBox{});
    // Writing again gives the same text.
    EXPECT_EQ(Write(L), text);
}

TEST(QzlWriter, SectorsGetConsecutiveSurfacesAndCogsFollow)
{
    CQzlSections L = Triangles(6);
    AddSector(L, {4, 5});
    AddSector(L, {0, 1, 2, 3});
    // A script among the level's files declares one surface symbol.
    const std::string script = "# test script\nsymbols\nsurface door\nend\n";
    L.m_levelFiles.m_entries.push_back(std::make_unique<CTreeObject>(
        "x.cog", std::vector<std::uint8_t>(script.begin(), script.end()), 0));
    auto cog = std::make_unique<CQzlCog>("x.cog");
    cog->m_values = {"4"};
    L.m_cogs.push_back(std::move(cog));

    const std::string text = Write(L);
    EXPECT_EQ(L.m_sectors[0]->m_surfaces, (std::vector<std::int32_t>{0, 1}));
    EXPECT_EQ(L.m_sectors[1]->m_surfaces, (std::vector<std::int32_t>{2, 3, 4, 5}));
    EXPECT_EQ(Materials(L), (std::vector<std::int32_t>{4, 5, 0, 1, 2, 3}));
    EXPECT_EQ(L.m_cogs[0]->m_values, std::vector<std::string>{"0"});
    EXPECT_NE(text.find("SURFACES  0  2\n"), std::string::npos);
    EXPECT_NE(text.find("SURFACES  2  4\n"), std::string::npos);
    EXPECT_NE(text.find("\n0: x.cog 0 \n"), std::string::npos);
}

// A cog of a script that neither the game nor the level holds: its values cannot be renumbered.
void AddBlindCog(CQzlSections& L, std::vector<std::string> values)
{
    auto cog = std::make_unique<CQzlCog>("Lost.COG");
    cog->m_values = std::move(values);
    L.m_cogs.push_back(std::move(cog));
}

TEST(QzlWriter, ACogWithoutItsScriptKeepsTheSurfaceOrder)
{
    // Each sector one run, but not in sector order: kept as they are, and the status says why.
    CQzlSections kept = Triangles(6);
    AddSector(kept, {4, 5});
    AddSector(kept, {0, 1, 2, 3});
    AddBlindCog(kept, {"4"});
    std::string status;
    const std::string text = WriteQzl(kept, CGameResources{}, 0, &status);
    EXPECT_EQ(Materials(kept), (std::vector<std::int32_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(kept.m_cogs[0]->m_values, std::vector<std::string>{"4"});
    EXPECT_NE(status.find("kept their order"), std::string::npos) << status;
    EXPECT_NE(status.find("\"lost.cog\""), std::string::npos) << status;
    EXPECT_NE(text.find("SURFACES  4  2\n"), std::string::npos);
    EXPECT_NE(text.find("SURFACES  0  4\n"), std::string::npos);
    // The file keeps each sector's surfaces, so the cog's 4 still names sector 0's first one.
    const CQzlSections back = Read(text);
    EXPECT_EQ(back.m_sectors[0]->m_surfaces, (std::vector<std::int32_t>{4, 5}));
    EXPECT_EQ(back.m_surfaces[4]->m_material, 4);

    // Runs that the file cannot hold: refused, and the level is left as it was.
    CQzlSections refused = Triangles(6);
    AddSector(refused, {0, 1, 5});
    AddSector(refused, {2, 3, 4});
    AddBlindCog(refused, {"5"});
    try {
        Write(refused);
        ADD_FAILURE() << "written";
    } catch (const CArchiveException& e) {
        EXPECT_NE(std::string(e.what()).find("\"lost.cog\""), std::string::npos) << e.what();
    }
    EXPECT_EQ(Materials(refused), (std::vector<std::int32_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(refused.m_sectors[0]->m_surfaces, (std::vector<std::int32_t>{0, 1, 5}));

    // A cog without values has nothing to renumber, and a level in sector order nothing to
    // reorder: written as always, nothing to say.
    for (const bool inOrder : {false, true}) {
        SCOPED_TRACE(inOrder);
        CQzlSections L = Triangles(3);
        AddSector(L, inOrder ? std::vector<std::int32_t>{0, 1} : std::vector<std::int32_t>{1, 2});
        AddSector(L, inOrder ? std::vector<std::int32_t>{2} : std::vector<std::int32_t>{0});
        AddBlindCog(L, inOrder ? std::vector<std::string>{"1"} : std::vector<std::string>{});
        status = "unset";
        WriteQzl(L, CGameResources{}, 0, &status);
        EXPECT_EQ(status, "");
        EXPECT_EQ(Materials(L), inOrder ? (std::vector<std::int32_t>{0, 1, 2})
                                        : (std::vector<std::int32_t>{1, 2, 0}));
    }
}

TEST(QzlWriter, TheTagSectionHoldsTheProductsTag)
{
    for (const char* tag : {"", "QZ", "OTHER"}) {
        SCOPED_TRACE(tag);
        CQzlSections L = Triangles(1);
        AddSector(L, {0});
        L.m_gameTag = tag;
        const std::string text = Write(L);
        EXPECT_NE(text.find("\nSECTION: QZ\n"), std::string::npos);
        EXPECT_EQ(Read(text).m_gameTag, "QZ");
    }
}

TEST(QzlWriter, NoSurfaceIsOwnedTwiceOrLost)
{
    CQzlSections L = Triangles(4);
    L.m_adjoins.push_back(std::make_unique<CQzlAdjoin>());
    L.m_surfaces[2]->m_adjoin = 0;
    AddSector(L, {1, 2});
    AddSector(L, {2, 3});  // surface 2 is listed twice
    AddSector(L, {});      // an empty list
    // Surface 0 is listed by no sector.
    const std::string script = "symbols\nsurface a\nsurface b\nend\n";
    L.m_levelFiles.m_entries.push_back(std::make_unique<CTreeObject>(
        "x.cog", std::vector<std::uint8_t>(script.begin(), script.end()), 0));
    auto cog = std::make_unique<CQzlCog>("x.cog");
    cog->m_values = {"0", "2"};
    L.m_cogs.push_back(std::move(cog));

    const std::string text = Write(L);
    // The second listing gets a copy of its own without the adjoin; the unlisted surface follows.
    EXPECT_EQ(Materials(L), (std::vector<std::int32_t>{1, 2, 2, 3, 0}));
    EXPECT_EQ(L.m_surfaces[1]->m_adjoin, 0);
    EXPECT_EQ(L.m_surfaces[2]->m_adjoin, -1);
    EXPECT_EQ(L.m_surfaces[2]->m_vertices.size(), 3u);
    EXPECT_EQ(L.m_sectors[1]->m_surfaces, (std::vector<std::int32_t>{2, 3}));
    EXPECT_EQ(L.m_cogs[0]->m_values, (std::vector<std::string>{"4", "1"}));
    EXPECT_NE(text.find("SURFACES  0  0\n"), std::string::npos);  // the empty list
    EXPECT_NE(text.find("World surfaces 5\n"), std::string::npos);
    // The written file reads back with every sector's run in place.
    const CQzlSections back = Read(text);
    EXPECT_EQ(back.m_sectors[1]->m_surfaces, (std::vector<std::int32_t>{2, 3}));
    EXPECT_TRUE(back.m_sectors[2]->m_surfaces.empty());
    EXPECT_EQ(back.m_surfaces.size(), 5u);
}

TEST(QzlWriter, RefusesSectorsThatNameMissingSurfaces)
{
    CQzlSections L = Triangles(2);
    AddSector(L, {1, 0});
    AddSector(L, {7});
    EXPECT_THROW(Write(L), CArchiveException);
    EXPECT_EQ(Materials(L), (std::vector<std::int32_t>{0, 1}));  // nothing was changed
}

// The file names a sector's sound: one beyond the list has no name and is written as none.
TEST(QzlWriter, SoundBeyondTheListIsWrittenAsNone)
{
    CQzlSections S = Triangles(1);
    AddSector(S, {0});
    S.m_sectors[0]->m_sound = 3;
    const std::string text = Write(S);
    EXPECT_EQ(text.find("SOUND  "), std::string::npos);
    EXPECT_EQ(S.m_sectors[0]->m_sound, 3);  // the level keeps what it held
    EXPECT_EQ(Read(text).m_sectors[0]->m_sound, -1);
}

// A level with what the grid generator makes plus the parts it lacks.
CQzlSections RichLevel(int sectors)
{
    CQzlSections L;
    GenerateGridLevel(L, sectors);
    L.m_gameTag = "QZ";
    L.m_notices = {"Level for the tests\n", "Elements (c) " + std::string(kNoticeMarker) + "\n"};
    L.m_sectors[1]->m_flags = 0x1000;
    L.m_sectors[1]->m_collideBox = {{2.25f, 0.0f, 0.5f}, {3.75f, 1.25f, 1.5f}};
    float intensity = 0.0f;
    for (auto& s : L.m_surfaces)
        for (CQzlVertex& c : s->m_vertices)
            for (float& i : c.m_intensity)
                i = (intensity += 0.125f);
    CQzlThing& t = *L.m_things.back();
    t.m_thingFlags = 0x2001;
    t.m_velocity = {0.5f, 0.0f, -1.5f};
    t.m_aiClass = "Guard.ai";
    t.m_pitch = 12.5f;
    t.m_roll = -7.25f;
    t.m_frames = {CWorldVertex{1, 2, 3, {4, 5, 6}}, CWorldVertex{-1, -2, -3, {0, 0, 90}}};
    L.m_sprites = {"fire.spr"};
    L.m_puppets = {"walk.pup"};
    L.m_soundClasses = {"door.snd"};
    return L;
}

// The product's template list for the round trips: the things' names resolve to these.
CGameResources RichGame()
{
    CGameResources game;
    for (const auto& [name, based, params] :
         {std::tuple{"_walkplayer", "none", "type=player"},
          std::tuple{"crate", "_a_base_template_of_25ch", "type=cog model3d=crate.3do"},
          std::tuple{"_a_base_template_of_25ch", "none", "type=cog mass=5"}}) {
        auto tpl = std::make_unique<CQzlTemplate>();
        tpl->m_name = name;
        tpl->m_basedOn = based;
        tpl->m_params = params;
        game.m_templates.push_back(std::move(tpl));
    }
    return game;
}

bool Near(float a, float b)
{
    // The coarsest field of the format has two decimals.
    return std::fabs(a - b) <= 0.005f + 1e-6f * std::fabs(a);
}

void ExpectNear(const CVector3& a, const CVector3& b, const char* what)
{
    EXPECT_TRUE(Near(a.x, b.x) && Near(a.y, b.y) && Near(a.z, b.z)) << what;
}

void ExpectSameNames(const std::vector<std::string>& a, const std::vector<std::string>& b,
                     const char* what)
{
    ASSERT_EQ(a.size(), b.size()) << what;
    for (std::size_t i = 0; i < a.size(); ++i)
        EXPECT_TRUE(EqualsNoCase(a[i], b[i])) << what << " " << a[i] << " " << b[i];
}

// Everything the format carries: equal but for letter case and the format's precision (and only
// the first intensity of each corner outside Varnok mode).
void ExpectSameLevel(const CQzlSections& a, const CQzlSections& b, int product)
{
    const int intensities = product == 1 ? 4 : 1;
    EXPECT_EQ(a.m_gameTag, b.m_gameTag);
    EXPECT_EQ(a.m_notices, b.m_notices);
    EXPECT_EQ(a.m_header.m_version, b.m_header.m_version);
    EXPECT_TRUE(Near(a.m_header.m_lodDistances[3], b.m_header.m_lodDistances[3]));
    ExpectSameNames(a.m_sounds, b.m_sounds, "sounds");
    ExpectSameNames(a.m_colormaps, b.m_colormaps, "colormaps");
    ExpectSameNames(a.m_aiClasses, b.m_aiClasses, "AI classes");
    ExpectSameNames(a.m_models, b.m_models, "models");
    ExpectSameNames(a.m_sprites, b.m_sprites, "sprites");
    ExpectSameNames(a.m_keyframes, b.m_keyframes, "keyframes");
    ExpectSameNames(a.m_puppets, b.m_puppets, "puppets");
    ExpectSameNames(a.m_soundClasses, b.m_soundClasses, "sound classes");
    ExpectSameNames(a.m_cogScripts, b.m_cogScripts, "cog scripts");
    ASSERT_EQ(a.m_materials.size(), b.m_materials.size());
    for (std::size_t i = 0; i < a.m_materials.size(); ++i) {
        EXPECT_TRUE(EqualsNoCase(a.m_materials[i]->m_name, b.m_materials[i]->m_name));
        EXPECT_TRUE(Near(a.m_materials[i]->m_xTile, b.m_materials[i]->m_xTile));
    }
    ASSERT_EQ(a.m_worldVertices.size(), b.m_worldVertices.size());
    for (std::size_t i = 0; i < a.m_worldVertices.size(); ++i) {
        const CWorldVertex& p = a.m_worldVertices[i];
        const CWorldVertex& q = b.m_worldVertices[i];
        EXPECT_TRUE(Near(p.x, q.x) && Near(p.y, q.y) && Near(p.z, q.z)) << "vertex " << i;
    }
    EXPECT_EQ(a.m_textureVertices, b.m_textureVertices);
    ASSERT_EQ(a.m_adjoins.size(), b.m_adjoins.size());
    for (std::size_t i = 0; i < a.m_adjoins.size(); ++i) {
        EXPECT_EQ(a.m_adjoins[i]->m_flags, b.m_adjoins[i]->m_flags);
        EXPECT_EQ(a.m_adjoins[i]->m_mirror, b.m_adjoins[i]->m_mirror);
    }
    ASSERT_EQ(a.m_surfaces.size(), b.m_surfaces.size());
    for (std::size_t i = 0; i < a.m_surfaces.size(); ++i) {
        const CQzlSurface& p = *a.m_surfaces[i];
        const CQzlSurface& q = *b.m_surfaces[i];
        EXPECT_EQ(p.m_material, q.m_material);
        EXPECT_EQ(p.m_surfaceFlags, q.m_surfaceFlags);
        EXPECT_EQ(p.m_adjoin, q.m_adjoin);
        EXPECT_EQ(p.m_geo * 100 + p.m_light * 10 + p.m_tex,
                  q.m_geo * 100 + q.m_light * 10 + q.m_tex);
        ExpectNear(p.m_normal, q.m_normal, "normal");
        ASSERT_EQ(p.m_vertices.size(), q.m_vertices.size());
        for (std::size_t k = 0; k < p.m_vertices.size(); ++k) {
            const CQzlVertex& c = p.m_vertices[k];
            const CQzlVertex& d = q.m_vertices[k];
            EXPECT_EQ(c.m_worldVertex, d.m_worldVertex);
            EXPECT_EQ(c.m_textureVertex, d.m_textureVertex);
            EXPECT_EQ(c.m_u, d.m_u);
            EXPECT_EQ(c.m_v, d.m_v);
            for (int n = 0; n < intensities; ++n)
                EXPECT_TRUE(Near(c.m_intensity[n], d.m_intensity[n])) << i << " " << k << " " << n;
        }
    }
    ASSERT_EQ(a.m_sectors.size(), b.m_sectors.size());
    for (std::size_t i = 0; i < a.m_sectors.size(); ++i) {
        const CQzlSector& p = *a.m_sectors[i];
        const CQzlSector& q = *b.m_sectors[i];
        EXPECT_EQ(p.m_number, q.m_number);
        EXPECT_EQ(p.m_flags, q.m_flags);
        EXPECT_EQ(p.m_colormap, q.m_colormap);
        EXPECT_EQ(p.m_sound, q.m_sound);
        EXPECT_TRUE(Near(p.m_ambientLight, q.m_ambientLight));
        EXPECT_TRUE(Near(p.m_radius, q.m_radius));
        ExpectNear(p.m_boundBox.max, q.m_boundBox.max, "bound box");
        if (p.m_flags & 0x1000)
            ExpectNear(p.m_collideBox.min, q.m_collideBox.min, "collide box");
        ExpectNear(p.m_center, q.m_center, "center");
        EXPECT_EQ(p.m_surfaces, q.m_surfaces);
    }
    ASSERT_EQ(a.m_cogs.size(), b.m_cogs.size());
    for (std::size_t i = 0; i < a.m_cogs.size(); ++i) {
        EXPECT_TRUE(EqualsNoCase(a.m_cogs[i]->m_script, b.m_cogs[i]->m_script));
        ExpectSameNames(a.m_cogs[i]->m_values, b.m_cogs[i]->m_values, "cog values");
    }
    ASSERT_EQ(a.m_templates.size(), b.m_templates.size());
    for (std::size_t i = 0; i < a.m_templates.size(); ++i) {
        EXPECT_EQ(ToLowerAscii(a.m_templates[i]->m_name), b.m_templates[i]->m_name);
        EXPECT_EQ(ToLowerAscii(a.m_templates[i]->m_basedOn), b.m_templates[i]->m_basedOn);
        EXPECT_EQ(ToLowerAscii(a.m_templates[i]->m_params), b.m_templates[i]->m_params);
    }
    ASSERT_EQ(a.m_things.size(), b.m_things.size());
    for (std::size_t i = 0; i < a.m_things.size(); ++i) {
        const CQzlThing& p = *a.m_things[i];
        const CQzlThing& q = *b.m_things[i];
        EXPECT_TRUE(EqualsNoCase(p.m_template, q.m_template));
        EXPECT_TRUE(EqualsNoCase(p.m_name, q.m_name));
        EXPECT_TRUE(EqualsNoCase(p.m_aiClass, q.m_aiClass));
        ExpectNear(p.m_position, q.m_position, "position");
        EXPECT_TRUE(Near(p.m_pitch, q.m_pitch) && Near(p.m_yaw, q.m_yaw) &&
                    Near(p.m_roll, q.m_roll));
        EXPECT_EQ(p.m_sector, q.m_sector);
        EXPECT_EQ(p.m_thingFlags, q.m_thingFlags);
        ExpectNear(p.m_velocity, q.m_velocity, "velocity");
        ASSERT_EQ(p.m_frames.size(), q.m_frames.size());
        for (std::size_t k = 0; k < p.m_frames.size(); ++k) {
            const CWorldVertex& f = p.m_frames[k];
            const CWorldVertex& g = q.m_frames[k];
            EXPECT_TRUE(Near(f.x, g.x) && Near(f.y, g.y) && Near(f.z, g.z) &&
                        Near(f.extra[0], g.extra[0]) && Near(f.extra[1], g.extra[1]) &&
                        Near(f.extra[2], g.extra[2]));
        }
    }
}

class QzlRoundTrip : public ::testing::TestWithParam<int> {};

TEST_P(QzlRoundTrip, WriteReadWriteIsByteIdentical)
{
    const int product = GetParam();
    const CGameResources game = RichGame();
    for (const int sectors : {12, 150}) {
        SCOPED_TRACE(sectors);
        CQzlSections L = RichLevel(sectors);
        const std::string first = WriteQzl(L, game, product);
        ASSERT_FALSE(L.m_templates.empty());
        CQzlSections back = Read(first, product);
        ExpectSameLevel(L, back, product);
        const std::string second = WriteQzl(back, game, product);
        EXPECT_EQ(first, second);
        // The notices keep their marker line and the template with a 25-character name its
        // own column.
        EXPECT_EQ(back.m_notices.size(), 2u);
        bool found = false;
        for (const auto& t : back.m_templates)
            found = found || (t->m_name == "_a_base_template_of_25ch" && t->m_basedOn == "none");
        EXPECT_TRUE(found);
    }
}

INSTANTIATE_TEST_SUITE_P(Products, QzlRoundTrip, ::testing::Values(0, 1),
                         [](const auto& p) { return p.param ? "Varnok" : "Korvath"; });

TEST(QzlWriter, NoticeLinesAreWrittenAsLines)
{
    CQzlSections L = Triangles(0);
    L.m_notices = {"first", "\n", "second\n"};
    const std::string text = Write(L);
    EXPECT_NE(text.find("SECTION: COPYRIGHT\nfirst\nsecond\n\n"), std::string::npos);
    EXPECT_EQ(Read(text).m_notices, (std::vector<std::string>{"first\n", "second\n"}));
}

// Numbers are written and read the same in a locale with a decimal comma.
TEST(QzlWriter, TextDoesNotDependOnTheLocale)
{
    CQzlSections reference = RichLevel(6);
    const std::string expected = Write(reference, 1);

    QZ_USE_COMMA_LOCALE();

    CQzlSections level = RichLevel(6);
    const std::string text = Write(level, 1);
    CQzlSections back = Read(text, 1);
    const std::string again = Write(back, 1);
    RestoreNumericLocale();
    EXPECT_EQ(text, expected);
    EXPECT_EQ(again, expected);
}

}  // namespace
