#pragma once
// The "Create Layer" dialog (5094): "Height of Layer:" (0.01 to 100.0), "Texture:" and "Indent of
// Layer:" (-1.0 to 1.0), the look of the platform's top, and the buttons of CTexturedShapeDlg.
// Height and indent start at the "LayerHeight" and "LayerIndent" settings and OK stores them
// there, so that the next run, and the next start of the editor, begins with them.

#include "tools/Layer.h"
#include "tools/ui/TexturedShapeDlg.h"

struct CSettings;

class CCreateLayerDlg : public CTexturedShapeDlg {
    Q_OBJECT

public:
    // settings are the application's; they must outlive the dialog, as must engine.
    CCreateLayerDlg(C3dView& engine, CSettings& settings, QWidget* parent = nullptr);
    ~CCreateLayerDlg() override;

    // What the layer builder gets: height, indent and the look.
    [[nodiscard]] CLayerParams Params() const;

    float m_height;
    float m_indent;

private:
    void Exchange(CFieldExchange& exchange) override;
    void Accepted() override;

    CSettings& m_settings;
};
