#pragma once
// The four one-click surface effects: Water, Force Field, Breaking Glass and Slashable Grate. Each
// gives both sides of the adjoin under the current surface a fixed material and fixed surface
// values and sets both adjoins' flags; water also makes the sector behind the adjoin underwater,
// the others add the cogs that make the surfaces behave in the game.

#include <cstdint>
#include <string_view>

class C3dView;

// What the sector behind the adjoin and the level's cogs get.
enum class ESurfaceEffectKind {
    Water,       // the sector behind: flags, the underwater sound and its volume
    TwoCogs,     // one cog per side, each naming its own surface
    OneCogBoth,  // one cog naming the current surface, then the other side's
};

// One effect: every value is assigned, never combined with what the surface had.
struct CSurfaceEffect {
    const char* m_material;
    std::uint32_t m_surfaceFlags;
    std::uint32_t m_faceFlags;
    std::int32_t m_geo;
    std::int32_t m_light;
    std::int32_t m_tex;
    float m_extraLight;
    std::uint32_t m_adjoinFlags;
    ESurfaceEffectKind m_kind;
    const char* m_script;  // the cog script; null for water
};

inline constexpr CSurfaceEffect kWaterEffect{
    "00fwater.mat", 0x20006, 2, 4, 3, 1, 0.0f, 7, ESurfaceEffectKind::Water, nullptr};
inline constexpr CSurfaceEffect kForceFieldEffect{
    "00wwarny.mat", 0x6, 2, 4, 3, 1, 0.0f, 5, ESurfaceEffectKind::TwoCogs, "00_forcefield.cog"};
inline constexpr CSurfaceEffect kBreakingGlassEffect{
    "00wglas1.mat",        0x6, 2, 4, 3, 1, 0.0f, 5, ESurfaceEffectKind::OneCogBoth,
    "00_breakingglass.cog"};
inline constexpr CSurfaceEffect kSlashableGrateEffect{
    "08tgrate.mat", 0x6, 0, 4, 3, 1, 0.0f, 5, ESurfaceEffectKind::OneCogBoth, "00_slashgrate.cog"};

// The water sector's values.
inline constexpr std::uint32_t kUnderwaterSectorFlags = 0x1006;
inline constexpr std::string_view kUnderwaterSound = "00underwater.wav";
inline constexpr float kUnderwaterSoundVolume = 3.0f;

// Applies effect to the current surface F of the current sector S and its adjoin A:
//  - the material's texture comes from the game's archive (its material indexes, or the level's
//    own files) through S's colour map; without the archive, or when the material is found in
//    neither, "Cannot find the texture <material>." is shown and nothing changes;
//  - F gets the texture and its size, the effect's flags, modes and extra light and the material
//    (found in the level's material list without regard to case, appended when missing); A
//    gets the adjoin flags; the document is marked modified and S rebuilt;
//  - the other side G is the first surface, sectors and their surface lists in order, whose
//    adjoin is A's mirror; without one nothing more happens. G takes F's texture, flags, modes,
//    extra light and material (its texture size stays), G's adjoin A's flags; G's sector T is
//    rebuilt after the effect's own work: water gives T the flags 0x1006, the sound
//    "00underwater.wav" (listed once, without regard to case) and the volume 3.0; the others add
//    their cogs (surface indices in "%d") and list the script once.
// The selection stays. Refused (false, level unchanged): no current sector, a current surface
// that is not in it or has no adjoin, or the missing texture above.
bool CreateSurfaceEffect(C3dView& view, const CSurfaceEffect& effect);

bool CreateWater(C3dView& view);
bool CreateForceField(C3dView& view);
bool CreateBreakingGlass(C3dView& view);
bool CreateSlashableGrate(C3dView& view);

// The menu commands: the command's question (while "Warning" is on), then the builder in an undo
// step. True when the effect was built.
bool RunCreateWaterCommand(C3dView& view);
bool RunCreateForceFieldCommand(C3dView& view);
bool RunCreateBreakingGlassCommand(C3dView& view);
bool RunCreateSlashableGrateCommand(C3dView& view);
