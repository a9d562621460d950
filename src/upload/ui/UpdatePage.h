#pragma once
// Page "Update 54/55" (TS_Download): target, task list, synchronisation and
// the upload group.

#include <QWidget>

namespace lmk {
class DeviceLink;

class UpdatePage : public QWidget {
    Q_OBJECT
public:
    UpdatePage(DeviceLink &link, QWidget *parent = nullptr);

    // "Synchronize"; start-up runs it once without a click.
    void B_SyncClick();
    bool bootActive() const;   // CB_Boot
    bool configActive() const; // CB_Konfiguration
    // File, Open on this page: the chosen upload file.
    void selectUploadFile(const QString &path);

private:
    DeviceLink &m_link;
};

} // namespace lmk
