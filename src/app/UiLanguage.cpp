#include "app/UiLanguage.h"

#include "app/AppResources.h"
#include "app/AppSettings.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QXmlStreamReader>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableWidget>
#include <QHeaderView>

#include <algorithm>

namespace lmk {

namespace {
constexpr const char *kContext = "lmk";

// Runs of digits, with the separators inside a number ("77.500,0", "7,0M").
const QRegularExpression &numberPattern() {
    static const QRegularExpression re(QStringLiteral("\\d+(?:[.,:]\\d+)*"));
    return re;
}

QString lookUp(const QString &source) {
    return QCoreApplication::translate(kContext, source.toUtf8().constData());
}

// Keeps a property's text as the program set it, next to the text shown:
// when the shown text was changed since, the change is the new source.
template <typename Get, typename Set>
void translateText(QObject *o, const char *key, Get get, Set set) {
    const QByteArray sourceKey = QByteArrayLiteral("_lmk_source_") + key;
    const QByteArray shownKey = QByteArrayLiteral("_lmk_shown_") + key;
    const QString now = get();
    QVariant source = o->property(sourceKey.constData());
    if (!source.isValid() || o->property(shownKey.constData()).toString() != now) {
        if (now.isEmpty() && !source.isValid())
            return;
        source = now;
    }
    const QString shown = UiLanguage::translate(source.toString());
    o->setProperty(sourceKey.constData(), source);
    o->setProperty(shownKey.constData(), shown);
    if (shown != now)
        set(shown);
}

// The texts a widget draws itself or gives to assistive technology; never
// what a user typed or the receiver sent (line edits, spin boxes, lists).
void translateOwnTexts(QWidget *w) {
    if (auto *label = qobject_cast<QLabel *>(w))
        translateText(w, "text", [label] { return label->text(); },
                      [label](const QString &t) { label->setText(t); });
    else if (auto *button = qobject_cast<QAbstractButton *>(w))
        translateText(w, "text", [button] { return button->text(); },
                      [button](const QString &t) { button->setText(t); });
    else if (auto *group = qobject_cast<QGroupBox *>(w))
        translateText(w, "title", [group] { return group->title(); },
                      [group](const QString &t) { group->setTitle(t); });
    if (w->isWindow())
        translateText(w, "windowTitle", [w] { return w->windowTitle(); },
                      [w](const QString &t) { w->setWindowTitle(t); });
    translateText(w, "accessibleName", [w] { return w->accessibleName(); },
                  [w](const QString &t) { w->setAccessibleName(t); });
    translateText(w, "accessibleDescription", [w] { return w->accessibleDescription(); },
                  [w](const QString &t) { w->setAccessibleDescription(t); });
    translateText(w, "toolTip", [w] { return w->toolTip(); },
                  [w](const QString &t) { w->setToolTip(t); });
    if (auto *edit = qobject_cast<QLineEdit *>(w))
        translateText(w, "placeholderText", [edit] { return edit->placeholderText(); },
                      [edit](const QString &t) { edit->setPlaceholderText(t); });
}

void translateTabs(QTabWidget *tabs) {
    for (int i = 0; i < tabs->count(); ++i) {
        const QByteArray key = QByteArrayLiteral("tab") + QByteArray::number(i);
        translateText(tabs, key.constData(), [tabs, i] { return tabs->tabText(i); },
                      [tabs, i](const QString &t) { tabs->setTabText(i, t); });
    }
}

// Item texts of a combo box that the program put there ("No tasks found!");
// a device's own names have no translation and stay as they are.
void translateItems(QComboBox *box) {
    constexpr int kSourceRole = Qt::UserRole + 0x4c4d;
    constexpr int kShownRole = kSourceRole + 1;
    for (int i = 0; i < box->count(); ++i) {
        const QString now = box->itemText(i);
        QString source = box->itemData(i, kSourceRole).toString();
        if (box->itemData(i, kShownRole).toString() != now || source.isEmpty())
            source = now;
        const QString shown = UiLanguage::translate(source);
        box->setItemData(i, source, kSourceRole);
        box->setItemData(i, shown, kShownRole);
        if (shown != now)
            box->setItemText(i, shown);
    }
}

// Item texts of a list that the program put there ("keine", a status); a
// file name has no translation and stays as it is.
void translateItems(QListWidget *list) {
    constexpr int kSourceRole = Qt::UserRole + 0x4c4d;
    constexpr int kShownRole = kSourceRole + 1;
    for (int i = 0; i < list->count(); ++i) {
        QListWidgetItem *item = list->item(i);
        const QString now = item->text();
        QString source = item->data(kSourceRole).toString();
        if (item->data(kShownRole).toString() != now || source.isEmpty())
            source = now;
        const QString shown = UiLanguage::translate(source);
        item->setData(kSourceRole, source);
        item->setData(kShownRole, shown);
        if (shown != now)
            item->setText(shown);
    }
}

// Headings of a table whose headings are items.
void translateHeadings(QTableWidget *table) {
    for (int c = 0; c < table->columnCount(); ++c) {
        QTableWidgetItem *item = table->horizontalHeaderItem(c);
        if (!item)
            continue;
        QString source = item->data(Qt::UserRole + 0x4c4d).toString();
        if (item->data(Qt::UserRole + 0x4c4e).toString() != item->text() || source.isEmpty())
            source = item->text();
        const QString shown = UiLanguage::translate(source);
        item->setData(Qt::UserRole + 0x4c4d, source);
        item->setData(Qt::UserRole + 0x4c4e, shown);
        if (shown != item->text())
            item->setText(shown);
    }
}

void translateAction(QAction *a) {
    translateText(a, "text", [a] { return a->text(); }, [a](const QString &t) { a->setText(t); });
}
} // namespace

UiLanguage &UiLanguage::instance() {
    static UiLanguage *language = new UiLanguage; // lives as long as the program
    return *language;
}

UiLanguage::UiLanguage() {
    initAppResources();
    qApp->installEventFilter(this);
}

QString UiLanguage::translate(const QString &source) {
    UiLanguage &self = instance();
    if (source.isEmpty() || self.m_language == Language::Specified)
        return source;
    const auto cached = self.m_cache.constFind(source);
    if (cached != self.m_cache.cend())
        return *cached;
    QString translated = self.lookUpPatterns(source, 0);
    if (self.m_cache.size() > 4096) // texts with changing parts (paths, rates)
        self.m_cache.clear();
    self.m_cache.insert(source, translated);
    return translated;
}

namespace {
// `translation` with each %n replaced by args[n - 1], in one pass (an
// argument that holds "%2" stays as it is).
QString substitute(const QString &translation, const QStringList &args) {
    static const QRegularExpression placeholder(QStringLiteral("%(\\d+)"));
    QString out;
    qsizetype last = 0;
    auto it = placeholder.globalMatch(translation);
    while (it.hasNext()) {
        const auto m = it.next();
        const int n = m.captured(1).toInt();
        out += translation.mid(last, m.capturedStart() - last);
        out += n >= 1 && n <= args.size() ? args[n - 1] : m.captured();
        last = m.capturedEnd();
    }
    return out + translation.mid(last);
}
} // namespace

QString UiLanguage::lookUpPatterns(const QString &source, int depth) const {
    const QString exact = lookUp(source);
    if (exact != source)
        return exact;
    // Numbers become placeholders: "Bytes sent: 512" -> "Bytes sent: %1".
    if (source.contains(numberPattern())) {
        QStringList numbers;
        QString pattern;
        qsizetype last = 0;
        auto it = numberPattern().globalMatch(source);
        while (it.hasNext()) {
            const auto m = it.next();
            pattern += source.mid(last, m.capturedStart() - last);
            numbers << m.captured();
            pattern += QLatin1Char('%') + QString::number(numbers.size());
            last = m.capturedEnd();
        }
        pattern += source.mid(last);
        const QString translated = lookUp(pattern);
        if (translated != pattern)
            return substitute(translated, numbers);
    }
    // A text made of a catalogue text and parts put in (a file name, a
    // reason, a smaller text of the catalogue).
    if (depth > 3)
        return source;
    for (const Pattern &p : m_patterns) {
        const auto m = p.match.match(source);
        if (!m.hasMatch())
            continue;
        const QString translated = lookUp(p.source);
        if (translated == p.source)
            continue;
        QStringList args;
        for (int i = 0; i < p.places.size(); ++i) {
            const int n = p.places[i];
            if (args.size() < n)
                args.resize(n);
            args[n - 1] = lookUpPatterns(m.captured(i + 1), depth + 1);
        }
        return substitute(translated, args);
    }
    return source;
}

QString UiLanguage::translateFilter(const QString &filter) {
    QStringList parts = filter.split(QLatin1Char('|'));
    for (int i = 0; i < parts.size(); i += 2)
        parts[i] = translate(parts[i]);
    return parts.join(QLatin1Char('|'));
}

void UiLanguage::retranslate(QWidget *root) {
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    widgets.prepend(root);
    for (QWidget *w : std::as_const(widgets)) {
        translateOwnTexts(w);
        if (auto *tabs = qobject_cast<QTabWidget *>(w))
            translateTabs(tabs);
        else if (auto *box = qobject_cast<QComboBox *>(w))
            translateItems(box);
        else if (auto *table = qobject_cast<QTableWidget *>(w))
            translateHeadings(table);
        else if (auto *list = qobject_cast<QListWidget *>(w))
            translateItems(list);
    }
    for (QAction *a : root->findChildren<QAction *>())
        translateAction(a);
}

namespace {
const char *catalogueName(Language language) {
    switch (language) {
    case Language::English:
        return "en";
    case Language::German:
        return "de";
    case Language::Specified:
        break;
    }
    return nullptr;
}
} // namespace

void UiLanguage::apply(Language language) {
    if (m_installed) {
        QCoreApplication::removeTranslator(&m_translator);
        m_installed = false;
    }
    m_language = language;
    m_cache.clear();
    m_patterns.clear();
    if (const char *name = catalogueName(language)) {
        const QString base = QStringLiteral(":/i18n/lmkinterface_") + QLatin1String(name);
        if (m_translator.load(base + QLatin1String(".qm")))
            m_installed = QCoreApplication::installTranslator(&m_translator);
        // The texts with placeholders, longest first: the most particular
        // pattern wins.
        QFile ts(base + QLatin1String(".ts"));
        if (ts.open(QIODevice::ReadOnly)) {
            static const QRegularExpression placeholder(QStringLiteral("%(\\d+)"));
            QXmlStreamReader xml(&ts);
            QStringList sources;
            while (!xml.atEnd())
                if (xml.readNext() == QXmlStreamReader::StartElement &&
                    xml.name() == QLatin1String("source")) {
                    const QString text = xml.readElementText();
                    if (text.contains(placeholder) && text.size() > 3)
                        sources << text;
                }
            std::sort(sources.begin(), sources.end(),
                      [](const QString &a, const QString &b) { return a.size() > b.size(); });
            for (const QString &text : std::as_const(sources)) {
                Pattern p;
                p.source = text;
                QString re = QStringLiteral("^");
                qsizetype last = 0;
                auto it = placeholder.globalMatch(text);
                while (it.hasNext()) {
                    const auto m = it.next();
                    re += QRegularExpression::escape(text.mid(last, m.capturedStart() - last));
                    re += QStringLiteral("(.+?)");
                    p.places << m.captured(1).toInt();
                    last = m.capturedEnd();
                }
                re += QRegularExpression::escape(text.mid(last)) + QLatin1Char('$');
                p.match = QRegularExpression(re, QRegularExpression::DotMatchesEverythingOption);
                p.match.optimize();
                m_patterns << p;
            }
        }
    }
    for (QWidget *w : QApplication::topLevelWidgets())
        retranslate(w);
}

void UiLanguage::setLanguage(Language language) {
    apply(language);
    appSettings()->setValue(QLatin1String(kSettingKey), language == Language::English  ? QStringLiteral("en")
                                                        : language == Language::German ? QStringLiteral("de")
                                                                                       : QStringLiteral("original"));
    emit languageChanged(language);
}

void UiLanguage::restore() {
    const QString stored = appSettings()->value(QLatin1String(kSettingKey)).toString();
    apply(stored == QLatin1String("en")   ? Language::English
          : stored == QLatin1String("de") ? Language::German
                                          : Language::Specified);
    emit languageChanged(m_language);
}

bool UiLanguage::eventFilter(QObject *watched, QEvent *event) {
    // A text set since the last translation is translated before it is
    // drawn (a status line, a counter, the next message of an operation).
    if (event->type() == QEvent::Paint && m_language != Language::Specified) {
        if (auto *w = qobject_cast<QWidget *>(watched)) {
            if (qobject_cast<QLabel *>(w) || qobject_cast<QAbstractButton *>(w) ||
                qobject_cast<QGroupBox *>(w))
                translateOwnTexts(w);
            else if (auto *box = qobject_cast<QComboBox *>(w))
                translateItems(box);
            else if (auto *list = qobject_cast<QListWidget *>(w->parentWidget());
                     list && list->viewport() == w)
                translateItems(list);
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace lmk
