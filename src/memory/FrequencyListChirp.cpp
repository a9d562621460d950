#include "memory/FrequencyListChirp.h"

namespace lmk {

namespace {

struct Row {
    int line = 0;
    QStringList cells;
};

// Comma-separated rows with "..." quoting ("" inside for a quote); a quoted
// cell may span lines. A quote that is never closed runs to the end.
QList<Row> splitRows(const QString &text) {
    QList<Row> rows;
    qsizetype i = 0;
    const qsizetype n = text.size();
    int line = 1;
    while (i < n) {
        Row row;
        row.line = line;
        for (;;) {
            QString cell;
            if (i < n && text[i] == QLatin1Char('"')) {
                ++i;
                while (i < n) {
                    const QChar c = text[i++];
                    if (c == QLatin1Char('"')) {
                        if (i < n && text[i] == QLatin1Char('"')) {
                            cell += QLatin1Char('"');
                            ++i;
                            continue;
                        }
                        break;
                    }
                    if (c == QLatin1Char('\n'))
                        ++line;
                    cell += c;
                }
            }
            while (i < n && text[i] != QLatin1Char(',') && text[i] != QLatin1Char('\n'))
                cell += text[i++];
            row.cells << cell;
            if (i < n && text[i] == QLatin1Char(',')) {
                ++i;
                continue;
            }
            if (i < n) // '\n'
                ++i;
            ++line;
            break;
        }
        bool blank = true;
        for (const QString &c : std::as_const(row.cells))
            blank = blank && c.trimmed().isEmpty();
        if (!blank)
            rows << row;
    }
    return rows;
}

int columnOf(const QStringList &header, const char *name) {
    for (qsizetype i = 0; i < header.size(); ++i)
        if (header[i].trimmed().compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

QString csvCell(const QString &s) {
    if (!s.contains(QLatin1Char(',')) && !s.contains(QLatin1Char('"')) &&
        !s.contains(QLatin1Char('\n')) && !s.contains(QLatin1Char('\r')))
        return s;
    QString q = s;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

} // namespace

FrequencyList readChirpCsv(const QString &text) {
    FrequencyList list;
    list.format = FrequencyListFormat::Chirp;
    const QList<Row> rows = splitRows(text);
    if (rows.isEmpty()) {
        list.error = QStringLiteral("The CHIRP CSV has no header row.");
        return list;
    }
    const QStringList &header = rows.first().cells;
    const int frequency = columnOf(header, "Frequency");
    const int name = columnOf(header, "Name");
    const int mode = columnOf(header, "Mode");
    if (frequency < 0) {
        list.error = QStringLiteral("The CHIRP CSV has no column \"Frequency\".");
        return list;
    }
    QList<int> unread;
    for (qsizetype k = 1; k < rows.size(); ++k) {
        const Row &row = rows[k];
        const std::optional<qint64> tenths = scaledDecimal(row.cells.value(frequency), 7);
        if (!tenths) {
            unread << row.line;
            continue;
        }
        FrequencyEntry e;
        e.line = row.line;
        e.tenths = *tenths;
        e.name = name >= 0 ? row.cells.value(name).trimmed() : QString();
        e.mode = mode >= 0 ? row.cells.value(mode).trimmed() : QString();
        list.entries << e;
    }
    if (!unread.isEmpty())
        list.notes << frequencyListLinesNote(unread,
                                             QStringLiteral("not read: no frequency in MHz"));
    return list;
}

FrequencyExport writeChirpCsv(const QByteArray &image) {
    FrequencyExport out;
    const QList<SlotListing> listed = slotsForExport(image, out.notes);
    QString text = QStringLiteral("Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,"
                                  "DtcsCode,DtcsPolarity,Mode,TStep,Skip,Comment,URCALL,RPT1CALL,"
                                  "RPT2CALL,DVCODE\n");
    for (const SlotListing &s : listed) {
        QString mode;
        switch (s.modulation) {
        case 0:
            mode = QStringLiteral("Auto");
            break;
        case 1:
            mode = QStringLiteral("AM");
            break;
        case 2:
            mode = QStringLiteral("LSB");
            break;
        case 3:
            mode = QStringLiteral("USB");
            break;
        case 4:
            mode = QStringLiteral("USB");
            out.notes << QStringLiteral("Slot %1: Modulation SSB written as USB").arg(s.slot);
            break;
        case 5:
            mode = QStringLiteral("CW");
            break;
        default:
            mode = QStringLiteral("Auto");
            out.notes << QStringLiteral("Slot %1: Modulation index %2 written as Auto")
                             .arg(s.slot)
                             .arg(s.modulation);
            break;
        }
        const QString mhz = QStringLiteral("%1.%2")
                                .arg(s.hertz / 1000000)
                                .arg(s.hertz % 1000000, 6, 10, QLatin1Char('0'));
        text += QString::number(s.slot) + QLatin1Char(',') + csvCell(s.name) + QLatin1Char(',') +
                mhz + QStringLiteral(",,0.000000,,88.5,88.5,023,NN,") + mode +
                QStringLiteral(",5.00,,,,,,\n");
        ++out.count;
    }
    out.text = text.toUtf8();
    return out;
}

} // namespace lmk
