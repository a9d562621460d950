// MemoryImage: the growable buffer with a position, and .Mem files.
#include "memory/MemoryImage.h"
#include "memory/SlotRecord.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

using namespace lmk;
using namespace lmk::test;

namespace {
QByteArray pattern(int n) {
    QByteArray b(n, Qt::Uninitialized);
    for (int i = 0; i < n; ++i)
        b[i] = char((i * 7 + i / 256) & 0xFF);
    return b;
}

bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class TstMemoryImage : public QObject {
    Q_OBJECT
  private slots:
    void growingIsZeroAndPositionFollowsEnd() {
        MemoryImage img;
        img.write(QByteArray("xy"));
        img.setSize(kSlotImageSize);
        QCOMPARE(img.size(), qint64(kSlotImageSize));
        QCOMPARE(img.data().mid(2), QByteArray(kSlotImageSize - 2, char(0)));
        img.setPosition(16000);
        img.setSize(100);
        QCOMPARE(img.position(), qint64(100));
    }

    void writePastEndGrowsWithZeroGap() {
        MemoryImage img;
        img.setPosition(4 * kSlotSize + 18);
        img.write(QByteArray("NAME"));
        QCOMPARE(img.size(), qint64(4 * kSlotSize + 22));
        QCOMPARE(img.position(), img.size());
        QCOMPARE(img.data().left(4 * kSlotSize + 18), QByteArray(4 * kSlotSize + 18, char(0)));
    }

    void readAtEndReturnsFewer() {
        MemoryImage img;
        img.write(pattern(300));
        img.setPosition(256);
        QCOMPARE(img.read(256), pattern(300).mid(256));
        QCOMPARE(img.position(), qint64(300));
        QCOMPARE(img.read(10), QByteArray());
        QVERIFY(!img.holdsSlot(2));
        QVERIFY(img.holdsSlot(1));
        QCOMPARE(img.slotRecord(1), pattern(300).left(256));
    }

    void fileRoundTripIsByteIdentical_data() {
        QTest::addColumn<int>("size");
        QTest::newRow("full image") << kSlotImageSize;
        QTest::newRow("longer than 63 records") << kSlotImageSize + 1000;
        QTest::newRow("short") << 700;
        QTest::newRow("empty") << 0;
    }

    void fileRoundTripIsByteIdentical() {
        QFETCH(int, size);
        QTemporaryDir dir;
        const QString in = dir.filePath("in.Mem"), out = dir.filePath("out.Mem");
        QVERIFY(writeFile(in, pattern(size)));
        MemoryImage img;
        QString error;
        QVERIFY2(img.loadFromFile(in, &error), qPrintable(error));
        QCOMPARE(img.size(), qint64(size));
        QVERIFY2(img.saveToFile(out, &error), qPrintable(error));
        QCOMPARE(fileContents(out), pattern(size));
    }

    void unreadableFileLeavesImage_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing") << "missing.Mem";
        QTest::newRow("directory") << "sub";
        QTest::newRow("too large") << "huge.Mem";
    }

    void unreadableFileLeavesImage() {
        QFETCH(QString, name);
        QTemporaryDir dir;
        QDir(dir.path()).mkdir("sub");
        {
            QFile huge(dir.filePath("huge.Mem"));
            QVERIFY(huge.open(QIODevice::WriteOnly));
            QVERIFY(huge.resize(MemoryImage::kMaxFileSize + 1)); // sparse
        }
        MemoryImage img;
        img.write(QByteArray("keep"));
        QString error;
        QVERIFY(!img.loadFromFile(dir.filePath(name), &error));
        QVERIFY(error.startsWith("Cannot open file"));
        QVERIFY(error.contains(name));
        QCOMPARE(img.data(), QByteArray("keep"));
    }

    void failedSaveKeepsExistingFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath("slots.Mem");
        QVERIFY(writeFile(path, QByteArray("old content")));
        MemoryImage img;
        img.write(pattern(kSlotImageSize));
        // Files may grow to 1000 bytes only: the write of 16128 fails.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit small = old;
        small.rlim_cur = 1000;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        QString error;
        const bool ok = img.saveToFile(path, &error);
        setrlimit(RLIMIT_FSIZE, &old);
        QVERIFY(!ok);
        QVERIFY(error.startsWith("Cannot create file"));
        QCOMPARE(fileContents(path), QByteArray("old content"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"slots.Mem"});
    }

    void saveIntoMissingFolderFails() {
        QTemporaryDir dir;
        MemoryImage img;
        QString error;
        QVERIFY(!img.saveToFile(dir.filePath("no/such/x.Mem"), &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_MAIN(TstMemoryImage)
#include "tst_memoryimage.moc"
