#include "app/SelectProductDlg.h"

#include "app/QzEditApp.h"
#include "ui/DialogIds.h"
#include "ui/UiServices.h"

#include <QButtonGroup>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace {

const char* const kProductNames[2] = {"Korvath", "Varnok"};

}  // namespace

CSelectProductDlg::CSelectProductDlg(CQzEditApp& app, QWidget* parent) : QDialog(parent), m_app(app)
{
    setObjectName(QString::number(Dlg::kSelectProduct));
    setWindowTitle(QStringLiteral("Select Product"));
    m_chooseFolder = [this](const QString& title, const QString& start) {
        return QFileDialog::getExistingDirectory(this, title, start);
    };

    // The radio buttons stand on the left; the folder of each product's game beside it, headed
    // by its label; the two buttons on the right.
    auto* layout = new QGridLayout(this);
    m_korvath = new QRadioButton(QStringLiteral("Korvath"), this);
    m_korvath->setObjectName(QString::number(Ctl::kKorvath));
    m_varnok = new QRadioButton(QStringLiteral("Varnok"), this);
    m_varnok->setObjectName(QString::number(Ctl::kVarnok));
    auto* group = new QButtonGroup(this);
    group->addButton(m_korvath, 0);
    group->addButton(m_varnok, 1);
    // Neither is checked for a product other than 0 and 1.
    group->setExclusive(false);
    m_korvath->setChecked(m_app.m_settings.m_product == 0);
    m_varnok->setChecked(m_app.m_settings.m_product == 1);
    group->setExclusive(true);
    layout->addWidget(m_korvath, 1, 0);
    layout->addWidget(m_varnok, 2, 0);

    auto* label = new QLabel(QStringLiteral("Game folder:"), this);
    layout->addWidget(label, 0, 1, 1, 2, Qt::AlignBottom);
    for (int product = 0; product < 2; ++product) {
        m_shownFolders[product] =
            QDir::toNativeSeparators(QString::fromStdString(m_app.GameFolder(product).string()));
        m_folders[product] = new QLineEdit(m_shownFolders[product], this);
        m_folders[product]->setObjectName(QStringLiteral("GameFolder%1").arg(product));
        m_folders[product]->setToolTip(QStringLiteral("Folder of the %1 game")
                                           .arg(QString::fromLatin1(kProductNames[product])));
        m_folders[product]->setMinimumWidth(DialogUnits(*this, 150, 0).width());
        auto* browse = new QToolButton(this);
        browse->setText(QStringLiteral("..."));
        browse->setObjectName(QStringLiteral("BrowseGameFolder%1").arg(product));
        browse->setToolTip(QStringLiteral("Choose the folder of the %1 game")
                               .arg(QString::fromLatin1(kProductNames[product])));
        connect(browse, &QToolButton::clicked, this, [this, product] { Browse(product); });
        layout->addWidget(m_folders[product], product + 1, 1);
        layout->addWidget(browse, product + 1, 2);
    }
    label->setBuddy(m_folders[0]);

    const int buttonWidth = DialogUnits(*this, 36, 0).width();
    auto* ok = new QPushButton(QStringLiteral("&Ok"), this);
    ok->setObjectName(QString::number(Ctl::kOk));
    ok->setDefault(true);
    ok->setMinimumWidth(buttonWidth);
    connect(ok, &QPushButton::clicked, this, &CSelectProductDlg::accept);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QString::number(Ctl::kCancel));
    cancel->setAutoDefault(false);
    cancel->setMinimumWidth(buttonWidth);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(ok, 1, 3);
    layout->addWidget(cancel, 2, 3);
    layout->setColumnStretch(1, 1);

    FitDialog(*this, DialogUnits(*this, 156, 44));
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
