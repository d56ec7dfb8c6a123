#include "episode/ui/LevelsDlg.h"

#include "resources/Tree.h"
#include "ui/DialogIds.h"
#include "ui/DialogText.h"
#include "ui/UiServices.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

using DialogText::Id;
using DialogText::Text;

CLevelsDlg::CLevelsDlg(const CTree& levels, QWidget* parent) : QDialog(parent)
{
    setObjectName(Id(Dlg::kLevels));
    setWindowTitle(QStringLiteral("Levels"));
    setModal(true);

    auto* text = new QLabel(QStringLiteral("You have opened a GOB/GOO file containing multiple "
                                           "levels. In the list below you must select the level "
                                           "you want to view in QzEdit."),
                            this);
    text->setObjectName(Id(Ctl::kLevelsText));
    text->setWordWrap(true);

    m_list = new QListWidget(this);
    m_list->setObjectName(Id(Ctl::kLevelsList));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSortingEnabled(false);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    for (const auto& entry : levels.m_entries)
        m_list->addItem(entry ? Text(entry->m_name) : QString());
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &CLevelsDlg::accept);

    auto* ok = new QPushButton(QStringLiteral("&Ok"), this);
    ok->setObjectName(Id(Ctl::kOk));
    ok->setDefault(true);
    ok->setAutoDefault(true);
    connect(ok, &QPushButton::clicked, this, &CLevelsDlg::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    FitDialog(*this, DialogUnits(*this, 200, 113));
    ok->setFocus();
}

CLevelsDlg::~CLevelsDlg() = default;

void CLevelsDlg::accept()
{
    const int row = m_list->currentRow();
    if (row < 0 || m_list->currentItem() == nullptr || !m_list->currentItem()->isSelected())
        return;
    m_selected = row;
    QDialog::accept();
}
