#pragma once
// Which surfaces of a sector touch a surface along an edge: the Merge dialog lists them as the
// surfaces the current one can be merged with.

#include <cstdint>
#include <vector>

class CQzlSections;

// Empties contacts, then, for each edge A-B of surface (corner i to i+1, closing edge included)
// in order, appends the first other surface of sector's surface list that has an edge C-D
// running the other way along it (its corners walked backwards, C = corner j, D = corner j-1):
// - exact: C within 0.002 of A, D within 0.002 of B, and its normal within 0.01 of surface's
//   (length of the difference);
// - not exact: C-D lies on the line of A-B, running the same way, with both ends' parameters
//   along A-B strictly between -0.0002 and 1.0002, or A-B lies so on C-D.
// Surfaces with an adjoin are passed over unless includeAdjoined. A surface that meets two edges
// is listed twice. Indices out of range give an empty list.
void CollectEdgeContacts(const CQzlSections& level, int sector, int surface,
                         std::vector<std::int32_t>& contacts, bool exact, bool includeAdjoined);
