#pragma once
// The scan area of the "Display Copy" page: X, Y, W, H with the rules that
// keep the rectangle on the receiver's screen, and the four presets.
//
// Each field keeps its own range (X 0..790, Y 0..470, W 0..800, H 0..480).
// After a field changed, its rule runs with L the screen width limit (640
// for the VGA presets, otherwise 800); the changed field is the one that
// yields:
//   X: if X > L - W then X := L - W
//   Y: if Y > 480 - H then Y := 480 - H
//   W: if W > L - X then W := L - X
//   H: if H > 480 - Y then H := 480 - Y
// Example: "Diagram VGA" (0, 93, 520, 387), typing 200 into X gives X 120.
// The image control that shows the picture is (W + 10) x (H + 10).

#include <QSize>

namespace lmk {

constexpr int kScreenHeight = 480;
constexpr int kWvgaWidth = 800;
constexpr int kVgaWidth = 640;
constexpr int kMaxX = 790;
constexpr int kMaxY = 470;
constexpr int kMaxW = 800;
constexpr int kMaxH = 480;
constexpr int kFrameBand = 5; // frame around the copied image, each side

enum class ScanPreset { FullVga, FullWvga, DiagramVga, DiagramWvga };

struct AreaValues {
    int x = 0;
    int y = 0;
    int w = 800;
    int h = 480;
    friend bool operator==(const AreaValues &, const AreaValues &) = default;
};

class ScanArea {
public:
    ScanArea() = default;

    int x() const { return m_v.x; }
    int y() const { return m_v.y; }
    int w() const { return m_v.w; }
    int h() const { return m_v.h; }
    AreaValues values() const { return m_v; }
    ScanPreset preset() const { return m_preset; }
    // 640 while a VGA preset is selected, otherwise 800.
    int widthLimit() const;
    // Size of the image control: (W + 10) x (H + 10).
    QSize imageSize() const { return QSize(m_v.w + 2 * kFrameBand, m_v.h + 2 * kFrameBand); }

    // Assign a field as the user or the program does: the value is held
    // within the field's range and, if it changed, the field's rule runs.
    void setX(int v);
    void setY(int v);
    void setW(int v);
    void setH(int v);

    // Selects the preset (and with it the width limit) and runs its
    // assignments in order:
    //   Full VGA      X 0, Y 0, W 640, H 480
    //   Full WVGA     X 0, Y 0, W 800, H 480
    //   Diagram VGA   W 1, H 1, X 0, Y 93, W 520, H 387
    //   Diagram WVGA  W 1, H 1, X 0, Y 93, W 648, H 387
    void applyPreset(ScanPreset p);

private:
    AreaValues m_v;
    ScanPreset m_preset = ScanPreset::FullWvga;
};

} // namespace lmk
