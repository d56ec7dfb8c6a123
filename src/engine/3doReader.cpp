// The 3DO text reader: a keyword scanner over the model file (geoset 0 only), building the
// model's meshes with their lit faces and its hierarchy nodes.

#include "engine/3doModel.h"
#include "engine/FileBuffer.h"
#include "engine/TextureCache.h"
#include "framework/CFormat.h"
#include "framework/Exceptions.h"
#include "framework/StringUtil.h"
#include "level/WorldVertex.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Face lines are cut to this many characters.
constexpr std::size_t kMaxFaceLine = 2047;
constexpr float kDefaultDivisor = 768.0f;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

class C3doReader {
public:
    C3doReader(C3doModel& model, const C3doLoadContext& context, CFileBuffer& buffer)
        : m_model(model), m_context(context), m_sources(context.Sources()), m_buffer(buffer)
    {}

    void Run();

private:
    // "word": the token ends at a space; "rest": it runs to the end of the line or to a tab.
    // Both throw when the keyword is no longer in the text.
    std::string Word(std::string_view keyword);
    std::string Rest(std::string_view keyword);
    [[noreturn]] void TextEnds(std::string_view keyword) const;

    void ReadMaterials();
    void ReadGeometry();
    void ReadMesh();
    void ReadFace(C3doMesh& mesh, const std::string& line);
    void ReadHierarchy();

    C3doModel& m_model;
    const C3doLoadContext& m_context;
    const CAssetSources m_sources;
    CFileBuffer& m_buffer;

    std::vector<std::string> m_materials;
    std::vector<CWorldVertex> m_vertices;         // x, y, z; normal in extra[0..2]
    std::vector<CWorldVertex> m_textureVertices;  // u in x, v in y
    std::vector<std::unique_ptr<C3doMesh>> m_meshes;
};

std::string C3doReader::Word(std::string_view keyword)
{
    std::string token;
    if (!m_buffer.ReadModelLine(keyword, token, " "))
        TextEnds(keyword);
    return token;
}

std::string C3doReader::Rest(std::string_view keyword)
{
    std::string token;
    if (!m_buffer.ReadModelLine(keyword, token, ""))
        TextEnds(keyword);
    return token;
}

void C3doReader::TextEnds(std::string_view keyword) const
{
    std::string message = "\"" + m_buffer.GetName() + "\" is not a complete 3DO model: the text ";
    if (keyword.empty())
        message += "ends in the middle of a list.";
    else
        message += "ends before \"" + TrimBlanks(keyword) + "\".";
    throw CArchiveException(CArchiveException::endOfFile, message);
}

void C3doReader::Run()
{
    for (;;) {
        const std::string section = Word("SECTION: ");
        if (section == "HEADER") {
            Word("3DO ");
        } else if (section == "MODELRESOURCE") {
            ReadMaterials();
        } else if (section == "GEOMETRYDEF") {
            ReadGeometry();
        } else if (section == "HIERARCHYDEF") {
            ReadHierarchy();
            return;
        }
    }
}

void C3doReader::ReadMaterials()
{
    const int count = AtoiC(Word("MATERIALS ").c_str());
    for (int i = 0; i < count; ++i)
        m_materials.push_back(Word(":"));
}

void C3doReader::ReadGeometry()
{
    Word("RADIUS ");
    Word("INSERT OFFSET ");
    const int geosets = AtoiC(Word("GEOSETS ").c_str());
    for (int g = 0; g < geosets; ++g) {
        // Only geoset 0, the most detailed one, is read; the next search for a section passes
        // over the others.
        if (AtoiC(Word("GEOSET ").c_str()) > 0)
            return;
        const int meshes = AtoiC(Word("MESHES ").c_str());
        m_meshes.clear();
        for (int i = 0; i < meshes; ++i)
            ReadMesh();
    }
}

void C3doReader::ReadMesh()
{
    Word("MESH ");
    auto mesh = std::make_unique<C3doMesh>();
    Word("NAME ");
    Word("RADIUS ");
    Word("GEOMETRYMODE");
    Word("LIGHTINGMODE");
    Word("TEXTUREMODE");

    // Each mesh looks its faces up in its own lists only.
    m_vertices.clear();
    m_textureVertices.clear();

    const int vertexCount = AtoiC(Word("VERTICES ").c_str());
    for (int i = 0; i < vertexCount; ++i) {
        float a = 0.0f, b = 0.0f, c = 0.0f, intensity = 0.0f;
        ScanC(Rest(": ").c_str(), "%f %f %f %f", &a, &b, &c, &intensity);
        CWorldVertex v;
        v.x = a;
        v.y = c;  // the file's z axis is up, render space is y-up
        v.z = b;
        m_vertices.push_back(v);
    }

    const int textureVertexCount = AtoiC(Word("TEXTURE VERTICES ").c_str());
    for (int i = 0; i < textureVertexCount; ++i) {
        CWorldVertex t;
        ScanC(Rest(": ").c_str(), "%f %f", &t.x, &t.y);
        m_textureVertices.push_back(t);
    }

    Rest("VERTEX NORMALS");
    for (std::size_t i = 0; i < m_vertices.size(); ++i) {
        float a = 0.0f, b = 0.0f, c = 0.0f;
        ScanC(Rest(": ").c_str(), "%f %f %f", &a, &b, &c);
        m_vertices[i].extra[0] = a;
        m_vertices[i].extra[1] = c;
        m_vertices[i].extra[2] = b;
    }

    const int faceCount = AtoiC(Word("FACES ").c_str());
    for (int i = 0; i < faceCount; ++i)
        ReadFace(*mesh, Rest(": "));

    // Face normals are computed from the vertices; the file's are passed over.
    Word("FACE NORMALS");
    for (int i = 0; i < faceCount; ++i)
        Rest(":");

    m_meshes.push_back(std::move(mesh));
}

void C3doReader::ReadFace(C3doMesh& mesh, const std::string& line)
{
    // Fields: material, type, geometry mode, lighting mode, texture mode, extra light, vertex
    // count k, then k pairs of vertex index and texture-vertex index.
    std::vector<std::string_view> fields;
    const std::string_view text = std::string_view(line).substr(0, kMaxFaceLine);
    std::size_t at = 0;
    while (at < text.size()) {
        at = text.find_first_not_of(": ,\t\r\n", at);
        if (at == std::string_view::npos)
            break;
        const std::size_t stop = std::min(text.find_first_of(": ,\t\r\n", at), text.size());
        fields.push_back(text.substr(at, stop - at));
        at = stop;
    }
    const auto intField = [&fields](std::size_t i) {
        return AtoiC(std::string(fields[i]).c_str());
    };

    if (fields.size() < 7)
        return;
    const int materialIndex = intField(0);
    const int k = intField(6);
    if (k < 0 || fields.size() < 7 + 2 * static_cast<std::size_t>(k))
        return;

    float widthDivisor = kDefaultDivisor;
    float heightDivisor = kDefaultDivisor;
    CTexture* texture = nullptr;
    if (materialIndex >= 0) {
        if (static_cast<std::size_t>(materialIndex) >= m_materials.size())
            return;
        const std::string& material = m_materials[static_cast<std::size_t>(materialIndex)];
        // Without a texture cache (the geometry alone) faces get no texture and nothing counts
        // as missing.
        if (m_context.m_textures != nullptr) {
            texture = m_context.m_textures->GetTexture(m_sources, material, m_model.m_colormapName);
            if (texture != nullptr) {
                // A texture without size keeps the default divisors rather than divide by 0.
                if (texture->m_width > 0)
                    widthDivisor = static_cast<float>(texture->m_width);
                if (texture->m_height > 0)
                    heightDivisor = static_cast<float>(texture->m_height);
            } else {
                std::string lower = ToLowerAscii(material);
                if (std::find(m_model.m_missingMaterials.begin(), m_model.m_missingMaterials.end(),
                              lower) == m_model.m_missingMaterials.end())
                    m_model.m_missingMaterials.push_back(std::move(lower));
            }
        }
    }

    C3doFace face;
    face.m_vertices.reserve(static_cast<std::size_t>(k));
    for (int i = 0; i < k; ++i) {
        const int vertexIndex = intField(7 + 2 * static_cast<std::size_t>(i));
        const int textureIndex = intField(8 + 2 * static_cast<std::size_t>(i));
        if (vertexIndex < 0 || static_cast<std::size_t>(vertexIndex) >= m_vertices.size())
            return;
        const CWorldVertex& v = m_vertices[static_cast<std::size_t>(vertexIndex)];
        float u = 0.0f;
        float tv = 0.0f;
        if (textureIndex >= 0 &&
            static_cast<std::size_t>(textureIndex) < m_textureVertices.size()) {
            const CWorldVertex& t = m_textureVertices[static_cast<std::size_t>(textureIndex)];
            u = t.x / widthDivisor;
            tv = t.y / heightDivisor;
        }
        face.m_vertices.push_back(MakeLitVertex(CVector3(v.x, v.y, v.z), kWhite, 0u, u, tv));
    }

    // A degenerate face (zero Newell sum) has a normal that is not a number: it is dropped.
    face.ComputeNormal();
    const float lengthSquared = LengthSquared(face.m_normal);
    if (std::isnan(lengthSquared) || lengthSquared == 0.0f)
        return;
    mesh.m_faceTextures.push_back(texture);
    mesh.m_faces.push_back(std::move(face));
}

void C3doReader::ReadHierarchy()
{
    const int count = AtoiC(Word("HIERARCHY NODES").c_str());
    for (int i = 0; i < count; ++i) {
        const std::string line = Rest("");
        auto node = std::make_unique<C3doNode>();
        float px = 0.0f, py = 0.0f, pz = 0.0f;
        float pitch = 0.0f, yaw = 0.0f, roll = 0.0f;
        float vx = 0.0f, vy = 0.0f, vz = 0.0f;
        char name[80] = {};
        unsigned int flags = 0;
        unsigned int type = 0;
        ScanC(line.c_str(), "%d: %x %x %d %d %d %d %d %f %f %f %f %f %f %f %f %f %79s",
              &node->m_number, &flags, &type, &node->m_meshIndex, &node->m_parent, &node->m_child,
              &node->m_sibling, &node->m_childCount, &px, &py, &pz, &pitch, &yaw, &roll, &vx, &vy,
              &vz, name);
        node->m_flags = flags;
        node->m_type = type;
        node->m_position = CVector3(px, pz, py);
        node->m_pitch = pitch;
        node->m_roll = roll;
        node->m_yaw = yaw;
        node->m_pivot = CVector3(vx, vz, vy);
        node->m_name = name;

        D3DMATRIX local = RotationMatrix(ModelDegreesToRadians(pitch), ModelDegreesToRadians(yaw),
                                         ModelDegreesToRadians(roll));
        local.m[3][0] = node->m_position.x;
        local.m[3][1] = node->m_position.y;
        local.m[3][2] = node->m_position.z;
        node->m_localMatrices.push_back(local);
        m_model.m_nodes.push_back(std::move(node));
    }

    // Each node's pivot moves the vertices of the mesh it names; a mesh named by two nodes
    // receives both pivots. A mesh index outside the meshes read leaves the node without mesh.
    std::vector<bool> owned(m_meshes.size(), false);
    for (const auto& node : m_model.m_nodes) {
        if (node->m_meshIndex < 0 || static_cast<std::size_t>(node->m_meshIndex) >= m_meshes.size())
            continue;
        const auto index = static_cast<std::size_t>(node->m_meshIndex);
        C3doMesh* mesh = m_meshes[index].get();
        node->m_mesh = mesh;
        owned[index] = true;
        for (C3doFace& face : mesh->m_faces) {
            for (D3DLVERTEX& v : face.m_vertices) {
                v.x += node->m_pivot.x;
                v.y += node->m_pivot.y;
                v.z += node->m_pivot.z;
            }
        }
    }
    // The model keeps the meshes its nodes name; the others go with the reader.
    for (std::size_t i = 0; i < m_meshes.size(); ++i)
        if (owned[i])
            m_model.m_meshes.push_back(std::move(m_meshes[i]));
}

}  // namespace

float ModelDegreesToRadians(float degrees)
{
    return static_cast<float>(static_cast<double>(degrees * 3.1415927f) / 180.0);
}

void C3doModel::Read3do(const C3doLoadContext& context, CFileBuffer& buffer)
{
    try {
        C3doReader(*this, context, buffer).Run();
    } catch (...) {
        m_nodes.clear();
        m_meshes.clear();
        throw;
    }
    PoseFromPuppet(context);
}
