// qzbench: times the core's work on generated levels and feeds files to it.
//   qzbench generate SECTORS OUT.qze   write a generated level of that many joined box sectors
//   qzbench read [--varnok] FILE       load a level (text or archive form, told by its content,
//                                      as the editor opens it) and print its counts and the load
//                                      time
//   qzbench roundtrip [--varnok] IN OUT  load a level as read does and save it as OUT: .qzl text
//                                      for a name ending in .qzl, else the .qze archive form
//   qzbench write-qzl [--varnok] IN OUT  load a level as read does and write it as .qzl text
//   qzbench undo N FILE                load a level, take N undo snapshots of it, each after an
//                                      edit of one sector, and restore each; print the mean time
//                                      of one snapshot and one restore, the bytes of one snapshot
//                                      and those the N hold together
//   qzbench decode FILE                decode an asset file, chosen by its extension, and print
//                                      one line of what it holds
//   qzbench rebuild FILE               load a level and time the 3D view's full render-data
//                                      rebuild (RebuildAll, with its neighbour-walk visibility
//                                      pass)
//   qzbench visibility FILE [METHOD]   load and rebuild a level, then time the visibility pass
//                                      (ProcessSectors) with "RenderMethod" METHOD (2 portal walk,
//                                      0 neighbour walk); both methods when none is given
//   qzbench frame [--varnok] [--camera=WHERE] FILE W H N [GAME]
//                                      load a level and draw N frames of W x H pixels offscreen
//                                      as the editor draws them: the OpenGL device, textures of
//                                      the game in folder GAME (default: the build's synthetic
//                                      game) through the texture cache, a vertex buffer per
//                                      sector, all sectors solid, the camera where the editor
//                                      puts it; print the rebuild time and the median frame time
//                                      (in a build with the OpenGL device, which needs Qt).
//                                      WHERE moves the camera: "outside" (beyond a corner of the
//                                      level box and above it, looking at its centre) or
//                                      X,Y,Z,FX,FY,FZ (a position and a forward direction)
//   qzbench apply [--varnok] IN OUT [undo|redo] OP [WORD...]
//                                      load a level as read does and open it as the editor does
//                                      (all render data built), set the selection from the words
//                                      sector=N surface=N vertex=N (a corner of the current
//                                      surface) thing=N node=X,Y,Z (a picked grid node, repeated
//                                      for more), answer the operation's questions from the words
//                                      answer=yes|no in order (No once they are used up) and its
//                                      pickers from the words pick=NAME in order (Cancel once
//                                      they are used up or for a name the picker lacks), take the
//                                      game of folder DIR from the word game=DIR (default: no
//                                      game), run the editing operation OP with its own words and
//                                      save the result as roundtrip does; undo OP then undoes
//                                      it, redo OP undoes and redoes it (the restores alone: the
//                                      file shows what the undo step gave back). A refused
//                                      operation prints its message and exits 2 without writing
//                                      anything
//   qzbench check [--varnok] FILE [GAME]
//                                      load a level as apply does, with the game of folder GAME
//                                      (default: no game, and the cog parameters go unchecked),
//                                      build its render data and print the level checker's report
//                                      ("None" when it finds nothing) and fatal=1 when a finding
//                                      is fatal, else fatal=0
//   qzbench episode-archive [--varnok] LIST.qml OUT.gob [GAME]
//                                      build the playable episode archive of a multi-level list
//                                      file as the Multi Level Editor's Save As does (the levels
//                                      written in the text format with the game of folder GAME,
//                                      default none); prints levels=N skipped=M and one
//                                      "skipped:" line for each level or file left out
//   qzbench test-archive [--varnok] IN OUT [GAME]
//                                      load a level as read does and write the archive that Test
//                                      Level gives the game as OUT: the episode file, the level's
//                                      text, the message file, "qzedit_start.cog" and
//                                      "qzedit_goals.cog" from the folder of IN (when there and
//                                      switched on) and the level's own files; the document
//                                      fields of an archive-form level, the defaults of a new
//                                      document for a text level; GAME: the game whose cog
//                                      scripts the level's cogs are written with (default: no
//                                      game). Prints each entry's path and size in directory
//                                      order, then a "skipped:" line for each item left out
//   qzbench import-archive [--varnok] IN.gob LEVEL OUT.qze
//                                      import the level named LEVEL (as the archive lists it,
//                                      "canyon.qzl"; letter case ignored) with the archive's files
//                                      as the editor's Open does, and save it in the archive form;
//                                      prints the level files taken (path, offset, size)
//   qzbench export-project [--varnok] IN OUT.qzp
//                                      write the project of a level file as the editor's Save As
//                                      does (the start and goals cogs are not at hand here: a
//                                      level whose switches ask for them lists them as left out);
//                                      every item left out is printed and the exit status is 2
//   --varnok reads and writes the text format of the expansion (product 1).
// Like the editor, qzbench takes its locale from the environment (LC_ALL, LC_NUMERIC, LANG): the
// level files are the same in every locale, while the figures it prints follow the locale.
// Exit status: 0 success, 1 usage, 2 bad file content or a refused operation, 3 file system error,
// 4 no OpenGL 3.3.

#include "ApplyOperations.h"
#include "GridLevel.h"

#include "engine/3doModel.h"
#include "engine/BitmapImage.h"
#include "engine/C3dView.h"
#include "engine/Camera.h"
#include "engine/Clock.h"
#include "engine/ColorMap.h"
#include "engine/EngineHost.h"
#include "engine/FileBuffer.h"
#include "engine/ForwardingRenderDevice.h"
#include "engine/FrameRender.h"
#include "engine/KeyState.h"
#include "engine/ParseWave.h"
#include "engine/Questions.h"
#include "engine/Random.h"
#include "engine/RenderData.h"
#include "engine/TextureCache.h"
#include "engine/Undo.h"
#include "engine/Visibility.h"
#include "episode/EpisodeArchive.h"
#include "episode/LevelChecker.h"
#include "episode/LevelImport.h"
#include "episode/MultiLevelItem.h"
#include "episode/StartGoalsCogs.h"
#include "episode/TestArchive.h"
#include "framework/CFormat.h"
#include "framework/DataFolders.h"
#include "framework/DocumentState.h"
#include "framework/Exceptions.h"
#include "framework/FileIO.h"
#include "framework/Settings.h"
#include "framework/StringUtil.h"
#include "level/GameResources.h"
#include "level/LevelFile.h"
#include "level/ProductSetup.h"
#include "level/QzeFile.h"
#include "level/QzlReader.h"
#include "level/QzlWriter.h"
#include "level/UndoSnapshot.h"
#include "level/VertexUses.h"
#include "resources/GobArchive.h"
#include "resources/GobGameArchive.h"

#if QZ_BENCH_FRAME
#include "engine/gl/GlRenderDevice.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#endif

#include <algorithm>
#include <cfloat>
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <exception>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// "Product" of the text format: 1 with --varnok.
int g_product = 0;
// The camera of the frame bench ("--camera="): none for where the editor puts it.
std::optional<std::string> g_frameCamera;

// Reads count comma-separated numbers (C locale, whatever the user's) into out: false unless the
// text is exactly that and every number is finite as a float.
bool ReadFloatList(const std::string& text, float* out, int count)
{
    const char* p = text.c_str();
    for (int i = 0; i < count; ++i) {
        char* end = nullptr;
        const double value = StrtodC(p, &end);
        if (end == p || !std::isfinite(value) || std::fabs(value) > static_cast<double>(FLT_MAX) ||
            *end != (i + 1 < count ? ',' : '\0'))
            return false;
        out[i] = static_cast<float>(value);
        p = end + 1;
    }
    return count > 0;
}

// One line, whatever the message holds.
std::string OneLine(std::string text)
{
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    return text;
}

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void PrintCounts(const CQzlSections& level)
{
    std::printf(
        "sectors=%zu surfaces=%zu adjoins=%zu vertices=%zu things=%zu materials=%zu cogs=%zu "
        "templates=%zu\n",
        level.m_sectors.size(), level.m_surfaces.size(), level.m_adjoins.size(),
        level.m_worldVertices.size(), level.m_things.size(), level.m_materials.size(),
        level.m_cogs.size(), level.m_templates.size());
}

// The SECTORS word of the generators; 0 (with the message) when it does not read.
int SectorCount(const std::string& word)
{
    char* end = nullptr;
    const long n = std::strtol(word.c_str(), &end, 10);
    if (end == word.c_str() || *end != '\0' || n < 1 || n > 5000000) {
        std::fprintf(stderr, "qzbench: SECTORS must be a whole number from 1 to 5000000\n");
        return 0;
    }
    return static_cast<int>(n);
}

int Generate(const std::vector<std::string>& args)
{
    const int n = SectorCount(args[0]);
    if (n == 0)
        return 1;
    auto start = Clock::now();
    CQzlSections level;
    GenerateGridLevel(level, n);
    const double genMs = MsSince(start);
    start = Clock::now();
    SaveQzeFile(args[1], level, CDocumentFields{});
    const double storeMs = MsSince(start);
    PrintCounts(level);
    std::printf("generate_ms=%.1f store_ms=%.1f\n", genMs, storeMs);
    return 0;
}

// A text level of boxes that share no vertices (eight world vertices each), joined to their
// neighbours: the shape of hand-built levels, for timing the text reader.
int GenerateBoxes(const std::vector<std::string>& args)
{
    const int n = SectorCount(args[0]);
    if (n == 0)
        return 1;
    CQzlSections level;
    GenerateGridLevel(level, n, EGridVertices::ownPerBox);
    const auto start = Clock::now();
    const CGameResources game;
    SaveQzlFile(args[1], level, game, g_product);
    const double writeMs = MsSince(start);
    PrintCounts(level);
    std::printf("write_ms=%.1f\n", writeMs);
    return 0;
}

// A level file in the form its content has, as the editor opens it.
CQzlSections LoadAnyLevel(const std::string& path)
{
    return std::move(LoadLevelFile(path, g_product).m_contents.m_level);
}

int Read(const std::vector<std::string>& args)
{
    const auto start = Clock::now();
    const CQzlSections level = LoadAnyLevel(args[0]);
    const double loadMs = MsSince(start);
    PrintCounts(level);
    std::printf("load_ms=%.1f\n", loadMs);
    return 0;
}

// Writes IN as a .qzl text file, without game resources.
int WriteQzlFile(const std::vector<std::string>& args)
{
    auto start = Clock::now();
    CQzlSections level = LoadAnyLevel(args[0]);
    const double loadMs = MsSince(start);
    start = Clock::now();
    const CGameResources game;
    SaveQzlFile(args[1], level, game, g_product);
    const double writeMs = MsSince(start);
    PrintCounts(level);
    std::printf("load_ms=%.1f write_ms=%.1f\n", loadMs, writeMs);
    return 0;
}

// Saves a level read from a file as OUT, in the form its name asks for: text for ".qzl", else the
// archive form (with the episode fields the file carried, or the defaults of a new document).
void SaveLevelAs(const std::string& path, CLevelFile& file)
{
    CQzeContents& contents = file.m_contents;
    if (file.m_form == ELevelForm::text || contents.m_version < 3)
        contents.m_document = DefaultDocumentFields();
    if (EndsWithNoCase(path, ".qzl"))
        SaveQzlFile(path, contents.m_level, CGameResources(), g_product);
    else
        SaveQzeFile(path, contents.m_level, contents.m_document);
}

// IN in either form to OUT in the form its name asks for.
int Roundtrip(const std::vector<std::string>& args)
{
    auto start = Clock::now();
    CLevelFile file = LoadLevelFile(args[0], g_product);
    const double loadMs = MsSince(start);
    start = Clock::now();
    SaveLevelAs(args[1], file);
    const double storeMs = MsSince(start);
    PrintCounts(file.m_contents.m_level);
    std::printf("load_ms=%.1f store_ms=%.1f\n", loadMs, storeMs);
    return 0;
}

// Prints the path of every entry of a game archive, in directory order.
int GobList(const std::vector<std::string>& args)
{
    const CGobDirectory directory = CGobArchive::ReadDirectory(std::filesystem::path(args[0]));
    for (const CGobEntry& entry : directory.m_entries)
        std::printf("%s\n", entry.m_path.c_str());
    return 0;
}

// ---- decode: one function per asset format, chosen by the file's extension ----

using Bytes = std::span<const std::uint8_t>;

// A material through the grey ramp (no colour map at hand).
int DecodeMat(const std::string& name, Bytes bytes)
{
    CBitmapImage image;
    image.ReadMat(bytes, CColorMap::GreyRamp(), name);
    std::printf("MAT %dx%d cels=%d bits=%d\n", image.GetWidth(), image.GetHeight(),
                image.GetCelCount(), image.GetBitsPerPixel());
    return 0;
}

int DecodeBmp(const std::string& name, Bytes bytes)
{
    CBitmapImage image;
    if (!image.ReadBmp(bytes, name))
        throw CArchiveException(CArchiveException::badFormat, name + ": not a BMP file");
    std::printf("BMP %dx%d bits=%d\n", image.GetWidth(), image.GetHeight(),
                image.GetBitsPerPixel());
    return 0;
}

int DecodeCmp(const std::string& name, Bytes bytes)
{
    CColorMap colorMap;
    colorMap.Read(bytes, name);
    const CPalette palette = colorMap.GetPalette();
    std::printf("CMP colours=256 lightlevels=%d bytes=%zu first=%u,%u,%u\n",
                CColorMap::kLightLevels, colorMap.GetBytes().size(), palette[0], palette[1],
                palette[2]);
    return 0;
}

// A model's geometry, without textures or puppet.
int Decode3do(const std::string& name, Bytes bytes)
{
    C3doModel model(name, "");
    CFileBuffer buffer(bytes, name);
    model.Read3do({}, buffer);
    std::size_t faces = 0;
    std::size_t vertices = 0;
    for (const auto& mesh : model.m_meshes) {
        faces += mesh->m_faces.size();
        for (const C3doFace& face : mesh->m_faces)
            vertices += face.m_vertices.size();
    }
    std::printf("3DO nodes=%zu meshes=%zu faces=%zu vertices=%zu\n", model.m_nodes.size(),
                model.m_meshes.size(), faces, vertices);
    return 0;
}

// A keyframe file, posed onto one node per key node as the editor would pose a model.
int DecodeKey(const std::string& name, Bytes bytes)
{
    CFileBuffer buffer(bytes, name);
    const std::unique_ptr<CKeyNodeList> list = C3doModel::ReadKey(buffer);
    C3doModel model(name, "");
    std::size_t entries = 0;
    for (const CKeyNode& node : list->m_nodes) {
        entries += node.m_entries.size();
        model.m_nodes.push_back(std::make_unique<C3doNode>());
        model.m_nodes.back()->m_name = node.m_meshName;
    }
    if (!model.ApplyKey(*list))
        throw CArchiveException(CArchiveException::badFormat,
                                "\"" + name + "\" poses its nodes with more than " +
                                    std::to_string(C3doModel::kMaxPoseMatrices) + " matrices");
    std::size_t matrices = 0;
    for (const auto& node : model.m_nodes)
        matrices += node->m_localMatrices.size();
    std::printf("KEY frames=%d frametime=%g nodes=%zu entries=%zu matrices=%zu\n",
                list->m_frameCount, static_cast<double>(list->m_frameTime), list->m_nodes.size(),
                entries, matrices);
    return 0;
}

// A puppet: the keyframe file it names.
int DecodePup(const std::string&, Bytes bytes)
{
    const std::string key = C3doModel::FindKeyName(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    std::printf("PUP key=%s\n", key.empty() ? "(none)" : key.c_str());
    return 0;
}

// A sound: the format and the samples of its first "fmt " and "data" chunks.
int DecodeWav(const std::string& name, Bytes bytes)
{
    CWaveFormat format;
    Bytes data;
    std::string why;
    if (!ParseWave(bytes, format, data, &why))
        throw CArchiveException(CArchiveException::badFormat, name + ": " + why);
    const double seconds = format.m_avgBytesPerSec == 0
                               ? 0.0
                               : static_cast<double>(data.size()) / format.m_avgBytesPerSec;
    std::printf("WAV format=%u channels=%u rate=%u bits=%u data=%zu seconds=%.3f\n",
                unsigned{format.m_formatTag}, unsigned{format.m_channels},
                unsigned{format.m_samplesPerSec}, unsigned{format.m_bitsPerSample}, data.size(),
                seconds);
    return 0;
}

struct DecodeFormat {
    const char* extension;
    int (*decode)(const std::string& name, Bytes bytes);
};

const DecodeFormat kDecodeFormats[] = {
    {".mat", DecodeMat}, {".bmp", DecodeBmp}, {".cmp", DecodeCmp}, {".3do", Decode3do},
    {".key", DecodeKey}, {".pup", DecodePup}, {".wav", DecodeWav},
};

int Decode(const std::vector<std::string>& args)
{
    const std::string name = std::filesystem::path(args[0]).filename().string();
    for (const DecodeFormat& format : kDecodeFormats)
        if (EndsWithNoCase(args[0], format.extension))
            return format.decode(name, ReadFileBytes(args[0]));
    throw CArchiveException(CArchiveException::badFormat, name + ": no decoder for this file type");
}

// Undo snapshots of a whole level: N taken, each beside the one before as the undo list takes
// them, after an edit of one sector each (its extra light, the i-th sector from the middle), then
// N restored, newest first, as Undo restores them (and again each read whole:
// full_restore_ms). snapshot_bytes is the size of one snapshot, held_bytes what the N hold
// together.
int UndoBench(const std::vector<std::string>& args)
{
    char* end = nullptr;
    const long n = std::strtol(args[0].c_str(), &end, 10);
    if (end == args[0].c_str() || *end != '\0' || n < 1 || n > 100) {
        std::fprintf(stderr, "qzbench: N must be a whole number from 1 to 100\n");
        return 1;
    }
    CQzlSections level = LoadAnyLevel(args[1]);
    std::vector<CUndoSnapshot> snapshots(static_cast<std::size_t>(n));

    double storeMs = 0.0;
    for (std::size_t i = 0; i < snapshots.size(); ++i) {
        const auto start = Clock::now();
        snapshots[i].StoreLevel(level, i == 0 ? nullptr : &snapshots[i - 1]);
        storeMs += MsSince(start);
        if (!level.m_sectors.empty())
            level.m_sectors[(level.m_sectors.size() / 2 + i) % level.m_sectors.size()]
                ->m_extraLight += 0.25f;
    }
    const double snapshotMs = storeMs / static_cast<double>(n);

    // As Undo restores: the level as it is now is taken beside the newest snapshot first (the
    // snapshot figure), then each restore starts from the level the one before gave back.
    CUndoSnapshot now;
    now.StoreLevel(level, &snapshots.back());
    const CUndoSnapshot* levelNow = &now;
    auto start = Clock::now();
    for (auto it = snapshots.rbegin(); it != snapshots.rend(); ++it) {
        it->LoadLevel(level, levelNow);
        CountVertexUses(level);
        levelNow = &*it;
    }
    const double restoreMs = MsSince(start) / static_cast<double>(n);
    // The same restores, each reading the whole snapshot back.
    start = Clock::now();
    for (auto it = snapshots.rbegin(); it != snapshots.rend(); ++it) {
        it->LoadLevel(level);
        CountVertexUses(level);
    }
    const double fullRestoreMs = MsSince(start) / static_cast<double>(n);

    std::vector<const CUndoSnapshot*> held;
    for (const CUndoSnapshot& snapshot : snapshots)
        held.push_back(&snapshot);
    PrintCounts(level);
    std::printf("snapshots=%ld snapshot_bytes=%zu held_bytes=%zu snapshot_ms=%.1f restore_ms=%.1f "
                "full_restore_ms=%.1f\n",
                n, snapshots.front().Size(), HeldBytes(held), snapshotMs, restoreMs, fullRestoreMs);
    return 0;
}

// ---- rebuild and visibility: the 3D view's engine without a window ----

// Keeps the messages the engine shows and answers its questions from a script (No once the
// script is used up).
class CBenchHost : public CEngineHost {
public:
    void ShowMessage(std::string_view text) override { m_messages.emplace_back(text); }
    bool AskYesNo(std::string_view text) override
    {
        const bool answer = !m_answers.empty() && m_answers.front();
        if (!m_answers.empty())
            m_answers.pop_front();
        std::printf("question: %s -> %s\n", OneLine(std::string(text)).c_str(),
                    answer ? "yes" : "no");
        return answer;
    }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void BeginProgress(std::string_view, int) override {}
    void StepProgress() override {}
    void EndProgress() override {}
    void SetStatusText(std::string_view) override {}
    void ViewsChanged() override {}
    void SetModifiedFlag(bool) override {}
    void RequestFrame(bool) override {}

    // The pickers choose the names of the pick words in order; a name the picker does not list,
    // or no name left, is Cancel.
    std::optional<CMaterialChoice> PickMaterial(std::string_view, int mode) override
    {
        const int position = NextPick(EPicker::Material, mode);
        return m_view == nullptr
                   ? std::nullopt
                   : ChooseMaterial(m_view->GetLevel(), m_view->GetGame(), mode, position);
    }
    std::optional<CTemplateChoice> PickTemplate(std::string_view, int mode) override
    {
        const int position = NextPick(EPicker::Template, mode);
        return m_view == nullptr ? std::nullopt : ChooseTemplate(*m_view, mode, position);
    }
    std::optional<std::string> PickColorMap(std::string_view, int mode) override
    {
        return PickName(EPicker::ColorMap, mode);
    }
    std::optional<std::string> PickSound(std::string_view, int mode) override
    {
        return PickName(EPicker::Sound, mode);
    }

    std::vector<std::string> m_messages;
    std::deque<bool> m_answers;
    std::deque<std::string> m_picks;
    C3dView* m_view = nullptr;  // whose level and game the pickers list

private:
    // The position of the next pick word's name in the picker's list (letter case ignored), -1
    // for Cancel.
    int NextPick(EPicker kind, int mode)
    {
        if (m_view == nullptr || m_picks.empty()) {
            std::printf("pick: %s -> cancel\n", PickerCaption(kind, mode));
            return -1;
        }
        const std::string name = m_picks.front();
        m_picks.pop_front();
        const std::vector<std::string> names =
            PickerNames(m_view->GetLevel(), m_view->GetGame(), kind, mode);
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (EqualsNoCase(names[i], name)) {
                std::printf("pick: %s -> %s\n", PickerCaption(kind, mode), names[i].c_str());
                return static_cast<int>(i);
            }
        }
        std::printf("pick: %s -> cancel (\"%s\" is not listed)\n", PickerCaption(kind, mode),
                    name.c_str());
        return -1;
    }
    std::optional<std::string> PickName(EPicker kind, int mode)
    {
        const int position = NextPick(kind, mode);
        if (position < 0)
            return std::nullopt;
        return PickerNames(m_view->GetLevel(), m_view->GetGame(), kind,
                           mode)[static_cast<std::size_t>(position)];
    }
};

class CBenchKeys : public KeyState {
public:
    bool IsShiftDown() const override { return false; }
    bool IsCtrlDown() const override { return false; }
    bool IsAltDown() const override { return false; }
};

class CBenchClock : public ::Clock {
public:
    std::uint32_t Milliseconds() const override { return 0; }
};

// An engine over a level, with default settings and no game.
struct CBenchEngine {
    explicit CBenchEngine(CQzlSections level)
        : m_level(std::move(level)),
          m_view(m_level, m_settings, m_document, m_game, m_host, m_keys, m_clock, m_random)
    {}
    CQzlSections m_level;
    CSettings m_settings;
    CDocumentState m_document;
    CGameResources m_game;
    CBenchHost m_host;
    CBenchKeys m_keys;
    CBenchClock m_clock;
    // The generator the landscape seeds (seed= or the clock).
    CSeededRandom m_random;
    C3dView m_view;
};

// Sets up the game of folder as the editor sets up its product; false, after saying why, when
// it has no main archive.
bool SetUpGame(CProductSetup& product, const std::filesystem::path& folder)
{
    const std::string problem = product.Run(g_product, folder, {}, folder);
    if (problem.empty() && product.m_resources.m_archive != nullptr)
        return true;
    std::fprintf(stderr, "qzbench: no game in \"%s\": %s\n", folder.string().c_str(),
                 problem.empty() ? "no main archive" : problem.c_str());
    return false;
}

// ---- apply: one editing operation on a level file ----

// The selection and answer words of apply, which every operation shares; false with error when a
// word is malformed. The others are the operation's own.
bool TakeSharedWords(const std::vector<std::string>& words, CSelection& selection,
                     std::deque<bool>& answers, std::deque<std::string>& picks,
                     std::filesystem::path& game, std::vector<std::string>& own, std::string& error)
{
    for (const std::string& word : words) {
        const std::size_t equals = word.find('=');
        const std::string key = word.substr(0, equals == std::string::npos ? word.size() : equals);
        const std::string value = equals == std::string::npos ? "" : word.substr(equals + 1);
        std::int32_t* index = key == "sector"    ? &selection.m_sector
                              : key == "surface" ? &selection.m_surface
                              : key == "vertex"  ? &selection.m_vertex
                              : key == "thing"   ? &selection.m_thing
                                                 : nullptr;
        if (index != nullptr) {
            char* end = nullptr;
            const long number = std::strtol(value.c_str(), &end, 10);
            if (value.empty() || *end != '\0' || number < 0 || number > INT32_MAX) {
                error = "\"" + word + "\": " + key + " takes an index from 0";
                return false;
            }
            *index = static_cast<std::int32_t>(number);
        } else if (key == "node") {
            float xyz[3] = {};
            if (!ReadFloatList(value, xyz, 3)) {
                error = "\"" + word + "\": node takes X,Y,Z";
                return false;
            }
            selection.m_pickedNodes.push_back({xyz[0], xyz[1], xyz[2]});
        } else if (key == "answer") {
            if (value != "yes" && value != "no") {
                error = "\"" + word + "\": answer takes yes or no";
                return false;
            }
            answers.push_back(value == "yes");
        } else if (key == "pick") {
            if (value.empty()) {
                error = "\"" + word + "\": pick takes a name";
                return false;
            }
            picks.push_back(value);
        } else if (key == "game") {
            if (value.empty()) {
                error = "\"" + word + "\": game takes a folder";
                return false;
            }
            game = value;
        } else {
            own.push_back(word);
        }
    }
    return true;
}

// What of the selection the level does not have; empty when all of it fits.
std::string SelectionMisfit(const CQzlSections& level, const CSelection& selection)
{
    const auto misfit = [](const char* key, std::int32_t index, std::size_t count,
                           const char* what) {
        if (index < 0 || static_cast<std::size_t>(index) < count)
            return std::string();
        return std::string(key) + "=" + std::to_string(index) + ": there are " +
               std::to_string(count) + " " + what;
    };
    std::string text = misfit("sector", selection.m_sector, level.m_sectors.size(), "sectors");
    if (text.empty())
        text = misfit("surface", selection.m_surface, level.m_surfaces.size(), "surfaces");
    if (text.empty())
        text = misfit("thing", selection.m_thing, level.m_things.size(), "things");
    if (text.empty() && selection.m_vertex >= 0) {
        if (selection.m_surface < 0)
            return "vertex=N needs surface=N: a vertex is a corner of the current surface";
        text = misfit(
            "vertex", selection.m_vertex,
            level.m_surfaces[static_cast<std::size_t>(selection.m_surface)]->m_vertices.size(),
            "corners in the surface");
    }
    return text;
}

int Apply(const std::vector<std::string>& args)
{
    std::size_t next = 2;
    const std::string mode = args[next] == "undo" || args[next] == "redo" ? args[next++] : "";
    const CApplyOperation* operation =
        next < args.size() ? FindApplyOperation(args[next]) : nullptr;
    if (operation == nullptr) {
        std::fprintf(stderr, "qzbench: apply: %s\n",
                     next < args.size() ? ("no operation \"" + args[next] + "\"").c_str()
                                        : "no operation given");
        return 1;
    }
    CSelection selection;
    std::deque<bool> answers;
    std::deque<std::string> picks;
    std::filesystem::path gameFolder;
    std::vector<std::string> own;
    CApplyArgs words;
    std::string error;
    const std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(next + 1),
                                        args.end());
    if (!TakeSharedWords(rest, selection, answers, picks, gameFolder, own, error) ||
        !ParseApplyArgs(*operation, own, words, error)) {
        std::fprintf(stderr, "qzbench: apply: %s\nusage: qzbench apply IN OUT [undo|redo] %s\n",
                     error.c_str(), ApplyUsage(*operation).c_str());
        return 1;
    }

    CLevelFile file = LoadLevelFile(args[0], g_product);
    error = SelectionMisfit(file.m_contents.m_level, selection);
    if (!error.empty()) {
        std::fprintf(stderr, "qzbench: apply: %s\n", error.c_str());
        return 2;
    }
    // The engine works on the file's level in place; it is saved with the file's fields.
    // The game the operation takes materials, models and cog scripts from, set up as the editor
    // sets up its product; it holds the archives the engine reads, so it outlives the engine.
    CProductSetup product;
    auto engine = std::make_unique<CBenchEngine>(std::move(file.m_contents.m_level));
    if (!gameFolder.empty()) {
        if (!SetUpGame(product, gameFolder))
            return 3;
        engine->m_game = std::move(product.m_resources);
    }
    C3dView& view = engine->m_view;
    engine->m_host.m_answers = std::move(answers);
    engine->m_host.m_picks = std::move(picks);
    engine->m_host.m_view = &view;
    RebuildAll(view, true);
    view.m_selection.m_sector = selection.m_sector;
    view.m_selection.m_surface = selection.m_surface;
    view.m_selection.m_thing = selection.m_thing;
    view.m_selection.m_vertex = selection.m_vertex;
    view.m_selection.m_vertexSurface = selection.m_vertex >= 0 ? selection.m_surface : -1;
    view.m_selection.m_pickedNodes = selection.m_pickedNodes;

    const bool done = RunUndoable(view, [&] { return operation->m_run(view, words); });
    if (!done) {
        for (const std::string& message : engine->m_host.m_messages)
            std::fprintf(stderr, "qzbench: %s refused: %s\n", operation->m_name,
                         OneLine(message).c_str());
        if (engine->m_host.m_messages.empty())
            std::fprintf(stderr, "qzbench: %s refused\n", operation->m_name);
        return 2;
    }
    for (const std::string& message : engine->m_host.m_messages)
        std::printf("message: %s\n", OneLine(message).c_str());
    // The restores alone, without the rebuild of the Undo and Redo commands: the file then shows
    // exactly what the snapshot gave back.
    if (!mode.empty())
        Undo(view);
    if (mode == "redo")
        Redo(view);

    file.m_contents.m_level = std::move(engine->m_level);
    SaveLevelAs(args[1], file);
    PrintCounts(file.m_contents.m_level);
    return 0;
}

void PrintVisibleSets(const CQzlSections& level)
{
    std::size_t total = 0;
    std::size_t largest = 0;
    for (const auto& sector : level.m_sectors) {
        total += sector->m_visible.size();
        largest = std::max(largest, sector->m_visible.size());
    }
    std::printf("visible_total=%zu visible_max=%zu", total, largest);
}

int RebuildBench(const std::vector<std::string>& args)
{
    auto engine = std::make_unique<CBenchEngine>(LoadAnyLevel(args[0]));
    const auto start = Clock::now();
    RebuildAll(engine->m_view, true);
    const double rebuildMs = MsSince(start);
    PrintCounts(engine->m_level);
    PrintVisibleSets(engine->m_level);
    std::printf(" rebuild_ms=%.1f\n", rebuildMs);
    return 0;
}

int VisibilityBench(const std::vector<std::string>& args)
{
    std::vector<int> methods{0, 2};
    if (args.size() > 1) {
        char* end = nullptr;
        const long method = std::strtol(args[1].c_str(), &end, 10);
        if (end == args[1].c_str() || *end != '\0' || method < 0 || method > 2) {
            std::fprintf(stderr, "qzbench: METHOD must be 0, 1 or 2\n");
            return 1;
        }
        methods = {static_cast<int>(method)};
    }
    int removalLevel = -1;  // the engine's default
    if (args.size() > 2) {
        char* end = nullptr;
        const long depth = std::strtol(args[2].c_str(), &end, 10);
        if (end == args[2].c_str() || *end != '\0' || depth < 1 || depth > 100) {
            std::fprintf(stderr, "qzbench: LEVEL must be a whole number from 1 to 100\n");
            return 1;
        }
        removalLevel = static_cast<int>(depth);
    }
    auto engine = std::make_unique<CBenchEngine>(LoadAnyLevel(args[0]));
    if (removalLevel > 0)
        engine->m_settings.m_removalLevel = removalLevel;
    RebuildAll(engine->m_view, true);
    PrintCounts(engine->m_level);
    for (const int method : methods) {
        engine->m_settings.m_renderMethod = method;
        const auto start = Clock::now();
        ProcessSectors(engine->m_view);
        const double processMs = MsSince(start);
        std::printf("method=%d ", method);
        PrintVisibleSets(engine->m_level);
        std::printf(" process_ms=%.1f\n", processMs);
    }
    return 0;
}

#if QZ_BENCH_FRAME
// ---- frame: the frame routine on the OpenGL device, offscreen ----

constexpr float kFrameHorizon = 200.0f;  // "Horizon Distance" of the frame bench

// Hands every call to the OpenGL device and counts the draw calls (streamed and from the
// sector buffers), the vertices drawn, the textured draws and the buffer uploads. With
// m_drawNothing the draws are counted and dropped: the frame then costs the engine's work alone.
class CCountingDevice : public CForwardingRenderDevice {
public:
    explicit CCountingDevice(RenderDevice& device) : CForwardingRenderDevice(device) {}
    TextureId CreateTexture(int width, int height, TextureFormat format) override
    {
        const TextureId texture = m_target.CreateTexture(width, height, format);
        m_textures += texture != kNoTexture ? 1 : 0;
        return texture;
    }
    void DrawPrimitive(PrimitiveType type, std::span<const D3DLVERTEX> vertices,
                       TextureId texture) override
    {
        Count(vertices.size(), texture);
        ++m_streamed;
        if (!m_drawNothing)
            m_target.DrawPrimitive(type, vertices, texture);
    }
    BufferId CreateVertexBuffer() override
    {
        const BufferId buffer = m_target.CreateVertexBuffer();
        m_buffers += buffer != kNoBuffer ? 1 : 0;
        return buffer;
    }
    bool UploadVertexBuffer(BufferId buffer, std::span<const D3DLVERTEX> vertices) override
    {
        ++m_bufferUploads;
        return m_target.UploadVertexBuffer(buffer, vertices);
    }
    void DrawVertexBuffer(BufferId buffer, PrimitiveType type, std::size_t first, std::size_t count,
                          TextureId texture) override
    {
        Count(count, texture);
        if (!m_drawNothing)
            m_target.DrawVertexBuffer(buffer, type, first, count, texture);
    }
    void DrawVertexBufferRanges(PrimitiveType type, std::span<const CBufferRange> ranges,
                                TextureId texture) override
    {
        std::size_t vertices = 0;
        for (const CBufferRange& range : ranges)
            vertices += range.m_count;
        Count(vertices, texture);
        if (!m_drawNothing)
            m_target.DrawVertexBufferRanges(type, ranges, texture);
    }

    // Forgets the counts of the draws (not of the textures and buffers made).
    void ClearDraws() { m_draws = m_streamed = m_textured = m_vertices = m_bufferUploads = 0; }

    std::size_t m_draws = 0;
    std::size_t m_streamed = 0;  // draws handed over vertex by vertex
    std::size_t m_textured = 0;
    std::size_t m_vertices = 0;
    std::size_t m_textures = 0;
    std::size_t m_buffers = 0;
    std::size_t m_bufferUploads = 0;
    bool m_drawNothing = false;

private:
    void Count(std::size_t vertices, TextureId texture)
    {
        ++m_draws;
        m_vertices += vertices;
        m_textured += texture != kNoTexture ? 1 : 0;
    }
};

// Moves the camera as "--camera=" asks: "outside" or X,Y,Z,FX,FY,FZ (see the usage). False, with
// the camera left as it is, for words of another form or a forward direction of length 0.
bool PlaceBenchCamera(C3dView& view, const std::string& where)
{
    CVector3 eye;
    CVector3 forward;
    if (where == "outside") {
        const CBoundingBox& box = view.m_levelBox;
        const CVector3 centre = (box.min + box.max) * 0.5f;
        const float reach = std::max(box.max.x - box.min.x, box.max.z - box.min.z) * 0.02f + 2.0f;
        eye = {box.min.x - reach, box.max.y + 2.0f * reach, box.min.z - reach};
        forward = centre - eye;
    } else {
        float v[6] = {};
        if (!ReadFloatList(where, v, 6))
            return false;
        eye = {v[0], v[1], v[2]};
        forward = {v[3], v[4], v[5]};
    }
    const float length = VectorLength(forward);
    if (!(length > 0.0f) || !std::isfinite(length))
        return false;
    forward = forward * (1.0f / length);
    // Up is the world's up made square to forward; straight up or down takes +z as its guide.
    const CVector3 guide =
        std::fabs(forward.y) > 0.999f ? CVector3{0.0f, 0.0f, 1.0f} : CVector3{0.0f, 1.0f, 0.0f};
    CVector3 up = guide - forward * Dot(guide, forward);
    up = up * (1.0f / VectorLength(up));
    SetCameraAxes(view, forward.x, forward.y, forward.z, up.x, up.y, up.z);
    view.m_camera.m_forwardAxis = forward;
    view.m_camera.m_upAxis = up;
    SetCameraPosition(view, eye.x, eye.y, eye.z);
    return true;
}

// The synthetic game the build writes (the editor's default game in the build tree).
std::filesystem::path BuildGameFolder()
{
    return QZ_DEFAULT_GAME_DIR;
}

int FrameBench(const std::vector<std::string>& args)
{
    int numbers[3] = {};
    for (std::size_t i = 0; i < 3; ++i) {
        char* end = nullptr;
        const long value = std::strtol(args[i + 1].c_str(), &end, 10);
        if (end == args[i + 1].c_str() || *end != '\0' || value < 1 || value > 100000) {
            std::fprintf(stderr, "qzbench: W, H and N must be whole numbers from 1 to 100000\n");
            return 1;
        }
        numbers[i] = static_cast<int>(value);
    }
    const int width = numbers[0];
    const int height = numbers[1];
    const int frames = numbers[2];

    // The game the textures come from, set up as the editor sets up its product.
    const std::filesystem::path gameFolder =
        args.size() > 4 ? std::filesystem::path(args[4]) : BuildGameFolder();
    CProductSetup product;
    if (!SetUpGame(product, gameFolder))
        return 3;
    auto engine = std::make_unique<CBenchEngine>(LoadAnyLevel(args[0]));
    engine->m_game = std::move(product.m_resources);

    // Without a display, Qt's offscreen platform (Mesa needs a display for its contexts there
    // too on some systems: run under xvfb-run then).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "qzbench";
    char* argv[] = {name, nullptr};
    QGuiApplication application(argc, argv);
    const QSurfaceFormat format = CGlRenderDevice::SurfaceFormat();
    QOffscreenSurface surface;
    surface.setFormat(format);
    surface.create();
    QOpenGLContext context;
    context.setFormat(format);
    std::string error = "OpenGL 3.3 is not available: no OpenGL context could be created.";
    std::unique_ptr<CGlRenderDevice> device;
    if (context.create() && context.makeCurrent(&surface))
        device = CGlRenderDevice::Create(context, error);
    if (device == nullptr) {
        std::fprintf(stderr, "qzbench: %s\n", error.c_str());
        return 4;
    }

    // The editor's path: the engine draws on the device from its first rebuild, so the
    // rebuild decodes and uploads the textures; frames draw every sector from its vertex buffer,
    // all sectors solid.
    C3dView& view = engine->m_view;
    CCountingDevice counter(*device);
    view.m_device = &counter;
    view.m_textureCache = std::make_unique<CTextureCache>(&counter);
    engine->m_settings.m_stretchMode = 0;  // draw at the asked size
    // Far enough to see a large level's every sector from its corner (the view's far plane is
    // set from it with the projection).
    engine->m_settings.m_horizonDistance = kFrameHorizon;
    engine->m_document.m_renderMode = 0;
    const auto rebuildStart = Clock::now();
    RebuildAll(view, true);
    const double rebuildMs = MsSince(rebuildStart);
    view.m_skip = 0;
    ChooseRenderSize(view, width, height);
    if (!device->SetRenderSize(view.m_viewport.m_renderWidth, view.m_viewport.m_renderHeight) ||
        !SetUpViewAndProjection(view, width, height)) {
        std::fprintf(stderr, "qzbench: OpenGL 3.3 is not available: no %dx%d framebuffer\n", width,
                     height);
        view.ClearRenderObjects();
        view.m_device = nullptr;
        return 4;
    }
    if (g_frameCamera && !PlaceBenchCamera(view, *g_frameCamera)) {
        if (*g_frameCamera == "outside")
            std::fprintf(stderr, "qzbench: --camera=outside: the level has no extent to stand "
                                 "outside of\n");
        else
            std::fprintf(stderr,
                         "qzbench: --camera= takes \"outside\" or X,Y,Z,FX,FY,FZ, not \"%s\"\n",
                         g_frameCamera->c_str());
        view.ClearRenderObjects();
        view.m_device = nullptr;
        return 1;
    }
    SetUpRenderStates(view);
    QOpenGLFunctions* gl = context.functions();
    // The first frame uploads the sector buffers; it is not timed.
    RenderFrame(view, 1);
    gl->glFinish();
    const std::size_t firstUploads = counter.m_bufferUploads;
    counter.ClearDraws();
    // Each frame's time to glFinish, and the part until the frame routine returns (the engine's
    // work and the driver's vertex processing; the rasteriser's threads finish the rest); then
    // the same frames with the draws dropped, the engine's work alone.
    std::vector<double> times;
    std::vector<double> submits;
    times.reserve(static_cast<std::size_t>(frames));
    submits.reserve(static_cast<std::size_t>(frames));
    for (int i = 0; i < frames; ++i) {
        const auto start = Clock::now();
        RenderFrame(view, 1);
        submits.push_back(MsSince(start));
        gl->glFinish();
        times.push_back(MsSince(start));
    }
    const auto perFrame = static_cast<std::size_t>(frames);
    const std::size_t draws = counter.m_draws / perFrame;
    const std::size_t textured = counter.m_textured / perFrame;
    const std::size_t streamed = counter.m_streamed / perFrame;
    const std::size_t vertices = counter.m_vertices / perFrame;
    const std::size_t uploads = counter.m_bufferUploads / perFrame;
    std::vector<double> engineTimes;
    engineTimes.reserve(static_cast<std::size_t>(frames));
    counter.m_drawNothing = true;
    for (int i = 0; i < frames; ++i) {
        const auto start = Clock::now();
        RenderFrame(view, 1);
        engineTimes.push_back(MsSince(start));
    }
    counter.m_drawNothing = false;
    const auto median = [](std::vector<double>& values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    PrintCounts(engine->m_level);
    const CVector3& eye = view.m_camera.m_position;
    const CVector3& ahead = view.m_camera.m_forwardAxis;
    std::printf("path=editor: textures of the game in \"%s\" through the texture cache, one vertex "
                "buffer per sector, all sectors solid\n",
                gameFolder.string().c_str());
    std::printf("camera=%g,%g,%g forward=%g,%g,%g\n", static_cast<double>(eye.x),
                static_cast<double>(eye.y), static_cast<double>(eye.z),
                static_cast<double>(ahead.x), static_cast<double>(ahead.y),
                static_cast<double>(ahead.z));
    std::printf("textures=%zu sector_buffers=%zu buffer_uploads_first_frame=%zu "
                "buffer_uploads_per_frame=%zu\n",
                counter.m_textures, counter.m_buffers, firstUploads, uploads);
    std::printf("rebuild_ms=%.1f size=%dx%d frames=%d draws_per_frame=%zu "
                "textured_draws_per_frame=%zu streamed_draws_per_frame=%zu "
                "vertices_per_frame=%zu median_engine_ms=%.2f median_submit_ms=%.2f "
                "median_frame_ms=%.2f horizon=%g renderer=\"%s\"\n",
                rebuildMs, width, height, frames, draws, textured, streamed, vertices,
                median(engineTimes), median(submits), median(times),
                static_cast<double>(kFrameHorizon), device->Renderer().c_str());
    // The engine's textures and buffers live on the device: they go first.
    view.ClearRenderObjects();
    view.m_device = nullptr;
    engine.reset();
    device.reset();
    context.doneCurrent();
    return 0;
}
#endif

// ---- check: the level checker's report ----

// Loads a level as apply does, with the game of folder GAME when one is given (without it the cog
// parameters are not checked), builds its render data (which loads the thing models) and prints
// the checker's report, then whether a finding was fatal.
int CheckBench(const std::vector<std::string>& args)
{
    CProductSetup product;
    auto engine = std::make_unique<CBenchEngine>(LoadAnyLevel(args[0]));
    if (args.size() > 1) {
        if (!SetUpGame(product, args[1]))
            return 3;
        engine->m_game = std::move(product.m_resources);
    }
    C3dView& view = engine->m_view;
    RebuildAll(view, true);
    CLevelChecker checker;
    std::string text;
    const int fatal = checker.CheckLevel(view.GetLevel(), engine->m_game, view.m_thingModels, text);
    std::fputs(text.c_str(), stdout);
    if (!text.ends_with('\n'))
        std::fputs("\n", stdout);
    std::printf("fatal=%d\n", fatal);
    return 0;
}

// ---- episode-archive: the episode of a multi-level list ----

// Reads the ".qml" list and builds its episode archive, with the game of folder GAME when one is
// given; prints how many levels went in and what was left out.
int EpisodeArchiveBench(const std::vector<std::string>& args)
{
    const CMultiLevelList list = ReadMultiLevelBytes(ReadFileBytes(args[0]));
    CProductSetup product;
    if (args.size() > 2 && !SetUpGame(product, args[2]))
        return 3;
    const CEpisodeArchiveResult result =
        BuildEpisodeArchive(args[1], list.m_masterTitle, list.m_masterType, list.m_items,
                            LevelFileOpener(g_product), product.m_resources, g_product);
    std::printf("levels=%zu skipped=%zu\n", result.m_levelsWritten, result.m_skipped.size());
    for (const std::string& skipped : result.m_skipped)
        std::printf("skipped: %s\n", OneLine(skipped).c_str());
    return 0;
}

// ---- test-archive: the archive that Test Level hands to the game ----

// The archive of a level file as the document's Test Level builds it.
int TestArchiveBench(const std::vector<std::string>& args)
{
    CLevelFile file = LoadLevelFile(args[0], g_product);
    CDocumentFields fields =
        file.m_form == ELevelForm::archive ? file.m_contents.m_document : DefaultDocumentFields();
    CProductSetup product;
    if (args.size() > 2 && !SetUpGame(product, args[2]))
        return 3;
    // The cogs lie beside the level; one that cannot be read is left out, as the editor does.
    const std::filesystem::path folder = std::filesystem::path(args[0]).parent_path();
    auto readCog = [&folder](const char* name) -> std::optional<std::vector<std::uint8_t>> {
        try {
            return ReadFileBytes(folder / name);
        } catch (const CFileException&) {
            return std::nullopt;
        }
    };
    const CTestArchiveCogs cogs{readCog(kStartCogScript), readCog(kGoalsCogScript)};
    const std::vector<std::string> skipped =
        SaveTestArchive(args[1], file.m_contents.m_level, fields, cogs, product.m_resources,
                        g_product)
            .m_skipped;
    const CGobDirectory directory = CGobArchive::ReadDirectory(std::filesystem::path(args[1]));
    for (const CGobEntry& entry : directory.m_entries)
        std::printf("%s %u\n", entry.m_path.c_str(), entry.m_size);
    for (const std::string& item : skipped)
        std::printf("skipped: %s\n", item.c_str());
    return 0;
}

// ---- import-archive: a level of a GOB/GOO archive with the archive's files ----

int ImportArchiveBench(const std::vector<std::string>& args)
{
    const CGobGameArchive archive(args[0]);
    const std::string& wanted = args[1];
    std::string names;
    std::optional<CImportedLevel> imported =
        ImportArchiveLevel(archive, g_product, [&](const CTree& levels) -> std::optional<int> {
            for (std::size_t i = 0; i < levels.m_entries.size(); ++i) {
                if (EqualsNoCase(levels.m_entries[i]->m_name, wanted))
                    return static_cast<int>(i);
                names += " " + levels.m_entries[i]->m_name;
            }
            return std::nullopt;
        });
    if (!imported) {
        std::fprintf(stderr, "qzbench: error: the archive holds no level \"%s\"; its levels:%s\n",
                     wanted.c_str(), names.empty() ? " none" : names.c_str());
        return 2;
    }
    CDocumentFields fields = DefaultDocumentFields();
    fields.m_startCogOn = fields.m_goalsCogOn = 0;  // the archive brings its own cogs
    SaveQzeFile(args[2], imported->m_level, fields);
    for (const auto& file : imported->m_level.m_levelFiles.m_entries)
        std::printf("%s offset=%d size=%d\n", file->m_path.c_str(), file->m_offset, file->m_size);
    std::printf("level=%s files=%zu\n", imported->m_name.c_str(),
                imported->m_level.m_levelFiles.m_entries.size());
    return 0;
}

// ---- export-project: the project folder of a level file ----

int ExportProjectBench(const std::vector<std::string>& args)
{
    CLevelFile file = LoadLevelFile(args[0], g_product);
    CQzeContents& contents = file.m_contents;
    CDocumentFields fields = file.m_form == ELevelForm::archive && contents.m_version >= 3
                                 ? contents.m_document
                                 : DefaultDocumentFields();
    const CProjectExport result =
        WriteProject(args[1], fields, contents.m_level, CGameResources(), g_product, {});
    for (const std::string& item : result.m_skipped)
        std::printf("left out: %s\n", OneLine(item).c_str());
    std::printf("project=%s left_out=%zu\n", ProjectFolder(args[1]).string().c_str(),
                result.m_skipped.size());
    return result.m_skipped.empty() ? 0 : 2;
}

struct Command {
    const char* name;
    std::size_t argCount;
    const char* usage;
    std::function<int(const std::vector<std::string>&)> run;
    std::size_t optionalArgs = 0;  // arguments that may follow the required ones
};

const Command kCommands[] = {
    {"generate", 2, "generate SECTORS OUT.qze", Generate},
    {"generate-boxes", 2, "generate-boxes [--varnok] SECTORS OUT.qzl", GenerateBoxes},
    {"read", 1, "read [--varnok] FILE", Read},
    {"write-qzl", 2, "write-qzl [--varnok] IN OUT.qzl", WriteQzlFile},
    {"roundtrip", 2, "roundtrip [--varnok] IN OUT", Roundtrip},
    {"gob-list", 1, "gob-list FILE", GobList},
    {"undo", 2, "undo N FILE", UndoBench},
    {"decode", 1, "decode FILE", Decode},
    {"rebuild", 1, "rebuild FILE", RebuildBench},
    {"visibility", 1, "visibility FILE [METHOD [LEVEL]]", VisibilityBench, 2},
#if QZ_BENCH_FRAME
    {"frame", 4, "frame [--varnok] [--camera=WHERE] FILE W H N [GAME]", FrameBench, 1},
#endif
    {"apply", 3, "apply [--varnok] IN OUT [undo|redo] OP [WORD...]", Apply, 10000},
    {"check", 1, "check [--varnok] FILE [GAME]", CheckBench, 1},
    {"episode-archive", 2, "episode-archive [--varnok] LIST.qml OUT.gob [GAME]",
     EpisodeArchiveBench, 1},
    {"test-archive", 2, "test-archive [--varnok] IN OUT [GAME]", TestArchiveBench, 1},
    {"import-archive", 3, "import-archive [--varnok] IN.gob LEVEL OUT.qze", ImportArchiveBench},
    {"export-project", 2, "export-project [--varnok] IN OUT.qzp", ExportProjectBench},
};

int Usage()
{
    std::fprintf(stderr, "usage:\n");
    for (const Command& c : kCommands)
        std::fprintf(stderr, "  qzbench %s\n", c.usage);
    std::fprintf(stderr, "apply operations (OP [WORD...]):\n");
    for (const CApplyOperation& operation : ApplyOperations())
        std::fprintf(stderr, "  %s\n      %s\n", ApplyUsage(operation).c_str(), operation.m_help);
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    // The user's locale, as the editor runs in it: the level files must not depend on it.
    std::setlocale(LC_ALL, "");
    if (argc < 2)
        return Usage();
    std::vector<std::string> args(argv + 2, argv + argc);
    for (const Command& c : kCommands) {
        if (std::strcmp(argv[1], c.name) != 0)
            continue;
        // Options: "--varnok" and "--camera=" where the usage names them, first, in any order,
        // each at most once; any other "--" word is unknown.
        constexpr std::string_view kCameraOption = "--camera=";
        while (!args.empty()) {
            if (std::strstr(c.usage, "[--varnok]") && args[0] == "--varnok" && g_product == 0)
                g_product = 1;
            else if (std::strstr(c.usage, "[--camera=WHERE]") &&
                     args[0].starts_with(kCameraOption) && !g_frameCamera)
                g_frameCamera = args[0].substr(kCameraOption.size());
            else
                break;
            args.erase(args.begin());
        }
        for (const std::string& a : args)
            if (a.rfind("--", 0) == 0)
                return Usage();
        if (args.size() < c.argCount || args.size() > c.argCount + c.optionalArgs)
            return Usage();
        try {
            return c.run(args);
        } catch (const CArchiveException& e) {
            std::fprintf(stderr, "qzbench: error: %s\n", OneLine(e.what()).c_str());
            return 2;
        } catch (const CFileException& e) {
            std::fprintf(stderr, "qzbench: error: %s\n", OneLine(e.what()).c_str());
            return 3;
        } catch (const std::bad_alloc&) {
            std::fprintf(stderr, "qzbench: error: out of memory\n");
            return 2;
        } catch (const std::exception& e) {
            std::fprintf(stderr, "qzbench: error: %s\n", OneLine(e.what()).c_str());
            return 2;
        }
    }
    return Usage();
}
