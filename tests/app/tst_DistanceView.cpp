// The distance form in the running application, on an engine without a render device: the straight
// and planar distances between the last two picked points as the pick's hints report them, the
// first pick measured from (0, 0, 0), and the corner picks of the 3D view driving it.

#include "FormViewTestSupport.h"

#include "app/DistanceView.h"
#include "app/VertexView.h"
#include "engine/Picking.h"
#include "framework/FieldText.h"
#include "support/FixtureLevels.h"

#include <optional>

namespace {

class DistanceViewTest : public FormViewTest {
protected:
    CDistanceView& View() { return *dynamic_cast<CDistanceView*>(&Pane(2)); }
    QString Eye() { return Text(View(), Ctl::kDistanceEye); }
    QString Planar() { return Text(View(), Ctl::kDistancePlanar); }

    // A pick of p with hint, as the 3D view's pick reports it.
    void Pick(const CVector3& p, long hint)
    {
        std::vector<CVector3>& points = m_engine->m_selection.m_lastPickPoints;
        points.push_back(p);
        if (points.size() > 2)
            points.erase(points.begin());
        m_doc->UpdateAllViews(nullptr, hint);
    }
};

}  // namespace

TEST_F(DistanceViewTest, MeasuresBetweenTheLastTwoPicks)
{
    Start(MakeBoxRoom());
    const CQzlSections& level = *m_doc->m_level;
    const long onFloor = BoxSurface(level, 0, kBoxFloor) + 2;
    const long onWallXHigh = BoxSurface(level, 0, kBoxXHigh) + 2;
    ASSERT_EQ(&View(), m_doc->Frame()->LeftSplitter()->widget(2));
    EXPECT_TRUE(Edit(View(), Ctl::kDistanceEye).isReadOnly());
    EXPECT_TRUE(Edit(View(), Ctl::kDistancePlanar).isReadOnly());
    EXPECT_EQ(Eye(), "0");
    EXPECT_EQ(Planar(), "0");

    struct Step {
        const char* what;
        std::optional<CVector3> point;  // none: an update without a new pick point
        long hint;
        const char* eye;
        const char* planar;
    };
    const Step steps[] = {
        {"the first pick measures from the origin", CVector3{0, 3, 4}, 1, "5", "5"},
        {"an ordinary update keeps the values", std::nullopt, 0, "5", "5"},
        {"a new point with hint 0 keeps them too", CVector3{1, 1, 1}, 0, "5", "5"},
        // (0, 3, 4) stands 3 above the floor.
        {"on a surface: the earlier point's distance from its plane", CVector3{0, 3, 0}, onFloor,
         "4", "3"},
        // (0, 3, 0) stands 1 off the wall x = 1.
        {"a point on another surface", CVector3{1, 0.5f, 0.5f}, onWallXHigh, "2.73861", "1"},
        // The earlier point lies in the wall's plane.
        {"an earlier point in the plane", CVector3{1, 0, 0}, onWallXHigh, "0.707107", "0"},
        {"with the Sector Mode switch: the straight distance", CVector3{1, 0, 2}, 1, "2", "2"},
        {"a surface the level does not hold: the straight distance", CVector3{1, 0, 5}, 99, "3",
         "3"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        if (step.point)
            Pick(*step.point, step.hint);
        else
            m_doc->UpdateAllViews(nullptr, step.hint);
        EXPECT_EQ(Eye(), step.eye);
        EXPECT_EQ(Planar(), step.planar);
    }
    EXPECT_FALSE(m_doc->IsModified());

    // Without an engine nothing is measured.
    DropEngine();
    m_doc->UpdateAllViews(nullptr, onFloor);
    EXPECT_EQ(Eye(), "3");
}

TEST_F(DistanceViewTest, CornerPicksOfTheViewAreMeasured)
{
    // A pick of the floor shows its corner markers; picking two of them measures along the floor,
    // and the earlier corner lies in the floor's plane.
    C3dView& engine = Start(MakeBoxRoom());
    const CQzlSections& level = *m_doc->m_level;
    const int floor = BoxSurface(level, 0, kBoxFloor);
    ApplyPickHit(engine, CPickHit{0, floor, -1, -1}, false);
    const auto markerOf = [&](int corner) {
        for (std::size_t i = 0; i < engine.m_markers.size(); ++i)
            if (engine.m_markers[i] && engine.m_markers[i]->m_markerVertex == corner)
                return static_cast<int>(i);
        return -1;
    };
    const auto position = [&](int corner) {
        const CWorldVertex& w =
            level.m_worldVertices[level.m_surfaces[floor]->m_vertices[corner].m_worldVertex];
        return CVector3{w.x, w.y, w.z};
    };
    ASSERT_GE(markerOf(2), 0);
    ApplyPickHit(engine, CPickHit{-1, -1, -1, markerOf(2)}, false);
    // The vertex view took the middle pane and shows the corner.
    ASSERT_NE(dynamic_cast<CVertexView*>(&Pane(1)), nullptr);
    EXPECT_EQ(Text(Pane(1), Ctl::kVertexNumber), "2");
    EXPECT_EQ(Eye().toStdString(), FloatFieldText(VectorLength(position(2))));

    ASSERT_GE(markerOf(0), 0);
    ApplyPickHit(engine, CPickHit{-1, -1, -1, markerOf(0)}, false);
    EXPECT_EQ(Eye().toStdString(), FloatFieldText(VectorLength(position(0) - position(2))));
    EXPECT_EQ(Planar(), "0");
}
