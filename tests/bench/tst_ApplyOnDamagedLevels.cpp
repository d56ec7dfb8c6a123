// Every operation of `qzbench apply`, run in the process on each damaged level the editor opens,
// with the selection on each sector, each surface (with its first corner) and each thing in turn.
// Each runs or refuses without reading outside a list (the sanitizers watch), and the level it
// leaves can still be drawn.

#include "ApplyOperations.h"
#include "engine/C3dView.h"
#include "engine/RenderData.h"
#include "engine/Undo.h"
#include "level/QzlSections.h"
#include "support/DamagedLevelTests.h"
#include "support/DamagedLevels.h"
#include "support/FixtureLevels.h"

#include <gtest/gtest.h>

#include <map>
#include <span>
#include <string>
#include <vector>

namespace {

// The words each operation that takes required words is run with: typical values for the two
// joined rooms. An operation missing here fails the coverage test below.
const std::map<std::string, std::vector<std::string>, std::less<>>& TypicalWords()
{
    static const std::map<std::string, std::vector<std::string>, std::less<>> words = {
        {"move", {"axis=x"}},
        {"rotate", {"axis=y"}},
        {"move-vertices", {"axis=x", "amount=0.25"}},
        {"paste-surface", {"from=0"}},
        {"paste-thing", {"from=0"}},
        {"merge-surfaces", {"with=1"}},
        {"merge-sectors", {"with=1"}},
        // No such file: both refuse after reading the level, the point of the row here.
        {"copy-group", {"from=missing.qzl", "group=Default"}},
        {"load-group", {"from=missing.qzl", "group=Default"}},
        {"create-switch", {"switch=switch"}},
        {"rename-group", {"old=Default", "new=Other"}},
        {"delete-group", {"group=Default"}},
        {"delete-material", {"material=0"}},
        {"add-material", {"name=new.mat"}},
        {"add-template", {"name=crate"}},
        {"delete-template", {"name=crate"}},
        {"add-cog", {"script=00_door.cog"}},
        {"delete-cog", {"index=0"}},
        {"set-cog-value", {"index=0", "symbol=0", "value=1"}},
        {"select-color-map", {"name=dflt.cmp"}},
        {"edit-palette", {"colormap=dflt.cmp", "index=1", "r=1", "g=2", "b=3"}},
        {"set-color-maps", {"names=dflt.cmp"}},
        {"set-sounds", {"names=drip.wav"}},
        {"set-material-tiles", {"material=0", "x=2", "y=2"}},
    };
    return words;
}

bool NeedsWords(const CApplyOperation& operation)
{
    for (const CApplyWord& word : operation.m_words)
        if (word.m_required)
            return true;
    return false;
}

CApplyArgs ArgsOf(const CApplyOperation& operation)
{
    std::vector<std::string> words;
    if (const auto it = TypicalWords().find(operation.m_name); it != TypicalWords().end())
        words = it->second;
    CApplyArgs args;
    std::string error;
    EXPECT_TRUE(ParseApplyArgs(operation, words, args, error)) << operation.m_name << ": " << error;
    return args;
}

TEST(ApplyOnDamagedLevels, EveryOperationWithRequiredWordsHasTypicalOnes)
{
    for (const CApplyOperation& operation : ApplyOperations()) {
        if (NeedsWords(operation)) {
            EXPECT_TRUE(TypicalWords().contains(operation.m_name)) << operation.m_name;
        }
        (void)ArgsOf(operation);
    }
}

// A selection to run an operation with.
struct CPlace {
    int m_sector = -1;
    int m_surface = -1;
    int m_thing = -1;
};

std::vector<CPlace> Places(const CQzlSections& level)
{
    std::vector<CPlace> out;
    for (int s = 0; s < static_cast<int>(level.m_sectors.size()); ++s) {
        out.push_back({s, -1, -1});
        for (const std::int32_t f : level.m_sectors[static_cast<std::size_t>(s)]->m_surfaces)
            out.push_back({s, f, -1});
    }
    // Thing t stands in room t, whatever sector it names.
    for (int t = 0; t < static_cast<int>(level.m_things.size()); ++t)
        out.push_back({t, -1, t});
    return out;
}

class ApplyOnDamagedLevels : public ::testing::TestWithParam<CDamagedLevel> {};

TEST_P(ApplyOnDamagedLevels, EveryOperationRunsOrRefuses)
{
    const CQzlSections damaged = MakeDamagedLevel(GetParam());
    for (const CPlace& place : Places(damaged)) {
        for (const CApplyOperation& operation : ApplyOperations()) {
            SCOPED_TRACE(std::string(operation.m_name) + " on sector " +
                         std::to_string(place.m_sector) + " surface " +
                         std::to_string(place.m_surface) + " thing " +
                         std::to_string(place.m_thing));
            CFixtureEngine engine(MakeDamagedLevel(GetParam()));
            C3dView& view = engine.m_view;
            RebuildAll(view, true);
            view.m_selection.m_sector = place.m_sector;
            view.m_selection.m_surface = place.m_surface;
            view.m_selection.m_thing = place.m_thing;
            view.m_selection.m_vertex = place.m_surface >= 0 ? 0 : -1;
            view.m_selection.m_vertexSurface = place.m_surface;
            const CApplyArgs args = ArgsOf(operation);
            const bool done = RunUndoable(view, [&] { return operation.m_run(view, args); });
            // What the operation left is drawn again, as the editor does after every edit.
            RebuildAll(view, false);
            if (done && !engine.m_level.m_undoList.empty())
                Undo(view);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryOpenedDamage, ApplyOnDamagedLevels,
                         ::testing::ValuesIn(OpenedDamagedLevels()), DamagedLevelTestName);

}  // namespace
