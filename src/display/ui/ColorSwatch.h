#pragma once
// A filled square showing a colour (S_Rahmen). It reports every mouse-button
// release over it, and Space or Enter while it has the keyboard focus, so
// that it can be worked without a mouse.

#include <QColor>
#include <QWidget>

namespace lmk {

class ColorSwatch : public QWidget {
    Q_OBJECT
public:
    explicit ColorSwatch(QWidget *parent = nullptr);
    QColor colour() const { return m_colour; }
    void setColour(const QColor &c);

signals:
    void activated();

protected:
    void paintEvent(QPaintEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;

private:
    QColor m_colour = Qt::black;
};

} // namespace lmk
