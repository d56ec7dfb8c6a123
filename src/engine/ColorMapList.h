#pragma once
// The level's colour maps as the Color Map and Select Color Map dialogs edit them: the palette
// of a colour map found by name, the palette cell under a point of the 16 x 16 grid, the edit of
// one palette colour of a colour map that is one of the level's own files, the new colour-map
// list of the dialog's OK, and Select Color Map's one colour map for the whole level.
//
// A colour map's palette is the 256 red, green, blue triples from byte 64. Bytes that end before
// the palette does (fewer than 832) give no palette at all: the dialog keeps showing what it
// showed, and such a colour map cannot be edited. Nothing is ever read or written beyond the
// bytes a colour map has.

#include "engine/BitmapImage.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class C3dView;
class CQzlSections;
struct CAssetSources;
struct CGameResources;

// The byte after the palette: 64 + 3 x 256.
inline constexpr std::size_t kColorMapPaletteEnd = 832;

// The palette in the bytes of a colour map; nothing when they end before it does.
std::optional<CPalette> PaletteFromColorMapBytes(std::span<const std::uint8_t> bytes);

// Whether the game's colour-map index holds name (letter case ignored). Such a colour map is
// shown from the game even when the level has a file of that name, and is not edited.
bool IsGameColorMap(const CGameResources* game, std::string_view name);

// The bytes of colour map name: the game's when its colour-map index holds the name (read from
// the game archive; nothing when it cannot be read), else those of the level's own file of that
// name (letter case ignored). Nothing when neither gives bytes.
std::optional<std::vector<std::uint8_t>> ColorMapBytes(const CAssetSources& sources,
                                                       std::string_view name);

// The palette index of a point (x, y) of a grid of width x height cells area:
// (16 x) / width + 16 ((16 y) / height), truncating; -1 for a point outside the area.
int PaletteCellAt(int x, int y, int width, int height);

// The colour of palette entry index of the level's own colour-map file name (letter case
// ignored) becomes red, green, blue, in the file's bytes. Refused (false, nothing changed): the
// game's colour-map index holds the name, the level has no file of that name, index is not 0 to
// 255, or the file's bytes end before the palette does. The file keeps its size.
bool EditColorMapPalette(const CGameResources* game, CQzlSections& level, std::string_view name,
                         int index, std::uint8_t red, std::uint8_t green, std::uint8_t blue);

// Whether a sector uses a colour map of that name (letter case ignored): the name of the entry
// its index gives in the level's list.
bool IsColorMapUsed(const CQzlSections& level, std::string_view name);

// The Color Map dialog's OK: the colour-map list becomes names, each upper-cased, in order, and
// every sector follows its colour map by name (level/SectorLists.h SetSectorList), so that it
// keeps showing the same colour map. A sector whose index names no entry of the old list keeps
// its index. Refused (false, nothing changed) when a sector uses a colour map the new list no
// longer holds; false also when nothing would change.
bool SetColorMapList(CQzlSections& level, std::span<const std::string> names);

// Select Color Map's Apply: name becomes the level's only colour map and every sector takes
// index 0, even without the game archive (an index beyond the one entry would name nothing).
// With the game archive open every surface's material is made ready in the engine's texture
// cache through that colour map; then the render data of every sector are rebuilt and every
// view is updated. False, with nothing changed, for an empty name or when the level already
// has exactly that one colour map on every sector.
bool SelectColorMap(C3dView& view, std::string_view name);
