// Levels with damaged indices through the loaders, the writers and the undo snapshot: those with
// geometry to show open with their indices as stored and are written back as they were read;
// the others are refused with a message.

#include "framework/Exceptions.h"
#include "framework/FileIO.h"
#include "level/GameResources.h"
#include "level/LevelFile.h"
#include "level/LevelValidator.h"
#include "level/QzeFile.h"
#include "level/QzlReader.h"
#include "level/QzlWriter.h"
#include "level/UndoSnapshot.h"
#include "support/DamagedLevels.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Every index field of a level's records, in record order.
struct CIndices {
    std::vector<std::int32_t> surfaceMaterials, surfaceAdjoins, cornerVertices, mirrors, colormaps,
        sounds, sectorSurfaces, thingSectors;

    friend bool operator==(const CIndices&, const CIndices&) = default;
};

// textForm: as the text file can hold them, which names a sector's sound, so that one beyond the
// sound list is none.
CIndices IndicesOf(const CQzlSections& level, bool textForm = false)
{
    CIndices r;
    for (const auto& s : level.m_surfaces) {
        r.surfaceMaterials.push_back(s->m_material);
        r.surfaceAdjoins.push_back(s->m_adjoin);
        for (const CQzlVertex& c : s->m_vertices)
            r.cornerVertices.push_back(c.m_worldVertex);
    }
    for (const auto& a : level.m_adjoins)
        r.mirrors.push_back(a->m_mirror);
    for (const auto& s : level.m_sectors) {
        r.colormaps.push_back(s->m_colormap);
        const bool named =
            s->m_sound >= 0 && static_cast<std::size_t>(s->m_sound) < level.m_sounds.size();
        r.sounds.push_back(textForm && !named ? -1 : s->m_sound);
        r.sectorSurfaces.insert(r.sectorSurfaces.end(), s->m_surfaces.begin(), s->m_surfaces.end());
        r.sectorSurfaces.push_back(-100);  // ends the sector's list
    }
    for (const auto& t : level.m_things)
        r.thingSectors.push_back(t->m_sector);
    return r;
}

Bytes TextBytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

std::string WriteText(CQzlSections& level, int product)
{
    return WriteQzl(level, CGameResources{}, product);
}

// One damaged level as a file of one form and product, written by the level writers.
struct CWritten {
    CQzlSections level;  // as the writer left it
    Bytes bytes;
};

CWritten WriteDamaged(const CDamagedLevel& damage, ELevelForm form, int product)
{
    CWritten w{MakeDamagedLevel(damage), {}};
    w.bytes = form == ELevelForm::archive ? WriteQzeBytes(w.level, {})
                                          : TextBytes(WriteText(w.level, product));
    return w;
}

Bytes WriteBack(CQzlSections& level, ELevelForm form, int product)
{
    return form == ELevelForm::archive ? WriteQzeBytes(level, {})
                                       : TextBytes(WriteText(level, product));
}

CQzlSections ReadBack(const Bytes& bytes, ELevelForm form, int product)
{
    return form == ELevelForm::archive ? ReadQzeBytes(bytes).m_level : ReadWholeQzl(bytes, product);
}

struct CFormCase {
    ELevelForm form;
    int product;
    const char* name;
};
constexpr CFormCase kForms[] = {
    {ELevelForm::archive, 0, "archive, product 0"},
    {ELevelForm::archive, 1, "archive, product 1"},
    {ELevelForm::text, 0, "text, product 0"},
    {ELevelForm::text, 1, "text, product 1"},
};

}  // namespace

// Opened levels keep their damaged indices, are found damaged as written, store back to the bytes
// they were read from, survive an undo snapshot and Save As into the other form.
TEST(DamagedLevelFiles, OpenedLevelsKeepTheirIndicesAndStoreBackExactly)
{
    for (const CDamagedLevel& damage : DamagedLevels()) {
        if (!damage.m_opens)
            continue;
        for (const CFormCase& f : kForms) {
            SCOPED_TRACE(std::string(damage.m_name) + ", " + f.name);
            const bool text = f.form == ELevelForm::text;
            CWritten written = WriteDamaged(damage, f.form, f.product);
            EXPECT_EQ(LevelFormOf(written.bytes), f.form);
            CQzlSections loaded = ReadBack(written.bytes, f.form, f.product);
            EXPECT_EQ(IndicesOf(loaded), IndicesOf(written.level, text));
            // The text form names a sector's sound and cannot hold one outside the list: that
            // level reads back sound.
            const std::string_view name = damage.m_name;
            if (!text || !name.starts_with("sound-")) {
                EXPECT_FALSE(ValidateLevel(loaded).empty());
            }
            EXPECT_EQ(WriteBack(loaded, f.form, f.product), written.bytes);

            // The undo snapshot stores and restores them.
            CUndoSnapshot snapshot;
            snapshot.StoreLevel(loaded);
            CQzlSections restored;
            snapshot.LoadLevel(restored);
            EXPECT_EQ(IndicesOf(restored), IndicesOf(loaded));
            CUndoSnapshot again;
            again.StoreLevel(restored);
            EXPECT_EQ(again.Bytes(), snapshot.Bytes());

            // Save As into the other form and back.
            const ELevelForm other = text ? ELevelForm::archive : ELevelForm::text;
            const Bytes converted = WriteBack(loaded, other, f.product);
            const CQzlSections reopened = ReadBack(converted, other, f.product);
            EXPECT_EQ(IndicesOf(reopened), IndicesOf(loaded, !text));
        }
    }
}

// Damage that leaves no geometry to show is refused with the validator's message; the file system
// loader throws too, so that no level is taken from the file.
TEST(DamagedLevelFiles, LevelsWithoutGeometryToShowAreRefused)
{
    const CTempFolder temp("damaged_files");
    for (const CDamagedLevel& damage : DamagedLevels()) {
        if (damage.m_opens)
            continue;
        for (const CFormCase& f : kForms) {
            SCOPED_TRACE(std::string(damage.m_name) + ", " + f.name);
            CQzlSections level = MakeDamagedLevel(damage);
            const std::string problem = ValidateLevel(level).front();
            Bytes bytes;
            std::string message = "The level is damaged: " + problem + ".";
            if (f.form == ELevelForm::archive) {
                bytes = WriteQzeBytes(level, {});
            } else if (level.m_sectors[0]->m_surfaces.back() == 99) {
                // The text writer cannot hold a sector's surface beyond the list (a sector names
                // a run of surfaces): it refuses, and the damaged text is made from a sound one.
                EXPECT_THROW(WriteText(level, f.product), CArchiveException);
                CQzlSections sound = MakeUndamagedLevel();
                std::string text = WriteText(sound, f.product);
                const std::string run = "SURFACES  0  6\n";
                const std::size_t at = text.find(run);
                ASSERT_NE(at, std::string::npos);
                text.replace(at, run.size(), "SURFACES  0  99\n");
                bytes = TextBytes(text);
                message = "The level is damaged: sector 0 lists the surfaces 0 to 98";
            } else {
                bytes = TextBytes(WriteText(level, f.product));
            }
            try {
                ReadBack(bytes, f.form, f.product);
                ADD_FAILURE() << "opened";
            } catch (const CArchiveException& e) {
                EXPECT_EQ(e.GetCause(), CArchiveException::badIndex);
                EXPECT_EQ(std::string(e.what()).substr(0, message.size()), message);
            }
            const std::filesystem::path path = temp / (std::string(damage.m_name) + ".lvl");
            WriteFileAtomic(path, bytes);
            EXPECT_THROW(LoadLevelFile(path, f.product), CArchiveException);
        }
    }
}

// Each problem has the kind the loaders decide by; the refusal names the first refused one even
// when problems a level opens with come first.
TEST(DamagedLevelFiles, ProblemKindsDecideTheRefusal)
{
    for (const CDamagedLevel& damage : DamagedLevels()) {
        SCOPED_TRACE(damage.m_name);
        const CQzlSections level = MakeDamagedLevel(damage);
        const std::vector<CLevelProblem> problems = FindLevelProblems(level);
        ASSERT_FALSE(problems.empty());
        bool refused = false;
        for (const CLevelProblem& p : problems)
            refused = refused || p.m_kind == ELevelProblem::refused;
        EXPECT_EQ(refused, !damage.m_opens);
        EXPECT_EQ(LevelRefusal(level).empty(), damage.m_opens);
    }

    CQzlSections both = MakeUndamagedLevel();
    both.m_surfaces[0]->m_material = 77;
    both.m_sectors[1]->m_surfaces.push_back(500);
    const std::vector<CLevelProblem> problems = FindLevelProblems(both);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].m_kind, ELevelProblem::opens);
    EXPECT_EQ(problems[1].m_kind, ELevelProblem::refused);
    EXPECT_EQ(ValidateLevel(both),
              (std::vector<std::string>{problems[0].m_text, problems[1].m_text}));
    EXPECT_EQ(LevelRefusal(both), "The level is damaged: " + problems[1].m_text + ".");
}
