// Captures as files: name patterns, the facts in PNG text chunks, BMP as
// before, whole-pixel enlargement, and the current frame rate.
#include "display/CaptureFacts.h"
#include "display/CaptureNames.h"
#include "display/FrameRate.h"
#include "display/picture/PictureExport.h"
#include "TestFiles.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QtTest>

using namespace lmk;
using lmk::test::pngTexts;

namespace {
const QDateTime kTime(QDate(2026, 12, 11), QTime(2, 30, 5)); // local time

// A picture in which neighbouring pixels differ.
QImage patternPicture(int w, int h) {
    QImage img(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb((x * 37) & 0xFF, (y * 53) & 0xFF, (x * y + 11) & 0xFF));
    return img;
}

CaptureFacts someFacts() {
    return CaptureFacts{QStringLiteral("LMK540 V103"), AreaValues{0, 93, 520, 387}, kTime,
                        QStringLiteral("lmkctl 1.4")};
}
} // namespace

class TstCaptureFiles : public QObject {
    Q_OBJECT
private slots:
    void names_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("single");
        QTest::addColumn<QString>("series");
        QTest::newRow("%03d") << "shot-%03d.png" << 7 << "shot-007.png" << "shot-007.png";
        QTest::newRow("%d wider than its number") << "s%d.png" << 1234 << "s1234.png" << "s1234.png";
        QTest::newRow("%3d pads with spaces") << "s%3d.png" << 7 << "s  7.png" << "s  7.png";
        QTest::newRow("every %d form") << "two-%d-%02d.png" << 3 << "two-3-03.png" << "two-3-03.png";
        QTest::newRow("%% is a percent sign") << "pct-%%d.png" << 1 << "pct-%d.png" << "pct-%d-1.png";
        QTest::newRow("%%% then a form") << "p%%%d.png" << 2 << "p%2.png" << "p%2.png";
        QTest::newRow("%T local time") << "scr-%T.png" << 2 << "scr-20261211-023005.png"
                                       << "scr-20261211-023005-2.png";
        QTest::newRow("%T beside %d") << "scr-%T-%02d.bmp" << 4 << "scr-20261211-023005-04.bmp"
                                      << "scr-20261211-023005-04.bmp";
        QTest::newRow("a lone % stays") << "50%.png" << 1 << "50%.png" << "50%-1.png";
        QTest::newRow("% at the end stays") << "a.png%" << 1 << "a.png%" << "a-1.png%";
        QTest::newRow("unknown form stays") << "a%x.png" << 1 << "a%x.png" << "a%x-1.png";
        QTest::newRow("no form, no extension") << "dir.v2/shot" << 3 << "dir.v2/shot"
                                               << "dir.v2/shot-3";
        QTest::newRow("hidden file name") << "dir/.png" << 3 << "dir/.png" << "dir/.png-3";
    }
    void names() {
        QFETCH(QString, pattern);
        QFETCH(int, n);
        QFETCH(QString, single);
        QFETCH(QString, series);
        QCOMPARE(expandCaptureName(pattern, n, kTime), single);
        QCOMPARE(seriesCaptureName(pattern, n, kTime), series);
        QCOMPARE(hasNumberForm(pattern), single != expandCaptureName(pattern, n + 1, kTime));
    }

    // The facts are read back from the PNG's text chunks with any reader;
    // a fact not known is left out.
    void pngTextChunks() {
        QBuffer buf;
        buf.open(QIODevice::WriteOnly);
        const QImage img = patternPicture(20, 10);
        QCOMPARE(writePicture(buf, img, "png", someFacts()), QString());
        buf.close();
        const QMap<QString, QString> texts = pngTexts(buf.data());
        QCOMPARE(texts.keys(), (QStringList{"Area", "Creation Time", "Software", "Source"}));
        QCOMPARE(texts["Source"], QStringLiteral("LMK540 V103"));
        QCOMPARE(texts["Area"], QStringLiteral("0,93,520,387"));
        QCOMPARE(texts["Software"], QStringLiteral("lmkctl 1.4"));
        QCOMPARE(QDateTime::fromString(texts["Creation Time"], Qt::ISODate), kTime);
        // Qt reads the keywords without a space as they are, and the picture.
        QImageReader reader(&buf, "png");
        QCOMPARE(reader.text(QStringLiteral("Source")), QStringLiteral("LMK540 V103"));
        QCOMPARE(reader.read().convertToFormat(QImage::Format_RGB888), img);
        // The chunks are plain tEXt chunks, readable without Qt.
        QVERIFY(buf.data().contains(QByteArray("tEXtSource\0LMK540 V103", 22)));

        CaptureFacts unknown = someFacts();
        unknown.receiver.clear();
        QBuffer buf2;
        buf2.open(QIODevice::WriteOnly);
        QCOMPARE(writePicture(buf2, img, "png", unknown), QString());
        buf2.close();
        const QMap<QString, QString> texts2 = pngTexts(buf2.data());
        QVERIFY(!texts2.contains(QStringLiteral("Source")));
        QCOMPARE(texts2["Area"], QStringLiteral("0,93,520,387"));
    }

    // A BMP is byte for byte what it was before facts existed.
    void bmpUnchanged() {
        const QImage img = patternPicture(810, 490);
        QBuffer plain;
        plain.open(QIODevice::WriteOnly);
        QVERIFY(QImageWriter(&plain, "bmp").write(img));
        QBuffer withFacts;
        withFacts.open(QIODevice::WriteOnly);
        QCOMPARE(writePicture(withFacts, img, "bmp", someFacts()), QString());
        QCOMPARE(withFacts.data().size(), 1191734);
        QCOMPARE(withFacts.data(), plain.data());
    }

    void scale_data() {
        QTest::addColumn<int>("factor");
        QTest::newRow("1x") << 1;
        QTest::newRow("2x") << 2;
        QTest::newRow("3x") << 3;
        QTest::newRow("4x") << 4;
    }
    // Every source pixel is a factor x factor block of exactly its colour.
    void scale() {
        QFETCH(int, factor);
        const QImage img = patternPicture(13, 7);
        const QImage big = scaledPicture(img, factor);
        QCOMPARE(big.size(), img.size() * factor);
        for (int y = 0; y < big.height(); ++y)
            for (int x = 0; x < big.width(); ++x)
                if (big.pixel(x, y) != img.pixel(x / factor, y / factor))
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
    }

    // (start, frame ends, now) -> frames per second; the window is 3 s.
    void frameRate_data() {
        QTest::addColumn<QList<qint64>>("ends");
        QTest::addColumn<qint64>("now");
        QTest::addColumn<double>("rate");
        QList<qint64> slowThenFast;
        for (qint64 t = 1000; t <= 10000; t += 1000)
            slowThenFast << t;
        for (qint64 t = 10125; t <= 13000; t += 125)
            slowThenFast << t;
        QTest::newRow("area switch: the new pace after one window") << slowThenFast << qint64(13000) << 8.0;
        QList<qint64> halfWay = slowThenFast.mid(0, 10 + 12); // 1.5 s after the switch
        QTest::newRow("area switch: half a window after it") << halfWay << qint64(11500) << 4.0;
        QList<qint64> steady;
        for (qint64 t = 400; t <= 8000; t += 400)
            steady << t;
        QTest::newRow("steady, just after a frame") << steady << qint64(8000) << 2.5;
        QTest::newRow("steady, between two frames") << steady << qint64(8300) << 2.5;
        QTest::newRow("a frame late: falls") << steady << qint64(9000) << 2.0;
        QTest::newRow("one frame so far") << QList<qint64>{250} << qint64(250) << 4.0;
        QTest::newRow("long silence") << QList<qint64>{1000, 2000} << qint64(12000) << 0.1;
    }
    void frameRate() {
        QFETCH(QList<qint64>, ends);
        QFETCH(qint64, now);
        QFETCH(double, rate);
        FrameRate r;
        r.start(0);
        QVERIFY(!r.perSecond(0).has_value());
        for (qint64 t : ends)
            r.frameDone(t);
        const std::optional<double> got = r.perSecond(now);
        QVERIFY(got.has_value());
        QVERIFY2(qAbs(*got - rate) < 0.01, qPrintable(QString::number(*got)));
    }
};

QTEST_MAIN(TstCaptureFiles)
#include "tst_capturefiles.moc"
