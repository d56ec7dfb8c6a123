#include "tools/ui/CreateLandscapeDlg.h"

#include "edit/CarveCommand.h"
#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "framework/Indices.h"
#include "level/QzlSections.h"
#include "ui/DialogButtons.h"
#include "ui/DialogIds.h"
#include "ui/DialogText.h"
#include "ui/FormFields.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <optional>

namespace {

using DialogText::Id;

constexpr unsigned int kHelpContext = 0x20000u + Dlg::kCreateLandscape;

}  // namespace

CCreateLandscapeDlg::CCreateLandscapeDlg(C3dView& engine, QWidget* parent)
    : QDialog(parent), m_params(LandscapeDefaults(engine)), m_engine(engine)
{
    setObjectName(Id(Dlg::kCreateLandscape));
    setWindowTitle(QStringLiteral("Create Landscape"));

    auto* form = new QFormLayout;
    const auto addRow = [this, form](const QString& label, int id) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(Id(id));
        auto* text = new QLabel(label, this);
        text->setBuddy(edit);
        form->addRow(text, edit);
        return edit;
    };
    addRow(QStringLiteral("Texture:"), Ctl::kLandscapeTextureName)->setEnabled(false);
    addRow(QStringLiteral("Number of Splits:"), Ctl::kLandscapeSplits);
    addRow(QStringLiteral("Maximum Depth:"), Ctl::kLandscapeMaxDepth);
    addRow(QStringLiteral("Minimum Depth:"), Ctl::kLandscapeMinDepth);

    QDialogButtonBox* buttons = MakeDialogButtons(*this, Qt::Vertical, QStringLiteral("&OK"),
                                                  QStringLiteral("&Cancel"), kHelpContext);
    auto* texture = buttons->addButton(QStringLiteral("&Texture"), QDialogButtonBox::ActionRole);
    texture->setObjectName(Id(Ctl::kLandscapeTexture));
    connect(texture, &QPushButton::clicked, this, &CCreateLandscapeDlg::OnTexture);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    // The material's name as the level lists it, in lower case.
    const CQzlSections& level = m_engine.GetLevel();
    if (InRange(level.m_materials, m_params.m_look.m_material))
        m_textureName =
            QString::fromStdString(At(level.m_materials, m_params.m_look.m_material)->m_name)
                .toLower()
                .toStdString();
    Exchange(false);
}

CCreateLandscapeDlg::~CCreateLandscapeDlg() = default;

bool CCreateLandscapeDlg::Exchange(bool reading)
{
    CLandscapeParams params = m_params;
    CFieldExchange exchange(*this, reading ? CFieldExchange::EDirection::FromControls
                                           : CFieldExchange::EDirection::ToControls);
    std::string name = m_textureName;
    exchange.Text(Ctl::kLandscapeTextureName, name);
    exchange.Int(Ctl::kLandscapeSplits, params.m_splits);
    exchange.IntRange(Ctl::kLandscapeSplits, params.m_splits, kLandscapeFewestSplits,
                      kLandscapeMostSplits);
    exchange.Float(Ctl::kLandscapeMaxDepth, params.m_maxDepth);
    exchange.FloatRange(Ctl::kLandscapeMaxDepth, params.m_maxDepth, kLandscapeMaxDepthLow,
                        kLandscapeMaxDepthHigh);
    exchange.Float(Ctl::kLandscapeMinDepth, params.m_minDepth);
    exchange.FloatRange(Ctl::kLandscapeMinDepth, params.m_minDepth, kLandscapeMinDepthLow,
                        kLandscapeMinDepthHigh);
    if (!reading)
        return true;
    if (!exchange.Ok()) {
        if (auto* edit = findChild<QLineEdit*>(Id(exchange.FailedControl()))) {
            edit->setFocus();
            edit->selectAll();
        }
        return false;
    }
    m_params = params;
    return true;
}

void CCreateLandscapeDlg::OnTexture()
{
    const std::optional<CMaterialChoice> material =
        m_engine.GetHost().PickMaterial(m_textureName, kPickInLevel);
    if (!material)
        return;
    if (!Exchange(true))
        return;
    TakeMaterialLook(m_params.m_look, *material);
    m_textureName = material->m_name;
    Exchange(false);
}

void CCreateLandscapeDlg::accept()
{
    if (!Exchange(true))
        return;
    QDialog::accept();
}
