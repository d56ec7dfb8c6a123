#include "episode/ui/StartupEditorDlg.h"

#include "ui/DialogIds.h"
#include "ui/DialogText.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace {

using DialogText::Id;

// The rows of a page go into its group boxes in this many columns of box and edit.
constexpr int kColumns = 2;

QString RowLabel(const CInvRow& row, int product)
{
    const int bin = row.Bin(product);
    if (bin == kNoBin)
        return QStringLiteral("(not used)");
    QString label = QStringLiteral("Bin %1").arg(bin);
    if (row.m_hasEdit)
        label += QStringLiteral(" (0-%1)").arg(row.Max(product));
    return label;
}

// A page's group box and the rows from first up to end in it.
struct CGroup {
    const char* caption;
    std::size_t first;
    std::size_t end;
};

}  // namespace

CStartupPage::CStartupPage(int templateId, const QString& caption, std::span<const CInvRow> rows,
                           std::string& text, int product, QWidget* parent)
    : CPropertyPage(templateId, caption, parent), m_rows(rows), m_text(text),
      m_product(product != 0 ? 1 : 0), m_boxes(rows.size(), nullptr), m_edits(rows.size(), nullptr),
      m_values(rows.size(), 0)
{
    const bool weapons = templateId == Dlg::kWeaponsAmmunition;
    const CGroup groups[] = {
        {weapons ? "Weapons" : "Powers", 0, weapons ? 18U : 20U},
        {weapons ? "Ammunition" : "Items", weapons ? 18U : 20U, rows.size()},
    };
    auto* layout = new QVBoxLayout(this);
    for (const CGroup& group : groups) {
        auto* box = new QGroupBox(QString::fromLatin1(group.caption), this);
        auto* grid = new QGridLayout(box);
        for (std::size_t r = group.first; r < group.end; ++r) {
            const int at = static_cast<int>(r - group.first);
            const int gridRow = at / kColumns;
            const int gridColumn = (at % kColumns) * 2;
            auto* check = new QCheckBox(RowLabel(rows[r], m_product), box);
            check->setObjectName(Id(Ctl::kStartupBox + static_cast<int>(r)));
            grid->addWidget(check, gridRow, gridColumn);
            m_boxes[r] = check;
            if (rows[r].m_hasEdit) {
                auto* edit = new QLineEdit(box);
                edit->setObjectName(Id(Ctl::kStartupValue + static_cast<int>(r)));
                edit->setMaximumWidth(60);
                grid->addWidget(edit, gridRow, gridColumn + 1);
                m_edits[r] = edit;
                connect(edit, &QLineEdit::textEdited, this, &CStartupPage::OnControlChanged);
                connect(check, &QCheckBox::clicked, this, [this, r] { OnBoxClicked(r); });
            } else {
                connect(check, &QCheckBox::clicked, this, &CStartupPage::OnControlChanged);
            }
        }
        layout->addWidget(box);
    }
    layout->addStretch(1);
}

void CStartupPage::OnInitDialog()
{
    for (std::size_t r = 0; r < m_rows.size(); ++r) {
        const CInvRow& row = m_rows[r];
        QCheckBox* box = m_boxes[r];
        QLineEdit* edit = m_edits[r];
        if (!Used(r)) {
            box->setEnabled(false);
            box->setChecked(false);
            if (edit != nullptr)
                edit->setEnabled(false);
            m_values[r] = 0;
            continue;
        }
        box->setEnabled(!(row.m_boxLockedInBase && m_product == 0));
        const CInvSetting read = ReadInvSetting(m_text, row.Bin(m_product));
        box->setChecked(read.m_on);
        if (edit != nullptr)
            edit->setEnabled(read.m_on);
        m_values[r] = read.m_value;
    }
    for (std::size_t r = 0; r < m_rows.size(); ++r)
        if (m_edits[r] != nullptr)
            PushInt(*m_edits[r], m_values[r]);
}

bool CStartupPage::PullControls()
{
    for (std::size_t r = 0; r < m_rows.size(); ++r)
        if (Used(r) && m_edits[r] != nullptr &&
            !PullInt(*m_edits[r], m_values[r], 0, m_rows[r].Max(m_product)))
            return false;
    return true;
}

void CStartupPage::OnApply()
{
    for (std::size_t r = 0; r < m_rows.size(); ++r) {
        if (!Used(r))
            continue;
        const CInvRow& row = m_rows[r];
        WriteSetInv(m_text, row.Bin(m_product), m_boxes[r]->isChecked(),
                    row.m_hasEdit ? m_values[r] : 1, row.m_alsoAvailable);
    }
}

void CStartupPage::OnBoxClicked(std::size_t row)
{
    const bool checked = m_boxes[row]->isChecked();
    m_values[row] = InvRowClickValue(m_rows[row], m_product, checked);
    QLineEdit* edit = m_edits[row];
    edit->setEnabled(checked);
    PushInt(*edit, m_values[row]);
    OnControlChanged();
}

CWeaponsAmmunitionPage::CWeaponsAmmunitionPage(std::string& text, int product, QWidget* parent)
    : CStartupPage(Dlg::kWeaponsAmmunition, QStringLiteral("Weapons and Ammunition"),
                   WeaponsAmmunitionRows(), text, product, parent)
{}

CPowersArmorsPage::CPowersArmorsPage(std::string& text, int product, QWidget* parent)
    : CStartupPage(Dlg::kPowersArmors, QStringLiteral("Powers and Armor"), PowersArmorsRows(), text,
                   product, parent)
{}

CStartupEditorDlg::CStartupEditorDlg(std::string& text, int product, QWidget* parent)
    : CSheetDlg(QStringLiteral("Startup Editor"), parent)
{
    AddPage(new CWeaponsAmmunitionPage(text, product));
    AddPage(new CPowersArmorsPage(text, product));
}
