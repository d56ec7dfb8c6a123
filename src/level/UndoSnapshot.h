#pragma once
// One undo or redo step: the level's editable records in the archive's object form, with the
// engine's selection and camera at the moment it was taken.
//
// The level part holds every stored member that an undoable edit can change: the materials,
// adjoins, surfaces, sectors, things and cogs, the world and texture vertices, the cog-script
// names, the templates and the other resource name lists (sounds, colour maps, AI classes,
// models, sprites, keyframes, puppets, sound classes; rebuilding the resource lists rewrites
// them) and the header (the Header dialog's OK is undoable). The notice lines, the level's own
// files and the camera bookmarks change only by edits that cannot be undone; they are not in it
// and stay as they are across undo and redo. Snapshots are never written to a file.
//
// The level part is stored in blocks: each list is cut into runs of a fixed number of records
// (or of raw elements), each run stored on its own in an archive of its own (a record list of
// that run, as the archive writes lists), so that a block reads back without the blocks before
// it. A snapshot taken with an earlier one beside it shares every block whose bytes are the same
// as that one's block at the same place: a step after an edit of one sector holds only the blocks
// the edit changed. Blocks are never changed once made. The blocks are independent, so they are
// made and read on a few threads at once.

#include "math/Vector3.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class CQzlSections;

class CUndoSnapshot {
public:
    using Block = std::shared_ptr<const std::vector<std::uint8_t>>;

    // The stored lists, in this order: materials, adjoins, surfaces, sectors, things, cogs,
    // world vertices, texture vertices, cog scripts, the sound, colour-map, AI-class, model,
    // sprite, keyframe, puppet and sound-class names, templates, header.
    static constexpr std::size_t kSectionCount = 19;
    // Records (or raw elements) in each block of a list but its last.
    static constexpr std::size_t kRecordsPerBlock = 256;
    static constexpr std::size_t kElementsPerBlock = 4096;

    // Serialises the level part of level. Blocks equal to those of previous at the same place are
    // shared with it instead of kept twice; previous may be null (nothing is shared).
    void StoreLevel(const CQzlSections& level, const CUndoSnapshot* previous = nullptr);
    // Replaces the level part of level by the stored one. Throws CArchiveException when the
    // blocks do not read back; level is then unchanged. The use counts are left to the caller.
    // levelNow, when given, must be a snapshot of level as it is now (stored with this snapshot
    // as previous, level unchanged since; a snapshot whose lists differ in length from the
    // level's is not used, a cheap check that catches some misuse but proves nothing): the records
    // of each block the two share stay in place, their unstored fields set as a read sets them, and
    // only the other blocks are read. The level is then the one a restore without levelNow gives.
    void LoadLevel(CQzlSections& level, const CUndoSnapshot* levelNow = nullptr) const;

    // The stored bytes, every block in order: equal for two snapshots exactly when they hold the
    // same level part.
    [[nodiscard]] std::vector<std::uint8_t> Bytes() const;
    // The length of Bytes().
    [[nodiscard]] std::size_t Size() const;

    // The blocks of each list, in stored order.
    std::array<std::vector<Block>, kSectionCount> m_sections;
    // The entries of each list (records, elements or names; 1 for the header).
    std::array<std::size_t, kSectionCount> m_entries{};

    // Engine selection, -1 = none.
    std::int32_t m_currentSector = -1;
    std::int32_t m_currentSurface = -1;
    std::int32_t m_currentThing = -1;
    std::int32_t m_currentVertex = -1;  // corner index within its surface
    std::int32_t m_vertexSurface = -1;

    // Camera: position, forward axis (the first axis), up axis (the second).
    CVector3 m_cameraPosition;
    CVector3 m_cameraAxis1;
    CVector3 m_cameraAxis2;
};

// The bytes the snapshots hold together, each block shared between them counted once.
[[nodiscard]] std::size_t HeldBytes(std::span<const CUndoSnapshot* const> snapshots);

// The level part of level serialised whole in one archive, in the order of the snapshot's lists:
// the level's stored bytes that undo must give back exactly.
[[nodiscard]] std::vector<std::uint8_t> WriteUndoableBytes(const CQzlSections& level);
