#include "tools/ui/CreateLayerDlg.h"

#include "framework/Settings.h"
#include "ui/DialogIds.h"
#include "ui/FormFields.h"

namespace {

constexpr unsigned int kHelpContext = 0x20000u + Dlg::kCreateLayer;

}  // namespace

CCreateLayerDlg::CCreateLayerDlg(C3dView& engine, CSettings& settings, QWidget* parent)
    : CTexturedShapeDlg(engine, Dlg::kCreateLayer, QStringLiteral("Create Layer"), parent),
      m_height(settings.m_layerHeight), m_indent(settings.m_layerIndent), m_settings(settings)
{
    AddEdit(QStringLiteral("Height of Layer:"), Ctl::kLayerHeight);
    AddEdit(QStringLiteral("Texture:"), Ctl::kLayerTextureName);
    AddEdit(QStringLiteral("Indent of Layer:"), Ctl::kLayerIndent);
    Finish(kHelpContext);
}

CCreateLayerDlg::~CCreateLayerDlg() = default;

void CCreateLayerDlg::Exchange(CFieldExchange& exchange)
{
    exchange.Float(Ctl::kLayerHeight, m_height);
    exchange.FloatRange(Ctl::kLayerHeight, m_height, 0.01, 100.0);
    ExchangeTextureName(exchange, Ctl::kLayerTextureName);
    exchange.Float(Ctl::kLayerIndent, m_indent);
    exchange.FloatRange(Ctl::kLayerIndent, m_indent, -1.0, 1.0);
}

void CCreateLayerDlg::Accepted()
{
    m_settings.m_layerHeight = m_height;
    m_settings.m_layerIndent = m_indent;
}

CLayerParams CCreateLayerDlg::Params() const
{
    CLayerParams params;
    params.m_height = m_height;
    params.m_indent = m_indent;
    params.m_look = m_look;
    return params;
}
