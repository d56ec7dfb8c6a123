#pragma once
// The surface form (middle left in surface mode): the engine's current surface and its adjoin.
// Every update of the document's views fills the form from the records; leaving a field, or OK in
// a dialog opened by one of the form's buttons, writes the form back (no undo step: form edits
// are not undoable), rebuilds the current sector, marks the document modified and updates the
// other views. "Copy To Other" gives the surface's look to the surface on the other side of its
// adjoin.

#include "app/FormView.h"

#include <cstdint>
#include <string>
#include <string_view>

class CFieldExchange;
struct CFlagDialogTemplate;
class QComboBox;

class CSurfaceView : public CFormView {
    Q_OBJECT
public:
    static constexpr int kId = PropertyView::kSurface;
    CSurfaceView(CQzEditDoc& doc, QWidget* parent);

    // Fill: the current surface of the document's engine while the Sector Mode switch is off,
    // else surface and adjoin index -1 (the other fields keep what they showed).
    void OnUpdate(CDocView* sender, long hint) override;

    // Apply: the form into the engine's current surface and its adjoin. Nothing is written when a
    // field does not read, when there is no engine or no current surface, or when the form shows
    // another surface than the current one. True when the records were written.
    bool UpdateSurface();

    // The entry a mode list selects when it is left with text: the number at the start of the
    // text (as the C library's atoi reads it, 0 for none) when it is below count, no entry (-1)
    // for a negative number, else current.
    static int LeadingNumberEntry(std::string_view text, int count, int current);

private:
    void DoDataExchange(CFieldExchange& exchange);
    void PushToControls();
    // A mode list was left: its text selects an entry by its leading number, then the apply.
    void OnModeListLeft(QComboBox& list);

    // The flag dialog of a flag button over flags, a member of the form; after OK the form
    // shows and applies the new value.
    void OnFlagButton(const CFlagDialogTemplate& dialog, std::uint32_t& flags);
    void OnMaterial();
    void OnSurfaceFlags();
    void OnFaceFlags();
    void OnAdjoinFlags();
    void OnCopyToOther();

    // The selected positions of the three lists (-1 none).
    int m_texture = -1;
    int m_lightMode = -1;
    int m_geometry = -1;
    int m_surfaceIndex = -1;
    std::uint32_t m_surfaceFlags = 0;
    std::uint32_t m_faceFlags = 0;
    std::string m_material;
    float m_extraLight = 0.0f;
    int m_adjoinIndex = -1;
    std::uint32_t m_adjoinFlags = 7;

    QComboBox* m_textureList = nullptr;
    QComboBox* m_lightList = nullptr;
    QComboBox* m_geometryList = nullptr;
    bool m_applying = false;  // an apply is running (its message box takes the focus)
};
