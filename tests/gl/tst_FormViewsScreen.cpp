// The form views of a document window in the running editor on a real OpenGL context (label
// "gl": run under Xvfb): with a sector and a surface picked, the left column shows their values in
// its fields and the tint in its swatch, beside the drawn level; in object and vertex mode the
// middle pane shows the current thing or corner.

#include "EditorTestSupport.h"

#include "app/ChildFrame.h"
#include "app/ColorsPage.h"
#include "app/MainFrame.h"
#include "app/SectorView.h"
#include "app/SurfaceView.h"
#include "app/ThingsView.h"
#include "app/VertexView.h"
#include "engine/C3dView.h"
#include "engine/CommandIds.h"
#include "level/QzlSector.h"
#include "level/QzlSurface.h"
#include "support/FixtureLevels.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QTest>

#include <cstdio>
#include <set>

namespace {

class FormViewsScreenTest : public EditorTest {
protected:
    // The screen as it shows now.
    static QImage GrabScreen(const QWidget& over)
    {
        QApplication::processEvents();
        return over.screen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    }

    // The rectangle of widget in the pixels of the screen picture image.
    static QRect OnScreen(const QWidget& widget, const QImage& image)
    {
        const double ratio = image.devicePixelRatio();
        const QPoint topLeft = widget.mapToGlobal(QPoint(0, 0));
        return QRect(
            QPoint(static_cast<int>(topLeft.x() * ratio), static_cast<int>(topLeft.y() * ratio)),
            widget.size() * ratio);
    }

    // Updates the document's views and waits for the next frame of the 3D view.
    void UpdateAndPaint()
    {
        const int paints = m_view->PaintCount();
        m_doc->UpdateAllViews(nullptr);
        ASSERT_TRUE(QTest::qWaitFor([&] { return m_view->PaintCount() > paints; }, kEditorWaitMs));
        QTest::qWait(200);
    }

    struct CShownField {
        int id;
        const char* text;
    };
    // Each field of form holds its text and shows it, unscrolled, on the screen picture.
    void ExpectFieldsShown(QWidget& form, const QImage& screen,
                           std::initializer_list<CShownField> fields)
    {
        for (const CShownField& field : fields) {
            SCOPED_TRACE(field.id);
            auto* edit = form.findChild<QLineEdit*>(Id(field.id));
            ASSERT_NE(edit, nullptr);
            EXPECT_EQ(edit->text(), field.text);
            EXPECT_TRUE(edit->isEnabled());
            ASSERT_EQ(edit->visibleRegion().boundingRect(), edit->rect())
                << "scrolled out of its pane";
            // Even a lone "1" draws a few dark pixels.
            EXPECT_GT(DarkPixels(screen, OnScreen(*edit, screen)), 4);
        }
    }
    // The left column on the screen saved as name in the output folder.
    void SaveColumn(const QImage& screen, const char* name)
    {
        const QString png = QDir(QStringLiteral(QZ_TEST_OUTPUT_DIR)).filePath(name);
        EXPECT_TRUE(screen.copy(OnScreen(*m_doc->Frame()->LeftSplitter(), screen)).save(png));
        std::printf("Left column: %s\n", png.toLocal8Bit().constData());
    }
};

}  // namespace

TEST_F(FormViewsScreenTest, SectorAndSurfaceFormsShowThePickedSectorAndSurface)
{
    CQzlSections level = MakeTwoJoinedRooms();
    CQzlSector& sector = *level.m_sectors[0];
    sector.m_flags = 0x4010;
    sector.m_ambientLight = 0.75f;
    sector.m_tint[0] = 0.5f;
    sector.m_tint[1] = 0.25f;
    sector.m_tint[2] = 0.0f;
    const int wall = BoxSurface(level, 0, kBoxZLow);
    level.m_surfaces[static_cast<std::size_t>(wall)]->m_surfaceFlags = 0x80000001u;
    Open(std::move(level), 1);
    ASSERT_FALSE(HasFatalFailure());

    // Sector 0 and its near wall picked; the views follow the next frame.
    C3dView& engine = Engine();
    engine.m_selection.m_sector = 0;
    engine.m_selection.m_surface = wall;
    const int paints = m_view->PaintCount();
    m_doc->UpdateAllViews(nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_view->PaintCount() > paints; }, kEditorWaitMs));
    QTest::qWait(200);

    QSplitter* column = m_doc->Frame()->LeftSplitter();
    auto* sectorView = dynamic_cast<CSectorView*>(column->widget(0));
    auto* surfaceView = dynamic_cast<CSurfaceView*>(column->widget(1));
    ASSERT_NE(sectorView, nullptr);
    ASSERT_NE(surfaceView, nullptr);

    const QImage screen = GrabScreen(*column);
    const QImage columnPicture = column->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QString screenPng =
        QDir(QStringLiteral(QZ_TEST_OUTPUT_DIR)).filePath("form_views_screen.png");
    const QString columnPng =
        QDir(QStringLiteral(QZ_TEST_OUTPUT_DIR)).filePath("form_views_column.png");
    EXPECT_TRUE(screen.save(screenPng));
    EXPECT_TRUE(columnPicture.save(columnPng));
    std::printf("Form views: %s and %s\n", screenPng.toLocal8Bit().constData(),
                columnPng.toLocal8Bit().constData());

    // The fields hold the picked records' values, and each shows its text on the screen.
    const struct {
        QWidget* form;
        int id;
        const char* text;
    } fields[] = {
        {sectorView, Ctl::kSectorNumber, "0"},
        {sectorView, Ctl::kSectorFlags, "0x4010"},
        {sectorView, Ctl::kSectorColorMap, "dflt.cmp"},
        {sectorView, Ctl::kSectorAmbientLight, "0.75"},
        {surfaceView, Ctl::kSurfaceNumber, "4"},
        {surfaceView, Ctl::kSurfaceMaterial, "dflt.mat"},
        {surfaceView, Ctl::kSurfaceFlags, "0x80000001"},
    };
    ASSERT_EQ(wall, 4);
    for (const auto& field : fields) {
        SCOPED_TRACE(field.id);
        auto* edit = field.form->findChild<QLineEdit*>(Id(field.id));
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->text(), field.text);
        ASSERT_EQ(edit->visibleRegion().boundingRect(), edit->rect()) << "scrolled out of its pane";
        EXPECT_GT(DarkPixels(screen, OnScreen(*edit, screen)), 10);
    }
    auto* geometry = surfaceView->findChild<QComboBox*>(Id(Ctl::kSurfaceGeometry));
    ASSERT_NE(geometry, nullptr);
    EXPECT_EQ(geometry->currentText(), "4 - Draw Textured");
    EXPECT_GT(DarkPixels(screen, OnScreen(*geometry, screen)), 10);

    // The sector form is taller than its pane: scrolled down, its last row shows the tint swatch,
    // (0.5, 0.25, 0) as red 0, green 64, blue 128 in its middle.
    QWidget* swatch = sectorView->findChild<QWidget*>(Id(Ctl::kSectorTint));
    auto* scroll = sectorView->findChild<QScrollArea*>();
    ASSERT_NE(swatch, nullptr);
    ASSERT_NE(scroll, nullptr);
    scroll->ensureWidgetVisible(swatch);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return swatch->visibleRegion().boundingRect() == swatch->rect(); }, kEditorWaitMs));
    QTest::qWait(100);
    const QImage scrolled = GrabScreen(*column);
    const QString scrolledPng =
        QDir(QStringLiteral(QZ_TEST_OUTPUT_DIR)).filePath("form_views_tint.png");
    EXPECT_TRUE(scrolled.copy(OnScreen(*column, scrolled)).save(scrolledPng));
    std::printf("Tint row: %s\n", scrolledPng.toLocal8Bit().constData());
    const QRect area = OnScreen(*swatch, scrolled);
    const QRect middle(area.center() - QPoint(3, 3), QSize(7, 7));
    int tinted = 0;
    for (int y = middle.top(); y <= middle.bottom(); ++y)
        for (int x = middle.left(); x <= middle.right(); ++x)
            tinted += scrolled.pixelColor(x, y) == QColor(0, 64, 128) ? 1 : 0;
    EXPECT_EQ(tinted, 49);

    // The column is no blank pane: many shades of its frames, fields and texts.
    std::set<QRgb> shades;
    for (int y = 0; y < columnPicture.height(); ++y)
        for (int x = 0; x < columnPicture.width(); ++x)
            shades.insert(columnPicture.pixel(x, y));
    EXPECT_GT(shades.size(), 20u);
    EXPECT_GT(DarkPixels(columnPicture, columnPicture.rect()), 500);

    // Beside it the 3D view shows the level, not only its background.
    const QRect view = OnScreen(*m_view, screen);
    int drawn = 0;
    for (int y = view.top(); y <= view.bottom(); y += 4)
        for (int x = view.left(); x <= view.right(); x += 4)
            drawn += screen.pixelColor(x, y) != CColorsPage::FromSetting(kEditorBackground) ? 1 : 0;
    EXPECT_GT(drawn, 100);
}

TEST_F(FormViewsScreenTest, ObjectAndVertexModesShowTheCurrentThingAndCorner)
{
    CQzlSections level = MakeTwoJoinedRooms();
    const int crate = AddCrate(level, 0, {0.5f, 0.25f, 0.75f});
    Open(std::move(level), 1);
    ASSERT_FALSE(HasFatalFailure());
    C3dView& engine = Engine();
    QSplitter* column = m_doc->Frame()->LeftSplitter();

    // The crate current, then object mode from the menu: the middle pane is the things form.
    engine.m_selection.m_sector = 0;
    engine.m_selection.m_thing = crate;
    UpdateAndPaint();
    ASSERT_FALSE(HasFatalFailure());
    TriggerCommand(*m_app->m_pMainFrame, Cmd::kObjectMode);
    UpdateAndPaint();
    ASSERT_FALSE(HasFatalFailure());
    auto* things = dynamic_cast<CThingsView*>(column->widget(1));
    ASSERT_NE(things, nullptr);
    const QImage thingScreen = GrabScreen(*column);
    SaveColumn(thingScreen, "form_views_things.png");
    ExpectFieldsShown(*things, thingScreen,
                      {{Ctl::kThingNumber, "0"},
                       {Ctl::kThingTemplate, "crate"},
                       {Ctl::kThingX, "0.5"},
                       {Ctl::kThingY, "0.25"},
                       {Ctl::kThingZ, "0.75"}});

    // Corner 2 of the near wall current in vertex mode (the menu's Vertex takes only a corner no
    // other surface shares; a box's corners are all shared): the vertex form shows its position.
    const int wall = BoxSurface(*m_doc->m_level, 0, kBoxZLow);
    const CQzlSurface& surface = *m_doc->m_level->m_surfaces[static_cast<std::size_t>(wall)];
    const CWorldVertex& corner =
        m_doc->m_level
            ->m_worldVertices[static_cast<std::size_t>(surface.m_vertices[2].m_worldVertex)];
    engine.m_selection.m_thing = -1;
    engine.m_selection.m_surface = wall;
    engine.m_selection.m_vertexSurface = wall;
    engine.m_selection.m_vertex = 2;
    UpdateAndPaint();
    ASSERT_FALSE(HasFatalFailure());
    m_doc->m_state.m_editMode = 6;
    m_doc->SwitchPropertyView(PropertyView::kVertex);
    UpdateAndPaint();
    ASSERT_FALSE(HasFatalFailure());
    auto* vertex = dynamic_cast<CVertexView*>(column->widget(1));
    ASSERT_NE(vertex, nullptr);
    const QImage vertexScreen = GrabScreen(*column);
    SaveColumn(vertexScreen, "form_views_vertex.png");
    const auto number = [](float value) { return QString::number(value).toStdString(); };
    const std::string x = number(corner.x), y = number(corner.y), z = number(corner.z);
    ExpectFieldsShown(*vertex, vertexScreen,
                      {{Ctl::kVertexNumber, "2"},
                       {Ctl::kVertexX, x.c_str()},
                       {Ctl::kVertexY, y.c_str()},
                       {Ctl::kVertexZ, z.c_str()}});
}
