#include "resources/ui/ResourceListControls.h"

#include "framework/StringUtil.h"
#include "level/QzlSections.h"
#include "level/SectorLists.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QListWidget>

#include <string>

namespace {

constexpr int kColumnWidth = 150;

}  // namespace

void SetColumnList(QListWidget& list)
{
    list.setFlow(QListView::TopToBottom);
    list.setWrapping(true);
    list.setResizeMode(QListView::Adjust);
    const int row = list.fontMetrics().height() + 4;
    list.setGridSize(QSize(kColumnWidth, row));
    list.setMinimumSize(2 * kColumnWidth + 8, 12 * row);
}

void FillColorMapCombo(QComboBox& combo, const CQzlSections& level, int sector)
{
    for (const std::string& name : level.m_colormaps) {
        const std::string lower = ToLowerAscii(name);
        combo.addItem(QString::fromLatin1(lower.data(), static_cast<qsizetype>(lower.size())));
    }
    combo.setCurrentIndex(combo.count() > 0 ? SectorColorMapOrFirst(level, sector) : -1);
}
