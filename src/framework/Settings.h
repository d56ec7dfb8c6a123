#pragma once
// The "Preferences" settings of the application: a plain struct with their defaults, and a table
// naming every setting by its stored value name, in the order the application loads them at
// start-up, so that a settings store can load and save them generically.
//
// Types: int = 32-bit signed integer; float = 32-bit float (stored as text, written with "%f",
// read with atof); colour = COLORREF 0x00BBGGRR (stored as an integer).

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

struct CSettings;

enum class ESettingKind {
    Int,
    Float,
    Color
};

// One row of the settings table. Exactly one member pointer is set, the one of `kind`.
struct CSettingInfo {
    std::string_view name;  // stored value name, e.g. "Horizon Distance"
    ESettingKind kind;
    std::int32_t CSettings::*intMember = nullptr;     // kind Int
    float CSettings::*floatMember = nullptr;          // kind Float
    std::uint32_t CSettings::*colorMember = nullptr;  // kind Color
};

inline constexpr std::size_t kSettingCount = 59;

struct CSettings {
    // Main window rectangle in screen coordinates, normal state; "Right"/"Bottom" 0 = none saved.
    std::int32_t m_left = 0;                       // "Left"
    std::int32_t m_top = 0;                        // "Top"
    std::int32_t m_right = 0;                      // "Right"
    std::int32_t m_bottom = 0;                     // "Bottom"
    std::int32_t m_collision = 0;                  // "Collision"
    std::int32_t m_lock = 0;                       // "Lock"
    float m_horizonDistance = 10.0f;               // "Horizon Distance": far plane
    float m_threeDoDistance = 1.0f;                // "3DO Distance": 0 = ray cast skips models
    float m_gridDistance = 10.0f;                  // "Grid Distance"
    std::int32_t m_product = 0;                    // "Product": 0 Korvath, 1 Varnok
    std::int32_t m_alignment = -1;                 // "Alignment": -1 axis, -2 centroid, >=0 edge
    std::int32_t m_adjoin = 0;                     // "Adjoin"
    std::int32_t m_stretchMode = 0;                // "StretchMode": 0 "None", the window size
    std::int32_t m_frameRate = 20;                 // "FrameRate": frame cap per second
    std::int32_t m_templatesUsed = 0;              // "Templates Used"
    std::int32_t m_templatesSimple = 0;            // "Templates Simple"
    std::uint32_t m_colorSelect = 0x0000FF;        // "ColorSelect"
    std::uint32_t m_colorLink = 0xFF0000;          // "ColorLink"
    std::uint32_t m_colorUnlink = 0x00FFFF;        // "ColorUnlink"
    std::uint32_t m_colorGhost = 0x80FF80;         // "ColorGhost"
    std::uint32_t m_colorAdjoin = 0xFFFFFF;        // "ColorAdjoin"
    std::uint32_t m_colorGrid = 0x0080FF;          // "ColorGrid"
    std::uint32_t m_colorBackground = 0xC0C0C0;    // "ColorBackground"
    std::uint32_t m_colorWireframe = 0x808080;     // "ColorWireframe"
    std::uint32_t m_colorCogWireframe = 0x0000FF;  // "ColorCogWireframe"
    std::uint32_t m_colorSurfCogWireframe = 0x00FF00;  // "ColorSurfCogWireframe"
    float m_vertexScaling = 0.01f;          // "VertexScaling": half edge of a marker cube
    std::int32_t m_textureMapping = 1;      // "Texture Mapping": nonzero = point filtering
    std::int32_t m_device = 0;              // "Device": device-list index
    std::int32_t m_textureDithering = 1;    // "Texture Dithering"
    std::int32_t m_threeDoCollision = 0;    // "3DO Collision"
    std::int32_t m_errorChecking = 1;       // "Error Checking"
    float m_grid = 0.1f;                    // "Grid": grid size, at least 0.1 at start-up
    std::int32_t m_warning = 1;             // "Warning": ask before delete and split
    std::int32_t m_copyLight = 1;           // "CopyLight"
    std::int32_t m_cdSound = 1;             // "CDsound"
    float m_removal = 1.0f;                 // "Removal"
    std::int32_t m_removalLevel = 5;        // "Removal Level": neighbour-walk depth
    std::int32_t m_autosave = 10;           // "Autosave": minutes, < 1 = off
    std::int32_t m_undoRedo = 20;           // "UndoRedo": snapshots kept, 0 = off
    std::int32_t m_maximized = 0;           // "Maximized"
    std::int32_t m_renderMode = 1;          // "RenderMode": 0..4
    std::int32_t m_renderMethod = 0;        // "RenderMethod": 2 = portal walk
    std::int32_t m_lightMode = 1;           // "LightMode"
    std::int32_t m_lightDirect = 1;         // "LightDirect"
    std::uint32_t m_startColor = 0x000000;  // "StartColor"
    std::uint32_t m_endColor = 0xFFFFFF;    // "EndColor"
    std::int32_t m_adjoinTransparent = 1;   // "AdjoinTransparent"
    float m_layerHeight = 0.1f;             // "LayerHeight"
    float m_layerIndent = 0.1f;             // "LayerIndent"
    // The text editor's window: left, top, outer width and height; -1 unset.
    std::int32_t m_editWindowX = -1;  // "EditWindowX"
    std::int32_t m_editWindowY = -1;  // "EditWindowY"
    std::int32_t m_editWindowW = -1;  // "EditWindowW"
    std::int32_t m_editWindowH = -1;  // "EditWindowH"
    std::int32_t m_autoSize = 0;      // "AutoSize": the Template dialog's preview, 1 "Auto Size"
    // The Cogs in Level window: left, top, outer width and height; -1 unset.
    std::int32_t m_cogWindowX = -1;  // "CogWindowX"
    std::int32_t m_cogWindowY = -1;  // "CogWindowY"
    std::int32_t m_cogWindowW = -1;  // "CogWindowW"
    std::int32_t m_cogWindowH = -1;  // "CogWindowH"

    // Rules applied after loading at start-up: "Grid" below 0.1 (as 32-bit floats)
    // becomes 0.1. A NaN "Grid" (atof accepts "nan") also becomes 0.1.
    void ApplyLoadRules();

    // Every setting: stored value name, kind and member, in the load order of start-up. The
    // defaults are those of a default-constructed CSettings.
    static const std::array<CSettingInfo, kSettingCount>& Table();
};

// A colour setting 0x00BBGGRR as a vertex colour 0xFFRRGGBB (alpha 0xFF, red and blue swapped).
[[nodiscard]] constexpr std::uint32_t ColorToVertex(std::uint32_t bgr)
{
    const std::uint32_t r = bgr & 0xFFu;
    const std::uint32_t g = (bgr >> 8) & 0xFFu;
    const std::uint32_t b = (bgr >> 16) & 0xFFu;
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}
