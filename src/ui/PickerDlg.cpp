#include "ui/PickerDlg.h"

#include "ui/DialogIds.h"
#include "ui/UiServices.h"

#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>

CPickerDlg::CPickerDlg(const QString& caption, const std::vector<std::string>& names,
                       std::string_view initial, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QString::number(Dlg::kPicker));
    setWindowTitle(caption);

    auto* layout = new QGridLayout(this);
    m_list = new QListWidget(this);
    m_list->setObjectName(QString::number(Ctl::kPickerList));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    // Names are 8-bit text of the level and the game.
    for (const std::string& name : names)
        m_list->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    const QString start =
        QString::fromLatin1(initial.data(), static_cast<qsizetype>(initial.size()));
    for (int row = 0; row < m_list->count(); ++row) {
        if (m_list->item(row)->text().startsWith(start, Qt::CaseInsensitive)) {
            m_list->setCurrentRow(row);
            break;
        }
    }
    layout->addWidget(m_list, 0, 0, 3, 1);

    const int buttonWidth = DialogUnits(*this, 36, 0).width();
    m_ok = new QPushButton(QStringLiteral("&Ok"), this);
    m_ok->setObjectName(QString::number(Ctl::kOk));
    m_ok->setDefault(true);
    m_ok->setMinimumWidth(buttonWidth);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QString::number(Ctl::kCancel));
    cancel->setAutoDefault(false);
    cancel->setMinimumWidth(buttonWidth);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(m_ok, 0, 1);
    layout->addWidget(cancel, 1, 1);
    layout->setRowStretch(2, 1);

    connect(m_list, &QListWidget::itemSelectionChanged, this, &CPickerDlg::UpdateOk);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] {
        if (Selected() >= 0)
            accept();
    });
    UpdateOk();
    FitDialog(*this, DialogUnits(*this, 180, 120));
}

CPickerDlg::~CPickerDlg() = default;

int CPickerDlg::Selected() const
{
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->row(selected.front());
}

void CPickerDlg::UpdateOk()
{
    m_ok->setEnabled(Selected() >= 0);
}
