#include "app/ParsingSectorsDlg.h"

#include <QProgressBar>

#include <algorithm>

namespace {

// Dialog units of the dialog's font as pixels (4 horizontal units to 6 pixels, 8 vertical
// units to 13 pixels).
QRect Dlu(int x, int y, int width, int height)
{
    return QRect(x * 3 / 2, y * 13 / 8, width * 3 / 2, height * 13 / 8);
}

}  // namespace

CParsingSectorsDlg::CParsingSectorsDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("102"));
    setWindowTitle(QStringLiteral("Parsing Sectors..."));
    setModal(false);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("219"));
    m_progress->setTextVisible(false);
    m_progress->setGeometry(Dlu(4, 4, 180, 14));
    // An empty bar until Create gives it its range (a range of 0 .. 0 would show Qt's busy
    // indicator).
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    setFixedSize(Dlu(0, 0, 186, 21).size());
}

CParsingSectorsDlg::~CParsingSectorsDlg() = default;

bool CParsingSectorsDlg::Create(QWidget* parent, int upperBound)
{
    if (parent != nullptr && parent != parentWidget())
        setParent(parent, windowFlags());
    m_upper = std::clamp(upperBound, 0, kLargestUpperBound);
    m_position = 0;
    // An upper bound of 0 shows an empty bar, not the busy indicator of a 0 .. 0 range.
    m_progress->setRange(0, std::max(m_upper, 1));
    m_progress->setValue(0);

    const QWidget* centre = parent != nullptr ? parent : parentWidget();
    if (centre != nullptr) {
        const QPoint middle = centre->mapToGlobal(centre->rect().center());
        move(middle - rect().center());
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
