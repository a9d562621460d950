#pragma once
// Page "Speicherplätze" (TS_Speicher): the 63 memory slots.

#include <QWidget>

namespace lmk {
class DeviceLink;

class MemoryPage : public QWidget {
    Q_OBJECT
public:
    MemoryPage(DeviceLink &link, QWidget *parent = nullptr);

    // Start-up: headings of SG_Speicher and the slot numbers.
    void writeHeadings();
    // File, Open / File, Save while "USB Terminal" is shown.
    void openMemFile(const QString &path);
    void saveMemFile(const QString &path);

private:
    DeviceLink &m_link;
};

} // namespace lmk
