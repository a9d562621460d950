// lmk-sim as a real process: version and synchronise answers, the request
// log, fault injection over TCP, and the simulated USB library through the
// device link.
#include "LinkRequests.h"
#include "SimProcess.h"
#include "link/DeviceLink.h"
#include "link/Wait.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTcpSocket>
#include <QtTest>

using lmk::SimProcess;

namespace {

const QByteArray kVersionFrame = QByteArray::fromHex("0c0000001240050003010000");

QByteArray syncFrame(quint8 code) {
    return QByteArray::fromHex("08000000") + char(code) + QByteArray(3, '\0');
}

// A plain TCP client standing in for the program's WLAN side.
struct Client {
    QTcpSocket socket;
    // Bytes as they came, one entry per receive, with the time of arrival.
    QList<QByteArray> chunks;
    QList<qint64> arrivals;
    QElapsedTimer clock;

    bool connectTo(quint16 port) {
        socket.connectToHost(QHostAddress::LocalHost, port);
        clock.start();
        return socket.waitForConnected(3000);
    }
    void send(const QByteArray &bytes) {
        clock.restart();
        socket.write(bytes);
        socket.flush();
    }
    // Reads until `count` bytes arrived or `ms` ran out.
    QByteArray read(int count, int ms = 3000) {
        QElapsedTimer t;
        t.start();
        QByteArray all;
        while (all.size() < count && t.elapsed() < ms) {
            if (socket.bytesAvailable() == 0 &&
                !socket.waitForReadyRead(int(qMax<qint64>(1, ms - t.elapsed()))))
                break;
            const QByteArray got = socket.readAll();
            if (!got.isEmpty()) {
                chunks << got;
                arrivals << clock.elapsed();
                all += got;
            }
        }
        return all;
    }
    QByteArray exchange(const QByteArray &request, int expect, int ms = 3000) {
        send(request);
        return read(expect, ms);
    }
};

} // namespace

class TstSimCore : public QObject {
    Q_OBJECT
private slots:
    void init() { SimProcess::noUsb(); }
    void cleanup() { SimProcess::noUsb(); }

    void versionOverTcpIsLogged() {
        SimProcess sim;
        QVERIFY(sim.start());
        Client c;
        QVERIFY(c.connectTo(sim.port()));
        QCOMPARE(c.exchange(QByteArray::fromHex("12"), 12), kVersionFrame);
        QCOMPARE(sim.logLines(), QStringList{QStringLiteral("wlan 12")});
    }

    void versionPayloadOption() {
        SimProcess sim;
        QVERIFY(sim.start({"--version-payload", "1241050004010000"}));
        Client c;
        QVERIFY(c.connectTo(sim.port()));
        QCOMPARE(c.exchange(QByteArray::fromHex("12"), 12),
                 QByteArray::fromHex("0c0000001241050004010000"));
    }

    void syncAnswers_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("codes"); // one per request
        QTest::newRow("default boot") << QStringList{} << QByteArray::fromHex("5a5a");
        QTest::newRow("boot") << QStringList{"--mode", "boot"} << QByteArray::fromHex("5a");
        QTest::newRow("config") << QStringList{"--mode", "config"} << QByteArray::fromHex("55");
        QTest::newRow("none") << QStringList{"--mode", "none"} << QByteArray::fromHex("00");
        QTest::newRow("sequence, last repeats")
            << QStringList{"--sync-answers", "55,55,5A"} << QByteArray::fromHex("55555a5a");
    }
    void syncAnswers() {
        QFETCH(QStringList, options);
        QFETCH(QByteArray, codes);
        SimProcess sim;
        QVERIFY(sim.start(options));
        Client c;
        QVERIFY(c.connectTo(sim.port()));
        for (char code : codes)
            QCOMPARE(c.exchange(QByteArray::fromHex("55"), 8), syncFrame(quint8(code)));
    }

    // Several requests in one write, a byte no feature knows, and a request
    // split over two writes.
    void streamIsCutIntoRequests() {
        SimProcess sim;
        // Without the terminal's access-point answer to 0D 01.
        QVERIFY(sim.start({QStringLiteral("--ap-silent")}));
        Client c;
        QVERIFY(c.connectTo(sim.port()));
        QCOMPARE(c.exchange(QByteArray::fromHex("7f1255"), 20), kVersionFrame + syncFrame(0x5a));
        c.send(QByteArray::fromHex("0d"));
        QTest::qWait(100);
        c.send(QByteArray::fromHex("0112"));
        QCOMPARE(c.read(12), kVersionFrame);
        QCOMPARE(sim.logLines(),
                 (QStringList{"wlan 7f unknown", "wlan 12", "wlan 55", "wlan 0d01", "wlan 12"}));
        const QList<QByteArray> expected{QByteArray::fromHex("7f"), QByteArray::fromHex("12"),
                                         QByteArray::fromHex("55"), QByteArray::fromHex("0d01"),
                                         QByteArray::fromHex("12")};
        QCOMPARE(sim.requests("wlan"), expected);
        QVERIFY(sim.requests("usb").isEmpty());
    }

    // Each request's reply (hex, "-" for none expected within 300 ms).
    void replyFaults_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("requests");
        QTest::addColumn<QStringList>("replies");
        const QString v = QString::fromLatin1(kVersionFrame.toHex());
        QTest::newRow("silent second only")
            << QStringList{"--fault", "12#2:silent"} << QStringList{"12", "12", "12"}
            << QStringList{v, "-", v};
        QTest::newRow("silent every")
            << QStringList{"--fault", "12:silent"} << QStringList{"12", "55"}
            << QStringList{"-", "080000005a000000"};
        QTest::newRow("global silent")
            << QStringList{"--silent"} << QStringList{"12", "55"} << QStringList{"-", "-"};
        QTest::newRow("usb fault leaves wlan alone")
            << QStringList{"--fault", "usb:12:silent"} << QStringList{"12"} << QStringList{v};
        QTest::newRow("wlan fault applies") << QStringList{"--fault", "wlan:55:raw=0400"}
                                            << QStringList{"55"} << QStringList{"0400"};
        QTest::newRow("occurrence beats every")
            << QStringList{"--fault", "12:silent", "--fault", "12#2:raw=00000000"}
            << QStringList{"12", "12"} << QStringList{"-", "00000000"};
        QTest::newRow("raw on a request without reply")
            << QStringList{"--fault", "0d:raw=0800000000000000"} << QStringList{"0d01"}
            << QStringList{"0800000000000000"};
        QTest::newRow("frames without status before the reply")
            << QStringList{"--fault", "55:before=02000000+c000000000000000"} << QStringList{"55"}
            << QStringList{"0800000002000000" "0c000000c000000000000000" "080000005a000000"};
        QTest::newRow("oversized and zero length")
            << QStringList{"--fault", "12#1:raw=0104", "--fault", "12#2:raw=0000"}
            << QStringList{"12", "12"} << QStringList{"0104", "0000"};
    }
    void replyFaults() {
        QFETCH(QStringList, options);
        QFETCH(QStringList, requests);
        QFETCH(QStringList, replies);
        SimProcess sim;
        QVERIFY(sim.start(options));
        Client c;
        QVERIFY(c.connectTo(sim.port()));
        for (int i = 0; i < requests.size(); ++i) {
            const QByteArray want =
                replies[i] == "-" ? QByteArray() : QByteArray::fromHex(replies[i].toLatin1());
            const QByteArray got =
                c.exchange(QByteArray::fromHex(requests[i].toLatin1()),
                           want.isEmpty() ? 1 : int(want.size()), want.isEmpty() ? 300 : 3000);
            QCOMPARE(got.toHex(), want.toHex());
        }
        QCOMPARE(sim.requests("wlan").size(), requests.size());
    }

    void delayKeepsReplyOrder() {
        SimProcess sim;
        QVERIFY(sim.start({"--fault", "12:delay=300"}));
        Client c;
        QVERIFY(c.connectTo(sim.port()));
        QCOMPARE(c.exchange(QByteArray::fromHex("1255"), 20), kVersionFrame + syncFrame(0x5a));
        QVERIFY2(c.arrivals.first() >= 280, qPrintable(QString::number(c.arrivals.first())));
    }

    void globalDelay() {
        SimProcess sim;
        QVERIFY(sim.start({"--delay", "200"}));
        Client c;
        QVERIFY(c.connectTo(sim.port()));
        QCOMPARE(c.exchange(QByteArray::fromHex("55"), 8), syncFrame(0x5a));
        QVERIFY(c.arrivals.first() >= 180);
    }

    void closeFault() {
        SimProcess sim;
        QVERIFY(sim.start({"--fault", "55#1:close"}));
        Client c;
        QVERIFY(c.connectTo(sim.port()));
        c.send(QByteArray::fromHex("55"));
        QVERIFY(c.read(1, 2000).isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(c.socket.state(), QAbstractSocket::UnconnectedState, 2000);
        // The next connection is served again; the fault was for the first only.
        Client c2;
        QVERIFY(c2.connectTo(sim.port()));
        QCOMPARE(c2.exchange(QByteArray::fromHex("55"), 8), syncFrame(0x5a));
    }

    // Raw chunks arrive as separate receives, --chunk-gap apart.
    void rawChunksAreSplit() {
        SimProcess sim;
        QVERIFY(sim.start({"--fault", "12:raw=0c00+0000124005000301+0000", "--chunk-gap", "150"}));
        Client c;
        QVERIFY(c.connectTo(sim.port()));
        QCOMPARE(c.exchange(QByteArray::fromHex("12"), 12), kVersionFrame);
        QCOMPARE(c.chunks.size(), 3);
        QCOMPARE(c.chunks.first(), QByteArray::fromHex("0c00"));
        QVERIFY(c.arrivals[1] - c.arrivals[0] >= 100);
        QVERIFY(c.arrivals[2] - c.arrivals[1] >= 100);
    }

    // Frames put before a reply arrive as frames of their own, --chunk-gap
    // apart, and the reply one gap after the last.
    void framesBeforeTheReplyArriveApart() {
        SimProcess sim;
        QVERIFY(sim.start({"--fault", "55:before=02000000", "--chunk-gap", "150"}));
        Client c;
        QVERIFY(c.connectTo(sim.port()));
        QCOMPARE(c.exchange(QByteArray::fromHex("55"), 16),
                 QByteArray::fromHex("0800000002000000") + syncFrame(0x5a));
        QCOMPARE(c.chunks.size(), 2);
        QVERIFY(c.arrivals[1] - c.arrivals[0] >= 100);
    }

    // --control: a rule given while the connection stays open applies from
    // the next request on, until "clear"; a bad rule is refused.
    void controlChangesFaultsAtRunTime() {
        SimProcess sim;
        QVERIFY(sim.start({"--control"}));
        Client c;
        QVERIFY(c.connectTo(sim.port()));
        QCOMPARE(c.exchange(QByteArray::fromHex("55"), 8), syncFrame(0x5a));
        QVERIFY(sim.control("fault wlan:55:raw=080000005a01ffff"));
        QCOMPARE(c.exchange(QByteArray::fromHex("55"), 8),
                 QByteArray::fromHex("080000005a01ffff"));
        QVERIFY(sim.control("clear"));
        QCOMPARE(c.exchange(QByteArray::fromHex("55"), 8), syncFrame(0x5a));
        QVERIFY(!sim.control("fault 55:explode"));
        QVERIFY(!sim.control("shout"));
        QVERIFY(sim.control("ping"));
        QCOMPARE(c.exchange(QByteArray::fromHex("55"), 8), syncFrame(0x5a));
    }

    // A flood: frames nobody asked for, at its rate for its time, then
    // nothing; requests are still answered in between.
    void floodSendsFramesForItsTimeOnly() {
        SimProcess sim;
        QVERIFY(sim.start({"--flood", "wlan:6400:1"}));
        Client c;
        QVERIFY(c.connectTo(sim.port()));
        // Read until the simulator says the flood is over, then what was
        // still on its way: exactly what it sent.
        static const QRegularExpression ended(QStringLiteral("^wlan flood ended, (\\d+) bytes sent$"));
        QByteArray got;
        const auto sentBytes = [&] {
            for (const QString &line : sim.logLines())
                if (const auto m = ended.match(line); m.hasMatch())
                    return m.captured(1).toInt();
            return -1;
        };
        QTRY_VERIFY_WITH_TIMEOUT((got += c.read(1 << 20, 50), sentBytes() >= 0), 20000);
        got += c.read(1 << 20, 500);
        QCOMPARE(got.size(), sentBytes());
        // 6400 bytes/s for a second: 100 frames, fewer if the simulator was
        // held up (what falls behind is not made up in one burst).
        QVERIFY2(got.size() >= 10 * 64 && got.size() <= 110 * 64, QByteArray::number(got.size()));
        QCOMPARE(got.size() % 64, 0);
        for (qsizetype at = 0; at < got.size(); at += 64) {
            QCOMPARE(got.mid(at, 4), QByteArray::fromHex("40000000"));
            QVERIFY(got.mid(at + 4, 60).startsWith("flood "));
            QVERIFY(got.mid(at + 4, 60).endsWith("\r\n"));
        }
        QCOMPARE(c.exchange(QByteArray::fromHex("55"), 8), syncFrame(0x5a));
    }

    void floodByControlOnOpenConnections() {
        SimProcess sim;
        QVERIFY(sim.start({"--control"}));
        QVERIFY(!sim.control("flood wlan:1000:1")); // no connection yet
        Client c;
        QVERIFY(c.connectTo(sim.port()));
        QCOMPARE(c.exchange(QByteArray::fromHex("55"), 8), syncFrame(0x5a));
        QVERIFY(!sim.control("flood usb:1000:1")); // none over USB
        QVERIFY(!sim.control("flood wlan:1000"));
        QVERIFY(sim.control("flood wlan:3200:1:32"));
        QByteArray got;
        QTRY_VERIFY_WITH_TIMEOUT((got += c.read(1 << 20, 50), got.size() >= 10 * 32), 20000);
        QCOMPARE(got.left(4), QByteArray::fromHex("20000000"));
    }

    void badOptionsStopTheSimulator_data() {
        QTest::addColumn<QStringList>("options");
        QTest::newRow("no action") << QStringList{"--fault", "12"};
        QTest::newRow("bad command") << QStringList{"--fault", "zz:silent"};
        QTest::newRow("two-byte command") << QStringList{"--fault", "1212:silent"};
        QTest::newRow("occurrence 0") << QStringList{"--fault", "12#0:silent"};
        QTest::newRow("unknown action") << QStringList{"--fault", "12:explode"};
        QTest::newRow("odd hex") << QStringList{"--fault", "12:raw=abc"};
        QTest::newRow("odd hex before the reply") << QStringList{"--fault", "12:before=abc"};
        QTest::newRow("bad delay") << QStringList{"--fault", "12:delay=soon"};
        QTest::newRow("bad mode") << QStringList{"--mode", "sleepy"};
        QTest::newRow("bad sync answers") << QStringList{"--sync-answers", "55,xyz"};
        QTest::newRow("bad version payload") << QStringList{"--version-payload", "12g4"};
        QTest::newRow("flood without time") << QStringList{"--flood", "usb:1000000"};
        QTest::newRow("flood of nothing") << QStringList{"--flood", "0:60"};
        QTest::newRow("flood beyond an hour") << QStringList{"--flood", "1000:3601"};
        QTest::newRow("flood too fast") << QStringList{"--flood", "16000001:1"};
        QTest::newRow("flood frame too long") << QStringList{"--flood", "1000:1:1025"};
    }
    void badOptionsStopTheSimulator() {
        QFETCH(QStringList, options);
        SimProcess sim;
        QVERIFY(!sim.start(options));
        QVERIFY(!sim.isRunning());
        QVERIFY(sim.standardError().contains("lmk-sim:"));
    }

    void sigtermFlushesLogAndEnds() {
        SimProcess sim;
        QVERIFY(sim.start());
        Client c;
        QVERIFY(c.connectTo(sim.port()));
        QCOMPARE(c.exchange(QByteArray::fromHex("55"), 8), syncFrame(0x5a));
        sim.stop();
        QVERIFY(sim.exitedCleanly());
        QCOMPARE(sim.logLines(), QStringList{"wlan 55"});
    }

    void helpListsEveryOption() {
        QProcess p;
        p.start(QStringLiteral(LMK_SIM_BINARY), {"--help"});
        QVERIFY(p.waitForFinished(5000));
        const QString help = QString::fromLocal8Bit(p.readAllStandardOutput());
        for (const char *opt : {"--port", "--usb-socket", "--state-dir", "--log", "--delay",
                                "--silent", "--fault", "--chunk-gap", "--mode", "--sync-answers",
                                "--version-payload", "raw=HEX", "delay=MS", "close"})
            QVERIFY2(help.contains(QLatin1String(opt)), opt);
    }

    // --- the simulated USB library through the device link -----------------

    void usbVersionThroughLink() {
        SimProcess sim;
        QVERIFY(sim.start());
        sim.useUsb();
        lmk::DeviceLink link;
        QVERIFY(link.openUsb() != 0);
        link.sendUnasked(QByteArray::fromHex("12"));
        QVERIFY(lmk::waitWhile([&] { return link.usbDeviceText().isEmpty(); }, 3000));
        QCOMPARE(link.usbDeviceText(), QStringLiteral("LMK540 V103"));
        QCOMPARE(link.wlanDeviceText(), QString());
        QCOMPARE(sim.requests("usb"), QList<QByteArray>{QByteArray::fromHex("12")});
    }

    void usbSyncSetsPendingRequest() {
        SimProcess sim;
        QVERIFY(sim.start({"--mode", "config"}));
        sim.useUsb();
        lmk::DeviceLink link;
        QVERIFY(link.openUsb() != 0);
        const lmk::ExchangeResult r = lmk::requestOnce(link, QByteArray::fromHex("55"), 3000);
        QCOMPARE(r, (lmk::ExchangeResult{lmk::ExchangeEnd::Status, 0x55}));
    }

    // The library cuts split frames, frames sharing one receive, and drops a
    // bad length to pick up the next frame.
    void usbFraming_data() {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<int>("frames");
        QTest::newRow("split") << "0c00+00001240+050003010000" << 1;
        QTest::newRow("two in one receive") << "08000000020000000c0000001240050003010000" << 2;
        QTest::newRow("too short, then good") << "0200+0c0000001240050003010000" << 1;
        QTest::newRow("too long, then good") << "01040000+0c0000001240050003010000" << 1;
        QTest::newRow("zero, then good") << "00000000+0c0000001240050003010000" << 1;
        QTest::newRow("largest frame")
            << "00040000" + QString(1020 * 2, '0') + "+0c0000001240050003010000" << 2;
    }
    void usbFraming() {
        QFETCH(QString, raw);
        QFETCH(int, frames);
        SimProcess sim;
        QVERIFY(sim.start({"--fault", "usb:12:raw=" + raw, "--chunk-gap", "100"}));
        sim.useUsb();
        lmk::DeviceLink link;
        int delivered = 0;
        connect(&link, &lmk::DeviceLink::frameDelivered, this, [&] { ++delivered; });
        QVERIFY(link.openUsb() != 0);
        link.sendUnasked(QByteArray::fromHex("12"));
        QVERIFY(lmk::waitWhile([&] { return link.usbDeviceText().isEmpty(); }, 3000));
        QCOMPARE(link.usbDeviceText(), QStringLiteral("LMK540 V103"));
        QCOMPARE(delivered, frames);
    }

    void usbOpenFails_data() {
        QTest::addColumn<QByteArray>("socketPath");
        QTest::newRow("unset") << QByteArray();
        QTest::newRow("nobody listens") << QByteArray("/nonexistent/lmk-sim.sock");
    }
    void usbOpenFails() {
        QFETCH(QByteArray, socketPath);
        SimProcess sim;
        sim.useUsb();
        if (socketPath.isEmpty())
            qunsetenv("LMK_SIM_USB");
        else
            qputenv("LMK_SIM_USB", socketPath);
        lmk::DeviceLink link;
        QCOMPARE(link.openUsb(), 0);
        link.sendUnasked(QByteArray::fromHex("12")); // harmless without a connection
    }

    // Reopening replaces the connection; after close no frame arrives.
    void usbReopenAndClose() {
        SimProcess sim;
        QVERIFY(sim.start({"--fault", "usb:12#2:delay=300"}));
        sim.useUsb();
        lmk::DeviceLink link;
        QVERIFY(link.openUsb() != 0);
        QVERIFY(link.openUsb() != 0);
        link.sendUnasked(QByteArray::fromHex("12"));
        QVERIFY(lmk::waitWhile([&] { return link.usbDeviceText().isEmpty(); }, 3000));
        link.setUsbDeviceText(QString());
        link.sendUnasked(QByteArray::fromHex("12"));
        QTRY_COMPARE_WITH_TIMEOUT(sim.requests("usb").size(), 2, 2000);
        link.closeUsb();
        QTest::qWait(500);
        QCOMPARE(link.usbDeviceText(), QString());
    }
};

QTEST_MAIN(TstSimCore)
#include "tst_simcore.moc"
