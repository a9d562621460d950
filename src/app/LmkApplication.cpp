#include "app/LmkApplication.h"

#include "app/PooledThreads.h"
#include "link/Dialogs.h"

#include <exception>

namespace lmk {

LmkApplication::LmkApplication(int &argc, char **argv) : QApplication(argc, argv) {
    waitForPooledThreadsAtExit();
}

bool LmkApplication::notify(QObject *receiver, QEvent *event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        showCurrentException();
        return false;
    }
}

QString LmkApplication::currentExceptionText() {
    try {
        throw;
    } catch (const std::exception &e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QString();
    }
}

void LmkApplication::showCurrentException() {
    const QString text = currentExceptionText();
    try {
        dialogs().information(text);
    } catch (...) {
        // The message box itself failed; nothing more can be shown.
    }
}

int LmkApplication::runGuarded(const std::function<int()> &steps) {
    try {
        return steps();
    } catch (...) {
        showCurrentException();
        return 1;
    }
}

} // namespace lmk
