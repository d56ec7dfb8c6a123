#include "level/UndoSnapshot.h"

#include "framework/Archive.h"
#include "framework/Workers.h"
#include "level/LevelClassRegistry.h"
#include "level/QzlSections.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <functional>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <type_traits>
#include <unordered_set>
#include <utility>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Block = CUndoSnapshot::Block;
using NameList = std::vector<std::string>;

// The name lists of a snapshot, after the cog scripts, in stored order. Rebuilding the resource
// lists (Insert Thing, the clean-up passes) rewrites all of them.
constexpr NameList CQzlSections::*kNameLists[] = {
    &CQzlSections::m_sounds,  &CQzlSections::m_colormaps,    &CQzlSections::m_aiClasses,
    &CQzlSections::m_models,  &CQzlSections::m_sprites,      &CQzlSections::m_keyframes,
    &CQzlSections::m_puppets, &CQzlSections::m_soundClasses,
};
constexpr std::size_t kNameListCount = std::size(kNameLists);
static_assert(CUndoSnapshot::kSectionCount == 6 + 2 + 1 + kNameListCount + 1 + 1);

// The number of blocks of a list of count entries: one at least, so that an empty list is stored
// too.
std::size_t BlockCount(std::size_t count, std::size_t perBlock)
{
    return std::max<std::size_t>(1, (count + perBlock - 1) / perBlock);
}

using Task = std::function<void()>;
// Makes block b of a list.
using StoreBlock = std::function<Bytes(std::size_t)>;

// The threads that share the blocks, at most: beyond four, the allocator's contention (every
// block and record is allocated) costs more than further threads gain.
constexpr std::size_t kMaxWorkers = 4;

// Blocks of one worker's share in a row, so that the workers seldom meet at the counter.
constexpr std::size_t kTasksPerGrab = 8;

// Runs every task, spread over the cores; the tasks are independent. When tasks throw, the
// exception of the first of them in order is rethrown once all have finished.
void RunTasks(const std::vector<Task>& tasks)
{
    std::atomic<std::size_t> next{0};
    std::mutex mutex;
    std::size_t failedAt = tasks.size();
    std::exception_ptr failure;
    const auto work = [&] {
        for (;;) {
            const std::size_t first = next.fetch_add(kTasksPerGrab);
            if (first >= tasks.size())
                return;
            const std::size_t end = std::min(tasks.size(), first + kTasksPerGrab);
            for (std::size_t i = first; i < end; ++i) {
                try {
                    tasks[i]();
                } catch (...) {
                    const std::lock_guard lock(mutex);
                    if (i < failedAt) {
                        failedAt = i;
                        failure = std::current_exception();
                    }
                }
            }
        }
    };
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t workers = std::clamp<std::size_t>(tasks.size() / (4 * kTasksPerGrab), 1,
                                                        std::min(cores, kMaxWorkers)) -
                                1;
    {
        // This thread works too, so the tasks are done even when no thread is to be had.
        const std::vector<std::jthread> threads = StartWorkers(workers, work);
        work();
    }
    if (failure)
        std::rethrow_exception(failure);
}

// The block at place at of a list, shared with the block at the same place of the earlier
// snapshot's list (may be null) when their bytes are equal.
Block Share(Bytes bytes, const std::vector<Block>* previous, std::size_t at)
{
    if (previous != nullptr && at < previous->size()) {
        const Block& old = (*previous)[at];
        if (old && *old == bytes)
            return old;
    }
    return std::make_shared<const Bytes>(std::move(bytes));
}

// Queues the blocks of one list: block b of out is made by store(b).
void QueueBlocks(std::vector<Block>& out, std::size_t count, const std::vector<Block>* previous,
                 StoreBlock store, std::vector<Task>& tasks)
{
    out.assign(count, nullptr);
    auto shared = std::make_shared<StoreBlock>(std::move(store));
    for (std::size_t b = 0; b < count; ++b)
        tasks.push_back([&out, previous, shared, b] { out[b] = Share((*shared)(b), previous, b); });
}

template <class T>
Bytes RecordBlock(const std::vector<std::unique_ptr<T>>& list, std::size_t b)
{
    const std::size_t first = b * CUndoSnapshot::kRecordsPerBlock;
    const std::size_t end = std::min(list.size(), first + CUndoSnapshot::kRecordsPerBlock);
    CArchive ar(LevelClassRegistry());
    ar.BeginWriteObArray(end - first);
    for (std::size_t i = first; i < end; ++i)
        ar.WriteObject(list[i].get());
    return ar.TakeBuffer();
}

template <class T>
Bytes ElementBlock(const std::vector<T>& list, std::size_t b)
{
    const std::size_t first = b * CUndoSnapshot::kElementsPerBlock;
    const std::size_t end = std::min(list.size(), first + CUndoSnapshot::kElementsPerBlock);
    CArchive ar(LevelClassRegistry());
    ar.WriteRawArray(std::vector<T>(list.begin() + static_cast<std::ptrdiff_t>(first),
                                    list.begin() + static_cast<std::ptrdiff_t>(end)));
    return ar.TakeBuffer();
}

// A block's archive must be read to its end.
void CheckAtEnd(const CArchive& ar)
{
    if (!ar.AtEnd())
        throw CArchiveException(CArchiveException::badFormat,
                                "The undo step holds more data than the level it describes.");
}

[[noreturn]] void ThrowMissing()
{
    throw CArchiveException(CArchiveException::badFormat,
                            "The undo step is missing part of the level.");
}

const Bytes& BlockBytes(const Block& block)
{
    if (!block)
        ThrowMissing();
    return *block;
}

// The fields of a record that the archive does not store, as a record read back has them (a
// record made new): a record kept in place by a restore is then the record a read would have
// made. A field added to a record and left out of the archive belongs here too.
void ClearUnstored(CQzlMaterial&) noexcept {}
void ClearUnstored(CQzlCog&) noexcept {}

void ClearUnstored(CQzlAdjoin& adjoin) noexcept
{
    adjoin.m_otherSector = -1;
    adjoin.m_otherSurface = -1;
}

void ClearUnstored(CQzlSurface& surface) noexcept
{
    for (CQzlVertex& corner : surface.m_vertices) {
        corner.m_textureVertex = 0;
        corner.m_marked = 0;
        corner.m_spareIndex = -1;
    }
    static const CQzlSurface kFresh;
    surface.m_textureWidth = kFresh.m_textureWidth;
    surface.m_textureHeight = kFresh.m_textureHeight;
    surface.m_xTile = kFresh.m_xTile;
    surface.m_yTile = kFresh.m_yTile;
    std::fill(std::begin(surface.m_plane), std::end(surface.m_plane), 0.0f);
    surface.m_box = CBoundingBox{};
    surface.m_texture = nullptr;
    surface.m_renderVertices.clear();
    surface.m_renderIndex = -1;
    surface.m_renderPoints.clear();
    std::fill(std::begin(surface.m_spare), std::end(surface.m_spare), 0);
    surface.m_mirror = 0;
    surface.m_triggeredThing = -1;
    surface.m_scrollU = 0.0f;
    surface.m_scrollV = 0.0f;
}

void ClearUnstored(CQzlSector& sector) noexcept
{
    sector.m_visible.clear();
    std::fill(std::begin(sector.m_runtime), std::end(sector.m_runtime), 0);
    sector.m_renderVersion = 0;
}

void ClearUnstored(CQzlThing& thing) noexcept
{
    thing.m_model = nullptr;
    thing.m_modelReady = 0;
    thing.m_runtimeWord = 0;
    static const CQzlThing kFresh;
    thing.m_runtimeFloat[0] = kFresh.m_runtimeFloat[0];
    thing.m_runtimeFloat[1] = kFresh.m_runtimeFloat[1];
    thing.m_runtimeIndex = -1;
    for (std::string& text : thing.m_runtimeText)
        text.clear();
    std::fill(std::begin(thing.m_runtimeDWord), std::end(thing.m_runtimeDWord), 0u);
}

void ClearUnstored(CQzlTemplate& record) noexcept
{
    record.m_runtimeText.clear();
    record.m_runtimeWord = 0;
}

// Restores one list: every block of the snapshot that the snapshot of the level as it is now
// shares (the same block, so the same bytes) keeps the level's own entries of that run; the
// others are read, each on its own, into a part of their own (queued as tasks). Nothing of the
// level changes before Commit.
template <class List>
class CListReader {
public:
    using Entry = typename List::value_type;
    static constexpr bool kRaw = std::is_trivially_copyable_v<Entry>;
    static constexpr std::size_t kPerBlock =
        kRaw ? CUndoSnapshot::kElementsPerBlock : CUndoSnapshot::kRecordsPerBlock;

    // now: the blocks of the same list in a snapshot of the level as it is now, or null.
    CListReader(const std::vector<Block>& blocks, const std::vector<Block>* now,
                std::vector<Task>& tasks)
        : m_parts(blocks.size()), m_kept(blocks.size(), false)
    {
        if (blocks.empty())
            ThrowMissing();
        for (std::size_t b = 0; b < blocks.size(); ++b) {
            if (now != nullptr && b < now->size() && blocks[b] && (*now)[b] == blocks[b]) {
                m_kept[b] = true;
                continue;
            }
            tasks.push_back([this, &block = blocks[b], b] {
                CArchive ar(LevelClassRegistry(), BlockBytes(block));
                if constexpr (kRaw)
                    ar.ReadRawArray(m_parts[b]);
                else
                    ar.ReadObArray(m_parts[b]);
                CheckAtEnd(ar);
            });
        }
    }

    CListReader(const CListReader&) = delete;
    CListReader& operator=(const CListReader&) = delete;

    // Once every block is read: makes room for the whole list (the only step that may fail).
    void Prepare(const List& current)
    {
        std::size_t size = 0;
        for (std::size_t b = 0; b < m_parts.size(); ++b)
            size += m_kept[b] ? KeptRange(current, b).second - KeptRange(current, b).first
                              : m_parts[b].size();
        m_all.reserve(size);
    }

    // Replaces current by the restored list.
    void Commit(List& current) noexcept
    {
        for (std::size_t b = 0; b < m_parts.size(); ++b) {
            if (!m_kept[b]) {
                std::move(m_parts[b].begin(), m_parts[b].end(), std::back_inserter(m_all));
                continue;
            }
            const auto [first, end] = KeptRange(current, b);
            for (std::size_t i = first; i < end; ++i) {
                if constexpr (!kRaw) {
                    if (current[i])
                        ClearUnstored(*current[i]);
                }
                m_all.push_back(std::move(current[i]));
            }
        }
        current = std::move(m_all);
    }

private:
    static std::pair<std::size_t, std::size_t> KeptRange(const List& current, std::size_t b)
    {
        const std::size_t first = b * kPerBlock;
        return {first, std::min(current.size(), first + kPerBlock)};
    }

    std::vector<List> m_parts;
    std::vector<bool> m_kept;
    List m_all;
};

// A list stored whole, in one block.
const Bytes& SingleBlock(const std::vector<Block>& blocks)
{
    if (blocks.size() != 1)
        ThrowMissing();
    return BlockBytes(blocks.front());
}

void LoadNames(const std::vector<Block>& blocks, NameList& list)
{
    CArchive ar(LevelClassRegistry(), SingleBlock(blocks));
    ar.ReadStringList(list);
    CheckAtEnd(ar);
}

Bytes NameBytes(const NameList& list)
{
    CArchive ar(LevelClassRegistry());
    ar.WriteStringList(list);
    return ar.TakeBuffer();
}

Bytes HeaderBytes(const CQzlHeader& header)
{
    CArchive ar(LevelClassRegistry());
    CQzlHeader copy = header;  // Serialize serves both directions
    copy.Serialize(ar);
    return ar.TakeBuffer();
}

}  // namespace

void CUndoSnapshot::StoreLevel(const CQzlSections& level, const CUndoSnapshot* previous)
{
    // Made aside, so that a list too long to be stored leaves the snapshot as it was.
    std::array<std::vector<Block>, kSectionCount> sections;
    std::vector<Task> tasks;
    std::size_t section = 0;
    std::array<std::size_t, kSectionCount> entries{};
    // Queues the next list of size entries: count blocks, block b made by store(b).
    const auto queue = [&](std::size_t size, std::size_t count, StoreBlock store) {
        const std::size_t at = section++;
        entries[at] = size;
        QueueBlocks(sections[at], count, previous ? &previous->m_sections[at] : nullptr,
                    std::move(store), tasks);
    };
    const auto records = [&](const auto& list) {
        queue(list.size(), BlockCount(list.size(), kRecordsPerBlock),
              [&list](std::size_t b) { return RecordBlock(list, b); });
    };
    const auto elements = [&](const auto& list) {
        queue(list.size(), BlockCount(list.size(), kElementsPerBlock),
              [&list](std::size_t b) { return ElementBlock(list, b); });
    };
    const auto names = [&](const NameList& list) {
        queue(list.size(), 1, [&list](std::size_t) { return NameBytes(list); });
    };
    records(level.m_materials);
    records(level.m_adjoins);
    records(level.m_surfaces);
    records(level.m_sectors);
    records(level.m_things);
    records(level.m_cogs);
    elements(level.m_worldVertices);
    elements(level.m_textureVertices);
    names(level.m_cogScripts);
    for (const auto list : kNameLists)
        names(level.*list);
    records(level.m_templates);
    queue(1, 1, [&level](std::size_t) { return HeaderBytes(level.m_header); });
    RunTasks(tasks);
    m_sections = std::move(sections);
    m_entries = entries;
}

void CUndoSnapshot::LoadLevel(CQzlSections& level, const CUndoSnapshot* levelNow) const
{
    // Everything is read aside first, so a fault leaves the level as it was.
    std::vector<Task> tasks;
    std::size_t section = 0;
    // The blocks of list at of the snapshot of the level now, if there is one; none when that
    // snapshot's list is not as long as the level's (size entries): it is of another level.
    const auto now = [levelNow](std::size_t at, std::size_t size) -> const std::vector<Block>* {
        if (levelNow == nullptr || levelNow->m_entries[at] != size)
            return nullptr;
        return &levelNow->m_sections[at];
    };
    // Whether the single block of list at (size entries in the level) is the one the level has.
    const auto unchanged = [&](std::size_t at, std::size_t size) {
        const std::vector<Block>* blocks = now(at, size);
        return blocks != nullptr && blocks->size() == 1 && m_sections[at].size() == 1 &&
               m_sections[at].front() && blocks->front() == m_sections[at].front();
    };
    const auto reader = [&](auto& list) {
        using List = std::remove_reference_t<decltype(list)>;
        const std::size_t at = section++;
        return CListReader<List>(m_sections[at], now(at, list.size()), tasks);
    };
    auto materials = reader(level.m_materials);
    auto adjoins = reader(level.m_adjoins);
    auto surfaces = reader(level.m_surfaces);
    auto sectors = reader(level.m_sectors);
    auto things = reader(level.m_things);
    auto cogs = reader(level.m_cogs);
    auto worldVertices = reader(level.m_worldVertices);
    auto textureVertices = reader(level.m_textureVertices);
    NameList cogScripts;
    NameList names[kNameListCount];
    const std::size_t firstNames = section;
    section += 1 + kNameListCount;
    bool namesKept[1 + kNameListCount];
    namesKept[0] = unchanged(firstNames, level.m_cogScripts.size());
    for (std::size_t i = 0; i < kNameListCount; ++i)
        namesKept[1 + i] = unchanged(firstNames + 1 + i, (level.*kNameLists[i]).size());
    auto templates = reader(level.m_templates);
    CQzlHeader header;
    const std::size_t headerAt = section;
    const bool headerKept = unchanged(headerAt, 1);
    if (!headerKept)
        tasks.push_back([&] {
            CArchive ar(LevelClassRegistry(), SingleBlock(m_sections[headerAt]));
            header.Serialize(ar);
            CheckAtEnd(ar);
        });
    tasks.push_back([&] {
        if (!namesKept[0])
            LoadNames(m_sections[firstNames], cogScripts);
        for (std::size_t i = 0; i < kNameListCount; ++i)
            if (!namesKept[1 + i])
                LoadNames(m_sections[firstNames + 1 + i], names[i]);
    });
    RunTasks(tasks);

    materials.Prepare(level.m_materials);
    adjoins.Prepare(level.m_adjoins);
    surfaces.Prepare(level.m_surfaces);
    sectors.Prepare(level.m_sectors);
    things.Prepare(level.m_things);
    cogs.Prepare(level.m_cogs);
    worldVertices.Prepare(level.m_worldVertices);
    textureVertices.Prepare(level.m_textureVertices);
    templates.Prepare(level.m_templates);

    // Nothing below fails.
    materials.Commit(level.m_materials);
    adjoins.Commit(level.m_adjoins);
    surfaces.Commit(level.m_surfaces);
    sectors.Commit(level.m_sectors);
    things.Commit(level.m_things);
    cogs.Commit(level.m_cogs);
    worldVertices.Commit(level.m_worldVertices);
    textureVertices.Commit(level.m_textureVertices);
    if (!namesKept[0])
        level.m_cogScripts = std::move(cogScripts);
    for (std::size_t i = 0; i < kNameListCount; ++i)
        if (!namesKept[1 + i])
            level.*kNameLists[i] = std::move(names[i]);
    templates.Commit(level.m_templates);
    if (!headerKept)
        level.m_header = header;
}

std::vector<std::uint8_t> CUndoSnapshot::Bytes() const
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(Size());
    for (const auto& blocks : m_sections)
        for (const Block& block : blocks)
            if (block)
                bytes.insert(bytes.end(), block->begin(), block->end());
    return bytes;
}

std::size_t CUndoSnapshot::Size() const
{
    std::size_t size = 0;
    for (const auto& blocks : m_sections)
        for (const Block& block : blocks)
            if (block)
                size += block->size();
    return size;
}

std::size_t HeldBytes(std::span<const CUndoSnapshot* const> snapshots)
{
    std::unordered_set<const std::vector<std::uint8_t>*> seen;
    std::size_t size = 0;
    for (const CUndoSnapshot* snapshot : snapshots)
        for (const auto& blocks : snapshot->m_sections)
            for (const Block& block : blocks)
                if (block && seen.insert(block.get()).second)
                    size += block->size();
    return size;
}

// Stored form, in this order: materials, adjoins, surfaces, sectors, things, cogs (object lists),
// world vertices, texture vertices (raw arrays), cog scripts (string list), then the sound,
// colour-map, AI-class, model, sprite, keyframe, puppet and sound-class lists (string lists) and
// the templates (object list), last the header (bare data).
std::vector<std::uint8_t> WriteUndoableBytes(const CQzlSections& level)
{
    CArchive ar(LevelClassRegistry());
    ar.WriteObArray(level.m_materials);
    ar.WriteObArray(level.m_adjoins);
    ar.WriteObArray(level.m_surfaces);
    ar.WriteObArray(level.m_sectors);
    ar.WriteObArray(level.m_things);
    ar.WriteObArray(level.m_cogs);
    ar.WriteRawArray(level.m_worldVertices);
    ar.WriteRawArray(level.m_textureVertices);
    ar.WriteStringList(level.m_cogScripts);
    for (const auto list : kNameLists)
        ar.WriteStringList(level.*list);
    ar.WriteObArray(level.m_templates);
    CQzlHeader header = level.m_header;
    header.Serialize(ar);
    return ar.TakeBuffer();
}
