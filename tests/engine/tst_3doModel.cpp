// 3DO models: the line scanner, the text reader (keyword scanning, geoset 0 only, axis exchange,
// faces), the ghost model, loading from the archive or the level, bounds and node drawing, and
// hostile model files.

#include "engine/3doModel.h"
#include "engine/BitmapImage.h"
#include "engine/FileBuffer.h"
#include "engine/TextureCache.h"
#include "framework/CFormat.h"
#include "framework/Exceptions.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"
#include "math/BoundingBox.h"
#include "resources/GameIndex.h"
#include "resources/MemoryGameArchive.h"
#include "resources/TreeObject.h"
#include "support/RecordingRenderDevice.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace {

// --- 3DO texts built line by line ---

struct MeshSpec {
    std::vector<std::array<float, 4>> vertices;     // file axes: x, y, z (up), intensity
    std::vector<std::array<float, 2>> texVertices;  // u, v in texels
    std::vector<std::string> faces;                 // each face line after its "n:"
};

struct ModelSpec {
    std::vector<std::string> materials;
    std::vector<std::vector<MeshSpec>> geosets;
    std::vector<std::string> nodes;  // each hierarchy line after its "n:"
};

// A face line: material, type, modes, extra light, vertex count, then the pairs as given.
std::string Face(int material, int count, const std::string& pairs)
{
    return FormatC("%d 0x0 4 3 3 0.0000 %d %s", material, count, pairs.c_str());
}

// A hierarchy line; position, angles (pitch, yaw, roll) and pivot in file axes.
std::string Node(int mesh, int parent, int child, int sibling, std::array<float, 3> pos,
                 std::array<float, 3> pyr, std::array<float, 3> pivot, const std::string& name)
{
    std::string line = FormatC("0x0000 0x00001 %d %d %d %d 0", mesh, parent, child, sibling);
    for (const auto& triple : {pos, pyr, pivot})
        for (float v : triple)
            line += FormatC(" %f", static_cast<double>(v));
    return line + " " + name;
}

std::string Write3do(const ModelSpec& spec)
{
    std::string t;
    const auto line = [&t](const std::string& s) { t += s + "\r\n"; };
    line("# made by the tests");
    line("SECTION: HEADER");
    line("3DO 2.1");
    line("");
    line("SECTION: MODELRESOURCE");
    line(FormatC("MATERIALS %zu", spec.materials.size()));
    for (std::size_t i = 0; i < spec.materials.size(); ++i)
        line(FormatC("%6zu:  %s", i, spec.materials[i].c_str()));
    line("");
    line("SECTION: GEOMETRYDEF");
    line("RADIUS 1.0");
    line("INSERT OFFSET 0.0 0.0 0.0");
    line(FormatC("GEOSETS %zu", spec.geosets.size()));
    for (std::size_t g = 0; g < spec.geosets.size(); ++g) {
        line(FormatC("GEOSET %zu", g));
        line(FormatC("MESHES %zu", spec.geosets[g].size()));
        for (std::size_t m = 0; m < spec.geosets[g].size(); ++m) {
            const MeshSpec& mesh = spec.geosets[g][m];
            line(FormatC("MESH %zu", m));
            line(FormatC("NAME mesh%zu_%zu", g, m));
            line("RADIUS 0.5");
            line("GEOMETRYMODE 4");
            line("LIGHTINGMODE 3");
            line("TEXTUREMODE 3");
            line(FormatC("VERTICES %zu", mesh.vertices.size()));
            line("# num: x: y: z: i:");
            for (std::size_t i = 0; i < mesh.vertices.size(); ++i) {
                const auto& v = mesh.vertices[i];
                line(FormatC("%6zu: %f %f %f %f", i, static_cast<double>(v[0]),
                             static_cast<double>(v[1]), static_cast<double>(v[2]),
                             static_cast<double>(v[3])));
            }
            line(FormatC("TEXTURE VERTICES %zu", mesh.texVertices.size()));
            for (std::size_t i = 0; i < mesh.texVertices.size(); ++i)
                line(FormatC("%6zu: %f %f", i, static_cast<double>(mesh.texVertices[i][0]),
                             static_cast<double>(mesh.texVertices[i][1])));
            line("VERTEX NORMALS");
            for (std::size_t i = 0; i < mesh.vertices.size(); ++i)
                line(FormatC("%6zu: 0.0 0.0 1.0", i));
            line(FormatC("FACES %zu", mesh.faces.size()));
            line("# num: material: type: geo: light: tex: extralight: verts:");
            for (std::size_t i = 0; i < mesh.faces.size(); ++i)
                line(FormatC("%6zu: %s", i, mesh.faces[i].c_str()));
            line("FACE NORMALS");
            for (std::size_t i = 0; i < mesh.faces.size(); ++i)
                line(FormatC("%6zu: 0.0 0.0 1.0", i));
            line("");
        }
    }
    line("SECTION: HIERARCHYDEF");
    line(FormatC("HIERARCHY NODES %zu", spec.nodes.size()));
    for (std::size_t i = 0; i < spec.nodes.size(); ++i)
        line(FormatC("%6zu: %s", i, spec.nodes[i].c_str()));
    return t;
}

// A unit square in the file's x-y plane (z up) at height z, four texture vertices of 64 x 32.
MeshSpec Square(float z = 0.0f)
{
    MeshSpec m;
    m.vertices = {{0, 0, z, 0.5f}, {1, 0, z, 0.5f}, {1, 1, z, 0.5f}, {0, 1, z, 0.5f}};
    m.texVertices = {{0, 0}, {64, 0}, {64, 32}, {0, 32}};
    m.faces = {Face(-1, 4, "0, 0 1, 1 2, 2 3, 3")};
    return m;
}

// One mesh, one node without pivot.
ModelSpec OneMesh(MeshSpec mesh)
{
    ModelSpec spec;
    spec.geosets = {{std::move(mesh)}};
    spec.nodes = {Node(0, -1, -1, -1, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, "root")};
    return spec;
}

std::vector<std::uint8_t> Bytes3(const std::string& text)
{
    return {text.begin(), text.end()};
}

// Reads text as a model of that name, without game or level.
C3doModel Read(const std::string& text, const C3doLoadContext& context = {})
{
    C3doModel model("test.3do", "dflt.cmp");
    CFileBuffer buffer(Bytes3(text), "test.3do");
    model.Read3do(context, buffer);
    return model;
}

// Loads a model through the loading constructor from a level that holds text as its own file.
struct LevelModel {
    CQzlSections level;
    C3doLoadContext context;

    explicit LevelModel(const std::string& text, const std::string& name = "test.3do")
    {
        level.m_levelFiles.m_entries.push_back(
            std::make_unique<CTreeObject>(name, Bytes3(text), 0));
        context.m_level = &level;
    }
};

const C3doFace& OnlyFace(const C3doModel& model)
{
    return model.m_nodes.at(0)->m_mesh->m_faces.at(0);
}

constexpr CBoundingBox kEmptyBox{{1e11f, 1e11f, 1e11f}, {-1e11f, -1e11f, -1e11f}};

void ExpectVec(const CVector3& v, float x, float y, float z)
{
    EXPECT_NEAR(v.x, x, 1e-5f);
    EXPECT_NEAR(v.y, y, 1e-5f);
    EXPECT_NEAR(v.z, z, 1e-5f);
}

// --- The line scanner ---

TEST(FileBuffer, ReadModelLineFindsKeywordsAheadAndCutsTokens)
{
    const std::string text = "# comment MESH 9\r\nskip this\r\nMESH 3 more\r\n\tVALUE:\t x y\r\n";
    CFileBuffer buffer(Bytes3(text), "t");
    std::string token;
    // The comment line at the cursor is passed over; the keyword inside it is not taken.
    ASSERT_TRUE(buffer.ReadModelLine("MESH ", token, " "));
    EXPECT_EQ(token, "3");
    // Blanks and tabs after the keyword are skipped; without a space among the delimiters the
    // token runs to the end of the line.
    ASSERT_TRUE(buffer.ReadModelLine("VALUE:", token, ""));
    EXPECT_EQ(token, "x y");
    // Nothing left: an empty keyword fails, and so does a keyword that no longer occurs.
    EXPECT_FALSE(buffer.ReadModelLine("", token, ""));
    EXPECT_FALSE(buffer.ReadModelLine("MESH ", token, " "));
    EXPECT_EQ(buffer.GetCursor(), buffer.GetSize());
}

TEST(FileBuffer, ACommentLineAheadMayHoldTheKeyword)
{
    // Only a comment at the cursor is skipped; the search itself looks everywhere ahead.
    CFileBuffer buffer(Bytes3("x\r\n# MESHES 7\r\nMESHES 2\r\n"), "t");
    std::string token;
    ASSERT_TRUE(buffer.ReadModelLine("MESHES ", token, " "));
    EXPECT_EQ(token, "7");
}

TEST(FileBuffer, TheEndOfTheDataEndsTokensAndComments)
{
    CFileBuffer buffer(Bytes3("#only a comment"), "t");
    std::string token;
    EXPECT_FALSE(buffer.ReadModelLine("", token, ""));
    CFileBuffer last(Bytes3("GEOSETS 12"), "t");
    ASSERT_TRUE(last.ReadModelLine("GEOSETS ", token, " "));
    EXPECT_EQ(token, "12");
    EXPECT_EQ(last.GetCursor(), last.GetSize());
}

// --- The reader ---

TEST(Read3do, VerticesTakeTheAxisExchangeAndWhite)
{
    // The file vertex (1, 2, 3) with intensity 0.5 is the render vertex (1, 3, 2), colour white.
    MeshSpec mesh;
    mesh.vertices = {{1, 2, 3, 0.5f}, {2, 2, 3, 0.5f}, {1, 4, 3, 0.5f}};
    mesh.faces = {Face(-1, 3, "0, 0 1, 0 2, 0")};
    const C3doModel model = Read(Write3do(OneMesh(mesh)));
    const C3doFace& face = OnlyFace(model);
    ASSERT_EQ(face.m_vertices.size(), 3u);
    const D3DLVERTEX& v = face.m_vertices[0];
    EXPECT_EQ(v.x, 1.0f);
    EXPECT_EQ(v.y, 3.0f);
    EXPECT_EQ(v.z, 2.0f);
    EXPECT_EQ(v.color, 0xFFFFFFFFu);
    EXPECT_EQ(v.specular, 0u);
    EXPECT_EQ(v.reserved, 0u);
    // The file's face lies in its x-y plane: its normal is the render y axis, unit length.
    EXPECT_NEAR(std::fabs(face.m_normal.y), 1.0f, 1e-6f);
    EXPECT_NEAR(VectorLength(face.m_normal), 1.0f, 1e-6f);
}

TEST(Read3do, PairSeparatorsReadTheSame)
{
    struct Case {
        const char* pairs;
    };
    const Case cases[] = {{"0,0 1,1 2,2 3,3"},
                          {"0, 0 1, 1 2, 2 3, 3"},
                          {"0 0 1 1 2 2 3 3"},
                          {"0 , 0  1 ,1 2,  2 3,3"}};
    std::vector<D3DLVERTEX> first;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pairs);
        MeshSpec mesh = Square();
        mesh.faces = {Face(-1, 4, c.pairs)};
        const C3doModel model = Read(Write3do(OneMesh(mesh)));
        const C3doFace& face = OnlyFace(model);
        ASSERT_EQ(face.m_vertices.size(), 4u);
        if (first.empty())
            first = face.m_vertices;
        EXPECT_EQ(face.m_vertices, first);
    }
}

TEST(Read3do, WithoutMaterialTextureCoordinatesAreDividedBy768)
{
    const C3doModel model = Read(Write3do(OneMesh(Square())));
    const C3doFace& face = OnlyFace(model);
    EXPECT_EQ(face.m_vertices[2].tu, 64.0f / 768.0f);
    EXPECT_EQ(face.m_vertices[2].tv, 32.0f / 768.0f);
    EXPECT_EQ(model.m_nodes[0]->m_mesh->m_faceTextures.at(0), nullptr);
    EXPECT_TRUE(model.m_missingMaterials.empty());
}

TEST(Read3do, TexturedFacesUseTheTextureSizeAndMissingMaterialsAreListedOnce)
{
    // The level holds brick.mat (64 x 32); "Gone.MAT" is found nowhere.
    CBitmapImage image;
    CPalette palette{};
    image.CreateFromBits(palette, std::vector<std::uint8_t>(64 * 32, 1), 64, 32, 8);
    CQzlSections level;
    level.m_levelFiles.m_entries.push_back(
        std::make_unique<CTreeObject>("brick.mat", image.WriteMat(), 0));
    CTextureCache cache;
    C3doLoadContext context;
    context.m_level = &level;
    context.m_textures = &cache;

    ModelSpec spec = OneMesh(Square());
    spec.materials = {"brick.mat", "Gone.MAT"};
    MeshSpec& mesh = spec.geosets[0][0];
    mesh.faces = {Face(0, 4, "0,0 1,1 2,2 3,3"), Face(1, 4, "0,0 1,1 2,2 3,3"),
                  Face(1, 4, "3,3 2,2 1,1 0,0")};
    const C3doModel model = Read(Write3do(spec), context);

    const C3doMesh& m = *model.m_nodes[0]->m_mesh;
    ASSERT_EQ(m.m_faces.size(), 3u);
    ASSERT_EQ(m.m_faceTextures.size(), 3u);
    ASSERT_NE(m.m_faceTextures[0], nullptr);
    EXPECT_EQ(m.m_faceTextures[0]->m_material, "brick.mat");
    EXPECT_EQ(m.m_faces[0].m_vertices[2].tu, 1.0f);
    EXPECT_EQ(m.m_faces[0].m_vertices[2].tv, 1.0f);
    // A material that did not load: no texture, divisors 768, listed once in lower case.
    // (With no "dflt.mat" anywhere, the cache gives nothing.)
    EXPECT_EQ(m.m_faceTextures[1], nullptr);
    EXPECT_EQ(m.m_faces[1].m_vertices[2].tu, 64.0f / 768.0f);
    EXPECT_EQ(model.m_missingMaterials, std::vector<std::string>{"gone.mat"});
}

TEST(Read3do, DegenerateFacesAreDroppedAndTheListsStayParallel)
{
    MeshSpec mesh = Square();
    mesh.vertices.push_back({2, 0, 0, 0});     // vertex 4: on the line of vertices 0 and 1
    mesh.faces = {Face(-1, 3, "0,0 1,1 4,2"),  // collinear
                  Face(-1, 4, "0,0 1,1 2,2 3,3"),
                  Face(-1, 2, "0,0 1,1"),      // too few corners for an area
                  Face(-1, 3, "2,0 2,1 2,2"),  // one point three times
                  Face(-1, 3, "0,0 2,1 3,2")};
    const C3doModel model = Read(Write3do(OneMesh(mesh)));
    const C3doMesh& m = *model.m_nodes[0]->m_mesh;
    ASSERT_EQ(m.m_faces.size(), 2u);
    EXPECT_EQ(m.m_faceTextures.size(), 2u);
    EXPECT_EQ(m.m_faces[0].m_vertices.size(), 4u);
    EXPECT_EQ(m.m_faces[1].m_vertices.size(), 3u);
}

TEST(Read3do, OnlyGeosetZeroIsRead)
{
    ModelSpec spec;
    spec.geosets = {{Square(0.0f)}, {Square(1.0f), Square(2.0f)}, {Square(3.0f)}};
    spec.nodes = {Node(0, -1, 1, -1, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, "a"),
                  Node(1, 0, -1, -1, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, "b")};
    const C3doModel model = Read(Write3do(spec));
    ASSERT_EQ(model.m_nodes.size(), 2u);
    ASSERT_EQ(model.m_meshes.size(), 1u);
    ASSERT_NE(model.m_nodes[0]->m_mesh, nullptr);
    EXPECT_EQ(model.m_nodes[0]->m_mesh->m_faces[0].m_vertices[0].y, 0.0f);  // geoset 0, height 0
    // Geoset 0 has one mesh: node 1's mesh index 1 names nothing, so it has no mesh.
    EXPECT_EQ(model.m_nodes[1]->m_mesh, nullptr);
}

TEST(Read3do, HierarchyNodesTakeTheirFieldsAndLocalMatrix)
{
    ModelSpec spec = OneMesh(Square());
    spec.nodes = {Node(0, -1, -1, -1, {1, 2, 3}, {10, 20, 30}, {0.5f, 0.25f, 0.125f}, "Torso")};
    const C3doModel model = Read(Write3do(spec));
    ASSERT_EQ(model.m_nodes.size(), 1u);
    const C3doNode& n = *model.m_nodes[0];
    EXPECT_EQ(n.m_type, 1u);
    EXPECT_EQ(n.m_meshIndex, 0);
    ExpectVec(n.m_position, 1, 3, 2);
    ExpectVec(n.m_pivot, 0.5f, 0.125f, 0.25f);
    EXPECT_EQ(n.m_pitch, 10.0f);
    EXPECT_EQ(n.m_yaw, 20.0f);
    EXPECT_EQ(n.m_roll, 30.0f);
    EXPECT_EQ(n.m_name, "Torso");
    ASSERT_EQ(n.m_localMatrices.size(), 1u);
    D3DMATRIX expected = RotationMatrix(ModelDegreesToRadians(10), ModelDegreesToRadians(20),
                                        ModelDegreesToRadians(30));
    expected.m[3][0] = 1;
    expected.m[3][1] = 3;
    expected.m[3][2] = 2;
    EXPECT_EQ(n.m_localMatrices[0], expected);
    // The pivot moved the mesh's vertices.
    ExpectVec(CVector3(OnlyFace(model).m_vertices[0].x, OnlyFace(model).m_vertices[0].y,
                       OnlyFace(model).m_vertices[0].z),
              0.5f, 0.125f, 0.25f);
}

TEST(Read3do, AMeshNamedByTwoNodesIsOneMeshWithBothPivots)
{
    ModelSpec spec = OneMesh(Square());
    spec.nodes = {Node(0, -1, 1, -1, {0, 0, 0}, {0, 0, 0}, {1, 0, 0}, "a"),
                  Node(0, 0, -1, -1, {0, 0, 0}, {0, 0, 0}, {0, 0, 2}, "b")};
    {
        const C3doModel model = Read(Write3do(spec));
        ASSERT_EQ(model.m_meshes.size(), 1u);
        EXPECT_EQ(model.m_nodes[0]->m_mesh, model.m_nodes[1]->m_mesh);
        const D3DLVERTEX& v = OnlyFace(model).m_vertices[0];
        EXPECT_EQ(v.x, 1.0f);
        EXPECT_EQ(v.y, 2.0f);
        EXPECT_EQ(v.z, 0.0f);
    }  // freed once here: the sanitizers would report a second free
}

TEST(Read3do, MeshesThatNoNodeNamesAreReleased)
{
    ModelSpec spec;
    spec.geosets = {{Square(), Square(1.0f), Square(2.0f)}};
    spec.nodes = {Node(2, -1, -1, -1, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, "only")};
    const C3doModel model = Read(Write3do(spec));
    ASSERT_EQ(model.m_meshes.size(), 1u);
    EXPECT_EQ(model.m_nodes[0]->m_mesh, model.m_meshes[0].get());
    EXPECT_EQ(OnlyFace(model).m_vertices[0].y, 2.0f);
}

// Indices the file gets wrong: the face or the node's mesh is passed over, the rest stays.
TEST(Read3do, IndicesOutOfRangeSkipTheFaceOrTheMesh)
{
    struct Case {
        const char* what;
        std::string face;
        std::size_t faces;  // kept, of the bad face and one good face
    };
    const Case cases[] = {
        {"material beyond the list", Face(5, 4, "0,0 1,1 2,2 3,3"), 1},
        {"vertex beyond the list", Face(-1, 4, "0,0 1,1 9,2 3,3"), 1},
        {"negative vertex", Face(-1, 4, "0,0 -1,1 2,2 3,3"), 1},
        {"fewer pairs than announced", Face(-1, 6, "0,0 1,1 2,2 3,3"), 1},
        {"vertex count far too large", Face(-1, 2147483647, "0,0 1,1 2,2"), 1},
        {"negative vertex count", Face(-1, -3, "0,0 1,1 2,2"), 1},
        {"too few fields", "0 0x0 4", 1},
        {"empty line", "", 1},
        {"texture vertex beyond the list: kept, u = v = 0", Face(-1, 4, "0,0 1,1 2,9 3,-4"), 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MeshSpec mesh = Square();
        mesh.faces = {c.face, Face(-1, 4, "0,0 1,1 2,2 3,3")};
        ModelSpec spec = OneMesh(mesh);
        spec.materials = {"a.mat"};
        const C3doModel model = Read(Write3do(spec));
        const C3doMesh& m = *model.m_nodes.at(0)->m_mesh;
        EXPECT_EQ(m.m_faces.size(), c.faces);
        EXPECT_EQ(m.m_faceTextures.size(), c.faces);
        if (c.faces == 2) {
            EXPECT_EQ(m.m_faces[0].m_vertices[2].tu, 0.0f);
            EXPECT_EQ(m.m_faces[0].m_vertices[3].tv, 0.0f);
        }
    }

    ModelSpec spec = OneMesh(Square());
    spec.nodes = {Node(1, -1, 1, -1, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, "beyond"),
                  Node(-7, 0, -1, -1, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, "negative")};
    const C3doModel model = Read(Write3do(spec));
    ASSERT_EQ(model.m_nodes.size(), 2u);  // the nodes stay, so the links keep their meaning
    EXPECT_EQ(model.m_nodes[0]->m_mesh, nullptr);
    EXPECT_EQ(model.m_nodes[1]->m_mesh, nullptr);
    EXPECT_TRUE(model.m_meshes.empty());
}

TEST(Read3do, OverlongFaceLinesAndNodeNamesAreCut)
{
    MeshSpec mesh = Square();
    // A face of 600 pairs (over 2047 characters): cut, so fewer pairs than announced: dropped.
    std::string pairs;
    for (int i = 0; i < 600; ++i)
        pairs += FormatC("%d,%d ", i % 4, i % 4);
    mesh.faces = {Face(-1, 600, pairs), Face(-1, 4, "0,0 1,1 2,2 3,3")};
    ModelSpec spec = OneMesh(mesh);
    spec.nodes = {Node(0, -1, -1, -1, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, std::string(300, 'n'))};
    const C3doModel model = Read(Write3do(spec));
    EXPECT_EQ(model.m_nodes.at(0)->m_mesh->m_faces.size(), 1u);
    EXPECT_EQ(model.m_nodes[0]->m_name, std::string(79, 'n'));
}

// --- Hostile files: an error (the loading constructor shows the ghost), never a crash, a hang
// or an allocation sized by a count ---

TEST(Read3do, TextsThatEndEarlyOrClaimTooMuchAreRefused)
{
    const std::string good = Write3do(OneMesh(Square()));
    struct Case {
        const char* what;
        std::string text;
    };
    const auto replace = [&good](const std::string& from, const std::string& to) {
        std::string t = good;
        t.replace(t.find(from), from.size(), to);
        return t;
    };
    const Case cases[] = {
        {"empty", ""},
        {"no hierarchy", good.substr(0, good.find("SECTION: HIERARCHYDEF"))},
        {"cut in the middle of a vertex list", good.substr(0, good.find("TEXTURE VERTICES"))},
        {"cut in the hierarchy", replace("HIERARCHY NODES 1", "HIERARCHY NODES 3")},
        {"materials 2^31 - 1", replace("MATERIALS 0", "MATERIALS 2147483647")},
        {"vertices 2^31", replace("VERTICES 4", "VERTICES 2147483648")},
        {"faces 10^12", replace("FACES 1", "FACES 1000000000000")},
        {"geosets far too many", replace("GEOSETS 1", "GEOSETS 99999")},
        {"nodes 2^31 - 1", replace("HIERARCHY NODES 1", "HIERARCHY NODES 2147483647")},
        {"meshes too many", replace("MESHES 1", "MESHES 40000000")},
        {"binary zeros", std::string(64, '\0')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        C3doModel model("test.3do", "");
        CFileBuffer buffer(Bytes3(c.text), "test.3do");
        try {
            model.Read3do({}, buffer);
            ADD_FAILURE() << "read";
        } catch (const CArchiveException& e) {
            EXPECT_NE(std::string(e.what()).find("test.3do"), std::string::npos) << e.what();
        }
        EXPECT_TRUE(model.m_nodes.empty());
        EXPECT_TRUE(model.m_meshes.empty());

        // Loaded through the constructor, the broken file stands as the ghost.
        LevelModel loaded(c.text);
        const C3doModel ghost(loaded.context, "test.3do", "");
        EXPECT_EQ(ghost.m_nodes.size(), 1u);
        EXPECT_FALSE(ghost.m_loadError.empty());
    }
}

TEST(Read3do, NegativeCountsReadNothing)
{
    std::string text = Write3do(OneMesh(Square()));
    text.replace(text.find("FACES 1"), 7, "FACES -4");
    const C3doModel model = Read(text);
    ASSERT_EQ(model.m_nodes.size(), 1u);
    EXPECT_TRUE(model.m_nodes[0]->m_mesh->m_faces.empty());
}

TEST(Read3do, EveryPrefixOfAModelIsReadOrRefused)
{
    ModelSpec spec;
    spec.materials = {"a.mat"};
    spec.geosets = {{Square(), Square(1.0f)}, {Square()}};
    spec.nodes = {Node(0, -1, 1, -1, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, "a"),
                  Node(1, 0, -1, -1, {0, 0, 1}, {0, 90, 0}, {0, 0, 0}, "b")};
    const std::string text = Write3do(spec);
    for (std::size_t n = 0; n <= text.size(); ++n) {
        C3doModel model("p.3do", "");
        CFileBuffer buffer(Bytes3(text.substr(0, n)), "p.3do");
        try {
            model.Read3do({}, buffer);
            EXPECT_LE(model.m_nodes.size(), 2u);
        } catch (const CArchiveException&) {
            EXPECT_TRUE(model.m_nodes.empty());
        }
    }
}

// --- Loading, ghost, bounds ---

TEST(C3doModel, GhostNamesGiveTheGhostCube)
{
    for (const char* name : {"ghost", "Ghost", "GHOST", ""}) {
        SCOPED_TRACE(name);
        C3doLoadContext context;
        context.m_colorGhost = 0x80FF40;  // 0x00BBGGRR
        C3doModel model(context, name, "");
        ASSERT_EQ(model.m_nodes.size(), 1u);
        const C3doNode& node = *model.m_nodes[0];
        EXPECT_EQ(node.m_child, -1);
        EXPECT_EQ(node.m_sibling, -1);
        EXPECT_TRUE(node.m_localMatrices.empty());
        ASSERT_NE(node.m_mesh, nullptr);
        ASSERT_EQ(node.m_mesh->m_faces.size(), 6u);
        EXPECT_EQ(node.m_mesh->m_faceTextures, std::vector<CTexture*>(6, nullptr));
        for (const C3doFace& face : node.m_mesh->m_faces) {
            ASSERT_EQ(face.m_vertices.size(), 4u);
            EXPECT_EQ(face.m_vertices[0].color, 0xFF40FF80u);
            EXPECT_NEAR(VectorLength(face.m_normal), 1.0f, 1e-6f);
        }
        // Face 0 is the quadrilateral of list positions 0, 1, 2, 5: corners 0, 3, 2, 1.
        EXPECT_EQ(node.m_mesh->m_faces[0].m_vertices[1].x, 0.01f);
        EXPECT_EQ(node.m_mesh->m_faces[0].m_vertices[1].z, -0.01f);

        CBoundingBox box = kEmptyBox;
        model.NodeBounds(0, box, MatrixIdentity());
        ExpectVec(box.min, -0.01f, -0.01f, -0.01f);
        ExpectVec(box.max, 0.01f, 0.01f, 0.01f);
    }
}

TEST(C3doModel, ModelsComeFromTheArchiveFirstThenTheLevel)
{
    // The archive's "crate.3do" is one square; the level's is two squares one above the other.
    CMemoryGameArchive archive;
    const std::string archived = Write3do(OneMesh(Square()));
    archive.Add("3do\\crate.3do", Bytes3(archived));
    CGameResources game;
    IndexMainArchive(game, archive);

    ModelSpec two;
    two.geosets = {{Square(), Square(1.0f)}};
    two.nodes = {Node(0, -1, 1, -1, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, "a"),
                 Node(1, 0, -1, -1, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, "b")};
    LevelModel level(Write3do(two), "Crate.3DO");

    level.context.m_game = &game;
    EXPECT_EQ(C3doModel(level.context, "CRATE.3do", "").m_nodes.size(), 1u);
    level.context.m_game = nullptr;
    EXPECT_EQ(C3doModel(level.context, "crate.3do", "").m_nodes.size(), 2u);

    // Found nowhere: no nodes, nothing drawn, the bounds stay empty.
    C3doModel none(level.context, "absent.3do", "");
    EXPECT_TRUE(none.m_nodes.empty());
    EXPECT_TRUE(none.m_loadError.empty());
    CBoundingBox box = kEmptyBox;
    none.NodeBounds(0, box, MatrixIdentity());
    EXPECT_EQ(box, kEmptyBox);
    CRecordingRenderDevice device;
    none.DrawNode(device, 0, 0, 0, 0, MatrixIdentity());
    EXPECT_TRUE(device.m_calls.empty());
}

// Three nodes: root 0 (child 1) at x 10; node 1 (sibling 2) moved by z 1; node 2 moved by z 5.
// Each has its own unit square in the render x-z plane (the file's x-y plane).
ModelSpec Family()
{
    ModelSpec spec;
    spec.geosets = {{Square(), Square(), Square()}};
    spec.nodes = {Node(0, -1, 1, -1, {10, 0, 0}, {0, 0, 0}, {0, 0, 0}, "root"),
                  Node(1, 0, -1, 2, {0, 1, 0}, {0, 0, 0}, {0, 0, 0}, "elder"),
                  Node(2, 0, -1, -1, {0, 5, 0}, {0, 0, 0}, {0, 0, 0}, "younger")};
    return spec;
}

TEST(C3doModel, SiblingsAreBoundedAndDrawnWithTheirParentsTransform)
{
    C3doModel model = Read(Write3do(Family()));
    ASSERT_EQ(model.m_nodes.size(), 3u);

    CBoundingBox box = kEmptyBox;
    model.NodeBounds(0, box, MatrixTranslation({0, 100, 0}));
    // The younger sibling sits at z 5 from the root, not at z 6 (its elder's place).
    EXPECT_EQ(model.m_nodes[2]->m_transform.m[3][2], 5.0f);
    EXPECT_EQ(model.m_nodes[1]->m_transform.m[3][2], 1.0f);
    EXPECT_EQ(model.m_nodes[0]->m_transform.m[3][0], 10.0f);
    ExpectVec(box.min, 10, 100, 0);
    ExpectVec(box.max, 11, 100, 6);

    // The squares face down (-y); a camera below sees all three, one fan each.
    ASSERT_LT(model.m_nodes[0]->m_mesh->m_faces[0].m_normal.y, 0.0f);
    CRecordingRenderDevice device;
    model.DrawNode(device, 10.5f, -50.0f, 0.5f, 0, MatrixIdentity());
    ASSERT_EQ(device.m_draws.size(), 3u);
    EXPECT_EQ(device.m_draws[0].m_world.m[3][0], 10.0f);
    EXPECT_EQ(device.m_draws[1].m_world.m[3][2], 1.0f);  // the child first
    EXPECT_EQ(device.m_draws[2].m_world.m[3][2], 5.0f);  // then its sibling, from the root's
    for (const auto& draw : device.m_draws) {
        EXPECT_EQ(draw.m_type, PrimitiveType::TriangleFan);
        EXPECT_EQ(draw.m_vertices.size(), 4u);
        EXPECT_EQ(draw.m_texture, kNoTexture);
    }
    EXPECT_EQ(device.m_misuseCount, 0);
}

TEST(C3doModel, FacesTurnedAwayAreNotDrawnEdgeOnFacesAre)
{
    C3doModel model = Read(Write3do(OneMesh(Square())));
    const float ny = OnlyFace(model).m_normal.y;  // the square's normal is +y or -y
    struct Case {
        const char* what;
        float cameraY;
        std::size_t draws;
    };
    const Case cases[] = {{"in front", 3.0f * ny, 1}, {"behind", -3.0f * ny, 0}, {"edge-on", 0, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CRecordingRenderDevice device;
        model.DrawNode(device, 0.5f, c.cameraY, 0.5f, 0, MatrixIdentity());
        EXPECT_EQ(device.m_draws.size(), c.draws);
    }
}

TEST(C3doModel, AFrameBeyondANodesMatricesUsesItsParentsTransformAlone)
{
    C3doModel model = Read(Write3do(Family()));
    model.m_nodes[1]->m_localMatrices.push_back(MatrixTranslation({0, 0, 7}));
    model.m_currentFrame = 1;  // node 1 has two matrices, nodes 0 and 2 one
    CBoundingBox box = kEmptyBox;
    model.NodeBounds(0, box, MatrixIdentity());
    EXPECT_EQ(model.m_nodes[0]->m_transform, MatrixIdentity());
    EXPECT_EQ(model.m_nodes[1]->m_transform, MatrixTranslation({0, 0, 7}));
    EXPECT_EQ(model.m_nodes[2]->m_transform, MatrixIdentity());

    model.m_currentFrame = -1;  // never an index
    model.NodeBounds(0, box, MatrixIdentity());
    EXPECT_EQ(model.m_nodes[1]->m_transform, MatrixIdentity());
}

TEST(C3doModel, HierarchiesWithCyclesEnd)
{
    struct Case {
        const char* what;
        int child0, sibling0, child1, sibling1;
    };
    const Case cases[] = {
        {"child of itself", 0, -1, -1, -1},
        {"sibling of itself", 1, -1, -1, 1},
        {"child points back to its parent", 1, -1, 0, -1},
        {"siblings in a ring", 1, -1, -1, 0},
        {"links beyond the nodes", 99, -5, 1000, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ModelSpec spec;
        spec.geosets = {{Square(), Square()}};
        spec.nodes = {Node(0, -1, c.child0, c.sibling0, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, "a"),
                      Node(1, 0, c.child1, c.sibling1, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, "b")};
        C3doModel model = Read(Write3do(spec));
        CBoundingBox box = kEmptyBox;
        model.NodeBounds(0, box, MatrixIdentity());
        CRecordingRenderDevice device;
        model.DrawNode(device, 0.5f, 0.0f, 0.5f, 0, MatrixIdentity());
        EXPECT_LE(device.m_draws.size(), 2u);
        // Starting nodes outside the hierarchy draw nothing.
        CRecordingRenderDevice none;
        model.DrawNode(none, 0, 0, 0, -1, MatrixIdentity());
        model.DrawNode(none, 0, 0, 0, 2, MatrixIdentity());
        EXPECT_TRUE(none.m_calls.empty());
    }
}

TEST(C3doModel, FacesDrawWithTheirTexture)
{
    CBitmapImage image;
    image.CreateFromBits(CPalette{}, std::vector<std::uint8_t>(64 * 32, 1), 64, 32, 8);
    CQzlSections level;
    level.m_levelFiles.m_entries.push_back(
        std::make_unique<CTreeObject>("brick.mat", image.WriteMat(), 0));
    CRecordingRenderDevice device;
    CTextureCache cache(&device);
    C3doLoadContext context;
    context.m_level = &level;
    context.m_textures = &cache;
    ModelSpec spec = OneMesh(Square());
    spec.materials = {"brick.mat"};
    spec.geosets[0][0].faces = {Face(0, 4, "0,0 1,1 2,2 3,3"), Face(0, 4, "3,3 2,2 1,1 0,0")};
    C3doModel model = Read(Write3do(spec), context);
    const TextureId id = model.m_nodes[0]->m_mesh->m_faceTextures.at(0)->m_surface;
    ASSERT_NE(id, kNoTexture);

    device.m_draws.clear();
    // Edge-on: both faces (one each way) are drawn.
    model.DrawNode(device, 0.5f, 0.0f, 0.5f, 0, MatrixIdentity());
    ASSERT_EQ(device.m_draws.size(), 2u);
    EXPECT_EQ(device.m_draws[0].m_texture, id);
    EXPECT_EQ(device.m_draws[1].m_texture, id);
}

}  // namespace
