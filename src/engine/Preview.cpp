#include "engine/Preview.h"

#include "engine/3doLoadContext.h"
#include "engine/3doModel.h"
#include "engine/C3dView.h"
#include "engine/Camera.h"
#include "engine/DecodeMaterial.h"
#include "engine/ThingModels.h"
#include "framework/FileIO.h"
#include "framework/Settings.h"
#include "geometry/Predicates.h"
#include "level/QzlSections.h"
#include "math/LitVertex.h"
#include "math/Matrix.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <memory>
#include <utility>

namespace {

// Turn of a previewed model per frame, radians of yaw.
constexpr float kPreviewYawStep = 0.2f;

// The camera stands this far in front of the fitted model, nearer by kKeptProportionsNearer when
// the proportions are kept.
constexpr float kCameraDistance = 1.5f;
constexpr float kKeptProportionsNearer = 0.3f;
constexpr float kKeptProportionsWidth = 0.8f;

// The material quad's colour: white, alpha 0.
constexpr std::uint32_t kQuadColor = 0x00FFFFFFu;

CAssetSources EngineSources(const C3dView& view)
{
    return CAssetSources{&view.GetGame(), &view.GetLevel().m_levelFiles};
}

// The extent of an axis, 0 for one that is not a positive finite number.
float UsableExtent(float lo, float hi)
{
    const float extent = hi - lo;
    return extent > 0.0f && std::isfinite(extent) ? extent : 0.0f;
}

// The box of model as placed by its placement matrix, each axis ordered; a point at the origin
// for a model without vertices.
CBoundingBox PlacedModelBox(C3doModel& model)
{
    CBoundingBox box{{kFarDistance, kFarDistance, kFarDistance},
                     {-kFarDistance, -kFarDistance, -kFarDistance}};
    model.NodeBounds(0, box, model.m_placement);
    if (box.min.x > box.max.x)
        return {};
    return {VectorMin(box.min, box.max), VectorMax(box.min, box.max)};
}

// The camera at position, looking along +z with +y up.
void PlacePreviewCamera(C3dView& view, const CVector3& position)
{
    SetCameraAxes(view, 0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 0.0f);
    SetCameraPosition(view, position.x, position.y, position.z);
}

}  // namespace

CPreviewFit FitPreview(const CBoundingBox& box, int fitPerAxis)
{
    float extents[3] = {UsableExtent(box.min.x, box.max.x), UsableExtent(box.min.y, box.max.y),
                        UsableExtent(box.min.z, box.max.z)};
    float largest = std::max({extents[0], extents[1], extents[2]});
    if (largest == 0.0f)
        largest = 1.0f;
    for (float& extent : extents)
        if (extent == 0.0f)
            extent = largest;

    CPreviewFit fit;
    fit.m_scale = {1.0f / extents[0], 1.0f / extents[1], 1.0f / extents[2]};
    fit.m_camera = {(box.min.x + box.max.x) * fit.m_scale.x / 2.0f,
                    (box.min.y + box.max.y) * fit.m_scale.y / 2.0f,
                    (box.min.z + box.max.z) * fit.m_scale.z / 2.0f - kCameraDistance};
    if (fitPerAxis == 0) {
        const float s = std::min({fit.m_scale.x, fit.m_scale.y, fit.m_scale.z});
        fit.m_scale = {kKeptProportionsWidth * s, s, kKeptProportionsWidth * s};
        fit.m_camera.z += kKeptProportionsNearer;
    }
    return fit;
}

bool SetUpPreviewDevice(C3dView& view)
{
    const CFrameRect& rect = view.m_viewport.m_viewRect;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return false;
    ChooseRenderSize(view, width, height);
    if (view.m_device != nullptr && !view.m_device->SetRenderSize(view.m_viewport.m_renderWidth,
                                                                  view.m_viewport.m_renderHeight)) {
        view.m_viewport.m_renderWidth = 0;
        view.m_viewport.m_renderHeight = 0;
    }
    SetUpViewAndProjection(view, width, height);
    SetUpRenderStates(view);
    return true;
}

bool RenderModelPreview(C3dView& view, const std::string& modelName,
                        const std::string& colormapName, int fitPerAxis)
{
    view.ClearRenderObjects();

    C3doLoadContext context;
    context.m_game = &view.GetGame();
    context.m_level = &view.GetLevel();
    context.m_textures = view.m_textureCache.get();
    context.m_colorGhost = view.GetSettings().m_colorGhost;
    std::unique_ptr<C3doModel> model;
    try {
        model = std::make_unique<C3doModel>(context, modelName, colormapName);
    } catch (const std::exception&) {
        // A model whose files cannot be read shows as one found nowhere.
        model.reset();
    }
    if (model != nullptr && model->m_nodes.empty())
        model.reset();

    const CBoundingBox box = model != nullptr ? PlacedModelBox(*model) : CBoundingBox{};
    const CPreviewFit fit = FitPreview(box, fitPerAxis);
    view.m_levelBox = box;
    view.m_drag.m_scrollH = 0;
    view.m_drag.m_scrollV = 0;
    if (model != nullptr) {
        model->m_placement = MatrixMultiply(
            model->m_placement, MatrixScale(fit.m_scale.x, fit.m_scale.y, fit.m_scale.z));
        model->m_boundsValid = 0;
        model->m_stepRotation = MatrixRotationYawPitchRoll(kPreviewYawStep, 0.0f, 0.0f);
        model->m_spinPlacement = model->m_placement;
    }
    const bool found = model != nullptr;
    view.m_previewModel = std::move(model);

    SetUpPreviewDevice(view);
    PlacePreviewCamera(view, fit.m_camera);
    return found;
}

bool RenderMaterialPreview(C3dView& view, std::string_view material, std::string_view colormap)
{
    view.ClearRenderObjects();

    // The quad's front faces the camera, which looks along +z: its normal points along -z.
    C3doFace face;
    face.m_normal = {0.0f, 0.0f, -1.0f};
    face.m_vertices = {
        MakeLitVertex({-1.0f, 0.0f, 0.0f}, kQuadColor, 0u, 0.0f, 0.0f),
        MakeLitVertex({-1.0f, 2.0f, 0.0f}, kQuadColor, 0u, 0.0f, 1.0f),
        MakeLitVertex({1.0f, 2.0f, 0.0f}, kQuadColor, 0u, 1.0f, 1.0f),
        MakeLitVertex({1.0f, 0.0f, 0.0f}, kQuadColor, 0u, 1.0f, 0.0f),
    };
    CTexture* texture = view.m_textureCache->GetTexture(EngineSources(view), material, colormap);

    auto mesh = std::make_unique<C3doMesh>();
    mesh->m_faces.push_back(std::move(face));
    mesh->m_faceTextures.push_back(texture);
    mesh->m_radius = mesh->Radius();

    auto model = std::make_unique<C3doModel>(std::string(material), std::string(colormap));
    auto node = std::make_unique<C3doNode>();
    node->m_mesh = mesh.get();
    model->m_meshes.push_back(std::move(mesh));
    model->m_nodes.push_back(std::move(node));
    view.m_previewModel = std::move(model);

    SetUpPreviewDevice(view);
    PlacePreviewCamera(view, {0.0f, 1.0f, -1.8f});
    return texture != nullptr;
}

bool SaveMaterialBitmap(const C3dView& view, std::string_view material, std::string_view colormap,
                        const std::filesystem::path& path, std::string& error)
{
    error.clear();
    const std::unique_ptr<CBitmapImage> image =
        DecodeMaterial(EngineSources(view), material, colormap);
    if (image == nullptr || image->IsEmpty()) {
        error = "Cannot write \"" + path.string() + "\": the material \"" + std::string(material) +
                "\" cannot be read.";
        return false;
    }
    try {
        WriteFileAtomic(path, image->WriteBmp());
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
    return true;
}
