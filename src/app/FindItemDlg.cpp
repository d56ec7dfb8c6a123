#include "app/FindItemDlg.h"

#include "app/QzEditDoc.h"
#include "engine/C3dView.h"
#include "level/QzlSections.h"
#include "ui/DialogButtons.h"
#include "ui/DialogIds.h"
#include "ui/UiServices.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include <cstddef>

namespace {

struct CFindList {
    const char* caption;
    int id;
    EFindItem kind;
};

constexpr CFindList kFindLists[] = {
    {"Sector Number", Ctl::kFindSectorNumber, EFindItem::Sector},
    {"Surface Number", Ctl::kFindSurfaceNumber, EFindItem::Surface},
    {"Object Number", Ctl::kFindObjectNumber, EFindItem::Thing},
};

}  // namespace

CFindItemDlg::CFindItemDlg(CQzEditDoc& doc, QWidget* parent) : QDialog(parent)
{
    setObjectName(QString::number(Dlg::kFindItem));
    setWindowTitle(QStringLiteral("Find Item"));

    auto* grid = new QGridLayout;
    for (std::size_t i = 0; i < m_lists.size(); ++i) {
        const CFindList& entry = kFindLists[i];
        auto* label = new QLabel(QString::fromLatin1(entry.caption), this);
        CList& list = m_lists[i];
        list.edit = new QLineEdit(this);
        list.edit->setObjectName(QString::number(entry.id));
        list.list = new QListWidget(this);
        list.list->setObjectName(QString::number(entry.id));
        list.list->setSelectionMode(QAbstractItemView::SingleSelection);
        label->setBuddy(list.edit);
        const int column = static_cast<int>(i);
        grid->addWidget(label, 0, column);
        grid->addWidget(list.edit, 1, column);
        grid->addWidget(list.list, 2, column);
        connect(list.list, &QListWidget::itemSelectionChanged, this,
                [this, i] { OnSelectionChange(i); });
        connect(list.edit, &QLineEdit::textEdited, this, [this, i] { OnEditChange(i); });
    }
    QDialogButtonBox* buttons =
        MakeDialogButtons(*this, Qt::Horizontal, QStringLiteral("&OK"), QStringLiteral("&Cancel"),
                          0x20000U + Dlg::kFindItem);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    // Filled in the order sector, surface, thing; the current entry of each is selected and the
    // other lists cleared, so the last current one found stays selected.
    const CQzlSections& level = *doc.m_level;
    const CSelection* selection = doc.m_pEngine != nullptr ? &doc.m_pEngine->m_selection : nullptr;
    const std::size_t counts[] = {level.m_sectors.size(), level.m_surfaces.size(),
                                  level.m_things.size()};
    const int current[] = {selection != nullptr ? selection->m_sector : -1,
                           selection != nullptr ? selection->m_surface : -1,
                           selection != nullptr ? selection->m_thing : -1};
    for (std::size_t i = 0; i < m_lists.size(); ++i) {
        QListWidget& list = *m_lists[i].list;
        m_filling = true;
        for (std::size_t n = 0; n < counts[i]; ++n)
            list.addItem(QString::number(n));
        m_filling = false;
        if (current[i] >= 0 && static_cast<std::size_t>(current[i]) < counts[i])
            list.setCurrentRow(current[i]);
    }
    FitDialog(*this, DialogUnits(*this, 220, 160));
}

CFindItemDlg::~CFindItemDlg() = default;

void CFindItemDlg::OnSelectionChange(std::size_t which)
{
    if (m_filling)
        return;
    QListWidget& list = *m_lists[which].list;
    const QList<QListWidgetItem*> selected = list.selectedItems();
    if (selected.isEmpty())
        return;
    if (m_lists[which].edit->text().trimmed() != selected.front()->text())
        m_lists[which].edit->setText(selected.front()->text());
    m_filling = true;
    for (std::size_t i = 0; i < m_lists.size(); ++i) {
        if (i == which)
            continue;
        m_lists[i].list->clearSelection();
        m_lists[i].list->setCurrentRow(-1);
        m_lists[i].edit->clear();
    }
    m_filling = false;
}

void CFindItemDlg::OnEditChange(std::size_t which)
{
    QListWidget& list = *m_lists[which].list;
    const QList<QListWidgetItem*> found =
        list.findItems(m_lists[which].edit->text().trimmed(), Qt::MatchExactly);
    if (found.isEmpty()) {
        list.clearSelection();
        list.setCurrentRow(-1);
        return;
    }
    list.setCurrentItem(found.front());
    list.scrollToItem(found.front());
}

std::pair<EFindItem, int> CFindItemDlg::Chosen() const
{
    for (std::size_t i = 0; i < m_lists.size(); ++i) {
        const QList<QListWidgetItem*> selected = m_lists[i].list->selectedItems();
        if (!selected.isEmpty())
            return {kFindLists[i].kind, m_lists[i].list->row(selected.front())};
    }
    return {EFindItem::None, -1};
}
