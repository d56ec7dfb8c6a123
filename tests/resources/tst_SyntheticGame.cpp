#include "SyntheticGame.h"
#include "engine/3doModel.h"
#include "engine/Texture.h"
#include "engine/TextureCache.h"
#include "framework/Exceptions.h"
#include "framework/FileIO.h"
#include "framework/StringUtil.h"
#include "level/CogSymbols.h"
#include "level/QzlLines.h"
#include "level/QzlSections.h"
#include "level/QzlTemplate.h"
#include "level/ResourceLists.h"
#include "level/TemplateList.h"
#include "level/TemplateParams.h"
#include "resources/GameIndex.h"
#include "resources/Tree.h"
#include "resources/TreeObject.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t Word(const Bytes& bytes, std::size_t at)
{
    if (at + 4 > bytes.size())
        return 0xFFFFFFFF;
    return std::uint32_t{bytes[at]} | std::uint32_t{bytes[at + 1]} << 8 |
           std::uint32_t{bytes[at + 2]} << 16 | std::uint32_t{bytes[at + 3]} << 24;
}

std::string Tag(const Bytes& bytes, std::size_t at)
{
    if (at + 4 > bytes.size())
        return {};
    return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                       bytes.begin() + static_cast<std::ptrdiff_t>(at + 4));
}

bool Has(const CTree& tree, const std::string& name)
{
    int position = 0;
    return tree.Find(name, position) == 1;
}

Bytes Read(const CSyntheticGame& game, const CTreeObject& entry, bool sound = false)
{
    const GameArchive& archive = sound ? *game.m_soundArchive : *game.m_archive;
    return archive.ReadBytes(static_cast<std::uint32_t>(entry.m_offset),
                             static_cast<std::uint32_t>(entry.m_size));
}

std::vector<std::string> Lines(const Bytes& bytes)
{
    std::vector<std::string> lines;
    CQzlLineReader reader(bytes);
    std::string line;
    while (reader.ReadNextLine(line))
        lines.push_back(line);
    return lines;
}

// The game written to disk once for the tests that read it from there.
class SyntheticGameFolder : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_temp = std::make_unique<CTempFolder>("qz_synthetic_game");
        s_dir = s_temp->Path();
        BuildSyntheticGame(s_dir / "a");
    }
    static void TearDownTestSuite() { s_temp.reset(); }

    static std::unique_ptr<CTempFolder> s_temp;
    static std::filesystem::path s_dir;
};

std::unique_ptr<CTempFolder> SyntheticGameFolder::s_temp;
std::filesystem::path SyntheticGameFolder::s_dir;

const char* const kGameFiles[] = {"resource/res2.gob",   "resource/res1hi.gob",
                                  "resource/qzvres.goo", "resource/qzvsndhi.goo",
                                  "korvath.dat",         "varnok.dat"};

}  // namespace

TEST_F(SyntheticGameFolder, BothProductsOpenAndIndex)
{
    struct Expect {
        int product;
        std::size_t materials, colorMaps, snd, cogs, puppets, sounds;
    };
    const Expect expects[] = {{0, 12, 2, 4, 15, 2, 9}, {1, 13, 3, 5, 16, 2, 10}};
    for (const Expect& e : expects) {
        SCOPED_TRACE(e.product);
        const auto game = LoadSyntheticGame(s_dir / "a", e.product);
        const CGameResources& r = game->m_resources;
        EXPECT_EQ(r.m_product, e.product);
        EXPECT_EQ(r.m_archive, game->m_archive.get());
        EXPECT_EQ(r.m_soundArchive, game->m_soundArchive.get());
        EXPECT_EQ(r.m_treeMaterials.m_entries.size(), e.materials);
        EXPECT_EQ(r.m_treeColorMaps.m_entries.size(), e.colorMaps);
        EXPECT_EQ(r.m_treeSnd.m_entries.size(), e.snd);
        EXPECT_EQ(r.m_treeCogs.m_entries.size(), e.cogs);
        EXPECT_EQ(r.m_treePuppets.m_entries.size(), e.puppets);
        EXPECT_EQ(r.m_treeSounds.m_entries.size(), e.sounds);

        const std::pair<const CTree*, const char*> known[] = {
            {&r.m_treeMaterials, "lava.mat"},  {&r.m_treeMaterials, "DFLT.MAT"},
            {&r.m_treeColorMaps, "dflt.cmp"},  {&r.m_treeCogs, "door.cog"},
            {&r.m_treeCogs, "switch.cog"},     {&r.m_treeSnd, "door.snd"},
            {&r.m_treePuppets, "ranger.pup"},  {&r.m_treeSounds, "dooropen.wav"},
            {&r.m_tree3do, "crate.3do"},       {&r.m_tree3do, "crate.mat"},
            {&r.m_tree3do, "walk.key"},        {&r.m_tree3do, "fpfists.3do"},
            {&r.m_treePuppets, "strider.pup"}, {&r.m_tree3do, "strider.3do"},
            {&r.m_tree3do, "strider.mat"},     {&r.m_tree3do, "strwalk.key"},
        };
        for (const auto& [tree, name] : known)
            EXPECT_TRUE(Has(*tree, name)) << name;
        const bool varnok = e.product == 1;
        EXPECT_EQ(Has(r.m_treeMaterials, "ice.mat"), varnok);
        EXPECT_EQ(Has(r.m_treeCogs, "relic.cog"), varnok);
        EXPECT_EQ(Has(r.m_treeSounds, "relichum.wav"), varnok);

        // The template list: the hand-made head first, then every built-in template once.
        const char* const head[][2] = {
            {"_base", "none"},   {"_decor", "_base"},    {"_item", "_base"},
            {"_actor", "_base"}, {"_weapon", "_base"},   {"_fx", "_base"},
            {"crate", "_decor"}, {"+cratechunk", "_fx"}, {"+crateburst", "_fx"}};
        ASSERT_GT(r.m_templates.size(), std::size(head));
        for (std::size_t i = 0; i < std::size(head); ++i) {
            EXPECT_EQ(r.m_templates[i]->m_name, head[i][0]);
            EXPECT_EQ(r.m_templates[i]->m_basedOn, head[i][1]);
        }
        EXPECT_EQ(r.m_templates[6]->m_model, "crate.3do");
        std::set<std::string> names;
        for (const auto& t : r.m_templates)
            EXPECT_TRUE(names.insert(t->m_name).second) << t->m_name;
        for (const char* builtIn : GetBuiltInTemplates(e.product))
            EXPECT_EQ(names.count(builtIn), 1u) << builtIn;
    }
}

TEST_F(SyntheticGameFolder, TheGameInMemoryIsTheGameOnDisk)
{
    for (int product = 0; product < 2; ++product) {
        SCOPED_TRACE(product);
        const auto disk = LoadSyntheticGame(s_dir / "a", product);
        const auto memory = MakeSyntheticGame(product);
        EXPECT_EQ(memory->m_archive->GetEntries(), disk->m_archive->GetEntries());
        EXPECT_EQ(memory->m_soundArchive->GetEntries(), disk->m_soundArchive->GetEntries());
        const auto& entry = disk->m_archive->GetEntries().back();
        EXPECT_EQ(memory->m_archive->ReadEntry(entry), disk->m_archive->ReadEntry(entry));
        ASSERT_EQ(memory->m_resources.m_templates.size(), disk->m_resources.m_templates.size());
        EXPECT_EQ(memory->m_resources.m_tree3do.m_entries.size(),
                  disk->m_resources.m_tree3do.m_entries.size());
    }
}

TEST(SyntheticGame, EveryFileTheGameNamesIsThere)
{
    for (int product = 0; product < 2; ++product) {
        SCOPED_TRACE(product);
        const auto game = MakeSyntheticGame(product);
        const CGameResources& r = game->m_resources;

        std::set<std::string> templates;
        for (const auto& t : r.m_templates)
            templates.insert(t->m_name);
        const std::pair<const char*, const CTree*> keys[] = {
            {"model3d=", &r.m_tree3do},        {"puppet=", &r.m_treePuppets},
            {"soundclass=", &r.m_treeSnd},     {"cog=", &r.m_treeCogs},
            {"material=", &r.m_treeMaterials},
        };
        for (const auto& t : r.m_templates) {
            SCOPED_TRACE(t->m_name);
            EXPECT_TRUE(t->m_basedOn == "none" || templates.count(t->m_basedOn)) << t->m_basedOn;
            std::vector<std::string> refs;
            GetReferencedTemplates(t->m_params, refs);
            for (const std::string& ref : refs)
                EXPECT_EQ(templates.count(ref), 1u) << ref;
            for (const auto& [key, tree] : keys) {
                const std::size_t at = t->m_params.find(key);
                if (at == std::string::npos)
                    continue;
                const std::string rest = t->m_params.substr(at + std::strlen(key));
                const std::string value = rest.substr(0, rest.find_first_of(" \t"));
                EXPECT_TRUE(Has(*tree, value)) << key << value;
            }
        }

        for (const auto& snd : r.m_treeSnd.m_entries) {
            int wavs = 0;
            for (const std::string& line : Lines(Read(*game, *snd))) {
                const std::string_view wav = ExtractFileName(line, ".wav");
                if (wav.empty())
                    continue;
                ++wavs;
                EXPECT_TRUE(Has(r.m_treeSounds, std::string(wav))) << snd->m_name << ": " << wav;
            }
            EXPECT_GT(wavs, 0) << snd->m_name;
        }
        const std::map<std::string, int> keysOfPuppet = {{"ranger.pup", 3}, {"strider.pup", 2}};
        ASSERT_EQ(r.m_treePuppets.m_entries.size(), keysOfPuppet.size());
        for (const auto& pup : r.m_treePuppets.m_entries) {
            int keyCount = 0;
            for (const std::string& line : Lines(Read(*game, *pup))) {
                const std::string_view key = ExtractFileName(line, ".key");
                if (key.empty())
                    continue;
                ++keyCount;
                EXPECT_TRUE(Has(r.m_tree3do, std::string(key))) << pup->m_name << ": " << key;
            }
            EXPECT_EQ(keyCount, keysOfPuppet.at(pup->m_name)) << pup->m_name;
        }

        // What the cog scripts name by default is in the game too.
        for (const auto& cog : r.m_treeCogs.m_entries) {
            for (const CCogSymbol& symbol : ReadCogSymbolSection(Read(*game, *cog))) {
                if (symbol.m_default.empty())
                    continue;
                SCOPED_TRACE(cog->m_name + ": " + symbol.GetLabel());
                const std::map<std::string, const CTree*> files = {{"material", &r.m_treeMaterials},
                                                                   {"sound", &r.m_treeSounds},
                                                                   {"keyframe", &r.m_tree3do}};
                if (files.count(symbol.m_type)) {
                    EXPECT_TRUE(Has(*files.at(symbol.m_type), symbol.m_default));
                }
                if (symbol.m_type == "template") {
                    EXPECT_EQ(templates.count(symbol.m_default), 1u);
                }
            }
        }

        // Every model names model materials only, and is a DOS text file.
        for (const auto& model : r.m_tree3do.m_entries) {
            if (model->m_name.find(".3do") == std::string::npos)
                continue;
            const Bytes bytes = Read(*game, *model);
            const std::string text(bytes.begin(), bytes.end());
            const std::size_t list = text.find("MATERIALS ");
            ASSERT_NE(list, std::string::npos) << model->m_name;
            const int count = std::atoi(text.c_str() + list + 10);
            EXPECT_GT(count, 0) << model->m_name;
            for (int i = 0; i < count; ++i) {
                const std::string line = "\r\n" + std::string(5, ' ') + std::to_string(i) + ":   ";
                const std::size_t at = text.find(line, list);
                ASSERT_NE(at, std::string::npos) << model->m_name << ": material " << i;
                const std::size_t start = at + line.size();
                const std::string material = text.substr(start, text.find('\r', start) - start);
                EXPECT_TRUE(Has(r.m_tree3do, material)) << model->m_name << ": " << material;
            }
            EXPECT_NE(text.find("SECTION: HIERARCHYDEF"), std::string::npos);
            for (std::size_t i = 0; i < text.size(); ++i) {
                if (text[i] == '\n') {
                    ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << model->m_name << " at " << i;
                }
            }
        }
    }
}

TEST(SyntheticGame, CogScriptsUseEveryTypeWord)
{
    const auto game = MakeSyntheticGame(1);
    std::set<std::string> types;
    bool local = false;
    for (const auto& cog : game->m_resources.m_treeCogs.m_entries) {
        for (const CCogSymbol& symbol : ReadCogSymbolSection(Read(*game, *cog))) {
            types.insert(symbol.m_type);
            local = local || symbol.m_local;
        }
    }
    EXPECT_EQ(types.size(), std::size_t{kCogTypeCount});
    EXPECT_TRUE(local);

    // door.cog: the untyped line, the comments and the two locals take no value.
    int position = 0;
    ASSERT_TRUE(game->m_resources.m_treeCogs.Find("door.cog", position));
    std::vector<std::string> labels, defaults, typeWords;
    ParseCogSymbols(
        Read(*game, *game->m_resources.m_treeCogs.m_entries[static_cast<std::size_t>(position)]),
        labels, defaults, typeWords);
    EXPECT_EQ(typeWords, (std::vector<std::string>{"surface", "sector", "thing", "sound", "sound",
                                                   "float", "flex"}));
    EXPECT_EQ(defaults, (std::vector<std::string>{"", "", "", "dooropen.wav", "doorclose.wav",
                                                  "2.5", "1.5"}));
}

TEST(SyntheticGame, FilesFollowTheirFormats)
{
    const auto game = MakeSyntheticGame(1);
    const CGameResources& r = game->m_resources;

    // Materials: "MAT ", 0x32, records and cels laid out as their headers say.
    std::set<std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>> shapes;  // w, h, cels
    for (const CTree* tree : {&r.m_treeMaterials, &r.m_tree3do}) {
        for (const auto& entry : tree->m_entries) {
            if (entry->m_name.find(".mat") == std::string::npos)
                continue;
            SCOPED_TRACE(entry->m_path);
            const Bytes mat = Read(*game, *entry);
            ASSERT_GE(mat.size(), 76u);
            EXPECT_EQ(Tag(mat, 0), "MAT ");
            EXPECT_EQ(Word(mat, 4), 0x32u);
            EXPECT_EQ(Word(mat, 24), 8u);
            const std::uint32_t records = Word(mat, 12);
            ASSERT_GE(records, 1u);
            if (Word(mat, 8) == 0) {
                EXPECT_EQ(mat.size(), 76u + 24u * records);
                EXPECT_EQ(mat[76 + 24 * (records - 1) + 4], 180);
                continue;
            }
            EXPECT_EQ(Word(mat, 8), 2u);
            EXPECT_EQ(Word(mat, 16), records);
            std::size_t at = 76;
            for (std::uint32_t i = 0; i < records; ++i, at += 40) {
                EXPECT_EQ(Word(mat, at), 8u);
                EXPECT_EQ(Word(mat, at + 32), 0xBFF78482u);
                EXPECT_EQ(Word(mat, at + 36), i);
            }
            const std::uint32_t width = Word(mat, at);
            const std::uint32_t height = Word(mat, at + 4);
            for (std::uint32_t i = 0; i < records; ++i) {
                EXPECT_EQ(Word(mat, at), width);
                EXPECT_EQ(Word(mat, at + 4), height);
                // One level, or a whole mip chain of levels each half the one before.
                const std::uint32_t levels = Word(mat, at + 20);
                EXPECT_GE(levels, 1u);
                EXPECT_LE(levels, 6u);
                at += 24;
                for (std::uint32_t level = 0; level < levels; ++level)
                    at += std::size_t{std::max(width >> level, 1u)} * std::max(height >> level, 1u);
            }
            EXPECT_EQ(at, mat.size());
            shapes.insert({width, height, records});
        }
    }
    EXPECT_EQ(shapes.count({32, 32, 4}), 1u);   // animated
    EXPECT_EQ(shapes.count({48, 24, 2}), 1u);   // animated, not square
    EXPECT_EQ(shapes.count({64, 64, 1}), 1u);   // single cel
    EXPECT_EQ(shapes.count({128, 32, 1}), 1u);  // single cel, not square

    // Colour maps: 17216 bytes, the palette at 64, light rows from black to the colour itself.
    for (const auto& entry : r.m_treeColorMaps.m_entries) {
        SCOPED_TRACE(entry->m_path);
        const Bytes cmp = Read(*game, *entry);
        ASSERT_EQ(cmp.size(), 17216u);
        const Bytes palette(cmp.begin() + 64, cmp.begin() + 832);
        if (entry->m_name == "dflt.cmp") {
            EXPECT_EQ(palette, SyntheticPalette(0));
            EXPECT_EQ(cmp[832], 0);  // black
        }
        for (std::size_t c = 0; c < 256; ++c) {
            EXPECT_EQ(cmp[832 + c], cmp[832]);  // at light 0 every colour is the darkest one
            const std::size_t full = cmp[832 + 63 * 256 + c];
            for (std::size_t k = 0; k < 3; ++k)
                EXPECT_EQ(palette[full * 3 + k], palette[c * 3 + k]);
        }
    }

    // Sounds: RIFF/WAVE with a 16-byte PCM "fmt " chunk and a "data" chunk, padded to even size.
    for (const auto& entry : r.m_treeSounds.m_entries) {
        SCOPED_TRACE(entry->m_path);
        const Bytes wav = Read(*game, *entry, true);
        ASSERT_GE(wav.size(), 44u);
        EXPECT_EQ(Tag(wav, 0), "RIFF");
        EXPECT_EQ(Word(wav, 4) + 8, wav.size());
        EXPECT_EQ(Tag(wav, 8), "WAVE");
        EXPECT_EQ(Tag(wav, 12), "fmt ");
        EXPECT_EQ(Word(wav, 16), 16u);
        EXPECT_EQ(Word(wav, 20) & 0xFFFF, 1u);  // PCM
        EXPECT_EQ(Tag(wav, 36), "data");
        EXPECT_EQ((Word(wav, 40) + 1) / 2 * 2 + 44, wav.size());
        EXPECT_EQ(wav.size() % 2, 0u);
    }
}

// strider.3do read as the engine reads a thing's model: through the product's indexes, with the
// level's copy of the template that names it and its puppet, and the materials decoded.
TEST(SyntheticGame, TheStriderHasAHierarchyASharedMeshAndAWalk)
{
    const auto near = [](const CVector3& a, const CVector3& b) {
        return std::fabs(a.x - b.x) < 1e-5f && std::fabs(a.y - b.y) < 1e-5f &&
               std::fabs(a.z - b.z) < 1e-5f;
    };
    const auto text = [](const CVector3& v) {
        return "(" + std::to_string(v.x) + ", " + std::to_string(v.y) + ", " + std::to_string(v.z) +
               ")";
    };

    for (const int product : {0, 1}) {
        SCOPED_TRACE(product);
        const auto game = MakeSyntheticGame(product);
        CQzlSections level;
        CollectTemplateRefs(level, game->m_resources.m_templates, "strider");
        CTextureCache textures;
        C3doLoadContext context;
        context.m_game = &game->m_resources;
        context.m_level = &level;
        context.m_textures = &textures;
        C3doModel model(context, "strider.3do", "dflt.cmp");
        ASSERT_EQ(model.m_loadError, "");
        EXPECT_TRUE(model.m_missingMaterials.empty());

        // The hierarchy; positions and pivots in render axes (the file's y and z exchanged).
        struct NodeCase {
            const char* name;
            int mesh, parent, child, sibling, children;
            CVector3 position, pivot;
        };
        const NodeCase nodes[] = {
            {"body", 0, -1, 1, -1, 2, {0, 0.095f, 0}, {0, 0, 0}},
            {"lleg", 1, 0, 2, 3, 1, {-0.025f, -0.025f, 0}, {0, -0.02f, 0}},
            {"lfoot", 2, 1, -1, -1, 0, {0, -0.06f, 0.008f}, {0, -0.005f, 0}},
            {"rleg", 1, 0, 4, -1, 1, {0.025f, -0.025f, 0}, {0, -0.01f, 0}},
            {"rfoot", 3, 3, -1, -1, 0, {0, -0.06f, 0.008f}, {0, -0.005f, 0}},
        };
        ASSERT_EQ(model.m_nodes.size(), std::size(nodes));
        for (std::size_t i = 0; i < std::size(nodes); ++i) {
            const NodeCase& e = nodes[i];
            const C3doNode& n = *model.m_nodes[i];
            SCOPED_TRACE(e.name);
            EXPECT_EQ(n.m_name, e.name);
            EXPECT_EQ(n.m_number, static_cast<int>(i));
            EXPECT_EQ(n.m_meshIndex, e.mesh);
            EXPECT_EQ(n.m_parent, e.parent);
            EXPECT_EQ(n.m_child, e.child);
            EXPECT_EQ(n.m_sibling, e.sibling);
            EXPECT_EQ(n.m_childCount, e.children);
            EXPECT_TRUE(near(n.m_position, e.position)) << text(n.m_position);
            EXPECT_TRUE(near(n.m_pivot, e.pivot)) << text(n.m_pivot);
            EXPECT_NE(n.m_mesh, nullptr);
        }

        // Four meshes, each owned once: the legs name the same one.
        ASSERT_EQ(model.m_meshes.size(), 4u);
        EXPECT_EQ(model.m_nodes[1]->m_mesh, model.m_nodes[3]->m_mesh);
        std::set<const C3doMesh*> named;
        for (const auto& n : model.m_nodes)
            named.insert(n->m_mesh);
        for (const auto& mesh : model.m_meshes)
            EXPECT_EQ(named.count(mesh.get()), 1u);
        EXPECT_EQ(named.size(), 4u);

        // Each mesh keeps its six faces, textured with its material at that material's size: the
        // third corner of every face sits at texture coordinates (1, 1).
        const C3doMesh& body = *model.m_nodes[0]->m_mesh;
        for (std::size_t m = 0; m < model.m_meshes.size(); ++m) {
            const C3doMesh& mesh = *model.m_meshes[m];
            SCOPED_TRACE(m);
            ASSERT_EQ(mesh.m_faces.size(), 6u);
            ASSERT_EQ(mesh.m_faceTextures.size(), 6u);
            for (std::size_t f = 0; f < 6; ++f) {
                const CTexture* texture = mesh.m_faceTextures[f];
                ASSERT_NE(texture, nullptr);
                EXPECT_EQ(texture->m_material, &mesh == &body ? "strider.mat" : "metal.mat");
                EXPECT_EQ(texture->m_width, &mesh == &body ? 48 : 32);
                EXPECT_EQ(texture->m_height, 32);
                ASSERT_EQ(mesh.m_faces[f].m_vertices.size(), 4u);
                EXPECT_FLOAT_EQ(mesh.m_faces[f].m_vertices[2].tu, 1.0f);
                EXPECT_FLOAT_EQ(mesh.m_faces[f].m_vertices[2].tv, 1.0f);
            }
        }

        // The shared leg, a box of half height 0.03, takes both legs' pivots: it hangs from its
        // node, from 0 down to -0.06.
        CBoundingBox leg{{1e11f, 1e11f, 1e11f}, {-1e11f, -1e11f, -1e11f}};
        for (const C3doFace& face : model.m_nodes[1]->m_mesh->m_faces) {
            for (const D3DLVERTEX& v : face.m_vertices) {
                leg.min = VectorMin(leg.min, CVector3(v.x, v.y, v.z));
                leg.max = VectorMax(leg.max, CVector3(v.x, v.y, v.z));
            }
        }
        EXPECT_TRUE(near(leg.min, {-0.01f, -0.06f, -0.01f})) << text(leg.min);
        EXPECT_TRUE(near(leg.max, {0.01f, 0.0f, 0.01f})) << text(leg.max);

        // strider.pup names strwalk.key first: 12 frames at 12 per second, one matrix per frame
        // for every node. Keyframes at 0 and 6: the legs swing by 5 degrees of pitch a frame out
        // to 30 and back, the feet turn against them, the body rises by 0.001 a frame and sinks.
        EXPECT_EQ(model.m_frameCount, 12);
        EXPECT_FLOAT_EQ(model.m_frameTime, 1.0f / 12.0f);
        const float swing[] = {0.0f, 1.0f, -1.0f, -1.0f, 1.0f};  // pitch per step, by node
        for (std::size_t i = 0; i < std::size(nodes); ++i) {
            const C3doNode& n = *model.m_nodes[i];
            SCOPED_TRACE(n.m_name);
            ASSERT_EQ(n.m_localMatrices.size(), 12u);
            for (int frame = 0; frame < 12; ++frame) {
                const int steps = frame <= 6 ? frame : 12 - frame;
                CVector3 position = nodes[i].position;
                if (i == 0)
                    position.y += 0.001f * static_cast<float>(steps);
                D3DMATRIX expected = RotationMatrix(
                    ModelDegreesToRadians(5.0f * swing[i] * static_cast<float>(steps)), 0.0f, 0.0f);
                expected.m[3][0] = position.x;
                expected.m[3][1] = position.y;
                expected.m[3][2] = position.z;
                const D3DMATRIX& actual = n.m_localMatrices[static_cast<std::size_t>(frame)];
                for (int r = 0; r < 4; ++r)
                    for (int c = 0; c < 4; ++c)
                        EXPECT_NEAR(actual.m[r][c], expected.m[r][c], 1e-5f)
                            << "frame " << frame << " row " << r << " column " << c;
            }
        }

        // Posed and bounded: at rest the walker stands on y = 0. At frame 6 the legs are at 30
        // degrees either way and the feet level; the lower foot, whose ankle lies 0.06 below the
        // hip and 0.008 toward the swing, has its sole (0.01 below the ankle) at
        // 0.101 - 0.025 - (0.06 cos 30 + 0.008 sin 30) - 0.01.
        const float thirty = 3.1415927f / 6.0f;
        for (int frame = 0; frame < 12; ++frame) {
            SCOPED_TRACE(frame);
            model.m_currentFrame = frame;
            CBoundingBox box{{1e11f, 1e11f, 1e11f}, {-1e11f, -1e11f, -1e11f}};
            model.NodeBounds(0, box, MatrixIdentity());
            for (const float v : {box.min.x, box.min.y, box.min.z, box.max.x, box.max.y, box.max.z})
                EXPECT_TRUE(std::isfinite(v) && std::fabs(v) < 1.0f) << v;
            EXPECT_NEAR(box.min.x, -0.04f, 1e-5f);
            EXPECT_NEAR(box.max.x, 0.04f, 1e-5f);
            if (frame == 0) {
                EXPECT_TRUE(near(box.min, {-0.04f, 0.0f, -0.03f})) << text(box.min);
                EXPECT_TRUE(near(box.max, {0.04f, 0.12f, 0.03f})) << text(box.max);
            }
            if (frame == 6) {
                const float drop = 0.06f * std::cos(thirty) + 0.008f * std::sin(thirty);
                EXPECT_NEAR(box.min.y, 0.076f - drop - 0.01f, 1e-5f);
            }
            // Each foot turns against its leg: its world rotation stays the identity.
            for (const std::size_t foot : {2u, 4u}) {
                const D3DMATRIX& w = model.m_nodes[foot]->m_transform;
                for (int r = 0; r < 3; ++r) {
                    for (int c = 0; c < 3; ++c) {
                        EXPECT_NEAR(w.m[r][c], r == c ? 1.0f : 0.0f, 1e-5f)
                            << model.m_nodes[foot]->m_name;
                    }
                }
            }
        }
    }
}

TEST(SyntheticGame, TheDefaultListsHaveNoCyclesAndTheTestListHas)
{
    // A walk over based-on names and references that reports whether it meets a name it is still
    // visiting.
    const auto hasCycle = [](const std::string& text) {
        const auto list = ReadTemplateList(text);
        std::map<std::string, std::vector<std::string>> edges;
        for (const auto& t : list) {
            auto& to = edges[t->m_name];
            to.push_back(t->m_basedOn);
            GetReferencedTemplates(t->m_params, to);
        }
        std::map<std::string, int> state;  // 1 visiting, 2 done
        const auto visit = [&edges, &state](const auto& self, const std::string& name) -> bool {
            if (state[name] == 1)
                return true;
            if (state[name] == 2 || !edges.count(name))
                return false;
            state[name] = 1;
            for (const std::string& next : edges[name]) {
                if (self(self, next))
                    return true;
            }
            state[name] = 2;
            return false;
        };
        for (const auto& t : list) {
            if (visit(visit, t->m_name))
                return true;
        }
        return false;
    };
    EXPECT_FALSE(hasCycle(SyntheticTemplateList(0)));
    EXPECT_FALSE(hasCycle(SyntheticTemplateList(1)));
    EXPECT_TRUE(hasCycle(SyntheticCyclicTemplateList()));
}

TEST_F(SyntheticGameFolder, GeneratingTwiceGivesTheSameBytes)
{
    BuildSyntheticGame(s_dir / "b");
    for (const char* file : kGameFiles) {
        SCOPED_TRACE(file);
        EXPECT_EQ(ReadFileBytes(s_dir / "b" / file), ReadFileBytes(s_dir / "a" / file));
    }
    EXPECT_EQ(BuildSyntheticArchives(0).m_main.GetBytes(),
              ReadFileBytes(s_dir / "a" / "resource/res2.gob"));
    // The colour maps are made once per process; make one afresh.
    const Bytes cmp = MakeSyntheticCmp(SyntheticPalette(1));
    const auto game = MakeSyntheticGame(0);
    int position = 0;
    ASSERT_TRUE(game->m_resources.m_treeColorMaps.Find("warm.cmp", position));
    EXPECT_EQ(
        Read(*game,
             *game->m_resources.m_treeColorMaps.m_entries[static_cast<std::size_t>(position)]),
        cmp);
}

TEST_F(SyntheticGameFolder, FilesAreFoundWhateverTheirLetterCase)
{
    const std::filesystem::path c = s_dir / "c";
    std::filesystem::create_directories(c / "RESOURCE");
    std::filesystem::copy_file(s_dir / "a" / "resource/res2.gob", c / "RESOURCE/Res2.GOB");
    // Only the second choice of sound archive.
    std::filesystem::copy_file(s_dir / "a" / "resource/res1hi.gob", c / "RESOURCE/RES1LOW.GOB");
    std::filesystem::copy_file(s_dir / "a" / "korvath.dat", c / "Korvath.Dat");

    const auto game = LoadSyntheticGame(c, 0);
    EXPECT_EQ(game->m_resources.m_treeSounds.m_entries.size(), 9u);
    EXPECT_GT(game->m_resources.m_templates.size(), 9u);

    // Varnok's files are not there.
    EXPECT_THROW(LoadSyntheticGame(c, 1), CFileException);
}
