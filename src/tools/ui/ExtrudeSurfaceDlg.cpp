#include "tools/ui/ExtrudeSurfaceDlg.h"

#include "engine/C3dView.h"
#include "framework/Indices.h"
#include "level/QzlSections.h"
#include "ui/DialogButtons.h"
#include "ui/DialogIds.h"
#include "ui/DialogText.h"
#include "ui/UiServices.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstddef>
#include <utility>

namespace {

using DialogText::Id;

// The help context of a dialog: the help base of resources plus its id.
constexpr unsigned int kHelpContext = 0x20000u + Dlg::kExtrudeSurface;

QLineEdit* NumberEdit(QWidget* parent, int id, float value)
{
    auto* edit = new QLineEdit(QString::number(static_cast<double>(value), 'g', 6), parent);
    edit->setObjectName(Id(id));
    return edit;
}

QRadioButton* Radio(QWidget* parent, const char* text, int id)
{
    auto* button = new QRadioButton(QString::fromLatin1(text), parent);
    button->setObjectName(Id(id));
    return button;
}

QComboBox* VertexList(QWidget* parent, int id)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(Id(id));
    return list;
}

}  // namespace

CExtrudeSurfaceDlg::CExtrudeSurfaceDlg(const C3dView& engine, bool twoNodes, QWidget* parent)
    : QDialog(parent), m_twoNodes(twoNodes)
{
    setObjectName(Id(Dlg::kExtrudeSurface));
    setWindowTitle(QStringLiteral("Extrude Surface"));
    const CExtrudeDialogValues defaults;

    auto* typeGroup = new QGroupBox(QStringLiteral("Type"), this);
    m_newSector = Radio(typeGroup, "New Sector", Ctl::kExtrudeNewSector);
    m_keepWithSector = Radio(typeGroup, "Keep with Sector", Ctl::kExtrudeKeepWithSector);
    m_connectOpposite =
        Radio(typeGroup, "Connect to Opposite Surface", Ctl::kExtrudeConnectOpposite);
    m_newSectorHidden = Radio(typeGroup, "New Sector (Hidden)", Ctl::kExtrudeNewSectorHidden);
    auto* typeLayout = new QVBoxLayout(typeGroup);
    for (QRadioButton* button :
         {m_newSector, m_keepWithSector, m_connectOpposite, m_newSectorHidden}) {
        typeLayout->addWidget(button);
        connect(button, &QRadioButton::clicked, this, &CExtrudeSurfaceDlg::OnTypeChange);
    }

    auto* directions = new QGroupBox(QStringLiteral("Directions"), this);
    m_leftRight = NumberEdit(directions, Ctl::kExtrudeLeftRightAngle, defaults.leftRightAngle);
    m_upDown = NumberEdit(directions, Ctl::kExtrudeUpDownAngle, defaults.upDownAngle);
    m_indent = NumberEdit(directions, Ctl::kExtrudeIndent, defaults.indent);
    auto* directionLayout = new QGridLayout(directions);
    int row = 0;
    for (const auto& [text, edit] :
         {std::pair{"Left/Right Angle:", m_leftRight}, std::pair{"Up/Down Angle:", m_upDown},
          std::pair{"Indent:", m_indent}}) {
        auto* label = new QLabel(QString::fromLatin1(text), directions);
        label->setBuddy(edit);
        directionLayout->addWidget(label, row, 0);
        directionLayout->addWidget(edit, row, 1);
        ++row;
    }

    auto* depths = new QGroupBox(QStringLiteral("Depths:"), this);
    m_depth = NumberEdit(depths, Ctl::kExtrudeDepth, defaults.depth);
    m_depth2 = NumberEdit(depths, Ctl::kExtrudeDepth2, defaults.depth2);
    m_depth3 = NumberEdit(depths, Ctl::kExtrudeDepth3, defaults.depth3);
    m_first = VertexList(depths, Ctl::kExtrudeFirstVertex);
    m_second = VertexList(depths, Ctl::kExtrudeSecondVertex);
    m_third = VertexList(depths, Ctl::kExtrudeThirdVertex);
    auto* depthLayout = new QGridLayout(depths);
    row = 0;
    for (const auto& [edit, list] : {std::pair{m_depth, m_first}, std::pair{m_depth2, m_second},
                                     std::pair{m_depth3, m_third}}) {
        depthLayout->addWidget(edit, row, 0);
        depthLayout->addWidget(list, row, 1);
        ++row;
    }

    auto* shapeGroup = new QGroupBox(QStringLiteral("Shape"), this);
    m_parallelogram = Radio(shapeGroup, "Parallellogram", Ctl::kExtrudeParallelogram);
    m_rotatedEnd = Radio(shapeGroup, "Rotated End Surface", Ctl::kExtrudeRotatedEnd);
    auto* shapeLayout = new QVBoxLayout(shapeGroup);
    shapeLayout->addWidget(m_parallelogram);
    shapeLayout->addWidget(m_rotatedEnd);

    QDialogButtonBox* buttons =
        MakeDialogButtons(*this, Qt::Vertical, QStringLiteral("&OK"), QStringLiteral("&Cancel"),
                          Ctl::kHelp, [this] { OnHelp(); });

    auto* left = new QVBoxLayout;
    left->addWidget(typeGroup);
    left->addWidget(shapeGroup);
    auto* middle = new QVBoxLayout;
    middle->addWidget(directions);
    middle->addWidget(depths);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(middle);
    layout->addWidget(buttons);

    // The lists: "All Vertices" first in the first one, then "Vertex %d" for each corner.
    const CQzlSections& level = engine.GetLevel();
    std::size_t corners = 0;
    if (InRange(level.m_surfaces, engine.m_selection.m_surface))
        corners = At(level.m_surfaces, engine.m_selection.m_surface)->m_vertices.size();
    m_first->addItem(
        QString::fromLatin1(kAllVerticesText.data(), static_cast<int>(kAllVerticesText.size())));
    for (std::size_t i = 0; i < corners; ++i) {
        const QString text = QStringLiteral("Vertex %1").arg(i);
        for (QComboBox* list : {m_first, m_second, m_third})
            list->addItem(text);
    }
    for (QComboBox* list : {m_first, m_second, m_third}) {
        list->setMaxVisibleItems(std::max(list->count(), 2) + 1);
        list->setCurrentIndex(0);
    }
    connect(m_first, &QComboBox::currentIndexChanged, this,
            &CExtrudeSurfaceDlg::OnFirstVertexChange);

    m_newSector->setChecked(true);
    m_parallelogram->setChecked(true);
    ApplyEnables();
    FitDialog(*this, DialogUnits(*this, 280, 150));
}

CExtrudeSurfaceDlg::~CExtrudeSurfaceDlg() = default;

EExtrudeType CExtrudeSurfaceDlg::Type() const
{
    if (m_newSector->isChecked())
        return EExtrudeType::NewSector;
    if (m_keepWithSector->isChecked())
        return EExtrudeType::KeepWithSector;
    if (m_connectOpposite->isChecked())
        return EExtrudeType::ConnectOpposite;
    return EExtrudeType::NewSectorHidden;
}

void CExtrudeSurfaceDlg::ApplyEnables()
{
    const CExtrudeEnables enables =
        ExtrudeDialogEnables(Type(), m_first->currentIndex() <= 0, m_twoNodes);
    m_depth->setEnabled(enables.depth);
    m_connectOpposite->setEnabled(enables.connectOpposite);
    m_leftRight->setEnabled(enables.angles);
    m_upDown->setEnabled(enables.angles);
    m_parallelogram->setEnabled(enables.shapes);
    m_rotatedEnd->setEnabled(enables.shapes);
    m_indent->setEnabled(enables.indent);
    if (!enables.indent)
        m_indent->setText(QStringLiteral("0"));
    for (QWidget* control : std::initializer_list<QWidget*>{m_depth2, m_depth3, m_second, m_third})
        control->setEnabled(enables.moreDepths);
    m_first->setEnabled(enables.firstVertex);
}

void CExtrudeSurfaceDlg::OnTypeChange()
{
    const EExtrudeType type = Type();
    if (type == EExtrudeType::KeepWithSector) {
        m_leftRight->setText(QStringLiteral("0"));
        m_upDown->setText(QStringLiteral("0"));
    }
    if (type == EExtrudeType::KeepWithSector || type == EExtrudeType::ConnectOpposite)
        m_parallelogram->setChecked(true);
    ApplyEnables();
}

void CExtrudeSurfaceDlg::OnFirstVertexChange()
{
    ApplyEnables();
}

void CExtrudeSurfaceDlg::OnHelp()
{
    QzHelp(kHelpContext);
}

void CExtrudeSurfaceDlg::accept()
{
    CExtrudeDialogValues values;
    struct CField {
        QLineEdit* edit;
        CExtrudeRange range;
        float* value;
    };
    const CField fields[] = {
        {m_depth, kExtrudeDepthRange, &values.depth},
        {m_leftRight, kExtrudeAngleRange, &values.leftRightAngle},
        {m_upDown, kExtrudeAngleRange, &values.upDownAngle},
        {m_indent, kExtrudeIndentRange, &values.indent},
        {m_depth2, kExtrudeDepthRange, &values.depth2},
        {m_depth3, kExtrudeDepthRange, &values.depth3},
    };
    for (const CField& field : fields) {
        const QByteArray text = field.edit->text().toLatin1();
        const auto value = ReadExtrudeField(
            {text.constData(), static_cast<std::size_t>(text.size())}, field.range);
        if (!value) {
            QzMessageBox(QString::fromStdString(ExtrudeRangeText(field.range)), QMessageBox::Ok,
                         this);
            field.edit->setFocus();
            field.edit->selectAll();
            return;
        }
        *field.value = *value;
    }
    values.type = Type();
    values.shape = m_rotatedEnd->isChecked() ? 1 : 0;
    values.firstSelection = m_first->currentIndex();
    values.secondSelection = m_second->currentIndex();
    values.thirdSelection = m_third->currentIndex();
    const CExtrudeParams params = ExtrudeParamsFromDialog(values);
    if (!ExtrudeVerticesDiffer(params)) {
        QzMessageBox(QString::fromLatin1(kDifferentVerticesText.data(),
                                         static_cast<int>(kDifferentVerticesText.size())),
                     QMessageBox::Ok, this);
        return;
    }
    m_params = params;
    QDialog::accept();
}
