#include "resources/ui/SelectColorMapDlg.h"

#include "engine/C3dView.h"
#include "engine/ColorMapList.h"
#include "engine/Questions.h"
#include "resources/ui/ResourceListControls.h"
#include "ui/DialogIds.h"
#include "ui/DialogText.h"
#include "ui/UiServices.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

namespace {

constexpr unsigned int kHelpContext = 0x20000U + static_cast<unsigned int>(Dlg::kSelectColorMap);

}  // namespace

CSelectColorMapDlg::CSelectColorMapDlg(C3dView& view, CLevelChangeRunner change, QWidget* parent)
    : QDialog(parent), m_view(view), m_change(std::move(change))
{
    setObjectName(QString::number(Dlg::kSelectColorMap));
    setWindowTitle(QStringLiteral("Select Color Map"));
    m_list = new QListWidget(this);
    m_list->setObjectName(QString::number(Ctl::kSelectColorMapList));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    SetColumnList(*m_list);
    for (const std::string& name :
         PickerNames(view.GetLevel(), view.GetGame(), EPicker::ColorMap, kPickToAdd))
        m_list->addItem(DialogText::Text(name));
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);

    const auto button = [this](const char* text, int id) {
        return DialogText::Button(this, text, id);
    };
    QPushButton* ok = button("&OK", Ctl::kOk);
    ok->setDefault(true);
    QPushButton* apply = button("&Apply", Ctl::kApplyNow);
    QPushButton* cancel = button("&Cancel", Ctl::kCancel);
    QPushButton* help = button("&Help", Ctl::kHelp);
    connect(ok, &QPushButton::clicked, this, &CSelectColorMapDlg::OnOK);
    connect(apply, &QPushButton::clicked, this, &CSelectColorMapDlg::OnApply);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [] { QzHelp(kHelpContext); });
    auto* buttons = new QVBoxLayout;
    for (QPushButton* each : {ok, apply, cancel, help})
        buttons->addWidget(each);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
}

void CSelectColorMapDlg::OnApply()
{
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty())
        return;
    const std::string name = selected.front()->text().toLatin1().toStdString();
    m_change([&] { return SelectColorMap(m_view, name); });
}

void CSelectColorMapDlg::OnOK()
{
    OnApply();
    accept();
}
