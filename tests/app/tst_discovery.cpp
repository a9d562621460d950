// Finding the receiver again (USB and WLAN), the WLAN keep-alive and the
// loss of the WLAN connection, against the simulator.
#include "LinkRequests.h"
#include "WindowFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTcpSocket>
#include <QtTest>

using namespace lmk;

class TstDiscovery : public QObject {
    Q_OBJECT

    WindowFixture f;

    QString field(const char *name) { return f.child<QLineEdit>(name)->text(); }
    bool wlanChecked() { return f.child<QCheckBox>("CB_WLAN")->isChecked(); }
    void menu(const char *item) {
        QAction *a = f.window->findChild<QAction *>(QLatin1String(item));
        QVERIFY(a);
        a->trigger();
    }
    int count(const QString &transport, const QString &hex) {
        return int(f.requests(transport).count(hex));
    }
    // Connected over WLAN through "Find WLAN Connection", version shown.
    void startConnected(const QStringList &options = {}) {
        QVERIFY(f.start(options, Transport::Wlan));
        menu("MI_WLAN");
        QVERIFY(wlanChecked());
        QVERIFY(f.link->tcpConnected());
        QTRY_COMPARE(field("EWLANDevice"), QStringLiteral("LMK540 V103"));
        QCOMPARE(f.requests("wlan"), QStringList{"12"});
    }
    void verifyLost() {
        QVERIFY(!wlanChecked());
        QVERIFY(!f.link->wlanChecked());
        QVERIFY(!f.link->tcpConnected());
        QVERIFY(field("EWLANDevice").isEmpty());
        QVERIFY(!f.link->keepAliveActive());
    }

  private slots:
    void cleanup() { f.stop(); }

    void wlanFindsTheReceiver() {
        QVERIFY(f.start({"--mode", "none"}, Transport::None));
        f.window->FormCreate();
        QVERIFY(!wlanChecked());
        f.dialogs.clear();
        // The access point appears at the simulator's port.
        f.link->setEndpoint(QStringLiteral("127.0.0.1"), f.sim().port());
        menu("MI_WLAN");
        QVERIFY(wlanChecked());
        QVERIFY(f.link->tcpConnected());
        QVERIFY(f.link->keepAliveActive());
        QTRY_COMPARE(field("EWLANDevice"), QStringLiteral("LMK540 V103"));
        QVERIFY(field("EUSBDevice").isEmpty());
        QCOMPARE(f.requests("wlan"), QStringList{"12"});
        QVERIFY(f.dialogs.texts.isEmpty());
    }

    void wlanWhileConnectedReconnects() {
        startConnected();
        f.link->setWlanDeviceText(QStringLiteral("old"));
        const quint16 before = f.link->tcpLocalPort();
        menu("MI_WLAN");
        // The new reply is handled when events are next processed.
        QVERIFY(field("EWLANDevice").isEmpty());
        QVERIFY(wlanChecked());
        QVERIFY(f.link->tcpConnected());
        QVERIFY(f.link->tcpLocalPort() != before);
        QTRY_COMPARE(field("EWLANDevice"), QStringLiteral("LMK540 V103"));
        QCOMPARE(f.requests("wlan"), (QStringList{"12", "12"}));
        QVERIFY(f.dialogs.texts.isEmpty());
    }

    void wlanAccessPointGone() {
        startConnected();
        f.link->setWlanDeviceText(QStringLiteral("LMK540 V103"));
        f.link->setEndpoint(QStringLiteral("127.0.0.1"), closedPort());
        QElapsedTimer t;
        t.start();
        menu("MI_WLAN");
        QCOMPARE(f.dialogs.texts, QStringList{QStringLiteral("Access Point LMK5x not found!")});
        QVERIFY(!wlanChecked());
        QVERIFY(!f.link->tcpConnected());
        QVERIFY(field("EWLANDevice").isEmpty());
        QVERIFY(t.elapsed() < 5000);
        // Nothing goes anywhere afterwards.
        f.link->sendUnasked(QByteArray(1, char(0x12)));
        QTest::qWait(100);
        QCOMPARE(f.requests("wlan"), QStringList{"12"});
    }

    void wlanAccessPointSilent() {
        startConnected();
        StalledAccessPoint ap;
        QVERIFY(ap.port() != 0);
        f.link->setEndpoint(QStringLiteral("127.0.0.1"), ap.port());
        QElapsedTimer t;
        t.start();
        menu("MI_WLAN");
        QVERIFY2(t.elapsed() < 1500, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(f.dialogs.texts, QStringList{QStringLiteral("Access Point LMK5x not found!")});
        QVERIFY(!wlanChecked());
        QVERIFY(!f.link->tcpConnected());
        QVERIFY(field("EWLANDevice").isEmpty());
    }

    // The probe gets through, the connection after it does not: the link
    // gives up on its own and reports the lost WLAN.
    void wlanConnectFailsAfterProbe() {
        QVERIFY(f.start({}, Transport::None));
        StalledAccessPoint ap(0);
        QVERIFY(ap.port() != 0);
        f.link->setEndpoint(QStringLiteral("127.0.0.1"), ap.port());
        QElapsedTimer t;
        t.start();
        menu("MI_WLAN");
        QVERIFY2(t.elapsed() < 8000, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(f.dialogs.texts, QStringList{QStringLiteral("LMK doesn't respond to WLAN!")});
        QVERIFY(!wlanChecked());
        QVERIFY(!f.link->tcpConnected());
        QVERIFY(!f.link->keepAliveActive());
    }

    // Version replies after "Find WLAN Connection": only the first 12 bytes
    // of what came are read as one frame.
    void wlanVersionReplyLength_data() {
        QTest::addColumn<QString>("payload");
        QTest::addColumn<QString>("wlanField");
        QTest::addColumn<QString>("usbField");
        QTest::newRow("8 bytes") << "1240050003010000"
                                 << "LMK540 V103"
                                 << "";
        QTest::newRow("longer: cut after the version word") << "12400500030100001260060004020000"
                                                            << "LMK540 V103"
                                                            << "";
        QTest::newRow("shorter: no version word behind") << "12400500"
                                                         << ""
                                                         << "";
        QTest::newRow("status word first") << "0000000012400500"
                                           << ""
                                           << "";
    }
    void wlanVersionReplyLength() {
        QFETCH(QString, payload);
        QFETCH(QString, wlanField);
        QFETCH(QString, usbField);
        QVERIFY(f.start({QStringLiteral("--version-payload"), payload}, Transport::Wlan));
        menu("MI_WLAN");
        QVERIFY(wlanChecked());
        QTest::qWait(200);
        QCOMPARE(field("EWLANDevice"), wlanField);
        QCOMPARE(field("EUSBDevice"), usbField);
        QVERIFY(f.dialogs.texts.isEmpty());
    }

    void wlanVersionReplyMissing() {
        QVERIFY(f.start({QStringLiteral("--fault"), QStringLiteral("12:silent")}, Transport::Wlan));
        menu("MI_WLAN");
        QVERIFY(wlanChecked());
        QVERIFY(f.link->tcpConnected());
        QTest::qWait(200);
        QVERIFY(field("EWLANDevice").isEmpty());
        QVERIFY(f.dialogs.texts.isEmpty());
    }

    // On the terminal page the version reply is terminal text.
    void wlanOnTheTerminalPage() {
        startConnected();
        f.window->showPage(2);
        menu("MI_WLAN");
        QTest::qWait(200);
        QVERIFY(field("EWLANDevice").isEmpty());
        QVERIFY(wlanChecked());
        QWidget *chat = f.child<QWidget>("M_Chat");
        QVERIFY(chat);
        QTRY_VERIFY(!chat->property("plainText").toString().isEmpty());
    }

    void usbFindsTheReceiver() {
        QVERIFY(f.start({"--mode", "none"}, Transport::None));
        f.window->FormCreate();
        QVERIFY(!f.link->usbOpen());
        f.sim().useUsb();
        menu("MI_USB");
        QVERIFY(f.link->usbOpen());
        QTRY_COMPARE(field("EUSBDevice"), QStringLiteral("LMK540 V103"));
        QCOMPARE(f.requests("usb"), QStringList{"12"});
        // A direct write: no request waits for it.
        QVERIFY(!f.link->exchangeRunning());

        // The device goes away: the text stays, nothing is said.
        qputenv("LMK_SIM_USB", QByteArrayLiteral("/nonexistent/usb.sock"));
        f.dialogs.clear();
        menu("MI_USB");
        QVERIFY(!f.link->usbOpen());
        QCOMPARE(field("EUSBDevice"), QStringLiteral("LMK540 V103"));
        QVERIFY(f.dialogs.texts.isEmpty());
        QCOMPARE(f.requests("usb"), QStringList{"12"});
    }

    void usbWithoutLibrary() {
        QVERIFY(f.start({}, Transport::None));
        f.window->FormCreate();
        f.dialogs.clear();
        menu("MI_USB");
        QVERIFY(!f.link->usbOpen());
        QVERIFY(field("EUSBDevice").isEmpty());
        QVERIFY(f.dialogs.texts.isEmpty());
    }

    // The receiver goes away while nobody waits: the link reads all the
    // time, so it finds the connection closed at once, without waiting for
    // the next keep-alive.
    void lostWhileIdleFoundByKeepAlive() {
        startConnected();
        f.link->setKeepAliveIntervalForTest(200);
        f.sim().stop();
        QTRY_COMPARE_WITH_TIMEOUT(
            f.dialogs.texts, QStringList{QStringLiteral("LMK doesn't respond to WLAN!")}, 3000);
        verifyLost();
        // Lost: the keep-alive and sends do nothing; no second message.
        QTest::qWait(500);
        f.link->sendUnasked(QByteArray(1, char(0x55)));
        QTest::qWait(100);
        QCOMPARE(f.dialogs.texts.size(), 1);
    }

    // The receiver has gone away before a request: the requester's wait ends
    // at once, long before its reply timer.
    void lostWhileIdleFoundBySend() {
        startConnected();
        f.sim().stop();
        QTest::qWait(300);
        QElapsedTimer t;
        t.start();
        const ExchangeResult r = requestOnce(*f.link, QByteArray(1, char(0x12)), 3000);
        QVERIFY2(t.elapsed() < 2500, qPrintable(QString::number(t.elapsed())));
        QVERIFY(r.end == ExchangeEnd::LinkLost || r.end == ExchangeEnd::NoTransport);
        QVERIFY(f.dialogs.texts.contains(QStringLiteral("LMK doesn't respond to WLAN!")));
        verifyLost();
    }

    // The receiver closes the connection instead of answering a request: the
    // waiting requester ends at once, long before its reply timer.
    void lostWhileWaiting() {
        startConnected({QStringLiteral("--fault"), QStringLiteral("wlan:12#2:close")});
        f.link->setWlanDeviceText(QStringLiteral("LMK540 V103"));
        QElapsedTimer t;
        t.start();
        const ExchangeResult r = requestOnce(*f.link, QByteArray(1, char(0x12)), 3000);
        QVERIFY(t.elapsed() < 2500);
        QCOMPARE(r.end, ExchangeEnd::LinkLost);
        QVERIFY(f.dialogs.texts.contains(QStringLiteral("LMK doesn't respond to WLAN!")));
        QVERIFY(!wlanChecked());
        QVERIFY(!f.link->tcpConnected());
        QVERIFY(field("EWLANDevice").isEmpty());
        // Found again afterwards.
        f.dialogs.clear();
        menu("MI_WLAN");
        QVERIFY(wlanChecked());
        QVERIFY(f.link->keepAliveActive());
    }

    void keepAliveAfterQuietTime() {
        startConnected();
        f.link->setKeepAliveIntervalForTest(300);
        // Sends every 100 ms keep the keep-alive away.
        for (int i = 0; i < 8; ++i) {
            f.link->sendUnasked(QByteArray(1, char(0x12)));
            QTest::qWait(100);
        }
        QCOMPARE(count("wlan", "55"), 0);
        QCOMPARE(count("wlan", "12"), 9);
        // Quiet: 0x55 after the interval, and again after the next one.
        QTRY_COMPARE_WITH_TIMEOUT(count("wlan", "55"), 1, 2000);
        QTRY_COMPARE_WITH_TIMEOUT(count("wlan", "55"), 2, 2000);
        QVERIFY(wlanChecked());
        QVERIFY(f.dialogs.texts.isEmpty());
        // The shipped interval is untouched by the hook's caller.
        QCOMPARE(kKeepAliveMs, 30000);
    }

    void keepAliveReplyDiscarded() {
        startConnected();
        f.link->setKeepAliveIntervalForTest(200);
        QTRY_COMPARE_WITH_TIMEOUT(count("wlan", "55"), 2, 2000);
        f.link->setKeepAliveIntervalForTest(60000);
        QTest::qWait(300);
        // The next request sees its own reply, not the keep-alive's.
        f.link->setWlanDeviceText(QString());
        const ExchangeResult r = requestOnce(*f.link, QByteArray(1, char(0x12)), 1000);
        QCOMPARE(field("EWLANDevice"), QStringLiteral("LMK540 V103"));
        QCOMPARE(r.end, ExchangeEnd::Finished); // the version, no status word
        QVERIFY(f.dialogs.texts.isEmpty());
    }

    // A keep-alive reply that comes late is one nobody waits for: it is
    // dropped, and the next request gets its own answer.
    void lateKeepAliveReplyNotTakenByNextRequest() {
        startConnected({QStringLiteral("--mode"), QStringLiteral("none"), QStringLiteral("--fault"),
                        QStringLiteral("wlan:55:delay=400")});
        f.link->setKeepAliveIntervalForTest(200);
        QTRY_COMPARE_WITH_TIMEOUT(count("wlan", "55"), 1, 2000);
        f.link->setKeepAliveIntervalForTest(60000);
        QTest::qWait(700); // the reply (00 00 00 00) has arrived meanwhile
        const ExchangeResult r = requestOnce(*f.link, QByteArray(1, char(0x12)), 1000);
        QCOMPARE(r.end, ExchangeEnd::Finished); // its own version reply, no status
        QCOMPARE(field("EWLANDevice"), QStringLiteral("LMK540 V103"));
        QVERIFY(f.dialogs.texts.isEmpty());
        QVERIFY(wlanChecked());
    }

    void noKeepAliveWithWlanUnchecked() {
        startConnected();
        f.link->setWlanChecked(false);
        QVERIFY(!wlanChecked());
        QVERIFY(f.link->tcpConnected());
        f.link->setKeepAliveIntervalForTest(100);
        QTest::qWait(500);
        QCOMPARE(count("wlan", "55"), 0);
    }
};

QTEST_MAIN(TstDiscovery)
#include "tst_discovery.moc"
