#include "tools/ui/TemplateModelPane.h"

#include "engine/C3dView.h"
#include "engine/ui/PreviewWidget.h"
#include "framework/FieldText.h"
#include "framework/StringUtil.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"
#include "tools/DoorDialogRules.h"
#include "ui/DialogButtons.h"
#include "ui/DialogIds.h"
#include "ui/UiServices.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace {

QString Latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QString DialogNumber(float value)
{
    return QString::fromStdString(FloatFieldText(static_cast<double>(value)));
}

QLineEdit* NumberEdit(QWidget* parent, int id, float value)
{
    auto* edit = new QLineEdit(DialogNumber(value), parent);
    edit->setObjectName(QString::number(id));
    return edit;
}

QFrame* FramedPreview(C3dView& engine, QWidget* parent, int id, QSize size,
                      CPreviewWidget*& preview)
{
    auto* frame = new QFrame(parent);
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    preview = new CPreviewWidget(engine, frame);
    preview->setObjectName(QString::number(id));
    preview->setFixedSize(size);
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(preview);
    return frame;
}

bool ReadRangeField(QDialog& dialog, QLineEdit& edit, const CExtrudeRange& range, float& value)
{
    const QByteArray text = edit.text().toLatin1();
    const auto read =
        ReadExtrudeField({text.constData(), static_cast<std::size_t>(text.size())}, range);
    if (!read) {
        QzMessageBox(QString::fromStdString(ExtrudeRangeText(range)), QMessageBox::Ok, &dialog);
        edit.setFocus();
        edit.selectAll();
        return false;
    }
    value = *read;
    return true;
}

bool PassesCheck(QDialog& dialog, std::string_view refusal)
{
    if (refusal.empty())
        return true;
    QzMessageBox(Latin1(refusal), QMessageBox::Ok, &dialog);
    return false;
}

QDialogButtonBox* ModelDialogButtons(QDialog& dialog, int dialogId, QPushButton*& ok)
{
    // The help context of a dialog: the help base of resources plus its id.
    QDialogButtonBox* buttons =
        MakeDialogButtons(dialog, Qt::Vertical, QStringLiteral("&OK"), QStringLiteral("&Cancel"),
                          0x20000u + static_cast<unsigned int>(dialogId));
    ok = buttons->findChild<QPushButton*>(QString::number(Ctl::kOk));
    auto* cancel = buttons->findChild<QPushButton*>(QString::number(Ctl::kCancel));
    ok->setDefault(false);
    ok->setAutoDefault(false);
    cancel->setDefault(true);
    return buttons;
}

CTemplateModelPane::CTemplateModelPane(C3dView& engine, bool (*isOffered)(std::string_view name),
                                       QWidget* parent)
    : QWidget(parent), m_engine(engine)
{
    m_templates = new QComboBox(this);
    m_templates->setObjectName(QString::number(Ctl::kModelTemplate));
    const auto& templates = engine.GetGame().m_templates;
    std::vector<int> offered = OfferedTemplates(templates, isOffered);
    // The list is sorted by name, letter case ignored.
    std::stable_sort(offered.begin(), offered.end(), [&templates](int a, int b) {
        return CompareNoCase(templates[static_cast<std::size_t>(a)]->m_name,
                             templates[static_cast<std::size_t>(b)]->m_name) < 0;
    });
    for (const int entry : offered)
        m_templates->addItem(Latin1(templates[static_cast<std::size_t>(entry)]->m_name), entry);

    QFrame* frame =
        FramedPreview(engine, this, Ctl::kModelPreview, DialogUnits(*this, 120, 90), m_preview);

    auto* extents = new QGridLayout;
    int column = 0;
    for (const auto& [text, id, edit] :
         {std::tuple{"X:", Ctl::kModelX, &m_x}, std::tuple{"Y:", Ctl::kModelY, &m_y},
          std::tuple{"Z:", Ctl::kModelZ, &m_z}}) {
        *edit = new QLineEdit(DialogNumber(0.0f), this);
        (*edit)->setObjectName(QString::number(id));
        (*edit)->setEnabled(false);
        auto* label = new QLabel(QString::fromLatin1(text), this);
        label->setBuddy(*edit);
        extents->addWidget(label, 0, column++);
        extents->addWidget(*edit, 0, column++);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_templates);
    layout->addWidget(frame, 0, Qt::AlignHCenter);
    layout->addLayout(extents);
}

CTemplateModelPane::~CTemplateModelPane() = default;

void CTemplateModelPane::ShowFirst()
{
    // Filling the list selected its first item already; the first display runs here, once.
    if (m_templates->count() > 0)
        m_templates->setCurrentIndex(0);
    OnSelectionChange();
    connect(m_templates, &QComboBox::currentIndexChanged, this,
            &CTemplateModelPane::OnSelectionChange);
}

void CTemplateModelPane::OnSelectionChange()
{
    const CGameResources& game = m_engine.GetGame();
    const int entry =
        m_templates->currentData().isValid() ? m_templates->currentData().toInt() : -1;
    // Without the game's archive (or without a template to show) nothing is loaded and the
    // extents keep their values.
    bool loaded = false;
    if (game.m_archive != nullptr && entry >= 0 &&
        static_cast<std::size_t>(entry) < game.m_templates.size()) {
        const CQzlTemplate& chosen = *game.m_templates[static_cast<std::size_t>(entry)];
        m_templateName = chosen.m_name;
        const CQzlSections& level = m_engine.GetLevel();
        const std::string colormap =
            level.m_colormaps.empty() ? std::string() : ToLowerAscii(level.m_colormaps.front());
        m_preview->ShowModel(TemplatePreviewModel(chosen.m_params), colormap, 0);
        const CBoundingBox& box = m_preview->Engine().m_levelBox;
        m_extents = box.max - box.min;
        loaded = true;
    }
    m_x->setText(DialogNumber(m_extents.x));
    m_y->setText(DialogNumber(m_extents.y));
    m_z->setText(DialogNumber(m_extents.z));
    emit ModelChosen(loaded);
}
