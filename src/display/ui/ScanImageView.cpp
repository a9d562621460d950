#include "display/ui/ScanImageView.h"

#include <QPaintEvent>
#include <QPainter>

namespace lmk {

ScanImageView::ScanImageView(QWidget *parent)
    : QWidget(parent), m_picture(kPictureWidth, kPictureHeight, QImage::Format_RGB888) {
    setObjectName(QStringLiteral("I_Scan"));
    setAccessibleName(QStringLiteral("Scan picture"));
    m_picture.fill(Qt::black);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_repaint.setSingleShot(true);
    m_repaint.setInterval(kRepaintMs);
    connect(&m_repaint, &QTimer::timeout, this, &ScanImageView::flushDirty);
}

void ScanImageView::fillRect(const QSize &size, const QColor &colour) {
    const QRect r = QRect(QPoint(0, 0), size).intersected(m_picture.rect());
    if (r.isEmpty())
        return;
    QPainter p(&m_picture);
    p.fillRect(r, colour);
    p.end();
    update(r);
}

void ScanImageView::setColumn(int x, int y, const quint8 *rgb, int count) {
    if (x < 0 || x >= m_picture.width() || y < 0)
        return;
    count = qMin(count, m_picture.height() - y);
    const qsizetype stride = m_picture.bytesPerLine();
    uchar *px = m_picture.bits() + y * stride + 3 * x; // detaches once, not per row
    for (int r = 0; r < count; ++r, px += stride, rgb += 3) {
        px[0] = rgb[0];
        px[1] = rgb[1];
        px[2] = rgb[2];
    }
    m_dirty |= QRect(x, y, 1, count);
    if (!m_repaint.isActive())
        m_repaint.start();
}

void ScanImageView::flushDirty() {
    if (!m_dirty.isEmpty())
        update(m_dirty);
    m_dirty = QRect();
}

void ScanImageView::paintEvent(QPaintEvent *e) {
    QPainter p(this);
    const QRect r = e->rect();
    p.fillRect(r, palette().window()); // beyond the picture, if ever larger
    p.drawImage(r.topLeft(), m_picture, r.intersected(m_picture.rect()));
}

} // namespace lmk
