#pragma once
// The steps the door and elevator builders share: the axes they take from the current surface
// and the two picked grid nodes, their extrusions, the thing they place with its two frames and
// the listing of the cog scripts they add.

#include "math/Vector3.h"
#include "tools/Extrude.h"

#include <optional>
#include <string>
#include <string_view>

class C3dView;
class CQzlSections;

struct CBuilderAxes {
    CVector3 g0, g1;  // grid nodes 0 and 1
    CVector3 n;       // the current surface's normal
    CVector3 d;       // unit, from g0 to g1
};

// The axes of the current surface and the first two grid nodes; none without a current surface
// or with fewer than two grid nodes apart.
[[nodiscard]] std::optional<CBuilderAxes> BuilderAxes(const C3dView& view);

// Extrudes the current surface by depth with the builders' values (no angles, no indent, every
// corner, the parallelogram shape).
bool ExtrudeBy(C3dView& view, float depth, EExtrudeType type);

// Appends a thing of templateName (also its name) in sector at start, turned by
// FitThingOrientation to facing and up, with the frames start and end (each holding the
// orientation angles third, first, second); it becomes the current thing, the level's resource
// lists are rebuilt and, when the game's archive is open, its model is made with the level's
// first colour map. Returns its index.
int AddFramedThing(C3dView& view, const std::string& templateName, int sector,
                   const CVector3& start, const CVector3& end, const CVector3& facing,
                   const CVector3& up);

// Appends script to the level's cog-script names unless it is there in any letter case.
void AddCogScriptName(CQzlSections& level, std::string_view script);
