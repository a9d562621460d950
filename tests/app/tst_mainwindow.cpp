// The main window without a receiver: its controls, pages, menu, timers,
// dialogs, File menu routing, closing, the Info dialog and the visual style.
#include "ScriptedDialogs.h"
#include "app/TDLG_Info.h"
#include "app/TFMain.h"
#include "app/VisualStyle.h"
#include "link/DeviceEvents.h"
#include "link/DeviceLink.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace lmk;

class TstMainWindow : public QObject {
    Q_OBJECT

    ScriptedDialogs dialogs;
    DeviceLink *link = nullptr;
    TFMain *window = nullptr;

    template <typename T> T *child(const QString &name) {
        T *w = window->findChild<T *>(name);
        if (!w)
            qFatal("%s missing", qPrintable(name));
        return w;
    }
    QTabWidget *tabs() { return child<QTabWidget>(QStringLiteral("PC_main")); }
    QAction *action(const QString &name) { return child<QAction>(name); }

  private slots:
    void init() {
        SimProcess_noUsb();
        link = new DeviceLink;
        link->setEndpoint(QStringLiteral("127.0.0.1"), 9);
        window = new TFMain(*link);
        window->show();
    }
    void cleanup() {
        delete window;
        delete link;
        dialogs.clear();
        dialogs.defaultAnswer = false;
    }

    void windowAndTopRow() {
        QCOMPARE(window->objectName(), QStringLiteral("FMain"));
        QCOMPARE(window->windowTitle(), QStringLiteral("USB / WLAN Interface to LMK54/55"));
        QCOMPARE(window->centralWidget()->size(), QSize(1007, 586));
        QCOMPARE(window->font().families().value(0), QStringLiteral("MS Sans Serif"));
        QCOMPARE(window->font().pointSize(), 8);
        QVERIFY(!window->windowIcon().isNull());

        QCOMPARE(child<QFrame>(QStringLiteral("Bevel1"))->frameShape(), QFrame::HLine);
        QCOMPARE(child<QLabel>(QStringLiteral("Label4"))->text(), QStringLiteral("USB-Device:"));
        auto *usb = child<QLineEdit>(QStringLiteral("EUSBDevice"));
        QCOMPARE(usb->size(), QSize(121, 21));
        QVERIFY(usb->text().isEmpty());
        auto *group = child<QGroupBox>(QStringLiteral("GroupBox2"));
        QCOMPARE(group->size(), QSize(169, 26));
        QVERIFY(!group->isEnabled());
        auto *wlan = child<QCheckBox>(QStringLiteral("CB_WLAN"));
        QCOMPARE(wlan->parentWidget(), group);
        QCOMPARE(wlan->text(), QStringLiteral("WLAN Access to Device:"));
        QVERIFY(!wlan->isChecked());
        auto *wlanText = child<QLineEdit>(QStringLiteral("EWLANDevice"));
        QCOMPARE(wlanText->size(), QSize(121, 21));
        QVERIFY(wlanText->text().isEmpty());
        // Left to right, none overlapping.
        const QList<QWidget *> row{child<QLabel>(QStringLiteral("Label4")), usb, group, wlanText};
        for (int i = 1; i < row.size(); ++i)
            QVERIFY(row[i - 1]->geometry().right() < row[i]->geometry().left());
    }

    void pagesInOrder() {
        QTabWidget *pc = tabs();
        QCOMPARE(pc->size(), QSize(985, 536));
        const QStringList names{"TS_Download", "TS_Dispcpy", "TS_LMK54", "TS_Speicher", "TS_Chat"};
        const QStringList captions{"Update 54/55", "Display Copy", "LMK25E", "Speicherplätze",
                                   "USB Terminal"};
        const QList<bool> shown{true, true, false, false, true};
        QCOMPARE(pc->count(), 5);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(pc->widget(i)->objectName(), names[i]);
            QCOMPARE(pc->tabText(i), captions[i]);
            QCOMPARE(pc->isTabVisible(i), shown[i]);
        }
        QCOMPARE(pc->currentIndex(), 0);
        QCOMPARE(window->pageShown(), 0);
    }

    void pageShownCountsVisibleTabs_data() {
        QTest::addColumn<int>("visible");
        QTest::addColumn<QString>("sheet");
        QTest::newRow("0") << 0 << "TS_Download";
        QTest::newRow("1") << 1 << "TS_Dispcpy";
        QTest::newRow("2") << 2 << "TS_Chat";
    }
    void pageShownCountsVisibleTabs() {
        QFETCH(int, visible);
        QFETCH(QString, sheet);
        window->showPage(visible);
        QCOMPARE(tabs()->currentWidget()->objectName(), sheet);
        QCOMPARE(window->pageShown(), visible);
        QCOMPARE(link->terminalMode(), visible == 2); // the terminal page's frames are text
    }

    void menu_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Open") << "M_Datei"
                              << "MI_Oeffnen"
                              << "&Open";
        QTest::newRow("Save") << "M_Datei"
                              << "MI_Speichern"
                              << "&Save";
        QTest::newRow("N1") << "M_Datei"
                            << "N1"
                            << "";
        QTest::newRow("Close") << "M_Datei"
                               << "MI_Beenden"
                               << "&Close";
        QTest::newRow("USB") << "M_Interface"
                             << "MI_USB"
                             << "Find &USB Device";
        QTest::newRow("WLAN") << "M_Interface"
                              << "MI_WLAN"
                              << "Find &WLAN Connection";
        QTest::newRow("Info") << "M_Hilfe"
                              << "MI_Info"
                              << "&Info";
    }
    void menu() {
        QFETCH(QString, menu);
        QFETCH(QString, item);
        QFETCH(QString, caption);
        auto *bar = child<QMenuBar>(QStringLiteral("MM_LMK25"));
        QCOMPARE(window->menuBar(), bar);
        auto *m = child<QMenu>(menu);
        QVERIFY(bar->actions().contains(m->menuAction()));
        QAction *a = action(item);
        QVERIFY(m->actions().contains(a));
        QCOMPARE(a->text(), caption);
        QCOMPARE(a->isSeparator(), item == QLatin1String("N1"));
    }

    void menuCaptionsInOrder() {
        auto *bar = child<QMenuBar>(QStringLiteral("MM_LMK25"));
        QStringList titles;
        for (QAction *a : bar->actions())
            titles << a->text();
        // The specified menus, with View (language, look) before Help.
        QCOMPARE(titles, (QStringList{"&File", "&Interface", "&View", "&Help"}));
        QStringList file;
        for (QAction *a : child<QMenu>(QStringLiteral("M_Datei"))->actions())
            file << a->objectName();
        QCOMPARE(file, (QStringList{"MI_Oeffnen", "MI_Speichern", "N1", "MI_Beenden"}));
    }

    void timersAndDialogsAtStart() {
        QVERIFY(!link->exchangeRunning());
        QVERIFY(link->keepAliveActive());
        QCOMPARE(link->keepAliveInterval(), 30000);
        auto *timer2 = child<QTimer>(QStringLiteral("Timer2"));
        QVERIFY(!timer2->isActive());
        QCOMPARE(window->openDialogSetup().defaultExt, QStringLiteral("*.rpd"));
        QCOMPARE(window->saveDialogSetup().defaultExt, QStringLiteral("*.BMP"));
        QCOMPARE(window->saveDialogSetup().filter,
                 QStringLiteral("Bitmap *.BMP|*.BMP|Speicherplatz-Datei *.Mem|*.Mem"));
    }

    void fileMenuRouting_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("request"); // empty: no dialog
        QTest::newRow("open on update") << 0 << "MI_Oeffnen"
                                        << "*.RPD|Cyclone Design File *.RPD|*.RPD";
        QTest::newRow("open on display") << 1 << "MI_Oeffnen"
                                         << "";
        QTest::newRow("open on terminal") << 2 << "MI_Oeffnen"
                                          << "*.Mem|Memory file *.Mem|*.Mem";
        QTest::newRow("save on update") << 0 << "MI_Speichern"
                                        << "";
        QTest::newRow("save on display") << 1 << "MI_Speichern"
                                         << "*.BMP|Bilddatei *.BMP|*.BMP|PNG-Bild *.PNG|*.PNG";
        QTest::newRow("save on terminal") << 2 << "MI_Speichern"
                                          << "*.Mem|Speicherplatz-Datei *.Mem|*.Mem";
    }
    void fileMenuRouting() {
        QFETCH(int, page);
        QFETCH(QString, item);
        QFETCH(QString, request);
        window->showPage(page);
        action(item)->trigger(); // the dialog is cancelled (no file prepared)
        QCOMPARE(dialogs.fileRequests, request.isEmpty() ? QStringList{} : QStringList{request});
        QVERIFY(dialogs.texts.isEmpty());
        const FileDialogSetup &used = item == QLatin1String("MI_Oeffnen")
                                          ? window->openDialogSetup()
                                          : window->saveDialogSetup();
        if (!request.isEmpty())
            QCOMPARE(used.defaultExt + QLatin1Char('|') + used.filter, request);
    }

    // A chosen file goes to the page's own command.
    void chosenFileGoesToThePage() {
        QTemporaryDir dir;
        // Update 54/55, Open: the upload file.
        const QString rpd = dir.filePath(QStringLiteral("LMK54.RPD"));
        dialogs.files.enqueue(rpd);
        window->showPage(0);
        action(QStringLiteral("MI_Oeffnen"))->trigger();
        auto *list = child<QListWidget>(QStringLiteral("LB_Applikation"));
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), QStringLiteral("LMK54.RPD"));
        // Display Copy, Save: the picture as BMP.
        const QString bmp = dir.filePath(QStringLiteral("screen.BMP"));
        dialogs.files.enqueue(bmp);
        window->showPage(1);
        action(QStringLiteral("MI_Speichern"))->trigger();
        QFile picture(bmp);
        QVERIFY(picture.open(QIODevice::ReadOnly));
        QCOMPARE(picture.read(2), QByteArray("BM"));
        // USB Terminal, Save and Open: the memory-slot file.
        const QString mem = dir.filePath(QStringLiteral("slots.Mem"));
        dialogs.files.enqueue(mem);
        window->showPage(2);
        action(QStringLiteral("MI_Speichern"))->trigger();
        // The image holds nothing read yet: no 0-byte .Mem file is written.
        QVERIFY(!QFileInfo::exists(mem));
        QCOMPARE(dialogs.texts.size(), 1);
        dialogs.texts.clear();
        {
            QFile f(mem);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(63 * 256, '\0'));
        }
        dialogs.files.enqueue(mem);
        action(QStringLiteral("MI_Oeffnen"))->trigger();
        QVERIFY2(dialogs.texts.isEmpty(), qPrintable(dialogs.texts.join(QLatin1Char('|'))));
        QCOMPARE(dialogs.fileRequests.size(), 4);
    }

    void closeAsksFirst_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("No keeps the window") << false;
        QTest::newRow("Yes closes it") << true;
    }
    void closeAsksFirst() {
        QFETCH(bool, yes);
        dialogs.answers.enqueue(yes);
        action(QStringLiteral("MI_Beenden"))->trigger();
        QCOMPARE(dialogs.texts, QStringList{QStringLiteral("Close application?")});
        QCOMPARE(window->isVisible(), !yes);
    }

    void infoDialog() {
        TDLG_Info *info = window->createInfoDialog();
        QCOMPARE(window->createInfoDialog(), info);
        QVERIFY(!info->isVisible());
        QCOMPARE(info->objectName(), QStringLiteral("DLG_Info"));
        QCOMPARE(info->windowTitle(), QStringLiteral("Info"));
        QCOMPARE(info->size(), QSize(273, 248));
        QCOMPARE(info->minimumSize(), info->maximumSize());
        QVERIFY(!(info->windowFlags() & Qt::WindowMinMaxButtonsHint));
        auto *title = info->findChild<QLabel *>(QStringLiteral("ProductName"));
        QVERIFY(title);
        QCOMPARE(title->text(), QStringLiteral("Interfaceprogramm für LMK54"));
        QVERIFY(title->font().bold());
        auto *icon = info->findChild<QLabel *>(QStringLiteral("ProgramIcon"));
        QVERIFY(icon);
        QCOMPARE(icon->pixmap().size(), QSize(32, 32));
        auto *version = info->findChild<QLabel *>(QStringLiteral("Version"));
        QVERIFY(version && version->text().contains(QStringLiteral("1.4")));
        QVERIFY(info->findChild<QLabel *>(QStringLiteral("MakerName")));

        // "&Info" shows it modally until "OK".
        bool seen = false;
        QTimer::singleShot(0, this, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            seen = modal == info && info->isVisible();
            QPushButton *ok = info->findChild<QPushButton *>(QStringLiteral("OKButton"));
            QVERIFY(ok);
            QCOMPARE(ok->text(), QStringLiteral("OK"));
            ok->click();
        });
        action(QStringLiteral("MI_Info"))->trigger();
        QVERIFY(seen);
        QCOMPARE(info->result(), int(QDialog::Accepted));
        QVERIFY(!info->isVisible());
    }

    // A version frame handed to the window lands in the top row; the link
    // decides the field, the window shows it.
    void versionReplyShownInTopRow() {
        QCoreApplication::postEvent(window,
                                    new DeviceDataEvent(QByteArray::fromHex("1240050003010000")));
        QTRY_COMPARE(child<QLineEdit>(QStringLiteral("EUSBDevice"))->text(),
                     QStringLiteral("LMK540 V103"));
        QVERIFY(child<QLineEdit>(QStringLiteral("EWLANDevice"))->text().isEmpty());
    }

    void lostWlanClearsTheTopRow() {
        link->setWlanChecked(true);
        link->setWlanDeviceText(QStringLiteral("LMK540 V103"));
        QVERIFY(child<QCheckBox>(QStringLiteral("CB_WLAN"))->isChecked());
        // Nothing answers at the link's address: the send loses the connection.
        link->sendUnasked(QByteArray(1, char(0x12)));
        QVERIFY(!child<QCheckBox>(QStringLiteral("CB_WLAN"))->isChecked());
        QVERIFY(child<QLineEdit>(QStringLiteral("EWLANDevice"))->text().isEmpty());
        QVERIFY(!link->keepAliveActive());
        QCOMPARE(dialogs.texts, QStringList{QStringLiteral("LMK doesn't respond to WLAN!")});
    }

    void paletteDescription_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::newRow("role") << "Window = #102030" << true;
        QTest::newRow("comment and blank") << "# c\n\nWindow = #102030\n" << true;
        QTest::newRow("group") << "Disabled:Text = #102030" << true;
        QTest::newRow("no equals") << "Window #102030" << false;
        QTest::newRow("bad colour") << "Window = #10203" << false;
        QTest::newRow("unknown role") << "Windows = #102030" << false;
        QTest::newRow("unknown group") << "Sleepy:Text = #102030" << false;
    }
    void paletteDescription() {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QPalette p;
        QString error;
        QCOMPARE(parsePalette(text, p, &error), ok);
        QCOMPARE(error.isEmpty(), ok);
        if (ok && text.contains(QLatin1String("Disabled")))
            QCOMPARE(p.color(QPalette::Disabled, QPalette::Text), QColor(0x10, 0x20, 0x30));
        else if (ok)
            QCOMPARE(p.color(QPalette::Active, QPalette::Window), QColor(0x10, 0x20, 0x30));
    }

    void visualStyle() {
        auto *app = qobject_cast<QApplication *>(QCoreApplication::instance());
        QVERIFY(app);
        const QPalette before = QApplication::palette();
        QString error;
        QVERIFY(!applyVisualStyle(*app, QStringLiteral("Dark Neon"), &error));
        QVERIFY(error.startsWith(QStringLiteral("Visual style \"Dark Neon\" cannot be applied")));
        QCOMPARE(QApplication::palette(), before);
        QVERIFY(app->styleSheet().isEmpty());

        QVERIFY2(applyVisualStyle(*app, QString::fromLatin1(kVisualStyle), &error),
                 qPrintable(error));
        QCOMPARE(QApplication::palette().color(QPalette::Window), QColor(0xe4, 0xea, 0xf1));
        QVERIFY(!app->styleSheet().isEmpty());
        app->setStyleSheet(QString());
    }

  private:
    static void SimProcess_noUsb() {
        qunsetenv("LMK_USB_LIBRARY");
        qunsetenv("LMK_SIM_USB");
    }
};

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
