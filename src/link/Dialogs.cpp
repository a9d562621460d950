#include "link/Dialogs.h"

#include <QDebug>
#include <QStringList>

namespace lmk {

namespace {
class SilentDialogs : public Dialogs {
public:
    void information(const QString &text) override { qInfo().noquote() << text; }
    bool confirmYesNo(const QString &text) override {
        qInfo().noquote() << text;
        return false;
    }
    bool confirmOkCancel(const QString &text) override {
        qInfo().noquote() << text;
        return false;
    }
    QString openFile(const QString &, const QString &) override { return {}; }
    QString saveFile(const QString &, const QString &) override { return {}; }
    std::optional<quint32> chooseColor(quint32) override { return std::nullopt; }
};

SilentDialogs g_silent;
Dialogs *g_dialogs = nullptr;
} // namespace

Dialogs &dialogs() { return g_dialogs ? *g_dialogs : g_silent; }
void setDialogs(Dialogs *d) { g_dialogs = d; }

QString qtFilterFromPairs(const QString &filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return out.join(QStringLiteral(";;"));
}

} // namespace lmk
