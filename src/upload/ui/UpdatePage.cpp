#include "upload/ui/UpdatePage.h"

#include "link/DeviceLink.h"

namespace lmk {

UpdatePage::UpdatePage(DeviceLink &link, QWidget *parent) : QWidget(parent), m_link(link) {
    setObjectName(QStringLiteral("TS_Download"));
}

void UpdatePage::B_SyncClick() {}
bool UpdatePage::bootActive() const { return false; }
bool UpdatePage::configActive() const { return false; }
void UpdatePage::selectUploadFile(const QString &) {}

} // namespace lmk
