#pragma once
// Create Light: paints light into the corners of surfaces. In flat mode one colour goes onto the
// corners of the current sector (or of the current surface, or the current corner alone); in
// distance mode the current corner, surface or sector is a point light whose colour blends from
// the start colour at the light to the end colour at the given distance over the corners of the
// sectors the current sector sees. Corners farther away keep their intensities.

#include "math/Vector3.h"

#include <array>
#include <cstdint>
#include <string>

class C3dView;

// The four intensities of a colour 0x00BBGGRR: (blue, red, green, blue), each byte / 255.0.
// Entry 0 is what the base game draws with, entries 1 to 3 red, green and blue of the expansion.
[[nodiscard]] std::array<float, 4> LightIntensities(std::uint32_t color);

// Where the light stands: the current sector's centre; the middle of the box of the surface of
// the current corner when one is set; the world position of the current corner when one is set.
// Indices out of range count as none; the origin without a current sector.
[[nodiscard]] CVector3 LightPosition(const C3dView& view);

// The distances the dialog accepts, both ends included (compared as floats).
inline constexpr double kLightDistanceLow = 0.01;
inline constexpr double kLightDistanceHigh = 10.0;
[[nodiscard]] bool LightDistanceInRange(float distance);
// The framework's range message for them: "Please enter a number between 0.01 and 10.".
[[nodiscard]] std::string LightDistanceRangeText();

// What the Create Light dialog hands over.
struct CLightParams {
    std::uint32_t m_startColor = 0x000000;  // 0x00BBGGRR
    std::uint32_t m_endColor = 0xFFFFFF;
    float m_distance = 0.5f;  // where the end colour is reached (distance mode)
    bool m_distanceDependent = false;
};

// Writes the light into the level (see above) and recolours every sector that took any of it,
// the current sector always, marks the document modified and updates all views. The surface of the
// current corner and the current corner are read from the selection (m_vertexSurface, m_vertex):
// picking a surface sets the first alone. In distance mode the sectors are visited in index order;
// a sector not in the current sector's visible list is left alone, and so is the current sector
// itself when only the sector is current (a light at its centre does not light it); the current
// corner keeps its own intensities, and with only a surface current that surface keeps its own.
// False, with nothing changed or redrawn, without a current sector, with a distance that is not
// above 0 in distance mode, and when no corner's intensities changed.
bool ApplyLight(C3dView& view, const CLightParams& params);

// The dialog's Apply: ApplyLight as one undo step that marks the document modified; an Apply
// that changed nothing leaves no undo step and the modified flag as it was.
bool RunCreateLightCommand(C3dView& view, const CLightParams& params);
