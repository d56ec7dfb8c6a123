#pragma once
// A button showing a colour: a rectangle filled with it (the colour swatches of the forms, the
// Options and the construction dialogs).

#include <QColor>
#include <QPushButton>

class CColorSwatch : public QPushButton {
    Q_OBJECT

public:
    explicit CColorSwatch(QWidget* parent = nullptr);
    void SetColor(const QColor& color);
    const QColor& Color() const { return m_color; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_color;
};
