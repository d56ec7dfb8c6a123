#pragma once
// The last look a builder takes at what it made before it keeps it: the sectors it touched must
// each still be a closed convex room of flat surfaces. Some shapes (a wall meeting its neighbours
// at an angle, a surface shared with the sector behind a portal) would take a builder's cuts to a
// shape the engine cannot show or walk; the builder then takes its work back and refuses.

#include <cstdint>
#include <vector>

class CQzlSections;
class CQzlSector;

// The sectors given and every sector one of their surfaces adjoins, once each, in ascending
// order (indices out of range are dropped).
[[nodiscard]] std::vector<std::int32_t>
SectorsAndNeighbours(const CQzlSections& level, const std::vector<std::int32_t>& sectors);

// What a builder answers for: taken before it starts on sector, it notes which of sector and the
// sectors it adjoins are not sound already (a hand-built room slightly out of true). Afterwards
// Holds checks the sectors given (SectorsAndNeighbours of what the build made) but those records,
// and nothing at all when sector itself was not sound: a build is not refused for a fault it
// found.
class CSoundnessCheck {
public:
    CSoundnessCheck(const CQzlSections& level, std::int32_t sector);
    [[nodiscard]] bool Holds(const CQzlSections& level,
                             const std::vector<std::int32_t>& sectors) const;

private:
    bool m_startSound = true;
    std::vector<const CQzlSector*> m_unsound;
};
