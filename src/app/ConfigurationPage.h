#pragma once
// The "Configuration" page of the Options (5083): the autosave interval ("Autosave", minutes, 0
// to 120; 0 is no autosave) and the number of undo levels ("UndoRedo", 0 to 100), each with a
// check box that is ticked while its number is not 0, an edit and a spin button.
//
// Unticking a box sets its number to 0; ticking it while the number is 0 sets 10 minutes or 20
// levels. Storing (OK or Apply, once the page was shown) writes both settings.

#include "ui/SheetDlg.h"

struct CSettingRange;
struct CSettings;
class QCheckBox;
class QTimer;

// Up and down arrows that step the integer of an edit (its buddy) within a range and write the
// new position into it: a press on the upper half steps up, on the lower half down, repeated while
// the button is held.
class CSpinButton : public QWidget {
    Q_OBJECT

public:
    CSpinButton(QLineEdit& buddy, QWidget* parent = nullptr);
    void SetRange(int low, int high);
    // steps up (or down when negative) from the buddy's number (the low end when it holds none).
    void Step(int steps);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QLineEdit& m_buddy;
    int m_low = 0;
    int m_high = 100;
    int m_held = 0;  // +1 while the upper half is held, -1 the lower, 0 neither
    QTimer* m_repeat = nullptr;
};

class CConfigurationPage : public CPropertyPage {
    Q_OBJECT

public:
    explicit CConfigurationPage(CSettings& settings, QWidget* parent = nullptr);
    ~CConfigurationPage() override;

protected:
    void OnInitDialog() override;
    bool PullControls() override;
    void OnApply() override { ApplyConfiguration(); }

private:
    // One number with its check box: the value it keeps, the value ticking sets when it is 0.
    struct CSwitchedNumber {
        QCheckBox* check = nullptr;
        QLineEdit* edit = nullptr;
        CSpinButton* spin = nullptr;
        int value = -1;  // -1 until the page is shown
        int onValue = 0;
        const CSettingRange* range = nullptr;
    };

    void ApplyConfiguration();
    // The number was edited: it is read again (when it is one) and the box ticked by it.
    void OnNumberChanged(CSwitchedNumber& number);
    // The box was clicked: off sets 0, on with 0 sets the number's on value.
    void OnSwitchClicked(CSwitchedNumber& number);
    QWidget* MakeGroup(const QString& title, const QString& check, int checkId, int editId,
                       int spinId, const QString& unit, CSwitchedNumber& number);

    CSettings& m_settings;
    CSwitchedNumber m_backup;  // "Autosave"
    CSwitchedNumber m_levels;  // "UndoRedo"
};
