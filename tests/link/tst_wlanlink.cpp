// The WLAN path against a scripted peer on loopback: framing, how a
// request's wait ends, the socket error path and responsiveness.
#include "LinkRequests.h"
#include "ScriptedDialogs.h"
#include "link/DeviceEvents.h"
#include "link/DeviceLink.h"
#include "link/Wait.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>
#include <ctime>

using namespace lmk;

namespace {
QByteArray frameOf(const QByteArray &payload) {
    const int len = int(payload.size()) + 4;
    QByteArray f;
    f.append(char(len & 0xFF)).append(char(len >> 8)).append(2, '\0');
    return f + payload;
}

// A peer that answers each received request with the next script entry:
// chunks written with a pause between them; "close" closes the connection.
class ScriptedPeer : public QObject {
public:
    struct Step {
        QList<QByteArray> chunks;
        int gapMs = 0;
        bool close = false;
    };
    QTcpServer server;
    QTcpSocket *conn = nullptr;
    QList<Step> script;
    QByteArray received;
    int accepted = 0;

    ScriptedPeer() {
        server.listen(QHostAddress::LocalHost, 0);
        connect(&server, &QTcpServer::newConnection, this, [this] {
            conn = server.nextPendingConnection();
            ++accepted;
            connect(conn, &QTcpSocket::readyRead, this, [this] {
                const QByteArray got = conn->readAll();
                for (int i = 0; i < got.size(); ++i) {
                    received.append(got[i]);
                    if (!script.isEmpty())
                        play(script.takeFirst());
                }
            });
        });
    }
    void play(const Step &s) {
        QPointer<QTcpSocket> c = conn;
        if (s.close) {
            c->close();
            return;
        }
        int at = 0;
        for (const QByteArray &chunk : s.chunks) {
            QTimer::singleShot(at, this, [c, chunk] {
                if (c)
                    c->write(chunk), c->flush();
            });
            at += s.gapMs;
        }
    }
};

class Target : public QObject {
public:
    DeviceLink *link = nullptr;
    QList<QByteArray> frames;
    bool event(QEvent *e) override {
        if (e->type() == WM_DEVICE_DATA) {
            auto *d = static_cast<DeviceDataEvent *>(e);
            frames << QByteArray(reinterpret_cast<const char *>(d->payload()), qMax(0, d->length()));
        }
        if (link && link->handleDeviceEvent(e))
            return true;
        return QObject::event(e);
    }
};
} // namespace

class TstWlanLink : public QObject {
    Q_OBJECT
    ScriptedDialogs *dlg = nullptr;
    ScriptedPeer *peer = nullptr;
    DeviceLink *link = nullptr;
    Target *target = nullptr;

    ExchangeResult request(quint8 byte, int timerMs = 1000) {
        return requestOnce(*link, QByteArray(1, char(byte)), timerMs);
    }

private slots:
    void init() {
        dlg = new ScriptedDialogs;
        peer = new ScriptedPeer;
        link = new DeviceLink;
        target = new Target;
        target->link = link;
        link->setEventTarget(target);
        showLinkReports(*link);
        link->setEndpoint(QStringLiteral("127.0.0.1"), peer->server.serverPort());
        link->setWlanChecked(true);
    }
    void cleanup() {
        delete link;
        delete target;
        delete peer;
        delete dlg;
    }

    void versionReplyGoesToWlanField() {
        peer->script << ScriptedPeer::Step{{frameOf(QByteArray::fromHex("1240050003010000"))}};
        QCOMPARE(request(0x12).end, ExchangeEnd::Finished);
        QCOMPARE(peer->received, QByteArray::fromHex("12"));
        QCOMPARE(link->wlanDeviceText(), QStringLiteral("LMK540 V103"));
        QCOMPARE(link->usbDeviceText(), QString());
        QVERIFY(dlg->texts.isEmpty());
    }

    void framesAsEvents_data() {
        QTest::addColumn<QList<QByteArray>>("chunks");
        QTest::addColumn<int>("gapMs");
        QTest::addColumn<QList<QByteArray>>("frames");
        QTest::addColumn<int>("pending");
        const QByteArray st55 = QByteArray::fromHex("55000000");
        const QByteArray st5a = QByteArray::fromHex("5a000000");
        QTest::newRow("two frames in one receive")
            << QList<QByteArray>{frameOf(st55) + frameOf(st5a)} << 0
            << QList<QByteArray>{st55, st5a} << 0x5A;
        const QByteArray f = frameOf(st55);
        QTest::newRow("split after the first byte")
            << QList<QByteArray>{f.left(1), f.mid(1)} << 40 << QList<QByteArray>{st55} << 0x55;
        QTest::newRow("split in three") << QList<QByteArray>{f.left(3), f.mid(3, 2), f.mid(5)}
                                        << 40 << QList<QByteArray>{st55} << 0x55;
        QTest::newRow("zero length resynchronises")
            << QList<QByteArray>{QByteArray::fromHex("0000ffff"), frameOf(st5a)} << 40
            << QList<QByteArray>{st5a} << 0x5A;
    }
    void framesAsEvents() {
        QFETCH(QList<QByteArray>, chunks);
        QFETCH(int, gapMs);
        QFETCH(QList<QByteArray>, frames);
        QFETCH(int, pending);
        peer->script << ScriptedPeer::Step{chunks, gapMs};
        QElapsedTimer t;
        t.start();
        const ExchangeResult r = request(0x55);
        QCOMPARE(target->frames, frames);
        QCOMPARE(r, (ExchangeResult{ExchangeEnd::Status, pending}));
        QVERIFY2(t.elapsed() < 900, "the wait ends with the frame, not with the reply timer");
    }

    void oversizedLengthEndsTheWait() {
        peer->script << ScriptedPeer::Step{{QByteArray::fromHex("01040000") + QByteArray(8, 'x')}};
        QElapsedTimer t;
        t.start();
        QCOMPARE(request(0x55, 3000).end, ExchangeEnd::Timeout); // as if it had come early
        QVERIFY(t.elapsed() < 2000);
        QVERIFY(!link->exchangeRunning());
        QVERIFY(target->frames.isEmpty());
    }

    void silenceEndsWithTheReplyTimer() {
        QElapsedTimer t;
        t.start();
        const std::clock_t cpu0 = std::clock();
        const ExchangeResult r = request(0x55, 1000);
        const double cpuMs = double(std::clock() - cpu0) * 1000.0 / CLOCKS_PER_SEC;
        QVERIFY(t.elapsed() >= 950);
        QCOMPARE(r.end, ExchangeEnd::Timeout);
        QVERIFY(!link->exchangeRunning());
        // Waiting sleeps in the event loop; a spinning wait would burn a core.
        QVERIFY2(cpuMs < 300, qPrintable(QStringLiteral("CPU %1 ms while waiting").arg(cpuMs)));
    }

    // What ends a WLAN wait, and that waiting sleeps: the reply timer ends
    // it within a heartbeat; a socket closed mid-wait (the window closing,
    // another connection search) ends it at once, as the connection is
    // gone; the next request connects anew and waits for its own timer.
    void waitEndings_data() {
        QTest::addColumn<QString>("event");
        QTest::addColumn<int>("minMs");
        QTest::addColumn<int>("maxMs");
        QTest::newRow("reply timer of 1500 ms") << "silence" << 1450 << 1600;
        QTest::newRow("socket closed: the wait ends") << "close" << 80 << 500;
        QTest::newRow("socket closed: the next request waits for its timer")
            << "close, wait" << 1450 << 2200;
    }
    void waitEndings() {
        QFETCH(QString, event);
        QFETCH(int, minMs);
        QFETCH(int, maxMs);
        QVERIFY(link->openTcp()); // so that the close comes while the reply is awaited
        if (event.startsWith(QLatin1String("close")))
            QTimer::singleShot(100, link, [this] { link->closeTcp(); });
        QElapsedTimer t;
        t.start();
        const std::clock_t cpu0 = std::clock();
        const ExchangeResult r = request(0x55, 1500);
        QCOMPARE(r.end, event == QLatin1String("silence") ? ExchangeEnd::Timeout : ExchangeEnd::LinkLost);
        if (event.endsWith(QLatin1String("wait")))
            QCOMPARE(request(0x55, 1500).end, ExchangeEnd::Timeout);
        const qint64 took = t.elapsed();
        const double cpuMs = double(std::clock() - cpu0) * 1000.0 / CLOCKS_PER_SEC;
        QVERIFY2(took >= minMs && took <= maxMs, qPrintable(QString::number(took)));
        QVERIFY2(cpuMs < 300, qPrintable(QStringLiteral("CPU %1 ms while waiting").arg(cpuMs)));
        QVERIFY(target->frames.isEmpty());
        QVERIFY2(dlg->texts.isEmpty(), qPrintable(dlg->texts.join(" / "))); // closing is no error
    }

    void windowStaysResponsiveWhileWaiting() {
        QTimer tick;
        int ticks = 0;
        QElapsedTimer gap;
        qint64 worst = 0;
        gap.start();
        connect(&tick, &QTimer::timeout, this, [&] {
            worst = qMax(worst, gap.restart());
            ++ticks;
        });
        tick.start(10);
        request(0x55, 1000);
        QVERIFY2(ticks >= 20, qPrintable(QString::number(ticks)));
        QVERIFY2(worst < 200, qPrintable(QString::number(worst)));
    }

    void peerClosingRunsTheErrorPath() {
        peer->script << ScriptedPeer::Step{{}, 0, true};
        QCOMPARE(request(0x55, 3000).end, ExchangeEnd::LinkLost);
        QVERIFY(!link->exchangeRunning());
        QVERIFY(!link->wlanChecked());
        QVERIFY(!link->tcpConnected());
        QVERIFY(!link->keepAliveActive() || link->keepAliveInterval() == kKeepAliveMs);
        QCOMPARE(link->wlanDeviceText(), QString());
        QVERIFY(dlg->texts.contains(QStringLiteral("LMK doesn't respond to WLAN!")));
    }

    void connectFailureReportsAndDoesNotHang() {
        link->setEndpoint(QStringLiteral("127.0.0.1"), 9); // nothing listens there
        QElapsedTimer t;
        t.start();
        request(0x55, 1000);
        QVERIFY(t.elapsed() < 3000);
        QVERIFY(!link->wlanChecked());
        QVERIFY(dlg->texts.contains(QStringLiteral("LMK doesn't respond to WLAN!")));
    }

    void replyToAnUnaskedSendIsNotTheNextAnswer() {
        peer->script << ScriptedPeer::Step{{frameOf(QByteArray::fromHex("5a000000"))}}
                     << ScriptedPeer::Step{{frameOf(QByteArray::fromHex("55000000"))}};
        QSignalSpy dropped(link, &DeviceLink::staleInputDropped);
        link->sendUnasked(QByteArray(1, char(0x55)));
        QVERIFY(target->frames.isEmpty());
        QTRY_VERIFY(!target->frames.isEmpty());
        // The old reply is read first, but nobody asked for it: it is dropped,
        // and the request gets its own answer.
        QCOMPARE(request(0x55), (ExchangeResult{ExchangeEnd::Status, 0x55}));
        QCOMPARE(target->frames.first(), QByteArray::fromHex("5a000000"));
        QCOMPARE(dropped.size(), 1);
    }

    void noTransportSendsNothing() {
        link->setWlanChecked(false);
        QCOMPARE(request(0x55, 200).end, ExchangeEnd::NoTransport);
        QTest::qWait(50);
        QVERIFY(peer->received.isEmpty());
        QCOMPARE(peer->accepted, 0);
    }

    void everySendRestartsKeepAlive() {
        link->setKeepAliveIntervalForTest(300);
        peer->script << ScriptedPeer::Step{{frameOf(QByteArray::fromHex("00000000"))}};
        request(0x55);
        QVERIFY(link->keepAliveActive());
        QCOMPARE(link->keepAliveInterval(), 300);
        // After the interval without sends the keep-alive byte goes out.
        peer->script << ScriptedPeer::Step{{frameOf(QByteArray::fromHex("55000000"))}};
        QTRY_COMPARE_WITH_TIMEOUT(peer->received, QByteArray::fromHex("5555"), 2000);
    }
};

QTEST_MAIN(TstWlanLink)
#include "tst_wlanlink.moc"
