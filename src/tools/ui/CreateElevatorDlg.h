#pragma once
// The "Create Elevator" dialog (5012): the elevator template with its turning preview and the
// model's extents, the direction ("Up", "Down"), the shaft ("Height:", "Connect to Opposite
// Surface") and the sub-shaft ("Height:", set to the model's height whenever a template is
// chosen). Cancel is the default button. The shaft's height is enabled while connect is
// unchecked; OK only for a model with a size (ElevatorDialogEnables, tools/DoorDialogRules.h).
// The preview's camera stands at height 0.4.
//
// Every control's object name is its id (ui/DialogIds.h).

#include "tools/DoorDialogRules.h"

#include <QDialog>

class C3dView;
class CTemplateModelPane;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class CCreateElevatorDlg : public QDialog {
    Q_OBJECT

public:
    // engine as for the Create Door dialog.
    explicit CCreateElevatorDlg(C3dView& engine, QWidget* parent = nullptr);
    ~CCreateElevatorDlg() override;

    // OK: reads the sub-shaft's height (0 to 100) and the shaft's (0.1 to 100); a value out of
    // range shows the range message and keeps the dialog open with the field selected. Then checks
    // that the footprint fits the current surface (else its message, and the dialog stays open)
    // and closes.
    void accept() override;

    // The elevator builder's values, after OK.
    [[nodiscard]] const CElevatorParams& Params() const { return m_params; }
    [[nodiscard]] CTemplateModelPane& Pane() { return *m_pane; }

    // The height of the preview's camera.
    static constexpr float kPreviewCameraHeight = 0.4f;

private:
    [[nodiscard]] CElevatorDialogValues Values() const;
    void ApplyEnables();
    void OnModelChosen(bool loaded);

    C3dView& m_engine;
    CElevatorParams m_params;
    CTemplateModelPane* m_pane = nullptr;
    QRadioButton* m_up = nullptr;
    QRadioButton* m_down = nullptr;
    QLineEdit* m_shaftHeight = nullptr;
    QCheckBox* m_connect = nullptr;
    QLineEdit* m_subShaftHeight = nullptr;
    QPushButton* m_ok = nullptr;
};
