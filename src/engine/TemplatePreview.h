#pragma once
// What the Template dialog previews for a template: its 3DO model or its material, by name.

#include <string>
#include <string_view>

class C3dView;
class CQzlTemplate;

enum class ETemplatePreview {
    kNothing = -1,
    kModel = 0,
    kMaterial = 1,
};

struct CTemplatePreview {
    ETemplatePreview m_kind = ETemplatePreview::kNothing;
    std::string m_name;  // the model's file name or the material's name

    friend bool operator==(const CTemplatePreview&, const CTemplatePreview&) = default;
};

// The preview of entry: the value of its "model3d=" (up to the first blank), else of its
// "material=" as a material, else the model "ghost" for a template named "ghost" (any case),
// else the model that its base templates give in the product's list (TemplateModelName; empty
// when none gives one).
[[nodiscard]] CTemplatePreview TemplatePreviewOf(const C3dView& view, const CQzlTemplate& entry);

// Whether material itself decodes from the game or the level's own files (the preview's quad
// falls back to "dflt.mat" for one that does not).
[[nodiscard]] bool TemplateMaterialFound(const C3dView& view, std::string_view material);
