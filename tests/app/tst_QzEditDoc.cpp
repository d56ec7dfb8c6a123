// The document: its fields, New, Open and Save by file type, Save As, autosave and close.

#include "AppTestSupport.h"

#include "SyntheticGame.h"
#include "app/ChildFrame.h"
#include "app/QzEditDoc.h"
#include "episode/StartGoalsCogs.h"
#include "framework/FileIO.h"
#include "level/GameResources.h"
#include "level/LevelValidator.h"
#include "level/QzeFile.h"
#include "level/QzlReader.h"
#include "level/QzlWriter.h"
#include "support/FixtureLevels.h"

#include <QApplication>
#include <QDir>
#include <QPointer>

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
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
    EXPECT_EQ(doc.m_propertyViewId, 186);
    EXPECT_EQ(doc.m_pEngine, nullptr);
    EXPECT_TRUE(doc.m_level->m_sectors.empty());
    EXPECT_TRUE(doc.m_level->m_gameTag.empty());
    EXPECT_FALSE(doc.IsModified());
    for (const int id : {57602, 57603, 57604})
        EXPECT_TRUE(doc.HandlesCommand(id)) << id;
}

TEST_F(QzEditDocTest, OpenChoosesTheReaderByTheFileExtension)
{
    MakeApp();
    fs::create_directory(Temp() / "levels.qzl");
    struct Case {
        const char* name;
        bool textLevel;  // written as the game's text level, else in the archive form
        bool opens;
    };
    const Case cases[] = {
        {"room.qzl", true, true},
        {"ROOM2.QZL", true, true},
        // Only the extension counts: this is the archive form now.
        {"backup.qzl.bak", false, true},
        {"levels.qzl/inside", false, true},
        {"room.qze", false, true},
        {"noextension", false, true},
        {"room.tmp", false, true},
        // The wrong reader for the contents fails.
        {"archive.qzl", false, false},
        {"text.qze", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path path = c.textLevel ? WriteTextLevel(c.name, MakeTwoJoinedRooms())
                                          : WriteArchive(c.name, MakeTwoJoinedRooms());
        m_messages.clear();
        CQzEditDoc* doc = Open(path);
        ASSERT_EQ(doc != nullptr, c.opens);
        if (!c.opens) {
            ASSERT_EQ(m_messages.size(), 1);
            EXPECT_TRUE(m_messages[0].contains(QString::fromStdString(c.name)))
                << m_messages[0].toStdString();
            continue;
        }
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
    EXPECT_NO_THROW(LoadQzlFile(Temp() / "export.qzl", 0));
    EXPECT_EQ(doc->PathName(), original);
    EXPECT_EQ(doc->Title(), QStringLiteral("a.qze"));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(m_app->RecentFiles(), recent);

    // The archive form through the dialog: a name typed without extension gets ".qze".
    m_fileAnswers.push_back(Q(Temp() / "b"));
    doc->OnCommand(57604);
    ASSERT_EQ(m_fileDialogs, QStringList{QStringLiteral("Save As")});
    const QString saved = Q(Temp() / "b.qze");
    EXPECT_TRUE(fs::exists(Temp() / "b.qze"));
    EXPECT_EQ(doc->PathName(), saved);
    EXPECT_EQ(doc->Title(), QStringLiteral("b.qze"));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(m_app->RecentFiles().value(0), saved);

    // Cancel writes nothing.
    doc->SetModifiedFlag(true);
    doc->OnCommand(57604);
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
    EXPECT_TRUE(text->OnCommand(57603));
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

    // A level the text writer refuses (a sector names a sound the level lacks).
    const fs::path oldText = Temp() / "old.qzl";
    WriteText(oldText, "keep me");
    doc->m_level->m_sectors[0]->m_sound = 99;
    EXPECT_FALSE(doc->SaveAs(Q(oldText)));
    EXPECT_EQ(ReadText(oldText), "keep me");
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_messages[0].startsWith(QStringLiteral("Cannot save \"")))
        << m_messages[0].toStdString();
    doc->m_level->m_sectors[0]->m_sound = -1;

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

    // GOB, GOO and project files are not written yet: refused, nothing made.
    for (const char* name : {"x.gob", "x.GOO", "x.qzp"}) {
        SCOPED_TRACE(name);
        m_messages.clear();
        EXPECT_FALSE(doc->SaveAs(Q(Temp() / name)));
        EXPECT_EQ(m_messages.size(), 1);
        EXPECT_FALSE(fs::exists(Temp() / name));
    }
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
    EXPECT_TRUE(saved->OnCommand(57602));
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

// The engine's seam works without a main frame (and so without status bar or views).
TEST_F(QzEditDocTest, EngineHostWithoutMainFrame)
{
    MakeApp(TestOptions(), false);
    ASSERT_EQ(m_app->m_pMainFrame, nullptr);
    CQzEditDoc doc(*m_app);
    CEngineHost& host = doc;

    host.ShowMessage("Nothing to do.");
    m_answers = {QMessageBox::No, QMessageBox::Yes};
    EXPECT_FALSE(host.AskYesNo("Really?"));
    EXPECT_TRUE(host.AskYesNo("Really?"));
    EXPECT_EQ(m_messages, (QStringList{QStringLiteral("Nothing to do."), QStringLiteral("Really?"),
                                       QStringLiteral("Really?")}));

    host.BeginWaitCursor();
    host.EndWaitCursor();
    host.BeginProgress("Parsing Sectors...", 3);
    for (int i = 0; i < 5; ++i)
        host.StepProgress();
    host.EndProgress();
    host.StepProgress();  // after the end: nothing
    host.EndProgress();
    host.SetStatusText("status");
    const std::string panes[8] = {"a", "b", "c", "d", "e", "f", "g", "h"};
    host.SetStatusPanes(panes);
    host.SetScrollBars(0, 10, 2, 1, 1);
    host.SetGridSetting(0.5f);
    EXPECT_FLOAT_EQ(m_app->m_settings.m_grid, 0.5f);
    host.ViewsChanged();
    host.RequestFrame(true);
    host.SetModifiedFlag(true);
    EXPECT_TRUE(doc.IsModified());
}

}  // namespace
