#include "SyntheticGame.h"

#include "ByteBuilder.h"
#include "framework/CFormat.h"
#include "framework/Exceptions.h"
#include "framework/FileIO.h"
#include "level/QzlTemplate.h"
#include "level/ResourceLists.h"
#include "level/TemplateList.h"
#include "resources/GameIndex.h"
#include "resources/GobGameArchive.h"
#include "resources/MemoryGameArchive.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <map>
#include <mutex>
#include <set>
#include <span>
#include <stdexcept>
#include <string_view>
#include <system_error>
#include <utility>

namespace {

// Text files of the game end their lines with CR LF; the model reader's comment skip counts on it.
class CTextBuilder {
public:
    CTextBuilder& Line(std::string_view text = {})
    {
        m_text.append(text);
        m_text.append("\r\n");
        return *this;
    }
    const std::string& Text() const { return m_text; }

private:
    std::string m_text;
};

Bytes ToBytes(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

std::uint8_t CubeIndex(int r, int g, int b)
{
    return static_cast<std::uint8_t>(r * 36 + g * 6 + b);
}

// --- Template lists ---

struct TemplateLine {
    const char* m_name;
    const char* m_basedOn;
    const char* m_params;
};

constexpr TemplateLine kTemplates[] = {
    {"_base", "none", "type=default mass=1.0 size=0.05 movesize=0.05"},
    {"_decor", "_base", "type=decor collide=1"},
    {"_item", "_base", "type=item respawn=30.0 model3d=pickup.3do"},
    {"_actor", "_base", "type=actor mass=80.0 size=0.08 movesize=0.06 health=100"},
    {"_weapon", "_base", "type=weapon"},
    {"_fx", "_base", "type=fx timer=0.5"},
    {"crate", "_decor",
     "model3d=crate.3do size=0.1 movesize=0.1 debris=+cratechunk explode=+crateburst "
     "soundclass=crate.snd"},
    {"+cratechunk", "_fx", "model3d=cratechunk.3do timer=2.0"},
    {"+crateburst", "_fx", "timer=0.2 creatething=+smoke"},
    {"lamp", "_decor", "model3d=lamp.3do material=red.mat"},
    {"door", "_decor", "model3d=door.3do cog=door.cog soundclass=door.snd"},
    {"ranger", "_actor",
     "model3d=ranger.3do puppet=ranger.pup soundclass=player.snd aiclass=noweapon.ai "
     "fleshhit=+bloodspray"},
    {"+rangerarm", "_actor", "model3d=rangerarm.3do"},
    {"warden", "ranger", "model3d=warden.3do"},
    {"+wardenarm", "+rangerarm", "model3d=wardenarm.3do"},
    {"brute", "warden", "model3d=brute.3do mass=150.0"},
    {"+brutearm", "+rangerarm", "model3d=brutearm.3do"},
    {"strider", "_actor", "model3d=strider.3do puppet=strider.pup mass=120.0"},
    {"player", "ranger", "type=player"},
    {"pistol", "_weapon", "model3d=fppistol.3do projectile=+pistolbolt"},
    {"+pistolbolt", "_fx", "model3d=bolt.3do explode=+pistolspark"},
    {"+pistolspark", "_fx", "creatething=+sparks"},
    // What walk mode spins and sounds: a pickup below "_powerup", two fans, a shutter that sounds
    // as a small door.
    {"_powerup", "_item", "type=item"},
    {"healthsmall", "_powerup", "model3d=pickup.3do"},
    {"fan0", "_decor", "model3d=fan.3do angvel=(0/90/0)"},
    {"fan1", "fan0", "angvel=(0/-180/0)"},
    {"shutter", "_decor", "model3d=door.3do soundclass=sm_door.snd"},
    // A template shown by its material alone.
    {"glowpanel", "_decor", "material=red.mat"},
};

constexpr TemplateLine kExpansionTemplates[] = {
    {"relic", "_item", "model3d=relic.3do cog=relic.cog soundclass=relic.snd"},
    {"shockcaster", "_weapon", "model3d=fpshock.3do projectile=+shockbolt"},
    {"+shockbolt", "_fx", "model3d=bolt.3do explode=+shockhit"},
};

void AppendTemplateLine(std::string& text, const std::string& name, const std::string& basedOn,
                        const std::string& params)
{
    // The line format of the editor's template data files.
    text += FormatC("%-20s %-20s %s\n", name.c_str(), basedOn.c_str(), params.c_str());
}

// --- Models ---

struct ModelShape {
    const char* m_stem;
    float m_halfX;
    float m_halfY;
    float m_halfZ;
};

constexpr ModelShape kShapes[] = {
    {"crate", 0.05f, 0.05f, 0.05f},   {"lamp", 0.02f, 0.02f, 0.08f},
    {"door", 0.1f, 0.01f, 0.15f},     {"ranger", 0.03f, 0.02f, 0.09f},
    {"warden", 0.03f, 0.02f, 0.09f},  {"brute", 0.045f, 0.03f, 0.1f},
    {"relic", 0.015f, 0.015f, 0.03f},
};

struct ModelMaterial {
    const char* m_name;
    int m_width;
    int m_height;
    int m_pattern;
};

// The materials stored with the models (3do\mat\); the last serves every model without its own.
constexpr ModelMaterial kModelMaterials[] = {
    {"crate.mat", 32, 32, 6},    {"lamp.mat", 16, 16, 7},  {"ranger.mat", 32, 64, 8},
    {"strider.mat", 48, 32, 10}, {"metal.mat", 32, 32, 9},
};

const ModelMaterial& MaterialForModel(std::string_view stem)
{
    for (const ModelMaterial& material : kModelMaterials) {
        const std::string_view name = material.m_name;
        if (name.substr(0, name.find('.')) == stem)
            return material;
    }
    return kModelMaterials[std::size(kModelMaterials) - 1];
}

// Every model the product's templates name, and the fixed first-person models, in name order.
std::set<std::string> ModelNames(int product)
{
    std::set<std::string> models;
    for (const auto& entry : ReadTemplateList(SyntheticTemplateList(product))) {
        if (!entry->m_model.empty())
            models.insert(entry->m_model);
    }
    for (const char* model : GetFixedModels())
        models.insert(model);
    return models;
}

// --- Scripts and lists ---

std::string DoorCog()
{
    CTextBuilder t;
    t.Line("# door.cog")
        .Line("# Moves a door sector back and forth when it is touched.")
        .Line("#")
        .Line("# Written for the synthetic test game.")
        .Line()
        .Line("flags=0x240")
        .Line()
        .Line("symbols")
        .Line("event       touched                        // not a typed symbol, takes no value")
        .Line()
        .Line("surface     doorface                       desc=the face that opens the door")
        .Line("sector      doorsector")
        .Line("thing       doorthing       nolink")
        .Line("sound       opensound=dooropen.wav")
        .Line("sound       closesound=doorclose.wav       // played when the door has shut")
        .Line("float       speed=2.5")
        .Line("flex        wait=1.5        desc=seconds the door stays open")
        .Line("int         state=0         local")
        .Line("vector      travel          local")
        .Line("end")
        .Line()
        .Line("# ------------------------------------------------------------------")
        .Line("code")
        .Line("touched:")
        .Line("    if (state != 0) return;")
        .Line("    state = 1;")
        .Line("    playsound(opensound, doorthing);")
        .Line("    movesector(doorsector, travel, speed);")
        .Line("    sleep(wait);")
        .Line("    playsound(closesound, doorthing);")
        .Line("    state = 0;")
        .Line("    return;")
        .Line("end");
    return t.Text();
}

std::string SwitchCog()
{
    CTextBuilder t;
    t.Line("# switch.cog")
        .Line("# A wall switch: flips its material, starts a keyframe and makes a new thing.")
        .Line()
        .Line("symbols")
        .Line("surface     switchface")
        .Line("material    offmat=floor.mat")
        .Line("material    onmat=red.mat")
        .Line("template    spawn=+sparks                  // what appears at the switch")
        .Line("cog         target                         desc=a cog told when the switch flips")
        .Line("keyframe    pullanim=walk.key")
        .Line("ai          guard=noweapon.ai")
        .Line("int         uses=3")
        .Line("int         count=0         local")
        .Line("sound       click=switch.wav")
        .Line("end")
        .Line()
        .Line("code")
        .Line("pressed:")
        .Line("    if (count >= uses) return;")
        .Line("    count = count + 1;")
        .Line("    setmaterial(switchface, onmat);")
        .Line("    playsound(click, switchface);")
        .Line("    notify(target);")
        .Line("    return;")
        .Line("end");
    return t.Text();
}

// The builders' cogs: each value of the records the door and elevator builders make lands on a
// typed symbol, so deleting a thing or a surface renumbers them.
std::string BuiltDoorCog()
{
    CTextBuilder t;
    t.Line("# 00_door.cog")
        .Line("# Opens up to four doors through their frames when one is activated.")
        .Line()
        .Line("symbols")
        .Line("thing       door0           linkid=0")
        .Line("thing       door1           linkid=0")
        .Line("thing       door2           linkid=0")
        .Line("thing       door3           linkid=0")
        .Line("float       movespeed=8.0   local")
        .Line("flex        sleeptime=2.0   local")
        .Line("sound       startsound=dooropen.wav    local")
        .Line("int         doorstatus      local")
        .Line("end")
        .Line()
        .Line("code")
        .Line("activated:")
        .Line("    if (doorstatus != 0) return;")
        .Line("    doorstatus = 1;")
        .Line("    playsound(startsound, door0);")
        .Line("    movetoframe(door0, 1, movespeed);")
        .Line("    sleep(sleeptime);")
        .Line("    movetoframe(door0, 0, movespeed);")
        .Line("    doorstatus = 0;")
        .Line("    return;")
        .Line("end");
    return t.Text();
}

std::string ElevatorSwitchCog()
{
    CTextBuilder t;
    t.Line("# 00_elev_switch.cog")
        .Line("# Three switch surfaces that send an elevator to its other frame.")
        .Line()
        .Line("symbols")
        .Line("surface     switch0         linkid=1")
        .Line("surface     switch1         linkid=1")
        .Line("surface     switch2         linkid=1")
        .Line("sector      shaft")
        .Line("thing       elevator")
        .Line("float       speed=4.0       local")
        .Line("sound       clicksound=switch.wav      local")
        .Line("int         atframe=0       local")
        .Line("end")
        .Line()
        .Line("code")
        .Line("activated:")
        .Line("    playsound(clicksound, elevator);")
        .Line("    atframe = 1 - atframe;")
        .Line("    movetoframe(elevator, atframe, speed);")
        .Line("    return;")
        .Line("end");
    return t.Text();
}

// The cogs walk mode reads besides the builders' ones.
std::string DoorSwitchCog()
{
    CTextBuilder t;
    t.Line("# 00_doorswitch.cog")
        .Line("# A switch surface that opens a pair of doors.")
        .Line()
        .Line("symbols")
        .Line("surface     switch")
        .Line("thing       door0")
        .Line("thing       door1")
        .Line("float       movespeed=6.0")
        .Line("flex        sleeptime=3.0")
        .Line("int         doorstatus=0    local")
        .Line("end")
        .Line()
        .Line("code")
        .Line("activated:")
        .Line("    movetoframe(door0, 1, movespeed);")
        .Line("    movetoframe(door1, 1, movespeed);")
        .Line("    return;")
        .Line("end");
    return t.Text();
}

std::string ForceFieldSwitchCog()
{
    CTextBuilder t;
    t.Line("# 10_ffieldswitch.cog")
        .Line("# A switch that turns a force field off; the field hums at the switch.")
        .Line()
        .Line("symbols")
        .Line("surface     switch")
        .Line("surface     field")
        .Line("flex        delay=2.0")
        .Line("end")
        .Line()
        .Line("code")
        .Line("activated:")
        .Line("    clearadjoinflags(field, 2);")
        .Line("    return;")
        .Line("end");
    return t.Text();
}

std::string ForceFieldCog()
{
    CTextBuilder t;
    t.Line("# 00_forcefield.cog")
        .Line("# A force field that hurts what touches it.")
        .Line()
        .Line("symbols")
        .Line("surface     field")
        .Line("float       damage=10.0")
        .Line("end")
        .Line()
        .Line("code")
        .Line("touched:")
        .Line("    damagething(getsourceref(), damage);")
        .Line("    return;")
        .Line("end");
    return t.Text();
}

// A conveyor: the first has a direction of its own, the second moves along the default one.
std::string ConveyorCog(const char* name, bool withVector)
{
    CTextBuilder t;
    t.Line(std::string("# ") + name)
        .Line("# Floor surfaces that carry what stands on them.")
        .Line()
        .Line("symbols");
    if (withVector) {
        // The belt builder's ten values: direction, speed, the surface, then seven more belt
        // surfaces.
        t.Line("vector      direction").Line("flex        speed=1.0").Line("surface     belt0");
        for (int i = 1; i <= 7; ++i)
            t.Line("surface     belt" + std::to_string(i));
    } else {
        t.Line("surface     belt0").Line("surface     belt1").Line("float       speed=1.0");
    }
    t.Line("end")
        .Line()
        .Line("code")
        .Line("startup:")
        .Line("    slidesurface(belt0, speed);")
        .Line("    slidesurface(belt1, speed);")
        .Line("    return;")
        .Line("end");
    return t.Text();
}

// The breaking glass and the slashable grate: the surface on each side of the adjoin.
std::string TwoSidedSurfaceCog(const char* name, const char* what)
{
    CTextBuilder t;
    t.Line(std::string("# ") + name)
        .Line(std::string("# ") + what)
        .Line()
        .Line("symbols")
        .Line("surface     front")
        .Line("surface     back")
        .Line("end")
        .Line()
        .Line("code")
        .Line("damaged:")
        .Line("    setadjoinflags(front, 2);")
        .Line("    setadjoinflags(back, 2);")
        .Line("    return;")
        .Line("end");
    return t.Text();
}

std::string SlideCeilingCog()
{
    CTextBuilder t;
    t.Line("# 00_slideceiling.cog")
        .Line("# Scrolls every sliding ceiling (surface flag 0x400) by two speeds.")
        .Line()
        .Line("symbols")
        .Line("float       uspeed=1.0")
        .Line("float       vspeed=0.0")
        .Line("end")
        .Line()
        .Line("code")
        .Line("startup:")
        .Line("    return;")
        .Line("end");
    return t.Text();
}

// Animated surfaces: the cels of the surfaces play at the frame rate named after them.
std::string SurfaceAnimationCog(const char* name)
{
    CTextBuilder t;
    t.Line(std::string("# ") + name)
        .Line("# Plays the cels of up to three surfaces.")
        .Line()
        .Line("symbols")
        .Line("surface     surface0")
        .Line("surface     surface1")
        .Line("surface     surface2")
        .Line("float       framerate=8.0")
        .Line("end")
        .Line()
        .Line("code")
        .Line("startup:")
        .Line("    surfaceanim(surface0, framerate, 1);")
        .Line("    return;")
        .Line("end");
    return t.Text();
}

// A bank of lamps with more symbols than the Cogs in Level window shows at once, every one with
// a default.
std::string LampBankCog()
{
    CTextBuilder t;
    t.Line("# 00_lampbank.cog")
        .Line("# Lights ten lamp surfaces one after another.")
        .Line()
        .Line("symbols");
    for (int i = 0; i < 10; ++i)
        t.Line("surface     lamp" + std::to_string(i) + "=-1");
    t.Line("float       delay=0.5")
        .Line("float       brightness=1.0")
        .Line("int         steps=4")
        .Line("sound       hum=switch.wav")
        .Line("material    litmat=red.mat")
        .Line("flex        fade=2.0")
        .Line("int         phase=0         local")
        .Line("end")
        .Line()
        .Line("code")
        .Line("startup:")
        .Line("    phase = 0;")
        .Line("    return;")
        .Line("end");
    return t.Text();
}

std::string RelicCog()
{
    CTextBuilder t;
    t.Line("# relic.cog")
        .Line("symbols")
        .Line("thing       relic")
        .Line("template    glow=+relicglow")
        .Line("sound       hum=relichum.wav")
        .Line("float       spin=45.0")
        .Line("end")
        .Line("code")
        .Line("end");
    return t.Text();
}

std::string SoundClass(std::string_view title,
                       std::initializer_list<std::pair<const char*, const char*>> events)
{
    CTextBuilder t;
    t.Line(FormatC("# %.*s", static_cast<int>(title.size()), title.data()));
    for (const auto& [event, wav] : events)
        t.Line(FormatC("%-14s %-18s 0x0   1.0   0.5   4.0", event, wav));
    return t.Text();
}

std::string RangerPuppet()
{
    CTextBuilder t;
    t.Line("# ranger.pup - the animations of the ranger")
        .Line("mode=0")
        .Line("stand        stand.key     0   0")
        .Line("walk         walk.key      1   0")
        .Line("run          run.key       1   0")
        .Line("end");
    return t.Text();
}

std::string StriderPuppet()
{
    CTextBuilder t;
    t.Line("# strider.pup - the animations of the strider")
        .Line("mode=0")
        .Line("walk         strwalk.key   1   0")
        .Line("stand        strstand.key  0   0")
        .Line("end");
    return t.Text();
}

struct WavFile {
    const char* m_name;
    int m_samples;
    int m_bits;
    int m_tone;
};

// The last is the sound of the water builder's sector.
constexpr WavFile kSounds[] = {
    {"dooropen.wav", 600, 8, 3}, {"doorclose.wav", 441, 8, 5},  {"doormove.wav", 800, 8, 7},
    {"step1.wav", 200, 8, 11},   {"step2.wav", 201, 8, 13},     {"jump.wav", 300, 16, 4},
    {"switch.wav", 150, 8, 9},   {"cratebreak.wav", 500, 8, 2}, {"00underwater.wav", 400, 8, 15},
};
constexpr WavFile kExpansionSounds[] = {
    {"relichum.wav", 700, 8, 6},
};

// The colour map of a palette variant. Their light tables take the longest to make of the whole
// game, so each is made once per process.
const std::vector<std::uint8_t>& ColorMap(int variant)
{
    static std::mutex mutex;
    static std::map<int, std::vector<std::uint8_t>> made;
    const std::lock_guard lock(mutex);
    auto it = made.find(variant);
    if (it == made.end())
        it = made.emplace(variant, MakeSyntheticCmp(SyntheticPalette(variant))).first;
    return it->second;
}

std::string FloatText(float value)
{
    return FormatC("%f", static_cast<double>(value));
}

}  // namespace

// --- File makers ---

std::vector<std::uint8_t> SyntheticPalette(int variant)
{
    std::vector<std::uint8_t> palette;
    palette.reserve(768);
    const auto push = [&palette, variant](int r, int g, int b) {
        if (variant == 1) {
            r = std::min(255, r + 40);
            b = b * 3 / 4;
        } else if (variant == 2) {
            b = std::min(255, b + 40);
            r = r * 3 / 4;
        }
        palette.push_back(static_cast<std::uint8_t>(r));
        palette.push_back(static_cast<std::uint8_t>(g));
        palette.push_back(static_cast<std::uint8_t>(b));
    };
    for (int i = 0; i < 216; ++i)
        push(i / 36 * 51, i / 6 % 6 * 51, i % 6 * 51);
    for (int i = 0; i < 40; ++i)
        push(i * 255 / 39, i * 255 / 39, i * 255 / 39);
    return palette;
}

std::vector<std::uint8_t> MakeSyntheticCmp(const std::vector<std::uint8_t>& palette)
{
    if (palette.size() < 768)
        throw std::invalid_argument("A palette holds 768 bytes.");
    std::array<std::array<int, 3>, 256> colors{};
    for (std::size_t i = 0; i < 256; ++i)
        for (std::size_t k = 0; k < 3; ++k)
            colors[i][k] = palette[i * 3 + k];
    // The entries in order of red, so that a search can stop once red alone is too far off.
    std::array<int, 256> byRed{};
    for (int i = 0; i < 256; ++i)
        byRed[static_cast<std::size_t>(i)] = i;
    std::stable_sort(byRed.begin(), byRed.end(), [&colors](int a, int b) {
        return colors[static_cast<std::size_t>(a)][0] < colors[static_cast<std::size_t>(b)][0];
    });

    // The entry nearest to (r, g, b); the lowest index among equally near ones.
    const auto nearest = [&colors, &byRed](int r, int g, int b) {
        int best = 0;
        int bestDistance = 1 << 30;
        const auto consider = [&](int index) {
            const auto& c = colors[static_cast<std::size_t>(index)];
            const int distance =
                (c[0] - r) * (c[0] - r) + (c[1] - g) * (c[1] - g) + (c[2] - b) * (c[2] - b);
            if (distance < bestDistance || (distance == bestDistance && index < best)) {
                bestDistance = distance;
                best = index;
            }
        };
        const auto start =
            std::lower_bound(byRed.begin(), byRed.end(), r, [&colors](int index, int red) {
                return colors[static_cast<std::size_t>(index)][0] < red;
            });
        for (auto it = start; it != byRed.end(); ++it) {
            const int dr = colors[static_cast<std::size_t>(*it)][0] - r;
            if (dr * dr > bestDistance)
                break;
            consider(*it);
        }
        for (auto it = start; it != byRed.begin();) {
            --it;
            const int dr = colors[static_cast<std::size_t>(*it)][0] - r;
            if (dr * dr > bestDistance)
                break;
            consider(*it);
        }
        return static_cast<std::uint8_t>(best);
    };

    ByteBuilder out;
    out.Text("CMP ").U32(1).Zeros(56);
    out.b.insert(out.b.end(), palette.begin(), palette.begin() + 768);
    for (int level = 0; level < 64; ++level) {
        for (const auto& c : colors)
            out.U8(nearest(c[0] * level / 63, c[1] * level / 63, c[2] * level / 63));
    }
    return out.b;
}

std::uint8_t SyntheticPixel(int pattern, int x, int y, int cel)
{
    switch (pattern) {
    case 0:  // 8-pixel checker, the look of a missing texture
        return ((x / 8 + y / 8) % 2) ? CubeIndex(4, 0, 4) : CubeIndex(1, 1, 1);
    case 1:  // bricks of 16 x 8 with grey mortar, every other row offset by half a brick
        if (y % 8 == 7 || (x + (y / 8 % 2) * 8) % 16 == 15)
            return static_cast<std::uint8_t>(216 + 24);
        return CubeIndex(3 + (x / 16 + y / 8) % 2, 1, 0);
    case 2:  // diagonal stripes
        return ((x + y) / 4 % 2) ? CubeIndex(2, 2, 1) : CubeIndex(3, 3, 2);
    case 3:  // sky: blue getting lighter downwards
        return CubeIndex(y * 4 / 32, y * 4 / 32, 5);
    case 4:  // lava: a band pattern moving one step per cel
        return CubeIndex(5, ((x + y + cel * 8) / 4) % 4, 0);
    case 5:  // ice: light blue blocks, each cel shifted
        return CubeIndex(3 + ((x / 6 + y / 6 + cel) % 2) * 2, 4 + cel % 2, 5);
    default:  // model materials: a frame around a plain fill
        if (x == 0 || y == 0 || x % 16 == 15 || y % 16 == 15)
            return static_cast<std::uint8_t>(216 + 8);
        return CubeIndex(pattern % 6, (pattern * 2) % 6, (pattern * 5) % 6);
    }
}

std::vector<std::uint8_t> MakeSyntheticMat(int width, int height, int celCount, int pattern)
{
    const auto cels = static_cast<std::uint32_t>(celCount);
    ByteBuilder out;
    out.Text("MAT ").U32(0x32).U32(2).U32(cels).U32(cels).U32(0).U32(8).Zeros(48);
    for (std::uint32_t cel = 0; cel < cels; ++cel)
        out.U32(8).U32(0).Floats(1.0f, 1.0f, 1.0f, 1.0f).U32(0).U32(0).U32(0xBFF78482).U32(cel);
    for (int cel = 0; cel < celCount; ++cel) {
        out.U32(static_cast<std::uint32_t>(width)).U32(static_cast<std::uint32_t>(height));
        out.U32(0).U32(0).U32(0).U32(1);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                out.U8(SyntheticPixel(pattern, x, y, cel));
    }
    return out.b;
}

std::uint8_t MipLevelIndex(int level)
{
    return CubeIndex(level % 6, 5, 5 - level % 6);
}

std::vector<std::uint8_t> MakeSyntheticMipMat(int width, int height, int mipCount)
{
    ByteBuilder out;
    out.Text("MAT ").U32(0x32).U32(2).U32(1).U32(1).U32(0).U32(8).Zeros(48);
    out.U32(8).U32(0).Floats(1.0f, 1.0f, 1.0f, 1.0f).U32(0).U32(0).U32(0xBFF78482).U32(0);
    out.U32(static_cast<std::uint32_t>(width)).U32(static_cast<std::uint32_t>(height));
    out.U32(0).U32(0).U32(0).U32(static_cast<std::uint32_t>(mipCount));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            out.U8((x + y) % 2 ? CubeIndex(5, 5, 5) : CubeIndex(0, 0, 0));
    for (int level = 1; level < mipCount; ++level) {
        const int w = std::max(width >> level, 1);
        const int h = std::max(height >> level, 1);
        for (int i = 0; i < w * h; ++i)
            out.U8(MipLevelIndex(level));
    }
    return out.b;
}

std::vector<std::uint8_t> MakeSyntheticColorMat(std::uint8_t colorIndex)
{
    ByteBuilder out;
    out.Text("MAT ").U32(0x32).U32(0).U32(1).U32(0).U32(0).U32(8).Zeros(48);
    out.U32(0).U32(colorIndex).Zeros(16);
    return out.b;
}

std::vector<std::uint8_t> MakeSyntheticWav(int sampleCount, int bitsPerSample, int tone)
{
    const std::uint32_t bytesPerSample = bitsPerSample == 16 ? 2 : 1;
    const std::uint32_t rate = 11025;
    const std::uint32_t dataSize = static_cast<std::uint32_t>(sampleCount) * bytesPerSample;
    const std::uint32_t pad = dataSize % 2;
    ByteBuilder out;
    out.Text("RIFF").U32(4 + 8 + 16 + 8 + dataSize + pad).Text("WAVE");
    out.Text("fmt ").U32(16).U16(1).U16(1).U32(rate).U32(rate * bytesPerSample);
    out.U16(static_cast<std::uint16_t>(bytesPerSample));
    out.U16(static_cast<std::uint16_t>(bitsPerSample == 16 ? 16 : 8));
    out.Text("data").U32(dataSize);
    for (int i = 0; i < sampleCount; ++i) {
        // A triangle wave of period 4 x tone samples, fading out over the sound.
        const int period = 4 * tone;
        const int phase = i % period;
        const int wave = phase < 2 * tone ? phase - tone : 3 * tone - phase;  // -tone .. tone
        const int amplitude = 100 * (sampleCount - i) / sampleCount;
        const int value = wave * amplitude / tone;  // -100 .. 100
        if (bytesPerSample == 2)
            out.U16(static_cast<std::uint16_t>(static_cast<std::int16_t>(value * 300)));
        else
            out.U8(static_cast<std::uint8_t>(128 + value));
    }
    if (pad)
        out.U8(0);
    return out.b;
}

namespace {

// One box mesh of a model (file axes, z up): eight corners, four texture vertices spanning a
// width x height material, six quadrilateral faces of the model's material `material`.
struct BoxMesh {
    const char* m_name;
    int m_material;
    int m_width;
    int m_height;
    float m_halfX;
    float m_halfY;
    float m_halfZ;
};

float BoxRadius(const BoxMesh& box)
{
    return std::max({box.m_halfX, box.m_halfY, box.m_halfZ}) * 1.7320508f;
}

void AppendBoxMesh(CTextBuilder& t, int number, const BoxMesh& box)
{
    // Corners of the box and its faces, counter-clockwise seen from outside.
    const float hx = box.m_halfX;
    const float hy = box.m_halfY;
    const float hz = box.m_halfZ;
    const std::array<std::array<float, 3>, 8> corners = {{
        {-hx, -hy, -hz},
        {hx, -hy, -hz},
        {hx, hy, -hz},
        {-hx, hy, -hz},
        {-hx, -hy, hz},
        {hx, -hy, hz},
        {hx, hy, hz},
        {-hx, hy, hz},
    }};
    constexpr int kFaces[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4},
                                  {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
    constexpr float kFaceNormals[6][3] = {{0, 0, -1}, {0, 0, 1}, {0, -1, 0},
                                          {1, 0, 0},  {0, 1, 0}, {-1, 0, 0}};

    t.Line(FormatC("MESH %d", number))
        .Line(std::string("NAME ") + box.m_name)
        .Line("RADIUS " + FloatText(BoxRadius(box)))
        .Line("GEOMETRYMODE 4")
        .Line("LIGHTINGMODE 3")
        .Line("TEXTUREMODE 3")
        .Line()
        .Line("VERTICES 8")
        .Line("# num:     x:         y:         z:         i:");
    for (int i = 0; i < 8; ++i) {
        const auto& c = corners[static_cast<std::size_t>(i)];
        t.Line(FormatC("%6d: %10f %10f %10f %10f", i, static_cast<double>(c[0]),
                       static_cast<double>(c[1]), static_cast<double>(c[2]), 0.0));
    }
    t.Line().Line("TEXTURE VERTICES 4");
    const int uv[4][2] = {{0, 0}, {box.m_width, 0}, {box.m_width, box.m_height}, {0, box.m_height}};
    for (int i = 0; i < 4; ++i)
        t.Line(FormatC("%6d: %10f %10f", i, static_cast<double>(uv[i][0]),
                       static_cast<double>(uv[i][1])));
    t.Line().Line("VERTEX NORMALS");
    for (int i = 0; i < 8; ++i) {
        const auto& c = corners[static_cast<std::size_t>(i)];
        const auto sign = [](float v) { return v < 0 ? -0.57735f : 0.57735f; };
        t.Line(FormatC("%6d: %10f %10f %10f", i, static_cast<double>(sign(c[0])),
                       static_cast<double>(sign(c[1])), static_cast<double>(sign(c[2]))));
    }
    t.Line().Line("FACES 6");
    for (int f = 0; f < 6; ++f) {
        std::string line =
            FormatC("%6d: %4d %4d %4d %4d %4d %10f %4d", f, box.m_material, 0, 4, 3, 3, 0.0, 4);
        for (int k = 0; k < 4; ++k)
            line += FormatC(" %3d,%3d", kFaces[f][k], k);
        t.Line(line);
    }
    t.Line().Line("FACE NORMALS");
    for (int f = 0; f < 6; ++f)
        t.Line(FormatC("%6d: %10f %10f %10f", f, static_cast<double>(kFaceNormals[f][0]),
                       static_cast<double>(kFaceNormals[f][1]),
                       static_cast<double>(kFaceNormals[f][2])));
}

// One line of a hierarchy table (file axes, z up; angles in degrees).
struct HierarchyNode {
    const char* m_name;
    int m_mesh;
    int m_parent;
    int m_child;
    int m_sibling;
    int m_childCount;
    std::array<float, 3> m_position;
    std::array<float, 3> m_pivot;
};

void AppendHierarchy(CTextBuilder& t, std::span<const HierarchyNode> nodes)
{
    t.Line("SECTION: HIERARCHYDEF").Line(FormatC("HIERARCHY NODES %zu", nodes.size()));
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const HierarchyNode& n = nodes[i];
        t.Line(FormatC(
            "%6d: 0x0000 0x0001 %d %d %d %d %d %10f %10f %10f %10f %10f %10f %10f %10f "
            "%10f %s",
            static_cast<int>(i), n.m_mesh, n.m_parent, n.m_child, n.m_sibling, n.m_childCount,
            static_cast<double>(n.m_position[0]), static_cast<double>(n.m_position[1]),
            static_cast<double>(n.m_position[2]), 0.0, 0.0, 0.0, static_cast<double>(n.m_pivot[0]),
            static_cast<double>(n.m_pivot[1]), static_cast<double>(n.m_pivot[2]), n.m_name));
    }
}

// The head of a model text up to its geoset's mesh count.
void AppendModelHead(CTextBuilder& t, const std::string& title,
                     std::span<const std::string> materials, float radius, int meshCount)
{
    t.Line("# " + title).Line().Line("SECTION: HEADER").Line("3DO 2.1").Line();
    t.Line("SECTION: MODELRESOURCE").Line(FormatC("MATERIALS %zu", materials.size())).Line();
    for (std::size_t i = 0; i < materials.size(); ++i)
        t.Line(FormatC("%6zu:   %s", i, materials[i].c_str()));
    t.Line()
        .Line("SECTION: GEOMETRYDEF")
        .Line("RADIUS " + FloatText(radius))
        .Line("INSERT OFFSET 0.000000 0.000000 0.000000")
        .Line("GEOSETS 1")
        .Line()
        .Line("GEOSET 0")
        .Line(FormatC("MESHES %d", meshCount))
        .Line();
}

// A keyframe of one node: its frame, pose (x, y, z in file axes, pitch, yaw, roll in degrees) and
// the change of each per frame until the next keyframe.
struct KeyEntry {
    int m_frame;
    std::array<float, 6> m_pose;
    std::array<float, 6> m_delta;
};

struct KeyNode {
    std::string m_name;
    std::vector<KeyEntry> m_entries;
};

std::string KeyText(int frameCount, float fps, const std::vector<KeyNode>& nodes)
{
    CTextBuilder t;
    t.Line("# keyframes made for the synthetic test game")
        .Line()
        .Line("SECTION: HEADER")
        .Line("FLAGS 0x0000")
        .Line("TYPE 0x0000")
        .Line(FormatC("FRAMES %d", frameCount))
        .Line("FPS " + FloatText(fps))
        .Line(FormatC("JOINTS %zu", nodes.size()))
        .Line()
        .Line("SECTION: KEYFRAME NODES")
        .Line(FormatC("NODES %zu", nodes.size()));
    for (std::size_t n = 0; n < nodes.size(); ++n) {
        t.Line()
            .Line(FormatC("NODE %zu", n))
            .Line("MESH NAME " + nodes[n].m_name)
            .Line(FormatC("ENTRIES %zu", nodes[n].m_entries.size()));
        for (std::size_t e = 0; e < nodes[n].m_entries.size(); ++e) {
            const KeyEntry& entry = nodes[n].m_entries[e];
            std::string pose = FormatC("%4zu: %4d 0x0000", e, entry.m_frame);
            std::string delta = "     ";
            for (const float v : entry.m_pose)
                pose += FormatC(" %10f", static_cast<double>(v));
            for (const float v : entry.m_delta)
                delta += FormatC(" %10f", static_cast<double>(v));
            t.Line(pose).Line(delta);
        }
    }
    return t.Text();
}

// --- The strider: a model with a node hierarchy ---
//
// A two-legged walker (file axes, z up, standing on z = 0):
//
//   0 body    mesh 0 "body"   the root, centred at z 0.095
//   1 lleg    mesh 1 "leg"    child of body: the hip at (-0.025, 0, -0.025) from the body
//   2 lfoot   mesh 2 "lfoot"  child of lleg, 0.06 below the hip and 0.008 forward
//   3 rleg    mesh 1 "leg"    sibling of lleg: the hip at (0.025, 0, -0.025)
//   4 rfoot   mesh 3 "rfoot"  child of rleg, placed as lfoot
//
// The body wears strider.mat (model material 0), the legs and feet metal.mat (1). Both legs name
// mesh 1, a box of half height 0.03 about its centre. A mesh named by two nodes
// takes the pivot of each, so the legs' pivots (0, 0, -0.02) and (0, 0, -0.01) together hang the
// leg from its hip: it spans z -0.06 to 0 below its node. The feet hang 0.005 below their nodes.
// At rest the model spans x -0.04..0.04, y -0.03..0.03, z 0..0.12.
//
// strwalk.key walks it in 12 frames at 12 per second: keyframes at frames 0 and 6; the legs swing
// 5 degrees of pitch per frame (lleg up to 30 and back, rleg the other way), each foot turns
// against its leg so that it stays level, and the body rises 0.001 per frame and sinks again.
// strstand.key holds the rest pose.

constexpr const char* kStriderModel = "strider.3do";

// The texture sizes are taken from the materials when the text is made.
constexpr BoxMesh kStriderMeshes[] = {
    {"body", 0, 0, 0, 0.04f, 0.03f, 0.025f},
    {"leg", 1, 0, 0, 0.01f, 0.01f, 0.03f},
    {"lfoot", 1, 0, 0, 0.012f, 0.02f, 0.005f},
    {"rfoot", 1, 0, 0, 0.012f, 0.02f, 0.005f},
};

constexpr HierarchyNode kStriderNodes[] = {
    {"body", 0, -1, 1, -1, 2, {0.0f, 0.0f, 0.095f}, {0.0f, 0.0f, 0.0f}},
    {"lleg", 1, 0, 2, 3, 1, {-0.025f, 0.0f, -0.025f}, {0.0f, 0.0f, -0.02f}},
    {"lfoot", 2, 1, -1, -1, 0, {0.0f, 0.008f, -0.06f}, {0.0f, 0.0f, -0.005f}},
    {"rleg", 1, 0, 4, -1, 1, {0.025f, 0.0f, -0.025f}, {0.0f, 0.0f, -0.01f}},
    {"rfoot", 3, 3, -1, -1, 0, {0.0f, 0.008f, -0.06f}, {0.0f, 0.0f, -0.005f}},
};

std::string StriderModel()
{
    const ModelMaterial* const materials[] = {&MaterialForModel("strider"),
                                              &MaterialForModel("metal")};
    const std::string names[] = {materials[0]->m_name, materials[1]->m_name};
    CTextBuilder t;
    AppendModelHead(t, "strider.3do - a two-legged walker made for the synthetic test game", names,
                    0.13f, static_cast<int>(std::size(kStriderMeshes)));
    for (std::size_t i = 0; i < std::size(kStriderMeshes); ++i) {
        BoxMesh box = kStriderMeshes[i];
        const ModelMaterial& material = *materials[static_cast<std::size_t>(box.m_material)];
        box.m_width = material.m_width;
        box.m_height = material.m_height;
        AppendBoxMesh(t, static_cast<int>(i), box);
        t.Line();
    }
    AppendHierarchy(t, kStriderNodes);
    return t.Text();
}

// The rest pose of a node as a keyframe at frame 0 that holds still.
KeyEntry RestPose(const HierarchyNode& node)
{
    return {0, {node.m_position[0], node.m_position[1], node.m_position[2], 0, 0, 0}, {}};
}

std::string StriderWalkKey()
{
    std::vector<KeyNode> nodes;
    for (const HierarchyNode& node : kStriderNodes) {
        KeyEntry first = RestPose(node);
        KeyEntry second = first;
        second.m_frame = 6;
        const std::string name = node.m_name;
        // The swing of the node per frame on the way out: pitch, or height for the body.
        const float swing = name == "lleg" || name == "rfoot" ? 5.0f : -5.0f;
        if (name == "body") {
            first.m_delta[2] = 0.001f;
            second.m_pose[2] += 0.006f;
            second.m_delta[2] = -0.001f;
        } else {
            first.m_delta[3] = swing;
            second.m_pose[3] = 6 * swing;
            second.m_delta[3] = -swing;
        }
        nodes.push_back({name, {first, second}});
    }
    return KeyText(12, 12.0f, nodes);
}

std::string StriderStandKey()
{
    std::vector<KeyNode> nodes;
    for (const HierarchyNode& node : kStriderNodes)
        nodes.push_back({node.m_name, {RestPose(node)}});
    return KeyText(1, 1.0f, nodes);
}

}  // namespace

std::string MakeSynthetic3do(const std::string& node, const std::string& material, int width,
                             int height, float halfX, float halfY, float halfZ)
{
    const BoxMesh box{node.c_str(), 0, width, height, halfX, halfY, halfZ};
    const std::string materials[] = {material};
    CTextBuilder t;
    AppendModelHead(t, node + ".3do - a box made for the synthetic test game", materials,
                    BoxRadius(box), 1);
    AppendBoxMesh(t, 0, box);
    t.Line();
    const HierarchyNode root{node.c_str(), 0, -1, -1, -1, 0, {}, {}};
    AppendHierarchy(t, std::span(&root, 1));
    return t.Text();
}

std::string MakeSyntheticKey(const std::string& node, int frameCount, float yawPerFrame)
{
    const int middle = frameCount / 2;
    std::vector<KeyEntry> entries;
    for (const int frame : {0, middle})
        entries.push_back({frame,
                           {0, 0, 0, 0, yawPerFrame * static_cast<float>(frame), 0},
                           {0, 0, 0, 0, yawPerFrame, 0}});
    return KeyText(frameCount, 8.0f, {{node, entries}});
}

// --- The game ---

std::string SyntheticTemplateList(int product)
{
    std::string text;
    std::set<std::string> names;
    const auto add = [&text, &names](const TemplateLine& line) {
        if (names.insert(line.m_name).second)
            AppendTemplateLine(text, line.m_name, line.m_basedOn, line.m_params);
    };
    for (const TemplateLine& line : kTemplates)
        add(line);
    if (product == 1) {
        for (const TemplateLine& line : kExpansionTemplates)
            add(line);
    }
    for (const char* name : GetBuiltInTemplates(product)) {
        if (name[0] == '+')
            add({name, "_fx", "timer=0.5"});
        else
            add({name, "_item", "model3d=pickup.3do"});
    }
    return text;
}

std::string SyntheticCyclicTemplateList()
{
    std::string text;
    AppendTemplateLine(text, "_base", "none", "type=default mass=1.0");
    AppendTemplateLine(text, "loopa", "loopb", "model3d=crate.3do");
    AppendTemplateLine(text, "loopb", "loopa", "explode=+loopc");
    AppendTemplateLine(text, "+loopc", "_base", "projectile=+loopd creatething=loopa");
    AppendTemplateLine(text, "+loopd", "+loopc", "timer=1.0");
    AppendTemplateLine(text, "self", "self", "debris=self");
    AppendTemplateLine(text, "safe", "_base", "model3d=lamp.3do");
    return text;
}

CSyntheticArchives BuildSyntheticArchives(int product)
{
    const bool expansion = product == 1;
    CSyntheticArchives archives;
    CGobArchive& main = archives.m_main;
    const auto add = [&main](const std::string& path, const std::vector<std::uint8_t>& data) {
        main.Add(path, data);
    };
    const auto addText = [&main](const std::string& path, const std::string& text) {
        main.Add(path, ToBytes(text));
    };

    add("mat\\dflt.mat", MakeSyntheticMat(64, 64, 1, 0));
    add("mat\\brick.mat", MakeSyntheticMat(64, 32, 1, 1));
    add("mat\\floor.mat", MakeSyntheticMat(32, 32, 1, 2));
    add("mat\\sky.mat", MakeSyntheticMat(128, 32, 1, 3));
    add("mat\\lava.mat", MakeSyntheticMat(32, 32, 4, 4));
    add("mat\\red.mat", MakeSyntheticColorMat(CubeIndex(5, 0, 0)));
    // The siding the Create Switch dialog starts with.
    add("mat\\00red.mat", MakeSyntheticColorMat(CubeIndex(5, 0, 0)));
    if (expansion)
        add("mat\\ice.mat", MakeSyntheticMat(48, 24, 2, 5));
    // The surface effects' materials.
    add("mat\\00fwater.mat", MakeSyntheticMat(64, 64, 1, 11));
    add("mat\\00wwarny.mat", MakeSyntheticMat(32, 64, 1, 12));
    add("mat\\00wglas1.mat", MakeSyntheticMat(64, 32, 1, 13));
    add("mat\\08tgrate.mat", MakeSyntheticMat(32, 32, 1, 14));
    // A floor material that brings its own mip levels.
    add("mat\\mipfloor.mat", MakeSyntheticMipMat(32, 32, 4));

    add("misc\\cmp\\dflt.cmp", ColorMap(0));
    add("misc\\cmp\\warm.cmp", ColorMap(1));
    if (expansion)
        add("misc\\cmp\\ice.cmp", ColorMap(2));

    addText("cog\\door.cog", DoorCog());
    addText("cog\\switch.cog", SwitchCog());
    addText("cog\\00_door.cog", BuiltDoorCog());
    addText("cog\\00_elev_switch.cog", ElevatorSwitchCog());
    addText("cog\\00_doorswitch.cog", DoorSwitchCog());
    addText("cog\\10_ffieldswitch.cog", ForceFieldSwitchCog());
    addText("cog\\00_forcefield.cog", ForceFieldCog());
    addText("cog\\00_conveyor.cog", ConveyorCog("00_conveyor.cog", true));
    addText("cog\\12_conveyor.cog", ConveyorCog("12_conveyor.cog", false));
    addText("cog\\00_breakingglass.cog",
            TwoSidedSurfaceCog("00_breakingglass.cog", "Glass that shatters when hit."));
    addText("cog\\00_slashgrate.cog",
            TwoSidedSurfaceCog("00_slashgrate.cog", "A grate that a blade cuts open."));
    addText("cog\\00_slideceiling.cog", SlideCeilingCog());
    addText("cog\\00_surfanim.cog", SurfaceAnimationCog("00_surfanim.cog"));
    addText("cog\\01_neonsign.cog", SurfaceAnimationCog("01_neonsign.cog"));
    addText("cog\\00_lampbank.cog", LampBankCog());
    if (expansion)
        addText("cog\\relic.cog", RelicCog());

    addText("misc\\snd\\door.snd",
            SoundClass("door.snd - sounds of a moving door", {{"startmove", "dooropen.wav"},
                                                              {"moving", "doormove.wav"},
                                                              {"stopmove", "doorclose.wav"}}));
    addText("misc\\snd\\sm_door.snd",
            SoundClass("sm_door.snd - sounds of a small door", {{"startmove", "dooropen.wav"},
                                                                {"moving", "doormove.wav"},
                                                                {"stopmove", "doorclose.wav"}}));
    addText(
        "misc\\snd\\player.snd",
        SoundClass("player.snd - sounds of the player",
                   {{"leftfoot", "step1.wav"}, {"rightfoot", "step2.wav"}, {"jump", "jump.wav"}}));
    addText("misc\\snd\\crate.snd",
            SoundClass("crate.snd - a crate breaking", {{"destroyed", "cratebreak.wav"}}));
    if (expansion)
        addText("misc\\snd\\relic.snd",
                SoundClass("relic.snd - the hum of a relic", {{"idle", "relichum.wav"}}));

    addText("misc\\pup\\ranger.pup", RangerPuppet());
    addText("misc\\pup\\strider.pup", StriderPuppet());

    for (const ModelMaterial& material : kModelMaterials)
        add(std::string("3do\\mat\\") + material.m_name,
            MakeSyntheticMat(material.m_width, material.m_height, 1, material.m_pattern));
    for (const std::string& model : ModelNames(product)) {
        if (model == kStriderModel) {
            addText("3do\\" + model, StriderModel());
            continue;
        }
        const std::string stem = model.substr(0, model.find('.'));
        ModelShape shape{"", 0.02f, 0.02f, 0.02f};
        for (const ModelShape& known : kShapes) {
            if (stem == known.m_stem)
                shape = known;
        }
        const ModelMaterial& material = MaterialForModel(stem);
        addText("3do\\" + model,
                MakeSynthetic3do(stem, material.m_name, material.m_width, material.m_height,
                                 shape.m_halfX, shape.m_halfY, shape.m_halfZ));
    }
    addText("3do\\key\\stand.key", MakeSyntheticKey("ranger", 8, 0.0f));
    addText("3do\\key\\walk.key", MakeSyntheticKey("ranger", 16, 11.25f));
    addText("3do\\key\\run.key", MakeSyntheticKey("ranger", 8, 22.5f));
    addText("3do\\key\\strwalk.key", StriderWalkKey());
    addText("3do\\key\\strstand.key", StriderStandKey());

    for (const WavFile& wav : kSounds)
        archives.m_sound.Add(std::string("sound\\") + wav.m_name,
                             MakeSyntheticWav(wav.m_samples, wav.m_bits, wav.m_tone));
    if (expansion) {
        for (const WavFile& wav : kExpansionSounds)
            archives.m_sound.Add(std::string("sound\\") + wav.m_name,
                                 MakeSyntheticWav(wav.m_samples, wav.m_bits, wav.m_tone));
    }
    return archives;
}

void BuildSyntheticGame(const std::filesystem::path& folder)
{
    for (int product = 0; product < 2; ++product) {
        const CProductFiles& files = *GetProductFiles(product);
        const std::filesystem::path mainPath = folder / files.m_mainArchive;
        std::error_code error;
        std::filesystem::create_directories(mainPath.parent_path(), error);
        if (error)
            throw CFileException("Cannot make the folder \"" + mainPath.parent_path().string() +
                                 "\": " + error.message() + ".");
        const CSyntheticArchives archives = BuildSyntheticArchives(product);
        archives.m_main.Save(mainPath);
        archives.m_sound.Save(folder / files.m_soundArchive);
        const std::string list = SyntheticTemplateList(product);
        WriteFileAtomic(folder / files.m_templateFile, ToBytes(list));
    }
}

std::unique_ptr<CSyntheticGame> LoadSyntheticGame(const std::filesystem::path& folder, int product)
{
    const CProductFiles* files = GetProductFiles(product);
    if (!files)
        throw CFileException("There is no product " + std::to_string(product) + ".");
    const auto find = [&folder](const char* relative) {
        std::filesystem::path path = FindPathNoCase(folder, relative);
        if (path.empty())
            throw CFileException("Cannot find \"" + (folder / relative).string() + "\".");
        return path;
    };

    auto game = std::make_unique<CSyntheticGame>();
    game->m_resources.m_product = product;
    game->m_resources.m_gameFolder = folder;
    game->m_archive = std::make_unique<CGobGameArchive>(find(files->m_mainArchive));
    IndexMainArchive(game->m_resources, *game->m_archive);

    std::filesystem::path sound = FindPathNoCase(folder, files->m_soundArchive);
    if (sound.empty())
        sound = find(files->m_soundArchive2);
    game->m_soundArchive = std::make_unique<CGobGameArchive>(sound);
    IndexSoundArchive(game->m_resources, *game->m_soundArchive);

    const std::filesystem::path list = FindPathNoCase(folder, files->m_templateFile);
    if (list.empty() || !LoadTemplateFile(game->m_resources, list))
        throw CFileException("Cannot read \"" + (folder / files->m_templateFile).string() + "\".");
    return game;
}

std::unique_ptr<CSyntheticGame> MakeSyntheticGame(int product)
{
    const CSyntheticArchives archives = BuildSyntheticArchives(product);
    const auto toMemory = [](const CGobArchive& gob) {
        auto memory = std::make_unique<CMemoryGameArchive>();
        for (std::size_t i = 0; i < gob.GetEntries().size(); ++i)
            memory->Add(gob.GetEntries()[i].m_path, gob.GetData(i));
        return memory;
    };

    auto game = std::make_unique<CSyntheticGame>();
    game->m_resources.m_product = product;
    game->m_archive = toMemory(archives.m_main);
    game->m_soundArchive = toMemory(archives.m_sound);
    IndexMainArchive(game->m_resources, *game->m_archive);
    IndexSoundArchive(game->m_resources, *game->m_soundArchive);
    game->m_resources.m_templates = ReadTemplateList(SyntheticTemplateList(product));
    return game;
}
