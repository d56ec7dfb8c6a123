#pragma once
// A uniform grid over the sectors' bounding boxes, for the searches that ask every sector whether
// it holds a point (the checker's overlap probe and thing placement, Clean Up's thing placement):
// only the sectors listed for the point's cell can hold it, since a sector holds only points
// inside its bounding box (PointInSector). The boxes are those at construction; a grid is made
// for one pass over a level that does not move its sectors meanwhile.

#include "math/Vector3.h"

#include <cstdint>
#include <vector>

class CQzlSections;

class CSectorGrid {
public:
    explicit CSectorGrid(const CQzlSections& level);

    // Every sector whose bounding box may hold p, in ascending index order (a superset of those
    // PointInBox accepts). out is replaced.
    void Candidates(const CVector3& p, std::vector<std::int32_t>& out) const;

private:
    bool CellOf(const CVector3& p, std::int64_t& cell) const;

    // Computed in double, by one formula for the boxes and the points.
    double m_origin[3] = {0, 0, 0};
    double m_cellSize[3] = {1, 1, 1};
    std::int64_t m_cells[3] = {0, 0, 0};
    // Sectors of each cell, ascending: m_items[m_start[c]] to m_items[m_start[c + 1]].
    std::vector<std::int32_t> m_start;
    std::vector<std::int32_t> m_items;
    // Sectors whose box is not finite or spans many cells, ascending: asked for every point.
    std::vector<std::int32_t> m_everywhere;
};
