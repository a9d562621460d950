#pragma once
// The application object for harnesses that drive a page: created once,
// offscreen, on the first input.

#include <QApplication>
#include <QByteArray>

namespace lmk {

inline QApplication &fuzzApp() {
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static QApplication *app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

} // namespace lmk
