#include "GridLevel.h"
#include "engine/Undo.h"
#include "framework/Exceptions.h"
#include "level/QzeFile.h"
#include "level/QzlSections.h"
#include "level/UndoSnapshot.h"
#include "support/FixtureLevels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Both reference forms of a level: the archive file's bytes and the undoable part serialised
// whole. Equal pairs, equal levels.
struct CReference {
    Bytes file;
    Bytes undoable;
    friend bool operator==(const CReference&, const CReference&) = default;
};

CReference Reference(CQzlSections& level)
{
    return {WriteLevelBytes(level), WriteUndoableBytes(level)};
}

// A grid level long enough that every big list takes several blocks.
CQzlSections MakeGrid(int sectors)
{
    CQzlSections level;
    GenerateGridLevel(level, sectors);
    return level;
}

struct CEdit {
    const char* name;
    std::function<void(CQzlSections&)> apply;
};

// Edits of each stored list, in the middle, at the ends, growing and shrinking it.
const CEdit kEdits[] = {
    {"sector-light",
     [](CQzlSections& l) { l.m_sectors[l.m_sectors.size() / 2]->m_extraLight += 1; }},
    {"first-surface", [](CQzlSections& l) { l.m_surfaces.front()->m_extraLight = 0.5f; }},
    {"erase-thing", [](CQzlSections& l) { l.m_things.erase(l.m_things.begin() + 1); }},
    {"no-things", [](CQzlSections& l) { l.m_things.clear(); }},
    {"add-material",
     [](CQzlSections& l) {
         auto material = std::make_unique<CQzlMaterial>();
         material->m_name = "extra.mat";
         l.m_materials.insert(l.m_materials.begin(), std::move(material));
     }},
    {"add-adjoin", [](CQzlSections& l) { l.m_adjoins.push_back(std::make_unique<CQzlAdjoin>()); }},
    {"last-vertex", [](CQzlSections& l) { l.m_worldVertices.back().z += 2.0f; }},
    {"more-vertices",
     [](CQzlSections& l) { l.m_worldVertices.resize(l.m_worldVertices.size() + 5000); }},
    {"names", [](CQzlSections& l) { l.m_sounds.push_back("drip.wav"); }},
    {"header", [](CQzlSections& l) { l.m_header.m_worldGravity = 3.5f; }},
};

TEST(UndoSharing, EachEditIsUndoneAndRedoneToTheWholeLevelsBytes)
{
    for (const CEdit& edit : kEdits) {
        SCOPED_TRACE(edit.name);
        CQzlSections level = MakeGrid(300);
        const CReference before = Reference(level);
        CUndoSnapshot undo;
        undo.StoreLevel(level);
        edit.apply(level);
        const CReference after = Reference(level);
        ASSERT_NE(after, before);
        CUndoSnapshot redo;
        redo.StoreLevel(level, &undo);

        // Sharing blocks keeps the content: the same bytes as a snapshot made alone.
        CUndoSnapshot alone;
        alone.StoreLevel(level);
        EXPECT_EQ(redo.Bytes(), alone.Bytes());

        undo.LoadLevel(level);
        EXPECT_EQ(Reference(level), before);
        redo.LoadLevel(level);
        EXPECT_EQ(Reference(level), after);
        // Into a level that holds nothing yet, as well (the parts undo leaves alone stay empty).
        CQzlSections empty;
        undo.LoadLevel(empty);
        EXPECT_EQ(WriteUndoableBytes(empty), before.undoable);
    }
}

TEST(UndoSharing, SmallAndEmptyLevelsRoundTrip)
{
    for (CQzlSections (*make)() : {MakeEmptyLevel, MakeBoxRoom, MakeTwoJoinedRooms}) {
        CQzlSections level = make();
        const CReference before = Reference(level);
        CUndoSnapshot snapshot;
        snapshot.StoreLevel(level);
        CQzlSections restored = MakeLCorridor();
        snapshot.LoadLevel(restored);
        EXPECT_EQ(Reference(restored), before);
    }
}

// The undo list of the engine after an edit of one sector at a time on a large level: the steps
// share every block the edits left alone.
TEST(UndoSharing, TwentyStepsOfOneSectorEditsHoldLittleMoreThanOneLevel)
{
    CFixtureEngine engine(MakeGrid(20000));
    engine.m_settings.m_undoRedo = 20;
    CQzlSections& level = engine.m_level;
    constexpr std::size_t kSteps = 20;
    constexpr std::size_t kUndone = 3;
    CReference beforeUndone;
    for (std::size_t i = 0; i < kSteps; ++i) {
        if (i == kSteps - kUndone)
            beforeUndone = Reference(level);
        SaveUndoState(engine.m_view);
        level.m_sectors[(i * 997) % level.m_sectors.size()]->m_ambientLight += 0.5f;
    }
    const CReference last = Reference(level);
    ASSERT_EQ(level.m_undoList.size(), kSteps);
    const auto held = [](const auto& list) {
        std::vector<const CUndoSnapshot*> steps;
        for (const auto& step : list)
            steps.push_back(step.get());
        return HeldBytes(steps);
    };
    const std::size_t one = level.m_undoList.front()->Size();
    const std::size_t twenty = held(level.m_undoList);
    std::printf("one snapshot %zu bytes, %zu steps hold %zu bytes\n", one, kSteps, twenty);
    EXPECT_LT(twenty, 2 * one);
    // Each step past the first holds only the blocks its edit changed: a block of sectors here.
    EXPECT_LT(twenty - one, kSteps * 2 * CUndoSnapshot::kRecordsPerBlock * 200);

    // Undo and Redo take their snapshots beside the list's newest and share the same way.
    for (std::size_t i = 0; i < kUndone; ++i)
        ASSERT_TRUE(Undo(engine.m_view));
    EXPECT_EQ(Reference(level), beforeUndone);
    EXPECT_LT(held(level.m_redoList), one + kUndone * 2 * CUndoSnapshot::kRecordsPerBlock * 200);
    for (std::size_t i = 0; i < kUndone; ++i)
        ASSERT_TRUE(Redo(engine.m_view));
    EXPECT_EQ(Reference(level), last);
    EXPECT_LT(held(level.m_undoList), twenty + kUndone * 2 * CUndoSnapshot::kRecordsPerBlock * 200);
}

// Damaged steps: each is refused with the archive's exception and the level stays as it was.
TEST(UndoSharing, DamagedBlocksAreRefusedAndLeaveTheLevel)
{
    CQzlSections source = MakeGrid(300);
    CUndoSnapshot good;
    good.StoreLevel(source);
    const auto replace = [](CUndoSnapshot::Block& block, Bytes bytes) {
        block = std::make_shared<const Bytes>(std::move(bytes));
    };
    const struct {
        const char* name;
        std::function<void(CUndoSnapshot&)> damage;
    } damages[] = {
        {"surface-block-cut",
         [&](CUndoSnapshot& s) {
             Bytes b = *s.m_sections[2][1];
             b.resize(b.size() - 3);
             replace(s.m_sections[2][1], b);
         }},
        {"sector-block-padded",
         [&](CUndoSnapshot& s) {
             Bytes b = *s.m_sections[3].back();
             b.push_back(0);
             replace(s.m_sections[3].back(), b);
         }},
        {"vertices-count-too-big",
         [&](CUndoSnapshot& s) {
             Bytes b = *s.m_sections[6][0];
             b[0] = 0xFE;
             b[1] = 0xFF;
             replace(s.m_sections[6][0], b);
         }},
        {"null-block", [](CUndoSnapshot& s) { s.m_sections[4][0].reset(); }},
        {"no-blocks", [](CUndoSnapshot& s) { s.m_sections[0].clear(); }},
        {"header-twice",
         [](CUndoSnapshot& s) { s.m_sections.back().push_back(s.m_sections.back()[0]); }},
        {"names-missing", [](CUndoSnapshot& s) { s.m_sections[9].clear(); }},
        {"sector-block-among-surfaces",
         [](CUndoSnapshot& s) { s.m_sections[2][0] = s.m_sections[3][0]; }},
        {"empty-block", [&](CUndoSnapshot& s) { replace(s.m_sections[5][0], {}); }},
    };
    for (const auto& d : damages) {
        SCOPED_TRACE(d.name);
        CUndoSnapshot bad = good;
        d.damage(bad);
        CQzlSections level = MakeTwoJoinedRooms();
        const CReference before = Reference(level);
        EXPECT_THROW(bad.LoadLevel(level), CArchiveException);
        EXPECT_EQ(Reference(level), before);
    }
}

}  // namespace
