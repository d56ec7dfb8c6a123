#include "level/QzlReader.h"

#include "framework/CFormat.h"
#include "framework/Exceptions.h"
#include "framework/FileIO.h"
#include "framework/StringUtil.h"
#include "level/LevelValidator.h"
#include "level/QzlLines.h"
#include "level/VertexUses.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

// A set of delimiter characters, tested by table (a delimiter test runs for every character of
// the longest lines of a level).
class CDelimiters {
public:
    constexpr explicit CDelimiters(std::string_view characters)
    {
        for (const char c : characters)
            m_is[static_cast<unsigned char>(c)] = true;
    }
    constexpr bool Has(char c) const { return m_is[static_cast<unsigned char>(c)]; }

private:
    bool m_is[256] = {};
};

// Splits a line at any of the given delimiter characters, skipping runs of them.
class CTokens {
public:
    CTokens(std::string_view line, const CDelimiters& delimiters)
        : m_line(line), m_delimiters(delimiters)
    {}

    bool Next(std::string_view& token)
    {
        while (m_pos < m_line.size() && m_delimiters.Has(m_line[m_pos]))
            ++m_pos;
        if (m_pos >= m_line.size())
            return false;
        const std::size_t start = m_pos;
        while (m_pos < m_line.size() && !m_delimiters.Has(m_line[m_pos]))
            ++m_pos;
        token = m_line.substr(start, m_pos - start);
        return true;
    }

    // Position just after the last token.
    std::size_t Position() const { return m_pos; }

private:
    std::string_view m_line;
    const CDelimiters& m_delimiters;
    std::size_t m_pos = 0;
};

constexpr CDelimiters kDelimiters(": ,\t\r\n");
constexpr CDelimiters kThingDelimiters(": ,\t\r\n=");

// A float from a double without leaving the float range (out-of-range values become infinite).
float ToFloat(double d)
{
    if (d > static_cast<double>(FLT_MAX))
        return std::numeric_limits<float>::infinity();
    if (d < -static_cast<double>(FLT_MAX))
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(d);
}

// Tokens are views into a NUL-terminated line and end at a delimiter, which no number conversion
// takes as part of a number; so the conversions can read from the token's first character.
std::int32_t TokenInt(std::string_view token)
{
    // The plain form of nine digits at most is read here; atoi's other cases by AtoiC.
    const char* p = token.data();
    int value = 0;
    if (scan_numbers::ParsePlainInt(p, value))
        return value;
    return AtoiC(token.data());
}

// The letters A to Z that text holds, one bit each.
constexpr std::uint32_t LettersOf(std::string_view text)
{
    std::uint32_t letters = 0;
    for (const char c : text) {
        const unsigned k = static_cast<unsigned char>(c) - unsigned{'A'};
        letters |= static_cast<std::uint32_t>(k < 26) << (k & 31);
    }
    return letters;
}

// A keyword with its letters: a line that lacks one of them cannot hold the keyword, which the
// reader of the many sector lines then spares itself from looking for.
class CKeyword {
public:
    consteval CKeyword(const char* word) : m_word(word), m_letters(LettersOf(word)) {}
    std::string_view Word() const { return m_word; }
    bool MayBeIn(std::uint32_t lineLetters) const { return (m_letters & ~lineLetters) == 0; }

private:
    std::string_view m_word;
    std::uint32_t m_letters;
};

float TokenFloat(std::string_view token)
{
    const char* p = token.data();
    double value = 0.0;
    if (ParsePlainDecimal(p, value) && p == token.data() + token.size())
        return ToFloat(value);
    return ToFloat(AtofC(token.data()));
}

// A hexadecimal number with or without "0x"; digits stop at the first other character.
std::uint32_t TokenHex(std::string_view token)
{
    std::size_t i = 0;
    if (token.size() >= 2 && token[0] == '0' && (token[1] == 'x' || token[1] == 'X'))
        i = 2;
    std::uint64_t value = 0;
    for (; i < token.size(); ++i) {
        const char c = token[i];
        int digit = 0;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            break;
        value = value * 16 + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFu)
            value = 0xFFFFFFFFu;
    }
    return static_cast<std::uint32_t>(value);
}

std::string LowerCopy(std::string_view s)
{
    return ToLowerAscii(s);
}

class CQzlReader {
public:
    CQzlReader(CQzlSections& level, std::span<const std::uint8_t> text, int product)
        : m_level(level), m_lines(text), m_varnok(product == 1),
          m_endsMidLine(!text.empty() && text.back() != '\n' && text.back() != '\r'),
          m_usesCounted(level.m_surfaces.empty())
    {}

    // What the text lacks: empty when every section it began was read to its end.
    const std::string& Missing() const { return m_missing; }
    bool OnlyText() { return m_lines.OnlyText(); }

    void Read()
    {
        try {
            ReadSections();
            PlaceSectorSurfaces();
            const bool cornersValid = TakeVertexUses();
            // Only a level without geometry to show is refused; other damaged indices stay as
            // stored, for Check to report and Clean Up to repair.
            const std::string refusal = LevelRefusal(m_level, cornersValid);
            if (!refusal.empty())
                throw CArchiveException(CArchiveException::badIndex, refusal);
        } catch (const CArchiveException& e) {
            // In a text cut short, what is missing comes first: it is the likely cause (the
            // records that the rest of the file held are missing or incomplete).
            if (!m_missing.empty() && std::string_view(e.what()).find(m_missing) != 0)
                throw CArchiveException(CArchiveException::endOfFile, m_missing + " " + e.what());
            throw;
        }
    }

private:
    // The next structural line into m_line; false (and the end flag set) at the end of the text.
    bool Next(bool keepComments = false)
    {
        if (m_lines.ReadNextLineBuf(m_line, keepComments))
            return true;
        m_eof = true;
        return false;
    }

    bool Has(std::string_view word) const { return HasKeyword(m_line, word); }

    // A line that was expected to be something else but starts a section is given back, so that
    // the main loop reads that section instead of losing it.
    bool GiveBackSectionLine()
    {
        if (!Has("SECTION"))
            return false;
        m_lines.UnreadLine();
        return true;
    }

    [[noreturn]] void Fail(const std::string& what)
    {
        // A fault in the last line of a text that stops in the middle of a line: the line was cut.
        if (m_lines.AtEnd() && m_endsMidLine) {
            m_eof = true;
            NoteCutShort();
            throw CArchiveException(CArchiveException::endOfFile, m_missing);
        }
        throw CArchiveException(CArchiveException::badFormat,
                                "Line " + std::to_string(m_lines.LineNumber()) + ": " + what);
    }

    // A name scanned with "%s" into m_name; longer names than the format allows are refused.
    std::string_view ScannedName()
    {
        const std::size_t length = std::strlen(m_name);
        if (length > kMaxNameLength)
            Fail("the name \"" + std::string(m_name, 24) + "...\" is " + std::to_string(length) +
                 " characters long; names may have at most " + std::to_string(kMaxNameLength) +
                 ".");
        return std::string_view(m_name, length);
    }

    bool IsEndLine() const { return m_line.compare(0, 3, "END") == 0; }

    // Notes (the first time only) that the section being read is cut short: the text ended
    // inside it, or a section line came before the entries its count announced.
    void NoteCutShort(const std::string& detail = {})
    {
        if (!m_missing.empty())
            return;
        m_missing = m_eof ? "The file ends inside the " + m_section + " section"
                          : "The " + m_section + " section ends early";
        m_missing += detail.empty() ? "." : ": " + detail + ".";
    }

    // Of read entries, those that are whole: at the end of a text that stops in the middle of a
    // line, the last entry read was cut.
    std::size_t Complete(std::size_t read) const
    {
        return m_eof && m_endsMidLine && read > 0 ? read - 1 : read;
    }

    // "6 of 20 sectors": entries read of those a count line announced.
    static std::string OfCount(std::size_t read, int announced, const char* what)
    {
        return std::to_string(read) + " of " + std::to_string(announced) + " " + what;
    }

    // A list that ends with an "end" line and whose count the writer makes larger than the list
    // (sounds, models, keyframes, cogs, things): only the entries read are meaningful.
    static std::string WithoutEndLine(std::size_t read, const char* what)
    {
        return std::string(what) + " " + std::to_string(read) + " read, no \"end\" line";
    }

    // What a list of read entries lacks, for a list whose count is exact or inflated.
    static std::string ListShortfall(std::size_t read, int announced, const char* what,
                                     bool exactCount)
    {
        if (announced < 0)
            return {};
        return exactCount ? OfCount(read, announced, what) : WithoutEndLine(read, what);
    }

    // A line that begins with "SECTION" can set no field of a keyword loop (every keyword scan
    // needs its keyword at the line's start), so the loop ends there and gives the line back.
    bool GiveBackSectionStart()
    {
        const std::size_t first = m_line.find_first_not_of(" \t");
        if (first == std::string::npos || m_line.compare(first, 7, "SECTION") != 0)
            return false;
        m_lines.UnreadLine();
        return true;
    }

    // Whether the section line in m_line is section name; the name is then the current one.
    bool Section(const char* name)
    {
        if (!Has(name))
            return false;
        m_section = name;
        return true;
    }

    void ReadSections()
    {
        while (!m_eof) {
            if (!Next())
                return;
            if (!Has("SECTION"))
                continue;
            if (Section("QZ"))
                m_level.m_gameTag = "QZ";
            else if (Section("COPYRIGHT"))
                ReadCopyright();
            else if (Section("HEADER"))
                ReadHeader();
            else if (Section("SOUNDS"))
                ReadList("WORLD SOUNDS", m_level.m_sounds, false, "sounds", false);
            else if (Section("MATERIALS"))
                ReadMaterials();
            else if (Section("GEORESOURCE"))
                ReadGeoResource();
            else if (Section("SECTORS"))
                ReadSectors();
            else if (Section("AICLASS"))
                ReadList("WORLD AICLASSES", m_level.m_aiClasses, true, "AI classes", true);
            else if (Section("MODELS"))
                ReadList("WORLD MODELS", m_level.m_models, true, "models", false);
            else if (Section("SPRITES"))
                ReadList("WORLD SPRITES", m_level.m_sprites, true, "sprites", true);
            else if (Section("KEYFRAMES"))
                ReadList("WORLD KEYFRAMES", m_level.m_keyframes, true, "keyframes", false);
            else if (Section("ANIMCLASS"))
                ReadList("WORLD PUPPETS", m_level.m_puppets, true, "puppets", true);
            else if (Section("SOUNDCLASS"))
                ReadList("WORLD SOUNDCLASSES", m_level.m_soundClasses, true, "sound classes", true);
            else if (Section("COGSCRIPTS"))
                ReadList("WORLD SCRIPTS", m_level.m_cogScripts, true, "cog scripts", true);
            else if (Section("COGS"))
                ReadCogs();
            else if (Section("TEMPLATES"))
                ReadTemplates();
            else if (Section("THINGS"))
                ReadThings();
        }
    }

    // A name list; what (e.g. "sounds") names its entries in a note of a list cut short, and
    // exactCount says whether its count is the number of entries.
    void ReadList(std::string_view keyword, std::vector<std::string>& list, bool withIndex,
                  const char* what, bool exactCount)
    {
        const std::size_t before = list.size();
        int announced = -1;
        if (ReadKeywordLine(m_lines, m_line, keyword, list, withIndex, &announced) == 1) {
            m_eof = true;
            NoteCutShort(
                ListShortfall(Complete(list.size() - before), announced, what, exactCount));
        }
    }

    // Skips lines up to the one holding keyword and scans its count. False at the end of the text
    // or at a section line (given back).
    bool FindCountLine(std::string_view keyword, int& count)
    {
        for (;;) {
            if (!Next()) {
                NoteCutShort();
                return false;
            }
            if (Has(keyword)) {
                count = 0;
                ScanKeywordCount(m_line, keyword, count);
                return true;
            }
            if (GiveBackSectionLine())
                return false;
        }
    }

    void ReadCopyright()
    {
        for (;;) {
            if (!m_lines.ReadLine(m_line)) {
                m_eof = true;
                NoteCutShort();
                return;
            }
            if (m_line.empty())
                return;
            m_level.m_notices.push_back(m_line + "\n");
            if (HasKeyword(m_line, kNoticeMarker))
                return;
        }
    }

    void ReadHeader()
    {
        CQzlHeader& h = m_level.m_header;
        const char* line = nullptr;
        for (;;) {
            if (!Next()) {
                NoteCutShort();
                return;
            }
            if (GiveBackSectionStart())
                return;
            line = m_line.c_str();
            if (Has("VERSION")) {
                ScanNumbersOf<"VERSION %d">(line, &h.m_version);
            } else if (Has("WORLD GRAVITY")) {
                ScanNumbersOf<"WORLD GRAVITY %f">(line, &h.m_worldGravity);
            } else if (Has("CEILING SKY Z")) {
                ScanNumbersOf<"CEILING SKY Z %f">(line, &h.m_ceilingSkyZ);
            } else if (Has("HORIZON DISTANCE")) {
                ScanNumbersOf<"HORIZON DISTANCE %f">(line, &h.m_horizonDistance);
            } else if (Has("HORIZON PIXELS PER REV")) {
                ScanNumbersOf<"HORIZON PIXELS PER REV %f">(line, &h.m_horizonPixelsPerRev);
            } else if (Has("HORIZON SKY OFFSET")) {
                ScanNumbersOf<"HORIZON SKY OFFSET %f %f">(line, &h.m_horizonSkyOffset[0],
                                                          &h.m_horizonSkyOffset[1]);
            } else if (Has("CEILING SKY OFFSET")) {
                ScanNumbersOf<"CEILING SKY OFFSET %f %f">(line, &h.m_ceilingSkyOffset[0],
                                                          &h.m_ceilingSkyOffset[1]);
            } else if (Has("MIPMAP DISTANCES")) {
                ScanNumbersOf<"MIPMAP DISTANCES %f %f %f %f">(
                    line, &h.m_mipmapDistances[0], &h.m_mipmapDistances[1], &h.m_mipmapDistances[2],
                    &h.m_mipmapDistances[3]);
            } else if (Has("LOD DISTANCES")) {
                ScanNumbersOf<"LOD DISTANCES %f %f %f %f">(
                    line, &h.m_lodDistances[0], &h.m_lodDistances[1], &h.m_lodDistances[2],
                    &h.m_lodDistances[3]);
            } else if (Has("PERSPECTIVE DISTANCE")) {
                ScanNumbersOf<"PERSPECTIVE DISTANCE %f">(line, &h.m_perspectiveDistance);
            } else if (Has("GOURAUD DISTANCE")) {
                ScanNumbersOf<"GOURAUD DISTANCE %f">(line, &h.m_gouraudDistance);
                return;
            } else if (GiveBackSectionLine()) {
                return;
            }
        }
    }

    void ReadMaterials()
    {
        int count = 0;
        if (!FindCountLine("WORLD MATERIALS", count))
            return;
        for (int i = 0; i < count; ++i) {
            if (!Next()) {
                NoteCutShort(OfCount(Complete(static_cast<std::size_t>(i)), count, "materials"));
                return;
            }
            if (IsEndLine())
                return;
            auto material = std::make_unique<CQzlMaterial>();
            int index = 0;
            m_name[0] = '\0';
            ScanC(m_line.c_str(), "%d: %2048s %f %f", &index, m_name, &material->m_xTile,
                  &material->m_yTile);
            material->m_name = ScannedName();
            m_level.m_materials.push_back(std::move(material));
        }
    }

    // The six subsections in their fixed order, started over at the colour maps whenever the
    // surfaces or the normals are not where they belong. Ends after the normals, at the end of the
    // text, or at a section line.
    void ReadGeoResource()
    {
        for (;;) {
            const std::size_t colormaps = m_level.m_colormaps.size();
            int announced = -1;
            const int list = ReadKeywordLine(m_lines, m_line, "WORLD COLORMAPS",
                                             m_level.m_colormaps, true, &announced);
            if (list == 1) {
                m_eof = true;
                NoteCutShort(ListShortfall(Complete(m_level.m_colormaps.size() - colormaps),
                                           announced, "colour maps", true));
                return;
            }
            if (list == 2)
                return;

            if (!NextInGeoResource())
                return;
            if (Has("WORLD VERTICES")) {
                if (!ReadCounted(
                        "WORLD VERTICES", "world vertices", m_level.m_worldVertices, [this] {
                            CWorldVertex v;
                            int index = 0;
                            ScanNumbersOf<"%d: %f %f %f">(m_line.c_str(), &index, &v.x, &v.z, &v.y);
                            m_level.m_worldVertices.push_back(v);
                        }))
                    return;
            } else if (GiveBackSectionLine()) {
                return;
            }

            if (!NextInGeoResource())
                return;
            if (Has("WORLD TEXTURE VERTICES")) {
                if (!ReadCounted("WORLD TEXTURE VERTICES", "texture vertices",
                                 m_level.m_textureVertices, [this] {
                                     CWorldVertex v;
                                     int index = 0;
                                     ScanNumbersOf<"%d: %f %f">(m_line.c_str(), &index, &v.extra[3],
                                                                &v.extra[4]);
                                     m_level.m_textureVertices.push_back(v);
                                 }))
                    return;
            } else if (GiveBackSectionLine()) {
                return;
            }

            if (!NextInGeoResource())
                return;
            if (Has("WORLD ADJOINS")) {
                if (!ReadCounted("WORLD ADJOINS", "adjoins", m_level.m_adjoins, [this] {
                        auto adjoin = std::make_unique<CQzlAdjoin>();
                        int index = 0;
                        ScanNumbersOf<"%d: %x %d %f">(m_line.c_str(), &index, &adjoin->m_flags,
                                                      &adjoin->m_mirror, &adjoin->m_dist);
                        m_level.m_adjoins.push_back(std::move(adjoin));
                    }))
                    return;
            } else if (GiveBackSectionLine()) {
                return;
            }

            if (!NextInGeoResource())
                return;
            if (!Has("WORLD SURFACES")) {
                if (GiveBackSectionLine())
                    return;
                continue;
            }
            int count = 0;
            if (!ReadCounted(
                    "WORLD SURFACES", "surfaces", m_level.m_surfaces, [this] { ReadSurface(); },
                    &count))
                return;

            if (!Next(true)) {
                NoteCutShort(OfCount(0, count, "surface normals"));
                return;
            }
            if (!Has("SURFACE NORMALS")) {
                if (GiveBackSectionLine())
                    return;
                continue;
            }
            int normal = 0;
            ReadEntries(count, "surface normals", [this, &normal] {
                const auto i = static_cast<std::size_t>(normal++);
                CVector3 n;
                const bool exists = i < m_level.m_surfaces.size();
                if (exists)
                    n = m_level.m_surfaces[i]->m_normal;
                int index = 0;
                ScanNumbersOf<"%d: %f %f %f">(m_line.c_str(), &index, &n.x, &n.z, &n.y);
                if (exists)
                    m_level.m_surfaces[i]->m_normal = n;
            });
            return;
        }
    }

    // The next line of the GEORESOURCE section; false (the cut noted) at the end of the text.
    bool NextInGeoResource()
    {
        if (Next())
            return true;
        NoteCutShort();
        return false;
    }

    // count entry lines of numbers, each handed to readEntry. These lists have no "end" line: the
    // text ending first, or a section line among them (given back), cuts the section short;
    // false then. A count line of the next list ("World ...") among them is given back as well,
    // and the section goes on with it.
    template <typename ReadEntry>
    bool ReadEntries(int count, const char* what, ReadEntry&& readEntry)
    {
        for (int i = 0; i < count; ++i) {
            const bool ended = !Next();
            if (ended || GiveBackSectionLine()) {
                NoteCutShort(OfCount(Complete(static_cast<std::size_t>(i)), count, what));
                return false;
            }
            if (Has("WORLD ")) {
                m_lines.UnreadLine();
                NoteCutShort(OfCount(static_cast<std::size_t>(i), count, what));
                return true;
            }
            readEntry();
        }
        return true;
    }

    // The counted list whose count line is in m_line; its count goes to *announced.
    // The entries are appended to list, which is made large enough for them at once; the count
    // is believed only as far as the rest of the text could hold that many entry lines.
    template <typename List, typename ReadEntry>
    bool ReadCounted(std::string_view keyword, const char* what, List& list, ReadEntry&& readEntry,
                     int* announced = nullptr)
    {
        int count = 0;
        ScanKeywordCount(m_line, keyword, count);
        if (announced != nullptr)
            *announced = count;
        constexpr std::size_t kShortestEntryLine = 8;  // "0: 0 0\n" and the like
        const std::size_t room = m_lines.Remaining() / kShortestEntryLine;
        if (count > 0)
            list.reserve(list.size() + std::min(static_cast<std::size_t>(count), room));
        const bool whole = ReadEntries(count, what, readEntry);
        // Room made for entries that were not there is given back.
        if (list.capacity() / 2 > list.size())
            list.shrink_to_fit();
        return whole;
    }

    // Counts a corner's use of world vertex w while the corner is at hand, for TakeVertexUses. A
    // corner naming a vertex not read (yet) leaves the counting to CountVertexUses.
    void CountUse(std::int32_t w)
    {
        const std::size_t worlds = m_level.m_worldVertices.size();
        if (w < 0 || static_cast<std::size_t>(w) >= worlds) {
            m_usesCounted = false;
            return;
        }
        if (m_uses.size() < worlds)
            m_uses.resize(worlds, 0);
        ++m_uses[static_cast<std::size_t>(w)];
    }

    // The use counts of the world vertices (CountVertexUses) and whether every corner names a
    // world vertex: those counted as the surfaces were read when every corner could be.
    bool TakeVertexUses()
    {
        if (!m_usesCounted)
            return CountVertexUses(m_level);
        // Vertices read after the last surface are named by no corner.
        m_uses.resize(m_level.m_worldVertices.size(), 0);
        m_level.m_useCounts = std::move(m_uses);
        return true;
    }

    void ReadSurface()
    {
        const std::size_t surfaceIndex = m_level.m_surfaces.size();
        auto surface = std::make_unique<CQzlSurface>();
        CTokens tokens(m_line, kDelimiters);
        std::string_view t;
        // Fields that the line does not hold keep their defaults.
        if (tokens.Next(t) && tokens.Next(t)) {
            surface->m_material = TokenInt(t);
            if (tokens.Next(t))
                surface->m_surfaceFlags = TokenHex(t);
            if (tokens.Next(t))
                surface->m_faceFlags = TokenHex(t);
            if (tokens.Next(t))
                surface->m_geo = TokenInt(t);
            if (tokens.Next(t))
                surface->m_light = TokenInt(t);
            if (tokens.Next(t))
                surface->m_tex = TokenInt(t);
            if (tokens.Next(t))
                surface->m_adjoin = TokenInt(t);
            if (tokens.Next(t))
                surface->m_extraLight = TokenFloat(t);
        }
        int corners = 0;
        if (tokens.Next(t))
            corners = TokenInt(t);
        const std::size_t textureCount = m_level.m_textureVertices.size();
        // A line of at most kMaxLine characters holds at most half as many pairs.
        if (corners > 0)
            surface->m_vertices.reserve(
                std::min(static_cast<std::size_t>(corners), CQzlLineReader::kMaxLine / 2));
        for (int i = 0; i < corners; ++i) {
            std::string_view worldToken;
            std::string_view textureToken;
            if (!tokens.Next(worldToken) || !tokens.Next(textureToken))
                Fail("surface " + std::to_string(surfaceIndex) + " announces " +
                     std::to_string(corners) + " corners but lists " + std::to_string(i) + ".");
            const std::int32_t world = TokenInt(worldToken);
            const std::int32_t texture = TokenInt(textureToken);
            if (texture >= 0 && static_cast<std::size_t>(texture) >= textureCount)
                Fail("surface " + std::to_string(surfaceIndex) + " names texture vertex " +
                     std::to_string(texture) + ", but the file holds " +
                     std::to_string(textureCount) + ".");
            CQzlVertex& corner = surface->m_vertices.emplace_back();
            corner.m_worldVertex = world;
            corner.m_textureVertex = texture;
            if (texture >= 0) {
                const CWorldVertex& tv =
                    m_level.m_textureVertices[static_cast<std::size_t>(texture)];
                corner.m_u = tv.extra[3];
                corner.m_v = tv.extra[4];
            }
            CountUse(world);
        }
        // Intensities corner by corner, as many as the line holds; the rest keep 1.0.
        const std::size_t perCorner = m_varnok ? 4 : 1;
        const std::size_t values = surface->m_vertices.size() * perCorner;
        for (std::size_t k = 0; k < values && tokens.Next(t); ++k)
            surface->m_vertices[k / perCorner].m_intensity[k % perCorner] = TokenFloat(t);
        m_level.m_surfaces.push_back(std::move(surface));
    }

    void ReadSectors()
    {
        int count = 0;
        if (!FindCountLine("WORLD SECTORS", count))
            return;
        for (int i = 0; i < count; ++i) {
            if (!ReadSector()) {
                NoteCutShort(OfCount(static_cast<std::size_t>(i), count, "sectors"));
                return;
            }
        }
    }

    // One sector up to its SURFACES line. False when the text or the section ended first; the
    // sector is then still kept when any of its lines was read.
    bool ReadSector()
    {
        auto sector = std::make_unique<CQzlSector>();
        sector->m_sound = -1;
        sector->m_soundVolume = 0.0f;
        bool anything = false;
        auto keep = [&] {
            if (anything)
                m_level.m_sectors.push_back(std::move(sector));
        };
        CQzlSector& s = *sector;
        for (;;) {
            if (!Next() || GiveBackSectionStart()) {
                keep();
                return false;
            }
            const char* line = m_line.c_str();
            const std::uint32_t letters = LettersOf(m_line);
            const auto HasWord = [this, letters](CKeyword k) {
                return k.MayBeIn(letters) && HasKeyword(m_line, k.Word());
            };
            if (HasWord("SECTOR")) {
                ScanNumbersOf<"SECTOR %d">(line, &s.m_number);
            } else if (HasWord("FLAGS")) {
                ScanNumbersOf<"FLAGS %x">(line, &s.m_flags);
            } else if (HasWord("AMBIENT LIGHT")) {
                ScanNumbersOf<"AMBIENT LIGHT %f">(line, &s.m_ambientLight);
            } else if (HasWord("EXTRA LIGHT")) {
                ScanNumbersOf<"EXTRA LIGHT %f">(line, &s.m_extraLight);
            } else if (HasWord("COLORMAP")) {
                ScanNumbersOf<"COLORMAP %d">(line, &s.m_colormap);
            } else if (HasWord("TINT")) {
                ScanNumbersOf<"TINT %f %f %f">(line, &s.m_tint[0], &s.m_tint[1], &s.m_tint[2]);
            } else if (HasWord("BOUNDBOX")) {
                CBoundingBox& b = s.m_boundBox;
                ScanNumbersOf<"BOUNDBOX %f %f %f %f %f %f">(line, &b.min.x, &b.min.z, &b.min.y,
                                                            &b.max.x, &b.max.z, &b.max.y);
            } else if (HasWord("COLLIDEBOX")) {
                CBoundingBox& b = s.m_collideBox;
                ScanNumbersOf<"COLLIDEBOX %f %f %f %f %f %f">(line, &b.min.x, &b.min.z, &b.min.y,
                                                              &b.max.x, &b.max.z, &b.max.y);
            } else if (HasWord("SOUND")) {
                m_name[0] = '\0';
                if (ScanC(line, "SOUND %2048s %f", m_name, &s.m_soundVolume) >= 1) {
                    const std::string_view name = ScannedName();
                    for (std::size_t k = 0; k < m_level.m_sounds.size(); ++k) {
                        if (EqualsNoCase(m_level.m_sounds[k], name)) {
                            s.m_sound = static_cast<std::int32_t>(k);
                            break;
                        }
                    }
                }
            } else if (HasWord("CENTER")) {
                ScanNumbersOf<"CENTER %f %f %f">(line, &s.m_center.x, &s.m_center.z, &s.m_center.y);
            } else if (HasWord("RADIUS")) {
                ScanNumbersOf<"RADIUS %f">(line, &s.m_radius);
            } else if (HasWord("VERTICES")) {
                int vertices = 0;
                ScanNumbersOf<"VERTICES %d">(line, &vertices);
                anything = true;
                for (int k = 0; k < vertices; ++k) {
                    if (!Next()) {
                        keep();
                        return false;
                    }
                }
                continue;
            } else if (HasWord("SURFACES")) {
                int first = 0;
                int surfaces = 0;
                ScanNumbersOf<"SURFACES %d %d">(line, &first, &surfaces);
                // The list is made once the whole file is read: the surfaces may come later.
                m_sectorRuns.push_back({m_level.m_sectors.size(), first, surfaces});
                m_level.m_sectors.push_back(std::move(sector));
                return true;
            } else {
                if (GiveBackSectionLine()) {
                    keep();
                    return false;
                }
                continue;
            }
            anything = true;
        }
    }

    // Gives every sector its run of surfaces; a run outside the surfaces read is an error.
    void PlaceSectorSurfaces()
    {
        const std::int64_t surfaces = static_cast<std::int64_t>(m_level.m_surfaces.size());
        for (const CSectorRun& run : m_sectorRuns) {
            if (run.count <= 0)
                continue;
            const std::int64_t first = run.first;
            const std::int64_t last = first + run.count - 1;
            if (first < 0 || last >= surfaces)
                throw CArchiveException(CArchiveException::badIndex,
                                        "The level is damaged: sector " +
                                            std::to_string(run.sector) + " lists the surfaces " +
                                            std::to_string(first) + " to " + std::to_string(last) +
                                            ", but the file holds " + std::to_string(surfaces) +
                                            ".");
            std::vector<std::int32_t>& list = m_level.m_sectors[run.sector]->m_surfaces;
            list.reserve(static_cast<std::size_t>(run.count));
            for (std::int64_t k = first; k <= last; ++k)
                list.push_back(static_cast<std::int32_t>(k));
        }
    }

    void ReadCogs()
    {
        int count = 0;
        if (!FindCountLine("WORLD COGS", count))
            return;
        for (int i = 0; i < count; ++i) {
            if (!Next()) {
                NoteCutShort(WithoutEndLine(Complete(static_cast<std::size_t>(i)), "cogs"));
                return;
            }
            if (IsEndLine())
                return;
            auto cog = std::make_unique<CQzlCog>();
            CTokens tokens(m_line, kDelimiters);
            std::string_view t;
            if (tokens.Next(t) && tokens.Next(t)) {
                cog->m_script.assign(t);
                while (tokens.Next(t))
                    cog->m_values.emplace_back(t);
            }
            m_level.m_cogs.push_back(std::move(cog));
        }
    }

    void ReadTemplates()
    {
        int count = 0;
        if (!FindCountLine("WORLD TEMPLATES", count))
            return;
        for (int i = 0; i < count; ++i) {
            if (!Next()) {
                NoteCutShort(OfCount(Complete(static_cast<std::size_t>(i)), count, "templates"));
                return;
            }
            if (IsEndLine())
                return;
            auto tpl = std::make_unique<CQzlTemplate>();
            CTokens tokens(m_line, kDelimiters);
            std::string_view t;
            if (tokens.Next(t)) {
                tpl->m_name = LowerCopy(t);
                if (tokens.Next(t)) {
                    tpl->m_basedOn = LowerCopy(t);
                    // The parameters: the rest of the line after the delimiter that ends the
                    // based-on name, without leading blanks.
                    std::size_t p = tokens.Position();
                    if (p < m_line.size())
                        ++p;
                    while (p < m_line.size() && (m_line[p] == ' ' || m_line[p] == '\t'))
                        ++p;
                    tpl->m_params = LowerCopy(std::string_view(m_line).substr(p));
                }
            }
            const std::size_t at = tpl->m_params.find("model3d=");
            if (at != std::string::npos) {
                const std::size_t start = at + 8;
                const std::size_t end = tpl->m_params.find_first_of(" \t", start);
                tpl->m_model = tpl->m_params.substr(
                    start, end == std::string::npos ? std::string::npos : end - start);
            }
            m_level.m_templates.push_back(std::move(tpl));
        }
    }

    void ReadThings()
    {
        int count = 0;
        if (!FindCountLine("WORLD THINGS", count))
            return;
        for (int i = 0; i < count; ++i) {
            if (!Next()) {
                NoteCutShort(WithoutEndLine(Complete(static_cast<std::size_t>(i)), "things"));
                return;
            }
            if (IsEndLine())
                return;
            ReadThing();
        }
    }

    // One key token as a string of its own, so that a scan of it cannot run into the next token.
    const char* TokenText(std::string_view token)
    {
        m_token.assign(token);
        return m_token.c_str();
    }

    void ReadThing()
    {
        auto thing = std::make_unique<CQzlThing>();
        CQzlThing& th = *thing;
        CTokens tokens(m_line, kThingDelimiters);
        std::string_view t;
        // Columns: index, template, name, X, Y, Z, Pitch, Yaw, Roll, sector (fields the line does
        // not hold keep their defaults).
        float* const angles[3] = {&th.m_roll, &th.m_yaw, &th.m_pitch};
        float* const position[3] = {&th.m_position.x, &th.m_position.z, &th.m_position.y};
        bool columns = tokens.Next(t) && tokens.Next(t);
        if (columns) {
            th.m_template.assign(t);
            columns = tokens.Next(t);
        }
        if (columns) {
            th.m_name.assign(t);
            for (float* f : position) {
                columns = columns && tokens.Next(t);
                if (columns)
                    *f = TokenFloat(t);
            }
            for (float* f : angles) {
                columns = columns && tokens.Next(t);
                if (columns)
                    *f = TokenFloat(t);
            }
        }
        if (columns && tokens.Next(t)) {
            th.m_sector = TokenInt(t);
            if (m_varnok && tokens.Next(t))
                th.m_spareIndex = TokenInt(t);
            while (tokens.Next(t)) {
                if (HasKeyword(t, "THINGFLAGS")) {
                    if (tokens.Next(t))
                        ScanNumbersOf<"%X">(TokenText(t), &th.m_thingFlags);
                } else if (HasKeyword(t, "NUMFRAMES")) {
                    tokens.Next(t);
                } else if (HasKeyword(t, "FRAME")) {
                    CWorldVertex frame;
                    if (tokens.Next(t)) {
                        ScanNumbersOf<"(%f/%f/%f">(TokenText(t), &frame.x, &frame.z, &frame.y);
                        if (tokens.Next(t))
                            ScanNumbersOf<"%f/%f/%f)">(TokenText(t), &frame.extra[0],
                                                       &frame.extra[2], &frame.extra[1]);
                    }
                    th.m_frames.push_back(frame);
                } else if (HasKeyword(t, "VEL")) {
                    if (tokens.Next(t))
                        ScanNumbersOf<"(%f/%f/%f)">(TokenText(t), &th.m_velocity.x,
                                                    &th.m_velocity.z, &th.m_velocity.y);
                } else if (HasKeyword(t, "AICLASS")) {
                    if (tokens.Next(t))
                        th.m_aiClass.assign(t);
                }
            }
        }
        m_level.m_things.push_back(std::move(thing));
    }

    struct CSectorRun {
        std::size_t sector;
        std::int32_t first;
        std::int32_t count;
    };

    CQzlSections& m_level;
    CQzlLineReader m_lines;
    bool m_varnok;
    bool m_endsMidLine;  // the text's last line has no line end
    bool m_eof = false;
    std::string m_section;  // the section being read, named in m_missing
    std::string m_missing;  // what the text lacks (NoteCutShort)
    std::string m_line;
    std::string m_token;
    char m_name[CQzlLineReader::kMaxLine + 1] = {};
    std::vector<CSectorRun> m_sectorRuns;
    // The use counts (CountUse); they hold every corner only when the level had no surfaces
    // before the read.
    std::vector<std::int32_t> m_uses;
    bool m_usesCounted;
};

}  // namespace

std::string ReadQzl(CQzlSections& level, std::span<const std::uint8_t> text, int product,
                    bool* onlyText)
{
    CQzlReader reader(level, text, product);
    reader.Read();
    if (onlyText != nullptr)
        *onlyText = reader.OnlyText();
    return reader.Missing();
}

CQzlSections ReadWholeQzl(std::span<const std::uint8_t> text, int product, bool* onlyText)
{
    CQzlSections level;
    const std::string missing = ReadQzl(level, text, product, onlyText);
    if (!missing.empty())
        throw CArchiveException(CArchiveException::endOfFile, missing);
    return level;
}

CQzlSections LoadQzlFile(const std::filesystem::path& path, int product)
{
    return ReadWholeQzl(ReadFileBuffer(path), product);
}
