#pragma once
// Change Texture Coordinates: lays the texture of the current surface from a start corner,
// offsets, scales, an angle and a mirror switch (the surface's texture-mapping parameters), and
// the steps of the dialog's spin controls.

class C3dView;
class CQzlSurface;

// The seven texture-mapping values of a surface.
struct CTextureMapping {
    int m_startVertex = 0;
    float m_uOffset = 0.0f;
    float m_vOffset = 0.0f;
    float m_uScale = 320.0f;
    float m_vScale = 320.0f;
    float m_angle = 0.0f;  // degrees
    int m_mirror = 0;
};

// The limits of the spin controls: offsets and scales 0 to 1000, the angle 0 to 360.
inline constexpr float kTextureMappingHighest = 1000.0f;
inline constexpr float kTextureAngleHighest = 360.0f;

// The rule of the command: a surface is current.
[[nodiscard]] bool CanChangeTextureCoordinates(const C3dView& view);

// The values surface stores.
[[nodiscard]] CTextureMapping StoredTextureMapping(const CQzlSurface& surface);

// The current surface of view (its stored values and its corner count); false without one.
bool CurrentTextureMapping(const C3dView& view, CTextureMapping& mapping, int& corners);

// Apply: the corners of the current surface get the texture coordinates of mapping and the
// surface's lit vertices are refilled (a frame is asked for, the document marked modified); its
// stored values stay. False, changing nothing, without a current surface or when the start
// corner is no corner of it.
bool ApplyTextureMapping(C3dView& view, const CTextureMapping& mapping);

// OK: the current surface stores mapping, its corners get their coordinates and the current
// sector is rebuilt. False, changing nothing, as ApplyTextureMapping.
bool StoreTextureMapping(C3dView& view, const CTextureMapping& mapping);

// One click of a spin whose control sends delta: the value goes down by delta. The start corner
// wraps (below 0 to corners - 1, corners or more to 0), the angle wraps into 0..360, the offsets
// and scales stop at 0 and kTextureMappingHighest.
[[nodiscard]] int StepStartVertex(int value, int delta, int corners);
[[nodiscard]] float StepTextureAngle(float value, int delta);
[[nodiscard]] float StepTextureValue(float value, int delta);
