#include "AppTestSupport.h"

#include "app/QzEditApp.h"
#include "app/QzEditDoc.h"
#include "episode/ui/LevelsDlg.h"
#include "framework/FileIO.h"
#include "level/GameResources.h"
#include "level/QzlCog.h"
#include "level/QzlWriter.h"
#include "resources/GobArchive.h"
#include "support/FixtureLevels.h"
#include "support/TwoLevelArchive.h"
#include "ui/DialogIds.h"
#include "ui/UiServices.h"

#include <QApplication>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

QString Q(const fs::path& path)
{
    return QString::fromStdString(path.string());
}

class ImportExportTest : public AppTest {
protected:
    // The two-level archive at Temp() / name.
    fs::path WriteGob(const std::string& name)
    {
        const fs::path path = Temp() / name;
        MakeTwoLevelArchive().Save(path);
        return path;
    }

    CQzEditDoc* Open(const fs::path& path) { return m_app->OpenDocumentFile(Q(path)); }

    // The Levels dialog's next showing chooses row, or cancels with Escape for row -1.
    void AnswerLevels(int row, QStringList* shown = nullptr)
    {
        OnModal<CLevelsDlg>(m_app.get(), [row, shown](CLevelsDlg& dialog) {
            auto* list = Control<QListWidget>(dialog, Ctl::kLevelsList);
            ASSERT_NE(list, nullptr);
            if (shown != nullptr)
                for (int i = 0; i < list->count(); ++i)
                    *shown << list->item(i)->text();
            if (row < 0) {
                QTest::keyClick(&dialog, Qt::Key_Escape);
                return;
            }
            list->setCurrentRow(row);
            Click(dialog, Ctl::kOk);
        });
    }
};

}  // namespace

TEST_F(ImportExportTest, OpeningAnArchiveImportsTheChosenLevel)
{
    MakeApp();
    m_app->m_settings.m_product = 0;
    QStringList shown;
    AnswerLevels(1, &shown);
    CQzEditDoc* doc = Open(WriteGob("two.goo"));
    ASSERT_NE(doc, nullptr) << m_messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(shown, (QStringList{"a.qzl", "b.qzl"}));
    EXPECT_EQ(m_app->m_settings.m_product, 1);  // ".goo" is the expansion's
    EXPECT_EQ(doc->m_level->m_sectors.size(), 2u);
    ASSERT_EQ(doc->m_level->m_levelFiles.m_entries.size(), 2u);
    EXPECT_EQ(doc->m_level->m_levelFiles.m_entries[0]->m_name, "lift.cog");
    EXPECT_EQ(doc->m_level->m_levelFiles.m_entries[1]->m_name, "wall.mat");
    // Titled by the level's name, without a path: Save asks for a file and never writes over the
    // archive (the recent files keep the archive, as for any file opened).
    EXPECT_EQ(doc->Title(), QStringLiteral("b.qzl"));
    EXPECT_TRUE(doc->PathName().isEmpty());
    EXPECT_TRUE(doc->m_pendingTitle.isEmpty());
    ASSERT_FALSE(m_app->RecentFiles().isEmpty());
    EXPECT_TRUE(m_app->RecentFiles().front().endsWith(QStringLiteral("two.goo")));
    EXPECT_EQ(doc->m_fields.m_startCogOn, 0);
    EXPECT_EQ(doc->m_fields.m_goalsCogOn, 0);
    EXPECT_FALSE(doc->IsModified());
}

// A level entry without a name (its path ends in a backslash) is titled by its archive; Save then
// asks for a file and leaves the archive as it was.
TEST_F(ImportExportTest, ALevelWithoutANameIsTitledByItsArchiveAndSaveKeepsTheArchive)
{
    MakeApp();
    const CGameResources game;
    CQzlSections level = MakeBoxRoom();
    const std::string text = WriteQzl(level, game, 0);
    CGobArchive archive;
    archive.Add("qzl\\x.qzl\\", std::vector<std::uint8_t>(text.begin(), text.end()));
    const fs::path path = Temp() / "odd.gob";
    archive.Save(path);
    const std::vector<std::uint8_t> before = ReadFileBytes(path);

    AnswerLevels(0);
    CQzEditDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr) << m_messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(doc->Title(), QStringLiteral("odd.gob"));
    EXPECT_TRUE(doc->PathName().isEmpty());

    // Save asks for a file; cancelled, nothing is written anywhere.
    m_fileAnswers.push_back(QString());
    EXPECT_FALSE(doc->DoFileSave());
    EXPECT_EQ(ReadFileBytes(path), before);
}

TEST_F(ImportExportTest, ArchiveOpenIsRefusedOrCancelledWithoutChange)
{
    MakeApp();
    // Cancelled: nothing opens, no message.
    AnswerLevels(-1);
    m_messages.clear();
    EXPECT_EQ(Open(WriteGob("two.gob")), nullptr);
    EXPECT_TRUE(m_app->Documents().empty());
    for (const QString& message : m_messages)
        EXPECT_FALSE(message.contains(QStringLiteral("two.gob"))) << message.toStdString();

    // With another level open: refused with a message, the product as it was.
    CQzEditDoc* other = m_app->NewDocument();
    ASSERT_NE(other, nullptr);
    m_app->m_settings.m_product = 0;
    for (const char* name : {"two.goo", "project.qzp"}) {
        SCOPED_TRACE(name);
        m_messages.clear();
        const fs::path path = name == std::string("project.qzp") ? Temp() / name : WriteGob(name);
        if (name == std::string("project.qzp"))
            WriteFileAtomic(path, {});
        EXPECT_EQ(Open(path), nullptr);
        ASSERT_EQ(m_messages.size(), 1);
        EXPECT_TRUE(m_messages[0].contains(QString::fromLatin1(name)))
            << m_messages[0].toStdString();
        EXPECT_EQ(m_app->Documents().size(), 1u);
        EXPECT_EQ(m_app->m_settings.m_product, 0);
    }
}

TEST_F(ImportExportTest, SaveAsOffersTheProductsArchiveAndKeepsAProjectPath)
{
    MakeApp();
    CQzEditDoc* doc = m_app->NewDocument();
    ASSERT_NE(doc, nullptr);
    QStringList filters;
    std::vector<QString> answers;
    const CFileDialogHook old = SetFileDialogHook([&](CFileDialogRequest& request) {
        filters << request.filter;
        if (answers.empty())
            return QString();
        const QString answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    });
    m_app->m_settings.m_product = 0;
    doc->OnFileSaveAs();
    m_app->m_settings.m_product = 1;
    answers.push_back(Q(Temp() / "canyon.qzp"));
    doc->SetModifiedFlag(true);
    doc->OnFileSaveAs();
    SetFileDialogHook(old);
    ASSERT_EQ(filters.size(), 2);
    const QString common =
        QStringLiteral("QzEdit Files (*.qze)|*.qze|QzEdit Project Files (*.qzp)|*.qzp|"
                       "Korvath/Varnok Level Files (*.qzl)|*.qzl|");
    EXPECT_EQ(filters[0], common + QStringLiteral("GOB Files (*.gob)|*.gob||"));
    EXPECT_EQ(filters[1], common + QStringLiteral("GOO Files (*.goo)|*.goo||"));

    // The project became the document's path; the export leaves the modified flag.
    EXPECT_EQ(doc->PathName(), Q(Temp() / "canyon.qzp"));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(fs::is_regular_file(Temp() / "canyon" / "episode.qz"));
    EXPECT_TRUE(fs::is_regular_file(Temp() / "canyon" / "qzl" / "qzedit.qzl"));
}

TEST_F(ImportExportTest, AFailedExportIsReportedAndTheLevelStaysModified)
{
    MakeApp();
    CQzEditDoc* doc = m_app->NewDocument();
    ASSERT_NE(doc, nullptr);
    doc->SetModifiedFlag(true);
    m_messages.clear();
    EXPECT_FALSE(doc->SaveAs(Q(Temp() / "missing" / "p.qzp")));
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_messages[0].contains(QStringLiteral("p.qzp"))) << m_messages[0].toStdString();
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(doc->PathName().isEmpty());
    EXPECT_FALSE(fs::exists(Temp() / "missing"));
}

TEST_F(ImportExportTest, AnExportedProjectOpensAsTheSameLevel)
{
    MakeApp();
    CQzEditDoc* doc = m_app->NewDocument();
    ASSERT_NE(doc, nullptr);
    *doc->m_level = MakeTwoJoinedRooms();
    AddLevelFile(*doc->m_level, "wall.mat", "wall");
    doc->m_level->m_levelFiles.m_entries[0]->m_path = "mat\\wall.mat";
    doc->m_fields.m_messageText = "MSGS 0\r\nEND\r\n";
    doc->m_fields.m_lightPower = 2;
    doc->m_fields.m_startCogOn = doc->m_fields.m_goalsCogOn = 0;
    ASSERT_TRUE(doc->SaveAs(Q(Temp() / "round.qzp"))) << doc->LastError().toStdString();
    const std::string written = WriteQzl(*doc->m_level, m_app->m_product.m_resources, 0);
    CloseWithoutSaving(*doc);
    QApplication::processEvents();
    ASSERT_TRUE(m_app->Documents().empty());

    CQzEditDoc* back = Open(Temp() / "round.qzp");
    ASSERT_NE(back, nullptr) << m_messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(back->m_fields.m_messageText, "MSGS 0\r\nEND\r\n");
    EXPECT_EQ(back->m_fields.m_lightPower, 2);
    EXPECT_EQ(back->m_level->m_sectors.size(), 2u);
    ASSERT_EQ(back->m_level->m_levelFiles.m_entries.size(), 1u);
    EXPECT_EQ(back->m_level->m_levelFiles.m_entries[0]->m_path, "mat\\wall.mat");
    EXPECT_EQ(back->PathName(), Q(Temp() / "round.qzp"));
    EXPECT_FALSE(back->IsModified());
    const std::vector<std::uint8_t> onDisk = ReadFileBytes(Temp() / "round" / "qzl" / "qzedit.qzl");
    EXPECT_EQ(std::string(onDisk.begin(), onDisk.end()), written);
}
