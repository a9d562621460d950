#pragma once
// Page "LMK25E" (TS_LMK54): level selector and audio output devices.

#include <QWidget>

namespace lmk {
class DeviceLink;

class SamplePage : public QWidget {
    Q_OBJECT
public:
    SamplePage(DeviceLink &link, QWidget *parent = nullptr);

private:
    DeviceLink &m_link;
};

} // namespace lmk
