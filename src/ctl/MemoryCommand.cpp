// lmkctl memory: read, write, clear and show the 63 memory slots; backups,
// CSV export and import, and the differences of two .Mem files.
#include "ctl/CtlCommands.h"
#include "ctl/CtlFiles.h"
#include "ctl/ScanOutput.h"
#include "ctl/FrequencyListCommands.h"

#include "memory/MemoryImage.h"
#include "memory/MemorySlots.h"
#include "memory/SlotBackups.h"
#include "memory/SlotWriteCheck.h"
#include "memory/SlotCsv.h"
#include "memory/SlotDiff.h"
#include "memory/SlotNameEscape.h"
#include "memory/SlotRecord.h"
#include "memory/SlotTransferOperation.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace lmk::ctl {

namespace {

// The image in `path` (or standard input); false after printing why.
bool loadImage(Context &ctx, const QString &path, MemoryImage &image) {
    const FileContents read = readInput(path, MemoryImage::kMaxFileSize);
    if (!read.ok()) {
        ctx.err << read.error << Qt::endl;
        return false;
    }
    image.clear();
    image.write(read.bytes);
    image.setPosition(0);
    return true;
}

// A .Mem file read from the receiver holds the 63 slots and nothing else.
QString imageSizeWarning(const QString &path, qint64 size) {
    return QStringLiteral("%1 is %2 bytes, not %3 (63 slots of 256 bytes)")
        .arg(shownInputName(path))
        .arg(size)
        .arg(kSlotImageSize);
}

int show(Context &ctx, const QString &path, bool csv, bool json = false) {
    MemoryImage image;
    if (!loadImage(ctx, path, image))
        return ExitUsage;
    if (image.size() != kSlotImageSize)
        ctx.err << "Warning: " << imageSizeWarning(path, image.size()) << Qt::endl;
    if (csv) { // what "memory export" writes, so that "memory import" reads it
        ctx.out << QString::fromUtf8(exportSlotCsv(image.data()));
        ctx.out.flush();
        return ExitDone;
    }
    const QStringList headings = slotGridHeadings();
    // The texts as the window shows them, whatever the system's locale.
    const SlotNumberFormat locale = SlotNumberFormat::inGerman();
    QList<QStringList> rows;
    rows << headings;
    for (int s = 1; s <= kSlotCount; ++s) {
        QStringList row(SlotColumnCount);
        row[ColPlatz] = QString::number(s);
        if (image.holdsSlot(s)) {
            const SlotRowTexts texts = slotRowTexts(image.slotRecord(s), locale);
            for (int c = 1; c < SlotColumnCount; ++c)
                row[c] = texts[c].value_or(QString());
        }
        rows << row;
    }
    if (json) {
        QJsonArray slotList;
        for (qsizetype r = 1; r < rows.size(); ++r) {
            QJsonObject slot{{QStringLiteral("slot"), int(r)}};
            for (int c = 1; c < SlotColumnCount; ++c)
                if (image.holdsSlot(int(r)))
                    slot.insert(headings[c], rows[r][c]);
            slotList.append(slot);
        }
        ctx.printJson({{QStringLiteral("slots"), slotList}});
        return ExitDone;
    }
    // A name may hold any byte: never raw onto the terminal.
    for (QStringList &row : rows)
        for (QString &cell : row)
            cell = escapeSlotText(cell);
    QList<int> widths(SlotColumnCount, 0);
    for (const QStringList &row : rows)
        for (int c = 0; c < SlotColumnCount; ++c)
            widths[c] = qMax(widths[c], int(row[c].size()));
    for (const QStringList &row : rows) {
        QStringList cells;
        for (int c = 0; c < SlotColumnCount; ++c)
            cells << row[c].leftJustified(widths[c]);
        ctx.out << cells.join(QStringLiteral("  ")).trimmed() << '\n';
    }
    ctx.out.flush();
    return ExitDone;
}

int exitFor(SlotTransferOperation::Outcome outcome) {
    using O = SlotTransferOperation::Outcome;
    switch (outcome) {
    case O::Done:
        return ExitDone;
    case O::NoTransport:
    case O::LinkLost:
        return ExitNoConnection;
    case O::Timeout:
        return ExitTimeout;
    case O::ImageShort: // nothing was sent
        return ExitUsage;
    case O::Stopped:
        return ExitInterrupted;
    case O::Busy:
    case O::Refused:
    case O::ReadError:
    case O::Unexpected:
    case O::Incomplete: // nothing was written
        break;
    }
    return ExitRefused;
}

// Why the results of a transfer could not be written ("" when they can):
// the .Mem file of a read, the backup folder of a write or clear.
QString transferOutputProblem(SlotTransferOperation::Kind kind, const QString &path, bool backup) {
    if (kind == SlotTransferOperation::Kind::Read) {
        if (isStandardStream(path))
            return QString();
        const QString problem = outputProblem(path);
        return problem.isEmpty() ? QString()
                                 : QStringLiteral("Cannot create file \"%1\": %2; nothing was read.")
                                       .arg(QDir::toNativeSeparators(path), problem);
    }
    if (!backup)
        return QString();
    const QString problem = folderProblem(SlotBackupStore::defaultDirectory());
    return problem.isEmpty() ? QString()
                             : QStringLiteral("No backup can be kept: %1; nothing was sent "
                                              "(--no-backup goes on without one).")
                                   .arg(problem);
}

// How far a transfer got that a stop ended.
QString stoppedTransferText(SlotTransferOperation::Kind kind, int lastSlot, int slotSent,
                            const QString &path) {
    if (kind == SlotTransferOperation::Kind::Read)
        return QStringLiteral("Reading stopped at slot %1 of 63; nothing was written to %2.")
            .arg(lastSlot + 1)
            .arg(isStandardStream(path) ? QStringLiteral("standard output")
                                        : QDir::toNativeSeparators(path));
    QString text = SlotTransferOperation::stoppedText(kind, lastSlot);
    if (slotSent > lastSlot)
        text += (kind == SlotTransferOperation::Kind::Write
                     ? QStringLiteral(" Slot %1 was sent but not acknowledged: it may hold the new "
                                      "data too.")
                     : QStringLiteral(" Slot %1 was sent but not acknowledged: it may be cleared "
                                      "too."))
                    .arg(slotSent);
    return text;
}

// A write is read back and compared unless `verify` is false; `confirmed`
// (--yes) also writes a file that is not 63 slots, or to a receiver whose
// slot replies carry 248 bytes of each record.
int transfer(Context &ctx, SlotTransferOperation::Kind kind, const QString &path,
             bool backup = false, bool verify = false, bool confirmed = false, bool json = false) {
    // Where the results go is checked before the first request.
    if (const QString problem = transferOutputProblem(kind, path, backup); !problem.isEmpty()) {
        ctx.error(problem);
        return ExitUsage;
    }
    MemorySlots store(ctx.link);
    if (kind == SlotTransferOperation::Kind::Write) {
        if (!loadImage(ctx, path, store.image()))
            return ExitUsage;
        // Part of an image is never written; nothing is sent.
        if (store.image().size() < kSlotImageSize) {
            ctx.error(SlotTransferOperation::imageShortText(store.image().size()));
            return ExitUsage;
        }
        // A longer file is not what a read gives: its first 63 slots only
        // when the user says so.
        if (store.image().size() != kSlotImageSize && !confirmed) {
            ctx.err << "lmkctl memory write: " << imageSizeWarning(path, store.image().size())
                    << "; only its first 63 slots would be written. Confirm with --yes."
                    << Qt::endl;
            return ExitUsage;
        }
    }
    if (!ctx.connect())
        return ExitNoConnection;
    QString backupPath;
    // A write the operation refuses anyway (a short image) needs no backup.
    if (backup && (kind == SlotTransferOperation::Kind::Clear || store.image().holdsSlot(kSlotCount))) {
        const SlotBackupResult b = backupReceiverSlots(store, SlotBackupStore());
        if (!b.ok() && ctx.stopping())
            return ctx.stopped(QStringLiteral("The backup was being read; nothing was %1.")
                                   .arg(kind == SlotTransferOperation::Kind::Clear
                                            ? QStringLiteral("cleared")
                                            : QStringLiteral("written")));
        if (!b.ok()) {
            ctx.error(b.error + QStringLiteral("\nNothing was written; --no-backup writes without a backup."));
            return b.outcome == SlotTransferOperation::Outcome::Done ? ExitRefused
                                                                     : exitFor(b.outcome);
        }
        backupPath = b.path;
        ctx.note(QStringLiteral("Backup of the receiver's slots: ") + b.path +
                 (b.note.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(b.note)));
        if (kind == SlotTransferOperation::Kind::Write && b.partial && !confirmed) {
            ctx.error(shortSlotRepliesText());
            ctx.error(QStringLiteral("Nothing was written; --yes writes anyway."));
            return ExitUsage;
        }
    }
    // Without a backup nothing has read the receiver yet: one read request
    // tells whether its replies carry whole records, so that a write never
    // zeroes the 8 bytes it does not send back unasked.
    if (kind == SlotTransferOperation::Kind::Write && !backup && !confirmed) {
        SlotTransferOperation probe(store);
        const SlotTransferOperation::Outcome o = probe.probeReplyLength();
        if (o != SlotTransferOperation::Outcome::Done) {
            const QString text = o == SlotTransferOperation::Outcome::Incomplete
                                     ? probe.incompleteText() + QLatin1Char('.')
                                     : probe.outcomeText(SlotTransferOperation::Kind::Read, o)
                                           .section(QLatin1Char('\n'), 0, 0);
            if (!text.isEmpty() && !ctx.dialogs.shown.contains(text))
                ctx.error(text);
            ctx.error(QStringLiteral("Nothing was written."));
            return exitFor(o);
        }
        if (probe.partialRecords()) {
            ctx.error(shortSlotRepliesText());
            ctx.error(QStringLiteral("Nothing was written; --yes writes anyway."));
            return ExitUsage;
        }
    }
    // The last slot whose write or clear went out, for a stop's report.
    int slotSent = 0;
    QObject requests; // ends the connection with this function
    QObject::connect(&ctx.link, &DeviceLink::requestSent, &requests, [&](const QByteArray &b) {
        if (b.size() > 1 && quint8(b[0]) == 0x11)
            slotSent = quint8(b[1]);
    });
    SlotTransferOperation op(store);
    const char *label = kind == SlotTransferOperation::Kind::Read    ? "read"
                        : kind == SlotTransferOperation::Kind::Write ? "write"
                                                                     : "clear";
    QObject::connect(&op, &SlotTransferOperation::slotDone, [&](int slot) {
        ctx.progress(QString::fromLatin1(label), slot, kSlotCount, ProgressUnit::Slots);
    });
    const SlotTransferOperation::Outcome outcome = op.run(kind);
    ctx.endProgress();
    using O = SlotTransferOperation::Outcome;
    if (outcome == O::Stopped && ctx.stopping())
        return ctx.stopped(stoppedTransferText(kind, op.lastSlot(), slotSent, path));
    const QString text = op.outcomeText(kind, outcome);
    if (outcome != O::Done && !text.isEmpty() && !ctx.dialogs.shown.contains(text))
        ctx.error(text);
    if (outcome != O::Done)
        return exitFor(outcome);
    if (kind == SlotTransferOperation::Kind::Read) {
        ctx.out.flush();
        if (const QString error = writeOutput(path, store.image().data()); !error.isEmpty()) {
            ctx.err << error << Qt::endl;
            return ExitRefused;
        }
    }
    if (!text.isEmpty())
        ctx.error(text);
    bool verified = false;
    if (kind == SlotTransferOperation::Kind::Write && verify) {
        const SlotWriteCheck check = checkWrittenSlots(store, store.image().data().left(kSlotImageSize));
        if (!check.verified() && ctx.stopping())
            return ctx.stopped(QStringLiteral("All 63 slots were written; reading them back for the "
                                              "check was stopped."));
        if (!check.verified()) {
            ctx.error(check.text());
            return ExitRefused;
        }
        ctx.note(check.text());
        verified = true;
    }
    if (json) {
        QJsonObject o{{QStringLiteral("action"), QString::fromLatin1(label)},
                      {QStringLiteral("slots"), op.lastSlot()}};
        if (kind == SlotTransferOperation::Kind::Read)
            o.insert(QStringLiteral("file"), isStandardStream(path) ? QJsonValue() : QJsonValue(path));
        if (kind != SlotTransferOperation::Kind::Read)
            o.insert(QStringLiteral("backup"), backupPath.isEmpty() ? QJsonValue() : QJsonValue(backupPath));
        if (kind == SlotTransferOperation::Kind::Write)
            o.insert(QStringLiteral("verified"), verified);
        // With the slots on standard output the facts go to standard error.
        (isStandardStream(path) && kind == SlotTransferOperation::Kind::Read ? ctx.err : ctx.out)
            << QJsonDocument(o).toJson(QJsonDocument::Compact) << Qt::endl;
    }
    return ExitDone;
}

bool saveBytes(Context &ctx, const QString &path, const QByteArray &bytes) {
    ctx.out.flush();
    if (const QString error = writeOutput(path, bytes); !error.isEmpty()) {
        ctx.err << error << Qt::endl;
        return false;
    }
    return true;
}

// The backups, newest first; then the recovery files (unsaved changes of
// the window kept when it had to end), newest first.
int listBackups(Context &ctx, bool json) {
    const SlotBackupStore store;
    const QStringList paths = store.list();
    QStringList recoveries;
    for (const SlotBackup &r : store.recoveries())
        recoveries << r.path;
    if (json) {
        ctx.printJson({{QStringLiteral("backups"), QJsonArray::fromStringList(paths)},
                       {QStringLiteral("recoveries"), QJsonArray::fromStringList(recoveries)}});
        return ExitDone;
    }
    for (const QString &path : paths)
        ctx.out << path << '\n';
    for (const QString &path : recoveries)
        ctx.out << path << "  (unsaved changes, recovered)\n";
    ctx.out.flush();
    return ExitDone;
}

// The form of each action, for the message of a wrong use.
const char *findAction(const QString &action) {
    static const std::pair<const char *, const char *> forms[] = {
        {"read", "memory read -o FILE.Mem"},
        {"write", "memory write FILE.Mem"},
        {"clear", "memory clear --yes"},
        {"show", "memory show FILE.Mem [--csv]"},
        {"backups", "memory backups"},
        {"export", "memory export FILE.Mem [-o FILE.csv] [--dialect excel-de]"},
        {"import", "memory import FILE.csv --base FILE.Mem -o OUT.Mem"},
        {"diff", "memory diff A.Mem B.Mem"},
    };
    for (const auto &f : forms)
        if (action == QLatin1String(f.first))
            return f.second;
    return nullptr;
}

int exportCsv(Context &ctx, const QString &imagePath, const QString &csvPath,
              SlotCsvDialect dialect) {
    MemoryImage image;
    if (!loadImage(ctx, imagePath, image))
        return ExitUsage;
    const QString out = csvPath.isEmpty() ? QStringLiteral("-") : csvPath;
    return saveBytes(ctx, out, exportSlotCsv(image.data(), dialect)) ? ExitDone : ExitRefused;
}

int importCsv(Context &ctx, const QString &csvPath, const QString &basePath, const QString &out) {
    MemoryImage base; // all zero unless a base is named
    if (!basePath.isEmpty() && !loadImage(ctx, basePath, base))
        return ExitUsage;
    const FileContents csv = readInput(csvPath, kMaxSlotCsvSize);
    if (!csv.ok()) {
        ctx.err << csv.error << Qt::endl;
        return ExitUsage;
    }
    const SlotCsvImport result = importSlotCsv(csv.bytes, base.data());
    const QString name = isStandardStream(csvPath) ? shownInputName(csvPath)
                                                   : QFileInfo(csvPath).fileName();
    if (!result.ok()) {
        ctx.error(name + QStringLiteral(": ") + result.error);
        return ExitUsage;
    }
    for (const QString &note : result.notes)
        ctx.err << name << ": " << note << Qt::endl;
    return saveBytes(ctx, out, result.image) ? ExitDone : ExitRefused;
}

int diff(Context &ctx, const QString &a, const QString &b, bool json) {
    if (isStandardStream(a) && isStandardStream(b)) {
        ctx.err << "lmkctl memory diff: only one of the two files can be '-'" << Qt::endl;
        return ExitUsage;
    }
    MemoryImage first;
    MemoryImage second;
    if (!loadImage(ctx, a, first) || !loadImage(ctx, b, second))
        return ExitUsage;
    const SlotImageDiff d = diffSlotImages(first.data(), second.data());
    const QString nameA = isStandardStream(a) ? shownInputName(a) : QFileInfo(a).fileName();
    const QString nameB = isStandardStream(b) ? shownInputName(b) : QFileInfo(b).fileName();
    if (json) {
        const QStringList headings = slotGridHeadings();
        QJsonArray differing;
        for (const SlotDifference &slot : d.differing) {
            QJsonArray fields;
            for (const SlotFieldChange &f : slot.fields)
                fields.append(QJsonObject{{QStringLiteral("field"), headings.value(f.column)},
                                          {QStringLiteral("before"), f.before},
                                          {QStringLiteral("after"), f.after}});
            differing.append(QJsonObject{{QStringLiteral("slot"), slot.slot},
                                     {QStringLiteral("fields"), fields},
                                     {QStringLiteral("onlyInFirst"), slot.onlyInFirst},
                                     {QStringLiteral("onlyInSecond"), slot.onlyInSecond},
                                     {QStringLiteral("text"), slotDifferenceText(slot, nameA, nameB)}});
        }
        ctx.printJson({{QStringLiteral("equal"), d.equal()},
                       {QStringLiteral("slots"), differing},
                       {QStringLiteral("trailingBytesDiffer"), d.trailingBytesDiffer}});
        return d.equal() ? ExitDone : ExitRefused;
    }
    for (const SlotDifference &slot : d.differing)
        ctx.out << escapeSlotText(slotDifferenceText(slot, nameA, nameB)) << '\n';
    if (d.trailingBytesDiffer)
        ctx.out << "Bytes after slot 63 differ\n";
    ctx.out.flush();
    return d.equal() ? ExitDone : ExitRefused;
}

} // namespace

int runMemory(Context &ctx, const QCommandLineParser &p) {
    const QStringList pos = p.positionalArguments();
    const QString action = pos.value(0);
    const bool json = p.isSet(QStringLiteral("json"));
    // CSV is the form of these; the slots as JSON come from show.
    if (json && (action == QLatin1String("export") || action == QLatin1String("import") ||
                 (action == QLatin1String("show") && p.isSet(QStringLiteral("csv")))))
        return ctx.jsonRefused(QStringLiteral("%1 writes CSV ('memory show FILE.Mem --json' gives "
                                              "the slots as JSON)")
                                   .arg(action == QLatin1String("show") ? QStringLiteral("--csv")
                                                                        : action));
    if (action == QLatin1String("show") && pos.size() == 2)
        return show(ctx, pos[1], p.isSet(QStringLiteral("csv")), json);
    if (action == QLatin1String("read") && pos.size() == 1 && p.isSet(QStringLiteral("output")))
        return transfer(ctx, SlotTransferOperation::Kind::Read, p.value(QStringLiteral("output")),
                        false, false, false, json);
    const bool backup = !p.isSet(QStringLiteral("no-backup"));
    const QString output = p.value(QStringLiteral("output"));
    if (action == QLatin1String("write") && pos.size() == 2)
        return transfer(ctx, SlotTransferOperation::Kind::Write, pos[1], backup,
                        !p.isSet(QStringLiteral("no-verify")), p.isSet(QStringLiteral("yes")), json);
    if (action == QLatin1String("backups") && pos.size() == 1)
        return listBackups(ctx, json);
    if (action == QLatin1String("export") && pos.size() == 2) {
        if (const std::optional<int> rc = exportFrequencyList(ctx, p, pos[1], output))
            return *rc;
        const QString name = p.isSet(QStringLiteral("dialect")) ? p.value(QStringLiteral("dialect"))
                                                                : QStringLiteral("plain");
        const std::optional<SlotCsvDialect> dialect = slotCsvDialectNamed(name);
        if (!dialect)
            return ctx.usageError(QStringLiteral("unknown --dialect '%1'; one of %2")
                                      .arg(name, slotCsvDialectNames().join(QStringLiteral(", "))));
        return exportCsv(ctx, pos[1], output, *dialect);
    }
    if (action == QLatin1String("import") && pos.size() == 2 && !output.isEmpty()) {
        // The CSV names a few fields of each slot; every other byte comes
        // from the base, which is never taken as all zero unasked.
        const bool zero = p.isSet(QStringLiteral("zero-base"));
        if (p.isSet(QStringLiteral("base")) == zero) {
            ctx.err << (zero ? "lmkctl memory import: --base and --zero-base exclude each other"
                             : "lmkctl memory import: --base FILE.Mem is required: the image the "
                               "CSV is applied to (its other bytes are kept); --zero-base applies "
                               "it to an all-zero image")
                    << Qt::endl;
            return ExitUsage;
        }
        if (isStandardStream(pos[1]) && isStandardStream(p.value(QStringLiteral("base")))) {
            ctx.err << "lmkctl memory import: only one of the CSV and the base can be '-'"
                    << Qt::endl;
            return ExitUsage;
        }
        const QString base = zero ? QString() : p.value(QStringLiteral("base"));
        if (const std::optional<int> rc = importFrequencyList(ctx, p, pos[1], base, output))
            return *rc;
        return importCsv(ctx, pos[1], base, output);
    }
    if (action == QLatin1String("diff") && pos.size() == 3)
        return diff(ctx, pos[1], pos[2], json);
    if (action == QLatin1String("clear") && pos.size() == 1) {
        ctx.dialogs.assumeYes = p.isSet(QStringLiteral("yes"));
        if (!ctx.dialogs.assumeYes)
            return ctx.usageError(QStringLiteral("clear clears every slot; confirm with --yes"));
        return transfer(ctx, SlotTransferOperation::Kind::Clear, QString(), backup, false, false,
                        json);
    }
    return ctx.usageError(
        action.isEmpty() ? QStringLiteral("expected an action: read, write, clear, show, backups, export, "
                                          "import or diff")
        : !findAction(action)
            ? QStringLiteral("unknown action '%1'").arg(action)
            : QStringLiteral("expected '%1'").arg(QString::fromLatin1(findAction(action))));
}

} // namespace lmk::ctl
