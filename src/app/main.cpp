#include "app/LmkApplication.h"
#include "app/QtDialogs.h"
#include "app/SystemCloseRequest.h"
#include "app/TDLG_Info.h"
#include "app/TFMain.h"
#include "app/UiLanguage.h"
#include "app/VisualStyle.h"
#include "link/DeviceLink.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>

#include <cstdio>
#include <cstring>

namespace {

constexpr const char *kHelp =
    "Usage: lmkinterface [OPTIONS] [FILE...]\n"
    "\n"
    "The USB / WLAN interface to the LMK54/55 receiver in one window: update its\n"
    "configuration and external tasks, copy its screen, exchange terminal lines, set\n"
    "its access point and edit its memory slots.\n"
    "\n"
    "A FILE ending in .Mem opens in the memory editor; one ending in .RPD becomes the\n"
    "file to upload on the page \"Update 54/55\".\n"
    "\n"
    "Options:\n"
    "  -h, --help      this help\n"
    "  -V, --version   the program's version\n"
    "Qt's own options (-platform NAME, -style NAME, ...) are taken as well.\n"
    "\n"
    "Environment:\n"
    "  LMK_HOST, LMK_PORT  the receiver's access point (default lmk5x.local, port\n"
    "                      55555); they win over Interface > Receiver Address...\n"
    "  LMK_USB_LIBRARY     the USB library; unset: WLAN only\n"
    "\n"
    "lmkctl(1) does the same from the command line.\n";

// Qt's own options: how many words `arg` takes with its value (1 or 2), 0
// when it is none of them. Qt takes them with one dash or two.
int qtOptionWords(const char *arg) {
    static const char *const withValue[] = {
        "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
        "geometry", "qwindowtitle", "title", "qwindowicon", "icon", "style", "stylesheet",
        "session", "display", "name", "qmljsdebugger", "font", "fn", "bg", "background",
        "fg", "foreground", "btn", "button", "visual", "cmap", "im", "inputstyle"};
    static const char *const flags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync",
                                        "testability", "qwindowdecorations"};
    const char *name = arg + (arg[1] == '-' ? 2 : 1);
    const char *eq = std::strchr(name, '=');
    const size_t len = eq ? size_t(eq - name) : std::strlen(name);
    for (const char *o : withValue)
        if (std::strlen(o) == len && std::strncmp(name, o, len) == 0)
            return eq ? 1 : 2;
    for (const char *o : flags)
        if (!eq && std::strcmp(name, o) == 0)
            return 1;
    return 0;
}

// --help and --version are answered before anything else starts: no
// display is needed and nothing reaches the receiver.
int earlyAnswer(int argc, char *argv[]) {
    for (int i = 1; i < argc; ++i) {
        const char *a = argv[i];
        if (std::strcmp(a, "--") == 0)
            break;
        if (std::strcmp(a, "--help") == 0 || std::strcmp(a, "-h") == 0 ||
            std::strcmp(a, "--help-all") == 0) {
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (std::strcmp(a, "--version") == 0 || std::strcmp(a, "-V") == 0) {
            std::fputs("lmkinterface 1.4\n", stdout);
            return 0;
        }
    }
    // A wrong option is told before Qt looks for a display.
    for (int i = 1; i < argc; ++i) {
        const char *a = argv[i];
        if (std::strcmp(a, "--") == 0)
            break;
        if (a[0] != '-' || a[1] == 0)
            continue;
        const int qt = qtOptionWords(a);
        if (qt == 0) {
            std::fprintf(stderr, "lmkinterface: unknown option '%s' (see 'lmkinterface --help')\n", a);
            return 2;
        }
        i += qt - 1;
    }
    return -1;
}

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

// The close request reaches a message box or dialog that waits for OK too:
// it is answered like its close box (and the window closes behind it).
void rejectDialogs() {
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *dialog = qobject_cast<QDialog *>(w); dialog && dialog->isVisible())
            dialog->reject();
}

} // namespace

int main(int argc, char *argv[]) {
    if (const int rc = earlyAnswer(argc, argv); rc >= 0)
        return rc;
    lmk::LmkApplication app(argc, argv);
    // Qt has taken its own options; what is left are files.
    QStringList files;
    bool onlyFiles = false;
    for (const QString &a : app.arguments().mid(1)) {
        if (!onlyFiles && a == QLatin1String("--")) {
            onlyFiles = true;
        } else if (!onlyFiles && a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            std::fprintf(stderr, "lmkinterface: unknown option '%s' (see 'lmkinterface --help')\n",
                         qPrintable(a));
            return 2;
        } else {
            files << a;
        }
    }
    lmk::QtDialogs qtDialogs;
    lmk::setDialogs(&qtDialogs);
    const int rc = lmk::LmkApplication::runGuarded([&] {
        QApplication::setApplicationName(QStringLiteral("lmkinterface"));
        QApplication::setApplicationVersion(QStringLiteral("1.4"));
        // Ties the window to its desktop entry and icon once installed.
        QGuiApplication::setDesktopFileName(QStringLiteral("org.lmkinterface.lmkinterface"));
        QApplication::setFont(lmk::TFMain::defaultFont());
        // Ctrl+C and the system's close request end the program from here
        // on, also while a start-up message waits for OK.
        lmk::SystemCloseRequest systemClose;
        bool closeRequested = false;
        QObject::connect(&systemClose, &lmk::SystemCloseRequest::requested,
                         [&] {
                             closeRequested = true;
                             rejectDialogs();
                         });
        QString styleError;
        if (!lmk::applyVisualStyle(app, QString::fromLatin1(lmk::kVisualStyle), &styleError))
            qtDialogs.information(styleError);
        if (closeRequested)
            return 0;

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
        // From here on the system's close request ends the program through
        // the window; unsaved slot changes are kept in a recovery file first.
        QObject::connect(&systemClose, &lmk::SystemCloseRequest::requested, &window,
                         &lmk::TFMain::systemCloseRequested);
        if (closeRequested) // before the window could take the request
            return 0;
        // Placed first, so that start-up messages appear over the window.
        centreOnScreen(window);
        window.FormCreate();
        if (window.isClosed()) // closed while start-up waited for the receiver
            return 0;
        window.createInfoDialog();
        window.show();
        for (const QString &f : files)
            if (!window.openFileFromCommandLine(f))
                std::fprintf(stderr, "lmkinterface: %s: neither a .Mem nor an .RPD file; left alone\n",
                             qPrintable(f));
        window.offerRecoveredSlotChanges();
        if (window.isClosed()) // the system's close request came during the question
            return 0;
        return QApplication::exec();
    });
    lmk::setDialogs(nullptr);
    return rc;
}
