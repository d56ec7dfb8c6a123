#include "app/VertexView.h"

#include "app/QzEditApp.h"
#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "engine/C3dView.h"
#include "engine/RenderData.h"
#include "engine/Undo.h"
#include "framework/FieldText.h"
#include "framework/Indices.h"
#include "level/QzlSector.h"
#include "level/QzlSurface.h"
#include "level/QzlVertex.h"
#include "level/WorldVertex.h"
#include "ui/DialogButtons.h"
#include "ui/FormControls.h"
#include "ui/FormFields.h"
#include "ui/ScrollingForm.h"

#include <QGridLayout>
#include <QLineEdit>

#include <algorithm>
#include <vector>

namespace {

// What a field of the form is and what leaving it applies.
enum class EApply {
    Move,
    Texture,
    Light,
};

struct CVertexField {
    const char* caption;
    int edit;
    int spin;
    EApply apply;
    // A spin arrow's delta of 1 lowers the field by this much.
    float step;
};

constexpr CVertexField kFields[] = {
    {"Vertex X:", Ctl::kVertexX, Ctl::kVertexXSpin, EApply::Move, 0.01f},
    {"Vertex Y:", Ctl::kVertexY, Ctl::kVertexYSpin, EApply::Move, 0.01f},
    {"Vertex Z:", Ctl::kVertexZ, Ctl::kVertexZSpin, EApply::Move, 0.01f},
    {"Texture U:", Ctl::kVertexU, Ctl::kVertexUSpin, EApply::Texture, 1.0f},
    {"Texture V:", Ctl::kVertexV, Ctl::kVertexVSpin, EApply::Texture, 1.0f},
    {"Intensity, Mono:", Ctl::kIntensityMono, Ctl::kIntensityMonoSpin, EApply::Light, 0.01f},
    {"Intensity, Red:", Ctl::kIntensityRed, Ctl::kIntensityRedSpin, EApply::Light, 0.01f},
    {"Intensity, Green:", Ctl::kIntensityGreen, Ctl::kIntensityGreenSpin, EApply::Light, 0.01f},
    {"Intensity, Blue:", Ctl::kIntensityBlue, Ctl::kIntensityBlueSpin, EApply::Light, 0.01f},
};

const CVertexField* FindField(int edit)
{
    const auto found = std::ranges::find(kFields, edit, &CVertexField::edit);
    return found == std::end(kFields) ? nullptr : found;
}

// Enabled while a corner is shown, with their spins.
constexpr int kCornerControls[] = {
    Ctl::kVertexX,     Ctl::kVertexXSpin, Ctl::kVertexY,     Ctl::kVertexYSpin, Ctl::kVertexZ,
    Ctl::kVertexZSpin, Ctl::kVertexU,     Ctl::kVertexUSpin, Ctl::kVertexV,     Ctl::kVertexVSpin,
};
// The intensity the base game lights with, and those of the expansion.
constexpr int kMonoControls[] = {Ctl::kIntensityMono, Ctl::kIntensityMonoSpin};
constexpr int kColorControls[] = {
    Ctl::kIntensityRed,       Ctl::kIntensityRedSpin, Ctl::kIntensityGreen,
    Ctl::kIntensityGreenSpin, Ctl::kIntensityBlue,    Ctl::kIntensityBlueSpin,
};

float& Coordinate(CWorldVertex& vertex, EAxis axis)
{
    switch (axis) {
    case EAxis::X:
        return vertex.x;
    case EAxis::Y:
        return vertex.y;
    case EAxis::Z:
        break;
    }
    return vertex.z;
}

}  // namespace

CVertexView::CVertexView(CQzEditDoc& doc, QWidget* parent) : CFormView(doc, kId, parent)
{
    QWidget& form = AddScrollingForm(*this);
    CFormLayout layout(form);
    layout.Edit(QStringLiteral("Surface Number:"), Ctl::kVertexSurfaceNumber, true);
    layout.Edit(QStringLiteral("Vertex Number:"), Ctl::kVertexNumber, true);
    QGridLayout& grid = layout.Grid();
    for (const CVertexField& field : kFields) {
        QLineEdit* edit = layout.Edit(QString::fromLatin1(field.caption), field.edit);
        const int id = field.edit;
        QWidget* spin =
            MakeSpinArrows(&form, field.spin, [this, id](int delta) { OnSpin(id, delta); });
        FitSpinArrows(*spin, *edit);
        grid.addWidget(spin, grid.rowCount() - 1, 2);
        switch (field.apply) {
        case EApply::Move: {
            const EAxis axis = id == Ctl::kVertexX   ? EAxis::X
                               : id == Ctl::kVertexY ? EAxis::Y
                                                     : EAxis::Z;
            OnFocusLeave(*edit, [this, axis] { Move(axis); });
            break;
        }
        case EApply::Texture:
            OnFocusLeave(*edit, [this] { UpdateTexture(); });
            break;
        case EApply::Light:
            OnFocusLeave(*edit, [this] { UpdateLight(); });
            break;
        }
    }
    layout.Finish();

    OnUpdate(nullptr, 0);
}

float& CVertexView::Member(int id)
{
    switch (id) {
    case Ctl::kVertexX:
        return m_x;
    case Ctl::kVertexY:
        return m_y;
    case Ctl::kVertexZ:
        return m_z;
    case Ctl::kVertexU:
        return m_u;
    case Ctl::kVertexV:
        return m_v;
    case Ctl::kIntensityMono:
        return m_intensity[0];
    case Ctl::kIntensityRed:
        return m_intensity[1];
    case Ctl::kIntensityGreen:
        return m_intensity[2];
    default:
        break;
    }
    return m_intensity[3];
}

void CVertexView::DoDataExchange(CFieldExchange& exchange)
{
    exchange.Int(Ctl::kVertexSurfaceNumber, m_surfaceIndex);
    exchange.Int(Ctl::kVertexNumber, m_cornerIndex);
    for (const CVertexField& field : kFields)
        exchange.Float(field.edit, Member(field.edit));
}

void CVertexView::PushToControls()
{
    CFieldExchange exchange(*this, CFieldExchange::EDirection::ToControls);
    DoDataExchange(exchange);
}

CVertexView::CCorner CVertexView::CurrentCorner() const
{
    const C3dView* engine = Document().m_pEngine;
    if (engine == nullptr)
        return {};
    CQzlSections& level = *Document().m_level;
    const int surfaceIndex = engine->m_selection.m_vertexSurface;
    if (!InRange(level.m_surfaces, surfaceIndex) || At(level.m_surfaces, surfaceIndex) == nullptr)
        return {};
    CQzlSurface& surface = *At(level.m_surfaces, surfaceIndex);
    if (!InRange(surface.m_vertices, engine->m_selection.m_vertex))
        return {};
    CQzlVertex& corner = At(surface.m_vertices, engine->m_selection.m_vertex);
    if (!InRange(level.m_worldVertices, corner.m_worldVertex))
        return {};
    return {&surface, &corner, &At(level.m_worldVertices, corner.m_worldVertex)};
}

void CVertexView::OnUpdate(CDocView*, long)
{
    const C3dView* engine = Document().m_pEngine;
    const CCorner current = CurrentCorner();
    if (current.corner != nullptr) {
        m_surfaceIndex = engine->m_selection.m_vertexSurface;
        m_cornerIndex = engine->m_selection.m_vertex;
        m_x = current.vertex->x;
        m_y = current.vertex->y;
        m_z = current.vertex->z;
        m_u = current.corner->m_u;
        m_v = current.corner->m_v;
        std::copy(std::begin(current.corner->m_intensity), std::end(current.corner->m_intensity),
                  m_intensity.begin());
    } else {
        m_surfaceIndex = engine != nullptr ? engine->m_selection.m_surface : -1;
        m_cornerIndex = -1;
        // The grid node picked last shows in the disabled position fields.
        if (engine != nullptr && Document().m_state.m_gridOn != 0 &&
            !engine->m_selection.m_pickedNodes.empty()) {
            const CVector3& node = engine->m_selection.m_pickedNodes.back();
            m_x = node.x;
            m_y = node.y;
            m_z = node.z;
        }
    }

    const bool shown = m_cornerIndex >= 0;
    const int product = Document().m_app.m_settings.m_product;
    EnableControls(*this, kCornerControls, shown);
    EnableControls(*this, kMonoControls, shown && product == 0);
    EnableControls(*this, kColorControls, shown && product == 1);
    PushToControls();
}

CVertexView::CCorner CVertexView::ReadForm()
{
    const bool read =
        ReadFields(*this, m_applying, [this](CFieldExchange& fields) { DoDataExchange(fields); });
    const C3dView* engine = Document().m_pEngine;
    const CCorner current = CurrentCorner();
    if (!read || current.corner == nullptr ||
        m_surfaceIndex != engine->m_selection.m_vertexSurface ||
        m_cornerIndex != engine->m_selection.m_vertex)
        return {};

    // The forms show six significant digits: a field left as it was shown keeps the exact value.
    const auto keep = [this](int id, float record) {
        const QLineEdit* edit = findChild<QLineEdit*>(QString::number(id));
        if (edit != nullptr && edit->text().toStdString() == FloatFieldText(record))
            Member(id) = record;
    };
    keep(Ctl::kVertexX, current.vertex->x);
    keep(Ctl::kVertexY, current.vertex->y);
    keep(Ctl::kVertexZ, current.vertex->z);
    keep(Ctl::kVertexU, current.corner->m_u);
    keep(Ctl::kVertexV, current.corner->m_v);
    keep(Ctl::kIntensityMono, current.corner->m_intensity[0]);
    keep(Ctl::kIntensityRed, current.corner->m_intensity[1]);
    keep(Ctl::kIntensityGreen, current.corner->m_intensity[2]);
    keep(Ctl::kIntensityBlue, current.corner->m_intensity[3]);
    return current;
}

float CVertexView::FormCoordinate(EAxis axis) const
{
    return axis == EAxis::X ? m_x : axis == EAxis::Y ? m_y : m_z;
}

bool CVertexView::MoveAlong(EAxis axis)
{
    const CCorner current = CurrentCorner();
    if (current.corner == nullptr)
        return false;
    const float delta = FormCoordinate(axis) - Coordinate(*current.vertex, axis);
    if (delta == 0.0f)
        return false;
    // The current vertex moves with the corners marked beside it (a pick marks it; make sure).
    current.corner->m_marked = 1;
    C3dView& engine = *Document().m_pEngine;
    const CQzEditView::CDeviceScope scope(Document().View3d());
    return RunUndoable(engine, [&] { return MoveVertices(engine, axis, delta); });
}

void CVertexView::ShowPosition()
{
    const CCorner current = CurrentCorner();
    if (current.corner == nullptr)
        return;
    m_x = current.vertex->x;
    m_y = current.vertex->y;
    m_z = current.vertex->z;
    CFieldExchange exchange(*this, CFieldExchange::EDirection::ToControls);
    for (const int id : {Ctl::kVertexX, Ctl::kVertexY, Ctl::kVertexZ})
        exchange.Float(id, Member(id));
}

bool CVertexView::Move(EAxis axis)
{
    if (ReadForm().corner == nullptr)
        return false;
    const bool moved = MoveAlong(axis);
    ShowPosition();
    Document().UpdateAllViews(this);
    return moved;
}

bool CVertexView::MoveX()
{
    return Move(EAxis::X);
}

bool CVertexView::MoveY()
{
    return Move(EAxis::Y);
}

bool CVertexView::MoveZ()
{
    return Move(EAxis::Z);
}

bool CVertexView::UpdateTexture()
{
    const CCorner shown = ReadForm();
    if (shown.corner == nullptr)
        return false;
    // A position typed but not yet applied moves the vertex first, with the checks of a move,
    // rather than being written over the world vertex unchecked. The axes are those typed: a
    // move in a surface's plane may change another coordinate.
    std::vector<EAxis> typed;
    for (const EAxis axis : {EAxis::X, EAxis::Y, EAxis::Z})
        if (FormCoordinate(axis) != Coordinate(*shown.vertex, axis))
            typed.push_back(axis);
    for (const EAxis axis : typed)
        MoveAlong(axis);
    if (!typed.empty())
        ShowPosition();
    const CCorner current = CurrentCorner();
    if (current.corner == nullptr)
        return false;
    current.corner->m_u = m_u;
    current.corner->m_v = m_v;
    C3dView& engine = *Document().m_pEngine;
    {
        const CQzEditView::CDeviceScope scope(Document().View3d());
        RebuildSector(engine, engine.m_selection.m_sector);
    }
    Document().SetModifiedFlag(true);
    Document().UpdateAllViews(this);
    return true;
}

bool CVertexView::UpdateLight()
{
    const CCorner current = ReadForm();
    if (current.corner == nullptr)
        return false;
    C3dView& engine = *Document().m_pEngine;
    CQzlSections& level = *Document().m_level;
    std::ranges::copy(m_intensity, current.corner->m_intensity);

    std::vector<int> sectors;
    if (InRange(level.m_sectors, engine.m_selection.m_sector))
        sectors.push_back(engine.m_selection.m_sector);
    if (Document().m_app.m_settings.m_copyLight != 0) {
        const std::int32_t shared = current.corner->m_worldVertex;
        for (std::size_t s = 0; s < level.m_sectors.size(); ++s) {
            for (const std::int32_t surfaceIndex : level.m_sectors[s]->m_surfaces) {
                if (!InRange(level.m_surfaces, surfaceIndex))
                    continue;
                for (CQzlVertex& corner : At(level.m_surfaces, surfaceIndex)->m_vertices) {
                    if (corner.m_worldVertex != shared)
                        continue;
                    std::ranges::copy(m_intensity, corner.m_intensity);
                    if (std::ranges::find(sectors, static_cast<int>(s)) == sectors.end())
                        sectors.push_back(static_cast<int>(s));
                }
            }
        }
    }
    {
        const CQzEditView::CDeviceScope scope(Document().View3d());
        for (const int sector : sectors)
            RefreshSector(engine, sector);
    }
    // The intensities are stored in the level.
    Document().SetModifiedFlag(true);
    Document().UpdateAllViews(this);
    return true;
}

void CVertexView::OnSpin(int id, int delta)
{
    const CVertexField* field = FindField(id);
    if (field == nullptr || ReadForm().corner == nullptr)
        return;
    Member(id) -= field->step * static_cast<float>(delta);
    PushToControls();
    switch (field->apply) {
    case EApply::Move:
        Move(id == Ctl::kVertexX ? EAxis::X : id == Ctl::kVertexY ? EAxis::Y : EAxis::Z);
        break;
    case EApply::Texture:
        UpdateTexture();
        break;
    case EApply::Light:
        UpdateLight();
        break;
    }
}
