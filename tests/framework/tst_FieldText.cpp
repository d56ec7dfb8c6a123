#include "framework/FieldText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

TEST(FieldText, NumbersAreShownAsTheFormsShowThem)
{
    EXPECT_EQ(HexFieldText(0x4000), "0x4000");
    EXPECT_EQ(HexFieldText(0), "0x0");
    EXPECT_EQ(HexFieldText(0x80000001u), "0x80000001");
    EXPECT_EQ(HexFieldText(0xabcdefu), "0xABCDEF");
    EXPECT_EQ(FloatFieldText(0.5), "0.5");
    EXPECT_EQ(FloatFieldText(1.0 / 3.0), "0.333333");
    EXPECT_EQ(FloatFieldText(-2.0), "-2");
    EXPECT_EQ(FloatFieldText(1.0e7), "1e+07");
}

TEST(FieldText, HexFieldsReadHexadecimalOnlyWhenTheTextHasAnX)
{
    struct Case {
        const char* text;
        bool read;
        std::uint32_t value;  // after the read, starting from 77
    };
    const Case cases[] = {
        {"0x1f", true, 31},
        {"1F x", true, 31},
        {"31", true, 31},
        {"1f", true, 1},
        {"0x10", true, 16},
        {"10", true, 10},
        {"abc", false, 77},
        {"", false, 77},
        {"   ", false, 77},
        {"X", false, 77},
        {"0X80000001", true, 0x80000001u},
        {"-1", true, 0xFFFFFFFFu},
        // Only the first 29 characters count: the x after them does not make it hexadecimal.
        {"10                           x", true, 10},
    };
    for (const Case& c : cases) {
        std::uint32_t value = 77;
        EXPECT_EQ(ReadHexField(c.text, value), c.read) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
}

TEST(FieldText, NumberFieldsReadOnlyAWholeNumber)
{
    struct Case {
        const char* text;
        bool read;
        double value;  // after the read, starting from 7
    };
    const Case floats[] = {{"1.5", true, 1.5},   {" -2e3 ", true, -2000.0}, {"0", true, 0.0},
                           {"1.5x", false, 7.0}, {"", false, 7.0},          {"1,5", false, 7.0},
                           {"abc", false, 7.0}};
    for (const Case& c : floats) {
        double value = 7.0;
        EXPECT_EQ(ReadFloatField(c.text, value), c.read) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
    const Case ints[] = {{"12", true, 12},         {" -3 ", true, -3},
                         {"1.5", false, 7},        {"4x", false, 7},
                         {"", false, 7},           {"2147483647", true, 2147483647.0},
                         {"2147483648", false, 7}, {"-99999999999", false, 7}};
    for (const Case& c : ints) {
        int value = 7;
        EXPECT_EQ(ReadIntField(c.text, value), c.read) << c.text;
        EXPECT_EQ(value, static_cast<int>(c.value)) << c.text;
    }
}
