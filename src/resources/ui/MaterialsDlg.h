#pragma once
// The "Materials" dialog (6140), the material picker of the editor, in two modes:
//
// - level mode (kPickInLevel, "Materials in level"): the level's materials, sorted, each with its
//   index in the level; "X Tile:" and "Y Tile:" of the selected one (1 to 100, written on OK);
//   "&Add" opens the dialog in add mode and lists what it added; "&Delete" removes the selected
//   material from the level (not "dflt.mat"; asking first while "Warning" is on when surfaces use
//   it), its surfaces taking "dflt.mat"; "&Save" writes the selected material as an 8-bit BMP.
// - add mode (kPickToAdd, "Add Material to level"): the materials of the game and of the level's
//   own files, filtered by the groups of "materials.dat" ("Selection:"); OK adds the chosen one
//   to the level, or takes the level's record of that name when it has one.
//
// Both show the selected material through the colour map of "Palette:" in the preview, with the
// texture's size ("X:", "Y:"). OK needs a selected material (it is disabled while there is none).
// Every change to the level is one undo step on the engine and marks the document modified.
//
// Every control's object name is its id (ui/DialogIds.h).

#include "engine/EngineHost.h"
#include "framework/DataFolders.h"
#include "level/MaterialList.h"
#include "resources/Tree.h"

#include <QDialog>

#include <string>
#include <vector>

class C3dView;
class CPreviewWidget;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

class CMaterialsDlg : public QDialog {
    Q_OBJECT

public:
    // engine is the document's engine (its level, game, settings and host); it must outlive the
    // dialog. folders hold "materials.dat". material is the name to select at the start (level
    // mode), mode kPickInLevel or kPickToAdd.
    CMaterialsDlg(C3dView& engine, CDataFolders folders, std::string material, int mode,
                  QWidget* parent = nullptr);
    ~CMaterialsDlg() override;

    // OK: level mode reads the tiles (the range message, and the dialog stays open) and writes
    // them into the material; add mode adds the material to the level.
    void accept() override;

    // The chosen material after OK: index in the level, name (lower case), texture size, tiles.
    [[nodiscard]] CMaterialChoice Choice() const;
    // The sectors whose surfaces used a material that Delete looked at, each once, in order.
    [[nodiscard]] const std::vector<int>& SectorsToRebuild() const { return m_sectorsToRebuild; }
    [[nodiscard]] CPreviewWidget& Preview() { return *m_pPreview; }

private:
    void ReadGroups();
    void OnSelchangeSelection();
    void OnSelchangeMaterialList();
    void OnSelchangePalette();
    void OnAdd();
    void OnDelete();
    void OnSave();
    // Fills the list from m_items and selects row (none for -1).
    void FillList(int row);
    // The selected row, -1 for none.
    [[nodiscard]] int SelectedRow() const;
    [[nodiscard]] std::string SelectedPalette() const;
    void ExchangeSizes();

    C3dView& m_engine;
    CDataFolders m_folders;
    QComboBox* m_comboSelection = nullptr;
    QComboBox* m_comboPalette = nullptr;
    QListWidget* m_listMaterials = nullptr;
    QLineEdit* m_tileX = nullptr;
    QLineEdit* m_tileY = nullptr;
    QLineEdit* m_width = nullptr;
    QLineEdit* m_height = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_delete = nullptr;
    CPreviewWidget* m_pPreview = nullptr;

    float m_fTileX = 1.0f;
    float m_fTileY = 1.0f;
    int m_nWidth = 0;
    int m_nHeight = 0;
    std::string m_strMaterial;
    int m_nMode = kPickInLevel;
    int m_nMaterial = -1;
    CTree m_groups;
    std::vector<int> m_sectorsToRebuild;
    std::vector<CMaterialListItem> m_items;  // the list's rows, in the order shown
    bool m_filling = false;
};
