#pragma once
// What the Create Rectangle and Create Cylinder/Pyramid dialogs share: the fields of the raised
// shape (its own size fields first, then "Height:", "Up/Down Angle:", "Left/Right Angle:", "Snap
// vertices to grid" and "Texture:"), the buttons OK, Cancel, Help, "&View" and "&Texture", and
// what they do. "&View" reads the fields and lays the footprint out on the current surface as the
// picked grid nodes (shown at once in the 3D view); OK does the same, then closes when the
// footprint can carry the shape, or says why not and stays open. Cancel gives back the grid nodes
// the user had picked when the dialog opened. The shape of the last footprint is in m_shape for
// the command that runs the builder.
//
// Every control's object name is its id (ui/DialogIds.h).

#include "math/Vector3.h"
#include "tools/Column.h"

#include <QDialog>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class C3dView;
class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;

class CRaisedShapeDlg : public QDialog {
    Q_OBJECT

public:
    ~CRaisedShapeDlg() override;

    // OK: reads the fields (the first that holds no valid value shows the framework's message
    // and keeps the dialog open there), lays the footprint out as View does, then closes; or,
    // when two footprint nodes lie on one point or too few are left on the surface, shows why
    // and stays open with the footprint picked.
    void accept() override;
    // Cancel: the grid nodes picked when the dialog opened are picked again.
    void reject() override;

    // The shape of the last footprint laid out (View or OK): what the builder gets.
    CRaisedShape m_shape;
    // The name of the material the new faces take, as shown.
    std::string m_textureName;

protected:
    // engine is the document's engine; its picked grid nodes are kept for Cancel and its first
    // two taken as the base and second points. fewest is the number of footprint nodes OK needs
    // and outside its message when fewer are left.
    CRaisedShapeDlg(C3dView& engine, int id, const QString& title, std::size_t fewest,
                    std::string_view outside, QWidget* parent);

    // The base and second points: the first two picked grid nodes (the base point twice when
    // only one is picked).
    void TakeBasePoints();
    // Adds a row of the dialog's own size fields: the label, the edit named id and, when given, a
    // spin control beside it. These rows are enabled only while exactly two grid nodes are picked.
    QLineEdit* AddOwnField(const QString& label, int id, QWidget* spin = nullptr);
    // Adds the shared rows and the buttons, and fills the controls (the look and the texture
    // name of the current surface); the derived dialog calls it once its own rows are added.
    void Finish(unsigned int helpContext);

    // The values of the shared fields (the derived dialog's values).
    virtual CRaisedValues& Values() = 0;
    // The dialog's own fields from and to their controls; reading stops at the first field that
    // holds no valid value, with its message shown.
    virtual bool ReadOwnFields() = 0;
    virtual void WriteOwnFields() = 0;
    // The footprint laid out on the engine from the values: the shape the builder gets.
    virtual CRaisedShape LayOut() = 0;
    // Runs work, which rebuilds the point markers and draws a frame, on the engine's device; a
    // dialog whose engine draws on a window makes that window's device current around it.
    virtual void OnDevice(const std::function<void()>& work);

    // Reads every field in exchange order (own fields while they are enabled, Snap, the two
    // angles, Height); false at the first that holds no valid value.
    bool ReadControls();
    void WriteControls();

    // The number in edit, within range, into value; else the framework's message ("Please
    // enter a number." or "Please enter a number between <low> and <high>.") with the field
    // selected, and false.
    bool ReadFloat(QLineEdit& edit, const CShapeRange& range, float& value);
    // The same for a whole number from low to high ("Please enter an integer." or "Please enter
    // an integer between <low> and <high>.").
    bool ReadInt(QLineEdit& edit, int low, int high, int& value);
    // A float as the fields show it: six significant digits.
    static QString FloatText(float value);

    C3dView& m_engine;
    CVector3 m_base;
    CVector3 m_second;

private:
    // View: reads the fields and lays the footprint out; false when a field is bad.
    bool OnView();
    void OnTexture();
    // Adds a row of the fields: the label and the edit named id.
    std::pair<QLabel*, QLineEdit*> AddRow(const QString& label, int id);
    // Refuses the field with message: shown, the field selected.
    bool Refuse(QLineEdit& edit, const QString& message);

    std::vector<CVector3> m_userNodes;
    std::size_t m_fewest;
    std::string_view m_outside;
    QGridLayout* m_fields = nullptr;
    std::vector<QWidget*> m_ownControls;
    bool m_ownEnabled = true;
    QLineEdit* m_height = nullptr;
    QLineEdit* m_upDown = nullptr;
    QLineEdit* m_leftRight = nullptr;
    QCheckBox* m_snap = nullptr;
    QLineEdit* m_texture = nullptr;
};
