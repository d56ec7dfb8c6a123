// The application's File Manager command: it opens the dialog with and without a document, and
// an archive the dialog writes that is the game's own is read anew at once: its index lists the
// entry added and the open document's surfaces decode it, without restarting the editor.

#include "AppTestSupport.h"

#include "SyntheticGame.h"
#include "app/MainFrame.h"
#include "app/QzEditDoc.h"
#include "engine/C3dView.h"
#include "engine/RenderData.h"
#include "engine/Texture.h"
#include "framework/FileIO.h"
#include "level/QzlMaterial.h"
#include "level/QzlSections.h"
#include "level/QzlSurface.h"
#include "resources/ui/FileManagerDlg.h"
#include "support/FixtureLevels.h"

#include <filesystem>

namespace {

class FileManagerCommandTest : public AppTest {
protected:
    // An application on a game folder of the test's own, which the dialog may write to.
    void SetUp() override
    {
        AppTest::SetUp();
        BuildSyntheticGame(GameDir());
        CAppOptions options = TestOptions();
        options.m_defaultGameDir = GameDir();
        MakeApp(options);
    }
    std::filesystem::path GameDir() const { return Temp() / "game"; }
    std::filesystem::path MainArchive() const { return m_app->m_product.m_archivePath; }

    // Runs the File Manager command; act runs on the shown dialog, which is then closed.
    bool RunFileManager(const std::function<void(CFileManagerDlg&)>& act = {})
    {
        bool shown = false;
        OnModal<CFileManagerDlg>(m_app.get(), [&](CFileManagerDlg& dialog) {
            shown = dialog.objectName() == Id(Dlg::kFileManager) && dialog.isModal();
            if (act)
                act(dialog);
            Click(dialog, Ctl::kCancel);
        });
        TriggerCommand(*m_app->m_pMainFrame, Cmd::kFileManager);
        return shown;
    }
};

bool Indexed(const CTree& tree, std::string_view name)
{
    int position = 0;
    return tree.Find(name, position) == 1;
}

TEST_F(FileManagerCommandTest, TheCommandOpensTheDialogWithOrWithoutADocument)
{
    EXPECT_TRUE(RunFileManager());
    ASSERT_NE(m_app->NewDocument(), nullptr);
    EXPECT_TRUE(RunFileManager());
}

TEST_F(FileManagerCommandTest, WritingTheGameArchiveIsReadAtOnce)
{
    ASSERT_FALSE(MainArchive().empty());
    CQzEditDoc* doc = m_app->NewDocument();
    ASSERT_NE(doc, nullptr);
    CQzlSections level = MakeBoxRoom();
    level.m_materials.push_back(std::make_unique<CQzlMaterial>("fresh.mat"));
    const int surface = BoxSurface(level, 0, kBoxFloor);
    level.m_surfaces[static_cast<std::size_t>(surface)]->m_material =
        static_cast<std::int32_t>(level.m_materials.size() - 1);
    C3dView& engine = GiveDocumentEngine(*doc, std::move(level));
    RebuildAll(engine, false, ERebuildAll::Restore);
    const CQzlSurface& floor = *doc->m_level->m_surfaces[static_cast<std::size_t>(surface)];
    // Not in the game yet: the floor shows the default material (64 x 64) in its place.
    ASSERT_NE(floor.m_texture, nullptr);
    EXPECT_EQ(floor.m_texture->m_width, 64);
    ASSERT_FALSE(Indexed(m_app->m_product.m_resources.m_treeMaterials, "fresh.mat"));
    doc->SetModifiedFlag(false);

    constexpr int kWidth = 16;
    constexpr int kHeight = 8;
    EXPECT_TRUE(RunFileManager([&](CFileManagerDlg& dialog) {
        ASSERT_TRUE(dialog.OpenArchive(MainArchive()));
        dialog.WriteArchive("mat\\fresh.mat", MakeSyntheticMat(kWidth, kHeight, 1, 3), true);
    }));

    EXPECT_TRUE(Indexed(m_app->m_product.m_resources.m_treeMaterials, "fresh.mat"));
    EXPECT_TRUE(Indexed(m_app->m_product.m_resources.m_treeMaterials, "dflt.mat"));
    EXPECT_FALSE(m_app->m_product.m_resources.m_treeSounds.m_entries.empty());
    ASSERT_NE(floor.m_texture, nullptr);
    EXPECT_EQ(floor.m_texture->m_material, "fresh.mat");
    EXPECT_EQ(floor.m_texture->m_width, kWidth);
    EXPECT_EQ(floor.m_texture->m_height, kHeight);
    // Reading the game anew changes nothing of the level.
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->m_level->m_materials.back()->m_name, "fresh.mat");
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
}

TEST_F(FileManagerCommandTest, OtherArchivesLeaveTheGameAsItWas)
{
    const std::filesystem::path other = Temp() / "other.gob";
    const GameArchive* before = m_app->m_product.m_resources.m_archive;
    EXPECT_FALSE(m_app->m_product.IsGameArchive(other));
    EXPECT_TRUE(m_app->m_product.IsGameArchive(GameDir() / "resource" / ".." / "resource" /
                                               MainArchive().filename()));
    EXPECT_TRUE(m_app->m_product.IsGameArchive(m_app->m_product.m_soundArchivePath));
    EXPECT_TRUE(RunFileManager([&](CFileManagerDlg& dialog) {
        m_fileAnswers.push_back(QString::fromStdString(other.string()));
        Click(dialog, Ctl::kFileManagerNew);
        dialog.WriteArchive("mat\\fresh.mat", MakeSyntheticMat(8, 8, 1, 1), true);
    }));
    EXPECT_TRUE(std::filesystem::exists(other));
    EXPECT_EQ(m_app->m_product.m_resources.m_archive, before);
    EXPECT_FALSE(Indexed(m_app->m_product.m_resources.m_treeMaterials, "fresh.mat"));
}

TEST_F(FileManagerCommandTest, NewOverTheGameArchiveIsReadAtOnce)
{
    ASSERT_FALSE(m_app->m_product.m_resources.m_treeMaterials.m_entries.empty());
    EXPECT_TRUE(RunFileManager([&](CFileManagerDlg& dialog) {
        m_fileAnswers.push_back(QString::fromStdString(MainArchive().string()));
        Click(dialog, Ctl::kFileManagerNew);
    }));
    EXPECT_TRUE(m_app->m_product.m_resources.m_treeMaterials.m_entries.empty());
    EXPECT_TRUE(m_app->m_product.m_resources.m_treeCogs.m_entries.empty());
    EXPECT_FALSE(m_app->m_product.m_resources.m_treeSounds.m_entries.empty());
}

TEST_F(FileManagerCommandTest, AGameArchiveThatCannotBeReadBackKeepsTheOldOne)
{
    const GameArchive* before = m_app->m_product.m_resources.m_archive;
    const std::size_t materials = m_app->m_product.m_resources.m_treeMaterials.m_entries.size();
    // Replaced behind the editor's back by something that is no archive.
    const std::filesystem::path main = MainArchive();
    std::filesystem::remove(main);
    WriteFileAtomic(main, std::vector<std::uint8_t>{'n', 'o', 'p', 'e'});
    m_app->GameArchiveWritten(main);
    EXPECT_EQ(m_messages.size(), 1);
    EXPECT_EQ(m_app->m_product.m_resources.m_archive, before);
    EXPECT_EQ(m_app->m_product.m_resources.m_treeMaterials.m_entries.size(), materials);
    EXPECT_TRUE(Indexed(m_app->m_product.m_resources.m_treeMaterials, "dflt.mat"));
}

}  // namespace
