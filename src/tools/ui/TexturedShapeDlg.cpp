#include "tools/ui/TexturedShapeDlg.h"

#include "edit/CarveCommand.h"
#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "framework/Indices.h"
#include "level/QzlMaterial.h"
#include "level/QzlSections.h"
#include "tools/Column.h"
#include "ui/DialogButtons.h"
#include "ui/DialogIds.h"
#include "ui/FormFields.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <optional>

CTexturedShapeDlg::CTexturedShapeDlg(C3dView& engine, int id, const QString& title, QWidget* parent)
    : QDialog(parent), m_engine(engine)
{
    setObjectName(QString::number(id));
    setWindowTitle(title);
    m_fields = new QFormLayout;
}

CTexturedShapeDlg::~CTexturedShapeDlg() = default;

QLineEdit* CTexturedShapeDlg::AddEdit(const QString& label, int id)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::number(id));
    auto* text = new QLabel(label, this);
    text->setBuddy(edit);
    m_fields->addRow(text, edit);
    return edit;
}

QCheckBox* CTexturedShapeDlg::AddCheck(const QString& text, int id)
{
    auto* box = new QCheckBox(text, this);
    box->setObjectName(QString::number(id));
    m_fields->addRow(box);
    return box;
}

void CTexturedShapeDlg::ExchangeTextureName(CFieldExchange& exchange, int id)
{
    m_textureNameId = id;
    exchange.Text(id, m_textureName);
}

void CTexturedShapeDlg::Finish(unsigned int helpContext)
{
    QDialogButtonBox* buttons = MakeDialogButtons(*this, Qt::Vertical, QStringLiteral("&OK"),
                                                  QStringLiteral("&Cancel"), helpContext);
    auto* texture = buttons->addButton(QStringLiteral("&Texture"), QDialogButtonBox::ActionRole);
    texture->setObjectName(QString::number(Ctl::kLookTexture));
    connect(texture, &QPushButton::clicked, this, &CTexturedShapeDlg::OnTexture);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(m_fields);
    layout->addWidget(buttons);

    // The new faces look like the surface they are built on until another material is picked.
    const CQzlSections& level = m_engine.GetLevel();
    if (InRange(level.m_surfaces, m_engine.m_selection.m_surface)) {
        m_look = CurrentSurfaceLook(m_engine);
        if (InRange(level.m_materials, m_look.m_material))
            m_textureName = QString::fromStdString(At(level.m_materials, m_look.m_material)->m_name)
                                .toLower()
                                .toStdString();
    }
    CFieldExchange exchange(*this, CFieldExchange::EDirection::ToControls);
    Exchange(exchange);
}

void CTexturedShapeDlg::OnTexture()
{
    const std::optional<CMaterialChoice> material =
        m_engine.GetHost().PickMaterial("", kPickInLevel);
    if (!material)
        return;
    TakeMaterialLook(m_look, *material);
    m_textureName = material->m_name;
    if (auto* name = findChild<QLineEdit*>(QString::number(m_textureNameId)))
        name->setText(QString::fromStdString(m_textureName));
}

void CTexturedShapeDlg::accept()
{
    CFieldExchange exchange(*this, CFieldExchange::EDirection::FromControls);
    Exchange(exchange);
    if (!exchange.Ok()) {
        if (auto* edit = findChild<QLineEdit*>(QString::number(exchange.FailedControl()))) {
            edit->setFocus();
            edit->selectAll();
        }
        return;
    }
    Accepted();
    QDialog::accept();
}

void ExchangeCheck(const CFieldExchange& exchange, QCheckBox& box, bool& value)
{
    if (!exchange.Ok())
        return;
    if (exchange.Saving())
        value = box.isChecked();
    else
        box.setChecked(value);
}
