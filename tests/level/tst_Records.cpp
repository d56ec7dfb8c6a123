#include "support/LevelBytes.h"

#include "level/QzlAdjoin.h"
#include "level/QzlCog.h"
#include "level/QzlHeader.h"
#include "level/QzlMaterial.h"
#include "level/QzlSector.h"
#include "level/QzlSurface.h"
#include "level/QzlTemplate.h"
#include "level/QzlThing.h"
#include "level/QzlVertex.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

CQzlVertex MakeCorner(std::int32_t worldVertex, float u, float v)
{
    CQzlVertex c;
    c.m_worldVertex = worldVertex;
    c.m_u = u;
    c.m_v = v;
    return c;
}

std::unique_ptr<CQzlSurface> FilledSurface()
{
    auto s = std::make_unique<CQzlSurface>();
    s->m_material = 2;
    s->m_surfaceFlags = 0x10;
    s->m_faceFlags = 4;
    s->m_geo = 4;
    s->m_light = 3;
    s->m_tex = 1;
    s->m_adjoin = 7;
    s->m_extraLight = 0.25f;
    s->m_vertices = {MakeCorner(1, 1.0f, 2.0f), MakeCorner(2, 3.0f, 4.0f)};
    s->m_normal = {0.0f, 1.0f, 0.0f};
    s->m_angle = 45.0f;
    s->m_uOffset = 1.0f;
    s->m_vOffset = 2.0f;
    s->m_uScale = 256.0f;
    s->m_vScale = 128.0f;
    s->m_startVertex = 1;
    return s;
}

struct StoredFormCase {
    const char* name;
    std::function<std::unique_ptr<CObject>()> make;
    Bytes expected;
};

}  // namespace

// Every record writes exactly its stored form (newest schema), and reads it back to the same bytes.
TEST(Records, StoredFormOfEachRecord)
{
    const StoredFormCase cases[] = {
        {"material",
         [] {
             auto m = std::make_unique<CQzlMaterial>("stone.mat");
             m->m_xTile = 2.0f;
             m->m_yTile = 0.5f;
             return m;
         },
         ByteBuilder{}.NewClass("CQzlMaterial", 1).Str("stone.mat").Floats(2.0f, 0.5f).b},
        {"adjoin",
         [] {
             auto a = std::make_unique<CQzlAdjoin>();
             a->m_flags = 3;
             a->m_mirror = 5;
             a->m_dist = 1.5f;
             a->m_otherSector = 2;  // derived, not stored
             return a;
         },
         ByteBuilder{}.NewClass("CQzlAdjoin", 1).U32(3).I32(5).F32(1.5f).b},
        {"vertex",
         [] {
             auto v = std::make_unique<CQzlVertex>(MakeCorner(12, 16.0f, 32.0f));
             v->m_textureVertex = 9;  // older files only, not stored
             v->m_intensity[0] = 0.1f;
             v->m_intensity[1] = 0.2f;
             v->m_intensity[2] = 0.3f;
             v->m_intensity[3] = 0.4f;
             v->m_marked = 1;
             return v;
         },
         ByteBuilder{}
             .NewClass("CQzlVertex", 3)
             .I32(12)
             .Floats(16.0f, 32.0f, 0.1f, 0.2f, 0.3f, 0.4f)
             .b},
        {"surface",
         [] {
             auto s = FilledSurface();
             s->m_mirror = 1;            // not stored
             s->m_textureWidth = 64.0f;  // render data, not stored
             return s;
         },
         // Classes and objects share one running index: surface class 1, surface 2, CObArray
         // class 3, list 4, vertex class 5, so the second corner refers to class 5.
         ByteBuilder{}
             .NewClass("CQzlSurface", 3)
             .I32(2)
             .U32(0x10)
             .U32(4)
             .I32(4)
             .I32(3)
             .I32(1)
             .I32(7)
             .F32(0.25f)
             .NewClass("CObArray", 0)
             .Count(2)
             .NewClass("CQzlVertex", 3)
             .I32(1)
             .Floats(1.0f, 2.0f, 1.0f, 1.0f, 1.0f, 1.0f)
             .ClassRef(5)
             .I32(2)
             .Floats(3.0f, 4.0f, 1.0f, 1.0f, 1.0f, 1.0f)
             .Floats(45.0f, 1.0f, 2.0f, 256.0f, 128.0f)
             .I32(1)
             .Floats(0.0f, 1.0f, 0.0f)
             .b},
        {"sector",
         [] {
             auto s = std::make_unique<CQzlSector>();
             s->m_number = 3;
             s->m_flags = 0x1000;
             s->m_colormap = 1;
             s->m_ambientLight = 0.5f;
             s->m_extraLight = 0.25f;
             s->m_tint[0] = 0.1f;
             s->m_tint[1] = 0.2f;
             s->m_tint[2] = 0.3f;
             s->m_boundBox = {{0.0f, 0.0f, 0.0f}, {1.0f, 2.0f, 3.0f}};
             s->m_collideBox = {{-1.0f, -1.0f, -1.0f}, {4.0f, 4.0f, 4.0f}};
             s->m_sound = 2;
             s->m_soundVolume = 0.75f;
             s->m_center = {0.5f, 1.0f, 1.5f};
             s->m_radius = 2.5f;
             s->m_surfaces = {4, 5, 6};
             s->m_visible = {1, 2};  // not stored
             s->m_groupName = "Hall";
             return s;
         },
         ByteBuilder{}
             .NewClass("CQzlSector", 2)
             .I32(3)
             .U32(0x1000)
             .I32(1)
             .Floats(0.5f, 0.25f)
             .I32(2)
             .F32(0.75f)
             .Floats(0.1f, 0.2f, 0.3f)
             .Floats(0.0f, 0.0f, 0.0f, 1.0f, 2.0f, 3.0f)
             .Floats(-1.0f, -1.0f, -1.0f, 4.0f, 4.0f, 4.0f)
             .Floats(0.5f, 1.0f, 1.5f)
             .F32(2.5f)
             .Str("Hall")
             .Count(3)
             .I32(4)
             .I32(5)
             .I32(6)
             .b},
        {"template",
         [] {
             auto t = std::make_unique<CQzlTemplate>();
             t->m_name = "door";
             t->m_basedOn = "_door";
             t->m_params = "model3d=door.3do size=0.1";
             t->m_model = "door.3do";
             t->m_runtimeText = "not stored";
             return t;
         },
         ByteBuilder{}
             .NewClass("CQzlTemplate", 1)
             .Str("door")
             .Str("_door")
             .Str("model3d=door.3do size=0.1")
             .Str("door.3do")
             .b},
        {"cog",
         [] {
             auto c = std::make_unique<CQzlCog>("switch.cog");
             c->m_values = {"5", "door"};
             return c;
         },
         ByteBuilder{}.NewClass("CQzlCog", 1).Str("switch.cog").Count(2).Str("5").Str("door").b},
        {"thing",
         [] {
             auto t = std::make_unique<CQzlThing>();
             t->m_template = "crate";
             t->m_name = "crate1";
             t->m_position = {1.0f, 2.0f, 3.0f};
             t->m_pitch = 10.0f;
             t->m_yaw = 20.0f;
             t->m_roll = 30.0f;
             t->m_sector = 4;
             t->m_spareIndex = 7;
             t->m_thingFlags = 0x400;
             t->m_velocity = {0.5f, 0.0f, 0.0f};
             t->m_frames = {CWorldVertex{1.0f, 2.0f, 3.0f, {4.0f, 5.0f, 6.0f, 7.0f, 8.0f, 9.0f}}};
             t->m_aiClass = "default.ai";
             t->m_runtimeIndex = 3;  // not stored
             return t;
         },
         ByteBuilder{}
             .NewClass("CQzlThing", 2)
             .Str("crate")
             .Str("crate1")
             .Floats(10.0f, 20.0f, 30.0f)
             .Floats(1.0f, 2.0f, 3.0f)
             .Floats(0.5f, 0.0f, 0.0f)
             .I32(4)
             .U32(0x400)
             .Str("default.ai")
             .I32(7)
             .Count(1)
             .Floats(1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 7.0f, 8.0f, 9.0f)
             .b},
    };

    for (const StoredFormCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto record = c.make();
        const Bytes stored = StoreObject(*record);
        EXPECT_EQ(stored, c.expected);

        CArchive in(LevelClassRegistry(), stored);
        const auto loaded = in.ReadObject();
        ASSERT_TRUE(loaded);
        EXPECT_TRUE(in.AtEnd());
        EXPECT_STREQ(loaded->GetRuntimeClass().m_lpszClassName,
                     record->GetRuntimeClass().m_lpszClassName);
        EXPECT_EQ(StoreObject(*loaded), stored);
    }
}

// The header is stored as bare data, horizon pixels per rev after the LOD distances.
TEST(Records, HeaderStoredForm)
{
    CQzlHeader h;
    h.m_version = 1;
    h.m_worldGravity = 4.0f;
    h.m_ceilingSkyZ = 15.0f;
    h.m_horizonDistance = 200.0f;
    h.m_horizonPixelsPerRev = 768.0f;
    h.m_horizonSkyOffset[0] = 0.5f;
    h.m_horizonSkyOffset[1] = 0.25f;
    h.m_ceilingSkyOffset[0] = 1.0f;
    h.m_ceilingSkyOffset[1] = 2.0f;
    for (int i = 0; i < 4; ++i) {
        h.m_mipmapDistances[i] = static_cast<float>(i + 1);
        h.m_lodDistances[i] = static_cast<float>(i + 5);
    }
    h.m_perspectiveDistance = 2.0f;
    h.m_gouraudDistance = 4.0f;

    CArchive out(LevelClassRegistry());
    h.Serialize(out);
    const Bytes expected = ByteBuilder{}
                               .I32(1)
                               .Floats(4.0f, 15.0f, 200.0f)
                               .Floats(0.5f, 0.25f, 1.0f, 2.0f)
                               .Floats(1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 7.0f, 8.0f)
                               .Floats(768.0f, 2.0f, 4.0f)
                               .b;
    EXPECT_EQ(out.Buffer(), expected);

    CArchive in(LevelClassRegistry(), expected);
    CQzlHeader loaded;
    loaded.Serialize(in);
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(loaded.m_horizonPixelsPerRev, 768.0f);
    EXPECT_EQ(loaded.m_lodDistances[3], 8.0f);
    EXPECT_EQ(loaded.m_gouraudDistance, 4.0f);
}

TEST(Records, DefaultsOfNewRecords)
{
    const CQzlHeader header;
    EXPECT_EQ(header.m_version, 0);
    EXPECT_EQ(header.m_gouraudDistance, 0.0f);

    const CQzlMaterial material;
    EXPECT_EQ(material.m_xTile, 1.0f);
    EXPECT_EQ(material.m_yTile, 1.0f);

    const CQzlAdjoin adjoin;
    EXPECT_EQ(adjoin.m_flags, 7u);
    EXPECT_EQ(adjoin.m_mirror, -1);
    EXPECT_EQ(adjoin.m_otherSector, -1);
    EXPECT_EQ(adjoin.m_otherSurface, -1);

    const CQzlVertex corner;
    EXPECT_EQ(corner.m_worldVertex, 0);
    EXPECT_EQ(corner.m_intensity[3], 1.0f);
    EXPECT_EQ(corner.m_spareIndex, -1);

    const CQzlSurface surface;
    EXPECT_EQ(surface.m_material, -1);
    EXPECT_EQ(surface.m_adjoin, -1);
    EXPECT_EQ(surface.m_renderIndex, -1);
    EXPECT_EQ(surface.m_textureWidth, 768.0f);
    EXPECT_EQ(surface.m_uScale, 320.0f);
    EXPECT_EQ(surface.m_vScale, 320.0f);
    EXPECT_EQ(surface.m_texture, nullptr);

    const CQzlSector sector;
    EXPECT_EQ(sector.m_sound, -1);
    EXPECT_EQ(sector.m_groupName, "Default");
    EXPECT_EQ(sector.m_runtime[2], 0);

    const CQzlThing thing;
    EXPECT_EQ(thing.m_spareIndex, -1);
    EXPECT_EQ(thing.m_runtimeFloat[0], 8.0f);
    EXPECT_EQ(thing.m_runtimeFloat[1], 2.0f);
    EXPECT_EQ(thing.m_runtimeIndex, -1);
    EXPECT_EQ(thing.m_model, nullptr);
}

TEST(Records, OlderCornerSchemas)
{
    // Schema 1: one intensity for all four and a texture-vertex index; u and v keep 0.
    auto v1 =
        LoadObject<CQzlVertex>(ByteBuilder{}.NewClass("CQzlVertex", 1).I32(7).I32(2).F32(0.5f).b);
    EXPECT_EQ(v1->m_worldVertex, 7);
    EXPECT_EQ(v1->m_textureVertex, 2);
    for (float intensity : v1->m_intensity)
        EXPECT_EQ(intensity, 0.5f);
    EXPECT_EQ(v1->m_u, 0.0f);
    EXPECT_EQ(v1->m_v, 0.0f);

    // Schema 2: texture-vertex index and four intensities.
    auto v2 = LoadObject<CQzlVertex>(
        ByteBuilder{}.NewClass("CQzlVertex", 2).I32(7).I32(3).Floats(0.1f, 0.2f, 0.3f, 0.4f).b);
    EXPECT_EQ(v2->m_textureVertex, 3);
    EXPECT_EQ(v2->m_intensity[0], 0.1f);
    EXPECT_EQ(v2->m_intensity[3], 0.4f);
    EXPECT_EQ(v2->m_u, 0.0f);
    EXPECT_EQ(v2->m_v, 0.0f);
}

// An old surface holding a newer corner: the surface's own schema decides what follows the
// corners, not the schema of the last corner read.
TEST(Records, OlderSurfaceSchemas)
{
    const auto head = [](std::uint16_t schema) {
        return ByteBuilder{}
            .NewClass("CQzlSurface", schema)
            .I32(2)
            .U32(0)
            .U32(0)
            .I32(4)
            .I32(3)
            .I32(1)
            .I32(-1)
            .F32(0.0f)
            .NewClass("CObArray", 0)
            .Count(1)
            .NewClass("CQzlVertex", 3)
            .I32(5)
            .Floats(1.0f, 2.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    };

    auto s1 = LoadObject<CQzlSurface>(head(1).Floats(0.0f, 0.0f, 1.0f).b);
    ASSERT_EQ(s1->m_vertices.size(), 1u);
    EXPECT_EQ(s1->m_vertices[0].m_worldVertex, 5);
    EXPECT_EQ(s1->m_normal, CVector3(0.0f, 0.0f, 1.0f));
    EXPECT_EQ(s1->m_angle, 0.0f);
    EXPECT_EQ(s1->m_uScale, 320.0f);
    EXPECT_EQ(s1->m_vScale, 320.0f);
    EXPECT_EQ(s1->m_startVertex, 0);

    auto s2 = LoadObject<CQzlSurface>(
        head(2).Floats(30.0f, 1.0f, 2.0f, 64.0f, 32.0f).Floats(0.0f, -1.0f, 0.0f).b);
    EXPECT_EQ(s2->m_angle, 30.0f);
    EXPECT_EQ(s2->m_vOffset, 2.0f);
    EXPECT_EQ(s2->m_vScale, 32.0f);
    EXPECT_EQ(s2->m_startVertex, 0);
    EXPECT_EQ(s2->m_normal, CVector3(0.0f, -1.0f, 0.0f));
}

TEST(Records, OlderSectorAndThingSchemas)
{
    auto sector = LoadObject<CQzlSector>(ByteBuilder{}
                                             .NewClass("CQzlSector", 1)
                                             .I32(0)
                                             .U32(0)
                                             .I32(0)
                                             .Floats(1.0f, 0.0f)
                                             .I32(-1)
                                             .F32(0.0f)
                                             .Floats(0.0f, 0.0f, 0.0f)
                                             .Floats(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f)
                                             .Floats(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f)
                                             .Floats(0.5f, 0.5f, 0.5f)
                                             .F32(0.9f)
                                             .Count(2)
                                             .I32(0)
                                             .I32(1)
                                             .b);
    EXPECT_EQ(sector->m_groupName, "Default");
    EXPECT_EQ(sector->m_surfaces, (std::vector<std::int32_t>{0, 1}));
    EXPECT_EQ(sector->m_radius, 0.9f);

    auto thing = LoadObject<CQzlThing>(ByteBuilder{}
                                           .NewClass("CQzlThing", 1)
                                           .Str("crate")
                                           .Str("crate1")
                                           .Floats(0.0f, 90.0f, 0.0f)
                                           .Floats(1.0f, 2.0f, 3.0f)
                                           .Floats(0.0f, 0.0f, 0.0f)
                                           .I32(0)
                                           .U32(0)
                                           .Str("")
                                           .Count(0)
                                           .b);
    EXPECT_EQ(thing->m_spareIndex, -1);
    EXPECT_EQ(thing->m_yaw, 90.0f);
    EXPECT_EQ(thing->m_position, CVector3(1.0f, 2.0f, 3.0f));
}

TEST(Records, UnknownSchemaIsRefused)
{
    struct Case {
        const char* name;
        std::uint16_t schema;
    };
    const Case cases[] = {
        {"CQzlVertex", 4},   {"CQzlSurface", 4}, {"CQzlSector", 3}, {"CQzlThing", 3},
        {"CQzlMaterial", 2}, {"CQzlVertex", 0},  {"CQzlSector", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " schema " + std::to_string(c.schema));
        // Plenty of zero bytes behind the tag, so only the schema can be at fault.
        Bytes bytes = ByteBuilder{}.NewClass(c.name, c.schema).b;
        bytes.resize(bytes.size() + 256, 0);
        EXPECT_EQ(LoadFailure(bytes, [](CArchive& ar) { ar.ReadObject(); }),
                  CArchiveException::badSchema);
    }
}

TEST(Records, SurfaceCopy)
{
    auto source = FilledSurface();
    source->m_vertices = {MakeCorner(10, 1.0f, 0.0f), MakeCorner(11, 2.0f, 0.0f),
                          MakeCorner(12, 3.0f, 0.0f)};
    for (CQzlVertex& c : source->m_vertices) {
        c.m_marked = 1;
        c.m_spareIndex = 5;
    }
    source->m_renderIndex = 9;
    source->m_spare[0] = 4;
    source->m_mirror = 1;
    source->m_textureWidth = 64.0f;
    source->m_renderPoints = {CVector3(1.0f, 1.0f, 1.0f)};
    source->m_renderVertices.resize(3);

    struct Case {
        bool copyCorners;
        bool reverse;
        std::vector<std::int32_t> corners;
    };
    const Case cases[] = {
        {false, false, {}},
        {false, true, {}},
        {true, false, {10, 11, 12}},
        {true, true, {12, 11, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "copy " << c.copyCorners << " reverse " << c.reverse);
        const CQzlSurface copy(*source, c.copyCorners, c.reverse);
        std::vector<std::int32_t> corners;
        for (const CQzlVertex& v : copy.m_vertices) {
            corners.push_back(v.m_worldVertex);
            EXPECT_EQ(v.m_marked, 0);
            EXPECT_EQ(v.m_spareIndex, -1);
            EXPECT_EQ(v.m_u, static_cast<float>(v.m_worldVertex - 9));
        }
        EXPECT_EQ(corners, c.corners);
        EXPECT_EQ(copy.m_adjoin, 7);
        EXPECT_EQ(copy.m_material, 2);
        EXPECT_EQ(copy.m_startVertex, 1);
        EXPECT_EQ(copy.m_vScale, 128.0f);
        EXPECT_EQ(copy.m_mirror, 1);
        EXPECT_EQ(copy.m_textureWidth, 64.0f);
        EXPECT_EQ(copy.m_renderIndex, -1);
        EXPECT_EQ(copy.m_spare[0], 0);
        EXPECT_TRUE(copy.m_renderPoints.empty());
        EXPECT_TRUE(copy.m_renderVertices.empty());
    }
}

// A copied corner is a new, unmarked corner; a corner moved inside a growing list keeps its mark.
TEST(Records, CornerCopyClearsMarkButMoveKeepsIt)
{
    CQzlVertex marked = MakeCorner(3, 1.0f, 2.0f);
    marked.m_marked = 1;
    marked.m_spareIndex = 4;

    const CQzlVertex copy(marked);
    EXPECT_EQ(copy.m_worldVertex, 3);
    EXPECT_EQ(copy.m_v, 2.0f);
    EXPECT_EQ(copy.m_marked, 0);
    EXPECT_EQ(copy.m_spareIndex, -1);

    std::vector<CQzlVertex> corners;
    for (int i = 0; i < 40; ++i) {
        CQzlVertex c = MakeCorner(i, 0.0f, 0.0f);
        c.m_marked = i % 2;
        corners.push_back(std::move(c));
    }
    corners.erase(corners.begin());
    for (const CQzlVertex& c : corners)
        EXPECT_EQ(c.m_marked, c.m_worldVertex % 2) << c.m_worldVertex;
}

TEST(Records, SurfaceReloadResetsRenderData)
{
    auto surface = FilledSurface();
    surface->m_mirror = 1;
    surface->m_textureWidth = 64.0f;
    surface->m_textureHeight = 32.0f;
    surface->m_xTile = 2.0f;
    surface->m_box = {{1.0f, 1.0f, 1.0f}, {2.0f, 2.0f, 2.0f}};
    surface->m_renderIndex = 3;
    surface->m_renderVertices.resize(2);
    surface->m_vertices[0].m_marked = 1;

    const auto loaded = LoadObject<CQzlSurface>(StoreObject(*surface));
    EXPECT_EQ(loaded->m_startVertex, 1);
    EXPECT_EQ(loaded->m_angle, 45.0f);
    EXPECT_EQ(loaded->m_uOffset, 1.0f);
    EXPECT_EQ(loaded->m_vOffset, 2.0f);
    EXPECT_EQ(loaded->m_uScale, 256.0f);
    EXPECT_EQ(loaded->m_vScale, 128.0f);
    EXPECT_EQ(loaded->m_mirror, 0);
    EXPECT_EQ(loaded->m_textureWidth, 768.0f);
    EXPECT_EQ(loaded->m_textureHeight, 768.0f);
    EXPECT_EQ(loaded->m_xTile, 1.0f);
    EXPECT_EQ(loaded->m_box, CBoundingBox{});
    EXPECT_EQ(loaded->m_renderIndex, -1);
    EXPECT_TRUE(loaded->m_renderVertices.empty());
    ASSERT_EQ(loaded->m_vertices.size(), 2u);
    EXPECT_EQ(loaded->m_vertices[0].m_marked, 0);
    EXPECT_EQ(loaded->m_vertices[1].m_u, 3.0f);
}

TEST(Records, SectorSortedIndexSet)
{
    struct Case {
        std::vector<std::int32_t> list;
        std::int32_t value;
        int found;
        int position;
        std::vector<std::int32_t> after;
    };
    const Case cases[] = {
        {{}, 5, 0, 0, {5}},
        {{1, 3, 5}, 3, 1, 1, {1, 3, 5}},
        {{1, 3, 5}, 4, 0, 2, {1, 3, 4, 5}},
        {{1, 3, 5}, 0, 0, 0, {0, 1, 3, 5}},
        {{1, 3, 5}, 9, 0, 3, {1, 3, 5, 9}},
        {{1, 3, 5}, 5, 1, 2, {1, 3, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        CQzlSector sector;
        sector.m_visible = c.list;
        int position = -7;
        EXPECT_EQ(sector.FindSortedIndex(c.value, position), c.found);
        EXPECT_EQ(position, c.position);
        EXPECT_EQ(sector.InsertSortedIndex(c.value), c.position);
        EXPECT_EQ(sector.m_visible, c.after);
    }
}

TEST(Records, TruncatedRecordIsAnArchiveError)
{
    Bytes bytes = StoreObject(*FilledSurface());
    for (std::size_t cut : {std::size_t{4}, std::size_t{40}, bytes.size() - 1}) {
        SCOPED_TRACE(cut);
        const Bytes shortBytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_EQ(LoadFailure(shortBytes, [](CArchive& ar) { ar.ReadObjectOf<CQzlSurface>(); }),
                  CArchiveException::endOfFile);
    }
}
