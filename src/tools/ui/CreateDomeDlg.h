#pragma once
// The "Create Dome" dialog (5019): "Depth of Dome:" (0.01 to 100.0), "Texture:", "Number of
// splits:" (1 to 100), "Curved around up vector", "Curved around plane vector" and "Outside (same
// sector)", the look of the new faces, and the buttons of CTexturedShapeDlg. The two curve boxes
// can be changed only while exactly two grid nodes are picked; their values go to the builder
// either way. Every run starts from the same defaults.

#include "tools/Dome.h"
#include "tools/ui/TexturedShapeDlg.h"

class CCreateDomeDlg : public CTexturedShapeDlg {
    Q_OBJECT

public:
    // engine must outlive the dialog.
    explicit CCreateDomeDlg(C3dView& engine, QWidget* parent = nullptr);
    ~CCreateDomeDlg() override;

    // What the dome builder gets.
    [[nodiscard]] CDomeParams Params() const;

    float m_depth = 0.4f;
    int m_splits = 4;
    bool m_curveAroundUp = true;
    bool m_curveAroundPlane = true;
    bool m_outside = true;

private:
    void Exchange(CFieldExchange& exchange) override;

    QCheckBox* m_curveUpBox = nullptr;
    QCheckBox* m_curvePlaneBox = nullptr;
    QCheckBox* m_outsideBox = nullptr;
};
