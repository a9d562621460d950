// The user's files: every save keeps the old file when the disk is full and
// never replaces a FIFO or a device; every loader refuses at once what is
// not a regular file; the upload file's own checks.
#include "display/ui/DisplayPage.h"
#include "files/UserFiles.h"
#include "link/DeviceLink.h"
#include "memory/MemoryImage.h"
#include "memory/SlotCsv.h"
#include "memory/SlotRecord.h"
#include "upload/UploadFile.h"
#include "upload/UploadOperation.h"

#include "CtlRun.h"
#include "FullDisk.h"
#include "ScriptedDialogs.h"
#include "SimProcess.h"
#include "TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLibraryInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace lmk;
using namespace lmk::test;

namespace {

enum class Saver { WindowPicture, MemFile, CtlExport, CtlImport };
enum class Target { FullDisk, Fifo, Device };

mode_t fileType(const QString &path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & S_IFMT) : 0;
}

// A character device node like /dev/null in `dir`, or /dev/null itself
// where nodes cannot be made (not root; then it cannot be replaced either).
QString deviceNode(const QTemporaryDir &dir) {
    const QString node = dir.filePath(QStringLiteral("null"));
    if (::mknod(QFile::encodeName(node).constData(), S_IFCHR | 0666, makedev(1, 3)) == 0)
        return node;
    return QStringLiteral("/dev/null");
}

QString fifo(const QTemporaryDir &dir) {
    const QString path = dir.filePath(QStringLiteral("pipe"));
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0 ? path : QString();
}

QStringList visibleFiles(const QString &folder) {
    return QDir(folder).entryList(QDir::Files | QDir::System, QDir::Name);
}

} // namespace

class TstUserFiles : public QObject {
    Q_OBJECT

    // The save that `saver` stands for, onto `path`; the message it gave.
    static QString save(Saver saver, const QString &path, const QTemporaryDir &work) {
        switch (saver) {
        case Saver::WindowPicture: {
            ScriptedDialogs dlg;
            DeviceLink link;
            DisplayPage page(link);
            page.savePicture(path);
            return dlg.texts.join(QLatin1Char('\n'));
        }
        case Saver::MemFile: {
            MemoryImage image;
            image.write(pseudoRandomBytes(kSlotImageSize));
            QString error;
            return image.saveToFile(path, &error) ? QString() : error;
        }
        case Saver::CtlExport:
        case Saver::CtlImport: {
            const QString image = work.filePath(QStringLiteral("in.Mem"));
            writeFileContents(image, QByteArray(kSlotImageSize, '\0'));
            const QString csv = work.filePath(QStringLiteral("in.csv"));
            writeFileContents(csv, exportSlotCsv(QByteArray(kSlotImageSize, '\0')));
            const CtlRun r = saver == Saver::CtlExport
                                 ? runCtl({"memory", "export", image, "-o", path})
                                 : runCtl({"memory", "import", csv, "--base", image, "-o", path});
            if (r.rc == 0)
                return {};
            return QString::fromUtf8(r.err) + QStringLiteral(" (exit %1)").arg(r.rc);
        }
        }
        return {};
    }

  private slots:
    void saves_data() {
        QTest::addColumn<Saver>("saver");
        QTest::addColumn<Target>("target");
        const QList<std::pair<const char *, Saver>> savers{
            {"window picture", Saver::WindowPicture},
            {".Mem", Saver::MemFile},
            {"lmkctl memory export -o", Saver::CtlExport},
            {"lmkctl memory import -o", Saver::CtlImport},
        };
        for (const auto &[name, saver] : savers) {
            QTest::addRow("%s, full disk", name) << saver << Target::FullDisk;
            QTest::addRow("%s, FIFO", name) << saver << Target::Fifo;
            QTest::addRow("%s, device node", name) << saver << Target::Device;
        }
    }

    // A save that cannot complete says why and leaves what was there.
    void saves() {
        QFETCH(Saver, saver);
        QFETCH(Target, target);
        QTemporaryDir work;
        if (target == Target::FullDisk) {
            FullDisk disk;
            const QString path = disk.filePath(QStringLiteral("existing.file"));
            const QByteArray old = pseudoRandomBytes(3000);
            QVERIFY(writeFileContents(path, old));
            QString message;
            disk.runFull([&] { message = save(saver, path, work); });
            QVERIFY2(message.contains(path), qPrintable(message));
            QVERIFY2(message.contains(disk.expectedReason()), qPrintable(message));
            QCOMPARE(fileContents(path), old);
            QCOMPARE(visibleFiles(QFileInfo(path).path()), QStringList{"existing.file"});
            return;
        }
        const QString path = target == Target::Fifo ? fifo(work) : deviceNode(work);
        QVERIFY(!path.isEmpty());
        const mode_t type = fileType(path);
        QElapsedTimer clock;
        clock.start();
        const QString message = save(saver, path, work);
        QVERIFY2(message.contains(QStringLiteral("not a regular file, and is not replaced")),
                 qPrintable(message));
        QVERIFY2(message.contains(path), qPrintable(message));
        QCOMPARE(fileType(path), type);
        QVERIFY(clock.elapsed() < 20000);
    }

    // Reading: what is not a regular file is refused at once, with the
    // path and its kind; a file above the limit is refused unread.
    void readRegular_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("FIFO") << "fifo" << "It is a FIFO (named pipe), not a regular file.";
        QTest::newRow("endless device") << "device" << "It is a character device, not a regular file.";
        QTest::newRow("directory") << "dir" << "It is a directory, not a regular file.";
        QTest::newRow("too large") << "large" << "The file is too large: 101 bytes, at most 100 bytes are read.";
        QTest::newRow("missing") << "missing" << "No such file or directory";
        QTest::newRow("name not UTF-8") << "latin1" << "Its name is not UTF-8 text";
        QTest::newRow("regular") << "regular" << "";
    }
    void readRegular() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("file"));
        if (kind == QLatin1String("fifo"))
            path = fifo(dir);
        else if (kind == QLatin1String("device"))
            path = QStringLiteral("/dev/zero");
        else if (kind == QLatin1String("dir"))
            path = dir.path();
        else if (kind == QLatin1String("large"))
            QVERIFY(writeFileContents(path, QByteArray(101, 'x')));
        else if (kind == QLatin1String("regular"))
            QVERIFY(writeFileContents(path, QByteArray(100, 'x')));
        else if (kind == QLatin1String("latin1")) {
            // The name's bytes are Latin-1 ("café"), which a UTF-8 system
            // shows with a replacement character.
            const QByteArray raw = QFile::encodeName(dir.path()) + "/caf\xe9";
            const int fd = ::open(raw.constData(), O_CREAT | O_WRONLY, 0600);
            QVERIFY(fd >= 0);
            ::close(fd);
            path = QString::fromUtf8(raw);
            QVERIFY(path.contains(QChar::ReplacementCharacter));
        }
        const FileContents read = readRegularFile(path, 100);
        if (kind == QLatin1String("latin1")) // QTemporaryDir cannot name it to remove it
            ::unlink((QFile::encodeName(dir.path()) + "/caf\xe9").constData());
        if (reason.isEmpty()) {
            QVERIFY2(read.ok(), qPrintable(read.error));
            QCOMPARE(read.bytes, QByteArray(100, 'x'));
        } else {
            QVERIFY2(read.error.startsWith(reason), qPrintable(read.error));
            QVERIFY(read.bytes.isEmpty());
        }
    }

    // Every loader, in the window and in lmkctl, refuses a FIFO and a
    // device at once and names the path (an old reader waited for a
    // writer, or read /dev/zero for ever).
    void loaders_data() {
        QTest::addColumn<QString>("loader");
        QTest::addColumn<QString>("input");
        for (const char *loader : {".Mem", "upload", "lmkctl memory show", "lmkctl memory write",
                                   "lmkctl memory import", "lmkctl memory import --base",
                                   "lmkctl memory export", "lmkctl memory diff", "lmkctl upload"}) {
            QTest::addRow("%s, FIFO", loader) << loader << "fifo";
            QTest::addRow("%s, device", loader) << loader << "device";
        }
    }
    void loaders() {
        QFETCH(QString, loader);
        QFETCH(QString, input);
        QTemporaryDir dir;
        const QString path = input == QLatin1String("fifo") ? fifo(dir) : QStringLiteral("/dev/zero");
        const QString kind = input == QLatin1String("fifo") ? QStringLiteral("a FIFO (named pipe)")
                                                            : QStringLiteral("a character device");
        const QString image = dir.filePath(QStringLiteral("ok.Mem"));
        QVERIFY(writeFileContents(image, QByteArray(kSlotImageSize, '\0')));
        const QString out = dir.filePath(QStringLiteral("out"));
        QString message;
        int rc = 2;
        if (loader == QLatin1String(".Mem")) {
            MemoryImage img;
            QVERIFY(!img.loadFromFile(path, &message));
        } else if (loader == QLatin1String("upload")) {
            DeviceLink link;
            link.setWlanChecked(true); // a transport: only the file is in the way
            UploadOperation op(link);
            UploadRequest req;
            req.fileChosen = true;
            req.filePath = path;
            const UploadResult r = op.run(req);
            QCOMPARE(r.outcome, UploadOutcome::Unreadable);
            message = r.message;
        } else {
            QStringList args = loader.split(QLatin1Char(' ')).mid(1);
            const QString action = args.value(1);
            if (action == QLatin1String("import") && args.size() == 3) // --base: the image is bad
                args = {"memory", "import", image, "--base", path, "-o", out};
            else if (action == QLatin1String("import"))
                args = {"memory", "import", path, "--base", image, "-o", out};
            else if (action == QLatin1String("diff"))
                args = {"memory", "diff", image, path};
            else if (action == QLatin1String("export"))
                args << path << "-o" << out;
            else
                args << path;
            const CtlRun r = runCtl(args);
            rc = r.rc;
            message = QString::fromUtf8(r.err);
        }
        QCOMPARE(rc, 2);
        QVERIFY2(message.contains(path), qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("It is %1, not a regular file.").arg(kind)),
                 qPrintable(message));
        QVERIFY(!QFile::exists(out));
    }

    // The upload file: what the receiver cannot take is named with the
    // limit, before anything is sent.
    void uploadFile_data() {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QString>("message"); // %1: the path
        QTest::newRow("empty") << qint64(0) << "File \"%1\" is empty: there is nothing to load.";
        QTest::newRow("one byte above the limit")
            << upload::kMaxUploadSize + 1
            << "File \"%1\" is 67108865 bytes; at most 67108864 bytes (64 MiB) can be loaded into "
               "the receiver.";
        QTest::newRow("2 GiB") << (qint64(2) << 30)
                               << "File \"%1\" is 2147483648 bytes; at most 67108864 bytes (64 "
                                  "MiB) can be loaded into the receiver.";
        QTest::newRow("at the limit") << upload::kMaxUploadSize << "";
    }
    void uploadFile() {
        QFETCH(qint64, size);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("LMK1.RPD"));
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QVERIFY(f.resize(size)); // sparse
        }
        const upload::UploadFile file = upload::loadUploadFile(path);
        QCOMPARE(file.error, message.isEmpty() ? QString() : message.arg(path));
        QCOMPARE(file.bytes.size(), message.isEmpty() ? size : 0);
    }

    // "-" is standard input or output in lmkctl's file arguments, never a
    // file of that name.
    void standardStreams_data() {
        QTest::addColumn<QStringList>("args"); // %IMAGE%: a .Mem file
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("rc");
        QTest::addColumn<QByteArray>("out"); // empty: not compared
        QTest::addColumn<QString>("err");    // a part of standard error
        const QByteArray image = pseudoRandomBytes(kSlotImageSize);
        const QByteArray csv = exportSlotCsv(image);
        QTest::newRow("show -") << QStringList{"memory", "show", "-"} << image << 0 << QByteArray() << "";
        QTest::newRow("show - --csv") << QStringList{"memory", "show", "-", "--csv"} << image << 0 << csv << "";
        QTest::newRow("show - warns about a longer image")
            << QStringList{"memory", "show", "-"} << image + "x" << 0 << QByteArray()
            << "Warning: standard input is 16129 bytes, not 16128 (63 slots of 256 bytes)";
        QTest::newRow("export - -o -") << QStringList{"memory", "export", "-", "-o", "-"} << image << 0
                                       << csv << "";
        QTest::newRow("import - --base IMAGE -o -")
            << QStringList{"memory", "import", "-", "--base", "%IMAGE%", "-o", "-"} << csv << 0
            << image << "";
        QTest::newRow("import CSV --base - -o -")
            << QStringList{"memory", "import", "%CSV%", "--base", "-", "-o", "-"} << image << 0
            << image << "";
        QTest::newRow("import - --base -")
            << QStringList{"memory", "import", "-", "--base", "-", "-o", "-"} << csv << 2
            << QByteArray() << "only one of the CSV and the base can be '-'";
        QTest::newRow("diff IMAGE -") << QStringList{"memory", "diff", "%IMAGE%", "-"} << image << 0
                                      << QByteArray() << "";
        QTest::newRow("write - of 63 slots and a byte needs --yes")
            << QStringList{"memory", "write", "-"} << image + "x" << 2 << QByteArray()
            << "standard input is 16129 bytes, not 16128 (63 slots of 256 bytes); only its first "
               "63 slots would be written. Confirm with --yes.";
        QTest::newRow("upload - empty")
            << QStringList{"upload", "-"} << QByteArray() << 2 << QByteArray()
            << "File \"standard input\" is empty: there is nothing to load.";
        QTest::newRow("import without --base")
            << QStringList{"memory", "import", "-", "-o", "-"} << csv << 2 << QByteArray()
            << "--base FILE.Mem is required";
    }
    void standardStreams() {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, input);
        QFETCH(int, rc);
        QFETCH(QByteArray, out);
        QFETCH(QString, err);
        QTemporaryDir dir;
        const QByteArray image = pseudoRandomBytes(kSlotImageSize);
        QVERIFY(writeFileContents(dir.filePath(QStringLiteral("image.Mem")), image));
        QVERIFY(writeFileContents(dir.filePath(QStringLiteral("slots.csv")), exportSlotCsv(image)));
        args.replaceInStrings(QStringLiteral("%IMAGE%"), dir.filePath(QStringLiteral("image.Mem")));
        args.replaceInStrings(QStringLiteral("%CSV%"), dir.filePath(QStringLiteral("slots.csv")));
        const CtlRun r = runCtl(args, input, dir.path());
        QVERIFY2(r.rc == rc, r.err.constData());
        if (!out.isEmpty())
            QCOMPARE(r.out, out);
        QVERIFY2(QString::fromUtf8(r.err).contains(err), r.err.constData());
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("-"))));
    }

    // From the receiver to standard output: the slots and the picture.
    void standardOutputFromReceiver() {
        SimProcess sim;
        QVERIFY(sim.start());
        QTemporaryDir dir;
        const QList<std::pair<QString, QString>> env{{"LMK_PORT", QString::number(sim.port())}};
        CtlRun r = runCtl({"memory", "read", "-o", "-"}, {}, dir.path(), env);
        QVERIFY2(r.rc == 0, r.err.constData());
        QCOMPARE(r.out.size(), kSlotImageSize);
        QCOMPARE(r.out, fileContents(QDir(sim.stateDir()).filePath(QStringLiteral("slots.bin"))));
        for (const char *format : {"png", "bmp"}) {
            r = runCtl({"scan", "--area", "0,0,20,10", "--format", format, "-o", "-"}, {}, dir.path(), env);
            QVERIFY2(r.rc == 0, r.err.constData());
            QImage picture;
            QVERIFY(picture.loadFromData(r.out, format));
            QCOMPARE(picture.size(), QSize(20, 10));
            QVERIFY2(r.err.contains("-: 20 x 10 pixels"), r.err.constData());
        }
        r = runCtl({"scan", "-o", "-"}, {}, dir.path(), env);
        QCOMPARE(r.rc, 2);
        QVERIFY2(r.err.contains("--format must be png or bmp"), r.err.constData());
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("-"))));
    }

    // A wrong LMK_USB_LIBRARY is named with the loader's reason.
    void usbLibraryReasons_data() {
        QTest::addColumn<QString>("library"); // "": unset
        QTest::addColumn<QString>("reason");
        QTest::newRow("unset") << "" << "LMK_USB_LIBRARY is not set";
        QTest::newRow("missing") << "missing.so" << "No such file or directory";
        QTest::newRow("empty file") << "empty.so" << "file too short";
        QTest::newRow("not a library") << "text.so" << "invalid ELF header";
        QTest::newRow("without the entry points")
            << QLibraryInfo::path(QLibraryInfo::LibrariesPath) + "/libQt6Core.so.6"
            << "does not export LMK_Open, LMK_Write and LMK_Close";
    }
    void usbLibraryReasons() {
        QFETCH(QString, library);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QVERIFY(writeFileContents(dir.filePath(QStringLiteral("empty.so")), QByteArray()));
        QVERIFY(writeFileContents(dir.filePath(QStringLiteral("text.so")),
                                  QByteArray("not a library, only text\n").repeated(20)));
        const QString path = QDir(dir.path()).absoluteFilePath(library);
        QList<std::pair<QString, QString>> env;
        if (!library.isEmpty())
            env.push_back({QStringLiteral("LMK_USB_LIBRARY"), path});
        const CtlRun r = runCtl({"--usb", "ap", "show"}, {}, {}, env);
        QCOMPARE(r.rc, 3);
        const QString err = QString::fromUtf8(r.err);
        QVERIFY2(err.startsWith(QStringLiteral("lmkctl: No USB connection available! (")), qPrintable(err));
        QVERIFY2(err.contains(reason), qPrintable(err));
        if (!library.isEmpty())
            QVERIFY2(err.contains(path), qPrintable(err));
    }
};

QTEST_MAIN(TstUserFiles)
#include "tst_userfiles.moc"
