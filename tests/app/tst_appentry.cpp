// The program's application object: a failure thrown by an event handler
// and not caught there is shown with its text, and the program goes on.
#include "ScriptedDialogs.h"
#include "app/LmkApplication.h"
#include "app/PooledThreads.h"

#include <QPushButton>
#include <QSemaphore>
#include <QThreadPool>
#include <QtTest>
#include <stdexcept>

using namespace lmk;

namespace {
// Throws from its event handler while armed.
class Thrower : public QObject {
  public:
    std::function<void()> doThrow;
    int handled = 0;

  protected:
    bool event(QEvent *e) override {
        if (e->type() == QEvent::User) {
            ++handled;
            if (doThrow)
                doThrow();
            return true;
        }
        return QObject::event(e);
    }
};

struct NotAnException {
    int code;
};
} // namespace

class TstAppEntry : public QObject {
    Q_OBJECT

    ScriptedDialogs dialogs;

  private slots:
    void cleanup() { dialogs.clear(); }

    // The wait that every process runs at exit: a pool worker still running
    // keeps it waiting until its limit, one whose pool was deleted does not.
    // First, while nothing has been drawn yet (drawing starts Qt's own pool).
    void pooledThreadsAreAwaited() {
        QVERIFY(waitForPooledThreadsToEnd(2000));
        auto *pool = new QThreadPool;
        QSemaphore started, release;
        pool->start([&] {
            started.release();
            release.acquire();
        });
        started.acquire();
        QVERIFY(!waitForPooledThreadsToEnd(50));
        release.release();
        delete pool;
        QVERIFY(waitForPooledThreadsToEnd(2000));
    }

    void applicationIsOurs() {
        QVERIFY(qobject_cast<LmkApplication *>(QCoreApplication::instance()));
    }

    void thrownFromHandler_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("shown");
        QTest::newRow("runtime_error") << 0 << "Invalid integer value";
        QTest::newRow("logic_error") << 1 << "Liste ist leer";
        QTest::newRow("not an exception object") << 2 << "";
        QTest::newRow("int") << 3 << "";
    }
    void thrownFromHandler() {
        QFETCH(int, kind);
        QFETCH(QString, shown);
        Thrower t;
        t.doThrow = [kind] {
            switch (kind) {
            case 0:
                throw std::runtime_error("Invalid integer value");
            case 1:
                throw std::logic_error("Liste ist leer");
            case 2:
                throw NotAnException{7};
            default:
                throw 42;
            }
        };
        // Posted: delivered by the event loop.
        QCoreApplication::postEvent(&t, new QEvent(QEvent::User));
        QCoreApplication::sendPostedEvents(&t);
        QCOMPARE(dialogs.texts, QStringList{shown});
        // Sent directly: the same display.
        QEvent direct(QEvent::User);
        QCoreApplication::sendEvent(&t, &direct);
        QCOMPARE(dialogs.texts, (QStringList{shown, shown}));
        // The program goes on: the next event is handled normally.
        t.doThrow = nullptr;
        QCoreApplication::postEvent(&t, new QEvent(QEvent::User));
        QCoreApplication::sendPostedEvents(&t);
        QCOMPARE(t.handled, 3);
        QCOMPARE(dialogs.texts.size(), 2);
    }

    void thrownFromAClickHandler() {
        QPushButton b(QStringLiteral("Go"));
        int clicks = 0;
        connect(&b, &QPushButton::clicked, this, [&] {
            if (++clicks == 1)
                throw std::runtime_error("File not found");
        });
        b.show();
        QTest::mouseClick(&b, Qt::LeftButton);
        QCOMPARE(dialogs.texts, QStringList{QStringLiteral("File not found")});
        QTest::mouseClick(&b, Qt::LeftButton);
        QCOMPARE(clicks, 2);
        QCOMPARE(dialogs.texts.size(), 1);
    }

    void failureEscapingTheProgramSteps() {
        QCOMPARE(LmkApplication::runGuarded([] { return 0; }), 0);
        QVERIFY(dialogs.texts.isEmpty());
        QCOMPARE(LmkApplication::runGuarded(
                     []() -> int { throw std::runtime_error("Cannot create window"); }),
                 1);
        QCOMPARE(dialogs.texts, QStringList{QStringLiteral("Cannot create window")});
        QCOMPARE(LmkApplication::runGuarded([]() -> int { throw NotAnException{1}; }), 1);
        QCOMPARE(dialogs.texts, (QStringList{QStringLiteral("Cannot create window"), QString()}));
    }

    void textOfTheCurrentException() {
        try {
            throw std::runtime_error("Umlaute: äöü");
        } catch (...) {
            QCOMPARE(LmkApplication::currentExceptionText(), QString::fromUtf8("Umlaute: äöü"));
        }
    }
};

int main(int argc, char **argv) {
    LmkApplication app(argc, argv);
    TstAppEntry test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_appentry.moc"
