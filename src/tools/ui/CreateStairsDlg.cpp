#include "tools/ui/CreateStairsDlg.h"

#include "ui/DialogButtons.h"
#include "ui/DialogIds.h"
#include "ui/FormFields.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr unsigned int kHelpContext = 0x20000u + Dlg::kCreateStairs;

// The three fields to or from their controls, in the exchange order.
void ExchangeFields(CFieldExchange& exchange, CStairsParams& params)
{
    exchange.Int(Ctl::kStairsCount, params.m_count);
    exchange.IntRange(Ctl::kStairsCount, params.m_count, kStairsFewest, kStairsMost);
    exchange.Float(Ctl::kStairsTotalDepth, params.m_totalDepth);
    exchange.FloatRange(Ctl::kStairsTotalDepth, params.m_totalDepth, kStairsSmallestSize,
                        kStairsLargestSize);
    exchange.Float(Ctl::kStairsTotalHeight, params.m_totalHeight);
    exchange.FloatRange(Ctl::kStairsTotalHeight, params.m_totalHeight, kStairsSmallestSize,
                        kStairsLargestSize);
}

}  // namespace

CCreateStairsDlg::CCreateStairsDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QString::number(Dlg::kCreateStairs));
    setWindowTitle(QStringLiteral("Create Stairs"));

    auto* fields = new QFormLayout;
    const auto addEdit = [&](const QString& label, int id) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::number(id));
        auto* text = new QLabel(label, this);
        text->setBuddy(edit);
        fields->addRow(text, edit);
    };
    addEdit(QStringLiteral("Number of Stairs:"), Ctl::kStairsCount);
    addEdit(QStringLiteral("Total Depth:"), Ctl::kStairsTotalDepth);
    addEdit(QStringLiteral("Total Height:"), Ctl::kStairsTotalHeight);
    auto* direction = new QGroupBox(QStringLiteral("Direction"), this);
    auto* directionLayout = new QVBoxLayout(direction);
    m_up = new QRadioButton(QStringLiteral("Up"), direction);
    m_up->setObjectName(QString::number(Ctl::kStairsUp));
    m_down = new QRadioButton(QStringLiteral("Down"), direction);
    m_down->setObjectName(QString::number(Ctl::kStairsDown));
    directionLayout->addWidget(m_up);
    directionLayout->addWidget(m_down);
    fields->addRow(direction);

    QDialogButtonBox* buttons = MakeDialogButtons(*this, Qt::Vertical, QStringLiteral("&Ok"),
                                                  QStringLiteral("&Cancel"), kHelpContext);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);

    CFieldExchange exchange(*this, CFieldExchange::EDirection::ToControls);
    ExchangeFields(exchange, m_params);
    m_up->setChecked(true);
}

CCreateStairsDlg::~CCreateStairsDlg() = default;

void CCreateStairsDlg::accept()
{
    CStairsParams params = m_params;
    CFieldExchange exchange(*this, CFieldExchange::EDirection::FromControls);
    ExchangeFields(exchange, params);
    if (!exchange.Ok()) {
        if (auto* edit = findChild<QLineEdit*>(QString::number(exchange.FailedControl()))) {
            edit->setFocus();
            edit->selectAll();
        }
        return;
    }
    params.m_up = m_up->isChecked();
    m_params = params;
    QDialog::accept();
}
