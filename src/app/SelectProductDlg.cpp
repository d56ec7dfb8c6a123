#include "app/SelectProductDlg.h"

#include "app/QzEditApp.h"
#include "ui/DialogIds.h"

#include <QButtonGroup>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

// Dialog units of the dialog's font as pixels (4 horizontal units to 6 pixels, 8 vertical
// units to 13 pixels).
QRect Dlu(int x, int y, int width, int height)
{
    return QRect(x * 3 / 2, y * 13 / 8, width * 3 / 2, height * 13 / 8);
}

const char* const kProductNames[2] = {"Korvath", "Varnok"};

}  // namespace

CSelectProductDlg::CSelectProductDlg(CQzEditApp& app, QWidget* parent) : QDialog(parent), m_app(app)
{
    setObjectName(QString::number(Dlg::kSelectProduct));
    setWindowTitle(QStringLiteral("Select Product"));
    m_chooseFolder = [this](const QString& title, const QString& start) {
        return QFileDialog::getExistingDirectory(this, title, start);
    };

    // The radio buttons stand on the left; the folder of each product's game beside it; the
    // two buttons on the right.
    m_korvath = new QRadioButton(QStringLiteral("Korvath"), this);
    m_korvath->setObjectName(QString::number(Ctl::kKorvath));
    m_korvath->setGeometry(Dlu(4, 4, 44, 10));
    m_varnok = new QRadioButton(QStringLiteral("Varnok"), this);
    m_varnok->setObjectName(QString::number(Ctl::kVarnok));
    m_varnok->setGeometry(Dlu(4, 17, 44, 10));
    auto* group = new QButtonGroup(this);
    group->addButton(m_korvath, 0);
    group->addButton(m_varnok, 1);
    // Neither is checked for a product other than 0 and 1.
    group->setExclusive(false);
    m_korvath->setChecked(m_app.m_settings.m_product == 0);
    m_varnok->setChecked(m_app.m_settings.m_product == 1);
    group->setExclusive(true);

    auto* label = new QLabel(QStringLiteral("Game folder:"), this);
    label->setGeometry(Dlu(48, 31, 80, 8));
    for (int product = 0; product < 2; ++product) {
        const int y = product == 0 ? 4 : 17;
        m_shownFolders[product] =
            QDir::toNativeSeparators(QString::fromStdString(m_app.GameFolder(product).string()));
        m_folders[product] = new QLineEdit(m_shownFolders[product], this);
        m_folders[product]->setObjectName(QStringLiteral("GameFolder%1").arg(product));
        m_folders[product]->setToolTip(QStringLiteral("Folder of the %1 game")
                                           .arg(QString::fromLatin1(kProductNames[product])));
        m_folders[product]->setGeometry(Dlu(48, y - 1, 150, 12));
        auto* browse = new QPushButton(QStringLiteral("..."), this);
        browse->setObjectName(QStringLiteral("BrowseGameFolder%1").arg(product));
        browse->setAutoDefault(false);
        browse->setGeometry(Dlu(200, y - 1, 16, 12));
        connect(browse, &QPushButton::clicked, this, [this, product] { Browse(product); });
    }

    auto* ok = new QPushButton(QStringLiteral("&Ok"), this);
    ok->setObjectName(QString::number(Ctl::kOk));
    ok->setGeometry(Dlu(222, 4, 36, 12));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CSelectProductDlg::accept);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QString::number(Ctl::kCancel));
    cancel->setGeometry(Dlu(222, 20, 36, 12));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    setFixedSize(Dlu(0, 0, 262, 44).size());
}

CSelectProductDlg::~CSelectProductDlg() = default;

void CSelectProductDlg::Browse(int product)
{
    const QString title =
        QStringLiteral("%1 Game Folder").arg(QString::fromLatin1(kProductNames[product]));
    const QString folder = m_chooseFolder(title, m_folders[product]->text());
    if (!folder.isEmpty())
        m_folders[product]->setText(QDir::toNativeSeparators(folder));
}

void CSelectProductDlg::accept()
{
    if (m_korvath->isChecked())
        m_app.m_settings.m_product = 0;
    else if (m_varnok->isChecked())
        m_app.m_settings.m_product = 1;
    // Only a folder the user changed is stored: an untouched field may show the default game
    // folder, which must stay a default.
    for (int product = 0; product < 2; ++product) {
        const QString folder = m_folders[product]->text().trimmed();
        if (folder != m_shownFolders[product])
            m_app.SetGameFolder(product, QDir::fromNativeSeparators(folder).toStdString());
    }
    m_app.SetupProduct();
    QDialog::accept();
}
