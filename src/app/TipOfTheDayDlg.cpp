#include "app/TipOfTheDayDlg.h"

#include "app/QzEditApp.h"
#include "ui/DialogIds.h"
#include "ui/UiServices.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QSettings>

#include <algorithm>
#include <ctime>
#include <sys/stat.h>

namespace {

const QString kStartUpKey = QStringLiteral("Tip/StartUp");
const QString kFilePosKey = QStringLiteral("Tip/FilePos");
const QString kTimeStampKey = QStringLiteral("Tip/TimeStamp");

// Dialog units of the dialog's font as pixels (4 horizontal units to 6 pixels, 8 vertical
// units to 13 pixels).
QRect Dlu(int x, int y, int width, int height)
{
    return QRect(x * 3 / 2, y * 13 / 8, width * 3 / 2, height * 13 / 8);
}

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
// right of it, centred on the bulb's height.
class CTipBulbArea : public QWidget {
public:
    explicit CTipBulbArea(QWidget* parent) : QWidget(parent)
    {
        setObjectName(QString::number(Ctl::kTipBulbArea));
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
        heading.setHeight(std::min(area.height(), kBulbHeight));
        QFont font = painter.font();
        font.setBold(true);
        font.setPointSizeF(font.pointSizeF() * 1.4);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(heading, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         QString::fromLatin1(CTipOfTheDayDlg::kDidYouKnow));
    }
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
    setFixedSize(Dlu(0, 0, 200, 129).size());

    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Sunken);
    frame->setGeometry(Dlu(4, 4, 192, 104));

    auto* bulb = new CTipBulbArea(this);
    bulb->setGeometry(Dlu(8, 8, 184, 96));

    m_tip = new QLabel(this);
    m_tip->setObjectName(QString::number(Ctl::kTipText));
    m_tip->setWordWrap(true);
    m_tip->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_tip->setAutoFillBackground(true);
    QPalette white = m_tip->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    m_tip->setPalette(white);
    m_tip->setGeometry(Dlu(12, 40, 176, 60));

    m_startup = new QCheckBox(QStringLiteral("&Show Tips on StartUp"), this);
    m_startup->setObjectName(QString::number(Ctl::kShowTipsOnStartUp));
    m_startup->setGeometry(Dlu(4, 112, 85, 10));
    m_startup->setChecked(m_bStartup);

    m_next = new QPushButton(QStringLiteral("&Next Tip"), this);
    m_next->setObjectName(QString::number(Ctl::kNextTip));
    m_next->setGeometry(Dlu(120, 112, 36, 12));
    m_next->setAutoDefault(false);
    connect(m_next, &QPushButton::clicked, this, &CTipOfTheDayDlg::OnNextTip);

    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QString::number(Ctl::kOk));
    close->setGeometry(Dlu(160, 112, 36, 12));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &CTipOfTheDayDlg::accept);

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
}
