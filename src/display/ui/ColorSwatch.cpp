#include "display/ui/ColorSwatch.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace lmk {

ColorSwatch::ColorSwatch(QWidget *parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
}

void ColorSwatch::setColour(const QColor &c) {
    m_colour = c;
    update();
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent changed(this, c.name().toUpper());
        QAccessible::updateAccessibility(&changed);
        QAccessibleEvent described(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&described);
    }
}

void ColorSwatch::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.fillRect(rect(), m_colour);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    if (hasFocus()) {
        // Visible on any colour: a dotted line in both black and white.
        QPen pen(Qt::white, 1, Qt::DotLine);
        p.setPen(pen);
        p.drawRect(rect().adjusted(2, 2, -3, -3));
        pen.setColor(Qt::black);
        pen.setDashOffset(1);
        p.setPen(pen);
        p.drawRect(rect().adjusted(2, 2, -3, -3));
    }
}

void ColorSwatch::mouseReleaseEvent(QMouseEvent *e) {
    e->accept();
    if (rect().contains(e->position().toPoint()))
        emit activated();
}

void ColorSwatch::keyPressEvent(QKeyEvent *e) {
    switch (e->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!e->isAutoRepeat())
            emit activated();
        e->accept();
        break;
    default:
        QWidget::keyPressEvent(e);
    }
}

// The focus line comes and goes with the focus.
void ColorSwatch::focusInEvent(QFocusEvent *e) {
    QWidget::focusInEvent(e);
    update();
}

void ColorSwatch::focusOutEvent(QFocusEvent *e) {
    QWidget::focusOutEvent(e);
    update();
}

} // namespace lmk
