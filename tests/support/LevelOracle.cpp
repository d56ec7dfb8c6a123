#include "support/LevelOracle.h"

#include "SyntheticGame.h"
#include "engine/3doModel.h"
#include "episode/LevelChecker.h"
#include "level/LevelValidator.h"
#include "level/QzlSections.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <numeric>
#include <span>
#include <utility>

namespace {

constexpr double kSamePoint = 1e-4;   // corners closer than this are one point
constexpr double kOnPlane = 1e-4;     // flatness, convexity and points on edges
constexpr double kThingSlack = 1e-3;  // things may stand this far outside a face
constexpr double kNormalAgree = 0.999;
constexpr std::size_t kMaxPerRule = 20;

struct CPoint {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

CPoint operator-(const CPoint& a, const CPoint& b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

double Dot(const CPoint& a, const CPoint& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

double Length(const CPoint& a)
{
    return std::sqrt(Dot(a, a));
}

std::string Text(const CPoint& p)
{
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "(%g, %g, %g)", p.x, p.y, p.z);
    return buffer;
}

// The findings of a level under construction that are no fault of it (see the header).
constexpr std::string_view kExempt[] = {
    "Sector %d is not connected to other sectors",
};

// Whether line is the format with its one %d replaced by a number.
bool MatchesFormat(std::string_view line, std::string_view format)
{
    const std::size_t at = format.find("%d");
    if (at == std::string_view::npos)
        return line == format;
    const std::string_view head = format.substr(0, at);
    const std::string_view tail = format.substr(at + 2);
    if (line.size() <= head.size() + tail.size() || !line.starts_with(head) ||
        !line.ends_with(tail))
        return false;
    std::string_view number = line.substr(head.size(), line.size() - head.size() - tail.size());
    if (number.starts_with('-'))
        number.remove_prefix(1);
    return !number.empty() &&
           std::ranges::all_of(number, [](char c) { return c >= '0' && c <= '9'; });
}

// The synthetic game, made once for the whole test program.
const CGameResources& CheckerGame()
{
    static const std::unique_ptr<CSyntheticGame> game = MakeSyntheticGame(0);
    return game->m_resources;
}

template <class T>
std::size_t Index(T i)
{
    return static_cast<std::size_t>(i);
}

class COracle {
public:
    COracle(const CQzlSections& level, std::initializer_list<std::string_view> accepted)
        : m_level(level), m_accepted(accepted)
    {}

    std::vector<COracleProblem> Run()
    {
        if (!CheckValidator())
            return std::move(m_problems);
        MergePoints();
        CheckListing();
        CheckAdjoins();
        CheckCorners();
        for (std::size_t s = 0; s < m_level.m_sectors.size(); ++s)
            CheckSector(s);
        CheckThings();
        CheckWithChecker();
        return std::move(m_problems);
    }

private:
    void Add(EOracleRule rule, std::string text)
    {
        std::size_t& count = m_counts[rule];
        if (count++ < kMaxPerRule)
            m_problems.push_back({rule, std::move(text)});
    }

    // The validator's index and mirror checks; its use-count lines go to their own rule. False
    // when an index is out of range: the other rules would read outside the lists.
    bool CheckValidator()
    {
        bool indicesGood = true;
        for (std::string& line :
             ValidateLevel(m_level, {.checkUseCounts = true, .maxProblems = 100})) {
            const bool counts =
                line.starts_with("use counts:") || (line.starts_with("world vertex ") &&
                                                    line.find(": use count ") != std::string::npos);
            indicesGood = indicesGood && counts;
            Add(counts ? EOracleRule::UseCounts : EOracleRule::Validator, std::move(line));
        }
        return indicesGood;
    }

    CPoint Position(std::int32_t worldVertex) const
    {
        const CWorldVertex& v = m_level.m_worldVertices[Index(worldVertex)];
        return {v.x, v.y, v.z};
    }

    // m_point[v]: the lowest world vertex at the position of v.
    void MergePoints()
    {
        const std::size_t n = m_level.m_worldVertices.size();
        m_point.resize(n);
        std::iota(m_point.begin(), m_point.end(), 0);
        std::vector<std::int32_t> byX(n);
        std::iota(byX.begin(), byX.end(), 0);
        std::sort(byX.begin(), byX.end(),
                  [this](std::int32_t a, std::int32_t b) { return Position(a).x < Position(b).x; });
        for (std::size_t i = 0; i < n; ++i) {
            const CPoint p = Position(byX[i]);
            for (std::size_t j = i + 1; j < n && Position(byX[j]).x - p.x < kSamePoint; ++j) {
                if (Length(Position(byX[j]) - p) >= kSamePoint)
                    continue;
                const std::int32_t low = std::min(m_point[Index(byX[i])], m_point[Index(byX[j])]);
                m_point[Index(byX[i])] = m_point[Index(byX[j])] = low;
            }
        }
        // Chains of near points settle on their lowest index.
        for (std::size_t v = 0; v < n; ++v)
            while (m_point[v] != m_point[Index(m_point[v])])
                m_point[v] = m_point[Index(m_point[v])];
    }

    void CheckListing()
    {
        std::vector<int> listed(m_level.m_surfaces.size(), 0);
        for (const auto& sector : m_level.m_sectors)
            for (const std::int32_t f : sector->m_surfaces)
                ++listed[Index(f)];
        for (std::size_t f = 0; f < listed.size(); ++f)
            if (listed[f] != 1)
                Add(EOracleRule::SurfaceListed, "surface " + std::to_string(f) + " is listed " +
                                                    std::to_string(listed[f]) +
                                                    " times by the sectors, not once");
    }

    void CheckAdjoins()
    {
        const std::size_t n = m_level.m_adjoins.size();
        std::vector<int> owners(n, 0);
        for (const auto& surface : m_level.m_surfaces)
            if (surface->m_adjoin >= 0)
                ++owners[Index(surface->m_adjoin)];
        for (std::size_t a = 0; a < n; ++a) {
            const std::string where = "adjoin " + std::to_string(a);
            if (owners[a] != 1)
                Add(EOracleRule::AdjoinOwned,
                    where + " is owned by " + std::to_string(owners[a]) + " surfaces, not one");
            const std::int32_t mirror = m_level.m_adjoins[a]->m_mirror;
            if (mirror < 0 || Index(mirror) == a)
                Add(EOracleRule::AdjoinOwned,
                    where + " has mirror " + std::to_string(mirror) + ": no other adjoin");
        }
    }

    void CheckCorners()
    {
        for (std::size_t f = 0; f < m_level.m_surfaces.size(); ++f) {
            const auto& corners = m_level.m_surfaces[f]->m_vertices;
            const std::string where = "surface " + std::to_string(f);
            if (corners.size() < 3)
                Add(EOracleRule::Corners, where + " has " + std::to_string(corners.size()) +
                                              " corners, not three or more");
            for (std::size_t i = 0; i < corners.size(); ++i) {
                const std::int32_t a = m_point[Index(corners[i].m_worldVertex)];
                const std::int32_t b =
                    m_point[Index(corners[(i + 1) % corners.size()].m_worldVertex)];
                if (a == b && corners.size() > 1)
                    Add(EOracleRule::Corners, where + ": corners " + std::to_string(i) + " and " +
                                                  std::to_string((i + 1) % corners.size()) +
                                                  " are one point");
            }
        }
    }

    // The unit normal of the surface's winding (Newell) and the mean of its corners; false for a
    // surface without area.
    bool Plane(const CQzlSurface& surface, CPoint& normal, CPoint& middle) const
    {
        const auto& corners = surface.m_vertices;
        CPoint sum;
        normal = {};
        for (std::size_t i = 0; i < corners.size(); ++i) {
            const CPoint p = Position(corners[i].m_worldVertex);
            const CPoint q = Position(corners[(i + 1) % corners.size()].m_worldVertex);
            normal.x += (q.y - p.y) * (p.z + q.z);
            normal.y += (q.z - p.z) * (p.x + q.x);
            normal.z += (q.x - p.x) * (p.y + q.y);
            sum = {sum.x + p.x, sum.y + p.y, sum.z + p.z};
        }
        const double length = Length(normal);
        if (corners.empty() || length < 1e-12)
            return false;
        normal = {normal.x / length, normal.y / length, normal.z / length};
        const double n = static_cast<double>(corners.size());
        middle = {sum.x / n, sum.y / n, sum.z / n};
        return true;
    }

    void CheckSector(std::size_t s)
    {
        const CQzlSector& sector = *m_level.m_sectors[s];
        const std::string where = "sector " + std::to_string(s);
        if (sector.m_surfaces.empty()) {
            Add(EOracleRule::Closed, where + " has no surfaces");
            return;
        }
        // The sector's corners, one per point.
        std::vector<std::int32_t> points;
        for (const std::int32_t f : sector.m_surfaces)
            for (const CQzlVertex& corner : m_level.m_surfaces[Index(f)]->m_vertices)
                points.push_back(m_point[Index(corner.m_worldVertex)]);
        std::sort(points.begin(), points.end());
        points.erase(std::unique(points.begin(), points.end()), points.end());
        CPoint centre;
        for (const std::int32_t v : points) {
            const CPoint p = Position(v);
            centre = {centre.x + p.x, centre.y + p.y, centre.z + p.z};
        }
        const double count = static_cast<double>(points.size());
        centre = {centre.x / count, centre.y / count, centre.z / count};

        CheckClosed(sector, points, where);
        for (const std::int32_t f : sector.m_surfaces)
            CheckFace(f, points, centre, where);
    }

    // Every edge, cut at the sector's points on it, once each way.
    void CheckClosed(const CQzlSector& sector, const std::vector<std::int32_t>& points,
                     const std::string& where)
    {
        std::map<std::pair<std::int32_t, std::int32_t>, int> uses;
        for (const std::int32_t f : sector.m_surfaces) {
            const auto& corners = m_level.m_surfaces[Index(f)]->m_vertices;
            for (std::size_t i = 0; i < corners.size(); ++i) {
                const std::int32_t a = m_point[Index(corners[i].m_worldVertex)];
                const std::int32_t b =
                    m_point[Index(corners[(i + 1) % corners.size()].m_worldVertex)];
                if (a == b)
                    continue;
                const CPoint pa = Position(a);
                const CPoint ab = Position(b) - pa;
                const double length2 = Dot(ab, ab);
                std::vector<std::pair<double, std::int32_t>> cuts;
                for (const std::int32_t c : points) {
                    if (c == a || c == b)
                        continue;
                    const CPoint ac = Position(c) - pa;
                    const double t = Dot(ac, ab) / length2;
                    const CPoint off{ac.x - ab.x * t, ac.y - ab.y * t, ac.z - ab.z * t};
                    if (t > 0.0 && t < 1.0 && Length(off) < kOnPlane)
                        cuts.emplace_back(t, c);
                }
                std::sort(cuts.begin(), cuts.end());
                std::int32_t from = a;
                for (const auto& cut : cuts) {
                    ++uses[{from, cut.second}];
                    from = cut.second;
                }
                ++uses[{from, b}];
            }
        }
        for (const auto& [edge, forward] : uses) {
            const auto back = uses.find({edge.second, edge.first});
            const int backward = back == uses.end() ? 0 : back->second;
            // Each pair once, from its lower end.
            if ((forward != 1 || backward != 1) && (edge.first < edge.second || backward == 0))
                Add(EOracleRule::Closed,
                    where + " is not closed: the edge " + Text(Position(edge.first)) + " - " +
                        Text(Position(edge.second)) + " is used " + std::to_string(forward) +
                        " times this way and " + std::to_string(backward) + " times back");
        }
    }

    void CheckFace(std::int32_t f, const std::vector<std::int32_t>& points, const CPoint& centre,
                   const std::string& where)
    {
        const CQzlSurface& surface = *m_level.m_surfaces[Index(f)];
        const std::string face = "surface " + std::to_string(f);
        CPoint normal;
        CPoint middle;
        if (!Plane(surface, normal, middle)) {
            Add(EOracleRule::Normal, face + " of " + where + " has no area");
            return;
        }
        const CPoint stored{surface.m_normal.x, surface.m_normal.y, surface.m_normal.z};
        if (Dot(stored, normal) < kNormalAgree || std::fabs(Length(stored) - 1.0) > 1e-3)
            Add(EOracleRule::Normal, face + ": its normal " + Text(stored) +
                                         " is not the normal of its corners " + Text(normal));
        if (Dot(normal, centre - middle) <= kOnPlane)
            Add(EOracleRule::Normal, face + " faces out of " + where);

        for (const CQzlVertex& corner : surface.m_vertices) {
            const double d = Dot(normal, Position(corner.m_worldVertex) - middle);
            if (std::fabs(d) > kOnPlane) {
                Add(EOracleRule::Convex,
                    face + " is not flat: a corner lies " + std::to_string(d) + " off its plane");
                break;
            }
        }
        bool front = false;
        bool back = false;
        for (const std::int32_t v : points) {
            const double d = Dot(normal, Position(v) - middle);
            front = front || d > kOnPlane;
            back = back || d < -kOnPlane;
        }
        if (front && back)
            Add(EOracleRule::Convex,
                where + " is not convex: its corners lie on both sides of " + face);
    }

    void CheckThings()
    {
        for (std::size_t t = 0; t < m_level.m_things.size(); ++t) {
            const CQzlThing& thing = *m_level.m_things[t];
            const std::string where = "thing " + std::to_string(t);
            if (thing.m_sector < 0) {
                Add(EOracleRule::ThingInside, where + " is in no sector");
                continue;
            }
            const CPoint p{thing.m_position.x, thing.m_position.y, thing.m_position.z};
            for (const std::int32_t f : m_level.m_sectors[Index(thing.m_sector)]->m_surfaces) {
                CPoint normal;
                CPoint middle;
                if (Plane(*m_level.m_surfaces[Index(f)], normal, middle) &&
                    Dot(normal, p - middle) < -kThingSlack) {
                    Add(EOracleRule::ThingInside, where + " at " + Text(p) +
                                                      " lies outside sector " +
                                                      std::to_string(thing.m_sector) +
                                                      ", beyond surface " + std::to_string(f));
                    break;
                }
            }
        }
    }

    // The level checker's report, line by line, less the exempt and the accepted findings.
    void CheckWithChecker()
    {
        CLevelChecker checker;
        std::string text;
        checker.CheckLevel(m_level, CheckerGame(), std::span<const std::unique_ptr<C3doModel>>{},
                           text);
        if (text == "None")
            return;
        std::size_t begin = 0;
        while (begin < text.size()) {
            std::size_t end = text.find('\n', begin);
            if (end == std::string::npos)
                end = text.size();
            const std::string_view line = std::string_view(text).substr(begin, end - begin);
            begin = end + 1;
            const bool exempt = std::ranges::any_of(
                kExempt, [&](std::string_view f) { return MatchesFormat(line, f); });
            const bool accepted =
                std::ranges::any_of(m_accepted, [&](std::string_view a) { return line == a; });
            if (!line.empty() && !exempt && !accepted)
                Add(EOracleRule::Checker, std::string(line));
        }
    }

    const CQzlSections& m_level;
    std::initializer_list<std::string_view> m_accepted;
    std::vector<std::int32_t> m_point;
    std::vector<COracleProblem> m_problems;
    std::map<EOracleRule, std::size_t> m_counts;
};

}  // namespace

const char* OracleRuleName(EOracleRule rule)
{
    switch (rule) {
    case EOracleRule::Validator:
        return "validator";
    case EOracleRule::SurfaceListed:
        return "surface listed";
    case EOracleRule::AdjoinOwned:
        return "adjoin owned";
    case EOracleRule::Corners:
        return "corners";
    case EOracleRule::Closed:
        return "closed";
    case EOracleRule::Convex:
        return "convex";
    case EOracleRule::Normal:
        return "normal";
    case EOracleRule::ThingInside:
        return "thing inside";
    case EOracleRule::UseCounts:
        return "use counts";
    case EOracleRule::Checker:
        return "checker";
    }
    return "?";
}

std::vector<COracleProblem> CheckLevelOracle(const CQzlSections& level)
{
    return COracle(level, {}).Run();
}

std::vector<COracleProblem> CheckLevelOracle(const CQzlSections& level,
                                             std::initializer_list<std::string_view> accepted)
{
    return COracle(level, accepted).Run();
}

::testing::AssertionResult LevelIsSound(const CQzlSections& level)
{
    return LevelIsSound(level, {});
}

::testing::AssertionResult LevelIsSound(const CQzlSections& level,
                                        std::initializer_list<std::string_view> accepted)
{
    const std::vector<COracleProblem> problems = CheckLevelOracle(level, accepted);
    if (problems.empty())
        return ::testing::AssertionSuccess();
    ::testing::AssertionResult result = ::testing::AssertionFailure();
    result << "the level oracle found " << problems.size() << " problem(s):";
    for (const COracleProblem& problem : problems)
        result << "\n  " << OracleRuleName(problem.rule) << ": " << problem.text;
    return result;
}
