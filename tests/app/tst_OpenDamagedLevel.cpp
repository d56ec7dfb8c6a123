// The document opens a level with damaged indices as stored and points to the checker in the
// status bar; a level without geometry to show is refused with the loader's message.

#include "AppTestSupport.h"

#include "app/MainFrame.h"
#include "app/QzEditDoc.h"
#include "level/GameResources.h"
#include "level/QzeFile.h"
#include "level/QzlWriter.h"
#include "support/DamagedLevels.h"

#include <QStatusBar>

#include <filesystem>
#include <string>

namespace {

class OpenDamagedLevelTest : public AppTest {
protected:
    std::filesystem::path Write(const std::string& name, CQzlSections level)
    {
        const std::filesystem::path path = Temp() / name;
        if (name.ends_with(".qzl"))
            SaveQzlFile(path, level, CGameResources{}, 0);
        else
            SaveQzeFile(path, level, CDocumentFields{});
        return path;
    }
    CQzEditDoc* Open(const std::filesystem::path& path)
    {
        return m_app->OpenDocumentFile(QString::fromStdString(path.string()));
    }
    QString Status() const { return m_app->m_pMainFrame->statusBar()->currentMessage(); }
};

TEST_F(OpenDamagedLevelTest, StatusTextSaysTheLevelHasErrors)
{
    MakeApp();
    ASSERT_NE(m_app->m_pMainFrame, nullptr);
    EXPECT_STREQ(CQzEditDoc::kLevelHasErrorsText,
                 "The level has errors: choose Errors... and Check to see them.");
    const QString errors = QString::fromUtf8(CQzEditDoc::kLevelHasErrorsText);

    // A sound level leaves the status bar as it was.
    m_app->m_pMainFrame->SetMessageText(QStringLiteral("before"));
    CQzEditDoc* sound = Open(Write("sound.qze", MakeUndamagedLevel()));
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(Status(), QStringLiteral("before"));
    EXPECT_TRUE(sound->OnCloseDocument());

    for (const char* name : {"mirror.qze", "mirror.qzl"}) {
        SCOPED_TRACE(name);
        CQzlSections level = MakeUndamagedLevel();
        level.m_adjoins[1]->m_mirror = 7;
        level.m_things[1]->m_sector = 42;
        m_app->m_pMainFrame->SetMessageText(QStringLiteral("before"));
        CQzEditDoc* doc = Open(Write(name, std::move(level)));
        ASSERT_NE(doc, nullptr) << m_messages.join(QLatin1Char('\n')).toStdString();
        EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(Status(), errors);
        // Kept as stored, and the document is not modified by opening.
        EXPECT_EQ(doc->m_level->m_adjoins[1]->m_mirror, 7);
        EXPECT_EQ(doc->m_level->m_things[1]->m_sector, 42);
        EXPECT_FALSE(doc->IsModified());
        EXPECT_TRUE(doc->OnCloseDocument());
    }
}

TEST_F(OpenDamagedLevelTest, LevelWithoutGeometryIsRefusedWithItsMessage)
{
    MakeApp();
    for (const CDamagedLevel& damage : DamagedLevels()) {
        if (damage.m_opens)
            continue;
        SCOPED_TRACE(damage.m_name);
        m_messages.clear();
        const std::size_t before = m_app->Documents().size();
        EXPECT_EQ(Open(Write(std::string(damage.m_name) + ".qze", MakeDamagedLevel(damage))),
                  nullptr);
        EXPECT_EQ(m_app->Documents().size(), before);
        ASSERT_EQ(m_messages.size(), 1);
        EXPECT_TRUE(m_messages[0].contains(QStringLiteral("The level is damaged: ")))
            << m_messages[0].toStdString();
    }
}

}  // namespace
