#pragma once
// The "Create Landscape" dialog (5032): "Texture:" (shown only), "Number of Splits:" (1 to 4),
// "Maximum Depth:" (0 to 100) and "Minimum Depth:" (-100 to 0), the buttons OK, Cancel, Help and
// "&Texture". The new surfaces start with the current surface's look; "&Texture" takes another
// material from the level's list. On OK a value out of its range brings the framework's message
// and keeps the dialog open there.
//
// Every control's object name is its id (ui/DialogIds.h).

#include "tools/Landscape.h"

#include <QDialog>

#include <string>

class C3dView;

class CCreateLandscapeDlg : public QDialog {
    Q_OBJECT

public:
    // engine is the document's engine: its current surface gives the look, its first two picked
    // grid nodes the nodes handed to the builder.
    explicit CCreateLandscapeDlg(C3dView& engine, QWidget* parent = nullptr);
    ~CCreateLandscapeDlg() override;

    // OK: reads the fields in order (splits, maximum, minimum); the first out of its range shows
    // the framework's message, is selected and keeps the dialog open.
    void accept() override;

    // What the builder gets: after OK the values read; before, the start values.
    CLandscapeParams m_params;
    // The name of the material the new surfaces take, in lower case (empty for none).
    std::string m_textureName;

private:
    // "&Texture": the material picked from the level's list; then the fields are read (a bad one
    // shows its message and the pick is dropped), the material becomes the look and the fields
    // are shown again.
    void OnTexture();
    // Shows the fields, or reads them (the first bad one shows its message, is selected and
    // gives false, m_params unchanged).
    bool Exchange(bool reading);

    C3dView& m_engine;
};
