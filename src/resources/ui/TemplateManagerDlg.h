#pragma once
// Template Manager (Dlg::kTemplateManager): the product's template list in a report list ("#",
// "Name", "Based On", "Parameters"), edited as a working copy: Add derives a new entry from the
// selected one, Edit changes its parameter text, Delete removes an entry no other is based on.
// With a level, two check boxes filter the list (templates the level uses, simple templates
// only). OK hands the working copy to the save function; Cancel discards it.

#include "level/TemplateList.h"

#include <QDialog>

#include <functional>
#include <string>

class CDragListCtrl;
class QCheckBox;
class QPushButton;
struct CSettings;

class CTemplateManagerDlg : public QDialog {
    Q_OBJECT

public:
    // Writes the working list and replaces the product's list; returns the message of a failure
    // (the dialog then stays open with its working list), empty when it was saved.
    using CSaveList = std::function<std::string(const CTemplateEntries& entries)>;

    // product: the list copied at the start; levelTemplates: the open level's templates, null
    // with no document (the check boxes are hidden and every entry is listed).
    CTemplateManagerDlg(const CTemplateEntries& product, const CTemplateEntries* levelTemplates,
                        CSettings& settings, CSaveList save, QWidget* parent = nullptr);

    const CTemplateEntries& WorkingList() const { return m_entries; }
    int SelectedRow() const { return m_selectedRow; }

    void accept() override;

private:
    void FillList();
    void AddListRow(int entry);
    void OnSelection();
    void EnableRowButtons(bool enable);
    void OnFilter();
    void OnAdd();
    void OnEdit();
    void OnDelete();
    void OnSort(int column);
    int SelectedEntry() const;

    const CTemplateEntries* m_levelTemplates;
    CSettings& m_settings;
    CSaveList m_save;
    CTemplateEntries m_entries;

    CDragListCtrl* m_list = nullptr;
    QCheckBox* m_used = nullptr;
    QCheckBox* m_simple = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_delete = nullptr;
    int m_selectedRow = -1;
};
