#include "app/HeaderDlg.h"

#include "app/QzEditDoc.h"
#include "engine/Undo.h"
#include "framework/FieldText.h"
#include "level/QzlHeader.h"
#include "ui/DialogButtons.h"
#include "ui/DialogIds.h"
#include "ui/FormFields.h"
#include "ui/UiServices.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <cstddef>
#include <initializer_list>

namespace {

// The control of each value, in the order of HeaderValues.
constexpr int kFieldIds[CHeaderDlg::kFieldCount] = {
    Ctl::kHeaderGravity,
    Ctl::kHeaderCeilingSkyZ,
    Ctl::kHeaderHorizonDistance,
    Ctl::kHeaderHorizonPixelsPerRev,
    Ctl::kHeaderHorizonSkyOffsetX,
    Ctl::kHeaderHorizonSkyOffsetY,
    Ctl::kHeaderCeilingSkyOffsetX,
    Ctl::kHeaderCeilingSkyOffsetY,
    Ctl::kHeaderMipmapDistance1,
    Ctl::kHeaderMipmapDistance1 + 1,
    Ctl::kHeaderMipmapDistance1 + 2,
    Ctl::kHeaderMipmapDistance1 + 3,
    Ctl::kHeaderLodDistance1,
    Ctl::kHeaderLodDistance1 + 1,
    Ctl::kHeaderLodDistance1 + 2,
    Ctl::kHeaderLodDistance1 + 3,
    Ctl::kHeaderPerspectiveDistance,
    Ctl::kHeaderGouraudDistance,
};

// The rows of the dialog: a caption and the fields beside it, as positions in kFieldIds.
struct CHeaderRow {
    const char* caption;
    std::initializer_list<int> fields;
};

// What a number shows as and reads back as (six significant digits).
float Shown(float value)
{
    double read = 0.0;
    ReadFloatField(FloatFieldText(value), read);
    return static_cast<float>(read);
}

}  // namespace

std::array<float*, CHeaderDlg::kFieldCount> HeaderValues(CQzlHeader& header)
{
    return {
        &header.m_worldGravity,        &header.m_ceilingSkyZ,         &header.m_horizonDistance,
        &header.m_horizonPixelsPerRev, &header.m_horizonSkyOffset[0], &header.m_horizonSkyOffset[1],
        &header.m_ceilingSkyOffset[0], &header.m_ceilingSkyOffset[1], &header.m_mipmapDistances[0],
        &header.m_mipmapDistances[1],  &header.m_mipmapDistances[2],  &header.m_mipmapDistances[3],
        &header.m_lodDistances[0],     &header.m_lodDistances[1],     &header.m_lodDistances[2],
        &header.m_lodDistances[3],     &header.m_perspectiveDistance, &header.m_gouraudDistance};
}

CHeaderDlg::CHeaderDlg(CQzEditDoc& doc, QWidget* parent) : QDialog(parent), m_doc(doc)
{
    setObjectName(QString::number(Dlg::kHeader));
    setWindowTitle(QStringLiteral("Header"));

    static const CHeaderRow kRows[] = {
        {"World Gravity:", {0}},
        {"Ceiling Sky Z:", {1}},
        {"Horizon Distance:", {2}},
        {"Horizon Pixels/Rev:", {3}},
        {"Horizon Sky Offset:", {4, 5}},
        {"Ceiling Sky Offset:", {6, 7}},
        {"MipMap Distances:", {8, 9, 10, 11}},
        {"LOD Distances:", {12, 13, 14, 15}},
        {"Perspective distance:", {16}},
        {"Gouraud distance:", {17}},
    };
    auto* grid = new QGridLayout;
    int row = 0;
    for (const CHeaderRow& entry : kRows) {
        auto* label = new QLabel(QString::fromLatin1(entry.caption), this);
        grid->addWidget(label, row, 0);
        int column = 1;
        for (const int field : entry.fields) {
            auto* edit = new QLineEdit(this);
            edit->setObjectName(QString::number(kFieldIds[field]));
            if (column == 1)
                label->setBuddy(edit);
            grid->addWidget(edit, row, column++);
        }
        ++row;
    }
    QDialogButtonBox* buttons =
        MakeDialogButtons(*this, Qt::Horizontal, QStringLiteral("&OK"), QStringLiteral("&Cancel"),
                          0x20000U + Dlg::kHeader);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    const std::array<float*, kFieldCount> header = HeaderValues(m_doc.m_level->m_header);
    for (std::size_t i = 0; i < header.size(); ++i)
        m_values[i] = *header[i];
    CFieldExchange exchange(*this, CFieldExchange::EDirection::ToControls);
    for (std::size_t i = 0; i < m_values.size(); ++i)
        exchange.Float(kFieldIds[i], m_values[i]);
    FitDialog(*this, DialogUnits(*this, 260, 170));
}

CHeaderDlg::~CHeaderDlg() = default;

void CHeaderDlg::accept()
{
    std::array<float, kFieldCount> values = m_values;
    CFieldExchange exchange(*this, CFieldExchange::EDirection::FromControls);
    for (std::size_t i = 0; i < values.size() && exchange.Ok(); ++i) {
        exchange.Float(kFieldIds[i], values[i]);
        // A field left as it was shown keeps the exact value the header holds.
        if (exchange.Ok() && values[i] == Shown(m_values[i]))
            values[i] = m_values[i];
        if (kFieldIds[i] == Ctl::kHeaderHorizonDistance)
            exchange.FloatRange(kFieldIds[i], values[i], kLowestHorizonDistance,
                                kHighestHorizonDistance);
    }
    if (!exchange.Ok()) {
        if (auto* edit = findChild<QLineEdit*>(QString::number(exchange.FailedControl()))) {
            edit->setFocus();
            edit->selectAll();
        }
        return;
    }
    m_values = values;
    if (m_doc.m_pEngine != nullptr)
        SaveUndoState(*m_doc.m_pEngine);
    const std::array<float*, kFieldCount> header = HeaderValues(m_doc.m_level->m_header);
    for (std::size_t i = 0; i < header.size(); ++i)
        *header[i] = m_values[i];
    m_doc.SetModifiedFlag(true);
    QDialog::accept();
}
