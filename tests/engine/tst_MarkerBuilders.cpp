// The marker layouts after a rebuild or a pick: markers at the picked grid nodes, at the corners
// of the current surface coloured by mark and sharing, and at the current surface's grid points.

#include "engine/MarkerBuilders.h"

#include "engine/C3dView.h"
#include "engine/PointMarkers.h"
#include "level/QzlSections.h"
#include "support/FixtureLevels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// The settings' default colours 0x00BBGGRR as the markers carry them, 0xFFRRGGBB.
constexpr std::uint32_t kGrid = 0xFFFF8000u;    // "ColorGrid" 0x0080FF
constexpr std::uint32_t kSelect = 0xFFFF0000u;  // "ColorSelect" 0x0000FF
constexpr std::uint32_t kLink = 0xFF0000FFu;    // "ColorLink" 0xFF0000
constexpr std::uint32_t kUnlink = 0xFFFFFF00u;  // "ColorUnlink" 0x00FFFF

// The marker at p, or null.
const C3doMesh* MarkerAt(const C3dView& view, const CVector3& p)
{
    int index = 0;
    if (!FindPointMarker(view.m_markers, p.x, p.y, p.z, index))
        return nullptr;
    return view.m_markers[static_cast<std::size_t>(index)].get();
}

TEST(MarkerBuilders, PickedGridNodesGetGridMarkers)
{
    CFixtureEngine f(MakeBoxRoom());
    AddPointMarker(f.m_view.m_markers, 9, 9, 9, 0, 3, f.m_settings, false);
    f.m_view.m_selection.m_pickedNodes = {{0, 0, 0}, {0.5f, 0, 0.5f}, {1, 1, 1}};

    BuildAllVertexMarkers(f.m_view);

    ASSERT_EQ(f.m_view.m_markers.size(), 3u);
    EXPECT_EQ(MarkerAt(f.m_view, {9, 9, 9}), nullptr);
    for (const CVector3& p : f.m_view.m_selection.m_pickedNodes) {
        const C3doMesh* m = MarkerAt(f.m_view, p);
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->m_markerVertex, -1);
        EXPECT_EQ(m->m_markerVertices.front().color, kGrid);
    }

    f.m_settings.m_colorGrid = 0x123456;
    BuildAllVertexMarkers(f.m_view);
    EXPECT_EQ(f.m_view.m_markers.front()->m_markerVertices.front().color, 0xFF563412u);
}

TEST(MarkerBuilders, CornerMarkersShowMarksAndSharing)
{
    CFixtureEngine f(MakeBoxRoom());
    const int floor = BoxSurface(f.m_level, 0, kBoxFloor);
    CQzlSurface& surface = *f.m_level.m_surfaces[static_cast<std::size_t>(floor)];
    ASSERT_EQ(surface.m_vertices.size(), 4u);
    // Every corner of a box is shared by three sides; corner 1 is marked, corner 2's vertex is
    // made unshared.
    surface.m_vertices[1].m_marked = 1;
    f.m_level.m_useCounts[static_cast<std::size_t>(surface.m_vertices[2].m_worldVertex)] = 1;
    f.m_view.m_selection.m_surface = floor;
    f.m_view.m_selection.m_vertexSurface = -1;

    BuildSectorVertexMarkers(f.m_view);

    ASSERT_EQ(f.m_view.m_markers.size(), 4u);
    const std::uint32_t colours[4] = {kLink, kSelect, kUnlink, kLink};
    for (std::size_t k = 0; k < 4; ++k) {
        const CWorldVertex& w =
            f.m_level
                .m_worldVertices[static_cast<std::size_t>(surface.m_vertices[k].m_worldVertex)];
        const C3doMesh* m = MarkerAt(f.m_view, {w.x, w.y, w.z});
        ASSERT_NE(m, nullptr) << k;
        EXPECT_EQ(m->m_markerVertex, static_cast<std::int32_t>(k));
        EXPECT_EQ(m->m_markerVertices.front().color, colours[k]) << k;
    }
    EXPECT_EQ(f.m_view.m_selection.m_vertexSurface, floor);

    // Use counts that were never computed count as unshared.
    f.m_level.m_useCounts.clear();
    BuildSectorVertexMarkers(f.m_view);
    ASSERT_EQ(f.m_view.m_markers.size(), 4u);
    int unlinked = 0;
    for (const auto& m : f.m_view.m_markers)
        unlinked += m->m_markerVertices.front().color == kUnlink ? 1 : 0;
    EXPECT_EQ(unlinked, 3);
}

TEST(MarkerBuilders, EnlargedViewMakesCornerMarkersAQuarterSize)
{
    CFixtureEngine f(MakeBoxRoom());
    f.m_view.m_selection.m_surface = BoxSurface(f.m_level, 0, kBoxFloor);
    f.m_document.m_enlargeView = 1;
    BuildSectorVertexMarkers(f.m_view);
    ASSERT_FALSE(f.m_view.m_markers.empty());
    const C3doMesh& m = *f.m_view.m_markers.front();
    for (const D3DLVERTEX& v : m.m_markerVertices)
        EXPECT_NEAR(std::fabs(v.x - m.m_markerPoint.x), f.m_settings.m_vertexScaling / 4, 1e-6f);
}

TEST(MarkerBuilders, WithoutACurrentSurfaceOnlyTheMarkersGo)
{
    for (const int current : {-1, 6, 1000}) {
        CFixtureEngine f(MakeBoxRoom());
        AddPointMarker(f.m_view.m_markers, 9, 9, 9, 0, -1, f.m_settings, false);
        f.m_view.m_selection.m_surface = current;
        f.m_view.m_selection.m_vertexSurface = 2;
        BuildSectorVertexMarkers(f.m_view);
        EXPECT_TRUE(f.m_view.m_markers.empty()) << current;
        EXPECT_EQ(f.m_view.m_selection.m_vertexSurface, 2);

        AddPointMarker(f.m_view.m_markers, 9, 9, 9, 0, -1, f.m_settings, false);
        RebuildSectorGridPoints(f.m_view);
        EXPECT_TRUE(f.m_view.m_markers.empty()) << current;
    }
}

TEST(MarkerBuilders, SectorGridPointsReplaceTheMarkers)
{
    CFixtureEngine f(MakeBoxRoom());
    f.m_settings.m_grid = 0.5f;
    f.m_view.m_selection.m_surface = BoxSurface(f.m_level, 0, kBoxXLow);
    AddPointMarker(f.m_view.m_markers, 9, 9, 9, 0, -1, f.m_settings, false);

    RebuildSectorGridPoints(f.m_view);

    ASSERT_EQ(f.m_view.m_markers.size(), 4u);
    for (const CVector3& p : {CVector3(0, 0.25f, 0.25f), CVector3(0, 0.25f, 0.75f),
                              CVector3(0, 0.75f, 0.25f), CVector3(0, 0.75f, 0.75f)}) {
        const C3doMesh* m = MarkerAt(f.m_view, p);
        ASSERT_NE(m, nullptr) << p.y << " " << p.z;
        EXPECT_EQ(m->m_markerVertex, -1);
        EXPECT_EQ(m->m_markerVertices.front().color, kGrid);
    }
}

}  // namespace
