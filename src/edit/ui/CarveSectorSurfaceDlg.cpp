#include "edit/ui/CarveSectorSurfaceDlg.h"

#include "engine/C3dView.h"
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
#include <QVBoxLayout>

#include <utility>

namespace {

using DialogText::Id;

// The help context of a dialog: the help base of resources plus its id.
constexpr unsigned int kHelpContext = 0x20000u + Dlg::kCarveSectorSurface;

// A float as the framework shows it: six significant digits.
QString FloatText(float value)
{
    return QString::number(static_cast<double>(value), 'g', 6);
}

}  // namespace

CCarveSectorSurfaceDlg::CCarveSectorSurfaceDlg(C3dView& engine, QWidget* parent)
    : QDialog(parent), m_engine(engine)
{
    setObjectName(Id(Dlg::kCarveSectorSurface));
    setWindowTitle(QStringLiteral("Carve Sector/Surface"));

    const auto labelled = [this](const QString& text, int id) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(Id(id));
        auto* label = new QLabel(text, this);
        label->setBuddy(edit);
        return std::pair{label, edit};
    };
    const auto [upDownLabel, upDown] =
        labelled(QStringLiteral("Up/Down Angle:"), Ctl::kUpDownAngle);
    const auto [leftRightLabel, leftRight] =
        labelled(QStringLiteral("Left/Right Angle:"), Ctl::kLeftRightAngle);
    const auto [textureLabel, textureName] =
        labelled(QStringLiteral("Texture:"), Ctl::kCarveTextureName);
    m_upDown = upDown;
    m_leftRight = leftRight;
    m_textureName = textureName;
    m_textureName->setEnabled(false);
    m_catwalk = new QCheckBox(QStringLiteral("Create Catwalk"), this);
    m_catwalk->setObjectName(Id(Ctl::kCreateCatwalk));
    auto* texture = new QPushButton(QStringLiteral("&Texture"), this);
    texture->setObjectName(Id(Ctl::kCarveTexture));
    texture->setAutoDefault(false);
    connect(texture, &QPushButton::clicked, this, &CCarveSectorSurfaceDlg::OnTexture);

    auto* fields = new QGridLayout;
    fields->addWidget(upDownLabel, 0, 0);
    fields->addWidget(m_upDown, 0, 1);
    fields->addWidget(leftRightLabel, 1, 0);
    fields->addWidget(m_leftRight, 1, 1);
    fields->addWidget(m_catwalk, 2, 0, 1, 2);
    fields->addWidget(textureLabel, 3, 0);
    fields->addWidget(m_textureName, 3, 1);
    fields->addWidget(texture, 3, 2);
    fields->setColumnMinimumWidth(1, DialogUnits(*this, 60, 0).width());

    QDialogButtonBox* buttons =
        MakeDialogButtons(*this, Qt::Horizontal, QStringLiteral("&OK"), QStringLiteral("&Cancel"),
                          Ctl::kCarveHelp, [this] { OnHelp(); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);

    OnInitDialog();
}

CCarveSectorSurfaceDlg::~CCarveSectorSurfaceDlg() = default;

void CCarveSectorSurfaceDlg::OnInitDialog()
{
    m_upDown->setText(FloatText(m_choice.m_upDown));
    m_leftRight->setText(FloatText(m_choice.m_leftRight));
    m_catwalk->setChecked(m_choice.m_catwalk);
    m_textureName->setText(QString::fromStdString(m_choice.m_textureName));
    const bool angles = CarveAnglesEditable(m_engine);
    m_upDown->setEnabled(angles);
    m_leftRight->setEnabled(angles);
}

void CCarveSectorSurfaceDlg::OnTexture()
{
    if (PickCarveMaterial(m_engine, m_choice))
        m_textureName->setText(QString::fromStdString(m_choice.m_textureName));
}

void CCarveSectorSurfaceDlg::OnHelp()
{
    QzHelp(kHelpContext);
}

bool CCarveSectorSurfaceDlg::ReadAngle(QLineEdit& edit, float& value)
{
    bool number = false;
    const float angle = edit.text().trimmed().toFloat(&number);
    QString message;
    if (!number)
        message = QStringLiteral("Please enter a number.");
    else if (!CarveAngleInRange(angle))
        message = QStringLiteral("Please enter a number between %1 and %2.")
                      .arg(FloatText(-kCarveAngleLimit), FloatText(kCarveAngleLimit));
    if (!message.isEmpty()) {
        QzMessageBox(message, QMessageBox::Ok, this);
        edit.setFocus();
        edit.selectAll();
        return false;
    }
    value = angle;
    return true;
}

void CCarveSectorSurfaceDlg::accept()
{
    // The fields in exchange order; the first that does not read stops it.
    float upDown = 0.0f;
    float leftRight = 0.0f;
    if (!ReadAngle(*m_upDown, upDown) || !ReadAngle(*m_leftRight, leftRight))
        return;
    m_choice.m_upDown = upDown;
    m_choice.m_leftRight = leftRight;
    m_choice.m_catwalk = m_catwalk->isChecked();
    QDialog::accept();
}
