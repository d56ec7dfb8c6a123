#include "tools/ui/CreateElevatorDlg.h"

#include "engine/ui/PreviewWidget.h"
#include "tools/ui/TemplateModelPane.h"
#include "ui/DialogIds.h"
#include "ui/UiServices.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// "Height:" and its edit in row of layout.
void HeightRow(QGridLayout* layout, int row, QLineEdit* edit)
{
    auto* label = new QLabel(QStringLiteral("Height:"), edit->parentWidget());
    label->setBuddy(edit);
    layout->addWidget(label, row, 0);
    layout->addWidget(edit, row, 1);
}

}  // namespace

CCreateElevatorDlg::CCreateElevatorDlg(C3dView& engine, QWidget* parent)
    : QDialog(parent), m_engine(engine)
{
    setObjectName(QString::number(Dlg::kCreateElevator));
    setWindowTitle(QStringLiteral("Create Elevator"));
    const CElevatorDialogValues defaults;

    m_pane = new CTemplateModelPane(engine, IsElevatorTemplateName, this);
    m_pane->Preview().SetModelCameraHeight(kPreviewCameraHeight);

    auto* direction = new QGroupBox(QStringLiteral("Direction"), this);
    m_up = new QRadioButton(QStringLiteral("Up"), direction);
    m_up->setObjectName(QString::number(Ctl::kDirectionUp));
    m_down = new QRadioButton(QStringLiteral("Down"), direction);
    m_down->setObjectName(QString::number(Ctl::kDirectionDown));
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(m_up);
    directionLayout->addWidget(m_down);

    auto* shaft = new QGroupBox(QStringLiteral("Shaft"), this);
    m_shaftHeight = NumberEdit(shaft, Ctl::kShaftHeight, defaults.m_shaftHeight);
    m_connect = new QCheckBox(QStringLiteral("Connect to Opposite Surface"), shaft);
    m_connect->setObjectName(QString::number(Ctl::kConnectOpposite));
    auto* shaftLayout = new QGridLayout(shaft);
    HeightRow(shaftLayout, 0, m_shaftHeight);
    shaftLayout->addWidget(m_connect, 1, 0, 1, 2);
    connect(m_connect, &QCheckBox::clicked, this, &CCreateElevatorDlg::ApplyEnables);

    auto* subShaft = new QGroupBox(QStringLiteral("Sub-Shaft"), this);
    m_subShaftHeight = NumberEdit(subShaft, Ctl::kSubShaftHeight, defaults.m_subShaftHeight);
    HeightRow(new QGridLayout(subShaft), 0, m_subShaftHeight);

    QDialogButtonBox* buttons = ModelDialogButtons(*this, Dlg::kCreateElevator, m_ok);

    auto* options = new QVBoxLayout;
    options->addWidget(direction);
    options->addWidget(shaft);
    options->addWidget(subShaft);
    options->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_pane, 0, Qt::AlignTop);
    layout->addLayout(options);
    layout->addWidget(buttons);

    m_up->setChecked(true);
    connect(m_pane, &CTemplateModelPane::ModelChosen, this, &CCreateElevatorDlg::OnModelChosen);
    m_pane->ShowFirst();
    FitDialog(*this, DialogUnits(*this, 280, 150));
}

CCreateElevatorDlg::~CCreateElevatorDlg() = default;

CElevatorDialogValues CCreateElevatorDlg::Values() const
{
    CElevatorDialogValues values;
    values.m_template = m_pane->TemplateName();
    values.m_x = m_pane->Extents().x;
    values.m_y = m_pane->Extents().y;
    values.m_z = m_pane->Extents().z;
    values.m_up = m_up->isChecked();
    values.m_connect = m_connect->isChecked();
    return values;
}

void CCreateElevatorDlg::ApplyEnables()
{
    const CElevatorDialogEnables enables = ElevatorDialogEnables(Values());
    m_shaftHeight->setEnabled(enables.m_shaftHeight);
    m_ok->setEnabled(enables.m_ok);
}

void CCreateElevatorDlg::OnModelChosen(bool loaded)
{
    // Every model read sets the sub-shaft to the model's height; without a game archive the
    // extents, and so the sub-shaft, stay as they were.
    if (loaded)
        m_subShaftHeight->setText(DialogNumber(m_pane->Extents().y));
    ApplyEnables();
}

void CCreateElevatorDlg::accept()
{
    CElevatorDialogValues values = Values();
    if (!ElevatorDialogEnables(values).m_ok)
        return;
    if (!ReadRangeField(*this, *m_subShaftHeight, kSubShaftHeightRange, values.m_subShaftHeight) ||
        !ReadRangeField(*this, *m_shaftHeight, kShaftHeightRange, values.m_shaftHeight))
        return;
    const CElevatorParams params = ElevatorParamsFromDialog(values);
    if (!PassesCheck(*this, ElevatorRefusal(m_engine, params)))
        return;
    m_params = params;
    QDialog::accept();
}
