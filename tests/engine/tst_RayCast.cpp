#include "engine/RayCast.h"

#include "engine/3doModel.h"
#include "engine/PointMarkers.h"
#include "support/FixtureLevels.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct CHit {
    bool found = false;
    CVector3 point;
    CVector3 normal;
    int sector = 99;
    int surface = 99;
    int thing = 99;
    int marker = 99;
};

CHit Cast(C3dView& view, const CVector3& origin, const CVector3& direction, int adjoinMode = 2,
          bool skipMarkers = false, bool skipThings = false)
{
    const CRayHit r = CastRay(view, {origin, direction, skipMarkers, skipThings, adjoinMode});
    return {r.m_found, r.m_point, r.m_normal, r.m_sector, r.m_surface, r.m_thing, r.m_marker};
}

void ExpectVector(const CVector3& actual, const CVector3& expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
    EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

const CVector3 kCentre{0.5f, 0.5f, 0.5f};

TEST(RayCast, FromInsideFromOutsideAndMisses)
{
    CFixtureEngine f(MakeBoxRoom());
    const int wallXHigh = BoxSurface(f.m_level, 0, kBoxXHigh);

    // From inside the wall ahead is met, seen from inside.
    CHit h = Cast(f.m_view, kCentre, {1, 0, 0});
    ASSERT_TRUE(h.found);
    EXPECT_EQ(h.sector, 0);
    EXPECT_EQ(h.surface, wallXHigh);
    EXPECT_EQ(h.thing, -1);
    EXPECT_EQ(h.marker, -1);
    ExpectVector(h.point, {1, 0.5f, 0.5f});
    EXPECT_EQ(h.normal, CVector3(-1, 0, 0));

    // From outside the near wall faces away and the far wall is met.
    h = Cast(f.m_view, {-1, 0.5f, 0.5f}, {1, 0, 0});
    ASSERT_TRUE(h.found);
    EXPECT_EQ(h.surface, wallXHigh);
    ExpectVector(h.point, {1, 0.5f, 0.5f});

    // Nothing that way: all four indices -1.
    h = Cast(f.m_view, {-1, 0.5f, 0.5f}, {-1, 0, 0});
    EXPECT_FALSE(h.found);
    EXPECT_EQ(h.sector, -1);
    EXPECT_EQ(h.surface, -1);
    EXPECT_EQ(h.thing, -1);
    EXPECT_EQ(h.marker, -1);

    // The reach is 100 times the direction.
    EXPECT_FALSE(Cast(f.m_view, kCentre, {0.004f, 0, 0}).found);
    EXPECT_TRUE(Cast(f.m_view, kCentre, {0.006f, 0, 0}).found);
}

TEST(RayCast, PortalsAgainstTheAdjoinSetting)
{
    struct Case {
        const char* name;
        int adjoinMode;
        int adjoinSetting;
        int material;
        int geo;
        std::uint32_t faceFlags;
        bool passes;
    };
    const Case cases[] = {
        {"mode 0 passes", 0, 0, -1, 0, 0, true},
        {"mode 0, setting 1", 0, 1, -1, 0, 0, false},
        {"mode 1 never passes", 1, 0, -1, 0, 0, false},
        {"another mode acts as 1", 7, 0, -1, 0, 0, false},
        {"mode 2, no material", 2, 0, -1, 0, 0, true},
        {"mode 2, material, geometry 0", 2, 0, 0, 0, 0, true},
        {"mode 2, material, geometry 4", 2, 0, 0, 4, 0, false},
        {"mode 2, no material, geometry 4", 2, 0, -1, 4, 0, true},
        {"mode 2, face flag 2", 2, 0, -1, 0, 2, false},
        {"mode 2, setting 1", 2, 1, -1, 0, 0, false},
        {"mode 0 passes a visible portal", 0, 0, 0, 4, 2, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFixtureEngine f(MakeTwoJoinedRooms());
        const int portal = BoxSurface(f.m_level, 0, kBoxXHigh);
        CQzlSurface& s = *f.m_level.m_surfaces[static_cast<std::size_t>(portal)];
        s.m_material = c.material;
        s.m_geo = c.geo;
        s.m_faceFlags = c.faceFlags;
        f.m_settings.m_adjoin = c.adjoinSetting;

        const CHit h = Cast(f.m_view, kCentre, {1, 0, 0}, c.adjoinMode);
        ASSERT_TRUE(h.found);
        if (c.passes) {
            // On into the next sector, whose own portal side faces away; its far wall is met.
            EXPECT_EQ(h.sector, 1);
            EXPECT_EQ(h.surface, BoxSurface(f.m_level, 1, kBoxXHigh));
            ExpectVector(h.point, {2, 0.5f, 0.5f});
        } else {
            EXPECT_EQ(h.sector, 0);
            EXPECT_EQ(h.surface, portal);
            ExpectVector(h.point, {1, 0.5f, 0.5f});
        }
    }
}

TEST(RayCast, RenderModesThreeAndFourLookAtTheCurrentSectorOnly)
{
    struct Case {
        int renderMode;
        int current;
        int sector;  // -1: nothing hit
    };
    const Case cases[] = {
        {0, -1, 0},  {1, 1, 0},  {2, 1, 0},  // every sector: the portal ahead
        {3, 0, 0},   {4, 0, 0},              // the sector the ray starts in
        {3, 1, 1},   {4, 1, 1},              // the other sector: its far wall
        {3, -1, -1}, {4, 5, -1},             // no current sector
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.renderMode << " current " << c.current);
        CFixtureEngine f(MakeTwoJoinedRooms());
        f.m_document.m_renderMode = c.renderMode;
        f.m_view.m_selection.m_sector = c.current;
        const CHit h = Cast(f.m_view, kCentre, {1, 0, 0}, 1);
        EXPECT_EQ(h.found, c.sector >= 0);
        EXPECT_EQ(h.sector, c.sector);
    }
}

TEST(RayCast, TiesKeepTheEarlierHit)
{
    // Into the edge between the floor and the wall z = 0: both at the same distance.
    CFixtureEngine f(MakeBoxRoom());
    CHit h = Cast(f.m_view, kCentre, {0, -1, -1});
    ASSERT_TRUE(h.found);
    EXPECT_EQ(h.surface, BoxSurface(f.m_level, 0, kBoxFloor));
    auto& list = f.m_level.m_sectors[0]->m_surfaces;
    std::swap(list[kBoxFloor], list[kBoxZLow]);
    h = Cast(f.m_view, kCentre, {0, -1, -1});
    EXPECT_EQ(h.surface, list[kBoxFloor]);

    // Down onto the seam of two floors: the lower sector index wins.
    CFixtureEngine two(MakeTwoJoinedRooms());
    h = Cast(two.m_view, {1, 2, 0.5f}, {0, -1, 0});
    ASSERT_TRUE(h.found);
    EXPECT_EQ(h.sector, 0);
    EXPECT_EQ(h.surface, BoxSurface(two.m_level, 0, kBoxFloor));
}

// A model of one node whose mesh is one square face in the plane z = 0.3, facing -z.
std::unique_ptr<C3doModel> SquareModel()
{
    auto model = std::make_unique<C3doModel>("square.3do", "dflt.cmp");
    auto mesh = std::make_unique<C3doMesh>();
    C3doFace face;
    for (const CVector3& p : {CVector3{0.2f, 0.2f, 0.3f}, CVector3{0.2f, 0.8f, 0.3f},
                              CVector3{0.8f, 0.8f, 0.3f}, CVector3{0.8f, 0.2f, 0.3f}})
        face.m_vertices.push_back(MakeLitVertex(p, 0, 0, 0, 0));
    face.ComputeNormal();
    mesh->m_faces.push_back(face);
    mesh->m_faceTextures.push_back(nullptr);
    auto node = std::make_unique<C3doNode>();
    node->m_mesh = mesh.get();
    model->m_meshes.push_back(std::move(mesh));
    model->m_nodes.push_back(std::move(node));
    return model;
}

TEST(RayCast, ThingModels)
{
    CFixtureEngine f(MakeBoxRoom());
    f.m_view.m_thingModels.push_back(SquareModel());
    C3doModel& model = *f.m_view.m_thingModels[0];
    model.m_placement = MatrixTranslation({0, 0, 0.2f});  // the face at z = 0.5
    f.m_level.m_things.push_back(std::make_unique<CQzlThing>());
    f.m_level.m_things[0]->m_sector = 0;
    f.m_level.m_things[0]->m_model = &model;
    const CVector3 origin{0.5f, 0.5f, 0.05f};
    const int wall = BoxSurface(f.m_level, 0, kBoxZHigh);

    CHit h = Cast(f.m_view, origin, {0, 0, 1});
    ASSERT_TRUE(h.found);
    EXPECT_EQ(h.thing, 0);
    EXPECT_EQ(h.sector, 0);
    EXPECT_EQ(h.surface, -1);
    ExpectVector(h.point, {0.5f, 0.5f, 0.5f});
    ExpectVector(h.normal, {0, 0, -1});
    EXPECT_EQ(model.m_boundsValid, 1);
    EXPECT_EQ(model.m_meshes[0]->m_boxValid, 1);
    ExpectVector(model.m_bounds.min, {0.2f, 0.2f, 0.5f});
    ExpectVector(model.m_bounds.max, {0.8f, 0.8f, 0.5f});

    // The normal of a model hit takes its y from the ray: the unit vector of
    // (face normal x, -direction y, face normal z).
    h = Cast(f.m_view, origin, {0, 0.1f, 1});
    ASSERT_TRUE(h.found);
    EXPECT_EQ(h.thing, 0);
    ExpectVector(h.point, {0.5f, 0.545f, 0.5f});
    ExpectVector(h.normal, CVector3(0, -0.1f, -1) / std::sqrt(1.01f));

    // Beside the face, behind it, skipped, or with "3DO Distance" 0: the wall.
    struct Case {
        const char* name;
        CVector3 origin;
        CVector3 direction;
        bool skipThings;
        float distanceSetting;
    };
    const Case walls[] = {
        {"beside", {0.9f, 0.5f, 0.05f}, {0, 0, 1}, false, 1.0f},
        {"skip things", origin, {0, 0, 1}, true, 1.0f},
        {"3DO Distance 0", origin, {0, 0, 1}, false, 0.0f},
    };
    for (const Case& c : walls) {
        SCOPED_TRACE(c.name);
        f.m_settings.m_threeDoDistance = c.distanceSetting;
        h = Cast(f.m_view, c.origin, c.direction, 2, false, c.skipThings);
        ASSERT_TRUE(h.found);
        EXPECT_EQ(h.thing, -1);
        EXPECT_EQ(h.surface, wall);
    }

    // From the other side the face is turned away.
    f.m_settings.m_threeDoDistance = 1.0f;
    h = Cast(f.m_view, {0.5f, 0.5f, 0.95f}, {0, 0, -1});
    ASSERT_TRUE(h.found);
    EXPECT_EQ(h.thing, -1);
    EXPECT_EQ(h.surface, BoxSurface(f.m_level, 0, kBoxZLow));
}

TEST(RayCast, MarkersNearerThanTheSurfaceWin)
{
    CFixtureEngine f(MakeBoxRoom());
    AddPointMarker(f.m_view.m_markers, 0.5f, 0.5f, 0.7f, 0xFFFFFFFFu, -1, f.m_settings, false);
    AddPointMarker(f.m_view.m_markers, 0.2f, 0.5f, 1.5f, 0xFFFFFFFFu, -1, f.m_settings, false);
    const int wall = BoxSurface(f.m_level, 0, kBoxZHigh);
    const CVector3 origin{0.5f, 0.5f, 0.05f};

    CHit h = Cast(f.m_view, origin, {0, 0, 1});
    ASSERT_TRUE(h.found);
    EXPECT_EQ(h.marker, 1);  // sorted by x: (0.2, ...) comes first
    // The sector and surface still name the wall met in the sector pass.
    EXPECT_EQ(h.sector, 0);
    EXPECT_EQ(h.surface, wall);
    EXPECT_EQ(h.thing, -1);
    ExpectVector(h.point, {0.5f, 0.5f, 0.69f});
    ExpectVector(h.normal, {0, 0, -1});
    EXPECT_EQ(f.m_view.m_markers[1]->m_boxValid, 1);

    // Left out on request.
    h = Cast(f.m_view, origin, {0, 0, 1}, 2, true);
    EXPECT_EQ(h.marker, -1);
    EXPECT_EQ(h.surface, wall);

    // A marker behind the wall is farther than the wall.
    h = Cast(f.m_view, {0.2f, 0.5f, 0.05f}, {0, 0, 1});
    EXPECT_EQ(h.marker, -1);
    EXPECT_EQ(h.surface, wall);

    // From outside the room: the far wall z = 0 is met first, then the nearer marker.
    h = Cast(f.m_view, {0.2f, 0.5f, 3}, {0, 0, -1});
    ASSERT_TRUE(h.found);
    EXPECT_EQ(h.marker, 0);
    EXPECT_EQ(h.sector, 0);
    ExpectVector(h.point, {0.2f, 0.5f, 1.51f});
}

TEST(RayCast, Companions)
{
    const CBoundingBox box{{0, 0, 0}, {1, 1, 1}};
    EXPECT_EQ(PointBoxDistance(box, {0.5f, 0.5f, 0.5f}), 0.0f);
    EXPECT_FLOAT_EQ(PointBoxDistance(box, {2, 0.5f, 0.5f}), 1.0f);
    EXPECT_FLOAT_EQ(PointBoxDistance(box, {2, 3, -1}), 1.0f + 4.0f + 1.0f);
    EXPECT_EQ(PointBoxDistance(box, {1, 0.5f, 0.5f}), 0.0f);  // on a face

    const D3DMATRIX m = MatrixMultiply(MatrixRotateY(1.5707964f), MatrixTranslation({5, 5, 5}));
    const CVector3 r = RotateVector({1, 0, 0}, m);  // no translation
    EXPECT_NEAR(r.x, 0.0f, 1e-6f);
    EXPECT_NEAR(r.y, 0.0f, 1e-6f);
    EXPECT_NEAR(std::fabs(r.z), 1.0f, 1e-6f);
}

}  // namespace
