#include "framework/Settings.h"

namespace {

constexpr CSettingInfo Int(std::string_view name, std::int32_t CSettings::*member)
{
    return {name, ESettingKind::Int, member, nullptr, nullptr};
}

constexpr CSettingInfo Float(std::string_view name, float CSettings::*member)
{
    return {name, ESettingKind::Float, nullptr, member, nullptr};
}

constexpr CSettingInfo Color(std::string_view name, std::uint32_t CSettings::*member)
{
    return {name, ESettingKind::Color, nullptr, nullptr, member};
}

// The order in which start-up loads the settings.
constexpr std::array<CSettingInfo, kSettingCount> kTable{
    Int("Left", &CSettings::m_left),
    Int("Top", &CSettings::m_top),
    Int("Right", &CSettings::m_right),
    Int("Bottom", &CSettings::m_bottom),
    Int("Collision", &CSettings::m_collision),
    Int("Lock", &CSettings::m_lock),
    Int("Product", &CSettings::m_product),
    Float("Horizon Distance", &CSettings::m_horizonDistance),
    Float("3DO Distance", &CSettings::m_threeDoDistance),
    Float("Grid Distance", &CSettings::m_gridDistance),
    Int("Alignment", &CSettings::m_alignment),
    Int("Adjoin", &CSettings::m_adjoin),
    Int("StretchMode", &CSettings::m_stretchMode),
    Int("FrameRate", &CSettings::m_frameRate),
    Color("ColorSelect", &CSettings::m_colorSelect),
    Color("ColorLink", &CSettings::m_colorLink),
    Color("ColorUnlink", &CSettings::m_colorUnlink),
    Color("ColorGhost", &CSettings::m_colorGhost),
    Color("ColorAdjoin", &CSettings::m_colorAdjoin),
    Color("ColorGrid", &CSettings::m_colorGrid),
    Color("ColorBackground", &CSettings::m_colorBackground),
    Color("ColorWireframe", &CSettings::m_colorWireframe),
    Color("ColorCogWireframe", &CSettings::m_colorCogWireframe),
    Color("ColorSurfCogWireframe", &CSettings::m_colorSurfCogWireframe),
    Float("VertexScaling", &CSettings::m_vertexScaling),
    Int("Texture Mapping", &CSettings::m_textureMapping),
    Int("Device", &CSettings::m_device),
    Int("Texture Dithering", &CSettings::m_textureDithering),
    Int("3DO Collision", &CSettings::m_threeDoCollision),
    Int("Error Checking", &CSettings::m_errorChecking),
    Float("Grid", &CSettings::m_grid),
    Int("Warning", &CSettings::m_warning),
    Int("CopyLight", &CSettings::m_copyLight),
    Int("CDsound", &CSettings::m_cdSound),
    Float("Removal", &CSettings::m_removal),
    Int("Removal Level", &CSettings::m_removalLevel),
    Int("Autosave", &CSettings::m_autosave),
    Int("UndoRedo", &CSettings::m_undoRedo),
    Int("Maximized", &CSettings::m_maximized),
    Int("RenderMode", &CSettings::m_renderMode),
    Int("LightMode", &CSettings::m_lightMode),
    Int("LightDirect", &CSettings::m_lightDirect),
    Color("StartColor", &CSettings::m_startColor),
    Color("EndColor", &CSettings::m_endColor),
    Int("RenderMethod", &CSettings::m_renderMethod),
    Int("AdjoinTransparent", &CSettings::m_adjoinTransparent),
    Int("Templates Used", &CSettings::m_templatesUsed),
    Int("Templates Simple", &CSettings::m_templatesSimple),
    Float("LayerHeight", &CSettings::m_layerHeight),
    Float("LayerIndent", &CSettings::m_layerIndent),
    Int("EditWindowX", &CSettings::m_editWindowX),
    Int("EditWindowY", &CSettings::m_editWindowY),
    Int("EditWindowW", &CSettings::m_editWindowW),
    Int("EditWindowH", &CSettings::m_editWindowH),
    Int("AutoSize", &CSettings::m_autoSize),
    Int("CogWindowX", &CSettings::m_cogWindowX),
    Int("CogWindowY", &CSettings::m_cogWindowY),
    Int("CogWindowW", &CSettings::m_cogWindowW),
    Int("CogWindowH", &CSettings::m_cogWindowH),
};

}  // namespace

void CSettings::ApplyLoadRules()
{
    if (!(m_grid >= 0.1f))  // below 0.1, or NaN
        m_grid = 0.1f;
}

const std::array<CSettingInfo, kSettingCount>& CSettings::Table()
{
    return kTable;
}
