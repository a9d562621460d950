#pragma once
// The memory slots as CSV text for spreadsheets: a header row, then one row
// per slot with the slot number and the grid's columns in plain
// machine-readable values (no digit grouping, '.' as the decimal point,
// modulation, switches and filters by the grid's names, names as UTF-8).
//
// Sample (slot 1: name "DCF77" padded with spaces, frequency word 775000,
// bandwidth 300, shift -250, filter HP index 1, version byte 0xC7):
//   Platz,Name,Frequenz,Modulation,Bandbreite,Verschiebung,Hochpass,Eingang,Abschwächer,Filter HP,Filter TP,Version
//   1,"DCF77            ",77500.0,Auto,300,-250,75 kHz,50 Ohm,0 dB,"1,8M",Auto,7
//
// Import applies every row's fields onto a base image and leaves all other
// bytes of the record alone, so the opaque bytes survive and exporting then
// importing onto the same image gives the same bytes. A field whose value
// is what the base record already shows keeps its bytes as they are. A new
// name is stored as Latin-1 bytes ended by zero bytes, so that it reads back
// as written (the grid pads a typed name with spaces instead).

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace lmk {

// One line per slot the image holds whole, UTF-8, lines ending in "\n".
QByteArray exportSlotCsv(const QByteArray &image);

// The value of one column for a record, as exportSlotCsv writes it (column
// 0, the slot number, is not part of the record: empty).
QString slotCsvValue(const QByteArray &record, int column);

struct SlotCsvImport {
    QByteArray image; // the base with the CSV applied; empty on error
    QString error;    // empty when the import succeeded
    QStringList notes; // what was read differently from the export, once each
    int line = 0;     // where the error is, counted from 1 (0: not a cell)
    int column = 0;
    bool ok() const { return error.isEmpty(); }
};

// Larger CSV texts are refused (63 rows need a few kilobytes).
constexpr qsizetype kMaxSlotCsvSize = 1024 * 1024;

// Applies `csv` onto `base` (grown with zero bytes to 63 whole records when
// shorter). Rows may come in any order and leave slots out; the columns are
// found by their heading. A cell that cannot be stored exactly (a frequency
// beyond 32 bits, a name longer than 17 characters or outside Latin-1, a
// name not in a table, ...) is an error naming its line and column, and
// nothing is applied. A pure function: it reads nothing but its arguments.
SlotCsvImport importSlotCsv(QByteArrayView csv, const QByteArray &base);

} // namespace lmk
