#include "app/ParsingSectorsDlg.h"

#include "ui/DialogIds.h"
#include "ui/UiServices.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QVBoxLayout>

#include <algorithm>

CParsingSectorsDlg::CParsingSectorsDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QString::number(Dlg::kParsingSectors));
    setWindowTitle(QStringLiteral("Parsing Sectors..."));
    setModal(false);

    m_caption = new QLabel(windowTitle(), this);
    m_caption->setObjectName(QStringLiteral("Caption"));
    m_caption->setAutoFillBackground(true);
    m_caption->setBackgroundRole(QPalette::Highlight);
    m_caption->setForegroundRole(QPalette::HighlightedText);
    QFont bold = m_caption->font();
    bold.setBold(true);
    m_caption->setFont(bold);
    m_caption->setMargin(2);
    m_caption->hide();

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QString::number(Ctl::kParsingProgress));
    m_progress->setTextVisible(false);
    m_progress->setMinimumWidth(DialogUnits(*this, 180, 0).width());
    // An empty bar until Create gives it its range (a range of 0 .. 0 would show Qt's busy
    // indicator).
    m_progress->setRange(0, 1);
    m_progress->setValue(0);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(m_caption);
    layout->addWidget(m_progress);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

CParsingSectorsDlg::~CParsingSectorsDlg() = default;

bool CParsingSectorsDlg::Create(QWidget* parent, int upperBound)
{
    QWidget* over = parent != nullptr ? parent : parentWidget();
    if (over != nullptr) {
        over = over->window();
        if (over != parentWidget() || isWindow())
            setParent(over, Qt::Widget);
        m_caption->show();
    }
    m_upper = std::clamp(upperBound, 0, kLargestUpperBound);
    m_position = 0;
    // An upper bound of 0 shows an empty bar, not the busy indicator of a 0 .. 0 range.
    m_progress->setRange(0, std::max(m_upper, 1));
    m_progress->setValue(0);

    adjustSize();
    if (over != nullptr) {
        // Centred over the window; a window smaller than the dialog shows its top left part.
        const QPoint centred = over->rect().center() - rect().center();
        move(std::max(centred.x(), 0), std::max(centred.y(), 0));
        raise();
    }
    show();
    repaint();
    return true;
}

void CParsingSectorsDlg::StepIt()
{
    if (m_position >= m_upper)
        return;
    ++m_position;
    // The bar repaints itself at once when the step shows (QProgressBar::setValue).
    m_progress->setValue(m_position);
}

int CParsingSectorsDlg::Position() const
{
    return m_position;
}

void CParsingSectorsDlg::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowTitleChange && m_caption != nullptr) {
        m_caption->setText(windowTitle());
        // The caller sets the caption and goes on working: it is drawn now.
        if (m_caption->isVisible())
            m_caption->repaint();
    }
}

void CParsingSectorsDlg::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    if (isWindow())
        return;
    // The child window's raised border.
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
