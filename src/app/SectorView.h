#pragma once
// The sector form (top left of a document window): the engine's current sector. Every update of
// the document's views fills the form from the sector record; leaving an edit box, or OK in a
// dialog opened by one of the form's buttons, writes the form back into the record (no undo step:
// form edits are not undoable), recolours the sector, marks the document modified and updates the
// other views.

#include "app/FormView.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

class CColorSwatch;
class CFieldExchange;

class CSectorView : public CFormView {
    Q_OBJECT
public:
    static constexpr int kId = Dlg::kSectorView;
    CSectorView(CQzEditDoc& doc, QWidget* parent);

    // Fill: the current sector of the document's engine, or index -1 (the other fields keep
    // what they showed) without one; the fields of a sector enabled only while there is one.
    void OnUpdate(CDocView* sender, long hint) override;

    // Apply: the form into the engine's current sector. Nothing is written when a field does not
    // read, when there is no engine or no current sector, or when the form shows another sector
    // than the current one. True when the record was written.
    bool UpdateSector();

    // The tint of a sector as the form holds it: bits 16-23 from the first component, 8-15 the
    // second, 0-7 the third, each 256 x the component clamped to 0..255. Drawn and given to the
    // colour dialog as a 0x00BBGGRR colour.
    static std::uint32_t PackTint(const std::array<float, 3>& tint);
    // Back: each byte / 256.
    static std::array<float, 3> UnpackTint(std::uint32_t packed);

private:
    void DoDataExchange(CFieldExchange& exchange);
    // The members into the controls, and the swatch's colour.
    void PushToControls();

    // A name chosen in a picker (nothing for Cancel) into field, shown and applied; true when
    // the apply wrote the record.
    bool ApplyChosenName(const std::optional<std::string>& chosen, std::string& field);
    void OnFlags();
    void OnColorMap();
    void OnTint();
    void OnSound();

    int m_sectorIndex = -1;
    std::uint32_t m_flags = 0;
    std::string m_colorMap;
    float m_ambientLight = 0.0f;
    std::string m_sound;
    float m_volume = 0.0f;
    float m_extraLight = 0.0f;
    std::string m_groupName;
    std::uint32_t m_tint = 0;

    CColorSwatch* m_swatch = nullptr;
    bool m_applying = false;  // an apply is running (its message box takes the focus)
};
