#pragma once
// Page "USB Terminal" (TS_Chat): terminal memo and access-point form.

#include <QWidget>

namespace lmk {
class DeviceLink;

class TerminalPage : public QWidget {
    Q_OBJECT
public:
    TerminalPage(DeviceLink &link, QWidget *parent = nullptr);

    // Page change: M_Chat emptied.
    void clearChat();
    // Page change into "USB Terminal" over USB: "Set!" enabled.
    void enableSet();

private:
    DeviceLink &m_link;
};

} // namespace lmk
