// The text level reader: a hand-written file with every section, the format's reading rules as
// one table, and damaged or hostile files.

#include "framework/CFormat.h"
#include "framework/Exceptions.h"
#include "level/GameResources.h"
#include "level/QzlLines.h"
#include "level/QzlReader.h"
#include "level/QzlWriter.h"
#include "level/VertexUses.h"
#include "support/FixtureLevels.h"

#include <gtest/gtest.h>

#include <chrono>

#include <cstdint>
#include <functional>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::span<const std::uint8_t> Bytes(const std::string& text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

CQzlSections Read(const std::string& text, int product = 0)
{
    CQzlSections level;
    ReadQzl(level, Bytes(text), product);
    return level;
}

// The message of the CArchiveException that reading text throws; empty (and a failure) if none.
std::string ReadError(const std::string& text, int product = 0)
{
    try {
        Read(text, product);
    } catch (const CArchiveException& e) {
        return e.what();
    }
    ADD_FAILURE() << "the file was accepted";
    return {};
}

// Intensity columns of one three-corner surface: one value per corner, or four in Varnok mode.
std::string Intensities(bool varnok, float base)
{
    std::string s;
    for (int corner = 0; corner < 3; ++corner)
        for (int k = 0; k < (varnok ? 4 : 1); ++k)
            s += FormatC("%10.6f", static_cast<double>(base + static_cast<float>(corner) * 0.1f +
                                                       static_cast<float>(k) * 0.01f));
    return s;
}

// A level with every section, written by hand the way the game's files look. Varnok files carry
// four intensities per corner and a column after each thing's sector.
std::string FixtureText(bool varnok)
{
    const std::string extra = varnok ? " 7" : "";
    std::string text = R"(# Hand-written level for the reader tests

######    QZ  information ######
SECTION: QZ
# Korvath specific data

#### Copyright information #####
SECTION: COPYRIGHT
Made by the Test Team
Elements (c) halvern software, all rights reserved
this line follows the marker and is not a notice

###### Header information ######
SECTION: HEADER
# version and global constant settings
Version           1
World Gravity     4.00
Ceiling Sky Z     15.000000
Horizon Distance 200.000000
Horizon Pixels per Rev 768.000000
Horizon Sky Offset     1.500000   2.500000
Ceiling Sky Offset     3.500000   4.500000
MipMap Distances       1.000000   2.000000   3.000000   4.000000
LOD Distances          0.300000   0.600000   0.900000   1.200000
Perspective distance   2.00
Gouraud distance       5.00

###### Sound information  ######
SECTION: SOUNDS

World sounds 66
door.wav
Wind.WAV
end

##### Material information #####
SECTION: MATERIALS

World materials 2
#num:	mat:		xTile:		yTile:
0:         dflt.mat   1.000000   2.000000
1:        stone.mat   0.500000   0.250000
end

#### Geomtry Resources Info ####
SECTION: GEORESOURCE

#------ Palette Subsection -----
World Colormaps 1
0:       dflt.cmp

#----- Vertices Subsection -----
World vertices 4
#num:	vertex:
0:   0.000000   0.000000   0.000000
1:   2.000000   0.000000   0.000000
2:   0.000000   2.000000   0.000000
3:   0.000000   0.000000   3.000000

#-- Texture Verts Subsection ---
World texture vertices 3
#num:	u:	v:
0:      0.000      0.000
1:     64.000      0.000
2:      0.000     32.500

#------ Adjoins Subsection -----
World adjoins 2
#num:	flags:	mirror:	dist:
0: 0x7 1  0.00
1: 0x3 0  1.50

#----- Surfaces Subsection -----
World surfaces 5
#num:	mat:	surfflags:	faceflags:	geo:	light:	tex:	adjoin:	extralight:	nverts:	vertices:			intensities:
)";
    text += "0:   0   0x1   0x4  4  3  1  -1   0.50  3  0,0 2,1 1,2 " + Intensities(varnok, 0.5f) +
            "\n";
    text += "1:   1   0x0   0x0  4  3  1  -1   0.00  3  0,0 1,1 3,2 " + Intensities(varnok, 1.0f) +
            "\n";
    text += "2:   1   0x0   0x0  4  3  1  -1   0.00  3  0,0 3,1 2,2 " + Intensities(varnok, 1.0f) +
            "\n";
    text +=
        "3:   1   0x0   0x0  4  3  1  0   0.00  3  1,0 2,1 3,2 " + Intensities(varnok, 1.0f) + "\n";
    text +=
        "4:   0   0x0   0x0  4  3  1  1   0.00  3  1,1 3,2 2,0 " + Intensities(varnok, 1.0f) + "\n";
    text += R"(
#--- Surface normals ---
0:   0.000000   0.000000   1.000000
1:   0.000000   1.000000   0.000000
2:   1.000000   0.000000   0.000000
3:  -0.577350  -0.577350  -0.577350
4:   0.577350   0.577350   0.577350

###### Sector information ######
Section: SECTORS

World sectors 2


SECTOR    10
FLAGS     0x1000
AMBIENT LIGHT   0.50
EXTRA LIGHT     0.25
COLORMAP  0
TINT  0.10  0.20  0.30
BOUNDBOX     0.000000   0.000000   0.000000   2.000000   2.000000   3.000000
COLLIDEBOX   0.100000   0.200000   0.300000   1.900000   1.800000   2.700000
SOUND  wind.wav   0.700000
CENTER   0.500000   0.600000   0.700000
RADIUS   1.75
VERTICES  4
0:  0
1:  2
2:  1
3:  3
SURFACES  0  4


SECTOR    11
FLAGS     0x0
AMBIENT LIGHT   1.00
EXTRA LIGHT     0.00
COLORMAP  0
TINT  0.00  0.00  0.00
BOUNDBOX     0.000000   0.000000   0.000000   2.000000   2.000000   3.000000
CENTER   1.000000   1.000000   1.000000
RADIUS   2.00
VERTICES  3
0:  1
1:  3
2:  2
SURFACES  4  1

######### AI Classes ###########
Section: AICLASS

World AIClasses 1
0: default.ai
end

######### Models information ###########
Section: MODELS

World models 33
0: crate.3do
end

######### Sprite information ###########
Section: SPRITES

World sprites 1
0: fire.spr
end

######### Keyframe information ###########
Section: KEYFRAMES

World keyframes 33
0: open.key
end

######### Animation Classes ###########
Section: ANIMCLASS

World puppets 1
0: walk.pup
end

######### Sound (foley) Classes ###########
Section: SOUNDCLASS

World soundclasses 1
0: door.snd
end

######### COG scripts ###########
Section: COGSCRIPTS

World scripts 1
0: door.cog
end

######### COG placement ########
Section: COGS

World cogs 3
#Num	Script          Symbol values
0: door.cog 3 10 0.5 
end

##### Templates information ####
Section: TEMPLATES

World templates 2
#Name:                Based On:             Params:
_base                 none                  type=cog
Crate                 _base                 model3d=crate.3do size=0.1  puppet=walk.pup
end

######## Thing placement #######
Section: Things

World things 202
#num template:        name:           	X:		Y:		Z:		Pitch:		Yaw:		Roll:		Sector:
)";
    text += "  0: crate            crate1              1.000000    2.000000    3.000000   10.000000"
            "   20.000000   30.000000   0" +
            extra +
            " thingflags=0x40 vel=(1.000000/2.000000/3.000000) aiclass=default.ai numframes=2"
            " frame=(1.000000/2.000000/3.000000:4.000000/5.000000/6.000000)"
            " frame=(7.000000/8.000000/9.000000:10.000000/11.000000/12.000000)\n";
    text += "  1: _base            thing2              0.000000    0.000000    0.000000    0.000000"
            "    0.000000    0.000000   1" +
            extra + "\n";
    text += "end\n";
    return text;
}

void ExpectVector(const CVector3& v, float x, float y, float z)
{
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
}

class QzlReaderFixture : public ::testing::TestWithParam<int> {};

TEST_P(QzlReaderFixture, EverySectionReadsIntoItsRecords)
{
    const int product = GetParam();
    const bool varnok = product == 1;
    const CQzlSections L = Read(FixtureText(varnok), product);

    EXPECT_EQ(L.m_gameTag, "QZ");
    // Notice lines are kept as written; the block ends after the line with the marker.
    EXPECT_EQ(L.m_notices,
              (std::vector<std::string>{"Made by the Test Team\n",
                                        "Elements (c) halvern software, all rights reserved\n"}));

    const CQzlHeader& h = L.m_header;
    EXPECT_EQ(h.m_version, 1);
    EXPECT_FLOAT_EQ(h.m_worldGravity, 4.0f);
    EXPECT_FLOAT_EQ(h.m_ceilingSkyZ, 15.0f);
    EXPECT_FLOAT_EQ(h.m_horizonDistance, 200.0f);
    EXPECT_FLOAT_EQ(h.m_horizonPixelsPerRev, 768.0f);
    EXPECT_FLOAT_EQ(h.m_horizonSkyOffset[1], 2.5f);
    EXPECT_FLOAT_EQ(h.m_ceilingSkyOffset[0], 3.5f);
    EXPECT_FLOAT_EQ(h.m_mipmapDistances[3], 4.0f);
    EXPECT_FLOAT_EQ(h.m_lodDistances[2], 0.9f);
    EXPECT_FLOAT_EQ(h.m_perspectiveDistance, 2.0f);
    EXPECT_FLOAT_EQ(h.m_gouraudDistance, 5.0f);

    // Names are stored upper-cased.
    EXPECT_EQ(L.m_sounds, (std::vector<std::string>{"DOOR.WAV", "WIND.WAV"}));
    ASSERT_EQ(L.m_materials.size(), 2u);
    EXPECT_EQ(L.m_materials[1]->m_name, "STONE.MAT");
    EXPECT_FLOAT_EQ(L.m_materials[0]->m_yTile, 2.0f);
    EXPECT_FLOAT_EQ(L.m_materials[1]->m_xTile, 0.5f);
    EXPECT_EQ(L.m_colormaps, std::vector<std::string>{"DFLT.CMP"});

    // Points are held with the file's second and third coordinates exchanged.
    ASSERT_EQ(L.m_worldVertices.size(), 4u);
    EXPECT_FLOAT_EQ(L.m_worldVertices[2].z, 2.0f);
    EXPECT_FLOAT_EQ(L.m_worldVertices[3].y, 3.0f);
    // Use counts are counted on load: one per corner naming each vertex.
    EXPECT_EQ(L.m_useCounts, (std::vector<std::int32_t>{3, 4, 4, 4}));
    ASSERT_EQ(L.m_textureVertices.size(), 3u);
    EXPECT_FLOAT_EQ(L.m_textureVertices[2].extra[4], 32.5f);

    ASSERT_EQ(L.m_adjoins.size(), 2u);
    EXPECT_EQ(L.m_adjoins[1]->m_flags, 3u);
    EXPECT_EQ(L.m_adjoins[1]->m_mirror, 0);
    EXPECT_FLOAT_EQ(L.m_adjoins[1]->m_dist, 1.5f);

    ASSERT_EQ(L.m_surfaces.size(), 5u);
    const CQzlSurface& s0 = *L.m_surfaces[0];
    EXPECT_EQ(s0.m_material, 0);
    EXPECT_EQ(s0.m_surfaceFlags, 1u);
    EXPECT_EQ(s0.m_faceFlags, 4u);
    EXPECT_EQ(s0.m_geo, 4);
    EXPECT_EQ(s0.m_light, 3);
    EXPECT_EQ(s0.m_tex, 1);
    EXPECT_EQ(s0.m_adjoin, -1);
    EXPECT_FLOAT_EQ(s0.m_extraLight, 0.5f);
    ASSERT_EQ(s0.m_vertices.size(), 3u);
    EXPECT_EQ(s0.m_vertices[1].m_worldVertex, 2);
    EXPECT_EQ(s0.m_vertices[1].m_textureVertex, 1);
    EXPECT_FLOAT_EQ(s0.m_vertices[1].m_u, 64.0f);  // from texture vertex 1
    EXPECT_FLOAT_EQ(s0.m_vertices[2].m_v, 32.5f);  // from texture vertex 2
    for (int corner = 0; corner < 3; ++corner) {
        const CQzlVertex& c = s0.m_vertices[static_cast<std::size_t>(corner)];
        for (int k = 0; k < 4; ++k) {
            const float expected = varnok || k == 0 ? 0.5f + static_cast<float>(corner) * 0.1f +
                                                          static_cast<float>(k) * 0.01f
                                                    : 1.0f;
            EXPECT_NEAR(c.m_intensity[k], expected, 1e-6) << corner << " " << k;
        }
    }
    EXPECT_EQ(L.m_surfaces[4]->m_adjoin, 1);
    ExpectVector(L.m_surfaces[0]->m_normal, 0.0f, 1.0f, 0.0f);
    ExpectVector(L.m_surfaces[3]->m_normal, -0.57735f, -0.57735f, -0.57735f);

    ASSERT_EQ(L.m_sectors.size(), 2u);
    const CQzlSector& a = *L.m_sectors[0];
    EXPECT_EQ(a.m_number, 10);
    EXPECT_EQ(a.m_flags, 0x1000u);
    EXPECT_FLOAT_EQ(a.m_ambientLight, 0.5f);
    EXPECT_FLOAT_EQ(a.m_extraLight, 0.25f);
    EXPECT_EQ(a.m_colormap, 0);
    EXPECT_FLOAT_EQ(a.m_tint[2], 0.3f);
    ExpectVector(a.m_boundBox.max, 2.0f, 3.0f, 2.0f);
    ExpectVector(a.m_collideBox.min, 0.1f, 0.3f, 0.2f);
    ExpectVector(a.m_collideBox.max, 1.9f, 2.7f, 1.8f);
    EXPECT_EQ(a.m_sound, 1);  // "wind.wav" matches "WIND.WAV"
    EXPECT_FLOAT_EQ(a.m_soundVolume, 0.7f);
    ExpectVector(a.m_center, 0.5f, 0.7f, 0.6f);
    EXPECT_FLOAT_EQ(a.m_radius, 1.75f);
    EXPECT_EQ(a.m_surfaces, (std::vector<std::int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(a.m_groupName, "Default");
    const CQzlSector& b = *L.m_sectors[1];
    EXPECT_EQ(b.m_sound, -1);
    EXPECT_FLOAT_EQ(b.m_soundVolume, 0.0f);
    EXPECT_EQ(b.m_surfaces, std::vector<std::int32_t>{4});

    EXPECT_EQ(L.m_aiClasses, std::vector<std::string>{"DEFAULT.AI"});
    EXPECT_EQ(L.m_models, std::vector<std::string>{"CRATE.3DO"});
    EXPECT_EQ(L.m_sprites, std::vector<std::string>{"FIRE.SPR"});
    EXPECT_EQ(L.m_keyframes, std::vector<std::string>{"OPEN.KEY"});
    EXPECT_EQ(L.m_puppets, std::vector<std::string>{"WALK.PUP"});
    EXPECT_EQ(L.m_soundClasses, std::vector<std::string>{"DOOR.SND"});
    EXPECT_EQ(L.m_cogScripts, std::vector<std::string>{"DOOR.COG"});

    ASSERT_EQ(L.m_cogs.size(), 1u);
    EXPECT_EQ(L.m_cogs[0]->m_script, "DOOR.COG");
    EXPECT_EQ(L.m_cogs[0]->m_values, (std::vector<std::string>{"3", "10", "0.5"}));

    // Template lines are stored lower-cased; the parameters are the rest of the line.
    ASSERT_EQ(L.m_templates.size(), 2u);
    EXPECT_EQ(L.m_templates[0]->m_basedOn, "none");
    EXPECT_EQ(L.m_templates[1]->m_name, "crate");
    EXPECT_EQ(L.m_templates[1]->m_basedOn, "_base");
    EXPECT_EQ(L.m_templates[1]->m_params, "model3d=crate.3do size=0.1  puppet=walk.pup");
    EXPECT_EQ(L.m_templates[1]->m_model, "crate.3do");
    EXPECT_EQ(L.m_templates[0]->m_model, "");

    ASSERT_EQ(L.m_things.size(), 2u);
    const CQzlThing& t = *L.m_things[0];
    EXPECT_EQ(t.m_template, "CRATE");
    EXPECT_EQ(t.m_name, "CRATE1");
    ExpectVector(t.m_position, 1.0f, 3.0f, 2.0f);
    // The file's Pitch column is the record's roll and its Roll column the record's pitch.
    EXPECT_FLOAT_EQ(t.m_roll, 10.0f);
    EXPECT_FLOAT_EQ(t.m_yaw, 20.0f);
    EXPECT_FLOAT_EQ(t.m_pitch, 30.0f);
    EXPECT_EQ(t.m_sector, 0);
    EXPECT_EQ(t.m_spareIndex, varnok ? 7 : -1);
    EXPECT_EQ(t.m_thingFlags, 0x40u);
    ExpectVector(t.m_velocity, 1.0f, 3.0f, 2.0f);
    EXPECT_EQ(t.m_aiClass, "DEFAULT.AI");
    ASSERT_EQ(t.m_frames.size(), 2u);
    // Frame floats: x, z, y, pitch, roll, yaw of the file.
    const CWorldVertex& f = t.m_frames[1];
    EXPECT_EQ((std::vector<float>{f.x, f.y, f.z, f.extra[0], f.extra[1], f.extra[2]}),
              (std::vector<float>{7, 9, 8, 10, 12, 11}));
    EXPECT_EQ(L.m_things[1]->m_sector, 1);
    EXPECT_EQ(L.m_things[1]->m_thingFlags, 0u);
}

INSTANTIATE_TEST_SUITE_P(Products, QzlReaderFixture, ::testing::Values(0, 1),
                         [](const auto& p) { return p.param ? "Varnok" : "Korvath"; });

// A GEORESOURCE section with three world vertices, one texture vertex (8, 16) and the given
// surface lines, followed by their normals.
std::string Geo(const std::vector<std::string>& surfaces)
{
    std::string s = "SECTION: GEORESOURCE\nWorld Colormaps 1\n0: dflt.cmp\n"
                    "World vertices 3\n0: 0 0 0\n1: 1 0 0\n2: 0 1 0\n"
                    "World texture vertices 1\n0: 8 16\nWorld adjoins 0\n";
    s += "World surfaces " + std::to_string(surfaces.size()) + "\n";
    for (const std::string& line : surfaces)
        s += line + "\n";
    s += "#--- Surface normals ---\n";
    for (std::size_t i = 0; i < surfaces.size(); ++i)
        s += std::to_string(i) + ": 0 0 1\n";
    return s;
}

const std::string kThingsHead = "SECTION: THINGS\nWorld things 201\n";

struct CReadCase {
    const char* name;
    std::string text;
    int product;
    std::function<void(const CQzlSections&)> check;
};

TEST(QzlReader, ReadingRules)
{
    const std::string longComment = "#" + std::string(2047, 'x');  // exactly the line limit
    const std::vector<CReadCase> cases = {
        {"keyword lines in lower case",
         "section: georesource\nworld colormaps 1\n0: a.cmp\n"
         "world vertices 1\n0: 1 2 3\n",
         0,
         [](const CQzlSections& L) {
             ASSERT_EQ(L.m_worldVertices.size(), 1u);
             EXPECT_FLOAT_EQ(L.m_worldVertices[0].y, 3.0f);
             EXPECT_EQ(L.m_colormaps, std::vector<std::string>{"A.CMP"});
         }},
        {"a blank before # makes an entry", "SECTION: SOUNDS\nWorld sounds 3\na.wav\n # x\nb.wav\n",
         0,
         [](const CQzlSections& L) {
             EXPECT_EQ(L.m_sounds, (std::vector<std::string>{"A.WAV", "#", "B.WAV"}));
         }},
        {"a count of 70 with six names and end",
         "SECTION: SOUNDS\nWorld sounds 70\n1.wav\n2.wav\n3.wav\n4.wav\n5.wav\n6.wav\nEnd\n"
         "SECTION: MATERIALS\nWorld materials 1\n0: m.mat 1 1\n",
         0,
         [](const CQzlSections& L) {
             EXPECT_EQ(L.m_sounds.size(), 6u);
             EXPECT_EQ(L.m_materials.size(), 1u);
         }},
        {"Varnok intensities missing at the end",
         Geo({"0: -1 0x0 0x0 4 3 1 -1 0.0 2  0,0 1,-1  0.1 0.2 0.3 0.4 0.5"}), 1,
         [](const CQzlSections& L) {
             ASSERT_EQ(L.m_surfaces.size(), 1u);
             const auto& c = L.m_surfaces[0]->m_vertices;
             ASSERT_EQ(c.size(), 2u);
             EXPECT_FLOAT_EQ(c[0].m_intensity[3], 0.4f);
             EXPECT_FLOAT_EQ(c[1].m_intensity[0], 0.5f);
             EXPECT_FLOAT_EQ(c[1].m_intensity[1], 1.0f);
             EXPECT_FLOAT_EQ(c[0].m_u, 8.0f);  // texture vertex 0
             EXPECT_FLOAT_EQ(c[1].m_u, 0.0f);  // texture vertex -1: none
         }},
        {"a sector sound that is not in the list",
         "SECTION: SOUNDS\nWorld sounds 1\nhum.wav\nend\nSECTION: SECTORS\nWorld sectors 2\n"
         "SECTOR 0\nCOLORMAP -1\nSOUND nosuch.wav 0.5\nSURFACES 0 0\n"
         "SECTOR 1\nCOLORMAP -1\nSURFACES 0 0\n",
         0,
         [](const CQzlSections& L) {
             ASSERT_EQ(L.m_sectors.size(), 2u);
             EXPECT_EQ(L.m_sectors[0]->m_sound, -1);
             EXPECT_FLOAT_EQ(L.m_sectors[0]->m_soundVolume, 0.5f);
             EXPECT_EQ(L.m_sectors[1]->m_sound, -1);
         }},
        {"thing keys",
         kThingsHead + "0: a b 1 2 3 0 0 0 -1 light=0.5 thingflags=0x40 vel=(1/2/3) "
                       "numframes=2 frame=(1/2/3:4/5/6) frame=(7/8/9\n",
         0,
         [](const CQzlSections& L) {
             ASSERT_EQ(L.m_things.size(), 1u);
             const CQzlThing& t = *L.m_things[0];
             EXPECT_EQ(t.m_thingFlags, 0x40u);
             EXPECT_FLOAT_EQ(t.m_velocity.y, 3.0f);
             ASSERT_EQ(t.m_frames.size(), 2u);
             EXPECT_FLOAT_EQ(t.m_frames[0].extra[2], 5.0f);
             EXPECT_FLOAT_EQ(t.m_frames[1].z, 8.0f);
             EXPECT_FLOAT_EQ(t.m_frames[1].extra[0], 0.0f);  // the angles token is missing
         }},
        {"carriage return and line feed", "SECTION: SOUNDS\r\nWorld sounds 2\r\na.wav\r\nb.wav\r\n",
         0,
         [](const CQzlSections& L) {
             EXPECT_EQ(L.m_sounds, (std::vector<std::string>{"A.WAV", "B.WAV"}));
         }},
        {"lone carriage returns", "SECTION: SOUNDS\rWorld sounds 2\ra.wav\rb.wav\rend\r", 0,
         [](const CQzlSections& L) {
             EXPECT_EQ(L.m_sounds, (std::vector<std::string>{"A.WAV", "B.WAV"}));
         }},
        {"a line longer than 2048 characters continues as the next line",
         "SECTION: SOUNDS\nWorld sounds 3\n" + longComment + "c.wav\nend\n", 0,
         [](const CQzlSections& L) { EXPECT_EQ(L.m_sounds, std::vector<std::string>{"C.WAV"}); }},
        {"an empty file", "", 0,
         [](const CQzlSections& L) {
             EXPECT_EQ(L.m_gameTag, "OLD");
             EXPECT_TRUE(L.m_surfaces.empty());
         }},
        {"only the tag section", "SECTION: QZ", 0,
         [](const CQzlSections& L) { EXPECT_EQ(L.m_gameTag, "QZ"); }},
        {"lines outside a section are skipped",
         "World sounds 1\na.wav\nSECTION: BOGUS\n"
         "World sounds 1\nb.wav\n",
         0, [](const CQzlSections& L) { EXPECT_TRUE(L.m_sounds.empty()); }},
    };
    for (const CReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        CQzlSections level;
        level.m_gameTag = "OLD";  // only a tag section changes it
        ReadQzl(level, Bytes(c.text), c.product);
        c.check(level);
    }
}

TEST(QzlReader, LinesOfTheLineReader)
{
    const char text[] = "one\r\n\r\n#two\rThree\0hidden\nfour";
    CQzlLineReader reader(std::string_view(text, sizeof text - 1));
    std::string line;
    ASSERT_TRUE(reader.ReadNextLineBuf(line));
    EXPECT_EQ(line, "ONE");
    EXPECT_EQ(reader.LineNumber(), 1u);
    ASSERT_TRUE(reader.ReadNextLineBuf(line));
    EXPECT_EQ(line, "THREE");  // empty line and comment skipped
    EXPECT_EQ(reader.LineNumber(), 4u);
    reader.UnreadLine();
    ASSERT_TRUE(reader.ReadNextLine(line));
    EXPECT_EQ(line, "three");
    ASSERT_TRUE(reader.ReadLine(line));
    EXPECT_EQ(line, "four");
    EXPECT_FALSE(reader.ReadLine(line));

    // Exactly 2048 characters and a line end: the line end follows as an empty line.
    const std::string full = std::string(2048, 'q') + "\nr";
    CQzlLineReader cut(full);
    ASSERT_TRUE(cut.ReadLine(line));
    EXPECT_EQ(line.size(), 2048u);
    ASSERT_TRUE(cut.ReadLine(line));
    EXPECT_EQ(line, "");
    ASSERT_TRUE(cut.ReadNextLineBuf(line));
    EXPECT_EQ(line, "R");

    // Lines ending in a carriage return alone, then one line feed at the end: every line is
    // found without searching the rest of the text for a line feed again (which took seconds
    // here), and the lines are those of the text.
    std::string crOnly;
    for (int i = 0; i < 200000; ++i)
        crOnly += "line " + std::to_string(i) + "\r";
    crOnly += "last\n";
    CQzlLineReader many(crOnly);
    const auto start = std::chrono::steady_clock::now();
    int count = 0;
    std::string last;
    while (many.ReadLine(line)) {
        ++count;
        last = line;
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(count, 200001);
    EXPECT_EQ(last, "last");
}

// The lines of text as the line reader must give them, found one byte at a time: each ends at a
// line feed, a carriage return or both, its text ends at a byte 0, and a line longer than
// maxLength is cut there and goes on as the next line.
std::vector<std::string> LinesByteByByte(std::string_view text, std::size_t maxLength)
{
    std::vector<std::string> lines;
    std::size_t p = 0;
    while (p < text.size()) {
        const std::size_t start = p;
        while (p < text.size() && p - start < maxLength && text[p] != '\n' && text[p] != '\r')
            ++p;
        std::string line(text.substr(start, p - start));
        lines.push_back(line.substr(0, line.find('\0')));
        if (p < text.size() && p - start < maxLength) {
            if (text[p] == '\r' && p + 1 < text.size() && text[p + 1] == '\n')
                ++p;
            ++p;
        }
    }
    return lines;
}

TEST(QzlReader, LineEndsAndLetterCaseAtEveryPosition)
{
    // Line ends, byte 0 and letters at every position of the first blocks of a line, in lines
    // that end at the text's end or not, and lines cut at the length limit.
    const std::string ends[] = {"\n", "\r", "\r\n", std::string("\0tail\n", 6), "\n\r\n"};
    for (std::size_t length = 0; length <= 40; ++length) {
        for (const std::string& end : ends) {
            std::string line;
            for (std::size_t i = 0; i < length; ++i)
                line += "aZ{`@[yb0 "[i % 10];
            const std::string text = line + end + line + "x";
            SCOPED_TRACE(length);
            for (const std::size_t maxLength : {std::size_t{17}, CQzlLineReader::kMaxLine}) {
                CQzlLineReader reader(text);
                std::vector<std::string> read;
                std::string got;
                while (reader.ReadLine(got, maxLength))
                    read.push_back(got);
                EXPECT_EQ(read, LinesByteByByte(text, maxLength));
            }
            // Upper case changes the letters a to z only (not the characters around them).
            CQzlLineReader upper(text);
            std::string got;
            ASSERT_TRUE(upper.ReadNextLineBuf(got));
            std::string expected = length > 0 ? line : "x";
            for (char& c : expected)
                if (c >= 'a' && c <= 'z')
                    c = static_cast<char>(c - 32);
            EXPECT_EQ(got, expected);
        }
    }
}

TEST(QzlReader, ACountFarBeyondTheFileTakesNoMoreRoomThanItsEntries)
{
    // The lists are made large enough for their count at once, but only for as many entries as
    // the rest of the file can hold, and room for entries that did not come is given back.
    for (const int lines : {3, 20000}) {
        std::string text = "SECTION: GEORESOURCE\nWorld Colormaps 0\nWorld vertices 2000000000\n";
        for (int i = 0; i < lines; ++i)
            text += std::to_string(i) + ": 1 2 3\n";
        text += "World texture vertices 0\nWorld adjoins 2000000000\n0: 0x7 -1 0\n"
                "World surfaces 0\n";
        CQzlSections level;
        ReadQzl(level, Bytes(text), 0);
        SCOPED_TRACE(lines);
        ASSERT_EQ(level.m_worldVertices.size(), static_cast<std::size_t>(lines));
        EXPECT_LE(level.m_worldVertices.capacity(), 2 * level.m_worldVertices.size());
        ASSERT_EQ(level.m_adjoins.size(), 1u);
        EXPECT_LT(level.m_adjoins.capacity(), 8u);
    }
}

struct CBadCase {
    const char* name;
    std::string text;
    const char* message;                             // part of the error, or null: no error
    std::function<void(const CQzlSections&)> check;  // the repair, when there is no error
};

// The use counts of the world vertices, counted as the corners are read, are those a recount of
// the level gives: also when a corner names a vertex that a later section adds, when vertices
// follow the last surface, and when the level held surfaces before the read.
TEST(QzlReader, UseCountsAsReadAreThoseOfARecount)
{
    const std::string moreVertices =
        "SECTION: GEORESOURCE\nWorld Colormaps 0\nWorld vertices 2\n0: 5 5 5\n1: 6 6 6\n";
    struct CCase {
        const char* name;
        std::string text;
        bool surfaceBefore;
        std::vector<std::int32_t> counts;
    };
    const std::vector<CCase> cases = {
        {"corners naming vertices read before them",
         Geo({"0: -1 0x0 0x0 4 3 1 -1 0.0 3  0,0 1,0 2,0",
              "1: -1 0x0 0x0 4 3 1 -1 0.0 3  2,0 1,0 2,0"}),
         false,
         {1, 2, 3}},
        {"a corner naming a vertex that a later section adds",
         Geo({"0: -1 0x0 0x0 4 3 1 -1 0.0 3  0,0 1,0 3,0"}) + moreVertices,
         false,
         {1, 1, 0, 1, 0}},
        {"vertices after the last surface",
         Geo({"0: -1 0x0 0x0 4 3 1 -1 0.0 3  0,0 1,0 2,0"}) + moreVertices,
         false,
         {1, 1, 1, 0, 0}},
        {"a level that held a surface before the read",
         Geo({"0: -1 0x0 0x0 4 3 1 -1 0.0 3  0,0 1,0 2,0"}),
         true,
         {2, 1, 1}},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.name);
        CQzlSections level;
        if (c.surfaceBefore) {
            auto surface = std::make_unique<CQzlSurface>();
            surface->m_vertices.emplace_back().m_worldVertex = 0;
            level.m_surfaces.push_back(std::move(surface));
        }
        ReadQzl(level, Bytes(c.text), 0);
        EXPECT_EQ(level.m_useCounts, c.counts);
        const std::vector<std::int32_t> asRead = level.m_useCounts;
        EXPECT_TRUE(CountVertexUses(level));
        EXPECT_EQ(level.m_useCounts, asRead);
    }
}

TEST(QzlReader, DamagedAndHostileFiles)
{
    const std::string longName(85, 'n');
    const std::string sectors = "Section: SECTORS\nWorld sectors 1\nSECTOR 0\nAMBIENT LIGHT 0.5\n"
                                "SURFACES 0 1\n";
    const std::vector<CBadCase> cases = {
        {"an 85-character material name",
         "SECTION: MATERIALS\nWorld materials 1\n0: " + longName + " 1 1\n",
         "at most 79",
         {}},
        {"an 85-character list name",
         "SECTION: MODELS\nWorld models 1\n0: " + longName + "\n",
         "at most 79",
         {}},
        {"an 85-character sector sound",
         "SECTION: SECTORS\nWorld sectors 1\nSOUND " + longName + " 1.0\n",
         "at most 79",
         {}},
        {"a texture-vertex index beyond the table",
         Geo({"0: -1 0x0 0x0 4 3 1 -1 0.0 3  0,0 1,0 2,5  1 1 1"}),
         "texture vertex 5",
         {}},
        {"fewer corners than announced",
         Geo({"0: -1 0x0 0x0 4 3 1 -1 0.0 9  0,0 1,0"}),
         "announces 9 corners",
         {}},
        {"a world vertex that does not exist",
         Geo({"0: -1 0x0 0x0 4 3 1 -1 0.0 3  0,0 1,0 7,0"}),
         "world vertex 7",
         {}},
        {"a sector run beyond the surfaces",
         "Section: SECTORS\nWorld sectors 2000000000\n"
         "SURFACES 0 2000000000\n",
         "sector 0 lists the surfaces 0 to 1999999999",
         {}},
        {"an adjoin whose mirror does not point back",
         "SECTION: GEORESOURCE\nWorld Colormaps 0\nWorld vertices 0\nWorld texture vertices 0\n"
         "World adjoins 2\n0: 0x7 1 0\n1: 0x7 1 0\n",
         nullptr,
         [](const CQzlSections& L) {
             // Opened as stored, for Check to report and Clean Up to repair.
             ASSERT_EQ(L.m_adjoins.size(), 2u);
             EXPECT_EQ(L.m_adjoins[0]->m_mirror, 1);
             EXPECT_EQ(L.m_adjoins[1]->m_mirror, 1);
         }},
        {"a count far beyond the file",
         "SECTION: GEORESOURCE\nWorld Colormaps 0\n"
         "World vertices 2000000000\n0: 1 2 3\n1: 4 5 6\n2: 7 8 9\n",
         nullptr, [](const CQzlSections& L) { EXPECT_EQ(L.m_worldVertices.size(), 3u); }},
        {"the surface normals missing before the sectors",
         Geo({"0: -1 0x0 0x0 4 3 1 -1 0.0 3  0,0 1,0 2,0  1 1 1"})
                 .substr(0,
                         Geo({"0: -1 0x0 0x0 4 3 1 -1 0.0 3  0,0 1,0 2,0  1 1 1"}).find("#---")) +
             sectors,
         nullptr,
         [](const CQzlSections& L) {
             ASSERT_EQ(L.m_sectors.size(), 1u);
             EXPECT_FLOAT_EQ(L.m_sectors[0]->m_ambientLight, 0.5f);
             EXPECT_EQ(L.m_sectors[0]->m_surfaces, std::vector<std::int32_t>{0});
         }},
        {"a header without its last line",
         "SECTION: HEADER\nVersion 3\n"
         "SECTION: SOUNDS\nWorld sounds 1\na.wav\n",
         nullptr,
         [](const CQzlSections& L) {
             EXPECT_EQ(L.m_header.m_version, 3);
             EXPECT_EQ(L.m_sounds, std::vector<std::string>{"A.WAV"});
         }},
        {"a list without its count line",
         "SECTION: SOUNDS\nSECTION: MODELS\nWorld models 1\n"
         "0: m.3do\n",
         nullptr,
         [](const CQzlSections& L) { EXPECT_EQ(L.m_models, std::vector<std::string>{"M.3DO"}); }},
    };
    for (const CBadCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.message) {
            EXPECT_NE(ReadError(c.text).find(c.message), std::string::npos) << ReadError(c.text);
        } else {
            c.check(Read(c.text));
        }
    }
}

// Random bytes and randomly damaged copies of the fixture: every file is read or refused with a
// CArchiveException, never anything worse (the tests run under the sanitizers).
TEST(QzlReader, GarbageIsReadOrRefused)
{
    std::mt19937 random(12345);
    const std::string fixture = FixtureText(true);
    const char alphabet[] = "0123456789 :,-.#\n\r\tSECTIONWORLDxX=()/";
    for (int round = 0; round < 300; ++round) {
        std::string text;
        if (round < 50) {
            text.resize(random() % 4000);
            for (char& ch : text)
                ch = static_cast<char>(random() & 0xFF);
        } else {
            text = fixture;
            const int edits = 1 + static_cast<int>(random() % 8);
            for (int e = 0; e < edits; ++e) {
                const std::size_t at = random() % text.size();
                const unsigned kind = random() % 3;
                if (kind == 0)
                    text[at] = alphabet[random() % (sizeof alphabet - 1)];
                else if (kind == 1)
                    text.erase(at, random() % 200);
                else
                    text.insert(at, std::string(1 + random() % 3, alphabet[random() % 10]));
            }
        }
        for (int product = 0; product < 2; ++product) {
            try {
                Read(text, product);
            } catch (const CArchiveException& e) {
                EXPECT_STRNE(e.what(), "");
            }
        }
    }
}

// What reading text says is missing: ReadQzl's answer, or the message of the error it throws.
std::string MissingFrom(const std::string& text)
{
    try {
        CQzlSections level;
        return ReadQzl(level, Bytes(text), 0);
    } catch (const CArchiveException& e) {
        return e.what();
    }
}

// The written L corridor with two things: three sectors, 18 surfaces.
std::string WrittenCorridor()
{
    CQzlSections level = MakeLCorridor();
    for (const char* name : {"walker", "watcher"}) {
        auto thing = std::make_unique<CQzlThing>();
        thing->m_template = "ghost";
        thing->m_name = name;
        thing->m_sector = 1;
        level.m_things.push_back(std::move(thing));
    }
    return WriteQzl(level, CGameResources{}, 0);
}

// The text up to where `after` occurs (searched from the occurrence of `from`), plus extra
// characters.
std::string CutAfter(const std::string& text, const std::string& from, const std::string& after,
                     std::size_t extra = 0)
{
    const std::size_t start = text.find(from);
    const std::size_t at = text.find(after, start == std::string::npos ? 0 : start);
    EXPECT_NE(at, std::string::npos) << after;
    return text.substr(0, at + after.size() + extra);
}

TEST(QzlReader, ATextCutShortSaysWhatIsMissing)
{
    const std::string whole = WrittenCorridor();
    ASSERT_EQ(MissingFrom(whole), "");
    std::string longVertices = whole;
    longVertices.replace(longVertices.find("World vertices 16"), 17, "World vertices 18");
    std::string fewSectors = whole;
    fewSectors.erase(fewSectors.find("\n\nSECTOR    2"), fewSectors.find("\n######### AI Classes") -
                                                             fewSectors.find("\n\nSECTOR    2"));

    const struct {
        const char* name;
        std::string text;
        const char* missing;
    } cases[] = {
        {"inside the header", CutAfter(whole, "SECTION: HEADER", "Version"),
         "The file ends inside the HEADER section."},
        {"inside a vertex line", CutAfter(whole, "World vertices", "\n2: ", 3),
         "The file ends inside the GEORESOURCE section: 2 of 16 world vertices."},
        {"after four whole surface lines", CutAfter(whole, "World surfaces", "\n4:", -2),
         "The file ends inside the GEORESOURCE section: 4 of 18 surfaces."},
        {"inside a surface's corners", CutAfter(whole, "World surfaces", "\n5:", 40),
         "The file ends inside the GEORESOURCE section."},
        {"before the normals", CutAfter(whole, "World surfaces", "\n#--- Surface normals", -20),
         "The file ends inside the GEORESOURCE section: 0 of 18 surface normals."},
        {"inside the count line of the sectors", CutAfter(whole, "Section: SECTORS", "World sec"),
         "The file ends inside the SECTORS section."},
        {"inside sector 1", CutAfter(whole, "SECTOR    1", "AMBIENT LIGHT"),
         "The file ends inside the SECTORS section: 1 of 3 sectors."},
        {"inside a thing line", CutAfter(whole, "World things", "1: ghost", 2),
         "The file ends inside the THINGS section: things 1 read, no \"end\" line."},
        {"before the end line of the things", CutAfter(whole, "watcher", "\n"),
         "The file ends inside the THINGS section: things 2 read, no \"end\" line."},
        {"a section line in place of a sector", fewSectors,
         "The SECTORS section ends early: 2 of 3 sectors."},
        {"a count line in place of a vertex", longVertices,
         "The GEORESOURCE section ends early: 16 of 18 world vertices."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MissingFrom(c.text).substr(0, std::string(c.missing).size()), c.missing)
            << MissingFrom(c.text);
        // Read as a whole level, it is refused with that text.
        try {
            ReadWholeQzl(Bytes(c.text), 0);
            ADD_FAILURE() << "the text was taken for a whole level";
        } catch (const CArchiveException& e) {
            EXPECT_EQ(std::string(e.what()).rfind(c.missing, 0), 0u) << e.what();
        }
    }
}

TEST(QzlReader, LoadQzlFileReportsAMissingFile)
{
    EXPECT_THROW(LoadQzlFile("/nonexistent/folder/level.qzl", 0), CFileException);
}

}  // namespace
