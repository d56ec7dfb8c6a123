#pragma once
// Taking back a builder's work when it finds, half way, that it cannot finish: the level's
// records, their use counts, the engine's selection and the document's switches as they were
// when the rollback was made.

#include "engine/ViewState.h"
#include "framework/DocumentState.h"
#include "level/UndoSnapshot.h"

#include <cstdint>
#include <vector>

class C3dView;

class CLevelRollback {
public:
    // Keeps the level part of view's level (as an undo snapshot keeps it), the use counts, the
    // selection with the picked grid nodes and the document's switches.
    explicit CLevelRollback(C3dView& view);

    // Gives them all back and rebuilds the level's render data as an undo does (the camera
    // stays where it is).
    void Restore();

private:
    C3dView& m_view;
    CUndoSnapshot m_snapshot;
    std::vector<std::int32_t> m_useCounts;
    CSelection m_selection;
    CDocumentState m_document;
};
