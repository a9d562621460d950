#include "ctl/ScanOutput.h"

#include "link/DeviceLink.h"
#include "link/Exchange.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>

#include <cstring>

namespace lmk::ctl {

QString receiverVersionText(DeviceLink &link, ExchangeResult *result) {
    QString text;
    Exchange exchange(link, QStringLiteral("Version request"));
    exchange.sink.version = [&](const QString &t) {
        text = t;
        exchange.finish();
    };
    exchange.startReplyTimer(1000);
    if (exchange.send(QByteArray(1, char(0x12))))
        exchange.waitWhile([] { return true; }); // status words do not end it
    if (result)
        *result = exchange.end() == ExchangeEnd::Unexpected ? exchange.result()
                                                            : ExchangeResult{exchange.end(), -1};
    return text;
}

QString scanRefusalText(int code) {
    switch (code) {
    case 0x01:
        return QStringLiteral("code 1: the area is not on the receiver's screen");
    case 0x02:
        return QStringLiteral("code 2: the area is empty (no width or no height)");
    default:
        return QStringLiteral("code %1: a code without a known meaning").arg(code);
    }
}

QString outputProblem(const QString &path) {
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir())
        return QStringLiteral("the folder %1 does not exist").arg(folder.filePath());
    if (file.isDir())
        return QStringLiteral("%1 is a folder").arg(path);
    if (file.exists() && !file.isFile())
        return QStringLiteral("%1 is not a regular file").arg(path);
    if (file.exists() && !file.isWritable())
        return QStringLiteral("%1 may not be written").arg(path);
    // A new file needs a folder that may be written; an existing one is
    // replaced through a temporary file there, or written in place.
    if (!file.exists() && !folder.isWritable())
        return QStringLiteral("the folder %1 may not be written").arg(folder.filePath());
    return QString();
}

QString folderProblem(const QString &dir) {
    QFileInfo at(QDir::cleanPath(QDir(dir).absolutePath()));
    while (!at.exists() && !at.isSymLink()) {
        const QString parent = at.absolutePath();
        if (parent == at.absoluteFilePath())
            break;
        at = QFileInfo(parent);
    }
    const QString shown = QDir::toNativeSeparators(at.absoluteFilePath());
    if (!at.isDir())
        return QStringLiteral("%1 is not a folder").arg(shown);
    if (!at.isWritable())
        return QStringLiteral("the folder %1 may not be written").arg(shown);
    return QString();
}

namespace {
bool displayReachable() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    for (const char *name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"})
        if (!qEnvironmentVariableIsEmpty(name))
            return true;
    return false;
#else
    return true;
#endif
}
} // namespace

std::unique_ptr<QCoreApplication> createApplication(int &argc, char **argv) {
    bool clipboard = false;
    for (int i = 1; i < argc; ++i)
        clipboard = clipboard || std::strcmp(argv[i], "--clipboard") == 0;
    if (clipboard && displayReachable())
        return std::make_unique<QGuiApplication>(argc, argv);
    return std::make_unique<QCoreApplication>(argc, argv);
}

bool clipboardAvailable() {
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
}

void putOnClipboard(const QImage &picture) {
    if (QClipboard *cb = QGuiApplication::clipboard())
        cb->setImage(picture);
}

} // namespace lmk::ctl
