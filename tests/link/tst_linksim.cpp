// The device link end to end against a real lmk-sim process: the version
// request over WLAN and over the simulated USB, a peer that closes the
// connection, and an oversized frame.
#include "LinkRequests.h"
#include "ScriptedDialogs.h"
#include "SimProcess.h"
#include "link/DeviceLink.h"
#include "link/UsbLibrary.h"
#include "link/Wait.h"

#include <QElapsedTimer>
#include <QtTest>

using namespace lmk;

class TstLinkSim : public QObject {
    Q_OBJECT
    ExchangeResult versionRequest(DeviceLink &link) {
        showLinkReports(link);
        return requestOnce(link, QByteArray(1, char(0x12)), 1000);
    }

private slots:
    void cleanup() { SimProcess::noUsb(); }

    void versionOverWlan() {
        ScriptedDialogs dlg;
        SimProcess sim;
        QVERIFY(sim.start());
        DeviceLink link;
        link.setEndpoint(QStringLiteral("127.0.0.1"), sim.port());
        link.startupWlan();
        QVERIFY(link.wlanChecked());
        versionRequest(link);
        QCOMPARE(link.wlanDeviceText(), QStringLiteral("LMK540 V103"));
        QCOMPARE(link.usbDeviceText(), QString());
        QCOMPARE(sim.requests(QStringLiteral("wlan")), QList<QByteArray>{QByteArray("\x12")});
        QVERIFY(dlg.texts.isEmpty());
    }

    void versionOverUsb() {
        ScriptedDialogs dlg;
        SimProcess sim;
        QVERIFY(sim.start({QStringLiteral("--version-payload"), QStringLiteral("1250050004020000")}));
        sim.useUsb();
        DeviceLink link;
        QVERIFY(link.openUsb() != 0);
        versionRequest(link);
        QTRY_COMPARE_WITH_TIMEOUT(link.usbDeviceText(), QStringLiteral("LMK550 V204"), 2000);
        QCOMPARE(link.wlanDeviceText(), QString());
        QCOMPARE(sim.requests(QStringLiteral("usb")), QList<QByteArray>{QByteArray("\x12")});
    }

    void usbPreferredOverWlan() {
        ScriptedDialogs dlg;
        SimProcess sim;
        QVERIFY(sim.start());
        sim.useUsb();
        DeviceLink link;
        link.setEndpoint(QStringLiteral("127.0.0.1"), sim.port());
        link.startupWlan();
        QVERIFY(link.openUsb() != 0);
        versionRequest(link);
        QTRY_COMPARE_WITH_TIMEOUT(link.usbDeviceText(), QStringLiteral("LMK540 V103"), 2000);
        QCOMPARE(sim.requests(QStringLiteral("wlan")), QList<QByteArray>{});
    }

    void noUsbLibraryMeansNoUsb() {
        SimProcess::noUsb();
        DeviceLink link;
        QCOMPARE(link.openUsb(), 0);
        // Nowhere to go: nothing happens.
        QCOMPARE(requestOnce(link, QByteArray(1, char(0x12))).end, ExchangeEnd::NoTransport);
    }

    void peerClosingRunsTheErrorPath() {
        ScriptedDialogs dlg;
        SimProcess sim;
        QVERIFY(sim.start({QStringLiteral("--fault"), QStringLiteral("12:close")}));
        DeviceLink link;
        link.setEndpoint(QStringLiteral("127.0.0.1"), sim.port());
        link.startupWlan();
        link.setWlanDeviceText(QStringLiteral("LMK540 V103"));
        QElapsedTimer t;
        t.start();
        QCOMPARE(versionRequest(link).end, ExchangeEnd::LinkLost);
        QVERIFY(t.elapsed() < 900); // ended by the error, not by the reply timer
        QVERIFY(!link.exchangeRunning());
        QVERIFY(!link.wlanChecked());
        QVERIFY(!link.tcpConnected());
        QVERIFY(!link.keepAliveActive() || link.keepAliveInterval() == kKeepAliveMs);
        QCOMPARE(link.wlanDeviceText(), QString());
        QCOMPARE(dlg.texts, QStringList{QStringLiteral("LMK doesn't respond to WLAN!")});
        // With WLAN unusable the next send goes nowhere.
        link.sendUnasked(QByteArray(1, char(0x12)));
        QCOMPARE(sim.requests().size(), 1);
    }

    void oversizedFrameEndsTheWait() {
        ScriptedDialogs dlg;
        SimProcess sim;
        QVERIFY(sim.start({QStringLiteral("--fault"), QStringLiteral("55:raw=01040000aaaaaaaa")}));
        DeviceLink link;
        link.setEndpoint(QStringLiteral("127.0.0.1"), sim.port());
        link.startupWlan();
        QElapsedTimer t;
        t.start();
        // As if its time had run out early; no status was taken.
        QCOMPARE(requestOnce(link, QByteArray(1, char(0x55)), 3000).end, ExchangeEnd::Timeout);
        QVERIFY(t.elapsed() < 2000);
        QVERIFY(!link.exchangeRunning());
        QVERIFY(link.wlanChecked()); // the connection itself is fine
    }

    void splitVersionFrameOverWlan() {
        ScriptedDialogs dlg;
        SimProcess sim;
        QVERIFY(sim.start({QStringLiteral("--fault"),
                           QStringLiteral("12:raw=0c+00000012+4005000301+0000")}));
        DeviceLink link;
        link.setEndpoint(QStringLiteral("127.0.0.1"), sim.port());
        link.startupWlan();
        versionRequest(link);
        QCOMPARE(link.wlanDeviceText(), QStringLiteral("LMK540 V103"));
    }

    void accessPointNotFound() {
        ScriptedDialogs dlg;
        DeviceLink link;
        showLinkReports(link);
        link.setEndpoint(QStringLiteral("127.0.0.1"), 9);
        QElapsedTimer t;
        t.start();
        link.startupWlan();
        QVERIFY(t.elapsed() < 1500);
        QVERIFY(!link.wlanChecked());
        QCOMPARE(dlg.texts, QStringList{QStringLiteral("Access Point LMK5x not found!")});
    }

    // Requests written just before a close reach the receiver, even while
    // it is still answering the earlier ones (the window sends its last
    // page switch this way when it closes).
    void closeDeliversTheLastRequests() {
        SimProcess sim;
        QVERIFY(sim.start({QStringLiteral("--delay"), QStringLiteral("5")}));
        sim.useUsb();
        UsbLibrary usb;
        QVERIFY(usb.load(UsbLibrary::configuredPath()));
        QList<QByteArray> sent;
        for (int round = 0; round < 20; ++round) {
            QVERIFY(usb.open(nullptr, nullptr) != 0);
            for (const QByteArray &bytes : {QByteArray::fromHex("12"), QByteArray::fromHex("0d01"),
                                            QByteArray::fromHex("0d00")}) {
                usb.write(reinterpret_cast<const quint8 *>(bytes.constData()), int(bytes.size()));
                sent << bytes;
            }
            usb.close();
        }
        QTRY_COMPARE(sim.requests(QStringLiteral("usb")), sent);
    }
};

QTEST_MAIN(TstLinkSim)
#include "tst_linksim.moc"
