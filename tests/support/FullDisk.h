#pragma once
// A small file system that tests fill up, to see what a save does when the
// disk is full: a 256 KiB tmpfs mounted on a temporary folder when the tests
// may mount (root with the right to mount); otherwise a plain temporary
// folder, and runFull() then limits the size of the files the process (and
// the programs it starts) may write, which fails writes the same way.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <csignal>
#include <functional>

#ifdef Q_OS_LINUX
#include <sys/mount.h>
#include <sys/resource.h>
#endif

namespace lmk::test {

class FullDisk {
  public:
    FullDisk() {
#ifdef Q_OS_LINUX
        m_mounted = ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs",
                            MS_NOSUID | MS_NODEV, "size=256k,mode=0700") == 0;
#endif
    }
    ~FullDisk() {
#ifdef Q_OS_LINUX
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
#endif
    }
    FullDisk(const FullDisk &) = delete;
    FullDisk &operator=(const FullDisk &) = delete;

    bool isTmpfs() const { return m_mounted; }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    // The reason the system gives for the failed write.
    QString expectedReason() const {
        return m_mounted ? QStringLiteral("No space left on device") : QStringLiteral("File too large");
    }

    // Runs `action` while no file on this disk can grow: the tmpfs is
    // filled up first (a filler file takes every free block), or else files
    // are limited to `limit` bytes.
    void runFull(const std::function<void()> &action, qint64 limit = 4096) {
        if (m_mounted) {
            fill();
            action();
            QFile::remove(filePath(QStringLiteral(".filler")));
            return;
        }
#ifdef Q_OS_LINUX
        rlimit saved{};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = rlim_t(limit);
        ::setrlimit(RLIMIT_FSIZE, &small);
        action();
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
#else
        action();
#endif
    }

  private:
    void fill() {
        QFile filler(filePath(QStringLiteral(".filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return;
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size()) {
        }
        // The last partial block, byte by byte.
        while (filler.write("f", 1) == 1) {
        }
    }

    QTemporaryDir m_dir;
    bool m_mounted = false;
};

} // namespace lmk::test
