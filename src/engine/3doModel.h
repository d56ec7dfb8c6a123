#pragma once
// The render model of one thing of the level (and of the model previews of dialogs): the
// hierarchy nodes of a 3DO model file with their meshes, posed by the keyframes of the thing's
// puppet, placed in the world.
//
// Loading reads the model's text from the game archive (index of the folder "3do") or else from
// the level's own files. The name "ghost" (any case) or an empty name gives the ghost model, a
// small cube in the "ColorGhost" colour; so does a model file that is broken (its text ends before
// its hierarchy is complete), with the reason kept in m_loadError. A model that is found nowhere
// has no nodes: it draws nothing and its bounds stay empty.
//
// Meshes belong to the model; nodes point at them, so a mesh named by several nodes is one mesh,
// freed once. The walks over the hierarchy (NodeBounds, DrawNode) keep their own stack and enter
// each node at most once per walk: a hierarchy whose child or sibling links form a cycle ends.

#include "engine/3doLoadContext.h"
#include "engine/3doMesh.h"
#include "engine/3doNode.h"
#include "engine/KeyNodeList.h"
#include "math/BoundingBox.h"
#include "math/Matrix.h"
#include "math/Vector3.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CFileBuffer;
class RenderDevice;

class C3doModel {
public:
    // Loads the model of fileName (see above). colormapName is the colour map the model's
    // materials are decoded with.
    C3doModel(const C3doLoadContext& context, std::string fileName, std::string colormapName);
    // The same fields, no file read, no node: for clones and previews.
    C3doModel(std::string fileName, std::string colormapName);

    C3doModel(const C3doModel&) = delete;
    C3doModel& operator=(const C3doModel&) = delete;
    C3doModel(C3doModel&&) = default;
    C3doModel& operator=(C3doModel&&) = default;
    ~C3doModel() = default;

    // Parses a 3DO text into the nodes and meshes of this model (geoset 0 only) and then poses
    // it from its puppet. Throws CArchiveException naming the buffer's file when the text ends
    // before the hierarchy is complete; the model is then left without nodes.
    void Read3do(const C3doLoadContext& context, CFileBuffer& buffer);

    // The keyframes of the model's puppet: the first template of the level whose model is this
    // model (or its base template, one level up) names the puppet under "puppet="; the puppet
    // names the keyframe file. Null when any step finds nothing. A keyframe file that cannot be
    // read throws, as ReadKey does.
    std::unique_ptr<CKeyNodeList> ReadPuppet(const C3doLoadContext& context) const;

    // Parses a keyframe text. Throws CArchiveException naming the buffer's file when the text ends
    // before its nodes are complete, or when its frame count is negative or above kMaxFrames.
    static std::unique_ptr<CKeyNodeList> ReadKey(CFileBuffer& buffer);

    // The keyframe file name in a puppet text: the first ".key" with the text before it back to
    // the nearest blank, tab or line end. Empty when the text has no ".key".
    static std::string FindKeyName(std::string_view puppetText);

    // Gives every node named by a key node of the model's puppet one local matrix per frame, and
    // takes the key's frame count and frame time. Every miss, and a key that cannot be read or
    // would need more than kMaxPoseMatrices matrices, leaves the model as it is.
    void PoseFromPuppet(const C3doLoadContext& context);

    // Applies list to the nodes (see PoseFromPuppet). false, with nothing changed, when the key
    // would need more than kMaxPoseMatrices matrices.
    bool ApplyKey(const CKeyNodeList& list);

    // Grows box by the subtree of node (the node, its children and their siblings) placed by
    // parent, and stores each node's world transform in it.
    void NodeBounds(int node, CBoundingBox& box, const D3DMATRIX& parent);

    // Draws the subtree of node: world is the transform the node's parent left (the model's
    // placement, or spinning placement, for the root). Each node's transform is its local matrix
    // of the current frame applied before its parent's; a sibling takes its parent's transform,
    // not its elder sibling's. For each node with a mesh the device gets the node's world
    // transform and then one triangle fan per face whose front side faces the camera (c).
    void DrawNode(RenderDevice& device, float cx, float cy, float cz, int node,
                  const D3DMATRIX& world);

    // Replaces the nodes and meshes with the ghost cube: one node without local matrices whose
    // mesh has six quadrilateral faces of half-edge 0.01 in colorGhost (0x00BBGGRR).
    void BuildGhost(std::uint32_t colorGhost);

private:
    template <class Visit>
    void WalkNodes(int node, const D3DMATRIX& parent, Visit visit);

public:
    // Keyframe files giving more frames, or models needing more matrices in all, are refused.
    static constexpr std::int32_t kMaxFrames = 100000;
    static constexpr std::int64_t kMaxPoseMatrices = std::int64_t{1} << 20;

    std::string m_fileName;
    std::string m_colormapName;
    // Materials of faces whose texture did not load, lower case, each once.
    std::vector<std::string> m_missingMaterials;
    // The hierarchy; node 0 is the root.
    std::vector<std::unique_ptr<C3doNode>> m_nodes;
    // Every mesh a node names.
    std::vector<std::unique_ptr<C3doMesh>> m_meshes;
    // Box of the placed model, computed on demand while m_boundsValid is 0.
    CBoundingBox m_bounds;
    CVector3 m_position;
    std::int32_t m_boundsValid = 0;
    std::int32_t m_currentFrame = 0;
    std::int32_t m_frameCount = 0;
    float m_frameTime = 0.0f;  // seconds per frame
    float m_animClock = 0.0f;  // seconds gathered toward the next frame
    D3DMATRIX m_placement = MatrixIdentity();
    D3DMATRIX m_stepRotation = MatrixIdentity();
    D3DMATRIX m_spinPlacement = MatrixIdentity();
    // A mover's cycle in walk mode: 1 while it runs; the time into the cycle and the travel time
    // (seconds of 0.05 steps); from frame 0 to the last frame; the position of the step before;
    // a rider's height above the model (0 until taken).
    std::int32_t m_moved = 0;
    float m_cycleTime = 0.0f;
    float m_travelTime = 0.0f;
    CVector3 m_from;
    CVector3 m_to;
    CVector3 m_previousPosition;
    float m_riderOffset = 0.0f;
    // Why a broken model file was replaced by the ghost; empty otherwise.
    std::string m_loadError;
};

// Degrees to radians as models and things turn them: d x 3.1415927 / 180.
[[nodiscard]] float ModelDegreesToRadians(float degrees);
