#pragma once
// A small game of our own for the tests and as the editor's default game folder. Everything in it
// is made here, by code: materials, colour maps, models, keyframes, cog scripts, puppets, sound
// classes, sounds and the template lists.
//
// The game folder, for both products side by side:
//
//   resource/res2.gob       Korvath main archive      resource/qzvres.goo     Varnok main archive
//   resource/res1hi.gob     Korvath sounds            resource/qzvsndhi.goo   Varnok sounds
//   korvath.dat             Korvath template list     varnok.dat              Varnok template list
//
// The template lists stand at the top of the game folder; an editor that uses this folder as its
// game reads them from there in place of its program folder.
//
// A main archive holds (Varnok has everything of Korvath, plus the entries marked V):
//
//   mat\        dflt.mat 64x64, brick.mat 64x32, floor.mat 32x32, sky.mat 128x32: one 8-bit cel;
//               lava.mat 32x32, four cels; red.mat: a colour material (palette index 180);
//               V ice.mat 48x24, two cels; 00fwater.mat 64x64, 00wwarny.mat 32x64,
//               00wglas1.mat 64x32, 08tgrate.mat 32x32: the surface effects' materials
//   misc\cmp\   dflt.cmp, warm.cmp, V ice.cmp: 64-byte header, palette at 64, 64 light levels
//   cog\        door.cog, switch.cog, V relic.cog: symbols sections using all 13 type words;
//               00_door.cog, 00_elev_switch.cog: the cogs the door and elevator builders add
//               00_doorswitch.cog, 10_ffieldswitch.cog, 00_forcefield.cog, 00_conveyor.cog
//               (with a direction vector), 12_conveyor.cog (without), 00_slideceiling.cog,
//               00_surfanim.cog, 01_neonsign.cog: the cogs walk mode reads;
//               00_breakingglass.cog, 00_slashgrate.cog: the surface effects' cogs;
//               00_lampbank.cog: sixteen symbols, each with a default
//   misc\snd\   door.snd, sm_door.snd, player.snd, crate.snd: sound classes naming .wav files of
//   the sound
//               archive; V relic.snd
//   misc\pup\   ranger.pup: naming stand.key, walk.key and run.key;
//               strider.pup: naming strwalk.key and strstand.key
//   3do\        a box model for every "model3d=" of the product's template list and every fixed
//               first-person model (GetFixedModels), except strider.3do: a walker of five nodes
//               (body; its children lleg and rleg, siblings that share one mesh; the feet lfoot
//               and rfoot below them) with two materials
//   3do\mat\    crate.mat, lamp.mat, ranger.mat, strider.mat, metal.mat: the models' materials
//   3do\key\    stand.key, walk.key, run.key: keyframes of the node "ranger";
//               strwalk.key (12 frames), strstand.key (1 frame): keyframes of the strider's nodes
//
// A sound archive holds small PCM WAV files under sound\ (8-bit mono, one 16-bit, one of odd
// length with its pad byte).
//
// The template lists begin with a hand-made part (based-on chains, "=+" references, model3d=,
// debris=, explode=, fleshhit=, creatething=, puppet=, soundclass=, cog=, material=; the template
// "strider" gives strider.3do with strider.pup; for walk mode "healthsmall" below "_powerup", the
// fans "fan0" and "fan1" with "angvel=", "shutter" with "sm_door.snd"), followed by every built-in
// template of the product (GetBuiltInTemplates) that the hand-made part lacks. Their first lines,
// in order: _base, _decor, _item, _actor, _weapon, _fx, crate, +cratechunk, +crateburst.

#include "level/GameResources.h"
#include "resources/GameArchive.h"
#include "resources/GobArchive.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// The two archives of one product ("Product" 0 Korvath, 1 Varnok), built in memory.
struct CSyntheticArchives {
    CGobArchive m_main;
    CGobArchive m_sound;
};

CSyntheticArchives BuildSyntheticArchives(int product);

// The text of the product's template list (korvath.dat, varnok.dat).
std::string SyntheticTemplateList(int product);

// A template list for tests only, never written into a game folder: its templates refer to each
// other in cycles (based-on, "=+", explode=, creatething=, debris= back to itself).
std::string SyntheticCyclicTemplateList();

// Writes the game folder (see above) into folder, creating it when needed. Files already there
// are replaced; nothing else in folder is touched. Throws CFileException when a file cannot be
// written.
void BuildSyntheticGame(const std::filesystem::path& folder);

// A product's game ready for use: its archives and the resources indexed from them.
struct CSyntheticGame {
    std::unique_ptr<GameArchive> m_archive;
    std::unique_ptr<GameArchive> m_soundArchive;
    CGameResources m_resources;  // points at the two archives above
};

// Opens the product's archives in a folder written by BuildSyntheticGame (file names matched
// without regard to case), indexes them, reads the product's template list and takes the folder
// as the game's folder. Throws
// CFileException when an archive or the template list is missing.
std::unique_ptr<CSyntheticGame> LoadSyntheticGame(const std::filesystem::path& folder, int product);

// The same game held in memory archives, without touching the disk.
std::unique_ptr<CSyntheticGame> MakeSyntheticGame(int product);

// --- The file makers, for tests of the readers ---

// 256 RGB triples (768 bytes): a 6x6x6 colour cube at 0..215 (index r*36 + g*6 + b, each 0..5),
// then 40 greys from black to white. variant 1 is warmer, variant 2 colder.
std::vector<std::uint8_t> SyntheticPalette(int variant);
// A colour map of 17216 bytes: header, the palette at byte 64, then 64 rows of 256 indices, row l
// holding for each colour the palette entry nearest to it at brightness l / 63.
std::vector<std::uint8_t> MakeSyntheticCmp(const std::vector<std::uint8_t>& palette);
// A texture material of 8 bits per pixel with celCount cels; cel c, pixel (x, y) is
// SyntheticPixel(pattern, x, y, c).
std::vector<std::uint8_t> MakeSyntheticMat(int width, int height, int celCount, int pattern);
std::uint8_t SyntheticPixel(int pattern, int x, int y, int cel);
// A one-cel texture material of 8 bits per pixel with mipCount mip levels: level 0 a 1-pixel
// checker of two colours, each further level (half as wide and high, at least 1) all of
// MipLevelIndex(level), so a reader's levels can be told from made ones.
std::vector<std::uint8_t> MakeSyntheticMipMat(int width, int height, int mipCount);
std::uint8_t MipLevelIndex(int level);
// A colour material whose one record holds colorIndex.
std::vector<std::uint8_t> MakeSyntheticColorMat(std::uint8_t colorIndex);
// A PCM WAV: RIFF, WAVE, "fmt " (16 bytes), "data" of sampleCount samples, padded to even size.
std::vector<std::uint8_t> MakeSyntheticWav(int sampleCount, int bitsPerSample, int tone);
// A text 3DO model: one geoset, one box mesh of the given half sizes (file axes, z up) textured
// with material (texture vertices for a width x height material), one hierarchy node named node.
std::string MakeSynthetic3do(const std::string& node, const std::string& material, int width,
                             int height, float halfX, float halfY, float halfZ);
// A text keyframe file of frameCount frames animating the node named node.
std::string MakeSyntheticKey(const std::string& node, int frameCount, float yawPerFrame);
