// The sector form in the running application, on an engine without a render device: the fill from
// the current sector and the enabled fields, every field written back on leaving it (each apply
// marks the document modified; a field that does not read writes nothing), the tint packing, and
// the Flags, Color Map, Sound and Tint buttons.

#include "FormViewTestSupport.h"

#include "app/ColorsPage.h"
#include "app/SectorView.h"
#include "engine/Texture.h"
#include "level/QzlSector.h"
#include "resources/ui/ColorMapDlg.h"
#include "resources/ui/SoundsDlg.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "ui/ColorDialog.h"
#include "ui/FlagDialogs.h"

#include <QCheckBox>
#include <QPushButton>

#include <array>
#include <cmath>
#include <functional>
#include <limits>

namespace {

// The two joined rooms with two colour maps and two sounds; sector 0 with a value of its own in
// every field, its walls Gouraud-lit so that the sector's light shows in their vertex colours.
CQzlSections SectorLevel()
{
    CQzlSections level = MakeTwoJoinedRooms();
    level.m_colormaps = {"dflt.cmp", "Warm.CMP"};
    level.m_sounds = {"Door.WAV", "hum.wav"};
    CQzlSector& sector = *level.m_sectors[0];
    sector.m_flags = 0x4010;
    sector.m_colormap = 1;
    sector.m_ambientLight = 0.5f;
    sector.m_extraLight = 0.0f;
    sector.m_tint[0] = 0.5f;
    sector.m_tint[1] = 0.25f;
    sector.m_tint[2] = 0.0f;
    sector.m_sound = 0;
    sector.m_soundVolume = 0.75f;
    sector.m_groupName = "Lobby";
    for (const std::int32_t surface : sector.m_surfaces)
        level.m_surfaces[static_cast<std::size_t>(surface)]->m_light = 3;
    return level;
}

class SectorViewTest : public FormViewTest {
protected:
    void TearDown() override
    {
        SetColorDialogHook(nullptr);
        FormViewTest::TearDown();
    }

    // The sector level shown with sector 0 current.
    void StartOnSector0()
    {
        Start(SectorLevel());
        Select(0);
    }

    CSectorView& View() { return *dynamic_cast<CSectorView*>(&Pane(0)); }
    CQzlSector& Sector(int index = 0)
    {
        return *m_doc->m_level->m_sectors[static_cast<std::size_t>(index)];
    }
    std::uint32_t WallColor()
    {
        const int wall = BoxSurface(*m_doc->m_level, 0, kBoxZLow);
        return m_doc->m_level->m_surfaces[static_cast<std::size_t>(wall)]
            ->m_renderVertices.at(0)
            .color;
    }
};

constexpr int kEnabledWithASector[] = {
    Ctl::kSectorFlags,          Ctl::kSectorColorMap, Ctl::kSectorAmbientLight,
    Ctl::kSectorSound,          Ctl::kSectorVolume,   Ctl::kSectorFlagsButton,
    Ctl::kSectorColorMapButton, Ctl::kSectorTint,     Ctl::kSectorExtraLight,
};

}  // namespace

TEST_F(SectorViewTest, FillShowsTheCurrentSectorAndEnablesItsFields)
{
    StartOnSector0();
    CSectorView& view = View();
    ASSERT_EQ(&view, m_doc->Frame()->LeftSplitter()->widget(0));
    const struct {
        int id;
        const char* text;
    } shown[] = {
        {Ctl::kSectorNumber, "0"},          {Ctl::kSectorFlags, "0x4010"},
        {Ctl::kSectorColorMap, "warm.cmp"}, {Ctl::kSectorAmbientLight, "0.5"},
        {Ctl::kSectorSound, "door.wav"},    {Ctl::kSectorVolume, "0.75"},
        {Ctl::kSectorExtraLight, "0"},      {Ctl::kSectorGroupName, "Lobby"},
    };
    for (const auto& field : shown)
        EXPECT_EQ(Text(view, field.id), field.text) << field.id;
    EXPECT_TRUE(Edit(view, Ctl::kSectorNumber).isReadOnly());
    EXPECT_TRUE(Edit(view, Ctl::kSectorColorMap).isReadOnly());
    // The tint (0.5, 0.25, 0) is drawn red 0, green 64, blue 128.
    EXPECT_EQ(Control<CColorSwatch>(view, Ctl::kSectorTint)->Color(), QColor(0, 64, 128));
    for (const int id : kEnabledWithASector)
        EXPECT_TRUE(Enabled(view, id)) << id;
    EXPECT_FALSE(m_doc->IsModified());

    // No current sector, or one the level does not hold: the number -1, the other fields as they
    // were, disabled but for the number and the group name.
    for (const int none : {-1, 7}) {
        Select(none);
        EXPECT_EQ(Text(view, Ctl::kSectorNumber), "-1") << none;
        for (const auto& field : shown) {
            if (field.id != Ctl::kSectorNumber) {
                EXPECT_EQ(Text(view, field.id), field.text) << none << " " << field.id;
            }
        }
        for (const int id : kEnabledWithASector)
            EXPECT_FALSE(Enabled(view, id)) << none << " " << id;
        EXPECT_TRUE(Enabled(view, Ctl::kSectorNumber));
        EXPECT_TRUE(Enabled(view, Ctl::kSectorGroupName));
    }

    // A colour map or sound index the lists do not hold shows an empty name; a sound of -1 too.
    Sector(1).m_colormap = 5;
    Sector(1).m_sound = 9;
    Select(1);
    EXPECT_EQ(Text(view, Ctl::kSectorNumber), "1");
    EXPECT_EQ(Text(view, Ctl::kSectorColorMap), "");
    EXPECT_EQ(Text(view, Ctl::kSectorSound), "");
    Sector(1).m_sound = -1;
    Select(1);
    EXPECT_EQ(Text(view, Ctl::kSectorSound), "");
}

TEST_F(SectorViewTest, LeavingAFieldWritesItIntoTheSector)
{
    StartOnSector0();
    CSectorView& view = View();
    struct Case {
        int id;
        const char* text;
        std::function<bool(const CQzlSector&)> stored;
    };
    const Case cases[] = {
        {Ctl::kSectorFlags, "0x10", [](const CQzlSector& s) { return s.m_flags == 16u; }},
        {Ctl::kSectorFlags, "10", [](const CQzlSector& s) { return s.m_flags == 10u; }},
        // A text of no number keeps the flags, with no message.
        {Ctl::kSectorFlags, "none", [](const CQzlSector& s) { return s.m_flags == 10u; }},
        // Colour maps are found whatever the letter case; an unknown name keeps the colour map.
        {Ctl::kSectorColorMap, "DFLT.cmp", [](const CQzlSector& s) { return s.m_colormap == 0; }},
        {Ctl::kSectorColorMap, "WARM.cmp", [](const CQzlSector& s) { return s.m_colormap == 1; }},
        {Ctl::kSectorColorMap, "gone.cmp", [](const CQzlSector& s) { return s.m_colormap == 1; }},
        {Ctl::kSectorAmbientLight, "0.8",
         [](const CQzlSector& s) { return s.m_ambientLight == 0.8f; }},
        // Sounds likewise; an unknown or empty name is no sound (-1).
        {Ctl::kSectorSound, "HUM.wav", [](const CQzlSector& s) { return s.m_sound == 1; }},
        {Ctl::kSectorSound, "nosuch.wav", [](const CQzlSector& s) { return s.m_sound == -1; }},
        {Ctl::kSectorSound, "door.wav", [](const CQzlSector& s) { return s.m_sound == 0; }},
        {Ctl::kSectorSound, "", [](const CQzlSector& s) { return s.m_sound == -1; }},
        {Ctl::kSectorVolume, "0.25", [](const CQzlSector& s) { return s.m_soundVolume == 0.25f; }},
        {Ctl::kSectorGroupName, "Hall",
         [](const CQzlSector& s) { return s.m_groupName == "Hall"; }},
        // The same text again still applies.
        {Ctl::kSectorGroupName, "Hall",
         [](const CQzlSector& s) { return s.m_groupName == "Hall"; }},
        {Ctl::kSectorExtraLight, "0.5", [](const CQzlSector& s) { return s.m_extraLight == 0.5f; }},
    };
    const std::uint32_t darkWall = WallColor();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << " \"" << c.text << "\"");
        m_doc->SetModifiedFlag(false);
        TypeAndLeave(view, c.id, QString::fromLatin1(c.text));
        EXPECT_TRUE(c.stored(Sector())) << c.text;
        EXPECT_TRUE(m_doc->IsModified());
        EXPECT_TRUE(LevelIsSound(*m_doc->m_level));
    }
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QStringLiteral("; ")).toStdString();
    // The tint and the other fields were written back as they were shown.
    EXPECT_EQ(Sector().m_tint[0], 0.5f);
    EXPECT_EQ(Sector().m_tint[1], 0.25f);
    EXPECT_EQ(Sector().m_tint[2], 0.0f);
    EXPECT_EQ(Sector(1).m_groupName, "Default");
    // The sector was recoloured after the apply: its extra light brightens the walls.
    EXPECT_NE(WallColor(), darkWall);
}

TEST_F(SectorViewTest, AFieldThatDoesNotReadWritesNothing)
{
    StartOnSector0();
    CSectorView& view = View();
    const Bytes before = LevelBytes();
    // The flags are read before the ambient light, which stops the read.
    Edit(view, Ctl::kSectorFlags).setText(QStringLiteral("0x20"));
    Edit(view, Ctl::kSectorGroupName).setText(QStringLiteral("Renamed"));
    TypeAndLeave(view, Ctl::kSectorAmbientLight, QStringLiteral("bright"));
    EXPECT_EQ(m_messages, QStringList{QStringLiteral("Please enter a number.")});
    EXPECT_TRUE(LevelBytes() == before);
    EXPECT_EQ(Sector().m_flags, 0x4010u);
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(SectorViewTest, NothingIsWrittenWithoutTheSectorTheFormShows)
{
    StartOnSector0();
    CSectorView& view = View();
    const Bytes before = LevelBytes();
    // The engine's current sector changed without a fill: the form still shows sector 0.
    m_engine->m_selection.m_sector = 1;
    TypeAndLeave(view, Ctl::kSectorGroupName, QStringLiteral("Elsewhere"));
    // No current sector, or one out of range.
    for (const int none : {-1, 12}) {
        Select(none);
        TypeAndLeave(view, Ctl::kSectorGroupName, QStringLiteral("Nowhere"));
    }
    // No engine.
    Select(0);
    m_doc->m_pEngine = nullptr;
    TypeAndLeave(view, Ctl::kSectorGroupName, QStringLiteral("Detached"));
    m_doc->m_pEngine = m_engine.get();
    EXPECT_TRUE(LevelBytes() == before);
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(SectorViewTest, TintPacksEachComponentIntoItsOwnByte)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        std::array<float, 3> tint;
        std::uint32_t packed;
    } cases[] = {
        {{0.5f, 0.25f, 0.0f}, 0x804000u},
        {{255.0f / 256.0f, 1.0f / 256.0f, 0.0f}, 0xFF0100u},
        // 1.0 and more make 256 and more, clamped to 255; below 0 is 0: no byte spills into its
        // neighbour.
        {{1.0f, 1.0f, 1.0f}, 0xFFFFFFu},
        {{0.0f, 1.0f, 0.0f}, 0x00FF00u},
        {{-0.5f, 0.0f, 2.0f}, 0x0000FFu},
        {{-1e30f, 1e30f, nan}, 0x00FF00u},
        {{0.3f, 0.6f, 0.9f}, 0x4C99E6u},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.tint[0] << " " << c.tint[1] << " " << c.tint[2]);
        EXPECT_EQ(CSectorView::PackTint(c.tint), c.packed);
    }
    EXPECT_EQ(CSectorView::UnpackTint(0x804000u), (std::array<float, 3>{0.5f, 0.25f, 0.0f}));
    EXPECT_EQ(CSectorView::UnpackTint(0xFF0001u),
              (std::array<float, 3>{255.0f / 256.0f, 0.0f, 1.0f / 256.0f}));
}

TEST_F(SectorViewTest, TintSwatchOpensTheColourDialog)
{
    StartOnSector0();
    CSectorView& view = View();
    // A tint the bytes cannot hold stays as it is when another field is applied.
    Sector().m_tint[0] = 0.3f;
    Sector().m_tint[1] = 1.0f;
    Sector().m_tint[2] = -0.2f;
    Select(0);
    TypeAndLeave(view, Ctl::kSectorGroupName, QStringLiteral("Lobby"));
    EXPECT_EQ(Sector().m_tint[0], 0.3f);
    EXPECT_EQ(Sector().m_tint[1], 1.0f);
    EXPECT_EQ(Sector().m_tint[2], -0.2f);

    // The dialog starts at the swatch's colour; the colour chosen is the tint, blue first.
    Sector().m_tint[0] = 0.5f;
    Sector().m_tint[1] = 0.25f;
    Sector().m_tint[2] = 0.0f;
    Select(0);
    std::optional<QColor> answer = QColor(0x10, 0x20, 0x30);
    QColor initial;
    SetColorDialogHook([&](const QColor& start, QWidget*) {
        initial = start;
        return answer;
    });
    m_doc->SetModifiedFlag(false);
    Click(view, Ctl::kSectorTint);
    EXPECT_EQ(initial, QColor(0, 64, 128));
    EXPECT_EQ(Sector().m_tint[0], 0x30 / 256.0f);
    EXPECT_EQ(Sector().m_tint[1], 0x20 / 256.0f);
    EXPECT_EQ(Sector().m_tint[2], 0x10 / 256.0f);
    EXPECT_EQ(Control<CColorSwatch>(view, Ctl::kSectorTint)->Color(), QColor(0x10, 0x20, 0x30));
    EXPECT_TRUE(m_doc->IsModified());

    // Cancel changes nothing.
    answer.reset();
    m_doc->SetModifiedFlag(false);
    const Bytes before = LevelBytes();
    Click(view, Ctl::kSectorTint);
    EXPECT_TRUE(LevelBytes() == before);
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(SectorViewTest, FlagsButtonEditsTheFlagsInTheirDialog)
{
    StartOnSector0();
    CSectorView& view = View();
    // Bit 0x80 has no box and is kept; "Pit" (0x40) ticked, "Hide on Map" (0x10) cleared.
    Sector().m_flags = 0x4090;
    Select(0);
    OnModal<CFlagDialog>(&view, [](CFlagDialog& dialog) {
        EXPECT_EQ(dialog.objectName(), Id(139));
        Control<QCheckBox>(dialog, 1017)->setChecked(true);
        Control<QCheckBox>(dialog, 1066)->setChecked(false);
        Click(dialog, Ctl::kOk);
    });
    Click(view, Ctl::kSectorFlagsButton);
    EXPECT_EQ(Sector().m_flags, 0x40C0u);
    EXPECT_EQ(Text(view, Ctl::kSectorFlags), "0x40C0");
    EXPECT_TRUE(m_doc->IsModified());

    m_doc->SetModifiedFlag(false);
    OnModal<CFlagDialog>(&view, [](CFlagDialog& dialog) {
        Control<QCheckBox>(dialog, 1007)->setChecked(true);
        Click(dialog, Ctl::kCancel);
    });
    Click(view, Ctl::kSectorFlagsButton);
    EXPECT_EQ(Sector().m_flags, 0x40C0u);
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(SectorViewTest, ColorMapAndSoundButtonsPickFromTheLevel)
{
    CQzlSections level = SectorLevel();
    level.m_sectors[0]->m_colormap = 0;
    Start(std::move(level));
    Select(0);
    CSectorView& view = View();
    const int wall = BoxSurface(*m_doc->m_level, 0, kBoxZLow);
    const CQzlSurface& surface = *m_doc->m_level->m_surfaces[static_cast<std::size_t>(wall)];
    ASSERT_NE(surface.m_texture, nullptr);
    EXPECT_EQ(surface.m_texture->m_colorMap, "dflt.cmp");

    // The colour map chosen is shown and stored, and the sector's textures are decoded through it.
    QString caption;
    OnModal<CColorMapDlg>(&view, [&caption](CColorMapDlg& dialog) {
        caption = dialog.windowTitle();
        ChooseInList(dialog, Ctl::kColorMapList, QStringLiteral("warm.cmp"));
    });
    Click(view, Ctl::kSectorColorMapButton);
    EXPECT_EQ(caption, QStringLiteral("Color Maps in level"));
    EXPECT_EQ(Sector().m_colormap, 1);
    EXPECT_EQ(Text(view, Ctl::kSectorColorMap), "warm.cmp");
    ASSERT_NE(surface.m_texture, nullptr);
    EXPECT_EQ(surface.m_texture->m_colorMap, "warm.cmp");
    EXPECT_EQ(surface.m_texture->m_material, "dflt.mat");
    EXPECT_TRUE(m_doc->IsModified());

    OnModal<CSoundsDlg>(&view, [](CSoundsDlg& dialog) {
        ChooseInList(dialog, Ctl::kSoundsList, QStringLiteral("hum.wav"));
    });
    Click(view, Ctl::kSectorSoundButton);
    EXPECT_EQ(Sector().m_sound, 1);
    EXPECT_EQ(Text(view, Ctl::kSectorSound), "hum.wav");

    // Cancel keeps both.
    m_doc->SetModifiedFlag(false);
    OnModal<CSoundsDlg>(&view, [](CSoundsDlg& dialog) { Click(dialog, Ctl::kCancel); });
    Click(view, Ctl::kSectorSoundButton);
    OnModal<CColorMapDlg>(&view, [](CColorMapDlg& dialog) { Click(dialog, Ctl::kCancel); });
    Click(view, Ctl::kSectorColorMapButton);
    EXPECT_EQ(Sector().m_sound, 1);
    EXPECT_EQ(Sector().m_colormap, 1);
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_TRUE(LevelIsSound(*m_doc->m_level));
}

TEST_F(SectorViewTest, SoundOfNoneIsShownEmptyAndKept)
{
    StartOnSector0();
    CSectorView& view = View();
    Sector().m_sound = -1;
    Select(0);
    EXPECT_EQ(Text(view, Ctl::kSectorSound), "");
    Leave(Edit(view, Ctl::kSectorSound));
    EXPECT_EQ(Sector().m_sound, -1);
    EXPECT_TRUE(m_doc->IsModified());
}
