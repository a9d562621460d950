#include "app/VisualStyle.h"

#include "app/AppResources.h"

#include <QApplication>
#include <QColor>
#include <QFile>
#include <QMetaEnum>
#include <QStyle>
#include <QStyleFactory>

namespace lmk {

namespace {
bool readResource(const QString &path, QString &text, QString *error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, f.errorString());
        return false;
    }
    text = QString::fromUtf8(f.readAll());
    return true;
}

bool setError(QString *error, const QString &text) {
    if (error)
        *error = text;
    return false;
}
} // namespace

bool parsePalette(const QString &text, QPalette &palette, QString *error) {
    const QMetaEnum roles = QMetaEnum::fromType<QPalette::ColorRole>();
    const QMetaEnum groups = QMetaEnum::fromType<QPalette::ColorGroup>();
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QString where = QStringLiteral("line %1").arg(i + 1);
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            return setError(error, where + QStringLiteral(": \"=\" missing"));
        QString key = line.left(eq).trimmed();
        const QColor color = QColor::fromString(line.mid(eq + 1).trimmed());
        if (!color.isValid())
            return setError(error, where + QStringLiteral(": no colour"));
        int group = -1;
        const int colon = key.indexOf(QLatin1Char(':'));
        if (colon >= 0) {
            bool ok = false;
            group = groups.keyToValue(key.left(colon).trimmed().toLatin1().constData(), &ok);
            if (!ok || group < 0 || group >= QPalette::NColorGroups)
                return setError(error, where + QStringLiteral(": unknown colour group"));
            key = key.mid(colon + 1).trimmed();
        }
        bool ok = false;
        const int role = roles.keyToValue(key.toLatin1().constData(), &ok);
        if (!ok || role < 0 || role >= QPalette::NColorRoles)
            return setError(error, where + QStringLiteral(": unknown colour role"));
        if (group < 0)
            palette.setColor(QPalette::ColorRole(role), color);
        else
            palette.setColor(QPalette::ColorGroup(group), QPalette::ColorRole(role), color);
    }
    return true;
}

bool applyVisualStyle(QApplication &app, const QString &name, QString *error) {
    initAppResources();
    QString reason;
    const QString base = QStringLiteral(":/styles/") + QString(name).remove(QLatin1Char(' '));
    QString paletteText;
    QString sheet;
    QStyle *fusion = nullptr;
    QPalette palette;
    bool ok = readResource(base + QStringLiteral(".palette"), paletteText, &reason) &&
              readResource(base + QStringLiteral(".qss"), sheet, &reason);
    if (ok) {
        fusion = QStyleFactory::create(QStringLiteral("Fusion"));
        if (!fusion) {
            reason = QStringLiteral("the base style Fusion is missing");
            ok = false;
        } else {
            palette = fusion->standardPalette();
            ok = parsePalette(paletteText, palette, &reason);
        }
    }
    if (!ok) {
        delete fusion;
        return setError(
            error, QStringLiteral("Visual style \"%1\" cannot be applied: %2").arg(name, reason));
    }
    QApplication::setStyle(fusion);
    QApplication::setPalette(palette);
    app.setStyleSheet(sheet);
    return true;
}

} // namespace lmk
