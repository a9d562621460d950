// The window in English and in its own texts: chosen in View > Language,
// remembered, every visible text of every window translated, messages and
// file filters too, and back again to exactly the program's own texts.
#include "WindowWalk.h"
#include "app/AppSettings.h"
#include "app/TDLG_Info.h"
#include "app/TFMain.h"
#include "app/UiLanguage.h"
#include "memory/ui/MemoryEditor.h"
#include "memory/ui/MemoryPage.h"
#include "sample/ui/SamplePage.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTabWidget>
#include <QXmlStreamReader>
#include <QtTest>

using namespace lmk;

namespace {
struct Catalogue {
    QSet<QString> sources;
    QSet<QString> translations;
};

// The English catalogue as written in the tree.
Catalogue readCatalogue() {
    Catalogue c;
    QFile f(QStringLiteral(LMK_SOURCE_DIR "/translations/lmkinterface_en.ts"));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("translations/lmkinterface_en.ts missing");
    QXmlStreamReader xml(&f);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("source"))
            c.sources.insert(xml.readElementText());
        else if (xml.name() == QLatin1String("translation"))
            c.translations.insert(xml.readElementText());
    }
    return c;
}

// Every text a window shows: captions, titles, tabs, menus, list items and
// headings; never what the user typed. Tagged with the object showing it.
QList<std::pair<QString, QString>> shownTexts(QWidget *root) {
    QList<std::pair<QString, QString>> texts;
    const auto add = [&](const QObject *o, const QString &t) {
        if (!t.trimmed().isEmpty())
            texts.append({o->objectName(), t});
    };
    if (root->isWindow())
        add(root, root->windowTitle());
    for (QWidget *w : shownWidgets(root)) {
        if (auto *l = qobject_cast<QLabel *>(w))
            add(w, l->text());
        else if (auto *b = qobject_cast<QAbstractButton *>(w))
            add(w, b->text());
        else if (auto *g = qobject_cast<QGroupBox *>(w))
            add(w, g->title());
        else if (auto *t = qobject_cast<QTabWidget *>(w)) {
            for (int i = 0; i < t->count(); ++i)
                add(w, t->tabText(i));
        } else if (auto *c = qobject_cast<QComboBox *>(w)) {
            for (int i = 0; i < c->count(); ++i)
                add(w, c->itemText(i));
        } else if (auto *list = qobject_cast<QListWidget *>(w)) {
            for (int i = 0; i < list->count(); ++i)
                add(w, list->item(i)->text());
        } else if (auto *v = qobject_cast<QAbstractItemView *>(w); v && v->model()) {
            for (int col = 0; col < v->model()->columnCount(); ++col)
                add(w, v->model()->headerData(col, Qt::Horizontal).toString());
        }
        add(w, w->accessibleName());
    }
    if (auto *main = qobject_cast<QMainWindow *>(root)) {
        for (QAction *menu : main->menuBar()->actions()) {
            add(menu, menu->text());
            if (menu->menu())
                for (QAction *a : menu->menu()->findChildren<QAction *>())
                    add(a, a->text());
        }
    }
    return texts;
}

// Numbers in a text stand for %1, %2, ... as in the catalogue.
QString withPlaceholders(const QString &text) {
    static const QRegularExpression number(QStringLiteral("\\d+(?:[.,:]\\d+)*"));
    QString out;
    qsizetype last = 0;
    int n = 0;
    auto it = number.globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        out += text.mid(last, m.capturedStart() - last) + QLatin1Char('%') + QString::number(++n);
        last = m.capturedEnd();
    }
    return out + text.mid(last);
}

bool hasLetters(const QString &t) {
    for (QChar c : t)
        if (c.isLetter())
            return true;
    return false;
}
} // namespace

class TstLanguage : public QObject, public OfflineWindow {
    Q_OBJECT

    QAction *action(const char *name) { return child<QAction>(QLatin1String(name)); }
    QString stored() {
        return appSettings()->value(QLatin1String(UiLanguage::kSettingKey)).toString();
    }

  private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QFile::remove(appSettings()->fileName());
    }
    void init() { QVERIFY(openWindow()); }
    void cleanup() {
        UiLanguage::instance().setLanguage(Language::Specified);
        closeWindow();
    }
    void cleanupTestCase() { QFile::remove(appSettings()->fileName()); }

    // The menu switches, the choice is stored, and the way back gives every
    // text exactly as it was.
    void switchAndBack() {
        window->MI_MemorySlotsClick();
        const auto before = shownTexts(window) + shownTexts(window->memoryEditor());
        QCOMPARE(UiLanguage::instance().language(), Language::Specified);
        QVERIFY(action("MI_LanguageSpecified")->isChecked());

        action("MI_LanguageEnglish")->trigger();
        QCOMPARE(UiLanguage::instance().language(), Language::English);
        QVERIFY(action("MI_LanguageEnglish")->isChecked());
        QVERIFY(!action("MI_LanguageSpecified")->isChecked());
        QCOMPARE(stored(), QStringLiteral("en"));
        QCOMPARE(tabs()->tabText(3), QStringLiteral("Memory Slots"));
        QVERIFY(shownTexts(window) + shownTexts(window->memoryEditor()) != before);

        action("MI_LanguageSpecified")->trigger();
        QCOMPARE(stored(), QStringLiteral("de"));
        QCOMPARE(shownTexts(window) + shownTexts(window->memoryEditor()), before);
        QCOMPARE(tabs()->tabText(3), QStringLiteral("Speicherplätze"));
    }

    // A new start takes the stored choice; nothing stored is the default.
    void restoredAtStart() {
        appSettings()->setValue(QLatin1String(UiLanguage::kSettingKey), QStringLiteral("en"));
        UiLanguage::instance().restore();
        QCOMPARE(UiLanguage::instance().language(), Language::English);
        QVERIFY(action("MI_LanguageEnglish")->isChecked());
        QCOMPARE(tabs()->tabText(3), QStringLiteral("Memory Slots"));
        appSettings()->remove(QLatin1String(UiLanguage::kSettingKey));
        UiLanguage::instance().restore();
        QCOMPARE(UiLanguage::instance().language(), Language::Specified);
    }

    // In English no text of either window, on any page, is left in the
    // program's own words or outside the catalogue.
    void everyShownTextTranslated() {
        const Catalogue catalogue = readCatalogue();
        QVERIFY(!catalogue.translations.isEmpty());
        window->MI_MemorySlotsClick();
        window->createInfoDialog()->show();
        action("MI_LanguageEnglish")->trigger();
        QStringList missing;
        QSet<QString> seen;
        const auto check = [&](QWidget *root) {
            root->grab(); // texts set since are translated when drawn
            for (const auto &[object, text] : shownTexts(root)) {
                seen.insert(text);
                if (!hasLetters(text))
                    continue;
                if (catalogue.translations.contains(text) ||
                    catalogue.translations.contains(withPlaceholders(text)))
                    continue;
                missing << object + QLatin1String(": ") + text;
            }
        };
        forEachTabbedPage([&] { check(window); });
        // The pages without a tab, as they would show.
        check(window->memoryPage());
        check(window->samplePage());
        check(window->memoryEditor());
        check(window->infoDialog());
        window->infoDialog()->hide();
        missing.removeDuplicates();
        QVERIFY2(missing.isEmpty(), qPrintable(QLatin1String("\n") + missing.join(u'\n')));
        // The walk saw the windows' texts, German ones among them.
        for (const char *english : {"Memory Slots", "Read from LMK54", "Frequency", "USB device:",
                                    "Interface program for LMK54", "Update 54/55", "none",
                                    "no audio device"})
            QVERIFY2(seen.contains(QString::fromUtf8(english)), english);
    }

    // Messages and file filters: one name for one file type, numbers kept.
    void messagesAndFilters_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("filter");
        QTest::addColumn<QString>("english");
        QTest::newRow("save filter") << "Speicherplatz-Datei *.Mem|*.Mem" << true
                                     << "Memory file *.Mem|*.Mem";
        QTest::newRow("open filter") << "Memory file *.Mem|*.Mem" << true
                                     << "Memory file *.Mem|*.Mem";
        QTest::newRow("two types") << "Bitmap *.BMP|*.BMP|Speicherplatz-Datei *.Mem|*.Mem" << true
                                   << "Bitmap image *.BMP|*.BMP|Memory file *.Mem|*.Mem";
        QTest::newRow("question") << "Wirklich alle Speicherplätze im LMK54 löschen?" << false
                                  << "Really clear all memory slots of the LMK54?";
        QTest::newRow("number kept") << "Bytes sent: 512" << false << "Bytes sent: 512";
        QTest::newRow("unknown stays") << "LMK5x-0001" << false << "LMK5x-0001";
    }
    void messagesAndFilters() {
        QFETCH(QString, text);
        QFETCH(bool, filter);
        QFETCH(QString, english);
        const auto translated = [&] {
            return filter ? UiLanguage::translateFilter(text) : UiLanguage::translate(text);
        };
        QCOMPARE(translated(), text);
        UiLanguage::instance().setLanguage(Language::English);
        QCOMPARE(translated(), english);
    }

    // A text the program sets after the switch is translated before it is
    // drawn, and restored in the program's words on the way back.
    void textSetLaterTranslatedWhenDrawn() {
        UiLanguage::instance().setLanguage(Language::English);
        auto *label = window->findChild<QLabel *>(QStringLiteral("Label4"));
        QVERIFY(label);
        label->setText(QStringLiteral("Datei:"));
        window->grab();
        QCOMPARE(label->text(), QStringLiteral("File:"));
        UiLanguage::instance().setLanguage(Language::Specified);
        QCOMPARE(label->text(), QStringLiteral("Datei:"));
    }
};

QTEST_MAIN(TstLanguage)
#include "tst_language.moc"
