// The Header, Find Item, Statistics and Texture Coordinates dialogs on fixture levels in the
// running editor, driven by their controls' ids: the header written all or nothing and undone
// exactly, Find Item's opening selection and the camera it places, the record counts, the
// texture laid by Apply and stored by OK with one undo snapshot per dialog, and the commands that
// open them with their enable rules.

#include "FormViewTestSupport.h"

#include "app/FindItemDlg.h"
#include "app/HeaderDlg.h"
#include "app/MainFrame.h"
#include "app/StatisticsDlg.h"
#include "app/TextureCoordinatesDlg.h"
#include "edit/TextureCoordinates.h"
#include "engine/Camera.h"
#include "engine/Undo.h"
#include "level/LevelFile.h"
#include "level/QzlHeader.h"
#include "level/TextureFit.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"

#include <QAction>
#include <QCheckBox>
#include <QListWidget>

#include <array>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace {

class LevelDialogsTest : public FormViewTest {
protected:
    CMainFrame& Frame() { return *m_app->m_pMainFrame; }

    bool Enabled(int id)
    {
        Frame().UpdateCommandUI();
        const QAction* action = Frame().Action(id);
        return action != nullptr && action->isEnabled();
    }

    // The box room with a crate, the header filled with a value of its own per field (one with
    // more digits than a field shows).
    C3dView& StartBoxRoom()
    {
        CQzlSections level = MakeBoxRoom();
        std::array<float*, CHeaderDlg::kFieldCount> header = HeaderValues(level.m_header);
        for (std::size_t i = 0; i < header.size(); ++i)
            *header[i] = 1.5f + static_cast<float>(i);
        level.m_header.m_worldGravity = 0.12345678f;
        return Start(std::move(level));
    }

    // A field that does not read: its text and the message it gives.
    struct CBadField {
        int id;
        const char* text;
        const char* message;
    };
    // For each bad field and button: a fresh dialog from make, shown, with a good change typed
    // first (goodId takes goodText), then the bad field, then the button clicked. The field's
    // message is shown, the dialog stays open, the level and the document are as they were.
    void ExpectRefused(const std::function<std::unique_ptr<QDialog>()>& make, int goodId,
                       const char* goodText, std::initializer_list<CBadField> fields,
                       std::initializer_list<int> buttons)
    {
        const Bytes before = LevelBytes();
        for (const CBadField& field : fields) {
            for (const int button : buttons) {
                SCOPED_TRACE(std::string(field.text) + " " + std::to_string(button));
                m_messages.clear();
                const std::unique_ptr<QDialog> dialog = make();
                dialog->show();
                Control<QLineEdit>(*dialog, goodId)->setText(QString::fromLatin1(goodText));
                Control<QLineEdit>(*dialog, field.id)->setText(QString::fromLatin1(field.text));
                Click(*dialog, button);
                EXPECT_EQ(m_messages, QStringList{QString::fromLatin1(field.message)});
                EXPECT_TRUE(dialog->isVisible());
                EXPECT_EQ(LevelBytes(), before);
                EXPECT_TRUE(m_doc->m_level->m_undoList.empty());
                EXPECT_FALSE(m_doc->IsModified());
            }
        }
    }

    std::vector<std::pair<float, float>> Corners(int surface)
    {
        std::vector<std::pair<float, float>> uv;
        for (const CQzlVertex& corner : m_doc->m_level->m_surfaces[surface]->m_vertices)
            uv.emplace_back(corner.m_u, corner.m_v);
        return uv;
    }
};

QString Field(QWidget& dialog, int id)
{
    return Control<QLineEdit>(dialog, id)->text();
}

void Type(QWidget& dialog, int id, const char* text)
{
    Control<QLineEdit>(dialog, id)->setText(QString::fromLatin1(text));
}

// ---- Header ----

TEST_F(LevelDialogsTest, HeaderShowsTheFieldsAndOkWritesThemInOneUndoStep)
{
    StartBoxRoom();
    const Bytes before = LevelBytes();
    const CQzlHeader original = m_doc->m_level->m_header;

    CHeaderDlg dialog(*m_doc);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Header"));
    EXPECT_EQ(Field(dialog, Ctl::kHeaderGravity), QStringLiteral("0.123457"));
    EXPECT_EQ(Field(dialog, Ctl::kHeaderCeilingSkyZ), QStringLiteral("2.5"));
    EXPECT_EQ(Field(dialog, Ctl::kHeaderHorizonDistance), QStringLiteral("3.5"));
    EXPECT_EQ(Field(dialog, Ctl::kHeaderHorizonSkyOffsetY), QStringLiteral("6.5"));
    EXPECT_EQ(Field(dialog, Ctl::kHeaderCeilingSkyOffsetY), QStringLiteral("8.5"));
    EXPECT_EQ(Field(dialog, Ctl::kHeaderMipmapDistance1 + 3), QStringLiteral("12.5"));
    EXPECT_EQ(Field(dialog, Ctl::kHeaderLodDistance1 + 3), QStringLiteral("16.5"));
    EXPECT_EQ(Field(dialog, Ctl::kHeaderGouraudDistance), QStringLiteral("18.5"));

    // Unchanged fields keep their exact values (also the one with more digits than shown).
    Type(dialog, Ctl::kHeaderLodDistance1 + 1, "40");
    Type(dialog, Ctl::kHeaderHorizonDistance, "500");
    Click(dialog, Ctl::kOk);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const CQzlHeader& header = m_doc->m_level->m_header;
    EXPECT_EQ(header.m_worldGravity, original.m_worldGravity);
    EXPECT_EQ(header.m_lodDistances[1], 40.0f);
    EXPECT_EQ(header.m_horizonDistance, 500.0f);
    EXPECT_EQ(header.m_gouraudDistance, original.m_gouraudDistance);
    EXPECT_EQ(header.m_version, original.m_version);
    EXPECT_TRUE(m_doc->IsModified());
    ASSERT_EQ(m_doc->m_level->m_undoList.size(), 1U);

    ASSERT_TRUE(UndoCommand(*m_engine));
    EXPECT_EQ(LevelBytes(), before);
}

TEST_F(LevelDialogsTest, HeaderWithABadFieldWritesNothingAndStaysOpen)
{
    StartBoxRoom();
    const Bytes before = LevelBytes();
    // A good change before the bad field is not written either.
    ExpectRefused(
        [this] { return std::make_unique<CHeaderDlg>(*m_doc); }, Ctl::kHeaderCeilingSkyZ, "99",
        {
            {Ctl::kHeaderHorizonDistance, "0.05", "Please enter a number between 0.1 and 500."},
            {Ctl::kHeaderHorizonDistance, "500.5", "Please enter a number between 0.1 and 500."},
            {Ctl::kHeaderGravity, "heavy", "Please enter a number."},
            {Ctl::kHeaderGouraudDistance, "", "Please enter a number."},
        },
        {Ctl::kOk});
    // Cancel changes nothing.
    CHeaderDlg dialog(*m_doc);
    Type(dialog, Ctl::kHeaderCeilingSkyZ, "99");
    Click(dialog, Ctl::kCancel);
    EXPECT_EQ(LevelBytes(), before);
    EXPECT_FALSE(m_doc->IsModified());
}

// ---- Find Item ----

int SelectedRow(QWidget& dialog, int id)
{
    const QList<QListWidgetItem*> selected = Control<QListWidget>(dialog, id)->selectedItems();
    return selected.isEmpty() ? -1 : Control<QListWidget>(dialog, id)->row(selected.front());
}

TEST_F(LevelDialogsTest, FindItemOpensWithTheLastCurrentItemSelected)
{
    CQzlSections level = MakeTwoJoinedRooms();
    for (int i = 0; i < 4; ++i)
        AddCrate(level, 1, {1.5f, 0.2f, 0.1f + 0.2f * static_cast<float>(i)});
    Start(std::move(level));
    const int surfaces = static_cast<int>(m_doc->m_level->m_surfaces.size());
    struct CCase {
        int sector, surface, thing;
        int wantSector, wantSurface, wantThing;
    };
    const CCase cases[] = {
        {1, 4, 3, -1, -1, 3},
        {1, 4, -1, -1, 4, -1},
        {1, -1, -1, 1, -1, -1},
        {-1, -1, -1, -1, -1, -1},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.thing);
        m_engine->m_selection.m_sector = c.sector;
        m_engine->m_selection.m_surface = c.surface;
        m_engine->m_selection.m_thing = c.thing;
        CFindItemDlg dialog(*m_doc);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Find Item"));
        EXPECT_EQ(Control<QListWidget>(dialog, Ctl::kFindSectorNumber)->count(), 2);
        EXPECT_EQ(Control<QListWidget>(dialog, Ctl::kFindSurfaceNumber)->count(), surfaces);
        EXPECT_EQ(Control<QListWidget>(dialog, Ctl::kFindObjectNumber)->item(3)->text(),
                  QStringLiteral("3"));
        EXPECT_EQ(SelectedRow(dialog, Ctl::kFindSectorNumber), c.wantSector);
        EXPECT_EQ(SelectedRow(dialog, Ctl::kFindSurfaceNumber), c.wantSurface);
        EXPECT_EQ(SelectedRow(dialog, Ctl::kFindObjectNumber), c.wantThing);
    }

    // Choosing in one list clears the others; a number typed selects its entry, one the list
    // lacks selects none.
    m_engine->m_selection.m_thing = 3;
    CFindItemDlg dialog(*m_doc);
    Control<QListWidget>(dialog, Ctl::kFindSurfaceNumber)->setCurrentRow(5);
    EXPECT_EQ(SelectedRow(dialog, Ctl::kFindObjectNumber), -1);
    EXPECT_EQ(Field(dialog, Ctl::kFindSurfaceNumber), QStringLiteral("5"));
    QLineEdit* sectorEdit = Control<QLineEdit>(dialog, Ctl::kFindSectorNumber);
    sectorEdit->setFocus();
    QTest::keyClick(sectorEdit, Qt::Key_1);
    EXPECT_EQ(SelectedRow(dialog, Ctl::kFindSectorNumber), 1);
    EXPECT_EQ(SelectedRow(dialog, Ctl::kFindSurfaceNumber), -1);
    EXPECT_EQ(dialog.Chosen(), std::make_pair(EFindItem::Sector, 1));
    QTest::keyClick(sectorEdit, Qt::Key_7);
    EXPECT_EQ(SelectedRow(dialog, Ctl::kFindSectorNumber), -1);
    EXPECT_EQ(dialog.Chosen(), std::make_pair(EFindItem::None, -1));
}

void ExpectNear(const CVector3& got, const CVector3& want)
{
    EXPECT_NEAR(got.x, want.x, 1e-5f);
    EXPECT_NEAR(got.y, want.y, 1e-5f);
    EXPECT_NEAR(got.z, want.z, 1e-5f);
}

TEST_F(LevelDialogsTest, FindItemOkSelectsTheItemAndPlacesTheCamera)
{
    CQzlSections level = MakeTwoJoinedRooms();
    AddCrate(level, 1, {1.5f, 0.25f, 0.5f});
    // A surface no sector lists: a copy of sector 1's x-high wall.
    const int wall = BoxSurface(level, 1, kBoxXHigh);
    level.m_surfaces.push_back(std::make_unique<CQzlSurface>(*level.m_surfaces[wall], true, false));
    level.m_surfaces.back()->m_normal = level.m_surfaces[wall]->m_normal;
    const int orphan = static_cast<int>(level.m_surfaces.size()) - 1;
    const int floor = BoxSurface(level, 0, kBoxFloor);
    Start(std::move(level));
    const CVector3 sector1Centre = m_doc->m_level->m_sectors[1]->m_center;

    struct CCase {
        int list;
        int row;
        int startSector;
        int wantSector, wantSurface, wantThing;
        CVector3 position;
        CVector3 forward;
    };
    const CCase cases[] = {
        {Ctl::kFindSectorNumber, 1, 0, 1, -1, -1, sector1Centre, {0, 0, 1}},
        // The floor of sector 0 (normal +y): from 0.5 above its middle, looking down.
        {Ctl::kFindSurfaceNumber, floor, 1, 0, floor, -1, {0.5f, 0.5f, 0.5f}, {0, -1, 0}},
        // The wall x = 2 (normal -x): 0.5 inside, looking at it; no sector lists the copy, so the
        // current sector stays.
        {Ctl::kFindSurfaceNumber, orphan, 0, 0, orphan, -1, {1.5f, 0.5f, 0.5f}, {1, 0, 0}},
        {Ctl::kFindObjectNumber, 0, 0, 1, -1, 0, {1.5f, 0.25f, 0.0f}, {0, 0, 1}},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.row);
        m_engine->m_selection = {};
        m_engine->m_selection.m_sector = c.startSector;
        m_engine->m_selection.m_vertex = 0;
        m_engine->m_selection.m_vertexSurface = 0;
        const CModalAnswer answer([&c](QWidget& dialog) {
            Control<QListWidget>(dialog, c.list)->setCurrentRow(c.row);
            Click(dialog, Ctl::kOk);
        });
        TriggerCommand(Frame(), Cmd::kFindItem);
        EXPECT_TRUE(answer.Answered());
        const CSelection& selection = m_engine->m_selection;
        EXPECT_EQ(selection.m_sector, c.wantSector);
        EXPECT_EQ(selection.m_surface, c.wantSurface);
        EXPECT_EQ(selection.m_thing, c.wantThing);
        EXPECT_EQ(selection.m_vertex, -1);
        ExpectNear(m_engine->m_camera.m_position, c.position);
        ExpectNear(m_engine->m_camera.m_forwardAxis, c.forward);
        // The view matrix agrees: a camera whose axes are square, at that position.
        CVector3 forward;
        CVector3 up;
        GetCameraAxes(*m_engine, forward, up);
        ExpectNear(forward, c.forward);
        EXPECT_NEAR(Dot(forward, up), 0.0f, 1e-5f);
        EXPECT_NEAR(VectorLength(up), 1.0f, 1e-5f);
        ExpectNear(GetCameraPosition(*m_engine), c.position);
        EXPECT_EQ(m_engine->m_camera.m_jump, 0);
    }
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_TRUE(m_messages.isEmpty());
}

// ---- Statistics ----

TEST_F(LevelDialogsTest, StatisticsCountsTheLevelsRecords)
{
    // A new document shows the counts of the level template.
    m_doc = StartShownWithDocument();
    ASSERT_NE(m_doc, nullptr);
    const CLevelFile level = LoadLevelFile(ProgramDir() / "new.qze", 0);
    const CQzlSections& fresh = level.m_contents.m_level;
    ASSERT_GT(fresh.m_sectors.size(), 0U);
    QStringList shown;
    const CModalAnswer answer([&shown](QWidget& dialog) {
        for (const int id :
             {Ctl::kStatSectors, Ctl::kStatSurfaces, Ctl::kStatVertices, Ctl::kStatMaterials,
              Ctl::kStatObjects, Ctl::kStatCogs, Ctl::kStatTemplates})
            shown.append(Field(dialog, id));
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Statistics"));
        EXPECT_EQ(dialog.findChild<QWidget*>(Id(Ctl::kCancel)), nullptr);
        Click(dialog, Ctl::kOk);
    });
    TriggerCommand(Frame(), Cmd::kStatistics);
    ASSERT_TRUE(answer.Answered());
    // The geometry and things are the file's; the materials, cogs and templates those the
    // document's load gave the level (its resource lists, the start and goals cogs).
    const auto count = [](const auto& list) { return QString::number(list.size()); };
    const CQzlSections& opened = *m_doc->m_level;
    EXPECT_EQ(shown, (QStringList{count(fresh.m_sectors), count(fresh.m_surfaces),
                                  count(fresh.m_worldVertices), count(opened.m_materials),
                                  count(fresh.m_things), count(opened.m_cogs),
                                  count(opened.m_templates)}));
    EXPECT_GE(opened.m_templates.size(), fresh.m_templates.size());

    // The L corridor with two crates and a cog.
    CQzlSections corridor = MakeLCorridor();
    AddCrate(corridor, 0, {0.5f, 0.2f, 0.5f});
    AddCrate(corridor, 2, {1.5f, 0.2f, 1.5f});
    AddCog(corridor, "00_door.cog", {"0"});
    Reload(std::move(corridor));
    CStatisticsDlg dialog(*m_doc);
    const CQzlSections& l = *m_doc->m_level;
    EXPECT_EQ(Field(dialog, Ctl::kStatSectors), QStringLiteral("3"));
    EXPECT_EQ(Field(dialog, Ctl::kStatSurfaces), QStringLiteral("18"));
    EXPECT_EQ(Field(dialog, Ctl::kStatVertices), QString::number(l.m_worldVertices.size()));
    EXPECT_EQ(Field(dialog, Ctl::kStatMaterials), QString::number(l.m_materials.size()));
    EXPECT_EQ(Field(dialog, Ctl::kStatObjects), QStringLiteral("2"));
    EXPECT_EQ(Field(dialog, Ctl::kStatCogs), QStringLiteral("1"));
    EXPECT_EQ(Field(dialog, Ctl::kStatTemplates), QString::number(l.m_templates.size()));
    EXPECT_TRUE(Control<QLineEdit>(dialog, Ctl::kStatObjects)->isReadOnly());
    EXPECT_FALSE(m_doc->IsModified());
}

// ---- Texture Coordinates ----

class TextureCoordinatesTest : public LevelDialogsTest {
protected:
    // The box room with its x-low wall current, its texture laid from corner 0.
    void SetUp() override
    {
        LevelDialogsTest::SetUp();
        StartBoxRoom();
        m_wall = BoxSurface(*m_doc->m_level, 0, kBoxXLow);
        Select(0, m_wall);
    }
    std::unique_ptr<CTextureCoordinatesDlg> Make()
    {
        return std::make_unique<CTextureCoordinatesDlg>(*m_engine, m_doc->Frame()->View3d());
    }
    const CQzlSurface& Wall() { return *m_doc->m_level->m_surfaces[m_wall]; }

    int m_wall = -1;
};

TEST_F(TextureCoordinatesTest, OpensWithTheStoredValuesAndItsSpinsLowerAndWrap)
{
    CQzlSurface& wall = *m_doc->m_level->m_surfaces[m_wall];
    wall.m_startVertex = 2;
    wall.m_uOffset = 16.0f;
    wall.m_angle = 90.0f;
    wall.m_mirror = 1;
    const std::unique_ptr<CTextureCoordinatesDlg> dialog = Make();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Texture Coodinates"));
    EXPECT_EQ(dialog->m_corners, 4);
    EXPECT_EQ(Field(*dialog, Ctl::kTexStartVertex), QStringLiteral("2"));
    EXPECT_EQ(Field(*dialog, Ctl::kTexUOffset), QStringLiteral("16"));
    EXPECT_EQ(Field(*dialog, Ctl::kTexVOffset), QStringLiteral("0"));
    EXPECT_EQ(Field(*dialog, Ctl::kTexUScale), QStringLiteral("320"));
    EXPECT_EQ(Field(*dialog, Ctl::kTexVScale), QStringLiteral("320"));
    EXPECT_EQ(Field(*dialog, Ctl::kTexAngle), QStringLiteral("90"));
    EXPECT_TRUE(Control<QCheckBox>(*dialog, Ctl::kTexMirror)->isChecked());

    ExpectSpinSteps([this] { return std::unique_ptr<QWidget>(Make()); },
                    {
                        {Ctl::kTexStartVertex, Ctl::kTexStartVertexSpin, "0", "up", "3"},
                        {Ctl::kTexStartVertex, Ctl::kTexStartVertexSpin, "3", "down", "0"},
                        {Ctl::kTexStartVertex, Ctl::kTexStartVertexSpin, "1", "up", "0"},
                        {Ctl::kTexStartVertex, Ctl::kTexStartVertexSpin, "1", "down", "2"},
                        {Ctl::kTexAngle, Ctl::kTexAngleSpin, "0", "up", "359"},
                        {Ctl::kTexAngle, Ctl::kTexAngleSpin, "360", "down", "1"},
                        {Ctl::kTexAngle, Ctl::kTexAngleSpin, "45.5", "down", "46.5"},
                        {Ctl::kTexUOffset, Ctl::kTexUOffsetSpin, "0", "up", "0"},
                        {Ctl::kTexVOffset, Ctl::kTexVOffsetSpin, "2", "up", "1"},
                        {Ctl::kTexUScale, Ctl::kTexUScaleSpin, "1000", "down", "1000"},
                        {Ctl::kTexVScale, Ctl::kTexVScaleSpin, "320", "down", "321"},
                    });
}

TEST_F(TextureCoordinatesTest, ApplyLaysTheTextureAndCancelKeepsItButNotTheValues)
{
    const Bytes before = LevelBytes();
    const auto corners = Corners(m_wall);
    const CTextureMapping stored = StoredTextureMapping(Wall());

    // What the values give, laid on a copy of the level.
    CQzlSections copy = MakeBoxRoom();
    copy.m_surfaces[m_wall]->m_textureWidth = Wall().m_textureWidth;
    copy.m_surfaces[m_wall]->m_textureHeight = Wall().m_textureHeight;
    ComputeTextureCoords(copy, m_wall, 1, 30.0f, 160.0f, 320.0f, 8.0f, 0.0f, 1);
    std::vector<std::pair<float, float>> want;
    for (const CQzlVertex& corner : copy.m_surfaces[m_wall]->m_vertices)
        want.emplace_back(corner.m_u, corner.m_v);
    ASSERT_NE(want, corners);

    const std::unique_ptr<CTextureCoordinatesDlg> dialog = Make();
    Type(*dialog, Ctl::kTexStartVertex, "1");
    Type(*dialog, Ctl::kTexAngle, "30");
    Type(*dialog, Ctl::kTexUScale, "160");
    Type(*dialog, Ctl::kTexUOffset, "8");
    // "Mirror:" applies; so does "&Apply" again: one snapshot for the dialog.
    Click(*dialog, Ctl::kTexMirror);
    EXPECT_EQ(Corners(m_wall), want);
    Click(*dialog, Ctl::kTexApply);
    EXPECT_EQ(Corners(m_wall), want);
    EXPECT_EQ(m_doc->m_level->m_undoList.size(), 1U);
    EXPECT_TRUE(m_doc->IsModified());

    Click(*dialog, Ctl::kCancel);
    EXPECT_EQ(Corners(m_wall), want);
    const CTextureMapping after = StoredTextureMapping(Wall());
    EXPECT_EQ(after.m_startVertex, stored.m_startVertex);
    EXPECT_EQ(after.m_angle, stored.m_angle);
    EXPECT_EQ(after.m_uScale, stored.m_uScale);
    EXPECT_EQ(after.m_mirror, stored.m_mirror);
    EXPECT_TRUE(CheckLevelOracle(*m_doc->m_level).empty());

    ASSERT_TRUE(UndoCommand(*m_engine));
    EXPECT_EQ(LevelBytes(), before);
}

TEST_F(TextureCoordinatesTest, OkThroughTheCommandStoresTheValuesInOneUndoStep)
{
    const Bytes before = LevelBytes();
    // Without a current surface the command is greyed; with one it opens the dialog.
    Select(0, -1);
    EXPECT_FALSE(Enabled(Cmd::kTextureCoordinates));
    Select(0, m_wall);
    EXPECT_TRUE(Enabled(Cmd::kTextureCoordinates));

    const CModalAnswer answer([](QWidget& dialog) {
        EXPECT_EQ(dialog.objectName(), Id(Dlg::kTextureCoordinates));
        Type(dialog, Ctl::kTexStartVertex, "3");
        Type(dialog, Ctl::kTexVOffset, "64");
        Click(dialog, Ctl::kTexApply);
        ClickSpin(dialog, Ctl::kTexVScaleSpin, "up");
        Click(dialog, Ctl::kOk);
    });
    TriggerCommand(Frame(), Cmd::kTextureCoordinates);
    ASSERT_TRUE(answer.Answered());
    const CQzlSurface& wall = Wall();
    EXPECT_EQ(wall.m_startVertex, 3);
    EXPECT_EQ(wall.m_vOffset, 64.0f);
    EXPECT_EQ(wall.m_vScale, 319.0f);
    CQzlSections copy = MakeBoxRoom();
    copy.m_surfaces[m_wall]->m_textureWidth = wall.m_textureWidth;
    copy.m_surfaces[m_wall]->m_textureHeight = wall.m_textureHeight;
    ComputeTextureCoords(copy, m_wall, 3, 0.0f, 320.0f, 319.0f, 0.0f, 64.0f, 0);
    for (std::size_t i = 0; i < wall.m_vertices.size(); ++i) {
        EXPECT_EQ(wall.m_vertices[i].m_u, copy.m_surfaces[m_wall]->m_vertices[i].m_u);
        EXPECT_EQ(wall.m_vertices[i].m_v, copy.m_surfaces[m_wall]->m_vertices[i].m_v);
    }
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(m_doc->m_level->m_undoList.size(), 1U);
    EXPECT_TRUE(CheckLevelOracle(*m_doc->m_level).empty());
    ASSERT_TRUE(UndoCommand(*m_engine));
    EXPECT_EQ(LevelBytes(), before);

    // Cancel at once takes no snapshot and changes nothing.
    m_doc->SetModifiedFlag(false);
    const Bytes undone = LevelBytes();
    const std::size_t redo = m_doc->m_level->m_redoList.size();
    const CModalAnswer cancel([](QWidget& dialog) { Click(dialog, Ctl::kCancel); });
    TriggerCommand(Frame(), Cmd::kTextureCoordinates);
    ASSERT_TRUE(cancel.Answered());
    EXPECT_EQ(LevelBytes(), undone);
    EXPECT_EQ(m_doc->m_level->m_redoList.size(), redo);
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(TextureCoordinatesTest, AFieldThatDoesNotReadStopsApplyAndOk)
{
    ExpectRefused([this] { return std::unique_ptr<QDialog>(Make()); }, Ctl::kTexAngle, "45",
                  {
                      {Ctl::kTexUScale, "wide", "Please enter a number."},
                      {Ctl::kTexStartVertex, "1.5", "Please enter an integer."},
                      {Ctl::kTexStartVertex, "4", "Please enter an integer between 0 and 3."},
                      {Ctl::kTexStartVertex, "-1", "Please enter an integer between 0 and 3."},
                  },
                  {Ctl::kTexApply, Ctl::kOk, Ctl::kTexMirror});
}

// ---- The commands ----

TEST_F(LevelDialogsTest, TheDocumentCommandsOpenTheirDialogs)
{
    StartBoxRoom();
    for (const int id : {Cmd::kFindItem, Cmd::kHeader, Cmd::kStatistics})
        EXPECT_TRUE(Enabled(id)) << id;
    const Bytes before = LevelBytes();
    struct CCase {
        int command;
        int dialog;
        int button;
    };
    for (const CCase& c : {CCase{Cmd::kFindItem, Dlg::kFindItem, Ctl::kCancel},
                           CCase{Cmd::kHeader, Dlg::kHeader, Ctl::kCancel},
                           CCase{Cmd::kStatistics, Dlg::kStatistics, Ctl::kOk}}) {
        SCOPED_TRACE(c.command);
        QString opened;
        const CModalAnswer answer([&](QWidget& dialog) {
            opened = dialog.objectName();
            Click(dialog, c.button);
        });
        TriggerCommand(Frame(), c.command);
        ASSERT_TRUE(answer.Answered());
        EXPECT_EQ(opened, Id(c.dialog));
    }
    EXPECT_EQ(LevelBytes(), before);
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_TRUE(m_doc->m_level->m_undoList.empty());

    // Header's OK through the command: one undo step, the document modified.
    const CModalAnswer answer([](QWidget& dialog) {
        Type(dialog, Ctl::kHeaderPerspectiveDistance, "7.25");
        Click(dialog, Ctl::kOk);
    });
    TriggerCommand(Frame(), Cmd::kHeader);
    ASSERT_TRUE(answer.Answered());
    EXPECT_EQ(m_doc->m_level->m_header.m_perspectiveDistance, 7.25f);
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(m_doc->m_level->m_undoList.size(), 1U);

    // Without an engine the texture command is greyed.
    Select(0, 0);
    EXPECT_TRUE(Enabled(Cmd::kTextureCoordinates));
    DropEngine();
    EXPECT_FALSE(Enabled(Cmd::kTextureCoordinates));
}

}  // namespace
