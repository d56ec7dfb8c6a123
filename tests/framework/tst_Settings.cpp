// The "Preferences" settings, their defaults, names and load rules.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <string>
#include <string_view>

#include "framework/DocumentState.h"
#include "framework/Settings.h"

TEST(Settings, Defaults)
{
    const CSettings s;
    EXPECT_EQ(s.m_product, 0);
    EXPECT_EQ(s.m_undoRedo, 20);
    EXPECT_EQ(s.m_warning, 1);
    EXPECT_EQ(s.m_threeDoDistance, 1.0f);
    EXPECT_EQ(s.m_horizonDistance, 10.0f);
    EXPECT_EQ(s.m_stretchMode, 0);  // the window's own size, not the first display mode
    EXPECT_EQ(s.m_grid, 0.1f);
    EXPECT_EQ(s.m_alignment, -1);
    EXPECT_EQ(s.m_vertexScaling, 0.01f);
    EXPECT_EQ(s.m_colorSelect, 0x0000FFu);
    EXPECT_EQ(s.m_colorLink, 0xFF0000u);
    EXPECT_EQ(s.m_colorUnlink, 0x00FFFFu);
    EXPECT_EQ(s.m_colorGrid, 0x0080FFu);
    EXPECT_EQ(s.m_colorGhost, 0x80FF80u);
    EXPECT_EQ(s.m_renderMethod, 0);
    EXPECT_EQ(s.m_removalLevel, 5);
    EXPECT_EQ(s.m_frameRate, 20);
    EXPECT_EQ(s.m_renderMode, 1);
    EXPECT_EQ(s.m_autosave, 10);
    EXPECT_EQ(s.m_right, 0);
    EXPECT_EQ(s.m_bottom, 0);
    EXPECT_EQ(s.m_layerIndent, 0.1f);
    EXPECT_EQ(s.m_endColor, 0xFFFFFFu);
}

TEST(Settings, TableNamesOrderAndKinds)
{
    const char* const expected[] = {"Left",
                                    "Top",
                                    "Right",
                                    "Bottom",
                                    "Collision",
                                    "Lock",
                                    "Product",
                                    "Horizon Distance",
                                    "3DO Distance",
                                    "Grid Distance",
                                    "Alignment",
                                    "Adjoin",
                                    "StretchMode",
                                    "FrameRate",
                                    "ColorSelect",
                                    "ColorLink",
                                    "ColorUnlink",
                                    "ColorGhost",
                                    "ColorAdjoin",
                                    "ColorGrid",
                                    "ColorBackground",
                                    "ColorWireframe",
                                    "ColorCogWireframe",
                                    "ColorSurfCogWireframe",
                                    "VertexScaling",
                                    "Texture Mapping",
                                    "Device",
                                    "Texture Dithering",
                                    "3DO Collision",
                                    "Error Checking",
                                    "Grid",
                                    "Warning",
                                    "CopyLight",
                                    "CDsound",
                                    "Removal",
                                    "Removal Level",
                                    "Autosave",
                                    "UndoRedo",
                                    "Maximized",
                                    "RenderMode",
                                    "LightMode",
                                    "LightDirect",
                                    "StartColor",
                                    "EndColor",
                                    "RenderMethod",
                                    "AdjoinTransparent",
                                    "Templates Used",
                                    "Templates Simple",
                                    "LayerHeight",
                                    "LayerIndent",
                                    "EditWindowX",
                                    "EditWindowY",
                                    "EditWindowW",
                                    "EditWindowH",
                                    "AutoSize",
                                    "CogWindowX",
                                    "CogWindowY",
                                    "CogWindowW",
                                    "CogWindowH"};
    static_assert(std::size(expected) == 59);

    const auto& table = CSettings::Table();
    ASSERT_EQ(table.size(), 59u);
    std::set<std::string_view> names;
    std::set<const void*> seen;
    CSettings s;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const CSettingInfo& info = table[i];
        EXPECT_EQ(info.name, std::string_view(expected[i])) << i;
        names.insert(info.name);
        // Exactly the member pointer of the row's kind is set, and every row names a distinct
        // member.
        const void* address = nullptr;
        switch (info.kind) {
        case ESettingKind::Int:
            ASSERT_NE(info.intMember, nullptr) << info.name;
            EXPECT_EQ(info.floatMember, nullptr);
            EXPECT_EQ(info.colorMember, nullptr);
            address = &(s.*info.intMember);
            break;
        case ESettingKind::Float:
            ASSERT_NE(info.floatMember, nullptr) << info.name;
            EXPECT_EQ(info.intMember, nullptr);
            EXPECT_EQ(info.colorMember, nullptr);
            address = &(s.*info.floatMember);
            break;
        case ESettingKind::Color:
            ASSERT_NE(info.colorMember, nullptr) << info.name;
            EXPECT_EQ(info.intMember, nullptr);
            EXPECT_EQ(info.floatMember, nullptr);
            address = &(s.*info.colorMember);
            break;
        }
        EXPECT_TRUE(seen.insert(address).second) << info.name << " shares a member";
    }
    EXPECT_EQ(names.size(), 59u);
    EXPECT_EQ(seen.size(), 59u);
}

TEST(Settings, TableKindsAndMembers)
{
    int ints = 0, floats = 0, colors = 0;
    for (const CSettingInfo& info : CSettings::Table()) {
        ints += info.kind == ESettingKind::Int;
        floats += info.kind == ESettingKind::Float;
        colors += info.kind == ESettingKind::Color;
    }
    EXPECT_EQ(ints, 39);
    EXPECT_EQ(floats, 8);
    EXPECT_EQ(colors, 12);

    // A few rows lead to the named member with its default.
    const CSettings s;
    for (const CSettingInfo& info : CSettings::Table()) {
        if (info.name == "Horizon Distance") {
            EXPECT_EQ(info.floatMember, &CSettings::m_horizonDistance);
        }
        if (info.name == "3DO Distance") {
            EXPECT_EQ(s.*info.floatMember, 1.0f);
        }
        if (info.name == "3DO Collision") {
            EXPECT_EQ(info.intMember, &CSettings::m_threeDoCollision);
        }
        if (info.name == "Grid") {
            EXPECT_EQ(info.floatMember, &CSettings::m_grid);
        }
        if (info.name == "ColorGrid") {
            EXPECT_EQ(s.*info.colorMember, 0x0080FFu);
        }
        if (info.name == "UndoRedo") {
            EXPECT_EQ(s.*info.intMember, 20);
        }
    }
}

TEST(Settings, ApplyLoadRulesRaisesGrid)
{
    CSettings s;
    s.m_grid = 0.05f;
    s.ApplyLoadRules();
    EXPECT_EQ(s.m_grid, 0.1f);

    s.m_grid = 0.1f;
    s.ApplyLoadRules();
    EXPECT_EQ(s.m_grid, 0.1f);

    s.m_grid = 0.0f;  // a text that is no number reads as 0.0
    s.ApplyLoadRules();
    EXPECT_EQ(s.m_grid, 0.1f);

    s.m_grid = 0.5f;
    s.ApplyLoadRules();
    EXPECT_EQ(s.m_grid, 0.5f);

    // Compared as 32-bit floats: the float just below 0.1f is raised.
    s.m_grid = std::nextafter(0.1f, 0.0f);
    s.ApplyLoadRules();
    EXPECT_EQ(s.m_grid, 0.1f);

    s.m_grid = std::numeric_limits<float>::quiet_NaN();
    s.ApplyLoadRules();
    EXPECT_EQ(s.m_grid, 0.1f);
}

TEST(Settings, ColorToVertex)
{
    EXPECT_EQ(ColorToVertex(0x0000FFu), 0xFFFF0000u);
    EXPECT_EQ(ColorToVertex(0xFF0000u), 0xFF0000FFu);
    EXPECT_EQ(ColorToVertex(0x00FF00u), 0xFF00FF00u);
    EXPECT_EQ(ColorToVertex(0x0080FFu), 0xFFFF8000u);
    EXPECT_EQ(ColorToVertex(0x000000u), 0xFF000000u);
    static_assert(ColorToVertex(0x123456u) == 0xFF563412u);
}

TEST(DocumentState, Defaults)
{
    const CDocumentState d;
    EXPECT_EQ(d.m_editMode, 0);
    EXPECT_EQ(d.m_renderMode, 1);
    EXPECT_EQ(d.m_gridOn, 0);
    EXPECT_EQ(d.m_sectorMode, 0);
    EXPECT_EQ(d.m_lightMode, 1);
    EXPECT_EQ(d.m_enlargeView, 0);
    EXPECT_EQ(d.m_gridSurfaceOnly, 1);
    EXPECT_EQ(d.m_gridEdgesOnly, 0);
}
