#pragma once
// The data exchange of the form views and dialogs: moves form members to and from their controls,
// found by their ids (each control's object name is its id). Numbers use the C locale
// (framework/FieldText.h). Reading stops at the first field whose text is no number, after that
// field's message; the caller then leaves its record alone (CFieldExchange::Ok is false), so a bad
// field never half-updates a record.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <string>

class QComboBox;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QWidget;

class CFieldExchange {
public:
    enum class EDirection {
        ToControls,
        FromControls
    };

    CFieldExchange(QWidget& form, EDirection direction);

    bool Saving() const { return m_direction == EDirection::FromControls; }
    // False once a field failed to read; the fields after it are not read.
    bool Ok() const { return m_failedId < 0; }
    // The id of the field that failed to read, -1 for none.
    int FailedControl() const { return m_failedId; }

    // Decimal integer; message "Please enter an integer." when the text is none.
    void Int(int id, int& value);
    // Six significant digits; message "Please enter a number." when the text is none.
    void Float(int id, float& value);
    void Float(int id, double& value);
    // After the field's exchange, when reading: value within low..high (both included), else the
    // message "Please enter a number between low and high." and the exchange stops.
    void FloatRange(int id, float value, double low, double high);
    void IntRange(int id, int value, int low, int high);
    // A flag word shown as "0x%X"; a text with no number keeps the value, with no message.
    void Hex(int id, std::uint32_t& value);
    // The text of an edit box, or the edit text of a combo box.
    void Text(int id, std::string& value);

private:
    QWidget* Control(int id) const;
    QString ControlText(int id) const;
    void SetControlText(int id, const QString& text) const;
    void Fail(int id, const QString& message);

    QWidget& m_form;
    EDirection m_direction;
    int m_failedId = -1;
};

// Calls apply whenever control loses the keyboard focus (also when its text did not change).
void OnFocusLeave(QWidget& control, std::function<void()> apply);

// Builds a form as rows of a caption (a label, or a button that opens the field's dialog) and a
// field, in a grid laid on form. Every control is named by its id.
class CFormLayout {
public:
    explicit CFormLayout(QWidget& form);

    QLineEdit* Edit(const QString& caption, int id, bool readOnly = false);
    // A button captioned caption in place of the label, the edit beside it.
    QLineEdit* ButtonEdit(const QString& caption, int buttonId, int editId);
    // A drop-down list with editable text holding entries.
    QComboBox* Combo(const QString& caption, int id, const QStringList& entries);
    // A button across both columns.
    QPushButton* Button(const QString& caption, int id);
    QGridLayout& Grid() { return *m_grid; }
    // Ends the form with a stretch so the rows keep to the top.
    void Finish();

private:
    QWidget& m_form;
    QGridLayout* m_grid;
    int m_row = 0;
};
