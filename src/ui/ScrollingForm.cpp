#include "ui/ScrollingForm.h"

#include <QScrollArea>
#include <QVBoxLayout>
#include <QWidget>

QWidget& AddScrollingForm(QWidget& view)
{
    auto* layout = new QVBoxLayout(&view);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* area = new QScrollArea(&view);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    auto* form = new QWidget(area);
    area->setWidget(form);
    layout->addWidget(area);
    return *form;
}
