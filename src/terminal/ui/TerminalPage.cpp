#include "terminal/ui/TerminalPage.h"

#include "link/DeviceLink.h"

namespace lmk {

TerminalPage::TerminalPage(DeviceLink &link, QWidget *parent) : QWidget(parent), m_link(link) {
    setObjectName(QStringLiteral("TS_Chat"));
}

void TerminalPage::clearChat() {}
void TerminalPage::enableSet() {}

} // namespace lmk
