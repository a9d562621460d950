// Page changes switch the receiver's terminal mode over USB (never over
// WLAN) and always empty the terminal; closing on the terminal page leaves
// the terminal mode first; closing drains and closes the WLAN connection.
#include "WindowFixture.h"
#include "terminal/ui/TerminalPage.h"
#include "display/ui/DisplayPage.h"
#include "upload/ui/UpdatePage.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QWheelEvent>
#include <QTemporaryDir>
#include <QtTest>

using namespace lmk;

class TstPageChange : public QObject {
    Q_OBJECT

    WindowFixture f;

    QWidget *chat() { return f.child<QWidget>("M_Chat"); }
    QString chatText() { return chat()->property("plainText").toString(); }
    void fillChat() { chat()->setProperty("plainText", QStringLiteral("hallo\r\nwelt")); }
    QPushButton *setButton() { return f.child<QPushButton>("B_Set"); }

  private slots:
    void cleanup() { f.stop(); }

    void overUsb() {
        QVERIFY(f.start({"--mode", "none"}, Transport::Usb));
        f.window->FormCreate();
        QTRY_COMPARE(f.requests("usb"), QStringList{"55"});
        QVERIFY(chat());
        QVERIFY(setButton());
        QVERIFY(!setButton()->isEnabled());

        // Display Copy: 0D 00, B_Set unchanged.
        fillChat();
        f.window->showPage(1);
        QVERIFY(chatText().isEmpty());
        QVERIFY(!f.window->terminalPage()->apSettingsExpected());
        QTRY_COMPARE(f.requests("usb"), (QStringList{"55", "0d00"}));
        QVERIFY(!setButton()->isEnabled());

        // USB Terminal: 0D 01, B_Set enabled, settings expected.
        fillChat();
        f.window->showPage(2);
        QVERIFY(chatText().isEmpty());
        QVERIFY(setButton()->isEnabled());
        QVERIFY(f.link->terminalMode());
        QTRY_COMPARE(f.requests("usb"), (QStringList{"55", "0d00", "0d01"}));

        // Back to Update: 0D 00, B_Set stays enabled, pending settings dropped.
        f.window->terminalPage()->expectApSettings(true);
        fillChat();
        f.window->showPage(0);
        QVERIFY(chatText().isEmpty());
        QVERIFY(!f.window->terminalPage()->apSettingsExpected());
        QVERIFY(setButton()->isEnabled());
        QTRY_COMPARE(f.requests("usb"), (QStringList{"55", "0d00", "0d01", "0d00"}));
        QCOMPARE(f.requests("wlan"), QStringList{});
    }

    void overWlanNothingIsSent() {
        QVERIFY(f.start({"--mode", "none"}, Transport::Wlan));
        f.window->FormCreate();
        QVERIFY(f.child<QCheckBox>("CB_WLAN")->isChecked());
        QTRY_COMPARE(f.requests("wlan"), QStringList{"55"});
        QVERIFY(chat());
        QVERIFY(setButton());
        for (int page : {1, 2, 0, 2}) {
            fillChat();
            f.window->showPage(page);
            QVERIFY(chatText().isEmpty());
            QVERIFY(!f.window->terminalPage()->apSettingsExpected());
        }
        QVERIFY(!setButton()->isEnabled());
        QTest::qWait(200);
        QCOMPARE(f.requests("wlan"), QStringList{"55"});
        QCOMPARE(f.requests("usb"), QStringList{});
    }

    // The pages without a tab cannot be reached: keyboard and wheel step
    // over them, a programmatic selection is undone, and no terminal mode
    // switch goes out for them.
    void hiddenPagesUnreachable_data() {
        QTest::addColumn<int>("from"); // page shown before (visible index)
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("to"); // page shown after
        QTest::newRow("Ctrl+Tab") << 1 << "ctrl+tab" << 2;
        QTest::newRow("Ctrl+Shift+Tab") << 2 << "ctrl+shift+tab" << 1;
        QTest::newRow("right arrow on the tab bar") << 1 << "right" << 2;
        QTest::newRow("left arrow on the tab bar") << 2 << "left" << 1;
        QTest::newRow("wheel down on the tab bar") << 1 << "wheel down" << 2;
        QTest::newRow("wheel up on the tab bar") << 2 << "wheel up" << 1;
        QTest::newRow("setCurrentIndex LMK25E") << 1 << "index 2" << 1;
        QTest::newRow("setCurrentIndex Speicherplaetze") << 2 << "index 3" << 2;
        QTest::newRow("setCurrentWidget Speicherplaetze") << 0 << "widget TS_Speicher" << 0;
        QTest::newRow("setCurrentWidget LMK25E") << 1 << "widget TS_LMK54" << 1;
    }
    void hiddenPagesUnreachable() {
        QFETCH(int, from);
        QFETCH(QString, how);
        QFETCH(int, to);
        QVERIFY(f.start({"--mode", "none"}, Transport::Usb));
        f.window->FormCreate();
        QTRY_COMPARE(f.requests("usb"), QStringList{"55"});
        f.window->showPage(from);
        QCOMPARE(f.window->pageShown(), from);
        QTest::qWait(100);
        const QStringList before = f.requests("usb");
        const bool setWasEnabled = setButton()->isEnabled();

        auto *pc = f.child<QTabWidget>("PC_main");
        QTabBar *bar = pc->tabBar();
        if (how == QLatin1String("ctrl+tab")) {
            QTest::keyClick(pc, Qt::Key_Tab, Qt::ControlModifier);
        } else if (how == QLatin1String("ctrl+shift+tab")) {
            QTest::keyClick(pc, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        } else if (how == QLatin1String("right") || how == QLatin1String("left")) {
            QTest::keyClick(bar, how == QLatin1String("right") ? Qt::Key_Right : Qt::Key_Left);
        } else if (how.startsWith(QLatin1String("wheel"))) {
            const QPointF at = bar->tabRect(bar->currentIndex()).center();
            const int dy = how.endsWith(QLatin1String("down")) ? -120 : 120;
            QWheelEvent wheel(at, bar->mapToGlobal(at), QPoint(), QPoint(0, dy), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(bar, &wheel);
        } else if (how.startsWith(QLatin1String("index"))) {
            pc->setCurrentIndex(how.mid(6).toInt());
        } else {
            pc->setCurrentWidget(f.child<QWidget>(qPrintable(how.mid(7))));
        }

        QCOMPARE(f.window->pageShown(), to);
        QCOMPARE(f.link->terminalMode(), to == 2);
        QVERIFY(pc->isTabVisible(pc->currentIndex()));
        QVERIFY(pc->currentWidget()->isVisibleTo(pc));
        for (const char *hidden : {"TS_LMK54", "TS_Speicher"})
            QVERIFY(!f.child<QWidget>(hidden)->isVisibleTo(pc));
        QTest::qWait(100);
        QStringList expected = before;
        if (to != from)
            expected << (to == 2 ? "0d01" : "0d00");
        QCOMPARE(f.requests("usb"), expected);
        if (to != 2)
            QCOMPARE(setButton()->isEnabled(), setWasEnabled);
    }

    void closingOnTheTerminalPage_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("terminal shown") << 2 << QStringList{"55", "0d01", "0d00"};
        QTest::newRow("update shown") << 0 << QStringList{"55"};
    }
    void closingOnTheTerminalPage() {
        QFETCH(int, page);
        QFETCH(QStringList, expected);
        QVERIFY(f.start({"--mode", "none"}, Transport::Usb));
        f.window->FormCreate();
        f.window->showPage(page);
        QVERIFY(f.window->close());
        QCOMPARE(f.window->pageShown(), 0);
        // The requests are named when they differ, not only counted.
        QTRY_VERIFY2(f.requests("usb") == expected, qPrintable(f.requests("usb").join(u' ')));
        QTest::qWait(100);
        QCOMPARE(f.requests("usb"), expected);
    }

    // "&Close", Yes: the window closes through the same handler.
    void closeMenuOnTheTerminalPage() {
        QVERIFY(f.start({"--mode", "none"}, Transport::Usb));
        f.window->FormCreate();
        f.window->showPage(2);
        f.dialogs.answers.enqueue(true);
        f.window->findChild<QAction *>(QStringLiteral("MI_Beenden"))->trigger();
        QVERIFY(!f.window->isVisible());
        QTRY_COMPARE(f.requests("usb"), (QStringList{"55", "0d01", "0d00"}));
    }

    // Closing the window while an operation waits for the receiver ends the
    // operation at once: no outcome box, nothing sent after the close, the
    // close steps run (WLAN drained and closed, USB closed).
    void closingDuringAnOperation_data() {
        QTest::addColumn<bool>("usb");
        QTest::addColumn<QString>("operation");
        QTest::addColumn<bool>("viaMenu");
        for (bool usb : {false, true})
            for (const char *op : {"upload", "scan"})
                for (bool menu : {false, true})
                    QTest::addRow("%s, %s, %s", usb ? "usb" : "wlan", op,
                                  menu ? "File Close" : "close box")
                        << usb << QString::fromLatin1(op) << menu;
    }
    void closingDuringAnOperation() {
        QFETCH(bool, usb);
        QFETCH(QString, operation);
        QFETCH(bool, viaMenu);
        const bool upload = operation == QLatin1String("upload");
        // The receiver goes silent at the first name packet, or at the scan.
        QVERIFY(f.start({"--mode", "boot", "--fault", upload ? "81:silent" : "08:silent"},
                        usb ? Transport::Usb : Transport::Wlan));
        const QString t = usb ? QStringLiteral("usb") : QStringLiteral("wlan");
        f.window->FormCreate();
        QTRY_COMPARE(f.requests(t), (QStringList{"55", "12"}));
        QTest::qWait(50); // the version reply
        QTemporaryDir dir;
        if (upload) {
            const QString path = dir.filePath(QStringLiteral("LMK1.RPD"));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(8, '\x11'));
            file.close();
            f.window->updatePage()->selectUploadFile(path);
        } else {
            f.window->showPage(1);
        }
        f.dialogs.clear();

        QElapsedTimer sinceClose;
        QTimer::singleShot(400, f.window.get(), [&] {
            sinceClose.start();
            if (viaMenu) {
                f.dialogs.answers.enqueue(true);
                f.window->findChild<QAction *>(QStringLiteral("MI_Beenden"))->trigger();
            } else {
                f.window->close();
            }
        });
        if (upload)
            f.window->updatePage()->B_StartClick();
        else
            f.window->displayPage()->B_DispcpyClick();
        QVERIFY(sinceClose.isValid());
        QVERIFY2(sinceClose.elapsed() < 1000, qPrintable(QString::number(sinceClose.elapsed())));

        QVERIFY(!f.window->isVisible());
        QCOMPARE(f.dialogs.texts,
                 viaMenu ? QStringList{QStringLiteral("Close application?")} : QStringList{});
        QVERIFY(!f.link->tcpConnected());
        QVERIFY(!f.link->exchangeRunning());
        QTest::qWait(300);
        const QStringList sent = f.requests(t);
        // 55, 12, (0D 00 for the Display Copy page over USB,) 09 or 08, 81
        QCOMPARE(sent.size(), upload ? 4 : (usb ? 4 : 3));
        QCOMPARE(sent.last().left(2), upload ? QStringLiteral("81") : QStringLiteral("08"));
        QCOMPARE(f.dialogs.texts.size(), viaMenu ? 1 : 0);
    }

    // Replies nobody waited for are read as they come (a version reply is
    // shown, nothing else); the window closes the connection without a
    // message.
    void closeDrainsWlan() {
        QVERIFY(f.start({"--mode", "none"}, Transport::Wlan));
        f.window->FormCreate();
        for (int i = 0; i < 3; ++i)
            f.link->sendUnasked(QByteArray(1, char(0x12))); // nobody waits for the replies
        QTRY_COMPARE(f.requests("wlan").size(), 4);
        QVERIFY(f.link->tcpConnected());
        QTest::qWait(100); // let the replies arrive
        QVERIFY(f.window->close());
        QVERIFY(!f.link->tcpConnected());
        QVERIFY(f.dialogs.texts.isEmpty());
        QCOMPARE(f.child<QLineEdit>("EWLANDevice")->text(), QStringLiteral("LMK540 V103"));
    }
};

QTEST_MAIN(TstPageChange)
#include "tst_pagechange.moc"
