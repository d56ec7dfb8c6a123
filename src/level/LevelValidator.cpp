#include "level/LevelValidator.h"

#include "level/QzlSections.h"

#include <cstdint>

namespace {

class CProblems {
public:
    explicit CProblems(const CLevelValidation& options)
        : m_max(options.maxProblems), m_refusedOnly(options.refusedOnly)
    {}

    bool Full() const { return m_list.size() >= m_max; }
    // Whether problems of this kind are looked for.
    bool Wants(ELevelProblem kind) const
    {
        return !m_refusedOnly || kind == ELevelProblem::refused;
    }
    void Add(ELevelProblem kind, std::string text)
    {
        if (!Full() && Wants(kind))
            m_list.push_back({kind, std::move(text)});
    }
    // Checks index against [-1, count) or [0, count) when none is not allowed; the field belongs
    // to record number of that kind ("surface 12"). The text is made only for a problem: the
    // loaders check every record of a large level.
    void Index(ELevelProblem kind, const char* record, std::size_t number, const char* field,
               std::int64_t value, std::size_t count, bool noneAllowed = true)
    {
        if ((noneAllowed && value == -1) || (value >= 0 && static_cast<std::size_t>(value) < count))
            return;
        if (!Wants(kind))
            return;
        Add(kind, Where(record, number) + ": " + field + " " + std::to_string(value) +
                      " is out of range (" + std::to_string(count) + " in the level)");
    }
    static std::string Where(const char* record, std::size_t number)
    {
        return std::string(record) + " " + std::to_string(number);
    }
    std::vector<CLevelProblem> Take() { return std::move(m_list); }

private:
    std::size_t m_max;
    bool m_refusedOnly;
    std::vector<CLevelProblem> m_list;
};

}  // namespace

std::vector<CLevelProblem> FindLevelProblems(const CQzlSections& level,
                                             const CLevelValidation& options)
{
    constexpr ELevelProblem kRefused = ELevelProblem::refused;
    constexpr ELevelProblem kOpens = ELevelProblem::opens;
    CProblems p(options);
    const std::size_t nMaterials = level.m_materials.size();
    const std::size_t nAdjoins = level.m_adjoins.size();
    const std::size_t nSurfaces = level.m_surfaces.size();
    const std::size_t nSectors = level.m_sectors.size();
    const std::size_t nVertices = level.m_worldVertices.size();

    if (level.m_useCounts.size() != nVertices)
        p.Add(kRefused, "use counts: " + std::to_string(level.m_useCounts.size()) +
                            " entries for " + std::to_string(nVertices) + " world vertices");

    std::vector<std::int32_t> uses(options.checkUseCounts ? nVertices : 0, 0);
    const bool surfaceChecks = p.Wants(kOpens) || options.checkCorners || options.checkUseCounts;
    for (std::size_t s = 0; s < nSurfaces && !p.Full() && surfaceChecks; ++s) {
        const CQzlSurface& surface = *level.m_surfaces[s];
        p.Index(kOpens, "surface", s, "material", surface.m_material, nMaterials);
        p.Index(kOpens, "surface", s, "adjoin", surface.m_adjoin, nAdjoins);
        for (const CQzlVertex& corner : surface.m_vertices) {
            if (options.checkCorners)
                p.Index(kRefused, "surface", s, "world vertex", corner.m_worldVertex, nVertices,
                        false);
            if (options.checkUseCounts && corner.m_worldVertex >= 0 &&
                static_cast<std::size_t>(corner.m_worldVertex) < nVertices)
                ++uses[static_cast<std::size_t>(corner.m_worldVertex)];
        }
    }

    // Every adjoin problem is one a level opens with.
    for (std::size_t a = 0; a < nAdjoins && !p.Full() && p.Wants(kOpens); ++a) {
        const std::int32_t m = level.m_adjoins[a]->m_mirror;
        p.Index(kOpens, "adjoin", a, "mirror", m, nAdjoins);
        if (m >= 0 && static_cast<std::size_t>(m) < nAdjoins &&
            level.m_adjoins[static_cast<std::size_t>(m)]->m_mirror != static_cast<std::int32_t>(a))
            p.Add(kOpens,
                  CProblems::Where("adjoin", a) + ": its mirror " + std::to_string(m) +
                      " points to " +
                      std::to_string(level.m_adjoins[static_cast<std::size_t>(m)]->m_mirror) +
                      " instead of back");
    }

    for (std::size_t s = 0; s < nSectors && !p.Full(); ++s) {
        const CQzlSector& sector = *level.m_sectors[s];
        p.Index(kOpens, "sector", s, "colormap", sector.m_colormap, level.m_colormaps.size());
        p.Index(kOpens, "sector", s, "sound", sector.m_sound, level.m_sounds.size());
        for (std::int32_t f : sector.m_surfaces)
            p.Index(kRefused, "sector", s, "surface", f, nSurfaces, false);
    }

    for (std::size_t t = 0; t < level.m_things.size() && !p.Full() && p.Wants(kOpens); ++t)
        p.Index(kOpens, "thing", t, "sector", level.m_things[t]->m_sector, nSectors);

    if (options.checkUseCounts && level.m_useCounts.size() == nVertices) {
        for (std::size_t v = 0; v < nVertices && !p.Full(); ++v)
            if (level.m_useCounts[v] != uses[v])
                p.Add(kRefused, "world vertex " + std::to_string(v) + ": use count " +
                                    std::to_string(level.m_useCounts[v]) + ", but " +
                                    std::to_string(uses[v]) + " corners use it");
    }
    return p.Take();
}

std::vector<std::string> ValidateLevel(const CQzlSections& level, const CLevelValidation& options)
{
    std::vector<std::string> texts;
    for (CLevelProblem& problem : FindLevelProblems(level, options))
        texts.push_back(std::move(problem.m_text));
    return texts;
}

std::string LevelRefusal(const CQzlSections& level, bool cornersValid)
{
    const std::vector<CLevelProblem> problems =
        FindLevelProblems(level, {.checkUseCounts = false,
                                  .maxProblems = 1,
                                  .refusedOnly = true,
                                  .checkCorners = !cornersValid});
    if (problems.empty())
        return {};
    return "The level is damaged: " + problems.front().m_text + ".";
}
