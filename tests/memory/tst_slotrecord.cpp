// Texts of one grid row for a SlotRecord, and the two cells stored back.
#include "memory/SlotRecord.h"

#include <QtEndian>
#include <QtTest>

using namespace lmk;

namespace {
QByteArray zeroRecord() {
    return QByteArray(kSlotSize, char(0));
}

QByteArray withFrequency(qint32 v) {
    QByteArray r = zeroRecord();
    qToLittleEndian<qint32>(v, r.data() + slot::kFrequency);
    return r;
}

QByteArray withShift(qint16 v) {
    QByteArray r = zeroRecord();
    qToLittleEndian<qint16>(v, r.data() + slot::kShift);
    return r;
}

QByteArray withByte(int offset, quint8 v) {
    QByteArray r = zeroRecord();
    r[offset] = char(v);
    return r;
}
} // namespace

class TstSlotRecord : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void rowTexts_data();
    void rowTexts();
    void allZeroRecordFillsEveryColumn();
    void valueWithoutEntryLeavesCell_data();
    void valueWithoutEntryLeavesCell();
    void frequencyFollowsLocaleSeparators();
    void numbersUseAsciiDigits_data();
    void numbersUseAsciiDigits();
    void nameEncoding_data();
    void nameEncoding();
    void versionEncoding_data();
    void versionEncoding();
    void bytesText();
};

void TstSlotRecord::rowTexts_data() {
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");

    const QByteArray z = zeroRecord();
    QTest::newRow("zero name") << z << int(ColName) << QString();
    QTest::newRow("zero Frequenz") << z << int(ColFrequenz) << "00.000.000,0";
    QTest::newRow("zero Modulation") << z << int(ColModulation) << "Auto";
    QTest::newRow("zero Bandbreite") << z << int(ColBandbreite) << "0";
    QTest::newRow("zero Verschiebung") << z << int(ColVerschiebung) << "  0";
    QTest::newRow("zero Hochpass") << z << int(ColHochpass) << "75 kHz";
    QTest::newRow("zero Eingang") << z << int(ColEingang) << "50 Ohm";
    QTest::newRow("zero Abschwaecher") << z << int(ColAbschwaecher) << " 0 dB";
    QTest::newRow("zero Filter HP") << z << int(ColFilterHp) << "Auto";
    QTest::newRow("zero Filter TP") << z << int(ColFilterTp) << "Auto";
    QTest::newRow("zero Version") << z << int(ColVersion) << "0";

    QTest::newRow("freq 1234") << withFrequency(1234) << int(ColFrequenz) << "00.000.123,4";
    QTest::newRow("freq 15") << withFrequency(15) << int(ColFrequenz) << "00.000.001,5";
    QTest::newRow("freq max, 13 chars")
        << withFrequency(2147483647) << int(ColFrequenz) << "214.748.364,7";
    QTest::newRow("freq -15") << withFrequency(-15) << int(ColFrequenz) << "00.000.0-1,5";
    QTest::newRow("freq 9 digits")
        << withFrequency(999999999) << int(ColFrequenz) << "99.999.999,9";
    QTest::newRow("freq min") << withFrequency(std::numeric_limits<qint32>::min())
                              << int(ColFrequenz) << "-214.748.364,8";

    QTest::newRow("shift 250") << withShift(250) << int(ColVerschiebung) << " +250";
    QTest::newRow("shift -250") << withShift(-250) << int(ColVerschiebung) << "  -250";
    QTest::newRow("shift 1500 grouped") << withShift(1500) << int(ColVerschiebung) << " +1.500";
    QTest::newRow("shift -32768") << withShift(-32768) << int(ColVerschiebung) << "  -32.768";

    QByteArray bw = zeroRecord();
    qToLittleEndian<quint16>(65535, bw.data() + slot::kBandwidth);
    QTest::newRow("bandwidth unsigned") << bw << int(ColBandbreite) << "65.535";

    QByteArray name = zeroRecord();
    for (int i = 0; i < slot::kNameLength; ++i)
        name[slot::kName + i] = char('A' + i);
    name[35] = 'Z';
    QTest::newRow("17-byte name, byte 35 set") << name << int(ColName) << "ABCDEFGHIJKLMNOPQ";
    QByteArray shortName = zeroRecord();
    shortName.replace(slot::kName, 7, QByteArray("DCF 77\0", 7));
    shortName[slot::kName + 8] = 'X'; // after the terminating zero
    QTest::newRow("name ends at zero") << shortName << int(ColName) << "DCF 77";
    QByteArray latin = zeroRecord();
    latin.replace(slot::kName, 8, QByteArray("M\xfchle  ", 8));
    QTest::newRow("Latin-1 name, spaces kept")
        << latin << int(ColName) << QString::fromUtf8("Mühle  ");

    for (int m = 0; m <= 5; ++m) {
        static const char *texts[] = {"Auto", "DSB", "LSB", "USB", "SSB", "CW"};
        QTest::addRow("modulation %d", m)
            << withByte(slot::kModulation, quint8(m)) << int(ColModulation) << texts[m];
    }
    static const char *hp[] = {"Auto", "1,8M", "3,5M", "7,0M", "10M", "14M", "50M", "AUS"};
    static const char *tp[] = {"Auto", "170k", "2,0M", "3,8M", "7,2M", "11M", "54M", "AUS"};
    for (int i = 0; i <= 7; ++i) {
        QTest::addRow("filter HP %d", i)
            << withByte(slot::kFilterHp, quint8(i)) << int(ColFilterHp) << hp[i];
        QTest::addRow("filter TP %d", i)
            << withByte(slot::kFilterTp, quint8(i)) << int(ColFilterTp) << tp[i];
    }
    QTest::newRow("Hochpass on") << withByte(slot::kHochpass, 0x80) << int(ColHochpass) << " 1 kHz";
    QTest::newRow("Eingang on") << withByte(slot::kEingang, 1) << int(ColEingang) << " 0 Ohm";
    QTest::newRow("Abschwaecher on")
        << withByte(slot::kAbschwaecher, 2) << int(ColAbschwaecher) << "20 dB";
    QTest::newRow("version 0xC7") << withByte(slot::kVersion, 0xC7) << int(ColVersion) << "7";
    QTest::newRow("version 0x07") << withByte(slot::kVersion, 0x07) << int(ColVersion) << "7";
    QTest::newRow("version 0xFF") << withByte(slot::kVersion, 0xFF) << int(ColVersion) << "15";
}

void TstSlotRecord::rowTexts() {
    QFETCH(QByteArray, record);
    QFETCH(int, column);
    QFETCH(QString, text);
    const SlotRowTexts t = slotRowTexts(record);
    QVERIFY(t[size_t(column)].has_value());
    QCOMPARE(*t[size_t(column)], text);
}

void TstSlotRecord::allZeroRecordFillsEveryColumn() {
    const SlotRowTexts t = slotRowTexts(zeroRecord());
    QVERIFY(!t[ColPlatz].has_value()); // the slot number is never touched
    for (int c = ColName; c < SlotColumnCount; ++c)
        QVERIFY2(t[size_t(c)].has_value(), qPrintable(QString::number(c)));
}

void TstSlotRecord::valueWithoutEntryLeavesCell_data() {
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("column");
    QTest::newRow("modulation 6") << slot::kModulation << 6 << int(ColModulation);
    QTest::newRow("modulation 255") << slot::kModulation << 255 << int(ColModulation);
    QTest::newRow("filter HP 8") << slot::kFilterHp << 8 << int(ColFilterHp);
    QTest::newRow("filter TP 8") << slot::kFilterTp << 8 << int(ColFilterTp);
}

void TstSlotRecord::valueWithoutEntryLeavesCell() {
    QFETCH(int, offset);
    QFETCH(int, value);
    QFETCH(int, column);
    const SlotRowTexts t = slotRowTexts(withByte(offset, quint8(value)));
    QVERIFY(!t[size_t(column)].has_value());
}

void TstSlotRecord::frequencyFollowsLocaleSeparators() {
    // Separators from the locale; the fill characters stay "." and "0".
    const QLocale c(QLocale::English, QLocale::UnitedStates);
    QCOMPARE(slotFrequencyText(1234567, c), QStringLiteral("00.123,456.7"));
    QCOMPARE(slotFrequencyText(15, c), QStringLiteral("00.000.001.5"));
}

void TstSlotRecord::numbersUseAsciiDigits_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany);
    QTest::newRow("Arabic, Egypt") << QLocale(QLocale::Arabic, QLocale::Egypt);
    QTest::newRow("Persian, Iran") << QLocale(QLocale::Persian, QLocale::Iran);
}

void TstSlotRecord::numbersUseAsciiDigits() {
    QFETCH(QLocale, locale);
    // Before, a locale with digits of its own mixed them with the ASCII
    // fill characters ("00.١٢٣٬٤٥٦٫٧").
    const QString group = locale.groupSeparator();
    const QString point = locale.decimalPoint();
    QCOMPARE(slotFrequencyText(1234567, locale), "00.123" + group + "456" + point + "7");
    QCOMPARE(slotFrequencyText(15, locale), "00.000.001" + point + "5");
    QCOMPARE(slotBandwidthText(65535, locale), "65" + group + "535");
    QCOMPARE(slotShiftText(1500, locale), " +1" + group + "500");
    QCOMPARE(slotShiftText(-250, locale), "  " + locale.negativeSign() + "250");
    if (locale.language() == QLocale::German) // exactly as before
        QCOMPARE(slotFrequencyText(1234567, locale), QStringLiteral("00.123.456,7"));
}

void TstSlotRecord::nameEncoding_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ABC padded") << "ABC" << QByteArray("ABC              ");
    QTest::newRow("17 exactly") << "ABCDEFGHIJKLMNOPQ" << QByteArray("ABCDEFGHIJKLMNOPQ");
    QTest::newRow("longer kept whole")
        << "ABCDEFGHIJKLMNOPQRS" << QByteArray("ABCDEFGHIJKLMNOPQRS");
    QTest::newRow("Latin-1") << QString::fromUtf8("Mühle") << QByteArray("M\xfchle            ");
    QTest::newRow("outside Latin-1") << QString::fromUtf8("€1") << QByteArray("?1               ");
    // One '?' per character, also for one outside the basic plane (before:
    // two, shifting the rest of the name).
    QTest::newRow("emoji is one character")
        << QString::fromUtf8("A\U0001F600B") << QByteArray("A?B              ");
    QTest::newRow("17 with an emoji") << QString::fromUtf8("\U0001F4FBABCDEFGHIJKLMNOP")
                                      << QByteArray("?ABCDEFGHIJKLMNOP");
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + QLatin1Char('x')
                                    << QByteArray("?x               ");
}

void TstSlotRecord::nameEncoding() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(encodeSlotName(text), bytes);
}

void TstSlotRecord::versionEncoding_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("byte");
    QTest::newRow("7") << "7" << 0xC7;
    // Before: the first character's low four bits ("12" stored 1, "x" 8).
    QTest::newRow("12") << "12" << 0xCC;
    QTest::newRow("15") << "15" << 0xCF;
    QTest::newRow("0") << "0" << 0xC0;
    QTest::newRow("07") << "07" << 0xC7;
    QTest::newRow("spaces around") << " 9 " << 0xC9;
    QTest::newRow("16 refused") << "16" << -1;
    QTest::newRow("letter A refused") << "A" << -1;
    QTest::newRow("x refused") << "x" << -1;
    QTest::newRow("-1 refused") << "-1" << -1;
    QTest::newRow("1.5 refused") << "1.5" << -1;
    QTest::newRow("Arabic-Indic 3 refused") << QString(QChar(0x0663)) << -1;
    QTest::newRow("empty") << "" << -1;
}

void TstSlotRecord::versionEncoding() {
    QFETCH(QString, text);
    QFETCH(int, byte);
    const auto b = encodeSlotVersion(text);
    QCOMPARE(b ? int(*b) : -1, byte);
}

void TstSlotRecord::bytesText() {
    QCOMPARE(slotBytesText(1), QStringLiteral("256"));
    QCOMPARE(slotBytesText(62), QStringLiteral("15872"));
    QCOMPARE(slotBytesText(63), QStringLiteral("16128  OK!"));
}

QTEST_MAIN(TstSlotRecord)
#include "tst_slotrecord.moc"
