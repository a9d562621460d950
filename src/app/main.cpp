#include "app/QtDialogs.h"
#include "app/TFMain.h"
#include "link/DeviceLink.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lmkinterface"));
    QApplication::setApplicationDisplayName(QStringLiteral("USB / WLAN Interface to LMK54/55"));
    QApplication::setApplicationVersion(QStringLiteral("1.4"));

    lmk::QtDialogs qtDialogs;
    lmk::setDialogs(&qtDialogs);
    lmk::DeviceLink link;
    lmk::TFMain window(link);
    qtDialogs.setParent(&window);
    window.FormCreate();
    window.show();
    const int rc = app.exec();
    lmk::setDialogs(nullptr);
    return rc;
}
