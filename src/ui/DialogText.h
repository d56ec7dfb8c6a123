#pragma once
// What the dialogs share to name their controls and to show the 8-bit text of the level formats:
// object names from control ids (so that tests find the controls), the text in Qt's strings and
// back, and push buttons named by their ids.

#include <QPushButton>
#include <QString>

#include <string>
#include <string_view>

namespace DialogText {

// The object name of the control id.
inline QString Id(int id)
{
    return QString::number(id);
}

// 8-bit text as a Qt string, byte for byte.
inline QString Text(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// A Qt string as 8-bit text (characters beyond Latin-1 become '?').
inline std::string Latin1(const QString& text)
{
    return text.toLatin1().toStdString();
}

// A push button of parent with text, named by id, that Return does not press.
inline QPushButton* Button(QWidget* parent, const char* text, int id)
{
    auto* made = new QPushButton(QString::fromLatin1(text), parent);
    made->setObjectName(Id(id));
    made->setAutoDefault(false);
    return made;
}

}  // namespace DialogText
