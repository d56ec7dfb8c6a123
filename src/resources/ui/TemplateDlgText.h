#pragma once
// What the Template Manager and its entry editor share: object names from control ids, the 8-bit
// text of template entries in Qt's strings and back, and their push buttons.

#include <QPushButton>
#include <QString>

#include <string>

namespace TemplateDlg {

inline QString Id(int id)
{
    return QString::number(id);
}

inline QString Text(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string Latin1(const QString& text)
{
    return text.toLatin1().toStdString();
}

// A push button of parent named by id that Return does not press.
inline QPushButton* Button(QWidget* parent, const char* text, int id)
{
    auto* made = new QPushButton(QString::fromLatin1(text), parent);
    made->setObjectName(Id(id));
    made->setAutoDefault(false);
    return made;
}

}  // namespace TemplateDlg
