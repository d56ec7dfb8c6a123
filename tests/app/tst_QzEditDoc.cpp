// The document: its fields, New, Open and Save by file type, Save As, autosave and close.

#include "AppTestSupport.h"

#include "SyntheticGame.h"
#include "app/ChildFrame.h"
#include "app/QzEditDoc.h"
#include "episode/StartGoalsCogs.h"
#include "framework/FileIO.h"
#include "level/GameResources.h"
#include "level/LevelFile.h"
#include "level/LevelValidator.h"
#include "level/QzeFile.h"
#include "level/QzlReader.h"
#include "level/QzlWriter.h"
#include "support/FixtureLevels.h"

#include "app/MainFrame.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QMdiArea>
#include <QMimeData>
#include <QPointer>
#include <QStatusBar>
#include <QUrl>

#include <algorithm>
#include <cstddef>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteText(const fs::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

QString Q(const fs::path& path)
{
    return QString::fromStdString(path.string());
}

bool HasCog(const CQzlSections& level, const char* script)
{
    return std::any_of(level.m_cogs.begin(), level.m_cogs.end(),
                       [script](const auto& cog) { return cog->m_script == script; });
}

bool Contains(const std::vector<CQzEditDoc*>& docs, const CQzEditDoc* doc)
{
    return std::find(docs.begin(), docs.end(), doc) != docs.end();
}

CDocumentFields OtherFields()
{
    CDocumentFields fields;
    fields.m_episodeTitle = "The Pit";
    fields.m_levelFileName = "01pit.qzl";
    fields.m_messageText = "MSGS 0\r\nEND\r\n";
    fields.m_episodeType = 2;
    fields.m_levelKind = 1;
    fields.m_lightPower = 3;
    fields.m_darkPower = 8;
    fields.m_startCogOn = 1;
    fields.m_goalsCogOn = 1;
    return fields;
}

class QzEditDocTest : public AppTest {
protected:
    fs::path WriteArchive(const std::string& name, CQzlSections level,
                          const CDocumentFields& fields = OtherFields())
    {
        const fs::path path = Temp() / name;
        SaveQzeFile(path, level, fields);
        return path;
    }

    fs::path WriteTextLevel(const std::string& name, CQzlSections level)
    {
        const fs::path path = Temp() / name;
        SaveQzlFile(path, level, CGameResources{}, 0);
        return path;
    }

    CQzEditDoc* Open(const fs::path& path) { return m_app->OpenDocumentFile(Q(path)); }

    // Lets the documents and windows that were closed go.
    static void Settle() { QApplication::processEvents(); }
};

TEST_F(QzEditDocTest, NewDocumentHasTheDefaultFieldsAndCommands)
{
    MakeApp();
    m_app->m_settings.m_renderMode = 3;
    m_app->m_settings.m_lightMode = 0;
    CQzEditDoc doc(*m_app);

    EXPECT_EQ(doc.m_fields, DefaultDocumentFields());
    EXPECT_STREQ(CQzEditDoc::kDefaultMessageText,
                 "MSGS 4\r\n\"QZEDIT\"\t\t\t0\t\"Testing Custom Level\"\r\n"
                 "\"QZEDIT_TEXT_00\"\t0\t\"^Objectives\"\r\n"
                 "\"QZEDIT_TEXT_01\"\t0\t\"Mission Description.\"\r\n"
                 "\"GOAL_01000\"\t\t0\t\"Goal Description.\"\r\nEND\r\n");
    EXPECT_EQ(doc.m_state.m_renderMode, 3);
    EXPECT_EQ(doc.m_state.m_lightMode, 0);
    EXPECT_EQ(doc.m_propertyViewId, PropertyView::kSurface);
    EXPECT_EQ(doc.m_pEngine, nullptr);
    EXPECT_TRUE(doc.m_level->m_sectors.empty());
    EXPECT_TRUE(doc.m_level->m_gameTag.empty());
    EXPECT_FALSE(doc.IsModified());
    for (const int id : {Cmd::kFileClose, Cmd::kFileSave, Cmd::kFileSaveAs})
        EXPECT_TRUE(doc.HandlesCommand(id)) << id;
}

TEST_F(QzEditDocTest, OpenChoosesTheReaderByTheFilesContent)
{
    MakeApp();
    fs::create_directory(Temp() / "levels.qzl");
    struct Case {
        const char* name;
        bool textLevel;  // written as the game's text level, else in the archive form
    };
    // Whatever the name, the content decides.
    const Case cases[] = {
        {"room.qzl", true},        {"ROOM2.QZL", true},          {"backup.qzl.bak", true},
        {"backup.qze.bak", false}, {"levels.qzl/inside", false}, {"room.qze", false},
        {"noextension", false},    {"textnoextension", true},    {"room.tmp", false},
        {"archive.qzl", false},    {"text.qze", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path path = c.textLevel ? WriteTextLevel(c.name, MakeTwoJoinedRooms())
                                          : WriteArchive(c.name, MakeTwoJoinedRooms());
        m_messages.clear();
        CQzEditDoc* doc = Open(path);
        ASSERT_NE(doc, nullptr) << m_messages.join(QLatin1Char('\n')).toStdString();
        EXPECT_TRUE(m_messages.isEmpty());
        EXPECT_EQ(doc->m_level->m_sectors.size(), 2u);
        EXPECT_EQ(doc->m_level->m_gameTag, "QZ");
        EXPECT_EQ(doc->PathName(), Q(fs::absolute(path)));
        EXPECT_FALSE(doc->IsModified());
        // The archive form brings its episode fields; the text level has none.
        EXPECT_EQ(doc->m_fields.m_episodeTitle, c.textLevel ? "QzEdit Level" : "The Pit");
        // After every load the start and goals cogs are there.
        EXPECT_TRUE(HasCog(*doc->m_level, kStartCogScript));
        EXPECT_TRUE(HasCog(*doc->m_level, kGoalsCogScript));
    }
}

TEST_F(QzEditDocTest, StartAndGoalsCogsFollowTheFileSwitchesAfterLoad)
{
    MakeApp();
    CQzlSections level = MakeBoxRoom();
    level.m_cogs.push_back(std::make_unique<CQzlCog>(kStartCogScript));
    level.m_cogScripts = {kStartCogScript};
    CDocumentFields fields = OtherFields();
    fields.m_startCogOn = 0;
    fields.m_goalsCogOn = 1;
    CQzEditDoc* doc = Open(WriteArchive("switches.qze", std::move(level), fields));
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(HasCog(*doc->m_level, kStartCogScript));
    EXPECT_TRUE(HasCog(*doc->m_level, kGoalsCogScript));
    EXPECT_EQ(doc->m_level->m_cogScripts, std::vector<std::string>{kGoalsCogScript});
}

TEST_F(QzEditDocTest, ArchiveFormRoundTripKeepsTheLevelAndTheEpisodeFields)
{
    MakeApp();
    CQzEditDoc* doc = Open(WriteArchive("first.qze", MakeLCorridor()));
    ASSERT_NE(doc, nullptr);
    doc->m_fields.m_levelKind = 2;
    const fs::path copy = Temp() / "copy.qze";
    ASSERT_TRUE(doc->SaveAs(Q(copy)));

    const CQzeContents back = LoadQzeFile(copy);
    EXPECT_EQ(back.m_version, 5);
    EXPECT_EQ(back.m_document, doc->m_fields);
    EXPECT_EQ(back.m_document.m_episodeTitle, "The Pit");
    EXPECT_EQ(back.m_level.m_sectors.size(), 3u);
    EXPECT_EQ(back.m_level.m_worldVertices, doc->m_level->m_worldVertices);
    EXPECT_EQ(back.m_level.m_adjoins.size(), doc->m_level->m_adjoins.size());
    EXPECT_TRUE(ValidateLevel(back.m_level).empty());
}

// Files before version 3 end with the level; whatever follows it is not read.
TEST_F(QzEditDocTest, OldArchiveFormKeepsTheDefaultEpisodeFields)
{
    MakeApp();
    struct Case {
        char version;
        bool fieldsRead;
    };
    for (const Case c : {Case{'2', false}, Case{'3', true}, Case{'5', true}}) {
        SCOPED_TRACE(c.version);
        // A level without surfaces needs no conversion of older versions.
        CQzlSections level = MakeEmptyLevel();
        std::vector<std::uint8_t> bytes = WriteQzeBytes(level, OtherFields());
        ASSERT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 4), "QZ5");
        bytes[3] = static_cast<std::uint8_t>(c.version);
        const fs::path path = Temp() / (std::string("v") + c.version + ".qze");
        WriteFileAtomic(path, bytes);

        CQzEditDoc* doc = Open(path);
        ASSERT_NE(doc, nullptr);
        EXPECT_EQ(doc->m_fields, c.fieldsRead ? OtherFields() : DefaultDocumentFields());
        // The level arrived (the game's resource lists may add the materials of models).
        ASSERT_GE(doc->m_level->m_materials.size(), 1u);
        EXPECT_EQ(doc->m_level->m_materials[0]->m_name, level.m_materials[0]->m_name);
    }
}

TEST_F(QzEditDocTest, NewReadsTheNewLevelFileOfTheProduct)
{
    MakeApp();
    CDocumentFields korvath = OtherFields();
    korvath.m_episodeTitle = "Korvath room";
    CDocumentFields varnok = OtherFields();
    varnok.m_episodeTitle = "Varnok rooms";
    CQzlSections one = MakeBoxRoom();
    CQzlSections two = MakeTwoJoinedRooms();
    SaveQzeFile(ProgramDir() / "new.qze", one, korvath);
    SaveQzeFile(ProgramDir() / "newvarnok.qze", two, varnok);

    m_app->m_settings.m_product = 0;
    CQzEditDoc* base = m_app->NewDocument();
    EXPECT_EQ(base->m_fields.m_episodeTitle, "Korvath room");
    EXPECT_EQ(base->m_level->m_sectors.size(), 1u);
    EXPECT_TRUE(HasCog(*base->m_level, kStartCogScript));
    EXPECT_FALSE(base->IsModified());
    EXPECT_TRUE(base->PathName().isEmpty());

    m_app->m_settings.m_product = 1;
    CQzEditDoc* expansion = m_app->NewDocument();
    EXPECT_EQ(expansion->m_fields.m_episodeTitle, "Varnok rooms");
    EXPECT_EQ(expansion->m_level->m_sectors.size(), 2u);

    // Without the file, or with a damaged one: the empty level, the default fields, no message.
    fs::remove(ProgramDir() / "newvarnok.qze");
    WriteText(ProgramDir() / "new.qze", std::string("\x03QZ5garbage", 11));
    for (const int product : {0, 1}) {
        SCOPED_TRACE(product);
        m_app->m_settings.m_product = product;
        CQzEditDoc* doc = m_app->NewDocument();
        ASSERT_NE(doc, nullptr);
        EXPECT_TRUE(doc->m_level->m_sectors.empty());
        EXPECT_TRUE(doc->m_level->m_cogs.empty());
        EXPECT_EQ(doc->m_fields, DefaultDocumentFields());
    }
    EXPECT_TRUE(m_messages.isEmpty());
}

// The new-level files that ship in the program folder.
TEST_F(QzEditDocTest, ShippedNewLevelsArePlayableRooms)
{
    MakeApp();
    for (const int product : {0, 1}) {
        SCOPED_TRACE(product);
        m_app->m_settings.m_product = product;
        CQzEditDoc* doc = m_app->NewDocument();
        ASSERT_NE(doc, nullptr);
        const CQzlSections& level = *doc->m_level;
        EXPECT_FALSE(level.m_gameTag.empty());  // the 3D view makes its engine only then
        EXPECT_TRUE(ValidateLevel(level).empty());
        ASSERT_EQ(level.m_sectors.size(), 1u);
        EXPECT_EQ(level.m_sectors[0]->m_surfaces.size(), 6u);
        const auto start =
            std::find_if(level.m_things.begin(), level.m_things.end(),
                         [](const auto& thing) { return thing->m_name == "walkplayer"; });
        ASSERT_NE(start, level.m_things.end());
        EXPECT_EQ((*start)->m_sector, 0);
        EXPECT_EQ(doc->m_fields, DefaultDocumentFields());
        EXPECT_TRUE(HasCog(level, kStartCogScript));
        EXPECT_TRUE(HasCog(level, kGoalsCogScript));
        // Every material the room uses is in the product's game (the materials of the player's
        // model come from the models' folder).
        const std::unique_ptr<CSyntheticGame> game = MakeSyntheticGame(product);
        for (const auto& material : level.m_materials) {
            int position = 0;
            EXPECT_TRUE(game->m_resources.m_treeMaterials.Find(material->m_name, position) == 1 ||
                        game->m_resources.m_tree3do.Find(material->m_name, position) == 1)
                << material->m_name;
        }
    }
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QLatin1Char('\n')).toStdString();
}

TEST_F(QzEditDocTest, SaveAsMakesArchiveFilesThePathAndKeepsItForTextExports)
{
    MakeApp();
    CQzEditDoc* doc = Open(WriteArchive("a.qze", MakeBoxRoom()));
    ASSERT_NE(doc, nullptr);
    const QString original = doc->PathName();
    doc->SetModifiedFlag(true);

    // A text export: path, title, modified flag and recent files stay.
    const QStringList recent = m_app->RecentFiles();
    ASSERT_TRUE(doc->SaveAs(Q(Temp() / "export.qzl")));
    // The export holds the level: its rooms, walls and corners, and a valid level.
    const CQzlSections exported = LoadQzlFile(Temp() / "export.qzl", 0);
    EXPECT_EQ(exported.m_sectors.size(), doc->m_level->m_sectors.size());
    EXPECT_EQ(exported.m_surfaces.size(), doc->m_level->m_surfaces.size());
    EXPECT_EQ(exported.m_worldVertices.size(), doc->m_level->m_worldVertices.size());
    EXPECT_TRUE(ValidateLevel(exported).empty());
    EXPECT_EQ(doc->PathName(), original);
    EXPECT_EQ(doc->Title(), QStringLiteral("a.qze"));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(m_app->RecentFiles(), recent);

    // The archive form through the dialog: a name typed without extension gets ".qze".
    m_fileAnswers.push_back(Q(Temp() / "b"));
    doc->OnCommand(Cmd::kFileSaveAs);
    ASSERT_EQ(m_fileDialogs, QStringList{QStringLiteral("Save As")});
    const QString saved = Q(Temp() / "b.qze");
    EXPECT_TRUE(fs::exists(Temp() / "b.qze"));
    EXPECT_EQ(doc->PathName(), saved);
    EXPECT_EQ(doc->Title(), QStringLiteral("b.qze"));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(m_app->RecentFiles().value(0), saved);

    // Cancel writes nothing.
    doc->SetModifiedFlag(true);
    doc->OnCommand(Cmd::kFileSaveAs);
    EXPECT_EQ(doc->PathName(), saved);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(QzEditDocTest, SaveWritesTheTypeOfTheDocumentsPath)
{
    MakeApp();
    CQzEditDoc* text = Open(WriteTextLevel("room.qzl", MakeTwoJoinedRooms()));
    ASSERT_NE(text, nullptr);
    text->m_level->m_sectors[1]->m_ambientLight = 0.25f;
    text->SetModifiedFlag(true);
    EXPECT_TRUE(text->OnCommand(Cmd::kFileSave));
    // The text level again, to the same file; the export leaves the document modified.
    EXPECT_FLOAT_EQ(LoadQzlFile(Temp() / "room.qzl", 0).m_sectors[1]->m_ambientLight, 0.25f);
    EXPECT_TRUE(text->IsModified());

    // An untitled document asks for a name.
    CQzEditDoc* untitled = m_app->NewDocument();
    untitled->SetModifiedFlag(true);
    m_fileAnswers.push_back(Q(Temp() / "named.qze"));
    EXPECT_TRUE(untitled->DoFileSave());
    EXPECT_EQ(m_fileDialogs.size(), 1);
    EXPECT_EQ(untitled->PathName(), Q(Temp() / "named.qze"));
    EXPECT_FALSE(untitled->IsModified());
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(QzEditDocTest, AFailedSaveKeepsTheFileThatWasThereAndSaysSo)
{
    MakeApp();
    CQzEditDoc* doc = Open(WriteArchive("doc.qze", MakeBoxRoom()));
    ASSERT_NE(doc, nullptr);
    doc->SetModifiedFlag(true);

    // A level the text writer refuses (a sector lists a surface the level lacks).
    const fs::path oldText = Temp() / "old.qzl";
    WriteText(oldText, "keep me");
    doc->m_level->m_sectors[0]->m_surfaces.push_back(99);
    EXPECT_FALSE(doc->SaveAs(Q(oldText)));
    EXPECT_EQ(ReadText(oldText), "keep me");
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_messages[0].startsWith(QStringLiteral("Cannot save \"")))
        << m_messages[0].toStdString();
    doc->m_level->m_sectors[0]->m_surfaces.pop_back();

    // A folder that cannot be written.
    const fs::path locked = Temp() / "locked";
    fs::create_directory(locked);
    const fs::path oldArchive = locked / "old.qze";
    WriteText(oldArchive, "keep me too");
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    const bool writable = std::ofstream(locked / "probe").is_open();
    // Permissions do not stop the super user: a "folder" that is a file then.
    const fs::path target = writable ? Temp() / "doc.qze" / "x.qze" : oldArchive;
    m_messages.clear();
    EXPECT_FALSE(doc->SaveAs(Q(target)));
    EXPECT_EQ(m_messages.size(), 1);
    EXPECT_EQ(ReadText(oldArchive), "keep me too");
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->PathName(), Q(Temp() / "doc.qze"));
    fs::permissions(locked, fs::perms::owner_all);
}

TEST_F(QzEditDocTest, ADamagedFileGivesAMessageAndLeavesTheOpenDocumentsAlone)
{
    MakeApp();
    CQzEditDoc* open = Open(WriteArchive("good.qze", MakeTwoJoinedRooms()));
    ASSERT_NE(open, nullptr);
    open->SetModifiedFlag(true);
    open->m_level->m_sectors[0]->m_ambientLight = 0.75f;

    CQzlSections room = MakeLCorridor();
    const std::vector<std::uint8_t> good = WriteQzeBytes(room, OtherFields());
    const std::vector<std::uint8_t> truncated(
        good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 2));
    WriteFileAtomic(Temp() / "truncated.qze", truncated);
    WriteText(Temp() / "garbage.qze", "this is not a level");
    WriteText(Temp() / "garbage.qzl", "SECTION: GEORESOURCE\nWorld vertices 99999999\n");
    WriteText(Temp() / "archive.gob", "GOB");

    for (const char* name :
         {"truncated.qze", "garbage.qze", "garbage.qzl", "missing.qze", "archive.gob"}) {
        SCOPED_TRACE(name);
        m_messages.clear();
        EXPECT_EQ(Open(Temp() / name), nullptr);
        ASSERT_EQ(m_messages.size(), 1);
        EXPECT_TRUE(m_messages[0].contains(QString::fromLatin1(name)))
            << m_messages[0].toStdString();
        ASSERT_EQ(m_app->Documents().size(), 1u);
        EXPECT_EQ(m_app->Documents()[0], open);
        EXPECT_EQ(open->m_level->m_sectors.size(), 2u);
        EXPECT_FLOAT_EQ(open->m_level->m_sectors[0]->m_ambientLight, 0.75f);
        EXPECT_TRUE(open->IsModified());
        EXPECT_EQ(open->PathName(), Q(Temp() / "good.qze"));
    }
}

// A row of count box rooms along x, each 1 wide, 1.5 high and 2 deep.
CQzlSections MakeRowOfRooms(int count)
{
    CQzlSections level = MakeEmptyLevel();
    for (int i = 0; i < count; ++i)
        AddBoxSector(level, {static_cast<float>(i), 0.0f, 0.0f},
                     {static_cast<float>(i) + 1.0f, 1.5f, 2.0f});
    FinishFixture(level);
    return level;
}

// The middle of a surface's corners.
CVector3 Centroid(const CQzlSections& level, int surface)
{
    const auto& corners = level.m_surfaces[static_cast<std::size_t>(surface)]->m_vertices;
    CVector3 sum;
    for (const CQzlVertex& c : corners) {
        const CWorldVertex& w = level.m_worldVertices[static_cast<std::size_t>(c.m_worldVertex)];
        sum = sum + CVector3(w.x, w.y, w.z);
    }
    return sum * (1.0f / static_cast<float>(corners.size()));
}

TEST_F(QzEditDocTest, ATextLevelCutShortIsRefusedAndLeftAsItIs)
{
    MakeApp();
    CQzEditDoc* open = Open(WriteArchive("open.qze", MakeTwoJoinedRooms()));
    ASSERT_NE(open, nullptr);
    open->SetModifiedFlag(true);

    const std::string whole = ReadText(WriteTextLevel("whole.qzl", MakeRowOfRooms(20)));
    // Cut at 80 %, and a copy whose sectors stop after 6 of 20, the sections after them whole.
    const std::string cut = whole.substr(0, whole.size() * 4 / 5);
    const std::size_t seventh = whole.find("\n\nSECTOR    6\n");
    const std::size_t afterSectors = whole.find("\n######### AI Classes");
    ASSERT_NE(seventh, std::string::npos);
    const std::string shortSectors = whole.substr(0, seventh) + whole.substr(afterSectors);
    const struct {
        const char* name;
        std::string text;
        QString reason;
    } cases[] = {
        {"cut.qzl", cut,
         QStringLiteral("The file ends inside the SECTORS section: 5 of 20 sectors.")},
        {"short.qzl", shortSectors,
         QStringLiteral("The SECTORS section ends early: 6 of 20 sectors.")},
        {"cut.qzl.bak", cut,
         QStringLiteral("The file ends inside the SECTORS section: 5 of 20 sectors.")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path path = Temp() / c.name;
        WriteText(path, c.text);
        m_messages.clear();
        EXPECT_EQ(Open(path), nullptr);
        EXPECT_EQ(m_messages.join(QLatin1Char('|')).toStdString(),
                  QStringLiteral("Cannot open \"%1\".\n\n%2")
                      .arg(QDir::toNativeSeparators(Q(path)), c.reason)
                      .toStdString());
        // Nothing opened, nothing written, the open document as it was.
        EXPECT_EQ(ReadText(path), c.text);
        EXPECT_EQ(m_app->Documents(), std::vector<CQzEditDoc*>{open});
        EXPECT_EQ(open->m_level->m_sectors.size(), 2u);
        EXPECT_TRUE(open->IsModified());
    }
    // The whole file opens.
    CQzEditDoc* doc = Open(Temp() / "whole.qzl");
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->m_level->m_sectors.size(), 20u);
}

TEST_F(QzEditDocTest, OnlyRegularFilesOpen)
{
    MakeApp();
    const fs::path folder = Temp() / "folder.qze";
    fs::create_directory(folder);
    const fs::path pipe = Temp() / "pipe.qzl";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);

    EXPECT_EQ(Open(folder), nullptr);
    EXPECT_EQ(Open(pipe), nullptr);
    // Dropped on the main window.
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(Q(folder))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_app->m_pMainFrame, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_app->m_pMainFrame, &drop);

    const QString isFolder = QStringLiteral("Cannot open \"%1\": it is a folder, not a file.")
                                 .arg(QDir::toNativeSeparators(Q(folder)));
    EXPECT_EQ(m_messages.join(QLatin1Char('|')).toStdString(),
              (QStringList{isFolder,
                           QStringLiteral("Cannot open \"%1\": it is not a regular file.")
                               .arg(QDir::toNativeSeparators(Q(pipe))),
                           isFolder})
                  .join(QLatin1Char('|'))
                  .toStdString());
    EXPECT_TRUE(m_app->Documents().empty());
}

TEST_F(QzEditDocTest, ARecentFileThatNoLongerOpensLeavesTheList)
{
    MakeApp();
    const QString good = Q(WriteArchive("good.qze", MakeBoxRoom()));
    const QString gone = Q(Temp() / "gone.qze");
    const QString nowAFolder = Q(Temp() / "became-a-folder.qze");
    fs::create_directory(Temp() / "became-a-folder.qze");
    for (const QString& path : {good, gone, nowAFolder})
        m_app->AddToRecentFileList(path);
    ASSERT_EQ(m_app->RecentFiles(), (QStringList{nowAFolder, gone, good}));

    EXPECT_TRUE(m_app->OnCommand(57616));  // the folder
    EXPECT_EQ(m_app->RecentFiles(), (QStringList{gone, good}));
    EXPECT_TRUE(m_app->OnCommand(57616));  // the missing file
    EXPECT_EQ(m_app->RecentFiles(), QStringList{good});
    EXPECT_EQ(m_messages.size(), 2);
    EXPECT_TRUE(m_app->Documents().empty());
    // One that opens stays.
    EXPECT_TRUE(m_app->OnCommand(57616));
    EXPECT_EQ(m_app->RecentFiles(), QStringList{good});
    EXPECT_EQ(m_app->Documents().size(), 1u);
}

TEST_F(QzEditDocTest, SavingThroughALinkWritesItsFileWithItsPermissions)
{
    MakeApp();
    fs::create_directory(Temp() / "store");
    const fs::path archive = WriteArchive("store/level.qze", MakeBoxRoom());
    const fs::path text = WriteTextLevel("store/level.qzl", MakeBoxRoom());
    fs::permissions(archive,
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::permissions(text, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(archive, Temp() / "link.qze");
    fs::create_symlink("store/level.qzl", Temp() / "link.qzl");

    for (const char* link : {"link.qze", "link.qzl"}) {
        SCOPED_TRACE(link);
        CQzEditDoc* doc = Open(Temp() / link);
        ASSERT_NE(doc, nullptr);
        doc->m_level->m_sectors[0]->m_ambientLight = 0.5f;
        doc->SetModifiedFlag(true);
        EXPECT_TRUE(doc->OnCommand(57603));
        EXPECT_TRUE(fs::is_symlink(Temp() / link));
        const fs::path target = fs::canonical(Temp() / link);
        EXPECT_EQ(target.parent_path(), fs::canonical(Temp() / "store"));
        EXPECT_FLOAT_EQ(LoadLevelFile(target, 0).m_contents.m_level.m_sectors[0]->m_ambientLight,
                        0.5f);
    }
    EXPECT_EQ(fs::status(archive).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(fs::status(text).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QLatin1Char('\n')).toStdString();
}

// A door cog names surface 7 (a wall of the room that is sector 0); the level lists its sectors'
// surfaces out of sector order, so the text export must renumber them.
TEST_F(QzEditDocTest, ATextExportKeepsCogsOnTheirSurfaces)
{
    MakeApp();
    const auto makeLevel = [] {
        CQzlSections level = MakeTwoJoinedRooms();
        std::swap(level.m_sectors[0], level.m_sectors[1]);  // sector 0 lists 6..11, 1 lists 0..5
        auto cog = std::make_unique<CQzlCog>("door.cog");
        cog->m_values = {"7", "0"};
        level.m_cogs.push_back(std::move(cog));
        return level;
    };
    const CVector3 door = Centroid(makeLevel(), 7);

    for (const bool gameSetUp : {true, false}) {
        SCOPED_TRACE(gameSetUp);
        if (!gameSetUp)
            m_app->m_product.m_resources.m_treeCogs.m_entries.clear();  // the stock script is gone
        CQzEditDoc* doc = Open(WriteArchive(gameSetUp ? "game.qze" : "nogame.qze", makeLevel()));
        ASSERT_NE(doc, nullptr);
        const fs::path out = Temp() / (gameSetUp ? "game.qzl" : "nogame.qzl");
        ASSERT_TRUE(doc->SaveAs(Q(out)));

        const CQzlSections back = LoadQzlFile(out, 0);
        const auto it = std::find_if(back.m_cogs.begin(), back.m_cogs.end(),
                                     [](const auto& c) { return c->m_script == "DOOR.COG"; });
        ASSERT_NE(it, back.m_cogs.end());
        const int named = std::stoi((*it)->m_values.at(0));
        EXPECT_EQ(Centroid(back, named), door) << "the cog names surface " << named;
        const QString status = m_app->m_pMainFrame->statusBar()->currentMessage();
        if (gameSetUp) {
            EXPECT_EQ(named, 1);  // renumbered with the game's script
        } else {
            EXPECT_EQ(named, 7);
            EXPECT_TRUE(status.contains(QStringLiteral("kept their order")))
                << status.toStdString();
        }
        EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QLatin1Char('\n')).toStdString();
        EXPECT_TRUE(doc->OnCloseDocument());
    }
}

// The .qzl save recomputes the collide boxes the game uses.
TEST_F(QzEditDocTest, ATextExportCarriesFreshCollideBoxes)
{
    MakeApp();
    CQzlSections level = MakeRowOfRooms(2);
    for (auto& sector : level.m_sectors)
        sector->m_flags = 0x1000;
    CQzEditDoc* doc = Open(WriteArchive("boxes.qze", std::move(level)));
    ASSERT_NE(doc, nullptr);
    CQzlSections& L = *doc->m_level;
    // Sector 0's ceiling goes from 1.5 to 3; sector 1 loses its floor (no box can be made).
    for (std::size_t w = 0; w < 8; ++w)
        if (L.m_worldVertices[w].y == 1.5f)
            L.m_worldVertices[w].y = 3.0f;
    std::erase(L.m_sectors[1]->m_surfaces, BoxSurface(L, 1, kBoxFloor));
    ASSERT_TRUE(doc->SaveAs(Q(Temp() / "boxes.qzl")));

    const std::string text = ReadText(Temp() / "boxes.qzl");
    const CQzlSections back = LoadQzlFile(Temp() / "boxes.qzl", 0);
    ASSERT_EQ(back.m_sectors.size(), 2u);
    EXPECT_EQ(back.m_sectors[0]->m_flags, 0x1000u);
    EXPECT_NEAR(back.m_sectors[0]->m_collideBox.max.y, 3.0f, 1e-4f);
    EXPECT_NEAR(back.m_sectors[0]->m_collideBox.min.y, 0.0f, 1e-4f);
    EXPECT_EQ(back.m_sectors[1]->m_flags, 0u);
    // One COLLIDEBOX line: sector 0's.
    EXPECT_EQ(text.find("COLLIDEBOX"), text.rfind("COLLIDEBOX"));
}

// A level without a game tag (a document that was never filled) is written with the product's
// tag and opens again.
TEST_F(QzEditDocTest, ATextExportWithoutAGameTagOpensAgain)
{
    MakeApp();
    CQzEditDoc* doc = m_app->NewDocument();
    *doc->m_level = MakeBoxRoom();
    doc->m_level->m_gameTag.clear();
    ASSERT_TRUE(doc->SaveAs(Q(Temp() / "untagged.qzl")));
    CQzEditDoc* back = Open(Temp() / "untagged.qzl");
    ASSERT_NE(back, nullptr) << m_messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(back->m_level->m_sectors.size(), 1u);
}

TEST_F(QzEditDocTest, FileDialogsStartInTheDocumentsFolder)
{
    MakeApp();
    std::vector<CFileDialogRequest> requests;
    std::deque<std::pair<QString, int>> answers;  // path and filter chosen
    const CFileDialogHook old = SetFileDialogHook([&](CFileDialogRequest& request) {
        requests.push_back(request);
        if (answers.empty())
            return QString();
        const auto [path, filter] = answers.front();
        answers.pop_front();
        request.chosenFilter = filter;
        return path;
    });
    fs::create_directories(Temp() / "a" / "b");
    CQzEditDoc* doc = Open(WriteArchive("a/b/level.qze", MakeBoxRoom()));
    ASSERT_NE(doc, nullptr);
    const QString folderB = Q(Temp() / "a" / "b");

    // Save As of a document with a file: its folder. The text-level filter (the third) gives a
    // bare name ".qzl", the archive filter ".qze".
    answers.push_back({Q(Temp() / "a" / "bare"), 2});
    doc->OnCommand(57604);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_TRUE(requests[0].save);
    EXPECT_EQ(requests[0].folder, folderB);
    EXPECT_NO_THROW(LoadQzlFile(Temp() / "a" / "bare.qzl", 0));
    answers.push_back({Q(Temp() / "a" / "plain"), 0});
    doc->OnCommand(57604);
    EXPECT_NO_THROW(LoadQzeFile(Temp() / "a" / "plain.qze"));
    EXPECT_EQ(doc->PathName(), Q(Temp() / "a" / "plain.qze"));

    // Open: the active document's folder, now "a".
    m_app->m_pMainFrame->MdiArea()->setActiveSubWindow(doc->Frame());
    m_app->OnCommand(57601);
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_FALSE(requests[2].save);
    EXPECT_EQ(requests[2].folder, Q(Temp() / "a"));

    // An untitled document: the folder of the file chosen last.
    CQzEditDoc* untitled = m_app->NewDocument();
    answers.push_back({Q(Temp() / "a" / "b" / "named.qze"), 0});
    untitled->OnCommand(57604);
    m_app->m_pMainFrame->MdiArea()->setActiveSubWindow(untitled->Frame());
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[3].folder, Q(Temp() / "a"));
    CQzEditDoc* another = m_app->NewDocument();
    another->OnCommand(57604);
    ASSERT_EQ(requests.size(), 5u);
    EXPECT_EQ(requests[4].folder, folderB);
    SetFileDialogHook(old);
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QLatin1Char('\n')).toStdString();
}

TEST_F(QzEditDocTest, AutosaveKeepsTheModifiedFlagAndThePath)
{
    MakeApp();
    fs::create_directory(Temp() / "levels");
    CQzEditDoc* doc = Open(WriteArchive("levels/my.level.qze", MakeBoxRoom()));
    ASSERT_NE(doc, nullptr);
    doc->SetModifiedFlag(true);
    const QStringList recent = m_app->RecentFiles();

    doc->m_autosavePath = doc->MakeAutosavePath();
    EXPECT_EQ(doc->m_autosavePath, Q(Temp() / "levels" / "my.level.tmp"));
    ASSERT_TRUE(doc->SaveAutosave());
    EXPECT_EQ(LoadQzeFile(Temp() / "levels" / "my.level.tmp").m_level.m_sectors.size(), 1u);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->PathName(), Q(Temp() / "levels" / "my.level.qze"));
    EXPECT_EQ(doc->Title(), QStringLiteral("my.level.qze"));
    EXPECT_EQ(m_app->RecentFiles(), recent);

    // So closing still asks about the unsaved edits; No closes and the autosave file goes.
    m_answers.push_back(QMessageBox::No);
    EXPECT_TRUE(doc->OnCloseDocument());
    EXPECT_EQ(m_messages, QStringList{QStringLiteral("Save changes to my.level.qze?")});
    EXPECT_FALSE(fs::exists(Temp() / "levels" / "my.level.tmp"));
    EXPECT_FALSE(Contains(m_app->Documents(), doc));
    Settle();
}

TEST_F(QzEditDocTest, CloseWritesTheViewSettingsAndDeletesOnlyItsAutosaveFile)
{
    MakeApp();
    CQzEditDoc* saved = Open(WriteArchive("saved.qze", MakeBoxRoom()));
    CQzEditDoc* never = Open(WriteArchive("never.qze", MakeBoxRoom()));
    ASSERT_NE(saved, nullptr);
    ASSERT_NE(never, nullptr);
    saved->m_autosavePath = saved->MakeAutosavePath();
    ASSERT_TRUE(saved->SaveAutosave());
    ASSERT_TRUE(fs::exists(Temp() / "saved.tmp"));
    WriteText(Temp() / "never.tmp", "someone else's");

    saved->m_state.m_renderMode = 4;
    saved->m_state.m_lightMode = 0;
    EXPECT_TRUE(saved->OnCommand(Cmd::kFileClose));
    EXPECT_FALSE(fs::exists(Temp() / "saved.tmp"));
    EXPECT_EQ(m_app->m_settings.m_renderMode, 4);
    EXPECT_EQ(m_app->m_settings.m_lightMode, 0);
    EXPECT_EQ(m_app->Documents(), std::vector<CQzEditDoc*>{never});

    EXPECT_TRUE(never->OnCloseDocument());
    EXPECT_EQ(ReadText(Temp() / "never.tmp"), "someone else's");
    EXPECT_TRUE(m_app->Documents().empty());
    EXPECT_TRUE(m_messages.isEmpty());
    Settle();
}

// The close box of the document window asks the document, which then takes the window away.
TEST_F(QzEditDocTest, ClosingTheWindowClosesTheDocument)
{
    MakeApp();
    CQzEditDoc* doc = m_app->NewDocument();
    const QPointer<CChildFrame> frame = doc->Frame();
    ASSERT_FALSE(frame.isNull());

    doc->SetModifiedFlag(true);
    m_answers = {QMessageBox::Cancel};
    frame->close();
    Settle();
    EXPECT_FALSE(frame.isNull());
    EXPECT_TRUE(Contains(m_app->Documents(), doc));

    m_answers = {QMessageBox::No};
    frame->close();
    EXPECT_FALSE(Contains(m_app->Documents(), doc));
    Settle();
    EXPECT_TRUE(frame.isNull());
    EXPECT_EQ(m_messages.size(), 2);
}

TEST_F(QzEditDocTest, CloseAsksAboutUnsavedChanges)
{
    MakeApp();
    struct Case {
        QMessageBox::StandardButton answer;
        bool named;  // the file dialog of an untitled document gives a name
        bool closes;
        bool saves;
    };
    const Case cases[] = {
        {QMessageBox::Yes, true, true, true},
        {QMessageBox::Yes, false, false, false},  // Save As cancelled
        {QMessageBox::No, false, true, false},
        {QMessageBox::Cancel, false, false, false},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(n);
        const fs::path target = Temp() / ("closed" + std::to_string(n++) + ".qze");
        CQzEditDoc* doc = m_app->NewDocument();
        doc->SetModifiedFlag(true);
        m_messages.clear();
        m_answers = {c.answer};
        m_fileAnswers.clear();
        if (c.named)
            m_fileAnswers.push_back(Q(target));
        const QString question = QStringLiteral("Save changes to %1?").arg(doc->Title());
        EXPECT_EQ(doc->OnCloseDocument(), c.closes);
        EXPECT_EQ(m_messages.value(0), question);
        EXPECT_EQ(Contains(m_app->Documents(), doc), !c.closes);
        EXPECT_EQ(fs::exists(target), c.saves);
    }

    // The main frame asks every document first and closes them afterwards: one question each.
    CQzEditDoc* doc = m_app->NewDocument();
    doc->SetModifiedFlag(true);
    m_messages.clear();
    m_answers = {QMessageBox::No};
    EXPECT_TRUE(doc->SaveModified());
    EXPECT_TRUE(doc->OnCloseDocument());
    EXPECT_EQ(m_messages.size(), 1);
    Settle();
}

TEST_F(QzEditDocTest, EveryDocumentHasAnAutosaveFileOfItsOwn)
{
    MakeApp();
    const QString oldCurrent = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(Q(Temp())));

    // Untitled documents: their titles, in the current folder.
    CQzEditDoc* first = m_app->NewDocument();
    CQzEditDoc* second = m_app->NewDocument();
    first->m_autosavePath = first->MakeAutosavePath();
    second->m_autosavePath = second->MakeAutosavePath();
    EXPECT_NE(first->m_autosavePath, second->m_autosavePath);
    EXPECT_EQ(first->m_autosavePath, QDir::current().filePath(first->Title() + ".tmp"));
    ASSERT_TRUE(first->SaveAutosave());
    ASSERT_TRUE(second->SaveAutosave());

    // Two files of one name in one folder: the second gets a number.
    CQzEditDoc* archive = Open(WriteArchive("twin.qze", MakeBoxRoom()));
    CQzEditDoc* text = Open(WriteTextLevel("twin.qzl", MakeBoxRoom()));
    ASSERT_NE(archive, nullptr);
    ASSERT_NE(text, nullptr);
    archive->m_autosavePath = archive->MakeAutosavePath();
    text->m_autosavePath = text->MakeAutosavePath();
    EXPECT_EQ(archive->m_autosavePath, Q(Temp() / "twin.tmp"));
    EXPECT_EQ(text->m_autosavePath, Q(Temp() / "twin-2.tmp"));

    // A document whose own file ends in ".tmp" never autosaves over itself.
    CQzEditDoc* tmp = Open(WriteArchive("own.tmp", MakeBoxRoom()));
    ASSERT_NE(tmp, nullptr);
    EXPECT_EQ(tmp->MakeAutosavePath(), Q(Temp() / "own-2.tmp"));

    // A file without an extension.
    CQzEditDoc* bare = Open(WriteArchive("bare", MakeBoxRoom()));
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(bare->MakeAutosavePath(), Q(Temp() / "bare.tmp"));

    EXPECT_TRUE(QDir::setCurrent(oldCurrent));
}

}  // namespace
