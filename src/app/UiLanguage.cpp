#include "app/UiLanguage.h"

#include "app/AppResources.h"
#include "app/AppSettings.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableWidget>
#include <QHeaderView>

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
    if (source.isEmpty() || instance().m_language == Language::Specified)
        return source;
    const QString exact = lookUp(source);
    if (exact != source || !source.contains(numberPattern()))
        return exact;
    // Numbers become placeholders: "Bytes sent: 512" -> "Bytes sent: %1".
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
    QString translated = lookUp(pattern);
    if (translated == pattern)
        return source;
    for (int i = numbers.size(); i >= 1; --i) // %10 before %1
        translated.replace(QLatin1Char('%') + QString::number(i), numbers[i - 1]);
    return translated;
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

void UiLanguage::apply(Language language) {
    if (m_installed) {
        QCoreApplication::removeTranslator(&m_translator);
        m_installed = false;
    }
    m_language = language;
    if (language == Language::English &&
        m_translator.load(QStringLiteral(":/i18n/lmkinterface_en.qm")))
        m_installed = QCoreApplication::installTranslator(&m_translator);
    for (QWidget *w : QApplication::topLevelWidgets())
        retranslate(w);
}

void UiLanguage::setLanguage(Language language) {
    apply(language);
    appSettings()->setValue(QLatin1String(kSettingKey), language == Language::English
                                                             ? QStringLiteral("en")
                                                             : QStringLiteral("de"));
    emit languageChanged(language);
}

void UiLanguage::restore() {
    const QString stored = appSettings()->value(QLatin1String(kSettingKey)).toString();
    apply(stored == QLatin1String("en") ? Language::English : Language::Specified);
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
