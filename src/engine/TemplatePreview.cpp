#include "engine/TemplatePreview.h"

#include "engine/C3dView.h"
#include "engine/DecodeMaterial.h"
#include "engine/ThingModels.h"
#include "framework/StringUtil.h"
#include "level/QzlSections.h"
#include "level/QzlTemplate.h"

#include <optional>
#include <string_view>

namespace {

// The text after the first key in params up to the first blank; none without the key.
std::optional<std::string> ValueAfter(const std::string& params, std::string_view key)
{
    const std::size_t at = params.find(key);
    if (at == std::string::npos)
        return std::nullopt;
    const std::size_t start = at + key.size();
    const std::size_t end = params.find(' ', start);
    return params.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

}  // namespace

CTemplatePreview TemplatePreviewOf(const C3dView& view, const CQzlTemplate& entry)
{
    if (std::optional<std::string> model = ValueAfter(entry.m_params, "model3d="))
        return {ETemplatePreview::kModel, std::move(*model)};
    if (std::optional<std::string> material = ValueAfter(entry.m_params, "material="))
        return {ETemplatePreview::kMaterial, std::move(*material)};
    if (EqualsNoCase(entry.m_name, "ghost"))
        return {ETemplatePreview::kModel, "ghost"};
    return {ETemplatePreview::kModel, TemplateModelName(view, entry.m_name)};
}

bool TemplateMaterialFound(const C3dView& view, std::string_view material)
{
    CAssetSources sources;
    sources.m_game = &view.GetGame();
    sources.m_levelFiles = &view.GetLevel().m_levelFiles;
    return DecodeOwnMaterial(sources, material, std::string_view()) != nullptr;
}
