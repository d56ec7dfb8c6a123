// The "Merge" dialog over an engine: its title, label and list in both modes, the refusal when
// there is nothing to merge with, OK without a chosen entry, the number handed back, Help, and
// the list as it is drawn.

#include "AppTestSupport.h"

#include "edit/ui/MergeDlg.h"
#include "support/FixtureLevels.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <memory>

namespace {

class MergeDlgTest : public AppTest {
protected:
    static std::unique_ptr<CFixtureEngine> EngineOn(CQzlSections level, int sector, int surface)
    {
        auto engine = std::make_unique<CFixtureEngine>(std::move(level));
        engine->m_view.m_selection.m_sector = sector;
        engine->m_view.m_selection.m_surface = surface;
        return engine;
    }

    static QStringList Items(QListWidget& list)
    {
        QStringList items;
        for (int i = 0; i < list.count(); ++i)
            items << list.item(i)->text();
        return items;
    }
};

TEST_F(MergeDlgTest, ListsThePartnersOfEachMode)
{
    struct CCase {
        const char* name;
        CQzlSections (*make)();
        int sector;
        int surface;
        EMergeMode mode;
        QString title;
        QString label;
        QStringList items;
    };
    const CCase cases[] = {
        {"surfaces",
         [] { return MakeTwoSquareFloor(); },
         0,
         1,
         EMergeMode::Surfaces,
         QStringLiteral("Merge Surfaces"),
         QStringLiteral("Surface Number"),
         {QStringLiteral("0")}},
        {"sectors",
         MakeLCorridor,
         1,
         -1,
         EMergeMode::Sectors,
         QStringLiteral("Merge Sectors"),
         QStringLiteral("Sector Number"),
         {QStringLiteral("0"), QStringLiteral("2")}},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto engine = EngineOn(c.make(), c.sector, c.surface);
        CMergeDlg dialog(engine->m_view, c.mode);
        EXPECT_EQ(dialog.objectName(), Id(Dlg::kMerge));
        EXPECT_EQ(dialog.windowTitle(), c.title);
        QLabel* label = Control<QLabel>(dialog, Ctl::kMergeLabel);
        QListWidget* list = Control<QListWidget>(dialog, Ctl::kMergeList);
        ASSERT_NE(label, nullptr);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(label->text(), c.label);
        EXPECT_EQ(Items(*list), c.items);
        for (const int id : {Ctl::kOk, Ctl::kCancel, Ctl::kHelp})
            EXPECT_NE(Control<QPushButton>(dialog, id), nullptr);
    }
}

TEST_F(MergeDlgTest, NothingToMergeWithRefusesWithoutShowing)
{
    struct CCase {
        EMergeMode mode;
        QString message;
    };
    for (const CCase& c :
         {CCase{EMergeMode::Surfaces,
                QStringLiteral("Cannot merge surfaces, since no shared surface edge exist.")},
          CCase{EMergeMode::Sectors,
                QStringLiteral("Cannot merge sectors, since no adjoined surface exist.")}}) {
        m_messages.clear();
        auto engine = EngineOn(MakeBoxRoom(), 0, 0);
        CMergeDlg dialog(engine->m_view, c.mode);
        EXPECT_EQ(dialog.exec(), QDialog::Rejected);
        EXPECT_EQ(m_messages, QStringList{c.message});
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.m_chosen, -1);
    }
}

TEST_F(MergeDlgTest, OkNeedsAChosenEntry)
{
    auto engine = EngineOn(MakeLCorridor(), 1, -1);
    CMergeDlg dialog(engine->m_view, EMergeMode::Sectors);
    dialog.show();
    // Greyed until a number is selected: the focus frame on the first entry is no choice.
    QPushButton* ok = Control<QPushButton>(dialog, Ctl::kOk);
    ASSERT_NE(ok, nullptr);
    EXPECT_FALSE(ok->isEnabled());
    Click(dialog, Ctl::kOk);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.m_chosen, -1);
    EXPECT_TRUE(m_messages.isEmpty());

    QListWidget* list = Control<QListWidget>(dialog, Ctl::kMergeList);
    ASSERT_NE(list, nullptr);
    list->setCurrentRow(1);
    EXPECT_TRUE(ok->isEnabled());
    Click(dialog, Ctl::kOk);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.m_chosen, 2);
}

TEST_F(MergeDlgTest, CancelAndHelp)
{
    unsigned int context = 0;
    const CHelpHandler old = SetHelpHandler([&context](unsigned int c) { context = c; });
    auto engine = EngineOn(MakeLCorridor(), 1, -1);
    CMergeDlg dialog(engine->m_view, EMergeMode::Sectors);
    dialog.show();
    Click(dialog, Ctl::kHelp);
    EXPECT_EQ(context, 0x20000u + 5082u);
    EXPECT_TRUE(dialog.isVisible());
    Control<QListWidget>(dialog, Ctl::kMergeList)->setCurrentRow(0);
    Click(dialog, Ctl::kCancel);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.m_chosen, -1);
    SetHelpHandler(old);
}

TEST_F(MergeDlgTest, TheListDrawsItsEntries)
{
    auto engine = EngineOn(MakeLCorridor(), 1, -1);
    CMergeDlg dialog(engine->m_view, EMergeMode::Sectors);
    dialog.show();
    QApplication::processEvents();
    QListWidget* list = Control<QListWidget>(dialog, Ctl::kMergeList);
    ASSERT_NE(list, nullptr);
    const QImage image = list->viewport()->grab().toImage();
    ASSERT_FALSE(image.isNull());
    // Text pixels (darker than the list's background) in the rows of the two entries, none
    // below them.
    const QColor background = image.pixelColor(image.width() - 2, image.height() - 2);
    const auto darkPixels = [&](const QRect& area) {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (image.pixelColor(x, y).lightness() + 60 < background.lightness())
                    ++count;
        return count;
    };
    const QRect first = list->visualItemRect(list->item(0)).intersected(image.rect());
    const QRect second = list->visualItemRect(list->item(1)).intersected(image.rect());
    EXPECT_GT(darkPixels(first), 0);
    EXPECT_GT(darkPixels(second), 0);
    const QRect below(0, second.bottom() + 1, image.width(), image.height() - second.bottom() - 1);
    ASSERT_GT(below.height(), 0);
    EXPECT_EQ(darkPixels(below), 0);
}

}  // namespace
