#include "memory/SlotCsv.h"

#include "memory/SlotRecord.h"

#include <QList>
#include <QStringDecoder>
#include <QStringList>
#include <QtEndian>

#include <array>
#include <cstring>
#include <limits>
#include <optional>

namespace lmk {

namespace {

// ------------------------------------------------------------- values out

QString plainFrequency(qint32 tenths) {
    const qint64 v = tenths;
    const qint64 m = v < 0 ? -v : v;
    return QString::fromLatin1(v < 0 ? "-" : "") + QString::number(m / 10) + QLatin1Char('.') +
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

// --------------------------------------------------------------- CSV text

struct CsvRow {
    int line = 0;
    QList<QByteArray> cells;
};

struct Failure {
    int line = 0;
    int column = 0;
    QString message;
};

// Splits RFC 4180 text into rows; quoted cells may hold separators, quotes
// ("") and line breaks. Empty lines are skipped.
std::optional<Failure> splitCsv(QByteArrayView text, char sep, QList<CsvRow> &rows) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    int line = 1;
    while (i < n) {
        CsvRow row;
        row.line = line;
        bool rowDone = false;
        while (!rowDone) {
            QByteArray cell;
            const int column = int(row.cells.size()) + 1;
            if (i < n && text[i] == '"') {
                ++i;
                for (;;) {
                    if (i >= n)
                        return Failure{row.line, column, QStringLiteral("quoted cell not closed")};
                    const char c = text[i++];
                    if (c == '"') {
                        if (i < n && text[i] == '"') {
                            cell.append('"');
                            ++i;
                            continue;
                        }
                        break;
                    }
                    if (c == '\n')
                        ++line;
                    cell.append(c);
                }
                if (i < n && text[i] != sep && text[i] != '\r' && text[i] != '\n')
                    return Failure{line, column, QStringLiteral("text after a closing quote")};
            } else {
                while (i < n && text[i] != sep && text[i] != '\r' && text[i] != '\n') {
                    if (text[i] == '"')
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
            if (i < n && text[i] == '\r')
                ++i;
            if (i < n && text[i] == '\n')
                ++i;
            ++line;
            rowDone = true;
        }
        const bool empty = row.cells.size() == 1 && row.cells.first().isEmpty();
        if (!empty)
            rows << row;
    }
    return std::nullopt;
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

// "77500", "77500.5", "-1.5"; further decimals only as zeros. The result is
// in tenths, unbounded (the caller checks the 32 bits).
std::optional<qint64> tenthsOf(const QString &t) {
    const QString s = t.trimmed();
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

// Index of `text` among a table's names (case does not matter).
std::optional<quint8> tableIndex(const QString &text, std::optional<QString> (*name)(quint8)) {
    const QString t = text.trimmed();
    for (int i = 0; i < 256; ++i) {
        const std::optional<QString> n = name(quint8(i));
        if (!n)
            break;
        if (n->compare(t, Qt::CaseInsensitive) == 0)
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
std::optional<QString> applyCell(char *r, int column, const QString &cell) {
    const auto *u = reinterpret_cast<const quint8 *>(r);
    const auto quoted = [&] { return QLatin1Char('"') + cell + QLatin1Char('"'); };
    switch (column) {
    case ColName: {
        if (cell == slotNameText(u))
            return std::nullopt; // unchanged: the bytes behind the name stay
        for (QChar c : cell) {
            if (c.unicode() > 0xFF || c.unicode() == 0)
                return QStringLiteral("%1 cannot be stored in a name (Latin-1 characters only)")
                    .arg(quoted());
        }
        if (cell.size() > slot::kNameLength)
            return QStringLiteral("name longer than %1 characters").arg(slot::kNameLength);
        // Ended by zero bytes, so that the name reads back exactly as the
        // cell wrote it.
        std::memset(r + slot::kName, 0, slot::kNameLength);
        const QByteArray latin1 = cell.toLatin1();
        std::memcpy(r + slot::kName, latin1.constData(), size_t(latin1.size()));
        return std::nullopt;
    }
    case ColFrequenz: {
        const std::optional<qint64> v = tenthsOf(cell);
        if (!v)
            return QStringLiteral("%1 is not a frequency with one decimal").arg(quoted());
        if (*v < std::numeric_limits<qint32>::min() || *v > std::numeric_limits<qint32>::max())
            return QStringLiteral("%1 does not fit in 32 bits (-214748364.8 to 214748364.7)")
                .arg(quoted());
        qToLittleEndian<qint32>(qint32(*v), r + slot::kFrequency);
        return std::nullopt;
    }
    case ColBandbreite: {
        const std::optional<qint64> v = wholeNumber(cell, 0, 65535);
        if (!v)
            return QStringLiteral("%1 is not a whole number from 0 to 65535").arg(quoted());
        qToLittleEndian<quint16>(quint16(*v), r + slot::kBandwidth);
        return std::nullopt;
    }
    case ColVerschiebung: {
        const std::optional<qint64> v = wholeNumber(cell, -32768, 32767);
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
        return slotNameText(r);
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

QByteArray exportSlotCsv(const QByteArray &image) {
    QStringList lines;
    QStringList header;
    for (const QString &h : slotGridHeadings())
        header << csvField(h);
    lines << header.join(QLatin1Char(','));
    for (int s = 1; s <= kSlotCount && qint64(s) * kSlotSize <= image.size(); ++s) {
        const QByteArray record = image.mid(qsizetype(s - 1) * kSlotSize, kSlotSize);
        QStringList cells{QString::number(s)};
        for (int c = ColName; c < SlotColumnCount; ++c)
            cells << csvField(slotCsvValue(record, c));
        lines << cells.join(QLatin1Char(','));
    }
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

SlotCsvImport importSlotCsv(QByteArrayView csv, const QByteArray &base) {
    SlotCsvImport result;
    const auto fail = [&](const Failure &f) {
        result.line = f.line;
        result.column = f.column;
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
    if (csv.startsWith("\xEF\xBB\xBF"))
        csv = csv.sliced(3);
    // Spreadsheets set to a comma as decimal point separate cells by ';'.
    const qsizetype lineEnd = csv.indexOf('\n');
    const QByteArrayView firstLine = csv.first(lineEnd < 0 ? csv.size() : lineEnd);
    const char sep = firstLine.contains(';') && !firstLine.contains(',') ? ';' : ',';

    QList<CsvRow> rows;
    if (const std::optional<Failure> f = splitCsv(csv, sep, rows))
        return fail(*f);
    if (rows.isEmpty())
        return fail({0, 0, QStringLiteral("The CSV text has no header row.")});

    const QStringList headings = slotGridHeadings();
    const auto decode = [](const QByteArray &bytes) -> std::optional<QString> {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString s = utf8(bytes);
        if (utf8.hasError())
            return std::nullopt;
        return s;
    };

    // Which heading each cell of a row belongs to.
    const CsvRow &head = rows.first();
    std::array<int, SlotColumnCount> cellOf;
    cellOf.fill(-1);
    for (qsizetype i = 0; i < head.cells.size(); ++i) {
        const std::optional<QString> name = decode(head.cells[i]);
        const int column = int(i) + 1;
        if (!name)
            return fail({head.line, column, QStringLiteral("not UTF-8 text")});
        int found = -1;
        for (int c = 0; c < SlotColumnCount; ++c)
            if (headings[c].compare(name->trimmed(), Qt::CaseInsensitive) == 0)
                found = c;
        if (found < 0)
            return fail({head.line, column,
                         QStringLiteral("unknown column \"%1\"; the columns are %2")
                             .arg(*name, headings.join(QStringLiteral(", ")))});
        if (cellOf[size_t(found)] >= 0)
            return fail({head.line, column,
                         QStringLiteral("column \"%1\" appears twice").arg(headings[found])});
        cellOf[size_t(found)] = int(i);
    }
    for (int c = 0; c < SlotColumnCount; ++c)
        if (cellOf[size_t(c)] < 0)
            return fail({head.line, 0, QStringLiteral("column \"%1\" is missing").arg(headings[c])});

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
            const std::optional<QString> t = decode(row.cells[cellOf[size_t(c)]]);
            if (!t)
                return fail({row.line, cellOf[size_t(c)] + 1,
                             QStringLiteral("%1: not UTF-8 text").arg(headings[c])});
            texts[c] = *t;
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
            if (const std::optional<QString> why = applyCell(record, c, texts[c]))
                return fail({row.line, cellOf[size_t(c)] + 1,
                             QStringLiteral("%1: %2").arg(headings[c], *why)});
        }
    }
    result.image = image;
    return result;
}

} // namespace lmk
