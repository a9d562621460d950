// lmkctl sync, tasks and upload: the "Update 54/55" page's synchronisation,
// task search and upload, driven through the same operations.
#include "ctl/CtlCommands.h"
#include "ctl/CtlFiles.h"

#include "upload/SyncOperation.h"
#include "upload/TaskListCodec.h"
#include "upload/TaskListReader.h"
#include "upload/TaskSearchOperation.h"
#include "upload/UploadFile.h"
#include "upload/UploadOperation.h"
#include "upload/UploadProgress.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QRegularExpression>

namespace lmk::ctl {

namespace {

constexpr const char *kBootNotActiveText = "Bootloader not active!";
constexpr const char *kNoLinkText = "No connection available!";

// The name of an upload phase in the JSON lines.
QString phaseName(const QString &text) {
    if (text == QLatin1String(UploadOperation::kClearingText))
        return QStringLiteral("clearing");
    if (text == QLatin1String(UploadOperation::kBytesSentText))
        return QStringLiteral("sending");
    return text;
}

// Runs the synchronisation. Returns -1 when the receiver answered, or the
// exit code of the failure (already reported).
int synchronise(Context &ctx, SyncResult &result) {
    SyncOperation op(ctx.link);
    result = op.run();
    if (!result.ran) {
        ctx.error(kNoLinkText);
        return ExitNoConnection;
    }
    if (result.firstAnswer == -1) // no answer: it timed out, or something else came
        return ctx.fail(ctx.connectionLost() ? QString() : QString::fromLatin1(kTimeoutText),
                        result.end == ExchangeEnd::Unexpected ? ExchangeEnd::Timeout
                                                              : result.end);
    return -1;
}

// Synchronises and, with the bootloader active, searches the task list.
// Returns -1 with the entries, or the exit code (already reported).
int searchTasks(Context &ctx, QStringList &entries, SyncResult &sync) {
    if (int rc = synchronise(ctx, sync); rc >= 0)
        return rc;
    TaskListReader reader(ctx.link);
    TaskSearchOperation search(ctx.link);
    search.setReader(&reader);
    const SearchResult r = search.run(sync.bootActive);
    if (r.outcome == SearchOutcome::BootloaderNotActive) {
        ctx.error(r.message);
        return ExitRefused;
    }
    if (r.outcome == SearchOutcome::NoConnection) {
        ctx.error(r.message);
        return ExitNoConnection;
    }
    entries = reader.entries();
    if (entries.isEmpty()) { // no list came: timeout, lost link or another reply
        if (r.end == ExchangeEnd::Timeout)
            return ctx.fail(QString::fromLatin1(kTimeoutText), r.end);
        return ctx.fail(r.message, r.end == ExchangeEnd::LinkLost ? r.end : ExchangeEnd::Unexpected);
    }
    return -1;
}

// "A,B,C": three hexadecimal 16-bit task ids.
std::optional<QString> entryFromIds(const QString &text) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 3)
        return std::nullopt;
    quint32 ids[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        const uint v = parts[i].trimmed().toUInt(&ok, 16);
        if (!ok || v > 0xFFFF)
            return std::nullopt;
        ids[i] = v;
    }
    return upload::taskEntryText(ids[0], ids[1], ids[2]);
}

} // namespace

int runSync(Context &ctx, const QCommandLineParser &p) {
    if (!p.positionalArguments().isEmpty())
        return ctx.usageError(QStringLiteral("takes no arguments"));
    if (!ctx.connect())
        return ExitNoConnection;
    SyncResult r;
    if (int rc = synchronise(ctx, r); rc >= 0)
        return rc;
    if (p.isSet(QStringLiteral("json")))
        ctx.printJson({{QStringLiteral("bootloader"), r.bootActive},
                       {QStringLiteral("configuration"), r.configActive}});
    else if (r.bootActive)
        ctx.out << "Bootloader active" << Qt::endl;
    else if (r.configActive)
        ctx.out << "Configuration active" << Qt::endl;
    else
        ctx.out << "Neither bootloader nor configuration active" << Qt::endl;
    return ExitDone;
}

int runTasks(Context &ctx, const QCommandLineParser &p) {
    if (!p.positionalArguments().isEmpty())
        return ctx.usageError(QStringLiteral("takes no arguments"));
    if (!ctx.connect())
        return ExitNoConnection;
    QStringList entries;
    SyncResult sync;
    if (int rc = searchTasks(ctx, entries, sync); rc >= 0)
        return rc;
    ctx.note(QStringLiteral("Transfer finished!"));
    if (p.isSet(QStringLiteral("json"))) {
        // The receiver's "No Tasks found!" is an empty list here.
        QJsonArray tasks;
        for (const QString &e : entries) {
            static const QRegularExpression entry(QStringLiteral("^[0-9A-Fa-f]+  [0-9A-Fa-f]+  [0-9A-Fa-f]+$"));
            if (!entry.match(e).hasMatch())
                continue;
            const QStringList ids = e.split(QLatin1Char(' '), Qt::SkipEmptyParts);
                tasks.append(QJsonObject{{QStringLiteral("ids"), QJsonArray::fromStringList(ids)},
                                         {QStringLiteral("text"), e}});
        }
        ctx.printJson({{QStringLiteral("tasks"), tasks}});
        return ExitDone;
    }
    for (const QString &e : entries)
        ctx.out << e << '\n';
    ctx.out.flush();
    return ExitDone;
}

int runUpload(Context &ctx, const QCommandLineParser &p) {
    const QStringList pos = p.positionalArguments();
    if (pos.size() != 1)
        return ctx.usageError(pos.isEmpty() ? QStringLiteral("expected FILE")
                                            : QStringLiteral("expected one FILE, got %1 arguments").arg(pos.size()));
    if (p.isSet(QStringLiteral("task")) && p.isSet(QStringLiteral("ids")))
        return ctx.usageError(QStringLiteral("--task and --ids name the target twice; give one"));
    // The file is read and checked before the receiver is asked anything.
    const QString path = pos[0];
    const QFileInfo info(path);
    // A link that leads nowhere (a loop, a missing target) is read below,
    // so that the system's reason is told.
    if (!isStandardStream(path) && !info.exists() && !info.isSymLink() && !nameNotDecodable(path)) {
        return ctx.usageError(path + QStringLiteral(": no such file"));
    }
    upload::UploadFile file;
    if (isStandardStream(path)) {
        FileContents read = readInput(path, upload::kMaxUploadSize);
        file = read.ok() ? upload::checkUploadBytes(std::move(read.bytes), shownInputName(path))
                         : upload::UploadFile{{}, read.error};
    } else {
        file = upload::loadUploadFile(path);
    }
    if (!file.ok()) {
        ctx.err << "lmkctl upload: " << file.error << Qt::endl;
        return ExitUsage;
    }
    int taskNumber = 0;
    QString taskEntry;
    if (p.isSet(QStringLiteral("task"))) {
        bool ok = false;
        taskNumber = p.value(QStringLiteral("task")).toInt(&ok);
        if (!ok || taskNumber < 1)
            return ctx.usageError(QStringLiteral("--task needs a number from 1"));
    } else if (p.isSet(QStringLiteral("ids"))) {
        const auto entry = entryFromIds(p.value(QStringLiteral("ids")));
        if (!entry)
            return ctx.usageError(QStringLiteral("--ids needs three hexadecimal ids from 0 to FFFF, "
                                                 "e.g. 01A2,0003,00F0"));
        taskEntry = *entry;
    }
    const bool external = taskNumber > 0 || !taskEntry.isEmpty();

    if (!ctx.connect())
        return ExitNoConnection;
    SyncResult sync;
    if (taskNumber > 0) {
        QStringList entries;
        if (int rc = searchTasks(ctx, entries, sync); rc >= 0)
            return rc;
        if (taskNumber > entries.size()) {
            ctx.err << "lmkctl upload: the receiver lists " << entries.size()
                    << (entries.size() == 1 ? " task" : " tasks") << ", not " << taskNumber
                    << Qt::endl;
            return ExitUsage;
        }
        taskEntry = entries[taskNumber - 1];
    } else if (int rc = synchronise(ctx, sync); rc >= 0) {
        return rc;
    }
    if (!sync.uploadEnabled) { // the window keeps "Start" disabled
        ctx.error(kBootNotActiveText);
        return ExitRefused;
    }

    UploadRequest req;
    req.fileChosen = true;
    req.filePath = path;
    req.contents = std::move(file.bytes);
    req.target = external ? upload::Target::External : upload::Target::Configuration;
    req.taskEntry = taskEntry;
    ctx.dialogs.assumeYes = p.isSet(QStringLiteral("yes"));
    UploadOperation op(ctx.link);
    // Every phase gets a line of its own, the erase included, with the time
    // left once the receiver takes bytes; a terminal shows a bar besides.
    UploadProgress progress;
    QElapsedTimer clock;
    QObject::connect(&op, &UploadOperation::started, [&] {
        clock.start();
        progress.start(0);
    });
    const bool json = p.isSet(QStringLiteral("json"));
    qint64 total = 0;
    QObject::connect(&op, &UploadOperation::phaseChanged, [&](const QString &text) {
        const qint64 now = clock.elapsed();
        progress.phase(text, now);
        // The bar of the phase before goes; the next phase draws its own.
        ctx.clearProgress();
        if (json)
            ctx.printJson({{QStringLiteral("phase"), phaseName(text)},
                           {QStringLiteral("text"), text},
                           {QStringLiteral("size"), total}});
        ctx.note(progress.bytesFlowing() ? progress.line(now)
                                         : progress.line(now) + QStringLiteral("  ") + progress.timeLeft(now));
    });
    QObject::connect(&op, &UploadOperation::bytesSent, [&](qint64 sent, qint64 size) {
        progress.bytes(sent, size, clock.elapsed());
        ctx.progress(QStringLiteral("upload"), sent, size, ProgressUnit::Bytes);
    });
    total = req.contents ? req.contents->size() : 0;
    const UploadResult r = op.run(req);
    ctx.endProgress();
    const QString target =
        external ? QStringLiteral("task ") + taskEntry : QStringLiteral("the configuration");
    if (ctx.stopping()) {
        if (json)
            ctx.printJson({{QStringLiteral("phase"), QStringLiteral("stopped")},
                           {QStringLiteral("sent"), r.sent},
                           {QStringLiteral("size"), r.size}});
        return ctx.stopped(r.transferred
                               ? QStringLiteral("The upload stopped after %1 of %2 bytes: %3 does not "
                                                "hold the whole file.")
                                     .arg(r.sent)
                                     .arg(r.size)
                                     .arg(target)
                               : QStringLiteral("Nothing was loaded."));
    }
    if (json)
        ctx.printJson({{QStringLiteral("phase"), r.outcome == UploadOutcome::Completed
                                                     ? QStringLiteral("finished")
                                                     : QStringLiteral("failed")},
                       {QStringLiteral("text"), r.message},
                       {QStringLiteral("sent"), r.sent},
                       {QStringLiteral("size"), r.size},
                       {QStringLiteral("target"), target}});
    switch (r.outcome) {
    case UploadOutcome::Completed:
        ctx.note(r.message);
        if (!json)
            ctx.out << r.size << " bytes loaded into " << target << Qt::endl;
        return ExitDone;
    case UploadOutcome::Declined: // the question was printed with its hint
        return ExitUsage;
    case UploadOutcome::NotStarted:
        ctx.error(r.message);
        return ctx.link.hasTransport() ? ExitUsage : ExitNoConnection;
    case UploadOutcome::Unreadable:
        ctx.error(r.message);
        return ExitUsage;
    case UploadOutcome::NoTaskIds:
    case UploadOutcome::IdTooLarge:
        ctx.error(r.message);
        return ExitRefused;
    case UploadOutcome::Busy:
        ctx.err << r.message << Qt::endl;
        return ExitRefused;
    case UploadOutcome::Refused:
        return ctx.fail(r.message, ExchangeEnd::Unexpected);
    case UploadOutcome::Ended:
    case UploadOutcome::Abandoned:
        break;
    }
    return ctx.fail(r.message, r.end);
}

} // namespace lmk::ctl
