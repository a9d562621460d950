#include "display/ui/ColorSwatch.h"

#include <QMouseEvent>
#include <QPainter>

namespace lmk {

ColorSwatch::ColorSwatch(QWidget *parent) : QWidget(parent) {}

void ColorSwatch::setColour(const QColor &c) {
    m_colour = c;
    update();
}

void ColorSwatch::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.fillRect(rect(), m_colour);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ColorSwatch::mouseReleaseEvent(QMouseEvent *e) {
    e->accept();
    if (rect().contains(e->position().toPoint()))
        emit mouseReleased();
}

} // namespace lmk
