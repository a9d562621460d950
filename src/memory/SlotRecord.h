#pragma once
// One memory slot of the receiver: the 256-byte SlotRecord, and the texts of
// its row in the grid SG_Speicher.
//
// Record layout (multi-byte fields little-endian; unnamed bytes are opaque
// and carried unchanged):
//   1        bits 0-3 version 0-15 (bits 4-7 stored as 1100 from the grid)
//   18..34   name, 17 Latin-1 bytes, ends at the first zero byte
//   45       Filter TP index 0-7        46  Filter HP index 0-7
//   47       Eingang (0 / nonzero)      48  Abschwächer (0 / nonzero)
//   49       Hochpass (0 / nonzero)     51  Modulation index 0-5
//   156..159 frequency, signed 32-bit, ten times the shown value
//   202..203 shift, signed 16-bit      204..205 bandwidth, unsigned 16-bit
//
// Sample exchange (slot 1 read):
//   request  10
//   reply    10 00 00 00 | 01 00 00 00 | 256 record bytes
// With bytes 18.. = "DCF77" 00, 156.. = 58 D3 0B 00 (775000) and 204.. =
// 2C 01 (300) under German settings the row shows "DCF77", "00.077.500,0",
// "300".

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace lmk {

constexpr int kSlotSize = 256;
constexpr int kSlotCount = 63;
constexpr int kSlotImageSize = kSlotSize * kSlotCount; // 16128

namespace slot {
constexpr int kVersion = 1;
constexpr int kName = 18;
constexpr int kNameLength = 17;
constexpr int kFilterTp = 45;
constexpr int kFilterHp = 46;
constexpr int kEingang = 47;
constexpr int kAbschwaecher = 48;
constexpr int kHochpass = 49;
constexpr int kModulation = 51;
constexpr int kFrequency = 156;
constexpr int kShift = 202;
constexpr int kBandwidth = 204;
} // namespace slot

// Columns of SG_Speicher.
enum SlotColumn {
    ColPlatz = 0,
    ColName = 1,
    ColFrequenz = 2,
    ColModulation = 3,
    ColBandbreite = 4,
    ColVerschiebung = 5,
    ColHochpass = 6,
    ColEingang = 7,
    ColAbschwaecher = 8,
    ColFilterHp = 9,
    ColFilterTp = 10,
    ColVersion = 11,
    SlotColumnCount = 12
};
constexpr int kSlotGridRows = kSlotCount + 1;

// How the grid writes its numbers. By default with the user's locale
// separators, the fill characters "." and "0" and the filter texts as the
// tables give them ("7,0M"). In English every number follows one
// convention: "," groups thousands and "." is the decimal point, the fill
// characters and the filter texts included ("00,077,500.0", "9,000",
// "7.0M", "Off" for "AUS"). The window and lmkctl use inGerman() or
// inEnglish(), never the system's locale.
struct SlotNumberFormat {
    SlotNumberFormat(const QLocale &locale = QLocale()) : locale(locale) {}
    static SlotNumberFormat inEnglish();
    // The program's own convention, whatever the system's locale: "."
    // groups thousands, "," is the decimal point ("00.077.500,0").
    static SlotNumberFormat inGerman();
    QLocale locale;
    bool english = false;
};

// Row 0 of the grid, columns 0 to 11.
QStringList slotGridHeadings();
// Column widths of the grid, left to right.
std::array<int, SlotColumnCount> slotGridColumnWidths();

// Texts of one grid row for a record; index = column. Column 0 and every
// value without a table entry are empty optionals: that cell is left as it was.
using SlotRowTexts = std::array<std::optional<QString>, SlotColumnCount>;
SlotRowTexts slotRowTexts(const quint8 *record, const SlotNumberFormat &format = {});
inline SlotRowTexts slotRowTexts(const QByteArray &record, const SlotNumberFormat &format = {}) {
    Q_ASSERT(record.size() >= kSlotSize);
    return slotRowTexts(reinterpret_cast<const quint8 *>(record.constData()), format);
}

// Single columns (used by slotRowTexts).
QString slotNameText(const quint8 *record);
// v * 0.1 with one decimal and locale grouping, padded to 12 characters
// with "." (in English ",") at lengths 5 and 9 and "0" elsewhere. Numbers
// take the locale's separators but always ASCII digits.
QString slotFrequencyText(qint32 tenths, const SlotNumberFormat &format = {});
QString slotBandwidthText(quint16 value, const SlotNumberFormat &format = {});
// " +250", "  -250", "  0".
QString slotShiftText(qint16 value, const SlotNumberFormat &format = {});
// What the grid shows for a Modulation or filter byte without a table
// entry: its raw value, marked ("? (9)"); storing that text again keeps the
// byte.
QString slotUnknownTableText(quint8 index);
std::optional<QString> slotModulationText(quint8 index);
std::optional<QString> slotFilterHpText(quint8 index);
std::optional<QString> slotFilterTpText(quint8 index);
// A table text ("7,0M") as the grid shows it in `format` ("7.0M" in English).
QString slotTableText(const QString &text, const SlotNumberFormat &format);
QString slotHochpassText(quint8 value);
QString slotEingangText(quint8 value);
QString slotAbschwaecherText(quint8 value);

// A name cell's text as stored: Latin-1, one byte per character counted in
// code points (a character outside Latin-1 becomes one '?'), padded with
// spaces to at least 17 bytes. Bytes 18..34 take the first 17.
QByteArray encodeSlotName(const QString &text);
// A version cell's text as stored in byte 1: 0xC0 | the version, for a
// whole number 0 to 15 (spaces around it allowed). Nothing for any other
// text, the empty one included.
std::optional<quint8> encodeSlotVersion(const QString &text);

// L_SBytes after slot s: s * 256, or "16128  OK!" after slot 63.
QString slotBytesText(qint64 slot);

} // namespace lmk
