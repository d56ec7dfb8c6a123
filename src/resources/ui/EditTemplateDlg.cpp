#include "resources/ui/EditTemplateDlg.h"

#include "framework/Exceptions.h"
#include "framework/FileIO.h"
#include "level/TemplateList.h"
#include "ui/DialogIds.h"
#include "ui/DialogText.h"
#include "ui/UiServices.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdint>
#include <vector>

namespace {

using DialogText::Id;
using DialogText::Text;

using DialogText::Latin1;

// The parameter editor: Return inserts a line break, and what is typed or pasted arrives in
// lower case.
class CLowerCaseEdit : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        const QString lower = event->text().toLower();
        if (lower == event->text()) {
            QPlainTextEdit::keyPressEvent(event);
            return;
        }
        QKeyEvent lowered(event->type(), event->key(), event->modifiers(), lower,
                          event->isAutoRepeat(), static_cast<ushort>(event->count()));
        QPlainTextEdit::keyPressEvent(&lowered);
    }
    void insertFromMimeData(const QMimeData* source) override
    {
        insertPlainText(source->text().toLower());
    }
};

}  // namespace

CEditTemplateDlg::CEditTemplateDlg(int idd, QWidget* parent) : QDialog(parent)
{
    const bool add = idd == Dlg::kAddTemplate;
    setObjectName(Id(add ? Dlg::kAddTemplate : Dlg::kEditTemplate));
    setWindowTitle(add ? QStringLiteral("Add Template") : QStringLiteral("EditTemplate"));

    m_nameEdit = new QLineEdit(this);
    m_nameEdit->setObjectName(Id(Ctl::kTplEntryName));
    m_nameEdit->setReadOnly(!add);
    m_basedOnEdit = new QLineEdit(this);
    m_basedOnEdit->setObjectName(Id(Ctl::kTplEntryBasedOn));
    m_basedOnEdit->setReadOnly(true);

    m_paramsEdit = new CLowerCaseEdit(this);
    m_paramsEdit->setObjectName(Id(Ctl::kTplEntryParams));
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(12);
    m_paramsEdit->setFont(font);
    m_paramsEdit->setTabChangesFocus(true);
    m_paramsEdit->setMinimumSize(DialogUnits(*this, 260, 80));

    const auto button = [this](const char* text, int id) {
        return DialogText::Button(this, text, id);
    };
    QPushButton* ok = button("&Ok", Ctl::kOk);
    QPushButton* cancel = button("&Cancel", Ctl::kCancel);
    QPushButton* help = button("&Help", Ctl::kHelp);
    QPushButton* add3do = button("&Add 3do", Ctl::kTplEntryAdd3do);
    QPushButton* addCog = button("&Add Cog", Ctl::kTplEntryAddCog);
    const unsigned int helpContext = 0x20000U + static_cast<unsigned int>(idd);
    connect(ok, &QPushButton::clicked, this, &CEditTemplateDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CEditTemplateDlg::reject);
    connect(help, &QPushButton::clicked, this, [helpContext] { QzHelp(helpContext); });
    connect(add3do, &QPushButton::clicked, this, [this] {
        const QString path =
            QzGetOpenFileName(this, QStringLiteral("Add 3do"),
                              QStringLiteral("3DO Files (*.3do)|*.3do||"), QStringLiteral("3DO"));
        if (!path.isEmpty())
            Add3do(path);
    });
    connect(addCog, &QPushButton::clicked, this, [this] {
        const QString path =
            QzGetOpenFileName(this, QStringLiteral("Add Cog"),
                              QStringLiteral("Cog Files (*.cog)|*.cog||"), QStringLiteral("COG"));
        if (!path.isEmpty())
            AddCog(path);
    });

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Name:"), this), 0, 0);
    fields->addWidget(m_nameEdit, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("Based On:"), this), 1, 0);
    fields->addWidget(m_basedOnEdit, 1, 1);
    fields->addWidget(new QLabel(QStringLiteral("Parameters:"), this), 2, 0, Qt::AlignTop);
    fields->addWidget(m_paramsEdit, 2, 1);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* each : {ok, cancel, help, add3do, addCog})
        buttons->addWidget(each);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

int CEditTemplateDlg::exec()
{
    m_nameEdit->setText(Text(m_name));
    m_basedOnEdit->setText(Text(m_basedOn));
    m_paramsEdit->setPlainText(Text(m_params));
    m_paramsEdit->setFocus();
    return QDialog::exec();
}

void CEditTemplateDlg::accept()
{
    m_name = Latin1(m_nameEdit->text());
    m_basedOn = Latin1(m_basedOnEdit->text());
    m_params = Latin1(m_paramsEdit->toPlainText());
    QDialog::accept();
}

void CEditTemplateDlg::Add3do(const QString& path)
{
    // The file is opened by the path as chosen (the file system tells letter cases apart); the
    // name put into the text is lower case.
    std::vector<std::uint8_t> bytes;
    try {
        bytes = ReadFileBytes(path.toStdString());
    } catch (const CFileException&) {
        return;
    }
    const std::string radius = ModelRadiusText(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (radius.empty())
        return;
    const std::string fileName = Latin1(QFileInfo(path).fileName().toLower());
    m_paramsEdit->setPlainText(
        Text(SpliceModelParams(Latin1(m_paramsEdit->toPlainText()), fileName, radius)));
    if (const std::size_t dot = fileName.find(".3do"); dot != std::string::npos)
        m_nameEdit->setText(Text(fileName.substr(0, dot)));
}

void CEditTemplateDlg::AddCog(const QString& path)
{
    const std::string fileName = Latin1(QFileInfo(path).fileName().toLower());
    m_paramsEdit->setPlainText(
        Text(SpliceCogParams(Latin1(m_paramsEdit->toPlainText()), fileName)));
}
