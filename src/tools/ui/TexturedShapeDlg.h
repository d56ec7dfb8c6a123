#pragma once
// What the Create Layer and Create Dome dialogs share: a column of fields beside the buttons
// "&OK", "&Cancel", "&Help" and "&Texture", the look of the new faces (taken from the current
// surface when the dialog opens, or from the material picker), the editable "Texture:" name and
// OK's exchange of the fields. The derived dialog adds its rows and exchanges its fields in its
// order; a field that does not read or lies out of its range shows the framework's message, is
// selected, and the dialog stays open.
//
// Every control's object name is its id (ui/DialogIds.h).

#include "edit/Carve.h"

#include <QDialog>

#include <string>

class C3dView;
class CFieldExchange;
class QCheckBox;
class QFormLayout;
class QLineEdit;

class CTexturedShapeDlg : public QDialog {
    Q_OBJECT

public:
    ~CTexturedShapeDlg() override;

    // OK: reads every field in the exchange order; the first that fails keeps the dialog open.
    // Otherwise Accepted runs and the dialog closes.
    void accept() override;

    // The look the builder gets: material (-1 none), texture size and tiling.
    CCarveLook m_look;
    // The material's name as shown (lower case); the user may edit it, the builder never reads it.
    std::string m_textureName;

protected:
    // engine is the document's engine; its current surface gives the look. It must outlive the
    // dialog.
    CTexturedShapeDlg(C3dView& engine, int id, const QString& title, QWidget* parent);

    // A row of the fields: the label and an edit named id.
    QLineEdit* AddEdit(const QString& label, int id);
    // A check box named id across the row.
    QCheckBox* AddCheck(const QString& text, int id);
    // Adds the buttons and shows the members in the controls; the derived dialog calls it once
    // its rows are added.
    void Finish(unsigned int helpContext);

    // The dialog's fields to or from their controls, in the exchange order (the texture name
    // through ExchangeTextureName at its place).
    virtual void Exchange(CFieldExchange& exchange) = 0;
    void ExchangeTextureName(CFieldExchange& exchange, int id);
    // After OK has read every field, before the dialog closes.
    virtual void Accepted() {}

    C3dView& m_engine;

private:
    // "&Texture": the material picked in the level's list gives the look and the name; Cancel
    // leaves both. What the user typed in the other fields stays.
    void OnTexture();

    QFormLayout* m_fields = nullptr;
    int m_textureNameId = -1;
};

// A check box's state to or from its member, as the exchange goes.
void ExchangeCheck(const CFieldExchange& exchange, QCheckBox& box, bool& value);
