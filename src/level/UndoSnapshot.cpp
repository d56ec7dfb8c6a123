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

// Queues the reading of every block of a list into its own part; Join gives the list.
template <class List>
class CListReader {
public:
    CListReader(const std::vector<Block>& blocks, std::vector<Task>& tasks) : m_parts(blocks.size())
    {
        if (blocks.empty())
            ThrowMissing();
        for (std::size_t b = 0; b < blocks.size(); ++b)
            tasks.push_back([this, &block = blocks[b], b] {
                CArchive ar(LevelClassRegistry(), BlockBytes(block));
                if constexpr (std::is_trivially_copyable_v<typename List::value_type>)
                    ar.ReadRawArray(m_parts[b]);
                else
                    ar.ReadObArray(m_parts[b]);
                CheckAtEnd(ar);
            });
    }

    List Join()
    {
        std::size_t size = 0;
        for (const List& part : m_parts)
            size += part.size();
        List all;
        all.reserve(size);
        for (List& part : m_parts)
            std::move(part.begin(), part.end(), std::back_inserter(all));
        return all;
    }

private:
    std::vector<List> m_parts;
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
    // Queues the next list: count blocks, block b made by store(b).
    const auto queue = [&](std::size_t count, StoreBlock store) {
        const std::size_t at = section++;
        QueueBlocks(sections[at], count, previous ? &previous->m_sections[at] : nullptr,
                    std::move(store), tasks);
    };
    const auto records = [&](const auto& list) {
        queue(BlockCount(list.size(), kRecordsPerBlock),
              [&list](std::size_t b) { return RecordBlock(list, b); });
    };
    const auto elements = [&](const auto& list) {
        queue(BlockCount(list.size(), kElementsPerBlock),
              [&list](std::size_t b) { return ElementBlock(list, b); });
    };
    const auto names = [&](const NameList& list) {
        queue(1, [&list](std::size_t) { return NameBytes(list); });
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
    queue(1, [&level](std::size_t) { return HeaderBytes(level.m_header); });
    RunTasks(tasks);
    m_sections = std::move(sections);
}

void CUndoSnapshot::LoadLevel(CQzlSections& level) const
{
    // Everything is read aside first, so a fault leaves the level as it was.
    std::vector<Task> tasks;
    std::size_t section = 0;
    CListReader<std::vector<std::unique_ptr<CQzlMaterial>>> materials(m_sections[section++], tasks);
    CListReader<std::vector<std::unique_ptr<CQzlAdjoin>>> adjoins(m_sections[section++], tasks);
    CListReader<std::vector<std::unique_ptr<CQzlSurface>>> surfaces(m_sections[section++], tasks);
    CListReader<std::vector<std::unique_ptr<CQzlSector>>> sectors(m_sections[section++], tasks);
    CListReader<std::vector<std::unique_ptr<CQzlThing>>> things(m_sections[section++], tasks);
    CListReader<std::vector<std::unique_ptr<CQzlCog>>> cogs(m_sections[section++], tasks);
    CListReader<std::vector<CWorldVertex>> worldVertices(m_sections[section++], tasks);
    CListReader<std::vector<CWorldVertex>> textureVertices(m_sections[section++], tasks);
    NameList cogScripts;
    NameList names[kNameListCount];
    const std::size_t firstNames = section;
    section += 1 + kNameListCount;
    CListReader<std::vector<std::unique_ptr<CQzlTemplate>>> templates(m_sections[section++], tasks);
    CQzlHeader header;
    tasks.push_back([&, at = section] {
        CArchive ar(LevelClassRegistry(), SingleBlock(m_sections[at]));
        header.Serialize(ar);
        CheckAtEnd(ar);
    });
    tasks.push_back([&, at = firstNames] {
        LoadNames(m_sections[at], cogScripts);
        for (std::size_t i = 0; i < kNameListCount; ++i)
            LoadNames(m_sections[at + 1 + i], names[i]);
    });
    RunTasks(tasks);

    level.m_materials = materials.Join();
    level.m_adjoins = adjoins.Join();
    level.m_surfaces = surfaces.Join();
    level.m_sectors = sectors.Join();
    level.m_things = things.Join();
    level.m_cogs = cogs.Join();
    level.m_worldVertices = worldVertices.Join();
    level.m_textureVertices = textureVertices.Join();
    level.m_cogScripts = std::move(cogScripts);
    for (std::size_t i = 0; i < kNameListCount; ++i)
        level.*kNameLists[i] = std::move(names[i]);
    level.m_templates = templates.Join();
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
