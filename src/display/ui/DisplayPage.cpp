#include "display/ui/DisplayPage.h"

#include "link/DeviceLink.h"

namespace lmk {

DisplayPage::DisplayPage(DeviceLink &link, QWidget *parent) : QWidget(parent), m_link(link) {
    setObjectName(QStringLiteral("TS_Dispcpy"));
}

void DisplayPage::fillFrame() {}
void DisplayPage::saveBmp(const QString &) {}

} // namespace lmk
