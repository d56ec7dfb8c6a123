#include "resources/ui/TemplateDlg.h"

#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "engine/Undo.h"
#include "engine/ui/GlSurface.h"
#include "engine/ui/PreviewWidget.h"
#include "framework/Settings.h"
#include "framework/StringUtil.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"
#include "level/QzlTemplate.h"
#include "level/TemplateTree.h"
#include "resources/ui/ResourceListControls.h"
#include "ui/DialogIds.h"
#include "ui/DialogText.h"
#include "ui/UiServices.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedLayout>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <array>
#include <cstddef>

namespace {

using DialogText::Button;
using DialogText::Latin1;
using DialogText::Text;

constexpr unsigned int kHelpContext = 0x20000U + static_cast<unsigned int>(Dlg::kTemplate);

// The dialog's font: the parameter display and the preview's messages.
QFont DialogTextFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    return font;
}

QLineEdit* ExtentEdit(QWidget* parent, int id)
{
    auto* edit = new QLineEdit(QStringLiteral("0"), parent);
    edit->setObjectName(QString::number(id));
    edit->setEnabled(false);
    return edit;
}

}  // namespace

// What the preview frame shows in place of a picture that cannot be drawn: five lines of green
// text on black over the "ColorBackground" colour.
class CTemplateMessage : public QWidget {
public:
    CTemplateMessage(std::uint32_t background, QWidget* parent)
        : QWidget(parent), m_background(SettingColor(background))
    {
        setObjectName(QString::number(Ctl::kTemplateMessage));
        setFont(DialogTextFont());
    }

    // The lines for a model (true) or a material (false).
    void SetForModel(bool model)
    {
        m_lines = {QStringLiteral("The selected template references a"),
                   model ? QStringLiteral("3DO object not existing in your level.")
                         : QStringLiteral("material not existing in your level."),
                   QString(),
                   model ? QStringLiteral("You must insert the 3DO object into")
                         : QStringLiteral("You must insert the material into"),
                   QStringLiteral("your level using the Files in Level"),
                   QStringLiteral("command.")};
        update();
    }
    const std::array<QString, 6>& Lines() const { return m_lines; }

protected:
    void paintEvent(QPaintEvent* /*event*/) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), m_background);
        const QFontMetrics metrics(font());
        const int step = metrics.height();
        const QPoint origin(metrics.horizontalAdvance(QLatin1Char('t')), step);
        painter.setBackgroundMode(Qt::OpaqueMode);
        painter.setBackground(QColor(0, 0, 0));
        painter.setPen(QColor(0, 255, 0));
        for (std::size_t k = 0; k < m_lines.size(); ++k)
            if (!m_lines[k].isEmpty())
                painter.drawText(origin + QPoint(0, static_cast<int>(k) * step), m_lines[k]);
    }

private:
    QColor m_background;
    std::array<QString, 6> m_lines;
};

CTemplateDlg::CTemplateDlg(C3dView& engine, CSettings& settings, std::string_view initial, int mode,
                           QWidget* parent)
    : QDialog(parent), m_engine(engine), m_settings(settings), m_mode(mode),
      m_autoSize(settings.m_autoSize), m_currentName(ToLowerAscii(initial))
{
    setObjectName(QString::number(Dlg::kTemplate));

    m_search = new QLineEdit(Text(m_currentName), this);
    m_search->setObjectName(QString::number(Ctl::kTemplateSearch));
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QString::number(Ctl::kTemplateTree));
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setSortingEnabled(true);
    m_tree->sortByColumn(0, Qt::AscendingOrder);

    m_palette = new QComboBox(this);
    m_palette->setObjectName(QString::number(Ctl::kTemplatePalette));
    FillColorMapCombo(*m_palette, engine.GetLevel(), engine.m_selection.m_sector);

    m_params = new QPlainTextEdit(this);
    m_params->setObjectName(QString::number(Ctl::kTemplateParams));
    m_params->setFont(DialogTextFont());
    // Typed text is taken in lower case.
    connect(m_params, &QPlainTextEdit::textChanged, this, [this] {
        const QString text = m_params->toPlainText();
        const QString lower = text.toLower();
        if (text == lower)
            return;
        QTextCursor cursor = m_params->textCursor();
        const int position = cursor.position();
        const QSignalBlocker blocker(m_params);
        m_params->setPlainText(lower);
        cursor = m_params->textCursor();
        cursor.setPosition(std::min(position, static_cast<int>(lower.size())));
        m_params->setTextCursor(cursor);
    });

    // The preview frame: 124 x 124 dialog units, bordered.
    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    const QSize previewSize = DialogUnits(*this, 124, 124);
    m_previewWidget = new CPreviewWidget(engine, frame);
    m_previewWidget->setObjectName(QString::number(Ctl::kTemplatePreview));
    m_previewWidget->setFixedSize(previewSize);
    m_message = new CTemplateMessage(engine.GetSettings().m_colorBackground, frame);
    m_message->setFixedSize(previewSize);
    m_previewStack = new QStackedLayout(frame);
    m_previewStack->setContentsMargins(1, 1, 1, 1);
    m_previewStack->addWidget(m_previewWidget);
    m_previewStack->addWidget(m_message);

    m_x = ExtentEdit(this, Ctl::kTemplateX);
    m_y = ExtentEdit(this, Ctl::kTemplateY);
    m_z = ExtentEdit(this, Ctl::kTemplateZ);
    QPushButton* autoSize = Button(this, "Auto Size", Ctl::kTemplateAutoSize);
    QPushButton* realSize = Button(this, "Real Size", Ctl::kTemplateRealSize);
    QPushButton* ok = Button(this, "&Ok", Ctl::kOk);
    ok->setDefault(true);
    QPushButton* cancel = Button(this, "&Cancel", Ctl::kCancel);
    QPushButton* help = Button(this, "&Help", Ctl::kHelp);
    m_add = Button(this, "&Add", Ctl::kTemplateAdd);
    m_delete = Button(this, "&Delete", Ctl::kTemplateDelete);
    m_delete->setEnabled(false);

    auto* left = new QVBoxLayout;
    auto* searchRow = new QHBoxLayout;
    auto* searchLabel = new QLabel(QStringLiteral("Search:"), this);
    searchLabel->setBuddy(m_search);
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(m_search);
    left->addLayout(searchRow);
    left->addWidget(m_tree, 1);

    auto* middle = new QVBoxLayout;
    auto* paletteLabel = new QLabel(QStringLiteral("Palette:"), this);
    paletteLabel->setBuddy(m_palette);
    middle->addWidget(paletteLabel);
    middle->addWidget(m_palette);
    middle->addWidget(frame, 0, Qt::AlignHCenter);
    auto* extents = new QGridLayout;
    const std::array<std::pair<const char*, QLineEdit*>, 3> rows = {
        {{"X:", m_x}, {"Y:", m_y}, {"Z:", m_z}}};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        auto* label = new QLabel(QString::fromLatin1(rows[i].first), this);
        label->setBuddy(rows[i].second);
        extents->addWidget(label, static_cast<int>(i), 0);
        extents->addWidget(rows[i].second, static_cast<int>(i), 1);
    }
    extents->addWidget(autoSize, 0, 2);
    extents->addWidget(realSize, 1, 2);
    middle->addLayout(extents);
    middle->addWidget(m_params, 1);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {ok, cancel, help, m_add, m_delete})
        buttons->addWidget(button);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(middle);
    layout->addLayout(buttons);

    if (m_mode != 0) {
        for (const auto& entry : engine.GetGame().m_templates) {
            if (!entry)
                continue;
            auto copy = std::make_unique<CQzlTemplate>();
            copy->m_name = entry->m_name;
            copy->m_basedOn = entry->m_basedOn;
            copy->m_params = entry->m_params;
            copy->m_model = entry->m_model;
            m_ownList.push_back(std::move(copy));
        }
        m_add->hide();
        m_delete->hide();
        setWindowTitle(QStringLiteral("Add Template to level"));
    } else {
        setWindowTitle(QStringLiteral("Templates in level"));
    }
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this] {
        if (!m_building)
            OnSelectionChange();
    });
    FillTree(m_currentName);
    connect(m_search, &QLineEdit::textEdited, this, &CTemplateDlg::OnSearch);
    connect(m_palette, &QComboBox::currentIndexChanged, this, &CTemplateDlg::DrawPreview);
    connect(autoSize, &QPushButton::clicked, this, [this] {
        m_autoSize = 1;
        DrawPreview();
    });
    connect(realSize, &QPushButton::clicked, this, [this] {
        m_autoSize = 0;
        DrawPreview();
    });
    connect(ok, &QPushButton::clicked, this, &CTemplateDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CTemplateDlg::reject);
    connect(help, &QPushButton::clicked, this, [] { QzHelp(kHelpContext); });
    connect(m_add, &QPushButton::clicked, this, &CTemplateDlg::OnAdd);
    connect(m_delete, &QPushButton::clicked, this, &CTemplateDlg::OnDelete);
    FitDialog(*this, DialogUnits(*this, 360, 240));
    m_params->setFocus();
}

CTemplateDlg::~CTemplateDlg()
{
    m_settings.m_autoSize = m_autoSize;
}

const std::vector<std::unique_ptr<CQzlTemplate>>& CTemplateDlg::Shown() const
{
    return m_mode == 0 ? m_engine.GetLevel().m_templates : m_ownList;
}

void CTemplateDlg::FillTree(const std::string& select)
{
    m_building = true;
    m_tree->setUpdatesEnabled(false);
    m_tree->clear();
    m_items.clear();
    m_root = new QTreeWidgetItem(m_tree, QStringList(QStringLiteral("none")));
    m_root->setData(0, Qt::UserRole, -1);
    const auto& list = Shown();
    const std::vector<int> parents = TemplateTreeParents(list);
    for (std::size_t i = 0; i < list.size(); ++i) {
        QTreeWidgetItem* parent =
            parents[i] < 0 ? m_root : m_items[static_cast<std::size_t>(parents[i])];
        auto* item = new QTreeWidgetItem(
            parent, QStringList(Text(list[i] ? list[i]->m_name : std::string())));
        item->setData(0, Qt::UserRole, static_cast<int>(i));
        m_items.push_back(item);
    }
    m_tree->expandAll();
    m_tree->setCurrentItem(m_root);
    m_building = false;
    m_tree->setUpdatesEnabled(true);
    SelectTemplate(FindTemplateItem(list, select));
}

void CTemplateDlg::SelectTemplate(int index)
{
    QTreeWidgetItem* item = index < 0 ? m_root : m_items[static_cast<std::size_t>(index)];
    if (m_tree->currentItem() == item)
        OnSelectionChange();
    else
        m_tree->setCurrentItem(item);
    m_tree->scrollToItem(item);
}

void CTemplateDlg::OnSelectionChange()
{
    m_preview = {};
    std::string text;
    bool canDelete = false;
    QTreeWidgetItem* item = m_tree->currentItem();
    const int index = item != nullptr ? item->data(0, Qt::UserRole).toInt() : -1;
    const auto& list = Shown();
    if (index >= 0 && static_cast<std::size_t>(index) < list.size() &&
        list[static_cast<std::size_t>(index)]) {
        const CQzlTemplate& entry = *list[static_cast<std::size_t>(index)];
        text = entry.m_params;
        m_preview = TemplatePreviewOf(m_engine, entry);
        m_currentName = entry.m_name;
        canDelete = item->childCount() == 0;
    }
    DrawPreview();
    m_params->setPlainText(Text(text));
    m_delete->setEnabled(canDelete);
}

void CTemplateDlg::OnSearch(const QString& text)
{
    const int found = SearchTemplate(Shown(), Latin1(text));
    if (found >= 0) {
        SelectTemplate(found);
    } else {
        m_tree->setCurrentItem(nullptr);
        OnSelectionChange();
    }
    m_search->setFocus();
}

void CTemplateDlg::DrawPreview()
{
    bool drawn = false;
    if (m_engine.GetGame().m_archive == nullptr)
        return;  // nothing can be loaded: the preview stays as it was
    const std::string colormap = Latin1(m_palette->currentText());
    switch (m_preview.m_kind) {
    case ETemplatePreview::kModel:
        drawn = m_previewWidget->ShowModel(m_preview.m_name, colormap, m_autoSize);
        break;
    case ETemplatePreview::kMaterial:
        drawn = m_previewWidget->ShowMaterial(m_preview.m_name, colormap) &&
                TemplateMaterialFound(m_engine, m_preview.m_name);
        break;
    case ETemplatePreview::kNothing:
        break;
    }
    if (drawn) {
        const CBoundingBox& box = m_previewWidget->Engine().m_levelBox;
        m_extents = box.max - box.min;
    } else {
        m_extents = {};
    }
    m_x->setText(QString::number(m_extents.x, 'g', 6));
    m_y->setText(QString::number(m_extents.y, 'g', 6));
    m_z->setText(QString::number(m_extents.z, 'g', 6));
    m_message->SetForModel(m_preview.m_kind == ETemplatePreview::kModel);
    m_previewStack->setCurrentWidget(drawn ? static_cast<QWidget*>(m_previewWidget)
                                           : static_cast<QWidget*>(m_message));
}

void CTemplateDlg::OnAdd()
{
    std::string chosen;
    {
        CTemplateDlg second(m_engine, m_settings, m_currentName, 1, this);
        if (second.exec() != QDialog::Accepted)
            return;
        chosen = second.CurrentName();
    }
    // The second dialog wrote its "AutoSize" choice as it went.
    m_autoSize = m_settings.m_autoSize;
    m_currentName = chosen;
    {
        CWaitCursor wait;
        const CTemplateList& master = m_engine.GetGame().m_templates;
        RunUndoable(m_engine,
                    [&] { return AddLevelTemplate(m_engine.GetLevel(), master, chosen); });
        FillTree(m_currentName);
    }
    m_tree->setFocus();
}

void CTemplateDlg::OnDelete()
{
    QTreeWidgetItem* item = m_tree->currentItem();
    if (item == nullptr || item == m_root || item->childCount() != 0)
        return;
    const int index = item->data(0, Qt::UserRole).toInt();
    CTemplateDeletion deletion;
    RunUndoable(m_engine, [&] {
        deletion = DeleteLevelTemplate(m_engine.GetLevel(), index);
        return !deletion.m_removed.empty();
    });
    if (deletion.m_removed.empty()) {
        if (deletion.m_stoppedByThing)
            QzMessageBox(QString::fromLatin1(kTemplateUsedInLevel), QMessageBox::Ok, this);
        return;
    }
    FillTree(std::string());
}

void CTemplateDlg::accept()
{
    m_engine.GetHost().SetModifiedFlag(true);
    QDialog::accept();
}
