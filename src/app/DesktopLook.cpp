#include "app/DesktopLook.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

namespace lmk {

namespace {
constexpr const char *kBuiltGeometry = "_lmk_built_geometry";
constexpr const char *kBuiltFixed = "_lmk_built_fixed";

QRect scaled(const QRect &r, double f) {
    const int left = qRound(r.left() * f), top = qRound(r.top() * f);
    return QRect(left, top, qRound((r.left() + r.width()) * f) - left,
                 qRound((r.top() + r.height()) * f) - top);
}

void scaleOne(QWidget *w, double factor) {
    if (!w->property(kBuiltGeometry).isValid()) {
        w->setProperty(kBuiltGeometry, w->geometry());
        w->setProperty(kBuiltFixed, w->minimumSize() == w->maximumSize());
    }
    const QRect r = scaled(w->property(kBuiltGeometry).toRect(), factor);
    if (w->property(kBuiltFixed).toBool())
        w->setFixedSize(r.size());
    w->setGeometry(r);
}
} // namespace

void applyDesktopLook(QApplication &app) {
    app.setStyleSheet(QString());
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);
    // An empty palette and font take every value from the desktop's theme.
    QApplication::setPalette(QPalette());
    QApplication::setFont(QFont());
}

double fontGrowth(const QFont &from, const QFont &to) {
    const double a = QFontMetricsF(from).height();
    const double b = QFontMetricsF(to).height();
    return a > 0 && b > a ? b / a : 1.0;
}

void scaleGeometry(QWidget *content, double factor) {
    const QList<QWidget *> below = content->findChildren<QWidget *>();
    for (QWidget *w : below) {
        // The program's own widgets, each placed by hand; Qt's parts of a
        // widget and anything a layout places follow their owner.
        const QString name = w->objectName();
        if (w->isWindow() || name.isEmpty() || name.startsWith(QLatin1String("qt_")))
            continue;
        if (w->parentWidget() && w->parentWidget()->layout())
            continue;
        scaleOne(w, factor);
    }
    scaleOne(content, factor);
}

} // namespace lmk
