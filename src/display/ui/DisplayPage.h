#pragma once
// Page "Display Copy" (TS_Dispcpy): scan, area, presets, frame colour, export.

#include <QWidget>

namespace lmk {
class DeviceLink;

class DisplayPage : public QWidget {
    Q_OBJECT
public:
    DisplayPage(DeviceLink &link, QWidget *parent = nullptr);

    // Start-up: fill the whole scan picture with the frame colour.
    void fillFrame();
    // File, Save on this page.
    void saveBmp(const QString &path);

private:
    DeviceLink &m_link;
};

} // namespace lmk
