#include "tools/ui/CreateLightDlg.h"

#include "engine/C3dView.h"
#include "engine/ui/GlSurface.h"
#include "framework/Settings.h"
#include "ui/ColorDialog.h"
#include "ui/ColorSwatch.h"
#include "ui/DialogButtons.h"
#include "ui/DialogIds.h"
#include "ui/DialogText.h"
#include "ui/FormFields.h"
#include "ui/UiServices.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include <optional>
#include <utility>

namespace {

using DialogText::Id;

// A colour setting 0x00BBGGRR as a colour, and back.
}  // namespace

CCreateLightDlg::CCreateLightDlg(C3dView& engine, CSettings& settings, QWidget* parent,
                                 CEngineRun run)
    : QDialog(parent), m_engine(engine), m_settings(settings), m_run(std::move(run)),
      m_startColor(settings.m_startColor), m_endColor(settings.m_endColor)
{
    setObjectName(Id(Dlg::kCreateLight));
    setWindowTitle(QStringLiteral("Create Light"));

    auto* fields = new QGridLayout;
    auto* startLabel = new QLabel(QStringLiteral("Start Color:"), this);
    m_startSwatch = new CColorSwatch(this);
    m_startSwatch->setObjectName(Id(Ctl::kLightStartColor));
    m_distanceDependent = new QCheckBox(QStringLiteral("Distance Dependant"), this);
    m_distanceDependent->setObjectName(Id(Ctl::kLightDistanceDependent));
    m_endLabel = new QLabel(QStringLiteral("End Color:"), this);
    m_endLabel->setObjectName(Id(Ctl::kLightEndColorLabel));
    m_endSwatch = new CColorSwatch(this);
    m_endSwatch->setObjectName(Id(Ctl::kLightEndColor));
    m_distanceLabel = new QLabel(QStringLiteral("Distance:"), this);
    m_distanceLabel->setObjectName(Id(Ctl::kLightDistanceLabel));
    m_distanceEdit = new QLineEdit(this);
    m_distanceEdit->setObjectName(Id(Ctl::kLightDistance));
    m_distanceLabel->setBuddy(m_distanceEdit);
    fields->addWidget(startLabel, 0, 0);
    fields->addWidget(m_startSwatch, 0, 1);
    fields->addWidget(m_distanceDependent, 1, 0, 1, 2);
    fields->addWidget(m_endLabel, 2, 0);
    fields->addWidget(m_endSwatch, 2, 1);
    fields->addWidget(m_distanceLabel, 3, 0);
    fields->addWidget(m_distanceEdit, 3, 1);
    fields->setColumnMinimumWidth(1, DialogUnits(*this, 50, 0).width());
    fields->setRowStretch(4, 1);

    QDialogButtonBox* buttons =
        MakeDialogButtons(*this, Qt::Vertical, QStringLiteral("&OK"), QStringLiteral("&Cancel"),
                          0x20000U + Dlg::kCreateLight);
    m_apply = buttons->addButton(QStringLiteral("&Apply"), QDialogButtonBox::ApplyRole);
    m_apply->setObjectName(Id(Ctl::kLightApply));
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);

    connect(m_apply, &QPushButton::clicked, this, [this] { OnApply(); });
    connect(m_distanceDependent, &QCheckBox::clicked, this, [this] { UpdateControls(); });
    connect(m_startSwatch, &QPushButton::clicked, this,
            [this] { OnColor(*m_startSwatch, m_startColor); });
    connect(m_endSwatch, &QPushButton::clicked, this,
            [this] { OnColor(*m_endSwatch, m_endColor); });

    // The fields as the settings left them; the distance is not kept.
    m_startSwatch->SetColor(SettingColor(m_startColor));
    m_endSwatch->SetColor(SettingColor(m_endColor));
    m_distanceDependent->setChecked(settings.m_lightDirect != 0);
    CFieldExchange exchange(*this, CFieldExchange::EDirection::ToControls);
    exchange.Float(Ctl::kLightDistance, m_distance);
    UpdateControls();
    m_apply->setEnabled(false);
}

CCreateLightDlg::~CCreateLightDlg() = default;

void CCreateLightDlg::UpdateControls()
{
    const bool distance = m_distanceDependent->isChecked();
    for (QWidget* control :
         {static_cast<QWidget*>(m_endLabel), static_cast<QWidget*>(m_endSwatch),
          static_cast<QWidget*>(m_distanceLabel), static_cast<QWidget*>(m_distanceEdit)})
        control->setEnabled(distance);
    m_apply->setEnabled(true);
}

void CCreateLightDlg::OnColor(CColorSwatch& swatch, std::uint32_t& color)
{
    std::optional<QColor> chosen;
    {
        const CWaitCursor wait;
        chosen = QzGetColor(SettingColor(color), this);
    }
    if (!chosen)
        return;
    color = ColorSetting(*chosen);
    UpdateControls();
    swatch.SetColor(SettingColor(color));
}

bool CCreateLightDlg::OnApply()
{
    const CWaitCursor wait;
    float distance = m_distance;
    CFieldExchange exchange(*this, CFieldExchange::EDirection::FromControls);
    exchange.Float(Ctl::kLightDistance, distance);
    exchange.FloatRange(Ctl::kLightDistance, distance, kLightDistanceLow, kLightDistanceHigh);
    if (!exchange.Ok()) {
        m_distanceEdit->setFocus();
        m_distanceEdit->selectAll();
        return false;
    }
    m_distance = distance;
    const bool dependent = m_distanceDependent->isChecked();
    m_settings.m_startColor = m_startColor;
    m_settings.m_endColor = m_endColor;
    m_settings.m_lightDirect = dependent ? 1 : 0;

    const CLightParams params{m_startColor, m_endColor, m_distance, dependent};
    const auto edit = [&params](C3dView& engine) { return RunCreateLightCommand(engine, params); };
    if (m_run)
        m_run(edit);
    else
        edit(m_engine);
    return true;
}

void CCreateLightDlg::accept()
{
    if (OnApply())
        QDialog::accept();
}
