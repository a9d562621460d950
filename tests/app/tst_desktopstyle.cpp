// View > Desktop style: the desktop's palette and font instead of the
// program's look, the window grown with the font so that no text is cut,
// everything reachable on a small screen, the choice remembered, and the
// program's own look back exactly as it was.
#include "ScriptedDialogs.h"
#include "SimProcess.h"
#include "app/AppSettings.h"
#include "app/TFMain.h"
#include "app/VisualStyle.h"
#include "link/DeviceLink.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
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
    for (QWidget *w : root->findChildren<QWidget *>()) {
        if (!w->isVisible() || w->objectName().isEmpty() ||
            w->objectName().startsWith(QLatin1String("qt_")))
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

class TstDesktopStyle : public QObject {
    Q_OBJECT

    ScriptedDialogs dialogs;
    DeviceLink *link = nullptr;
    TFMain *window = nullptr;

    QTabWidget *tabs() { return window->findChild<QTabWidget *>(QStringLiteral("PC_main")); }
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
    void init() {
        SimProcess::noUsb();
        link = new DeviceLink;
        link->setEndpoint(QStringLiteral("127.0.0.1"), 9);
        window = new TFMain(*link);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }
    void cleanup() {
        window->setDesktopStyle(false);
        delete window;
        delete link;
        dialogs.clear();
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
        for (int tab : {0, 1, 4}) {
            tabs()->setCurrentIndex(tab);
            cut << cutTexts(window);
        }
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
};

QTEST_MAIN(TstDesktopStyle)
#include "tst_desktopstyle.moc"
