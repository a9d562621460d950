#include "files/UserFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace lmk {

namespace {

QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

#ifdef Q_OS_UNIX
QString kindOf(mode_t mode) {
    if (S_ISREG(mode))
        return {};
    if (S_ISFIFO(mode))
        return QStringLiteral("a FIFO (named pipe)");
    if (S_ISCHR(mode))
        return QStringLiteral("a character device");
    if (S_ISBLK(mode))
        return QStringLiteral("a block device");
    if (S_ISDIR(mode))
        return QStringLiteral("a directory");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    return QStringLiteral("not a file");
}
#endif

QString notRegularReason(const QString &kind) {
    return QStringLiteral("It is %1, not a regular file.").arg(kind);
}

QString tooLargeReason(qint64 size, qint64 maxSize) {
    return QStringLiteral("The file is too large: %1 bytes, at most %2 bytes are read.")
        .arg(size)
        .arg(maxSize);
}

} // namespace

QString specialFileKind(const QString &path) {
#ifdef Q_OS_UNIX
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return kindOf(st.st_mode);
#else
    const QFileInfo info(path);
    if (!info.exists() || info.isFile())
        return {};
    return info.isDir() ? QStringLiteral("a directory") : QStringLiteral("not a file");
#endif
}

bool nameNotDecodable(const QString &path) { return path.contains(QChar::ReplacementCharacter); }

QString missingFileReason(const QString &path) {
    if (nameNotDecodable(path))
        return QStringLiteral("Its name is not UTF-8 text, so this program cannot open it; rename "
                              "the file.");
    return systemReason(ENOENT);
}

FileContents readRegularFile(const QString &path, qint64 maxSize) {
    FileContents result;
    QFile file;
    qint64 size = 0;
#ifdef Q_OS_UNIX
    // Looked at before it is opened, and opened without blocking, so that a
    // FIFO or a device is refused at once instead of waiting for a writer.
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        result.error = errno == ENOENT ? missingFileReason(path) : systemReason(errno);
        return result;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const QString kind = kindOf(st.st_mode);
        ::close(fd);
        result.error = notRegularReason(kind.isEmpty() ? QStringLiteral("not a file") : kind);
        return result;
    }
    size = st.st_size;
    if (size > maxSize) {
        ::close(fd);
        result.error = tooLargeReason(size, maxSize);
        return result;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        result.error = file.errorString();
        return result;
    }
#else
    if (const QString kind = specialFileKind(path); !kind.isEmpty()) {
        result.error = notRegularReason(kind);
        return result;
    }
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QFileInfo::exists(path) ? file.errorString() : missingFileReason(path);
        return result;
    }
    size = file.size();
    if (size > maxSize) {
        result.error = tooLargeReason(size, maxSize);
        return result;
    }
#endif
    // A byte more than the size tells a file that grew beyond the limit
    // since it was looked at; the buffer never grows beyond that.
    QByteArray bytes = file.read(qMin(size, maxSize) + 1);
    while (bytes.size() <= maxSize && !file.atEnd() && file.error() == QFileDevice::NoError) {
        const QByteArray more = file.read(qMin<qint64>(maxSize + 1 - bytes.size(), 1 << 20));
        if (more.isEmpty())
            break;
        bytes += more;
    }
    if (file.error() != QFileDevice::NoError) {
        result.error = file.errorString();
        return result;
    }
    if (bytes.size() > maxSize) {
        result.error = tooLargeReason(bytes.size(), maxSize);
        return result;
    }
    result.bytes = std::move(bytes);
    return result;
}

QString outputRefusal(const QString &path) {
    const QString kind = specialFileKind(path);
    if (kind.isEmpty())
        return {};
    return QStringLiteral("It is %1, not a regular file, and is not replaced.").arg(kind);
}

QString saveWholeFile(const QString &path, QByteArrayView bytes, InPlaceFallback fallback) {
    if (const QString refusal = outputRefusal(path); !refusal.isEmpty())
        return refusal;
    QSaveFile file(path);
    file.setDirectWriteFallback(fallback == InPlaceFallback::Yes);
    if (fallback == InPlaceFallback::Yes) {
        // Written in place, a file is cut short by a disk that fills up on
        // the way: the space is checked before the old content goes.
        const QFileInfo target(path);
        const QStorageInfo storage(target.absolutePath());
        if (target.exists() && !QFileInfo(target.absolutePath()).isWritable() && storage.isValid() &&
            storage.bytesAvailable() >= 0 && storage.bytesAvailable() < bytes.size())
            return systemReason(ENOSPC);
    }
    // Unbuffered, so that every short write (disk full, quota, file size
    // limit) is seen here: a buffered close may drop the rest unreported.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    const auto fail = [&file](const QString &why) {
        file.cancelWriting();
        return why;
    };
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 n = file.write(bytes.data() + written, bytes.size() - written);
        if (n <= 0)
            return fail(file.error() != QFileDevice::NoError ? file.errorString()
                                                             : QStringLiteral("Write failed"));
        written += n;
    }
#ifdef Q_OS_UNIX
    // A file system that allocates late (or over the network) may only now
    // find that the blocks are not there.
    if (::fsync(file.handle()) != 0 && errno != EINVAL && errno != EROFS)
        return fail(systemReason(errno));
#endif
    if (!file.commit())
        return file.errorString();
    return {};
}

} // namespace lmk
