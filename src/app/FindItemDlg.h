#pragma once
// The "Find Item" dialog (215): three always-open lists of the level's sector, surface and thing
// numbers ("Sector Number", "Surface Number", "Object Number"), each under an edit line; typing a
// number in an edit line selects it in its list. Selecting in one list clears the other two. The
// dialog opens with the engine's current thing selected, else its current surface, else its
// current sector. After OK, Chosen says what to find (the first list with a selection, in the
// order sector, surface, object); the command then runs FindItem (engine/FindItem.h).
//
// Every list and its edit line carry the list's id as their object name (ui/DialogIds.h).

#include "engine/FindItem.h"

#include <QDialog>

#include <array>
#include <utility>

class CQzEditDoc;
class QLineEdit;
class QListWidget;

class CFindItemDlg : public QDialog {
    Q_OBJECT

public:
    CFindItemDlg(CQzEditDoc& doc, QWidget* parent = nullptr);
    ~CFindItemDlg() override;

    // The kind and number chosen: the first list with a selection; None when none has one.
    [[nodiscard]] std::pair<EFindItem, int> Chosen() const;

private:
    struct CList {
        QLineEdit* edit = nullptr;
        QListWidget* list = nullptr;
    };
    void OnSelectionChange(std::size_t which);
    void OnEditChange(std::size_t which);

    std::array<CList, 3> m_lists;
    bool m_filling = false;
};
