#include "GridLevel.h"
#include "engine/C3dView.h"
#include "engine/RenderData.h"
#include "engine/Undo.h"
#include "framework/Exceptions.h"
#include "level/QzeFile.h"
#include "level/QzlSections.h"
#include "level/UndoSnapshot.h"
#include "level/VertexUses.h"
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

// A restore beside a snapshot of the level as it is now keeps the records of the blocks the two
// share and reads the others: the level it gives must be the one a whole read gives, stored
// fields and unstored ones alike.

// The fields of every record that no file holds, in list order. Pointers and render stamps count
// by whether they are set when two engines are compared (each has its own caches and stamps).
struct CUnstored {
    std::vector<double> numbers;
    std::vector<std::string> texts;
    std::vector<std::vector<D3DLVERTEX>> render;
    std::vector<std::vector<CVector3>> points;
    std::vector<std::vector<std::int32_t>> visible;
    friend bool operator==(const CUnstored&, const CUnstored&) = default;
};

CUnstored Unstored(const CQzlSections& level, bool exact = true)
{
    CUnstored u;
    const auto add = [&u](auto... values) {
        (u.numbers.push_back(static_cast<double>(values)), ...);
    };
    const auto pointer = [&](const void* p, std::uint64_t value) {
        add(exact ? value : static_cast<std::uint64_t>(p != nullptr));
    };
    for (const auto& a : level.m_adjoins)
        add(a->m_otherSector, a->m_otherSurface);
    for (const auto& s : level.m_surfaces) {
        for (const CQzlVertex& c : s->m_vertices)
            add(c.m_textureVertex, c.m_marked, c.m_spareIndex);
        add(s->m_textureWidth, s->m_textureHeight, s->m_xTile, s->m_yTile, s->m_plane[0],
            s->m_plane[1], s->m_plane[2], s->m_plane[3], s->m_box.min.x, s->m_box.min.y,
            s->m_box.min.z, s->m_box.max.x, s->m_box.max.y, s->m_box.max.z, s->m_renderIndex,
            s->m_spare[0], s->m_spare[1], s->m_mirror, s->m_triggeredThing, s->m_scrollU,
            s->m_scrollV);
        pointer(s->m_texture, reinterpret_cast<std::uintptr_t>(s->m_texture));
        u.render.push_back(s->m_renderVertices);
        u.points.push_back(s->m_renderPoints);
    }
    for (const auto& s : level.m_sectors) {
        add(s->m_runtime[0], s->m_runtime[1], s->m_runtime[2]);
        add(exact ? s->m_renderVersion : static_cast<std::uint64_t>(s->m_renderVersion != 0));
        u.visible.push_back(s->m_visible);
    }
    for (const auto& t : level.m_things) {
        pointer(t->m_model, reinterpret_cast<std::uintptr_t>(t->m_model));
        add(t->m_modelReady, t->m_runtimeWord, t->m_runtimeFloat[0], t->m_runtimeFloat[1],
            t->m_runtimeIndex, t->m_runtimeDWord[0], t->m_runtimeDWord[1], t->m_runtimeDWord[2],
            t->m_runtimeDWord[3]);
        u.texts.insert(u.texts.end(), std::begin(t->m_runtimeText), std::end(t->m_runtimeText));
    }
    for (const auto& t : level.m_templates) {
        add(t->m_runtimeWord);
        u.texts.push_back(t->m_runtimeText);
    }
    return u;
}

// Every unstored field away from what a read gives, as the engine, walk mode and the editing
// operations leave them.
void Dirty(CQzlSections& level)
{
    std::int32_t n = 1;
    for (auto& a : level.m_adjoins)
        a->m_otherSector = a->m_otherSurface = n++;
    for (auto& s : level.m_surfaces) {
        for (CQzlVertex& c : s->m_vertices)
            c.m_textureVertex = c.m_marked = c.m_spareIndex = n++;
        s->m_textureWidth = s->m_textureHeight = s->m_xTile = s->m_yTile = 2.0f;
        s->m_plane[0] = s->m_plane[3] = 0.5f;
        s->m_box.min.x = s->m_box.max.z = -3.0f;
        s->m_texture = reinterpret_cast<CTexture*>(s.get());
        s->m_renderVertices.resize(3, D3DLVERTEX{1.0f, 2.0f, 3.0f, 0, 0xff00ff00u, 0, 0.5f, 0.5f});
        s->m_renderIndex = s->m_spare[0] = s->m_spare[1] = s->m_mirror = s->m_triggeredThing = n++;
        s->m_renderPoints.assign(2, CVector3{1.0f, 1.0f, 1.0f});
        s->m_scrollU = s->m_scrollV = 0.25f;
    }
    for (auto& s : level.m_sectors) {
        s->m_runtime[0] = s->m_runtime[1] = s->m_runtime[2] = n++;
        s->m_renderVersion = static_cast<std::uint64_t>(n++);
        s->m_visible = {0, n};
    }
    for (auto& t : level.m_things) {
        t->m_model = reinterpret_cast<C3doModel*>(t.get());
        t->m_modelReady = 1;
        t->m_runtimeWord = t->m_runtimeIndex = n++;
        t->m_runtimeFloat[0] = t->m_runtimeFloat[1] = 0.5f;
        t->m_runtimeText[1] = "door.wav";
        t->m_runtimeDWord[2] = 1;
    }
    for (auto& t : level.m_templates) {
        t->m_runtimeWord = 4;
        t->m_runtimeText = "model";
    }
}

struct CInPlaceEdit {
    const char* name;
    std::function<void(CQzlSections&)> apply;
    bool firstSectorsKept;  // the first block of sectors is shared: its records stay in place
};

// Edits of one run, of every run of a list (a record taken out at the front shifts them all),
// growing and shrinking lists, and none.
const CInPlaceEdit kInPlaceEdits[] = {
    {"nothing", [](CQzlSections&) {}, true},
    {"sector-light", [](CQzlSections& l) { l.m_sectors[400]->m_extraLight += 1; }, true},
    {"first-sector", [](CQzlSections& l) { l.m_sectors.front()->m_flags ^= 1; }, false},
    {"erase-first-sector", [](CQzlSections& l) { l.m_sectors.erase(l.m_sectors.begin()); }, false},
    {"erase-first-surface", [](CQzlSections& l) { l.m_surfaces.erase(l.m_surfaces.begin()); },
     true},
    {"sectors-cut", [](CQzlSections& l) { l.m_sectors.resize(300); }, true},
    {"sector-added", [](CQzlSections& l) { l.m_sectors.push_back(std::make_unique<CQzlSector>()); },
     true},
    {"no-things", [](CQzlSections& l) { l.m_things.clear(); }, true},
    {"corner", [](CQzlSections& l) { l.m_surfaces[7]->m_vertices[1].m_u += 0.5f; }, true},
    {"vertices-added",
     [](CQzlSections& l) { l.m_worldVertices.resize(l.m_worldVertices.size() + 5000); }, true},
    {"template", [](CQzlSections& l) { l.m_templates.back()->m_params += " x"; }, true},
    {"names-and-header",
     [](CQzlSections& l) {
         l.m_sounds.push_back("drip.wav");
         l.m_header.m_worldGravity = 3.5f;
     },
     true},
};

TEST(UndoRestoreInPlace, EachEditRestoresToTheLevelOfAWholeRead)
{
    for (const CInPlaceEdit& edit : kInPlaceEdits) {
        SCOPED_TRACE(edit.name);
        // The same level twice: one restored by a whole read, one in place.
        CQzlSections whole = MakeGrid(600);
        CQzlSections inPlace = MakeGrid(600);
        CUndoSnapshot before;
        before.StoreLevel(whole);
        const CReference reference = Reference(whole);
        for (CQzlSections* level : {&whole, &inPlace}) {
            edit.apply(*level);
            Dirty(*level);
        }
        CUndoSnapshot now;
        now.StoreLevel(inPlace, &before);
        const CQzlSector* firstSector = inPlace.m_sectors.front().get();

        before.LoadLevel(whole);
        before.LoadLevel(inPlace, &now);
        EXPECT_EQ(Reference(whole), reference);
        EXPECT_EQ(Reference(inPlace), reference);
        EXPECT_TRUE(Unstored(inPlace) == Unstored(whole));
        EXPECT_EQ(inPlace.m_sectors.front().get() == firstSector, edit.firstSectorsKept);
    }
}

TEST(UndoRestoreInPlace, ASnapshotWhoseListsDifferInLengthIsNotUsed)
{
    // A snapshot of another level, its lists of other lengths: everything is read.
    CQzlSections other = MakeGrid(300);
    CUndoSnapshot before;
    before.StoreLevel(other);
    CUndoSnapshot otherNow;
    otherNow.StoreLevel(other, &before);
    CQzlSections level = MakeGrid(1200);
    Dirty(level);
    before.LoadLevel(level, &otherNow);
    CQzlSections whole = MakeGrid(1200);
    before.LoadLevel(whole);
    EXPECT_EQ(Reference(level), Reference(other));
    EXPECT_TRUE(Unstored(level) == Unstored(whole));
}

// A step that does not read back is refused and the level keeps everything, its run-time state
// included, whether the damaged block is a record run or a single list.
TEST(UndoRestoreInPlace, ADamagedStepLeavesTheLevelAndItsRunTimeState)
{
    const struct {
        const char* name;
        std::size_t section;
        std::size_t block;
    } damages[] = {{"sectors", 3, 1}, {"header", CUndoSnapshot::kSectionCount - 1, 0}};
    for (const auto& d : damages) {
        SCOPED_TRACE(d.name);
        CQzlSections level = MakeGrid(600);
        CUndoSnapshot before;
        before.StoreLevel(level);
        level.m_sectors[300]->m_extraLight += 1;
        level.m_header.m_worldGravity += 1;
        Dirty(level);
        CUndoSnapshot now;
        now.StoreLevel(level, &before);
        Bytes cut = *before.m_sections[d.section][d.block];
        cut.resize(cut.size() - 2);
        before.m_sections[d.section][d.block] = std::make_shared<const Bytes>(std::move(cut));
        const CReference reference = Reference(level);
        const CUnstored unstored = Unstored(level);
        EXPECT_THROW(before.LoadLevel(level, &now), CArchiveException);
        EXPECT_EQ(Reference(level), reference);
        EXPECT_TRUE(Unstored(level) == unstored);
    }
}

// The Undo and Redo commands restore in place; with the rebuild that follows, the level shows
// what a whole read and the same rebuild show.
TEST(UndoRestoreInPlace, UndoAndRedoCommandsMatchAWholeRestoreAndRebuild)
{
    CFixtureEngine inPlace(MakeGrid(600));
    CFixtureEngine whole(MakeGrid(600));
    for (CFixtureEngine* engine : {&inPlace, &whole}) {
        engine->m_settings.m_undoRedo = 20;
        RebuildAll(engine->m_view, false, ERebuildAll::Restore);
    }
    const CReference reference = Reference(whole.m_level);
    const auto edit = [](CFixtureEngine& engine) {
        SaveUndoState(engine.m_view);
        engine.m_level.m_sectors[450]->m_extraLight += 0.5f;
        engine.m_level.m_surfaces[2000]->m_extraLight += 0.5f;
        RebuildAll(engine.m_view, false, ERebuildAll::Restore);
    };
    edit(inPlace);
    edit(whole);
    const CReference edited = Reference(whole.m_level);

    ASSERT_TRUE(UndoCommand(inPlace.m_view));
    ASSERT_TRUE(RestoreState(whole.m_view));
    RebuildAll(whole.m_view, false, ERebuildAll::Restore);
    EXPECT_EQ(Reference(inPlace.m_level), reference);
    EXPECT_TRUE(Unstored(inPlace.m_level, false) == Unstored(whole.m_level, false));

    ASSERT_TRUE(RedoCommand(inPlace.m_view));
    EXPECT_EQ(Reference(inPlace.m_level), edited);
    CUndoSnapshot redone;
    redone.StoreLevel(inPlace.m_level);
    CFixtureEngine read(MakeGrid(1));
    read.m_settings.m_undoRedo = 20;
    redone.LoadLevel(read.m_level);
    CountVertexUses(read.m_level);
    RebuildAll(read.m_view, false, ERebuildAll::Restore);
    EXPECT_TRUE(Unstored(inPlace.m_level, false) == Unstored(read.m_level, false));
}

}  // namespace
