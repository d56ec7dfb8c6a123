#include "resources/ui/EditorDlg.h"

#include "framework/Exceptions.h"
#include "framework/Settings.h"
#include "level/LevelFiles.h"
#include "resources/Tree.h"
#include "resources/TreeObject.h"
#include "ui/DialogIds.h"
#include "ui/DialogText.h"
#include "ui/UiServices.h"

#include <QFont>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>

namespace {

using DialogText::Id;

}  // namespace

CEditorDlg::CEditorDlg(const QString& title, const QString& text, CSettings& settings,
                       unsigned int helpContext, QWidget* parent)
    : QDialog(parent), m_text(text), m_settings(settings), m_helpContext(helpContext)
{
    setObjectName(Id(Dlg::kEditor));
    setWindowTitle(title);
    setSizeGripEnabled(true);

    m_editor = new QPlainTextEdit(this);
    m_editor->setObjectName(Id(Ctl::kEditorText));
    m_editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(12);
    m_editor->setFont(font);
    m_editor->setPlainText(text);
    // The placeholder's size: 268 x 136 dialog units of the template.
    const QFontMetrics metrics = fontMetrics();
    m_editor->setMinimumSize(metrics.averageCharWidth() * 268 / 4, metrics.height() * 136 / 8);

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(Id(Ctl::kOk));
    ok->setAutoDefault(false);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(Id(Ctl::kCancel));
    cancel->setAutoDefault(false);
    cancel->setDefault(true);
    auto* help = new QPushButton(QStringLiteral("&Help"), this);
    help->setObjectName(Id(Ctl::kHelp));
    help->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &CEditorDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CEditorDlg::reject);
    connect(help, &QPushButton::clicked, this, [this] { QzHelp(m_helpContext); });

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    layout->addWidget(m_editor, 1);
    layout->addLayout(buttons);
}

void CEditorDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_placed) {
        m_placed = true;
        const CSettings& s = m_settings;
        if (s.m_editWindowX >= 0 && s.m_editWindowY >= 0) {
            // The stored outer rectangle: the frame's margins come off the client size. A size
            // that was never stored keeps the dialog's own.
            const QRect frame = frameGeometry();
            const QRect client = geometry();
            const int dw = frame.width() - client.width();
            const int dh = frame.height() - client.height();
            move(s.m_editWindowX, s.m_editWindowY);
            if (s.m_editWindowW > 0 && s.m_editWindowH > 0)
                resize(std::max(1, s.m_editWindowW - dw), std::max(1, s.m_editWindowH - dh));
        }
        m_editor->setFocus();
    }
}

void CEditorDlg::accept()
{
    m_text = m_editor->toPlainText();
    const QRect frame = frameGeometry();
    m_settings.m_editWindowX = frame.left();
    m_settings.m_editWindowY = frame.top();
    m_settings.m_editWindowW = frame.width();
    m_settings.m_editWindowH = frame.height();
    QDialog::accept();
}

std::optional<std::vector<std::uint8_t>> EditTextBytes(const QString& title,
                                                       std::span<const std::uint8_t> bytes,
                                                       CSettings& settings,
                                                       unsigned int helpContext, QWidget* parent)
{
    QString text = QString::fromLatin1(reinterpret_cast<const char*>(bytes.data()),
                                       static_cast<qsizetype>(bytes.size()));
    const bool crlf = text.contains(QLatin1String("\r\n"));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    CEditorDlg dialog(title, text, settings, helpContext, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    QString edited = dialog.m_text;
    if (crlf)
        edited.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    const QByteArray out = edited.toLatin1();
    return std::vector<std::uint8_t>(out.begin(), out.end());
}

bool EditLevelFileText(CTree& files, int index, const QString& title, CSettings& settings,
                       unsigned int helpContext, QWidget* parent)
{
    if (index < 0 || static_cast<std::size_t>(index) >= files.m_entries.size())
        return false;
    CTreeObject& entry = *files.m_entries[static_cast<std::size_t>(index)];
    std::string text;
    try {
        text = LevelFileText(entry);
    } catch (const CArchiveException& e) {
        QzMessageBox(QString::fromLatin1(e.what()), QMessageBox::Ok, parent);
        return false;
    }
    auto edited = EditTextBytes(
        title, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), settings,
        helpContext, parent);
    if (!edited)
        return false;
    entry.m_size = static_cast<std::int32_t>(edited->size());
    entry.m_data = std::move(*edited);
    RecomputeLevelFileOffsets(files);
    return true;
}
