#include "tools/ui/CreateDoorDlg.h"

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

QRadioButton* Radio(QWidget* parent, const char* text, int id)
{
    auto* button = new QRadioButton(QString::fromLatin1(text), parent);
    button->setObjectName(QString::number(id));
    return button;
}

// A side's group: "Simple", "Sunken" and "Depth:" in rows; the layout for what follows.
QGridLayout* SideGroup(QGroupBox* group, QRadioButton* simple, QRadioButton* sunken,
                       QLineEdit* depth)
{
    auto* layout = new QGridLayout(group);
    layout->addWidget(simple, 0, 0, 1, 2);
    layout->addWidget(sunken, 1, 0, 1, 2);
    auto* label = new QLabel(QStringLiteral("Depth:"), group);
    label->setBuddy(depth);
    layout->addWidget(label, 2, 0);
    layout->addWidget(depth, 2, 1);
    return layout;
}

}  // namespace

CCreateDoorDlg::CCreateDoorDlg(C3dView& engine, QWidget* parent) : QDialog(parent), m_engine(engine)
{
    setObjectName(QString::number(Dlg::kCreateDoor));
    setWindowTitle(QStringLiteral("Create Door"));

    m_pane = new CTemplateModelPane(engine, IsDoorTemplateName, this);

    auto* front = new QGroupBox(QStringLiteral("Front"), this);
    m_frontSimple = Radio(front, "Simple", Ctl::kFrontSimple);
    m_frontSunken = Radio(front, "Sunken", Ctl::kFrontSunken);
    m_frontDepth = NumberEdit(front, Ctl::kFrontDepth, m_values.m_frontDepth);
    SideGroup(front, m_frontSimple, m_frontSunken, m_frontDepth);

    auto* back = new QGroupBox(QStringLiteral("Back"), this);
    m_backSimple = Radio(back, "Simple", Ctl::kBackSimple);
    m_backSunken = Radio(back, "Sunken", Ctl::kBackSunken);
    m_backDepth = NumberEdit(back, Ctl::kBackDepth, m_values.m_backDepth);
    m_connect = new QCheckBox(QStringLiteral("Connect to Opposite Surface"), back);
    m_connect->setObjectName(QString::number(Ctl::kConnectOpposite));
    SideGroup(back, m_backSimple, m_backSunken, m_backDepth)->addWidget(m_connect, 3, 0, 1, 2);

    auto* opening = new QGroupBox(QStringLiteral("Opening"), this);
    auto* openingLayout = new QGridLayout(opening);
    const struct {
        const char* text;
        int id;
    } directions[] = {{"Up", Ctl::kOpeningUp},
                      {"Down", Ctl::kOpeningDown},
                      {"Left", Ctl::kOpeningLeft},
                      {"Right", Ctl::kOpeningRight}};
    for (int i = 0; i < 4; ++i) {
        m_opening[i] = Radio(opening, directions[i].text, directions[i].id);
        openingLayout->addWidget(m_opening[i], i / 2, i % 2);
    }

    for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{
             m_frontSimple, m_frontSunken, m_backSimple, m_backSunken, m_connect})
        connect(button, &QAbstractButton::clicked, this, &CCreateDoorDlg::ApplyEnables);

    QDialogButtonBox* buttons = ModelDialogButtons(*this, Dlg::kCreateDoor, m_ok);

    auto* options = new QVBoxLayout;
    options->addWidget(front);
    options->addWidget(back);
    options->addWidget(opening);
    options->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_pane, 0, Qt::AlignTop);
    layout->addLayout(options);
    layout->addWidget(buttons);

    m_frontSunken->setChecked(true);
    m_backSunken->setChecked(true);
    m_opening[0]->setChecked(true);
    connect(m_pane, &CTemplateModelPane::ModelChosen, this, &CCreateDoorDlg::ApplyEnables);
    m_pane->ShowFirst();
    FitDialog(*this, DialogUnits(*this, 300, 170));
}

CCreateDoorDlg::~CCreateDoorDlg() = default;

CDoorDialogValues CCreateDoorDlg::Values() const
{
    CDoorDialogValues values = m_values;
    values.m_template = m_pane->TemplateName();
    values.m_x = m_pane->Extents().x;
    values.m_y = m_pane->Extents().y;
    values.m_z = m_pane->Extents().z;
    values.m_frontSunken = m_frontSunken->isChecked();
    values.m_backSunken = m_backSunken->isChecked();
    values.m_connect = m_connect->isChecked();
    values.m_direction = 0;
    for (int i = 3; i >= 0; --i)
        if (m_opening[i]->isChecked())
            values.m_direction = i;
    return values;
}

void CCreateDoorDlg::ApplyEnables()
{
    const CDoorDialogEnables enables = DoorDialogEnables(Values());
    m_frontDepth->setEnabled(enables.m_frontDepth);
    m_backDepth->setEnabled(enables.m_backDepth);
    m_connect->setEnabled(enables.m_connect);
    m_ok->setEnabled(enables.m_ok);
}

void CCreateDoorDlg::accept()
{
    CDoorDialogValues values = Values();
    if (!DoorDialogEnables(values).m_ok)
        return;
    if (!ReadRangeField(*this, *m_frontDepth, kDoorDepthRange, values.m_frontDepth) ||
        !ReadRangeField(*this, *m_backDepth, kDoorDepthRange, values.m_backDepth))
        return;
    m_values.m_frontDepth = values.m_frontDepth;
    m_values.m_backDepth = values.m_backDepth;
    const CDoorParams params = DoorParamsFromDialog(values);
    if (!PassesCheck(*this, DoorRefusal(m_engine, params)))
        return;
    m_params = params;
    QDialog::accept();
}
