// Dialog previews on a preview engine over the synthetic game: how a model's box is fitted into
// the preview (also a flat model and a point), the one model the slot holds, the turning model the
// frame routine draws, the material quad, and a material written as a BMP file.

#include "engine/Preview.h"

#include "SyntheticGame.h"
#include "engine/3doModel.h"
#include "engine/C3dView.h"
#include "engine/Camera.h"
#include "engine/DecodeMaterial.h"
#include "engine/FrameRender.h"
#include "engine/Texture.h"
#include "engine/TextureCache.h"
#include "engine/ThingModels.h"
#include "framework/FileIO.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"
#include "resources/TreeObject.h"
#include "support/FixtureLevels.h"
#include "support/RecordingRenderDevice.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

void ExpectNear(const CVector3& actual, const CVector3& expected, const char* what)
{
    SCOPED_TRACE(what);
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
    EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

void ExpectMatrixNear(const D3DMATRIX& actual, const D3DMATRIX& expected)
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(actual.m[r][c], expected.m[r][c], 1e-5f) << "[" << r << "][" << c << "]";
}

std::uint32_t Le32(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return static_cast<std::uint32_t>(bytes.at(at)) |
           static_cast<std::uint32_t>(bytes.at(at + 1)) << 8 |
           static_cast<std::uint32_t>(bytes.at(at + 2)) << 16 |
           static_cast<std::uint32_t>(bytes.at(at + 3)) << 24;
}

std::uint16_t Le16(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(bytes.at(at) | bytes.at(at + 1) << 8);
}

// A preview engine over a box room and the synthetic Korvath game (or no game), drawing on a
// recording device into a preview window of 200 x 150 pixels.
struct CPreviewEngine {
    explicit CPreviewEngine(bool withGame = true) : m_synthetic(MakeSyntheticGame(0))
    {
        if (withGame)
            m_engine.m_game = std::move(m_synthetic->m_resources);
        m_view.m_mode = C3dView::kPreview;
        m_view.m_device = &m_device;
        m_view.m_textureCache = std::make_unique<CTextureCache>(&m_device);
        m_view.m_skip = 0;
        m_view.m_viewport.m_viewRect = {0, 0, 200, 150};
        m_clock.m_now = 100000;
    }

    // Adds a text 3DO model to the level's own files.
    void AddLevelModel(const std::string& name, const std::string& text)
    {
        m_level.m_levelFiles.m_entries.push_back(std::make_unique<CTreeObject>(
            name, std::vector<std::uint8_t>(text.begin(), text.end()), 0));
    }

    CRecordingRenderDevice m_device;  // outlives the engine, which releases its textures on it
    std::unique_ptr<CSyntheticGame> m_synthetic;  // its archives, which the game reads
    CFixtureEngine m_engine{MakeBoxRoom()};
    C3dView& m_view = m_engine.m_view;
    CQzlSections& m_level = m_engine.m_level;
    CSettings& m_settings = m_engine.m_settings;
    CScriptedClock& m_clock = m_engine.m_clock;
};

TEST(Preview, FitScalesTheBoxIntoThePreviewWithFiniteScalesOnEveryAxis)
{
    struct Case {
        const char* m_what;
        CBoundingBox m_box;
        int m_fitPerAxis;
        CVector3 m_scale;
        CVector3 m_camera;
    };
    const Case cases[] = {
        // Width w = 2 along x is the largest extent: 0.8 / w along x and z, 1 / w along y; the
        // camera keeps x and y of the per-axis fit and comes 0.3 nearer.
        {"keep proportions, wide",
         {{-1.0f, 0.0f, 0.0f}, {1.0f, 1.0f, 0.5f}},
         0,
         {0.4f, 0.5f, 0.4f},
         {0.0f, 0.5f, 0.5f - 1.5f + 0.3f}},
        {"per axis, wide",
         {{-1.0f, 0.0f, 0.0f}, {1.0f, 1.0f, 0.5f}},
         1,
         {0.5f, 1.0f, 2.0f},
         {0.0f, 0.5f, 0.5f - 1.5f}},
        // Tall along y: y decides the common scale.
        {"keep proportions, tall",
         {{0.0f, 0.0f, 0.0f}, {1.0f, 4.0f, 2.0f}},
         0,
         {0.2f, 0.25f, 0.2f},
         {0.5f, 0.5f, 0.5f - 1.2f}},
        // A flat model (no height): the flat axis takes the largest extent.
        {"flat, per axis",
         {{-1.0f, 0.0f, -0.5f}, {1.0f, 0.0f, 0.5f}},
         1,
         {0.5f, 0.5f, 1.0f},
         {0.0f, 0.0f, -1.5f}},
        {"flat, keep proportions",
         {{-1.0f, 0.0f, -0.5f}, {1.0f, 0.0f, 0.5f}},
         0,
         {0.4f, 0.5f, 0.4f},
         {0.0f, 0.0f, -1.2f}},
        // A point: scale 1 on every axis.
        {"point",
         {{3.0f, 4.0f, 5.0f}, {3.0f, 4.0f, 5.0f}},
         1,
         {1.0f, 1.0f, 1.0f},
         {3.0f, 4.0f, 3.5f}},
        {"point, keep proportions",
         {{3.0f, 4.0f, 5.0f}, {3.0f, 4.0f, 5.0f}},
         0,
         {0.8f, 1.0f, 0.8f},
         {3.0f, 4.0f, 3.8f}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.m_what);
        const CPreviewFit fit = FitPreview(c.m_box, c.m_fitPerAxis);
        ExpectNear(fit.m_scale, c.m_scale, "scale");
        ExpectNear(fit.m_camera, c.m_camera, "camera");
    }
}

TEST(Preview, ModelPreviewFitsTheModelTurnsItAndLeavesItsBoxInTheSelectionBox)
{
    CPreviewEngine e;
    C3dView& v = e.m_view;
    v.m_drag.m_scrollH = 7;
    v.m_drag.m_scrollV = 9;

    // lamp.3do is a box of half sizes 0.02, 0.02, 0.08 in the file's axes (z up): in render space
    // 0.04 wide, 0.16 high, 0.04 deep, centred on the origin.
    ASSERT_TRUE(RenderModelPreview(v, "lamp.3do", "dflt.cmp", 0));
    ASSERT_NE(v.m_previewModel, nullptr);
    const C3doModel& model = *v.m_previewModel;
    EXPECT_EQ(model.m_fileName, "lamp.3do");
    ExpectNear(v.m_levelBox.min, {-0.02f, -0.08f, -0.02f}, "box min");
    ExpectNear(v.m_levelBox.max, {0.02f, 0.08f, 0.02f}, "box max");
    EXPECT_EQ(v.m_drag.m_scrollH, 0);
    EXPECT_EQ(v.m_drag.m_scrollV, 0);
    // Its height 0.16 decides: 1 / 0.16 along y, 0.8 of that along x and z.
    ExpectMatrixNear(model.m_placement, MatrixScale(5.0f, 6.25f, 5.0f));
    ExpectMatrixNear(model.m_spinPlacement, model.m_placement);
    ExpectMatrixNear(model.m_stepRotation, MatrixRotationYawPitchRoll(0.2f, 0.0f, 0.0f));
    EXPECT_EQ(model.m_boundsValid, 0);
    // The model's faces have their material through the colour map.
    ASSERT_FALSE(model.m_meshes.empty());
    ASSERT_FALSE(model.m_meshes[0]->m_faceTextures.empty());
    ASSERT_NE(model.m_meshes[0]->m_faceTextures[0], nullptr);
    EXPECT_EQ(model.m_meshes[0]->m_faceTextures[0]->m_material, "lamp.mat");

    // The device is set up for the window, the camera 1.2 in front of the model looking along +z.
    EXPECT_EQ(e.m_device.m_renderWidth, 200);
    EXPECT_EQ(e.m_device.m_renderHeight, 150);
    EXPECT_EQ(v.m_viewport.m_renderWidth, 200);
    ExpectNear(GetCameraPosition(v), {0.0f, 0.0f, -1.2f}, "camera");
    CVector3 forward;
    CVector3 up;
    GetCameraAxes(v, forward, up);
    ExpectNear(forward, {0.0f, 0.0f, 1.0f}, "forward");
    ExpectNear(up, {0.0f, 1.0f, 0.0f}, "up");

    // Unforced frames of a preview draw the model under its current matrix and turn it one step
    // per drawn frame; a frame the cap skips does not turn it.
    e.m_settings.m_frameRate = 20;
    ASSERT_EQ(RenderFrame(v, 0), 1);
    ASSERT_FALSE(e.m_device.m_draws.empty());
    ExpectMatrixNear(e.m_device.m_draws.front().m_world, model.m_placement);
    const D3DMATRIX oneStep = MatrixMultiply(model.m_stepRotation, model.m_placement);
    ExpectMatrixNear(model.m_spinPlacement, oneStep);
    e.m_clock.Advance(10);
    ASSERT_EQ(RenderFrame(v, 0), 1);
    ExpectMatrixNear(model.m_spinPlacement, oneStep);
    e.m_clock.Advance(40);
    ASSERT_EQ(RenderFrame(v, 0), 1);
    ExpectMatrixNear(model.m_spinPlacement, MatrixMultiply(model.m_stepRotation, oneStep));
    EXPECT_EQ(e.m_device.m_misuseCount, 0);
}

TEST(Preview, TheSlotHoldsOneModelAndEachPreviewClearsTheOldOnesObjects)
{
    CPreviewEngine e;
    C3dView& v = e.m_view;
    ASSERT_TRUE(RenderModelPreview(v, "crate.3do", "dflt.cmp", 1));
    ASSERT_NE(v.m_previewModel, nullptr);
    ASSERT_EQ(v.m_textureCache->GetTextures().size(), 1u);
    const TextureId crateTexture = v.m_textureCache->GetTextures()[0]->m_surface;

    ASSERT_TRUE(RenderModelPreview(v, "lamp.3do", "dflt.cmp", 1));
    ASSERT_NE(v.m_previewModel, nullptr);
    EXPECT_EQ(v.m_previewModel->m_fileName, "lamp.3do");
    EXPECT_TRUE(v.m_thingModels.empty());
    // The crate's texture went with its model; only the lamp's is held.
    ASSERT_EQ(v.m_textureCache->GetTextures().size(), 1u);
    EXPECT_EQ(v.m_textureCache->GetTextures()[0]->m_material, "lamp.mat");
    ASSERT_NE(e.m_device.FindTexture(crateTexture), nullptr);
    EXPECT_TRUE(e.m_device.FindTexture(crateTexture)->m_released);
    EXPECT_EQ(e.m_device.LiveTextureCount(), 1);

    // A material preview replaces the model as well, and a model found nowhere leaves the slot
    // empty and the selection box a point at the origin.
    RenderMaterialPreview(v, "brick.mat", "dflt.cmp");
    ASSERT_NE(v.m_previewModel, nullptr);
    EXPECT_EQ(v.m_previewModel->m_fileName, "brick.mat");
    EXPECT_FALSE(RenderModelPreview(v, "nosuch.3do", "dflt.cmp", 0));
    EXPECT_EQ(v.m_previewModel, nullptr);
    ExpectNear(v.m_levelBox.min, {}, "box min");
    ExpectNear(v.m_levelBox.max, {}, "box max");
    EXPECT_EQ(e.m_device.LiveTextureCount(), 0);
    ASSERT_EQ(RenderFrame(v, 1), 1);
    EXPECT_TRUE(e.m_device.m_draws.empty());
    EXPECT_EQ(e.m_device.m_misuseCount, 0);
}

TEST(Preview, AFlatModelPreviewsAtAFiniteScale)
{
    CPreviewEngine e;
    // A panel without thickness: half sizes 0.5 x 0.25 in the file's x and y, 0 in z (render y).
    e.AddLevelModel("panel.3do", MakeSynthetic3do("panel", "brick.mat", 64, 32, 0.5f, 0.25f, 0.0f));
    C3dView& v = e.m_view;
    for (const int fitPerAxis : {0, 1}) {
        SCOPED_TRACE(fitPerAxis);
        ASSERT_TRUE(RenderModelPreview(v, "panel.3do", "dflt.cmp", fitPerAxis));
        ASSERT_NE(v.m_previewModel, nullptr);
        EXPECT_FLOAT_EQ(v.m_levelBox.max.y - v.m_levelBox.min.y, 0.0f);
        const D3DMATRIX& m = v.m_previewModel->m_placement;
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                EXPECT_TRUE(std::isfinite(m.m[r][c])) << "[" << r << "][" << c << "]";
        // y takes the largest extent, the width 1.
        EXPECT_NEAR(m.m[1][1], 1.0f, 1e-5f);
        EXPECT_TRUE(std::isfinite(GetCameraPosition(v).y));

        e.m_device.m_draws.clear();
        ASSERT_EQ(RenderFrame(v, 1), 1);
        ASSERT_FALSE(e.m_device.m_draws.empty());
        for (const auto& draw : e.m_device.m_draws)
            for (const D3DLVERTEX& vertex : draw.m_vertices)
                EXPECT_TRUE(std::isfinite(vertex.x) && std::isfinite(vertex.y) &&
                            std::isfinite(vertex.z));
    }
}

TEST(Preview, MaterialPreviewShowsTheMaterialOnAQuadFacingTheCamera)
{
    CPreviewEngine e;
    C3dView& v = e.m_view;
    ASSERT_TRUE(RenderMaterialPreview(v, "brick.mat", "dflt.cmp"));
    ASSERT_NE(v.m_previewModel, nullptr);
    const C3doModel& model = *v.m_previewModel;
    ASSERT_EQ(model.m_nodes.size(), 1u);
    ExpectMatrixNear(model.m_nodes[0]->m_transform, MatrixIdentity());
    ASSERT_NE(model.m_nodes[0]->m_mesh, nullptr);
    const C3doMesh& mesh = *model.m_nodes[0]->m_mesh;
    ASSERT_EQ(mesh.m_faces.size(), 1u);
    const C3doFace& face = mesh.m_faces[0];
    const D3DLVERTEX expected[] = {
        MakeLitVertex({-1.0f, 0.0f, 0.0f}, 0x00FFFFFFu, 0u, 0.0f, 0.0f),
        MakeLitVertex({-1.0f, 2.0f, 0.0f}, 0x00FFFFFFu, 0u, 0.0f, 1.0f),
        MakeLitVertex({1.0f, 2.0f, 0.0f}, 0x00FFFFFFu, 0u, 1.0f, 1.0f),
        MakeLitVertex({1.0f, 0.0f, 0.0f}, 0x00FFFFFFu, 0u, 1.0f, 0.0f),
    };
    ASSERT_EQ(face.m_vertices.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(face.m_vertices[i], expected[i]);
    }
    EXPECT_NEAR(mesh.m_radius, std::sqrt(5.0f), 1e-5f);
    ASSERT_EQ(mesh.m_faceTextures.size(), 1u);
    ASSERT_NE(mesh.m_faceTextures[0], nullptr);
    EXPECT_EQ(mesh.m_faceTextures[0]->m_material, "brick.mat");
    EXPECT_EQ(mesh.m_faceTextures[0]->m_width, 64);
    ExpectNear(GetCameraPosition(v), {0.0f, 1.0f, -1.8f}, "camera");
    EXPECT_EQ(e.m_device.m_renderWidth, 200);

    // The frame draws the quad, textured: its front faces the camera.
    ASSERT_EQ(RenderFrame(v, 1), 1);
    ASSERT_EQ(e.m_device.m_draws.size(), 1u);
    EXPECT_EQ(e.m_device.m_draws[0].m_type, PrimitiveType::TriangleFan);
    EXPECT_EQ(e.m_device.m_draws[0].m_texture, mesh.m_faceTextures[0]->m_surface);
    EXPECT_EQ(e.m_device.m_draws[0].m_vertices.size(), 4u);

    // Without a game the material is found nowhere: a white quad.
    CPreviewEngine bare(false);
    EXPECT_FALSE(RenderMaterialPreview(bare.m_view, "brick.mat", "dflt.cmp"));
    ASSERT_NE(bare.m_view.m_previewModel, nullptr);
    EXPECT_EQ(bare.m_view.m_previewModel->m_nodes[0]->m_mesh->m_faceTextures[0], nullptr);
}

class SaveMaterialBitmapTest : public TempFolderTest {};

TEST_F(SaveMaterialBitmapTest, WritesTheDecodedMaterialAsAn8BitBmp)
{
    CPreviewEngine e;
    const std::filesystem::path path = m_dir / "brick.bmp";
    std::string error = "stale";
    ASSERT_TRUE(SaveMaterialBitmap(e.m_view, "brick.mat", "warm.cmp", path, error)) << error;
    EXPECT_TRUE(error.empty());

    const CAssetSources sources{&e.m_engine.m_game, &e.m_level.m_levelFiles};
    const std::unique_ptr<CBitmapImage> decoded = DecodeMaterial(sources, "brick.mat", "warm.cmp");
    ASSERT_NE(decoded, nullptr);
    const std::vector<std::uint8_t> bmp = ReadFileBytes(path);
    const std::size_t width = 64;
    const std::size_t height = 32;
    ASSERT_EQ(bmp.size(), 14u + 40u + 1024u + width * height);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(Le32(bmp, 2), bmp.size());
    EXPECT_EQ(Le32(bmp, 10), 1078u);  // the pixels follow the palette
    EXPECT_EQ(Le32(bmp, 14), 40u);
    EXPECT_EQ(Le32(bmp, 18), width);
    EXPECT_EQ(Le32(bmp, 22), height);  // positive: rows bottom-up
    EXPECT_EQ(Le16(bmp, 26), 1u);
    EXPECT_EQ(Le16(bmp, 28), 8u);
    EXPECT_EQ(Le32(bmp, 30), 0u);  // uncompressed
    // The palette is the colour map's, blue-green-red.
    const BITMAPINFO& info = *decoded->GetInfo();
    for (std::size_t i = 0; i < 256; ++i) {
        EXPECT_EQ(bmp[54 + 4 * i], info.bmiColors[i].rgbBlue) << i;
        EXPECT_EQ(bmp[55 + 4 * i], info.bmiColors[i].rgbGreen) << i;
        EXPECT_EQ(bmp[56 + 4 * i], info.bmiColors[i].rgbRed) << i;
    }
    // Every pixel holds the decoded material's index, row by row as stored.
    int differing = 0;
    bool varied = false;
    for (std::size_t y = 0; y < height; ++y)
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint8_t pixel = bmp[1078 + y * width + x];
            differing += pixel != decoded->GetPixel(0, static_cast<int>(x), static_cast<int>(y));
            varied = varied || pixel != bmp[1078];
        }
    EXPECT_EQ(differing, 0);
    EXPECT_TRUE(varied);  // the bricks, not one colour
}

TEST_F(SaveMaterialBitmapTest, AFailedSaveIsReportedAndLeavesTheFileAlone)
{
    CPreviewEngine e;
    std::string error;
    // A folder that does not exist.
    EXPECT_FALSE(
        SaveMaterialBitmap(e.m_view, "brick.mat", "dflt.cmp", m_dir / "no" / "x.bmp", error));
    EXPECT_EQ(error.rfind("Cannot ", 0), 0u) << error;
    EXPECT_NE(error.find("x.bmp"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(m_dir / "no"));

    // Nothing to decode (no game, no level files): a file already there keeps its bytes.
    CPreviewEngine bare(false);
    const std::filesystem::path kept = m_dir / "kept.bmp";
    const std::vector<std::uint8_t> old = {1, 2, 3};
    WriteFileAtomic(kept, old);
    error.clear();
    EXPECT_FALSE(SaveMaterialBitmap(bare.m_view, "brick.mat", "dflt.cmp", kept, error));
    EXPECT_EQ(error,
              "Cannot write \"" + kept.string() + "\": the material \"brick.mat\" cannot be read.");
    EXPECT_EQ(ReadFileBytes(kept), old);
}

TEST(Preview, CopyFacesAppendsFacesWithTheirTextures)
{
    CTexture brick("brick.mat", "dflt.cmp");
    C3doMesh source;
    source.m_faces.resize(2);
    source.m_faces[0].m_normal = {1.0f, 0.0f, 0.0f};
    source.m_faces[0].m_vertices = {
        MakeLitVertex({1.0f, 2.0f, 3.0f}, 0xFF102030u, 0x5u, 0.25f, 0.5f),
        MakeLitVertex({4.0f, 5.0f, 6.0f}, 0xFF405060u, 0x6u, 0.75f, 1.0f),
        MakeLitVertex({7.0f, 8.0f, 9.0f}, 0xFF708090u, 0x7u, 1.0f, 0.0f)};
    source.m_faces[1].m_normal = {0.0f, -1.0f, 0.0f};
    source.m_faces[1].m_vertices = {MakeLitVertex({0.0f, 0.0f, 0.0f}, 1u, 2u, 3.0f, 4.0f)};
    source.m_faceTextures = {&brick, nullptr};

    // An empty target gets the faces; a target with a face of its own (and no texture entry for
    // it) keeps it, and the copies stay with their own textures.
    C3doMesh empty;
    empty.m_radius = 3.0f;
    C3doMesh used;
    used.m_faces.resize(1);
    used.m_faces[0].m_vertices = {MakeLitVertex({9.0f, 9.0f, 9.0f}, 0u, 0u, 0.0f, 0.0f)};
    for (C3doMesh* target : {&empty, &used}) {
        const std::size_t before = target->m_faces.size();
        source.CopyFaces(*target);
        EXPECT_EQ(target->m_radius, 0.0f);
        ASSERT_EQ(target->m_faces.size(), before + 2);
        ASSERT_EQ(target->m_faceTextures.size(), before + 2);
        for (std::size_t i = 0; i < 2; ++i) {
            SCOPED_TRACE(i);
            const C3doFace& copy = target->m_faces[before + i];
            EXPECT_EQ(copy.m_vertices, source.m_faces[i].m_vertices);
            ExpectNear(copy.m_normal, source.m_faces[i].m_normal, "normal");
            EXPECT_EQ(target->m_faceTextures[before + i], source.m_faceTextures[i]);
        }
    }
    EXPECT_EQ(used.m_faceTextures[0], nullptr);
    EXPECT_EQ(used.m_faces[0].m_vertices[0].x, 9.0f);
    EXPECT_NEAR(source.Radius(), std::sqrt(49.0f + 64.0f + 81.0f), 1e-4f);
}

}  // namespace
