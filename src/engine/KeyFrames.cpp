// Puppet and keyframe files: finding the puppet of a model through the level's templates, reading
// the first keyframe file it names, and posing the model's nodes with one matrix per frame.

#include "engine/3doModel.h"
#include "engine/FileBuffer.h"
#include "framework/CFormat.h"
#include "framework/Exceptions.h"
#include "framework/StringUtil.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"
#include "level/QzlTemplate.h"
#include "resources/Tree.h"

#include <cmath>
#include <limits>
#include <optional>

namespace {

// The bytes of name: from the game archive when index lists it, else from the level's own files.
std::optional<std::vector<std::uint8_t>> ReadModelFile(const C3doLoadContext& context,
                                                       const CTree CGameResources::*index,
                                                       std::string_view name)
{
    const CAssetSources sources = context.Sources();
    if (context.m_game != nullptr)
        if (auto bytes = sources.ReadFromGame(context.m_game->*index, name))
            return bytes;
    return sources.ReadFromLevel(name);
}

// The value of "puppet=" in a template's parameters, up to the first blank or tab; none when the
// parameters do not name one.
std::optional<std::string> PuppetParam(const std::string& params)
{
    const std::size_t at = params.find("puppet=");
    if (at == std::string::npos)
        return std::nullopt;
    const std::size_t start = at + 7;
    const std::size_t stop = params.find_first_of(" \t", start);
    return params.substr(start, stop == std::string::npos ? std::string::npos : stop - start);
}

D3DMATRIX PoseMatrix(const CVector3& position, float pitch, float yaw, float roll)
{
    D3DMATRIX m = RotationMatrix(ModelDegreesToRadians(pitch), ModelDegreesToRadians(yaw),
                                 ModelDegreesToRadians(roll));
    m.m[3][0] = position.x;
    m.m[3][1] = position.y;
    m.m[3][2] = position.z;
    return m;
}

// The frame that ends entry i of node: the next entry's frame, or the frame count for the last.
std::int64_t EndFrame(const CKeyNode& node, std::size_t i, std::int32_t frameCount)
{
    return i + 1 < node.m_entries.size() ? node.m_entries[i + 1].m_frame : frameCount;
}

// How many matrices node gives a hierarchy node: each entry's own and one per frame after it up
// to its end frame. Stops counting once the count passes limit.
std::int64_t MatrixCount(const CKeyNode& node, std::int32_t frameCount, std::int64_t limit)
{
    std::int64_t count = 0;
    for (std::size_t i = 0; i < node.m_entries.size() && count <= limit; ++i) {
        const std::int64_t first = std::int64_t{node.m_entries[i].m_frame} + 1;
        const std::int64_t end = EndFrame(node, i, frameCount);
        count += 1 + (end > first ? end - first : 0);
    }
    return count;
}

}  // namespace

std::string C3doModel::FindKeyName(std::string_view puppetText)
{
    const std::size_t at = puppetText.find(".key");
    if (at == std::string_view::npos)
        return {};
    // A line end bounds the name as a blank does: a name never spans two lines.
    const std::size_t before =
        at == 0 ? std::string_view::npos : puppetText.find_last_of(" \t\r\n", at - 1);
    const std::size_t start = before == std::string_view::npos ? 0 : before + 1;
    return std::string(puppetText.substr(start, at + 4 - start));
}

std::unique_ptr<CKeyNodeList> C3doModel::ReadPuppet(const C3doLoadContext& context) const
{
    if (context.m_level == nullptr)
        return nullptr;
    const auto& templates = context.m_level->m_templates;

    std::size_t first = templates.size();
    for (std::size_t i = 0; i < templates.size(); ++i) {
        if (templates[i] && EqualsNoCase(templates[i]->m_model, m_fileName)) {
            first = i;
            break;
        }
    }
    if (first == templates.size())
        return nullptr;

    std::optional<std::string> puppet = PuppetParam(templates[first]->m_params);
    if (!puppet) {
        // The base template, one level up only: the nearest earlier template of that name.
        for (std::size_t i = first; i-- > 0;) {
            if (templates[i] && EqualsNoCase(templates[i]->m_name, templates[first]->m_basedOn)) {
                puppet = PuppetParam(templates[i]->m_params);
                break;
            }
        }
    }
    if (!puppet)
        return nullptr;

    const auto puppetBytes = ReadModelFile(context, &CGameResources::m_treePuppets, *puppet);
    if (!puppetBytes)
        return nullptr;
    const std::string keyName = FindKeyName(
        std::string_view(reinterpret_cast<const char*>(puppetBytes->data()), puppetBytes->size()));
    if (keyName.empty())
        return nullptr;

    const auto keyBytes = ReadModelFile(context, &CGameResources::m_tree3do, keyName);
    if (!keyBytes)
        return nullptr;
    CFileBuffer buffer(*keyBytes, keyName);
    return ReadKey(buffer);
}

std::unique_ptr<CKeyNodeList> C3doModel::ReadKey(CFileBuffer& buffer)
{
    const auto read = [&buffer](std::string_view keyword, std::string_view delimiters) {
        std::string token;
        if (!buffer.ReadModelLine(keyword, token, delimiters)) {
            std::string message =
                "\"" + buffer.GetName() + "\" is not a complete keyframe file: the text ";
            if (keyword.empty())
                message += "ends in the middle of a list.";
            else
                message += "ends before \"" + TrimBlanks(keyword) + "\".";
            throw CArchiveException(CArchiveException::endOfFile, message);
        }
        return token;
    };
    const auto word = [&read](std::string_view keyword) { return read(keyword, " "); };
    const auto rest = [&read](std::string_view keyword) { return read(keyword, ""); };

    auto list = std::make_unique<CKeyNodeList>();
    for (;;) {
        const std::string section = rest("SECTION: ");
        if (section == "HEADER") {
            word("FLAGS ");
            word("TYPE ");
            const std::string framesToken = word("FRAMES ");
            const int frames = AtoiC(framesToken.c_str());
            const auto fps = static_cast<float>(AtofC(word("FPS ").c_str()));
            word("JOINTS ");
            if (frames < 0 || frames > kMaxFrames)
                throw CArchiveException(CArchiveException::badFormat,
                                        "\"" + buffer.GetName() + "\" has \"FRAMES " + framesToken +
                                            "\"; a keyframe file may have 0 to " +
                                            std::to_string(kMaxFrames) + " frames.");
            list->m_frameCount = frames;
            // A rate that is not a positive number keeps the animation on its first frame.
            list->m_frameTime = fps > 0.0f && std::isfinite(fps)
                                    ? 1.0f / fps
                                    : std::numeric_limits<float>::infinity();
        } else if (section == "KEYFRAME NODES") {
            break;
        }
    }

    const int nodeCount = AtoiC(word("NODES ").c_str());
    for (int n = 0; n < nodeCount; ++n) {
        word("NODE ");
        CKeyNode node;
        node.m_meshName = word("MESH NAME ");
        const int entryCount = AtoiC(word("ENTRIES ").c_str());
        for (int i = 0; i < entryCount; ++i) {
            CKeyEntry e;
            unsigned int flags = 0;
            float x = 0.0f, y = 0.0f, z = 0.0f;
            ScanC(rest("").c_str(), "%d: %d %x %f %f %f %f %f %f", &e.m_number, &e.m_frame, &flags,
                  &x, &y, &z, &e.m_pitch, &e.m_yaw, &e.m_roll);
            e.m_flags = flags;
            e.m_position = CVector3(x, z, y);
            float dx = 0.0f, dy = 0.0f, dz = 0.0f;
            ScanC(rest("").c_str(), "%f %f %f %f %f %f", &dx, &dy, &dz, &e.m_deltaPitch,
                  &e.m_deltaYaw, &e.m_deltaRoll);
            e.m_deltaPosition = CVector3(dx, dz, dy);
            node.m_entries.push_back(e);
        }
        list->m_nodes.push_back(std::move(node));
    }
    return list;
}

bool C3doModel::ApplyKey(const CKeyNodeList& list)
{
    // Count first: frames between keyframes are made here, not read, so their number is bounded
    // by the budget rather than by the file's size.
    std::int64_t total = 0;
    for (const CKeyNode& keyNode : list.m_nodes) {
        for (const auto& node : m_nodes) {
            if (!EqualsNoCase(node->m_name, keyNode.m_meshName))
                continue;
            total += MatrixCount(keyNode, list.m_frameCount, kMaxPoseMatrices);
            if (total > kMaxPoseMatrices)
                return false;
        }
    }

    for (const CKeyNode& keyNode : list.m_nodes) {
        for (const auto& node : m_nodes) {
            if (!EqualsNoCase(node->m_name, keyNode.m_meshName))
                continue;
            node->m_localMatrices.clear();
            for (std::size_t i = 0; i < keyNode.m_entries.size(); ++i) {
                const CKeyEntry& e = keyNode.m_entries[i];
                CVector3 position = e.m_position;
                float pitch = e.m_pitch, yaw = e.m_yaw, roll = e.m_roll;
                node->m_localMatrices.push_back(PoseMatrix(position, pitch, yaw, roll));
                // Frames up to the next keyframe go on from this one by its changes per frame.
                const std::int64_t end = EndFrame(keyNode, i, list.m_frameCount);
                for (std::int64_t frame = std::int64_t{e.m_frame} + 1; frame < end; ++frame) {
                    position = position + e.m_deltaPosition;
                    pitch += e.m_deltaPitch;
                    yaw += e.m_deltaYaw;
                    roll += e.m_deltaRoll;
                    node->m_localMatrices.push_back(PoseMatrix(position, pitch, yaw, roll));
                }
            }
        }
    }
    m_frameCount = list.m_frameCount;
    m_frameTime = list.m_frameTime;
    return true;
}

void C3doModel::PoseFromPuppet(const C3doLoadContext& context)
{
    std::unique_ptr<CKeyNodeList> list;
    try {
        list = ReadPuppet(context);
    } catch (const CArchiveException&) {
        return;
    } catch (const CFileException&) {
        return;
    }
    if (list)
        ApplyKey(*list);
}
