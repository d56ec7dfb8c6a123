#include "edit/ui/SplitByPolygonDlg.h"

#include "engine/C3dView.h"
#include "ui/DialogButtons.h"
#include "ui/DialogIds.h"
#include "ui/DialogText.h"
#include "ui/UiServices.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <optional>
#include <vector>

namespace {

using DialogText::Id;

// The help context of a dialog: the help base of resources plus its id.
constexpr unsigned int kHelpContext = 0x20000u + Dlg::kSplitByPolygon;

// A group box holding widgets side by side.
QGroupBox* Group(QWidget* parent, const QString& title, std::initializer_list<QWidget*> widgets)
{
    auto* group = new QGroupBox(title, parent);
    auto* layout = new QHBoxLayout(group);
    for (QWidget* widget : widgets)
        layout->addWidget(widget);
    return group;
}

}  // namespace

CSplitByPolygonDlg::CSplitByPolygonDlg(C3dView& engine, QWidget* parent)
    : QDialog(parent), m_engine(engine)
{
    const std::vector<CVector3>& nodes = engine.m_selection.m_pickedNodes;
    m_centre = nodes.empty() ? CVector3{} : nodes[0];
    m_direction = nodes.size() < 2 ? m_centre : nodes[1];

    setObjectName(Id(Dlg::kSplitByPolygon));
    setWindowTitle(QStringLiteral("Split by Polygon"));

    m_sidesEdit = new QLineEdit(this);
    m_sidesEdit->setObjectName(Id(Ctl::kPolygonSides));
    m_radiusEdit = new QLineEdit(this);
    m_radiusEdit->setObjectName(Id(Ctl::kPolygonRadius));
    m_snapCheck = new QCheckBox(QStringLiteral("Snap vertices to grid"), this);
    m_snapCheck->setObjectName(Id(Ctl::kPolygonSnap));
    const int editWidth = DialogUnits(*this, 40, 0).width();
    m_sidesEdit->setMinimumWidth(editWidth);
    m_radiusEdit->setMinimumWidth(editWidth);

    QWidget* sidesSpin = MakeSpinArrows(this, Ctl::kPolygonSidesSpin, [this](int delta) {
        OnDeltaposSpin(Ctl::kPolygonSidesSpin, delta);
    });
    QWidget* radiusSpin = MakeSpinArrows(this, Ctl::kPolygonRadiusSpin, [this](int delta) {
        OnDeltaposSpin(Ctl::kPolygonRadiusSpin, delta);
    });

    QDialogButtonBox* buttons = MakeDialogButtons(*this, Qt::Vertical, QStringLiteral("&Ok"),
                                                  QStringLiteral("&Cancel"), kHelpContext);
    auto* view = buttons->addButton(QStringLiteral("&View"), QDialogButtonBox::ActionRole);
    view->setObjectName(Id(Ctl::kPolygonView));
    connect(view, &QPushButton::clicked, this, [this] { ComputePolygon(); });

    auto* values = new QVBoxLayout;
    values->addWidget(Group(this, QStringLiteral("Sides"), {m_sidesEdit, sidesSpin}));
    values->addWidget(Group(this, QStringLiteral("Radius"), {m_radiusEdit, radiusSpin}));
    values->addWidget(Group(this, QStringLiteral("Snap"), {m_snapCheck}));
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(values);
    layout->addWidget(buttons);

    WriteControls();
}

CSplitByPolygonDlg::~CSplitByPolygonDlg() = default;

int CSplitByPolygonDlg::exec()
{
    if (!(VectorLength(m_direction - m_centre) > 0.0f)) {
        QzMessageBox(QString::fromLatin1(kSplitPolygonSameNodes), QMessageBox::Ok, parentWidget());
        setResult(QDialog::Rejected);
        return QDialog::Rejected;
    }
    return QDialog::exec();
}

bool CSplitByPolygonDlg::ReadControls()
{
    bool ok = false;
    const int sides = m_sidesEdit->text().trimmed().toInt(&ok);
    if (!ok || sides < CSplitPolygonValues::kFewestSides ||
        sides > CSplitPolygonValues::kMostSides) {
        QzMessageBox(QStringLiteral("Please enter an integer between %1 and %2.")
                         .arg(CSplitPolygonValues::kFewestSides)
                         .arg(CSplitPolygonValues::kMostSides),
                     QMessageBox::Ok, this);
        m_sidesEdit->setFocus();
        m_sidesEdit->selectAll();
        return false;
    }
    const float radius = m_radiusEdit->text().trimmed().toFloat(&ok);
    if (!ok || !(radius >= CSplitPolygonValues::kSmallestRadius &&
                 radius <= CSplitPolygonValues::kLargestRadius)) {
        QzMessageBox(QStringLiteral("Please enter a number between %1 and %2.")
                         .arg(static_cast<double>(CSplitPolygonValues::kSmallestRadius))
                         .arg(static_cast<double>(CSplitPolygonValues::kLargestRadius)),
                     QMessageBox::Ok, this);
        m_radiusEdit->setFocus();
        m_radiusEdit->selectAll();
        return false;
    }
    m_values.m_sides = sides;
    m_values.m_radius = radius;
    m_values.m_snap = m_snapCheck->isChecked();
    return true;
}

void CSplitByPolygonDlg::WriteControls()
{
    m_sidesEdit->setText(QString::number(m_values.m_sides));
    m_radiusEdit->setText(QString::number(static_cast<double>(m_values.m_radius), 'g', 6));
    m_snapCheck->setChecked(m_values.m_snap);
}

void CSplitByPolygonDlg::OnDeltaposSpin(int spin, int delta)
{
    if (!ReadControls())
        return;
    if (spin == Ctl::kPolygonSidesSpin)
        m_values.m_sides = StepPolygonSides(m_values.m_sides, delta);
    else
        m_values.m_radius = StepPolygonRadius(m_values.m_radius, delta);
    WriteControls();
}

bool CSplitByPolygonDlg::ComputePolygon()
{
    if (!ReadControls())
        return false;
    const std::optional<std::vector<CVector3>> corners =
        ComputeSplitPolygon(m_engine, m_centre, m_direction, m_values);
    if (!corners) {
        QzMessageBox(QString::fromLatin1(kSplitPolygonSameNodes), QMessageBox::Ok, this);
        return false;
    }
    ShowCorners(*corners);
    return true;
}

void CSplitByPolygonDlg::ShowCorners(const std::vector<CVector3>& corners)
{
    ShowSplitPolygon(m_engine, corners);
}

void CSplitByPolygonDlg::accept()
{
    if (!ComputePolygon())
        return;
    if (const char* refusal = SplitPolygonRefusal(m_engine.m_selection.m_pickedNodes)) {
        QzMessageBox(QString::fromLatin1(refusal), QMessageBox::Ok, this);
        return;
    }
    QDialog::accept();
}
