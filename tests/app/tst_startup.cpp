// Start-up against the simulator: probe, USB, synchronisation and the
// version request, over WLAN and USB, and without any receiver.
#include "WindowFixture.h"
#include "memory/ui/MemoryPage.h"

#include "upload/ui/UpdatePage.h"
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableView>
#include <QtTest>

using namespace lmk;

Q_DECLARE_METATYPE(lmk::Transport)

class TstStartup : public QObject {
    Q_OBJECT

    WindowFixture f;

    QString field(const char *name) { return f.child<QLineEdit>(name)->text(); }
    bool wlanChecked() { return f.child<QCheckBox>("CB_WLAN")->isChecked(); }

  private slots:
    void cleanup() { f.stop(); }

    void noReceiver() {
        QVERIFY(f.start({}, Transport::None));
        f.window->FormCreate();
        QCOMPARE(f.dialogs.texts, QStringList{QStringLiteral("Access Point LMK5x not found!")});
        QVERIFY(!f.link->usbOpen());
        QVERIFY(!wlanChecked());
        QVERIFY(!f.link->tcpConnected());
        QVERIFY(!f.link->exchangeRunning());
        QTest::qWait(200);
        QCOMPARE(f.requests(QString()), QStringList{});
        QVERIFY(field("EUSBDevice").isEmpty());
        QVERIFY(field("EWLANDevice").isEmpty());
        // The grid still shows its headings and slot numbers.
        MemoryPage *page = f.window->memoryPage();
        QVERIFY(f.child<QTableView>("SG_Speicher"));
        const QStringList headings{"Platz",       "Name",         "Frequenz",  "Modulation",
                                   "Bandbreite",  "Verschiebung", "Hochpass",  "Eingang",
                                   "Abschwächer", "Filter HP",    "Filter TP", "Version"};
        for (int c = 0; c < headings.size(); ++c)
            QCOMPARE(page->cellText(0, c), headings[c]);
        for (int r = 1; r <= 63; ++r)
            QCOMPARE(page->cellText(r, 0), QString::number(r));
    }

    // An access point that takes no connection: the probe gives up after its
    // 500 ms and start-up goes on without WLAN.
    void accessPointSilent() {
        QVERIFY(f.start({}, Transport::None));
        StalledAccessPoint ap;
        QVERIFY(ap.port() != 0);
        f.link->setEndpoint(QStringLiteral("127.0.0.1"), ap.port());
        QElapsedTimer t;
        t.start();
        f.window->FormCreate();
        const qint64 spent = t.elapsed();
        QVERIFY2(spent >= 450 && spent < 1500, qPrintable(QString::number(spent)));
        QCOMPARE(f.dialogs.texts, QStringList{QStringLiteral("Access Point LMK5x not found!")});
        QVERIFY(!wlanChecked());
        QVERIFY(!f.link->tcpConnected());
    }

    // The probe gets through but the connection after it does not: the lost
    // WLAN is reported, and without USB start-up ends there.
    void connectFailsAfterProbe() {
        QVERIFY(f.start({}, Transport::None));
        StalledAccessPoint ap(0);
        QVERIFY(ap.port() != 0);
        f.link->setEndpoint(QStringLiteral("127.0.0.1"), ap.port());
        f.window->FormCreate();
        QCOMPARE(f.dialogs.texts, QStringList{QStringLiteral("LMK doesn't respond to WLAN!")});
        QVERIFY(!wlanChecked());
        QVERIFY(!f.link->tcpConnected());
        QVERIFY(field("EWLANDevice").isEmpty());
        QVERIFY(!f.link->exchangeRunning());
    }

    void synchroniseThenVersion_data() {
        QTest::addColumn<Transport>("transport");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("boot");
        QTest::addColumn<bool>("config");
        QTest::newRow("wlan bootloader")
            << Transport::Wlan << QStringList{"--mode", "boot"} << true << false;
        QTest::newRow("wlan configuration")
            << Transport::Wlan << QStringList{"--mode", "config"} << false << true;
        QTest::newRow("wlan neither")
            << Transport::Wlan << QStringList{"--mode", "none"} << false << false;
        QTest::newRow("wlan silent")
            << Transport::Wlan << QStringList{"--silent"} << false << false;
        QTest::newRow("usb bootloader")
            << Transport::Usb << QStringList{"--mode", "boot"} << true << false;
        QTest::newRow("usb configuration")
            << Transport::Usb << QStringList{"--mode", "config"} << false << true;
        QTest::newRow("usb neither")
            << Transport::Usb << QStringList{"--mode", "none"} << false << false;
    }
    void synchroniseThenVersion() {
        QFETCH(Transport, transport);
        QFETCH(QStringList, options);
        QFETCH(bool, boot);
        QFETCH(bool, config);
        QVERIFY(f.start(options, transport));
        const bool usb = transport == Transport::Usb;
        const QString used = usb ? QStringLiteral("usb") : QStringLiteral("wlan");
        const QString other = usb ? QStringLiteral("wlan") : QStringLiteral("usb");
        f.window->FormCreate();

        QCOMPARE(wlanChecked(), !usb);
        QCOMPARE(f.link->usbOpen(), usb);
        QCOMPARE(f.dialogs.texts.contains(QStringLiteral("Access Point LMK5x not found!")), usb);
        QCOMPARE(f.window->updatePage()->bootActive(), boot);
        QCOMPARE(f.window->updatePage()->configActive(), config);

        const bool versionAsked = boot || config;
        QTRY_VERIFY(!f.requests(used).isEmpty());
        if (versionAsked) {
            QTRY_COMPARE(f.requests(used).last(), QStringLiteral("12"));
            QTRY_COMPARE(field(usb ? "EUSBDevice" : "EWLANDevice"), QStringLiteral("LMK540 V103"));
            QVERIFY(field(usb ? "EWLANDevice" : "EUSBDevice").isEmpty());
        } else {
            QTest::qWait(300);
            QVERIFY(field("EUSBDevice").isEmpty());
            QVERIFY(field("EWLANDevice").isEmpty());
        }
        // The synchronisation came first: 0x55 only, then the version request.
        QStringList reqs = f.requests(used);
        QCOMPARE(reqs.first(), QStringLiteral("55"));
        if (versionAsked)
            reqs.removeLast();
        for (const QString &r : reqs)
            QCOMPARE(r, QStringLiteral("55"));
        QVERIFY(!reqs.contains(QStringLiteral("12")));
        QCOMPARE(f.requests(other), QStringList{});
    }

    // A version reply that does not come within the reply timer: the start-up
    // does not wait for it and shows nothing.
    void versionReplyMissing() {
        QVERIFY(f.start({"--mode", "boot", "--fault", "12:silent"}, Transport::Usb));
        f.window->FormCreate();
        QVERIFY(!f.link->exchangeRunning()); // sent, not waited for
        QTRY_COMPARE(f.requests("usb").last(), QStringLiteral("12"));
        QTest::qWait(1200);
        QVERIFY(field("EUSBDevice").isEmpty());
        QVERIFY(!f.dialogs.texts.contains(QStringLiteral("Timeout: Device doesn't respond!")));
    }

    // The receiver drops the connection instead of answering the
    // synchronisation: the WLAN is lost, start-up ends without a version request.
    void connectionLostWhileSynchronising() {
        QVERIFY(f.start({"--mode", "boot", "--fault", "wlan:55:close"}, Transport::Wlan));
        QElapsedTimer t;
        t.start();
        f.window->FormCreate();
        QVERIFY(t.elapsed() < 1000); // ended by the loss, not by the reply timer
        QCOMPARE(f.dialogs.texts, QStringList{QStringLiteral("LMK doesn't respond to WLAN!")});
        QVERIFY(!wlanChecked());
        QVERIFY(!f.link->tcpConnected());
        QVERIFY(!f.window->updatePage()->bootActive());
        QVERIFY(!f.window->updatePage()->configActive());
        QTest::qWait(200);
        QCOMPARE(f.requests("wlan"), QStringList{"55"});
    }

    // Both transports: USB is used for every request, WLAN stays connected.
    void usbBeforeWlan() {
        QVERIFY(f.start({"--mode", "boot"}, Transport::Both));
        f.window->FormCreate();
        QVERIFY(wlanChecked());
        QVERIFY(f.link->tcpConnected());
        QVERIFY(f.link->usbOpen());
        QTRY_COMPARE(field("EUSBDevice"), QStringLiteral("LMK540 V103"));
        QCOMPARE(f.requests("usb"), (QStringList{"55", "12"}));
        QCOMPARE(f.requests("wlan"), QStringList{});
        QVERIFY(f.dialogs.texts.isEmpty());
    }
};

QTEST_MAIN(TstStartup)
#include "tst_startup.moc"
