#include "EditorTestSupport.h"

#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "engine/C3dView.h"
#include "engine/Camera.h"
#include "engine/Picking.h"
#include "engine/Undo.h"
#include "engine/gl/GlRenderDevice.h"
#include "framework/FileIO.h"
#include "level/QzlWriter.h"
#include "level/TextureFit.h"
#include "math/Matrix.h"
#include "support/FixtureLevels.h"
#include "tools/CreateLight.h"

#include <QApplication>
#include <QColor>
#include <QMouseEvent>
#include <QRect>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <set>

void EditorTest::Open(int stretchMode)
{
    Open(MakeTwoJoinedRooms(), stretchMode);
}

void EditorTest::Open(CQzlSections level, int stretchMode)
{
    CQzEditApp& app = MakeApp();
    app.m_settings.m_stretchMode = stretchMode;
    app.m_settings.m_colorBackground = kEditorBackground;
    app.m_settings.m_renderMode = 0;
    app.m_settings.m_lock = 0;
    CMainFrame& frame = *app.m_pMainFrame;
    frame.setGeometry(20, 20, 1000, 750);

    if (level.m_gameTag.empty())
        level.m_gameTag = "QZ";
    const std::filesystem::path path = Temp() / "two rooms.qzl";
    SaveQzlFile(path, level, CGameResources(), 0);
    m_doc = app.OpenDocumentFile(QString::fromStdString(path.string()));
    ASSERT_NE(m_doc, nullptr) << m_messages.join(QStringLiteral("; ")).toStdString();
    m_doc->m_state.m_renderMode = 0;
    m_view = m_doc->Frame()->View3d();
    ASSERT_NE(m_view, nullptr);

    frame.show();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return m_view->Engine() != nullptr && m_view->Device() != nullptr &&
                   m_view->Engine()->m_device == m_view->Device() && m_view->PaintCount() > 0;
        },
        kEditorWaitMs))
        << m_view->DeviceError();
    m_view->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return frame.AcceleratorTable() == 113; }, kEditorWaitMs));
}

void EditorTest::PlaceCamera(float x, float y, float z)
{
    C3dView& engine = Engine();
    SetCameraAxes(engine, 0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 0.0f);
    SetCameraPosition(engine, x, y, z);
    const int paints = m_view->PaintCount();
    m_view->RequestFrame(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_view->PaintCount() > paints; }, kEditorWaitMs));
}

void EditorTest::LightByFacing(const CVector3& toLight)
{
    C3dView& engine = Engine();
    const CVector3 light = toLight / VectorLength(toLight);
    const CSelection kept = engine.m_selection;
    const CQzEditView::CDeviceScope scope(*m_view);
    EXPECT_TRUE(RunUndoable(engine, [&] {
        const CQzlSections& level = engine.GetLevel();
        bool lit = false;
        for (std::size_t s = 0; s < level.m_sectors.size(); ++s)
            for (const std::int32_t f : level.m_sectors[s]->m_surfaces) {
                const CQzlSurface& surface = *level.m_surfaces[static_cast<std::size_t>(f)];
                if (surface.m_material < 0)
                    continue;
                const float facing = Dot(surface.m_normal, light);
                const auto grey = static_cast<std::uint32_t>(
                    std::lround(255.0f * std::clamp(0.6f + 0.55f * facing, 0.25f, 1.0f)));
                engine.m_selection.m_sector = static_cast<int>(s);
                engine.m_selection.m_vertexSurface = f;
                engine.m_selection.m_vertex = -1;
                CLightParams params;
                params.m_startColor = grey | (grey << 8) | (grey << 16);
                lit = ApplyLight(engine, params) || lit;
            }
        return lit;
    }));
    engine.m_selection = kept;
    const int paints = m_view->PaintCount();
    m_view->RequestFrame(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_view->PaintCount() > paints; }, kEditorWaitMs));
}

void EditorTest::PlaceCamera(const CVector3& eye, const CVector3& target)
{
    C3dView& engine = Engine();
    const CVector3 forward = (target - eye) / VectorLength(target - eye);
    CVector3 up = CVector3{0.0f, 1.0f, 0.0f} - forward * forward.y;
    up = up / VectorLength(up);
    // The axes first: the position's translation row is made from them.
    SetCameraAxes(engine, forward.x, forward.y, forward.z, up.x, up.y, up.z);
    SetCameraPosition(engine, eye.x, eye.y, eye.z);
    const int paints = m_view->PaintCount();
    m_view->RequestFrame(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_view->PaintCount() > paints; }, kEditorWaitMs));
}

int EditorTest::FarWall(int sector)
{
    const CQzlSections& level = Engine().GetLevel();
    for (const std::int32_t index : level.m_sectors[static_cast<std::size_t>(sector)]->m_surfaces) {
        const CQzlSurface& surface = *level.m_surfaces[static_cast<std::size_t>(index)];
        bool far = !surface.m_vertices.empty();
        for (const CQzlVertex& corner : surface.m_vertices)
            far = far &&
                  level.m_worldVertices[static_cast<std::size_t>(corner.m_worldVertex)].z == 1.0f;
        if (far)
            return index;
    }
    return -1;
}

bool EditorTest::ScreenPointOf(const CVector3& world, QPoint& point)
{
    const C3dView& engine = Engine();
    const CVector4 position{world.x, world.y, world.z, 1.0f};
    const D3DMATRIX matrix =
        MatrixMultiply(MatrixMultiply(engine.m_camera.m_worldMatrix, engine.m_camera.m_viewMatrix),
                       engine.m_camera.m_projectionMatrix);
    CVector4 clip;
    TransformVector4(clip, position, matrix);
    if (clip.w <= 0.0f)
        return false;
    const float nx = clip.x / clip.w;
    const float ny = clip.y / clip.w;
    if (std::fabs(nx) > 0.9f || std::fabs(ny) > 0.9f)
        return false;
    // Render-target pixels, then the window's: the view rectangle maps onto the render size.
    const double renderX = (static_cast<double>(nx) + 1.0) / 2.0 * engine.m_viewport.m_renderWidth;
    const double renderY = (1.0 - static_cast<double>(ny)) / 2.0 * engine.m_viewport.m_renderHeight;
    const CFrameRect& rect = engine.m_viewport.m_viewRect;
    const double ratio = m_view->devicePixelRatioF();
    point = QPoint(static_cast<int>(renderX * (rect.right - rect.left) /
                                    engine.m_viewport.m_renderWidth / ratio),
                   static_cast<int>(renderY * (rect.bottom - rect.top) /
                                    engine.m_viewport.m_renderHeight / ratio));
    return true;
}

bool EditorTest::ScreenPointOf(int surface, QPoint& point)
{
    const CQzlSections& level = Engine().GetLevel();
    const CQzlSurface& wall = *level.m_surfaces[static_cast<std::size_t>(surface)];
    CVector3 centre;
    for (const CQzlVertex& corner : wall.m_vertices) {
        const CWorldVertex& v =
            level.m_worldVertices[static_cast<std::size_t>(corner.m_worldVertex)];
        centre.x += v.x;
        centre.y += v.y;
        centre.z += v.z;
    }
    const auto count = static_cast<float>(wall.m_vertices.size());
    return ScreenPointOf(CVector3(centre.x / count, centre.y / count, centre.z / count), point);
}

void EditorTest::SendMouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons,
                           const QPoint& point)
{
    QMouseEvent event(type, QPointF(point), m_view->mapToGlobal(QPointF(point)), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(m_view, &event);
}

EditorTest::Bytes EditorTest::SavedBytes(CQzEditDoc& doc)
{
    const QString path = QString::fromStdString((Temp() / "saved.qze").string());
    EXPECT_TRUE(doc.OnSaveDocument(path)) << doc.LastError().toStdString();
    return ReadFileBytes(Temp() / "saved.qze");
}

int CountColor(const QImage& image, std::uint32_t bgr)
{
    const QColor color(static_cast<int>(bgr & 0xFFu), static_cast<int>((bgr >> 8) & 0xFFu),
                       static_cast<int>((bgr >> 16) & 0xFFu));
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y).rgb() == color.rgb() ? 1 : 0;
    return count;
}

int DarkPixels(const QImage& image, const QRect& area)
{
    int dark = 0;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            dark += qGray(image.pixel(x, y)) < 96 ? 1 : 0;
    return dark;
}

int DistinctColors(const QImage& image, const QRect& rect)
{
    std::set<QRgb> colors;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            colors.insert(image.pixel(x, y) & 0xFFFFFFu);
    return static_cast<int>(colors.size());
}

int ChangedPixels(const QImage& a, const QImage& b, const QRect& rect, int threshold)
{
    int changed = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            const int distance =
                std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q))});
            changed += distance > threshold ? 1 : 0;
        }
    return changed;
}

// The fixtures' rooms are a few units across: at 64 texels a unit a brick stays a few pixels
// large in the picture.
constexpr float kTexelsPerUnit = 64.0f;

void DressBoxSector(CQzlSections& level, int sector, const char* floor, const char* ceiling,
                    const char* walls)
{
    for (const EBoxSide side : {kBoxFloor, kBoxCeiling, kBoxXLow, kBoxXHigh, kBoxZLow, kBoxZHigh}) {
        const int index = BoxSurface(level, sector, side);
        CQzlSurface& surface = *level.m_surfaces[static_cast<std::size_t>(index)];
        if (surface.m_adjoin >= 0)
            continue;
        const char* material = side == kBoxFloor ? floor : side == kBoxCeiling ? ceiling : walls;
        surface.m_material = level.FindMaterial(material);
        ComputeTextureCoords(level, index, 0, 0.0f, kTexelsPerUnit, kTexelsPerUnit, 0.0f, 0.0f, 0);
    }
}

void EditorTest::KeyAndPaint(CQzEditView& view, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    const int paints = view.PaintCount();
    QTest::keyClick(&view, key, modifiers);
    EXPECT_TRUE(QTest::qWaitFor([&] { return view.PaintCount() > paints; }, kEditorWaitMs));
}
