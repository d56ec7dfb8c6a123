#pragma once
// The Startup Editor: a sheet "Startup Editor" with the pages Weapons and Ammunition and Powers and
// Armor over the text of the start-up cog. Each row of a page is an inventory bin: its check box
// says whether the script sets the bin at start-up, its edit (most rows have one) the value. A
// page reads its rows from the text when it is first shown and, on OK or Apply, rewrites or
// inserts the rows' lines in the text (a page never shown leaves the text alone). Rows the product
// does not use are disabled and neither read nor written.
//
// Checking a row's box puts the row's full value into its edit and enables it; clearing it puts 0
// and disables it.

#include "episode/StartupInventory.h"
#include "ui/SheetDlg.h"

#include <span>
#include <string>
#include <vector>

class QCheckBox;
class QLineEdit;

class CStartupPage : public CPropertyPage {
    Q_OBJECT

public:
    // text is the script text the page reads and writes; it outlives the page.
    CStartupPage(int templateId, const QString& caption, std::span<const CInvRow> rows,
                 std::string& text, int product, QWidget* parent = nullptr);

protected:
    void OnInitDialog() override;
    bool PullControls() override;
    void OnApply() override;

private:
    bool Used(std::size_t row) const { return m_rows[row].Bin(m_product) != kNoBin; }
    void OnBoxClicked(std::size_t row);

    std::span<const CInvRow> m_rows;
    std::string& m_text;
    int m_product;
    std::vector<QCheckBox*> m_boxes;
    std::vector<QLineEdit*> m_edits;  // null for a row without an edit
    std::vector<int> m_values;
};

class CWeaponsAmmunitionPage : public CStartupPage {
    Q_OBJECT

public:
    CWeaponsAmmunitionPage(std::string& text, int product, QWidget* parent = nullptr);
};

class CPowersArmorsPage : public CStartupPage {
    Q_OBJECT

public:
    CPowersArmorsPage(std::string& text, int product, QWidget* parent = nullptr);
};

class CStartupEditorDlg : public CSheetDlg {
    Q_OBJECT

public:
    // product is the "Product" setting (0 the base game, 1 the expansion).
    CStartupEditorDlg(std::string& text, int product, QWidget* parent = nullptr);
};
