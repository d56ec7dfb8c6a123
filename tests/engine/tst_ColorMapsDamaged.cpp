// The colour-map core on damaged levels: a sector whose colour-map index is out of range uses no
// colour map and keeps its index through the Color Map dialog's OK, Select Color Map puts it on
// the one colour map; a missing sector or level file is passed over; colour-map bytes of every
// short length give no palette and no edit, and nothing is read beyond them.

#include "engine/AssetSources.h"
#include "engine/ColorMapList.h"
#include "level/GameResources.h"
#include "level/LevelFiles.h"
#include "level/SectorLists.h"
#include "resources/Tree.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Names = std::vector<std::string>;

// Three boxes on colour maps 0, 1 and a damaged index of "A.CMP", "B.CMP".
CQzlSections DamagedMapLevel(std::int32_t damaged)
{
    CQzlSections level = MakeEmptyLevel();
    for (int s = 0; s < 3; ++s)
        AddBoxSector(level, {2.0f * static_cast<float>(s), 0, 0},
                     {2.0f * static_cast<float>(s) + 1, 1, 1});
    FinishFixture(level);
    level.m_colormaps = {"A.CMP", "B.CMP"};
    level.m_sectors[1]->m_colormap = 1;
    level.m_sectors[2]->m_colormap = damaged;
    return level;
}

std::vector<int> SectorMaps(const CQzlSections& level)
{
    std::vector<int> maps;
    for (const auto& sector : level.m_sectors)
        maps.push_back(sector ? sector->m_colormap : -99);
    return maps;
}

TEST(ColorMapsDamaged, AnOutOfRangeSectorIndexUsesNoColorMapAndKeepsItsIndex)
{
    for (const std::int32_t damaged : {-5, 2, std::numeric_limits<std::int32_t>::max()}) {
        SCOPED_TRACE(damaged);
        CFixtureEngine fixture(DamagedMapLevel(damaged));
        CQzlSections& level = fixture.m_level;
        EXPECT_EQ(SectorColorMapOrFirst(level, 2), 0);
        EXPECT_EQ(SectorColorMapOrFirst(level, 1), 1);
        EXPECT_FALSE(IsColorMapUsed(level, ""));
        // "B.CMP" goes, "A.CMP" stays, "C.CMP" comes: the damaged sector neither refuses nor
        // moves.
        EXPECT_FALSE(SetColorMapList(level, Names{"a.cmp"}));
        EXPECT_TRUE(UndoGivesBackExactBytes(fixture.m_view, [&] {
            return SetColorMapList(level, Names{"c.cmp", "b.cmp", "a.cmp"});
        }));
        EXPECT_EQ(SectorMaps(level), (std::vector<int>{2, 1, damaged}));
        // Select Color Map: every sector on the one colour map, the damaged one too.
        EXPECT_TRUE(UndoGivesBackExactBytes(
            fixture.m_view, [&] { return SelectColorMap(fixture.m_view, "b.cmp"); }));
        EXPECT_EQ(SectorMaps(level), (std::vector<int>{0, 0, 0}));
        EXPECT_TRUE(LevelIsSound(level));
    }
}

TEST(ColorMapsDamaged, AMissingSectorIsPassedOver)
{
    CFixtureEngine fixture(DamagedMapLevel(0));
    CQzlSections& level = fixture.m_level;
    level.m_sectors[1].reset();
    EXPECT_EQ(SectorColorMapOrFirst(level, 1), 0);
    EXPECT_FALSE(IsColorMapUsed(level, "b.cmp"));
    EXPECT_EQ(ListEntriesUsed(level, &CQzlSector::m_colormap), 1);
    EXPECT_TRUE(SetColorMapList(level, Names{"a.cmp"}));
    EXPECT_EQ(SectorMaps(level), (std::vector<int>{0, -99, 0}));
    level.m_sectors[0]->m_colormap = 1;
    EXPECT_TRUE(SelectColorMap(fixture.m_view, "b.cmp"));
    EXPECT_EQ(level.m_colormaps, Names{"b.cmp"});
    EXPECT_EQ(SectorMaps(level), (std::vector<int>{0, -99, 0}));
}

TEST(ColorMapsDamaged, ShortOrMissingBytesGiveNoPaletteAndNoEdit)
{
    struct Case {
        const char* what;
        std::optional<Bytes> data;
        bool palette;  // gives a palette, and entry 255 can be edited
    };
    const Case cases[] = {
        {"no data", std::nullopt, false},
        {"0 bytes", Bytes{}, false},
        {"63 bytes", MakeTestColorMap(63), false},
        {"64 bytes", MakeTestColorMap(64), false},
        {"831 bytes", MakeTestColorMap(831), false},
        {"832 bytes", MakeTestColorMap(832), true},
    };
    const CGameResources game;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CQzlSections level = MakeEmptyLevel();
        AddLevelFile(level.m_levelFiles, "mine.cmp", "misc\\cmp\\mine.cmp",
                     c.data.value_or(Bytes{}));
        level.m_levelFiles.m_entries[0]->m_data = c.data;
        const CAssetSources sources{&game, &level.m_levelFiles};
        const std::optional<Bytes> bytes = ColorMapBytes(sources, "MINE.CMP");
        EXPECT_EQ(bytes, c.data);
        EXPECT_EQ(bytes && PaletteFromColorMapBytes(*bytes).has_value(), c.palette);
        EXPECT_EQ(EditColorMapPalette(&game, level, "mine.cmp", 255, 1, 2, 3), c.palette);
        if (c.palette) {
            EXPECT_EQ(level.m_levelFiles.m_entries[0]->m_data->size(), 832u);
            EXPECT_EQ(level.m_levelFiles.m_entries[0]->m_data->back(), 3);
        } else {
            EXPECT_EQ(level.m_levelFiles.m_entries[0]->m_data, c.data);
        }
    }
}

TEST(ColorMapsDamaged, AMissingLevelFileIsNeitherReadNorEdited)
{
    CQzlSections level = MakeEmptyLevel();
    AddLevelFile(level.m_levelFiles, "mine.cmp", "misc\\cmp\\mine.cmp", MakeTestColorMap());
    for (const std::size_t at : {0u, 1u})
        level.m_levelFiles.m_entries.insert(
            level.m_levelFiles.m_entries.begin() + static_cast<std::ptrdiff_t>(at), nullptr);
    const CGameResources game;
    const CAssetSources sources{&game, &level.m_levelFiles};
    EXPECT_EQ(ColorMapBytes(sources, "mine.cmp"), MakeTestColorMap());
    for (const char* name : {"", "none.cmp"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ColorMapBytes(sources, name), std::nullopt);
        EXPECT_FALSE(EditColorMapPalette(&game, level, name, 0, 1, 2, 3));
    }
    EXPECT_TRUE(EditColorMapPalette(&game, level, "mine.cmp", 0, 1, 2, 3));
}

}  // namespace
