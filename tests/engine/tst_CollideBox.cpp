#include "geometry/CollideBox.h"

#include "geometry/Predicates.h"
#include "geometry/SectorBounds.h"
#include "support/FixtureLevels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

void ExpectBoxNear(const CBoundingBox& actual, const CBoundingBox& expected)
{
    constexpr float kSnap = 0.0001f;
    EXPECT_NEAR(actual.min.x, expected.min.x, kSnap);
    EXPECT_NEAR(actual.min.y, expected.min.y, kSnap);
    EXPECT_NEAR(actual.min.z, expected.min.z, kSnap);
    EXPECT_NEAR(actual.max.x, expected.max.x, kSnap);
    EXPECT_NEAR(actual.max.y, expected.max.y, kSnap);
    EXPECT_NEAR(actual.max.z, expected.max.z, kSnap);
}

CQzlSector& Sector(CQzlSections& level, int index)
{
    return *level.m_sectors[static_cast<std::size_t>(index)];
}

TEST(CollideBox, AxisAlignedBoxSectorGetsItsBoundingBox)
{
    struct CCase {
        CVector3 lo;
        CVector3 hi;
    };
    const CCase cases[] = {
        {{0, 0, 0}, {1, 1, 1}},
        {{-2, -0.5f, 1}, {3, 2.5f, 4}},
        {{10, 0, -7}, {10.5f, 3, -6}},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.hi.x);
        CQzlSections level = MakeEmptyLevel();
        AddBoxSector(level, c.lo, c.hi);
        FinishFixture(level);
        Sector(level, 0).m_flags = kSectorHasCollideBox | 0x4u;

        const CBoundingBox box = ComputeCollideBox(level, 0);
        ExpectBoxNear(box, {c.lo, c.hi});
        EXPECT_EQ(Sector(level, 0).m_flags, kSectorHasCollideBox | 0x4u);
    }
}

TEST(CollideBox, SlopedSectorGetsABoxInsideIt)
{
    // A trapezoid prism: floor y = 0 for x in 0..2, ceiling y = 1 for x in 0..1, a wall at x = 0,
    // a slope from (1, 1) down to (2, 0), and two caps at z = 0 and z = 1. Grown from the centre
    // the box first reaches (0..1.5, 0..0.5, 0..1), volume 0.75; narrowing x finds more.
    CQzlSections level = MakeEmptyLevel();
    level.m_sectors.push_back(std::make_unique<CQzlSector>());
    const auto at = [](float x, float y, float z) { return CVector3{x, y, z}; };
    const auto add = [&level](std::initializer_list<CVector3> corners) {
        AddFacingSurface(level, 0, {0.5f, 0.5f, 0.5f}, corners);
    };
    add({at(0, 0, 0), at(0, 0, 1), at(2, 0, 1), at(2, 0, 0)});  // floor
    add({at(0, 1, 0), at(1, 1, 0), at(1, 1, 1), at(0, 1, 1)});  // ceiling
    add({at(0, 0, 0), at(0, 1, 0), at(0, 1, 1), at(0, 0, 1)});  // wall x = 0
    add({at(2, 0, 0), at(2, 0, 1), at(1, 1, 1), at(1, 1, 0)});  // slope
    add({at(0, 0, 0), at(2, 0, 0), at(1, 1, 0), at(0, 1, 0)});  // cap z = 0
    add({at(0, 0, 1), at(0, 1, 1), at(1, 1, 1), at(2, 0, 1)});  // cap z = 1
    UpdateSectorBounds(level);
    Sector(level, 0).m_flags = kSectorHasCollideBox;

    const CBoundingBox box = ComputeCollideBox(level, 0);
    EXPECT_EQ(Sector(level, 0).m_flags, kSectorHasCollideBox);
    EXPECT_GT(BoxVolume(box), 0.75f);
    for (int k = 0; k < 8; ++k) {
        const CVector3 corner{(k & 1) ? box.max.x : box.min.x, (k & 2) ? box.max.y : box.min.y,
                              (k & 4) ? box.max.z : box.min.z};
        EXPECT_TRUE(PointInSector(level, 0, corner, -0.001f)) << k;
    }
}

TEST(CollideBox, SectorsThatCannotHaveOneGetTheirBoundingBoxAndLoseTheFlag)
{
    struct CCase {
        const char* what;
        void (*spoil)(CQzlSections&);
    };
    const CCase cases[] = {
        {"five surfaces", [](CQzlSections& level) { Sector(level, 0).m_surfaces.pop_back(); }},
        {"open edge",
         [](CQzlSections& level) {
             // The ceiling shrinks inwards: its edges and the walls' top edges lie on no line
             // of another surface.
             CQzlSurface& ceiling =
                 *level.m_surfaces[static_cast<std::size_t>(BoxSurface(level, 0, kBoxCeiling))];
             for (CQzlVertex& corner : ceiling.m_vertices) {
                 const CVector3 p = WorldPosition(level, corner.m_worldVertex);
                 corner.m_worldVertex = level.AddVertexXYZ(p.x < 0.5f ? 0.25f : 0.75f, 1.0f,
                                                           p.z < 0.5f ? 0.25f : 0.75f);
             }
         }},
        {"missing surface", [](CQzlSections& level) { Sector(level, 0).m_surfaces.push_back(99); }},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.what);
        CQzlSections level = MakeBoxRoom();
        c.spoil(level);
        Sector(level, 0).m_flags = kSectorHasCollideBox | 0x4u;
        const CBoundingBox bounds = Sector(level, 0).m_boundBox;

        EXPECT_EQ(ComputeCollideBox(level, 0), bounds);
        EXPECT_EQ(Sector(level, 0).m_flags, 0x4u);
    }

    // A sector that does not exist: nothing to compute, nothing changed.
    CQzlSections level = MakeBoxRoom();
    EXPECT_EQ(ComputeCollideBox(level, 1), CBoundingBox{});
    EXPECT_EQ(ComputeCollideBox(level, -1), CBoundingBox{});
}

}  // namespace
