// View > Desktop style: the desktop's palette and font instead of the
// program's look, the window grown with the font so that no text is cut,
// everything reachable on a small screen, the choice remembered, and the
// program's own look back exactly as it was.
#include "WindowWalk.h"
#include "app/AppSettings.h"
#include "app/TFMain.h"
#include "app/VisualStyle.h"
#include "memory/ui/MemoryEditor.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QRadioButton>
#include <QScrollArea>
#include <QStandardPaths>
#include <QStyle>
#include <QTabWidget>
#include <QtTest>

using namespace lmk;

namespace {
// Texts wider than the room their widget gives them, and widgets that
// stick out of their parent.
QStringList cutTexts(QWidget *root) {
    QStringList cut;
    for (QWidget *w : shownWidgets(root)) {
        if (w == root || !isOwnWidget(w))
            continue;
        QString text;
        int room = w->width();
        if (auto *l = qobject_cast<QLabel *>(w)) {
            text = l->text();
            room = l->contentsRect().width();
        } else if (auto *b = qobject_cast<QAbstractButton *>(w)) {
            text = b->text();
            if (qobject_cast<QCheckBox *>(w) || qobject_cast<QRadioButton *>(w))
                room -= w->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, w) +
                        w->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, w);
        } else if (auto *g = qobject_cast<QGroupBox *>(w)) {
            text = g->title();
            room -= 16;
        }
        text.remove(QLatin1Char('&'));
        if (!text.isEmpty() && !text.contains(QLatin1Char('\n')) &&
            w->fontMetrics().horizontalAdvance(text) > room)
            cut << QStringLiteral("%1 (%2 > %3)")
                       .arg(w->objectName())
                       .arg(w->fontMetrics().horizontalAdvance(text))
                       .arg(room);
        QWidget *parent = w->parentWidget();
        if (parent && !parent->objectName().startsWith(QLatin1String("qt_")) &&
            !parent->rect().contains(w->geometry()))
            cut << w->objectName() + QLatin1String(" outside ") + parent->objectName();
    }
    return cut;
}
} // namespace

class TstDesktopStyle : public QObject, public OfflineWindow {
    Q_OBJECT

    QAction *styleAction() {
        return window->findChild<QAction *>(QStringLiteral("MI_DesktopStyle"));
    }

  private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QFile::remove(appSettings()->fileName());
        QVERIFY(applyVisualStyle(*qApp, QString::fromLatin1(kVisualStyle)));
        QApplication::setFont(TFMain::defaultFont());
    }
    void init() { QVERIFY(openWindow()); }
    void cleanup() {
        window->setDesktopStyle(false);
        closeWindow();
    }
    void cleanupTestCase() { QFile::remove(appSettings()->fileName()); }

    // Off by default; on and off from the menu, remembered; off gives the
    // program's look and geometry back.
    void switchAndBack() {
        QVERIFY(styleAction());
        QVERIFY(!styleAction()->isChecked());
        const QString sheet = qApp->styleSheet();
        QVERIFY(!sheet.isEmpty());
        const QRect tabsAt = tabs()->geometry();

        styleAction()->trigger();
        QVERIFY(window->desktopStyle());
        QVERIFY(qApp->styleSheet().isEmpty());
        QCOMPARE(appSettings()->value(QStringLiteral("desktopStyle")).toBool(), true);

        styleAction()->trigger();
        QVERIFY(!window->desktopStyle());
        QCOMPARE(qApp->styleSheet(), sheet);
        QCOMPARE(window->font(), TFMain::defaultFont());
        QCOMPARE(tabs()->geometry(), tabsAt);
        QCOMPARE(window->centralWidget()->sizeHint(), QSize(1007, 586));
        QCOMPARE(appSettings()->value(QStringLiteral("desktopStyle")).toBool(), false);

        appSettings()->setValue(QStringLiteral("desktopStyle"), true);
        window->restoreDesktopStyle();
        QVERIFY(window->desktopStyle());
    }

    // A desktop with larger fonts: the window grows with them and no text
    // is cut, on any page.
    void largerFontsCutNothing_data() {
        QTest::addColumn<int>("points");
        QTest::newRow("10 pt") << 10;
        QTest::newRow("13 pt") << 13;
        QTest::newRow("16 pt") << 16;
    }
    void largerFontsCutNothing() {
        QFETCH(int, points);
        window->setDesktopStyle(true);
        QFont big = QApplication::font();
        big.setPointSize(points);
        QApplication::setFont(big);
        QTRY_COMPARE(window->font().pointSize(), points);
        QVERIFY(window->findChild<QWidget *>(QStringLiteral("clientArea"))->width() > 1007);
        QStringList cut;
        forEachTabbedPage([&] { cut << cutTexts(window); });
        cut.removeDuplicates();
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(u' ')));
    }

    // On a screen smaller than the window every control can still be
    // reached from the keyboard: the client area scrolls to it.
    void reachableOnASmallScreen() {
        window->setDesktopStyle(true);
        QFont big = QApplication::font();
        big.setPointSize(12);
        QApplication::setFont(big);
        window->resize(640, 420); // smaller than the client area
        auto *scroller = qobject_cast<QScrollArea *>(window->centralWidget());
        QVERIFY(scroller);
        QWidget *viewport = scroller->viewport();
        tabs()->setCurrentIndex(1);
        QWidget *first = window->findChild<QWidget *>(QStringLiteral("EUSBDevice"));
        first->setFocus(Qt::TabFocusReason);
        QStringList unseen;
        for (int i = 0; i < 30; ++i) {
            QWidget *focus = QApplication::focusWidget();
            QVERIFY(focus);
            if (i > 0 && focus == first)
                break;
            const QRect at(focus->mapTo(viewport, QPoint(0, 0)), focus->size());
            if (!viewport->rect().intersects(at))
                unseen << focus->objectName();
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        QVERIFY2(unseen.isEmpty(), qPrintable(unseen.join(u' ')));
    }

    // A 1366 x 768 screen at 125 %: 1093 x 614 logical pixels and a font a
    // quarter larger. Both windows fit it, and every control of every page
    // can be scrolled to and shows whole.
    void fitsA125PercentScreen() {
        const QSize screen(1093, 614);
        window->setDesktopStyle(true);
        QFont big = QApplication::font();
        big.setPointSizeF(big.pointSizeF() * 1.25);
        QApplication::setFont(big);
        QTRY_COMPARE(window->font().pointSizeF(), big.pointSizeF());
        window->MI_MemorySlotsClick();
        QMainWindow *editor = window->memoryEditor();
        QVERIFY(editor);
        QTRY_COMPARE(editor->font().pointSizeF(), big.pointSizeF());
        for (QMainWindow *w : {static_cast<QMainWindow *>(window), editor}) {
            const QSize least = w->minimumSizeHint().expandedTo(w->minimumSize());
            QVERIFY2(least.width() <= screen.width() && least.height() <= screen.height(),
                     qPrintable(QStringLiteral("%1: %2 x %3")
                                    .arg(w->objectName())
                                    .arg(least.width())
                                    .arg(least.height())));
            w->resize(screen);
        }
        QTRY_COMPARE(window->size(), screen);
        QTRY_COMPARE(editor->size(), screen);

        auto *scroller = qobject_cast<QScrollArea *>(window->centralWidget());
        QVERIFY(scroller);
        QStringList unreachable;
        // Scrolled to, the control shows whole in the window.
        // (The page control holds the pages: its tabs are what must show.)
        const auto check = [&](QWidget *root, QScrollArea *area) {
            for (QWidget *w : shownWidgets(root)) {
                if (qobject_cast<QTabWidget *>(w))
                    w = static_cast<QTabWidget *>(w)->tabBar();
                else if (!isOwnWidget(w) || !isInput(w) || w->isWindow())
                    continue;
                QWidget *view = area ? area->viewport() : root;
                if (area) {
                    const QPoint centre = w->mapTo(area->widget(), w->rect().center());
                    area->ensureVisible(centre.x(), centre.y(), w->width() / 2 + 1,
                                        w->height() / 2 + 1);
                }
                const QRect at(w->mapTo(view, QPoint(0, 0)), w->size());
                if (!view->rect().contains(at))
                    unreachable << QStringLiteral("%1 (%2,%3 %4x%5)")
                                       .arg(w->objectName())
                                       .arg(at.x())
                                       .arg(at.y())
                                       .arg(at.width())
                                       .arg(at.height());
            }
        };
        forEachTabbedPage([&] { check(window, scroller); });
        check(editor, nullptr);
        unreachable.removeDuplicates();
        QVERIFY2(unreachable.isEmpty(), qPrintable(unreachable.join(u' ')));
    }
};

QTEST_MAIN(TstDesktopStyle)
#include "tst_desktopstyle.moc"
