#include "app/DesktopLook.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

#include <algorithm>
#include <cmath>

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
// WCAG's contrast ratio of two colours.
double luminance(const QColor &c) {
    const auto channel = [](double x) {
        return x <= 0.03928 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
           0.0722 * channel(c.blueF());
}
double contrast(const QColor &a, const QColor &b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
QColor mixed(const QColor &from, const QColor &to, double t) {
    return QColor::fromRgbF(float(from.redF() + (to.redF() - from.redF()) * t),
                            float(from.greenF() + (to.greenF() - from.greenF()) * t),
                            float(from.blueF() + (to.blueF() - from.blueF()) * t));
}
// WCAG AA asks 4.5:1; the room above it is for small anti-aliased glyphs.
constexpr double kReadable = 5.0;
// Disabled texts aim higher: a button draws its face lighter or darker than
// the palette's Button colour.
constexpr double kDisabledReadable = 7.0;

// The least share of `to` in a mix from `from` that reads at `ratio` on `back`.
QColor leastMix(const QColor &from, const QColor &to, const QColor &back, double ratio) {
    double lo = 0.0, hi = 1.0;
    for (int i = 0; i < 16; ++i) {
        const double mid = (lo + hi) / 2;
        (contrast(mixed(from, to, mid), back) >= ratio ? hi : lo) = mid;
    }
    return mixed(from, to, hi);
}
} // namespace

QColor readableOn(const QColor &text, const QColor &back, const QColor &strong) {
    if (contrast(text, back) >= kReadable || contrast(strong, back) < kReadable)
        return text;
    return leastMix(text, strong, back, kReadable);
}

QPalette readablePalette(const QPalette &palette) {
    QPalette out = palette;
    const std::pair<QPalette::ColorRole, QPalette::ColorRole> pairs[] = {
        {QPalette::WindowText, QPalette::Window},
        {QPalette::Text, QPalette::Base},
        {QPalette::ButtonText, QPalette::Button},
    };
    for (const auto &[textRole, backRole] : pairs) {
        const QColor back = palette.color(QPalette::Disabled, backRole);
        const QColor text = palette.color(QPalette::Disabled, textRole);
        const QColor enabled = palette.color(QPalette::Active, textRole);
        const double ratio = std::min(kDisabledReadable, contrast(enabled, back));
        if (contrast(text, back) >= ratio || ratio < kReadable)
            continue;
        // The faintest mix of background and enabled text that still reads.
        out.setColor(QPalette::Disabled, textRole, leastMix(back, enabled, back, ratio));
    }
    return out;
}

void keepTextsReadable(QApplication &app) {
    const QPalette now = app.palette();
    const QPalette readable = readablePalette(now);
    if (readable != now)
        QApplication::setPalette(readable);
}

void applyDesktopLook(QApplication &app) {
    app.setStyleSheet(QString());
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);
    // An empty palette and font take every value from the desktop's theme.
    QApplication::setPalette(QPalette());
    keepTextsReadable(app);
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
