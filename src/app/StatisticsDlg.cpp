#include "app/StatisticsDlg.h"

#include "app/QzEditDoc.h"
#include "level/QzlSections.h"
#include "ui/DialogIds.h"
#include "ui/UiServices.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

namespace {

template <class List>
int Count(const List& list)
{
    return static_cast<int>(list.size());
}

}  // namespace

CStatisticsDlg::CStatisticsDlg(CQzEditDoc& doc, QWidget* parent) : QDialog(parent)
{
    setObjectName(QString::number(Dlg::kStatistics));
    setWindowTitle(QStringLiteral("Statistics"));

    const CQzlSections& level = *doc.m_level;
    m_sectors = Count(level.m_sectors);
    m_surfaces = Count(level.m_surfaces);
    m_vertices = Count(level.m_worldVertices);
    m_materials = Count(level.m_materials);
    m_objects = Count(level.m_things);
    m_cogs = Count(level.m_cogs);
    m_templates = Count(level.m_templates);

    const std::pair<const char*, std::pair<int, int>> rows[] = {
        {"Number of sectors:", {Ctl::kStatSectors, m_sectors}},
        {"Number of surfaces:", {Ctl::kStatSurfaces, m_surfaces}},
        {"Number of vertices:", {Ctl::kStatVertices, m_vertices}},
        {"Number of materials:", {Ctl::kStatMaterials, m_materials}},
        {"Number of objects:", {Ctl::kStatObjects, m_objects}},
        {"Number of cogs:", {Ctl::kStatCogs, m_cogs}},
        {"Number of templates:", {Ctl::kStatTemplates, m_templates}},
    };
    auto* grid = new QGridLayout;
    int row = 0;
    for (const auto& [caption, field] : rows) {
        auto* label = new QLabel(QString::fromLatin1(caption), this);
        auto* edit = new QLineEdit(QString::number(field.second), this);
        edit->setObjectName(QString::number(field.first));
        edit->setReadOnly(true);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        ++row;
    }

    auto* buttons = new QDialogButtonBox(Qt::Horizontal, this);
    QPushButton* ok = buttons->addButton(QStringLiteral("&Ok"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QString::number(Ctl::kOk));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole)
        ->setObjectName(QString::number(Ctl::kHelp));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [] { QzHelp(0x20000U + Dlg::kStatistics); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    FitDialog(*this, DialogUnits(*this, 160, 120));
}

CStatisticsDlg::~CStatisticsDlg() = default;
