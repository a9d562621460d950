#include "memory/SlotCsv.h"

#include "memory/SlotNameEscape.h"

#include "memory/SlotRecord.h"

#include <QList>
#include <QStringDecoder>
#include <QStringList>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <optional>

namespace lmk {

namespace {

// ------------------------------------------------------------- values out

QString plainFrequency(qint32 tenths, QChar decimal = QLatin1Char('.')) {
    const qint64 v = tenths;
    const qint64 m = v < 0 ? -v : v;
    return QString::fromLatin1(v < 0 ? "-" : "") + QString::number(m / 10) + decimal +
           QString::number(m % 10);
}

QString csvField(const QString &s, char sep = ',') {
    const bool quote = s.contains(QLatin1Char(sep)) || s.contains(QLatin1Char('"')) ||
                       s.contains(QLatin1Char('\n')) || s.contains(QLatin1Char('\r')) ||
                       (!s.isEmpty() && (s.front().isSpace() || s.back().isSpace()));
    if (!quote)
        return s;
    QString q = s;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

// A spreadsheet runs a cell that starts with = + - or @ as a formula. A name
// that starts so is written behind an apostrophe, which spreadsheets show as
// text and import takes away again; names that already start with
// apostrophes before such a character get one more, so every name reads
// back as it was.
bool looksLikeFormula(QStringView s) {
    qsizetype i = 0;
    while (i < s.size() && s[i] == QLatin1Char('\''))
        ++i;
    return i < s.size() && QStringView(u"=+-@\t\r").contains(s[i]);
}

QString formulaSafe(const QString &text) {
    return looksLikeFormula(text) ? QLatin1Char('\'') + text : text;
}

QString fromFormulaSafe(const QString &cell) {
    return cell.startsWith(QLatin1Char('\'')) && looksLikeFormula(cell) ? cell.mid(1) : cell;
}

// --------------------------------------------------------------- CSV text

struct CsvRow {
    int line = 0;
    QStringList cells;
};

struct Failure {
    int line = 0;
    int column = 0;
    QString message;
};

// Splits RFC 4180 text into rows; quoted cells may hold separators, quotes
// ("") and line breaks. Rows that are empty or hold only separators and
// blanks are skipped.
std::optional<Failure> splitCsv(QStringView text, QChar sep, QList<CsvRow> &rows, int firstLine) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    int line = firstLine;
    const auto lineEnd = [](QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); };
    while (i < n) {
        CsvRow row;
        row.line = line;
        bool rowDone = false;
        while (!rowDone) {
            QString cell;
            const int column = int(row.cells.size()) + 1;
            if (i < n && text[i] == QLatin1Char('"')) {
                ++i;
                for (;;) {
                    if (i >= n)
                        return Failure{row.line, column, QStringLiteral("quoted cell not closed")};
                    const QChar c = text[i++];
                    if (c == QLatin1Char('"')) {
                        if (i < n && text[i] == QLatin1Char('"')) {
                            cell.append(QLatin1Char('"'));
                            ++i;
                            continue;
                        }
                        break;
                    }
                    if (c == QLatin1Char('\n'))
                        ++line;
                    cell.append(c);
                }
                if (i < n && text[i] != sep && !lineEnd(text[i]))
                    return Failure{line, column, QStringLiteral("text after a closing quote")};
            } else {
                while (i < n && text[i] != sep && !lineEnd(text[i])) {
                    if (text[i] == QLatin1Char('"'))
                        return Failure{line, column,
                                       QStringLiteral("quote inside a cell that is not quoted")};
                    cell.append(text[i++]);
                }
            }
            row.cells << cell;
            if (i < n && text[i] == sep) {
                ++i;
                continue;
            }
            if (i < n && text[i] == QLatin1Char('\r'))
                ++i;
            if (i < n && text[i] == QLatin1Char('\n'))
                ++i;
            ++line;
            rowDone = true;
        }
        const bool blank = std::all_of(row.cells.cbegin(), row.cells.cend(),
                                       [](const QString &c) { return c.trimmed().isEmpty(); });
        if (!blank)
            rows << row;
    }
    return std::nullopt;
}

// ---------------------------------------------------------- text encoding

// Windows-1252 bytes 0x80 to 0x9F; the five it leaves undefined stand for
// the C1 controls of the same number, as Windows converts them.
constexpr std::array<char16_t, 32> kCp1252High{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString fromWindows1252(QByteArrayView bytes) {
    QString s(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = quint8(bytes[i]);
        s[i] = QChar(b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char16_t(b));
    }
    return s;
}

std::optional<QString> strictUtf8(QByteArrayView bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString s = utf8(bytes);
    if (utf8.hasError())
        return std::nullopt;
    return s;
}

// Whether the bytes hold at least one well-formed UTF-8 sequence of more
// than one byte: text that is mostly UTF-8 with a few bad bytes.
bool holdsUtf8Sequence(QByteArrayView bytes) {
    for (qsizetype i = 0; i + 1 < bytes.size(); ++i) {
        const auto b = quint8(bytes[i]);
        const int follow = b >= 0xC2 && b <= 0xDF ? 1 : b >= 0xE0 && b <= 0xEF ? 2
                                                  : b >= 0xF0 && b <= 0xF4 ? 3 : 0;
        if (follow == 0 || i + follow >= bytes.size())
            continue;
        if (strictUtf8(bytes.sliced(i, follow + 1)))
            return true;
    }
    return false;
}

// The text of a CSV file as spreadsheets save it: UTF-8 (with or without a
// byte order mark), UTF-16 with a byte order mark, or Windows-1252 when the
// bytes are not UTF-8. In text that is UTF-8 but for a few bytes, each
// cell is decoded on its own, so that the bad cell is named.
struct CsvText {
    QString text;
    bool cellsAreUtf8Bytes = false; // each char of `text` is one byte
    QString note;                   // the encoding, when not UTF-8
};

CsvText decodeCsv(QByteArrayView csv) {
    CsvText t;
    if (csv.startsWith("\xFF\xFE") || csv.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(csv.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                         : QStringDecoder::Utf16BE);
        t.text = utf16(csv.sliced(2));
        t.note = QStringLiteral("read as UTF-16 text");
        return t;
    }
    if (csv.startsWith("\xEF\xBB\xBF"))
        csv = csv.sliced(3);
    if (std::optional<QString> utf8 = strictUtf8(csv)) {
        t.text = *utf8;
    } else if (holdsUtf8Sequence(csv)) {
        t.text = QString::fromLatin1(csv);
        t.cellsAreUtf8Bytes = true;
    } else {
        t.text = fromWindows1252(csv);
        t.note = QStringLiteral("read as Windows-1252 text (it is not UTF-8)");
    }
    return t;
}

// The separator: the one a "sep=" first line names (as spreadsheets write
// it), else the most frequent of tab, ';' and ',' in the header row.
QChar separatorOf(QStringView header) {
    int tabs = 0, semicolons = 0, commas = 0;
    bool quoted = false;
    for (QChar c : header) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && c == QLatin1Char('\t'))
            ++tabs;
        else if (!quoted && c == QLatin1Char(';'))
            ++semicolons;
        else if (!quoted && c == QLatin1Char(','))
            ++commas;
    }
    if (tabs > semicolons && tabs > commas)
        return QLatin1Char('\t');
    return semicolons > commas ? QLatin1Char(';') : QLatin1Char(',');
}

// ------------------------------------------------------------- values in

std::optional<qint64> wholeNumber(const QString &t, qint64 min, qint64 max) {
    const QString s = t.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
        negative = s[i++] == QLatin1Char('-');
    if (i == s.size() || s.size() - i > 12)
        return std::nullopt;
    qint64 v = 0;
    for (; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        v = v * 10 + (c - u'0');
    }
    v = negative ? -v : v;
    if (v < min || v > max)
        return std::nullopt;
    return v;
}

// Which decimal mark the file's numbers use: spreadsheets save numbers as
// they show them, so a ';' file (a decimal-comma locale) writes 77.500 for
// seventy-seven thousand five hundred and a ',' file writes "77,500".
enum class DecimalMark { Point, Comma, Unknown };

DecimalMark decimalMarkOf(QChar sep) {
    if (sep == QLatin1Char(';'))
        return DecimalMark::Comma;
    if (sep == QLatin1Char(','))
        return DecimalMark::Point;
    return DecimalMark::Unknown; // tabs: either
}

// Digits grouped as "1.234.567": a first group of 1 to 3 digits, then
// groups of exactly 3.
bool isGrouped(QStringView digits, QChar mark) {
    const QList<QStringView> groups = digits.split(mark);
    if (groups.size() < 2 || groups.first().isEmpty() || groups.first().size() > 3)
        return false;
    for (qsizetype i = 0; i < groups.size(); ++i) {
        if (i > 0 && groups[i].size() != 3)
            return false;
        for (QChar c : groups[i])
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
    }
    return true;
}

struct PlainNumber {
    QString text;   // sign, digits, at most one '.', no grouping
    bool ambiguous = false;
};

// A number as a spreadsheet shows it, in plain form ("-1234.5"): the
// grouping mark of the file's dialect is taken out where it stands between
// groups of three digits; the other mark is the decimal one. Where the
// dialect is unknown (tab-separated), one mark followed by exactly three
// digits ("77.500") could be either: ambiguous.
PlainNumber plainNumber(const QString &t, DecimalMark mark) {
    PlainNumber out;
    QString s = t.trimmed();
    QString sign;
    if (!s.isEmpty() && (s[0] == QLatin1Char('+') || s[0] == QLatin1Char('-'))) {
        sign = s.left(1);
        s = s.mid(1);
    }
    const qsizetype points = s.count(QLatin1Char('.'));
    const qsizetype commas = s.count(QLatin1Char(','));
    if (points + commas == 0) {
        out.text = sign + s;
        return out;
    }
    QChar decimal;
    QChar grouping;
    if (points > 0 && commas > 0) { // both: the last one is the decimal mark
        decimal = s.lastIndexOf(QLatin1Char('.')) > s.lastIndexOf(QLatin1Char(','))
                      ? QLatin1Char('.')
                      : QLatin1Char(',');
        grouping = decimal == QLatin1Char('.') ? QLatin1Char(',') : QLatin1Char('.');
    } else {
        const QChar only = points > 0 ? QLatin1Char('.') : QLatin1Char(',');
        const QChar dialectGrouping = mark == DecimalMark::Comma ? QLatin1Char('.')
                                      : mark == DecimalMark::Point ? QLatin1Char(',')
                                                                   : QChar();
        if (mark == DecimalMark::Unknown) {
            if ((points > 1 || commas > 1) && isGrouped(s, only)) {
                grouping = only; // a decimal mark comes once
            } else if (isGrouped(s, only)) {
                out.ambiguous = true;
                return out;
            } else {
                decimal = only;
            }
        } else if (only == dialectGrouping && isGrouped(s, only)) {
            grouping = only;
        } else {
            decimal = only; // "77,5" in a ',' file: only a decimal comma fits
        }
    }
    const qsizetype at = decimal.isNull() ? -1 : s.lastIndexOf(decimal);
    QString whole = at < 0 ? s : s.left(at);
    const QString decimals = at < 0 ? QString() : s.mid(at + 1);
    if (!grouping.isNull() && whole.contains(grouping)) {
        if (!isGrouped(whole, grouping))
            return out; // empty: not a number
        whole.remove(grouping);
    }
    if (whole.contains(QLatin1Char('.')) || whole.contains(QLatin1Char(',')) ||
        decimals.contains(QLatin1Char('.')) || decimals.contains(QLatin1Char(',')))
        return out;
    out.text = sign + whole + (at < 0 ? QString() : QLatin1Char('.') + decimals);
    return out;
}

// "77500", "77500.5", "-1.5" (plain form). Further decimals only as zeros.
// The result is in tenths, unbounded (the caller checks the 32 bits).
std::optional<qint64> tenthsOf(const QString &s) {
    const qsizetype dot = s.indexOf(QLatin1Char('.'));
    const QString whole = dot < 0 ? s : s.left(dot);
    const QString decimals = dot < 0 ? QString() : s.mid(dot + 1);
    if (whole.isEmpty() || whole == QLatin1String("-") || whole == QLatin1String("+"))
        return std::nullopt;
    const std::optional<qint64> w = wholeNumber(whole, -999999999999LL, 999999999999LL);
    if (!w || (dot >= 0 && decimals.isEmpty()))
        return std::nullopt;
    qint64 tenth = 0;
    for (qsizetype i = 0; i < decimals.size(); ++i) {
        const char16_t c = decimals[i].unicode();
        if (c < u'0' || c > u'9' || (i > 0 && c != u'0'))
            return std::nullopt;
        if (i == 0)
            tenth = c - u'0';
    }
    const bool negative = whole.trimmed().startsWith(QLatin1Char('-'));
    return *w * 10 + (negative ? -tenth : tenth);
}

QString ambiguousText(const QString &cell) {
    return QStringLiteral("\"%1\" could be read with \".\" or \",\" as the decimal mark; the "
                          "file's separator does not tell which (write it without digit "
                          "grouping)")
        .arg(cell.trimmed());
}

// Index of `text` among a table's names (case does not matter), also as
// the English grid writes them ("7.0M" for "7,0M").
std::optional<quint8> tableIndex(const QString &text, std::optional<QString> (*name)(quint8)) {
    const QString t = text.trimmed();
    for (int i = 0; i < 256; ++i) {
        const std::optional<QString> n = name(quint8(i));
        if (!n)
            break;
        if (n->compare(t, Qt::CaseInsensitive) == 0 ||
            slotTableText(*n, SlotNumberFormat::inEnglish()).compare(t, Qt::CaseInsensitive) == 0)
            return quint8(i);
    }
    return std::nullopt;
}

QString tableNames(std::optional<QString> (*name)(quint8)) {
    QStringList names;
    for (int i = 0; i < 256; ++i) {
        const std::optional<QString> n = name(quint8(i));
        if (!n)
            break;
        names << *n;
    }
    return names.join(QStringLiteral(", "));
}

std::optional<QString> modulationName(quint8 i) { return slotModulationText(i); }
std::optional<QString> filterHpName(quint8 i) { return slotFilterHpText(i); }
std::optional<QString> filterTpName(quint8 i) { return slotFilterTpText(i); }

using SwitchText = QString (*)(quint8);
struct SwitchColumn {
    int column;
    int offset;
    SwitchText text;
};
constexpr std::array<SwitchColumn, 3> kSwitches{{
    {ColHochpass, slot::kHochpass, slotHochpassText},
    {ColEingang, slot::kEingang, slotEingangText},
    {ColAbschwaecher, slot::kAbschwaecher, slotAbschwaecherText},
}};

struct TableColumn {
    int column;
    int offset;
    std::optional<QString> (*name)(quint8);
};
constexpr std::array<TableColumn, 3> kTables{{
    {ColModulation, slot::kModulation, modulationName},
    {ColFilterHp, slot::kFilterHp, filterHpName},
    {ColFilterTp, slot::kFilterTp, filterTpName},
}};

// Stores one cell's value into `r` (256 bytes); the error text when it
// cannot be stored exactly.
std::optional<QString> applyCell(char *r, int column, const QString &cell,
                                 DecimalMark mark = DecimalMark::Point) {
    const auto *u = reinterpret_cast<const quint8 *>(r);
    const auto quoted = [&] { return QLatin1Char('"') + cell + QLatin1Char('"'); };
    switch (column) {
    case ColName: {
        // Control characters come written as \xHH (SlotNameEscape.h); one
        // typed into the cell itself is refused.
        for (QChar c : cell) {
            if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0))
                return QStringLiteral("a name cannot hold a control character (U+%1, such as a "
                                      "line break or a tab); write it as \\x%2")
                    .arg(c.unicode(), 4, 16, QLatin1Char('0'))
                    .arg(c.unicode(), 2, 16, QLatin1Char('0'));
        }
        const std::optional<QString> name = unescapeSlotText(cell);
        if (!name)
            return QStringLiteral("a name cannot hold a zero byte (\\x00)");
        // Unchanged but for trailing padding (a spreadsheet trims the
        // spaces the grid pads a name with): the bytes behind the name stay.
        const auto unpadded = [](QString t) {
            while (!t.isEmpty() && t.back() == QLatin1Char(' '))
                t.chop(1);
            return t;
        };
        if (unpadded(*name) == unpadded(slotNameText(u)))
            return std::nullopt;
        for (QChar c : *name) {
            if (c.unicode() > 0xFF)
                return QStringLiteral("%1 cannot be stored in a name (Latin-1 characters only)")
                    .arg(quoted());
        }
        if (name->size() > slot::kNameLength)
            return QStringLiteral("name longer than %1 characters").arg(slot::kNameLength);
        // Ended by zero bytes, so that the name reads back exactly as the
        // cell wrote it.
        std::memset(r + slot::kName, 0, slot::kNameLength);
        const QByteArray latin1 = name->toLatin1();
        std::memcpy(r + slot::kName, latin1.constData(), size_t(latin1.size()));
        return std::nullopt;
    }
    case ColFrequenz: {
        const PlainNumber plain = plainNumber(cell, mark);
        if (plain.ambiguous)
            return ambiguousText(cell);
        const std::optional<qint64> v = tenthsOf(plain.text);
        if (!v)
            return QStringLiteral("%1 is not a frequency with one decimal").arg(quoted());
        if (*v < std::numeric_limits<qint32>::min() || *v > std::numeric_limits<qint32>::max())
            return QStringLiteral("%1 does not fit in 32 bits (-214748364.8 to 214748364.7)")
                .arg(quoted());
        qToLittleEndian<qint32>(qint32(*v), r + slot::kFrequency);
        return std::nullopt;
    }
    case ColBandbreite: {
        const PlainNumber plain = plainNumber(cell, mark);
        if (plain.ambiguous)
            return ambiguousText(cell);
        const std::optional<qint64> v = wholeNumber(plain.text, 0, 65535);
        if (!v)
            return QStringLiteral("%1 is not a whole number from 0 to 65535").arg(quoted());
        qToLittleEndian<quint16>(quint16(*v), r + slot::kBandwidth);
        return std::nullopt;
    }
    case ColVerschiebung: {
        const PlainNumber plain = plainNumber(cell, mark);
        if (plain.ambiguous)
            return ambiguousText(cell);
        const std::optional<qint64> v = wholeNumber(plain.text, -32768, 32767);
        if (!v)
            return QStringLiteral("%1 is not a whole number from -32768 to 32767").arg(quoted());
        qToLittleEndian<qint16>(qint16(*v), r + slot::kShift);
        return std::nullopt;
    }
    case ColVersion: {
        const std::optional<qint64> v = wholeNumber(cell, 0, 15);
        if (!v)
            return QStringLiteral("%1 is not a whole number from 0 to 15").arg(quoted());
        // Stored as the grid stores a version (bits 4-7 1100), only when
        // it changes.
        if ((u[slot::kVersion] & 0x0F) != *v)
            r[slot::kVersion] = char(0xC0 | *v);
        return std::nullopt;
    }
    default:
        break;
    }
    for (const SwitchColumn &s : kSwitches) {
        if (s.column != column)
            continue;
        const QString on = s.text(1).trimmed();
        const QString off = s.text(0).trimmed();
        const QString t = cell.trimmed();
        bool want;
        if (t.compare(on, Qt::CaseInsensitive) == 0)
            want = true;
        else if (t.compare(off, Qt::CaseInsensitive) == 0)
            want = false;
        else
            return QStringLiteral("%1 is not \"%2\" or \"%3\"").arg(quoted(), on, off);
        if (bool(u[s.offset]) != want) // a nonzero byte other than 1 stays
            r[s.offset] = char(want ? 1 : 0);
        return std::nullopt;
    }
    for (const TableColumn &t : kTables) {
        if (t.column != column)
            continue;
        if (cell.trimmed().isEmpty()) {
            // What the export writes for an index without a name: the
            // base's byte stays.
            if (!t.name(u[t.offset]))
                return std::nullopt;
            return QStringLiteral("empty; one of %1").arg(tableNames(t.name));
        }
        const std::optional<quint8> i = tableIndex(cell, t.name);
        if (!i)
            return QStringLiteral("%1 is not one of %2").arg(quoted(), tableNames(t.name));
        r[t.offset] = char(*i);
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> applySlotCsvCell(QByteArray &record, int column, const QString &value) {
    if (record.size() < kSlotSize)
        return QStringLiteral("not a whole record");
    QByteArray edited = record;
    if (std::optional<QString> why = applyCell(edited.data(), column, value))
        return why;
    record = edited;
    return std::nullopt;
}

QString slotCsvValue(const QByteArray &record, int column) {
    if (record.size() < kSlotSize)
        return {};
    const auto *r = reinterpret_cast<const quint8 *>(record.constData());
    switch (column) {
    case ColName:
        return escapeSlotText(slotNameText(r));
    case ColFrequenz:
        return plainFrequency(qFromLittleEndian<qint32>(r + slot::kFrequency));
    case ColBandbreite:
        return QString::number(qFromLittleEndian<quint16>(r + slot::kBandwidth));
    case ColVerschiebung:
        return QString::number(qFromLittleEndian<qint16>(r + slot::kShift));
    case ColVersion:
        return QString::number(r[slot::kVersion] & 0x0F);
    default:
        break;
    }
    for (const SwitchColumn &s : kSwitches)
        if (s.column == column)
            return s.text(r[s.offset]).trimmed();
    for (const TableColumn &t : kTables)
        if (t.column == column)
            return t.name(r[t.offset]).value_or(QString());
    return {};
}

QString clipboardCellsText(const QList<QStringList> &rows) {
    QStringList lines;
    for (const QStringList &row : rows) {
        QStringList cells;
        for (const QString &c : row) {
            const bool quote = c.contains(QLatin1Char('\t')) || c.contains(QLatin1Char('\n')) ||
                               c.contains(QLatin1Char('\r')) || c.startsWith(QLatin1Char('"'));
            if (!quote) {
                cells << c;
                continue;
            }
            QString q = c;
            q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
            cells << QLatin1Char('"') + q + QLatin1Char('"');
        }
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QList<QStringList> parseClipboardCells(const QString &text) {
    QList<QStringList> rows;
    QStringList row;
    QString cell;
    qsizetype i = 0;
    const qsizetype n = text.size();
    bool cellStarted = false;
    const auto endRow = [&] {
        row << cell;
        rows << row;
        row.clear();
        cell.clear();
        cellStarted = false;
    };
    while (i < n) {
        const QChar c = text[i];
        if (!cellStarted && c == QLatin1Char('"')) {
            // A quoted cell: up to the quote that is not doubled; what
            // follows it up to the next tab or line break belongs to it too.
            cellStarted = true;
            ++i;
            while (i < n) {
                if (text[i] == QLatin1Char('"')) {
                    if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                        cell += QLatin1Char('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                cell += text[i++];
            }
            continue;
        }
        cellStarted = true;
        if (c == QLatin1Char('\t')) {
            row << cell;
            cell.clear();
            cellStarted = false;
            ++i;
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            i += (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) ? 2 : 1;
            endRow();
        } else {
            cell += c;
            ++i;
        }
    }
    if (cellStarted || !row.isEmpty())
        endRow();
    return rows;
}

std::optional<SlotCsvDialect> slotCsvDialectNamed(const QString &name) {
    if (name == QLatin1String("plain"))
        return SlotCsvDialect::Plain;
    if (name == QLatin1String("excel-de"))
        return SlotCsvDialect::ExcelGerman;
    return std::nullopt;
}

QStringList slotCsvDialectNames() {
    return {QStringLiteral("plain"), QStringLiteral("excel-de")};
}

QByteArray exportSlotCsv(const QByteArray &image, SlotCsvDialect dialect) {
    const bool excel = dialect == SlotCsvDialect::ExcelGerman;
    const char sep = excel ? ';' : ',';
    QStringList lines;
    QStringList header;
    for (const QString &h : slotGridHeadings())
        header << csvField(h, sep);
    lines << header.join(QLatin1Char(sep));
    for (int s = 1; s <= kSlotCount && qint64(s) * kSlotSize <= image.size(); ++s) {
        const QByteArray record = image.mid(qsizetype(s - 1) * kSlotSize, kSlotSize);
        QStringList cells{QString::number(s)};
        for (int c = ColName; c < SlotColumnCount; ++c) {
            QString value = slotCsvValue(record, c);
            if (c == ColName)
                value = formulaSafe(value);
            else if (c == ColFrequenz && excel)
                value = plainFrequency(qFromLittleEndian<qint32>(record.constData() +
                                                                 slot::kFrequency),
                                       QLatin1Char(','));
            cells << csvField(value, sep);
        }
        lines << cells.join(QLatin1Char(sep));
    }
    const QString end = excel ? QStringLiteral("\r\n") : QStringLiteral("\n");
    return (excel ? QByteArray("\xEF\xBB\xBF") : QByteArray()) + (lines.join(end) + end).toUtf8();
}

SlotCsvImport importSlotCsv(QByteArrayView csv, const QByteArray &base) {
    SlotCsvImport result;
    const auto fail = [&](const Failure &f) {
        result.line = f.line;
        result.column = f.column;
        result.notes.clear();
        if (f.line == 0)
            result.error = f.message;
        else if (f.column == 0)
            result.error = QStringLiteral("Line %1: %2").arg(f.line).arg(f.message);
        else
            result.error = QStringLiteral("Line %1, column %2: %3")
                               .arg(f.line)
                               .arg(f.column)
                               .arg(f.message);
        return result;
    };
    if (csv.size() > kMaxSlotCsvSize)
        return fail({0, 0, QStringLiteral("The CSV text is larger than 1 MiB.")});
    const CsvText decoded = decodeCsv(csv);
    if (!decoded.note.isEmpty())
        result.notes << decoded.note;
    QStringView text = decoded.text;

    // Blank lines before the header, and the "sep=" line spreadsheets may
    // put first.
    int firstLine = 1;
    const auto nextLine = [&] {
        const qsizetype end = text.indexOf(QLatin1Char('\n'));
        text = end < 0 ? QStringView() : text.sliced(end + 1);
        ++firstLine;
    };
    const auto currentLine = [&] {
        const qsizetype end = text.indexOf(QLatin1Char('\n'));
        return (end < 0 ? text : text.first(end)).trimmed();
    };
    while (!text.isEmpty() && currentLine().isEmpty())
        nextLine();
    QChar sep;
    QStringView first = text.first(text.indexOf(QLatin1Char('\n')) < 0 ? text.size()
                                                                       : text.indexOf(QLatin1Char('\n')));
    if (first.endsWith(QLatin1Char('\r')))
        first.chop(1);
    if (first.startsWith(QLatin1String("sep="), Qt::CaseInsensitive) && first.size() == 5) {
        sep = first[4];
        nextLine();
        while (!text.isEmpty() && currentLine().isEmpty())
            nextLine();
    } else {
        sep = separatorOf(first);
    }

    const DecimalMark mark = decimalMarkOf(sep);
    QList<CsvRow> rows;
    if (const std::optional<Failure> f = splitCsv(text, sep, rows, firstLine))
        return fail(*f);
    if (rows.isEmpty())
        return fail({0, 0, QStringLiteral("The CSV text has no header row.")});

    const auto decode = [&](const QString &cell) -> std::optional<QString> {
        if (!decoded.cellsAreUtf8Bytes)
            return cell;
        return strictUtf8(cell.toLatin1());
    };

    // Which cell each heading is in; only the slot number is required.
    const QStringList headings = slotGridHeadings();
    const CsvRow &head = rows.first();
    std::array<int, SlotColumnCount> cellOf;
    cellOf.fill(-1);
    QStringList extra;
    for (qsizetype i = 0; i < head.cells.size(); ++i) {
        const std::optional<QString> name = decode(head.cells[i]);
        const int column = int(i) + 1;
        if (!name)
            return fail({head.line, column, QStringLiteral("not UTF-8 text")});
        int found = -1;
        for (int c = 0; c < SlotColumnCount; ++c)
            if (headings[c].compare(name->trimmed(), Qt::CaseInsensitive) == 0)
                found = c;
        if (found < 0) {
            extra << (name->trimmed().isEmpty() ? QStringLiteral("(no heading) in column %1").arg(column)
                                                : QStringLiteral("\"%1\"").arg(name->trimmed()));
            continue;
        }
        if (cellOf[size_t(found)] >= 0)
            return fail({head.line, column,
                         QStringLiteral("column \"%1\" appears twice").arg(headings[found])});
        cellOf[size_t(found)] = int(i);
    }
    if (cellOf[ColPlatz] < 0)
        return fail({head.line, 0,
                     QStringLiteral("column \"%1\" is missing; the columns are %2")
                         .arg(headings[ColPlatz], headings.join(QStringLiteral(", ")))});
    if (!extra.isEmpty())
        result.notes << QStringLiteral("ignored the columns %1 (the columns are %2)")
                            .arg(extra.join(QStringLiteral(", ")), headings.join(QStringLiteral(", ")));
    QStringList absent;
    for (int c = 0; c < SlotColumnCount; ++c)
        if (cellOf[size_t(c)] < 0)
            absent << headings[c];
    if (!absent.isEmpty())
        result.notes << QStringLiteral("no column %1: those fields keep the base image's values")
                            .arg(absent.join(QStringLiteral(", ")));

    QByteArray image = base;
    if (image.size() < kSlotImageSize)
        image.append(kSlotImageSize - image.size(), char(0));
    std::array<int, kSlotCount + 1> lineOfSlot{};
    for (qsizetype k = 1; k < rows.size(); ++k) {
        const CsvRow &row = rows[k];
        if (row.cells.size() != head.cells.size())
            return fail({row.line, 0,
                         QStringLiteral("%1 cells, the header row has %2")
                             .arg(row.cells.size())
                             .arg(head.cells.size())});
        QStringList texts(SlotColumnCount);
        for (int c = 0; c < SlotColumnCount; ++c) {
            if (cellOf[size_t(c)] < 0)
                continue;
            const std::optional<QString> t = decode(row.cells[cellOf[size_t(c)]]);
            if (!t)
                return fail({row.line, cellOf[size_t(c)] + 1,
                             QStringLiteral("%1: not UTF-8 text").arg(headings[c])});
            texts[c] = c == ColName ? fromFormulaSafe(*t) : *t;
        }
        const int platzColumn = cellOf[ColPlatz] + 1;
        const std::optional<qint64> s = wholeNumber(texts[ColPlatz], 1, kSlotCount);
        if (!s)
            return fail({row.line, platzColumn,
                         QStringLiteral("Platz: \"%1\" is not a slot number from 1 to 63")
                             .arg(texts[ColPlatz])});
        if (lineOfSlot[size_t(*s)])
            return fail({row.line, platzColumn,
                         QStringLiteral("Platz: slot %1 is already on line %2")
                             .arg(*s)
                             .arg(lineOfSlot[size_t(*s)])});
        lineOfSlot[size_t(*s)] = row.line;
        char *record = image.data() + (*s - 1) * kSlotSize;
        for (int c = ColName; c < SlotColumnCount; ++c) {
            if (cellOf[size_t(c)] < 0)
                continue;
            if (const std::optional<QString> why = applyCell(record, c, texts[c], mark))
                return fail({row.line, cellOf[size_t(c)] + 1,
                             QStringLiteral("%1: %2").arg(headings[c], *why)});
        }
    }
    result.image = image;
    return result;
}

} // namespace lmk
