// The dialogs' checks before a door or elevator is built: the outline must lie in the current
// surface (a corner on an edge counts as in), and a door joined to the room behind needs one
// surface there that every corner of the opening meets first, whatever the number of corners of
// the current surface and whatever lies further back.

#include "tools/DoorElevatorFit.h"

#include "edit/SurfaceCorners.h"
#include "level/QzlSections.h"
#include "support/FixtureLevels.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

const CVector3 kNormal{0, 0, 1};  // the wall z = 0 of a room from (0, 0, 0) to (4, 3, 4)
const CVector3 kUp{0, 1, 0};

TEST(DoorElevatorFit, OutlinesMustLieInTheCurrentSurface)
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {4, 3, 4});
    FinishFixture(level);
    const int wall = BoxSurface(level, 0, kBoxZLow);
    const struct {
        const char* name;
        std::array<CVector3, 4> outline;
        bool fits;
    } cases[] = {
        {"door inside", DoorOutline({2, 0, 0}, kNormal, kUp, 1, 2), true},
        {"door corner on the edge x = 0", DoorOutline({0.5f, 0, 0}, kNormal, kUp, 1, 2), true},
        {"door too high", DoorOutline({2, 0, 0}, kNormal, kUp, 1, 3.5f), false},
        {"door too wide", DoorOutline({2, 0, 0}, kNormal, kUp, 4.2f, 1), false},
        {"elevator inside", ElevatorFootprint({2, 1.5f, 0}, kNormal, kUp, 2, 2), true},
        {"elevator below the floor", ElevatorFootprint({2, 0.5f, 0}, kNormal, kUp, 2, 2), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(OutlineFitsSurface(level, wall, c.outline), c.fits);
    }
    // The door rises from the middle of its lower edge; the elevator is centred.
    EXPECT_EQ(DoorOutline({2, 0, 0}, kNormal, kUp, 1, 2)[2], (CVector3{1.5f, 2, 0}));
    EXPECT_EQ(ElevatorFootprint({2, 1, 0}, kNormal, kUp, 2, 1)[0], (CVector3{3, 0.5f, 0}));
}

TEST(DoorElevatorFit, AJoinedDoorNeedsOneSurfaceBehindEveryCorner)
{
    enum class EBehind {
        Nothing,
        OneRoom,
        TwoRooms,
        TwoRoomsInLine,
        OneRoomFiveCornerWall
    };
    const struct {
        const char* name;
        EBehind behind;
        bool unique;
    } cases[] = {
        {"nothing behind", EBehind::Nothing, false},
        {"one room", EBehind::OneRoom, true},
        {"two rooms, the opening across both", EBehind::TwoRooms, false},
        // The segments go on through the first room into the second: the first room's wall is
        // still the one surface behind the door.
        {"one room behind another", EBehind::TwoRoomsInLine, true},
        {"one room, the wall with five corners", EBehind::OneRoomFiveCornerWall, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CQzlSections level = MakeEmptyLevel();
        AddBoxSector(level, {0, 0, 0}, {4, 3, 4});
        if (c.behind == EBehind::TwoRooms) {
            AddBoxSector(level, {0, 0, -4}, {2, 3, -1});
            AddBoxSector(level, {2, 0, -4}, {4, 3, -1});
        } else if (c.behind == EBehind::TwoRoomsInLine) {
            AddBoxSector(level, {0, 0, -9}, {4, 3, -5});
            AddBoxSector(level, {0, 0, -4}, {4, 3, -1});
        } else if (c.behind != EBehind::Nothing) {
            AddBoxSector(level, {0, 0, -4}, {4, 3, -1});
        }
        const int wall = BoxSurface(level, 0, kBoxZLow);
        if (c.behind == EBehind::OneRoomFiveCornerWall) {
            CQzlVertex corner;
            corner.m_worldVertex = level.AddVertexXYZ(4, 1.5f, 0);
            CQzlSurface& surface = *level.m_surfaces[static_cast<std::size_t>(wall)];
            ASSERT_TRUE(InsertVertexCopy(level, surface, corner));
            ASSERT_EQ(surface.m_vertices.size(), 5u);
        }
        FinishFixture(level);
        EXPECT_EQ(HasUniqueOppositeSurface(level, wall, DoorOutline({2, 0, 0}, kNormal, kUp, 1, 2)),
                  c.unique);
    }
}

}  // namespace
