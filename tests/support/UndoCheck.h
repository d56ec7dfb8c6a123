#pragma once
// The undo check of the editing tests: an operation run as the editor runs an edit (inside an
// undo step), then undone and redone, must give back exactly the stored level bytes (the level
// part of the editor's archive form), the selection and the camera from before the operation,
// and those after it again.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

class C3dView;
class CQzlSections;

// The level's bytes as an undo snapshot stores them: what undo must give back exactly.
std::vector<std::uint8_t> SnapshotBytes(const CQzlSections& level);

// Builds every sector of view's level once (as the editor does when it opens a level), runs
// operation (false: refused) inside an undo step, then the Undo command, then the Redo command
// (each restore followed by the full rebuild the editor runs).
// Success when the operation went through, Undo gave back the bytes, selection and camera from
// before it and Redo those from after it; else what differed (for a level, the first byte that
// differs).
::testing::AssertionResult UndoGivesBackExactBytes(C3dView& view,
                                                   const std::function<bool()>& operation);
