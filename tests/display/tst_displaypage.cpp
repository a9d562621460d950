// The "Display Copy" page: controls, area fields and presets, frame colour,
// clipboard and BMP file, and a scan without a link.
#include "ScriptedDialogs.h"
#include "app/TFMain.h"
#include "display/ui/DisplayPage.h"
#include "link/DeviceLink.h"
#include "TestFiles.h"

#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QtEndian>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#ifdef Q_OS_LINUX
#include <sys/fsuid.h>
#include <unistd.h>
#endif

using namespace lmk;
using namespace lmk::test;

namespace {
QList<int> fields(DisplayPage &page) {
    QList<int> v;
    for (const char *n : {"SE_X", "SE_Y", "SE_B", "SE_H"})
        v << page.findChild<QSpinBox *>(QLatin1String(n))->value();
    return v;
}

// True when every pixel of `img` inside `r` has colour `c`.
bool allOf(const QImage &img, const QRect &r, QRgb c) {
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) != (c & 0xFFFFFF))
                return false;
    return true;
}

} // namespace

class TstDisplayPage : public QObject {
    Q_OBJECT
    DeviceLink *link = nullptr;
    DisplayPage *page = nullptr;
    ScriptedDialogs *dlg = nullptr;

    template <class T> T *get(const char *name) {
        T *w = page->findChild<T *>(QLatin1String(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }

private slots:
    void init() {
        dlg = new ScriptedDialogs;
        link = new DeviceLink;
        page = new DisplayPage(*link);
        page->resize(981, 510);
        page->show();
    }
    void cleanup() {
        delete page;
        delete link;
        delete dlg;
    }

    void startState() {
        QCOMPARE(get<QPushButton>("B_Dispcpy")->text(), QStringLiteral("Scan"));
        QVERIFY(get<QPushButton>("B_Dispcpy")->isEnabled());
        auto *abort = get<QPushButton>("B_Abort");
        QCOMPARE(abort->text(), QStringLiteral("Cancel"));
        QVERIFY(!abort->isVisible());
        QVERIFY(!abort->isEnabled());
        QCOMPARE(get<QLabel>("L_Spaltet")->text(), QStringLiteral("Column:"));
        QCOMPARE(get<QLabel>("L_Spalte")->text(), QStringLiteral("0"));
        auto *pb = get<QProgressBar>("PB_Scan");
        QCOMPARE(pb->minimum(), 0);
        QCOMPARE(pb->maximum(), 100);
        QCOMPARE(pb->value(), 0);
        const struct { const char *name; int max; int value; } spins[] = {
            {"SE_X", 790, 0}, {"SE_Y", 470, 0}, {"SE_B", 800, 800}, {"SE_H", 480, 480}};
        for (const auto &s : spins) {
            auto *sb = get<QSpinBox>(s.name);
            QCOMPARE(sb->minimum(), 0);
            QCOMPARE(sb->maximum(), s.max);
            QCOMPARE(sb->value(), s.value);
        }
        QCOMPARE(get<QRadioButton>("RB_GVGA")->text(), QStringLiteral("Full VGA"));
        QCOMPARE(get<QRadioButton>("RB_GWVGA")->text(), QStringLiteral("Full WVGA"));
        QCOMPARE(get<QRadioButton>("RB_DVGA")->text(), QStringLiteral("Diagram VGA"));
        QCOMPARE(get<QRadioButton>("RB_DWVGA")->text(), QStringLiteral("Diagram WVGA"));
        QVERIFY(get<QRadioButton>("RB_GWVGA")->isChecked());
        QCOMPARE(get<QWidget>("S_Rahmen")->size(), QSize(25, 25));
        QCOMPARE(get<QPushButton>("B_Clip")->text(), QStringLiteral("To Clipboard"));
        QCOMPARE(get<QWidget>("I_Scan")->size(), QSize(810, 490));
        QCOMPARE(page->picture().size(), QSize(810, 490));
        QCOMPARE(page->picture().depth(), 24);
        QVERIFY(allOf(page->picture(), page->picture().rect(), qRgb(0, 0, 0)));
        for (QWidget *w : page->findChildren<QWidget *>()) // nothing sticks out of the page
            if (w->isVisible() && w->parentWidget() == page)
                QVERIFY2(w->geometry().right() < 981 && w->geometry().bottom() < 510,
                         qPrintable(w->objectName()));
    }

    void presetClicks_data() {
        QTest::addColumn<QString>("radio");
        QTest::addColumn<QList<int>>("area");
        QTest::newRow("Full VGA") << "RB_GVGA" << QList<int>{0, 0, 640, 480};
        QTest::newRow("Diagram VGA") << "RB_DVGA" << QList<int>{0, 93, 520, 387};
        QTest::newRow("Diagram WVGA") << "RB_DWVGA" << QList<int>{0, 93, 648, 387};
        QTest::newRow("Full WVGA") << "RB_GWVGA" << QList<int>{0, 0, 800, 480};
    }
    void presetClicks() {
        QFETCH(QString, radio);
        QFETCH(QList<int>, area);
        get<QRadioButton>("RB_DVGA")->click(); // start away from the target
        get<QSpinBox>("SE_X")->setValue(3);
        get<QRadioButton>(qPrintable(radio))->click();
        QCOMPARE(fields(*page), area);
        QCOMPARE(get<QWidget>("I_Scan")->size(), QSize(area[2] + 10, area[3] + 10));
    }

    void typedValuesFollowTheRules() {
        auto *x = get<QSpinBox>("SE_X");
        auto *w = get<QSpinBox>("SE_B");
        auto *h = get<QSpinBox>("SE_H");
        x->setValue(100);
        QCOMPARE(x->value(), 0);
        w->setValue(700);
        QCOMPARE(get<QWidget>("I_Scan")->width(), 710);
        x->setValue(100);
        QCOMPARE(x->value(), 100);
        get<QRadioButton>("RB_DVGA")->click();
        x->setValue(200);
        QCOMPARE(x->value(), 120);
        x->setValue(0);
        w->setValue(700);
        QCOMPARE(w->value(), 640);
        QCOMPARE(get<QWidget>("I_Scan")->width(), 650);
        h->setValue(400);
        QCOMPARE(h->value(), 387);
        QCOMPARE(get<QWidget>("I_Scan")->height(), 397);
    }

    void frameColour() {
        get<QRadioButton>("RB_DVGA")->click(); // image control 530 x 397
        dlg->color = 0x3060C0;
        QTest::mouseClick(get<QWidget>("S_Rahmen"), Qt::RightButton);
        QCOMPARE(page->frameColour(), QColor(0x30, 0x60, 0xC0));
        const QImage &img = page->picture();
        QVERIFY(allOf(img, QRect(0, 0, 530, 397), qRgb(0x30, 0x60, 0xC0)));
        QVERIFY(allOf(img, QRect(530, 0, 280, 490), qRgb(0, 0, 0)));
        QVERIFY(allOf(img, QRect(0, 397, 810, 93), qRgb(0, 0, 0)));
        // Cancelled: nothing changes.
        dlg->color.reset();
        get<QRadioButton>("RB_GWVGA")->click();
        QTest::mouseClick(get<QWidget>("S_Rahmen"), Qt::LeftButton);
        QCOMPARE(page->frameColour(), QColor(0x30, 0x60, 0xC0));
        QVERIFY(allOf(img, QRect(530, 0, 280, 490), qRgb(0, 0, 0)));
        // The start-up fill covers the whole picture.
        page->fillFrame();
        QVERIFY(allOf(img, img.rect(), qRgb(0x30, 0x60, 0xC0)));
    }

    void scanWithoutLink() {
        get<QRadioButton>("RB_DWVGA")->click(); // image control 658 x 397
        dlg->color = 0xFF0000;
        QTest::mouseClick(get<QWidget>("S_Rahmen"), Qt::LeftButton);
        get<QRadioButton>("RB_GWVGA")->click(); // scan area back to 810 x 490
        dlg->texts.clear();
        get<QPushButton>("B_Dispcpy")->click();
        QCOMPARE(dlg->texts, QStringList{QStringLiteral("No connection available!")});
        QVERIFY(get<QPushButton>("B_Dispcpy")->isEnabled());
        QVERIFY(!get<QPushButton>("B_Abort")->isEnabled());
        QVERIFY(get<QWidget>("I_Scan")->isVisible());
        // The frame colour fills the image control's area before the check.
        QVERIFY(allOf(page->picture(), page->picture().rect(), qRgb(255, 0, 0)));
    }

    void clipboard() {
        dlg->color = 0x102030;
        get<QRadioButton>("RB_DVGA")->click();
        QTest::mouseClick(get<QWidget>("S_Rahmen"), Qt::LeftButton);
        get<QPushButton>("B_Clip")->click();
        const QImage img = QGuiApplication::clipboard()->image();
        QCOMPARE(img.size(), QSize(810, 490));
        QCOMPARE(img.pixel(0, 0) & 0xFFFFFF, 0x102030u);
        QCOMPARE(img.pixel(809, 489) & 0xFFFFFF, 0u); // outside the area: still black
    }

    void saveBmp() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("shot.BMP"));
        { // an existing file is replaced
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old contents");
        }
        dlg->color = 0x804020;
        get<QRadioButton>("RB_DVGA")->click();
        QTest::mouseClick(get<QWidget>("S_Rahmen"), Qt::LeftButton);
        page->savePicture(path);
        QVERIFY(dlg->texts.isEmpty());
        const QByteArray b = fileContents(path);
        QCOMPARE(b.size(), 1191734);
        const auto *d = reinterpret_cast<const uchar *>(b.constData());
        QCOMPARE(b.left(2), QByteArray("BM"));
        QCOMPARE(qFromLittleEndian<quint32>(d + 2), 1191734u);  // file size
        QCOMPARE(qFromLittleEndian<quint32>(d + 10), 54u);      // pixel data offset
        QCOMPARE(qFromLittleEndian<quint32>(d + 14), 40u);      // info header size
        QCOMPARE(qFromLittleEndian<qint32>(d + 18), 810);       // width
        QCOMPARE(qFromLittleEndian<qint32>(d + 22), 490);       // height > 0: bottom-up
        QCOMPARE(qFromLittleEndian<quint16>(d + 26), quint16(1));  // planes
        QCOMPARE(qFromLittleEndian<quint16>(d + 28), quint16(24)); // bits per pixel
        QCOMPARE(qFromLittleEndian<quint32>(d + 30), 0u);       // uncompressed
        // Bottom row first: the picture's last row is black, its first row
        // (the last one in the file) starts with the frame colour as B, G, R.
        QCOMPARE(int(d[54]), 0);
        const int lastRow = 54 + 489 * 2432;
        QCOMPARE(b.mid(lastRow, 3), QByteArray::fromHex("204080"));
        QImage back;
        QVERIFY(back.load(path, "BMP"));
        QCOMPARE(back.size(), QSize(810, 490));
        QCOMPARE(back.convertToFormat(QImage::Format_RGB888), page->picture());
        // No temporary file stays behind.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("shot.BMP")});
    }

    // A name ending in .png (any case) is written as PNG.
    void savePng() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("shot.Png"));
        dlg->color = 0x123456;
        QTest::mouseClick(get<QWidget>("S_Rahmen"), Qt::LeftButton);
        page->savePicture(path);
        QVERIFY(dlg->texts.isEmpty());
        QCOMPARE(fileContents(path).left(8), QByteArray::fromHex("89504e470d0a1a0a"));
        QImage back;
        QVERIFY(back.load(path, "PNG"));
        QCOMPARE(back.convertToFormat(QImage::Format_RGB888), page->picture());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("shot.Png")});
    }

    // In a folder where no temporary file can be created, an existing file
    // that may be written is replaced in place.
    void saveWhereNoTemporaryFile() {
#ifndef Q_OS_LINUX
        QSKIP("needs setfsuid to take away root's rights");
#else
        QTemporaryDir dir;
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                      QFile::ExeGroup | QFile::ExeOther));
        const QString folder = dir.filePath(QStringLiteral("locked"));
        QVERIFY(QDir().mkdir(folder));
        const QString path = folder + QStringLiteral("/shot.BMP");
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old contents");
        }
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther |
                                                QFile::WriteOther | QFile::ReadGroup | QFile::WriteGroup));
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                                  QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup));
        // Root may create files anywhere: save as nobody for the file system.
        const uid_t before = uid_t(setfsuid(geteuid() == 0 ? 65534 : uid_t(-1)));
        QTemporaryFile probe(folder + QStringLiteral("/probe"));
        const bool tempPossible = probe.open();
        page->savePicture(path);
        setfsuid(before);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!tempPossible);
        QVERIFY2(dlg->texts.isEmpty(), qPrintable(dlg->texts.join(QLatin1Char('\n'))));
        QCOMPARE(QFileInfo(path).size(), 1191734);
        QImage back;
        QVERIFY(back.load(path, "BMP"));
        QCOMPARE(back.convertToFormat(QImage::Format_RGB888), page->picture());
#endif
    }

    void saveBmpFailures() {
        QTemporaryDir dir;
        // A folder that does not exist: the error is reported.
        const QString missing = dir.filePath(QStringLiteral("no/such/dir/x.BMP"));
        page->savePicture(missing);
        QCOMPARE(dlg->texts.size(), 1);
        QVERIFY(dlg->texts[0].startsWith(QStringLiteral("Cannot create file \"%1\".").arg(missing)));
        QVERIFY(!QFile::exists(missing));

        // A write that fails half-way (file size limit) leaves the existing
        // file as it was.
        const QString path = dir.filePath(QStringLiteral("keep.BMP"));
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("precious");
        }
        dlg->texts.clear();
        rlimit saved{};
        QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 100000;
        QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
        page->savePicture(path);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
        QCOMPARE(dlg->texts.size(), 1);
        QVERIFY(dlg->texts[0].startsWith(QStringLiteral("Cannot create file")));
        QCOMPARE(fileContents(path), QByteArray("precious"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("keep.BMP")});
    }

    // File, Save on the "Display Copy" page asks for a BMP or PNG name and saves.
    void fileSaveRouting() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("menu.BMP"));
        TFMain window(*link);
        window.showPage(1);
        dlg->files.enqueue(path);
        window.MI_SpeichernClick();
        QCOMPARE(dlg->fileRequests,
                 QStringList{QStringLiteral("*.BMP|Bilddatei *.BMP|*.BMP|PNG-Bild *.PNG|*.PNG")});
        QCOMPARE(QFileInfo(path).size(), 1191734);
        // The second type: PNG.
        const QString png = dir.filePath(QStringLiteral("menu.png"));
        dlg->files.enqueue(png);
        window.MI_SpeichernClick();
        QImage back;
        QVERIFY(back.load(png, "PNG"));
        QCOMPARE(back.size(), QSize(810, 490));
        // Cancelled: nothing written.
        dlg->fileRequests.clear();
        window.MI_SpeichernClick();
        QCOMPARE(dlg->fileRequests.size(), 1);
    }

    // The save dialog offers the scale, 1 x first; the picture is enlarged
    // by whole pixels, and a PNG names the area and the program.
    void saveScaled_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("choice"); // -1: the one shown first
        QTest::addColumn<int>("scale");
        QTest::newRow("bmp, default") << "s.bmp" << -1 << 1;
        QTest::newRow("png 2 x") << "s.png" << 1 << 2;
        QTest::newRow("bmp 3 x") << "s.bmp" << 2 << 3;
        QTest::newRow("png 4 x") << "s.png" << 3 << 4;
    }
    void saveScaled() {
        QFETCH(QString, name);
        QFETCH(int, choice);
        QFETCH(int, scale);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        TFMain window(*link);
        window.showPage(1);
        DisplayPage *shown = window.findChild<DisplayPage *>();
        QVERIFY(shown);
        dlg->color = 0x336699;
        shown->S_RahmenMouseUp(); // 530 x 397 of frame colour, black around
        QTest::mouseClick(shown->findChild<QRadioButton *>(QStringLiteral("RB_DVGA")), Qt::LeftButton);
        dlg->files.enqueue(path);
        dlg->choice = choice;
        window.MI_SpeichernClick();
        QCOMPARE(dlg->choiceRequests, QStringList{QStringLiteral("Scale:|1 x|2 x|3 x|4 x")});
        QVERIFY2(dlg->texts.isEmpty(), qPrintable(dlg->texts.join(QLatin1Char('|'))));
        QImageReader reader(path);
        if (name.endsWith(QLatin1String(".png"))) { // no scan yet: no area, no time
            const QMap<QString, QString> texts = pngTexts(fileContents(path));
            QVERIFY(texts.value(QStringLiteral("Software")).startsWith(QLatin1String("lmkinterface")));
            QVERIFY(!texts.contains(QStringLiteral("Area")));
            QVERIFY(!texts.contains(QStringLiteral("Creation Time")));
        }
        const QImage back = reader.read().convertToFormat(QImage::Format_RGB888);
        const QImage &pic = shown->picture();
        QCOMPARE(back.size(), pic.size() * scale);
        for (int y = 0; y < back.height(); ++y)
            for (int x = 0; x < back.width(); ++x)
                if (back.pixel(x, y) != pic.pixel(x / scale, y / scale))
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
    }
};

QTEST_MAIN(TstDisplayPage)
#include "tst_displaypage.moc"
