// The editor on the desktop's colour scheme: with a dark and with a light application palette,
// the status bar's texts and the form views' labels and fields are drawn in colours that stand out
// from the background they are drawn on.

#include "FormViewTestSupport.h"

#include "app/MainFrame.h"
#include "app/QzEditApp.h"
#include "support/FixtureLevels.h"

#include <QImage>
#include <QLabel>
#include <QPalette>
#include <QStatusBar>

#include <algorithm>
#include <cmath>

namespace {

int Luma(QRgb c)
{
    return (299 * qRed(c) + 587 * qGreen(c) + 114 * qBlue(c)) / 1000;
}

// The largest luminance difference between a pixel of widget and the widget's background, and
// how many pixels differ by more than margin.
struct CContrast {
    int m_largest = 0;
    int m_count = 0;
};

CContrast ContrastOf(QWidget& widget, const QColor& background, int margin)
{
    const QImage image = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const int base = Luma(background.rgb());
    CContrast contrast;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int d = std::abs(Luma(image.pixel(x, y)) - base);
            contrast.m_largest = std::max(contrast.m_largest, d);
            if (d > margin)
                ++contrast.m_count;
        }
    }
    return contrast;
}

QPalette Scheme(const QColor& window, const QColor& text, const QColor& base)
{
    QPalette palette(window);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Window, window);
        palette.setColor(group, QPalette::WindowText, text);
        palette.setColor(group, QPalette::Base, base);
        palette.setColor(group, QPalette::Text, text);
        palette.setColor(group, QPalette::Button, window);
        palette.setColor(group, QPalette::ButtonText, text);
    }
    return palette;
}

class PaletteContrast : public FormViewTest {
protected:
    void TearDown() override
    {
        FormViewTest::TearDown();
        QApplication::setPalette(m_before);
    }
    QPalette m_before = QApplication::palette();
};

TEST_F(PaletteContrast, StatusBarAndFormViewsReadOnDarkAndLight)
{
    struct Case {
        const char* name;
        QPalette palette;
    };
    const Case cases[] = {
        {"dark",
         Scheme(QColor(0x2b, 0x2b, 0x2b), QColor(0xee, 0xee, 0xee), QColor(0x1e, 0x1e, 0x1e))},
        {"light",
         Scheme(QColor(0xef, 0xef, 0xef), QColor(0x10, 0x10, 0x10), QColor(0xff, 0xff, 0xff))},
    };
    Start(MakeTwoJoinedRooms());
    Select(0, 0);
    CMainFrame& frame = *m_app->m_pMainFrame;
    frame.SetMessageText(QStringLiteral("Sector 0 processed..."));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QApplication::setPalette(c.palette);
        QApplication::processEvents();
        const QColor window = c.palette.color(QPalette::Window);
        // The editor keeps the palette it is given: no light one of its own over it.
        EXPECT_EQ(frame.palette().color(QPalette::Window), window);
        EXPECT_EQ(frame.statusBar()->palette().color(QPalette::WindowText),
                  c.palette.color(QPalette::WindowText));

        const CContrast bar = ContrastOf(*frame.statusBar(), window, 80);
        EXPECT_GT(bar.m_largest, 150);
        EXPECT_GT(bar.m_count, 20);  // the message's letters
        // Every label of the form views: sector form and property view.
        int labels = 0;
        int edits = 0;
        for (const int row : {0, 1}) {
            QWidget& pane = Pane(row);
            for (QLabel* label : pane.findChildren<QLabel*>()) {
                if (!label->isVisible() || label->text().trimmed().isEmpty())
                    continue;
                SCOPED_TRACE(label->text().toStdString());
                ++labels;
                EXPECT_GT(ContrastOf(*label, label->palette().color(label->backgroundRole()), 80)
                              .m_largest,
                          150);
            }
            // The fields: their text on their base colour (a disabled field is dimmed as the
            // desktop's style dims it).
            for (QLineEdit* edit : pane.findChildren<QLineEdit*>()) {
                if (!edit->isVisible() || !edit->isEnabled() || edit->text().isEmpty())
                    continue;
                SCOPED_TRACE(edit->objectName().toStdString());
                ++edits;
                EXPECT_GT(ContrastOf(*edit, edit->palette().color(QPalette::Base), 80).m_largest,
                          150);
            }
        }
        EXPECT_GT(labels, 10);
        EXPECT_GT(edits, 5);
    }
}

}  // namespace
