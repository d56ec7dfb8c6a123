#include "edit/ui/MergeDlg.h"

#include "engine/C3dView.h"
#include "ui/DialogButtons.h"
#include "ui/DialogIds.h"
#include "ui/DialogText.h"
#include "ui/UiServices.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using DialogText::Id;

// The help context of a dialog: the help base of resources plus its id.
constexpr unsigned int kHelpContext = 0x20000u + Dlg::kMerge;

}  // namespace

CMergeDlg::CMergeDlg(C3dView& engine, EMergeMode mode, QWidget* parent)
    : QDialog(parent), m_mode(mode), m_candidates(MergeCandidates(engine, mode))
{
    const bool surfaces = mode == EMergeMode::Surfaces;
    setObjectName(Id(Dlg::kMerge));
    setWindowTitle(surfaces ? QStringLiteral("Merge Surfaces") : QStringLiteral("Merge Sectors"));

    m_label = new QLabel(
        surfaces ? QStringLiteral("Surface Number") : QStringLiteral("Sector Number"), this);
    m_label->setObjectName(Id(Ctl::kMergeLabel));
    m_list = new QListWidget(this);
    m_list->setObjectName(Id(Ctl::kMergeList));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_label->setBuddy(m_list);
    for (const int candidate : m_candidates)
        m_list->addItem(QString::number(candidate));
    m_list->setMinimumSize(DialogUnits(*this, 60, 60));

    QDialogButtonBox* buttons = MakeDialogButtons(*this, Qt::Horizontal, QStringLiteral("OK"),
                                                  QStringLiteral("Cancel"), kHelpContext);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &CMergeDlg::accept);
    // OK takes the selected number: it stays greyed until one is selected, so a focus frame on
    // the first entry never looks like a choice that OK then ignores.
    if (auto* ok = buttons->findChild<QPushButton*>(QString::number(Ctl::kOk))) {
        ok->setEnabled(false);
        connect(m_list, &QListWidget::itemSelectionChanged, ok,
                [this, ok] { ok->setEnabled(!m_list->selectedItems().isEmpty()); });
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
}

CMergeDlg::~CMergeDlg() = default;

int CMergeDlg::exec()
{
    if (m_candidates.empty()) {
        QzMessageBox(QString::fromLatin1(MergeRefusal(m_mode)), QMessageBox::Ok, parentWidget());
        setResult(QDialog::Rejected);
        return QDialog::Rejected;
    }
    return QDialog::exec();
}

void CMergeDlg::accept()
{
    const int row = m_list->currentRow();
    if (row < 0 || !m_list->currentItem()->isSelected())
        return;
    m_chosen = m_candidates[static_cast<std::size_t>(row)];
    QDialog::accept();
}
