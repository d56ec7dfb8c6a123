#include "app/TextureCoordinatesDlg.h"

#include "app/QzEditView.h"
#include "engine/C3dView.h"
#include "engine/Undo.h"
#include "ui/DialogButtons.h"
#include "ui/DialogIds.h"
#include "ui/FormFields.h"
#include "ui/UiServices.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace {

struct CTextureRow {
    const char* caption;
    int edit;
    int spin;
};

constexpr CTextureRow kRows[] = {
    {"Start Vertex:", Ctl::kTexStartVertex, Ctl::kTexStartVertexSpin},
    {"U Offset:", Ctl::kTexUOffset, Ctl::kTexUOffsetSpin},
    {"V Offset:", Ctl::kTexVOffset, Ctl::kTexVOffsetSpin},
    {"U Scale:", Ctl::kTexUScale, Ctl::kTexUScaleSpin},
    {"V Scale:", Ctl::kTexVScale, Ctl::kTexVScaleSpin},
    {"Angle:", Ctl::kTexAngle, Ctl::kTexAngleSpin},
};

}  // namespace

CTextureCoordinatesDlg::CTextureCoordinatesDlg(C3dView& engine, CQzEditView* view)
    : QDialog(view), m_engine(engine), m_view(view)
{
    setObjectName(QString::number(Dlg::kTextureCoordinates));
    setWindowTitle(QStringLiteral("Texture Coodinates"));

    auto* grid = new QGridLayout;
    int row = 0;
    for (const CTextureRow& entry : kRows) {
        auto* label = new QLabel(QString::fromLatin1(entry.caption), this);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::number(entry.edit));
        label->setBuddy(edit);
        const int spin = entry.spin;
        // The spins' tops are their larger ends: the up arrow sends +1, which lowers the value.
        QWidget* arrows = MakeSpinArrows(
            this, spin, [this, spin](int delta) { OnSpin(spin, delta); }, true);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(arrows, row, 2);
        ++row;
    }
    m_mirror = new QCheckBox(QStringLiteral("Mirror:"), this);
    m_mirror->setObjectName(QString::number(Ctl::kTexMirror));
    m_mirror->setLayoutDirection(Qt::RightToLeft);
    grid->addWidget(m_mirror, row, 0, 1, 2, Qt::AlignLeft);
    connect(m_mirror, &QCheckBox::clicked, this, [this] { OnApply(); });

    QDialogButtonBox* buttons =
        MakeDialogButtons(*this, Qt::Vertical, QStringLiteral("&OK"), QStringLiteral("&Cancel"),
                          0x20000U + Dlg::kTextureCoordinates);
    QPushButton* apply = buttons->addButton(QStringLiteral("&Apply"), QDialogButtonBox::ApplyRole);
    apply->setObjectName(QString::number(Ctl::kTexApply));
    apply->setAutoDefault(false);
    connect(apply, &QPushButton::clicked, this, [this] { OnApply(); });
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    CurrentTextureMapping(m_engine, m_mapping, m_corners);
    ShowFields();
    FitDialog(*this, DialogUnits(*this, 200, 120));
}

CTextureCoordinatesDlg::~CTextureCoordinatesDlg() = default;

void CTextureCoordinatesDlg::ShowFields()
{
    CFieldExchange exchange(*this, CFieldExchange::EDirection::ToControls);
    exchange.Int(Ctl::kTexStartVertex, m_mapping.m_startVertex);
    exchange.Float(Ctl::kTexUOffset, m_mapping.m_uOffset);
    exchange.Float(Ctl::kTexVOffset, m_mapping.m_vOffset);
    exchange.Float(Ctl::kTexUScale, m_mapping.m_uScale);
    exchange.Float(Ctl::kTexVScale, m_mapping.m_vScale);
    exchange.Float(Ctl::kTexAngle, m_mapping.m_angle);
    m_mirror->setChecked(m_mapping.m_mirror != 0);
}

bool CTextureCoordinatesDlg::ReadFields()
{
    CTextureMapping mapping = m_mapping;
    CFieldExchange exchange(*this, CFieldExchange::EDirection::FromControls);
    exchange.Int(Ctl::kTexStartVertex, mapping.m_startVertex);
    exchange.IntRange(Ctl::kTexStartVertex, mapping.m_startVertex, 0, std::max(m_corners - 1, 0));
    exchange.Float(Ctl::kTexUOffset, mapping.m_uOffset);
    exchange.Float(Ctl::kTexVOffset, mapping.m_vOffset);
    exchange.Float(Ctl::kTexUScale, mapping.m_uScale);
    exchange.Float(Ctl::kTexVScale, mapping.m_vScale);
    exchange.Float(Ctl::kTexAngle, mapping.m_angle);
    if (!exchange.Ok()) {
        if (auto* edit = findChild<QLineEdit*>(QString::number(exchange.FailedControl()))) {
            edit->setFocus();
            edit->selectAll();
        }
        return false;
    }
    mapping.m_mirror = m_mirror->isChecked() ? 1 : 0;
    m_mapping = mapping;
    return true;
}

void CTextureCoordinatesDlg::SnapshotOnce()
{
    if (m_snapshotTaken)
        return;
    SaveUndoState(m_engine);
    m_snapshotTaken = true;
}

void CTextureCoordinatesDlg::OnSpin(int spin, int delta)
{
    // What was typed counts: the fields are read before the step.
    if (!ReadFields())
        return;
    switch (spin) {
    case Ctl::kTexStartVertexSpin:
        m_mapping.m_startVertex = StepStartVertex(m_mapping.m_startVertex, delta, m_corners);
        break;
    case Ctl::kTexAngleSpin:
        m_mapping.m_angle = StepTextureAngle(m_mapping.m_angle, delta);
        break;
    case Ctl::kTexUOffsetSpin:
        m_mapping.m_uOffset = StepTextureValue(m_mapping.m_uOffset, delta);
        break;
    case Ctl::kTexVOffsetSpin:
        m_mapping.m_vOffset = StepTextureValue(m_mapping.m_vOffset, delta);
        break;
    case Ctl::kTexUScaleSpin:
        m_mapping.m_uScale = StepTextureValue(m_mapping.m_uScale, delta);
        break;
    case Ctl::kTexVScaleSpin:
        m_mapping.m_vScale = StepTextureValue(m_mapping.m_vScale, delta);
        break;
    default:
        return;
    }
    ShowFields();
    OnApply();
}

void CTextureCoordinatesDlg::OnApply()
{
    if (!ReadFields())
        return;
    SnapshotOnce();
    const CQzEditView::CDeviceScope device(m_view);
    ApplyTextureMapping(m_engine, m_mapping);
}

void CTextureCoordinatesDlg::accept()
{
    if (!ReadFields())
        return;
    SnapshotOnce();
    QDialog::accept();
    const CQzEditView::CDeviceScope device(m_view);
    StoreTextureMapping(m_engine, m_mapping);
}
