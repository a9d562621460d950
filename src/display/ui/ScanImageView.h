#pragma once
// I_Scan: the scan picture, 810 x 490 pixels at 24 bits per pixel, shown
// unscaled from its top-left corner in a control of (W + 10) x (H + 10).

#include <QImage>
#include <QTimer>
#include <QWidget>

namespace lmk {

constexpr int kPictureWidth = 810;
constexpr int kPictureHeight = 490;

class ScanImageView : public QWidget {
    Q_OBJECT
public:
    explicit ScanImageView(QWidget *parent = nullptr);

    const QImage &picture() const { return m_picture; }
    // Fills the rectangle from (0, 0) to (width - 1, height - 1), clipped to
    // the picture, with `colour` (fill and outline alike).
    void fillRect(const QSize &size, const QColor &colour);
    // Sets column `x` of the picture from row `y` on to `count` colours
    // given as r, g, b bytes. The strips set are repainted together at most
    // every kRepaintMs, so a fast scan is not slowed down by painting.
    void setColumn(int x, int y, const quint8 *rgb, int count);

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    static constexpr int kRepaintMs = 16;
    void flushDirty();

    QImage m_picture;
    QRect m_dirty;
    QTimer m_repaint;
};

} // namespace lmk
