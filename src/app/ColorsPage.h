#pragma once
// The "Colors" page of the Options (202): a swatch button per colour setting, which opens the
// colour dialog, and "Transparent Rendering". "Surfaces with Cogs:" is kept but not shown.
//
// Storing (OK or Apply, once the page was shown) writes the ten colours and "AdjoinTransparent",
// re-makes the 3D view's device for the window's size and recolours every sector.

#include "ui/ColorDialog.h"
#include "ui/ColorSwatch.h"
#include "ui/SheetDlg.h"

#include <QColor>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

class CQzEditDoc;
class QCheckBox;

class CColorsPage : public CPropertyPage {
    Q_OBJECT

public:
    explicit CColorsPage(CQzEditDoc& doc, QWidget* parent = nullptr);
    ~CColorsPage() override;

    // The colour dialog a swatch opens: it starts at initial and gives the colour chosen, nothing
    // for Cancel. The default is the system's colour dialog; tests install their own. Returns the
    // previous one; an empty function restores the default.
    using CColorDialog = CColorDialogHook;
    static CColorDialog SetColorDialog(CColorDialog dialog);

    // A colour setting 0x00BBGGRR as a colour, and back.
    static QColor FromSetting(std::uint32_t bgr);
    static std::uint32_t ToSetting(const QColor& color);

    static constexpr std::size_t kColorCount = 10;

protected:
    // Loads the ten colours and ticks "Transparent Rendering" by "AdjoinTransparent".
    void OnInitDialog() override;
    void OnApply() override { ApplyColors(); }

private:
    void ApplyColors();
    // A swatch was clicked: the colour dialog; a colour chosen marks the page modified.
    void OnSwatch(std::size_t index);

    CQzEditDoc& m_doc;
    std::array<CColorSwatch*, kColorCount> m_swatches{};
    QCheckBox* m_transparent = nullptr;
};
