#pragma once
// The "Create Switch" dialog (5101): in the group "Switch" the "Depth:" (0 to 0.1), "Height:" and
// "Width:" (0.01 to 1) of the switch, the sorted list of the switch materials (the group "switch"
// of "materials.dat") and the chosen material's preview; in the group "Siding" the recess walls'
// material ("Texture:", display only) with "&Texture", which opens the material picker in add
// mode; "X:" and "Y:", the switch material's texture size (display only). Cancel is the default
// button.
//
// Choosing a switch material shows it in the preview and takes its texture size; a material whose
// texture is found nowhere shows 0 x 0, and OK then refuses with its message, as it does without a
// switch material. OK also refuses a switch that leaves the current surface.
//
// Every control's object name is its id (ui/DialogIds.h).

#include "tools/Switch.h"

#include <QDialog>

#include <string>
#include <vector>

class C3dView;
class CPreviewWidget;
class QComboBox;
class QLineEdit;
struct CDataFolders;

// The switch materials of "materials.dat" in folders; none when the file cannot be read.
[[nodiscard]] std::vector<std::string> ReadSwitchList(const CDataFolders& folders);

class CCreateSwitchDlg : public QDialog {
    Q_OBJECT

public:
    // engine is the document's engine: its game and level give the textures, its current surface
    // and first two grid nodes the place the switch is checked against. It must outlive the
    // dialog. switchMaterials are listed sorted (letter case ignored).
    CCreateSwitchDlg(C3dView& engine, std::vector<std::string> switchMaterials,
                     QWidget* parent = nullptr);
    ~CCreateSwitchDlg() override;

    // OK: reads the three sizes (the range message, and the dialog stays open with the field
    // selected), then SwitchRefusal; a refusal shows its message and keeps the dialog open.
    void accept() override;

    // The switch builder's values, after OK.
    [[nodiscard]] const CSwitchParams& Params() const { return m_params; }
    [[nodiscard]] CPreviewWidget& Preview() { return *m_preview; }

private:
    void OnSelchangeSwitch();
    void OnTexture();

    C3dView& m_engine;
    CSwitchParams m_params;
    QLineEdit* m_depth = nullptr;
    QLineEdit* m_height = nullptr;
    QLineEdit* m_width = nullptr;
    QComboBox* m_list = nullptr;
    CPreviewWidget* m_preview = nullptr;
    QLineEdit* m_siding = nullptr;
    QLineEdit* m_x = nullptr;
    QLineEdit* m_y = nullptr;
};
