// lmkctl memory import of gqrx bookmarks, CHIRP CSV and the EiBi schedule,
// and memory export --format gqrx|chirp: the built program run as a child
// process (no receiver needed); what lands in the output image, the exit
// codes and the messages.
#include "CtlRun.h"
#include "TestFiles.h"

#include "memory/FrequencyListChirp.h"
#include "memory/FrequencyListGqrx.h"
#include "memory/SlotRecord.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using namespace lmk;
using namespace lmk::test;

namespace {

const QByteArray kEibi = "kHz:75;Time(UTC):93;Days:59;ITU:49;Station:201;Lng:49;Target:62;Remarks:135;P:35;Start:60;Stop:60;\n"
                         "9420;1200-1300;Mo-Fr;GRC;ERT Voice of Greece;Gr;Eu;;;;\n"
                         "6070;0000-2400;;D;Channel 292;E;Eu;Rohrbach;;;\n"
                         "6005;1700-1900;Mo-Fr;D;Radio Schoeneck;D;Eu;;;;\n"
                         "5920;2200-0200;Sa,Su;D;Radio Night;D;Eu;;;;\n"
                         "6160;1800-1830;;CAN;CKZN St John's;E;NAm;;;;\n"
                         "5955;1600-1700;;HOL;Radio Too Early;D;Eu;;;;\n";

QString slotName(const QByteArray &image, int slot) {
    return slotNameText(reinterpret_cast<const quint8 *>(image.constData()) + (slot - 1) * kSlotSize);
}

QByteArray slotBytes(const QByteArray &image, int slot) {
    return image.mid(qsizetype(slot - 1) * kSlotSize, kSlotSize);
}

} // namespace

class TstLmkctlFreqList : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QByteArray m_base;

    QString path(const QString &name) const { return m_dir.filePath(name); }
    bool write(const QString &name, const QByteArray &bytes) {
        QFile f(path(name));
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }
    CtlRun ctl(const QStringList &args, const QByteArray &input = {}) {
        return runCtl(args, input, m_dir.path());
    }

  private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        QRandomGenerator rng(42);
        m_base.resize(kSlotImageSize);
        for (char &c : m_base)
            c = char(rng.bounded(256));
        QVERIFY(write(QStringLiteral("base.Mem"), m_base));
        QVERIFY(write(QStringLiteral("sked-b26.csv"), kEibi));
    }

    // The README's example: what is on air in the 49 m band at 18:00 fills
    // slots from 1 on, in the order of frequency; the rest stays the base's.
    void eibiOnAir() {
        const CtlRun r = ctl({"memory", "import", "sked-b26.csv", "--base", "base.Mem", "-o", "out.Mem",
                              "--range", "5900-6200", "--on-air", "1800", "--day", "Mo", "--first-slot", "1",
                              "--limit", "20"});
        QVERIFY2(r.rc == 0, r.err.constData());
        const QByteArray out = fileContents(path(QStringLiteral("out.Mem")));
        QCOMPARE(out.size(), kSlotImageSize);
        QCOMPARE(slotName(out, 1), QStringLiteral("Radio Schoeneck"));
        QCOMPARE(slotName(out, 2), QStringLiteral("Channel 292"));
        QCOMPARE(slotName(out, 3), QStringLiteral("CKZN St John's"));
        for (int s = 4; s <= kSlotCount; ++s)
            QVERIFY2(slotBytes(out, s) == slotBytes(m_base, s), qPrintable(QString::number(s)));
        QVERIFY2(r.err.contains("3 entries of the EiBi schedule into slots 1 to 3"), r.err.constData());
        QCOMPARE(r.out, QByteArray());
    }

    // A span across midnight belongs to the day it starts on.
    void eibiAcrossMidnight_data() {
        QTest::addColumn<QString>("day");
        QTest::addColumn<QString>("at");
        QTest::addColumn<QString>("first");
        QTest::newRow("Sunday 01:00, from Saturday") << "Su" << "0100" << "Radio Night";
        QTest::newRow("Monday 01:00, from Sunday") << "Mo" << "0100" << "Radio Night";
        QTest::newRow("Saturday 01:00, nothing from Friday") << "Sa" << "0100" << "Channel 292";
    }
    void eibiAcrossMidnight() {
        QFETCH(QString, day);
        QFETCH(QString, at);
        const CtlRun r = ctl({"memory", "import", "sked-b26.csv", "--base", "base.Mem", "-o", "night.Mem",
                              "--on-air", at, "--day", day, "--range", "5900-6200"});
        QVERIFY2(r.rc == 0, r.err.constData());
        QTEST(slotName(fileContents(path(QStringLiteral("night.Mem"))), 1), "first");
    }

    void gqrxFirstSlotAndMatch() {
        QVERIFY(write(QStringLiteral("bookmarks.csv"),
                      "# Tag name          ;  color\nDigital             ; #c0c0c0\n\n"
                      "# Frequency ; Name                     ; Modulation          ;  Bandwidth; Tags\n"
                      "     7074000; FT8                      ; USB                 ;       2800; Digital\n"
                      "    10136000; FT8 30m                  ; USB                 ;       2800; Digital\n"
                      "   145500000; 2m calling               ; Narrow FM           ;      10000; \n"
                      "     6070000; Channel 292 Rohrbach     ; AM                  ;       9000; \n"));
        const CtlRun r = ctl({"memory", "import", "bookmarks.csv", "--base", "base.Mem", "-o", "g.Mem",
                              "--first-slot", "40", "--match", "ft8"});
        QVERIFY2(r.rc == 0, r.err.constData());
        const QByteArray out = fileContents(path(QStringLiteral("g.Mem")));
        QCOMPARE(slotName(out, 40), QStringLiteral("FT8"));
        QCOMPARE(slotName(out, 41), QStringLiteral("FT8 30m"));
        QCOMPARE(slotBytes(out, 42), slotBytes(m_base, 42));
        QCOMPARE(slotBytes(out, 39), slotBytes(m_base, 39));

        // Everything: the 2 m entry is skipped and named, the long name cut.
        const CtlRun all = ctl({"memory", "import", "bookmarks.csv", "--base", "base.Mem", "-o", "g2.Mem"});
        QVERIFY2(all.rc == 0, all.err.constData());
        QVERIFY2(all.err.contains("bookmarks.csv: 1 entry skipped: the slots hold frequencies from 0 Hz to "
                                  "below 100 MHz (line 7 \"2m calling\" 145500000.0 Hz)"),
                 all.err.constData());
        QVERIFY2(all.err.contains("bookmarks.csv: Slot 3: name \"Channel 292 Rohrbach\" cut to 17 characters"),
                 all.err.constData());
        const QByteArray out2 = fileContents(path(QStringLiteral("g2.Mem")));
        QCOMPARE(slotName(out2, 3), QStringLiteral("Channel 292 Rohrb"));
        QCOMPARE(slotBytes(out2, 4), slotBytes(m_base, 4));
    }

    // More entries than slots from the first: exit 2 naming the count,
    // nothing written; --limit cuts them.
    void overflow() {
        QByteArray text = "# Frequency ; Name ; Modulation ; Bandwidth; Tags\n";
        for (int i = 0; i < 70; ++i)
            text += QByteArray::number(3000000 + i * 10000) + "; Station " + QByteArray::number(i) + "; AM; 9000; \n";
        QVERIFY(write(QStringLiteral("many.csv"), text));
        CtlRun r = ctl({"memory", "import", "many.csv", "--base", "base.Mem", "-o", "many.Mem"});
        QCOMPARE(r.rc, 2);
        QVERIFY2(r.err.startsWith("lmkctl: many.csv: 70 entries are chosen, but from slot 1 to 63 there are "
                                  "only 63 slots. Nothing was written; --limit N"),
                 r.err.constData());
        QVERIFY(!QFile::exists(path(QStringLiteral("many.Mem"))));
        r = ctl({"memory", "import", "many.csv", "--base", "base.Mem", "-o", "many.Mem", "--first-slot", "60",
                 "--limit", "4"});
        QVERIFY2(r.rc == 0, r.err.constData());
        const QByteArray out = fileContents(path(QStringLiteral("many.Mem")));
        QCOMPARE(slotName(out, 63), QStringLiteral("Station 3"));
        QCOMPARE(slotBytes(out, 59), slotBytes(m_base, 59));
    }

    void usage_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        const QStringList eibi{"memory", "import", "sked-b26.csv", "--base", "base.Mem", "-o", "u.Mem"};
        QTest::newRow("range") << eibi + QStringList{"--range", "49m"}
                               << "lmkctl memory: --range takes LOW-HIGH in kHz, e.g. 5900-6200 (see 'lmkctl memory --help')\n";
        QTest::newRow("on-air") << eibi + QStringList{"--on-air", "2500"}
                                << "lmkctl memory: --on-air takes a time in UTC as HHMM, e.g. 1800 (see 'lmkctl memory --help')\n";
        QTest::newRow("day") << eibi + QStringList{"--on-air", "1800", "--day", "Xy"}
                             << "lmkctl memory: --day takes Mo, Tu, We, Th, Fr, Sa or Su (see 'lmkctl memory --help')\n";
        QTest::newRow("first slot") << eibi + QStringList{"--first-slot", "64"}
                                    << "lmkctl memory: --first-slot takes a slot from 1 to 63 (see 'lmkctl memory --help')\n";
        QTest::newRow("limit") << eibi + QStringList{"--limit", "0"}
                               << "lmkctl memory: --limit takes a number from 1 (see 'lmkctl memory --help')\n";
        QTest::newRow("format") << eibi + QStringList{"--format", "adif"}
                                << "lmkctl memory: --format takes own, gqrx, chirp or eibi (see 'lmkctl memory --help')\n";
        QTest::newRow("on-air without a schedule")
            << QStringList{"memory", "import", "sked-b26.csv", "--format", "gqrx", "--base", "base.Mem", "-o", "u.Mem", "--on-air", "1800"}
            << "lmkctl memory: --on-air and --day choose rows of a schedule (EiBi); sked-b26.csv is gqrx bookmarks (see 'lmkctl memory --help')\n";
        QTest::newRow("filter on the slot CSV")
            << QStringList{"memory", "import", "slots.csv", "--base", "base.Mem", "-o", "u.Mem", "--match", "x"}
            << "lmkctl memory: --match chooses entries of a frequency list; the slot CSV names its slots itself (see 'lmkctl memory --help')\n";
        QTest::newRow("nothing chosen") << eibi + QStringList{"--match", "nowhere"}
                                        << "lmkctl: sked-b26.csv: no entry of the EiBi schedule is chosen by the options; nothing was written\n";
        QTest::newRow("not a list")
            << QStringList{"memory", "import", "prose.txt", "--base", "base.Mem", "-o", "u.Mem"}
            << "lmkctl: prose.txt: not a list that can be read (gqrx bookmarks, CHIRP CSV, EiBi schedule or the slot CSV); --format names it\n";
        QTest::newRow("forced format without its columns")
            << eibi + QStringList{"--format", "chirp"}
            << "lmkctl: sked-b26.csv: The CHIRP CSV has no column \"Frequency\".\n";
        QTest::newRow("export eibi") << QStringList{"memory", "export", "base.Mem", "--format", "eibi"}
                                     << "lmkctl memory: export writes --format gqrx, chirp or own (the slot CSV); the EiBi schedule is only read (see 'lmkctl memory --help')\n";
    }
    void usage() {
        QFETCH(QStringList, args);
        QVERIFY(write(QStringLiteral("slots.csv"), "Platz,Name\n1,A\n"));
        QVERIFY(write(QStringLiteral("prose.txt"), "Dear listener,\nthank you.\n"));
        QFile::remove(path(QStringLiteral("u.Mem")));
        const CtlRun r = ctl(args);
        QCOMPARE(r.rc, 2);
        QTEST(QString::fromUtf8(r.err), "message");
        QVERIFY(!QFile::exists(path(QStringLiteral("u.Mem"))));
    }

    // export --format writes what the codecs write, to a file or to '-';
    // importing it again gives the same slot fields.
    void exportFormats_data() {
        QTest::addColumn<QString>("format");
        QTest::newRow("gqrx") << "gqrx";
        QTest::newRow("chirp") << "chirp";
    }
    void exportFormats() {
        QFETCH(QString, format);
        CtlRun r = ctl({"memory", "import", "sked-b26.csv", "--zero-base", "-o", "e.Mem"});
        QVERIFY2(r.rc == 0, r.err.constData());
        const QByteArray image = fileContents(path(QStringLiteral("e.Mem")));
        const QByteArray expected = format == QLatin1String("gqrx") ? writeGqrxBookmarks(image).text
                                                                   : writeChirpCsv(image).text;
        r = ctl({"memory", "export", "e.Mem", "--format", format, "-o", "-"});
        QVERIFY2(r.rc == 0, r.err.constData());
        QCOMPARE(r.out, expected);
        r = ctl({"memory", "export", "e.Mem", "--format", format, "-o", "list.csv"});
        QVERIFY2(r.rc == 0, r.err.constData());
        QCOMPARE(fileContents(path(QStringLiteral("list.csv"))), expected);
        QVERIFY2(r.err.contains("6 slots written as "), r.err.constData());
        r = ctl({"memory", "import", "list.csv", "--zero-base", "-o", "again.Mem"});
        QVERIFY2(r.rc == 0, r.err.constData());
        QCOMPARE(fileContents(path(QStringLiteral("again.Mem"))), image);
    }

    // The slot CSV stays as it was, from a file and from standard input.
    void ownCsvStays() {
        CtlRun r = ctl({"memory", "export", "base.Mem", "-o", "own.csv"});
        QVERIFY2(r.rc == 0, r.err.constData());
        QVERIFY(fileContents(path(QStringLiteral("own.csv"))).startsWith("Platz,"));
        r = ctl({"memory", "import", "own.csv", "--base", "base.Mem", "-o", "own.Mem"});
        QVERIFY2(r.rc == 0, r.err.constData());
        QCOMPARE(fileContents(path(QStringLiteral("own.Mem"))), m_base);
        r = ctl({"memory", "import", "-", "--base", "base.Mem", "-o", "stdin.Mem"},
                fileContents(path(QStringLiteral("own.csv"))));
        QVERIFY2(r.rc == 0, r.err.constData());
        QCOMPARE(fileContents(path(QStringLiteral("stdin.Mem"))), m_base);
        // A schedule from standard input.
        r = ctl({"memory", "import", "-", "--zero-base", "-o", "-", "--match", "greece"}, kEibi);
        QVERIFY2(r.rc == 0, r.err.constData());
        QCOMPARE(r.out.size(), kSlotImageSize);
        QCOMPARE(slotName(r.out, 1), QStringLiteral("ERT Voice of Gree"));
    }
};

QTEST_GUILESS_MAIN(TstLmkctlFreqList)
#include "tst_lmkctl_freqlist.moc"
