#pragma once
// The decisions of the Extrude Surface dialog, kept apart from its widgets: which controls are
// enabled for a type, a first-vertex choice and the picked grid nodes, the ranges of its fields
// and the values it hands to ExtrudeSurface.

#include "tools/Extrude.h"

#include <optional>
#include <string>
#include <string_view>

// The text of the first vertex list's first entry.
inline constexpr std::string_view kAllVerticesText = "All Vertices";
inline constexpr std::string_view kDifferentVerticesText =
    "You must select three different vertices.";

// Which controls are enabled.
struct CExtrudeEnables {
    bool depth = true;            // the first depth
    bool connectOpposite = true;  // the "Connect to Opposite Surface" button
    bool angles = true;           // both angle edits
    bool shapes = true;           // both shape buttons
    bool indent = true;
    bool moreDepths = true;  // the second and third depth edits and vertex lists
    bool firstVertex = true;

    friend bool operator==(const CExtrudeEnables&, const CExtrudeEnables&) = default;
};

// The enables for type, with allVertices when the first vertex list shows "All Vertices" and
// twoNodes when exactly two grid nodes were picked as the dialog opened:
// - the depth unless the type is Connect to Opposite Surface;
// - Connect to Opposite Surface with two nodes;
// - the angles with two nodes for every type but Keep with Sector;
// - the shapes with two nodes for New Sector and New Sector (Hidden);
// - the indent with "All Vertices" for New Sector and New Sector (Hidden);
// - the second and third rows with a single first vertex for New Sector and New Sector (Hidden);
// - the first vertex list without two nodes.
[[nodiscard]] CExtrudeEnables ExtrudeDialogEnables(EExtrudeType type, bool allVertices,
                                                   bool twoNodes);

// A field's range, both ends included.
struct CExtrudeRange {
    float low;
    float high;
};
inline constexpr CExtrudeRange kExtrudeDepthRange{0.01f, 100.0f};  // all three depths
inline constexpr CExtrudeRange kExtrudeAngleRange{-45.0f, 45.0f};
inline constexpr CExtrudeRange kExtrudeIndentRange{-1.0f, 1.0f};

// The range message of a field: "Please enter a number between 0.01 and 100.".
[[nodiscard]] std::string ExtrudeRangeText(const CExtrudeRange& range);

// The value of a field's text when it is a number within range; nothing otherwise.
[[nodiscard]] std::optional<float> ReadExtrudeField(std::string_view text,
                                                    const CExtrudeRange& range);

// The dialog's values as they stand at OK: the three list selections as the lists give them (the
// first list's entry 0 is "All Vertices").
struct CExtrudeDialogValues {
    float depth = 1.0f;
    float leftRightAngle = 0.0f;
    float upDownAngle = 0.0f;
    float indent = 0.0f;
    float depth2 = 1.0f;
    float depth3 = 1.0f;
    EExtrudeType type = EExtrudeType::NewSector;
    int shape = 0;
    int firstSelection = 0;
    int secondSelection = 0;
    int thirdSelection = 0;
};

// What ExtrudeSurface is given: vertex 1 is the first selection minus 1 (-1 for "All
// Vertices"), vertices 2 and 3 the other two selections; both indent switches set.
[[nodiscard]] CExtrudeParams ExtrudeParamsFromDialog(const CExtrudeDialogValues& values);

// False when a single first vertex is chosen and two of the three vertices are the same.
[[nodiscard]] bool ExtrudeVerticesDiffer(const CExtrudeParams& params);
