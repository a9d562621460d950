// Frame extraction over the WLAN receive buffer: byte streams cut into
// receive chunks, and the frames delivered from them.
#include "link/FrameExtractor.h"

#include <QtTest>

using namespace lmk;

namespace {
struct Run {
    QList<QByteArray> delivered; // payloads; a negative length shows as "len:-N"
    ExtractResult last = ExtractResult::NeedMore;
    int heldAfter = 0;
};

// Feeds the chunks as successive receives, the way the receive loop does:
// each receive appends at RxCount (at most the room left), then extracts.
// The loop ends on Drained, Oversized or Stopped, as SendToDevice's does.
Run feed(const QList<QByteArray> &chunks, int stopAfterFrames = -1) {
    RxState rx;
    Run run;
    bool awaiting = true;
    for (const QByteArray &chunk : chunks) {
        const int n = qMin(int(chunk.size()), rx.space());
        memcpy(rx.RxBuffer + rx.RxCount, chunk.constData(), size_t(n));
        rx.RxCount += n;
        run.last = extractFrames(
            rx, [&] { return awaiting; },
            [&](const quint8 *p, int len) {
                if (len < 0)
                    run.delivered << QByteArray("len:") + QByteArray::number(len);
                else
                    run.delivered << QByteArray(reinterpret_cast<const char *>(p), len);
                if (stopAfterFrames >= 0 && run.delivered.size() >= stopAfterFrames)
                    awaiting = false;
            });
        if (run.last == ExtractResult::Drained || run.last == ExtractResult::Oversized ||
            run.last == ExtractResult::Stopped)
            break;
    }
    run.heldAfter = rx.RxCount;
    return run;
}

QByteArray frameOf(const QByteArray &payload) {
    const int len = int(payload.size()) + 4;
    QByteArray f;
    f.append(char(len & 0xFF)).append(char(len >> 8)).append(2, '\0');
    return f + payload;
}

QList<QByteArray> hexList(const char *spaceSeparated) {
    QList<QByteArray> out;
    for (const QByteArray &h : QByteArray(spaceSeparated).split(' '))
        if (!h.isEmpty())
            out << QByteArray::fromHex(h);
    return out;
}
} // namespace

Q_DECLARE_METATYPE(ExtractResult)

class TstFrameExtractor : public QObject {
    Q_OBJECT
private slots:
    void table_data() {
        QTest::addColumn<QList<QByteArray>>("chunks");
        QTest::addColumn<QList<QByteArray>>("expected");
        QTest::addColumn<ExtractResult>("result");

        const QByteArray version = QByteArray::fromHex("1240050003010000");
        const QByteArray ack = QByteArray::fromHex("00000000");
        QTest::newRow("one frame") << QList<QByteArray>{frameOf(version)}
                                   << QList<QByteArray>{version} << ExtractResult::Drained;
        QTest::newRow("two frames in one receive")
            << QList<QByteArray>{frameOf(ack) + frameOf(version)}
            << QList<QByteArray>{ack, version} << ExtractResult::Drained;
        QTest::newRow("split after first byte")
            << QList<QByteArray>{frameOf(version).left(1), frameOf(version).mid(1)}
            << QList<QByteArray>{version} << ExtractResult::Drained;
        QTest::newRow("split in the payload")
            << QList<QByteArray>{frameOf(version).left(6), frameOf(version).mid(6, 3),
                                 frameOf(version).mid(9)}
            << QList<QByteArray>{version} << ExtractResult::Drained;
        QTest::newRow("second frame split across receives")
            << QList<QByteArray>{frameOf(ack) + frameOf(version).left(5), frameOf(version).mid(5)}
            << QList<QByteArray>{ack, version} << ExtractResult::Drained;
        QTest::newRow("header only frame") << hexList("04000000") << QList<QByteArray>{QByteArray()}
                                           << ExtractResult::Drained;
        QTest::newRow("length 1 consumed with negative length")
            << hexList("0100") << QList<QByteArray>{"len:-3"} << ExtractResult::NeedMore;
        QTest::newRow("length 3 consumed with negative length")
            << hexList("030000") << QList<QByteArray>{"len:-1"} << ExtractResult::Drained;
        QTest::newRow("length 2") << hexList("0200") << QList<QByteArray>{"len:-2"}
                                  << ExtractResult::Drained;
        QByteArray max(1020, '\x11');
        QTest::newRow("length 1024 accepted")
            << QList<QByteArray>{frameOf(max).left(700), frameOf(max).mid(700)}
            << QList<QByteArray>{max} << ExtractResult::Drained;
        QTest::newRow("length 1025 gives up") << hexList("01040000") << QList<QByteArray>{}
                                              << ExtractResult::Oversized;
        QTest::newRow("length 0xFFFF gives up") << hexList("ffff0000") << QList<QByteArray>{}
                                                << ExtractResult::Oversized;
        QTest::newRow("incomplete frame waits")
            << QList<QByteArray>{frameOf(version).left(11)} << QList<QByteArray>{}
            << ExtractResult::NeedMore;
        QTest::newRow("length 0 drops held bytes, next frame resynchronises")
            << QList<QByteArray>{QByteArray::fromHex("0000aabbccdd"), frameOf(version)}
            << QList<QByteArray>{version} << ExtractResult::Drained;
    }
    void table() {
        QFETCH(QList<QByteArray>, chunks);
        QFETCH(QList<QByteArray>, expected);
        QFETCH(ExtractResult, result);
        const Run run = feed(chunks);
        QCOMPARE(run.delivered, expected);
        QCOMPARE(run.last, result);
    }

    // When the first frame's handler clears AwaitingReply, the second frame
    // stays in the buffer undelivered.
    void clearedAwaitingStopsDelivery() {
        const QByteArray a = frameOf(QByteArray::fromHex("0b000000"));
        const QByteArray b = frameOf(QByteArray::fromHex("12400500"));
        const Run run = feed({a + b}, 1);
        QCOMPARE(run.delivered.size(), 1);
        QCOMPARE(run.last, ExtractResult::Stopped);
        QCOMPARE(run.heldAfter, int(b.size()));
    }

    // A handler that starts another exchange resets the receive state; the
    // extraction must not move or deliver bytes that are no longer its own.
    void handlerResettingStateStopsExtraction() {
        RxState rx;
        const QByteArray two = frameOf("abcd") + frameOf("efgh");
        memcpy(rx.RxBuffer, two.constData(), size_t(two.size()));
        rx.RxCount = int(two.size());
        int calls = 0;
        const ExtractResult r = extractFrames(
            rx, [] { return true; },
            [&](const quint8 *, int) {
                ++calls;
                rx.reset();
            });
        QCOMPARE(calls, 1);
        QCOMPARE(r, ExtractResult::Stopped);
        QCOMPARE(rx.RxCount, 0);
    }
};

QTEST_GUILESS_MAIN(TstFrameExtractor)
#include "tst_frameextractor.moc"
