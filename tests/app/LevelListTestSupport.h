#pragma once
// Support of the tests of the level list dialogs (Color Map, Sounds): the stored level part that
// undo gives back, the rows of a list and their selection by text, a button's state, and the
// answer to the next such dialog of a mode.

#include "AppTestSupport.h"

#include "level/QzlSections.h"
#include "level/QzlSector.h"
#include "level/UndoSnapshot.h"
#include "resources/ui/LevelListDlg.h"
#include "support/FixtureLevels.h"
#include "support/UndoCheck.h"

#include <QListWidget>
#include <QPushButton>

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

// Three boxes side by side whose sectors give the indexes of indexes (three of them) in member
// (m_colormap, m_sound).
inline CQzlSections MakeThreeBoxes(std::int32_t CQzlSector::*member, const int (&indexes)[3])
{
    CQzlSections level = MakeEmptyLevel();
    for (int s = 0; s < 3; ++s)
        AddBoxSector(level, {2.0f * static_cast<float>(s), 0, 0},
                     {2.0f * static_cast<float>(s) + 1, 1, 1});
    FinishFixture(level);
    for (std::size_t s = 0; s < 3; ++s)
        (*level.m_sectors[s]).*member = indexes[s];
    return level;
}

// The index each sector gives in member (m_colormap, m_sound), in sector order.
inline std::vector<int> SectorIndexes(const CQzlSections& level, std::int32_t CQzlSector::*member)
{
    std::vector<int> indexes;
    for (const auto& sector : level.m_sectors)
        indexes.push_back((*sector).*member);
    return indexes;
}

inline QStringList ListRows(QWidget& dialog, int listId)
{
    QStringList rows;
    if (auto* list = Control<QListWidget>(dialog, listId))
        for (int row = 0; row < list->count(); ++row)
            rows << list->item(row)->text();
    return rows;
}

// Selects the row of text in the list of listId as a click does; false when it is not listed.
inline bool SelectInList(QWidget& dialog, int listId, const QString& text)
{
    auto* list = Control<QListWidget>(dialog, listId);
    const QList<QListWidgetItem*> found =
        list != nullptr ? list->findItems(text, Qt::MatchExactly) : QList<QListWidgetItem*>();
    if (found.isEmpty())
        return false;
    list->setCurrentItem(found.front());
    return true;
}

inline bool ButtonEnabled(QWidget& dialog, int id)
{
    auto* button = Control<QPushButton>(dialog, id);
    return button != nullptr && button->isEnabled();
}

// Runs act on the next dialog of type T in level mode (levelMode) or add mode that comes up
// modally; act closes it.
template <typename T>
void OnListDialog(QObject* owner, bool levelMode, std::function<void(T&)> act)
{
    OnModalWidget(owner, [levelMode, act = std::move(act)](QWidget* widget) {
        auto* dialog = qobject_cast<T*>(widget);
        if (dialog == nullptr || dialog->IsLevelMode() != levelMode)
            return false;
        act(*dialog);
        return true;
    });
}
