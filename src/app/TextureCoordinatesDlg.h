#pragma once
// The "Texture Coodinates" dialog (206) of the current surface: the start corner, offsets,
// scales, angle and mirror switch that lay its texture (edit/TextureCoordinates.h), loaded from
// the values the surface stores. Each spin lowers its value by the control's delta (its up arrow
// lowers it) and applies; the start corner and the angle wrap. "&Apply" (and a click of
// "Mirror:") lays the texture with the values shown without storing them; OK stores them and
// lays it; Cancel leaves what Apply did. A field that does not read, or a start corner that is no
// corner of the surface, stops Apply and OK with its message and changes nothing.
//
// The first change of the level in a dialog session (Apply or OK) takes one undo snapshot first.
//
// Every control's object name is its id (ui/DialogIds.h).

#include "edit/TextureCoordinates.h"

#include <QDialog>

class C3dView;
class CQzEditView;
class QCheckBox;

class CTextureCoordinatesDlg : public QDialog {
    Q_OBJECT

public:
    // engine's current surface; view is the 3D view of its document (the parent as well), whose
    // device the rebuilds work in; it may be null.
    CTextureCoordinatesDlg(C3dView& engine, CQzEditView* view);
    ~CTextureCoordinatesDlg() override;

    void accept() override;
    void OnApply();

    CTextureMapping m_mapping;
    int m_corners = 10;

private:
    // The fields into m_mapping; false, after the field's message, when one does not read.
    bool ReadFields();
    void ShowFields();
    void OnSpin(int spin, int delta);
    void SnapshotOnce();

    C3dView& m_engine;
    CQzEditView* m_view;
    QCheckBox* m_mirror = nullptr;
    bool m_snapshotTaken = false;
};
