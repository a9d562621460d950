#include "ctl/CtlFiles.h"

#include "ctl/CtlEnding.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace lmk::ctl {

bool isStandardStream(const QString &path) { return path == QLatin1String("-"); }

QString shownInputName(const QString &path) {
    return isStandardStream(path) ? QStringLiteral("standard input") : QDir::toNativeSeparators(path);
}

FileContents readInput(const QString &path, qint64 maxSize) {
    if (!isStandardStream(path)) {
        FileContents read = readRegularFile(path, maxSize);
        if (!read.ok())
            read.error = QStringLiteral("Cannot open file \"%1\". %2")
                             .arg(QDir::toNativeSeparators(path), read.error);
        return read;
    }
    FileContents read;
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly)) {
        read.error = QStringLiteral("Cannot read standard input. %1").arg(in.errorString());
        return read;
    }
    QByteArray bytes;
    while (bytes.size() <= maxSize) {
        const QByteArray more = in.read(qMin<qint64>(maxSize + 1 - bytes.size(), 1 << 20));
        if (more.isEmpty())
            break;
        bytes += more;
    }
    if (in.error() != QFileDevice::NoError)
        read.error = QStringLiteral("Cannot read standard input. %1").arg(in.errorString());
    else if (bytes.size() > maxSize)
        read.error = QStringLiteral("Standard input is too large: more than %1 bytes.").arg(maxSize);
    else
        read.bytes = std::move(bytes);
    return read;
}

QString writeOutput(const QString &path, const QByteArray &bytes) {
    if (isStandardStream(path)) {
        StandardOutput &out = StandardOutput::instance();
        out.write(bytes);
        // A reader that went away is no error to report: the run ends
        // quietly (CtlEnding.h).
        if (out.failure() == 0 || out.closedPipe())
            return QString();
        out.setFailureReported();
        return out.failureText();
    }
    const QString why = saveWholeFile(path, bytes);
    if (why.isEmpty())
        return {};
    return QStringLiteral("Cannot create file \"%1\". %2").arg(QDir::toNativeSeparators(path), why);
}

} // namespace lmk::ctl
