#pragma once
// The "Create Door" dialog (5011): the door template with its turning preview and the model's
// extents, the recess in front ("Simple" or "Sunken" with its "Depth:"), the recess behind
// ("Simple" or "Sunken" with its "Depth:", "Connect to Opposite Surface") and the way the door
// opens ("Up", "Down", "Left", "Right"). Cancel is the default button. Which controls are enabled
// follows DoorDialogEnables (tools/DoorDialogRules.h): OK only for a model with a size.
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

class CCreateDoorDlg : public QDialog {
    Q_OBJECT

public:
    // engine is the document's engine: its game gives the templates and their models, its
    // current surface and first two grid nodes the place the door is checked against. It must
    // outlive the dialog.
    explicit CCreateDoorDlg(C3dView& engine, QWidget* parent = nullptr);
    ~CCreateDoorDlg() override;

    // OK: reads the depths (0.01 to 10; otherwise the range message, and the dialog stays open
    // with the field selected), then checks that the door fits the current surface and, with
    // connect, that it finds one surface behind; a refusal shows its message and keeps the dialog
    // open. Otherwise the dialog closes.
    void accept() override;

    // The door builder's values, after OK.
    [[nodiscard]] const CDoorParams& Params() const { return m_params; }
    [[nodiscard]] CTemplateModelPane& Pane() { return *m_pane; }

private:
    // The values the controls hold, the depths as last read.
    [[nodiscard]] CDoorDialogValues Values() const;
    void ApplyEnables();

    C3dView& m_engine;
    CDoorDialogValues m_values;
    CDoorParams m_params;
    CTemplateModelPane* m_pane = nullptr;
    QRadioButton* m_frontSimple = nullptr;
    QRadioButton* m_frontSunken = nullptr;
    QLineEdit* m_frontDepth = nullptr;
    QRadioButton* m_backSimple = nullptr;
    QRadioButton* m_backSunken = nullptr;
    QLineEdit* m_backDepth = nullptr;
    QCheckBox* m_connect = nullptr;
    QRadioButton* m_opening[4] = {};
    QPushButton* m_ok = nullptr;
};
