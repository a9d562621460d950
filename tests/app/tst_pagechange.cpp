// Page changes switch the receiver's terminal mode over USB (never over
// WLAN) and always empty the terminal; closing on the terminal page leaves
// the terminal mode first; closing drains and closes the WLAN connection.
#include "WindowFixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
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
        QCOMPARE(f.link->ApSettingsPending, quint8(0));
        QTRY_COMPARE(f.requests("usb"), (QStringList{"55", "0d00"}));
        QVERIFY(!setButton()->isEnabled());

        // USB Terminal: 0D 01, B_Set enabled, settings expected.
        fillChat();
        f.window->showPage(2);
        QVERIFY(chatText().isEmpty());
        QVERIFY(setButton()->isEnabled());
        QCOMPARE(f.link->pageShown, 2);
        QTRY_COMPARE(f.requests("usb"), (QStringList{"55", "0d00", "0d01"}));

        // Back to Update: 0D 00, B_Set stays enabled, pending settings dropped.
        f.link->ApSettingsPending = 1;
        fillChat();
        f.window->showPage(0);
        QVERIFY(chatText().isEmpty());
        QCOMPARE(f.link->ApSettingsPending, quint8(0));
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
            QCOMPARE(f.link->ApSettingsPending, quint8(0));
        }
        QVERIFY(!setButton()->isEnabled());
        QTest::qWait(200);
        QCOMPARE(f.requests("wlan"), QStringList{"55"});
        QCOMPARE(f.requests("usb"), QStringList{});
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
        QTRY_COMPARE(f.requests("usb"), expected);
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

    // Replies nobody waited for are read and dropped when the window closes;
    // the connection is closed without a message.
    void closeDrainsWlan() {
        QVERIFY(f.start({"--mode", "none"}, Transport::Wlan));
        f.window->FormCreate();
        f.link->AwaitingReply = 0;
        for (int i = 0; i < 3; ++i)
            f.link->SendToDevice(QByteArray(1, char(0x12))); // replies stay in the socket
        QTRY_COMPARE(f.requests("wlan").size(), 4);
        QVERIFY(f.link->tcpConnected());
        QTest::qWait(100); // let the replies arrive
        QVERIFY(f.window->close());
        QVERIFY(!f.link->tcpConnected());
        QCOMPARE(f.link->RxCount, 0);
        QVERIFY(f.dialogs.texts.isEmpty());
        QVERIFY(f.child<QLineEdit>("EWLANDevice")->text().isEmpty());
    }
};

QTEST_MAIN(TstPageChange)
#include "tst_pagechange.moc"
