#include "episode/ui/EpisodeEditorDlg.h"

#include "episode/EpisodeFile.h"
#include "episode/ui/CaptionList.h"
#include "ui/DialogButtons.h"
#include "ui/DialogIds.h"
#include "ui/DialogText.h"
#include "ui/UiServices.h"

#include <QComboBox>
#include <QFont>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>
#include <QVBoxLayout>

#include <array>
#include <cstddef>
#include <string>
#include <utility>

namespace {

using DialogText::Id;
using DialogText::Latin1;
using DialogText::Text;

// The selection of list, or value when nothing is selected (a stored value outside the list is
// kept, not replaced by -1).
int Selected(const QComboBox& list, int value)
{
    return list.currentIndex() >= 0 ? list.currentIndex() : value;
}

// The message text uses CR LF line ends; the control has bare line feeds.
QString ShownText(const std::string& text)
{
    QString shown = Text(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

std::string StoredText(QString shown)
{
    shown.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return Latin1(shown);
}

}  // namespace

CEpisodeEditorDlg::CEpisodeEditorDlg(CDocumentFields& fields, std::function<void()> modified,
                                     QWidget* parent)
    : QDialog(parent), m_fields(fields), m_modified(std::move(modified))
{
    setObjectName(Id(Dlg::kEpisodeEditor));
    setWindowTitle(QStringLiteral("Episode Editor"));
    setModal(true);

    m_title = new QLineEdit(Text(m_fields.m_episodeTitle), this);
    m_title->setObjectName(Id(Ctl::kEpisodeTitle));
    m_levelFile = new QLineEdit(Text(m_fields.m_levelFileName), this);
    m_levelFile->setObjectName(Id(Ctl::kEpisodeLevelFile));
    m_type = CaptionList(this, Ctl::kEpisodeType, kEpisodeTypeCaptions, m_fields.m_episodeType);
    m_kind = CaptionList(this, Ctl::kEpisodeKind, kLevelKindCaptions, m_fields.m_levelKind);
    m_lightPower =
        CaptionList(this, Ctl::kEpisodeLightPower, kLightPowerNames, m_fields.m_lightPower);
    m_darkPower = CaptionList(this, Ctl::kEpisodeDarkPower, kDarkPowerNames, m_fields.m_darkPower);

    m_objectives = new QTextEdit(this);
    m_objectives->setObjectName(Id(Ctl::kEpisodeObjectives));
    m_objectives->setAcceptRichText(false);
    m_objectives->setLineWrapMode(QTextEdit::NoWrap);
    m_objectives->setTabChangesFocus(false);
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(12);
    m_objectives->setFont(font);
    m_shownObjectives = ShownText(m_fields.m_messageText);
    m_objectives->setPlainText(m_shownObjectives);
    m_objectives->setMinimumSize(DialogUnits(*this, 280, 110));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Level Title:"), m_title);
    form->addRow(QStringLiteral("Level File:"), m_levelFile);
    form->addRow(QStringLiteral("Type:"), m_type);
    form->addRow(QStringLiteral("Kind:"), m_kind);
    form->addRow(QStringLiteral("Light Power:"), m_lightPower);
    form->addRow(QStringLiteral("Dark Power:"), m_darkPower);
    QDialogButtonBox* buttons =
        MakeDialogButtons(*this, Qt::Horizontal, QStringLiteral("&OK"), QStringLiteral("&Cancel"),
                          0x20000U + static_cast<unsigned int>(Dlg::kEpisodeEditor));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(new QLabel(QStringLiteral("Objectives:"), this));
    layout->addWidget(m_objectives, 1);
    layout->addWidget(buttons);
    FitDialog(*this, DialogUnits(*this, 300, 240));
    m_objectives->setFocus();
}

CEpisodeEditorDlg::~CEpisodeEditorDlg() = default;

void CEpisodeEditorDlg::accept()
{
    CDocumentFields edited = m_fields;
    edited.m_episodeTitle = Latin1(m_title->text());
    edited.m_levelFileName = Latin1(m_levelFile->text());
    edited.m_episodeType = Selected(*m_type, m_fields.m_episodeType);
    edited.m_levelKind = Selected(*m_kind, m_fields.m_levelKind);
    edited.m_lightPower = Selected(*m_lightPower, m_fields.m_lightPower);
    edited.m_darkPower = Selected(*m_darkPower, m_fields.m_darkPower);
    // Objectives left as shown keep the stored text byte for byte.
    const QString objectives = m_objectives->toPlainText();
    if (objectives != m_shownObjectives)
        edited.m_messageText = StoredText(objectives);
    if (!(edited == m_fields)) {
        m_fields = std::move(edited);
        if (m_modified)
            m_modified();
    }
    QDialog::accept();
}
