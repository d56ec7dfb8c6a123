#include "tools/LevelRollback.h"

#include "engine/C3dView.h"
#include "engine/RenderData.h"
#include "level/QzlSections.h"

CLevelRollback::CLevelRollback(C3dView& view)
    : m_view(view), m_useCounts(view.GetLevel().m_useCounts), m_selection(view.m_selection),
      m_document(view.GetDocument())
{
    m_snapshot.StoreLevel(view.GetLevel());
}

void CLevelRollback::Restore()
{
    CQzlSections& level = m_view.GetLevel();
    m_snapshot.LoadLevel(level);
    level.m_useCounts = m_useCounts;
    m_view.GetDocument() = m_document;
    RebuildAll(m_view, false, ERebuildAll::Restore);
    // The rebuild empties the picked grid nodes: the selection comes back after it.
    m_view.m_selection = m_selection;
}
