#pragma once
// The main window with no receiver behind it, and walks over what its pages
// and windows show, for the tests of the window as a user meets it (screen
// reader, keyboard, language, desktop style).
//
//   class TstX : public QObject, public OfflineWindow { ...
//       void init() { QVERIFY(openWindow()); }
//       void cleanup() { closeWindow(); }
//       void t() {
//           forEachTabbedPage([&] {
//               for (QWidget *w : shownWidgets(window)) ...
//           });
//       }

#include "ScriptedDialogs.h"
#include "SimProcess.h"
#include "app/TFMain.h"
#include "link/DeviceLink.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QList>
#include <QTabWidget>
#include <QWidget>
#include <QtTest>

#include <functional>

namespace lmk {

// The pages of PC_main with a tab: "Update 54/55", "Display Copy" and
// "USB Terminal".
inline const QList<int> kTabbedPages{0, 1, 4};

class OfflineWindow {
  public:
    ScriptedDialogs dialogs;
    DeviceLink *link = nullptr;
    TFMain *window = nullptr;

    // A window with no USB library, its access point a loopback port where
    // nothing answers, shown (and `active`: holding the focus).
    bool openWindow(bool active = false) {
        SimProcess::noUsb();
        link = new DeviceLink;
        link->setEndpoint(QStringLiteral("127.0.0.1"), 9);
        window = new TFMain(*link);
        window->show();
        if (!active)
            return QTest::qWaitForWindowExposed(window);
        window->activateWindow();
        return QTest::qWaitForWindowActive(window);
    }
    void closeWindow() {
        delete window;
        window = nullptr;
        delete link;
        link = nullptr;
        dialogs.clear();
    }

    template <typename T = QWidget> T *child(const QString &name) const {
        T *w = window->findChild<T *>(name);
        if (!w)
            qFatal("%s missing", qPrintable(name));
        return w;
    }
    QTabWidget *tabs() const { return child<QTabWidget>(QStringLiteral("PC_main")); }

    // `f` with each page that has a tab shown in turn.
    void forEachTabbedPage(const std::function<void()> &f) {
        for (int tab : kTabbedPages) {
            tabs()->setCurrentIndex(tab);
            f();
        }
    }
};

// A widget of the program's own (named, and not one of Qt's parts).
inline bool isOwnWidget(const QWidget *w) {
    return !w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_"));
}

// Qt's own parts of a widget (a spin box's line edit, the tab bar of a page
// control) stand for the widget that holds them.
inline QWidget *namedOwner(QWidget *w) {
    while (w && !isOwnWidget(w))
        w = w->parentWidget();
    return w;
}

// Widgets the user works with: everything that takes the focus or is a
// button, a slider or a text field.
inline bool isInput(QWidget *w) {
    return w->focusPolicy() != Qt::NoFocus || qobject_cast<QAbstractButton *>(w) ||
           qobject_cast<QAbstractSlider *>(w) || qobject_cast<QLineEdit *>(w) ||
           qobject_cast<QAbstractSpinBox *>(w) || qobject_cast<QComboBox *>(w);
}

// `root` and every widget below it that shows with it, in its window (not
// in a dialog or window of its own). A page without a tab can be a root:
// its widgets are walked as they would show.
inline QList<QWidget *> shownWidgets(QWidget *root) {
    QList<QWidget *> shown{root};
    for (QWidget *w : root->findChildren<QWidget *>())
        if (w->isVisibleTo(root) && w->window() == root->window())
            shown << w;
    return shown;
}

} // namespace lmk
