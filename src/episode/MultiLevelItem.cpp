#include "episode/MultiLevelItem.h"

#include "framework/Archive.h"
#include "framework/CFormat.h"

#include <tuple>

QZ_IMPLEMENT_SERIAL(CMultiLevelItem, 1)

namespace {

// The smallest stored record: version, three empty strings, eight words, three empty lists.
constexpr std::size_t kMinRecordBytes = 4 + 3 * 1 + 8 * 4 + 3 * 2;

[[noreturn]] void Refuse(const std::string& what)
{
    throw CArchiveException(CArchiveException::badFormat, "Damaged level entry: " + what + ".");
}

}  // namespace

bool CMultiLevelItem::operator==(const CMultiLevelItem& o) const
{
    auto fields = [](const CMultiLevelItem& x) {
        return std::tie(x.m_version, x.m_levelPath, x.m_levelTitle, x.m_fileName, x.m_lineNumber,
                        x.m_gotoA, x.m_gotoB, x.m_levelType, x.m_lightPower, x.m_darkPower,
                        x.m_goalsBase, x.m_cogsBase, x.m_goals, x.m_texts, x.m_cogs);
    };
    return fields(*this) == fields(o);
}

void CMultiLevelItem::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteInt(m_version);
        ar.WriteString(m_levelPath);
        ar.WriteString(m_levelTitle);
        ar.WriteString(m_fileName);
        for (std::int32_t v : {m_lineNumber, m_gotoA, m_gotoB, m_levelType, m_lightPower,
                               m_darkPower, m_goalsBase, m_cogsBase})
            ar.WriteInt(v);
        ar.WriteStringList(m_goals);
        ar.WriteStringList(m_texts);
        ar.WriteStringList(m_cogs);
        return;
    }

    // Read into a fresh record so that a refusal leaves this one untouched.
    CMultiLevelItem in;
    in.m_version = ar.ReadInt();
    if (in.m_version != kVersion)
        Refuse(FormatC("unknown version %d", in.m_version));
    in.m_levelPath = ar.ReadString();
    in.m_levelTitle = ar.ReadString();
    in.m_fileName = ar.ReadString();
    for (std::int32_t* v : {&in.m_lineNumber, &in.m_gotoA, &in.m_gotoB, &in.m_levelType,
                            &in.m_lightPower, &in.m_darkPower, &in.m_goalsBase, &in.m_cogsBase})
        *v = ar.ReadInt();
    if (in.m_levelType < levelLevel || in.m_levelType > levelDecide)
        Refuse(FormatC("level type %d", in.m_levelType));
    if (in.m_lightPower < 0 || in.m_lightPower >= kPowerCount)
        Refuse(FormatC("light power %d", in.m_lightPower));
    if (in.m_darkPower < 0 || in.m_darkPower >= kPowerCount)
        Refuse(FormatC("dark power %d", in.m_darkPower));
    ar.ReadStringList(in.m_goals);
    ar.ReadStringList(in.m_texts);
    ar.ReadStringList(in.m_cogs);
    *this = std::move(in);
}

std::vector<std::uint8_t> WriteMultiLevelBytes(const CMultiLevelList& list)
{
    CClassRegistry registry;
    CArchive ar(registry);
    ar.WriteInt(static_cast<std::int32_t>(list.m_items.size()));
    for (const auto& item : list.m_items)
        item->Serialize(ar);
    ar.WriteString(list.m_masterTitle);
    ar.WriteInt(list.m_masterType);
    return ar.TakeBuffer();
}

CMultiLevelList ReadMultiLevelBytes(std::span<const std::uint8_t> bytes)
{
    CClassRegistry registry;
    CArchive ar(registry, bytes);
    CMultiLevelList list;
    const std::int32_t count = ar.ReadInt();
    if (count < 0 || static_cast<std::uint64_t>(count) * kMinRecordBytes > ar.Remaining())
        throw CArchiveException(
            CArchiveException::badFormat,
            FormatC("Damaged multi-level file: %d levels do not fit in it.", count));
    list.m_items.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        auto item = std::make_unique<CMultiLevelItem>();
        item->Serialize(ar);
        list.m_items.push_back(std::move(item));
    }
    list.m_masterTitle = ar.ReadString();
    list.m_masterType = ar.ReadInt();
    if (!ar.AtEnd())
        throw CArchiveException(CArchiveException::badFormat,
                                "Damaged multi-level file: unexpected bytes after its end.");
    return list;
}
