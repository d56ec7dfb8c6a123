#include "engine/3doModel.h"

#include "engine/FileBuffer.h"
#include "engine/PointMarkers.h"
#include "engine/RenderDevice.h"
#include "engine/Texture.h"
#include "framework/Exceptions.h"
#include "framework/Settings.h"
#include "framework/StringUtil.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"
#include "math/LitVertex.h"

#include <optional>

namespace {

// (p, 1) x m, the first three components.
CVector3 TransformAffine(const D3DLVERTEX& p, const D3DMATRIX& m)
{
    return {p.x * m.m[0][0] + p.y * m.m[1][0] + p.z * m.m[2][0] + m.m[3][0],
            p.x * m.m[0][1] + p.y * m.m[1][1] + p.z * m.m[2][1] + m.m[3][1],
            p.x * m.m[0][2] + p.y * m.m[1][2] + p.z * m.m[2][2] + m.m[3][2]};
}

// n x the upper three rows of m.
CVector3 TransformNormal(const CVector3& n, const D3DMATRIX& m)
{
    return {n.x * m.m[0][0] + n.y * m.m[1][0] + n.z * m.m[2][0],
            n.x * m.m[0][1] + n.y * m.m[1][1] + n.z * m.m[2][1],
            n.x * m.m[0][2] + n.y * m.m[1][2] + n.z * m.m[2][2]};
}

// One step of a walk over the hierarchy: a node and the transform its parent left.
struct CWalkItem {
    int m_node;
    D3DMATRIX m_parent;
};

}  // namespace

CAssetSources C3doLoadContext::Sources() const
{
    return CAssetSources{m_game, m_level != nullptr ? &m_level->m_levelFiles : nullptr};
}

C3doModel::C3doModel(std::string fileName, std::string colormapName)
    : m_fileName(std::move(fileName)), m_colormapName(std::move(colormapName))
{}

C3doModel::C3doModel(const C3doLoadContext& context, std::string fileName, std::string colormapName)
    : C3doModel(std::move(fileName), std::move(colormapName))
{
    if (m_fileName.empty() || EqualsNoCase(m_fileName, "ghost")) {
        BuildGhost(context.m_colorGhost);
        return;
    }

    std::optional<std::vector<std::uint8_t>> bytes;
    const CAssetSources sources = context.Sources();
    if (context.m_game != nullptr)
        bytes = sources.ReadFromGame(context.m_game->m_tree3do, m_fileName);
    if (!bytes && context.m_level != nullptr) {
        for (const auto& entry : context.m_level->m_levelFiles.m_entries) {
            if (EqualsNoCase(entry->m_name, m_fileName)) {
                if (entry->m_data)
                    bytes = *entry->m_data;
                break;
            }
        }
    }
    if (!bytes)
        return;

    try {
        CFileBuffer buffer(*bytes, m_fileName);
        Read3do(context, buffer);
    } catch (const CArchiveException& e) {
        m_loadError = e.what();
        BuildGhost(context.m_colorGhost);
    }
}

void C3doModel::BuildGhost(std::uint32_t colorGhost)
{
    m_nodes.clear();
    m_meshes.clear();
    const std::uint32_t color = ColorToVertex(colorGhost);
    const auto& corners = CubeCorners();
    auto mesh = std::make_unique<C3doMesh>();
    for (std::size_t f = 0; f < 6; ++f) {
        C3doFace face;
        for (const std::size_t at : {6 * f, 6 * f + 1, 6 * f + 2, 6 * f + 5}) {
            const D3DLVERTEX& c = corners[kCubeIndices[at]];
            face.m_vertices.push_back(MakeLitVertex(CVector3(c.x * 0.01f, c.y * 0.01f, c.z * 0.01f),
                                                    color, 0u, 0.0f, 0.0f));
        }
        face.ComputeNormal();
        mesh->m_faceTextures.push_back(nullptr);
        mesh->m_faces.push_back(std::move(face));
    }
    auto node = std::make_unique<C3doNode>();
    node->m_mesh = mesh.get();
    m_meshes.push_back(std::move(mesh));
    m_nodes.push_back(std::move(node));
}

// Visits every node of the subtree at `node` once, child subtrees before siblings, with the
// node's transform: the local matrix of the current frame applied before the parent's transform.
// The sibling takes the parent's transform. A hierarchy with cycles or shared children ends.
template <class Visit>
void C3doModel::WalkNodes(int node, const D3DMATRIX& parent, Visit visit)
{
    std::vector<bool> entered(m_nodes.size(), false);
    std::vector<CWalkItem> stack{{node, parent}};
    while (!stack.empty()) {
        const CWalkItem item = stack.back();
        stack.pop_back();
        if (item.m_node < 0 || static_cast<std::size_t>(item.m_node) >= m_nodes.size() ||
            entered[static_cast<std::size_t>(item.m_node)])
            continue;
        entered[static_cast<std::size_t>(item.m_node)] = true;
        C3doNode& n = *m_nodes[static_cast<std::size_t>(item.m_node)];

        D3DMATRIX m = item.m_parent;
        if (m_currentFrame >= 0 &&
            static_cast<std::size_t>(m_currentFrame) < n.m_localMatrices.size())
            m = MatrixMultiply(n.m_localMatrices[static_cast<std::size_t>(m_currentFrame)],
                               item.m_parent);
        n.m_transform = m;
        visit(n, m);
        if (n.m_sibling != -1)
            stack.push_back({n.m_sibling, item.m_parent});
        if (n.m_child != -1)
            stack.push_back({n.m_child, m});
    }
}

void C3doModel::NodeBounds(int node, CBoundingBox& box, const D3DMATRIX& parent)
{
    WalkNodes(node, parent, [&box](const C3doNode& n, const D3DMATRIX& m) {
        if (n.m_mesh == nullptr)
            return;
        for (const C3doFace& face : n.m_mesh->m_faces) {
            for (const D3DLVERTEX& v : face.m_vertices) {
                const CVector3 p = TransformAffine(v, m);
                box.min = VectorMin(box.min, p);
                box.max = VectorMax(box.max, p);
            }
        }
    });
}

void C3doModel::DrawNode(RenderDevice& device, float cx, float cy, float cz, int node,
                         const D3DMATRIX& world)
{
    const CVector3 camera(cx, cy, cz);
    WalkNodes(node, world, [&device, &camera](const C3doNode& n, const D3DMATRIX& w) {
        if (n.m_mesh != nullptr) {
            const C3doMesh& mesh = *n.m_mesh;
            bool transformSet = false;
            for (std::size_t f = 0; f < mesh.m_faces.size(); ++f) {
                const C3doFace& face = mesh.m_faces[f];
                if (face.m_vertices.empty())
                    continue;
                // Faces turned away from the camera are not drawn; edge-on faces are.
                const CVector3 p = TransformAffine(face.m_vertices.front(), w);
                const CVector3 normal = TransformNormal(face.m_normal, w);
                const CVector3 toCamera = camera - p;
                const float dot =
                    toCamera.x * normal.x + toCamera.y * normal.y + toCamera.z * normal.z;
                if (!(dot >= 0.0f))
                    continue;
                if (!transformSet) {
                    device.SetWorldTransform(w);
                    transformSet = true;
                }
                const CTexture* texture =
                    f < mesh.m_faceTextures.size() ? mesh.m_faceTextures[f] : nullptr;
                device.DrawPrimitive(PrimitiveType::TriangleFan, face.m_vertices,
                                     texture != nullptr ? texture->m_surface : kNoTexture);
            }
        }
    });
}
