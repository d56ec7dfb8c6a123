#include "engine/FrameRender.h"

#include "engine/MarkerDrawing.h"
#include "engine/StatusBar.h"

#include "engine/3doModel.h"
#include "engine/C3dView.h"
#include "engine/Camera.h"
#include "engine/Clock.h"
#include "engine/Dsound.h"
#include "engine/EngineHost.h"
#include "engine/RayCast.h"
#include "engine/RenderData.h"
#include "engine/RenderDevice.h"
#include "engine/Texture.h"
#include "engine/ViewCulling.h"
#include "engine/WalkMode.h"
#include "framework/DocumentState.h"
#include "framework/Settings.h"
#include "level/QzlSections.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

// The sector's visible flag of the current frame, set by the sector pass and read by the thing
// pass.
constexpr std::size_t kVisibleFlag = 0;

// Distance of the focus point ahead of the camera.
constexpr float kFocusDistance = 0.05f;

// Start of a box grown over points.
constexpr float kFarDistance = 1e11f;

// Smallest depth the sky coordinates divide by.
constexpr float kMinSkyDepth = 1e-4f;

// Surface flags.
constexpr std::uint32_t kSurfaceUsedInCog = 0x2;
constexpr std::uint32_t kSkyWall = 0x200;
constexpr std::uint32_t kSkyCeiling = 0x400;
// Face flag.
constexpr std::uint32_t kFaceTransparent = 0x2;
// Sector flag.
constexpr std::uint32_t kSectorUsedInCog = 0x4;

// Render modes of the document.
constexpr std::int32_t kAllRendered = 0;
constexpr std::int32_t kAllWireframe = 2;
constexpr std::int32_t kSectorRendered = 3;
constexpr std::int32_t kSectorWireframe = 4;

CVector3 Cross(const CVector3& a, const CVector3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

bool InSortedList(const std::vector<std::int32_t>& list, std::int32_t value)
{
    int position = 0;
    return FindSectorId(list, value, position);
}

TextureId SurfaceTexture(const CQzlSurface& surface)
{
    return surface.m_texture != nullptr ? surface.m_texture->m_surface : kNoTexture;
}

// Whether the surface's texture scrolls (walk mode gives it the speeds).
bool Scrolls(const CQzlSurface& surface)
{
    return surface.m_scrollU != 0.0f || surface.m_scrollV != 0.0f;
}

// Whether the surface's texture coordinates may change from frame to frame: sky surfaces (walk
// mode lays them out from the camera) and scrolling ones. They are drawn from their render
// vertices, never from the sector's buffer.
bool CoordinatesChangeEachFrame(const CQzlSurface& surface)
{
    return IsSkySurface(surface) || Scrolls(surface);
}

bool FrontFacing(const CQzlSurface& surface, const CVector3& camera)
{
    return !surface.m_renderVertices.empty() && surface.m_plane[3] <= Dot(surface.m_normal, camera);
}

void RestoreDiffuse(CQzlSurface& surface)
{
    for (D3DLVERTEX& v : surface.m_renderVertices)
        v.color = v.specular;
}

void SetDiffuse(CQzlSurface& surface, std::uint32_t color)
{
    for (D3DLVERTEX& v : surface.m_renderVertices)
        v.color = color;
}

// One frame's drawing of the level: the sector pass, the thing pass and the translucent list.
class CFramePainter {
public:
    CFramePainter(C3dView& view, RenderDevice& device)
        : m_view(view), m_level(view.GetLevel()), m_settings(view.GetSettings()), m_device(device),
          m_camera(view.m_camera.m_position)
    {}

    void DrawSectors(const std::vector<std::int32_t>& list)
    {
        const std::int32_t mode = m_view.GetDocument().m_renderMode;
        m_opaqueDrawn.assign(m_level.m_surfaces.size(), 0);
        m_sectorDrawn.assign(m_level.m_sectors.size(), 0);
        for (std::int32_t index : list) {
            if (index < 0 || static_cast<std::size_t>(index) >= m_level.m_sectors.size())
                continue;
            CQzlSector& sector = *m_level.m_sectors[static_cast<std::size_t>(index)];
            const bool visible = SectorVisibleThisFrame(m_view, index);
            sector.m_runtime[kVisibleFlag] = visible ? 1 : 0;
            if (!visible)
                continue;
            // The sector's box holds its surfaces (its render data builds it from them): a box
            // wholly in view spares the test of each surface.
            const EInView inView = BoxInView(m_view, sector.m_boundBox);
            if (inView == EInView::Outside)
                continue;
            const bool solid =
                mode == kAllRendered || (index == m_view.m_selection.m_sector &&
                                         mode != kAllWireframe && mode != kSectorWireframe);
            const CSectorBuffers::CEntry* buffer = solid ? SectorBuffer(index, sector) : nullptr;
            m_sectorDrawn[static_cast<std::size_t>(index)] = 1;
            m_currentSector = index;
            for (std::size_t i = 0; i < sector.m_surfaces.size(); ++i) {
                const std::int32_t s = sector.m_surfaces[i];
                if (s < 0 || static_cast<std::size_t>(s) >= m_level.m_surfaces.size())
                    continue;
                CQzlSurface& surface = *m_level.m_surfaces[static_cast<std::size_t>(s)];
                // A surface of a solid sector that would only be drawn as an opaque fan, and
                // faces away, is not drawn and changes nothing, in view or not: the cheaper test
                // first.
                if (solid && OnlyAnOpaqueFan(surface) && !FrontFacing(surface, m_camera))
                    continue;
                if (inView != EInView::Inside && !SurfaceInFrustum(m_view, surface))
                    continue;
                m_currentSurface = s;
                if (solid)
                    DrawSolidSurface(surface, s, buffer, i);
                else
                    DrawWireframe(sector, surface);
            }
        }
        LeaveOutHidden();
        DrawBatched();
    }

    void DrawThings(const std::vector<std::int32_t>& walked)
    {
        const float limit = m_settings.m_threeDoDistance * m_settings.m_threeDoDistance;
        for (std::size_t t = 0; t < m_level.m_things.size(); ++t) {
            CQzlThing& thing = *m_level.m_things[t];
            C3doModel* model = thing.m_model;
            if (model == nullptr || !ThingDrawable(m_view, static_cast<int>(t), walked))
                continue;
            if (model->m_boundsValid == 0) {
                CBoundingBox box{{kFarDistance, kFarDistance, kFarDistance},
                                 {-kFarDistance, -kFarDistance, -kFarDistance}};
                model->NodeBounds(0, box, model->m_placement);
                model->m_bounds = {VectorMin(box.min, box.max), VectorMax(box.min, box.max)};
                model->m_boundsValid = 1;
            }
            if (!(PointBoxDistance(model->m_bounds, m_view.m_camera.m_focusPoint) < limit) ||
                !BoxInFrustum(m_view, model->m_bounds))
                continue;
            // A spinning thing is drawn at its current turn, which then goes on by one step.
            const bool spins = thing.m_runtimeWord != 0;
            const D3DMATRIX world = spins ? model->m_spinPlacement : model->m_placement;
            m_device.SetWorldTransform(world);
            model->DrawNode(m_device, m_camera.x, m_camera.y, m_camera.z, 0, world);
            if (spins)
                model->m_spinPlacement =
                    MatrixMultiply(model->m_stepRotation, model->m_spinPlacement);
        }
    }

    void DrawTransparent()
    {
        m_device.SetWorldTransform(MatrixIdentity());
        m_device.SetRenderState(RenderState::AlphaBlend, 1);
        const bool recoloured = m_settings.m_adjoinTransparent != 0 && m_settings.m_adjoin == 2;
        for (const CListed& entry : m_transparent) {
            CQzlSurface& surface = *m_level.m_surfaces[static_cast<std::size_t>(entry.m_surface)];
            if (Scrolls(surface))
                ScrollSurfaceTexture(surface, surface.m_scrollU, surface.m_scrollV);
            if (FrontFacing(surface, m_camera))
                m_device.DrawPrimitive(PrimitiveType::TriangleFan, surface.m_renderVertices,
                                       SurfaceTexture(surface));
            if (recoloured && surface.m_adjoin >= 0)
                RestoreDiffuse(surface);
        }
        m_transparent.clear();
    }

private:
    struct CListed {
        std::int32_t m_surface;
        float m_key;
    };

    // A surface's range of its sector's buffer, drawn after the sector pass with all others of
    // its texture.
    struct CBatched {
        TextureId m_texture;
        CBufferRange m_range;
        std::int32_t m_sector;
    };

    // When the camera stands inside a closed room of opaque walls (or a few joined through open
    // portals), nothing outside it reaches the screen: the depth test would reject every fragment
    // of the other sectors' buffered surfaces, so they are not handed to the device at all.
    void LeaveOutHidden()
    {
        if (m_batched.empty() || !FindEnclosure(m_view, m_opaqueDrawn, m_sectorDrawn, m_enclosed))
            return;
        std::erase_if(m_batched, [this](const CBatched& b) {
            return m_enclosed[static_cast<std::size_t>(b.m_sector)] == 0;
        });
    }

    // Draws the surfaces collected from the sector buffers: one call for each texture. They are
    // opaque fans under the same states and transform (the sector pass changes neither) behind a
    // depth test, so their order among themselves does not change the picture; within a texture
    // they keep the order of the pass.
    void DrawBatched()
    {
        std::stable_sort(
            m_batched.begin(), m_batched.end(),
            [](const CBatched& a, const CBatched& b) { return a.m_texture < b.m_texture; });
        for (std::size_t begin = 0; begin < m_batched.size();) {
            const TextureId texture = m_batched[begin].m_texture;
            m_ranges.clear();
            std::size_t end = begin;
            for (; end < m_batched.size() && m_batched[end].m_texture == texture; ++end)
                m_ranges.push_back(m_batched[end].m_range);
            m_device.DrawVertexBufferRanges(PrimitiveType::TriangleFan, m_ranges, texture);
            begin = end;
        }
        m_batched.clear();
    }

    // The vertex buffer of a sector drawn solid, uploaded first when the sector's stamp or the
    // shape of its surface list changed since the last upload; nullptr when the device keeps no
    // buffers or refused the upload (its surfaces are then streamed).
    const CSectorBuffers::CEntry* SectorBuffer(std::int32_t index, const CQzlSector& sector)
    {
        std::vector<CSectorBuffers::CEntry>& buffers = m_view.m_sectorBuffers.m_entries;
        if (buffers.size() < m_level.m_sectors.size())
            buffers.resize(m_level.m_sectors.size());
        CSectorBuffers::CEntry& entry = buffers[static_cast<std::size_t>(index)];
        if (BufferCurrent(entry, sector))
            return &entry;
        if (entry.m_buffer == kNoBuffer)
            entry.m_buffer = m_device.CreateVertexBuffer();
        if (entry.m_buffer == kNoBuffer)
            return nullptr;
        m_staging.clear();
        entry.m_ranges.clear();
        for (const std::int32_t s : sector.m_surfaces) {
            CSectorBuffers::CSurfaceRange range;
            range.m_surface = s;
            range.m_first = m_staging.size();
            if (s >= 0 && static_cast<std::size_t>(s) < m_level.m_surfaces.size()) {
                const std::vector<D3DLVERTEX>& mesh =
                    m_level.m_surfaces[static_cast<std::size_t>(s)]->m_renderVertices;
                range.m_count = mesh.size();
                m_staging.insert(m_staging.end(), mesh.begin(), mesh.end());
            }
            entry.m_ranges.push_back(range);
        }
        entry.m_sector = &sector;
        entry.m_version = sector.m_renderVersion;
        entry.m_uploaded = m_device.UploadVertexBuffer(entry.m_buffer, m_staging);
        return entry.m_uploaded ? &entry : nullptr;
    }

    // Whether the buffer holds what the sector's surfaces hold now: uploaded for this sector at
    // its present stamp (a sector without one is never taken as unchanged), over the same
    // surface list with the same vertex counts.
    bool BufferCurrent(const CSectorBuffers::CEntry& entry, const CQzlSector& sector) const
    {
        if (!entry.m_uploaded || entry.m_sector != &sector || sector.m_renderVersion == 0 ||
            entry.m_version != sector.m_renderVersion ||
            entry.m_ranges.size() != sector.m_surfaces.size())
            return false;
        for (std::size_t i = 0; i < entry.m_ranges.size(); ++i) {
            const std::int32_t s = sector.m_surfaces[i];
            const std::size_t count =
                s >= 0 && static_cast<std::size_t>(s) < m_level.m_surfaces.size()
                    ? m_level.m_surfaces[static_cast<std::size_t>(s)]->m_renderVertices.size()
                    : 0;
            if (entry.m_ranges[i].m_surface != s || entry.m_ranges[i].m_count != count)
                return false;
        }
        return true;
    }

    // Draws a front-facing surface as a fan: from its range of the sector's buffer when there is
    // one, else from its render vertices. Sky and scrolling surfaces are always streamed: their
    // texture coordinates change from frame to frame, the buffer keeps those of its upload.
    void DrawFan(CQzlSurface& surface, TextureId texture,
                 const CSectorBuffers::CEntry* buffer = nullptr, std::size_t slot = 0)
    {
        if (!FrontFacing(surface, m_camera))
            return;
        m_opaqueDrawn[static_cast<std::size_t>(m_currentSurface)] = 1;
        if (buffer != nullptr && !CoordinatesChangeEachFrame(surface)) {
            const CSectorBuffers::CSurfaceRange& range = buffer->m_ranges[slot];
            m_batched.push_back(
                {texture, {buffer->m_buffer, range.m_first, range.m_count}, m_currentSector});
            return;
        }
        m_device.DrawPrimitive(PrimitiveType::TriangleFan, surface.m_renderVertices, texture);
    }

    void DrawWireframe(const CQzlSector& sector, const CQzlSurface& surface)
    {
        const std::vector<D3DLVERTEX>& mesh = surface.m_renderVertices;
        if (mesh.empty())
            return;
        const CVector3 first{mesh[0].x, mesh[0].y, mesh[0].z};
        if (Dot(m_camera - first, surface.m_normal) < 0.0f)
            return;
        const bool cog = (sector.m_flags & kSectorUsedInCog) != 0 ||
                         (surface.m_surfaceFlags & kSurfaceUsedInCog) != 0;
        const std::uint32_t color =
            ColorToVertex(cog ? m_settings.m_colorCogWireframe : m_settings.m_colorWireframe);
        m_lines.clear();
        for (std::size_t i = 0; i <= mesh.size(); ++i) {
            const D3DLVERTEX& v = mesh[i % mesh.size()];
            m_lines.push_back(MakeLitVertex({v.x, v.y, v.z}, color, 0u, 0.0f, 0.0f));
        }
        m_device.DrawPrimitive(PrimitiveType::LineStrip, m_lines, kNoTexture);
    }

    // Whether a solid sector draws the surface as an opaque fan or not at all, without changing
    // its colours, texture coordinates or the translucent list (DrawSolidSurface).
    bool OnlyAnOpaqueFan(const CQzlSurface& surface) const
    {
        if (CoordinatesChangeEachFrame(surface))
            return false;
        return surface.m_adjoin < 0 ||
               (m_settings.m_adjoin != 2 && (surface.m_faceFlags & kFaceTransparent) == 0);
    }

    // slot is the surface's place in its sector's surface list (and buffer).
    void DrawSolidSurface(CQzlSurface& surface, std::int32_t index,
                          const CSectorBuffers::CEntry* buffer, std::size_t slot)
    {
        if (surface.m_adjoin < 0) {
            DrawOpaque(surface, buffer, slot);
            return;
        }
        if (m_settings.m_adjoin == 2) {
            if (m_settings.m_adjoinTransparent == 0) {
                SetDiffuse(surface, ColorToVertex(m_settings.m_colorAdjoin));
                DrawFan(surface, kNoTexture);
                RestoreDiffuse(surface);
            } else {
                SetDiffuse(surface, TransparentAdjoinColor(m_settings.m_colorAdjoin));
                InsertTransparent(surface, index);
            }
            return;
        }
        if ((surface.m_faceFlags & kFaceTransparent) != 0) {
            InsertTransparent(surface, index);
            return;
        }
        if (surface.m_material >= 0 && surface.m_geo > 0)
            DrawOpaque(surface, buffer, slot);
    }

    // A solid surface drawn as a wall: in walk mode a sky surface takes its texture coordinates
    // from the camera and the walk clock, any other surface with scroll speeds moves its texture
    // by one step; then the fan.
    void DrawOpaque(CQzlSurface& surface, const CSectorBuffers::CEntry* buffer, std::size_t slot)
    {
        if (m_view.m_walk.m_on != 0 && IsSkySurface(surface))
            SkyTextureCoordinates(m_view, surface, surface.m_scrollU, surface.m_scrollV);
        else if (Scrolls(surface))
            ScrollSurfaceTexture(surface, surface.m_scrollU, surface.m_scrollV);
        DrawFan(surface, SurfaceTexture(surface), buffer, slot);
    }

    // Keeps the list ordered from far to near: a surface goes before the first listed one that is
    // nearer the camera, after all that are as far or farther.
    void InsertTransparent(const CQzlSurface& surface, std::int32_t index)
    {
        const CVector3 centre = (surface.m_box.min + surface.m_box.max) * 0.5f;
        const float key = LengthSquared(centre - m_camera);
        const auto at = std::find_if(m_transparent.begin(), m_transparent.end(),
                                     [key](const CListed& e) { return e.m_key < key; });
        m_transparent.insert(at, CListed{index, key});
    }

    C3dView& m_view;
    CQzlSections& m_level;
    const CSettings& m_settings;
    RenderDevice& m_device;
    CVector3 m_camera;
    std::vector<CListed> m_transparent;
    std::vector<D3DLVERTEX> m_lines;
    std::vector<D3DLVERTEX> m_triangles;
    std::vector<CBatched> m_batched;     // the sector pass's draws from the sector buffers
    std::vector<CBufferRange> m_ranges;  // those of one texture
    std::vector<D3DLVERTEX> m_staging;   // a sector's vertices on their way to its buffer
    std::int32_t m_currentSector = -1;
    std::int32_t m_currentSurface = -1;
    std::vector<char> m_opaqueDrawn;  // per surface: drawn as an opaque fan this frame
    std::vector<char> m_sectorDrawn;  // per sector: drawn this frame (solid or wireframe)
    std::vector<char> m_enclosed;     // per sector: inside the camera's enclosure
};

// Keeps the engine's sector buffers to the device and the level: buffers of another device are
// forgotten (that device frees them), those of sectors past the level's end released.
void PrepareSectorBuffers(C3dView& view, RenderDevice& device)
{
    if (view.m_sectorBuffers.m_device != &device) {
        view.m_sectorBuffers.m_entries.clear();
        view.m_sectorBuffers.m_device = &device;
    }
    const std::size_t sectors = view.GetLevel().m_sectors.size();
    if (view.m_sectorBuffers.m_entries.size() <= sectors)
        return;
    for (std::size_t i = sectors; i < view.m_sectorBuffers.m_entries.size(); ++i)
        if (view.m_sectorBuffers.m_entries[i].m_buffer != kNoBuffer)
            device.ReleaseVertexBuffer(view.m_sectorBuffers.m_entries[i].m_buffer);
    view.m_sectorBuffers.m_entries.resize(sectors);
}

bool UsesPortalWalk(const C3dView& view)
{
    const CSettings& settings = view.GetSettings();
    return settings.m_collision != 0 && view.m_selection.m_sector >= 0 &&
           settings.m_renderMethod == 1 && settings.m_lock == 0;
}

const CQzlSector* SectorAt(const CQzlSections& level, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= level.m_sectors.size())
        return nullptr;
    return level.m_sectors[static_cast<std::size_t>(index)].get();
}

}  // namespace

std::uint32_t TransparentAdjoinColor(std::uint32_t colorAdjoin)
{
    const auto fifth = [](std::uint32_t channel) {
        return static_cast<std::uint32_t>(static_cast<float>(channel) * 0.2f);
    };
    const std::uint32_t r = fifth(colorAdjoin & 0xFFu);
    const std::uint32_t g = fifth((colorAdjoin >> 8) & 0xFFu);
    const std::uint32_t b = fifth((colorAdjoin >> 16) & 0xFFu);
    return 0x7F000000u | (r << 16) | (g << 8) | b;
}

D3DMATRIX MatrixRotationBetween(const CVector3& a, const CVector3& b)
{
    D3DMATRIX out = MatrixIdentity();
    const CVector3 nb = NegateVector(b);
    const float c = Dot(a, nb);
    const float s = std::sqrt(std::max(0.0f, 1.0f - c * c));
    const CVector3 k = Cross(a, nb);
    const float length = VectorLength(k);
    if (!(length > 0.001f))
        return out;
    const float x = k.x / length;
    const float y = k.y / length;
    const float z = k.z / length;
    const float t = 1.0f - c;
    out.m[0][0] = t * x * x + c;
    out.m[0][1] = t * x * y - s * z;
    out.m[0][2] = t * x * z + s * y;
    out.m[1][0] = t * x * y + s * z;
    out.m[1][1] = t * y * y + c;
    out.m[1][2] = t * y * z - s * x;
    out.m[2][0] = t * x * z - s * y;
    out.m[2][1] = t * y * z + s * x;
    out.m[2][2] = t * z * z + c;
    return out;
}

void SkyTextureCoordinates(const C3dView& view, CQzlSurface& surface, float du, float dv)
{
    const D3DMATRIX r = MatrixRotationBetween({0.0f, 0.0f, 1.0f}, surface.m_normal);
    const D3DMATRIX m =
        MatrixMultiply(MatrixTranslation(NegateVector(view.m_camera.m_position)), r);
    const bool ceiling = (surface.m_surfaceFlags & kSkyCeiling) != 0;
    const float ceilingDepth = 0.1f * view.GetLevel().m_header.m_ceilingSkyZ;
    const float clockU = 0.25f * view.m_walk.m_animationClock * du;
    const float clockV = 0.25f * view.m_walk.m_animationClock * dv;
    for (D3DLVERTEX& v : surface.m_renderVertices) {
        const std::array<float, 4> p = TransformPoint4({v.x, v.y, v.z}, m);
        float k = ceiling ? ceilingDepth : p[2];
        if (!(std::fabs(k) >= kMinSkyDepth))
            k = std::signbit(k) ? -kMinSkyDepth : kMinSkyDepth;
        v.tu = clockU - p[0] / k;
        v.tv = clockV - p[1] / k;
    }
}

bool IsSkySurface(const CQzlSurface& surface)
{
    return (surface.m_surfaceFlags & (kSkyWall | kSkyCeiling)) != 0;
}

std::vector<std::int32_t> FrameSectorList(C3dView& view)
{
    const CQzlSections& level = view.GetLevel();
    const CSettings& settings = view.GetSettings();
    const CQzlSector* current = SectorAt(level, view.m_selection.m_sector);
    std::vector<std::int32_t> list;
    if (settings.m_collision != 0 && current != nullptr) {
        if (UsesPortalWalk(view))
            FindVisibleSectors(view, {}, list, view.m_selection.m_sector);
        else
            list = current->m_visible;
        return list;
    }
    list.resize(level.m_sectors.size());
    for (std::size_t i = 0; i < list.size(); ++i)
        list[i] = static_cast<std::int32_t>(i);
    return list;
}

bool SectorVisibleThisFrame(const C3dView& view, int sector)
{
    const CQzlSections& level = view.GetLevel();
    const CSettings& settings = view.GetSettings();
    const CQzlSector* s = SectorAt(level, sector);
    if (s == nullptr)
        return false;
    bool visible =
        VectorLength(s->m_center - view.m_camera.m_focusPoint) < settings.m_horizonDistance;
    const CQzlSector* current = SectorAt(level, view.m_selection.m_sector);
    if (settings.m_renderMethod != 1 && settings.m_lock != 0 && current != nullptr) {
        if (!InSortedList(current->m_visible, sector))
            visible = false;
        for (std::int32_t moving : view.m_walk.m_movingSectors) {
            const CQzlSector* m = SectorAt(level, moving);
            if (m != nullptr && InSortedList(m->m_visible, sector)) {
                visible = true;
                break;
            }
        }
    }
    const std::int32_t mode = view.GetDocument().m_renderMode;
    if ((mode == kSectorRendered || mode == kSectorWireframe) &&
        sector != view.m_selection.m_sector)
        visible = false;
    return visible;
}

bool ThingDrawable(const C3dView& view, int thing, const std::vector<std::int32_t>& walked)
{
    const CQzlSections& level = view.GetLevel();
    if (thing < 0 || static_cast<std::size_t>(thing) >= level.m_things.size())
        return false;
    const std::int32_t sector = level.m_things[static_cast<std::size_t>(thing)]->m_sector;
    const CQzlSector* current = SectorAt(level, view.m_selection.m_sector);
    if (sector < 0)
        return !(view.GetDocument().m_renderMode == kSectorRendered && current != nullptr);
    const CQzlSector* own = SectorAt(level, sector);
    if (own == nullptr)
        return false;
    if (view.GetSettings().m_collision == 0 || current == nullptr)
        return own->m_runtime[kVisibleFlag] != 0;
    if (UsesPortalWalk(view))
        return InSortedList(walked, sector);
    return InSortedList(current->m_visible, sector);
}

CFrameRect SourceRectangle(const CFrameRect& area, int viewWidth, int viewHeight, int renderWidth,
                           int renderHeight)
{
    if (viewWidth <= 0 || viewHeight <= 0)
        return {0, 0, renderWidth, renderHeight};
    const auto scale = [](int v, int to, int from) {
        return static_cast<int>(static_cast<long long>(v) * to / from);
    };
    return {scale(area.left, renderWidth, viewWidth), scale(area.top, renderHeight, viewHeight),
            scale(area.right, renderWidth, viewWidth),
            scale(area.bottom, renderHeight, viewHeight)};
}

int RenderFrame(C3dView& view, int force)
{
    if (view.m_skip != 0)
        return 1;
    const bool preview = view.m_mode == C3dView::kPreview;
    if (force == 0 && view.m_walk.m_on == 0 && !preview)
        return 0;

    const CSettings& settings = view.GetSettings();
    Clock& clock = view.GetClock();
    const std::uint32_t t0 = clock.Milliseconds();
    // A "FrameRate" that is not positive means no cap.
    if (force == 0 && settings.m_frameRate > 0 &&
        t0 - view.m_lastFrameTick < 1000u / static_cast<std::uint32_t>(settings.m_frameRate))
        return 1;

    RenderDevice* device = view.m_viewport.m_renderWidth > 0 && view.m_viewport.m_renderHeight > 0
                               ? view.m_device
                               : nullptr;
    if (device != nullptr) {
        device->BeginFrame();
        device->Clear(ClearColorFromSetting(settings.m_colorBackground));
    }

    // Walk mode: the mouse turns and walks the camera, then the player's step takes the focus
    // point just ahead of it as the proposed position (the previous frame's as the last one).
    // Editing frames run no step: its player physics would move the camera and change the
    // current sector after every edit.
    GetCameraAxes(view, view.m_camera.m_forwardAxis, view.m_camera.m_upAxis);
    if (view.m_walk.m_on != 0 && !preview) {
        NavigateWithMouse(view);
        GetCameraAxes(view, view.m_camera.m_forwardAxis, view.m_camera.m_upAxis);
        view.m_camera.m_focusPoint =
            view.m_camera.m_position + view.m_camera.m_forwardAxis * kFocusDistance;
        WalkModeStep(view);
    }

    // The camera as the view matrix holds it, and the focus point just ahead of it.
    GetCameraAxes(view, view.m_camera.m_forwardAxis, view.m_camera.m_upAxis);
    view.m_camera.m_focusPoint =
        view.m_camera.m_position + view.m_camera.m_forwardAxis * kFocusDistance;
    view.m_camera.m_viewProjectionMatrix =
        MatrixMultiply(MatrixMultiply(view.m_camera.m_worldMatrix, view.m_camera.m_viewMatrix),
                       view.m_camera.m_projectionMatrix);

    if (device != nullptr) {
        device->SetViewTransform(view.m_camera.m_viewMatrix);
        device->SetProjectionTransform(view.m_camera.m_projectionMatrix);
        device->SetRenderState(RenderState::AlphaBlend, 0);
        PrepareSectorBuffers(view, *device);
        CFramePainter painter(view, *device);
        if (C3doModel* model = view.m_previewModel.get()) {
            const CVector3& camera = view.m_camera.m_position;
            device->SetWorldTransform(model->m_spinPlacement);
            model->DrawNode(*device, camera.x, camera.y, camera.z, 0, model->m_spinPlacement);
            model->m_spinPlacement = MatrixMultiply(model->m_stepRotation, model->m_spinPlacement);
        }
        DrawPointMarkers(view,
                         [&view](const CBoundingBox& box) { return BoxInFrustum(view, box); });
        if (!preview) {
            const std::vector<std::int32_t> list = FrameSectorList(view);
            painter.DrawSectors(list);
            static const std::vector<std::int32_t> kNone;
            painter.DrawThings(UsesPortalWalk(view) ? list : kNone);
            painter.DrawTransparent();
        }
        device->EndFrame();
    }

    // The walking player hears from where the camera stands.
    if (view.m_walk.m_on != 0 && view.m_sound != nullptr)
        view.m_sound->SetListener(view.m_camera.m_position, view.m_camera.m_forwardAxis,
                                  view.m_camera.m_upAxis);

    view.m_camera.m_savedPosition = view.m_camera.m_position;
    view.m_camera.m_savedForwardAxis = view.m_camera.m_forwardAxis;
    view.m_camera.m_focusPoint2 = view.m_camera.m_focusPoint;

    if (!preview) {
        // Calls back into the frame routine during the status update return at once.
        view.m_skip = 1;
        UpdateStatus(view);
        view.m_skip = 0;
        view.GetHost().ViewsChanged();
        if (view.m_walk.m_on != 0)
            view.m_walk.m_animationClock += 1.0f;
    }

    view.m_lastFrameTick = t0;
    const std::uint32_t t1 = clock.Milliseconds();
    if (t1 > t0)
        view.m_framesPerSecond = static_cast<std::int32_t>(1000u / (t1 - t0));
    return 1;
}
