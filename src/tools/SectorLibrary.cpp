#include "tools/SectorLibrary.h"

#include "edit/Link.h"
#include "edit/SelectionDelete.h"
#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "engine/RenderData.h"
#include "engine/Undo.h"
#include "engine/Visibility.h"
#include "framework/DocumentState.h"
#include "framework/Exceptions.h"
#include "framework/Indices.h"
#include "framework/StringUtil.h"
#include "level/DeleteRenumber.h"
#include "level/GameResources.h"
#include "level/LevelFile.h"
#include "level/QzeFile.h"
#include "level/QzlSections.h"
#include "level/ResourceLists.h"
#include "level/SectorGroupCopy.h"

#include <cstddef>
#include <cstdint>
#include <utility>

namespace {

constexpr const char* kDeletingTitle = "Deleting Sectors By Group Name...";

bool InGroup(const CQzlSector& sector, std::string_view name)
{
    return EqualsNoCase(sector.m_groupName, name);
}

// Removes sector s with its surfaces (each adjoin pair first) and the things standing in it; the
// things of later sectors follow their sector's new index, the current thing its record.
void RemoveGroupSector(C3dView& view, int s)
{
    CQzlSections& level = view.GetLevel();
    const CGameResources& game = view.GetGame();
    std::vector<std::int32_t>& list = At(level.m_sectors, s)->m_surfaces;
    while (!list.empty()) {
        const std::int32_t surface = list.front();
        if (!InRange(level.m_surfaces, surface)) {
            list.erase(list.begin());
            continue;
        }
        // A neighbour that stays takes a wall's look in place of its portal, as when one sector
        // is deleted: a portal without an adjoin would show the void behind it.
        view.m_selection.m_surface = surface;
        UnlinkSurface(view, false);
        DeleteSurface(level, game, surface);
    }
    DeleteSectorThings(view, s);
    DeleteSector(level, game, s);
}

}  // namespace

std::vector<std::string> SectorGroupNames(const CQzlSections& level)
{
    std::vector<std::string> names;
    for (const auto& sector : level.m_sectors) {
        const std::string& name = sector->m_groupName;
        if (name.empty())
            continue;
        bool known = false;
        for (const std::string& seen : names)
            known = known || EqualsNoCase(seen, name);
        if (!known)
            names.push_back(name);
    }
    return names;
}

bool RenameSectorGroup(C3dView& view, std::string_view oldName, std::string_view newName)
{
    bool renamed = false;
    for (auto& sector : view.GetLevel().m_sectors) {
        if (InGroup(*sector, oldName)) {
            sector->m_groupName = std::string(newName);
            renamed = true;
        }
    }
    if (!renamed)
        return false;
    if (InRange(view.GetLevel().m_sectors, view.m_selection.m_sector))
        RebuildSector(view, view.m_selection.m_sector);
    view.GetHost().SetModifiedFlag(true);
    return true;
}

int DeleteSectorGroup(C3dView& view, std::string_view name, bool rebuild)
{
    CEngineHost& host = view.GetHost();
    CWaitCursorScope wait(host);
    CQzlSections& level = view.GetLevel();
    int count = 0;
    for (const auto& sector : level.m_sectors)
        count += InGroup(*sector, name) ? 1 : 0;
    host.BeginProgress(kDeletingTitle, count);

    CDocumentState& document = view.GetDocument();
    document.m_gridOn = 0;
    document.m_editMode = 0;

    int deleted = 0;
    for (std::size_t s = level.m_sectors.size(); s-- > 0;) {
        // Asked before each sector: the level's last sector stays, even when it is in the group.
        if (level.m_sectors.size() > 1 && InGroup(*level.m_sectors[s], name)) {
            view.m_selection.m_surface = -1;
            RemoveGroupSector(view, static_cast<int>(s));
            ++deleted;
            host.StepProgress();
        }
    }
    level.LinkAdjoins();

    CSelection& selection = view.m_selection;
    selection.m_surface = selection.m_sector = -1;
    selection.m_vertex = selection.m_vertexSurface = -1;
    for (std::size_t s = 0; s < level.m_sectors.size(); ++s) {
        level.m_sectors[s]->m_number = static_cast<std::int32_t>(s);
        if (rebuild)
            RebuildSector(view, static_cast<int>(s));
    }
    ProcessSectors(view);
    host.RequestFrame(true);
    host.EndProgress();
    if (deleted > 0)
        host.SetModifiedFlag(true);
    return deleted;
}

bool LoadSectorGroup(C3dView& view, std::string_view name, CQzlSections& source)
{
    CQzlSections& level = view.GetLevel();
    // Checked before the level's own group goes, so that a refusal leaves the level as it was.
    const std::string problem = SectorGroupCopyProblem(level, source);
    if (!problem.empty()) {
        view.GetHost().ShowMessage(problem);
        return false;
    }
    const int deleted = DeleteSectorGroup(view, name, false);
    level.LinkAdjoins();
    source.LinkAdjoins();
    const std::size_t first = level.m_sectors.size();
    const CSectorGroupCopy copy = CopySectorGroup(level, source, name, view.GetGame());
    const int remembered = view.m_selection.m_sector;
    if (deleted == 0 && copy.m_sectors == 0)
        return false;

    BuildResourceLists(level, view.GetGame());
    RebuildAll(view, false);

    // The loaded sectors' open faces are joined to the level where they touch it.
    for (std::size_t s = first; s < level.m_sectors.size(); ++s) {
        for (std::size_t i = 0; i < level.m_sectors[s]->m_surfaces.size(); ++i) {
            const std::int32_t surface = level.m_sectors[s]->m_surfaces[i];
            if (!InRange(level.m_surfaces, surface))
                continue;
            const CQzlSurface& record = *At(level.m_surfaces, surface);
            if (record.m_surfaceFlags != 0 || record.m_faceFlags != 0 || record.m_adjoin != -1)
                continue;
            view.m_selection.m_sector = static_cast<int>(s);
            view.m_selection.m_surface = surface;
            LinkSurface(view);
        }
    }
    ProcessSectors(view);
    view.m_selection.m_sector = remembered;
    view.m_selection.m_surface = -1;
    view.GetHost().RequestFrame(true);
    view.GetHost().SetModifiedFlag(true);
    return true;
}

void SaveLibraryFile(const std::filesystem::path& path, const CQzlSections& level,
                     std::string_view name, const CDocumentFields& fields,
                     const CGameResources& game)
{
    CQzlSections library;
    const CSectorGroupCopy copy = CopySectorGroup(library, level, name, game);
    if (!copy.m_problem.empty())
        throw CArchiveException(CArchiveException::badFormat, copy.m_problem);
    SaveQzeFile(path, library, fields);
}

CQzlSections ReadLibraryFile(const std::filesystem::path& path, int product)
{
    return std::move(LoadLevelFile(path, product).m_contents.m_level);
}

bool RunRenameGroupCommand(C3dView& view, std::string_view oldName, std::string_view newName)
{
    return RunUndoable(view, [&] { return RenameSectorGroup(view, oldName, newName); });
}

bool RunDeleteGroupCommand(C3dView& view, std::string_view name)
{
    return RunUndoable(view, [&] { return DeleteSectorGroup(view, name, true) > 0; });
}

bool RunLoadGroupCommand(C3dView& view, std::string_view name, CQzlSections& source)
{
    return RunUndoable(view, [&] { return LoadSectorGroup(view, name, source); });
}

std::string CurrentGroupName(const C3dView& view)
{
    const CQzlSections& level = view.GetLevel();
    if (!InRange(level.m_sectors, view.m_selection.m_sector))
        return {};
    return At(level.m_sectors, view.m_selection.m_sector)->m_groupName;
}
