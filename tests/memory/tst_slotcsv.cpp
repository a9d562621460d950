// The slots as CSV: rows applied onto a base image (record bytes, errors),
// and export then import over the simulator's 63 records.
#include "memory/SlotCsv.h"
#include "memory/SlotRecord.h"

#include "SimProcess.h"
#include "TestFiles.h"

#include <QDir>
#include <QStringEncoder>
#include <QtEndian>
#include <QtTest>
#include <cstring>

using namespace lmk;
using namespace lmk::test;

namespace {

const QByteArray kHeader = "Platz,Name,Frequenz,Modulation,Bandbreite,Verschiebung,Hochpass,"
                           "Eingang,Abschw\xc3\xa4" "cher,Filter HP,Filter TP,Version\n";
constexpr int kSlot = 2; // the slot the rows below name

// A base image whose opaque bytes look random; slot 2's switch bytes are
// known: Eingang 0x37 (a nonzero value other than 1), the others zero.
QByteArray baseImage() {
    QByteArray image = pseudoRandomBytes(kSlotImageSize);
    char *r = image.data() + (kSlot - 1) * kSlotSize;
    r[slot::kEingang] = char(0x37);
    r[slot::kAbschwaecher] = 0;
    r[slot::kHochpass] = 0;
    r[slot::kVersion] = char(0x35);
    r[slot::kModulation] = 2;
    r[slot::kFilterHp] = 9; // no name in the table
    r[slot::kFilterTp] = 3;
    return image;
}

QByteArray baseRecord() {
    return baseImage().mid((kSlot - 1) * kSlotSize, kSlotSize);
}

QByteArray csvCell(const QString &s) {
    QString q = s;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return (QLatin1Char('"') + q + QLatin1Char('"')).toUtf8();
}

// A row as the export writes it for slot 2's record (every cell quoted),
// with some cells replaced by raw CSV text; index = column.
QList<QByteArray> cells(const QMap<int, QByteArray> &replaced = {}, int slotNumber = kSlot) {
    const QByteArray record = baseRecord();
    QList<QByteArray> out{QByteArray::number(slotNumber)};
    for (int c = ColName; c < SlotColumnCount; ++c)
        out << replaced.value(c, csvCell(slotCsvValue(record, c)));
    return out;
}

QByteArray line(const QList<QByteArray> &cells, char sep = ',') {
    return cells.join(sep) + '\n';
}

QByteArray row(const QMap<int, QByteArray> &replaced = {}) {
    return line(cells(replaced));
}

QByteArray patched(int offset, const QByteArray &bytes) {
    QByteArray r = baseRecord();
    r.replace(offset, bytes.size(), bytes);
    return r;
}

} // namespace

class TstSlotCsv : public QObject {
    Q_OBJECT
  private slots:
    void importRows_data();
    void importRows();
    void exportRow();
    void roundTripOverSimulatorSlots();
    void largeTextRefused();
    void dialects_data();
    void dialects();
    void formulaSafeExport();
    void trimmedNamesUnchanged();
    void exportExcelGerman();
    void clipboardCells_data();
    void clipboardCells();
};

void TstSlotCsv::importRows_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QByteArray>("record"); // slot 2 afterwards
    QTest::addColumn<QString>("error");     // a part of the message; empty: none
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");

    const QByteArray base = baseRecord();
    const auto ok = [&](const char *name, const QByteArray &csv, const QByteArray &record) {
        QTest::newRow(name) << csv << record << QString() << 0 << 0;
    };
    const auto bad = [&](const char *name, const QByteArray &csv, const char *error, int line,
                         int column) {
        QTest::newRow(name) << csv << base << QString::fromUtf8(error) << line << column;
    };
    const QByteArray h = kHeader;
    const auto le32 = [](qint32 v) {
        QByteArray b(4, 0);
        qToLittleEndian(v, b.data());
        return b;
    };
    const auto le16 = [](qint16 v) {
        QByteArray b(2, 0);
        qToLittleEndian(v, b.data());
        return b;
    };

    ok("own values keep every byte", h + row(), base);
    ok("header only", h, base);
    ok("frequency", h + row({{ColFrequenz, "77500.0"}}), patched(slot::kFrequency, le32(775000)));
    ok("frequency whole", h + row({{ColFrequenz, "12"}}), patched(slot::kFrequency, le32(120)));
    ok("frequency negative", h + row({{ColFrequenz, "-1.5"}}), patched(slot::kFrequency, le32(-15)));
    ok("frequency trailing zeros", h + row({{ColFrequenz, "12.50"}}),
       patched(slot::kFrequency, le32(125)));
    ok("frequency 32-bit largest", h + row({{ColFrequenz, "214748364.7"}}),
       patched(slot::kFrequency, le32(2147483647)));
    bad("frequency beyond 32 bits", h + row({{ColFrequenz, "214748364.8"}}), "32 bits", 2, 3);
    bad("frequency below 32 bits", h + row({{ColFrequenz, "-214748364.9"}}), "32 bits", 2, 3);
    bad("frequency two decimals", h + row({{ColFrequenz, "1.25"}}), "Frequenz", 2, 3);
    // Grouping as a ',' file's spreadsheet writes it (before: refused).
    ok("frequency grouped", h + row({{ColFrequenz, "\"77,500.0\""}}),
       patched(slot::kFrequency, le32(775000)));
    bad("frequency empty", h + row({{ColFrequenz, ""}}), "Frequenz", 2, 3);

    ok("name", h + row({{ColName, "ABC"}}), patched(slot::kName, "ABC" + QByteArray(14, 0)));
    ok("name 17 Latin-1", h + row({{ColName, "Z\xc3\xbcrich Ost 123456"}}),
       patched(slot::kName, "Z\xfcrich Ost 123456"));
    ok("name empty", h + row({{ColName, ""}}), patched(slot::kName, QByteArray(17, 0)));
    bad("name of 18", h + row({{ColName, "ABCDEFGHIJKLMNOPQR"}}), "longer than 17", 2, 2);
    bad("name outside Latin-1", h + row({{ColName, "A\xf0\x9f\x98\x80"}}), "Latin-1", 2, 2);
    bad("name not UTF-8", h + row({{ColName, "A\xfc"}}), "UTF-8", 2, 2);

    ok("modulation", h + row({{ColModulation, "USB"}}), patched(slot::kModulation, "\x03"));
    ok("modulation any case", h + row({{ColModulation, "cw"}}), patched(slot::kModulation, "\x05"));
    bad("modulation not in table", h + row({{ColModulation, "AM"}}), "Auto, DSB", 2, 4);
    bad("modulation empty", h + row({{ColModulation, ""}}), "empty", 2, 4);
    ok("bandwidth", h + row({{ColBandbreite, "65535"}}), patched(slot::kBandwidth, "\xff\xff"));
    bad("bandwidth beyond 16 bits", h + row({{ColBandbreite, "65536"}}), "0 to 65535", 2, 5);
    bad("bandwidth grouped", h + row({{ColBandbreite, "9.000"}}), "0 to 65535", 2, 5);
    ok("shift plus", h + row({{ColVerschiebung, "+250"}}), patched(slot::kShift, le16(250)));
    ok("shift smallest", h + row({{ColVerschiebung, "-32768"}}), patched(slot::kShift, le16(-32768)));
    bad("shift beyond", h + row({{ColVerschiebung, "32768"}}), "-32768 to 32767", 2, 6);

    ok("Hochpass on", h + row({{ColHochpass, "1 kHz"}}), patched(slot::kHochpass, "\x01"));
    ok("Hochpass as the grid shows it", h + row({{ColHochpass, "\" 1 kHz\""}}),
       patched(slot::kHochpass, "\x01"));
    ok("Eingang on keeps its byte", h + row({{ColEingang, "0 Ohm"}}), base);
    ok("Eingang off", h + row({{ColEingang, "50 Ohm"}}), patched(slot::kEingang, QByteArray(1, 0)));
    ok("Abschwaecher on", h + row({{ColAbschwaecher, "20 dB"}}), patched(slot::kAbschwaecher, "\x01"));
    bad("Abschwaecher unknown", h + row({{ColAbschwaecher, "10 dB"}}), "\"20 dB\" or \"0 dB\"", 2, 9);

    ok("Filter HP", h + row({{ColFilterHp, "\"1,8M\""}}), patched(slot::kFilterHp, "\x01"));
    ok("Filter HP without a name stays", h + row({{ColFilterHp, ""}}), base);
    ok("Filter TP", h + row({{ColFilterTp, "AUS"}}), patched(slot::kFilterTp, "\x07"));
    bad("Filter TP of Filter HP", h + row({{ColFilterTp, "\"1,8M\""}}), "170k", 2, 11);

    ok("version", h + row({{ColVersion, "12"}}), patched(slot::kVersion, "\xcc"));
    ok("version unchanged keeps bits 4-7", h + row({{ColVersion, "5"}}), base);
    bad("version 16", h + row({{ColVersion, "16"}}), "0 to 15", 2, 12);
    bad("version text", h + row({{ColVersion, "x"}}), "0 to 15", 2, 12);

    // Text shape.
    const QList<QByteArray> freq = cells({{ColFrequenz, "1.5"}});
    const QByteArray freq15 = patched(slot::kFrequency, le32(15));
    ok("semicolons", QByteArray(kHeader).replace(',', ';') + line(freq, ';'), freq15);
    ok("byte order mark and CRLF", "\xef\xbb\xbf" + QByteArray(kHeader).replace("\n", "\r\n") +
                                       line(freq).replace("\n", "\r\n"),
       freq15);
    QList<QByteArray> heads = QByteArray(kHeader).trimmed().split(',');
    QList<QByteArray> swapped = freq;
    heads.swapItemsAt(0, ColVersion);
    swapped.swapItemsAt(0, ColVersion);
    ok("columns in another order", line(heads) + line(swapped), freq15);
    // A name holds no control characters, a line break no more than others.
    bad("line break in a name", h + row({{ColName, "\"A\nB\""}}), "control character (U+000a", 2, 2);
    bad("tab in a name", h + row({{ColName, "\"A\tB\""}}), "control character (U+0009", 2, 2);
    bad("C1 control in a name", h + row({{ColName, "\"A\xc2\x85\""}}), "control character (U+0085", 2, 2);
    // A line break in a cell of a column that is ignored still counts.
    QList<QByteArray> noted = cells();
    noted << "\"A\nB\"";
    bad("line counted after a line break",
        QByteArray(kHeader).replace("\n", ",Notiz\n") + line(noted) +
            line(cells({{ColName, "C"}, {ColVersion, "x"}}, 3) << ""),
        "0 to 15", 4, 12);
    bad("slot 0", h + line(cells({}, 0)), "1 to 63", 2, 1);
    bad("slot 64", h + line(cells({}, 64)), "1 to 63", 2, 1);
    bad("slot twice", h + row() + row(), "already on line 2", 3, 1);
    bad("a cell short", h + line(cells().mid(0, SlotColumnCount - 1)), "11 cells", 2, 0);
    bad("quote not closed", h + row({{ColVersion, "\"5"}}), "not closed", 2, 12);
    bad("text after a quote", h + row({{ColName, "\"AB\"C"}}), "after a closing quote", 2, 2);
    bad("quote inside a cell", h + row({{ColName, "AB\"C"}}), "quote", 2, 2);
    // Columns the import does not know are ignored; those it misses keep
    // the base's bytes; only the slot number is required.
    ok("unknown column ignored", QByteArray(kHeader).replace("Version", "Versions") +
                                     row({{ColVersion, "12"}}), base);
    ok("missing column keeps the base", QByteArray(kHeader).replace(",Version", "") +
                                            line(cells({{ColName, "ABC"}}).mid(0, SlotColumnCount - 1)),
       patched(slot::kName, "ABC" + QByteArray(14, 0)));
    bad("slot number missing", QByteArray(kHeader).replace("Platz,", "") + line(cells().mid(1)),
        "\"Platz\" is missing", 1, 0);

    bad("empty text", QByteArray(), "no header", 0, 0);

    // Numbers as a spreadsheet saves them when the column shows digit
    // grouping: the file's separator tells the decimal mark. Before, 77.500
    // in a ';' file and "77,500" in a ',' file were read as 77.5.
    const QByteArray semiHeader = QByteArray(kHeader).replace(',', ';');
    const auto semiRow = [](const QMap<int, QByteArray> &replaced) {
        return line(cells(replaced), ';');
    };
    const QByteArray tabHeader = QByteArray(kHeader).replace(',', '\t');
    const auto tabRow = [](const QMap<int, QByteArray> &replaced) {
        return line(cells(replaced), '\t');
    };
    ok("thousands '.' in a ';' file", semiHeader + semiRow({{ColFrequenz, "77.500"}}),
       patched(slot::kFrequency, le32(775000)));
    ok("thousands ',' in a ',' file", h + row({{ColFrequenz, "\"77,500\""}}),
       patched(slot::kFrequency, le32(775000)));
    ok("grouping and decimal comma", semiHeader + semiRow({{ColFrequenz, "1.077.500,5"}}),
       patched(slot::kFrequency, le32(10775005)));
    ok("grouping and decimal point", h + row({{ColFrequenz, "\"1,077,500.5\""}}),
       patched(slot::kFrequency, le32(10775005)));
    ok("decimal comma in a ';' file", semiHeader + semiRow({{ColFrequenz, "77,5"}}),
       patched(slot::kFrequency, le32(775)));
    ok("decimal comma in a ',' file", h + row({{ColFrequenz, "\"77,5\""}}),
       patched(slot::kFrequency, le32(775)));
    ok("decimal point in a ';' file", semiHeader + semiRow({{ColFrequenz, "77.5"}}),
       patched(slot::kFrequency, le32(775)));
    ok("bandwidth grouped in a ';' file", semiHeader + semiRow({{ColBandbreite, "9.000"}}),
       patched(slot::kBandwidth, le16(9000)));
    ok("shift grouped in a ',' file", h + row({{ColVerschiebung, "\"-1,500\""}}),
       patched(slot::kShift, le16(-1500)));
    ok("two groups in a tab file", tabHeader + tabRow({{ColFrequenz, "1.077.500"}}),
       patched(slot::kFrequency, le32(10775000)));
    ok("decimal comma in a tab file", tabHeader + tabRow({{ColFrequenz, "77500,5"}}),
       patched(slot::kFrequency, le32(775005)));
    bad("one group of three in a tab file", tabHeader + tabRow({{ColFrequenz, "77.500"}}),
        "\"77.500\" could be read with \".\" or \",\" as the decimal mark", 2, 3);
    bad("comma group in a tab file", tabHeader + tabRow({{ColBandbreite, "9,000"}}),
        "could be read with", 2, 5);
    bad("grouping that is not of three", semiHeader + semiRow({{ColFrequenz, "77.50.0"}}),
        "is not a frequency", 2, 3);
    bad("grouped decimals in a ',' file", h + row({{ColBandbreite, "9.000"}}),
        "is not a whole number", 2, 5);
}

// A spreadsheet that trims the spaces the grid pads names with leaves the
// names as they are (before: every padded name was rewritten, ended by zero
// bytes); a name that really changes is still stored.
void TstSlotCsv::trimmedNamesUnchanged() {
    QByteArray image = baseImage();
    std::memcpy(image.data() + (kSlot - 1) * kSlotSize + slot::kName, "DCF77            ", 17);
    std::memcpy(image.data() + slot::kName, "Kiel Radio       ", 17);
    const SlotCsvImport r = importSlotCsv("Platz;Name\r\n2;DCF77\r\n1;\"Kiel Radio  \"\r\n", image);
    QVERIFY2(r.ok(), qPrintable(r.error));
    QCOMPARE(r.image, image);
    const SlotCsvImport changed = importSlotCsv("Platz;Name\r\n2;DCF7\r\n", image);
    QVERIFY2(changed.ok(), qPrintable(changed.error));
    QCOMPARE(changed.image.mid((kSlot - 1) * kSlotSize + slot::kName, 17),
             QByteArray("DCF7\0\0\0\0\0\0\0\0\0\0\0\0\0", 17));
}

void TstSlotCsv::importRows() {
    QFETCH(QByteArray, csv);
    QFETCH(QByteArray, record);
    QFETCH(QString, error);
    QFETCH(int, line);
    QFETCH(int, column);
    const QByteArray base = baseImage();
    const SlotCsvImport r = importSlotCsv(csv, base);
    if (!error.isEmpty()) {
        QVERIFY2(!r.ok(), "imported");
        QVERIFY2(r.error.contains(error), qPrintable(r.error));
        QCOMPARE(r.line, line);
        QCOMPARE(r.column, column);
        QVERIFY(r.image.isEmpty());
        if (line > 0)
            QVERIFY2(r.error.startsWith(column ? QStringLiteral("Line %1, column %2:").arg(line).arg(column)
                                               : QStringLiteral("Line %1:").arg(line)),
                     qPrintable(r.error));
        return;
    }
    QVERIFY2(r.ok(), qPrintable(r.error));
    QByteArray expected = base;
    expected.replace((kSlot - 1) * kSlotSize, kSlotSize, record);
    QCOMPARE(r.image.size(), expected.size());
    QCOMPARE(r.image.mid((kSlot - 1) * kSlotSize, kSlotSize).toHex(' '), record.toHex(' '));
    QCOMPARE(r.image, expected); // every other slot untouched
}

void TstSlotCsv::exportRow() {
    QByteArray image(kSlotImageSize, 0);
    char *r = image.data();
    std::memcpy(r + slot::kName, "DCF77 ", 6); // a trailing space: quoted
    qToLittleEndian<qint32>(-15, r + slot::kFrequency);
    qToLittleEndian<qint16>(-250, r + slot::kShift);
    qToLittleEndian<quint16>(9000, r + slot::kBandwidth);
    r[slot::kFilterHp] = 1;
    r[slot::kModulation] = 6; // no name
    r[slot::kVersion] = char(0xC7);
    r[slot::kEingang] = 1;
    const QList<QByteArray> lines = exportSlotCsv(image).split('\n');
    QCOMPARE(lines.size(), 1 + 63 + 1);
    QCOMPARE(lines[0] + '\n', kHeader);
    QCOMPARE(lines[1], QByteArray("1,\"DCF77 \",-1.5,,9000,-250,75 kHz,0 Ohm,0 dB,\"1,8M\",Auto,7"));
    QCOMPARE(lines[63], QByteArray("63,,0.0,Auto,0,0,75 kHz,50 Ohm,0 dB,Auto,Auto,0"));
    // A short image: the whole records it holds.
    QCOMPARE(exportSlotCsv(image.left(2 * kSlotSize + 7)).count('\n'), 1 + 2);
}

void TstSlotCsv::roundTripOverSimulatorSlots() {
    SimProcess sim;
    QVERIFY(sim.start());
    const QString file = QDir(sim.stateDir()).filePath(QStringLiteral("slots.bin"));
    QVERIFY(QTest::qWaitFor([&] { return fileContents(file).size() == kSlotImageSize; }, 5000));
    QByteArray records = fileContents(file);
    records += "behind slot 63"; // a longer .Mem keeps its tail
    const QByteArray csv = exportSlotCsv(records);

    const SlotCsvImport same = importSlotCsv(csv, records);
    QVERIFY2(same.ok(), qPrintable(same.error));
    QCOMPARE(same.image, records);

    // Onto an empty image every field arrives: the export shows the same.
    const SlotCsvImport fresh = importSlotCsv(csv, QByteArray());
    QVERIFY2(fresh.ok(), qPrintable(fresh.error));
    QCOMPARE(fresh.image.size(), kSlotImageSize);
    QCOMPARE(QString::fromUtf8(exportSlotCsv(fresh.image)), QString::fromUtf8(csv));
}

void TstSlotCsv::largeTextRefused() {
    QByteArray csv = kHeader;
    csv += QByteArray(kMaxSlotCsvSize, '\n');
    const SlotCsvImport r = importSlotCsv(csv, baseImage());
    QVERIFY(!r.ok());
    QVERIFY(r.error.contains(QStringLiteral("1 MiB")));
}

namespace {

// 63 slots as a user keeps them: names with umlauts and names a
// spreadsheet would take for formulas, frequencies with decimals.
QByteArray sampleImage() {
    QByteArray image(kSlotImageSize, 0);
    const QList<QByteArray> names{"=1+2", "+49 Funk", "-10 dB", "@home", "Z\xfcrich Ost",
                                  "'=quoted", "'plain", "DCF77", "Stra\xdf" "e 5"};
    for (int s = 1; s <= kSlotCount; ++s) {
        char *r = image.data() + (s - 1) * kSlotSize;
        for (int i = 0x40; i < kSlotSize; ++i) // opaque bytes, fields set below
            r[i] = char(s + i);
        const QByteArray name = s <= names.size() ? names[s - 1] : "Slot " + QByteArray::number(s);
        std::memcpy(r + slot::kName, name.constData(), size_t(name.size()));
        qToLittleEndian<qint32>(s * 123457 - 700000, r + slot::kFrequency);
        qToLittleEndian<quint16>(quint16(s * 100), r + slot::kBandwidth);
        qToLittleEndian<qint16>(qint16(250 - s * 10), r + slot::kShift);
        r[slot::kModulation] = char(s % 5);
        r[slot::kFilterHp] = char(s % 5);
        r[slot::kFilterTp] = char(s % 5);
        r[slot::kHochpass] = char(s % 2);
        r[slot::kEingang] = char((s / 2) % 2);
        r[slot::kAbschwaecher] = char((s / 4) % 2);
        r[slot::kVersion] = char(0xC0 | (s % 16));
    }
    return image;
}

// The export's text rewritten as another program saves it: separator,
// decimal point and quoting as its settings say.
QString rewritten(const QString &csv, QChar sep, bool decimalComma) {
    QStringList out;
    for (const QString &l : csv.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        // Split the export's own line (quoted cells hold ',' at most).
        QStringList cells;
        QString cell;
        bool quoted = false;
        for (QChar c : l) {
            if (c == QLatin1Char('"'))
                quoted = !quoted;
            else if (c == QLatin1Char(',') && !quoted) {
                cells << cell;
                cell.clear();
            } else
                cell += c;
        }
        cells << cell;
        for (int i = 0; i < cells.size(); ++i) {
            if (decimalComma && i == ColFrequenz)
                cells[i].replace(QLatin1Char('.'), QLatin1Char(','));
            if (cells[i].contains(sep) || cells[i].startsWith(QLatin1Char(' ')) ||
                cells[i].endsWith(QLatin1Char(' ')))
                cells[i] = QLatin1Char('"') + cells[i] + QLatin1Char('"');
        }
        out << cells.join(sep);
    }
    return out.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

QByteArray utf16(const QString &text, bool littleEndian) {
    QStringEncoder enc(littleEndian ? QStringEncoder::Utf16LE : QStringEncoder::Utf16BE);
    return QByteArray(littleEndian ? "\xFF\xFE" : "\xFE\xFF") + QByteArray(enc(text));
}

} // namespace

// What spreadsheets write is read, and gives back the exported bytes.
void TstSlotCsv::dialects_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QString>("note"); // a part of the notes; empty: none

    const QString csv = QString::fromUtf8(exportSlotCsv(sampleImage()));
    const QString semi = rewritten(csv, QLatin1Char(';'), true);
    const QString tabs = rewritten(csv, QLatin1Char('\t'), false);
    QTest::newRow("export as written") << csv.toUtf8() << "";
    QTest::newRow("semicolons, decimal commas") << semi.toUtf8() << "";
    QTest::newRow("Windows-1252, semicolons") << semi.toLatin1() << "read as Windows-1252";
    QTest::newRow("UTF-16 LE with BOM, tabs") << utf16(tabs, true) << "read as UTF-16";
    QTest::newRow("UTF-16 BE with BOM, semicolons") << utf16(semi, false) << "read as UTF-16";
    QTest::newRow("UTF-8 with BOM, tabs") << "\xEF\xBB\xBF" + tabs.toUtf8() << "";
    QTest::newRow("sep= line") << "sep=;\r\n" + semi.toUtf8() << "";
    QTest::newRow("sep= line, tab") << "sep=\t\n" + tabs.toUtf8() << "";
    QString gaps = semi;
    gaps.insert(gaps.indexOf(QStringLiteral("\r\n2;")) + 2, QStringLiteral(";;;;;;;;;;;\r\n\r\n  ;\r\n"));
    QTest::newRow("blank line before the header, empty rows")
        << ("\r\n;;\r\n" + gaps).toUtf8() << "";
    QString wide;
    for (const QString &l : csv.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        wide += l + (wide.isEmpty() ? QStringLiteral(",Notiz,\n") : QStringLiteral(",x,\n"));
    QTest::newRow("excel-de export") << exportSlotCsv(sampleImage(), SlotCsvDialect::ExcelGerman)
                                     << "";
    QTest::newRow("extra columns") << wide.toUtf8()
                                   << "ignored the columns \"Notiz\", (no heading) in column 14";
}

void TstSlotCsv::dialects() {
    QFETCH(QByteArray, csv);
    QFETCH(QString, note);
    const QByteArray image = sampleImage();
    const QByteArray exported = exportSlotCsv(image);

    // Onto the image itself: nothing changes.
    const SlotCsvImport same = importSlotCsv(csv, image);
    QVERIFY2(same.ok(), qPrintable(same.error));
    QCOMPARE(same.image, image);
    // Onto an empty image: every field arrives.
    const SlotCsvImport fresh = importSlotCsv(csv, QByteArray());
    QVERIFY2(fresh.ok(), qPrintable(fresh.error));
    QCOMPARE(QString::fromUtf8(exportSlotCsv(fresh.image)), QString::fromUtf8(exported));
    if (note.isEmpty())
        QVERIFY2(same.notes.isEmpty(), qPrintable(same.notes.join(QLatin1Char('\n'))));
    else
        QVERIFY2(same.notes.join(QLatin1Char('\n')).contains(note),
                 qPrintable(same.notes.join(QLatin1Char('\n'))));
}

// A name a spreadsheet would run as a formula is exported behind an
// apostrophe, and read back without it.
void TstSlotCsv::formulaSafeExport() {
    const QList<QByteArray> lines = exportSlotCsv(sampleImage()).split('\n');
    const auto nameCell = [&](int s) { return lines[s].split(',')[1]; };
    QCOMPARE(nameCell(1), QByteArray("'=1+2"));
    QCOMPARE(nameCell(2), QByteArray("'+49 Funk"));
    QCOMPARE(nameCell(3), QByteArray("'-10 dB"));
    QCOMPARE(nameCell(4), QByteArray("'@home"));
    QCOMPARE(nameCell(6), QByteArray("''=quoted"));
    QCOMPARE(nameCell(7), QByteArray("'plain"));
    QCOMPARE(nameCell(8), QByteArray("DCF77"));
    // Typed into a spreadsheet as text, the name comes back as it was.
    QByteArray typed = kHeader;
    typed += "1,'=1+2\n";
    typed.replace(kHeader, "Platz,Name\n");
    const SlotCsvImport r = importSlotCsv(typed, QByteArray());
    QVERIFY2(r.ok(), qPrintable(r.error));
    QCOMPARE(r.image.mid(slot::kName, 5), QByteArray("=1+2\0", 5));

    // A tab or carriage return first also makes a formula in some
    // spreadsheets (before: written as it was). Control characters are
    // written \xHH, so the cell starts with a backslash, which no
    // spreadsheet runs, and reads back to the same bytes.
    QByteArray controls(2 * kSlotSize, 0);
    std::memcpy(controls.data() + slot::kName, "\tcmd", 4);
    std::memcpy(controls.data() + kSlotSize + slot::kName, "\r=1", 3);
    const QByteArray csv = exportSlotCsv(controls);
    const QString text = QString::fromUtf8(csv);
    QVERIFY2(text.contains(QStringLiteral("\n1,\\x09cmd,")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("\n2,\\x0D=1,")), qPrintable(text));
    const SlotCsvImport back = importSlotCsv(csv, controls);
    QVERIFY2(back.ok(), qPrintable(back.error));
    QCOMPARE(back.image.mid(slot::kName, 4), QByteArray("\tcmd"));
    QCOMPARE(back.image.mid(kSlotSize + slot::kName, 3), QByteArray("\r=1"));
}

// For a German spreadsheet in one step: ';', decimal comma, a byte order
// mark, CRLF; a frequency the plain export writes as -57654.3.
void TstSlotCsv::exportExcelGerman() {
    const QByteArray csv = exportSlotCsv(sampleImage(), SlotCsvDialect::ExcelGerman);
    QVERIFY(csv.startsWith("\xEF\xBB\xBF" "Platz;Name;Frequenz;Modulation;"));
    const QList<QByteArray> lines = csv.mid(3).split('\n');
    QCOMPARE(lines.size(), 1 + 63 + 1);
    QVERIFY2(lines[1].startsWith("1;'=1+2;-57654,3;"), lines[1].constData());
    for (int i = 0; i < 64; ++i)
        QVERIFY(lines[i].endsWith('\r'));
    QCOMPARE(slotCsvDialectNamed(QStringLiteral("excel-de")), SlotCsvDialect::ExcelGerman);
    QCOMPARE(slotCsvDialectNamed(QStringLiteral("plain")), SlotCsvDialect::Plain);
    QVERIFY(!slotCsvDialectNamed(QStringLiteral("excel")));
}

// Clipboard text as spreadsheets write it. Before, paste split at every tab
// and line break and kept the quotes: "5"" dish" was stored as it stands.
void TstSlotCsv::clipboardCells_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<bool>("canonical"); // what copy writes for `rows`
    QTest::newRow("plain") << "a\tb\nc\td\n" << QList<QStringList>{{"a", "b"}, {"c", "d"}} << true;
    QTest::newRow("no final line break") << "a\tb" << QList<QStringList>{{"a", "b"}} << false;
    QTest::newRow("CRLF, empty cells") << "a\t\r\n\tb\r\n"
                                       << QList<QStringList>{{"a", ""}, {"", "b"}} << false;
    QTest::newRow("doubled quotes") << "\"5\"\" dish\"\tx\n" << QList<QStringList>{{"5\" dish", "x"}}
                                    << false;
    QTest::newRow("quote inside, not first") << "5\" dish\n" << QList<QStringList>{{"5\" dish"}}
                                             << true;
    QTest::newRow("tab and line break inside quotes")
        << "\"A\tB\"\t\"two\nlines\"\n" << QList<QStringList>{{"A\tB", "two\nlines"}} << true;
    QTest::newRow("starts with a quote") << "\"\"\"Q\"\"\"\n" << QList<QStringList>{{"\"Q\""}} << true;
    QTest::newRow("one empty cell") << "\n" << QList<QStringList>{{""}} << true;
}

void TstSlotCsv::clipboardCells() {
    QFETCH(QString, text);
    QFETCH(QList<QStringList>, rows);
    QFETCH(bool, canonical);
    QCOMPARE(parseClipboardCells(text), rows);
    QCOMPARE(parseClipboardCells(clipboardCellsText(rows)), rows);
    if (canonical)
        QCOMPARE(clipboardCellsText(rows), text);
}

QTEST_GUILESS_MAIN(TstSlotCsv)
#include "tst_slotcsv.moc"
