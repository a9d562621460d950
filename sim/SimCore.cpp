#include "SimCore.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace sim {

namespace {

struct Registered {
    std::unique_ptr<Feature> feature; // owned for the life of the process
    int priority;
    int order;
};

// Function-local statics: features register during static initialisation.
std::vector<Registered> &registry() {
    static std::vector<Registered> list;
    return list;
}

QList<Feature *> &ordered() {
    static QList<Feature *> list;
    return list;
}

QString &stateDirPath() {
    static QString path;
    return path;
}

QFile &logFile() {
    static QFile file;
    return file;
}

} // namespace

void registerFeature(Feature *feature, int priority) {
    auto &reg = registry();
    reg.push_back({std::unique_ptr<Feature>(feature), priority, int(reg.size())});
    std::stable_sort(reg.begin(), reg.end(), [](const Registered &a, const Registered &b) {
        return a.priority != b.priority ? a.priority < b.priority : a.order < b.order;
    });
    auto &out = ordered();
    out.clear();
    for (const Registered &r : reg)
        out.append(r.feature.get());
}

const QList<Feature *> &features() { return ordered(); }

bool setStateDir(const QString &path) {
    if (path.isEmpty() || !QDir().mkpath(path))
        return false;
    stateDirPath() = QDir(path).absolutePath();
    return true;
}

QString defaultStateDir() {
    // The user's state folder, never the folder the simulator runs in.
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::home().filePath(QStringLiteral(".local/state"));
    return QDir(base).filePath(QStringLiteral("lmk-sim"));
}

QString stateDir() {
    if (stateDirPath().isEmpty())
        setStateDir(defaultStateDir());
    return stateDirPath();
}

bool openLog(const QString &path) {
    QFile &f = logFile();
    if (f.isOpen())
        f.close();
    if (path.isEmpty())
        return f.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
    f.setFileName(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered);
}

void closeLog() {
    QFile &f = logFile();
    if (f.isOpen()) {
        f.flush();
        f.close();
    }
}

void logLine(const QString &line) {
    QFile &f = logFile();
    if (!f.isOpen())
        openLog(QString());
    f.write(line.toUtf8() + '\n');
    f.flush();
}

QByteArray frame(const QByteArray &payload) {
    QByteArray out = le16(quint16(payload.size() + 4));
    out.append(2, '\0');
    out.append(payload);
    return out;
}

QByteArray le32(quint32 v) {
    QByteArray out(4, '\0');
    for (int i = 0; i < 4; ++i)
        out[i] = char((v >> (8 * i)) & 0xFF);
    return out;
}

QByteArray le16(quint16 v) {
    QByteArray out(2, '\0');
    out[0] = char(v & 0xFF);
    out[1] = char(v >> 8);
    return out;
}

} // namespace sim
