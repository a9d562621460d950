#pragma once
// The application object: every event passes through notify(), so a failure
// that an event handler throws and does not catch itself ends up here. Its
// text is shown in a message box and the program goes on.

#include <QApplication>
#include <QString>
#include <functional>

namespace lmk {

class LmkApplication : public QApplication {
    Q_OBJECT
  public:
    LmkApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    // Inside a catch block: the text of the exception being handled; a
    // thrown value that is no exception object has an empty text.
    static QString currentExceptionText();
    // Inside a catch block: shows that text in an information box.
    static void showCurrentException();
    // Runs the program's steps; a failure that escapes them is shown the
    // same way and the result is 1.
    static int runGuarded(const std::function<int()> &steps);
};

} // namespace lmk
