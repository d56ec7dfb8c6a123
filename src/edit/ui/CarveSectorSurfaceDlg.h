#pragma once
// The "Carve Sector/Surface" dialog (5006) of the Carve command: the up/down and left/right angles
// (-45 to 45 degrees; not editable in sector mode, where the carve takes none), "Create Catwalk",
// and the texture the walls of a catwalk take, chosen with the Texture button from the level's
// materials and shown by name. OK hands the values over in m_choice (edit/CarveCommand.h); the
// command runs the carve with them.
//
// Every control's object name is its id (ui/DialogIds.h): the two angle edits, the check box, the
// texture name edit, and the buttons OK, Cancel, Help and Texture.

#include "edit/CarveCommand.h"

#include <QDialog>

class C3dView;
class QCheckBox;
class QLineEdit;

class CCarveSectorSurfaceDlg : public QDialog {
    Q_OBJECT

public:
    // engine is the document's engine (its document's sector mode and its material picker); it
    // must outlive the dialog.
    explicit CCarveSectorSurfaceDlg(C3dView& engine, QWidget* parent = nullptr);
    ~CCarveSectorSurfaceDlg() override;

    // OK: reads the angles (each a number from -45 to 45, otherwise the framework's message and
    // the dialog stays open at that field) and the check box into m_choice and closes.
    void accept() override;

    // The values, at first the defaults; the Texture button and OK fill them in.
    CCarveChoice m_choice;

private:
    void OnInitDialog();
    void OnTexture();
    void OnHelp();

    // The number in edit into value; false, with the framework's message shown and the field
    // selected, when it is no number or lies outside -45 to 45.
    bool ReadAngle(QLineEdit& edit, float& value);

    C3dView& m_engine;
    QLineEdit* m_upDown = nullptr;
    QLineEdit* m_leftRight = nullptr;
    QCheckBox* m_catwalk = nullptr;
    QLineEdit* m_textureName = nullptr;
};
