// The Template dialog driven by control id over an engine with the synthetic game: the tree of
// the level's templates (each under its base, siblings sorted, "none" at the root), the search,
// the parameter display, the preview's extents and its message for a model or material found
// nowhere, Delete only for a leaf (with the cascade and the refusal for a template a thing uses),
// the nested Add that adds the chosen template with its references and selects it, the add mode,
// and the "AutoSize" choice kept in the settings.

#include "AppTestSupport.h"

#include "SyntheticGame.h"
#include "engine/C3dView.h"
#include "engine/Undo.h"
#include "engine/ui/PreviewWidget.h"
#include "framework/Settings.h"
#include "level/QzlTemplate.h"
#include "level/TemplateList.h"
#include "level/TemplateTree.h"
#include "resources/ui/TemplateDlg.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

class TemplateDlgTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        m_engine.m_game = std::move(m_synthetic->m_resources);
        m_engine.m_level.m_templates = ReadTemplateList("_base none type=default\n"
                                                        "_decor _base type=decor\n"
                                                        "crate _decor model3d=crate.3do\n"
                                                        "glowpanel _decor material=red.mat\n"
                                                        "phantom _decor model3d=missing.3do\n"
                                                        "warden ranger model3d=warden.3do\n"
                                                        "ranger _base model3d=ranger.3do\n"
                                                        "brute warden model3d=brute.3do\n");
        m_engine.m_view.m_selection.m_sector = 0;
    }

    static QTreeWidget& Tree(QWidget& dialog)
    {
        return *Control<QTreeWidget>(dialog, Ctl::kTemplateTree);
    }
    // The selected item's text, "" when none is selected.
    static QString Current(QWidget& dialog)
    {
        const QTreeWidgetItem* item = Tree(dialog).currentItem();
        return item != nullptr ? item->text(0) : QString();
    }
    // "parent>child,child;..." for every item that has children, in tree order.
    static QString Shape(QWidget& dialog)
    {
        QString shape;
        std::vector<QTreeWidgetItem*> pending;
        for (int i = 0; i < Tree(dialog).topLevelItemCount(); ++i)
            pending.push_back(Tree(dialog).topLevelItem(i));
        for (std::size_t k = 0; k < pending.size(); ++k) {
            QTreeWidgetItem* item = pending[k];
            if (item->childCount() == 0)
                continue;
            QStringList children;
            for (int c = 0; c < item->childCount(); ++c) {
                children << item->child(c)->text(0);
                pending.push_back(item->child(c));
                EXPECT_TRUE(item->isExpanded()) << item->text(0).toStdString();
            }
            shape += item->text(0) + ">" + children.join(',') + ";";
        }
        return shape;
    }
    static QTreeWidgetItem* Find(QWidget& dialog, const char* text)
    {
        const QList<QTreeWidgetItem*> found = Tree(dialog).findItems(
            QString::fromLatin1(text), Qt::MatchExactly | Qt::MatchRecursive);
        EXPECT_EQ(found.size(), 1) << text;
        return found.isEmpty() ? nullptr : found.front();
    }
    static void Select(QWidget& dialog, const char* text)
    {
        Tree(dialog).setCurrentItem(Find(dialog, text));
    }
    static void Search(QWidget& dialog, const char* text)
    {
        auto* edit = Control<QLineEdit>(dialog, Ctl::kTemplateSearch);
        edit->clear();
        QTest::keyClicks(edit, QString::fromLatin1(text));
        if (*text == '\0') {
            // An emptied edit reports its change too.
            QTest::keyClicks(edit, QStringLiteral("x"));
            QTest::keyClick(edit, Qt::Key_Backspace);
        }
    }
    static QString Params(QWidget& dialog)
    {
        return Control<QPlainTextEdit>(dialog, Ctl::kTemplateParams)->toPlainText();
    }
    static bool CanDelete(QWidget& dialog)
    {
        return Control<QPushButton>(dialog, Ctl::kTemplateDelete)->isEnabled();
    }
    static QString Field(QWidget& dialog, int id) { return Control<QLineEdit>(dialog, id)->text(); }
    // Whether the preview frame shows the message instead of the picture.
    static bool ShowsMessage(QWidget& dialog)
    {
        return Control<QWidget>(dialog, Ctl::kTemplateMessage)->isVisibleTo(&dialog);
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& entry : m_engine.m_level.m_templates)
            names.push_back(entry->m_name);
        return names;
    }

    std::unique_ptr<CSyntheticGame> m_synthetic = MakeSyntheticGame(0);
    CFixtureEngine m_engine{[] {
        CQzlSections level = MakeBoxRoom();
        AddCrate(level, 0, {0.5f, 0.5f, 0.5f});
        return level;
    }()};
    CSettings m_settings;
};

TEST_F(TemplateDlgTest, LevelModeShowsTheTreeAndTheChosenTemplate)
{
    CTemplateDlg dialog(m_engine.m_view, m_settings, "WARDEN", 0);
    EXPECT_EQ(dialog.objectName(), Id(Dlg::kTemplate));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Templates in level"));
    // warden's base ranger is listed after it: warden hangs under "none".
    EXPECT_EQ(Shape(dialog), QStringLiteral("none>_base,warden;_base>_decor,ranger;warden>brute;"
                                            "_decor>crate,glowpanel,phantom;"));
    EXPECT_EQ(Current(dialog), QStringLiteral("warden"));
    EXPECT_EQ(dialog.CurrentName(), "warden");
    EXPECT_EQ(Params(dialog), QStringLiteral("model3d=warden.3do"));
    EXPECT_FALSE(CanDelete(dialog));  // brute derives from it
    for (const int id : {Ctl::kTemplateX, Ctl::kTemplateY, Ctl::kTemplateZ})
        EXPECT_FALSE(Control<QLineEdit>(dialog, id)->isEnabled());
    EXPECT_NE(Field(dialog, Ctl::kTemplateY), QStringLiteral("0"));
    EXPECT_FALSE(ShowsMessage(dialog));
    EXPECT_TRUE(Control<QPushButton>(dialog, Ctl::kTemplateAdd)->isVisibleTo(&dialog));

    Select(dialog, "brute");
    EXPECT_TRUE(CanDelete(dialog));
    EXPECT_EQ(dialog.Preview(), (CTemplatePreview{ETemplatePreview::kModel, "brute.3do"}));
    Select(dialog, "none");
    EXPECT_FALSE(CanDelete(dialog));
    EXPECT_EQ(Params(dialog), QString());

    // A model and a material found nowhere show the message; one found shows the picture.
    Select(dialog, "phantom");
    EXPECT_TRUE(ShowsMessage(dialog));
    EXPECT_EQ(Field(dialog, Ctl::kTemplateX), QStringLiteral("0"));
    Select(dialog, "glowpanel");
    EXPECT_EQ(dialog.Preview(), (CTemplatePreview{ETemplatePreview::kMaterial, "red.mat"}));
    EXPECT_FALSE(ShowsMessage(dialog));
    m_engine.m_level.m_templates[3]->m_params = "material=nosuch.mat";
    Select(dialog, "crate");
    Select(dialog, "glowpanel");
    EXPECT_TRUE(ShowsMessage(dialog));

    // The parameter display takes typed text in lower case.
    auto* params = Control<QPlainTextEdit>(dialog, Ctl::kTemplateParams);
    params->clear();
    QTest::keyClicks(params, QStringLiteral("Size=1"));
    EXPECT_EQ(params->toPlainText(), QStringLiteral("size=1"));

    dialog.show();
    m_engine.m_host.Clear();
    ASSERT_TRUE(PressOk(dialog, {}));
    EXPECT_EQ(dialog.CurrentName(), "glowpanel");
    EXPECT_EQ(m_engine.m_host.Count(CRecordingEngineHost::ECall::SetModifiedFlag), 1U);
}

TEST_F(TemplateDlgTest, SearchSelectsTheFirstTemplateItsTextBegins)
{
    CTemplateDlg dialog(m_engine.m_view, m_settings, "", 0);
    EXPECT_EQ(Current(dialog), QStringLiteral("none"));
    struct Case {
        const char* text;
        const char* selected;  // "" none
    };
    const Case cases[] = {{"gl", "glowpanel"}, {"b", "brute"}, {"", "_base"},
                          {"BRUTE", ""},       {"zz", ""},     {"cr", "crate"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Search(dialog, c.text);
        EXPECT_EQ(Current(dialog), QString::fromLatin1(c.selected));
        if (*c.selected == '\0') {
            EXPECT_EQ(Params(dialog), QString());
            EXPECT_EQ(dialog.Preview().m_kind, ETemplatePreview::kNothing);
            EXPECT_FALSE(CanDelete(dialog));
        }
    }
}

TEST_F(TemplateDlgTest, DeleteRemovesALeafWithTheBasesOnlyItUsedAndRefusesAUsedOne)
{
    CTemplateDlg dialog(m_engine.m_view, m_settings, "brute", 0);
    const std::size_t undo = m_engine.m_level.m_undoList.size();
    Click(dialog, Ctl::kTemplateDelete);
    EXPECT_EQ(Names(),
              (std::vector<std::string>{"_base", "_decor", "crate", "glowpanel", "phantom"}));
    EXPECT_TRUE(LevelIsSound(m_engine.m_level));
    EXPECT_EQ(m_engine.m_level.m_undoList.size(), undo + 1);
    EXPECT_TRUE(Tree(dialog)
                    .findItems(QStringLiteral("warden"), Qt::MatchExactly | Qt::MatchRecursive)
                    .isEmpty());
    EXPECT_EQ(Current(dialog), QStringLiteral("none"));

    Select(dialog, "crate");
    ASSERT_TRUE(CanDelete(dialog));
    Click(dialog, Ctl::kTemplateDelete);
    EXPECT_EQ(m_messages, QStringList{QString::fromLatin1(kTemplateUsedInLevel)});
    EXPECT_EQ(Names().size(), 5U);
    EXPECT_EQ(m_engine.m_level.m_undoList.size(), undo + 1);

    ASSERT_TRUE(Undo(m_engine.m_view));
    EXPECT_EQ(Names().size(), 8U);
}

TEST_F(TemplateDlgTest, AddRunsTheAddModeAndAddsTheChosenTemplateWithItsReferences)
{
    CTemplateDlg dialog(m_engine.m_view, m_settings, "crate", 0);
    bool sawAddMode = false;
    CModalAnswer answer([&sawAddMode](QWidget& nested) {
        sawAddMode = nested.windowTitle() == QStringLiteral("Add Template to level") &&
                     !Control<QPushButton>(nested, Ctl::kTemplateAdd)->isVisibleTo(&nested) &&
                     !Control<QPushButton>(nested, Ctl::kTemplateDelete)->isVisibleTo(&nested);
        // The product's list, started at the current name.
        EXPECT_EQ(Current(nested), QStringLiteral("crate"));
        Search(nested, "player");
        Click(nested, Ctl::kOk);
    });
    const std::size_t undo = m_engine.m_level.m_undoList.size();
    Click(dialog, Ctl::kTemplateAdd);
    EXPECT_TRUE(answer.Answered());
    EXPECT_TRUE(sawAddMode);
    const std::vector<std::string> names = Names();
    for (const char* name : {"player", "ranger", "_actor"})
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
    EXPECT_TRUE(LevelIsSound(m_engine.m_level));
    EXPECT_EQ(m_engine.m_level.m_undoList.size(), undo + 1);
    EXPECT_EQ(Current(dialog), QStringLiteral("player"));
    EXPECT_EQ(dialog.CurrentName(), "player");
    EXPECT_EQ(Params(dialog), QStringLiteral("type=player"));
}

TEST_F(TemplateDlgTest, AddModeListsTheProductsTemplatesAndKeepsAutoSize)
{
    {
        CTemplateDlg dialog(m_engine.m_view, m_settings, "lamp", 1);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Add Template to level"));
        EXPECT_EQ(Current(dialog), QStringLiteral("lamp"));
        EXPECT_NE(Find(dialog, "strider"), nullptr);
        Click(dialog, Ctl::kTemplateAutoSize);
    }
    EXPECT_EQ(m_settings.m_autoSize, 1);
    {
        CTemplateDlg dialog(m_engine.m_view, m_settings, "lamp", 1);
        Click(dialog, Ctl::kTemplateRealSize);
    }
    EXPECT_EQ(m_settings.m_autoSize, 0);
    EXPECT_EQ(Names().size(), 8U);
}

}  // namespace

// Damaged template lists: an empty name, a template based on itself, two based on each other,
// "model3d=" and "material=" at the very end, parameters without "=", and (in the second round)
// an empty record in the level's and the game's list. Every item is selected, the search finds
// what it can, Delete takes every leaf it offers, Add runs the nested dialog, OK and Cancel hold.
TEST_F(TemplateDlgTest, DamagedListsHoldEveryItemAndButton)
{
    for (const bool emptyRecords : {false, true}) {
        SCOPED_TRACE(emptyRecords);
        CTemplateList& templates = m_engine.m_level.m_templates;
        templates = ReadTemplateList("_base none type=default\n"
                                     "a b x=1\n"
                                     "b a model3d=\n"
                                     "self self material=\n"
                                     "words _base no equals here\n");
        templates.push_back(MakeTemplate("", "_base", "empty=1"));
        m_engine.m_game.m_templates.push_back(MakeTemplate("loopy", "loopy", "y=+loopy"));
        if (emptyRecords) {
            templates.insert(templates.begin() + 2, nullptr);
            m_engine.m_game.m_templates.insert(m_engine.m_game.m_templates.begin(), nullptr);
        }
        CTemplateDlg dialog(m_engine.m_view, m_settings, "self", 0);
        EXPECT_EQ(Current(dialog), QStringLiteral("self"));
        EXPECT_EQ(Params(dialog), QStringLiteral("material="));
        EXPECT_TRUE(ShowsMessage(dialog));

        // Every item, and the search on every name.
        std::vector<QTreeWidgetItem*> items;
        for (QTreeWidgetItemIterator it(&Tree(dialog)); *it != nullptr; ++it)
            items.push_back(*it);
        EXPECT_EQ(items.size(), 7U + (emptyRecords ? 1U : 0U));
        for (QTreeWidgetItem* item : items) {
            SCOPED_TRACE(item->text(0).toStdString());
            Tree(dialog).setCurrentItem(item);
            Click(dialog, Ctl::kTemplateAutoSize);
            Click(dialog, Ctl::kTemplateRealSize);
        }
        Search(dialog, "");
        EXPECT_EQ(Current(dialog), QStringLiteral("_base"));
        Search(dialog, "zz");
        EXPECT_EQ(Current(dialog), QString());
        EXPECT_EQ(Params(dialog), QString());
        Search(dialog, "wor");
        EXPECT_EQ(Params(dialog), QStringLiteral("no equals here"));

        // Add the game's template based on itself, through the nested dialog.
        OnModal<CTemplateDlg>(m_app.get(), [](CTemplateDlg& second) {
            Search(second, "loopy");
            EXPECT_EQ(Current(second), QStringLiteral("loopy"));
            Click(second, Ctl::kOk);
        });
        Click(dialog, Ctl::kTemplateAdd);
        EXPECT_EQ(Current(dialog), QStringLiteral("loopy"));

        // Delete every leaf the dialog offers until none is left.
        for (int round = 0; round < 20; ++round) {
            QTreeWidgetItem* leaf = nullptr;
            for (QTreeWidgetItemIterator it(&Tree(dialog)); *it != nullptr; ++it)
                if ((*it)->childCount() == 0 && (*it)->text(0) != QStringLiteral("none")) {
                    Tree(dialog).setCurrentItem(*it);
                    if (CanDelete(dialog)) {
                        leaf = *it;
                        break;
                    }
                }
            if (leaf == nullptr)
                break;
            Click(dialog, Ctl::kTemplateDelete);
        }
        const std::size_t left = static_cast<std::size_t>(std::count_if(
            templates.begin(), templates.end(), [](const auto& t) { return t != nullptr; }));
        EXPECT_EQ(left, 0U);
        if (!emptyRecords) {
            EXPECT_TRUE(LevelIsSound(m_engine.m_level));
        }
        EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('|').toStdString();
        Click(dialog, Ctl::kCancel);
        m_engine.m_game.m_templates.erase(
            std::remove_if(m_engine.m_game.m_templates.begin(), m_engine.m_game.m_templates.end(),
                           [](const auto& t) { return !t || t->m_name == "loopy"; }),
            m_engine.m_game.m_templates.end());
    }
}
