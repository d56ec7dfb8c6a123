// The Template Manager and its entry editor driven by control id: the check boxes (hidden with no
// document) and their filters, numbers with gaps, Add shown at the end and refused for a
// duplicate, Delete renumbering and refused for a referenced entry, header sorting, OK writing the
// user's copy and replacing the product's list, a failed write keeping it; the entry editor's
// "&Add 3do" and "&Add Cog"; the document's and the application's commands.

#include "AppTestSupport.h"

#include "SyntheticGame.h"
#include "app/MainFrame.h"
#include "app/QzEditDoc.h"
#include "engine/3doModel.h"
#include "engine/RenderData.h"
#include "framework/FileIO.h"
#include "framework/Settings.h"
#include "framework/StringUtil.h"
#include "level/QzlSections.h"
#include "level/QzlTemplate.h"
#include "level/QzlThing.h"
#include "level/TemplateList.h"
#include "resources/ui/DragListCtrl.h"
#include "resources/ui/EditTemplateDlg.h"
#include "resources/ui/TemplateManagerDlg.h"
#include "support/FixtureLevels.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <array>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace {

CTemplateEntries Entries(std::initializer_list<std::array<const char*, 3>> rows)
{
    CTemplateEntries entries;
    for (const auto& row : rows)
        entries.push_back(MakeTemplate(row[0], row[1], row[2]));
    return entries;
}

class TemplateManagerTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        MakeApp();
        m_product = Entries({{"_base", "none", "size=0.05"},
                             {"_decor", "_base", "type=decor"},
                             {"crate", "_decor", "model3d=crate.3do size=0.1"},
                             {"+smoke", "_base", "timer=1"},
                             {"lamp", "_decor", "model3d=lamp.3do"}});
        m_level = Entries({{"crate", "", ""}, {"+smoke", "", ""}});
    }

    std::unique_ptr<CTemplateManagerDlg> Dialog(bool withLevel)
    {
        return std::make_unique<CTemplateManagerDlg>(m_product, withLevel ? &m_level : nullptr,
                                                     m_app->m_settings,
                                                     [this](const CTemplateEntries& entries) {
                                                         m_saved = Names(entries);
                                                         return m_saveMessage;
                                                     });
    }

    static std::vector<std::string> Names(const CTemplateEntries& entries)
    {
        std::vector<std::string> names;
        for (const auto& entry : entries)
            names.push_back(entry->m_name);
        return names;
    }

    // "#" and name of each row.
    static QStringList Rows(QDialog& dialog)
    {
        QStringList rows;
        auto* list = Control<CDragListCtrl>(dialog, Ctl::kTplMgrList);
        for (int row = 0; row < list->topLevelItemCount(); ++row)
            rows << list->topLevelItem(row)->text(0) + " " + list->topLevelItem(row)->text(1);
        return rows;
    }

    static void SelectRow(QDialog& dialog, int row)
    {
        auto* list = Control<CDragListCtrl>(dialog, Ctl::kTplMgrList);
        list->setCurrentItem(list->topLevelItem(row));
    }

    static bool RowButtonsEnabled(QDialog& dialog)
    {
        const bool edit = Control<QPushButton>(dialog, Ctl::kTplMgrEdit)->isEnabled();
        EXPECT_EQ(Control<QPushButton>(dialog, Ctl::kTplMgrAdd)->isEnabled(), edit);
        EXPECT_EQ(Control<QPushButton>(dialog, Ctl::kTplMgrDelete)->isEnabled(), edit);
        return edit;
    }

    CTemplateEntries m_product;
    CTemplateEntries m_level;
    std::vector<std::string> m_saved;
    std::string m_saveMessage;
};

TEST_F(TemplateManagerTest, WithoutADocumentEveryEntryIsListedAndTheCheckBoxesAreHidden)
{
    m_app->m_settings.m_templatesUsed = 1;
    m_app->m_settings.m_templatesSimple = 1;
    auto dialog = Dialog(false);
    EXPECT_TRUE(Control<QCheckBox>(*dialog, Ctl::kTplMgrUsed)->isHidden());
    EXPECT_TRUE(Control<QCheckBox>(*dialog, Ctl::kTplMgrSimple)->isHidden());
    EXPECT_EQ(Rows(*dialog), (QStringList{"1 _base", "2 _decor", "3 crate", "4 +smoke", "5 lamp"}));
    EXPECT_EQ(dialog->windowTitle(), "Template Manager");
    auto* list = Control<CDragListCtrl>(*dialog, Ctl::kTplMgrList);
    EXPECT_EQ(list->headerItem()->text(3), "Parameters");
    EXPECT_EQ(list->topLevelItem(2)->text(2), "_decor");
    EXPECT_EQ(list->topLevelItem(2)->text(3), "model3d=crate.3do size=0.1");
    EXPECT_FALSE(RowButtonsEnabled(*dialog));
    SelectRow(*dialog, 1);
    EXPECT_TRUE(RowButtonsEnabled(*dialog));
}

TEST_F(TemplateManagerTest, FiltersShowNumbersWithGapsAndAreKeptInTheSettings)
{
    auto dialog = Dialog(true);
    auto* used = Control<QCheckBox>(*dialog, Ctl::kTplMgrUsed);
    auto* simple = Control<QCheckBox>(*dialog, Ctl::kTplMgrSimple);
    EXPECT_FALSE(used->isHidden());
    used->click();
    EXPECT_EQ(Rows(*dialog), (QStringList{"3 crate", "4 +smoke"}));
    EXPECT_EQ(m_app->m_settings.m_templatesUsed, 1);
    simple->click();
    EXPECT_EQ(Rows(*dialog), (QStringList{"3 crate"}));
    EXPECT_EQ(m_app->m_settings.m_templatesSimple, 1);
    used->click();
    EXPECT_EQ(Rows(*dialog), (QStringList{"3 crate", "5 lamp"}));
    EXPECT_EQ(m_app->m_settings.m_templatesUsed, 0);

    // A new dialog starts from the settings.
    auto again = Dialog(true);
    EXPECT_FALSE(Control<QCheckBox>(*again, Ctl::kTplMgrUsed)->isChecked());
    EXPECT_TRUE(Control<QCheckBox>(*again, Ctl::kTplMgrSimple)->isChecked());
    EXPECT_EQ(Rows(*again), (QStringList{"3 crate", "5 lamp"}));
}

TEST_F(TemplateManagerTest, AddShowsTheNewEntryAtTheEndAndRefusesADuplicate)
{
    m_app->m_settings.m_templatesUsed = 1;
    auto dialog = Dialog(true);
    SelectRow(*dialog, 0);  // crate
    OnModal<CEditTemplateDlg>(m_app.get(), [](CEditTemplateDlg& editor) {
        EXPECT_EQ(editor.objectName(), Id(Dlg::kAddTemplate));
        EXPECT_EQ(editor.windowTitle(), "Add Template");
        auto* name = Control<QLineEdit>(editor, Ctl::kTplEntryName);
        EXPECT_FALSE(name->isReadOnly());
        EXPECT_EQ(name->text(), "crate");
        EXPECT_TRUE(Control<QLineEdit>(editor, Ctl::kTplEntryBasedOn)->isReadOnly());
        EXPECT_EQ(Control<QPlainTextEdit>(editor, Ctl::kTplEntryParams)->font().family(),
                  "Courier New");
        name->setText("bigcrate");
        Click(editor, Ctl::kOk);
    });
    Click(*dialog, Ctl::kTplMgrAdd);
    // Shown at the end although the level does not use it.
    EXPECT_EQ(Rows(*dialog), (QStringList{"3 crate", "4 +smoke", "6 bigcrate"}));
    ASSERT_EQ(dialog->WorkingList().size(), 6U);
    EXPECT_EQ(dialog->WorkingList()[5]->m_basedOn, "_decor");
    EXPECT_EQ(dialog->WorkingList()[5]->m_model, "crate.3do");

    SelectRow(*dialog, 1);
    OnModal<CEditTemplateDlg>(m_app.get(), [](CEditTemplateDlg& editor) {
        Control<QLineEdit>(editor, Ctl::kTplEntryName)->setText("LAMP");
        Click(editor, Ctl::kOk);
    });
    Click(*dialog, Ctl::kTplMgrAdd);
    EXPECT_EQ(m_messages, QStringList{"The specified template name exist already."});
    EXPECT_EQ(dialog->WorkingList().size(), 6U);
}

TEST_F(TemplateManagerTest, EditChangesOnlyTheParameters)
{
    auto dialog = Dialog(false);
    SelectRow(*dialog, 4);
    OnModal<CEditTemplateDlg>(m_app.get(), [](CEditTemplateDlg& editor) {
        EXPECT_EQ(editor.windowTitle(), "EditTemplate");
        EXPECT_TRUE(Control<QLineEdit>(editor, Ctl::kTplEntryName)->isReadOnly());
        auto* params = Control<QPlainTextEdit>(editor, Ctl::kTplEntryParams);
        params->clear();
        // Typed and pasted text arrives in lower case; Return makes a line break.
        QTest::keyClicks(params, "Model3d=Torch");
        QTest::keyClick(params, Qt::Key_Return);
        QApplication::clipboard()->setText(QStringLiteral(".3DO"));
        params->paste();
        EXPECT_EQ(params->toPlainText(), "model3d=torch\n.3do");
        params->setPlainText("model3d=torch.3do");
        Click(editor, Ctl::kOk);
    });
    Click(*dialog, Ctl::kTplMgrEdit);
    const CQzlTemplate& lamp = *dialog->WorkingList()[4];
    EXPECT_EQ(lamp.m_name, "lamp");
    EXPECT_EQ(lamp.m_params, "model3d=torch.3do");
    EXPECT_EQ(lamp.m_model, "torch.3do");
    EXPECT_EQ(Control<CDragListCtrl>(*dialog, Ctl::kTplMgrList)->topLevelItem(4)->text(3),
              "model3d=torch.3do");
    // The product's list is untouched until OK.
    EXPECT_EQ(m_product[4]->m_params, "model3d=lamp.3do");
}

TEST_F(TemplateManagerTest, DeleteRenumbersAndRefusesAReferencedEntry)
{
    auto dialog = Dialog(false);
    SelectRow(*dialog, 1);
    Click(*dialog, Ctl::kTplMgrDelete);
    EXPECT_EQ(m_messages, QStringList{"The selected template entry at #2 cannot be\n"
                                      "deleted since it is referenced at entry #3."});
    EXPECT_EQ(dialog->WorkingList().size(), 5U);
    SelectRow(*dialog, 2);
    Click(*dialog, Ctl::kTplMgrDelete);
    EXPECT_EQ(Rows(*dialog), (QStringList{"1 _base", "2 _decor", "3 +smoke", "4 lamp"}));
    EXPECT_FALSE(RowButtonsEnabled(*dialog));
}

TEST_F(TemplateManagerTest, HeaderClicksToggleTheSortDirection)
{
    auto dialog = Dialog(false);
    QHeaderView* header = Control<CDragListCtrl>(*dialog, Ctl::kTplMgrList)->header();
    const QStringList byNameUp{"4 +smoke", "1 _base", "2 _decor", "3 crate", "5 lamp"};
    const QStringList byNameDown{"5 lamp", "3 crate", "2 _decor", "1 _base", "4 +smoke"};
    SelectRow(*dialog, 0);
    emit header->sectionClicked(1);
    const QStringList first = Rows(*dialog);
    EXPECT_TRUE(first == byNameUp || first == byNameDown) << first.join(",").toStdString();
    EXPECT_FALSE(RowButtonsEnabled(*dialog));
    emit header->sectionClicked(1);
    EXPECT_EQ(Rows(*dialog), first == byNameUp ? byNameDown : byNameUp);

    // The direction lives on into the next dialog.
    const QStringList last = Rows(*dialog);
    auto again = Dialog(false);
    emit Control<CDragListCtrl>(*again, Ctl::kTplMgrList)->header()->sectionClicked(1);
    EXPECT_EQ(Rows(*again), last == byNameUp ? byNameDown : byNameUp);

    // "Based On" compares the based-on names; "Parameters" does not sort.
    emit header->sectionClicked(3);
    EXPECT_EQ(Rows(*dialog), last);
    emit header->sectionClicked(2);
    const QStringList byBase = Rows(*dialog);
    EXPECT_TRUE(byBase.front() == "2 _decor" || byBase.front() == "1 _base" ||
                byBase.front() == "3 crate")
        << byBase.join(",").toStdString();
    emit header->sectionClicked(0);
    const QStringList byNumber = Rows(*dialog);
    EXPECT_TRUE(byNumber.front() == "1 _base" || byNumber.front() == "5 lamp");
}

TEST_F(TemplateManagerTest, OkHandsTheListOverAndAFailureKeepsTheDialogOpen)
{
    auto dialog = Dialog(false);
    dialog->show();
    m_saveMessage = "Cannot write \"korvath.dat\".";
    Click(*dialog, Ctl::kOk);
    EXPECT_EQ(m_messages, QStringList{"Cannot write \"korvath.dat\"."});
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(m_saved.size(), 5U);
    m_saveMessage.clear();
    Click(*dialog, Ctl::kOk);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(TemplateManagerTest, AddModelAndCogFillTheParameters)
{
    const std::filesystem::path model = Temp() / "disk" / "Torch.3DO";
    const std::string text = MakeSynthetic3do("torch", "metal.mat", 8, 8, 0.5f, 0.5f, 1.0f);
    std::filesystem::create_directories(model.parent_path());
    WriteFileAtomic(model, std::vector<std::uint8_t>(text.begin(), text.end()));
    const std::string radius = ModelRadiusText(text);
    ASSERT_FALSE(radius.empty());

    CEditTemplateDlg editor(Dlg::kAddTemplate);
    editor.m_name = "lamp";
    editor.m_basedOn = "_decor";
    editor.m_params = "model3d=lamp.3do size=0.1 movesize=0.2 mass=2";
    OnModal<CEditTemplateDlg>(m_app.get(), [&](CEditTemplateDlg& shown) {
        m_fileAnswers.push_back(QString::fromStdString(model.string()));
        Click(shown, Ctl::kTplEntryAdd3do);
        m_fileAnswers.push_back(QStringLiteral("/somewhere/Torch.COG"));
        Click(shown, Ctl::kTplEntryAddCog);
        // A model that cannot be read changes nothing.
        m_fileAnswers.push_back(QStringLiteral("/nowhere/gone.3do"));
        Click(shown, Ctl::kTplEntryAdd3do);
        Click(shown, Ctl::kTplEntryAdd3do);  // Cancel
        Click(shown, Ctl::kOk);
    });
    ASSERT_EQ(editor.exec(), QDialog::Accepted);
    EXPECT_EQ(m_fileDialogs, (QStringList{"Add 3do", "Add Cog", "Add 3do", "Add 3do"}));
    EXPECT_EQ(editor.m_name, "torch");
    EXPECT_EQ(editor.m_params,
              "model3d=torch.3do size=" + radius + " movesize=" + radius + " mass=2 cog=torch.cog");
}

TEST_F(TemplateManagerTest, TheCommandsWriteTheUserCopyAndReplaceTheProductList)
{
    EndApp();
    CQzEditDoc* doc = StartShownWithDocument();
    ASSERT_NE(doc, nullptr);
    doc->SetModifiedFlag(false);
    const std::size_t count = m_app->m_product.m_resources.m_templates.size();
    ASSERT_GT(count, 2U);
    const std::string installed = [&] {
        const auto bytes = ReadFileBytes(ProgramDir() / "korvath.dat");
        return std::string(bytes.begin(), bytes.end());
    }();

    bool shown = false;
    OnModal<CTemplateManagerDlg>(m_app.get(), [&](CTemplateManagerDlg& dialog) {
        shown = true;
        EXPECT_FALSE(Control<QCheckBox>(dialog, Ctl::kTplMgrUsed)->isHidden());
        SelectRow(dialog, 0);
        Click(dialog, Ctl::kTplMgrDelete);  // the root is referenced: refused
        const int last = static_cast<int>(dialog.WorkingList().size()) - 1;
        SelectRow(dialog, last);
        Click(dialog, Ctl::kTplMgrDelete);
        Click(dialog, Ctl::kOk);
    });
    TriggerCommand(*m_app->m_pMainFrame, Cmd::kTemplateManager);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(doc->IsModified());
    ASSERT_EQ(m_messages.size(), 1) << m_messages.join("|").toStdString();
    EXPECT_TRUE(m_messages[0].startsWith("The selected template entry at #1 cannot be\n"));
    EXPECT_EQ(m_app->m_product.m_resources.m_templates.size(), count - 1);
    const auto written = ReadFileBytes(UserDataDir() / "korvath.dat");
    const CTemplateEntries read = ReadTemplateList(
        std::string_view(reinterpret_cast<const char*>(written.data()), written.size()));
    EXPECT_EQ(Names(read), Names(m_app->m_product.m_resources.m_templates));
    // The installed default stays as it came.
    const auto after = ReadFileBytes(ProgramDir() / "korvath.dat");
    EXPECT_EQ(std::string(after.begin(), after.end()), installed);
}

TEST_F(TemplateManagerTest, TheOpenLevelsThingsTakeTheirModelsFromTheNewList)
{
    EndApp();
    CQzEditDoc* doc = StartShownWithDocument();
    ASSERT_NE(doc, nullptr);
    CQzlSections level = MakeBoxRoom();
    AddCrate(level, 0, {0.0f, 0.0f, 0.0f});
    C3dView& engine = GiveDocumentEngine(*doc, std::move(level));
    RebuildAll(engine, false);
    const CQzlThing& crate = *doc->m_level->m_things.front();
    ASSERT_NE(crate.m_model, nullptr);
    EXPECT_EQ(ToLowerAscii(crate.m_model->m_fileName), "crate.3do");
    doc->SetModifiedFlag(false);

    OnModal<CTemplateManagerDlg>(m_app.get(), [&](CTemplateManagerDlg& dialog) {
        int row = 0;
        while (dialog.WorkingList()[static_cast<std::size_t>(row)]->m_name != "crate")
            ++row;
        SelectRow(dialog, row);
        OnModal<CEditTemplateDlg>(m_app.get(), [](CEditTemplateDlg& editor) {
            Control<QPlainTextEdit>(editor, Ctl::kTplEntryParams)
                ->setPlainText("model3d=lamp.3do size=0.1");
            Click(editor, Ctl::kOk);
        });
        Click(dialog, Ctl::kTplMgrEdit);
        Click(dialog, Ctl::kOk);
    });
    TriggerCommand(*m_app->m_pMainFrame, Cmd::kTemplateManager);
    ASSERT_NE(crate.m_model, nullptr);
    EXPECT_EQ(ToLowerAscii(crate.m_model->m_fileName), "lamp.3do");
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(TemplateManagerTest, AWriteThatFailsKeepsTheProductListAndSaysSo)
{
    // The user's data folder cannot be made: a file has its place.
    WriteFileAtomic(UserDataDir(), std::vector<std::uint8_t>{'x'});
    const std::vector<std::string> before = Names(m_app->m_product.m_resources.m_templates);
    ASSERT_FALSE(before.empty());
    OnModal<CTemplateManagerDlg>(m_app.get(), [&](CTemplateManagerDlg& dialog) {
        Click(dialog, Ctl::kOk);
        EXPECT_TRUE(dialog.isVisible());
        Click(dialog, Ctl::kCancel);
    });
    TriggerCommand(*m_app->m_pMainFrame, Cmd::kTemplateManager);
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_messages[0].contains("korvath.dat")) << m_messages[0].toStdString();
    EXPECT_TRUE(m_messages[0].contains("The template list was not changed."));
    EXPECT_EQ(Names(m_app->m_product.m_resources.m_templates), before);
}

// Damaged lists: an empty record in the product's and the level's list, an empty name, a
// template based on itself, two based on each other, "model3d=" at the very end. Every row takes
// every button; OK refuses the list the file cannot hold, with the entry's number.
TEST_F(TemplateManagerTest, DamagedListsHoldEveryButtonAndOkSaysWhatCannotBeWritten)
{
    m_product.insert(m_product.begin() + 1, nullptr);
    m_product.push_back(MakeTemplate("", "none", "x=1"));
    m_product.push_back(MakeTemplate("self", "self", "model3d="));
    m_product.push_back(MakeTemplate("a", "b", "y=1"));
    m_product.push_back(MakeTemplate("b", "a", "no equals here"));
    m_level.insert(m_level.begin(), nullptr);
    for (const bool usedOnly : {false, true}) {
        SCOPED_TRACE(usedOnly);
        m_app->m_settings.m_templatesUsed = usedOnly ? 1 : 0;
        std::string problem;
        CTemplateManagerDlg dialog(m_product, &m_level, m_app->m_settings,
                                   [&problem](const CTemplateEntries& entries) {
                                       std::string text;
                                       TemplateListText(entries, text, problem);
                                       return problem;
                                   });
        ASSERT_EQ(dialog.WorkingList().size(), 9U);  // the empty record is not copied
        const QStringList expected =
            usedOnly ? QStringList{"3 crate", "4 +smoke"}
                     : QStringList{"1 _base", "2 _decor", "3 crate", "4 +smoke", "5 lamp",
                                   "6 ",      "7 self",   "8 a",     "9 b"};
        EXPECT_EQ(Rows(dialog), expected);
        for (int column = 0; column < 4; ++column)
            Control<CDragListCtrl>(dialog, Ctl::kTplMgrList)->header()->sectionClicked(column);
        const int rows = Control<CDragListCtrl>(dialog, Ctl::kTplMgrList)->topLevelItemCount();
        for (int row = 0; row < rows; ++row) {
            SelectRow(dialog, row);
            OnModal<CEditTemplateDlg>(m_app.get(),
                                      [](CEditTemplateDlg& editor) { Click(editor, Ctl::kOk); });
            Click(dialog, Ctl::kTplMgrEdit);
            SelectRow(dialog, row);
            OnModal<CEditTemplateDlg>(m_app.get(), [row](CEditTemplateDlg& editor) {
                Control<QLineEdit>(editor, Ctl::kTplEntryName)
                    ->setText(QStringLiteral("new%1").arg(row));
                Click(editor, Ctl::kOk);
            });
            Click(dialog, Ctl::kTplMgrAdd);
        }
        EXPECT_EQ(dialog.WorkingList().size(), 9U + static_cast<std::size_t>(rows));
        // Delete every row from the bottom up: referenced bases are refused.
        for (int row = Control<CDragListCtrl>(dialog, Ctl::kTplMgrList)->topLevelItemCount();
             row-- > 0;) {
            SelectRow(dialog, row);
            Click(dialog, Ctl::kTplMgrDelete);
        }
        m_messages.clear();
        Click(dialog, Ctl::kOk);
        if (usedOnly) {
            // The empty name was not shown, so it was not deleted: the file cannot hold it.
            ASSERT_EQ(m_messages.size(), 1);
            EXPECT_TRUE(m_messages[0].endsWith("The template name is empty."))
                << m_messages[0].toStdString();
            EXPECT_TRUE(m_messages[0].startsWith("Template #")) << m_messages[0].toStdString();
            EXPECT_EQ(dialog.result(), QDialog::Rejected);
        } else {
            EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('|').toStdString();
            EXPECT_EQ(problem, "");
        }
    }
}

// "&Add 3do" on hostile model files: only a file with a line beginning with "radius" changes the
// parameters; nothing else does, and nothing crashes.
TEST_F(TemplateManagerTest, AddModelOnHostileFiles)
{
    const std::filesystem::path folder = Temp() / "hostile";
    std::filesystem::create_directories(folder / "dir.3do");
    const auto write = [&folder](const char* name, const std::string& text) {
        WriteFileAtomic(folder / name, std::vector<std::uint8_t>(text.begin(), text.end()));
        return folder / name;
    };
    const std::string before = "model3d=old.3do size=0.1";
    struct Case {
        const char* what;
        std::filesystem::path file;
        std::string params;  // after
        QString name;        // the name field after
    };
    const Case cases[] = {
        {"an empty file", write("empty.3do", ""), before, "lamp"},
        {"no radius line", write("none.3do", "3do 2.1\nsections: 1\n"), before, "lamp"},
        {"CR only, the radius not first", write("cr.3do", "3do 2.1\rradius 0.5\r"), before, "lamp"},
        {"a 100 KB line, then the radius without line end",
         write("long.3do", std::string(100000, 'x') + "\nRADIUS  0.75"),
         "model3d=long.3do size=0.75", "long"},
        {"tabs before the radius", write("tab.3do", "\tradius\t0.5\n"), "model3d=tab.3do size=0.5",
         "tab"},
        {"a folder of that name", folder / "dir.3do", before, "lamp"},
        {"no such file", folder / "gone.3do", before, "lamp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CEditTemplateDlg editor(Dlg::kEditTemplate);
        editor.m_name = "lamp";
        editor.m_params = before;
        OnModal<CEditTemplateDlg>(m_app.get(), [&c, this](CEditTemplateDlg& shown) {
            m_fileAnswers.push_back(QString::fromStdString(c.file.string()));
            Click(shown, Ctl::kTplEntryAdd3do);
            EXPECT_EQ(Control<QLineEdit>(shown, Ctl::kTplEntryName)->text(), c.name);
            Click(shown, Ctl::kOk);
        });
        ASSERT_EQ(editor.exec(), QDialog::Accepted);
        EXPECT_EQ(editor.m_params, c.params);
        EXPECT_TRUE(m_messages.isEmpty());
    }

    // NUL bytes in the radius line: taken as they stand, the file name still goes in.
    CEditTemplateDlg editor(Dlg::kEditTemplate);
    editor.m_params = "size=1";
    const std::filesystem::path nul = write("nul.3do", std::string("radius 0\0.5\n", 12));
    OnModal<CEditTemplateDlg>(m_app.get(), [&nul, this](CEditTemplateDlg& shown) {
        m_fileAnswers.push_back(QString::fromStdString(nul.string()));
        Click(shown, Ctl::kTplEntryAdd3do);
        Click(shown, Ctl::kOk);
    });
    ASSERT_EQ(editor.exec(), QDialog::Accepted);
    EXPECT_NE(editor.m_params.find(" model3d=nul.3do"), std::string::npos) << editor.m_params;
}

}  // namespace
