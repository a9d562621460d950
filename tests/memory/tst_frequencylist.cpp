// Frequency lists onto the memory slots: gqrx bookmarks, CHIRP CSV and the
// EiBi schedule read row by row, recognised from their content, mapped onto
// slot fields (name in Latin-1 cut to 17, mode, bandwidth), filtered by
// text, range, time on air and day, refused when they do not fit from the
// first slot, written back as gqrx and CHIRP; slots outside the chosen ones
// and every byte the list does not name stay as the base has them.
#include "memory/FrequencyList.h"
#include "memory/FrequencyListChirp.h"
#include "memory/FrequencyListEibi.h"
#include "memory/FrequencyListGqrx.h"
#include "memory/SlotRecord.h"

#include <QRandomGenerator>
#include <cstring>
#include <QtEndian>
#include <QtTest>

using namespace lmk;

namespace {

const QByteArray kGqrxHead = "# Tag name          ;  color\n"
                             "LMK                 ; #c0c0c0\n"
                             "\n"
                             "# Frequency ; Name                     ; Modulation          ;  Bandwidth; Tags\n";
const QByteArray kChirpHead = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
                              "DtcsPolarity,Mode,TStep,Skip,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\n";
const QByteArray kEibiHead = "kHz:75;Time(UTC):93;Days:59;ITU:49;Station:201;Lng:49;Target:62;"
                             "Remarks:135;P:35;Start:60;Stop:60;\n";

QByteArray record(const QByteArray &image, int slot) {
    return image.mid(qsizetype(slot - 1) * kSlotSize, kSlotSize);
}

QByteArray randomImage(qsizetype size, quint32 seed) {
    QRandomGenerator rng(seed);
    QByteArray b(size, Qt::Uninitialized);
    for (char &c : b)
        c = char(rng.bounded(256));
    return b;
}

// A schedule row on air from `time` on `days`.
FrequencyEntry scheduled(const QString &time, const QString &days) {
    const FrequencyList l = readEibiSchedule(QStringLiteral("6000;%1;%2;D;Test;E;Eu;;;;").arg(time, days));
    return l.entries.value(0);
}

} // namespace

class TstFrequencyList : public QObject {
    Q_OBJECT
  private slots:
    // One row of each format, as the entry it gives.
    void rows_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("format"); // FrequencyListFormat
        QTest::addColumn<qint64>("tenths");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<qint64>("bandwidth"); // -1: none
        QTest::addColumn<QString>("time");     // "start-end" in minutes, "" unscheduled
        QTest::addColumn<int>("days");

        const int gqrx = int(FrequencyListFormat::Gqrx);
        const int chirp = int(FrequencyListFormat::Chirp);
        const int eibi = int(FrequencyListFormat::Eibi);
        QTest::newRow("gqrx padded fields")
            << kGqrxHead + "     7074000; FT8                      ; USB                 ;       2800; Digital\n"
            << gqrx << qint64(70740000) << "FT8" << "USB" << qint64(2800) << "" << int(kEveryDay);
        QTest::newRow("gqrx without tags, CRLF")
            << QByteArray("# Frequency ; Name ; Modulation ; Bandwidth; Tags\r\n"
                          "77500;DCF77;CW-L;300;\r\n")
            << gqrx << qint64(775000) << "DCF77" << "CW-L" << qint64(300) << "" << int(kEveryDay);
        QTest::newRow("gqrx UTF-8 name")
            << kGqrxHead + "   198000; Radio Łódź; AM; 10000; \n"
            << gqrx << qint64(1980000) << QStringLiteral("Radio Łódź") << "AM" << qint64(10000) << ""
            << int(kEveryDay);
        QTest::newRow("chirp")
            << kChirpHead + "1,FT8,7.074000,,0.000000,,88.5,88.5,023,NN,USB,5.00,,,,,,\n"
            << chirp << qint64(70740000) << "FT8" << "USB" << qint64(-1) << "" << int(kEveryDay);
        QTest::newRow("chirp quoted name, columns reordered")
            << QByteArray("Mode,Frequency,Name,Location\nAM,6.175000,\"Radio, \"\"Paris\"\"\",4\n")
            << chirp << qint64(61750000) << "Radio, \"Paris\"" << "AM" << qint64(-1) << ""
            << int(kEveryDay);
        QTest::newRow("eibi daily")
            << kEibiHead + "6070;0000-2400;;D;Channel 292;E;Eu;Rohrbach;;;\n"
            << eibi << qint64(60700000) << "Channel 292" << "AM" << qint64(-1) << "0-1440"
            << int(kEveryDay);
        QTest::newRow("eibi Mo-Fr")
            << kEibiHead + "9420;1200-1300;Mo-Fr;GRC;ERT Voice of Greece;Gr;Eu;;;;\n"
            << eibi << qint64(94200000) << "ERT Voice of Greece" << "AM" << qint64(-1) << "720-780"
            << 0x1F;
        QTest::newRow("eibi decimal kHz across midnight, Sa,Su")
            << kEibiHead + "5005.5;2200-0200;Sa,Su;NPL;Radio Nepal;Ne;SAs;;;;\n"
            << eibi << qint64(50055000) << "Radio Nepal" << "AM" << qint64(-1) << "1320-120" << 0x60;
        QTest::newRow("eibi day numbers")
            << kEibiHead + "7310;1800-1900;1245;RUS;Radio Test;R;Eu;;;;\n"
            << eibi << qint64(73100000) << "Radio Test" << "AM" << qint64(-1) << "1080-1140" << 0x1B;
        QTest::newRow("eibi day list and range, until 2400")
            << kEibiHead + "3985;2000-2400;Mo-We,Fr;D;Shortwaveservice;D;Eu;;;;\n"
            << eibi << qint64(39850000) << "Shortwaveservice" << "AM" << qint64(-1) << "1200-0" << 0x17;
        QTest::newRow("eibi DRM")
            << kEibiHead + "15785;1000-1100;;IND;All India Radio DRM;E;SAs;;;;\n"
            << eibi << qint64(157850000) << "All India Radio DRM" << "DRM" << qint64(-1) << "600-660"
            << int(kEveryDay);
        QTest::newRow("eibi without header, Windows-1252")
            << QByteArray("6005;0700-0800;;D;Radio Sch\xf6neck;D;Eu;;;;\n")
            << eibi << qint64(60050000) << QStringLiteral("Radio Schöneck") << "AM" << qint64(-1)
            << "420-480" << int(kEveryDay);
    }
    void rows() {
        QFETCH(QByteArray, text);
        QFETCH(int, format);
        QCOMPARE(int(recognizeFrequencyList(text).value_or(FrequencyListFormat::Own)), format);
        const FrequencyList list = readFrequencyList(text);
        QVERIFY2(list.ok(), qPrintable(list.error));
        QCOMPARE(int(list.format), format);
        QCOMPARE(list.entries.size(), 1);
        const FrequencyEntry &e = list.entries.first();
        QTEST(e.tenths, "tenths");
        QTEST(e.name, "name");
        QTEST(e.mode, "mode");
        QTEST(e.bandwidth.value_or(-1), "bandwidth");
        QTEST(e.scheduled ? QStringLiteral("%1-%2").arg(e.startMinute).arg(e.endMinute) : QString(), "time");
        QTEST(int(e.days), "days");
    }

    void recognition_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("format"); // -1: none
        QTest::newRow("own CSV") << QByteArray("Platz,Name,Frequenz\n1,DCF77,77500.0\n") << int(FrequencyListFormat::Own);
        QTest::newRow("own CSV, sep line") << QByteArray("sep=;\nPlatz;Name\n1;A\n") << int(FrequencyListFormat::Own);
        QTest::newRow("chirp with BOM") << QByteArray("\xEF\xBB\xBF") + kChirpHead << int(FrequencyListFormat::Chirp);
        QTest::newRow("eibi header") << kEibiHead << int(FrequencyListFormat::Eibi);
        QTest::newRow("gqrx heading") << kGqrxHead << int(FrequencyListFormat::Gqrx);
        QTest::newRow("gqrx rows only") << QByteArray("7074000; FT8; USB; 2800; \n") << int(FrequencyListFormat::Gqrx);
        QTest::newRow("empty") << QByteArray() << -1;
        QTest::newRow("prose") << QByteArray("Dear listener,\nthank you.\n") << -1;
    }
    void recognition() {
        QFETCH(QByteArray, text);
        QFETCH(int, format);
        const std::optional<FrequencyListFormat> f = recognizeFrequencyList(text);
        QCOMPARE(f ? int(*f) : -1, format);
        if (format < 0)
            QVERIFY(!readFrequencyList(text).ok());
    }

    // Rows that are not entries are left out and named; the rest is read.
    void unreadRowsNoted() {
        const FrequencyList list = readFrequencyList(kGqrxHead + "7074000; FT8; USB; 2800; \n"
                                                                 "abc; nothing; AM; 1; \n"
                                                                 "14074000; FT8 20m; USB; x; \n");
        QVERIFY(list.ok());
        QCOMPARE(list.entries.size(), 2);
        QVERIFY(!list.entries[1].bandwidth);
        QCOMPARE(list.notes.size(), 1);
        QVERIFY2(list.notes[0].startsWith(QLatin1String("line 6 not read")), qPrintable(list.notes[0]));
        const FrequencyList none = readFrequencyList(kEibiHead + "abc;;\n");
        QVERIFY(!none.ok());
    }

    void eibiSortedByFrequency() {
        const FrequencyList list = readFrequencyList(kEibiHead + "9420;1200-1300;;GRC;B;Gr;Eu;;;;\n"
                                                                 "6070;0000-2400;;D;A;E;Eu;;;;\n"
                                                                 "9420;0000-0100;;GRC;C;Gr;Eu;;;;\n");
        QCOMPARE(list.entries.size(), 3);
        QCOMPARE(list.entries[0].name, QStringLiteral("A"));
        QCOMPARE(list.entries[1].name, QStringLiteral("B")); // file order within one frequency
        QCOMPARE(list.entries[2].name, QStringLiteral("C"));
    }

    void days_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("bits"); // -1: not days
        QTest::newRow("empty") << "" << 0x7F;
        QTest::newRow("Mo-Fr") << "Mo-Fr" << 0x1F;
        QTest::newRow("Sa,Su") << "Sa,Su" << 0x60;
        QTest::newRow("Fr-Mo wraps") << "Fr-Mo" << 0x71;
        QTest::newRow("1245") << "1245" << 0x1B;
        QTest::newRow("7") << "7" << 0x40;
        QTest::newRow("irr") << "irr" << -1;
        QTest::newRow("15Mar") << "15Mar" << -1;
        QTest::newRow("8") << "8" << -1;
    }
    void days() {
        QFETCH(QString, text);
        const std::optional<quint8> bits = eibiDays(text);
        QTEST(bits ? int(*bits) : -1, "bits");
    }

    void onAir_data() {
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("days");
        QTest::addColumn<QString>("at"); // HHMM
        QTest::addColumn<int>("day");    // 0: any
        QTest::addColumn<bool>("onAir");
        QTest::newRow("inside") << "1200-1300" << "" << "1230" << 0 << true;
        QTest::newRow("start included") << "1200-1300" << "" << "1200" << 3 << true;
        QTest::newRow("end excluded") << "1200-1300" << "" << "1300" << 3 << false;
        QTest::newRow("not that day") << "1200-1300" << "Mo-Fr" << "1230" << 6 << false;
        QTest::newRow("that day") << "1200-1300" << "Mo-Fr" << "1230" << 5 << true;
        QTest::newRow("all day") << "0000-2400" << "Sa" << "2359" << 6 << true;
        QTest::newRow("all day, other day") << "0000-2400" << "Sa" << "0000" << 7 << false;
        QTest::newRow("midnight: evening of its day") << "2200-0200" << "Mo" << "2300" << 1 << true;
        QTest::newRow("midnight: after it, next day") << "2200-0200" << "Mo" << "0100" << 2 << true;
        QTest::newRow("midnight: morning of its day") << "2200-0200" << "Mo" << "0100" << 1 << false;
        QTest::newRow("midnight: evening of next day") << "2200-0200" << "Mo" << "2300" << 2 << false;
        QTest::newRow("midnight: end excluded") << "2200-0200" << "Mo" << "0200" << 2 << false;
        QTest::newRow("midnight: Sunday into Monday") << "2300-0100" << "Su" << "0030" << 1 << true;
        QTest::newRow("midnight: any day") << "2200-0200" << "" << "0130" << 0 << true;
        QTest::newRow("until 2400") << "2000-2400" << "" << "2359" << 4 << true;
        QTest::newRow("until 2400, after") << "2000-2400" << "" << "0000" << 4 << false;
        QTest::newRow("odd days taken as daily") << "1200-1300" << "irr" << "1215" << 2 << true;
    }
    void onAir() {
        QFETCH(QString, time);
        QFETCH(QString, days);
        QFETCH(QString, at);
        QFETCH(int, day);
        const FrequencyEntry e = scheduled(time, days);
        QVERIFY(e.scheduled);
        QTEST(entryOnAir(e, minuteFromText(at), day ? std::optional<int>(day) : std::nullopt), "onAir");
    }

    // What an entry becomes in a slot, and what is noted about it.
    void mapping_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<qint64>("bandwidth"); // -1: none
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("modulation");
        QTest::addColumn<int>("storedBandwidth"); // -1: the base's stays
        QTest::addColumn<QString>("note");        // part of the one note, "" for none
        QTest::newRow("plain") << "DCF77" << "CW" << qint64(300) << "DCF77" << 5 << 300 << "";
        QTest::newRow("AM is DSB") << "BBC" << "am" << qint64(-1) << "BBC" << 1 << -1 << "";
        QTest::newRow("LSB") << "A" << "LSB" << qint64(-1) << "A" << 2 << -1 << "";
        QTest::newRow("USB") << "A" << "USB" << qint64(-1) << "A" << 3 << -1 << "";
        QTest::newRow("CW-U") << "A" << "CW-U" << qint64(-1) << "A" << 5 << -1 << "";
        QTest::newRow("FM is Auto") << "A" << "Narrow FM" << qint64(-1) << "A" << 0 << -1
                                    << "mode \"Narrow FM\" is not one of the receiver's";
        QTest::newRow("no mode") << "A" << "" << qint64(-1) << "A" << 0 << -1 << "no mode";
        QTest::newRow("name cut to 17")
            << "ERT Voice of Greece" << "AM" << qint64(-1) << "ERT Voice of Gree" << 1 << -1
            << "cut to 17 characters: \"ERT Voice of Gree\"";
        QTest::newRow("17 characters stay") << "12345678901234567" << "AM" << qint64(-1)
                                            << "12345678901234567" << 1 << -1 << "";
        QTest::newRow("Latin-1 stays") << QStringLiteral("Zürich Ä") << "AM" << qint64(-1)
                                       << QStringLiteral("Zürich Ä") << 1 << -1 << "";
        QTest::newRow("accents outside Latin-1") << QStringLiteral("Łódź Čeština") << "AM" << qint64(-1)
                                                 << QStringLiteral("Lódz Cestina") << 1 << -1
                                                 << "changed to the slots' characters";
        QTest::newRow("Cyrillic") << QStringLiteral("Радио Свобода") << "AM" << qint64(-1)
                                  << "Radio Svoboda" << 1 << -1 << "stored as \"Radio Svoboda\"";
        QTest::newRow("Greek") << QStringLiteral("Φωνή της Ελλάδας") << "AM" << qint64(-1)
                               << "Foni tis Elladas" << 1 << -1 << "stored as \"Foni tis Elladas\"";
        QTest::newRow("CJK") << QStringLiteral("中国之声") << "AM" << qint64(-1) << "????" << 1 << -1
                             << "changed";
        QTest::newRow("quotes and dash") << QStringLiteral("“Radio” – 1") << "AM" << qint64(-1)
                                         << "\"Radio\" - 1" << 1 << -1 << "changed";
        QTest::newRow("bandwidth too wide") << "WFM" << "AM" << qint64(160000) << "WFM" << 1
                                            << -1 << "bandwidth 160000 Hz does not fit";
    }
    void mapping() {
        QFETCH(QString, name);
        QFETCH(QString, mode);
        QFETCH(qint64, bandwidth);
        QFETCH(QString, note);
        FrequencyList list;
        FrequencyEntry e;
        e.tenths = 60700000;
        e.name = name;
        e.mode = mode;
        if (bandwidth >= 0)
            e.bandwidth = bandwidth;
        list.entries << e;
        const QByteArray base = randomImage(kSlotImageSize, 7);
        const FrequencyImport r = applyFrequencyEntries(list, {0}, base, 3);
        QVERIFY2(r.ok(), qPrintable(r.error));
        const QByteArray rec = record(r.image, 3);
        const auto *u = reinterpret_cast<const quint8 *>(rec.constData());
        QTEST(slotNameText(u), "stored");
        QTEST(int(u[slot::kModulation]), "modulation");
        QCOMPARE(qFromLittleEndian<qint32>(u + slot::kFrequency), 60700000);
        QFETCH(int, storedBandwidth);
        const int expectedBandwidth = storedBandwidth >= 0
                                          ? storedBandwidth
                                          : qFromLittleEndian<quint16>(record(base, 3).constData() + slot::kBandwidth);
        QCOMPARE(int(qFromLittleEndian<quint16>(u + slot::kBandwidth)), expectedBandwidth);
        if (note.isEmpty()) {
            QVERIFY2(r.notes.isEmpty(), qPrintable(r.notes.join(QLatin1Char('|'))));
        } else {
            QCOMPARE(r.notes.size(), 1);
            QVERIFY2(r.notes[0].startsWith(QLatin1String("Slot 3: ")), qPrintable(r.notes[0]));
            QVERIFY2(r.notes[0].contains(note), qPrintable(r.notes[0]));
        }
    }

    // An entry the slots cannot hold is skipped and counted; it takes no slot.
    void entryAbove100MHzSkipped() {
        const FrequencyList list = readFrequencyList(kGqrxHead + "7074000; FT8; USB; 2800; \n"
                                                                 "145500000; 2m calling; Narrow FM; 10000; \n"
                                                                 "99999999; Just below; AM; 10000; \n"
                                                                 "100000000; At 100 MHz; AM; 10000; \n"
                                                                 "-5; Below zero; AM; 10000; \n");
        QVERIFY(list.ok());
        QCOMPARE(list.entries.size(), 5);
        const FrequencyChoice c = chooseFrequencyEntries(list, {});
        QCOMPARE(c.indices, (QList<int>{0, 2}));
        QCOMPARE(c.notes.size(), 1);
        QVERIFY2(c.notes[0].startsWith(QLatin1String("3 entries skipped")), qPrintable(c.notes[0]));
        QVERIFY2(c.notes[0].contains(QLatin1String("\"2m calling\" 145500000.0 Hz")), qPrintable(c.notes[0]));
        const FrequencyImport r = applyFrequencyEntries(list, c.indices, QByteArray(), 1);
        QVERIFY(r.ok());
        QCOMPARE(r.filled, (QList<int>{1, 2}));
        QCOMPARE(slotNameText(reinterpret_cast<const quint8 *>(record(r.image, 2).constData())),
                 QStringLiteral("Just below"));
    }

    void filters_data() {
        QTest::addColumn<QString>("match");
        QTest::addColumn<QString>("range");
        QTest::addColumn<QString>("onAir");
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("all") << "" << "" << "" << 0 << 0
                             << QStringList{"Overnight", "Evening", "Daily 49m", "Weekend", "Morning 31m", "Noon"};
        QTest::newRow("49 m band") << "" << "5900-6200" << "" << 0 << 0
                                   << QStringList{"Overnight", "Evening", "Daily 49m", "Weekend"};
        QTest::newRow("49 m band at 18:00 on Monday") << "" << "5900-6200" << "1800" << 1 << 0
                                                      << QStringList{"Evening", "Daily 49m"};
        QTest::newRow("49 m band at 18:00 on Saturday") << "" << "5900-6200" << "1800" << 6 << 0
                                                        << QStringList{"Daily 49m", "Weekend"};
        QTest::newRow("after midnight Tuesday") << "" << "" << "0030" << 2 << 0
                                                << QStringList{"Overnight", "Daily 49m"};
        QTest::newRow("match any case") << "M" << "" << "" << 0 << 0
                                        << QStringList{"Daily 49m", "Morning 31m"};
        QTest::newRow("match, limit") << "m" << "" << "" << 0 << 1 << QStringList{"Daily 49m"};
        QTest::newRow("range, decimal ends") << "" << "6000.5-9400" << "" << 0 << 0
                                             << QStringList{"Daily 49m", "Weekend", "Morning 31m"};
        QTest::newRow("day only") << "" << "" << "" << 7 << 0
                                  << QStringList{"Daily 49m", "Weekend", "Morning 31m", "Noon"};
        QTest::newRow("day only, span from the day before") << "" << "" << "" << 2 << 0
                                                            << QStringList{"Overnight", "Evening", "Daily 49m", "Morning 31m", "Noon"};
    }
    void filters() {
        const QByteArray text = kEibiHead + "9400;0700-0800;;D;Morning 31m;E;Eu;;;;\n"
                                            "5910;2300-0100;Mo;D;Overnight;E;Eu;;;;\n"
                                            "6000;1700-1900;Mo-Fr;D;Evening;E;Eu;;;;\n"
                                            "6070;0000-2400;;D;Daily 49m;E;Eu;;;;\n"
                                            "6100;1800-1830;Sa,Su;D;Weekend;E;Eu;;;;\n"
                                            "11000;1200-1300;;D;Noon;E;Eu;;;;\n";
        const FrequencyList list = readFrequencyList(text);
        QVERIFY(list.ok());
        QFETCH(QString, match);
        QFETCH(QString, range);
        QFETCH(QString, onAir);
        QFETCH(int, day);
        QFETCH(int, limit);
        FrequencyFilter f;
        f.match = match;
        if (!range.isEmpty())
            QVERIFY(parseKhzRange(range, f));
        if (!onAir.isEmpty())
            f.onAirMinute = minuteFromText(onAir);
        if (day)
            f.day = day;
        if (limit)
            f.limit = limit;
        QStringList names;
        for (int i : chooseFrequencyEntries(list, f).indices)
            names << list.entries[i].name;
        QTEST(names, "names");
    }

    void filterTexts_data() {
        QTest::addColumn<QString>("range");
        QTest::addColumn<bool>("ok");
        QTest::newRow("kHz") << "5900-6200" << true;
        QTest::newRow("spaces") << " 5900 - 6200 " << true;
        QTest::newRow("reversed") << "6200-5900" << false;
        QTest::newRow("one end") << "5900" << false;
        QTest::newRow("words") << "49m" << false;
        QTest::newRow("negative") << "-5-10" << false;
    }
    void filterTexts() {
        QFETCH(QString, range);
        FrequencyFilter f;
        QTEST(parseKhzRange(range, f), "ok");
        QCOMPARE(minuteFromText(QStringLiteral("1800")).value_or(-1), 1080);
        QCOMPARE(minuteFromText(QStringLiteral("18:00")).value_or(-1), 1080);
        QVERIFY(!minuteFromText(QStringLiteral("2400")));
        QVERIFY(!minuteFromText(QStringLiteral("1860")));
        QCOMPARE(dayFromText(QStringLiteral("su")).value_or(0), 7);
        QVERIFY(!dayFromText(QStringLiteral("Xy")));
    }

    // More entries than slots from the first slot: refused, nothing applied.
    void overflowRefused_data() {
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("firstSlot");
        QTest::addColumn<QString>("error"); // "" fits
        QTest::newRow("63 from 1") << 63 << 1 << "";
        QTest::newRow("64 from 1") << 64 << 1 << "64 entries are chosen, but from slot 1 to 63 there are only 63 slots.";
        QTest::newRow("2 from 62") << 2 << 62 << "";
        QTest::newRow("3 from 62") << 3 << 62 << "3 entries are chosen, but from slot 62 to 63 there are only 2 slots.";
        QTest::newRow("2 from 63") << 2 << 63 << "2 entries are chosen, but from slot 63 to 63 there is only 1 slot.";
        QTest::newRow("first slot 0") << 1 << 0 << "The first slot must be from 1 to 63, not 0.";
        QTest::newRow("first slot 64") << 1 << 64 << "The first slot must be from 1 to 63, not 64.";
    }
    void overflowRefused() {
        QFETCH(int, entries);
        QFETCH(int, firstSlot);
        QFETCH(QString, error);
        QByteArray text = kGqrxHead;
        for (int i = 0; i < entries; ++i)
            text += QByteArray::number(1000000 + i * 5000) + "; Entry " + QByteArray::number(i) + "; AM; 9000; \n";
        const FrequencyList list = readFrequencyList(text);
        QCOMPARE(list.entries.size(), entries);
        const FrequencyChoice c = chooseFrequencyEntries(list, {});
        const QByteArray base = randomImage(kSlotImageSize, 3);
        const FrequencyImport r = applyFrequencyEntries(list, c.indices, base, firstSlot);
        QCOMPARE(r.error, error);
        if (!error.isEmpty()) {
            QVERIFY(r.image.isEmpty());
            QVERIFY(r.filled.isEmpty());
            // --limit cuts them to what fits.
            FrequencyFilter f;
            f.limit = qMax(1, kSlotCount - firstSlot + 1);
            if (firstSlot >= 1 && firstSlot <= kSlotCount)
                QVERIFY(applyFrequencyEntries(list, chooseFrequencyEntries(list, f).indices, base, firstSlot).ok());
        } else {
            QCOMPARE(r.filled.size(), entries);
            QCOMPARE(r.filled.last(), firstSlot + entries - 1);
        }
    }

    // Slots outside the chosen ones stay byte-identical to the base, and in
    // the chosen ones every byte but name, modulation, frequency and
    // bandwidth; bytes after slot 63 stay; a short base grows with zeros.
    void otherBytesFromBase_data() {
        QTest::addColumn<int>("baseSize");
        QTest::newRow("63 slots") << kSlotImageSize;
        QTest::newRow("longer") << kSlotImageSize + 300;
        QTest::newRow("shorter") << 5 * kSlotSize + 17;
    }
    void otherBytesFromBase() {
        QFETCH(int, baseSize);
        const QByteArray base = randomImage(baseSize, quint32(baseSize));
        const FrequencyList list = readFrequencyList(kGqrxHead + "7074000; FT8; USB; 2800; \n"
                                                                 "10100000; WSPR; USB; 100000; \n"
                                                                 "14074000; FT8 20m; USB; 2800; \n");
        const FrequencyImport r = applyFrequencyEntries(list, {0, 1, 2}, base, 10);
        QVERIFY(r.ok());
        QCOMPARE(r.image.size(), qMax<qsizetype>(baseSize, kSlotImageSize));
        QByteArray grown = base;
        if (grown.size() < kSlotImageSize)
            grown.append(kSlotImageSize - grown.size(), char(0));
        for (int s = 1; s <= kSlotCount; ++s) {
            if (s >= 10 && s <= 12)
                continue;
            QVERIFY2(record(r.image, s) == record(grown, s), qPrintable(QStringLiteral("slot %1").arg(s)));
        }
        QCOMPARE(r.image.mid(kSlotImageSize), grown.mid(kSlotImageSize));
        for (int s = 10; s <= 12; ++s) {
            const QByteArray now = record(r.image, s);
            const QByteArray was = record(grown, s);
            for (int i = 0; i < kSlotSize; ++i) {
                const bool named = (i >= slot::kName && i < slot::kName + slot::kNameLength) ||
                                   i == slot::kModulation ||
                                   (i >= slot::kFrequency && i < slot::kFrequency + 4) ||
                                   (i >= slot::kBandwidth && i < slot::kBandwidth + 2);
                if (!named)
                    QVERIFY2(now[i] == was[i], qPrintable(QStringLiteral("slot %1 byte %2").arg(s).arg(i)));
            }
        }
        // WSPR's 100000 Hz does not fit: the base's bandwidth stays, noted.
        QCOMPARE(record(r.image, 11).mid(slot::kBandwidth, 2), record(grown, 11).mid(slot::kBandwidth, 2));
        QCOMPARE(r.notes, QStringList{QStringLiteral("Slot 11: bandwidth 100000 Hz does not fit (0 to 65535): Bandbreite unchanged")});
    }

    // gqrx -> slots -> gqrx and CHIRP -> slots -> CHIRP give the text back.
    void roundTrip_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("gqrx")
            << kGqrxHead + "       77500; DCF77                    ; CW-U                ;        300; LMK\n"
                           "     6070000; Channel 292              ; AM                  ;       9000; LMK\n"
                           "     7074000; FT8                      ; USB                 ;       2800; LMK\n"
                           "     3630000; Rundspruch Zürich        ; LSB                 ;       2400; LMK\n"
                           "    99999999; 12345678901234567        ; AM                  ;      65535; LMK\n";
        QTest::newRow("chirp")
            << kChirpHead + "1,DCF77,0.077500,,0.000000,,88.5,88.5,023,NN,CW,5.00,,,,,,\n"
                            "2,\"Radio, Paris\",6.175000,,0.000000,,88.5,88.5,023,NN,AM,5.00,,,,,,\n"
                            "3,FT8,7.074000,,0.000000,,88.5,88.5,023,NN,USB,5.00,,,,,,\n"
                            "4,Zürich LSB,3.630000,,0.000000,,88.5,88.5,023,NN,LSB,5.00,,,,,,\n"
                            "5,Beacon,28.200000,,0.000000,,88.5,88.5,023,NN,Auto,5.00,,,,,,\n";
    }
    void roundTrip() {
        QFETCH(QByteArray, text);
        const FrequencyList list = readFrequencyList(text);
        QVERIFY(list.ok());
        QCOMPARE(list.entries.size(), 5);
        const FrequencyChoice c = chooseFrequencyEntries(list, {});
        const FrequencyImport r = applyFrequencyEntries(list, c.indices, QByteArray(), 1);
        QVERIFY(r.ok());
        const FrequencyExport back = list.format == FrequencyListFormat::Gqrx ? writeGqrxBookmarks(r.image)
                                                                              : writeChirpCsv(r.image);
        QCOMPARE(back.count, 5);
        QCOMPARE(QString::fromUtf8(back.text), QString::fromUtf8(text));
    }

    // What the export writes differently is noted; empty slots are left out.
    void exportNotes() {
        QByteArray image(kSlotImageSize, char(0));
        char *r1 = image.data();
        std::memcpy(r1 + slot::kName, "A;B", 3);
        qToLittleEndian<qint32>(775005, r1 + slot::kFrequency);
        r1[slot::kModulation] = 4; // SSB
        char *r2 = image.data() + kSlotSize;
        std::memcpy(r2 + slot::kName, "Minus", 5);
        qToLittleEndian<qint32>(-10, r2 + slot::kFrequency);
        const FrequencyExport g = writeGqrxBookmarks(image);
        QCOMPARE(g.count, 1);
        QVERIFY(g.text.contains("       77501; A,B "));
        QCOMPARE(g.notes, (QStringList{"Slot 1: 77500.5 Hz written as 77501 Hz",
                                       "Slot 2: left out, its frequency -1.0 Hz is below 0",
                                       "Slot 1: name \"A;B\" written as \"A,B\" (';' separates the fields)",
                                       "Slot 1: Modulation SSB written as USB"}));
        const FrequencyExport c = writeChirpCsv(image);
        QVERIFY(c.text.endsWith("1,A;B,0.077501,,0.000000,,88.5,88.5,023,NN,USB,5.00,,,,,,\n"));

        // A name holding a line break (a .Mem file may hold any bytes) never
        // breaks a row: it is written as a space, and noted.
        char *r3 = image.data() + 2 * kSlotSize;
        std::memcpy(r3 + slot::kName, "Two\nLines\x85", 11);
        qToLittleEndian<qint32>(60700000, r3 + slot::kFrequency);
        const FrequencyExport g3 = writeGqrxBookmarks(image);
        QVERIFY(g3.text.contains("     6070000; Two Lines   "));
        QVERIFY(g3.notes.contains(QStringLiteral("Slot 3: control characters of the name written as spaces")));
        const FrequencyList again = readFrequencyList(g3.text);
        QCOMPARE(again.entries.size(), 2);
        QCOMPARE(again.entries[1].name, QStringLiteral("Two Lines"));
    }

    void decimals_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("scale");
        QTest::addColumn<qint64>("value"); // -1: not a number
        QTest::addColumn<bool>("rounded");
        QTest::newRow("whole") << "6070" << 4 << qint64(60700000) << false;
        QTest::newRow("decimal") << "6070.5" << 4 << qint64(60705000) << false;
        QTest::newRow("comma") << "7,074" << 7 << qint64(70740000) << false;
        QTest::newRow("MHz, all decimals") << "7.0740001" << 7 << qint64(70740001) << false;
        QTest::newRow("rounded up") << "7.07400005" << 7 << qint64(70740001) << true;
        QTest::newRow("rounded down") << "7.07400004" << 7 << qint64(70740000) << true;
        QTest::newRow("leading point") << ".5" << 1 << qint64(5) << false;
        QTest::newRow("negative") << "-5" << 1 << qint64(-50) << false;
        QTest::newRow("empty") << "" << 1 << qint64(-1) << false;
        QTest::newRow("point only") << "." << 1 << qint64(-1) << false;
        QTest::newRow("letters") << "12k" << 1 << qint64(-1) << false;
        QTest::newRow("too long") << "1234567890123" << 1 << qint64(-1) << false;
    }
    void decimals() {
        QFETCH(QString, text);
        QFETCH(int, scale);
        bool rounded = false;
        QTEST(scaledDecimal(text, scale, &rounded).value_or(-1), "value");
        QTEST(rounded, "rounded");
    }
};

QTEST_GUILESS_MAIN(TstFrequencyList)
#include "tst_frequencylist.moc"
