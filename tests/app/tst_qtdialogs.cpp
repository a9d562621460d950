// The window's dialogs: message boxes with the window's caption and the
// right buttons, file dialogs with the filter and extension they were given.
#include "app/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace lmk;

class TstQtDialogs : public QObject {
    Q_OBJECT

    QMainWindow window;
    QtDialogs dialogs{&window};

    // Runs `inspect` on the modal widget once it is shown.
    template <typename W> void whenShown(std::function<void(W *)> inspect, bool *seen) {
        QTimer::singleShot(0, this, [inspect, seen, this] {
            QTRY_VERIFY(qobject_cast<W *>(QApplication::activeModalWidget()));
            *seen = true;
            inspect(qobject_cast<W *>(QApplication::activeModalWidget()));
        });
    }

  private slots:
    void initTestCase() {
        window.setWindowTitle(QStringLiteral("USB / WLAN Interface to LMK54/55"));
        window.show();
    }

    void information() {
        bool seen = false;
        whenShown<QMessageBox>(
            [](QMessageBox *box) {
                QCOMPARE(box->text(), QStringLiteral("Transfer finished!"));
                QCOMPARE(box->windowTitle(), QStringLiteral("USB / WLAN Interface to LMK54/55"));
                QCOMPARE(box->icon(), QMessageBox::Information);
                QCOMPARE(box->buttons().size(), 1);
                box->button(QMessageBox::Ok)->click();
            },
            &seen);
        dialogs.information(QStringLiteral("Transfer finished!"));
        QVERIFY(seen);
    }

    void confirm_data() {
        QTest::addColumn<bool>("yesNo");
        QTest::addColumn<bool>("accept");
        QTest::newRow("Yes") << true << true;
        QTest::newRow("No") << true << false;
        QTest::newRow("OK") << false << true;
        QTest::newRow("Cancel") << false << false;
    }
    void confirm() {
        QFETCH(bool, yesNo);
        QFETCH(bool, accept);
        const auto yes = yesNo ? QMessageBox::Yes : QMessageBox::Ok;
        const auto no = yesNo ? QMessageBox::No : QMessageBox::Cancel;
        bool seen = false;
        whenShown<QMessageBox>(
            [=](QMessageBox *box) {
                QCOMPARE(box->text(), QStringLiteral("Close application?"));
                QCOMPARE(box->buttons().size(), 2);
                QVERIFY(box->button(yes));
                QVERIFY(box->button(no));
                box->button(accept ? yes : no)->click();
            },
            &seen);
        const bool answer = yesNo ? dialogs.confirmYesNo(QStringLiteral("Close application?"))
                                  : dialogs.confirmOkCancel(QStringLiteral("Close application?"));
        QVERIFY(seen);
        QCOMPARE(answer, accept);
    }

    void fileDialogs_data() {
        QTest::addColumn<bool>("save");
        QTest::addColumn<bool>("accept");
        QTest::newRow("open") << false << true;
        QTest::newRow("open cancelled") << false << false;
        QTest::newRow("save") << true << true;
        QTest::newRow("save cancelled") << true << false;
    }
    void fileDialogs() {
        QFETCH(bool, save);
        QFETCH(bool, accept);
        QTemporaryDir dir;
        const QString existing = dir.filePath(QStringLiteral("slots.Mem"));
        QFile f(existing);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        const QString target = dir.filePath(QStringLiteral("neu"));
        bool seen = false;
        whenShown<QFileDialog>(
            [=](QFileDialog *d) {
                QCOMPARE(d->nameFilters(),
                         QStringList{QStringLiteral("Memory file *.Mem (*.Mem)")});
                QCOMPARE(d->defaultSuffix(), QStringLiteral("Mem"));
                QCOMPARE(d->acceptMode(), save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
                if (!accept) {
                    d->reject();
                    return;
                }
                d->selectFile(save ? target : existing);
                QMetaObject::invokeMethod(d, "accept");
            },
            &seen);
        const QString chosen = save ? dialogs.saveFile(QStringLiteral("*.Mem"),
                                                       QStringLiteral("Memory file *.Mem|*.Mem"))
                                    : dialogs.openFile(QStringLiteral("*.Mem"),
                                                       QStringLiteral("Memory file *.Mem|*.Mem"));
        QVERIFY(seen);
        if (!accept)
            QVERIFY(chosen.isEmpty());
        else
            QCOMPARE(chosen, save ? dir.filePath(QStringLiteral("neu.Mem")) : existing);
    }

    // A name typed without an extension takes that of the type: a PNG
    // picture is "pic.png", never "pic.PNG"; other types as the filter says.
    void typedNameTakesExtension_data() {
        QTest::addColumn<QString>("defaultExt");
        QTest::addColumn<QString>("chooseFilter");
        QTest::addColumn<QString>("expected");
        QTest::newRow("PNG by default") << "*.PNG" << QString() << "pic.png";
        QTest::newRow("PNG chosen") << "*.BMP" << "PNG-Bild *.PNG (*.PNG)" << "pic.png";
        QTest::newRow("BMP") << "*.BMP" << QString() << "pic.BMP";
    }
    void typedNameTakesExtension() {
        QFETCH(QString, defaultExt);
        QFETCH(QString, chooseFilter);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        bool seen = false;
        whenShown<QFileDialog>(
            [&](QFileDialog *d) {
                if (!chooseFilter.isEmpty()) {
                    d->selectNameFilter(chooseFilter);
                    emit d->filterSelected(chooseFilter);
                }
                d->selectFile(dir.filePath(QStringLiteral("pic")));
                QMetaObject::invokeMethod(d, "accept");
            },
            &seen);
        int scale = 0;
        const QString chosen = dialogs.saveFileWithChoice(
            defaultExt, QStringLiteral("Bilddatei *.BMP|*.BMP|PNG-Bild *.PNG|*.PNG"),
            QStringLiteral("Scale:"), {QStringLiteral("1 x")}, scale);
        QVERIFY(seen);
        QCOMPARE(chosen, dir.filePath(expected));
    }
};

QTEST_MAIN(TstQtDialogs)
#include "tst_qtdialogs.moc"
