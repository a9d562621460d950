// The window for assistive technology and the keyboard: every input's name
// as a screen reader reads it, radio groups that follow their checked state
// whoever changes it, and the tab order of every visible page.
#include "WindowWalk.h"
#include "app/AccessibleWidgets.h"
#include "app/DesktopLook.h"
#include "app/TDLG_Info.h"
#include "app/TFMain.h"
#include "app/VisualStyle.h"
#include "display/ui/DisplayPage.h"
#include "display/ui/RecordDialog.h"
#include "memory/ui/MemoryEditor.h"
#include "memory/ui/MemoryPage.h"
#include "sample/ui/SamplePage.h"
#include "upload/ui/UpdatePage.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

#include <functional>

using namespace lmk;

namespace {
// The name a screen reader announces for the widget (a combo box's too: its
// caption, never its current text).
QString accessibleName(QWidget *w) {
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Name) : QString();
}

// Every interface below `iface` (itself included), depth first.
void walkTree(QAccessibleInterface *iface, const std::function<void(QAccessibleInterface *)> &f,
              int depth = 0) {
    if (!iface || !iface->isValid() || depth > 40)
        return;
    f(iface);
    for (int i = 0; i < iface->childCount(); ++i)
        walkTree(iface->child(i), f, depth + 1);
}

QString describe(QAccessibleInterface *iface) {
    QObject *o = iface->object();
    QString what = o ? o->objectName() : QString();
    if (what.isEmpty() && o)
        what = QString::fromLatin1(o->metaObject()->className());
    return what + QLatin1Char('/') + QString::number(iface->role(), 16) + QLatin1Char('/') +
           iface->text(QAccessible::Name);
}

// WCAG's contrast ratio of two colours.
double luminance(QRgb c) {
    const auto channel = [](int v) {
        const double x = v / 255.0;
        return x <= 0.03928 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}
double contrast(QRgb a, QRgb b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The contrast of a text as drawn: the most frequent colour of the area is
// its background, the pixel furthest from it is the text's stroke.
double drawnContrast(QWidget *w, const QRect &area) {
    const QImage img = w->grab(area).toImage().convertToFormat(QImage::Format_RGB32);
    QHash<QRgb, int> counts;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            ++counts[img.pixel(x, y)];
    QRgb background = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most)
            most = it.value(), background = it.key();
    double best = 1.0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        best = std::max(best, contrast(it.key(), background));
    return best;
}

// Where a widget draws its text, or an empty rectangle when it shows none.
QRect textArea(QWidget *w) {
    if (auto *label = qobject_cast<QLabel *>(w))
        return label->text().trimmed().isEmpty() || !label->pixmap().isNull() ? QRect()
                                                                              : label->contentsRect();
    if (auto *button = qobject_cast<QAbstractButton *>(w)) {
        if (button->text().isEmpty())
            return QRect();
        QStyleOptionButton opt;
        opt.initFrom(button);
        opt.text = button->text();
        const auto element = qobject_cast<QCheckBox *>(w)      ? QStyle::SE_CheckBoxContents
                             : qobject_cast<QRadioButton *>(w) ? QStyle::SE_RadioButtonContents
                                                               : QStyle::SE_PushButtonContents;
        return w->style()->subElementRect(element, &opt, w);
    }
    if (auto *group = qobject_cast<QGroupBox *>(w)) {
        if (group->title().isEmpty())
            return QRect();
        QStyleOptionGroupBox opt;
        opt.initFrom(group);
        opt.text = group->title();
        opt.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        opt.lineWidth = 1;
        return w->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, w);
    }
    return QRect();
}

} // namespace

// The tab bar's selection events as delivered: "place name".
QStringList s_tabEvents;
void recordTabEvents(QAccessibleEvent *e) {
    if (qobject_cast<QTabBar *>(e->object()) && e->type() == QAccessible::Selection) {
        QAccessibleInterface *tab = e->accessibleInterface();
        s_tabEvents << QStringLiteral("%1 %2").arg(e->child()).arg(tab ? tab->text(QAccessible::Name)
                                                                       : QStringLiteral("(none)"));
    }
}

class TstAccessibility : public QObject, public OfflineWindow {
    Q_OBJECT

    // The object names that Tab visits, from the top row's first field
    // until the focus comes back to it.
    QStringList tabChain(QWidget *first = nullptr) {
        if (!first)
            first = child(QStringLiteral("EUSBDevice"));
        first->setFocus(Qt::TabFocusReason);
        if (QApplication::focusWidget() != first)
            return {QStringLiteral("(no focus)")};
        QStringList names;
        for (int i = 0; i < 60; ++i) {
            QWidget *owner = namedOwner(QApplication::focusWidget());
            if (!owner)
                return names << QStringLiteral("(nothing)");
            if (i > 0 && owner == first)
                return names;
            names << owner->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        return names << QStringLiteral("(no end)");
    }

    // The texts of the pages with a tab that read below 4.5:1, with their
    // ratio as drawn.
    QStringList weakTexts() {
        QStringList weak;
        forEachTabbedPage([&] {
            for (QWidget *w : shownWidgets(window)) {
                const QRect area = textArea(w);
                if (area.isEmpty())
                    continue;
                const double ratio = drawnContrast(w, area);
                if (ratio < 4.5)
                    weak << QStringLiteral("%1 %2").arg(w->objectName()).arg(ratio, 0, 'f', 2);
            }
        });
        weak.removeDuplicates();
        return weak;
    }

  private slots:
    // Before the first window: the window's own handler hands events on
    // to this one.
    void initTestCase() { QAccessible::installUpdateHandler(&recordTabEvents); }
    void init() { QVERIFY(openWindow(true)); }
    void cleanup() { closeWindow(); }

    void inputNames_data() {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("name");
        const QList<std::pair<const char *, const char *>> rows{
            // top row
            {"EUSBDevice", "USB-Device:"},
            {"CB_WLAN", "WLAN Access to Device:"},
            {"EWLANDevice", "WLAN Access to Device:"},
            // Update 54/55
            {"LB_Applikation", "File"},
            {"RG_Target0", "LMK35 (Configuration)"},
            {"RG_Target1", "External (Update Task)"},
            {"CB_Tasks", "External Tasks"},
            {"B_Search", "Search"},
            {"B_Sync", "Synchronize"},
            {"CB_Boot", "Bootloader active"},
            {"CB_Konfiguration", "Configuration active"},
            {"B_Start", "Start"},
            {"PB_Sent", "Upload"},
            // Display Copy
            {"B_Dispcpy", "Scan"},
            {"B_Abort", "Cancel"},
            {"CB_Live", "Live"},
            {"SE_X", "X:"},
            {"SE_Y", "Y:"},
            {"SE_B", "W:"},
            {"SE_H", "H:"},
            {"RB_GVGA", "Full VGA"},
            {"RB_GWVGA", "Full WVGA"},
            {"RB_DVGA", "Diagram VGA"},
            {"RB_DWVGA", "Diagram WVGA"},
            {"S_Rahmen", "Frame:"},
            {"B_Clip", "To Clipboard"},
            // USB Terminal
            {"M_Chat", "USB Terminal"},
            {"B_Clear", "Clear"},
            {"E_SSID", "Name (SSID)"},
            {"E_Pass", "Passkey"},
            {"SE_Channel", "Channel"},
            {"SE_Power", "TX-Power"},
            {"B_Set", "Set!"},
            {"B_Log", "Log…"},
            {"CB_Timestamps", "Timestamps"},
            {"CB_Hex", "Hex"},
            {"CB_Monospace", "Monospace"},
            {"E_Find", "Find:"},
            {"SE_Scrollback", "Scrollback lines"},
            // Speicherplätze
            {"SG_Speicher", "Speicherplätze"},
            {"LB_Speicher", "Datei:"},
            {"B_Laden", "Laden vom LMK54"},
            {"B_Speichern", "Speichern im LMK54"},
            {"B_Loeschen", "Alles Löschen"},
            // LMK25E
            {"CB_Mess", "Spektrum mit Messgenauigkeit"},
            {"SB_Display", "Sample"},
            {"B_Minus", "Ebene -"},
            {"E_Ebene", "Ebene"},
            {"B_PLus", "Ebene +"},
            {"B_Capture", "Capture"},
            {"B_End", "Ende"},
            {"B_Audio", "Audio"},
            {"CB_Audio", "Audio-Device:"},
            {"CB_AOK", "Verwendung möglich"},
        };
        for (const auto &[object, name] : rows)
            QTest::newRow(object) << QString::fromLatin1(object) << QString::fromUtf8(name);
    }
    void inputNames() {
        QFETCH(QString, object);
        QFETCH(QString, name);
        QCOMPARE(accessibleName(child(object)), name);
    }

    // Inputs added later are held to the same rule: a name of their own,
    // not one that a screen reader would read for a neighbour as well
    // (the title of the group around them, for instance).
    void everyInputHasItsOwnName() {
        QMultiHash<QString, QString> byName;
        const QSet<QString> sharedOnPurpose{QStringLiteral("WLAN Access to Device:")};
        for (QWidget *w : window->findChildren<QWidget *>()) {
            if (!isOwnWidget(w) || !isInput(w) || qobject_cast<QTabWidget *>(w))
                continue;
            const QString name = accessibleName(w);
            QVERIFY2(!name.trimmed().isEmpty(), qPrintable(w->objectName()));
            if (auto *group = qobject_cast<QGroupBox *>(w->parentWidget()))
                QVERIFY2(name != group->title() || w->accessibleName() == name,
                         qPrintable(w->objectName() + QLatin1String(": group title")));
            byName.insert(name, w->objectName());
        }
        for (const QString &name : byName.uniqueKeys()) {
            if (!sharedOnPurpose.contains(name))
                QVERIFY2(byName.count(name) == 1,
                         qPrintable(name + QLatin1String(": ") + byName.values(name).join(u',')));
        }
    }

    // A screen reader selects a radio button with its toggle action, which
    // is no click: the page must follow the checked state.
    void targetFollowsToggle() {
        auto *external = child<QRadioButton>(QStringLiteral("RG_Target1"));
        auto *search = child(QStringLiteral("B_Search"));
        auto *group = child(QStringLiteral("GB_Extern"));
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(external);
        QVERIFY(iface && iface->actionInterface());
        QVERIFY(iface->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::toggleAction()));
        iface->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QVERIFY(external->isChecked());
        QVERIFY(search->isEnabled());
        QVERIFY(group->isEnabled());
        // Back by the program.
        child<QRadioButton>(QStringLiteral("RG_Target0"))->setChecked(true);
        QVERIFY(!search->isEnabled());
        QVERIFY(!group->isEnabled());
    }

    void presetFollowsToggle_data() {
        QTest::addColumn<QString>("preset");
        QTest::addColumn<bool>("byAction"); // screen reader's toggle, or setChecked
        QTest::addColumn<QList<int>>("area");
        const QList<int> fullVga{0, 0, 640, 480}, diagramVga{0, 93, 520, 387},
            diagramWvga{0, 93, 648, 387};
        QTest::newRow("Full VGA, action") << "RB_GVGA" << true << fullVga;
        QTest::newRow("Diagram VGA, action") << "RB_DVGA" << true << diagramVga;
        QTest::newRow("Diagram WVGA, action") << "RB_DWVGA" << true << diagramWvga;
        QTest::newRow("Full VGA, program") << "RB_GVGA" << false << fullVga;
        QTest::newRow("Diagram VGA, program") << "RB_DVGA" << false << diagramVga;
        QTest::newRow("Diagram WVGA, program") << "RB_DWVGA" << false << diagramWvga;
    }
    void presetFollowsToggle() {
        QFETCH(QString, preset);
        QFETCH(bool, byAction);
        QFETCH(QList<int>, area);
        auto *button = child<QRadioButton>(preset);
        if (byAction)
            QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(
                QAccessibleActionInterface::toggleAction());
        else
            button->setChecked(true);
        QVERIFY(button->isChecked());
        const QList<int> shown{child<QSpinBox>(QStringLiteral("SE_X"))->value(),
                               child<QSpinBox>(QStringLiteral("SE_Y"))->value(),
                               child<QSpinBox>(QStringLiteral("SE_B"))->value(),
                               child<QSpinBox>(QStringLiteral("SE_H"))->value()};
        QCOMPARE(shown, area);
        // And back to "Full WVGA" the same way.
        child<QRadioButton>(QStringLiteral("RB_GWVGA"))->setChecked(true);
        QCOMPARE(child<QSpinBox>(QStringLiteral("SE_B"))->value(), 800);
        QCOMPARE(child<QSpinBox>(QStringLiteral("SE_Y"))->value(), 0);
    }

    // A click on the preset already selected applies it again, after the
    // fields were edited; selecting it by the program changes nothing then.
    void clickOnSelectedPresetAppliesItAgain() {
        auto *gwvga = child<QRadioButton>(QStringLiteral("RB_GWVGA"));
        auto *w = child<QSpinBox>(QStringLiteral("SE_B"));
        QVERIFY(gwvga->isChecked());
        w->setValue(300);
        gwvga->setChecked(true);
        QCOMPARE(w->value(), 300);
        QTest::mouseClick(gwvga, Qt::LeftButton, {}, QPoint(8, gwvga->height() / 2));
        QCOMPARE(w->value(), 800);
        w->setValue(300);
        gwvga->setFocus();
        QTest::keyClick(gwvga, Qt::Key_Space);
        QCOMPARE(w->value(), 800);
    }

    // Within a group the arrow keys move the selection, and the page follows.
    void arrowKeysSelectWithinAGroup() {
        tabs()->setCurrentIndex(1);
        auto *gwvga = child<QRadioButton>(QStringLiteral("RB_GWVGA"));
        gwvga->setFocus(Qt::TabFocusReason);
        QTest::keyClick(gwvga, Qt::Key_Down);
        auto *dvga = child<QRadioButton>(QStringLiteral("RB_DVGA"));
        QVERIFY(dvga->isChecked());
        QVERIFY(dvga->hasFocus());
        QCOMPARE(child<QSpinBox>(QStringLiteral("SE_Y"))->value(), 93);
        // The Tab stop moved along with the selection.
        QCOMPARE(dvga->focusPolicy(), Qt::StrongFocus);
        QCOMPARE(gwvga->focusPolicy(), Qt::ClickFocus);
    }

    // The frame swatch works from the keyboard like a button.
    void frameSwatchByKeyboard() {
        tabs()->setCurrentIndex(1);
        auto *swatch = child(QStringLiteral("S_Rahmen"));
        const auto frame = [this] { return window->displayPage()->frameColour().rgb() & 0xFFFFFF; };
        swatch->setFocus(Qt::TabFocusReason);
        QVERIFY(swatch->hasFocus());
        dialogs.color = 0x00FF00u;
        QTest::keyClick(swatch, Qt::Key_Space);
        QCOMPARE(frame(), 0x00FF00u);
        dialogs.color = 0x0000FFu;
        QTest::keyClick(swatch, Qt::Key_Return);
        QCOMPARE(frame(), 0x0000FFu);
        dialogs.color = 0xFF0000u;
        QTest::keyClick(swatch, Qt::Key_A);
        QCOMPARE(frame(), 0x0000FFu);
    }

    void tabOrder_data() {
        QTest::addColumn<int>("tab"); // index in PC_main
        QTest::addColumn<bool>("allEnabled");
        QTest::addColumn<QStringList>("order");
        const QStringList top{"EUSBDevice", "EWLANDevice", "PC_main"};
        QTest::newRow("Update 54/55")
            << 0 << false << top + QStringList{"LB_Applikation", "RG_Target0", "B_Sync"};
        QTest::newRow("Update 54/55, all enabled")
            << 0 << true
            << top + QStringList{"LB_Applikation", "RG_Target1", "CB_Tasks", "B_Search", "B_Sync",
                                 "B_Start"};
        QTest::newRow("Display Copy")
            << 1 << false
            << top + QStringList{"B_Dispcpy", "CB_Live",  "B_Record", "SE_X",     "SE_Y",
                                 "SE_B",      "SE_H",     "RB_GWVGA", "S_Rahmen", "B_Clip"};
        const QStringList terminalView{"B_Clear", "B_Log", "CB_Timestamps", "CB_Hex", "CB_Monospace"};
        QTest::newRow("USB Terminal")
            << 4 << false
            << top + QStringList{"M_Chat"} + terminalView +
                   QStringList{"E_SSID", "E_Pass", "SE_Channel", "SE_Power", "E_Find", "SE_Scrollback"};
        QTest::newRow("USB Terminal, all enabled")
            << 4 << true
            << top + QStringList{"M_Chat"} + terminalView +
                   QStringList{"E_SSID", "E_Pass", "SE_Channel", "SE_Power", "B_Set", "E_Find",
                               "SE_Scrollback"};
    }
    void tabOrder() {
        QFETCH(int, tab);
        QFETCH(bool, allEnabled);
        QFETCH(QStringList, order);
        tabs()->setCurrentIndex(tab);
        if (allEnabled) {
            child<QRadioButton>(QStringLiteral("RG_Target1"))->setChecked(true);
            child(QStringLiteral("GB_Download"))->setEnabled(true);
            child(QStringLiteral("B_Set"))->setEnabled(true);
        }
        QCOMPARE(tabChain(), order);
        // Backwards the same way.
        QStringList back;
        QWidget *first = child(QStringLiteral("EUSBDevice"));
        for (int i = 0; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            back.prepend(namedOwner(QApplication::focusWidget())->objectName());
        }
        QCOMPARE(back, order);
        QCOMPARE(QApplication::focusWidget(), first);
    }

    // The memory editor window: every input named, Tab goes round its grid
    // and buttons and never leaves the window, Shift+Tab the other way.
    void memoryEditorByKeyboard() {
        window->MI_MemorySlotsClick();
        MemoryEditor *editor = window->memoryEditor();
        QVERIFY(editor);
        editor->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), editor);
        QStringList unnamed;
        for (QWidget *w : editor->findChildren<QWidget *>()) {
            QWidget *owner = namedOwner(w);
            if (!w->isVisible() || !isInput(w) || !owner || !editor->isAncestorOf(owner))
                continue;
            if (qobject_cast<QAbstractButton *>(w) && owner != w)
                continue; // a scroll bar's or header's own buttons
            if (accessibleName(owner).isEmpty() && accessibleName(w).isEmpty())
                unnamed << owner->objectName();
        }
        unnamed.removeDuplicates();
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(u' ')));

        QWidget *grid = editor->findChild<QWidget *>(QStringLiteral("SG_Speicher"));
        QVERIFY(grid);
        // "Speichern im LMK54" waits for an image to write.
        const QStringList order{"SG_Speicher", "LB_Speicher", "B_Laden", "B_Loeschen"};
        QCOMPARE(tabChain(grid), order);
        QStringList back;
        for (int i = 0; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            back.prepend(namedOwner(QApplication::focusWidget())->objectName());
        }
        QCOMPARE(back, order);
        QCOMPARE(QApplication::focusWidget(), grid);
    }

    // The focus stays on the shown page whatever was focused before.
    void focusNeverOnAHiddenPage() {
        tabs()->setCurrentIndex(4);
        child(QStringLiteral("E_SSID"))->setFocus(Qt::TabFocusReason);
        tabs()->setCurrentIndex(0);
        QWidget *page = tabs()->currentWidget();
        QWidget *now = QApplication::focusWidget();
        QVERIFY(now);
        QVERIFY2(page->isAncestorOf(now) || !tabs()->isAncestorOf(now) ||
                     qobject_cast<QTabBar *>(now),
                 qPrintable(namedOwner(now)->objectName()));
        QVERIFY(now->isVisible());
    }

    // The pages without a tab are nothing a screen reader can reach: their
    // tabs and everything on them are invisible, unfocusable and inert.
    void hiddenPagesOffered() {
        QWidget *hiddenPages[] = {window->samplePage(), window->memoryPage()};
        const auto onHiddenPage = [&](QObject *o) {
            auto *w = qobject_cast<QWidget *>(o);
            for (QWidget *page : hiddenPages)
                if (w && (w == page || page->isAncestorOf(w)))
                    return true;
            return false;
        };
        QStringList offered;
        forEachTabbedPage([&] {
            walkTree(QAccessible::queryAccessibleInterface(window), [&](QAccessibleInterface *i) {
                if (!onHiddenPage(i->object()))
                    return;
                if (!i->state().invisible || i->state().focusable ||
                    (i->actionInterface() && !i->actionInterface()->actionNames().isEmpty()))
                    offered << describe(i);
            });
        });
        QVERIFY2(offered.isEmpty(), qPrintable(offered.join(u' ')));
        // Every widget of those pages, whether the walk reached it or not.
        for (QWidget *page : hiddenPages) {
            for (QWidget *w : page->findChildren<QWidget *>()) {
                QAccessibleInterface *i = QAccessible::queryAccessibleInterface(w);
                QVERIFY2(i->state().invisible && !i->state().focusable, qPrintable(describe(i)));
                QVERIFY2(!i->actionInterface() || i->actionInterface()->actionNames().isEmpty(),
                         qPrintable(describe(i)));
            }
        }

        // The tab list: three tabs to hear and select, and no others ("1 of
        // 3", never "of 5").
        QAccessibleInterface *list = QAccessible::queryAccessibleInterface(tabs()->tabBar());
        QCOMPARE(list->role(), QAccessible::PageTabList);
        QCOMPARE(list->childCount(), 3);
        QVERIFY(!list->child(3));
        QStringList heard;
        for (int i = 0; i < list->childCount(); ++i) {
            QAccessibleInterface *tab = list->child(i);
            QVERIFY(tab);
            QVERIFY(!tab->state().invisible);
            QVERIFY(tab->state().focusable && tab->state().selectable);
            QCOMPARE(list->indexOfChild(tab), i);
            heard << tab->text(QAccessible::Name);
        }
        QCOMPARE(heard, (QStringList{"Update 54/55", "Display Copy", "USB Terminal"}));
        list->child(2)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(window->pageShown(), 2);
        QCOMPARE(tabs()->currentIndex(), 4);
        QVERIFY(list->child(2)->state().selected);
        list->child(1)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(window->pageShown(), 1);
        QVERIFY(list->child(1)->state().selected);
        QVERIFY(!list->child(2)->state().selected);

        // Pressing a hidden page's button from outside does nothing.
        auto *load = window->memoryPage()->findChild<QAbstractButton *>(QStringLiteral("B_Laden"));
        QVERIFY(load);
        QSignalSpy clicked(load, &QAbstractButton::clicked);
        QAccessibleInterface *loadIface = QAccessible::queryAccessibleInterface(load);
        if (loadIface->actionInterface())
            loadIface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(clicked.count(), 0);
        QVERIFY(dialogs.texts.isEmpty());
    }

    // The tab bar's selection and focus events name the tab by its place
    // among the tabs shown, so a reader finds "USB Terminal", not nothing.
    // (Qt hands events on only while a reader listens, which the offscreen
    // platform never does: the events go to the window's handler here.)
    void tabEventsNameTheShownTab() {
        s_tabEvents.clear();
        for (int index : {4, 1, 0, 3}) {
            QAccessibleEvent selection(tabs()->tabBar(), QAccessible::Selection);
            selection.setChild(index);
            tellAccessibilityUpdate(&selection);
        }
        // A hidden tab (3, "Speicherplätze") has nothing to tell.
        QCOMPARE(s_tabEvents, (QStringList{"2 USB Terminal", "1 Display Copy", "0 Update 54/55"}));
    }

    // The application offers the windows shown: the Info dialog only while
    // it is open.
    void hiddenWindowsNotOffered() {
        QAccessibleInterface *app = QAccessible::queryAccessibleInterface(qApp);
        QVERIFY(app);
        QCOMPARE(app->role(), QAccessible::Application);
        const auto offered = [&] {
            QStringList names;
            for (int i = 0; i < app->childCount(); ++i)
                if (QAccessibleInterface *w = app->child(i)) {
                    names << w->object()->objectName();
                    if (app->indexOfChild(w) != i)
                        names << QStringLiteral("(misplaced)");
                }
            return names;
        };
        TDLG_Info *info = window->createInfoDialog();
        QVERIFY(!offered().contains(QStringLiteral("DLG_Info")));
        info->show();
        QVERIFY(QTest::qWaitForWindowExposed(info));
        QVERIFY(offered().contains(QStringLiteral("DLG_Info")));
        QVERIFY(offered().contains(window->objectName()));
        info->hide();
        QCOMPARE(offered(), QStringList{window->objectName()});
    }

    // The Record dialog's captions take their mnemonics: "Folder:" is shown
    // without "&" and Alt+F goes to the folder field.
    void recordDialogMnemonics() {
        RecordDialog dialog(RecordSettings{});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        for (QLabel *label : dialog.findChildren<QLabel *>())
            if (label->text().contains(QLatin1Char('&')))
                QVERIFY2(label->buddy(), qPrintable(label->text()));
        auto *folder = dialog.findChild<QLineEdit *>(QStringLiteral("E_RecordFolder"));
        QVERIFY(folder);
        dialog.findChild<QSpinBox *>(QStringLiteral("SE_RecordEvery"))->setFocus();
        QTest::keyClick(&dialog, Qt::Key_F, Qt::AltModifier);
        QTRY_COMPARE(QApplication::focusWidget(), folder);
        QCOMPARE(accessibleName(folder), QStringLiteral("Folder:"));
    }

    // The empty "File" list says how to choose the file to upload, drawn in
    // it and read as its description.
    void uploadFileListSaysNextStep() {
        auto *list = child<QListWidget>(QStringLiteral("LB_Applikation"));
        QAccessibleInterface *i = QAccessible::queryAccessibleInterface(list);
        QVERIFY(i->text(QAccessible::Description).contains(QStringLiteral("File ▸ Open")));
        QCOMPARE(list->count(), 0);
        const QImage empty = list->grab().toImage();
        QImage blank(empty.size(), empty.format());
        blank.fill(list->viewport()->palette().color(QPalette::Base));
        const auto differing = [](const QImage &a, const QImage &b) {
            int n = 0;
            for (int y = 4; y < a.height() - 4; ++y)
                for (int x = 8; x < a.width() - 8; ++x)
                    n += a.pixel(x, y) != b.pixel(x, y);
            return n;
        };
        QVERIFY(differing(empty, blank) > 50); // the hint's letters
        window->updatePage()->selectUploadFile(QStringLiteral("/tmp/LMK35_V2.RPD"));
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), QStringLiteral("LMK35_V2.RPD"));
    }

    // Every control that takes the focus, on every page and in every window,
    // has a role and a name.
    void everyFocusableControlNamed() {
        window->MI_MemorySlotsClick();
        QWidget *others[] = {window->memoryEditor(), window->createInfoDialog()};
        window->createInfoDialog()->show();
        QStringList unnamed;
        const auto check = [&](QAccessibleInterface *i) {
            const QAccessible::State s = i->state();
            // A grid's cells are read with their column's heading; a widget
            // that hands its focus on (the page control to its tab bar) is
            // checked in the one that takes it.
            auto *w = qobject_cast<QWidget *>(i->object());
            if (s.invisible || !s.focusable || i->role() == QAccessible::Cell ||
                (w && w->focusProxy()))
                return;
            if (i->role() == QAccessible::NoRole || i->role() == QAccessible::Client ||
                i->text(QAccessible::Name).trimmed().isEmpty())
                unnamed << describe(i);
        };
        forEachTabbedPage([&] { walkTree(QAccessible::queryAccessibleInterface(window), check); });
        for (QWidget *w : others)
            walkTree(QAccessible::queryAccessibleInterface(w), check);
        unnamed.removeDuplicates();
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(u' ')));
        window->infoDialog()->hide();
    }

    // What a screen reader reads of a control: its role, name and value.
    void controlsRead_data() {
        QTest::addColumn<QString>("object");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::newRow("frame swatch") << "S_Rahmen" << int(QAccessible::Button) << "Frame:"
                                      << "#000000";
        QTest::newRow("task box") << "CB_Tasks" << int(QAccessible::ComboBox) << "External Tasks"
                                  << "No tasks found!";
        QTest::newRow("X") << "SE_X" << int(QAccessible::SpinBox) << "X:"
                           << "0";
        QTest::newRow("scan progress")
            << "PB_Scan" << int(QAccessible::ProgressBar) << "Scan progress" << QString();
        QTest::newRow("scan rate") << "L_Rate" << int(QAccessible::StaticText) << "Scan rate"
                                   << QString();
        QTest::newRow("scan picture") << "I_Scan" << int(QAccessible::Graphic) << "Scan picture"
                                      << QString();
    }
    void controlsRead() {
        QFETCH(QString, object);
        QFETCH(int, role);
        QFETCH(QString, name);
        QFETCH(QString, value);
        QWidget *w = nullptr;
        for (QWidget *c : window->findChildren<QWidget *>(object))
            if (!w || window->displayPage()->isAncestorOf(c)) // two pages have an L_Rate
                w = c;
        QVERIFY(w);
        QAccessibleInterface *i = QAccessible::queryAccessibleInterface(w);
        QCOMPARE(int(i->role()), role);
        QCOMPARE(i->text(QAccessible::Name), name);
        if (!value.isNull())
            QCOMPARE(i->text(QAccessible::Value), value);
        if (role == QAccessible::ProgressBar) {
            QVERIFY(i->valueInterface());
            QCOMPARE(i->valueInterface()->currentValue().toInt(), 0);
        }
    }

    // The swatch is pressed like a button, and says its new colour.
    void swatchPressedByScreenReader() {
        tabs()->setCurrentIndex(1);
        QAccessibleInterface *i =
            QAccessible::queryAccessibleInterface(child(QStringLiteral("S_Rahmen")));
        QVERIFY(i->actionInterface());
        QVERIFY(i->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::pressAction()));
        dialogs.color = 0x00FF00u;
        i->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(window->displayPage()->frameColour().rgb() & 0xFFFFFF, 0x00FF00u);
        QCOMPARE(i->text(QAccessible::Value), QStringLiteral("#00FF00"));
        // AT-SPI reads no value of a button: the description names the colour.
        QCOMPARE(i->text(QAccessible::Description), QStringLiteral("Colour #00FF00"));
        dialogs.color.reset(); // cancelled: nothing changes
        i->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(i->text(QAccessible::Value), QStringLiteral("#00FF00"));
    }

    // With Desktop style on a dark or high-contrast desktop, every text
    // keeps 4.5:1 against its background.
    void textContrastInDesktopPalettes_data() {
        QTest::addColumn<QPalette>("palette");
        // Qt derives the rest (disabled texts included) from these.
        QTest::newRow("light") << QPalette(QColor(0xef, 0xef, 0xef), QColor(0xef, 0xef, 0xef));
        QTest::newRow("dark") << QPalette(QColor(0x31, 0x36, 0x3b), QColor(0x2a, 0x2e, 0x32));
        QPalette high(Qt::white, Qt::black, Qt::white, Qt::darkGray, Qt::gray, Qt::white,
                      Qt::white, Qt::black, Qt::black);
        high.setColor(QPalette::Highlight, Qt::yellow);
        high.setColor(QPalette::HighlightedText, Qt::black);
        QTest::newRow("high contrast") << high;
    }
    void textContrastInDesktopPalettes() {
        QFETCH(QPalette, palette);
        window->setDesktopStyle(true);
        QApplication::setPalette(palette);
        // The desktop's palette arrives as a posted change, and the window
        // makes its disabled texts readable on it.
        const QPalette readable = readablePalette(palette);
        QTRY_COMPARE(window->palette().color(QPalette::Window), palette.color(QPalette::Window));
        QTRY_COMPARE(window->palette().color(QPalette::Disabled, QPalette::ButtonText),
                     readable.color(QPalette::Disabled, QPalette::ButtonText));
        const QStringList weak = weakTexts();
        window->setDesktopStyle(false);
        QVERIFY2(weak.isEmpty(), qPrintable(weak.join(u' ')));
        // The program's own look gets its own colours back exactly.
        QTRY_COMPARE(child(QStringLiteral("GB_Download"))->palette().color(QPalette::WindowText),
                     UpdatePage::kGrey);
    }

    // In the program's own look every text reads at 4.5:1 or better, the
    // texts of disabled groups included. Last: it applies the look.
    void textContrast() {
        QVERIFY(applyVisualStyle(*qApp, QString::fromLatin1(kVisualStyle)));
        const QStringList weak = weakTexts();
        QVERIFY2(weak.isEmpty(), qPrintable(weak.join(u' ')));
    }
};

QTEST_MAIN(TstAccessibility)
#include "tst_accessibility.moc"
