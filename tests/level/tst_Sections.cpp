#include "level/NameLists.h"
#include "level/QzlSections.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

struct Point {
    float x, y, z;
};

CWorldVertex At(float x, float y, float z)
{
    CWorldVertex v;
    v.x = x;
    v.y = y;
    v.z = z;
    return v;
}

std::unique_ptr<CQzlSurface> SurfaceOver(std::initializer_list<std::int32_t> worldVertices,
                                         std::int32_t adjoin = -1)
{
    auto s = std::make_unique<CQzlSurface>();
    for (std::int32_t w : worldVertices) {
        CQzlVertex c;
        c.m_worldVertex = w;
        s->m_vertices.push_back(std::move(c));
    }
    s->m_adjoin = adjoin;
    return s;
}

std::unique_ptr<CQzlMaterial> Material(const char* name)
{
    return std::make_unique<CQzlMaterial>(name);
}

}  // namespace

TEST(Sections, AddVertexReuse)
{
    struct Case {
        const char* name;
        std::vector<Point> added;
        std::vector<int> indices;
        std::vector<std::int32_t> useCounts;
    };
    const Case cases[] = {
        {"same point twice", {{0, 0, 0}, {0, 0, 0}}, {0, 0}, {2}},
        {"within tolerance", {{0, 0, 0}, {0.00005f, 0, 0}}, {0, 0}, {2}},
        {"exactly the tolerance is new", {{0, 0, 0}, {0.0001f, 0, 0}}, {0, 1}, {1, 1}},
        {"distance over all axes", {{0, 0, 0}, {0.00006f, 0.00006f, 0.00006f}}, {0, 1}, {1, 1}},
        {"first in index order wins",
         {{0, 0, 0}, {0.00015f, 0, 0}, {0.00008f, 0, 0}},
         {0, 1, 0},
         {2, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CQzlSections level;
        std::vector<int> indices;
        for (const Point& p : c.added)
            indices.push_back(level.AddVertexXYZ(p.x, p.y, p.z));
        EXPECT_EQ(indices, c.indices);
        EXPECT_EQ(level.m_useCounts, c.useCounts);
        EXPECT_EQ(level.m_worldVertices.size(), c.useCounts.size());
        EXPECT_EQ(level.m_worldVertices[0].x, c.added[0].x);
    }
}

// A level just read has world vertices but no use counts yet.
TEST(Sections, AddVertexWithoutUseCounts)
{
    CQzlSections level;
    level.m_worldVertices = {At(0, 0, 0), At(1, 0, 0)};
    EXPECT_EQ(level.AddVertex(At(1, 0, 0)), 1);
    EXPECT_EQ(level.m_useCounts, (std::vector<std::int32_t>{0, 1}));
    EXPECT_EQ(level.AddVertex(At(2, 0, 0)), 2);
    EXPECT_EQ(level.m_useCounts, (std::vector<std::int32_t>{0, 1, 1}));
}

TEST(Sections, AddVertexKeepsTheWholeRecord)
{
    CQzlSections level;
    CWorldVertex v = At(1, 2, 3);
    v.extra[4] = 5.0f;
    EXPECT_EQ(level.AddVertex(v), 0);
    EXPECT_EQ(level.m_worldVertices[0], v);
}

TEST(Sections, GetSurfacePoints)
{
    const std::vector<CWorldVertex> world = {
        At(0, 0, 0), At(1, 0, 0), At(2, 0, 0), At(2, 0, 2), At(0, 0, 2),
    };
    std::vector<CVector3> points = {CVector3(9, 9, 9)};

    // A square with the midpoint of one edge among its corners gives its four corners.
    CQzlSections::GetSurfacePoints(points, *SurfaceOver({0, 1, 2, 3, 4}), world);
    EXPECT_EQ(points, (std::vector<CVector3>{CVector3(0, 0, 0), CVector3(2, 0, 0),
                                             CVector3(2, 0, 2), CVector3(0, 0, 2)}));

    // The midpoint as the first corner is skipped as well.
    CQzlSections::GetSurfacePoints(points, *SurfaceOver({1, 2, 3, 4, 0}), world);
    EXPECT_EQ(points.size(), 4u);

    // A corner that names no world vertex gives no points.
    CQzlSections::GetSurfacePoints(points, *SurfaceOver({0, 2, 7}), world);
    EXPECT_TRUE(points.empty());
    CQzlSections::GetSurfacePoints(points, *SurfaceOver({0, -1, 3}), world);
    EXPECT_TRUE(points.empty());
}

TEST(Sections, FindMaterial)
{
    CQzlSections level;
    level.m_materials.push_back(Material("wall.mat"));
    level.m_materials.push_back(Material("dflt.mat"));

    EXPECT_EQ(level.FindMaterial("DFLT.MAT"), 1);
    EXPECT_EQ(level.FindDefaultMaterial(), 1);
    EXPECT_EQ(level.m_materials.size(), 2u);

    EXPECT_EQ(level.FindMaterial("Floor.mat"), 2);
    ASSERT_EQ(level.m_materials.size(), 3u);
    EXPECT_EQ(level.m_materials[2]->m_name, "Floor.mat");
    EXPECT_EQ(level.m_materials[2]->m_xTile, 1.0f);
    EXPECT_EQ(level.m_materials[2]->m_yTile, 1.0f);
    EXPECT_EQ(level.FindMaterial("floor.MAT"), 2);

    CQzlSections empty;
    EXPECT_EQ(empty.FindDefaultMaterial(), 0);
    EXPECT_EQ(empty.m_materials[0]->m_name, "dflt.mat");
}

TEST(Sections, SortedStringLists)
{
    struct Case {
        std::vector<std::string> list;
        const char* name;
        int found;
        int position;
        std::vector<std::string> after;
    };
    const Case cases[] = {
        {{}, "a", 0, 0, {"a"}},
        {{"a", "c"}, "b", 0, 1, {"a", "b", "c"}},
        {{"a", "b", "c"}, "B", 1, 1, {"a", "b", "c"}},
        {{"A.wav", "b.WAV"}, "a.WAV", 1, 0, {"A.wav", "b.WAV"}},
        {{"a", "c"}, "D", 0, 2, {"a", "c", "D"}},
        {{"b", "c"}, "A", 0, 0, {"A", "b", "c"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> list = c.list;
        int position = -7;
        EXPECT_EQ(FindSortedString(list, c.name, position), c.found);
        EXPECT_EQ(position, c.position);
        EXPECT_EQ(InsertUniqueSorted(list, c.name), c.position);
        EXPECT_EQ(list, c.after);
    }
}

TEST(Sections, ParameterLookups)
{
    struct Case {
        const char* params;
        int index;        // over the list "wall.mat", "dflt.mat", "none"
        int indexNoNone;  // over the list without "none"
        const char* value;
    };
    const Case cases[] = {
        {"material=none", 2, -1, ""},
        {"size=0.1 material=NONE mass=5", 2, -1, ""},
        {"material=DFLT.mat mass=5", 1, 1, "DFLT.mat"},
        {"material=wall.mat\tmass=5", 0, 0, "wall.mat"},
        {"material=stone.mat", -1, -1, "stone.mat"},
        {"size=0.1 mass=5", -1, -1, ""},
        {"", -1, -1, ""},
        {"material=", -1, -1, ""},
    };
    std::vector<std::unique_ptr<CQzlMaterial>> materials;
    materials.push_back(Material("wall.mat"));
    materials.push_back(Material("dflt.mat"));
    std::vector<std::unique_ptr<CQzlMaterial>> withoutNone;
    withoutNone.push_back(Material("wall.mat"));
    withoutNone.push_back(Material("dflt.mat"));
    materials.push_back(Material("none"));
    const std::vector<std::string> names = {"wall.mat", "dflt.mat", "none"};

    for (const Case& c : cases) {
        SCOPED_TRACE(c.params);
        std::string value = "stale";
        EXPECT_EQ(FindParamObject(c.params, "material=", materials, value), c.index);
        EXPECT_EQ(value, c.value);
        value = "stale";
        EXPECT_EQ(FindParamObject(c.params, "material=", withoutNone, value), c.indexNoNone);
        EXPECT_EQ(value, c.value);
        value = "stale";
        EXPECT_EQ(FindParamString(c.params, "material=", names, value), c.index);
        EXPECT_EQ(value, c.value);
    }
}

// Two sectors joined through one adjoin pair: each adjoin names the sector and surface on the
// other side.
TEST(Sections, LinkAdjoins)
{
    CQzlSections level;
    for (int i = 0; i < 2; ++i) {
        level.m_adjoins.push_back(std::make_unique<CQzlAdjoin>());
        level.m_sectors.push_back(std::make_unique<CQzlSector>());
    }
    level.m_adjoins[0]->m_mirror = 1;
    level.m_adjoins[1]->m_mirror = 0;
    level.m_surfaces.push_back(SurfaceOver({}));     // 0: sector 0
    level.m_surfaces.push_back(SurfaceOver({}, 0));  // 1: sector 0, adjoin 0
    level.m_surfaces.push_back(SurfaceOver({}, 1));  // 2: sector 1, adjoin 1
    level.m_sectors[0]->m_surfaces = {0, 1};
    level.m_sectors[1]->m_surfaces = {2};

    level.LinkAdjoins();
    EXPECT_EQ(level.m_adjoins[0]->m_otherSector, 1);
    EXPECT_EQ(level.m_adjoins[0]->m_otherSurface, 2);
    EXPECT_EQ(level.m_adjoins[1]->m_otherSector, 0);
    EXPECT_EQ(level.m_adjoins[1]->m_otherSurface, 1);
}

// Broken indices are passed over instead of reaching outside the lists.
TEST(Sections, LinkAdjoinsPassesOverBadIndices)
{
    CQzlSections level;
    level.m_adjoins.push_back(std::make_unique<CQzlAdjoin>());
    level.m_adjoins[0]->m_mirror = 5;
    level.m_surfaces.push_back(SurfaceOver({}, 0));  // adjoin whose mirror is out of range
    level.m_surfaces.push_back(SurfaceOver({}, 9));  // adjoin out of range
    level.m_sectors.push_back(std::make_unique<CQzlSector>());
    level.m_sectors[0]->m_surfaces = {0, 1, 7, -3};

    level.LinkAdjoins();
    EXPECT_EQ(level.m_adjoins[0]->m_otherSector, -1);
    EXPECT_EQ(level.m_adjoins[0]->m_otherSurface, -1);
}

TEST(Sections, NewContainerIsEmpty)
{
    const CQzlSections level;
    EXPECT_TRUE(level.m_gameTag.empty());
    EXPECT_TRUE(level.m_materials.empty());
    EXPECT_TRUE(level.m_worldVertices.empty());
    EXPECT_TRUE(level.m_levelFiles.m_entries.empty());
    EXPECT_TRUE(level.m_bookmarks.empty());
    EXPECT_STREQ(level.GetRuntimeClass().m_lpszClassName, "CQzlSections");
    EXPECT_EQ(level.GetRuntimeClass().m_wSchema, 2);
}

// A loader fills a fresh container and swaps it in; records keep their addresses.
TEST(Sections, SwapExchangesWholeLevels)
{
    CQzlSections open;
    open.m_gameTag = "QZ";
    open.m_materials.push_back(Material("a.mat"));
    const CQzlMaterial* record = open.m_materials[0].get();

    CQzlSections loaded;
    loaded.AddVertexXYZ(1, 2, 3);
    loaded.m_levelFiles.m_entries.push_back(std::make_unique<CTreeObject>("cog\\x.cog", 0, 0));

    std::swap(open, loaded);
    EXPECT_EQ(open.m_worldVertices.size(), 1u);
    EXPECT_EQ(open.m_levelFiles.m_entries.size(), 1u);
    EXPECT_TRUE(open.m_materials.empty());
    ASSERT_EQ(loaded.m_materials.size(), 1u);
    EXPECT_EQ(loaded.m_materials[0].get(), record);
    EXPECT_EQ(loaded.m_gameTag, "QZ");
}
