// lmkctl memory: read, write, clear and show the 63 memory slots; backups,
// CSV export and import, and the differences of two .Mem files.
#include "ctl/CtlCommands.h"
#include "ctl/CtlFiles.h"
#include "ctl/FrequencyListCommands.h"

#include "memory/MemoryImage.h"
#include "memory/MemorySlots.h"
#include "memory/SlotBackups.h"
#include "memory/SlotWriteCheck.h"
#include "memory/SlotCsv.h"
#include "memory/SlotDiff.h"
#include "memory/SlotRecord.h"
#include "memory/SlotTransferOperation.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>

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

int show(Context &ctx, const QString &path, bool csv) {
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
    const QLocale locale; // the texts as the window shows them
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
        break;
    }
    return ExitRefused;
}

// A write is read back and compared unless `verify` is false; `confirmed`
// (--yes) also writes a file that is not 63 slots, or to a receiver whose
// slot replies carry 248 bytes of each record.
int transfer(Context &ctx, SlotTransferOperation::Kind kind, const QString &path,
             bool backup = false, bool verify = false, bool confirmed = false) {
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
    // A write the operation refuses anyway (a short image) needs no backup.
    if (backup && (kind == SlotTransferOperation::Kind::Clear || store.image().holdsSlot(kSlotCount))) {
        const SlotBackupResult b = backupReceiverSlots(store, SlotBackupStore());
        if (!b.ok()) {
            ctx.error(b.error + QStringLiteral("\nNothing was written; --no-backup writes without a backup."));
            return b.outcome == SlotTransferOperation::Outcome::Done ? ExitRefused
                                                                     : exitFor(b.outcome);
        }
        ctx.note(QStringLiteral("Backup of the receiver's slots: ") + b.path +
                 (b.note.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(b.note)));
        if (kind == SlotTransferOperation::Kind::Write && b.partial && !confirmed) {
            ctx.error(shortSlotRepliesText());
            ctx.error(QStringLiteral("Nothing was written; --yes writes anyway."));
            return ExitUsage;
        }
    }
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
    if (kind == SlotTransferOperation::Kind::Write && verify) {
        const SlotWriteCheck check = checkWrittenSlots(store, store.image().data().left(kSlotImageSize));
        if (!check.verified()) {
            ctx.error(check.text());
            return ExitRefused;
        }
        ctx.note(check.text());
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

int listBackups(Context &ctx, bool json) {
    const QStringList paths = SlotBackupStore().list();
    if (json) {
        ctx.printJson({{QStringLiteral("backups"), QJsonArray::fromStringList(paths)}});
        return ExitDone;
    }
    for (const QString &path : paths)
        ctx.out << path << '\n';
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
        {"export", "memory export FILE.Mem [-o FILE.csv]"},
        {"import", "memory import FILE.csv --base FILE.Mem -o OUT.Mem"},
        {"diff", "memory diff A.Mem B.Mem"},
    };
    for (const auto &f : forms)
        if (action == QLatin1String(f.first))
            return f.second;
    return nullptr;
}

int exportCsv(Context &ctx, const QString &imagePath, const QString &csvPath) {
    MemoryImage image;
    if (!loadImage(ctx, imagePath, image))
        return ExitUsage;
    const QString out = csvPath.isEmpty() ? QStringLiteral("-") : csvPath;
    return saveBytes(ctx, out, exportSlotCsv(image.data())) ? ExitDone : ExitRefused;
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
        ctx.out << slotDifferenceText(slot, nameA, nameB) << '\n';
    if (d.trailingBytesDiffer)
        ctx.out << "Bytes after slot 63 differ\n";
    ctx.out.flush();
    return d.equal() ? ExitDone : ExitRefused;
}

} // namespace

int runMemory(Context &ctx, const QCommandLineParser &p) {
    const QStringList pos = p.positionalArguments();
    const QString action = pos.value(0);
    if (action == QLatin1String("show") && pos.size() == 2)
        return show(ctx, pos[1], p.isSet(QStringLiteral("csv")));
    if (action == QLatin1String("read") && pos.size() == 1 && p.isSet(QStringLiteral("output")))
        return transfer(ctx, SlotTransferOperation::Kind::Read, p.value(QStringLiteral("output")));
    const bool backup = !p.isSet(QStringLiteral("no-backup"));
    const QString output = p.value(QStringLiteral("output"));
    if (action == QLatin1String("write") && pos.size() == 2)
        return transfer(ctx, SlotTransferOperation::Kind::Write, pos[1], backup,
                        !p.isSet(QStringLiteral("no-verify")), p.isSet(QStringLiteral("yes")));
    if (action == QLatin1String("backups") && pos.size() == 1)
        return listBackups(ctx, p.isSet(QStringLiteral("json")));
    if (action == QLatin1String("export") && pos.size() == 2) {
        if (const std::optional<int> rc = exportFrequencyList(ctx, p, pos[1], output))
            return *rc;
        return exportCsv(ctx, pos[1], output);
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
        return diff(ctx, pos[1], pos[2], p.isSet(QStringLiteral("json")));
    if (action == QLatin1String("clear") && pos.size() == 1) {
        ctx.dialogs.assumeYes = p.isSet(QStringLiteral("yes"));
        if (!ctx.dialogs.assumeYes)
            return ctx.usageError(QStringLiteral("clear clears every slot; confirm with --yes"));
        return transfer(ctx, SlotTransferOperation::Kind::Clear, QString(), backup);
    }
    return ctx.usageError(
        action.isEmpty() ? QStringLiteral("expected an action: read, write, clear, show, backups, export, "
                                          "import or diff")
        : !findAction(action)
            ? QStringLiteral("unknown action '%1'").arg(action)
            : QStringLiteral("expected '%1'").arg(QString::fromLatin1(findAction(action))));
}

} // namespace lmk::ctl
