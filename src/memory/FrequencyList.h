#pragma once
// Frequency lists from the programs listeners keep their frequencies in,
// put onto the memory slots: gqrx bookmarks (FrequencyListGqrx.h), CHIRP
// memory lists (FrequencyListChirp.h) and the EiBi shortwave broadcast
// schedule (FrequencyListEibi.h); our own slot CSV is SlotCsv.h.
//
// A list is read into entries (frequency, name, mode, bandwidth and for a
// schedule its hours and days), the user's filters choose some of them, and
// the chosen ones fill slots upward from a first slot in the list's order.
// Each filled slot takes from its entry:
//   Frequenz    the frequency in Hz with one decimal (ten times it in bytes
//               156..159); an entry below 0 Hz or from 100 MHz up is skipped
//   Name        transliterated to Latin-1, the grid's 8-bit set, and cut to
//               17 characters, ended by zero bytes
//   Modulation  AM -> DSB, LSB -> LSB, USB -> USB, CW/CW-L/CW-U -> CW, any
//               other mode -> Auto (noted)
//   Bandbreite  the gqrx bandwidth in Hz when it is 0..65535; else the
//               base's value stays (noted)
// and every other byte from the base image, so that what the list does not
// name never changes; slots that no entry fills stay byte-identical too.
//
// Example: the gqrx row "     7074000; FT8 ; USB ;  2800; Digital" put on
// slot 1 gives bytes 18.. "FT8" 00.., 51 = 03 (USB), 156.. = 20 68 37 04
// (70740000), 204.. = F0 0A (2800); the grid shows "FT8", "07.074.000,0",
// "USB", "2.800".
//
// Every function here is pure: it reads its arguments and nothing else.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace lmk {

enum class FrequencyListFormat { Own, Gqrx, Chirp, Eibi };

// "own", "gqrx", "chirp", "eibi" and back (case does not matter).
QString frequencyListFormatKey(FrequencyListFormat format);
std::optional<FrequencyListFormat> frequencyListFormatFromKey(const QString &key);
// "our slot CSV", "gqrx bookmarks", "CHIRP CSV", "EiBi schedule".
QString frequencyListFormatName(FrequencyListFormat format);

// Lists larger than this are refused (a whole EiBi season is about 1 MiB).
constexpr qsizetype kMaxFrequencyListSize = 16 * 1024 * 1024;

// Frequencies the grid holds: 0 Hz up to, not including, 100 MHz.
constexpr qint64 kMaxEntryTenths = 1000000000; // 100 MHz in tenths of a Hz

// Days of a schedule row: bit 0 Monday .. bit 6 Sunday.
constexpr quint8 kEveryDay = 0x7F;

struct FrequencyEntry {
    int line = 0;      // where it is in the list, counted from 1
    qint64 tenths = 0; // the frequency in tenths of a Hz (may be out of range)
    QString name;      // the name (EiBi: the station), trimmed
    QString mode;      // as the list writes it; empty when it has none
    std::optional<qint64> bandwidth; // Hz (gqrx)
    // A schedule row: minutes after 00:00 UTC of its start and end (end may
    // be before start: the span crosses midnight; equal: all day), its days
    // as they are written and as bits, and the rest of the row.
    bool scheduled = false;
    int startMinute = 0;
    int endMinute = 0;
    QString daysText;
    quint8 days = kEveryDay;
    bool daysUnderstood = true;
    QString details; // EiBi: language, target and remarks, for showing
};

struct FrequencyList {
    FrequencyListFormat format = FrequencyListFormat::Gqrx;
    QList<FrequencyEntry> entries; // EiBi rows sorted by frequency
    QStringList notes;             // rows not read, the text's encoding
    QString error;                 // empty when the list was read
    bool ok() const { return error.isEmpty(); }
};

// The text of a list: UTF-8 (with or without a byte order mark), UTF-16
// with one, else Windows-1252 (what older schedules are written in);
// `note` says so when it is not UTF-8.
QString decodeFrequencyListText(QByteArrayView bytes, QString *note = nullptr);

// The format the content shows: our CSV (a "Platz" heading), CHIRP (a
// "Location,...,Frequency" header), EiBi (a "kHz:75;Time(UTC)" header or
// rows "6070;0000-2400;...") or gqrx ("# Frequency ;" heading or rows
// "7074000; FT8; USB; 2800; ..."). Nothing when it shows none.
std::optional<FrequencyListFormat> recognizeFrequencyList(QByteArrayView bytes);

// Reads a gqrx, CHIRP or EiBi list (`format`, or what the content shows).
// Rows that cannot be read are left out and named in the notes; a list
// without a single entry is an error. Own CSV is not read here (SlotCsv.h).
FrequencyList readFrequencyList(QByteArrayView bytes,
                                std::optional<FrequencyListFormat> format = std::nullopt);

// A number with an optional decimal part ("6070", "6070.5", "7,074" with a
// decimal comma) times 10^scale, rounded half up to a whole number; nothing
// for anything else. `rounded` says whether digits were lost.
std::optional<qint64> scaledDecimal(QStringView text, int scale, bool *rounded = nullptr);

// "Mo", "tu", "1" (Monday) .. "Su", "7" as 1..7; nothing for anything else.
std::optional<int> dayFromText(const QString &text);
// "1800" as minutes after midnight (0..1439); nothing for anything else.
std::optional<int> minuteFromText(const QString &text);

// The filters a user chooses entries by.
struct FrequencyFilter {
    QString match;                      // part of the name, any case
    std::optional<qint64> lowTenths;    // range, both ends included
    std::optional<qint64> highTenths;
    std::optional<int> onAirMinute;     // schedule rows on air then (UTC)
    std::optional<int> day;             // 1..7: on air that day
    std::optional<int> limit;           // the first N of those left
};

// "5900-6200" (kHz, decimals allowed) into the filter's range; false when
// it is not such a range.
bool parseKhzRange(const QString &text, FrequencyFilter &filter);

// Whether a schedule row is on air at `minute` (UTC) of `day` (1..7). The
// row's days name the day its span starts: "Mo 2200-0200" is on air on
// Tuesday at 01:00. Without a day, any day.
bool entryOnAir(const FrequencyEntry &entry, std::optional<int> minute, std::optional<int> day);

// Whether an entry passes the filters, the limit aside.
bool entryPasses(const FrequencyEntry &entry, const FrequencyFilter &filter);

// Whether the grid can hold the entry's frequency (0 Hz to below 100 MHz).
bool entryFitsGrid(const FrequencyEntry &entry);

struct FrequencyChoice {
    QList<int> indices; // into the list's entries, in the list's order
    QStringList notes;  // entries skipped because the grid cannot hold them
};

// The entries that pass the filters and that the grid can hold, in the
// list's order, at most `limit` of them.
FrequencyChoice chooseFrequencyEntries(const FrequencyList &list, const FrequencyFilter &filter);

// What one entry becomes in a slot.
struct SlotFromEntry {
    qint32 tenths = 0;
    QString name;           // as stored: Latin-1, at most 17 characters
    quint8 modulation = 0;  // index of the grid's table
    std::optional<quint16> bandwidth; // nothing: the base's stays
    QStringList notes;      // name cut or changed, mode, bandwidth
};
SlotFromEntry slotFromEntry(const FrequencyEntry &entry);

// `text` in the grid's 8-bit set: letters with accents outside Latin-1
// lose them ("ł" -> "l", "Č" -> "C"), Greek and Cyrillic letters are
// spelled in Latin ones, typographic quotes and dashes become plain ones,
// controls become spaces and anything else '?'.
QString transliterateToLatin1(const QString &text);

struct FrequencyImport {
    QByteArray image;  // the base with the entries applied; empty on error
    QString error;     // empty when it was applied
    QStringList notes; // per slot: "Slot 3: name ... cut to 17 characters"
    QList<int> filled; // the slot each chosen entry went to
    bool ok() const { return error.isEmpty(); }
};

// Puts the chosen entries onto `base` (grown with zero bytes to 63 whole
// records when shorter) from `firstSlot` (1..63) upward. More entries than
// slots from there: an error naming both counts, and nothing is applied.
FrequencyImport applyFrequencyEntries(const FrequencyList &list, const QList<int> &chosen,
                                      const QByteArray &base, int firstSlot);

// Slots an export writes: those that hold a name or a frequency.
bool slotIsEmpty(const QByteArray &record);

// One slot as the writers see it.
struct SlotListing {
    int slot = 0;
    QString name;      // trimmed
    qint64 hertz = 0;  // the frequency rounded to the whole Hz
    quint8 modulation = 0;
    quint16 bandwidth = 0;
};
// The slots of `image` that hold something, in slot order; slots with a
// negative frequency are left out, a frequency with tenths is rounded and
// control characters of a name become spaces, each named in `notes`.
QList<SlotListing> slotsForExport(const QByteArray &image, QStringList &notes);

// "lines 3, 7, 9 WHAT" (the first five lines named), for the readers'
// notes about rows they leave out.
QString frequencyListLinesNote(const QList<int> &lines, const QString &what);

struct FrequencyExport {
    QByteArray text;
    int count = 0;     // entries written
    QStringList notes; // slots left out or written differently
};

} // namespace lmk
