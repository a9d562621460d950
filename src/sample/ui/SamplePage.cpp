#include "sample/ui/SamplePage.h"

#include "link/DeviceLink.h"

namespace lmk {

SamplePage::SamplePage(DeviceLink &link, QWidget *parent) : QWidget(parent), m_link(link) {
    setObjectName(QStringLiteral("TS_LMK54"));
}

} // namespace lmk
