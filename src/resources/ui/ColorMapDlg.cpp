#include "resources/ui/ColorMapDlg.h"

#include "engine/AssetSources.h"
#include "engine/ColorMapList.h"
#include "engine/EngineHost.h"
#include "engine/Questions.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"
#include "ui/ColorDialog.h"
#include "ui/DialogIds.h"

#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

namespace {

constexpr unsigned int kHelpContext = 0x20000U + static_cast<unsigned int>(Dlg::kColorMap);

QColor EntryColor(const CPalette& palette, int index)
{
    const auto at = static_cast<std::size_t>(index) * 3;
    return QColor(palette[at], palette[at + 1], palette[at + 2]);
}

}  // namespace

CColorMapGrid::CColorMapGrid(QWidget* parent) : QFrame(parent)
{
    setObjectName(QString::number(Ctl::kColorMapGrid));
    setFrameShape(QFrame::Box);
    setMinimumSize(16 * 12, 16 * 12);
}

void CColorMapGrid::SetPalette(const CPalette& palette)
{
    m_palette = palette;
    update();
}

void CColorMapGrid::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (!m_palette)
        return;
    QPainter painter(this);
    const int width = this->width();
    const int height = this->height();
    // Neighbouring cells share their border line: each cell starts one pixel before its place.
    for (int r = 0; r < 16; ++r) {
        const int top = r == 0 ? 0 : r * height / 16 - 1;
        const int bottom = (r + 1) * height / 16;
        for (int c = 0; c < 16; ++c) {
            const int left = c == 0 ? 0 : c * width / 16 - 1;
            const int right = (c + 1) * width / 16;
            painter.setPen(Qt::black);
            painter.setBrush(EntryColor(*m_palette, 16 * r + c));
            painter.drawRect(left, top, right - left - 1, bottom - top - 1);
        }
    }
}

void CColorMapGrid::mousePressEvent(QMouseEvent* event)
{
    event->ignore();  // the dialog takes the click
}

CColorMapDlg::CColorMapDlg(CQzlSections& level, const CGameResources& game,
                           std::string_view colorMap, int mode, CLevelChangeRunner change,
                           std::function<void(const std::string&)> paletteEdited, QWidget* parent)
    : CLevelListDlg({Dlg::kColorMap, Ctl::kColorMapList, Ctl::kColorMapAdd, Ctl::kColorMapDelete},
                    mode, "&OK", kHelpContext, parent),
      m_level(level), m_game(game), m_change(std::move(change)),
      m_paletteEdited(std::move(paletteEdited))
{
    m_chosen = std::string(colorMap);
    m_grid = new CColorMapGrid(this);
    ButtonColumn()->addStretch(1);
    if (auto* row = qobject_cast<QHBoxLayout*>(layout()))
        row->insertWidget(1, m_grid);

    setWindowTitle(QString::fromLatin1(PickerCaption(EPicker::ColorMap, mode)));
    SetNames(PickerNames(m_level, m_game, EPicker::ColorMap, mode));
    if (IsLevelMode())
        SelectByPrefix(m_chosen);
    else
        SelectRow(0);
    LoadPalette();
}

void CColorMapDlg::OnSelectionChanged()
{
    LoadPalette();
}

void CColorMapDlg::LoadPalette()
{
    const std::string name = SelectedName();
    if (SelectedRow() >= 0)
        m_chosen = name;
    const CAssetSources sources{&m_game, &m_level.m_levelFiles};
    if (SelectedRow() >= 0)
        if (const auto bytes = ColorMapBytes(sources, name))
            if (const auto palette = PaletteFromColorMapBytes(*bytes))
                m_grid->SetPalette(*palette);
    // A colour map that a sector uses stays: Delete would take it from under the sector.
    DeleteButton()->setEnabled(IsLevelMode() && SelectedRow() >= 0 &&
                               !IsColorMapUsed(m_level, name));
}

void CColorMapDlg::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        OnLButtonDown(event->position().toPoint());
    QDialog::mousePressEvent(event);
}

void CColorMapDlg::OnLButtonDown(const QPoint& point)
{
    const std::string name = SelectedName();
    if (!IsLevelMode() || SelectedRow() < 0 || IsGameColorMap(&m_game, name))
        return;
    const QPoint local = m_grid->mapFrom(this, point);
    const int index = PaletteCellAt(local.x(), local.y(), m_grid->width(), m_grid->height());
    if (index < 0)
        return;
    const auto bytes = CAssetSources{&m_game, &m_level.m_levelFiles}.ReadFromLevel(name);
    const std::optional<CPalette> palette = bytes ? PaletteFromColorMapBytes(*bytes) : std::nullopt;
    if (!palette)
        return;  // no file of the level, or one too short to hold a palette
    const std::optional<QColor> chosen = QzGetColor(EntryColor(*palette, index), this);
    if (!chosen)
        return;
    if (EditColorMapPalette(&m_game, m_level, name, index, static_cast<std::uint8_t>(chosen->red()),
                            static_cast<std::uint8_t>(chosen->green()),
                            static_cast<std::uint8_t>(chosen->blue())) &&
        m_paletteEdited)
        m_paletteEdited(name);
    LoadPalette();
}

std::optional<std::string> CColorMapDlg::RunAddDialog()
{
    CColorMapDlg add(m_level, m_game, "", kPickToAdd, m_change, m_paletteEdited, this);
    if (add.exec() != QDialog::Accepted)
        return std::nullopt;
    return add.ColorMap();
}

void CColorMapDlg::WriteLevel()
{
    const std::vector<std::string> names = Names();
    m_change([&] { return SetColorMapList(m_level, names); });
}
