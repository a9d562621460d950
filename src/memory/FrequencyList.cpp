#include "memory/FrequencyList.h"

#include "memory/FrequencyListChirp.h"
#include "memory/FrequencyListEibi.h"
#include "memory/FrequencyListGqrx.h"
#include "memory/SlotRecord.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QtEndian>

#include <array>
#include <cstring>
#include <limits>

namespace lmk {

namespace {

constexpr std::array<char16_t, 32> kCp1252High{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The first lines of a text that hold something, at most `count`.
QStringList firstLines(const QString &text, int count) {
    QStringList lines;
    qsizetype from = 0;
    while (from < text.size() && lines.size() < count) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), from);
        if (end < 0)
            end = text.size();
        const QString line = text.mid(from, end - from).trimmed();
        if (!line.isEmpty())
            lines << line;
        from = end + 1;
    }
    return lines;
}

QStringList cellsOf(const QString &line, QChar sep) {
    QStringList cells;
    for (QString c : line.split(sep)) {
        c = c.trimmed();
        if (c.size() >= 2 && c.startsWith(QLatin1Char('"')) && c.endsWith(QLatin1Char('"')))
            c = c.mid(1, c.size() - 2).trimmed();
        cells << c;
    }
    return cells;
}

bool containsCell(const QStringList &cells, const char *name) {
    for (const QString &c : cells)
        if (c.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// Greek capitals U+0391..U+03A9 and Cyrillic capitals U+0410..U+042F in
// Latin letters (lower case letters are spelled in lower case).
constexpr std::array<const char *, 25> kGreek{
    "A", "V", "G", "D", "E", "Z", "I", "Th", "I", "K", "L", "M", "N",
    "X", "O", "P", "R", "",  "S", "T", "Y", "F", "Ch", "Ps", "O"};
constexpr std::array<const char *, 32> kCyrillic{
    "A", "B", "V", "G", "D", "E",  "Zh", "Z",    "I", "Y", "K",  "L", "M",  "N",  "O",  "P",
    "R", "S", "T", "U", "F", "Kh", "Ts", "Ch", "Sh", "Shch", "", "Y", "", "E", "Yu", "Ya"};

struct Spelling {
    char16_t from;
    const char *to;
};
constexpr Spelling kSpellings[] = {
    {0x0141, "L"},   {0x0142, "l"},   {0x0110, "D"},  {0x0111, "d"},  {0x0126, "H"},
    {0x0127, "h"},   {0x0131, "i"},   {0x0152, "OE"}, {0x0153, "oe"}, {0x0132, "IJ"},
    {0x0133, "ij"},  {0x017F, "s"},   {0x014A, "NG"}, {0x014B, "ng"}, {0x0401, "E"},
    {0x0451, "e"},   {0x0406, "I"},   {0x0456, "i"},  {0x0407, "Yi"}, {0x0457, "yi"},
    {0x0404, "Ye"},  {0x0454, "ye"},  {0x0490, "G"},  {0x0491, "g"},  {0x03C2, "s"},
    {0x2018, "'"},   {0x2019, "'"},   {0x201A, "'"},  {0x2032, "'"},  {0x201C, "\""},
    {0x201D, "\""},  {0x201E, "\""},  {0x2033, "\""}, {0x2010, "-"},  {0x2011, "-"},
    {0x2012, "-"},   {0x2013, "-"},   {0x2014, "-"},  {0x2212, "-"},  {0x2026, "..."},
    {0x20AC, "EUR"}, {0x2022, "*"},   {0x2122, "TM"}, {0x00A0, " "},  {0x2009, " "},
    {0x202F, " "},
};

std::optional<QString> spelled(char16_t c) {
    for (const Spelling &s : kSpellings)
        if (s.from == c)
            return QString::fromLatin1(s.to);
    if (c >= 0x0391 && c <= 0x03A9)
        return QString::fromLatin1(kGreek[c - 0x0391]);
    if (c >= 0x03B1 && c <= 0x03C9)
        return QString::fromLatin1(kGreek[c - 0x03B1]).toLower();
    if (c >= 0x0410 && c <= 0x042F)
        return QString::fromLatin1(kCyrillic[c - 0x0410]);
    if (c >= 0x0430 && c <= 0x044F)
        return QString::fromLatin1(kCyrillic[c - 0x0430]).toLower();
    return std::nullopt; // not spelled here
}

// "lines 3, 7 and 2 more" for a note.
QString lineList(const QList<int> &lines) {
    QStringList shown;
    for (qsizetype i = 0; i < lines.size() && i < 5; ++i)
        shown << QString::number(lines[i]);
    QString text = (lines.size() == 1 ? QStringLiteral("line ") : QStringLiteral("lines ")) +
                   shown.join(QStringLiteral(", "));
    if (lines.size() > 5)
        text += QStringLiteral(" and %1 more").arg(lines.size() - 5);
    return text;
}

QString hertzText(qint64 tenths) {
    const qint64 m = tenths < 0 ? -tenths : tenths;
    return QString::fromLatin1(tenths < 0 ? "-" : "") + QString::number(m / 10) +
           QLatin1Char('.') + QString::number(m % 10) + QStringLiteral(" Hz");
}

} // namespace

QString frequencyListFormatKey(FrequencyListFormat format) {
    switch (format) {
    case FrequencyListFormat::Own:
        return QStringLiteral("own");
    case FrequencyListFormat::Gqrx:
        return QStringLiteral("gqrx");
    case FrequencyListFormat::Chirp:
        return QStringLiteral("chirp");
    case FrequencyListFormat::Eibi:
        return QStringLiteral("eibi");
    }
    return {};
}

std::optional<FrequencyListFormat> frequencyListFormatFromKey(const QString &key) {
    for (FrequencyListFormat f : {FrequencyListFormat::Own, FrequencyListFormat::Gqrx,
                                  FrequencyListFormat::Chirp, FrequencyListFormat::Eibi})
        if (frequencyListFormatKey(f).compare(key.trimmed(), Qt::CaseInsensitive) == 0)
            return f;
    return std::nullopt;
}

QString frequencyListFormatName(FrequencyListFormat format) {
    switch (format) {
    case FrequencyListFormat::Own:
        return QStringLiteral("slot CSV");
    case FrequencyListFormat::Gqrx:
        return QStringLiteral("gqrx bookmarks");
    case FrequencyListFormat::Chirp:
        return QStringLiteral("CHIRP CSV");
    case FrequencyListFormat::Eibi:
        return QStringLiteral("EiBi schedule");
    }
    return {};
}

QString decodeFrequencyListText(QByteArrayView bytes, QString *note) {
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                           : QStringDecoder::Utf16BE);
        if (note)
            *note = QStringLiteral("read as UTF-16 text");
        return utf16(bytes.sliced(2));
    }
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    if (note)
        *note = QStringLiteral("read as Windows-1252 text (it is not UTF-8)");
    text = QString(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = quint8(bytes[i]);
        text[i] = QChar(b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char16_t(b));
    }
    return text;
}

std::optional<FrequencyListFormat> recognizeFrequencyList(QByteArrayView bytes) {
    const QString text = decodeFrequencyListText(bytes.first(qMin<qsizetype>(bytes.size(), 65536)));
    QStringList lines = firstLines(text, 40);
    if (lines.isEmpty())
        return std::nullopt;
    if (lines.first().startsWith(QLatin1String("sep="), Qt::CaseInsensitive) && lines.size() > 1)
        lines.removeFirst();
    const QString &head = lines.first();
    for (QChar sep : {QLatin1Char(','), QLatin1Char(';'), QLatin1Char('\t')})
        if (containsCell(cellsOf(head, sep), "Platz"))
            return FrequencyListFormat::Own;
    const QStringList commaCells = cellsOf(head, QLatin1Char(','));
    if (containsCell(commaCells, "Location") && containsCell(commaCells, "Frequency"))
        return FrequencyListFormat::Chirp;
    if (head.startsWith(QLatin1String("kHz:"), Qt::CaseInsensitive) ||
        head.contains(QLatin1String("Time(UTC)"), Qt::CaseInsensitive))
        return FrequencyListFormat::Eibi;
    for (const QString &line : std::as_const(lines))
        if (line.startsWith(QLatin1String("# Frequency"), Qt::CaseInsensitive) ||
            line.startsWith(QLatin1String("# Tag name"), Qt::CaseInsensitive))
            return FrequencyListFormat::Gqrx;
    static const QRegularExpression eibiRow(QStringLiteral("^\\d+(\\.\\d+)?;\\d{4}-\\d{4};"));
    static const QRegularExpression gqrxRow(
        QStringLiteral("^\\d+\\s*;[^;]*;[^;]*;\\s*-?\\d+\\s*(;|$)"));
    for (const QString &line : std::as_const(lines)) {
        if (eibiRow.match(line).hasMatch())
            return FrequencyListFormat::Eibi;
        if (gqrxRow.match(line).hasMatch())
            return FrequencyListFormat::Gqrx;
    }
    return std::nullopt;
}

FrequencyList readFrequencyList(QByteArrayView bytes, std::optional<FrequencyListFormat> format) {
    FrequencyList list;
    if (bytes.size() > kMaxFrequencyListSize) {
        list.error = QStringLiteral("The list is larger than 16 MiB.");
        return list;
    }
    if (!format)
        format = recognizeFrequencyList(bytes);
    if (!format) {
        list.error = QStringLiteral("This is no frequency list that can be read here (gqrx "
                                    "bookmarks, CHIRP CSV, EiBi schedule or the slot CSV).");
        return list;
    }
    QString note;
    const QString text = decodeFrequencyListText(bytes, &note);
    switch (*format) {
    case FrequencyListFormat::Own:
        list.format = FrequencyListFormat::Own;
        list.error = QStringLiteral("The slot CSV names its slots itself; it is imported as it is.");
        return list;
    case FrequencyListFormat::Gqrx:
        list = readGqrxBookmarks(text);
        break;
    case FrequencyListFormat::Chirp:
        list = readChirpCsv(text);
        break;
    case FrequencyListFormat::Eibi:
        list = readEibiSchedule(text);
        break;
    }
    if (!note.isEmpty())
        list.notes.prepend(note);
    if (list.ok() && list.entries.isEmpty())
        list.error = QStringLiteral("The %1 hold no entry.").arg(frequencyListFormatName(*format));
    return list;
}

std::optional<qint64> scaledDecimal(QStringView text, int scale, bool *rounded) {
    const QStringView s = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+')))
        negative = s[i++] == QLatin1Char('-');
    qint64 whole = 0;
    int wholeDigits = 0;
    for (; i < s.size() && s[i].isDigit() && s[i].unicode() < 0x80; ++i) {
        if (++wholeDigits > 12)
            return std::nullopt;
        whole = whole * 10 + (s[i].unicode() - u'0');
    }
    qint64 fraction = 0;
    int fractionDigits = 0;
    bool lost = false;
    bool roundUp = false;
    if (i < s.size() && (s[i] == QLatin1Char('.') || s[i] == QLatin1Char(','))) {
        ++i;
        const qsizetype first = i;
        for (; i < s.size() && s[i].isDigit() && s[i].unicode() < 0x80; ++i) {
            const int d = s[i].unicode() - u'0';
            if (fractionDigits < scale) {
                fraction = fraction * 10 + d;
                ++fractionDigits;
            } else {
                if (i - first == scale)
                    roundUp = d >= 5;
                lost = lost || d != 0;
            }
        }
        if (i == first && wholeDigits == 0)
            return std::nullopt;
    }
    if (i != s.size() || (wholeDigits == 0 && fractionDigits == 0 && !lost))
        return std::nullopt;
    for (int k = fractionDigits; k < scale; ++k)
        fraction *= 10;
    qint64 value = whole;
    for (int k = 0; k < scale; ++k)
        value *= 10;
    value += fraction + (roundUp ? 1 : 0);
    if (rounded)
        *rounded = lost;
    return negative ? -value : value;
}

std::optional<int> dayFromText(const QString &text) {
    static const char *const names[] = {"Mo", "Tu", "We", "Th", "Fr", "Sa", "Su"};
    static const char *const long_[] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                        "Friday", "Saturday", "Sunday"};
    const QString t = text.trimmed();
    for (int d = 0; d < 7; ++d)
        if (t.compare(QLatin1String(names[d]), Qt::CaseInsensitive) == 0 ||
            t.compare(QLatin1String(long_[d]), Qt::CaseInsensitive) == 0 ||
            t == QString::number(d + 1))
            return d + 1;
    return std::nullopt;
}

std::optional<int> minuteFromText(const QString &text) {
    QString t = text.trimmed();
    if (t.size() == 5 && t[2] == QLatin1Char(':'))
        t.remove(2, 1);
    if (t.size() != 4)
        return std::nullopt;
    for (QChar c : t)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    const int h = t.left(2).toInt();
    const int m = t.mid(2).toInt();
    if (h > 23 || m > 59)
        return std::nullopt;
    return h * 60 + m;
}

bool parseKhzRange(const QString &text, FrequencyFilter &filter) {
    const QString t = text.trimmed();
    const qsizetype dash = t.indexOf(QLatin1Char('-'), 1);
    if (dash < 0)
        return false;
    const std::optional<qint64> low = scaledDecimal(QStringView(t).left(dash), 4);
    const std::optional<qint64> high = scaledDecimal(QStringView(t).mid(dash + 1), 4);
    if (!low || !high || *low < 0 || *high < *low)
        return false;
    filter.lowTenths = low;
    filter.highTenths = high;
    return true;
}

bool entryOnAir(const FrequencyEntry &entry, std::optional<int> minute, std::optional<int> day) {
    if (!entry.scheduled)
        return true;
    const auto on = [&](int d) { return (entry.days >> ((d + 6) % 7)) & 1; }; // d 1..7
    const int s = entry.startMinute;
    const int e = entry.endMinute;
    const bool crosses = e < s;
    const int previous = day ? (*day + 5) % 7 + 1 : 0;
    if (!minute) {
        if (!day)
            return true;
        return on(*day) || (crosses && e > 0 && on(previous));
    }
    const int m = *minute;
    if (s == e || (s == 0 && e >= 1440))
        return !day || on(*day);
    if (!crosses)
        return m >= s && m < e && (!day || on(*day));
    if (m >= s)
        return !day || on(*day);
    if (m < e)
        return !day || on(previous);
    return false;
}

bool entryPasses(const FrequencyEntry &entry, const FrequencyFilter &filter) {
    if (!filter.match.trimmed().isEmpty() &&
        !entry.name.contains(filter.match.trimmed(), Qt::CaseInsensitive))
        return false;
    if (filter.lowTenths && entry.tenths < *filter.lowTenths)
        return false;
    if (filter.highTenths && entry.tenths > *filter.highTenths)
        return false;
    return entryOnAir(entry, filter.onAirMinute, filter.day);
}

bool entryFitsGrid(const FrequencyEntry &entry) {
    return entry.tenths >= 0 && entry.tenths < kMaxEntryTenths;
}

FrequencyChoice chooseFrequencyEntries(const FrequencyList &list, const FrequencyFilter &filter) {
    FrequencyChoice choice;
    QStringList skipped;
    int skippedCount = 0;
    for (qsizetype i = 0; i < list.entries.size(); ++i) {
        const FrequencyEntry &e = list.entries[i];
        if (!entryPasses(e, filter))
            continue;
        if (!entryFitsGrid(e)) {
            if (++skippedCount <= 5)
                skipped << QStringLiteral("line %1 \"%2\" %3").arg(e.line).arg(e.name, hertzText(e.tenths));
            continue;
        }
        if (filter.limit && choice.indices.size() >= *filter.limit)
            continue;
        choice.indices << int(i);
    }
    if (skippedCount > 0) {
        QString note = QStringLiteral("%1 %2 skipped: the slots hold frequencies from 0 Hz to below "
                                      "100 MHz (%3")
                           .arg(skippedCount)
                           .arg(skippedCount == 1 ? QStringLiteral("entry") : QStringLiteral("entries"),
                                skipped.join(QStringLiteral(", ")));
        if (skippedCount > 5)
            note += QStringLiteral(", and %1 more").arg(skippedCount - 5);
        choice.notes << note + QLatin1Char(')');
    }
    return choice;
}

QString transliterateToLatin1(const QString &text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
            out += QLatin1Char(' ');
            continue;
        }
        if (c <= 0xFF) {
            out += QChar(char16_t(c));
            continue;
        }
        if (c <= 0xFFFF) {
            if (const std::optional<QString> s = spelled(char16_t(c))) {
                out += *s;
                continue;
            }
        }
        // A letter with marks: its letter without them ("Č" -> "C",
        // "ή" -> "i").
        const QString decomposed = QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_KD);
        QString base;
        for (QChar d : decomposed) {
            if (d.isMark())
                continue;
            if (d.unicode() >= 0x20 && d.unicode() <= 0xFF && d.unicode() != 0x7F &&
                !(d.unicode() >= 0x80 && d.unicode() < 0xA0))
                base += d;
            else if (const std::optional<QString> s = spelled(d.unicode()))
                base += *s;
            else
                base += QLatin1Char('?');
        }
        out += base.isEmpty() ? QStringLiteral("?") : base;
    }
    return out;
}

SlotFromEntry slotFromEntry(const FrequencyEntry &entry) {
    SlotFromEntry s;
    s.tenths = qint32(qBound(qint64(std::numeric_limits<qint32>::min()), entry.tenths,
                             qint64(std::numeric_limits<qint32>::max())));
    const QString original = entry.name.trimmed();
    const QString latin1 = transliterateToLatin1(original).trimmed();
    QString name = latin1;
    if (name.size() > slot::kNameLength)
        name = name.left(slot::kNameLength).trimmed();
    s.name = name;
    if (latin1 != original && name != latin1)
        s.notes << QStringLiteral("name \"%1\" stored as \"%2\" (changed to the slots' characters "
                                  "and cut to %3)")
                       .arg(original, name)
                       .arg(slot::kNameLength);
    else if (latin1 != original)
        s.notes << QStringLiteral("name \"%1\" stored as \"%2\" (changed to the slots' characters)")
                       .arg(original, name);
    else if (name != latin1)
        s.notes << QStringLiteral("name \"%1\" cut to %2 characters: \"%3\"")
                       .arg(original)
                       .arg(slot::kNameLength)
                       .arg(name);
    const QString mode = entry.mode.trimmed().toUpper();
    if (mode == QLatin1String("AM"))
        s.modulation = 1;
    else if (mode == QLatin1String("LSB"))
        s.modulation = 2;
    else if (mode == QLatin1String("USB"))
        s.modulation = 3;
    else if (mode == QLatin1String("CW") || mode == QLatin1String("CW-L") ||
             mode == QLatin1String("CW-U") || mode == QLatin1String("CWL") ||
             mode == QLatin1String("CWU") || mode == QLatin1String("CWR") ||
             mode == QLatin1String("CW-R"))
        s.modulation = 5;
    else {
        s.modulation = 0;
        s.notes << (mode.isEmpty() ? QStringLiteral("no mode: Modulation Auto")
                                   : QStringLiteral("mode \"%1\" is not one of the receiver's: "
                                                    "Modulation Auto")
                                         .arg(entry.mode.trimmed()));
    }
    if (entry.bandwidth) {
        if (*entry.bandwidth >= 0 && *entry.bandwidth <= 0xFFFF)
            s.bandwidth = quint16(*entry.bandwidth);
        else
            s.notes << QStringLiteral("bandwidth %1 Hz does not fit (0 to 65535): Bandbreite "
                                      "unchanged")
                           .arg(*entry.bandwidth);
    }
    return s;
}

FrequencyImport applyFrequencyEntries(const FrequencyList &list, const QList<int> &chosen,
                                      const QByteArray &base, int firstSlot) {
    FrequencyImport result;
    if (firstSlot < 1 || firstSlot > kSlotCount) {
        result.error = QStringLiteral("The first slot must be from 1 to 63, not %1.").arg(firstSlot);
        return result;
    }
    const int room = kSlotCount - firstSlot + 1;
    if (chosen.size() > room) {
        result.error = QStringLiteral("%1 entries are chosen, but from slot %2 to 63 there %3 only "
                                      "%4 %5.")
                           .arg(chosen.size())
                           .arg(firstSlot)
                           .arg(room == 1 ? QStringLiteral("is") : QStringLiteral("are"))
                           .arg(room)
                           .arg(room == 1 ? QStringLiteral("slot") : QStringLiteral("slots"));
        return result;
    }
    QByteArray image = base;
    if (image.size() < kSlotImageSize)
        image.append(kSlotImageSize - image.size(), char(0));
    int slotNumber = firstSlot;
    for (int index : chosen) {
        if (index < 0 || index >= list.entries.size()) {
            result.error = QStringLiteral("No entry %1 in the list.").arg(index);
            result.notes.clear();
            result.filled.clear();
            return result;
        }
        const SlotFromEntry s = slotFromEntry(list.entries[index]);
        char *r = image.data() + qsizetype(slotNumber - 1) * kSlotSize;
        std::memset(r + slot::kName, 0, slot::kNameLength);
        const QByteArray latin1 = s.name.toLatin1();
        std::memcpy(r + slot::kName, latin1.constData(),
                    size_t(qMin<qsizetype>(latin1.size(), slot::kNameLength)));
        r[slot::kModulation] = char(s.modulation);
        qToLittleEndian<qint32>(s.tenths, r + slot::kFrequency);
        if (s.bandwidth)
            qToLittleEndian<quint16>(*s.bandwidth, r + slot::kBandwidth);
        for (const QString &n : s.notes)
            result.notes << QStringLiteral("Slot %1: %2").arg(slotNumber).arg(n);
        result.filled << slotNumber;
        ++slotNumber;
    }
    result.image = image;
    return result;
}

bool slotIsEmpty(const QByteArray &record) {
    if (record.size() < kSlotSize)
        return true;
    const auto *r = reinterpret_cast<const quint8 *>(record.constData());
    return slotNameText(r).trimmed().isEmpty() && qFromLittleEndian<qint32>(r + slot::kFrequency) == 0;
}

QList<SlotListing> slotsForExport(const QByteArray &image, QStringList &notes) {
    QList<SlotListing> out;
    for (int s = 1; s <= kSlotCount && qint64(s) * kSlotSize <= image.size(); ++s) {
        const QByteArray record = image.mid(qsizetype(s - 1) * kSlotSize, kSlotSize);
        if (slotIsEmpty(record))
            continue;
        const auto *r = reinterpret_cast<const quint8 *>(record.constData());
        const qint32 tenths = qFromLittleEndian<qint32>(r + slot::kFrequency);
        if (tenths < 0) {
            notes << QStringLiteral("Slot %1: left out, its frequency %2 is below 0")
                         .arg(s)
                         .arg(hertzText(tenths));
            continue;
        }
        SlotListing l;
        l.slot = s;
        QString name = slotNameText(r);
        bool controls = false;
        for (QChar &c : name)
            if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0)) {
                c = QLatin1Char(' ');
                controls = true;
            }
        if (controls)
            notes << QStringLiteral("Slot %1: control characters of the name written as spaces").arg(s);
        l.name = name.trimmed();
        l.hertz = (qint64(tenths) + 5) / 10;
        if (tenths % 10 != 0)
            notes << QStringLiteral("Slot %1: %2 written as %3 Hz").arg(s).arg(hertzText(tenths)).arg(l.hertz);
        l.modulation = r[slot::kModulation];
        l.bandwidth = qFromLittleEndian<quint16>(r + slot::kBandwidth);
        out << l;
    }
    return out;
}

// Shared by the readers.
QString frequencyListLinesNote(const QList<int> &lines, const QString &what) {
    return lineList(lines) + QLatin1Char(' ') + what;
}

} // namespace lmk
