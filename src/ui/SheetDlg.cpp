#include "ui/SheetDlg.h"

#include "framework/CFormat.h"
#include "ui/DialogIds.h"
#include "ui/DialogText.h"
#include "ui/UiServices.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cctype>
#include <cmath>

namespace {

using DialogText::Id;

// The button row: each button at least this wide, this far apart and from the sheet's left edge.
constexpr int kButtonWidth = 59;
constexpr int kButtonGap = 6;
// The narrowest sheet.
constexpr int kLeastSheetWidth = 272;
// The help context of a page: the help base of resources plus its template id.
constexpr unsigned int kHelpBase = 0x20000u;

QString Number(double value)
{
    return QString::fromStdString(FormatC("%.6g", value));
}

}  // namespace

// ---- CPropertyPage ----

CPropertyPage::CPropertyPage(int templateId, const QString& caption, QWidget* parent)
    : QWidget(parent), m_templateId(templateId), m_caption(caption)
{
    setObjectName(Id(templateId));
}

void CPropertyPage::SetModified(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit ModifiedChanged();
}

void CPropertyPage::OnControlChanged()
{
    if (!m_loading)
        SetModified(true);
}

void CPropertyPage::InitPage()
{
    if (m_initialized)
        return;
    m_initialized = true;
    m_loading = true;
    OnInitDialog();
    m_loading = false;
}

bool CPropertyPage::Pull()
{
    m_failedField = nullptr;
    m_failureMessage.clear();
    return PullControls();
}

void CPropertyPage::Apply()
{
    OnApply();
    SetModified(false);
}

void CPropertyPage::PushFloat(QLineEdit& edit, float value)
{
    edit.setText(Number(static_cast<double>(value)));
}

void CPropertyPage::PushInt(QLineEdit& edit, int value)
{
    edit.setText(Id(value));
}

bool CPropertyPage::ReadInt(const QLineEdit& edit, int& value)
{
    bool ok = false;
    const int number = edit.text().trimmed().toInt(&ok);
    if (ok)
        value = number;
    return ok;
}

bool CPropertyPage::Fail(QLineEdit& edit, const QString& message)
{
    m_failedField = &edit;
    m_failureMessage = message;
    return false;
}

bool CPropertyPage::PullFloat(QLineEdit& edit, float& value, double low, double high)
{
    const QByteArray text = edit.text().toLatin1();
    char* end = nullptr;
    const double number = StrtodC(text.constData(), &end);
    bool whole = end != text.constData();
    for (const char* rest = end; whole && *rest != '\0'; ++rest)
        whole = std::isspace(static_cast<unsigned char>(*rest)) != 0;
    // The value is kept as a 32-bit float: that is what is compared with the ends.
    const float narrowed = static_cast<float>(number);
    if (!whole || !std::isfinite(number) || !(narrowed >= static_cast<float>(low)) ||
        !(narrowed <= static_cast<float>(high)))
        return Fail(edit, QStringLiteral("Please enter a number between %1 and %2.")
                              .arg(Number(low), Number(high)));
    value = narrowed;
    return true;
}

bool CPropertyPage::PullInt(QLineEdit& edit, int& value, int low, int high)
{
    int number = 0;
    if (!ReadInt(edit, number) || number < low || number > high)
        return Fail(
            edit, QStringLiteral("Please enter an integer between %1 and %2.").arg(low).arg(high));
    value = number;
    return true;
}

// ---- CSheetDlg ----

CSheetDlg::CSheetDlg(const QString& caption, QWidget* parent, int firstPage)
    : QDialog(parent), m_firstPage(firstPage)
{
    setWindowTitle(caption);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(Id(Ctl::kTabControl));
    connect(m_tabs, &QTabWidget::currentChanged, this, &CSheetDlg::OnPageChanged);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(Id(Ctl::kOk));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(Id(Ctl::kCancel));
    m_apply = new QPushButton(QStringLiteral("&Apply"), this);
    m_apply->setObjectName(Id(Ctl::kApplyNow));
    m_apply->setEnabled(false);
    auto* help = new QPushButton(QStringLiteral("Help"), this);
    help->setObjectName(Id(Ctl::kHelp));
    connect(ok, &QPushButton::clicked, this, &CSheetDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CSheetDlg::reject);
    connect(m_apply, &QPushButton::clicked, this, &CSheetDlg::ApplyPages);
    connect(help, &QPushButton::clicked, this, &CSheetDlg::OnHelp);

    // OK, Cancel, Apply and Help in one row from the left edge, all of one width: 59 pixels, or
    // what the widest text needs.
    const QPushButton* const buttons[] = {ok, cancel, m_apply, help};
    int width = kButtonWidth;
    for (const QPushButton* button : buttons)
        width = std::max(width, button->sizeHint().width());
    auto* row = new QHBoxLayout;
    row->setSpacing(kButtonGap);
    for (QPushButton* button : {ok, cancel, m_apply, help}) {
        button->setFixedWidth(width);
        row->addWidget(button);
    }
    row->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kButtonGap, kButtonGap, kButtonGap, kButtonGap);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(row);
}

CSheetDlg::~CSheetDlg() = default;

void CSheetDlg::AddPage(CPropertyPage* page)
{
    m_pages.push_back(page);
    connect(page, &CPropertyPage::ModifiedChanged, this, &CSheetDlg::UpdateApply);
    m_tabs->addTab(page, page->Caption());
}

CPropertyPage* CSheetDlg::Page(int index) const
{
    return index >= 0 && index < PageCount() ? m_pages[static_cast<std::size_t>(index)] : nullptr;
}

void CSheetDlg::SetActivePage(int index)
{
    if (Page(index) == nullptr)
        return;
    m_tabs->setCurrentIndex(index);
    if (m_started)
        Page(index)->InitPage();
}

int CSheetDlg::ActivePage() const
{
    return m_tabs->currentIndex();
}

void CSheetDlg::showEvent(QShowEvent* event)
{
    if (!m_started) {
        m_started = true;
        // As large as the largest page asks, whatever the font.
        FitDialog(*this, QSize(kLeastSheetWidth, 0));
        SetActivePage(Page(m_firstPage) != nullptr ? m_firstPage : 0);
    }
    QDialog::showEvent(event);
}

void CSheetDlg::OnPageChanged(int index)
{
    if (m_started && Page(index) != nullptr)
        Page(index)->InitPage();
}

void CSheetDlg::UpdateApply()
{
    m_apply->setEnabled(std::ranges::any_of(m_pages, [](const CPropertyPage* page) {
        return page->IsInitialized() && page->IsModified();
    }));
}

bool CSheetDlg::ApplyPages()
{
    for (int i = 0; i < PageCount(); ++i) {
        CPropertyPage* page = Page(i);
        if (!page->IsInitialized() || page->Pull())
            continue;
        SetActivePage(i);
        QzMessageBox(page->FailureMessage(), QMessageBox::Ok, this);
        if (auto* edit = qobject_cast<QLineEdit*>(page->FailedField())) {
            edit->setFocus();
            edit->selectAll();
        }
        return false;
    }
    for (CPropertyPage* page : m_pages)
        if (page->IsInitialized())
            page->Apply();
    return true;
}

void CSheetDlg::accept()
{
    if (ApplyPages())
        QDialog::accept();
}

void CSheetDlg::OnHelp()
{
    if (const CPropertyPage* page = Page(ActivePage()))
        QzHelp(kHelpBase + static_cast<unsigned int>(page->TemplateId()));
}
