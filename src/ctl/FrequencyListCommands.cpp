// lmkctl memory import LIST / memory export IMAGE --format: frequency lists
// of other programs onto the slots and the slots into them.
#include "ctl/FrequencyListCommands.h"
#include "ctl/CtlFiles.h"

#include "memory/FrequencyList.h"
#include "memory/FrequencyListChirp.h"
#include "memory/FrequencyListGqrx.h"
#include "memory/MemoryImage.h"
#include "memory/SlotCsv.h"
#include "memory/SlotRecord.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QFileInfo>

namespace lmk::ctl {

namespace {

const char *const kFilterOptions[] = {"first-slot", "match", "range", "on-air", "day", "limit"};

QString shownName(const QString &path) {
    return isStandardStream(path) ? shownInputName(path) : QFileInfo(path).fileName();
}

QString dayName(int day) {
    static const char *const names[] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                        "Friday", "Saturday", "Sunday"};
    return QString::fromLatin1(names[(day - 1) % 7]);
}

bool saveTo(Context &ctx, const QString &path, const QByteArray &bytes) {
    ctx.out.flush();
    if (const QString error = writeOutput(path, bytes); !error.isEmpty()) {
        ctx.err << error << Qt::endl;
        return false;
    }
    return true;
}

// The filters and the first slot from the options; false after a usage
// error was printed (`rc` holds its code).
bool readFilter(Context &ctx, const QCommandLineParser &p, FrequencyFilter &filter, int &firstSlot,
                int &rc) {
    const auto fail = [&](const QString &text) {
        rc = ctx.usageError(text);
        return false;
    };
    if (p.isSet(QStringLiteral("first-slot"))) {
        bool ok = false;
        firstSlot = p.value(QStringLiteral("first-slot")).toInt(&ok);
        if (!ok || firstSlot < 1 || firstSlot > kSlotCount)
            return fail(QStringLiteral("--first-slot takes a slot from 1 to 63"));
    }
    filter.match = p.value(QStringLiteral("match"));
    if (p.isSet(QStringLiteral("range")) && !parseKhzRange(p.value(QStringLiteral("range")), filter))
        return fail(QStringLiteral("--range takes LOW-HIGH in kHz, e.g. 5900-6200"));
    if (p.isSet(QStringLiteral("on-air"))) {
        filter.onAirMinute = minuteFromText(p.value(QStringLiteral("on-air")));
        if (!filter.onAirMinute)
            return fail(QStringLiteral("--on-air takes a time in UTC as HHMM, e.g. 1800"));
    }
    if (p.isSet(QStringLiteral("day"))) {
        filter.day = dayFromText(p.value(QStringLiteral("day")));
        if (!filter.day)
            return fail(QStringLiteral("--day takes Mo, Tu, We, Th, Fr, Sa or Su"));
    }
    if (p.isSet(QStringLiteral("limit"))) {
        bool ok = false;
        const int limit = p.value(QStringLiteral("limit")).toInt(&ok);
        if (!ok || limit < 1)
            return fail(QStringLiteral("--limit takes a number from 1"));
        filter.limit = limit;
    }
    return true;
}

// The slot CSV read from standard input: applied as "memory import" applies
// a CSV file.
int importOwnCsv(Context &ctx, const QByteArray &csv, const QString &name, const QByteArray &base,
                 const QString &out) {
    const SlotCsvImport result = importSlotCsv(csv, base);
    if (!result.ok()) {
        ctx.error(name + QStringLiteral(": ") + result.error);
        return ExitUsage;
    }
    for (const QString &note : result.notes)
        ctx.err << name << ": " << note << Qt::endl;
    return saveTo(ctx, out, result.image) ? ExitDone : ExitRefused;
}

} // namespace

std::optional<int> importFrequencyList(Context &ctx, const QCommandLineParser &p,
                                       const QString &listPath, const QString &basePath,
                                       const QString &out) {
    std::optional<FrequencyListFormat> format;
    if (p.isSet(QStringLiteral("format"))) {
        format = frequencyListFormatFromKey(p.value(QStringLiteral("format")));
        if (!format)
            return ctx.usageError(QStringLiteral("--format takes own, gqrx, chirp or eibi"));
    }
    const auto refuseFiltersForCsv = [&]() -> std::optional<int> {
        for (const char *o : kFilterOptions)
            if (p.isSet(QLatin1String(o)))
                return ctx.usageError(QStringLiteral("--%1 chooses entries of a frequency list; "
                                                     "the slot CSV names its slots itself")
                                          .arg(QLatin1String(o)));
        return std::nullopt;
    };
    if (format == FrequencyListFormat::Own) {
        if (const std::optional<int> rc = refuseFiltersForCsv())
            return rc;
        return std::nullopt;
    }
    const FileContents list = readInput(listPath, kMaxFrequencyListSize);
    if (!list.ok()) {
        ctx.err << list.error << Qt::endl;
        return ExitUsage;
    }
    const QString name = shownName(listPath);
    if (!format)
        format = recognizeFrequencyList(list.bytes);
    MemoryImage base; // all zero unless a base is named
    const auto loadBase = [&]() {
        if (basePath.isEmpty())
            return true;
        const FileContents read = readInput(basePath, MemoryImage::kMaxFileSize);
        if (!read.ok()) {
            ctx.err << read.error << Qt::endl;
            return false;
        }
        base.write(read.bytes);
        return true;
    };
    if (format == FrequencyListFormat::Own) {
        if (const std::optional<int> rc = refuseFiltersForCsv())
            return rc;
        if (!isStandardStream(listPath))
            return std::nullopt; // the CSV import reads the file and the base
    }
    // A base that cannot be read is named first, whatever the list is.
    if (!loadBase())
        return ExitUsage;
    if (!format) {
        ctx.error(name + QStringLiteral(": not a list that can be read (gqrx bookmarks, CHIRP CSV, "
                                        "EiBi schedule or the slot CSV); --format names it"));
        return ExitUsage;
    }
    if (*format == FrequencyListFormat::Own)
        return importOwnCsv(ctx, list.bytes, name, base.data(), out);

    FrequencyFilter filter;
    int firstSlot = 1;
    int rc = ExitDone;
    if (!readFilter(ctx, p, filter, firstSlot, rc))
        return rc;
    const FrequencyList entries = readFrequencyList(list.bytes, format);
    if (!entries.ok()) {
        ctx.error(name + QStringLiteral(": ") + entries.error);
        return ExitUsage;
    }
    const QString what = frequencyListFormatName(entries.format);
    if (entries.format != FrequencyListFormat::Eibi && (filter.onAirMinute || filter.day))
        return ctx.usageError(QStringLiteral("--on-air and --day choose rows of a schedule (EiBi); "
                                             "%1 is %2")
                                  .arg(name, what));
    if (filter.onAirMinute && !filter.day) {
        filter.day = QDateTime::currentDateTimeUtc().date().dayOfWeek();
        ctx.note(QStringLiteral("On air at %1:%2 UTC on %3 (today in UTC; --day names another day)")
                     .arg(*filter.onAirMinute / 60, 2, 10, QLatin1Char('0'))
                     .arg(*filter.onAirMinute % 60, 2, 10, QLatin1Char('0'))
                     .arg(dayName(*filter.day)));
    }
    const FrequencyChoice choice = chooseFrequencyEntries(entries, filter);
    for (const QString &note : entries.notes + choice.notes)
        ctx.err << name << ": " << note << Qt::endl;
    if (choice.indices.isEmpty()) {
        ctx.error(name + QStringLiteral(": no entry of the %1 is chosen by the options; nothing was "
                                        "written")
                             .arg(what));
        return ExitUsage;
    }
    const FrequencyImport result = applyFrequencyEntries(entries, choice.indices, base.data(), firstSlot);
    if (!result.ok()) {
        ctx.error(name + QStringLiteral(": ") + result.error +
                  QStringLiteral(" Nothing was written; --limit N takes the first N, --match, "
                                 "--range or --on-air choose fewer."));
        return ExitUsage;
    }
    for (const QString &note : result.notes)
        ctx.err << name << ": " << note << Qt::endl;
    if (!saveTo(ctx, out, result.image))
        return ExitRefused;
    ctx.note(QStringLiteral("%1 %2 of the %3 into slot%4 %5%6")
                 .arg(result.filled.size())
                 .arg(result.filled.size() == 1 ? QStringLiteral("entry") : QStringLiteral("entries"),
                      what, result.filled.size() == 1 ? QString() : QStringLiteral("s"))
                 .arg(result.filled.first())
                 .arg(result.filled.size() == 1 ? QString()
                                               : QStringLiteral(" to %1").arg(result.filled.last())));
    return ExitDone;
}

std::optional<int> exportFrequencyList(Context &ctx, const QCommandLineParser &p,
                                       const QString &imagePath, const QString &out) {
    if (!p.isSet(QStringLiteral("format")))
        return std::nullopt;
    const std::optional<FrequencyListFormat> format =
        frequencyListFormatFromKey(p.value(QStringLiteral("format")));
    if (format == FrequencyListFormat::Own)
        return std::nullopt;
    if (!format || format == FrequencyListFormat::Eibi)
        return ctx.usageError(QStringLiteral("export writes --format gqrx, chirp or own (the slot "
                                             "CSV); the EiBi schedule is only read"));
    const FileContents read = readInput(imagePath, MemoryImage::kMaxFileSize);
    if (!read.ok()) {
        ctx.err << read.error << Qt::endl;
        return ExitUsage;
    }
    const FrequencyExport written = *format == FrequencyListFormat::Gqrx ? writeGqrxBookmarks(read.bytes)
                                                                         : writeChirpCsv(read.bytes);
    const QString name = shownName(imagePath);
    for (const QString &note : written.notes)
        ctx.err << name << ": " << note << Qt::endl;
    const QString target = out.isEmpty() ? QStringLiteral("-") : out;
    if (!saveTo(ctx, target, written.text))
        return ExitRefused;
    if (!isStandardStream(target))
        ctx.note(QStringLiteral("%1 slot%2 written as %3")
                     .arg(written.count)
                     .arg(written.count == 1 ? QString() : QStringLiteral("s"),
                          frequencyListFormatName(*format)));
    return ExitDone;
}

} // namespace lmk::ctl
