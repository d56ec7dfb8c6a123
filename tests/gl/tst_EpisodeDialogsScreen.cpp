// The two episode dialogs on a real display (Xvfb): the Episode Editor with its fields filled and
// the Multi Level Editor with two levels added. Each labelled control lies inside its window
// without overlapping another, its caption whole, the title edits show dark text, and the Level
// Titles list shows its selected row in the highlight colour. The pictures are left in the build
// folder of the tests.

#include "AppTestSupport.h"

#include "episode/StartGoalsCogs.h"
#include "episode/ui/EpisodeEditorDlg.h"
#include "episode/ui/MultiLevelEditorDlg.h"
#include "level/GameResources.h"
#include "support/EpisodeLevels.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kWaitMs = 10000;

class EpisodeDialogsScreenTest : public AppTest {
protected:
    static QImage Shot(QWidget& widget)
    {
        return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    // The labels, edits, lists, text controls and buttons of dialog (not the edit inside an
    // editable list): each visible, inside the window, and overlapping no other.
    static void ExpectControlsApart(QWidget& dialog)
    {
        std::vector<QWidget*> controls;
        for (QWidget* child : dialog.findChildren<QWidget*>()) {
            const bool control = qobject_cast<QLabel*>(child) != nullptr ||
                                 qobject_cast<QComboBox*>(child) != nullptr ||
                                 qobject_cast<QTextEdit*>(child) != nullptr ||
                                 qobject_cast<QPushButton*>(child) != nullptr ||
                                 (qobject_cast<QLineEdit*>(child) != nullptr &&
                                  qobject_cast<QComboBox*>(child->parentWidget()) == nullptr);
            if (control)
                controls.push_back(child);
        }
        ASSERT_GT(controls.size(), 10u);
        std::vector<QRect> rects;
        for (QWidget* each : controls) {
            EXPECT_TRUE(each->isVisible()) << Describe(*each);
            const QRect rect(each->mapTo(&dialog, QPoint(0, 0)), each->size());
            EXPECT_TRUE(dialog.rect().contains(rect)) << Describe(*each) << " outside the window";
            // Captions show whole.
            if (qobject_cast<QLabel*>(each) != nullptr ||
                qobject_cast<QPushButton*>(each) != nullptr) {
                EXPECT_GE(each->width(), each->sizeHint().width()) << Describe(*each);
                EXPECT_GE(each->height(), each->sizeHint().height()) << Describe(*each);
            }
            rects.push_back(rect);
        }
        for (std::size_t i = 0; i < rects.size(); ++i)
            for (std::size_t j = i + 1; j < rects.size(); ++j)
                EXPECT_FALSE(rects[i].intersects(rects[j]))
                    << Describe(*controls[i]) << " overlaps " << Describe(*controls[j]);
    }

    static std::string Describe(QWidget& widget)
    {
        if (auto* label = qobject_cast<QLabel*>(&widget))
            return "label " + label->text().toStdString();
        return std::string(widget.metaObject()->className()) + " " +
               widget.objectName().toStdString();
    }

    // Dark pixels (text) inside the inner part of widget's rectangle in the dialog's picture.
    static int DarkPixels(const QImage& shot, QWidget& dialog, QWidget& widget)
    {
        const QRect rect =
            QRect(widget.mapTo(&dialog, QPoint(0, 0)), widget.size()).adjusted(4, 4, -4, -4);
        int dark = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                if (qGray(shot.pixel(x, y)) < 96)
                    ++dark;
        return dark;
    }

    void ShowAndWait(QWidget& dialog)
    {
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog, kWaitMs));
        QApplication::processEvents();
    }
};

TEST_F(EpisodeDialogsScreenTest, EpisodeEditorWithItsFieldsFilled)
{
    CDocumentFields fields = DefaultDocumentFields();
    fields.m_episodeTitle = "Deep Mine";
    fields.m_levelFileName = "mine.qzl";
    fields.m_episodeType = 1;
    fields.m_levelKind = 2;
    fields.m_lightPower = 6;
    fields.m_darkPower = 7;
    CEpisodeEditorDlg dialog(fields, [] {});
    ShowAndWait(dialog);
    const QImage shot = Shot(dialog);
    SavePictures({{"episode_editor.png", &shot}});
    ExpectControlsApart(dialog);
    auto* title = Control<QLineEdit>(dialog, Ctl::kEpisodeTitle);
    ASSERT_NE(title, nullptr);
    EXPECT_GT(DarkPixels(shot, dialog, *title), 40);
    auto* objectives = Control<QTextEdit>(dialog, Ctl::kEpisodeObjectives);
    ASSERT_NE(objectives, nullptr);
    EXPECT_GT(DarkPixels(shot, dialog, *objectives), 200);
    dialog.reject();
}

TEST_F(EpisodeDialogsScreenTest, MultiLevelEditorWithTwoLevels)
{
    CGameResources game;
    CMultiLevelEditorDlg dialog(game, 0);
    m_fileAnswers.push_back(QString::fromStdString(
        WriteEpisodeLevel(Temp(), {"mine", "Deep Mine", 0, 2, 3}).string() + "\n" +
        WriteEpisodeLevel(Temp(), {"keep", "Old Keep", 1, 6, 7}).string()));
    Click(dialog, Ctl::kMultiAdd);
    ASSERT_EQ(dialog.List().m_items.size(), 2u);
    ShowAndWait(dialog);
    const QImage shot = Shot(dialog);
    SavePictures({{"multi_level_editor.png", &shot}});
    ExpectControlsApart(dialog);
    auto* master = Control<QLineEdit>(dialog, Ctl::kMultiMasterTitle);
    auto* titles = Control<QComboBox>(dialog, Ctl::kMultiLevelTitles);
    auto* goals = Control<QTextEdit>(dialog, Ctl::kMultiGoals);
    ASSERT_TRUE(master != nullptr && titles != nullptr && goals != nullptr);
    EXPECT_EQ(master->text(), QStringLiteral("Episode of mine"));
    EXPECT_GT(DarkPixels(shot, dialog, *master), 40);
    EXPECT_GT(DarkPixels(shot, dialog, *titles), 40);
    EXPECT_GT(DarkPixels(shot, dialog, *goals), 40);

    // The list of titles, open: the selected row (the level shown) in the highlight colour.
    titles->showPopup();
    QAbstractItemView* view = titles->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window(), kWaitMs));
    QApplication::processEvents();
    const QImage list = Shot(*view);
    SavePictures({{"multi_level_titles.png", &list}});
    ASSERT_EQ(titles->currentIndex(), 1);
    const QRect selected = view->visualRect(view->model()->index(1, 0)).adjusted(2, 2, -2, -2);
    const QRect other = view->visualRect(view->model()->index(0, 0)).adjusted(2, 2, -2, -2);
    ASSERT_FALSE(selected.isEmpty());
    const QColor highlight = view->palette().color(QPalette::Highlight);
    const auto share = [&list, &highlight](const QRect& rect) {
        int hits = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x) {
                const QRgb p = list.pixel(x, y);
                if (std::abs(qRed(p) - highlight.red()) < 24 &&
                    std::abs(qGreen(p) - highlight.green()) < 24 &&
                    std::abs(qBlue(p) - highlight.blue()) < 24)
                    ++hits;
            }
        return static_cast<double>(hits) / (rect.width() * rect.height());
    };
    EXPECT_GT(share(selected), 0.5);
    EXPECT_LT(share(other), 0.1);
    titles->hidePopup();
    dialog.hide();
}

}  // namespace
