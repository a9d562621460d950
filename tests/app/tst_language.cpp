// The window in its own texts ("Original"), in English and in German: chosen
// in View > Language, remembered, every visible text of every window
// translated, messages and file filters too, numbers written and read in
// the language's convention whatever the system's locale, and back again to
// exactly the program's own texts.
#include "OwnSettings.h"
#include "WindowWalk.h"
#include "app/AppSettings.h"
#include "app/TDLG_Info.h"
#include "app/TFMain.h"
#include "app/UiLanguage.h"
#include "memory/ui/MemoryEditor.h"
#include "memory/SlotRecord.h"
#include "memory/ui/MemoryPage.h"
#include "memory/ui/SlotTableModel.h"
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
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QXmlStreamReader>
#include <QtTest>

using namespace lmk;

namespace {
struct Catalogue {
    QSet<QString> sources;
    QSet<QString> translations;
};

// A catalogue ("en", "de") as written in the tree.
Catalogue readCatalogue(const QString &name) {
    Catalogue c;
    QFile f(QStringLiteral(LMK_SOURCE_DIR "/translations/lmkinterface_%1.ts").arg(name));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("translations/lmkinterface_%s.ts missing", qPrintable(name));
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

    OwnSettings settings;

    QAction *action(const char *name) { return child<QAction>(QLatin1String(name)); }
    QString stored() {
        return appSettings()->value(QLatin1String(UiLanguage::kSettingKey)).toString();
    }

  private slots:
    void initTestCase() {
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

        action("MI_LanguageGerman")->trigger();
        QCOMPARE(UiLanguage::instance().language(), Language::German);
        QVERIFY(action("MI_LanguageGerman")->isChecked());
        QVERIFY(!action("MI_LanguageEnglish")->isChecked());
        QCOMPARE(stored(), QStringLiteral("de"));
        QCOMPARE(tabs()->tabText(1), QStringLiteral("Bildschirmkopie"));
        QCOMPARE(action("MI_Oeffnen")->text(), QStringLiteral("Ö&ffnen"));

        action("MI_LanguageSpecified")->trigger();
        QCOMPARE(stored(), QStringLiteral("original"));
        QCOMPARE(shownTexts(window) + shownTexts(window->memoryEditor()), before);
        QCOMPARE(tabs()->tabText(3), QStringLiteral("Speicherplätze"));
        // The menu names the three choices for what they are.
        QCOMPARE(action("MI_LanguageSpecified")->text(), QStringLiteral("Original"));
        QCOMPARE(action("MI_LanguageEnglish")->text(), QStringLiteral("English"));
        QCOMPARE(action("MI_LanguageGerman")->text(), QStringLiteral("Deutsch"));
    }

    // A new start takes the stored choice; nothing stored is the default.
    void restoredAtStart() {
        appSettings()->setValue(QLatin1String(UiLanguage::kSettingKey), QStringLiteral("en"));
        UiLanguage::instance().restore();
        QCOMPARE(UiLanguage::instance().language(), Language::English);
        QVERIFY(action("MI_LanguageEnglish")->isChecked());
        QCOMPARE(tabs()->tabText(3), QStringLiteral("Memory Slots"));
        appSettings()->setValue(QLatin1String(UiLanguage::kSettingKey), QStringLiteral("de"));
        UiLanguage::instance().restore();
        QCOMPARE(UiLanguage::instance().language(), Language::German);
        QVERIFY(action("MI_LanguageGerman")->isChecked());
        appSettings()->remove(QLatin1String(UiLanguage::kSettingKey));
        UiLanguage::instance().restore();
        QCOMPARE(UiLanguage::instance().language(), Language::Specified);
    }

    // In English and in German no text of any window, on any page, is left
    // in the program's own words or outside the catalogue.
    void everyShownTextTranslated_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("catalogue");
        QTest::addColumn<QStringList>("expected"); // among the texts seen
        QTest::newRow("English") << int(Language::English) << "en"
                                 << QStringList{"Memory Slots", "Read from LMK54", "Frequency",
                                                "USB device:", "Interface program for LMK54",
                                                "Update 54/55", "none", "no audio device"};
        QTest::newRow("German") << int(Language::German) << "de"
                                << QStringList{"Speicherplätze", "Laden vom LMK54", "Frequenz",
                                               "USB-Gerät:", "Bildschirmkopie", "Hochladen",
                                               "Abtasten", "Übertragen nach", "Rahmen:",
                                               "Einstellungen des WLAN-Zugangspunkts",
                                               "kein Audiogerät", "Ö&ffnen", "&Sprache"};
    }
    void everyShownTextTranslated() {
        QFETCH(int, language);
        QFETCH(QString, catalogue);
        QFETCH(QStringList, expected);
        const Catalogue entries = readCatalogue(catalogue);
        QVERIFY(!entries.translations.isEmpty());
        window->MI_MemorySlotsClick();
        window->createInfoDialog()->show();
        UiLanguage::instance().setLanguage(Language(language));
        QStringList missing;
        QSet<QString> seen;
        const auto check = [&](QWidget *root) {
            root->grab(); // texts set since are translated when drawn
            for (const auto &[object, text] : shownTexts(root)) {
                seen.insert(text);
                if (!hasLetters(text))
                    continue;
                if (entries.translations.contains(text) ||
                    entries.translations.contains(withPlaceholders(text)))
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
        // The walk saw the windows' texts in the language chosen.
        for (const QString &text : std::as_const(expected))
            QVERIFY2(seen.contains(text), qPrintable(text));
    }

    // Both catalogues translate the same texts: a text added to one is
    // added to the other.
    void cataloguesAgree() {
        const Catalogue en = readCatalogue(QStringLiteral("en"));
        const Catalogue de = readCatalogue(QStringLiteral("de"));
        QStringList onlyEnglish = QStringList(en.sources.cbegin(), en.sources.cend());
        onlyEnglish.removeIf([&](const QString &s) { return de.sources.contains(s); });
        QStringList onlyGerman = QStringList(de.sources.cbegin(), de.sources.cend());
        onlyGerman.removeIf([&](const QString &s) { return en.sources.contains(s); });
        QVERIFY2(onlyEnglish.isEmpty(), qPrintable(onlyEnglish.join(u'\n')));
        QVERIFY2(onlyGerman.isEmpty(), qPrintable(onlyGerman.join(u'\n')));
    }

    // Messages and file filters: one name for one file type, numbers kept,
    // and texts put together from a catalogue text and parts (a file name,
    // a reason, a smaller text of the catalogue).
    void messagesAndFilters_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("filter");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("german");
        QTest::newRow("save filter") << "Speicherplatz-Datei *.Mem|*.Mem" << true
                                     << "Memory file *.Mem|*.Mem"
                                     << "Speicherplatz-Datei *.Mem|*.Mem";
        QTest::newRow("open filter") << "Memory file *.Mem|*.Mem" << true
                                     << "Memory file *.Mem|*.Mem"
                                     << "Speicherplatz-Datei *.Mem|*.Mem";
        QTest::newRow("two types") << "Bitmap *.BMP|*.BMP|Speicherplatz-Datei *.Mem|*.Mem" << true
                                   << "Bitmap image *.BMP|*.BMP|Memory file *.Mem|*.Mem"
                                   << "Bilddatei *.BMP|*.BMP|Speicherplatz-Datei *.Mem|*.Mem";
        QTest::newRow("question") << "Wirklich alle Speicherplätze im LMK54 löschen?" << false
                                  << "Really clear all memory slots of the LMK54?"
                                  << "Wirklich alle Speicherplätze im LMK54 löschen?";
        QTest::newRow("message") << "No connection or file available!" << false
                                 << "No connection or file available!"
                                 << "Keine Verbindung oder keine Datei vorhanden!";
        QTest::newRow("number kept") << "Bytes sent: 512" << false << "Bytes sent: 512"
                                     << "Bytes gesendet: 512";
        QTest::newRow("unknown stays") << "LMK5x-0001" << false << "LMK5x-0001" << "LMK5x-0001";
        QTest::newRow("file name put in")
            << "Cannot open file \"/tmp/a 1.Mem\". No such file or directory" << false
            << "Cannot open file \"/tmp/a 1.Mem\". No such file or directory"
            << "Die Datei „/tmp/a 1.Mem“ kann nicht geöffnet werden. No such file or directory";
        QTest::newRow("texts put in")
            << "Writing the memory slots stopped at slot 12 of 63: slots 1–11 hold the new data."
            << false
            << "Writing the memory slots stopped at slot 12 of 63: slots 1–11 hold the new data."
            << "Das Schreiben der Speicherplätze endete bei Speicherplatz 12 von 63: die "
               "Speicherplätze 1–11 halten die neuen Daten.";
        QTest::newRow("status") << "Writing slot 12 of 63…" << false << "Writing slot 12 of 63…"
                                << "Speicherplatz 12 von 63 wird geschrieben…";
        QTest::newRow("counters") << "RX: 1,234 bytes   TX: 0 bytes" << false
                                  << "RX: 1,234 bytes   TX: 0 bytes"
                                  << "RX: 1,234 Bytes   TX: 0 Bytes";
        QTest::newRow("log filter") << "Terminal log *.log|*.log|All files|*" << true
                                    << "Terminal log *.log|*.log|All files|*"
                                    << "Terminal-Protokoll *.log|*.log|Alle Dateien|*";
        QTest::newRow("entries chosen") << "3 entries chosen: slots 5 to 7." << false
                                        << "3 entries chosen: slots 5 to 7."
                                        << "3 Einträge gewählt: Speicherplätze 5 bis 7.";
        QTest::newRow("one entry chosen") << "1 entry chosen: slot 5." << false
                                          << "1 entry chosen: slot 5."
                                          << "1 Eintrag gewählt: Speicherplatz 5.";
        QTest::newRow("too few slots")
            << "4 entries are chosen, but from slot 61 to 63 there are only 3 slots." << false
            << "4 entries are chosen, but from slot 61 to 63 there are only 3 slots."
            << "4 Einträge sind gewählt, aber von Speicherplatz 61 bis 63 gibt es nur 3 "
               "Speicherplätze.";
        QTest::newRow("imported")
            << "Imported 2 entries of b.csv (gqrx bookmarks) into slots 3 to 4" << false
            << "Imported 2 entries of b.csv (gqrx bookmarks) into slots 3 to 4"
            << "Importiert: 2 Einträge aus b.csv (gqrx-Lesezeichen) in die Speicherplätze 3 bis 4";
        QTest::newRow("imported one")
            << "Imported 1 entry of b.csv (EiBi schedule) into slot 9" << false
            << "Imported 1 entry of b.csv (EiBi schedule) into slot 9"
            << "Importiert: 1 Eintrag aus b.csv (EiBi-Sendeplan) in Speicherplatz 9";
        QTest::newRow("exported one") << "Exported 1 slot as CHIRP CSV to /tmp/c.csv" << false
                                      << "Exported 1 slot as CHIRP CSV to /tmp/c.csv"
                                      << "Speicherplatz exportiert: 1 als CHIRP-CSV nach /tmp/c.csv";
        QTest::newRow("exported") << "Exported 12 slots as CHIRP CSV to /tmp/c.csv" << false
                                  << "Exported 12 slots as CHIRP CSV to /tmp/c.csv"
                                  << "Speicherplätze exportiert: 12 als CHIRP-CSV nach /tmp/c.csv";
    }
    void messagesAndFilters() {
        QFETCH(QString, text);
        QFETCH(bool, filter);
        QFETCH(QString, english);
        QFETCH(QString, german);
        const auto translated = [&] {
            return filter ? UiLanguage::translateFilter(text) : UiLanguage::translate(text);
        };
        QCOMPARE(translated(), text);
        UiLanguage::instance().setLanguage(Language::English);
        QCOMPARE(translated(), english);
        UiLanguage::instance().setLanguage(Language::German);
        QCOMPARE(translated(), german);
    }

    // The grid writes and reads numbers in the language's convention, never
    // in the system's locale (here C, as under LANG=C.UTF-8): the program's
    // own texts and German "00.077.500,0", English "00,077,500.0".
    void numbersFollowLanguageNotLocale_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shownAfter");
        QTest::newRow("Original") << int(Language::Specified) << "00.077.500,0" << "77.600,0"
                                  << "00.077.600,0";
        QTest::newRow("German") << int(Language::German) << "00.077.500,0" << "77.600,0"
                                << "00.077.600,0";
        QTest::newRow("English") << int(Language::English) << "00,077,500.0" << "77,600.0"
                                 << "00,077,600.0";
    }
    void numbersFollowLanguageNotLocale() {
        QFETCH(int, language);
        QFETCH(QString, shown);
        QFETCH(QString, typed);
        QFETCH(QString, shownAfter);
        const QLocale before;
        QLocale::setDefault(QLocale::c());
        UiLanguage::instance().setLanguage(Language(language));
        SlotTableModel &model = window->memoryPage()->model();
        QCOMPARE(model.setCellText(1, ColFrequenz, QStringLiteral("77500.0")), QString());
        QCOMPARE(model.cellText(1, ColFrequenz), shown);
        QCOMPARE(model.setCellText(1, ColFrequenz, typed), QString());
        QCOMPARE(model.cellText(1, ColFrequenz), shownAfter);
        QLocale::setDefault(before);
    }

    // Every heading of the memory grid shows whole, in every language, on
    // the hidden page and in the editor window at any size.
    void gridHeadingsFit_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QSize>("editorSize");
        for (const auto &[name, language] :
             {std::pair{"Original", Language::Specified}, std::pair{"English", Language::English},
              std::pair{"German", Language::German}}) {
            QTest::addRow("%s, smallest", name) << int(language) << QSize(0, 0);
            QTest::addRow("%s, large", name) << int(language) << QSize(1600, 900);
        }
    }
    void gridHeadingsFit() {
        QFETCH(int, language);
        QFETCH(QSize, editorSize);
        window->MI_MemorySlotsClick();
        window->memoryEditor()->resize(editorSize);
        UiLanguage::instance().setLanguage(Language(language));
        QStringList cut;
        for (QTableView *grid : {window->memoryPage()->grid(), window->memoryEditor()->page()->grid()}) {
            QHeaderView *header = grid->horizontalHeader();
            const int margins = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
            for (int c = 0; c < header->count(); ++c) {
                const QString text = grid->model()->headerData(c, Qt::Horizontal).toString();
                const int need = header->fontMetrics().horizontalAdvance(text) + margins;
                if (header->sectionSize(c) < need)
                    cut << QStringLiteral("%1 %2 < %3").arg(text).arg(header->sectionSize(c)).arg(need);
            }
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(u'\n')));
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
