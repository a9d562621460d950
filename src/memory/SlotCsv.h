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
// A name's control characters are written \xHH and a backslash doubled
// (memory/SlotNameEscape.h), so that every name the receiver can hold reads
// back byte for byte.
//
// A name that a spreadsheet would run as a formula (starting with = + - @,
// a tab or a carriage return, after any apostrophes) is written behind one more apostrophe, which
// import takes away again: "=1+2" is exported as '=1+2.
//
// Import reads the text as spreadsheets save it: UTF-8 (byte order mark or
// not), UTF-16 with a byte order mark, or Windows-1252 when the bytes are not
// UTF-8; separated by ',', ';' or tabs (the most frequent in the header row,
// or what a first line "sep=;" names); a decimal comma in the frequency
// (77500,0); blank rows and rows of separators only are skipped. Only the
// column Platz is required: a missing column leaves its fields as the base
// has them, an unknown column is ignored; both are named in the notes, as is
// an encoding other than UTF-8.
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

#include <optional>

namespace lmk {

// How an export is written. Plain: ',' between cells, '.' as the decimal
// mark, UTF-8 without a byte order mark, lines ending in "\n" (the sample
// above). ExcelGerman: what a spreadsheet set to German opens in one step:
// ';' between cells, a decimal comma (77500,0), a UTF-8 byte order mark and
// lines ending in "\r\n". Import reads both back to the same bytes.
enum class SlotCsvDialect { Plain, ExcelGerman };
// The dialect a command-line name stands for ("plain", "excel-de").
std::optional<SlotCsvDialect> slotCsvDialectNamed(const QString &name);
QStringList slotCsvDialectNames();

// One line per slot the image holds whole.
QByteArray exportSlotCsv(const QByteArray &image, SlotCsvDialect dialect = SlotCsvDialect::Plain);

// The value of one column for a record, as exportSlotCsv writes it (column
// 0, the slot number, is not part of the record: empty).
QString slotCsvValue(const QByteArray &record, int column);

// One cell's value as the import applies it onto a 256-byte record (column
// 1-11); the reason when it cannot be stored exactly, `record` unchanged.
std::optional<QString> applySlotCsvCell(QByteArray &record, int column, const QString &value);

struct SlotCsvImport {
    QByteArray image; // the base with the CSV applied; empty on error
    QString error;    // empty when the import succeeded
    QStringList notes; // what was read differently from the export, once each
    int line = 0;     // where the error is, counted from 1 (0: not a cell)
    int column = 0;
    bool ok() const { return error.isEmpty(); }
};

// Cells on the clipboard as spreadsheets put them there: tab between
// cells, a line break between rows; a cell that holds a tab, a line break
// or starts with a quote is quoted ("5"" dish" for 5" dish). Parsing takes
// such quoting away (tabs and line breaks inside quotes belong to the cell);
// a cell that does not start with a quote is taken as it is. One line
// break at the end is no row.
QString clipboardCellsText(const QList<QStringList> &rows);
QList<QStringList> parseClipboardCells(const QString &text);

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
