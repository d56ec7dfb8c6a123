#pragma once
// Controls that the resource dialogs fill alike: a list of names in columns, and the drop-down
// of the level's colour maps.

struct CQzlSections;
class QComboBox;
class QListWidget;

// Unsorted, in columns of 150 pixels that fill the box top to bottom, then left to right; room
// for two columns of twelve rows at least.
void SetColumnList(QListWidget& list);

// The level's colour maps, lower-cased, in level order; the current sector's is chosen
// (SectorColorMapOrFirst).
void FillColorMapCombo(QComboBox& combo, const CQzlSections& level, int sector);
