#pragma once
// A filled square showing a colour (S_Rahmen); reports every mouse-button
// release over it.

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
    void mouseReleased();

protected:
    void paintEvent(QPaintEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    QColor m_colour = Qt::black;
};

} // namespace lmk
