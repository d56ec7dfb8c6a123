#pragma once
// Color Map (6141): the level's colour maps ("Color Maps in level": list, Add, Delete, and the
// edit of single palette colours of the colour maps that are the level's own files) or the
// picker of a colour map to add ("Add Color Map to level": the game's colour maps and the
// level's own ".cmp" files). The selected colour map's palette shows as a 16 x 16 grid.
//
// In level mode Delete is offered only for a colour map that no sector uses, and OK writes the
// list into the level with every sector following its colour map by name (engine/
// ColorMapList.h SetColorMapList), as one undoable change. A palette edit goes into the level's
// file at once and marks the document modified; the level's own files are not part of the undo
// history, so Cancel and Undo leave it.

#include "engine/BitmapImage.h"
#include "resources/ui/LevelListDlg.h"

#include <QFrame>

#include <functional>
#include <optional>

class CQzlSections;
struct CGameResources;

// The 16 x 16 grid of a palette: cell (row r, column c) shows entry 16 r + c. Clicks go on to
// the dialog.
class CColorMapGrid : public QFrame {
    Q_OBJECT

public:
    explicit CColorMapGrid(QWidget* parent);
    void SetPalette(const CPalette& palette);
    const std::optional<CPalette>& Palette() const { return m_palette; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::optional<CPalette> m_palette;
};

class CColorMapDlg : public CLevelListDlg {
    Q_OBJECT

public:
    // colorMap is the name to select; mode kPickInLevel or kPickToAdd. change runs the OK's
    // level change as one undo step, paletteEdited is called with the colour map's name after a
    // palette edit (the document is marked modified and the textures decoded through it anew).
    CColorMapDlg(CQzlSections& level, const CGameResources& game, std::string_view colorMap,
                 int mode, CLevelChangeRunner change,
                 std::function<void(const std::string&)> paletteEdited, QWidget* parent = nullptr);

    // The name chosen (valid after OK): the entry selected, or the name given when none was.
    const std::string& ColorMap() const { return m_chosen; }
    CColorMapGrid& Grid() const { return *m_grid; }

    // Shows the palette of the selected colour map and sets Delete.
    void LoadPalette();
    // A click at point (dialog coordinates): in level mode, on a cell of a level colour map's
    // grid, the colour dialog edits that palette entry.
    void OnLButtonDown(const QPoint& point);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void OnSelectionChanged() override;
    std::optional<std::string> RunAddDialog() override;
    void WriteLevel() override;

private:
    CQzlSections& m_level;
    const CGameResources& m_game;
    CLevelChangeRunner m_change;
    std::function<void(const std::string&)> m_paletteEdited;
    CColorMapGrid* m_grid = nullptr;
};
