#include "display/ScanArea.h"

#include <QtGlobal>

namespace lmk {

int ScanArea::widthLimit() const {
    return (m_preset == ScanPreset::FullVga || m_preset == ScanPreset::DiagramVga) ? kVgaWidth
                                                                                   : kWvgaWidth;
}

void ScanArea::setX(int v) {
    v = qBound(0, v, kMaxX);
    if (v == m_v.x)
        return;
    m_v.x = v;
    if (m_v.x > widthLimit() - m_v.w)
        m_v.x = qBound(0, widthLimit() - m_v.w, kMaxX);
}

void ScanArea::setY(int v) {
    v = qBound(0, v, kMaxY);
    if (v == m_v.y)
        return;
    m_v.y = v;
    if (m_v.y > kScreenHeight - m_v.h)
        m_v.y = qBound(0, kScreenHeight - m_v.h, kMaxY);
}

void ScanArea::setW(int v) {
    v = qBound(0, v, kMaxW);
    if (v == m_v.w)
        return;
    m_v.w = v;
    if (m_v.w > widthLimit() - m_v.x)
        m_v.w = qBound(0, widthLimit() - m_v.x, kMaxW);
}

void ScanArea::setH(int v) {
    v = qBound(0, v, kMaxH);
    if (v == m_v.h)
        return;
    m_v.h = v;
    if (m_v.h > kScreenHeight - m_v.y)
        m_v.h = qBound(0, kScreenHeight - m_v.y, kMaxH);
}

void ScanArea::applyPreset(ScanPreset p) {
    m_preset = p;
    switch (p) {
    case ScanPreset::FullVga:
        setX(0), setY(0), setW(640), setH(480);
        break;
    case ScanPreset::FullWvga:
        setX(0), setY(0), setW(800), setH(480);
        break;
    case ScanPreset::DiagramVga:
        setW(1), setH(1), setX(0), setY(93), setW(520), setH(387);
        break;
    case ScanPreset::DiagramWvga:
        setW(1), setH(1), setX(0), setY(93), setW(648), setH(387);
        break;
    }
}

} // namespace lmk
