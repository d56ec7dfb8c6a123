// The frame routine against a recording device and a scripted clock: the frame cap, which sectors
// and things a frame draws per render mode and per "Collision"/"Lock", the far-to-near order of
// translucent portals, the colours, the frames-per-second rule, the sky coordinates, and the
// sector vertex buffers (uploaded once, again only after a change, drawing what streaming draws)
// and the scroll of walls that face away.

#include "engine/FrameRender.h"

#include "FrameTestSupport.h"
#include "engine/Camera.h"
#include "engine/RenderData.h"
#include "support/FixtureLevels.h"
#include "support/RecordingRenderDevice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using Set = std::vector<std::int32_t>;

// An engine over a fixture level, ready to draw on a recording device.
class CFrameFixture {
public:
    explicit CFrameFixture(CQzlSections level) : m_engine(std::move(level))
    {
        ReadyToDraw(m_engine.m_view, m_device);
        m_engine.m_host.Clear();
        m_engine.m_clock.m_now = 100000;
    }

    C3dView& View() { return m_engine.m_view; }
    CSettings& Settings() { return m_engine.m_settings; }

    // Draws one forced frame, forgetting the calls of earlier ones.
    void Frame()
    {
        m_device.m_draws.clear();
        m_device.m_calls.clear();
        RenderFrame(View(), 1);
    }

    // The sectors of the drawn primitives of type, by the sector whose box holds all vertices.
    Set DrawnSectors(PrimitiveType type) const
    {
        Set sectors;
        for (const auto& draw : m_device.m_draws) {
            if (draw.m_type != type)
                continue;
            for (std::size_t s = 0; s < m_engine.m_level.m_sectors.size(); ++s) {
                const CBoundingBox& box = m_engine.m_level.m_sectors[s]->m_boundBox;
                const bool inside = std::all_of(draw.m_vertices.begin(), draw.m_vertices.end(),
                                                [&](const D3DLVERTEX& v) {
                                                    return PointInBox(box, {v.x, v.y, v.z});
                                                });
                if (inside) {
                    sectors.push_back(static_cast<std::int32_t>(s));
                    break;
                }
            }
        }
        std::sort(sectors.begin(), sectors.end());
        sectors.erase(std::unique(sectors.begin(), sectors.end()), sectors.end());
        return sectors;
    }

    // The device outlives the engine, which releases its buffers on it.
    CRecordingRenderDevice m_device;
    CFixtureEngine m_engine;
};

TEST(FrameRender, FrameCapAndWhenAFrameIsDrawn)
{
    CFrameFixture f(MakeBoxRoom());
    C3dView& v = f.View();
    CScriptedClock& clock = f.m_engine.m_clock;
    f.Settings().m_frameRate = 20;  // one frame per 50 ms

    // Unforced with walk mode off on a document view: nothing animates.
    EXPECT_EQ(RenderFrame(v, 0), 0);
    EXPECT_EQ(f.m_device.m_framesBegun, 0);

    v.m_walk.m_on = 1;
    EXPECT_EQ(RenderFrame(v, 0), 1);
    EXPECT_EQ(f.m_device.m_framesBegun, 1);
    EXPECT_EQ(v.m_lastFrameTick, 100000u);
    clock.Advance(49);
    EXPECT_EQ(RenderFrame(v, 0), 1);  // within the cap: skipped
    EXPECT_EQ(f.m_device.m_framesBegun, 1);
    EXPECT_EQ(RenderFrame(v, 1), 1);  // forced: drawn
    EXPECT_EQ(f.m_device.m_framesBegun, 2);
    clock.Advance(49);
    EXPECT_EQ(RenderFrame(v, 0), 1);  // 49 ms after the forced frame
    EXPECT_EQ(f.m_device.m_framesBegun, 2);
    clock.Advance(1);
    EXPECT_EQ(RenderFrame(v, 0), 1);
    EXPECT_EQ(f.m_device.m_framesBegun, 3);

    // "FrameRate" 0 is no cap rather than a division by zero.
    f.Settings().m_frameRate = 0;
    EXPECT_EQ(RenderFrame(v, 0), 1);
    EXPECT_EQ(RenderFrame(v, 0), 1);
    EXPECT_EQ(f.m_device.m_framesBegun, 5);
    EXPECT_EQ(f.m_device.m_framesEnded, 5);

    // The skip flag answers 1 at once.
    v.m_skip = 1;
    EXPECT_EQ(RenderFrame(v, 1), 1);
    EXPECT_EQ(f.m_device.m_framesBegun, 5);
    EXPECT_EQ(f.m_device.m_misuseCount, 0);
}

TEST(FrameRender, EachEngineHasItsOwnFrameCap)
{
    // A document view in walk mode and a dialog's preview, one clock: the preview's frames do not
    // hold the view's next unforced frame back, nor the view's the preview's.
    CFrameFixture view(MakeBoxRoom());
    CFrameFixture preview(MakeBoxRoom());
    view.Settings().m_frameRate = 20;  // one frame per 50 ms
    preview.Settings().m_frameRate = 20;
    view.View().m_walk.m_on = 1;
    preview.View().m_mode = C3dView::kPreview;
    CScriptedClock& viewClock = view.m_engine.m_clock;
    CScriptedClock& previewClock = preview.m_engine.m_clock;

    ASSERT_EQ(RenderFrame(view.View(), 0), 1);
    EXPECT_EQ(view.m_device.m_framesBegun, 1);
    viewClock.Advance(20);
    previewClock.Advance(20);
    ASSERT_EQ(RenderFrame(preview.View(), 0), 1);
    EXPECT_EQ(preview.m_device.m_framesBegun, 1);
    viewClock.Advance(30);
    previewClock.Advance(30);
    ASSERT_EQ(RenderFrame(view.View(), 0), 1);  // 50 ms after its own last frame
    EXPECT_EQ(view.m_device.m_framesBegun, 2);
    ASSERT_EQ(RenderFrame(preview.View(), 0), 1);  // 30 ms after its own: capped
    EXPECT_EQ(preview.m_device.m_framesBegun, 1);
    EXPECT_EQ(view.View().m_lastFrameTick, 100050u);
    EXPECT_EQ(preview.View().m_lastFrameTick, 100020u);
}

TEST(FrameRender, PreviewDrawsUnforcedButNoLevel)
{
    CFrameFixture f(MakeBoxRoom());
    C3dView& v = f.View();
    v.m_mode = C3dView::kPreview;
    EXPECT_EQ(RenderFrame(v, 0), 1);
    EXPECT_EQ(f.m_device.m_framesBegun, 1);
    EXPECT_TRUE(f.m_device.m_draws.empty());
    EXPECT_EQ(f.m_engine.m_host.m_calls.size(), 0u);
}

TEST(FrameRender, DocumentViewFrameNamesTheDeviceInTheFirstPane)
{
    CFrameFixture f(MakeBoxRoom());
    C3dView& v = f.View();
    v.m_viewport.m_deviceNames = {"Recorder"};
    f.Settings().m_device = 0;
    f.Frame();
    ASSERT_EQ(f.m_engine.m_host.m_statusPanes.size(), 8u);
    EXPECT_EQ(f.m_engine.m_host.m_statusPanes[0], "Recorder");
}

TEST(FrameRender, ClearAndWireframeColoursAreConverted)
{
    EXPECT_EQ(ClearColorFromSetting(0x00112233u), 0x00332211u);
    EXPECT_EQ(ClearColorFromSetting(0xFF112233u), 0x00332211u);
    EXPECT_EQ(TransparentAdjoinColor(0x00FFFFFFu), 0x7F333333u);
    EXPECT_EQ(TransparentAdjoinColor(0x000A0B64u), 0x7F140202u);

    CFrameFixture f(MakeTwoJoinedRooms());
    f.Settings().m_colorBackground = 0x00112233u;
    f.Settings().m_colorWireframe = 0x00010203u;
    f.Settings().m_colorCogWireframe = 0x00A0B0C0u;
    f.m_engine.m_document.m_renderMode = 2;
    f.m_engine.m_level.m_sectors[1]->m_flags = 0x4;  // "Used in COG"
    f.Frame();
    ASSERT_FALSE(f.m_device.m_clears.empty());
    EXPECT_EQ(f.m_device.m_clears.back(), 0x00332211u);
    int plain = 0;
    int cog = 0;
    for (const auto& draw : f.m_device.m_draws) {
        ASSERT_EQ(draw.m_type, PrimitiveType::LineStrip);
        ASSERT_GE(draw.m_vertices.size(), 4u);
        EXPECT_EQ(draw.m_vertices.front(), draw.m_vertices.back());  // closed outline
        EXPECT_EQ(draw.m_texture, kNoTexture);
        for (const D3DLVERTEX& vtx : draw.m_vertices) {
            EXPECT_EQ(vtx.specular, 0u);
            EXPECT_EQ(vtx.tu, 0.0f);
        }
        const bool inSector1 = std::any_of(draw.m_vertices.begin(), draw.m_vertices.end(),
                                           [](const D3DLVERTEX& vtx) { return vtx.x > 1.0f; });
        const std::uint32_t expected = inSector1 ? 0xFFC0B0A0u : 0xFF030201u;
        EXPECT_EQ(draw.m_vertices[0].color, expected);
        ++(inSector1 ? cog : plain);
    }
    EXPECT_GT(plain, 0);
    EXPECT_GT(cog, 0);
}

TEST(FrameRender, SectorsPerRenderMode)
{
    struct CCase {
        std::int32_t mode;
        Set solid;
        Set wireframe;
    };
    // The camera stands in sector 0 (the current sector) looking into sector 1.
    const CCase cases[] = {
        {0, {0, 1}, {}}, {1, {0}, {1}}, {2, {}, {0, 1}}, {3, {0}, {}}, {4, {}, {0}},
    };
    for (const CCase& c : cases) {
        CFrameFixture f(MakeTwoJoinedRooms());
        f.m_engine.m_document.m_renderMode = c.mode;
        f.Frame();
        EXPECT_EQ(f.DrawnSectors(PrimitiveType::TriangleFan), c.solid) << c.mode;
        EXPECT_EQ(f.DrawnSectors(PrimitiveType::LineStrip), c.wireframe) << c.mode;
    }

    // A sector whose centre lies exactly at the horizon distance from the focus point is not
    // drawn.
    CFrameFixture f(MakeTwoJoinedRooms());
    f.m_engine.m_document.m_renderMode = 0;
    f.Frame();
    const CVector3 centre = f.m_engine.m_level.m_sectors[1]->m_center;
    f.Settings().m_horizonDistance = VectorLength(centre - f.View().m_camera.m_focusPoint);
    f.Frame();
    EXPECT_EQ(f.DrawnSectors(PrimitiveType::TriangleFan), (Set{0}));
}

TEST(FrameRender, SectorListsPerCollisionAndLock)
{
    // The L corridor: sector 0 joins 1, 1 joins 2; the camera in sector 0 looks along +x.
    struct CCase {
        const char* name;
        int collision;
        int lock;
        int renderMethod;
        Set list;
        Set drawn;
    };
    // Sector 0 is made to see only itself and 1; sector 2 (on the walk-mode list) sees 1.
    const CCase cases[] = {
        {"collision off", 0, 0, 0, {0, 1, 2}, {0, 1, 2}},
        {"visible set", 1, 0, 0, {0, 1}, {0, 1}},
        {"portal walk", 1, 0, 1, {0, 1, 2}, {0, 1, 2}},
        {"lock: current or walk-mode sets", 0, 1, 0, {0, 1, 2}, {0, 1}},
        {"lock with portal walk method", 0, 1, 1, {0, 1, 2}, {0, 1, 2}},
        {"collision and lock: the current set alone", 1, 1, 0, {0}, {0}},
    };
    for (const CCase& c : cases) {
        CFrameFixture f(MakeLCorridor());
        f.m_engine.m_document.m_renderMode = 0;
        f.Settings().m_collision = c.collision;
        f.Settings().m_lock = c.lock;
        f.Settings().m_renderMethod = c.renderMethod;
        auto& sectors = f.m_engine.m_level.m_sectors;
        sectors[0]->m_visible = {0};
        sectors[2]->m_visible = {1};
        f.View().m_walk.m_movingSectors = {-1, 2};
        if (c.collision != 0 && c.renderMethod != 1)
            sectors[0]->m_visible = {0, 1};
        if (c.lock != 0)
            sectors[0]->m_visible = {0};
        f.Frame();
        EXPECT_EQ(FrameSectorList(f.View()), c.list) << c.name;
        EXPECT_EQ(f.DrawnSectors(PrimitiveType::TriangleFan), c.drawn) << c.name;
    }
}

// A thing in sector (or none for -1) with a ghost model, in the middle of sector 0.
void AddGhostThing(CFrameFixture& f, int sector, std::vector<std::unique_ptr<C3doModel>>& models)
{
    auto thing = std::make_unique<CQzlThing>();
    thing->m_sector = sector;
    models.push_back(std::make_unique<C3doModel>("ghost", "dflt.cmp"));
    models.back()->BuildGhost(0x00FFFFFF);
    thing->m_model = models.back().get();
    f.m_engine.m_level.m_things.push_back(std::move(thing));
}

TEST(FrameRender, ThingsPerRenderModeAndCollision)
{
    struct CCase {
        const char* name;
        int renderMode;
        int collision;
        int renderMethod;
        int currentSector;
        std::vector<bool> drawable;  // things in sectors -1, 0, 1, 2
    };
    const CCase cases[] = {
        {"no current sector", 0, 1, 0, -1, {true, true, true, true}},
        {"mode 3 hides things outside sectors", 3, 0, 0, 0, {false, true, false, false}},
        {"mode 4 keeps them", 4, 0, 0, 0, {true, true, false, false}},
        {"collision: current visible set", 0, 1, 0, 0, {true, true, true, false}},
        {"collision: portal walk", 0, 1, 1, 0, {true, true, true, true}},
    };
    for (const CCase& c : cases) {
        CFrameFixture f(MakeLCorridor());
        std::vector<std::unique_ptr<C3doModel>> models;
        for (int s = -1; s <= 2; ++s)
            AddGhostThing(f, s, models);
        f.m_engine.m_document.m_renderMode = c.renderMode;
        f.Settings().m_collision = c.collision;
        f.Settings().m_renderMethod = c.renderMethod;
        f.View().m_selection.m_sector = c.currentSector;
        f.m_engine.m_level.m_sectors[0]->m_visible = {0, 1};
        f.Frame();
        const Set walked = c.renderMethod == 1 ? FrameSectorList(f.View()) : Set{};
        for (int t = 0; t < 4; ++t)
            EXPECT_EQ(ThingDrawable(f.View(), t, walked), c.drawable[static_cast<std::size_t>(t)])
                << c.name << " thing " << t;
    }

    // "3DO Distance" 0 draws no thing; otherwise the ghost in view is drawn under its placement.
    CFrameFixture f(MakeBoxRoom());
    std::vector<std::unique_ptr<C3doModel>> models;
    AddGhostThing(f, 0, models);
    models[0]->m_placement = MatrixTranslation({0.8f, 0.5f, 0.5f});
    f.m_engine.m_document.m_renderMode = 0;
    f.Settings().m_threeDoDistance = 0.0f;
    f.Frame();
    EXPECT_EQ(std::count(f.m_device.m_calls.begin(), f.m_device.m_calls.end(),
                         std::string("SetWorldTransform")),
              1);  // only the identity before the translucent list
    f.Settings().m_threeDoDistance = 1.0f;
    f.Frame();
    EXPECT_GT(std::count(f.m_device.m_calls.begin(), f.m_device.m_calls.end(),
                         std::string("SetWorldTransform")),
              1);
    EXPECT_EQ(models[0]->m_boundsValid, 1);
}

TEST(FrameRender, TranslucentPortalsAreDrawnLastFarthestFirst)
{
    CFrameFixture f(MakeLCorridor());
    f.m_engine.m_document.m_renderMode = 0;
    f.Settings().m_adjoin = 2;
    f.Settings().m_adjoinTransparent = 1;
    f.Settings().m_colorAdjoin = 0x00FFFFFF;
    f.Frame();
    const auto& calls = f.m_device.m_calls;
    const auto blendOn = std::find(calls.begin(), calls.end(), std::string("SetRenderState"));
    ASSERT_NE(blendOn, calls.end());
    EXPECT_EQ(f.m_device.m_renderStates.at(RenderState::AlphaBlend), 1u);
    // The last two draws are the portals the camera faces: z = 1 of sector 1 (farther) and then
    // x = 1 of sector 0.
    const auto& draws = f.m_device.m_draws;
    ASSERT_GE(draws.size(), 2u);
    const auto& far = draws[draws.size() - 2];
    const auto& near = draws[draws.size() - 1];
    for (const D3DLVERTEX& v : far.m_vertices) {
        EXPECT_FLOAT_EQ(v.z, 1.0f);
        EXPECT_EQ(v.color, 0x7F333333u);
    }
    for (const D3DLVERTEX& v : near.m_vertices) {
        EXPECT_FLOAT_EQ(v.x, 1.0f);
        EXPECT_EQ(v.color, 0x7F333333u);
    }
    // Before them, only opaque walls; the portals get their lit colours back after the frame.
    for (std::size_t i = 0; i + 2 < draws.size(); ++i)
        EXPECT_NE(draws[i].m_vertices[0].color, 0x7F333333u);
    for (const auto& s : f.m_engine.m_level.m_surfaces)
        for (const D3DLVERTEX& v : s->m_renderVertices)
            EXPECT_EQ(v.color, v.specular);

    // "AdjoinTransparent" off: the facing portals are drawn opaque in "ColorAdjoin", in place.
    f.Settings().m_adjoinTransparent = 0;
    f.Settings().m_colorAdjoin = 0x00102030;
    f.Frame();
    const auto adjoinColoured =
        std::count_if(f.m_device.m_draws.begin(), f.m_device.m_draws.end(),
                      [](const auto& d) { return d.m_vertices[0].color == 0xFF302010u; });
    EXPECT_EQ(adjoinColoured, 2);
}

// A clock that moves on by step at every reading.
class CSteppingClock : public Clock {
public:
    std::uint32_t Milliseconds() const override { return m_now += m_step; }
    mutable std::uint32_t m_now = 5000;
    std::uint32_t m_step = 0;
};

TEST(FrameRender, FramesPerSecondMeasuresTheDrawing)
{
    CFrameFixture f(MakeBoxRoom());
    C3dView& v = f.View();
    // The fixture's clock stands still: a frame of 0 ms keeps the last value.
    v.m_framesPerSecond = 17;
    f.Frame();
    EXPECT_EQ(v.m_framesPerSecond, 17);

    CSteppingClock clock;
    CFixtureEngine e(MakeBoxRoom());
    C3dView stepping(e.m_level, e.m_settings, e.m_document, e.m_game, e.m_host, e.m_keys, clock,
                     e.m_random, C3dView::kDocumentView, &f.m_device);
    stepping.m_skip = 0;
    stepping.m_viewport.m_renderWidth = 10;
    stepping.m_viewport.m_renderHeight = 10;
    clock.m_step = 8;
    RenderFrame(stepping, 1);
    EXPECT_EQ(stepping.m_framesPerSecond, 125);
    clock.m_step = 3;
    RenderFrame(stepping, 1);
    EXPECT_EQ(stepping.m_framesPerSecond, 333);
}

TEST(FrameRender, ZeroSizeViewDrawsNothingAndDividesByNothing)
{
    CFrameFixture f(MakeBoxRoom());
    f.View().m_viewport.m_renderWidth = 0;
    EXPECT_EQ(RenderFrame(f.View(), 1), 1);
    EXPECT_EQ(f.m_device.m_framesBegun, 0);

    EXPECT_EQ(SourceRectangle({0, 0, 50, 20}, 0, 0, 640, 480), (CFrameRect{0, 0, 640, 480}));
    EXPECT_EQ(SourceRectangle({10, 20, 50, 60}, 100, 200, 640, 480),
              (CFrameRect{64, 48, 320, 144}));
}

// The draws of two frames alike in type, vertices, texture and world transform, however they
// reached the device.
bool SameDraw(const CRecordingRenderDevice::CDrawRecord& x,
              const CRecordingRenderDevice::CDrawRecord& y)
{
    return x.m_type == y.m_type && x.m_vertices == y.m_vertices && x.m_texture == y.m_texture &&
           x.m_world == y.m_world;
}

bool SameDraws(const std::vector<CRecordingRenderDevice::CDrawRecord>& a,
               const std::vector<CRecordingRenderDevice::CDrawRecord>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), SameDraw);
}

// The same draws as SameDraws compares them, in any order: the frame groups the opaque draws
// from its sector buffers by texture.
bool SameDrawsInAnyOrder(const std::vector<CRecordingRenderDevice::CDrawRecord>& a,
                         const std::vector<CRecordingRenderDevice::CDrawRecord>& b)
{
    if (a.size() != b.size())
        return false;
    std::vector<bool> taken(b.size(), false);
    for (const auto& x : a) {
        bool found = false;
        for (std::size_t i = 0; i < b.size() && !found; ++i) {
            found = !taken[i] && SameDraw(x, b[i]);
            if (found)
                taken[i] = true;
        }
        if (!found)
            return false;
    }
    return true;
}

int BufferDraws(const CRecordingRenderDevice& device)
{
    return static_cast<int>(std::count_if(device.m_draws.begin(), device.m_draws.end(),
                                          [](const auto& d) { return d.m_buffer != kNoBuffer; }));
}

TEST(FrameRender, SectorBuffersAreUploadedOnceAndAgainOnlyAfterAChange)
{
    CRecordingRenderDevice other;  // outlives the engine that ends up drawing on it
    CFrameFixture f(MakeTwoJoinedRooms());
    C3dView& v = f.View();
    CRecordingRenderDevice& d = f.m_device;
    f.m_engine.m_document.m_renderMode = 0;
    const auto uploads = [&](int sector) {
        return d.FindBuffer(v.m_sectorBuffers.m_entries[static_cast<std::size_t>(sector)].m_buffer)
            ->m_uploadCount;
    };

    f.Frame();
    ASSERT_EQ(d.m_buffers.size(), 2u);
    EXPECT_EQ(uploads(0), 1);
    EXPECT_EQ(uploads(1), 1);
    EXPECT_GT(BufferDraws(d), 0);
    f.Frame();
    EXPECT_EQ(d.BufferUploadCount(), 2);
    EXPECT_EQ(std::count(d.m_calls.begin(), d.m_calls.end(), "CreateVertexBuffer"), 0);

    // A rebuilt sector is uploaded again, the other one is not; so is a recoloured one.
    RebuildSector(v, 1);
    f.Frame();
    EXPECT_EQ(uploads(0), 1);
    EXPECT_EQ(uploads(1), 2);
    RefreshSector(v, 0);
    f.Frame();
    EXPECT_EQ(uploads(0), 2);
    EXPECT_EQ(uploads(1), 2);

    // Wireframe frames need no buffers; the change waits for the next solid frame.
    RebuildSector(v, 0);
    f.m_engine.m_document.m_renderMode = 2;
    f.Frame();
    EXPECT_EQ(uploads(0), 2);
    EXPECT_EQ(BufferDraws(d), 0);
    f.m_engine.m_document.m_renderMode = 0;
    f.Frame();
    EXPECT_EQ(uploads(0), 3);

    // Clearing the render objects releases every buffer; the next frame makes new ones.
    v.ClearRenderObjects();
    EXPECT_EQ(d.LiveBufferCount(), 0);
    f.Frame();
    EXPECT_EQ(d.LiveBufferCount(), 2);

    // The buffer of a sector past the level's end is released.
    f.m_engine.m_level.m_sectors.pop_back();
    f.Frame();
    EXPECT_EQ(d.LiveBufferCount(), 1);
    EXPECT_EQ(d.m_misuseCount, 0);

    // Another device gets buffers of its own; the engine's end releases them there.
    v.m_device = &other;
    f.Frame();
    EXPECT_EQ(other.LiveBufferCount(), 1);
    {
        CRecordingRenderDevice device;
        {
            CFixtureEngine e(MakeBoxRoom());
            ReadyToDraw(e.m_view, device);
            RenderFrame(e.m_view, 1);
            EXPECT_EQ(device.LiveBufferCount(), 1);
        }
        EXPECT_EQ(device.LiveBufferCount(), 0);
        EXPECT_EQ(device.m_misuseCount, 0);
    }
}

TEST(FrameRender, BufferedFramesDrawWhatStreamedFramesDraw)
{
    // Each edit comes after a first frame has filled the buffers; the frame after it must draw
    // the same as a device that keeps no buffers, and as one that refuses every upload.
    struct CCase {
        const char* name;
        std::function<void(CFrameFixture&)> edit;
    };
    const auto surfaceOf = [](CFrameFixture& f, int sector, EBoxSide side) -> CQzlSurface& {
        auto& level = f.m_engine.m_level;
        return *level.m_surfaces[static_cast<std::size_t>(BoxSurface(level, sector, side))];
    };
    const CCase cases[] = {
        {"nothing changed", [](CFrameFixture&) {}},
        {"a corner moved and its sector rebuilt",
         [&](CFrameFixture& f) {
             const int corner = surfaceOf(f, 1, kBoxXHigh).m_vertices[0].m_worldVertex;
             f.m_engine.m_level.m_worldVertices[static_cast<std::size_t>(corner)].y += 0.25f;
             RebuildSector(f.View(), 1);
         }},
        {"the light changed and the sector recoloured",
         [](CFrameFixture& f) {
             f.m_engine.m_level.m_sectors[0]->m_extraLight = -0.5f;
             RefreshSector(f.View(), 0);
         }},
        {"one surface refilled",
         [&](CFrameFixture& f) {
             surfaceOf(f, 0, kBoxZHigh).m_vertices[0].m_u += 64.0f;
             RebuildSurfaceVertices(f.View(), 0, BoxSurface(f.m_engine.m_level, 0, kBoxZHigh),
                                    false);
         }},
        {"a surface taken off its sector without a rebuild",
         [](CFrameFixture& f) {
             auto& list = f.m_engine.m_level.m_sectors[0]->m_surfaces;
             list.erase(list.begin());
         }},
        {"the level rebuilt",
         [](CFrameFixture& f) {
             f.m_engine.m_level.m_worldVertices[0].x -= 0.25f;
             RebuildAll(f.View(), false);
         }},
        {"walk mode over a sky wall",
         [&](CFrameFixture& f) {
             surfaceOf(f, 0, kBoxZHigh).m_surfaceFlags |= 0x200;
             f.View().m_walk.m_on = 1;
         }},
        {"translucent portals",
         [](CFrameFixture& f) {
             f.Settings().m_adjoin = 2;
             f.Settings().m_adjoinTransparent = 1;
         }},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.name);
        CFrameFixture buffered(MakeTwoJoinedRooms());
        CFrameFixture streamed(MakeTwoJoinedRooms());
        CFrameFixture refused(MakeTwoJoinedRooms());
        streamed.m_device.m_failCreateBuffer = true;
        refused.m_device.m_failUploadBuffer = true;
        for (CFrameFixture* f : {&buffered, &streamed, &refused}) {
            f->m_engine.m_document.m_renderMode = 0;
            f->Frame();
        }
        const auto before = streamed.m_device.m_draws;
        for (CFrameFixture* f : {&buffered, &streamed, &refused}) {
            c.edit(*f);
            f->Frame();
        }
        EXPECT_GT(BufferDraws(buffered.m_device), 0);
        EXPECT_EQ(BufferDraws(streamed.m_device), 0);
        EXPECT_EQ(BufferDraws(refused.m_device), 0);
        EXPECT_TRUE(SameDrawsInAnyOrder(buffered.m_device.m_draws, streamed.m_device.m_draws));
        EXPECT_TRUE(SameDraws(refused.m_device.m_draws, streamed.m_device.m_draws));
        if (c.name != std::string("nothing changed")) {
            EXPECT_FALSE(SameDraws(before, streamed.m_device.m_draws));
        }
        EXPECT_EQ(buffered.m_device.m_misuseCount, 0);
    }
}

TEST(FrameRender, SkyCoordinatesInWalkMode)
{
    CFixtureEngine e(MakeBoxRoom());
    C3dView& v = e.m_view;
    v.m_camera.m_position = {0.0f, 0.0f, 0.0f};
    CQzlSurface s;
    s.m_normal = {0.0f, 0.0f, -1.0f};  // turned onto +z: no rotation
    s.m_surfaceFlags = 0x200;
    s.m_renderVertices = {MakeLitVertex({1.0f, 2.0f, 5.0f}, 0, 0, 9, 9),
                          MakeLitVertex({1.0f, 2.0f, 0.0f}, 0, 0, 9, 9)};
    SkyTextureCoordinates(v, s, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(s.m_renderVertices[0].tu, -0.2f);
    EXPECT_FLOAT_EQ(s.m_renderVertices[0].tv, -0.4f);
    // A vertex in the camera's plane stays finite.
    EXPECT_TRUE(std::isfinite(s.m_renderVertices[1].tu));
    EXPECT_TRUE(std::isfinite(s.m_renderVertices[1].tv));

    // "Sky (Ceiling)" divides by a tenth of the header's ceiling-sky Z, and scrolls with the walk
    // clock; a ceiling-sky Z of 0 stays finite too.
    s.m_surfaceFlags = 0x400;
    e.m_level.m_header.m_ceilingSkyZ = 20.0f;
    v.m_walk.m_animationClock = 4.0f;
    SkyTextureCoordinates(v, s, 0.5f, 0.0f);
    EXPECT_FLOAT_EQ(s.m_renderVertices[0].tu, 0.5f - 0.5f);
    EXPECT_FLOAT_EQ(s.m_renderVertices[0].tv, -1.0f);
    e.m_level.m_header.m_ceilingSkyZ = 0.0f;
    SkyTextureCoordinates(v, s, 0.0f, 0.0f);
    EXPECT_TRUE(std::isfinite(s.m_renderVertices[0].tu));

    // The rotation of +z onto the opposite of a normal.
    const D3DMATRIX r = MatrixRotationBetween({0.0f, 0.0f, 1.0f}, {0.0f, -1.0f, 0.0f});
    const CVector3 turned = TransformPoint({0.0f, 0.0f, 1.0f}, r);
    EXPECT_NEAR(turned.x, 0.0f, 1e-6f);
    EXPECT_NEAR(std::fabs(turned.y), 1.0f, 1e-6f);
    EXPECT_EQ(MatrixRotationBetween({0.0f, 0.0f, 1.0f}, {0.0f, 0.0f, -1.0f}), MatrixIdentity());
}

}  // namespace

TEST(FrameRender, ScrollingWallsScrollWhenFacingAwayButOnlyInView)
{
    // The box's wall x = 0 faces into the box, away from a camera outside it at x = -2.
    struct CCase {
        const char* name;
        CVector3 forward;
        float moved;
    };
    const CCase cases[] = {
        {"looking at it", {1.0f, 0.0f, 0.0f}, 0.5f},
        {"looking away", {-1.0f, 0.0f, 0.0f}, 0.0f},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.name);
        CFrameFixture f(MakeBoxRoom());
        f.m_engine.m_document.m_renderMode = 0;
        CQzlSections& level = f.m_engine.m_level;
        CQzlSurface& wall =
            *level.m_surfaces[static_cast<std::size_t>(BoxSurface(level, 0, kBoxXLow))];
        wall.m_scrollU = 0.5f;
        SetCameraAxes(f.View(), c.forward.x, c.forward.y, c.forward.z, 0.0f, 1.0f, 0.0f);
        SetCameraPosition(f.View(), -2.0f, 0.5f, 0.5f);
        f.Frame();  // fills the buffers
        const float before = wall.m_renderVertices.at(0).tu;
        f.Frame();
        EXPECT_FLOAT_EQ(wall.m_renderVertices.at(0).tu - before, c.moved);
    }
}
