#include "app/ConfigurationPage.h"

#include "app/SettingsStore.h"
#include "framework/Settings.h"
#include "ui/DialogIds.h"
#include "ui/DialogText.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

using DialogText::Id;

// A held spin button steps after this long, then at this interval.
constexpr int kFirstRepeatMs = 400;
constexpr int kRepeatMs = 60;

// What ticking a box sets when its number is 0.
constexpr int kBackupMinutesOn = 10;
constexpr int kUndoLevelsOn = 20;

}  // namespace

// ---- CSpinButton ----

CSpinButton::CSpinButton(QLineEdit& buddy, QWidget* parent)
    : QWidget(parent), m_buddy(buddy), m_repeat(new QTimer(this))
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(m_repeat, &QTimer::timeout, this, [this] {
        m_repeat->setInterval(kRepeatMs);
        Step(m_held);
    });
}

QSize CSpinButton::sizeHint() const
{
    return {fontMetrics().height(), m_buddy.sizeHint().height()};
}

void CSpinButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int half = height() / 2;
    const QRect halves[] = {QRect(0, 0, width(), half), QRect(0, half, width(), height() - half)};
    for (int i = 0; i < 2; ++i) {
        QStyleOption option;
        option.initFrom(this);
        option.rect = halves[i];
        const bool sunken = m_held == (i == 0 ? 1 : -1);
        option.state |= sunken ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &option, &painter, this);
        option.rect = halves[i].adjusted(2, 1, -2, -1);
        style()->drawPrimitive(i == 0 ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown,
                               &option, &painter, this);
    }
}

void CSpinButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_held = event->position().y() < height() / 2.0 ? 1 : -1;
    Step(m_held);
    m_repeat->start(kFirstRepeatMs);
    update();
}

void CSpinButton::mouseReleaseEvent(QMouseEvent*)
{
    m_held = 0;
    m_repeat->stop();
    update();
}

void CSpinButton::SetRange(int low, int high)
{
    m_low = low;
    m_high = high;
}

void CSpinButton::Step(int steps)
{
    bool ok = false;
    const int position = m_buddy.text().trimmed().toInt(&ok);
    const int from = ok ? std::clamp(position, m_low, m_high) : m_low;
    m_buddy.setText(Id(std::clamp(from + steps, m_low, m_high)));
}

// ---- CConfigurationPage ----

CConfigurationPage::CConfigurationPage(CSettings& settings, QWidget* parent)
    : CPropertyPage(Dlg::kConfigurationPage, QStringLiteral("Configuration"), parent),
      m_settings(settings)
{
    m_backup.onValue = kBackupMinutesOn;
    m_backup.range = SettingRange("Autosave");
    m_levels.onValue = kUndoLevelsOn;
    m_levels.range = SettingRange("UndoRedo");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeGroup(QStringLiteral("Backup"), QStringLiteral("Automatic backup every:"),
                                Ctl::kAutomaticBackup, Ctl::kBackupMinutes, Ctl::kBackupSpin,
                                QStringLiteral("Minutes"), m_backup));
    layout->addWidget(MakeGroup(QStringLiteral("Undo/Redo"), QStringLiteral("Number of levels:"),
                                Ctl::kNumberOfLevels, Ctl::kUndoLevels, Ctl::kUndoLevelsSpin,
                                QString(), m_levels));
    layout->addStretch(1);
}

CConfigurationPage::~CConfigurationPage() = default;

QWidget* CConfigurationPage::MakeGroup(const QString& title, const QString& check, int checkId,
                                       int editId, int spinId, const QString& unit,
                                       CSwitchedNumber& number)
{
    auto* group = new QGroupBox(title, this);
    number.check = new QCheckBox(check, group);
    number.check->setObjectName(Id(checkId));
    number.edit = new QLineEdit(group);
    number.edit->setObjectName(Id(editId));
    number.edit->setMaxLength(4);
    number.edit->setFixedWidth(
        number.edit->fontMetrics().horizontalAdvance(QStringLiteral("0000")) +
        number.edit->fontMetrics().averageCharWidth() * 3);
    number.spin = new CSpinButton(*number.edit, group);
    number.spin->setObjectName(Id(spinId));
    auto* row = new QHBoxLayout(group);
    row->addWidget(number.check);
    row->addWidget(number.edit);
    row->addWidget(number.spin);
    if (!unit.isEmpty())
        row->addWidget(new QLabel(unit, group));
    row->addStretch(1);

    connect(number.edit, &QLineEdit::textChanged, this, [this, &number] {
        OnNumberChanged(number);
        OnControlChanged();
    });
    connect(number.check, &QCheckBox::clicked, this, [this, &number] {
        OnSwitchClicked(number);
        OnControlChanged();
    });
    return group;
}

void CConfigurationPage::OnInitDialog()
{
    m_backup.value = m_settings.m_autosave;
    m_levels.value = m_settings.m_undoRedo;
    for (CSwitchedNumber* number : {&m_backup, &m_levels}) {
        number->spin->SetRange(static_cast<int>(number->range->low),
                               static_cast<int>(number->range->high));
        PushInt(*number->edit, number->value);
        number->check->setChecked(number->value != 0);
    }
}

void CConfigurationPage::OnNumberChanged(CSwitchedNumber& number)
{
    // While the text is no number (being typed) the box stays as it is.
    if (ReadInt(*number.edit, number.value))
        number.check->setChecked(number.value != 0);
}

void CConfigurationPage::OnSwitchClicked(CSwitchedNumber& number)
{
    if (!number.check->isChecked())
        PushInt(*number.edit, 0);
    else if (number.value == 0)
        PushInt(*number.edit, number.onValue);
}

bool CConfigurationPage::PullControls()
{
    for (CSwitchedNumber* number : {&m_backup, &m_levels})
        if (!PullInt(*number->edit, number->value, static_cast<int>(number->range->low),
                     static_cast<int>(number->range->high)))
            return false;
    return true;
}

void CConfigurationPage::ApplyConfiguration()
{
    m_settings.m_autosave = m_backup.value;
    m_settings.m_undoRedo = m_levels.value;
}
