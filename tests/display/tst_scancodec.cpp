// Scan request bytes, the column length P, the pixel conversion and the
// progress position.
#include "display/ScanCodec.h"

#include <QtTest>

using namespace lmk;

class TstScanCodec : public QObject {
    Q_OBJECT
private slots:
    void request_data() {
        QTest::addColumn<QList<int>>("area");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("full WVGA") << QList<int>{0, 0, 800, 480}
                                   << QByteArray::fromHex("08000000002003e00100");
        QTest::newRow("diagram VGA") << QList<int>{0, 93, 520, 387}
                                     << QByteArray::fromHex("0800005d000802830100");
        QTest::newRow("little-endian high bytes") << QList<int>{790, 470, 258, 1}
                                                  << QByteArray::fromHex("081603d6010201010000");
    }
    void request() {
        QFETCH(QList<int>, area);
        QFETCH(QByteArray, bytes);
        QCOMPARE(scanRequest(area[0], area[1], area[2], area[3]).toHex(), bytes.toHex());
    }

    void columnLength_data() {
        QTest::addColumn<int>("h");
        QTest::addColumn<int>("p");
        QTest::newRow("480") << 480 << 484;
        QTest::newRow("387, three padding bytes") << 387 << 392;
        QTest::newRow("386, already a multiple") << 386 << 388;
        QTest::newRow("0") << 0 << 4;
        QTest::newRow("1") << 1 << 4;
        QTest::newRow("2") << 2 << 4;
        QTest::newRow("3") << 3 << 8;
    }
    void columnLength() {
        QFETCH(int, h);
        QFETCH(int, p);
        QCOMPARE(expectedColumnLength(h), p);
    }

    void allPixelValues() {
        for (int v = 0; v < 256; ++v) {
            const Rgb c = pixelToRgb(quint8(v));
            QCOMPARE(int(c.r), (v & 3) * 85);
            QCOMPARE(int(c.g), ((v >> 2) & 7) * 255 / 7);
            QCOMPARE(int(c.b), (v >> 5) * 255 / 7);
        }
    }

    void namedPixels_data() {
        QTest::addColumn<int>("pixel");
        QTest::addColumn<int>("r");
        QTest::addColumn<int>("g");
        QTest::addColumn<int>("b");
        QTest::newRow("FF white") << 0xFF << 255 << 255 << 255;
        QTest::newRow("E0 blue") << 0xE0 << 0 << 0 << 255;
        QTest::newRow("1C green") << 0x1C << 0 << 255 << 0;
        QTest::newRow("03 red") << 0x03 << 255 << 0 << 0;
        QTest::newRow("24 blue 36 green 36") << 0x24 << 0 << 36 << 36;
        QTest::newRow("00 black") << 0x00 << 0 << 0 << 0;
        QTest::newRow("red levels") << 0x02 << 170 << 0 << 0;
    }
    void namedPixels() {
        QFETCH(int, pixel);
        QFETCH(int, r);
        QFETCH(int, g);
        QFETCH(int, b);
        QCOMPARE(pixelToRgb(quint8(pixel)), (Rgb{quint8(r), quint8(g), quint8(b)}));
    }

    void levels() {
        const int three[8] = {0, 36, 72, 109, 145, 182, 218, 255};
        for (int l = 0; l < 8; ++l)
            QCOMPARE(int(pixelToRgb(quint8(l << 2)).g), three[l]);
    }

    void reply_data() {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<int>("h");
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("value"); // code or column
        QTest::addColumn<bool>("accepted");
        const int A = ScanReply::Accepted, R = ScanReply::Refused, C = ScanReply::Column,
                  F = ScanReply::Failure;
        QTest::newRow("accepted") << QByteArray::fromHex("00000000") << 480 << 800 << A << 0 << false;
        QTest::newRow("accepted, bytes 1-3 not read") << QByteArray::fromHex("00ffffff") << 480 << 800 << A << 0 << false;
        QTest::newRow("refused") << QByteArray::fromHex("07000000") << 480 << 800 << R << 7 << false;
        QTest::newRow("status after the acceptance") << QByteArray::fromHex("07000000") << 480 << 800 << R << 7 << true;
        QTest::newRow("column 799 of 800") << QByteArray::fromHex("1f03") + QByteArray(482, 'x') << 480 << 800 << C << 799 << true;
        QTest::newRow("column 800 of 800") << QByteArray::fromHex("2003") + QByteArray(482, 'x') << 480 << 800 << F << 0 << true;
        QTest::newRow("column one byte short") << QByteArray::fromHex("0000") + QByteArray(481, 'x') << 480 << 800 << F << 0 << true;
        QTest::newRow("diagram column with padding") << QByteArray::fromHex("0500") + QByteArray(390, 'x') << 387 << 648 << C << 5 << true;
        QTest::newRow("1 byte") << QByteArray(1, '\0') << 480 << 800 << F << 0 << true;
        QTest::newRow("3 bytes") << QByteArray(3, '\0') << 480 << 800 << F << 0 << true;
        QTest::newRow("H 1, before the acceptance: a status") << QByteArray::fromHex("0000ff00") << 1 << 800 << A << 0 << false;
        QTest::newRow("H 2, before the acceptance: refusal 3") << QByteArray::fromHex("0300ffff") << 2 << 800 << R << 3 << false;
        QTest::newRow("H 1, accepted: column 0") << QByteArray::fromHex("0000ff00") << 1 << 800 << C << 0 << true;
        QTest::newRow("H 2, accepted: column 3") << QByteArray::fromHex("0300ffff") << 2 << 800 << C << 3 << true;
        QTest::newRow("H 0, accepted: column 1") << QByteArray::fromHex("01000000") << 0 << 2 << C << 1 << true;
        QTest::newRow("H 2, accepted: column W") << QByteArray::fromHex("0200ffff") << 2 << 2 << F << 0 << true;
    }
    void reply() {
        QFETCH(QByteArray, payload);
        QFETCH(int, h);
        QFETCH(int, w);
        QFETCH(int, kind);
        QFETCH(int, value);
        QFETCH(bool, accepted);
        const ScanReply r = readScanReply(reinterpret_cast<const quint8 *>(payload.constData()),
                                          int(payload.size()), expectedColumnLength(h), w, accepted);
        QCOMPARE(int(r.kind), kind);
        if (kind == ScanReply::Refused)
            QCOMPARE(r.code, value);
        if (kind == ScanReply::Column)
            QCOMPARE(r.column, value);
    }

    void progress_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("pos");
        QTest::newRow("acceptance") << 0 << 800 << 0;
        QTest::newRow("half") << 400 << 801 << 50;
        QTest::newRow("before last") << 799 << 800 << 100;
        QTest::newRow("after last, held at max") << 800 << 800 << 100;
        QTest::newRow("one column, accepted") << 0 << 1 << 0;
        QTest::newRow("one column, done") << 1 << 1 << 100;
        QTest::newRow("no columns") << 0 << 0 << 0;
    }
    void progress() {
        QFETCH(int, n);
        QFETCH(int, w);
        QFETCH(int, pos);
        QCOMPARE(scanProgress(n, w), pos);
    }
};

QTEST_MAIN(TstScanCodec)
#include "tst_scancodec.moc"
