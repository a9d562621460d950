// lmkctl memory: read, write, clear and show the 63 memory slots.
#include "ctl/CtlCommands.h"

#include "memory/MemoryImage.h"
#include "memory/MemorySlots.h"
#include "memory/SlotRecord.h"
#include "memory/SlotTransferOperation.h"

#include <QCommandLineParser>

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

int transfer(Context &ctx, SlotTransferOperation::Kind kind, const QString &path) {
    if (!ctx.connect())
        return ExitNoConnection;
    MemorySlots store(ctx.link);
    if (kind == SlotTransferOperation::Kind::Write) {
        QString error;
        if (!store.image().loadFromFile(path, &error)) {
            ctx.err << error << Qt::endl;
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
    const QString text = SlotTransferOperation::outcomeText(kind, outcome);
    if (outcome != O::Done && !text.isEmpty() && !ctx.dialogs.shown.contains(text))
        ctx.err << text << Qt::endl;
    switch (outcome) {
    case O::Done:
        break;
    case O::NoTransport:
    case O::LinkLost:
        return ExitNoConnection;
    case O::Timeout:
        return ExitTimeout;
    case O::Busy:
    case O::Refused:
    case O::ReadError:
    case O::ImageShort:
        return ExitRefused;
    }
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

} // namespace

int runMemory(Context &ctx, const QStringList &args) {
    QCommandLineParser p;
    p.addPositionalArgument(QStringLiteral("action"), QStringLiteral("read, write, clear or show"));
    p.addPositionalArgument(QStringLiteral("file"), QStringLiteral("the .Mem file (write, show)"));
    p.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                 QStringLiteral("read: the .Mem file to write"), QStringLiteral("file")});
    p.addOption({QStringLiteral("yes"), QStringLiteral("clear: confirm clearing every slot")});
    p.addOption({QStringLiteral("csv"), QStringLiteral("show: comma-separated values")});
    const QString description = QStringLiteral(
        "The receiver's 63 memory slots.\n"
        "  memory read -o FILE.Mem    read all slots into a file\n"
        "  memory write FILE.Mem      write a file's slots to the receiver\n"
        "  memory clear --yes         clear every slot\n"
        "  memory show FILE.Mem [--csv]  the slots' texts, one row per slot");
    if (int rc = parseCommand(ctx, p, args, description); rc >= 0)
        return rc;
    const QStringList pos = p.positionalArguments();
    const QString action = pos.value(0);
    if (action == QLatin1String("show") && pos.size() == 2)
        return show(ctx, pos[1], p.isSet(QStringLiteral("csv")));
    if (action == QLatin1String("read") && pos.size() == 1 && p.isSet(QStringLiteral("output")))
        return transfer(ctx, SlotTransferOperation::Kind::Read, p.value(QStringLiteral("output")));
    if (action == QLatin1String("write") && pos.size() == 2)
        return transfer(ctx, SlotTransferOperation::Kind::Write, pos[1]);
    if (action == QLatin1String("clear") && pos.size() == 1) {
        ctx.dialogs.assumeYes = p.isSet(QStringLiteral("yes"));
        if (!ctx.dialogs.assumeYes) {
            ctx.err << "lmkctl memory clear: clears every slot; confirm with --yes" << Qt::endl;
            return ExitUsage;
        }
        return transfer(ctx, SlotTransferOperation::Kind::Clear, QString());
    }
    ctx.err << "lmkctl memory: expected 'read -o FILE', 'write FILE', 'clear --yes' or "
               "'show FILE [--csv]'"
            << Qt::endl;
    return ExitUsage;
}

} // namespace lmk::ctl
