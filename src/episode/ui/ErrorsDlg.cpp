#include "episode/ui/ErrorsDlg.h"

#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "engine/RenderData.h"
#include "engine/Undo.h"
#include "episode/CleanUp.h"
#include "episode/ErrorShow.h"
#include "ui/DialogIds.h"
#include "ui/DialogText.h"
#include "ui/UiServices.h"

#include <QHBoxLayout>
#include <QMetaObject>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>
#include <QVBoxLayout>

#include <cstddef>
#include <memory>
#include <span>
#include <utility>

namespace {

using DialogText::Id;
using DialogText::Text;

constexpr unsigned int kHelpContext = 0x20000U + static_cast<unsigned int>(Dlg::kErrors);

}  // namespace

const char* const CErrorsDlg::kCleanUpQuestion =
    "This will attempt to perform the following actions:\n\n"
    "1: Deletion of overlapping vertices\n"
    "2: Deletion of surfaces with less than 3 vertices\n"
    "3: Deletion of sectors with less than 4 surfaces\n"
    "4: Deletion of illegal adjoins\n"
    "5: Eliminate redundant materials\n"
    "6: Ensuring that Objects Sector # matches the sector they are in\n"
    "7: Eliminate illegal sound objects\n"
    "8: Remove exessive parameters from cog scripts\n\n"
    "Are you sure you want to do this?";

CErrorsDlg::CErrorsDlg(CErrorsContext context, QWidget* parent, bool show)
    : QDialog(parent), m_context(std::move(context))
{
    setObjectName(Id(Dlg::kErrors));
    setWindowTitle(QStringLiteral("Errors"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);

    m_report = new QTextEdit(this);
    m_report->setObjectName(Id(Ctl::kErrorsReport));
    m_report->setReadOnly(true);
    m_report->setAcceptRichText(false);
    // One report line is one line of the control, so that the caret's line is the entry's.
    m_report->setLineWrapMode(QTextEdit::NoWrap);
    // Read only, but with a caret that the mouse and the keys move.
    m_report->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    m_report->setFont(font);
    m_report->setMinimumSize(DialogUnits(*this, 260, 120));

    const auto button = [this](const char* text, int id) {
        return DialogText::Button(this, text, id);
    };
    QPushButton* ok = button("&Ok", Ctl::kOk);
    QPushButton* help = button("&Help", Ctl::kHelp);
    m_show = button("&Show", Ctl::kErrorsShow);
    QPushButton* check = button("&Check", Ctl::kErrorsCheck);
    QPushButton* cleanUp = button("Clean &Up", Ctl::kErrorsCleanUp);
    connect(ok, &QPushButton::clicked, this, &CErrorsDlg::accept);
    connect(help, &QPushButton::clicked, this, [] { QzHelp(kHelpContext); });
    connect(m_show, &QPushButton::clicked, this, &CErrorsDlg::OnShow);
    connect(check, &QPushButton::clicked, this, [this] { OnCheck(); });
    connect(cleanUp, &QPushButton::clicked, this, &CErrorsDlg::OnCleanUp);
    connect(m_report, &QTextEdit::cursorPositionChanged, this, &CErrorsDlg::OnCaretMoved);

    auto* column = new QVBoxLayout;
    for (QPushButton* each : {ok, help, m_show, check, cleanUp})
        column->addWidget(each);
    column->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    layout->addWidget(m_report, 1);
    layout->addLayout(column);

    m_report->setFocus();
    m_currentLine = 0;
    m_show->setEnabled(false);
    // The first check runs once the window's events are processed, shown or hidden, unless the
    // caller (Test Level) checked at once.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!m_checked)
                OnCheck();
        },
        Qt::QueuedConnection);
    if (show)
        this->show();
}

CErrorsDlg::~CErrorsDlg()
{
    m_report->disconnect(this);
}

int CErrorsDlg::CheckLevel(std::string& text)
{
    const CQzlSections* level = m_context.m_level ? m_context.m_level() : nullptr;
    if (level == nullptr || m_context.m_game == nullptr)
        return 0;
    C3dView* engine = m_context.m_engine ? m_context.m_engine() : nullptr;
    const std::span<const std::unique_ptr<C3doModel>> models =
        engine != nullptr ? std::span<const std::unique_ptr<C3doModel>>(engine->m_thingModels)
                          : std::span<const std::unique_ptr<C3doModel>>();
    return m_checker.CheckLevel(*level, *m_context.m_game, models, text, m_context.m_host);
}

int CErrorsDlg::OnCheck()
{
    std::string text;
    const int fatal = CheckLevel(text);
    m_checked = true;
    m_report->setPlainText(Text(text));
    OnCaretMoved();
    m_report->update();
    return fatal;
}

void CErrorsDlg::OnCaretMoved()
{
    m_currentLine = m_report->textCursor().blockNumber();
    const std::size_t entries = m_checker.GetSectorList().size();
    m_show->setEnabled(m_currentLine >= 0 && static_cast<std::size_t>(m_currentLine) < entries);
}

void CErrorsDlg::OnShow()
{
    const auto line = static_cast<std::size_t>(m_currentLine);
    const auto& sectors = m_checker.GetSectorList();
    const auto& surfaces = m_checker.GetSurfaceList();
    const auto& vertices = m_checker.GetVertexList();
    const auto& things = m_checker.GetThingList();
    if (m_currentLine < 0 || line >= sectors.size() || line >= surfaces.size() ||
        line >= vertices.size() || line >= things.size() || !m_context.m_onEngine)
        return;
    const CErrorEntry entry{sectors[line], surfaces[line], vertices[line], things[line]};
    m_context.m_onEngine([&entry](C3dView& view) { ShowErrorEntry(view, entry); });
}

void CErrorsDlg::OnCleanUp()
{
    if (QzMessageBox(Text(kCleanUpQuestion), QMessageBox::Yes | QMessageBox::No, this) !=
        QMessageBox::Yes)
        return;
    const CWaitCursor wait;
    if (m_context.m_onEngine)
        m_context.m_onEngine([](C3dView& view) {
            // One undo step; a Clean Up that changed nothing takes none and leaves the document
            // as it was.
            if (!RunUndoable(view, [&view] { return CleanUpLevel(view); }))
                return;
            RebuildAll(view, false, ERebuildAll::Restore);
            view.GetHost().UpdateAllViews(0);
        });
    OnCheck();
}
