#pragma once
// The drop lists of the episode dialogs: one fixed caption per index, nothing typed in.

#include "ui/DialogText.h"

#include <QComboBox>
#include <QString>

#include <array>
#include <cstddef>

// A drop list named id holding captions, with value selected (a value outside the list selects
// nothing).
template <std::size_t N>
QComboBox* CaptionList(QWidget* parent, int id, const std::array<const char*, N>& captions,
                       int value = 0)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(DialogText::Id(id));
    list->setEditable(false);
    for (const char* caption : captions)
        list->addItem(QString::fromLatin1(caption));
    list->setCurrentIndex(value >= 0 && value < static_cast<int>(N) ? value : -1);
    return list;
}
