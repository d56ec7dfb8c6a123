#include "ui/ColorSwatch.h"

#include <QStyleOptionButton>
#include <QStylePainter>

CColorSwatch::CColorSwatch(QWidget* parent) : QPushButton(parent) {}

void CColorSwatch::SetColor(const QColor& color)
{
    m_color = color;
    update();
}

void CColorSwatch::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    painter.drawControl(QStyle::CE_PushButtonBevel, option);
    // The colour fills the button's face.
    const QRect face = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    painter.fillRect(face, m_color);
}
