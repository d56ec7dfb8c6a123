// The surface form in the running application, on an engine without a render device: the fill from
// the current surface and its adjoin, the enabled fields, every field written back on leaving it
// (each apply marks the document modified; a field that does not read writes nothing), the mode
// lists' text rules, the material found or made by its name, the flag and Material buttons, and
// Copy To Other.

#include "FormViewTestSupport.h"

#include "app/SurfaceView.h"
#include "level/QzlAdjoin.h"
#include "level/QzlMaterial.h"
#include "level/QzlSector.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "ui/FlagDialogs.h"

#include <QCheckBox>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

// The two joined rooms with a second material "BRICK.MAT" (tiling 2 x 3) and a look of its own
// on sector 0's near wall.
CQzlSections SurfaceLevel()
{
    CQzlSections level = MakeTwoJoinedRooms();
    auto brick = std::make_unique<CQzlMaterial>("BRICK.MAT");
    brick->m_xTile = 2.0f;
    brick->m_yTile = 3.0f;
    level.m_materials.push_back(std::move(brick));
    CQzlSurface& wall = *level.m_surfaces[static_cast<std::size_t>(BoxSurface(level, 0, kBoxZLow))];
    wall.m_surfaceFlags = 0x80000001u;
    wall.m_faceFlags = 0x2;
    wall.m_geo = 4;
    wall.m_light = 3;
    wall.m_tex = 1;
    wall.m_extraLight = 0.25f;
    return level;
}

constexpr int kSurfaceFields[] = {
    Ctl::kSurfaceFlags,      Ctl::kSurfaceFlagsButton, Ctl::kFaceFlags,
    Ctl::kFaceFlagsButton,   Ctl::kSurfaceMaterial,    Ctl::kSurfaceMaterialButton,
    Ctl::kSurfaceGeometry,   Ctl::kSurfaceTexture,     Ctl::kSurfaceLightMode,
    Ctl::kSurfaceExtraLight,
};
constexpr int kAdjoinFields[] = {Ctl::kAdjoinFlagsButton, Ctl::kAdjoinFlags, Ctl::kCopyToOther};

class SurfaceViewTest : public FormViewTest {
protected:
    // The surface level shown with sector 0's near wall current.
    void StartOnWall()
    {
        Start(SurfaceLevel());
        SelectWall();
    }
    int Wall() { return BoxSurface(*m_doc->m_level, 0, kBoxZLow); }
    // Sector 0's side of the portal (adjoin 0) and sector 1's (adjoin 1).
    int Portal() { return BoxSurface(*m_doc->m_level, 0, kBoxXHigh); }
    int OtherSide() { return BoxSurface(*m_doc->m_level, 1, kBoxXLow); }
    void SelectWall() { Select(0, Wall()); }
    void SelectPortal() { Select(0, Portal()); }

    CSurfaceView& View() { return *dynamic_cast<CSurfaceView*>(&Pane(1)); }
    CQzlSurface& Surface(int index)
    {
        return *m_doc->m_level->m_surfaces[static_cast<std::size_t>(index)];
    }
    CQzlAdjoin& Adjoin(int index)
    {
        return *m_doc->m_level->m_adjoins[static_cast<std::size_t>(index)];
    }
    QComboBox& List(int id) { return *Control<QComboBox>(View(), id); }

    // text typed into the mode list id, then the list left.
    void TypeInList(int id, const QString& text)
    {
        QComboBox& list = List(id);
        list.setEditText(text);
        Leave(list);
    }
};

}  // namespace

TEST_F(SurfaceViewTest, ModeListsHoldTheirEntries)
{
    StartOnWall();
    const struct {
        int id;
        QStringList entries;
    } lists[] = {
        {Ctl::kSurfaceGeometry,
         {"0 - Not Rendered", "1 - Draw Vertices", "2 - Draw Wireframe", "3 - Draw Solid Color",
          "4 - Draw Textured", "5 - Draw Textured"}},
        {Ctl::kSurfaceLightMode,
         {"0 - Fully Lit", "1 - Not Lit", "2 - Diffuse", "3 - Gouraud", "4 - Gouraud",
          "5 - Gouraud"}},
        {Ctl::kSurfaceTexture,
         {"0 - Affine", "1 - Perspective", "2 - Perspective", "3 - Perspective"}},
    };
    for (const auto& l : lists) {
        QComboBox& list = List(l.id);
        EXPECT_TRUE(list.isEditable());
        QStringList entries;
        for (int i = 0; i < list.count(); ++i)
            entries << list.itemText(i);
        EXPECT_EQ(entries, l.entries) << l.id;
    }
}

TEST_F(SurfaceViewTest, FillShowsTheCurrentSurfaceAndEnablesItsFields)
{
    StartOnWall();
    CSurfaceView& view = View();
    ASSERT_EQ(&view, m_doc->Frame()->LeftSplitter()->widget(1));
    const struct {
        int id;
        const char* text;
    } shown[] = {
        {Ctl::kSurfaceNumber, "4"},         {Ctl::kSurfaceMaterial, "dflt.mat"},
        {Ctl::kSurfaceFlags, "0x80000001"}, {Ctl::kFaceFlags, "0x2"},
        {Ctl::kSurfaceExtraLight, "0.25"},  {Ctl::kSurfaceAdjoin, "-1"},
    };
    ASSERT_EQ(Wall(), 4);
    for (const auto& field : shown)
        EXPECT_EQ(Text(view, field.id), field.text) << field.id;
    EXPECT_EQ(List(Ctl::kSurfaceGeometry).currentText(), "4 - Draw Textured");
    EXPECT_EQ(List(Ctl::kSurfaceLightMode).currentText(), "3 - Gouraud");
    EXPECT_EQ(List(Ctl::kSurfaceTexture).currentText(), "1 - Perspective");
    EXPECT_TRUE(Edit(view, Ctl::kSurfaceMaterial).isReadOnly());
    for (const int id : kSurfaceFields)
        EXPECT_TRUE(Enabled(view, id)) << id;
    for (const int id : kAdjoinFields)
        EXPECT_FALSE(Enabled(view, id)) << id;
    EXPECT_FALSE(Enabled(view, Ctl::kSurfaceAdjoin));

    // A portal: no material, its adjoin and the adjoin's flags; the adjoin fields enabled but the
    // adjoin number.
    Adjoin(0).m_flags = 0x13;
    SelectPortal();
    EXPECT_EQ(Text(view, Ctl::kSurfaceMaterial), "");
    EXPECT_EQ(Text(view, Ctl::kSurfaceAdjoin), "0");
    EXPECT_EQ(Text(view, Ctl::kAdjoinFlags), "0x13");
    EXPECT_EQ(List(Ctl::kSurfaceGeometry).currentText(), "0 - Not Rendered");
    for (const int id : kAdjoinFields)
        EXPECT_TRUE(Enabled(view, id)) << id;
    EXPECT_FALSE(Enabled(view, Ctl::kSurfaceAdjoin));

    // With the Sector Mode switch on, no current surface or one the level does not hold: numbers
    // -1, everything disabled.
    const struct {
        int surface;
        int sectorMode;
    } none[] = {{Portal(), 1}, {-1, 0}, {99, 0}};
    for (const auto& c : none) {
        SCOPED_TRACE(testing::Message() << c.surface << " " << c.sectorMode);
        m_doc->m_state.m_sectorMode = c.sectorMode;
        Select(0, c.surface);
        EXPECT_EQ(Text(view, Ctl::kSurfaceNumber), "-1");
        EXPECT_EQ(Text(view, Ctl::kSurfaceAdjoin), "-1");
        for (const int id : kSurfaceFields)
            EXPECT_FALSE(Enabled(view, id)) << id;
        for (const int id : kAdjoinFields)
            EXPECT_FALSE(Enabled(view, id)) << id;
    }
    m_doc->m_state.m_sectorMode = 0;

    // A mode beyond its list selects no entry.
    Surface(Wall()).m_geo = 9;
    SelectWall();
    EXPECT_EQ(List(Ctl::kSurfaceGeometry).currentIndex(), -1);
    EXPECT_EQ(List(Ctl::kSurfaceGeometry).currentText(), "");
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(SurfaceViewTest, LeavingAFieldWritesItIntoTheSurface)
{
    StartOnWall();
    CSurfaceView& view = View();
    struct Case {
        int id;
        const char* text;
        std::function<bool(const CQzlSurface&)> stored;
    };
    const Case cases[] = {
        {Ctl::kSurfaceFlags, "0x10", [](const CQzlSurface& s) { return s.m_surfaceFlags == 16u; }},
        {Ctl::kSurfaceFlags, "10", [](const CQzlSurface& s) { return s.m_surfaceFlags == 10u; }},
        {Ctl::kFaceFlags, "0X3", [](const CQzlSurface& s) { return s.m_faceFlags == 3u; }},
        {Ctl::kFaceFlags, "letters", [](const CQzlSurface& s) { return s.m_faceFlags == 3u; }},
        {Ctl::kSurfaceExtraLight, "0.5",
         [](const CQzlSurface& s) { return s.m_extraLight == 0.5f; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << " \"" << c.text << "\"");
        m_doc->SetModifiedFlag(false);
        TypeAndLeave(view, c.id, QString::fromLatin1(c.text));
        EXPECT_TRUE(c.stored(Surface(Wall())));
        EXPECT_TRUE(m_doc->IsModified());
        EXPECT_TRUE(LevelIsSound(*m_doc->m_level));
    }
    // The rest as it was shown.
    const CQzlSurface& wall = Surface(Wall());
    EXPECT_EQ(wall.m_material, 0);
    EXPECT_EQ(wall.m_geo, 4);
    EXPECT_EQ(wall.m_light, 3);
    EXPECT_EQ(wall.m_tex, 1);

    // The adjoin flags of a portal go into its adjoin.
    SelectPortal();
    m_doc->SetModifiedFlag(false);
    TypeAndLeave(view, Ctl::kAdjoinFlags, QStringLiteral("0x1F"));
    EXPECT_EQ(Adjoin(0).m_flags, 0x1Fu);
    EXPECT_EQ(Adjoin(1).m_flags, 7u);
    // A portal keeps having no material.
    EXPECT_EQ(Surface(Portal()).m_material, -1);
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_TRUE(LevelIsSound(*m_doc->m_level));
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QStringLiteral("; ")).toStdString();
}

TEST_F(SurfaceViewTest, ModeListsSelectByTheLeadingNumber)
{
    const struct {
        const char* text;
        int count;
        int current;
        int entry;
    } rules[] = {
        {"3", 6, 4, 3},
        {"3 - Draw Solid Color", 6, 4, 3},
        {" 5x", 6, 0, 5},
        {"7", 6, 2, 2},
        {"6", 6, 2, 2},
        {"4", 4, 1, 1},
        {"-1", 6, 4, -1},
        {"abc", 6, 4, 0},
        {"", 4, 3, 0},
        {"+2", 4, 0, 2},
        {"99999999999", 6, 1, 1},
    };
    for (const auto& r : rules)
        EXPECT_EQ(CSurfaceView::LeadingNumberEntry(r.text, r.count, r.current), r.entry) << r.text;

    StartOnWall();
    struct Case {
        int list;
        const char* text;
        const char* shown;  // the list's text afterwards
        int stored;         // the record's mode afterwards
    };
    const Case cases[] = {
        {Ctl::kSurfaceGeometry, "3", "3 - Draw Solid Color", 3},
        // Beyond the list: the selection stays.
        {Ctl::kSurfaceGeometry, "7", "3 - Draw Solid Color", 3},
        // A negative number clears the selection; the record keeps its mode.
        {Ctl::kSurfaceGeometry, "-1", "", 3},
        {Ctl::kSurfaceGeometry, "no number", "0 - Not Rendered", 0},
        {Ctl::kSurfaceLightMode, "5", "5 - Gouraud", 5},
        {Ctl::kSurfaceLightMode, "6", "5 - Gouraud", 5},
        {Ctl::kSurfaceTexture, "3", "3 - Perspective", 3},
        {Ctl::kSurfaceTexture, "4", "3 - Perspective", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.list << " \"" << c.text << "\"");
        m_doc->SetModifiedFlag(false);
        TypeInList(c.list, QString::fromLatin1(c.text));
        EXPECT_EQ(List(c.list).currentText(), c.shown);
        const CQzlSurface& wall = Surface(Wall());
        const int mode = c.list == Ctl::kSurfaceGeometry    ? wall.m_geo
                         : c.list == Ctl::kSurfaceLightMode ? wall.m_light
                                                            : wall.m_tex;
        EXPECT_EQ(mode, c.stored);
        EXPECT_TRUE(m_doc->IsModified());
    }

    // A mode beyond its list is kept by an apply of another field.
    Surface(Wall()).m_geo = 9;
    SelectWall();
    TypeAndLeave(View(), Ctl::kSurfaceExtraLight, QStringLiteral("0"));
    EXPECT_EQ(Surface(Wall()).m_geo, 9);
}

TEST_F(SurfaceViewTest, MaterialIsFoundByItsNameOrMadeAnew)
{
    StartOnWall();
    CSurfaceView& view = View();
    CQzlSections& level = *m_doc->m_level;
    // Found whatever the letter case: the level's material and its tiling.
    TypeAndLeave(view, Ctl::kSurfaceMaterial, QStringLiteral("brick.mat"));
    EXPECT_EQ(Surface(Wall()).m_material, 1);
    EXPECT_EQ(Surface(Wall()).m_xTile, 2.0f);
    EXPECT_EQ(Surface(Wall()).m_yTile, 3.0f);
    ASSERT_EQ(level.m_materials.size(), 2u);

    // A name the level lacks becomes its next material, upper case, tiling 1 x 1, its texture
    // from the game's archive.
    m_doc->SetModifiedFlag(false);
    TypeAndLeave(view, Ctl::kSurfaceMaterial, QStringLiteral("Lava.Mat"));
    ASSERT_EQ(level.m_materials.size(), 3u);
    EXPECT_EQ(level.m_materials[2]->m_name, "LAVA.MAT");
    EXPECT_EQ(level.m_materials[2]->m_xTile, 1.0f);
    EXPECT_EQ(level.m_materials[2]->m_yTile, 1.0f);
    EXPECT_EQ(Surface(Wall()).m_material, 2);
    EXPECT_EQ(Surface(Wall()).m_xTile, 1.0f);
    EXPECT_EQ(Surface(Wall()).m_textureWidth, 32.0f);
    EXPECT_EQ(Surface(Wall()).m_textureHeight, 32.0f);
    EXPECT_TRUE(m_doc->IsModified());
    // Applied again it is found, not made twice.
    TypeAndLeave(view, Ctl::kSurfaceMaterial, QStringLiteral("lava.mat"));
    EXPECT_EQ(level.m_materials.size(), 3u);
    EXPECT_EQ(Surface(Wall()).m_material, 2);

    // No name: no material.
    TypeAndLeave(view, Ctl::kSurfaceMaterial, QString());
    EXPECT_EQ(Surface(Wall()).m_material, -1);
    EXPECT_TRUE(LevelIsSound(level));

    // The Material button picks one of the level's.
    m_doc->SetModifiedFlag(false);
    OnPicker(&view, PickerChoose(QStringLiteral("brick.mat")));
    Click(view, Ctl::kSurfaceMaterialButton);
    EXPECT_EQ(Surface(Wall()).m_material, 1);
    EXPECT_EQ(Text(view, Ctl::kSurfaceMaterial), "brick.mat");
    EXPECT_TRUE(m_doc->IsModified());
    m_doc->SetModifiedFlag(false);
    OnPicker(&view, PickerCancel);
    Click(view, Ctl::kSurfaceMaterialButton);
    EXPECT_EQ(Surface(Wall()).m_material, 1);
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(SurfaceViewTest, FlagButtonsEditTheirFlagWords)
{
    StartOnWall();
    CSurfaceView& view = View();
    struct Case {
        int button;
        int dialog;
        int tick;  // a box ticked before OK, 0 none
        std::function<std::uint32_t()> stored;
        std::uint32_t want;
    };
    const Case cases[] = {
        // "Floor Hide on Map" and "Texture Flipped" shown ticked; OK gives them back.
        {Ctl::kSurfaceFlagsButton, 187, 0, [&] { return Surface(Wall()).m_surfaceFlags; },
         0x80000001u},
        {Ctl::kSurfaceFlagsButton, 187, 1063, [&] { return Surface(Wall()).m_surfaceFlags; },
         0x80000005u},
        {Ctl::kFaceFlagsButton, 188, 1108, [&] { return Surface(Wall()).m_faceFlags; }, 0x3u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        m_doc->SetModifiedFlag(false);
        OnModal<CFlagDialog>(&view, [&c](CFlagDialog& dialog) {
            EXPECT_EQ(dialog.objectName(), Id(c.dialog));
            if (c.tick != 0)
                Control<QCheckBox>(dialog, c.tick)->setChecked(true);
            Click(dialog, Ctl::kOk);
        });
        Click(view, c.button);
        EXPECT_EQ(c.stored(), c.want);
        EXPECT_TRUE(m_doc->IsModified());
    }

    // The adjoin's flags, through the adjoin dialog; Cancel keeps them.
    SelectPortal();
    OnModal<CFlagDialog>(&view, [](CFlagDialog& dialog) {
        EXPECT_EQ(dialog.objectName(), Id(5001));
        EXPECT_TRUE(Control<QCheckBox>(dialog, 2035)->isChecked());
        Control<QCheckBox>(dialog, 2035)->setChecked(false);
        Click(dialog, Ctl::kOk);
    });
    Click(view, Ctl::kAdjoinFlagsButton);
    EXPECT_EQ(Adjoin(0).m_flags, 0x5u);
    EXPECT_EQ(Text(view, Ctl::kAdjoinFlags), "0x5");
    m_doc->SetModifiedFlag(false);
    OnModal<CFlagDialog>(&view, [](CFlagDialog& dialog) {
        Control<QCheckBox>(dialog, 2035)->setChecked(true);
        Click(dialog, Ctl::kCancel);
    });
    Click(view, Ctl::kAdjoinFlagsButton);
    EXPECT_EQ(Adjoin(0).m_flags, 0x5u);
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(SurfaceViewTest, AFieldThatDoesNotReadWritesNothing)
{
    StartOnWall();
    CSurfaceView& view = View();
    const Bytes before = LevelBytes();
    Edit(view, Ctl::kSurfaceFlags).setText(QStringLiteral("0x40"));
    List(Ctl::kSurfaceGeometry).setCurrentIndex(1);
    TypeAndLeave(view, Ctl::kSurfaceExtraLight, QStringLiteral("dim"));
    EXPECT_EQ(m_messages, QStringList{QStringLiteral("Please enter a number.")});
    // Copy To Other stops with the apply, too.
    SelectPortal();
    Edit(view, Ctl::kSurfaceExtraLight).setText(QStringLiteral("dim"));
    Click(view, Ctl::kCopyToOther);
    EXPECT_TRUE(LevelBytes() == before);
    EXPECT_FALSE(m_doc->IsModified());

    // The engine's current surface changed without a fill: the form shows another surface.
    SelectWall();
    m_engine->m_selection.m_surface = OtherSide();
    TypeAndLeave(view, Ctl::kSurfaceFlags, QStringLiteral("0x40"));
    EXPECT_TRUE(LevelBytes() == before);
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(SurfaceViewTest, CopyToOtherGivesTheLookToTheOtherSide)
{
    StartOnWall();
    CSurfaceView& view = View();
    CQzlSurface& portal = Surface(Portal());
    CQzlSurface& other = Surface(OtherSide());
    portal.m_surfaceFlags = 0x4;
    portal.m_faceFlags = 0x2;
    portal.m_geo = 4;
    portal.m_light = 2;
    portal.m_tex = 3;
    portal.m_extraLight = 0.75f;
    portal.m_material = 1;
    SelectPortal();
    Edit(view, Ctl::kAdjoinFlags).setText(QStringLiteral("0x3"));
    m_doc->SetModifiedFlag(false);
    Click(view, Ctl::kCopyToOther);

    EXPECT_EQ(other.m_surfaceFlags, 0x4u);
    EXPECT_EQ(other.m_faceFlags, 0x2u);
    EXPECT_EQ(other.m_geo, 4);
    EXPECT_EQ(other.m_light, 2);
    EXPECT_EQ(other.m_tex, 3);
    EXPECT_EQ(other.m_extraLight, 0.75f);
    EXPECT_EQ(other.m_material, 1);
    EXPECT_EQ(other.m_adjoin, 1);
    EXPECT_EQ(Adjoin(0).m_flags, 0x3u);
    EXPECT_EQ(Adjoin(1).m_flags, 0x3u);
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_TRUE(LevelIsSound(*m_doc->m_level));
}

TEST_F(SurfaceViewTest, CopyToOtherWithoutAnOtherSideChangesNothingAfterTheApply)
{
    // The mirror is owned by a surface that no sector lists.
    {
        CQzlSections level = SurfaceLevel();
        const int otherSide = BoxSurface(level, 1, kBoxXLow);
        std::erase(level.m_sectors[1]->m_surfaces, otherSide);
        Start(std::move(level));
    }
    SelectPortal();
    CSurfaceView& view = View();
    Edit(view, Ctl::kSurfaceExtraLight).setText(QStringLiteral("0.5"));
    Leave(Edit(view, Ctl::kSurfaceExtraLight));
    const Bytes applied = LevelBytes();
    Click(view, Ctl::kCopyToOther);
    EXPECT_TRUE(LevelBytes() == applied);

    // An adjoin whose mirror is no adjoin: no surface without an adjoin takes the look.
    Reload(SurfaceLevel());
    Adjoin(0).m_mirror = -1;
    SelectPortal();
    const Bytes broken = LevelBytes();
    Click(View(), Ctl::kCopyToOther);
    EXPECT_TRUE(LevelBytes() == broken);
    EXPECT_EQ(Surface(BoxSurface(*m_doc->m_level, 0, kBoxFloor)).m_geo, 4);
}
