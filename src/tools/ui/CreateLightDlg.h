#pragma once
// "Create Light" (5103): the start colour, the check box "Distance Dependant" that enables the
// end colour and the distance, and the buttons OK, "&Apply", Cancel and Help. "&Apply" writes the
// light into the level at once (one undo step, the document marked modified) and stores the
// colours and the check box in "StartColor", "EndColor" and "LightDirect"; OK applies, then
// closes; Cancel closes and keeps what was applied. "&Apply" is disabled when the dialog opens
// and enabled by the first change of a colour or of the check box.
//
// A swatch opens the colour dialog (ui/ColorDialog.h: tests answer it through its hook). Every
// control's object name is its id (ui/DialogIds.h).

#include "tools/CreateLight.h"

#include <QDialog>

#include <cstdint>
#include <functional>

class C3dView;
class CColorSwatch;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct CSettings;

class CCreateLightDlg : public QDialog {
    Q_OBJECT

public:
    // Runs an edit of the engine where the engine may draw (the document makes the 3D view's
    // device current around it); the edit's result.
    using CEngineRun = std::function<bool(const std::function<bool(C3dView&)>&)>;

    // engine is the document's, with a current sector; settings the application's, from which
    // the colours and the check box start and into which Apply writes them. run (empty: the edit
    // runs directly) runs Apply's edit.
    CCreateLightDlg(C3dView& engine, CSettings& settings, QWidget* parent = nullptr,
                    CEngineRun run = {});
    ~CCreateLightDlg() override;

    // Apply: reads the distance (out of 0.01 to 10.0: the framework's message, nothing applied
    // and false), stores the three settings and writes the light.
    bool OnApply();
    // OK: Apply, then closes; stays open when Apply found a bad field.
    void accept() override;

    std::uint32_t StartColor() const { return m_startColor; }
    std::uint32_t EndColor() const { return m_endColor; }

private:
    // The end colour and the distance enabled by the check box; "&Apply" enabled.
    void UpdateControls();
    // A swatch was clicked: the colour dialog from color; a colour chosen is kept.
    void OnColor(CColorSwatch& swatch, std::uint32_t& color);

    C3dView& m_engine;
    CSettings& m_settings;
    CEngineRun m_run;
    float m_distance = 0.5f;
    std::uint32_t m_startColor = 0;
    std::uint32_t m_endColor = 0;

    CColorSwatch* m_startSwatch = nullptr;
    CColorSwatch* m_endSwatch = nullptr;
    QCheckBox* m_distanceDependent = nullptr;
    QLabel* m_endLabel = nullptr;
    QLabel* m_distanceLabel = nullptr;
    QLineEdit* m_distanceEdit = nullptr;
    QPushButton* m_apply = nullptr;
};
