// lmkctl memory: read, write, clear and show the 63 memory slots; backups,
// CSV export and import, and the differences of two .Mem files.
#include "ctl/CtlCommands.h"

#include "memory/MemoryImage.h"
#include "memory/MemorySlots.h"
#include "memory/SlotBackups.h"
#include "memory/SlotCsv.h"
#include "memory/SlotDiff.h"
#include "memory/SlotRecord.h"
#include "memory/SlotTransferOperation.h"

#include <QCommandLineParser>
#include <QFile>
#include <QDir>
#include <QFileInfo>

namespace lmk::ctl {

namespace {

QString csvField(const QString &s) {
    if (!s.contains(QLatin1Char(',')) && !s.contains(QLatin1Char('"')) &&
        !s.contains(QLatin1Char('\n')))
        return s;
    QString q = s;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

int show(Context &ctx, const QString &path, bool csv) {
    MemoryImage image;
    QString error;
    if (!image.loadFromFile(path, &error)) {
        ctx.err << error << Qt::endl;
        return ExitUsage;
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
    if (csv) {
        for (const QStringList &row : rows) {
            QStringList fields;
            for (const QString &f : row)
                fields << csvField(f.trimmed());
            ctx.out << fields.join(QLatin1Char(',')) << '\n';
        }
    } else {
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

int transfer(Context &ctx, SlotTransferOperation::Kind kind, const QString &path,
             bool backup = false) {
    MemorySlots store(ctx.link);
    if (kind == SlotTransferOperation::Kind::Write) {
        QString error;
        if (!store.image().loadFromFile(path, &error)) {
            ctx.err << error << Qt::endl;
            return ExitUsage;
        }
        // Part of an image is never written; nothing is sent.
        if (store.image().size() < kSlotImageSize) {
            ctx.err << SlotTransferOperation::imageShortText(store.image().size()) << Qt::endl;
            return ExitUsage;
        }
    }
    if (!ctx.connect())
        return ExitNoConnection;
    // A write the operation refuses anyway (a short image) needs no backup.
    if (backup && (kind == SlotTransferOperation::Kind::Clear || store.image().holdsSlot(kSlotCount))) {
        const SlotBackupResult b = backupReceiverSlots(store, SlotBackupStore());
        if (!b.ok()) {
            ctx.err << b.error << Qt::endl
                    << "Nothing was written; --no-backup writes without a backup." << Qt::endl;
            return b.outcome == SlotTransferOperation::Outcome::Done ? ExitRefused
                                                                     : exitFor(b.outcome);
        }
        ctx.err << "Backup of the receiver's slots: " << b.path;
        if (!b.note.isEmpty())
            ctx.err << " (" << b.note << ")";
        ctx.err << Qt::endl;
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
    if (outcome != O::Done && !text.isEmpty())
        ctx.err << text << Qt::endl;
    if (outcome != O::Done)
        return exitFor(outcome);
    if (kind == SlotTransferOperation::Kind::Read) {
        QString error;
        if (!store.image().saveToFile(path, &error)) {
            ctx.err << error << Qt::endl;
            return ExitRefused;
        }
    }
    if (!text.isEmpty())
        ctx.err << text << Qt::endl;
    return ExitDone;
}

bool loadImage(Context &ctx, const QString &path, MemoryImage &image) {
    QString error;
    if (image.loadFromFile(path, &error))
        return true;
    ctx.err << error << Qt::endl;
    return false;
}

// The bytes into `path` atomically (standard output for an empty path).
bool saveBytes(Context &ctx, const QString &path, const QByteArray &bytes) {
    if (path.isEmpty()) {
        QFile out;
        if (out.open(stdout, QIODevice::WriteOnly) && out.write(bytes) == bytes.size())
            return true;
        ctx.err << "Cannot write to standard output." << Qt::endl;
        return false;
    }
    MemoryImage file;
    file.write(bytes);
    QString error;
    if (file.saveToFile(path, &error))
        return true;
    ctx.err << error << Qt::endl;
    return false;
}

int listBackups(Context &ctx) {
    for (const QString &path : SlotBackupStore().list())
        ctx.out << path << '\n';
    ctx.out.flush();
    return ExitDone;
}

int exportCsv(Context &ctx, const QString &imagePath, const QString &csvPath) {
    MemoryImage image;
    if (!loadImage(ctx, imagePath, image))
        return ExitUsage;
    return saveBytes(ctx, csvPath, exportSlotCsv(image.data())) ? ExitDone : ExitRefused;
}

int importCsv(Context &ctx, const QString &csvPath, const QString &basePath, const QString &out) {
    MemoryImage base;
    if (!basePath.isEmpty() && !loadImage(ctx, basePath, base))
        return ExitUsage;
    QFile f(csvPath);
    if (!f.open(QIODevice::ReadOnly)) {
        ctx.err << "Cannot open file \"" << csvPath << "\". " << f.errorString() << Qt::endl;
        return ExitUsage;
    }
    const QByteArray csv = f.read(kMaxSlotCsvSize + 1);
    const SlotCsvImport result = importSlotCsv(csv, base.data());
    if (!result.ok()) {
        ctx.err << QFileInfo(csvPath).fileName() << ": " << result.error << Qt::endl;
        return ExitUsage;
    }
    return saveBytes(ctx, out, result.image) ? ExitDone : ExitRefused;
}

int diff(Context &ctx, const QString &a, const QString &b) {
    MemoryImage first;
    MemoryImage second;
    if (!loadImage(ctx, a, first) || !loadImage(ctx, b, second))
        return ExitUsage;
    const SlotImageDiff d = diffSlotImages(first.data(), second.data());
    const QString nameA = QFileInfo(a).fileName();
    const QString nameB = QFileInfo(b).fileName();
    for (const SlotDifference &slot : d.differing)
        ctx.out << slotDifferenceText(slot, nameA, nameB) << '\n';
    if (d.trailingBytesDiffer)
        ctx.out << "Bytes after slot 63 differ\n";
    ctx.out.flush();
    return d.equal() ? ExitDone : ExitRefused;
}

} // namespace

int runMemory(Context &ctx, const QStringList &args) {
    QCommandLineParser p;
    p.addPositionalArgument(QStringLiteral("action"),
                            QStringLiteral("read, write, clear, show, backups, export, import or diff"));
    p.addPositionalArgument(QStringLiteral("file"), QStringLiteral("the .Mem or CSV file(s)"));
    p.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                 QStringLiteral("read, import: the .Mem file to write; export: the CSV file "
                                "(default: standard output)"),
                 QStringLiteral("file")});
    p.addOption({QStringLiteral("yes"), QStringLiteral("clear: confirm clearing every slot")});
    p.addOption({QStringLiteral("csv"), QStringLiteral("show: comma-separated values")});
    p.addOption({QStringLiteral("base"),
                 QStringLiteral("import: the .Mem file the CSV is applied to (default: all zero)"),
                 QStringLiteral("file")});
    p.addOption({QStringLiteral("no-backup"),
                 QStringLiteral("write, clear: do not read the slots into a backup first")});
    const QString description = QStringLiteral(
        "The receiver's 63 memory slots.\n"
        "  memory read -o FILE.Mem    read all slots into a file\n"
        "  memory write FILE.Mem      write a file's slots to the receiver\n"
        "  memory clear --yes         clear every slot\n"
        "  memory show FILE.Mem [--csv]  the slots' texts, one row per slot\n"
        "  memory backups             the backups, newest first\n"
        "  memory export FILE.Mem [-o FILE.csv]   the slots as CSV for spreadsheets\n"
        "  memory import FILE.csv [--base FILE.Mem] -o OUT.Mem   a CSV applied onto an image\n"
        "  memory diff A.Mem B.Mem    the slots that differ (exit 0 equal, 1 differ)\n"
        "Before a write or clear the receiver's slots are read into a backup .Mem file in\n"
        "%1; when that read fails, nothing is written\n"
        "(--no-backup writes without one). The newest %2 backups are kept.")
        .arg(QDir::toNativeSeparators(SlotBackupStore::defaultDirectory()))
        .arg(SlotBackupStore::kKept);
    if (int rc = parseCommand(ctx, p, args, description); rc >= 0)
        return rc;
    const QStringList pos = p.positionalArguments();
    const QString action = pos.value(0);
    if (action == QLatin1String("show") && pos.size() == 2)
        return show(ctx, pos[1], p.isSet(QStringLiteral("csv")));
    if (action == QLatin1String("read") && pos.size() == 1 && p.isSet(QStringLiteral("output")))
        return transfer(ctx, SlotTransferOperation::Kind::Read, p.value(QStringLiteral("output")));
    const bool backup = !p.isSet(QStringLiteral("no-backup"));
    const QString output = p.value(QStringLiteral("output"));
    if (action == QLatin1String("write") && pos.size() == 2)
        return transfer(ctx, SlotTransferOperation::Kind::Write, pos[1], backup);
    if (action == QLatin1String("backups") && pos.size() == 1)
        return listBackups(ctx);
    if (action == QLatin1String("export") && pos.size() == 2)
        return exportCsv(ctx, pos[1], output);
    if (action == QLatin1String("import") && pos.size() == 2 && !output.isEmpty())
        return importCsv(ctx, pos[1], p.value(QStringLiteral("base")), output);
    if (action == QLatin1String("diff") && pos.size() == 3)
        return diff(ctx, pos[1], pos[2]);
    if (action == QLatin1String("clear") && pos.size() == 1) {
        ctx.dialogs.assumeYes = p.isSet(QStringLiteral("yes"));
        if (!ctx.dialogs.assumeYes) {
            ctx.err << "lmkctl memory clear: clears every slot; confirm with --yes" << Qt::endl;
            return ExitUsage;
        }
        return transfer(ctx, SlotTransferOperation::Kind::Clear, QString(), backup);
    }
    ctx.err << "lmkctl memory: expected 'read -o FILE', 'write FILE', 'clear --yes', "
               "'show FILE [--csv]', 'backups', 'export FILE', 'import FILE -o OUT' or "
               "'diff A B'"
            << Qt::endl;
    return ExitUsage;
}

} // namespace lmk::ctl
