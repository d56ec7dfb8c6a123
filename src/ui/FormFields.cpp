#include "ui/FormFields.h"

#include "framework/FieldText.h"
#include "ui/UiServices.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CFieldExchange::CFieldExchange(QWidget& form, EDirection direction)
    : m_form(form), m_direction(direction)
{}

QWidget* CFieldExchange::Control(int id) const
{
    return m_form.findChild<QWidget*>(QString::number(id));
}

QString CFieldExchange::ControlText(int id) const
{
    QWidget* control = Control(id);
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        return edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return combo->currentText();
    return {};
}

void CFieldExchange::SetControlText(int id, const QString& text) const
{
    QWidget* control = Control(id);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        if (edit->text() != text)
            edit->setText(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        if (combo->isEditable())
            combo->setEditText(text);
    }
}

void CFieldExchange::Fail(int id, const QString& message)
{
    m_failedId = id;
    QzMessageBox(message, QMessageBox::Ok, &m_form);
}

void CFieldExchange::Int(int id, int& value)
{
    if (!Ok())
        return;
    if (!Saving()) {
        SetControlText(id, QString::number(value));
        return;
    }
    if (!ReadIntField(ControlText(id).toStdString(), value))
        Fail(id, QStringLiteral("Please enter an integer."));
}

void CFieldExchange::Float(int id, double& value)
{
    if (!Ok())
        return;
    if (!Saving()) {
        SetControlText(id, QString::fromStdString(FloatFieldText(value)));
        return;
    }
    if (!ReadFloatField(ControlText(id).toStdString(), value))
        Fail(id, QStringLiteral("Please enter a number."));
}

void CFieldExchange::Float(int id, float& value)
{
    double wide = value;
    Float(id, wide);
    value = static_cast<float>(wide);
}

void CFieldExchange::FloatRange(int id, float value, double low, double high)
{
    if (!Ok() || !Saving())
        return;
    // Compared as the 32-bit float the member keeps.
    if (!(value >= static_cast<float>(low)) || !(value <= static_cast<float>(high)))
        Fail(id, QStringLiteral("Please enter a number between %1 and %2.")
                     .arg(QString::fromStdString(FloatFieldText(low)),
                          QString::fromStdString(FloatFieldText(high))));
}

void CFieldExchange::IntRange(int id, int value, int low, int high)
{
    if (!Ok() || !Saving())
        return;
    if (value < low || value > high)
        Fail(id, QStringLiteral("Please enter an integer between %1 and %2.").arg(low).arg(high));
}

void CFieldExchange::Hex(int id, std::uint32_t& value)
{
    if (!Ok())
        return;
    if (!Saving()) {
        SetControlText(id, QString::fromStdString(HexFieldText(value)));
        return;
    }
    ReadHexField(ControlText(id).toStdString(), value);
}

void CFieldExchange::Text(int id, std::string& value)
{
    if (!Ok())
        return;
    if (!Saving())
        SetControlText(id, QString::fromStdString(value));
    else
        value = ControlText(id).toStdString();
}

namespace {

class CFocusLeaveFilter : public QObject {
public:
    CFocusLeaveFilter(QWidget& control, std::function<void()> apply)
        : QObject(&control), m_apply(std::move(apply))
    {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusOut && m_apply)
            m_apply();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_apply;
};

}  // namespace

void OnFocusLeave(QWidget& control, std::function<void()> apply)
{
    control.installEventFilter(new CFocusLeaveFilter(control, std::move(apply)));
}

CFormLayout::CFormLayout(QWidget& form) : m_form(form), m_grid(new QGridLayout(&form)) {}

QLineEdit* CFormLayout::Edit(const QString& caption, int id, bool readOnly)
{
    auto* label = new QLabel(caption, &m_form);
    auto* edit = new QLineEdit(&m_form);
    edit->setObjectName(QString::number(id));
    edit->setReadOnly(readOnly);
    label->setBuddy(edit);
    m_grid->addWidget(label, m_row, 0);
    m_grid->addWidget(edit, m_row, 1);
    ++m_row;
    return edit;
}

QLineEdit* CFormLayout::ButtonEdit(const QString& caption, int buttonId, int editId)
{
    auto* button = new QPushButton(caption, &m_form);
    button->setObjectName(QString::number(buttonId));
    button->setAutoDefault(false);
    auto* edit = new QLineEdit(&m_form);
    edit->setObjectName(QString::number(editId));
    m_grid->addWidget(button, m_row, 0);
    m_grid->addWidget(edit, m_row, 1);
    ++m_row;
    return edit;
}

QComboBox* CFormLayout::Combo(const QString& caption, int id, const QStringList& entries)
{
    auto* label = new QLabel(caption, &m_form);
    auto* combo = new QComboBox(&m_form);
    combo->setObjectName(QString::number(id));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(entries);
    label->setBuddy(combo);
    m_grid->addWidget(label, m_row, 0);
    m_grid->addWidget(combo, m_row, 1);
    ++m_row;
    return combo;
}

QPushButton* CFormLayout::Button(const QString& caption, int id)
{
    auto* button = new QPushButton(caption, &m_form);
    button->setObjectName(QString::number(id));
    button->setAutoDefault(false);
    m_grid->addWidget(button, m_row, 0, 1, 2);
    ++m_row;
    return button;
}

void CFormLayout::Finish()
{
    m_grid->setRowStretch(m_row, 1);
}
