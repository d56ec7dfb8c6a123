#pragma once
// The level checker: walks the whole level and reports, one line per finding, what would make the
// game misbehave or crash. Each finding is fatal (the game is expected to crash; Test Level
// refuses to start) or a warning.
//
// Next to the report text the checker keeps four parallel lists, the sector, surface, vertex and
// thing list: each finding appends one entry to each (-1 where it names no element of that kind),
// so entry n of the lists describes line n of the text. The vertex entry is a corner position
// within the named surface; the thing entry an index into the level's things.
//
// Every index the checker follows is checked against the list it names; an index out of range is
// a finding, never a read outside the list. Surfaces whose corners name no world vertex take part
// in none of the geometric tests, and sectors holding such surfaces (or naming surfaces that do
// not exist) contain no point. A thing lying in the sector it names is in its place, even where
// it lies on a face that sector shares with another.

#include "geometry/SectorGrid.h"
#include "math/Vector3.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class C3doModel;
class CEngineHost;
class CQzlSections;
struct CGameResources;

class CLevelChecker {
public:
    // Runs the five sections (sector geometry, adjoin geometry, things, model materials, cog
    // parameters) over level and appends their lines to text (callers pass an empty one); text
    // becomes "None" when nothing was found. models are the loaded 3DO models, whose missing
    // materials are reported. host (may be null) shows the wait cursor and the progress window,
    // stepped once per sector, adjoin, thing, model and cog. Returns 1 when at least one finding
    // was fatal, else 0. The four lists are emptied first; the level is not changed.
    int CheckLevel(const CQzlSections& level, const CGameResources& game,
                   std::span<const std::unique_ptr<C3doModel>> models, std::string& text,
                   CEngineHost* host = nullptr);

    // Checks the values of every cog against its script (the game's copy first, then the level's
    // own files). With fix, the values beyond the script's parameters are dropped. Without the
    // game's archive nothing is checked and one line says so; a script found nowhere is passed
    // over. host (may be null) is stepped once per cog.
    void CheckAllCogs(CQzlSections& level, const CGameResources& game, std::string& text,
                      CEngineHost* host, bool fix);

    // Checks one cog's values (name is quoted in the lines) against the parameters of the
    // script's symbols section: surface, sector and thing values must be -1 or an index of level;
    // too few or too many values are reported, and with fix the values beyond the parameters are
    // dropped.
    void CheckCogParameters(const CQzlSections& level, std::span<const std::uint8_t> script,
                            std::vector<std::string>& values, std::string_view name,
                            std::string& text, bool fix);

    const std::vector<std::int32_t>& GetSectorList() const { return m_sectorList; }
    const std::vector<std::int32_t>& GetSurfaceList() const { return m_surfaceList; }
    const std::vector<std::int32_t>& GetVertexList() const { return m_vertexList; }
    const std::vector<std::int32_t>& GetThingList() const { return m_thingList; }

private:
    // One finding: its line and its entry in each of the four lists.
    void Report(std::string& text, bool fatal, const std::string& line, int sector, int surface,
                int vertex, int thing);
    void CheckSectors(const CQzlSections& level, std::string& text, CEngineHost* host);
    void CheckSector(const CQzlSections& level, int s, std::string& text);
    void CheckSurfaceCorners(const CQzlSections& level, int s, std::size_t k, std::string& text);
    void CheckAdjoins(const CQzlSections& level, std::string& text, CEngineHost* host);
    void CheckThings(const CQzlSections& level, std::string& text, CEngineHost* host);
    void CheckMaterials(std::span<const std::unique_ptr<C3doModel>> models, std::string& text,
                        CEngineHost* host);
    // The cog section over a level that is read only (fixLevel null) or repaired (fixLevel the
    // same level, not const).
    void CheckCogs(const CQzlSections& level, CQzlSections* fixLevel, const CGameResources& game,
                   std::string& text, CEngineHost* host);
    // The surfaces owning adjoin (empty for an index out of range), in index order.
    std::span<const std::int32_t> Owners(int adjoin) const;
    // Whether position lies in sector, for sectors whose surfaces and corners all exist.
    bool InSoundSector(const CQzlSections& level, int sector, const CVector3& p,
                       float tolerance) const;

    std::vector<std::int32_t> m_sectorList;
    std::vector<std::int32_t> m_surfaceList;
    std::vector<std::int32_t> m_vertexList;
    std::vector<std::int32_t> m_thingList;

    // State of one run.
    bool m_fatal = false;
    std::vector<char> m_cornersExist;  // per surface: every corner names a world vertex
    std::vector<char> m_sectorSound;   // per sector: every surface exists with its corners
    std::unique_ptr<CSectorGrid> m_grid;
    // The surfaces owning each adjoin, in index order: m_owners[m_ownerStart[a]] onwards.
    std::vector<std::int32_t> m_ownerStart;
    std::vector<std::int32_t> m_owners;
    std::vector<std::int32_t> m_candidates;  // the grid's answer for one point
};
