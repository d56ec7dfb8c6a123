// The surface-polygon helpers of the splitters: corner insertion at its place in the corner list
// (edges, duplicates, use counts) and the surfaces that touch a surface along an edge.

#include "edit/EdgeContacts.h"
#include "edit/SurfaceCorners.h"
#include "geometry/Predicates.h"
#include "level/QzlSections.h"
#include "support/FixtureLevels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

using Points = std::vector<CVector3>;

Points Corners(const CQzlSections& level, const CQzlSurface& surface)
{
    Points points;
    for (const CQzlVertex& corner : surface.m_vertices)
        points.push_back(WorldPosition(level, corner.m_worldVertex));
    return points;
}

// A corner on a world vertex of its own at p (use count 1).
CQzlVertex LooseCorner(CQzlSections& level, const CVector3& p)
{
    CWorldVertex w;
    w.x = p.x;
    w.y = p.y;
    w.z = p.z;
    level.m_worldVertices.push_back(w);
    level.m_useCounts.push_back(1);
    CQzlVertex corner;
    corner.m_worldVertex = static_cast<std::int32_t>(level.m_worldVertices.size() - 1);
    return corner;
}

const Points kFloor{{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}};

struct PlaceCase {
    const char* name;
    CVector3 p;
    std::size_t position;
};

TEST(SurfaceCorners, ACornerGoesIntoTheEdgeItLiesOnOrFaces)
{
    const PlaceCase cases[] = {
        {"middle of edge 1-2", {1, 0, 0.5f}, 2},
        {"outside edge 0-1", {0.5f, 0, -0.5f}, 1},
        {"middle of the closing edge: appended", {0, 0, 0.5f}, 4},
    };
    for (const PlaceCase& c : cases) {
        SCOPED_TRACE(c.name);
        CQzlSections level = MakeBoxRoom();
        CQzlSurface& floor =
            *level.m_surfaces[static_cast<std::size_t>(BoxSurface(level, 0, kBoxFloor))];
        ASSERT_EQ(Corners(level, floor), kFloor);
        EXPECT_TRUE(InsertSurfaceVertex(level, floor, LooseCorner(level, c.p)));
        Points want = kFloor;
        want.insert(want.begin() + static_cast<std::ptrdiff_t>(c.position), c.p);
        EXPECT_EQ(Corners(level, floor), want);
    }
}

TEST(SurfaceCorners, LoosePointsInAnyOrderMakeAPolygonWoundByTheNormal)
{
    for (const Points& order : {Points{kFloor[0], kFloor[2], kFloor[1], kFloor[3]},
                                Points{kFloor[0], kFloor[2], kFloor[3], kFloor[1]}}) {
        CQzlSections level = MakeEmptyLevel();
        CQzlSurface surface;
        surface.m_normal = {0, 1, 0};
        for (const CVector3& p : order)
            InsertSurfaceVertex(level, surface, LooseCorner(level, p));
        EXPECT_EQ(Corners(level, surface), kFloor);
    }
}

TEST(SurfaceCorners, ACornerAtAnExistingOneKeepsTheOldCorner)
{
    CQzlSections level = MakeBoxRoom();
    CQzlSurface& floor =
        *level.m_surfaces[static_cast<std::size_t>(BoxSurface(level, 0, kBoxFloor))];
    floor.m_vertices[1].m_u = 3.0f;
    floor.m_vertices[1].m_intensity[1] = 0.25f;
    const std::int32_t old = floor.m_vertices[1].m_worldVertex;
    const std::int32_t oldUses = level.m_useCounts[static_cast<std::size_t>(old)];

    CQzlVertex corner = LooseCorner(level, {1, 0, 0.00005f});
    corner.m_u = 9.0f;
    corner.m_intensity[1] = 0.75f;
    corner.m_marked = 1;
    const std::size_t own = static_cast<std::size_t>(corner.m_worldVertex);
    EXPECT_FALSE(InsertSurfaceVertex(level, floor, std::move(corner)));
    ASSERT_EQ(floor.m_vertices.size(), 4u);
    const CQzlVertex& kept = floor.m_vertices[1];
    EXPECT_EQ(kept.m_worldVertex, old);
    EXPECT_EQ(kept.m_u, 3.0f);
    EXPECT_EQ(kept.m_intensity[1], 0.25f);
    EXPECT_EQ(kept.m_marked, 1);
    // The corner that named the loose world vertex is gone.
    EXPECT_EQ(level.m_useCounts[own], 0);
    EXPECT_EQ(level.m_useCounts[static_cast<std::size_t>(old)], oldUses);

    // A copy raises the count of its world vertex only when it goes in.
    const CQzlVertex existing = floor.m_vertices[2];
    const auto existingUses = level.m_useCounts[static_cast<std::size_t>(existing.m_worldVertex)];
    EXPECT_FALSE(InsertVertexCopy(level, floor, existing));
    EXPECT_EQ(level.m_useCounts[static_cast<std::size_t>(existing.m_worldVertex)], existingUses);
    EXPECT_EQ(floor.m_vertices.size(), 4u);

    const CQzlVertex middle = LooseCorner(level, {1, 0, 0.5f});
    EXPECT_TRUE(InsertVertexCopy(level, floor, middle));
    EXPECT_EQ(level.m_useCounts[static_cast<std::size_t>(middle.m_worldVertex)], 2);
    EXPECT_EQ(floor.m_vertices.size(), 5u);
    EXPECT_EQ(floor.m_vertices[2].m_spareIndex, -1);
}

struct ContactCase {
    const char* name;
    CVector3 neighbourNormal;  // the neighbour's stored normal
    bool neighbourAdjoined;
    bool exact;
    bool includeAdjoined;
    std::vector<std::int32_t> contacts;
};

// A sector holding the quad (0..1, 0, 0..1), its coplanar neighbour (1..2, 0, 0..1) sharing the
// edge x = 1 the other way round, and an upright wall on the quad's edge z = 0.
TEST(SurfaceCorners, EdgeContactsListTheNeighbourOnce)
{
    const ContactCase cases[] = {
        {"exact", {0, 1, 0}, false, true, false, {1}},
        {"exact, neighbour tilted by 0.02", {0, 0.9998f, 0.02f}, false, true, false, {}},
        {"exact, adjoined neighbour passed over", {0, 1, 0}, true, true, false, {}},
        {"exact, adjoined neighbour included", {0, 1, 0}, true, true, true, {1}},
        // Without exact matching the wall's edge along z = 0 counts too, whatever its normal.
        {"overlap", {0, 1, 0}, false, false, false, {2, 1}},
        {"overlap, neighbour tilted", {0, 0.9998f, 0.02f}, false, false, false, {2, 1}},
    };
    for (const ContactCase& c : cases) {
        SCOPED_TRACE(c.name);
        CQzlSections level = MakeEmptyLevel();
        const int sector = AddEmptySector(level);
        const int quad = AddFacingSurface(level, sector, {0.5f, 1, 0.5f}, kFloor);
        const int neighbour = AddFacingSurface(level, sector, {1.5f, 1, 0.5f},
                                               {{1, 0, 0}, {2, 0, 0}, {2, 0, 1}, {1, 0, 1}});
        AddFacingSurface(level, sector, {0.5f, 0.5f, 1},
                         {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}});
        CQzlSurface& n = *level.m_surfaces[static_cast<std::size_t>(neighbour)];
        n.m_normal = c.neighbourNormal;
        n.m_adjoin = c.neighbourAdjoined ? 0 : -1;

        std::vector<std::int32_t> contacts{7, 7, 7};
        CollectEdgeContacts(level, sector, quad, contacts, c.exact, c.includeAdjoined);
        EXPECT_EQ(contacts, c.contacts);
    }
    CQzlSections level = MakeBoxRoom();
    std::vector<std::int32_t> contacts{7};
    CollectEdgeContacts(level, 0, 6, contacts, true, true);
    EXPECT_TRUE(contacts.empty());
}

}  // namespace
