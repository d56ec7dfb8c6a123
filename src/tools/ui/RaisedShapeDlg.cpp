#include "tools/ui/RaisedShapeDlg.h"

#include "edit/CarveCommand.h"
#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "framework/Indices.h"
#include "level/QzlSections.h"
#include "tools/Footprint.h"
#include "ui/DialogButtons.h"
#include "ui/DialogIds.h"
#include "ui/DialogText.h"
#include "ui/UiServices.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <optional>
#include <utility>

namespace {

using DialogText::Id;

// The name of the level's material index in lower case; empty for none.
std::string MaterialName(const CQzlSections& level, int material)
{
    if (!InRange(level.m_materials, material))
        return {};
    return QString::fromStdString(At(level.m_materials, material)->m_name).toLower().toStdString();
}

}  // namespace

CRaisedShapeDlg::CRaisedShapeDlg(C3dView& engine, int id, const QString& title, std::size_t fewest,
                                 std::string_view outside, QWidget* parent)
    : QDialog(parent), m_engine(engine), m_userNodes(engine.m_selection.m_pickedNodes),
      m_fewest(fewest), m_outside(outside)
{
    setObjectName(Id(id));
    setWindowTitle(title);
    m_fields = new QGridLayout;
    m_fields->setColumnMinimumWidth(1, DialogUnits(*this, 50, 0).width());
    TakeBasePoints();
}

CRaisedShapeDlg::~CRaisedShapeDlg() = default;

void CRaisedShapeDlg::TakeBasePoints()
{
    const std::vector<CVector3>& nodes = m_engine.m_selection.m_pickedNodes;
    m_base = nodes.empty() ? CVector3{} : nodes[0];
    m_second = nodes.size() < 2 ? m_base : nodes[1];
}

std::pair<QLabel*, QLineEdit*> CRaisedShapeDlg::AddRow(const QString& label, int id)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(Id(id));
    auto* text = new QLabel(label, this);
    text->setBuddy(edit);
    const int row = m_fields->rowCount();
    m_fields->addWidget(text, row, 0);
    m_fields->addWidget(edit, row, 1);
    return {text, edit};
}

QLineEdit* CRaisedShapeDlg::AddOwnField(const QString& label, int id, QWidget* spin)
{
    const auto [text, edit] = AddRow(label, id);
    m_ownControls.insert(m_ownControls.end(), {text, edit});
    if (spin != nullptr) {
        m_fields->addWidget(spin, m_fields->rowCount() - 1, 2);
        m_ownControls.push_back(spin);
    }
    return edit;
}

void CRaisedShapeDlg::Finish(unsigned int helpContext)
{
    m_height = AddRow(QStringLiteral("Height:"), Ctl::kShapeHeight).second;
    m_upDown = AddRow(QStringLiteral("Up/Down Angle:"), Ctl::kShapeUpDownAngle).second;
    m_leftRight = AddRow(QStringLiteral("Left/Right Angle:"), Ctl::kShapeLeftRightAngle).second;
    m_snap = new QCheckBox(QStringLiteral("Snap vertices to grid"), this);
    m_snap->setObjectName(Id(Ctl::kShapeSnap));
    m_fields->addWidget(m_snap, m_fields->rowCount(), 0, 1, 3);
    m_texture = AddRow(QStringLiteral("Texture:"), Ctl::kShapeTextureName).second;
    m_texture->setEnabled(false);

    QDialogButtonBox* buttons = MakeDialogButtons(*this, Qt::Vertical, QStringLiteral("&Ok"),
                                                  QStringLiteral("&Cancel"), helpContext);
    auto* view = buttons->addButton(QStringLiteral("&View"), QDialogButtonBox::ActionRole);
    view->setObjectName(Id(Ctl::kShapeView));
    connect(view, &QPushButton::clicked, this, [this] { OnView(); });
    auto* texture = buttons->addButton(QStringLiteral("&Texture"), QDialogButtonBox::ActionRole);
    texture->setObjectName(Id(Ctl::kShapeTexture));
    connect(texture, &QPushButton::clicked, this, &CRaisedShapeDlg::OnTexture);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(m_fields);
    layout->addWidget(buttons);

    // The new faces look like the surface they stand on until another material is chosen.
    CRaisedValues& values = Values();
    values.m_look = CurrentSurfaceLook(m_engine);
    m_textureName = MaterialName(m_engine.GetLevel(), values.m_look.m_material);
    m_ownEnabled = m_engine.m_selection.m_pickedNodes.size() == 2;
    for (QWidget* control : m_ownControls)
        control->setEnabled(m_ownEnabled);
    WriteControls();
}

void CRaisedShapeDlg::OnDevice(const std::function<void()>& work)
{
    work();
}

QString CRaisedShapeDlg::FloatText(float value)
{
    return QString::number(static_cast<double>(value), 'g', 6);
}

bool CRaisedShapeDlg::Refuse(QLineEdit& edit, const QString& message)
{
    QzMessageBox(message, QMessageBox::Ok, this);
    edit.setFocus();
    edit.selectAll();
    return false;
}

bool CRaisedShapeDlg::ReadFloat(QLineEdit& edit, const CShapeRange& range, float& value)
{
    bool number = false;
    const float read = edit.text().trimmed().toFloat(&number);
    if (!number)
        return Refuse(edit, QStringLiteral("Please enter a number."));
    if (!range.Holds(read))
        return Refuse(edit, QStringLiteral("Please enter a number between %1 and %2.")
                                .arg(FloatText(range.m_low), FloatText(range.m_high)));
    value = read;
    return true;
}

bool CRaisedShapeDlg::ReadInt(QLineEdit& edit, int low, int high, int& value)
{
    bool number = false;
    const int read = edit.text().trimmed().toInt(&number);
    if (!number)
        return Refuse(edit, QStringLiteral("Please enter an integer."));
    if (read < low || read > high)
        return Refuse(
            edit, QStringLiteral("Please enter an integer between %1 and %2.").arg(low).arg(high));
    value = read;
    return true;
}

bool CRaisedShapeDlg::ReadControls()
{
    CRaisedValues& values = Values();
    // Fields the user cannot edit play no part and cannot hold him up (a surface's outline may
    // have more corners than Sides allows).
    if (m_ownEnabled && !ReadOwnFields())
        return false;
    values.m_snap = m_snap->isChecked();
    return ReadFloat(*m_upDown, kShapeAngleRange, values.m_upDown) &&
           ReadFloat(*m_leftRight, kShapeAngleRange, values.m_leftRight) &&
           ReadFloat(*m_height, kShapeSizeRange, values.m_height);
}

void CRaisedShapeDlg::WriteControls()
{
    const CRaisedValues& values = Values();
    WriteOwnFields();
    m_height->setText(FloatText(values.m_height));
    m_upDown->setText(FloatText(values.m_upDown));
    m_leftRight->setText(FloatText(values.m_leftRight));
    m_snap->setChecked(values.m_snap);
    m_texture->setText(QString::fromStdString(m_textureName));
}

bool CRaisedShapeDlg::OnView()
{
    if (!ReadControls())
        return false;
    OnDevice([this] { m_shape = LayOut(); });
    return true;
}

void CRaisedShapeDlg::OnTexture()
{
    const std::optional<CMaterialChoice> material =
        m_engine.GetHost().PickMaterial("", kPickInLevel);
    if (!material)
        return;
    TakeMaterialLook(Values().m_look, *material);
    m_textureName = material->m_name;
    // Only the name is shown anew: what the user typed in the other fields stays.
    m_texture->setText(QString::fromStdString(m_textureName));
}

void CRaisedShapeDlg::accept()
{
    if (!OnView())
        return;
    if (const auto problem = FootprintProblem(m_engine, m_fewest, m_outside)) {
        QzMessageBox(QString::fromLatin1(problem->data(), static_cast<qsizetype>(problem->size())),
                     QMessageBox::Ok, this);
        return;
    }
    QDialog::accept();
}

void CRaisedShapeDlg::reject()
{
    if (m_engine.m_selection.m_pickedNodes != m_userNodes)
        OnDevice([this] { RestorePickedNodes(m_engine, m_userNodes); });
    QDialog::reject();
}
