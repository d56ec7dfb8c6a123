#include "app/AboutDlg.h"

#include "app/QzEditApp.h"
#include "ui/DialogIds.h"
#include "ui/UiServices.h"

#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

namespace {

const char* const kVersion = "QzEdit Version 3.24";
const char* const kSubtitle = "Level editor for Korvath and Varnok";
const char* const kLegalNotice =
    "QzEdit is an independent level editor. It is not made, endorsed or supported by the makers "
    "of Korvath and Varnok; the names of the games belong to their owners. The program is "
    "provided as it is, without warranty of any kind. Keep backups of your levels.";

// The program's icon (icon 128), drawn here: a framed square with a small wireframe room.
QPixmap ProgramIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 0, 96), 1));
    painter.setBrush(QColor(32, 64, 160));
    painter.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 4, 4);
    painter.setPen(QPen(QColor(255, 220, 64), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(7, 12, 12, 12));
    painter.drawRect(QRectF(13, 7, 12, 12));
    painter.drawLine(QPointF(7, 12), QPointF(13, 7));
    painter.drawLine(QPointF(19, 12), QPointF(25, 7));
    painter.drawLine(QPointF(7, 24), QPointF(13, 19));
    painter.drawLine(QPointF(19, 24), QPointF(25, 19));
    return pixmap;
}

}  // namespace

CAboutDlg::CAboutDlg(CQzEditApp& app, bool splash, QWidget* parent, int splashMilliseconds)
    : QDialog(parent), m_bSplash(splash), m_app(app)
{
    m_timer.setObjectName(QStringLiteral("0"));
    m_timer.setSingleShot(true);
    // Not before its time: a coarse timer may fire a twentieth early.
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(splashMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &CAboutDlg::OnTimer);

    setObjectName(QString::number(Dlg::kAbout));
    setWindowTitle(QStringLiteral("About QzEdit"));

    auto* icon = new QLabel(this);
    icon->setObjectName(QString::number(Ctl::kProgramIcon));
    icon->setPixmap(ProgramIcon());

    m_version = new QLabel(QString::fromLatin1(kVersion), this);
    m_version->setObjectName(QString::number(Ctl::kVersion));
    auto* subtitle = new QLabel(QString::fromLatin1(kSubtitle), this);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QString::number(Ctl::kOk));
    m_ok->setDefault(true);
    m_ok->setMinimumWidth(DialogUnits(*this, 36, 0).width());
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    m_notice = new QLabel(QString::fromLatin1(kLegalNotice), this);
    m_notice->setObjectName(QString::number(Ctl::kLegalNotice));
    m_notice->setWordWrap(true);
    m_notice->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_notice->setMinimumWidth(DialogUnits(*this, 216, 0).width());

    // The icon at the top left, the version line and the subtitle beside it, OK at the top
    // right; the legal notice across the bottom.
    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(m_version, 0, 1);
    layout->addWidget(subtitle, 1, 1, Qt::AlignTop);
    layout->addWidget(m_ok, 0, 2, 2, 1, Qt::AlignTop);
    layout->setRowStretch(2, 1);
    layout->addWidget(m_notice, 3, 0, 1, 3);
    layout->setColumnStretch(1, 1);
    layout->setHorizontalSpacing(DialogUnits(*this, 6, 0).width());

    if (m_bSplash)
        m_ok->hide();
    FitDialog(*this, DialogUnits(*this, 228, 129));
}

CAboutDlg::~CAboutDlg() = default;

void CAboutDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_bSplash && !m_timerStarted) {
        m_timerStarted = true;
        m_timer.start();
    }
}

void CAboutDlg::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    // Set-up is queued, not run here: it runs after this paint, inside the splash's loop.
    if (m_bSplash && !m_bPosted) {
        m_bPosted = true;
        QMetaObject::invokeMethod(this, &CAboutDlg::RunSetup, Qt::QueuedConnection);
    }
}

void CAboutDlg::RunSetup()
{
    if (m_setupState != ESetup::NotRun)
        return;
    m_setupState = ESetup::Running;
    m_app.SetupProduct();
    m_setupState = ESetup::Done;
    if (m_timeUp)
        accept();
}

void CAboutDlg::OnTimer()
{
    m_timeUp = true;
    switch (m_setupState) {
    case ESetup::NotRun:
        // Not painted yet (or the queued set-up has not come): set-up runs now, then the
        // splash closes.
        RunSetup();
        break;
    case ESetup::Running:
        // The timer came inside set-up (a message box of set-up); it closes when set-up returns.
        break;
    case ESetup::Done:
        accept();
        break;
    }
}

void CAboutDlg::FinishSetup()
{
    if (m_bSplash)
        RunSetup();
}
