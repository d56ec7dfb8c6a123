#include "engine/ui/HiddenSectorRemovalDlg.h"

#include "engine/C3dView.h"
#include "engine/FrameRender.h"
#include "engine/Visibility.h"
#include "framework/Settings.h"
#include "level/QzlSections.h"
#include "ui/DialogButtons.h"
#include "ui/DialogIds.h"
#include "ui/DialogText.h"
#include "ui/UiServices.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace {

using DialogText::Id;

constexpr int kLevelLow = 1;
constexpr int kLevelHigh = 100;
// The help context of a dialog: the help base of resources plus its id.
constexpr unsigned int kHelpContext = 0x20000u + Dlg::kHiddenSectorRemoval;

}  // namespace

CHiddenSectorRemovalDlg::CHiddenSectorRemovalDlg(CSettings& settings, C3dView* engine,
                                                 QWidget* parent)
    : QDialog(parent), m_levelOfDetail(settings.m_removalLevel), m_settings(settings),
      m_engine(engine)
{
    setObjectName(Id(Dlg::kHiddenSectorRemoval));
    setWindowTitle(QStringLiteral("Hidden Sector Removal"));

    auto* group = new QGroupBox(QStringLiteral("Rendering Method"), this);
    m_neighbor = new QRadioButton(QStringLiteral("Neighbor Rendering"), group);
    m_neighbor->setObjectName(Id(Ctl::kNeighborRendering));
    m_portal = new QRadioButton(QStringLiteral("Portal Rendering"), group);
    m_portal->setObjectName(Id(Ctl::kPortalRendering));
    m_visibleSet = new QRadioButton(QStringLiteral("Potential Visible Set"), group);
    m_visibleSet->setObjectName(Id(Ctl::kPotentialVisibleSet));
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(m_neighbor);
    groupLayout->addWidget(m_portal);
    groupLayout->addWidget(m_visibleSet);

    auto* label = new QLabel(QStringLiteral("Level of Detail:"), this);
    m_levelEdit = new QLineEdit(Id(m_levelOfDetail), this);
    m_levelEdit->setObjectName(Id(Ctl::kLevelOfDetail));
    label->setBuddy(m_levelEdit);
    auto* levelLayout = new QHBoxLayout;
    levelLayout->addWidget(label);
    levelLayout->addWidget(m_levelEdit);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(Id(Ctl::kRemovalProgress));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);

    QDialogButtonBox* buttons = MakeDialogButtons(*this, Qt::Horizontal, QStringLiteral("&OK"),
                                                  QStringLiteral("&Cancel"), kHelpContext);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(levelLayout);
    layout->addWidget(m_progress);
    layout->addWidget(buttons);

    connect(m_neighbor, &QRadioButton::clicked, this,
            &CHiddenSectorRemovalDlg::OnNeighborRendering);
    connect(m_portal, &QRadioButton::clicked, this, &CHiddenSectorRemovalDlg::OnPortalRendering);
    connect(m_visibleSet, &QRadioButton::clicked, this,
            &CHiddenSectorRemovalDlg::OnPotentialVisibleSet);

    OnInitDialog();
}

CHiddenSectorRemovalDlg::~CHiddenSectorRemovalDlg() = default;

void CHiddenSectorRemovalDlg::OnInitDialog()
{
    const int method = m_settings.m_renderMethod;
    m_neighbor->setChecked(method == 0);
    m_portal->setChecked(method == 1);
    m_visibleSet->setChecked(method == 2);
    m_levelEdit->setEnabled(method == 0);
}

void CHiddenSectorRemovalDlg::OnNeighborRendering()
{
    m_levelEdit->setEnabled(true);
}

void CHiddenSectorRemovalDlg::OnPortalRendering()
{
    m_levelEdit->setEnabled(false);
}

void CHiddenSectorRemovalDlg::OnPotentialVisibleSet()
{
    m_levelEdit->setEnabled(false);
}

bool CHiddenSectorRemovalDlg::ReadLevelOfDetail(int& level) const
{
    bool ok = false;
    const int value = m_levelEdit->text().trimmed().toInt(&ok);
    if (!ok || value < kLevelLow || value > kLevelHigh)
        return false;
    level = value;
    return true;
}

void CHiddenSectorRemovalDlg::accept()
{
    // The field is checked even while it is greyed: its value is stored whatever the method.
    int level = 0;
    if (!ReadLevelOfDetail(level)) {
        QzMessageBox(QStringLiteral("Please enter an integer between %1 and %2.")
                         .arg(kLevelLow)
                         .arg(kLevelHigh),
                     QMessageBox::Ok, this);
        m_levelEdit->setFocus();
        m_levelEdit->selectAll();
        return;
    }
    m_levelOfDetail = level;
    m_settings.m_removalLevel = level;
    m_settings.m_renderMethod = m_neighbor->isChecked() ? 0 : m_portal->isChecked() ? 1 : 2;

    CWaitCursor wait;
    if (m_engine != nullptr) {
        // The pass steps once per sector; the bar is drawn at each step because the dialog
        // stays up while the pass runs.
        const std::size_t sectors = m_engine->GetLevel().m_sectors.size();
        const int steps = static_cast<int>(
            std::min<std::size_t>(std::max<std::size_t>(sectors, 1),
                                  static_cast<std::size_t>(std::numeric_limits<int>::max())));
        m_progress->setRange(0, steps);
        m_progress->setValue(0);
        ProcessSectors(*m_engine, [this] {
            if (m_progress->value() < m_progress->maximum())
                m_progress->setValue(m_progress->value() + 1);
            m_progress->repaint();
        });
        RenderFrame(*m_engine, 1);
    }
    QDialog::accept();
}
