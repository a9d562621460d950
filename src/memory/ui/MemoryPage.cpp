#include "memory/ui/MemoryPage.h"

#include "link/DeviceLink.h"

namespace lmk {

MemoryPage::MemoryPage(DeviceLink &link, QWidget *parent) : QWidget(parent), m_link(link) {
    setObjectName(QStringLiteral("TS_Speicher"));
}

void MemoryPage::writeHeadings() {}
void MemoryPage::openMemFile(const QString &) {}
void MemoryPage::saveMemFile(const QString &) {}

} // namespace lmk
