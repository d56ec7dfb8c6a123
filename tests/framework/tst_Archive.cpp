#include "framework/Archive.h"

#include "ByteBuilder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// A small record with two schemas: schema 1 holds a value, schema 2 adds a name.
class CTestRecord : public CObject {
    QZ_DECLARE_SERIAL(CTestRecord)
public:
    std::int32_t m_value = 0;
    std::string m_name = "none";
    std::uint16_t m_loadedSchema = 0;

    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar.WriteInt(m_value);
            ar.WriteString(m_name);
        } else {
            m_loadedSchema = ar.GetObjectSchema();
            m_value = ar.ReadInt();
            if (m_loadedSchema >= 2)
                m_name = ar.ReadString();
        }
    }
};
QZ_IMPLEMENT_SERIAL(CTestRecord, 2)

class COtherRecord : public CObject {
    QZ_DECLARE_SERIAL(COtherRecord)
};
QZ_IMPLEMENT_SERIAL(COtherRecord, 1)

const CClassRegistry& Registry()
{
    static const CClassRegistry reg = [] {
        CClassRegistry r;
        r.Add(g_classCObArray);
        r.Add(CTestRecord::StaticClass());
        r.Add(COtherRecord::StaticClass());
        return r;
    }();
    return reg;
}

// Builds expected archive bytes by hand.

template <class F>
CArchiveException::Cause LoadFails(const Bytes& bytes, F read)
{
    CArchive ar(Registry(), bytes);
    try {
        read(ar);
    } catch (const CArchiveException& e) {
        EXPECT_STRNE(e.what(), "");
        return e.GetCause();
    }
    ADD_FAILURE() << "no exception";
    return CArchiveException::badFormat;
}

}  // namespace

TEST(Archive, PrimitivesAreLittleEndian)
{
    CArchive ar(Registry());
    ar.WriteByte(0x12);
    ar.WriteWord(0x3456);
    ar.WriteDWord(0x789ABCDEu);
    ar.WriteInt(-2);
    ar.WriteFloat(1.0f);
    const Bytes expected =
        ByteBuilder{}.U8(0x12).U16(0x3456).U32(0x789ABCDEu).U32(0xFFFFFFFEu).U32(0x3F800000u).b;
    EXPECT_EQ(ar.Buffer(), expected);

    CArchive in(Registry(), expected);
    EXPECT_EQ(in.ReadByte(), 0x12);
    EXPECT_EQ(in.ReadWord(), 0x3456);
    EXPECT_EQ(in.ReadDWord(), 0x789ABCDEu);
    EXPECT_EQ(in.ReadInt(), -2);
    EXPECT_EQ(in.ReadFloat(), 1.0f);
    EXPECT_TRUE(in.AtEnd());
}

TEST(Archive, StringLengthPrefixes)
{
    struct Case {
        std::size_t length;
        Bytes prefix;
    };
    const Case cases[] = {
        {0, {0x00}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {0xFFFD, {0xFF, 0xFD, 0xFF}},
        {0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {0x10000, {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        const std::string s(c.length, 'x');
        CArchive ar(Registry());
        ar.WriteString(s);
        ASSERT_EQ(ar.Buffer().size(), c.prefix.size() + c.length);
        EXPECT_TRUE(std::equal(c.prefix.begin(), c.prefix.end(), ar.Buffer().begin()));
        CArchive in(Registry(), ar.Buffer());
        EXPECT_EQ(in.ReadString(), s);
        EXPECT_TRUE(in.AtEnd());
    }
}

TEST(Archive, CountPrefixes)
{
    struct Case {
        std::size_t count;
        Bytes bytes;
    };
    const Case cases[] = {
        {0, {0x00, 0x00}},
        {0xFFFE, {0xFE, 0xFF}},
        {0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
        {0x12345, {0xFF, 0xFF, 0x45, 0x23, 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        CArchive ar(Registry());
        ar.WriteCount(c.count);
        EXPECT_EQ(ar.Buffer(), c.bytes);
        CArchive in(Registry(), c.bytes);
        EXPECT_EQ(in.ReadCount(0), c.count);
    }
}

TEST(Archive, ObjectTagsShareOneRunningIndex)
{
    CTestRecord a;
    a.m_value = 7;
    a.m_name = "a";
    CTestRecord b;
    b.m_value = 8;
    b.m_name = "b";
    CArchive ar(Registry());
    std::vector<std::unique_ptr<CTestRecord>> list;
    list.push_back(std::make_unique<CTestRecord>(a));
    list.push_back(std::make_unique<CTestRecord>(b));
    list.push_back(nullptr);
    ar.WriteObArray(list);
    ar.WriteObject(&a);

    // CObArray is class 1 and object 2; CTestRecord class 3, first record 4, second 5.
    const Bytes expected = ByteBuilder{}
                               .NewClass("CObArray", 0)
                               .U16(3)
                               .NewClass("CTestRecord", 2)
                               .U32(7)
                               .U8(1)
                               .Text("a")
                               .U16(0x8003)
                               .U32(8)
                               .U8(1)
                               .Text("b")
                               .U16(0)
                               .U16(0x8003)
                               .U32(7)
                               .U8(1)
                               .Text("a")
                               .b;
    EXPECT_EQ(ar.Buffer(), expected);

    CArchive in(Registry(), expected);
    const std::size_t n = in.BeginReadObArray();
    ASSERT_EQ(n, 3u);
    auto r1 = in.ReadObject();
    auto r2 = in.ReadObject();
    auto r3 = in.ReadObject();
    auto r4 = in.ReadObjectOf<CTestRecord>();
    ASSERT_TRUE(r1 && r2);
    EXPECT_EQ(r3, nullptr);
    EXPECT_EQ(dynamic_cast<CTestRecord&>(*r2).m_value, 8);
    EXPECT_EQ(dynamic_cast<CTestRecord&>(*r2).m_loadedSchema, 2);
    EXPECT_EQ(r4->m_name, "a");
    EXPECT_TRUE(in.AtEnd());
}

TEST(Archive, BigIndicesUseTheEscapeTag)
{
    // 0x7FFF objects push the running index into the 32-bit escape.
    std::vector<CTestRecord> list(0x7FFF);
    CArchive ar(Registry());
    ar.WriteObArray(list);
    COtherRecord other;
    ar.WriteObject(&other);  // new class: index 0x8003, still the plain new-class tag
    ar.WriteObject(&other);  // class reference: index 0x8003 needs the escape
    const Bytes& out = ar.Buffer();
    const Bytes tail =
        ByteBuilder{}.NewClass("COtherRecord", 1).U16(0x7FFF).U32(0x80000000u | 0x8003u).b;
    ASSERT_GE(out.size(), tail.size());
    EXPECT_TRUE(
        std::equal(tail.begin(), tail.end(), out.end() - static_cast<std::ptrdiff_t>(tail.size())));

    CArchive in(Registry(), out);
    std::vector<CTestRecord> back;
    in.ReadObArray(back);
    EXPECT_EQ(back.size(), list.size());
    EXPECT_NE(in.ReadObjectOf<COtherRecord>(), nullptr);
    EXPECT_NE(in.ReadObjectOf<COtherRecord>(), nullptr);
    EXPECT_TRUE(in.AtEnd());
}

TEST(Archive, OlderSchemaIsReportedToTheRecord)
{
    const Bytes bytes = ByteBuilder{}.NewClass("CTestRecord", 1).U32(5).b;
    CArchive in(Registry(), bytes);
    auto rec = in.ReadObjectOf<CTestRecord>();
    EXPECT_EQ(rec->m_loadedSchema, 1);
    EXPECT_EQ(rec->m_value, 5);
    EXPECT_EQ(rec->m_name, "none");
}

TEST(Archive, BadInputGivesTheRightError)
{
    using C = CArchiveException;
    struct Case {
        const char* what;
        Bytes bytes;
        C::Cause cause;
    };
    const Case cases[] = {
        {"unknown class", ByteBuilder{}.NewClass("CFoo", 1).U32(1).b, C::badClass},
        {"newer schema", ByteBuilder{}.NewClass("CTestRecord", 3).U32(1).b, C::badSchema},
        {"wrong class", ByteBuilder{}.NewClass("COtherRecord", 1).b, C::badClass},
        {"null where a record must be", ByteBuilder{}.U16(0).b, C::badFormat},
        {"shared object reference", ByteBuilder{}.U16(0x0001).b, C::badIndex},
        {"class reference to nothing", ByteBuilder{}.U16(0x8005).b, C::badIndex},
        {"class reference to an object",
         ByteBuilder{}.NewClass("CTestRecord", 2).U32(1).U8(0).U16(0x8002).b, C::badIndex},
        {"escaped reference to nothing", ByteBuilder{}.U16(0x7FFF).U32(0x80000009u).b, C::badIndex},
        {"class name cut short", ByteBuilder{}.U16(0xFFFF).U16(1).U16(40).Text("CTest").b,
         C::endOfFile},
        {"pseudo-class as a record", ByteBuilder{}.NewClass("CObArray", 0).b, C::badClass},
        {"class introduced twice",
         ByteBuilder{}
             .NewClass("CTestRecord", 2)
             .U32(1)
             .U8(0)
             .NewClass("CTestRecord", 2)
             .U32(2)
             .U8(0)
             .b,
         C::badFormat},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(LoadFails(c.bytes,
                            [](CArchive& ar) {
                                ar.ReadObjectOf<CTestRecord>();
                                ar.ReadObjectOf<CTestRecord>();
                            }),
                  c.cause);
    }
}

TEST(Archive, SizesAreCheckedBeforeAllocation)
{
    using C = CArchiveException;
    // A string claiming 4 GB, a count claiming 65536 elements, a list claiming 0xFFFE records.
    EXPECT_EQ(LoadFails(ByteBuilder{}.U8(0xFF).U16(0xFFFF).U32(0xFFFFFFF0u).Text("abc").b,
                        [](CArchive& ar) { ar.ReadString(); }),
              C::endOfFile);
    EXPECT_EQ(LoadFails(ByteBuilder{}.U16(0xFFFF).U32(0x10000).U32(1).b,
                        [](CArchive& ar) {
                            std::vector<std::int32_t> v;
                            ar.ReadIntList(v);
                        }),
              C::endOfFile);
    EXPECT_EQ(LoadFails(ByteBuilder{}.NewClass("CObArray", 0).U16(0xFFFE).b,
                        [](CArchive& ar) {
                            std::vector<std::unique_ptr<CTestRecord>> v;
                            ar.ReadObArray(v);
                        }),
              C::endOfFile);
    EXPECT_EQ(
        LoadFails(ByteBuilder{}.U8(0xFF).U16(0xFFFE).b, [](CArchive& ar) { ar.ReadString(); }),
        C::badFormat);
}

TEST(Archive, TruncationAtEveryOffsetIsAnError)
{
    CArchive ar(Registry());
    std::vector<std::unique_ptr<CTestRecord>> list;
    for (int i = 0; i < 3; ++i) {
        list.push_back(std::make_unique<CTestRecord>());
        list.back()->m_value = i;
        list.back()->m_name = std::string(static_cast<std::size_t>(i) * 100, 'q');
    }
    ar.WriteObArray(list);
    ar.WriteStringList({"x", std::string(300, 'y')});
    const Bytes full = ar.Buffer();
    for (std::size_t cut = 0; cut < full.size(); ++cut) {
        const Bytes part(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_EQ(LoadFails(part,
                            [](CArchive& in) {
                                std::vector<std::unique_ptr<CTestRecord>> v;
                                in.ReadObArray(v);
                                std::vector<std::string> s;
                                in.ReadStringList(s);
                            }),
                  CArchiveException::endOfFile)
            << "cut at " << cut;
    }
}
