#pragma once
// The "Hidden Sector Removal" dialog (5005): chooses how the 3D view decides which sectors to draw
// ("RenderMethod": 0 "Neighbor Rendering", 1 "Portal Rendering", 2 "Potential Visible Set") and
// the level of detail of the neighbour walk ("Removal Level", 1 to 100), then runs the lighting
// and visibility pass over the whole level with the dialog's progress bar and draws one frame.
//
// Every control's object name is its id (ui/DialogIds.h): the three radio buttons, the "Level of
// Detail:" edit, the progress bar, and the buttons OK, Cancel and Help.

#include <QDialog>

class C3dView;
class QLineEdit;
class QProgressBar;
class QRadioButton;
struct CSettings;

class CHiddenSectorRemovalDlg : public QDialog {
    Q_OBJECT

public:
    // engine (may be null: then OK only stores the settings) is the document's engine; settings
    // are the application's. Both must outlive the dialog.
    CHiddenSectorRemovalDlg(CSettings& settings, C3dView* engine, QWidget* parent = nullptr);
    ~CHiddenSectorRemovalDlg() override;

    // OK: reads and checks the level of detail (1 to 100; otherwise the range message, and the
    // dialog stays open with nothing changed), stores "Removal Level" and "RenderMethod", runs
    // the visibility pass on the engine under the wait cursor with the progress bar stepping per
    // sector, draws one forced frame and closes.
    void accept() override;

    // The level of detail as last read by OK; at first the "Removal Level" setting.
    int m_levelOfDetail = 0;

private:
    // Checks the radio button of "RenderMethod"; the level of detail is editable only for
    // "Neighbor Rendering".
    void OnInitDialog();
    void OnNeighborRendering();
    void OnPortalRendering();
    void OnPotentialVisibleSet();

    // The level of detail typed in the edit; false when it is not an integer from 1 to 100.
    bool ReadLevelOfDetail(int& level) const;

    CSettings& m_settings;
    C3dView* m_engine = nullptr;
    QRadioButton* m_neighbor = nullptr;
    QRadioButton* m_portal = nullptr;
    QRadioButton* m_visibleSet = nullptr;
    QLineEdit* m_levelEdit = nullptr;
    QProgressBar* m_progress = nullptr;
};
