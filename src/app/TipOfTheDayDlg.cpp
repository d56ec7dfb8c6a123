#include "app/TipOfTheDayDlg.h"

#include "app/QzEditApp.h"
#include "ui/DialogIds.h"
#include "ui/UiServices.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

#include <algorithm>
#include <ctime>
#include <sys/stat.h>

namespace {

const QString kStartUpKey = QStringLiteral("Tip/StartUp");
const QString kFilePosKey = QStringLiteral("Tip/FilePos");
const QString kTimeStampKey = QStringLiteral("Tip/TimeStamp");

// The light-bulb picture's size.
constexpr int kBulbWidth = 40;
constexpr int kBulbHeight = 48;

// Draws the light bulb with its top-left corner at origin.
void DrawBulb(QPainter& painter, QPoint origin)
{
    painter.save();
    painter.translate(origin);
    painter.setRenderHint(QPainter::Antialiasing);
    // Rays.
    painter.setPen(QPen(QColor(255, 200, 0), 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(20, 1), QPointF(20, 5));
    painter.drawLine(QPointF(4, 8), QPointF(8, 11));
    painter.drawLine(QPointF(36, 8), QPointF(32, 11));
    painter.drawLine(QPointF(1, 21), QPointF(5, 21));
    painter.drawLine(QPointF(39, 21), QPointF(35, 21));
    // Glass: a round top narrowing to the neck.
    QPainterPath glass;
    glass.moveTo(14, 34);
    glass.cubicTo(14, 29, 8, 27, 8, 20);
    glass.arcTo(QRectF(8, 8, 24, 24), 180, -180);
    glass.cubicTo(32, 27, 26, 29, 26, 34);
    glass.closeSubpath();
    painter.setPen(QPen(QColor(128, 96, 0), 1.2));
    painter.setBrush(QColor(255, 240, 96));
    painter.drawPath(glass);
    // Filament.
    painter.setPen(QPen(QColor(200, 96, 0), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(QPolygonF({QPointF(16, 33), QPointF(17, 22), QPointF(19, 25),
                                    QPointF(21, 22), QPointF(23, 25), QPointF(24, 33)}));
    // Screw base.
    painter.setPen(QPen(QColor(64, 64, 64), 1));
    painter.setBrush(QColor(168, 168, 168));
    painter.drawRect(QRectF(14, 35, 12, 8));
    painter.drawLine(QPointF(14, 38), QPointF(26, 38));
    painter.drawLine(QPointF(14, 41), QPointF(26, 41));
    painter.setBrush(QColor(80, 80, 80));
    painter.drawRect(QRectF(17, 43, 6, 3));
    painter.restore();
}

// The area of static 265: white, the light bulb in its top-left corner, and "Did you know..."
// right of it, centred on the bulb's height. The tip text stands in it below them (its layout's
// top margin keeps their place).
class CTipBulbArea : public QWidget {
public:
    explicit CTipBulbArea(QWidget* parent) : QWidget(parent)
    {
        setObjectName(QString::number(Ctl::kTipBulbArea));
        m_heading = font();
        m_heading.setBold(true);
        m_heading.setPointSizeF(m_heading.pointSizeF() * 1.4);
    }

    // The heading's line: right of the bulb, as high as the bulb or the text, whichever is more.
    QSize HeadingSize() const
    {
        const QFontMetrics metrics(m_heading);
        return {kBulbWidth + metrics.horizontalAdvance(QString::fromLatin1(kHeading)) +
                    metrics.averageCharWidth(),
                std::max(kBulbHeight, metrics.height())};
    }

    QSize minimumSizeHint() const override
    {
        return QWidget::minimumSizeHint().expandedTo(HeadingSize());
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QRect area = rect();
        painter.fillRect(area, Qt::white);
        DrawBulb(painter, area.topLeft());
        QRect heading = area;
        heading.setLeft(area.left() + kBulbWidth);
        heading.setHeight(std::min(area.height(), HeadingSize().height()));
        painter.setFont(m_heading);
        painter.setPen(Qt::black);
        painter.drawText(heading, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         QString::fromLatin1(kHeading));
    }

private:
    static constexpr const char* kHeading = CTipOfTheDayDlg::kDidYouKnow;
    QFont m_heading;
};

// "tips.txt" in the current directory, else in the program folder; empty when neither is a file.
std::filesystem::path FindTipsFile(const CQzEditApp& app)
{
    std::error_code error;
    const std::filesystem::path here = CTipOfTheDayDlg::kTipsFileName;
    if (std::filesystem::is_regular_file(here, error))
        return std::filesystem::absolute(here, error);
    const std::filesystem::path program = app.m_programDir / CTipOfTheDayDlg::kTipsFileName;
    if (std::filesystem::is_regular_file(program, error))
        return program;
    return {};
}

// The C library's ctime text of the file's status change time, without trailing white space.
QString TimeStamp(std::FILE* stream)
{
    struct stat status {};
    if (::fstat(::fileno(stream), &status) != 0)
        return {};
    const std::time_t changed = status.st_ctime;
    const char* text = std::ctime(&changed);
    return text != nullptr ? QString::fromLatin1(text).trimmed() : QString();
}

}  // namespace

CTipOfTheDayDlg::CTipOfTheDayDlg(CQzEditApp& app, QWidget* parent,
                                 const std::filesystem::path& tipsFile)
    : QDialog(parent), m_app(app)
{
    QSettings& profile = m_app.Profile();
    m_bStartup = profile.value(kStartUpKey, 0).toInt() == 0;
    long position = static_cast<long>(profile.value(kFilePosKey, 0).toLongLong());

    m_tipsFile = tipsFile.empty() ? FindTipsFile(app) : tipsFile;
    if (!m_tipsFile.empty())
        m_pStream = std::fopen(m_tipsFile.c_str(), "r");
    bool haveTip = false;
    if (m_pStream == nullptr) {
        m_tipsFile.clear();
        m_strTip = QString::fromLatin1(kNoTipsFile);
    } else {
        const QString stamp = TimeStamp(m_pStream);
        if (stamp != profile.value(kTimeStampKey, QString()).toString()) {
            position = 0;
            profile.setValue(kTimeStampKey, stamp);
        }
        if (std::fseek(m_pStream, position, SEEK_SET) != 0)
            QzMessageBox(QString::fromLatin1(kTroubleReading), QMessageBox::Ok, parent);
        else
            haveTip = GetNextTipString();
    }

    setObjectName(QString::number(Dlg::kTipOfTheDay));
    setWindowTitle(QStringLiteral("Tip of the Day"));

    // A sunken frame around the white area with the bulb, the heading and the tip; below it the
    // check box on the left and the two buttons on the right.
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Sunken);
    auto* bulb = new CTipBulbArea(frame);
    auto* frameLayout = new QVBoxLayout(frame);
    const QSize unit = DialogUnits(*this, 4, 4);
    frameLayout->setContentsMargins(unit.width(), unit.height(), unit.width(), unit.height());
    frameLayout->addWidget(bulb);

    m_tip = new QLabel(bulb);
    m_tip->setObjectName(QString::number(Ctl::kTipText));
    m_tip->setWordWrap(true);
    m_tip->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette white = m_tip->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    m_tip->setPalette(white);
    m_tip->setMinimumSize(DialogUnits(*this, 176, 60));
    auto* bulbLayout = new QVBoxLayout(bulb);
    bulbLayout->setContentsMargins(unit.width(), bulb->HeadingSize().height() + unit.height(),
                                   unit.width(), unit.height());
    bulbLayout->addWidget(m_tip);

    m_startup = new QCheckBox(QStringLiteral("&Show Tips on StartUp"), this);
    m_startup->setObjectName(QString::number(Ctl::kShowTipsOnStartUp));
    m_startup->setChecked(m_bStartup);

    const int buttonWidth = DialogUnits(*this, 36, 0).width();
    m_next = new QPushButton(QStringLiteral("&Next Tip"), this);
    m_next->setObjectName(QString::number(Ctl::kNextTip));
    m_next->setAutoDefault(false);
    m_next->setMinimumWidth(buttonWidth);
    connect(m_next, &QPushButton::clicked, this, &CTipOfTheDayDlg::OnNextTip);

    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QString::number(Ctl::kOk));
    close->setDefault(true);
    close->setMinimumWidth(buttonWidth);
    connect(close, &QPushButton::clicked, this, &CTipOfTheDayDlg::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_startup);
    buttons->addStretch(1);
    buttons->addWidget(m_next);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(unit.width(), unit.height(), unit.width(), unit.height());
    layout->addWidget(frame, 1);
    layout->addLayout(buttons);

    // Without a file, or with one that holds no tip, there is no next tip.
    m_next->setEnabled(m_pStream != nullptr && haveTip);
    UpdateControls();
}

CTipOfTheDayDlg::~CTipOfTheDayDlg()
{
    if (m_pStream == nullptr)
        return;
    const long position = std::ftell(m_pStream);
    if (position >= 0)
        m_app.Profile().setValue(kFilePosKey, static_cast<qlonglong>(position));
    std::fclose(m_pStream);
}

void CTipOfTheDayDlg::OnNextTip()
{
    if (m_pStream == nullptr)
        return;
    if (!GetNextTipString())
        m_next->setEnabled(false);
    UpdateControls();
}

void CTipOfTheDayDlg::accept()
{
    m_bStartup = m_startup->isChecked();
    QDialog::accept();
    m_app.Profile().setValue(kStartUpKey, m_bStartup ? 0 : 1);
}

bool CTipOfTheDayDlg::GetNextTipString()
{
    char buffer[1000];
    bool wrapped = false;
    for (;;) {
        if (std::fgets(buffer, sizeof buffer, m_pStream) == nullptr) {
            // The end of the file (or a read error): once more from the start, but only once,
            // so that a file without a tip does not keep the search going.
            if (wrapped) {
                m_strTip = QString::fromLatin1(kNoTipInFile);
                return false;
            }
            std::clearerr(m_pStream);
            if (std::fseek(m_pStream, 0, SEEK_SET) != 0) {
                QzMessageBox(QString::fromLatin1(kTroubleReading), QMessageBox::Ok, this);
                return false;
            }
            wrapped = true;
            continue;
        }
        const char first = buffer[0];
        if (first != ' ' && first != '\t' && first != '\n' && first != '\r' && first != ';' &&
            first != '\0') {
            m_strTip = QString::fromUtf8(buffer);
            return true;
        }
    }
}

void CTipOfTheDayDlg::UpdateControls()
{
    // The tip keeps its line end; the control shows the text without it.
    QString shown = m_strTip;
    while (!shown.isEmpty() && shown.back().isSpace())
        shown.chop(1);
    m_tip->setText(shown);
    // A longer tip makes the dialog taller; it does not shrink again while it is open.
    if (m_fittedSize.isEmpty())
        m_fittedSize = DialogUnits(*this, 200, 129);
    FitDialog(*this, m_fittedSize);
    m_fittedSize = size();
}
