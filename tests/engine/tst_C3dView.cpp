#include "engine/C3dView.h"

#include "SyntheticGame.h"
#include "engine/Texture.h"
#include "support/FixtureLevels.h"

#include <gtest/gtest.h>

namespace {

TEST(C3dView, FreshEngineHasNoSelectionAndCameraAtOrigin)
{
    CFixtureEngine f(MakeBoxRoom());
    const C3dView& v = f.m_view;

    EXPECT_EQ(v.m_selection.m_sector, -1);
    EXPECT_EQ(v.m_selection.m_surface, -1);
    EXPECT_EQ(v.m_selection.m_thing, -1);
    EXPECT_EQ(v.m_selection.m_vertex, -1);
    EXPECT_EQ(v.m_selection.m_vertexSurface, -1);
    EXPECT_TRUE(v.m_selection.m_pickedNodes.empty());
    EXPECT_TRUE(v.m_work.m_newSurfaces.empty());
    EXPECT_TRUE(v.m_work.m_newSectors.empty());
    EXPECT_TRUE(v.m_markers.empty());
    EXPECT_TRUE(v.m_thingModels.empty());
    EXPECT_EQ(v.m_clipboard.m_surface, nullptr);
    EXPECT_EQ(v.m_clipboard.m_thing, nullptr);
    ASSERT_NE(v.m_textureCache, nullptr);
    EXPECT_TRUE(v.m_textureCache->GetTextures().empty());

    EXPECT_EQ(v.m_camera.m_position, CVector3(0, 0, 0));
    EXPECT_EQ(v.m_camera.m_forwardAxis, CVector3(0, 0, 1));
    EXPECT_EQ(v.m_camera.m_upAxis, CVector3(0, 1, 0));
    EXPECT_EQ(v.m_camera.m_viewMatrix, MatrixIdentity());

    EXPECT_EQ(v.m_mode, C3dView::kDocumentView);
    EXPECT_EQ(v.m_skip, 1);  // no render device
    EXPECT_EQ(v.m_walk.m_on, 0);
    EXPECT_EQ(v.m_framesPerSecond, 0);
    EXPECT_EQ(v.m_unlink.m_material, -1);
    EXPECT_FLOAT_EQ(v.m_camera.m_farPlane, f.m_settings.m_horizonDistance);

    EXPECT_EQ(&v.GetLevel(), &f.m_level);
    EXPECT_EQ(&v.GetSettings(), &f.m_settings);
    EXPECT_EQ(&v.GetDocument(), &f.m_document);
    EXPECT_EQ(&v.GetGame(), &f.m_game);
    EXPECT_TRUE(f.m_host.m_calls.empty());
}

TEST(C3dView, DestructionFreesTheClipboardAndLeavesNoPointersInTheLevel)
{
    CQzlSections level = MakeBoxRoom();
    level.m_things.push_back(std::make_unique<CQzlThing>());
    level.m_things.push_back(std::make_unique<CQzlThing>());
    CSettings settings;
    CDocumentState document;
    const auto synthetic = MakeSyntheticGame(0);
    CRecordingEngineHost host;
    CScriptedKeyState keys;
    CScriptedClock clock;
    CScriptedRandom random;

    // A second engine on the same level (as a preview has) owns a model and a texture of its own.
    C3dView other(level, settings, document, synthetic->m_resources, host, keys, clock, random,
                  C3dView::kPreview);
    other.m_thingModels.push_back(std::make_unique<C3doModel>("lamp.3do", "dflt.cmp"));
    CTexture foreign("brick.mat", "dflt.cmp");

    auto view = std::make_unique<C3dView>(level, settings, document, synthetic->m_resources, host,
                                          keys, clock, random);
    view->m_clipboard.m_surface = std::make_unique<CQzlSurface>();
    view->m_clipboard.m_thing = std::make_unique<CQzlThing>();
    view->m_thingModels.push_back(std::make_unique<C3doModel>("crate.3do", "dflt.cmp"));
    level.m_things[0]->m_model = view->m_thingModels[0].get();
    level.m_things[0]->m_modelReady = 1;
    level.m_things[1]->m_model = other.m_thingModels[0].get();
    level.m_things[1]->m_modelReady = 1;
    const CAssetSources sources{&synthetic->m_resources, &level.m_levelFiles};
    CTexture* own = view->m_textureCache->GetTexture(sources, "dflt.mat", "dflt.cmp");
    ASSERT_NE(own, nullptr);
    level.m_surfaces[0]->m_texture = own;
    level.m_surfaces[1]->m_texture = &foreign;
    view.reset();

    // The clipboard went with the engine (the leak checker would report it otherwise); the level
    // keeps no pointer to the engine's models or textures, and those of the other engine stay.
    EXPECT_EQ(level.m_things[0]->m_model, nullptr);
    EXPECT_EQ(level.m_things[0]->m_modelReady, 0);
    EXPECT_EQ(level.m_surfaces[0]->m_texture, nullptr);
    EXPECT_EQ(level.m_things[1]->m_model, other.m_thingModels[0].get());
    EXPECT_EQ(level.m_things[1]->m_modelReady, 1);
    EXPECT_EQ(level.m_surfaces[1]->m_texture, &foreign);
}

TEST(C3dView, PreviewModeIsKept)
{
    CQzlSections level = MakeBoxRoom();
    CSettings settings;
    settings.m_horizonDistance = 42.0f;
    CDocumentState document;
    CGameResources game;
    CRecordingEngineHost host;
    CScriptedKeyState keys;
    CScriptedClock clock;
    CScriptedRandom random;
    C3dView view(level, settings, document, game, host, keys, clock, random, C3dView::kPreview);
    EXPECT_EQ(view.m_mode, C3dView::kPreview);
    EXPECT_FLOAT_EQ(view.m_camera.m_farPlane, 42.0f);
}

}  // namespace
