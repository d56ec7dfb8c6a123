#pragma once
// The "General" page of the Options (185): distances, grid alignment, frame rate and vertex size
// as numbers; adjoin rendering, texture mapping, the stretch factor (the display-mode list of the
// 3D view's device) and the device as lists; the yes/no switches of the settings and the
// document's start and goals cogs.
//
// Storing (OK or Apply, once the page was shown) writes the settings, sets the document's two
// cog switches and brings its level's cogs in line with them, re-makes the 3D view's device for
// the window's size, recomputes the sector bounds and updates every view of the document.

#include "framework/Settings.h"
#include "ui/SheetDlg.h"

#include <array>
#include <cstdint>

class CQzEditDoc;
class QComboBox;
class QLineEdit;

class CGeneralPage : public CPropertyPage {
    Q_OBJECT

public:
    explicit CGeneralPage(CQzEditDoc& doc, QWidget* parent = nullptr);
    ~CGeneralPage() override;

protected:
    // Fills the two device lists, loads the settings and the document's switches and pushes them
    // into the controls.
    void OnInitDialog() override;
    // The six numbers within their ranges, in the order of the page.
    bool PullControls() override;
    void OnApply() override { ApplySettings(); }

private:
    void ApplySettings();

    // The number edits, the lists of fixed texts (yes/no lists, "Adjoin Rendering:", "Texture
    // Mapping:") and the two device lists, in the order of the page's tables.
    static constexpr std::size_t kNumberCount = 6;
    static constexpr std::size_t kYesNoCount = 8;

    CQzEditDoc& m_doc;
    // The values read from the controls (a copy of the settings until then).
    CSettings m_values;
    std::array<QLineEdit*, kNumberCount> m_numbers{};
    std::array<QComboBox*, kYesNoCount> m_yesNo{};
    QComboBox* m_adjoin = nullptr;
    QComboBox* m_textureMapping = nullptr;
    QComboBox* m_stretch = nullptr;
    QComboBox* m_device = nullptr;
};
