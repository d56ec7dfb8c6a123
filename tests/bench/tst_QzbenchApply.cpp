// qzbench apply runs one editing operation on a level file from a script: the selection and the
// operation's own values come from its words, the result is saved in the form OUT's name asks
// for, a refusal exits 2 with its message and writes nothing, undo and redo give back the files
// before and after the operation.

#include "engine/RenderData.h"
#include "framework/FileIO.h"
#include "level/LevelFile.h"
#include "level/QzeFile.h"
#include "level/QzlWriter.h"
#include "support/FixtureLevels.h"
#include "support/OpenedLevel.h"
#include "support/QzbenchProcess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

class QzbenchApplyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The L corridor with a thing in each sector.
        CQzlSections level = MakeLCorridor();
        const CVector3 places[] = {{0.5f, 0.5f, 0.5f}, {1.5f, 0.5f, 0.5f}, {1.5f, 0.5f, 1.5f}};
        for (std::int32_t s = 0; s < 3; ++s) {
            auto thing = std::make_unique<CQzlThing>();
            thing->m_template = "crate";
            thing->m_name = "crate";
            thing->m_sector = s;
            thing->m_position = places[s];
            level.m_things.push_back(std::move(thing));
        }
        SaveQzeFile(m_temp / "in.qze", level, CDocumentFields{});
        SaveQzlFile(m_temp / "in.qzl", level, CGameResources(), 0);
    }

    // Runs qzbench apply IN OUT WORDS (names in the temporary folder); its output.
    std::string Apply(const std::string& in, const std::string& out, const std::string& words,
                      int& status)
    {
        return RunQzbenchApply(m_temp / in, m_temp / out, words, status);
    }

    CQzlSections Load(const std::string& name)
    {
        return std::move(LoadLevelFile(m_temp / name, 0).m_contents.m_level);
    }

    Bytes File(const std::string& name) { return ReadFileBytes(m_temp / name); }

    CTempFolder m_temp{"qz_apply"};
};

struct Counts {
    std::size_t sectors, surfaces, adjoins, vertices, things, materials;
    friend bool operator==(const Counts&, const Counts&) = default;
};

Counts CountsOf(const CQzlSections& level)
{
    return {level.m_sectors.size(),       level.m_surfaces.size(), level.m_adjoins.size(),
            level.m_worldVertices.size(), level.m_things.size(),   level.m_materials.size()};
}

std::ostream& operator<<(std::ostream& out, const Counts& c)
{
    return out << c.sectors << " sectors, " << c.surfaces << " surfaces, " << c.adjoins
               << " adjoins, " << c.vertices << " vertices, " << c.things << " things, "
               << c.materials << " materials";
}

struct DeleteCase {
    const char* words;
    Counts after;  // the L corridor has 3 sectors, 18 surfaces, 4 adjoins, 16 vertices
};

TEST_F(QzbenchApplyTest, EachDeleteTakesItsRecords)
{
    const DeleteCase cases[] = {
        // Sector 1's wall z = 2 with its adjoin pair.
        {"delete-surface surface=11", {3, 17, 2, 16, 3, 1}},
        // A plain wall of sector 0: its corners are shared, no vertex goes.
        {"delete-surface sector=0 surface=2", {3, 17, 4, 16, 3, 1}},
        {"delete-adjoin surface=3", {3, 18, 2, 16, 3, 1}},
        // The far corner of sector 2, with every corner that uses it.
        {"remove-vertex surface=13 vertex=2", {3, 18, 4, 15, 3, 1}},
        {"delete-thing thing=1", {3, 18, 4, 16, 2, 1}},
        // Sector 2 with its thing, its six surfaces and the adjoin pair to sector 1; four corners
        // are its own.
        {"delete-sector sector=2", {2, 12, 2, 12, 2, 1}},
        // The only material: its surfaces take the default material, appended anew.
        {"delete-material material=0", {3, 18, 4, 16, 3, 1}},
        {"compact-materials", {3, 18, 4, 16, 3, 1}},
    };
    for (const DeleteCase& c : cases) {
        SCOPED_TRACE(c.words);
        int status = -1;
        const std::string output = Apply("in.qze", "out.qze", c.words, status);
        ASSERT_EQ(status, 0) << output;
        EXPECT_EQ(CountsOf(Load("out.qze")), c.after);
    }
}

TEST_F(QzbenchApplyTest, UndoGivesBackTheOpenedLevelAndRedoTheEditedOne)
{
    const Bytes opened = OpenedLevelBytes(m_temp / "in.qze");
    for (const char* words :
         {"delete-sector sector=1", "delete-surface surface=3", "remove-vertex surface=0 vertex=1",
          "delete-thing thing=0", "cut sector=0 surface=2 answer=yes"}) {
        SCOPED_TRACE(words);
        int status = -1;
        std::string output = Apply("in.qze", "done.qze", words, status);
        ASSERT_EQ(status, 0) << output;
        output = Apply("in.qze", "undone.qze", std::string("undo ") + words, status);
        ASSERT_EQ(status, 0) << output;
        output = Apply("in.qze", "redone.qze", std::string("redo ") + words, status);
        ASSERT_EQ(status, 0) << output;
        EXPECT_EQ(File("undone.qze"), opened);
        EXPECT_EQ(File("redone.qze"), File("done.qze"));
        EXPECT_NE(File("done.qze"), opened);
    }
}

TEST_F(QzbenchApplyTest, EitherFormInAndOut)
{
    int status = -1;
    std::string output = Apply("in.qzl", "out.qzl", "delete-thing thing=0", status);
    ASSERT_EQ(status, 0) << output;
    const Bytes text = File("out.qzl");
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(LevelFormOf(text), ELevelForm::text);
    EXPECT_EQ(Load("out.qzl").m_things.size(), 2u);

    output = Apply("in.qzl", "out.qze", "delete-thing thing=0", status);
    ASSERT_EQ(status, 0) << output;
    EXPECT_EQ(LevelFormOf(File("out.qze")), ELevelForm::archive);
    EXPECT_EQ(Load("out.qze").m_things.size(), 2u);
}

struct FailureCase {
    const char* words;
    int status;
    const char* says;
};

TEST_F(QzbenchApplyTest, RefusalsAndBadWordsWriteNothing)
{
    const FailureCase cases[] = {
        // Refused by the operation: its message, status 2.
        {"delete-thing", 2, "There is no current thing."},
        {"delete-adjoin surface=0", 2, "The current surface has no adjoin."},
        {"undo delete-surface", 2, "There is no current surface."},
        {"delete-material material=4", 2, "The level has no material 4."},
        {"cut sector=0", 2, "There is no current surface or thing."},
        {"cut sector=0 surface=2 answer=no", 2, "cut refused"},
        // A selection the level does not have.
        {"delete-sector sector=3", 2, "sector=3: there are 3 sectors"},
        {"remove-vertex surface=0 vertex=4", 2, "vertex=4: there are 4 corners in the surface"},
        {"remove-vertex vertex=0", 2, "vertex=N needs surface=N"},
        // Words that do not read: status 1.
        {"delete-everything", 1, "no operation \"delete-everything\""},
        {"undo", 1, "no operation given"},
        {"delete-material", 1, "delete-material needs material=INT"},
        {"delete-material material=one", 1, "material takes INT"},
        {"delete-material material=1 material=2", 1, "material is given twice"},
        {"delete-thing colour=red", 1, "\"colour=red\" is no word of delete-thing"},
        {"delete-thing thing=-1", 1, "thing takes an index from 0"},
        {"delete-thing node=1,2", 1, "node takes X,Y,Z"},
        {"delete-thing answer=maybe", 1, "answer takes yes or no"},
        {"delete-thing pick=", 1, "pick takes a name"},
    };
    const Bytes in = File("in.qze");
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.words);
        int status = -1;
        const std::string output = Apply("in.qze", "out.qze", c.words, status);
        EXPECT_EQ(status, c.status) << output;
        EXPECT_NE(output.find(c.says), std::string::npos) << output;
        EXPECT_FALSE(fs::exists(m_temp / "out.qze"));
        // Refused with the input as the output: the input stays as it was.
        Apply("in.qze", "in.qze", c.words, status);
        EXPECT_EQ(File("in.qze"), in);
    }
}

TEST_F(QzbenchApplyTest, SelectionNodesAndAnswersAreWordsOfEveryOperation)
{
    int status = -1;
    const std::string output =
        Apply("in.qze", "out.qze",
              "delete-thing thing=2 node=0.5,0,0.25 node=1,1,1 answer=yes answer=no", status);
    EXPECT_EQ(status, 0) << output;
    EXPECT_EQ(Load("out.qze").m_things.size(), 2u);
}

// ---- Delete, link and unlink of the selection ----

struct SelectionEditCase {
    const char* in;
    const char* words;
    const char* out;
    Counts after;
};

TEST_F(QzbenchApplyTest, TheSelectionIsDeletedLinkedAndUnlinked)
{
    const SelectionEditCase cases[] = {
        // The middle sector with its crate: both neighbours' portals become walls.
        {"in.qze", "delete sector=1 answer=yes", "deleted.qze", {2, 12, 0, 14, 2, 1}},
        {"in.qze", "delete-selected-thing thing=0", "thing.qze", {3, 18, 4, 16, 2, 1}},
        // Sector 1's wall z = 2 is the portal to sector 2.
        {"in.qze", "unlink sector=1 surface=11", "unlinked.qze", {3, 18, 2, 16, 3, 1}},
        {"unlinked.qze", "link sector=1 surface=11", "linked.qze", {3, 18, 4, 16, 3, 1}},
        // The corner of sector 0's floor at the origin: a world vertex of its own, then back.
        {"in.qze", "unlink sector=0 surface=0 vertex=0", "apart.qze", {3, 18, 4, 17, 3, 1}},
        // Cut: a plain wall of sector 0; with a current vertex the surface it copied, not the
        // corner; a current thing before a current surface.
        {"in.qze", "cut sector=0 surface=2 answer=yes", "cut.qze", {3, 17, 4, 16, 3, 1}},
        {"in.qze", "cut sector=0 surface=0 vertex=0 answer=yes", "floor.qze", {3, 17, 4, 16, 3, 1}},
        {"in.qze", "cut sector=1 surface=11 thing=1 answer=yes", "crate.qze", {3, 18, 4, 16, 2, 1}},
    };
    for (const SelectionEditCase& c : cases) {
        SCOPED_TRACE(c.words);
        int status = -1;
        const std::string output = Apply(c.in, c.out, c.words, status);
        ASSERT_EQ(status, 0) << output;
        EXPECT_EQ(CountsOf(Load(c.out)), c.after);
    }
    // Linked again, sector 1's wall z = 2 and sector 2's wall z = 1 are a portal pair.
    const CQzlSections linked = Load("linked.qze");
    const std::int32_t mine = linked.m_surfaces[11]->m_adjoin;
    const std::int32_t theirs = linked.m_surfaces[16]->m_adjoin;
    ASSERT_GE(mine, 0);
    ASSERT_GE(theirs, 0);
    EXPECT_EQ(linked.m_adjoins[static_cast<std::size_t>(mine)]->m_mirror, theirs);

    // No is an answer: nothing is deleted or written.
    int status = -1;
    const std::string output = Apply("in.qze", "kept.qze", "delete sector=1 answer=no", status);
    EXPECT_EQ(status, 2) << output;
    EXPECT_NE(output.find("delete refused"), std::string::npos) << output;
    EXPECT_FALSE(fs::exists(m_temp / "kept.qze"));
}

// ---- Split Surface and Cut Surface to Polygon ----

TEST_F(QzbenchApplyTest, SplitSurfaceAndCutToPolygonRunFromWords)
{
    const DeleteCase cases[] = {
        // Sector 0's wall x = 1, joined to sector 1, split upright with its twin: two surfaces,
        // two adjoins and the two world vertices at the cut more.
        {"split-surface sector=0 surface=3 node=1,0,0.5 node=1,1,0.5", {3, 20, 6, 18, 3, 1}},
        // Sector 0's floor between two opposite corners.
        {"split-surface sector=0 surface=0 grid=no marks=0,2", {3, 19, 4, 16, 3, 1}},
        // The floor trimmed to the square in its middle by four cuts.
        {"cut-surface-to-polygon sector=0 surface=0 node=0.25,0,0.25 node=0.75,0,0.25 "
         "node=0.75,0,0.75 node=0.25,0,0.75",
         {3, 22, 4, 24, 3, 1}},
    };
    const Bytes opened = OpenedLevelBytes(m_temp / "in.qze");
    for (const DeleteCase& c : cases) {
        SCOPED_TRACE(c.words);
        int status = -1;
        std::string output = Apply("in.qze", "out.qze", c.words, status);
        ASSERT_EQ(status, 0) << output;
        EXPECT_EQ(CountsOf(Load("out.qze")), c.after);
        output = Apply("in.qze", "undone.qze", std::string("undo ") + c.words, status);
        ASSERT_EQ(status, 0) << output;
        EXPECT_EQ(File("undone.qze"), opened);
    }

    const FailureCase refusals[] = {
        {"split-surface sector=0 surface=0 node=0,0,0 node=1,0,0", 2, "split-surface refused"},
        {"split-surface sector=0 surface=0 grid=no marks=0,9", 2,
         "marks=0,9: the current surface has corners 0 to 3."},
        {"cut-surface-to-polygon sector=0 surface=0 node=0,0,0 node=1,0,1", 2,
         "A polygon needs three node= points or more."},
    };
    for (const FailureCase& c : refusals) {
        SCOPED_TRACE(c.words);
        int status = -1;
        const std::string output = Apply("in.qze", "refused.qze", c.words, status);
        EXPECT_EQ(status, c.status) << output;
        EXPECT_NE(output.find(c.says), std::string::npos) << output;
        EXPECT_FALSE(fs::exists(m_temp / "refused.qze"));
    }
}

// Nudge move and rotate: the Move and Rotate commands and the Vertex view's move.
TEST_F(QzbenchApplyTest, NudgeMovesAndTurnsTheSelection)
{
    int status = -1;
    std::string output =
        Apply("in.qze", "moved.qze", "move axis=x sector=1 sector-mode=yes shift=yes", status);
    ASSERT_EQ(status, 0) << output;
    const CQzlSections moved = Load("moved.qze");
    EXPECT_NEAR(moved.m_things[1]->m_position.x, 1.6f, 1e-6f);
    EXPECT_NEAR(moved.m_sectors[0]->m_boundBox.max.x, 1.1f, 1e-6f);

    output = Apply("in.qze", "turned.qze", "rotate axis=y thing=1 negative=yes ctrl=yes", status);
    ASSERT_EQ(status, 0) << output;
    EXPECT_NEAR(Load("turned.qze").m_things[1]->m_yaw, -1.0f, 1e-5f);

    output = Apply("in.qze", "undone.qze", "undo move axis=z sector=2 sector-mode=yes", status);
    ASSERT_EQ(status, 0) << output;
    EXPECT_EQ(File("undone.qze"), OpenedLevelBytes(m_temp / "in.qze"));

    // A corner of the floor alone cannot leave the floor's plane; no axis w.
    const FailureCase refusals[] = {
        {"move-vertices axis=y amount=0.05 surface=0 vertex=0", 2, "move-vertices refused"},
        {"move axis=w thing=0", 2, "axis takes x, y or z, not \"w\"."},
        {"move-vertices axis=x", 1, "move-vertices needs amount=FLOAT"},
    };
    for (const FailureCase& c : refusals) {
        SCOPED_TRACE(c.words);
        output = Apply("in.qze", "out.qze", c.words, status);
        EXPECT_EQ(status, c.status) << output;
        EXPECT_NE(output.find(c.says), std::string::npos) << output;
        EXPECT_FALSE(fs::exists(m_temp / "out.qze"));
    }
}

}  // namespace
