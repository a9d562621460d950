#include "memory/FrequencyListGqrx.h"

namespace lmk {

FrequencyList readGqrxBookmarks(const QString &text) {
    FrequencyList list;
    list.format = FrequencyListFormat::Gqrx;
    QList<int> unread;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = line.split(QLatin1Char(';'));
        // A tag line: "Digital ; #c0c0c0".
        if (fields.size() == 2 && fields[1].trimmed().startsWith(QLatin1Char('#')))
            continue;
        std::optional<qint64> tenths;
        if (fields.size() >= 4)
            tenths = scaledDecimal(fields[0], 1);
        if (!tenths) {
            unread << int(i + 1);
            continue;
        }
        FrequencyEntry e;
        e.line = int(i + 1);
        e.tenths = *tenths;
        e.name = fields[1].trimmed();
        e.mode = fields[2].trimmed();
        if (const std::optional<qint64> bw = scaledDecimal(fields[3], 0))
            e.bandwidth = bw;
        list.entries << e;
    }
    if (!unread.isEmpty())
        list.notes << frequencyListLinesNote(unread, QStringLiteral("not read: not a bookmark "
                                                                    "(Frequency; Name; Modulation; "
                                                                    "Bandwidth; Tags)"));
    return list;
}

FrequencyExport writeGqrxBookmarks(const QByteArray &image) {
    FrequencyExport out;
    const QList<SlotListing> listed = slotsForExport(image, out.notes);
    QString text = QStringLiteral("# Tag name").leftJustified(20) + QStringLiteral(";  color\n") +
                   QStringLiteral("LMK").leftJustified(20) + QStringLiteral("; #c0c0c0\n\n") +
                   QStringLiteral("# Frequency").leftJustified(12) + QStringLiteral("; ") +
                   QStringLiteral("Name").leftJustified(25) + QStringLiteral("; ") +
                   QStringLiteral("Modulation").leftJustified(20) + QStringLiteral("; ") +
                   QStringLiteral("Bandwidth").rightJustified(10) + QStringLiteral("; Tags\n");
    for (const SlotListing &s : listed) {
        QString name = s.name;
        if (name.contains(QLatin1Char(';'))) {
            name.replace(QLatin1Char(';'), QLatin1Char(','));
            out.notes << QStringLiteral("Slot %1: name \"%2\" written as \"%3\" (';' separates "
                                        "the fields)")
                             .arg(s.slot)
                             .arg(s.name, name);
        }
        QString mode;
        switch (s.modulation) {
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
            mode = QStringLiteral("CW-U");
            break;
        default:
            mode = QStringLiteral("AM");
            out.notes << QStringLiteral("Slot %1: Modulation %2 written as AM")
                             .arg(s.slot)
                             .arg(s.modulation == 0 ? QStringLiteral("Auto")
                                                    : QStringLiteral("index %1").arg(s.modulation));
            break;
        }
        text += QString::number(s.hertz).rightJustified(12) + QStringLiteral("; ") +
                name.leftJustified(25) + QStringLiteral("; ") + mode.leftJustified(20) +
                QStringLiteral("; ") + QString::number(s.bandwidth).rightJustified(10) +
                QStringLiteral("; LMK\n");
        ++out.count;
    }
    out.text = text.toUtf8();
    return out;
}

} // namespace lmk
