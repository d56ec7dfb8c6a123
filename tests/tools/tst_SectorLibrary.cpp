// The sector library: renaming and deleting a group, saving a group to a library file and loading
// it back into a level in place of the level's group of that name. Group names are compared
// without regard to letter case; every change is undone and redone exactly, and the level oracle
// holds after each.

#include "engine/RenderData.h"
#include "engine/Undo.h"
#include "framework/Exceptions.h"
#include "level/QzeFile.h"
#include "level/QzlCog.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/TempFolder.h"
#include "support/UndoCheck.h"
#include "tools/SectorLibrary.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using ECall = CRecordingEngineHost::ECall;

void NameGroups(CQzlSections& level, const std::vector<std::string>& names)
{
    for (std::size_t s = 0; s < names.size(); ++s)
        level.m_sectors[s]->m_groupName = names[s];
}

std::vector<std::string> GroupsOf(const CQzlSections& level)
{
    std::vector<std::string> names;
    for (const auto& sector : level.m_sectors)
        names.push_back(sector->m_groupName);
    return names;
}

std::vector<int> ThingSectors(const CQzlSections& level)
{
    std::vector<int> sectors;
    for (const auto& thing : level.m_things)
        sectors.push_back(thing->m_sector);
    return sectors;
}

int AdjoinOf(const CQzlSections& level, int sector, EBoxSide side)
{
    return level.m_surfaces[static_cast<std::size_t>(BoxSurface(level, sector, side))]->m_adjoin;
}

// The L corridor with the given group names and a crate in the middle of each sector.
CQzlSections MakeGroupedCorridor(const std::vector<std::string>& groups)
{
    CQzlSections level = MakeLCorridor();
    NameGroups(level, groups);
    AddCrate(level, 0, {0.5f, 0.5f, 0.5f});
    AddCrate(level, 1, {1.5f, 0.5f, 0.5f});
    AddCrate(level, 2, {1.5f, 0.5f, 1.5f});
    FinishFixture(level);
    return level;
}

TEST(SectorGroupNames, DistinctNonEmptyNamesInSectorOrderLetterCaseIgnored)
{
    CQzlSections level = MakeLCorridor();
    NameGroups(level, {"Stairs", "", "STAIRS"});
    EXPECT_EQ(SectorGroupNames(level), (std::vector<std::string>{"Stairs"}));
    NameGroups(level, {"b", "a", "B"});
    EXPECT_EQ(SectorGroupNames(level), (std::vector<std::string>{"b", "a"}));
    NameGroups(level, {"", "", ""});
    EXPECT_TRUE(SectorGroupNames(level).empty());
}

TEST(RenameSectorGroup, RenamesEverySectorOfTheGroupInAnyLetterCase)
{
    CFixtureEngine fixture(MakeGroupedCorridor({"Default", "DEFAULT", "Other"}));
    C3dView& view = fixture.m_view;
    view.m_selection.m_sector = 2;
    EXPECT_TRUE(
        UndoGivesBackExactBytes(view, [&] { return RenameSectorGroup(view, "default", "Hall"); }));
    EXPECT_EQ(GroupsOf(fixture.m_level), (std::vector<std::string>{"Hall", "Hall", "Other"}));
    EXPECT_TRUE(LevelIsSound(fixture.m_level));
}

TEST(RenameSectorGroup, AGroupWithoutSectorsLeavesNoUndoStepAndNoModifiedMark)
{
    CFixtureEngine fixture(MakeGroupedCorridor({"Default", "Default", "Other"}));
    C3dView& view = fixture.m_view;
    EXPECT_FALSE(RunRenameGroupCommand(view, "Stairs", "Hall"));
    EXPECT_FALSE(CanUndo(view));
    EXPECT_EQ(fixture.m_host.Count(ECall::SetModifiedFlag), 0U);
    EXPECT_EQ(GroupsOf(fixture.m_level), (std::vector<std::string>{"Default", "Default", "Other"}));

    EXPECT_TRUE(RunRenameGroupCommand(view, "other", "Hall"));
    EXPECT_TRUE(CanUndo(view));
}

// The game of the fixture engine has no archive: the delete must not depend on it.
TEST(DeleteSectorGroup, DeletesTheGroupsSectorsWithTheirThingsWithoutTheGamesArchive)
{
    struct Case {
        const char* name;
        std::vector<std::string> groups;
        const char* group;
        int deleted;
        std::vector<std::string> left;  // the groups of the sectors left, in order
        std::vector<int> things;        // the sectors of the things left
        std::size_t adjoins;
    };
    const Case cases[] = {
        {"the middle sector: the things behind it follow",
         {"Default", "Annex", "Other"},
         "ANNEX",
         1,
         {"Default", "Other"},
         {0, 1},
         0},
        {"the last sector: the pair to the middle one goes",
         {"Default", "Default", "Annex"},
         "annex",
         1,
         {"Default", "Default"},
         {0, 1},
         2},
        {"every sector: the first one stays",
         {"Default", "DEFAULT", "default"},
         "Default",
         2,
         {"Default"},
         {0},
         0},
        {"no sector of the group",
         {"Default", "Default", "Default"},
         "Stairs",
         0,
         {"Default", "Default", "Default"},
         {0, 1, 2},
         4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFixtureEngine fixture(MakeGroupedCorridor(c.groups));
        C3dView& view = fixture.m_view;
        RebuildAll(view, true);
        view.m_selection.m_sector = 1;
        view.m_selection.m_surface = 0;
        view.m_selection.m_thing = 2;
        fixture.m_document.m_gridOn = 1;
        fixture.m_host.Clear();
        EXPECT_EQ(DeleteSectorGroup(view, c.group, true), c.deleted);
        const CQzlSections& level = fixture.m_level;
        EXPECT_EQ(GroupsOf(level), c.left);
        EXPECT_EQ(ThingSectors(level), c.things);
        EXPECT_EQ(level.m_adjoins.size(), c.adjoins);
        for (std::size_t s = 0; s < level.m_sectors.size(); ++s)
            EXPECT_EQ(level.m_sectors[s]->m_number, static_cast<int>(s));
        EXPECT_EQ(view.m_selection.m_sector, -1);
        EXPECT_EQ(view.m_selection.m_surface, -1);
        EXPECT_EQ(fixture.m_document.m_gridOn, 0);
        EXPECT_EQ(fixture.m_host.Count(ECall::StepProgress), static_cast<std::size_t>(c.deleted));
        ASSERT_EQ(fixture.m_host.Count(ECall::BeginProgress), 1U);
        EXPECT_TRUE(LevelIsSound(level));
        // A face of a sector that stays, joined to a deleted one, is a wall again: no portal look
        // without an adjoin.
        for (const auto& surface : level.m_surfaces) {
            if (surface->m_adjoin < 0) {
                EXPECT_NE(surface->m_material, -1);
            }
        }
        // The current thing follows its record, or goes with its sector.
        const int thing = view.m_selection.m_thing;
        if (thing >= 0) {
            EXPECT_EQ(level.m_things[static_cast<std::size_t>(thing)]->m_sector,
                      static_cast<int>(level.m_sectors.size()) - 1);
        }
    }
}

TEST(DeleteSectorGroup, ProgressTitleAndUndo)
{
    CFixtureEngine fixture(MakeGroupedCorridor({"Default", "Annex", "Annex"}));
    C3dView& view = fixture.m_view;
    EXPECT_TRUE(
        UndoGivesBackExactBytes(view, [&] { return DeleteSectorGroup(view, "annex", true) > 0; }));
    bool titled = false;
    for (const auto& call : fixture.m_host.m_calls)
        titled = titled || (call.kind == ECall::BeginProgress &&
                            call.text == "Deleting Sectors By Group Name..." && call.number == 2);
    EXPECT_TRUE(titled);
    EXPECT_EQ(fixture.m_level.m_sectors.size(), 1U);
}

// ---- Library files and Load ----

class SectorLibraryFiles : public TempFolderTest {
protected:
    // A level whose sector 0 is a box from (1, 0, 0) to (2, 1, 1) of group "Annex" with a crate;
    // its walls have no flags and no adjoin.
    static CQzlSections MakeAnnexLevel()
    {
        CQzlSections level = MakeEmptyLevel();
        AddBoxSector(level, {1, 0, 0}, {2, 1, 1});
        AddBoxSector(level, {5, 0, 0}, {6, 1, 1});
        NameGroups(level, {"Annex", "Default"});
        AddCrate(level, 0, {1.5f, 0.5f, 0.5f});
        FinishFixture(level);
        return level;
    }

    // The box room (0..1) of group "Default", and a box far above it of group "ANNEX".
    static CQzlSections MakeHallLevel()
    {
        CQzlSections level = MakeEmptyLevel();
        AddBoxSector(level, {0, 0, 0}, {1, 1, 1});
        AddBoxSector(level, {0, 5, 0}, {1, 6, 1});
        NameGroups(level, {"Default", "ANNEX"});
        FinishFixture(level);
        return level;
    }

    std::filesystem::path SaveAnnex()
    {
        CQzlSections annex = MakeAnnexLevel();
        const std::filesystem::path path = m_dir / "annex.qze";
        SaveLibraryFile(path, annex, "annex", CDocumentFields{}, CGameResources{});
        return path;
    }
};

TEST_F(SectorLibraryFiles, SaveThenLoadReplacesTheGroupAndLinksItToTheLevel)
{
    const std::filesystem::path path = SaveAnnex();
    CQzlSections library = ReadLibraryFile(path, 0);
    EXPECT_EQ(SectorGroupNames(library), (std::vector<std::string>{"Annex"}));
    ASSERT_EQ(library.m_sectors.size(), 1U);
    EXPECT_EQ(library.m_things.size(), 1U);

    CFixtureEngine fixture(MakeHallLevel());
    C3dView& view = fixture.m_view;
    view.m_selection.m_sector = 0;
    EXPECT_TRUE(UndoGivesBackExactBytes(view, [&] {
        CQzlSections source = ReadLibraryFile(path, 0);
        return LoadSectorGroup(view, "Annex", source);
    }));
    const CQzlSections& level = fixture.m_level;
    // The old "ANNEX" went; the loaded one stands beside the hall, joined through x = 1.
    EXPECT_EQ(GroupsOf(level), (std::vector<std::string>{"Default", "Annex"}));
    EXPECT_EQ(ThingSectors(level), (std::vector<int>{1}));
    const int hallSide = AdjoinOf(level, 0, kBoxXHigh);
    const int annexSide = AdjoinOf(level, 1, kBoxXLow);
    ASSERT_GE(hallSide, 0);
    ASSERT_GE(annexSide, 0);
    EXPECT_EQ(level.m_adjoins[static_cast<std::size_t>(hallSide)]->m_mirror, annexSide);
    EXPECT_EQ(view.m_selection.m_sector, -1);
    EXPECT_EQ(view.m_selection.m_surface, -1);
    EXPECT_TRUE(LevelIsSound(level));
}

TEST_F(SectorLibraryFiles, ADamagedSourceIsRefusedWithTheLevelAsItWas)
{
    CQzlSections source = MakeAnnexLevel();
    source.m_sectors[0]->m_surfaces.push_back(999);
    CFixtureEngine fixture(MakeHallLevel());
    C3dView& view = fixture.m_view;
    const std::vector<std::uint8_t> before = WriteLevelBytes(fixture.m_level);
    EXPECT_FALSE(RunLoadGroupCommand(view, "annex", source));
    EXPECT_EQ(WriteLevelBytes(fixture.m_level), before);
    EXPECT_FALSE(CanUndo(view));
    ASSERT_EQ(fixture.m_host.Messages().size(), 1U);
    EXPECT_NE(fixture.m_host.Messages()[0].find("damaged"), std::string::npos);
}

TEST_F(SectorLibraryFiles, AFailedSaveLeavesNoFileAndSaysWhy)
{
    CQzlSections annex = MakeAnnexLevel();
    const std::filesystem::path path = m_dir / "missing" / "annex.qze";
    EXPECT_THROW(SaveLibraryFile(path, annex, "Annex", CDocumentFields{}, CGameResources{}),
                 CFileException);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_THROW((void)ReadLibraryFile(m_dir / "none.qze", 0), CFileException);
}

}  // namespace
