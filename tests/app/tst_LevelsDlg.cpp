#include "AppTestSupport.h"

#include "episode/ui/LevelsDlg.h"
#include "resources/Tree.h"
#include "ui/DialogIds.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>

namespace {

CTree Levels(std::initializer_list<const char*> paths)
{
    CTree tree;
    std::int32_t offset = 0;
    for (const char* path : paths)
        tree.m_entries.push_back(std::make_unique<CTreeObject>(path, offset++, 10));
    return tree;
}

QStringList Rows(QListWidget& list)
{
    QStringList rows;
    for (int i = 0; i < list.count(); ++i)
        rows << list.item(i)->text();
    return rows;
}

}  // namespace

TEST(LevelsDlg, ListsTheLevelsInOrderWithTheFirstSelected)
{
    EnsureQApplication();
    const CTree levels = Levels({"qzl\\canyon.qzl", "qzl\\base.qzl", "qzl\\zeta.qzl"});
    CLevelsDlg dialog(levels);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Levels"));
    EXPECT_EQ(dialog.objectName(), Id(Dlg::kLevels));
    auto* text = Control<QLabel>(dialog, Ctl::kLevelsText);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(), QStringLiteral("You have opened a GOB/GOO file containing multiple "
                                           "levels. In the list below you must select the level "
                                           "you want to view in QzEdit."));
    auto* list = Control<QListWidget>(dialog, Ctl::kLevelsList);
    ASSERT_NE(list, nullptr);
    // The list's order, not sorted again; names without folders.
    EXPECT_EQ(Rows(*list), (QStringList{"canyon.qzl", "base.qzl", "zeta.qzl"}));
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_TRUE(list->item(0)->isSelected());
    auto* ok = Control<QPushButton>(dialog, Ctl::kOk);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("&Ok"));
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(dialog.findChild<QPushButton*>(Id(Ctl::kCancel)), nullptr);  // no Cancel button

    list->setCurrentRow(2);
    Click(dialog, Ctl::kOk);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.m_selected, 2);
}

TEST(LevelsDlg, OkWithoutSelectionStaysOpenAndEscapeCancels)
{
    EnsureQApplication();
    for (const bool empty : {false, true}) {
        SCOPED_TRACE(empty ? "no levels" : "selection cleared");
        const CTree levels = empty ? Levels({}) : Levels({"qzl\\a.qzl", "qzl\\b.qzl"});
        CLevelsDlg dialog(levels);
        dialog.show();
        auto* list = Control<QListWidget>(dialog, Ctl::kLevelsList);
        ASSERT_NE(list, nullptr);
        list->clearSelection();
        Click(dialog, Ctl::kOk);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.m_selected, -1);

        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(dialog.m_selected, -1);
    }
}
