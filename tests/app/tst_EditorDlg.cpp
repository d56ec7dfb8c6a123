// The text editor's window rectangle: "EditWindowX/Y/W/H" (-1 unset) stored on OK only, saved
// and loaded through the settings store, and taken by the next editor; an unset or partly
// negative rectangle opens the editor centred at its own size. Lines do not wrap.

#include "AppTestSupport.h"

#include "app/SettingsStore.h"
#include "framework/Settings.h"
#include "resources/ui/EditorDlg.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>

#include <cstdlib>

namespace {

class EditorDlgTest : public AppTest {
protected:
    // Shows an editor over settings and lets it place itself.
    std::unique_ptr<CEditorDlg> Open(CSettings& settings, const QString& text = QStringLiteral("x"))
    {
        auto dialog = std::make_unique<CEditorDlg>(QStringLiteral("Edit"), text, settings, 0x1008E);
        dialog->show();
        QApplication::processEvents();
        return dialog;
    }

    static void ExpectCentred(const QWidget& dialog)
    {
        const QPoint centre = dialog.screen()->availableGeometry().center();
        const QPoint at = dialog.frameGeometry().center();
        EXPECT_LE(std::abs(at.x() - centre.x()), 2) << at.x() << " " << centre.x();
        EXPECT_LE(std::abs(at.y() - centre.y()), 2) << at.y() << " " << centre.y();
    }

    // The four values as the settings file holds them after an exit, read back at a start.
    CSettings SavedAndLoaded(const CSettings& settings)
    {
        {
            QSettings profile(SettingsFile(), QSettings::IniFormat);
            CSettingsStore(profile).SavePreferences(settings);
        }
        QSettings profile(SettingsFile(), QSettings::IniFormat);
        CSettings loaded;
        CSettingsStore(profile).LoadPreferences(loaded);
        return loaded;
    }
};

TEST_F(EditorDlgTest, RectangleIsStoredOnOkAndTakenNextTime)
{
    CSettings settings;
    QSize ownSize;
    {
        // Unset: centred at its own size. Cancel is the default button and stores nothing.
        auto dialog = Open(settings);
        EXPECT_EQ(dialog->objectName(), Id(Dlg::kEditor));
        EXPECT_TRUE(Control<QPushButton>(*dialog, Ctl::kCancel)->isDefault());
        ExpectCentred(*dialog);
        ownSize = dialog->frameGeometry().size();
        dialog->setGeometry(30, 40, 500, 350);
        Click(*dialog, Ctl::kCancel);
        EXPECT_EQ(settings.m_editWindowX, -1);
        EXPECT_EQ(settings.m_editWindowW, -1);
    }
    QRect stored;
    {
        // OK stores the outer rectangle.
        auto dialog = Open(settings);
        dialog->setGeometry(30, 40, 500, 350);
        QApplication::processEvents();
        stored = dialog->frameGeometry();
        Click(*dialog, Ctl::kOk);
        EXPECT_EQ(settings.m_editWindowX, stored.left());
        EXPECT_EQ(settings.m_editWindowY, stored.top());
        EXPECT_EQ(settings.m_editWindowW, stored.width());
        EXPECT_EQ(settings.m_editWindowH, stored.height());
    }
    // Through the settings file, the next editor opens on the stored rectangle.
    CSettings loaded = SavedAndLoaded(settings);
    EXPECT_EQ(loaded.m_editWindowX, stored.left());
    EXPECT_EQ(loaded.m_editWindowH, stored.height());
    {
        auto dialog = Open(loaded);
        EXPECT_EQ(dialog->frameGeometry(), stored);
        Click(*dialog, Ctl::kCancel);
    }

    // x or y below 0 counts as unset.
    for (const QRect bad : {QRect(-5, 40, 500, 350), QRect(30, -1, 500, 350)}) {
        CSettings partly;
        partly.m_editWindowX = bad.left();
        partly.m_editWindowY = bad.top();
        partly.m_editWindowW = bad.width();
        partly.m_editWindowH = bad.height();
        auto dialog = Open(partly);
        ExpectCentred(*dialog);
        EXPECT_EQ(dialog->frameGeometry().size(), ownSize);
        Click(*dialog, Ctl::kCancel);
    }
    // A place without a size moves the editor there at its own size.
    CSettings placeOnly;
    placeOnly.m_editWindowX = 30;
    placeOnly.m_editWindowY = 40;
    auto dialog = Open(placeOnly);
    EXPECT_EQ(dialog->frameGeometry(), QRect(QPoint(30, 40), ownSize));
}

TEST_F(EditorDlgTest, LongLinesScrollSideways)
{
    CSettings settings;
    const QString line(400, QLatin1Char('a'));
    auto dialog = Open(settings, line + QStringLiteral("\nshort"));
    auto* editor = Control<QPlainTextEdit>(*dialog, Ctl::kEditorText);
    EXPECT_EQ(editor->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(editor->document()->lineCount(), 2);
    EXPECT_GT(editor->horizontalScrollBar()->maximum(), 0);
    editor->setPlainText(QStringLiteral("edited"));
    Click(*dialog, Ctl::kOk);
    EXPECT_EQ(dialog->m_text, QStringLiteral("edited"));
}

}  // namespace
