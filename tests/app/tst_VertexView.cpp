// The vertex form in the running application, on an engine without a render device: the fill from
// the current corner and the fields each product lets the user edit, the grid node shown without
// a corner, every field written back on leaving it (each edit marks the document modified, a
// field that does not read writes nothing), the spin arrows, the moves with their undo step, and
// the relighting of a shared world vertex with "CopyLight".

#include "FormViewTestSupport.h"

#include "app/VertexView.h"
#include "engine/Undo.h"
#include "framework/Indices.h"
#include "level/QzlSector.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"

#include <algorithm>
#include <array>
#include <functional>

namespace {

// A tetrahedron of triangles, so that any one of its corners may move without bending a surface:
// its floor (surface 0) on y = 0 with the corners (0, 0, 0), (1, 0, 0), (0, 0, 1), its top at
// (0.2, 1, 0.2). Every surface Gouraud-lit; the floor's corner 1 has values of its own.
CQzlSections Tetrahedron()
{
    CQzlSections level = MakeEmptyLevel();
    const int sector = AddEmptySector(level);
    const CVector3 a{0, 0, 0}, b{1, 0, 0}, c{0, 0, 1}, top{0.2f, 1, 0.2f};
    const CVector3 inside{0.3f, 0.25f, 0.3f};
    for (const auto& face : {std::vector<CVector3>{a, b, c}, std::vector<CVector3>{a, b, top},
                             std::vector<CVector3>{a, c, top}, std::vector<CVector3>{b, c, top}})
        AddFacingSurface(level, sector, inside, face);
    FinishFixture(level);
    for (auto& surface : level.m_surfaces)
        surface->m_light = 3;
    return level;
}

// The two joined rooms, every surface Gouraud-lit.
CQzlSections LitRooms()
{
    CQzlSections level = MakeTwoJoinedRooms();
    for (auto& surface : level.m_surfaces)
        surface->m_light = 3;
    return level;
}

struct CCornerAt {
    int surface;
    int corner;
};

class VertexViewTest : public FormViewTest {
protected:
    // level shown in vertex mode for product, with corner of surface (in sector) current and
    // marked, as a pick of its marker leaves it. A later call shows its level in the same
    // document, nothing modified and no message shown yet.
    void StartOnCorner(CQzlSections level, int sector, CCornerAt at, int product = 0)
    {
        if (m_doc == nullptr)
            Start(std::move(level));
        else
            Reload(std::move(level));
        m_app->m_settings.m_product = product;
        m_messages.clear();
        m_doc->SwitchPropertyView(PropertyView::kVertex);
        SelectCorner(sector, at);
    }
    void SelectCorner(int sector, CCornerAt at)
    {
        m_engine->m_selection.m_sector = sector;
        m_engine->m_selection.m_surface = at.surface;
        m_engine->m_selection.m_vertexSurface = at.surface;
        m_engine->m_selection.m_vertex = at.corner;
        const CQzlSections& level = *m_doc->m_level;
        if (InRange(level.m_surfaces, at.surface) &&
            InRange(level.m_surfaces[static_cast<std::size_t>(at.surface)]->m_vertices, at.corner))
            Corner(at).m_marked = 1;
        m_doc->UpdateAllViews(nullptr);
    }
    // The floor corner (1, 0, 0) of the tetrahedron, with u, v and intensities of its own.
    void StartOnTetrahedron(int product = 0)
    {
        CQzlSections level = Tetrahedron();
        CQzlVertex& corner = level.m_surfaces[0]->m_vertices[kMoved.corner];
        corner.m_u = 2.5f;
        corner.m_v = -4.0f;
        corner.m_intensity[0] = 0.5f;
        corner.m_intensity[1] = 0.25f;
        corner.m_intensity[2] = 0.125f;
        corner.m_intensity[3] = 0.75f;
        StartOnCorner(std::move(level), 0, kMoved, product);
    }

    CVertexView& View() { return *dynamic_cast<CVertexView*>(&Pane(1)); }
    CQzlVertex& Corner(CCornerAt at)
    {
        return m_doc->m_level->m_surfaces[static_cast<std::size_t>(at.surface)]
            ->m_vertices[static_cast<std::size_t>(at.corner)];
    }
    CWorldVertex& Vertex(CCornerAt at)
    {
        return m_doc->m_level->m_worldVertices[static_cast<std::size_t>(Corner(at).m_worldVertex)];
    }
    std::size_t UndoSteps() const { return m_doc->m_level->m_undoList.size(); }

    // The floor's corner at (1, 0, 0).
    static constexpr CCornerAt kMoved{0, 1};
};

constexpr int kPositionAndTexture[] = {
    Ctl::kVertexX,     Ctl::kVertexXSpin, Ctl::kVertexY,     Ctl::kVertexYSpin, Ctl::kVertexZ,
    Ctl::kVertexZSpin, Ctl::kVertexU,     Ctl::kVertexUSpin, Ctl::kVertexV,     Ctl::kVertexVSpin,
};
constexpr int kMono[] = {Ctl::kIntensityMono, Ctl::kIntensityMonoSpin};
constexpr int kColors[] = {
    Ctl::kIntensityRed,       Ctl::kIntensityRedSpin, Ctl::kIntensityGreen,
    Ctl::kIntensityGreenSpin, Ctl::kIntensityBlue,    Ctl::kIntensityBlueSpin,
};

}  // namespace

TEST_F(VertexViewTest, FillShowsTheCornerAndEnablesTheFieldsOfTheProduct)
{
    for (const int product : {0, 1}) {
        SCOPED_TRACE(product);
        StartOnTetrahedron(product);
        CVertexView& view = View();
        const struct {
            int id;
            const char* text;
        } shown[] = {
            {Ctl::kVertexSurfaceNumber, "0"},
            {Ctl::kVertexNumber, "1"},
            {Ctl::kVertexX, "1"},
            {Ctl::kVertexY, "0"},
            {Ctl::kVertexZ, "0"},
            {Ctl::kVertexU, "2.5"},
            {Ctl::kVertexV, "-4"},
            {Ctl::kIntensityMono, "0.5"},
            {Ctl::kIntensityRed, "0.25"},
            {Ctl::kIntensityGreen, "0.125"},
            {Ctl::kIntensityBlue, "0.75"},
        };
        for (const auto& field : shown)
            EXPECT_EQ(Text(view, field.id), field.text) << field.id;
        EXPECT_TRUE(Edit(view, Ctl::kVertexSurfaceNumber).isReadOnly());
        EXPECT_TRUE(Edit(view, Ctl::kVertexNumber).isReadOnly());
        for (const int id : kPositionAndTexture)
            EXPECT_TRUE(Enabled(view, id)) << id;
        for (const int id : kMono)
            EXPECT_EQ(Enabled(view, id), product == 0) << id;
        for (const int id : kColors)
            EXPECT_EQ(Enabled(view, id), product == 1) << id;
        EXPECT_FALSE(m_doc->IsModified());

        // No current vertex, or one the level does not hold (surface, corner or its world
        // vertex): corner -1, the current surface, every field but the numbers disabled.
        const std::function<void()> broken[] = {
            [&] {
                SelectCorner(0, {2, -1});
            },
            [&] {
                SelectCorner(0, {2, 7});
            },
            [&] {
                m_engine->m_selection.m_vertexSurface = 9;
                m_doc->UpdateAllViews(nullptr);
            },
            [&] {
                SelectCorner(0, {2, 0});
                Corner({2, 0}).m_worldVertex = 1000;
                m_doc->UpdateAllViews(nullptr);
            },
        };
        for (const auto& select : broken) {
            select();
            EXPECT_EQ(Text(view, Ctl::kVertexNumber), "-1");
            for (const int id : kPositionAndTexture)
                EXPECT_FALSE(Enabled(view, id)) << id;
            for (const int id : kMono)
                EXPECT_FALSE(Enabled(view, id)) << id;
            for (const int id : kColors)
                EXPECT_FALSE(Enabled(view, id)) << id;
        }
        EXPECT_EQ(Text(view, Ctl::kVertexSurfaceNumber), "2");
    }
}

TEST_F(VertexViewTest, WithoutACornerThePositionShowsTheLastPickedGridNode)
{
    StartOnCorner(Tetrahedron(), 0, {0, -1});
    CVertexView& view = View();
    EXPECT_EQ(Text(view, Ctl::kVertexNumber), "-1");
    EXPECT_EQ(Text(view, Ctl::kVertexSurfaceNumber), "0");
    m_engine->m_selection.m_pickedNodes = {{0.25f, 0, 0.5f}, {0.5f, 0, 0.125f}};
    // With the grid off the picked nodes are not shown.
    m_doc->UpdateAllViews(nullptr);
    EXPECT_EQ(Text(view, Ctl::kVertexX), "0");
    m_doc->m_state.m_gridOn = 1;
    m_doc->UpdateAllViews(nullptr);
    EXPECT_EQ(Text(view, Ctl::kVertexX), "0.5");
    EXPECT_EQ(Text(view, Ctl::kVertexY), "0");
    EXPECT_EQ(Text(view, Ctl::kVertexZ), "0.125");
    EXPECT_FALSE(Enabled(view, Ctl::kVertexX));

    // Without an engine: surface -1.
    DropEngine();
    m_doc->UpdateAllViews(nullptr);
    EXPECT_EQ(Text(view, Ctl::kVertexSurfaceNumber), "-1");
    EXPECT_EQ(Text(view, Ctl::kVertexNumber), "-1");
}

TEST_F(VertexViewTest, LeavingAFieldWritesItAndMarksTheDocumentModified)
{
    struct Case {
        int product;
        int id;
        const char* text;
        std::function<bool(const CQzlVertex&, const CWorldVertex&)> stored;
    };
    const Case cases[] = {
        {0, Ctl::kVertexX, "1.05",
         [](const CQzlVertex&, const CWorldVertex& w) {
             return w.x == 1.05f && w.y == 0.0f && w.z == 0.0f;
         }},
        {0, Ctl::kVertexZ, "-0.25",
         [](const CQzlVertex&, const CWorldVertex& w) { return w.x == 1.0f && w.z == -0.25f; }},
        {0, Ctl::kVertexU, "3.75",
         [](const CQzlVertex& c, const CWorldVertex&) { return c.m_u == 3.75f && c.m_v == -4.0f; }},
        {0, Ctl::kVertexV, "0.5",
         [](const CQzlVertex& c, const CWorldVertex&) { return c.m_u == 2.5f && c.m_v == 0.5f; }},
        {0, Ctl::kIntensityMono, "0.875",
         [](const CQzlVertex& c, const CWorldVertex&) {
             return c.m_intensity[0] == 0.875f && c.m_intensity[1] == 0.25f;
         }},
        {1, Ctl::kIntensityRed, "1",
         [](const CQzlVertex& c, const CWorldVertex&) { return c.m_intensity[1] == 1.0f; }},
        {1, Ctl::kIntensityGreen, "0",
         [](const CQzlVertex& c, const CWorldVertex&) { return c.m_intensity[2] == 0.0f; }},
        {1, Ctl::kIntensityBlue, "0.5",
         [](const CQzlVertex& c, const CWorldVertex&) {
             return c.m_intensity[3] == 0.5f && c.m_intensity[0] == 0.5f;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << " \"" << c.text << "\"");
        StartOnTetrahedron(c.product);
        TypeAndLeave(View(), c.id, QString::fromLatin1(c.text));
        EXPECT_TRUE(c.stored(Corner(kMoved), Vertex(kMoved)));
        EXPECT_TRUE(m_doc->IsModified());
        EXPECT_TRUE(LevelIsSound(*m_doc->m_level));
        EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QStringLiteral("; ")).toStdString();
    }
}

TEST_F(VertexViewTest, FieldsLeftAsShownChangeNothing)
{
    // A position with more digits than the form shows ("12.3457"): leaving its field unchanged
    // moves nothing.
    constexpr float kX = 12.34567f;
    CQzlSections level = Tetrahedron();
    for (CWorldVertex& w : level.m_worldVertices)
        if (w.x == 1.0f)
            w.x = kX;
    FinishFixture(level);
    StartOnCorner(std::move(level), 0, kMoved);
    CVertexView& view = View();
    ASSERT_EQ(Text(view, Ctl::kVertexX), "12.3457");
    const Bytes before = LevelBytes();
    for (const int id : {Ctl::kVertexX, Ctl::kVertexY, Ctl::kVertexZ}) {
        Leave(Edit(view, id));
        // The same text typed again.
        TypeAndLeave(view, id, Text(view, id));
    }
    EXPECT_EQ(LevelBytes(), before);
    EXPECT_EQ(Vertex(kMoved).x, kX);
    EXPECT_EQ(UndoSteps(), 0u);
    EXPECT_FALSE(m_doc->IsModified());
    // The texture and light applies keep the exact values they did not change either.
    TypeAndLeave(view, Ctl::kVertexU, QStringLiteral("1"));
    EXPECT_EQ(Vertex(kMoved).x, kX);
    EXPECT_EQ(Corner(kMoved).m_u, 1.0f);
}

TEST_F(VertexViewTest, AFieldThatDoesNotReadWritesNothing)
{
    struct Case {
        int typed;  // typed first, not left
        const char* typedText;
        int left;
        const char* leftText;
    };
    const Case cases[] = {
        {Ctl::kVertexU, "9", Ctl::kVertexX, "east"},
        {Ctl::kVertexV, "9", Ctl::kVertexU, "1,5"},
        {Ctl::kIntensityMono, "0.1", Ctl::kIntensityMono, "bright"},
        {Ctl::kVertexU, "9", Ctl::kIntensityMono, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.left << " \"" << c.leftText << "\"");
        StartOnTetrahedron();
        CVertexView& view = View();
        const Bytes before = LevelBytes();
        Edit(view, c.typed).setText(QString::fromLatin1(c.typedText));
        TypeAndLeave(view, c.left, QString::fromLatin1(c.leftText));
        EXPECT_EQ(m_messages, QStringList{QStringLiteral("Please enter a number.")});
        EXPECT_EQ(LevelBytes(), before);
        EXPECT_FALSE(m_doc->IsModified());
        EXPECT_EQ(UndoSteps(), 0u);
    }
}

TEST_F(VertexViewTest, SpinArrowsStepTheFieldAndApplyIt)
{
    struct Case {
        int spin;
        const char* arrow;
        int edit;
        const char* shown;
        std::function<float(CQzlVertex&, CWorldVertex&)> value;
        float want;
    };
    const Case cases[] = {
        {Ctl::kVertexUSpin, "up", Ctl::kVertexU, "3.5",
         [](CQzlVertex& c, CWorldVertex&) { return c.m_u; }, 3.5f},
        {Ctl::kVertexUSpin, "down", Ctl::kVertexU, "1.5",
         [](CQzlVertex& c, CWorldVertex&) { return c.m_u; }, 1.5f},
        {Ctl::kVertexVSpin, "up", Ctl::kVertexV, "-3",
         [](CQzlVertex& c, CWorldVertex&) { return c.m_v; }, -3.0f},
        {Ctl::kVertexXSpin, "up", Ctl::kVertexX, "1.01",
         [](CQzlVertex&, CWorldVertex& w) { return w.x; }, 1.01f},
        {Ctl::kVertexZSpin, "down", Ctl::kVertexZ, "-0.01",
         [](CQzlVertex&, CWorldVertex& w) { return w.z; }, -0.01f},
        {Ctl::kIntensityMonoSpin, "up", Ctl::kIntensityMono, "0.51",
         [](CQzlVertex& c, CWorldVertex&) { return c.m_intensity[0]; }, 0.51f},
        {Ctl::kIntensityMonoSpin, "down", Ctl::kIntensityMono, "0.49",
         [](CQzlVertex& c, CWorldVertex&) { return c.m_intensity[0]; }, 0.49f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.spin << " " << c.arrow);
        StartOnTetrahedron();
        CVertexView& view = View();
        const std::size_t undoBefore = UndoSteps();
        ClickSpin(view, c.spin, c.arrow);
        EXPECT_EQ(Text(view, c.edit), c.shown);
        EXPECT_NEAR(c.value(Corner(kMoved), Vertex(kMoved)), c.want, 1e-6f);
        EXPECT_TRUE(m_doc->IsModified());
        EXPECT_TRUE(LevelIsSound(*m_doc->m_level));
        // Only a move is an undo step.
        const bool move = c.edit == Ctl::kVertexX || c.edit == Ctl::kVertexZ;
        EXPECT_EQ(UndoSteps(), undoBefore + (move ? 1u : 0u));
    }
}

TEST_F(VertexViewTest, AMoveIsOneUndoStepThatGivesBackTheExactLevel)
{
    StartOnTetrahedron();
    CVertexView& view = View();
    const Bytes before = LevelBytes();
    TypeAndLeave(view, Ctl::kVertexX, QStringLiteral("1.2"));
    EXPECT_EQ(Vertex(kMoved).x, 1.2f);
    EXPECT_NE(LevelBytes(), before);
    EXPECT_EQ(UndoSteps(), 1u);
    EXPECT_TRUE(LevelIsSound(*m_doc->m_level));
    const Bytes after = LevelBytes();

    ASSERT_TRUE(UndoCommand(*m_engine));
    EXPECT_EQ(LevelBytes(), before);
    ASSERT_TRUE(RedoCommand(*m_engine));
    EXPECT_EQ(LevelBytes(), after);
}

TEST_F(VertexViewTest, ARefusedMoveShowsTheVertexWhereItStays)
{
    // The floor corner cannot rise alone: the floor's plane does not follow y.
    StartOnTetrahedron();
    CVertexView& view = View();
    const Bytes before = LevelBytes();
    TypeAndLeave(view, Ctl::kVertexY, QStringLiteral("0.5"));
    EXPECT_EQ(Text(view, Ctl::kVertexY), "0");
    EXPECT_EQ(LevelBytes(), before);
    EXPECT_EQ(UndoSteps(), 0u);
    EXPECT_FALSE(m_doc->IsModified());

    // A position typed but not left, then a texture spin: the position goes through the move.
    Edit(view, Ctl::kVertexY).setText(QStringLiteral("0.5"));
    ClickSpin(view, Ctl::kVertexUSpin, "up");
    EXPECT_EQ(Vertex(kMoved).y, 0.0f);
    EXPECT_EQ(Corner(kMoved).m_u, 3.5f);
    EXPECT_EQ(Text(view, Ctl::kVertexY), "0");
    Edit(view, Ctl::kVertexX).setText(QStringLiteral("1.5"));
    ClickSpin(view, Ctl::kVertexUSpin, "up");
    EXPECT_EQ(Vertex(kMoved).x, 1.5f);
    EXPECT_EQ(Corner(kMoved).m_u, 4.5f);
    EXPECT_TRUE(LevelIsSound(*m_doc->m_level));
}

TEST_F(VertexViewTest, CopyLightRelightsEveryCornerOfTheWorldVertex)
{
    // The floor corner (1, 0, 0) of room 0 lies on the wall the rooms share: three surfaces of
    // each room use its world vertex.
    for (const int copyLight : {1, 0}) {
        SCOPED_TRACE(copyLight);
        CQzlSections level = LitRooms();
        const int floor = BoxSurface(level, 0, kBoxFloor);
        int cornerIndex = -1;
        std::int32_t shared = -1;
        for (std::size_t i = 0; i < level.m_surfaces[floor]->m_vertices.size(); ++i) {
            const std::int32_t w = level.m_surfaces[floor]->m_vertices[i].m_worldVertex;
            if (level.m_worldVertices[w].x == 1 && level.m_worldVertices[w].z == 0) {
                cornerIndex = static_cast<int>(i);
                shared = w;
            }
        }
        ASSERT_GE(cornerIndex, 0);
        StartOnCorner(std::move(level), 0, {floor, cornerIndex});
        m_app->m_settings.m_copyLight = copyLight;

        // Every corner of the level on the shared vertex, with its surface, and the colour of a
        // sector 1 one.
        struct CUse {
            int sector;
            int surface;
            std::size_t corner;
        };
        std::vector<CUse> uses;
        CQzlSections& lvl = *m_doc->m_level;
        for (int s = 0; s < 2; ++s)
            for (const std::int32_t f : lvl.m_sectors[s]->m_surfaces)
                for (std::size_t i = 0; i < lvl.m_surfaces[f]->m_vertices.size(); ++i)
                    if (lvl.m_surfaces[f]->m_vertices[i].m_worldVertex == shared)
                        uses.push_back({s, f, i});
        ASSERT_EQ(uses.size(), 6u);
        const CUse far = *std::ranges::find(uses, 1, &CUse::sector);
        // A surface's lit vertices run against its corners.
        const auto color = [&](const CUse& use) {
            const CQzlSurface& surface = *lvl.m_surfaces[use.surface];
            return surface.m_renderVertices.at(surface.m_vertices.size() - 1 - use.corner).color;
        };
        const std::uint32_t farBefore = color(far);
        const std::uint32_t nearBefore = color({0, floor, static_cast<std::size_t>(cornerIndex)});

        TypeAndLeave(View(), Ctl::kIntensityMono, QStringLiteral("0.125"));
        EXPECT_TRUE(m_doc->IsModified());
        int relit = 0;
        for (const CUse& use : uses)
            relit += lvl.m_surfaces[use.surface]->m_vertices[use.corner].m_intensity[0] == 0.125f;
        EXPECT_EQ(relit, copyLight != 0 ? 6 : 1);
        EXPECT_NE(color({0, floor, static_cast<std::size_t>(cornerIndex)}), nearBefore);
        // The other room was recoloured only when its corner was relit.
        EXPECT_EQ(color(far) != farBefore, copyLight != 0);
        // Corners on other vertices keep their light.
        for (const auto& surface : lvl.m_surfaces)
            for (const CQzlVertex& corner : surface->m_vertices)
                if (corner.m_worldVertex != shared) {
                    EXPECT_EQ(corner.m_intensity[0], 1.0f);
                }
    }
}

TEST_F(VertexViewTest, EachSpinStandsBesideItsFieldAsHighAsIt)
{
    StartOnTetrahedron();
    // The whole form, also the rows the pane scrolls away.
    QWidget& view = *Control<QWidget>(Pane(1), Ctl::kVertexX)->parentWidget();
    QApplication::processEvents();
    const QImage shot = view.grab().toImage();
    SavePictures({{"vertex_form.png", &shot}});
    const struct {
        int edit;
        int spin;
    } rows[] = {
        {Ctl::kVertexX, Ctl::kVertexXSpin},
        {Ctl::kVertexU, Ctl::kVertexUSpin},
        {Ctl::kIntensityMono, Ctl::kIntensityMonoSpin},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.edit);
        QWidget* edit = Control<QWidget>(view, row.edit);
        QWidget* spin = Control<QWidget>(view, row.spin);
        const QRect field(edit->mapTo(&view, QPoint(0, 0)), edit->size());
        const QRect arrows(spin->mapTo(&view, QPoint(0, 0)), spin->size());
        EXPECT_GE(arrows.left(), field.right());
        EXPECT_LE(arrows.height(), field.height() + 2);
        EXPECT_LE(std::abs(arrows.center().y() - field.center().y()), 2);
        // The up arrow is drawn: dark pixels inside its half of the spin, in the pane's picture.
        ASSERT_TRUE(view.rect().contains(arrows));
        int dark = 0;
        for (int y = arrows.top(); y < arrows.center().y(); ++y)
            for (int x = arrows.left(); x <= arrows.right(); ++x)
                dark += qGray(shot.pixel(x * shot.width() / view.width(),
                                         y * shot.height() / view.height())) < 96;
        EXPECT_GT(dark, 0);
    }
}
