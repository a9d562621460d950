#include "app/LmkApplication.h"
#include "app/QtDialogs.h"
#include "app/SystemCloseRequest.h"
#include "app/TDLG_Info.h"
#include "app/TFMain.h"
#include "app/UiLanguage.h"
#include "app/VisualStyle.h"
#include "link/DeviceLink.h"

#include <QGuiApplication>
#include <QScreen>

namespace {
// Puts the window in the middle of the screen's free area.
void centreOnScreen(QWidget &w) {
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    if (!w.testAttribute(Qt::WA_Resized)) // the window has chosen its size
        w.adjustSize();
    QRect r(QPoint(0, 0), w.size());
    r.moveCenter(screen->availableGeometry().center());
    w.move(r.topLeft());
}
} // namespace

int main(int argc, char *argv[]) {
    lmk::LmkApplication app(argc, argv);
    lmk::QtDialogs qtDialogs;
    lmk::setDialogs(&qtDialogs);
    const int rc = lmk::LmkApplication::runGuarded([&] {
        QApplication::setApplicationName(QStringLiteral("lmkinterface"));
        QApplication::setApplicationVersion(QStringLiteral("1.4"));
        // Ties the window to its desktop entry and icon once installed.
        QGuiApplication::setDesktopFileName(QStringLiteral("org.lmkinterface.lmkinterface"));
        QApplication::setFont(lmk::TFMain::defaultFont());
        QString styleError;
        if (!lmk::applyVisualStyle(app, QString::fromLatin1(lmk::kVisualStyle), &styleError))
            qtDialogs.information(styleError);

        lmk::DeviceLink link;
        lmk::TFMain window(link);
        // The language and look chosen in an earlier run.
        lmk::UiLanguage::instance().restore();
        window.restoreDesktopStyle();
        qtDialogs.setParent(&window);
        struct Unparent { // the dialogs outlive the window
            lmk::QtDialogs &d;
            ~Unparent() { d.setParent(nullptr); }
        } unparent{qtDialogs};
        // The system's close request closes the window like its close box.
        lmk::SystemCloseRequest systemClose;
        QObject::connect(&systemClose, &lmk::SystemCloseRequest::requested, &window,
                         &QWidget::close);
        // Placed first, so that start-up messages appear over the window.
        centreOnScreen(window);
        window.FormCreate();
        if (window.isClosed()) // closed while start-up waited for the receiver
            return 0;
        window.createInfoDialog();
        window.show();
        return QApplication::exec();
    });
    lmk::setDialogs(nullptr);
    return rc;
}
