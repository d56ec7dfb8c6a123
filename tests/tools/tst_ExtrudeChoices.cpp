// The Extrude Surface dialog's decisions: the controls each type, first-vertex choice and node
// count enable, the fields' ranges and the values handed to the builder.

#include "tools/ExtrudeChoices.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

TEST(ExtrudeDialogEnables, FollowTheTypeTheFirstVertexAndTheNodes)
{
    using T = EExtrudeType;
    struct {
        T type;
        bool allVertices;
        bool twoNodes;
        CExtrudeEnables expected;  // depth, connect, angles, shapes, indent, more depths, first
    } const cases[] = {
        {T::NewSector, true, true, {true, true, true, true, true, false, false}},
        {T::NewSector, true, false, {true, false, false, false, true, false, true}},
        {T::NewSector, false, false, {true, false, false, false, false, true, true}},
        {T::KeepWithSector, true, true, {true, true, false, false, false, false, false}},
        {T::KeepWithSector, false, false, {true, false, false, false, false, false, true}},
        {T::ConnectOpposite, true, true, {false, true, true, false, false, false, false}},
        {T::NewSectorHidden, true, true, {true, true, true, true, true, false, false}},
        {T::NewSectorHidden, false, false, {true, false, false, false, false, true, true}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExtrudeDialogEnables(c.type, c.allVertices, c.twoNodes), c.expected)
            << "type " << static_cast<int>(c.type) << ", all " << c.allVertices << ", nodes "
            << c.twoNodes;
}

TEST(ReadExtrudeField, TakesNumbersWithinTheRangeOnly)
{
    struct {
        const char* text;
        CExtrudeRange range;
        std::optional<float> value;
    } const cases[] = {
        {"1", kExtrudeDepthRange, 1.0f},
        {" 0.01 ", kExtrudeDepthRange, 0.01f},
        {"100", kExtrudeDepthRange, 100.0f},
        {"0.0099", kExtrudeDepthRange, std::nullopt},
        {"100.5", kExtrudeDepthRange, std::nullopt},
        {"-1", kExtrudeDepthRange, std::nullopt},
        {"0", kExtrudeDepthRange, std::nullopt},
        {"-45", kExtrudeAngleRange, -45.0f},
        {"45.1", kExtrudeAngleRange, std::nullopt},
        {"+0.5", kExtrudeIndentRange, 0.5f},
        {"-1", kExtrudeIndentRange, -1.0f},
        {"1.5", kExtrudeIndentRange, std::nullopt},
        {"", kExtrudeDepthRange, std::nullopt},
        {"1,5", kExtrudeDepthRange, std::nullopt},
        {"2x", kExtrudeDepthRange, std::nullopt},
        {"nan", kExtrudeDepthRange, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadExtrudeField(c.text, c.range), c.value) << '"' << c.text << '"';
    EXPECT_EQ(ExtrudeRangeText(kExtrudeDepthRange), "Please enter a number between 0.01 and 100.");
    EXPECT_EQ(ExtrudeRangeText(kExtrudeAngleRange), "Please enter a number between -45 and 45.");
}

TEST(ExtrudeParamsFromDialog, HandsOverTheListsAsVertexNumbers)
{
    CExtrudeDialogValues values;
    values.depth = 2.0f;
    values.depth2 = 3.0f;
    values.depth3 = 4.0f;
    values.type = EExtrudeType::NewSectorHidden;
    values.shape = 1;
    values.firstSelection = 3;
    values.secondSelection = 0;
    values.thirdSelection = 1;
    const CExtrudeParams params = ExtrudeParamsFromDialog(values);
    EXPECT_EQ(params.m_vertex1, 2);
    EXPECT_EQ(params.m_vertex2, 0);
    EXPECT_EQ(params.m_vertex3, 1);
    EXPECT_EQ(params.m_depth, 2.0f);
    EXPECT_EQ(params.m_depth2, 3.0f);
    EXPECT_EQ(params.m_depth3, 4.0f);
    EXPECT_EQ(params.m_type, EExtrudeType::NewSectorHidden);
    EXPECT_EQ(params.m_shape, 1);
    EXPECT_TRUE(params.m_indentAcross && params.m_indentAlong);
    EXPECT_TRUE(ExtrudeVerticesDiffer(params));

    struct {
        int first;
        int second;
        int third;
        bool differ;
    } const selections[] = {
        {0, 0, 0, true},  // "All Vertices": the other two lists are ignored
        {1, 0, 1, false}, {2, 0, 0, false}, {1, 1, 2, true}, {3, 2, 2, false},
    };
    for (const auto& s : selections) {
        values.firstSelection = s.first;
        values.secondSelection = s.second;
        values.thirdSelection = s.third;
        EXPECT_EQ(ExtrudeVerticesDiffer(ExtrudeParamsFromDialog(values)), s.differ)
            << s.first << " " << s.second << " " << s.third;
    }
}

}  // namespace
