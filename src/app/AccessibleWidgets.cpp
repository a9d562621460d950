#include "app/AccessibleWidgets.h"

#include "app/UiLanguage.h"
#include "display/ui/ColorSwatch.h"
#include "display/ui/ScanImageView.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QWindow>
#include <QComboBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QAbstractItemView>

namespace lmk {

namespace {

// True when `w` is, or lies on, a page of a page control whose tab is hidden.
bool onHiddenPage(const QWidget *w) {
    for (const QWidget *page = w; page; page = page->parentWidget()) {
        auto *stack = qobject_cast<const QStackedWidget *>(page->parentWidget());
        auto *tabs = stack ? qobject_cast<const QTabWidget *>(stack->parentWidget()) : nullptr;
        if (!tabs)
            continue;
        const int index = tabs->indexOf(const_cast<QWidget *>(page));
        if (index >= 0 && !tabs->isTabVisible(index))
            return true;
    }
    return false;
}

// A widget on a page the user cannot select: present in the tree (Qt keeps
// parents and children together) but invisible, unfocusable and inert.
class HiddenPageWidget : public QAccessibleWidget {
  public:
    explicit HiddenPageWidget(QWidget *w) : QAccessibleWidget(w, QAccessible::Client) {}
    QString text(QAccessible::Text t) const override {
        QString own = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && own.isEmpty()) {
            if (auto *button = qobject_cast<QAbstractButton *>(widget()))
                own = button->text().remove(QLatin1Char('&'));
            else if (auto *label = qobject_cast<QLabel *>(widget()))
                own = label->text();
        }
        return own;
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.invisible = true;
        s.offscreen = true;
        s.focusable = false;
        s.focused = false;
        return s;
    }
    QStringList actionNames() const override { return {}; }
    void doAction(const QString &) override {}
};

// One tab of a tab bar that is shown; `m_index` is the tab bar's own index.
class PageTab : public QAccessibleInterface, public QAccessibleActionInterface {
  public:
    PageTab(QTabBar *bar, int index) : m_bar(bar), m_index(index) {}

    void *interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this)
                                                 : nullptr;
    }
    bool isValid() const override { return m_bar && m_index < m_bar->count(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return parent() ? parent()->window() : nullptr; }
    QAccessibleInterface *parent() const override {
        return m_bar ? QAccessible::queryAccessibleInterface(m_bar.data()) : nullptr;
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QString text(QAccessible::Text t) const override {
        if (!isValid())
            return QString();
        switch (t) {
        case QAccessible::Name: {
            QString name = m_bar->accessibleTabName(m_index);
            if (name.isEmpty())
                name = m_bar->tabText(m_index);
            return name.remove(QLatin1Char('&'));
        }
        case QAccessible::Description:
            return m_bar->tabToolTip(m_index);
        default:
            return QString();
        }
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override {
        if (!shown())
            return QRect();
        const QRect r = m_bar->tabRect(m_index);
        return QRect(m_bar->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!shown()) {
            s.invisible = true;
            s.offscreen = true;
            return s;
        }
        s.focusable = true;
        s.selectable = true;
        s.selected = m_index == m_bar->currentIndex();
        s.focused = s.selected && m_bar->hasFocus();
        s.disabled = !m_bar->isTabEnabled(m_index) || !m_bar->isEnabled();
        return s;
    }
    QStringList actionNames() const override {
        return shown() && m_bar->isTabEnabled(m_index) ? QStringList{pressAction()}
                                                        : QStringList{};
    }
    void doAction(const QString &name) override {
        if (name == pressAction() && actionNames().contains(name))
            m_bar->setCurrentIndex(m_index);
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

  private:
    bool shown() const { return isValid() && m_bar->isTabVisible(m_index); }

    QPointer<QTabBar> m_bar;
    int m_index;
};

// The tab bar's index of the `n`-th tab shown, or -1.
int tabOfShown(const QTabBar *bar, int n) {
    for (int i = 0; i < bar->count(); ++i)
        if (bar->isTabVisible(i) && n-- == 0)
            return i;
    return -1;
}

// Among the tabs shown, the place of the tab bar's tab `index`; -1 when
// that tab is hidden.
int shownPlaceOf(const QTabBar *bar, int index) {
    if (index < 0 || index >= bar->count() || !bar->isTabVisible(index))
        return -1;
    int place = 0;
    for (int i = 0; i < index; ++i)
        place += bar->isTabVisible(i) ? 1 : 0;
    return place;
}

// A tab bar with only its shown tabs as children: a hidden tab is not
// there at all, so a screen reader counts "1 of 3", never "of 5".
class PageTabList : public QAccessibleWidget {
  public:
    explicit PageTabList(QTabBar *bar) : QAccessibleWidget(bar, QAccessible::PageTabList) {}
    ~PageTabList() override {
        for (QAccessible::Id id : std::as_const(m_tabs))
            QAccessible::deleteAccessibleInterface(id);
    }
    int childCount() const override {
        int shown = 0;
        for (int i = 0; i < bar()->count(); ++i)
            shown += bar()->isTabVisible(i) ? 1 : 0;
        return shown;
    }
    QAccessibleInterface *child(int place) const override {
        const int index = tabOfShown(bar(), place);
        if (index < 0)
            return nullptr;
        if (const QAccessible::Id id = m_tabs.value(index))
            return QAccessible::accessibleInterface(id);
        auto *tab = new PageTab(bar(), index);
        m_tabs.insert(index, QAccessible::registerAccessibleInterface(tab));
        return tab;
    }
    int indexOfChild(const QAccessibleInterface *child) const override {
        for (auto it = m_tabs.cbegin(); it != m_tabs.cend(); ++it)
            if (QAccessible::accessibleInterface(it.value()) == child)
                return shownPlaceOf(bar(), it.key());
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override {
        const int index = bar()->tabAt(bar()->mapFromGlobal(QPoint(x, y)));
        return child(shownPlaceOf(bar(), index));
    }
    QAccessibleInterface *focusChild() const override {
        return bar()->hasFocus() ? child(shownPlaceOf(bar(), bar()->currentIndex())) : nullptr;
    }

  private:
    QTabBar *bar() const { return static_cast<QTabBar *>(widget()); }
    mutable QHash<int, QAccessible::Id> m_tabs;
};

// The application with the windows shown: a window that is hidden (the Info
// dialog between its uses, a closed memory editor) is not offered.
class ShownWindows : public QAccessibleInterface {
  public:
    bool isValid() const override { return true; }
    QObject *object() const override { return qApp; }
    QWindow *window() const override { return nullptr; }
    QAccessibleInterface *parent() const override { return nullptr; }
    int childCount() const override { return int(windows().size()); }
    QAccessibleInterface *child(int index) const override {
        const QList<QWidget *> shown = windows();
        return index >= 0 && index < shown.size()
                   ? QAccessible::queryAccessibleInterface(shown[index])
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override {
        if (!child)
            return -1;
        return int(windows().indexOf(qobject_cast<QWidget *>(child->object())));
    }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *focusChild() const override {
        QWidget *active = QApplication::activeWindow();
        return active && windows().contains(active) ? QAccessible::queryAccessibleInterface(active)
                                                    : nullptr;
    }
    QAccessible::Role role() const override { return QAccessible::Application; }
    QString text(QAccessible::Text t) const override {
        switch (t) {
        case QAccessible::Name:
            return QGuiApplication::applicationDisplayName();
        case QAccessible::Description:
            return QGuiApplication::applicationVersion();
        default:
            return QString();
        }
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override { return QRect(); }
    QAccessible::State state() const override { return QAccessible::State(); }

  private:
    static QList<QWidget *> windows() {
        QList<QWidget *> shown;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->windowType() != Qt::Popup && w->windowType() != Qt::ToolTip &&
                w->windowType() != Qt::Desktop)
                shown << w;
        return shown;
    }
};

// The tab bar tells of focus and selection by its own tab index; the tree
// has the shown tabs only, so the index becomes the tab's place among them
// (a hidden tab has nothing to tell).
QAccessible::UpdateHandler previousUpdateHandler = nullptr;

void forwardUpdate(QAccessibleEvent *event) {
    if (previousUpdateHandler) {
        previousUpdateHandler(event);
        return;
    }
    // Qt's own delivery to the platform runs when no handler is installed.
    // Delivering anew also repeats what Qt does for a table's model change
    // before any delivery: harmless for a reset or changed data, but rows
    // or columns inserted or removed would move the table's cached cells
    // twice, so those are not delivered again.
    if (event->type() == QAccessible::TableModelChanged) {
        const auto change = static_cast<QAccessibleTableModelChangeEvent *>(event)->modelChangeType();
        if (change != QAccessibleTableModelChangeEvent::ModelReset &&
            change != QAccessibleTableModelChangeEvent::DataChanged)
            return;
    }
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(&tellAccessibilityUpdate);
}


// A combo box named by its caption; its current text is its value.
class CaptionedComboBox : public QAccessibleWidget {
  public:
    explicit CaptionedComboBox(QComboBox *box) : QAccessibleWidget(box, QAccessible::ComboBox) {
        addControllingSignal(QStringLiteral("currentIndexChanged(int)"));
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return box()->isEditable() && box()->lineEdit() ? box()->lineEdit()->text()
                                                            : box()->currentText();
        return QAccessibleWidget::text(t);
    }
    int childCount() const override { return box()->lineEdit() ? 2 : 1; }
    QAccessibleInterface *child(int index) const override {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(box()->view());
        if (index == 1 && box()->lineEdit())
            return QAccessible::queryAccessibleInterface(box()->lineEdit());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override {
        for (int i = 0; i < childCount(); ++i)
            if (this->child(i) == child)
                return i;
        return -1;
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = box()->view()->isVisible();
        s.editable = box()->isEditable();
        return s;
    }
    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (box()->isEnabled())
            names.prepend(showMenuAction());
        return names;
    }
    void doAction(const QString &name) override {
        if (name == showMenuAction() || name == pressAction()) {
            if (box()->isEnabled())
                box()->showPopup();
            return;
        }
        QAccessibleWidget::doAction(name);
    }

  private:
    QComboBox *box() const { return static_cast<QComboBox *>(widget()); }
};

// The colour swatch: a button that opens the colour choice, valued by its
// colour.
class SwatchButton : public QAccessibleWidget {
  public:
    explicit SwatchButton(ColorSwatch *s) : QAccessibleWidget(s, QAccessible::Button) {}
    // The colour is the value and, for readers that read no value of a
    // button (AT-SPI), the description too.
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return swatch()->colour().name().toUpper();
        if (t == QAccessible::Description && swatch()->accessibleDescription().isEmpty())
            return UiLanguage::translate(QStringLiteral("Colour %1"))
                .arg(swatch()->colour().name().toUpper());
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (swatch()->isEnabled())
            names.prepend(pressAction());
        return names;
    }
    void doAction(const QString &name) override {
        if (name == pressAction()) {
            if (swatch()->isEnabled())
                emit swatch()->activated();
            return;
        }
        QAccessibleWidget::doAction(name);
    }

  private:
    ColorSwatch *swatch() const { return static_cast<ColorSwatch *>(widget()); }
};

// A label named for what it shows: the name says what, the description
// carries its current text.
class NamedLabel : public QAccessibleWidget {
  public:
    explicit NamedLabel(QLabel *l) : QAccessibleWidget(l, QAccessible::StaticText) {}
    QString text(QAccessible::Text t) const override {
        const QString own = QAccessibleWidget::text(t);
        if (t == QAccessible::Description && own.isEmpty())
            return static_cast<QLabel *>(widget())->text();
        return own;
    }
};

QAccessibleInterface *describe(const QString &, QObject *object) {
    if (object && object == qApp)
        return new ShownWindows;
    auto *w = qobject_cast<QWidget *>(object);
    if (!w)
        return nullptr;
    if (onHiddenPage(w))
        return new HiddenPageWidget(w);
    if (auto *bar = qobject_cast<QTabBar *>(w))
        return new PageTabList(bar);
    if (auto *box = qobject_cast<QComboBox *>(w))
        return new CaptionedComboBox(box);
    if (auto *swatch = qobject_cast<ColorSwatch *>(w))
        return new SwatchButton(swatch);
    if (qobject_cast<ScanImageView *>(w))
        return new QAccessibleWidget(w, QAccessible::Graphic);
    if (auto *label = qobject_cast<QLabel *>(w);
        label && !label->accessibleName().isEmpty() && label->pixmap().isNull())
        return new NamedLabel(label);
    return nullptr;
}

} // namespace

void tellAccessibilityUpdate(QAccessibleEvent *event) {
    if (auto *bar = qobject_cast<QTabBar *>(event->object()); bar && event->child() >= 0) {
        const int place = shownPlaceOf(bar, event->child());
        if (place < 0)
            return;
        event->setChild(place);
    }
    forwardUpdate(event);
}

void renewAccessibleDescriptions(QWidget *root) {
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    widgets.prepend(root);
    // The text field of an editable combo box is named like the box.
    for (auto *box : root->findChildren<QComboBox *>()) {
        QLineEdit *edit = box->lineEdit();
        if (edit && edit->accessibleName().isEmpty())
            edit->setAccessibleName(CaptionedComboBox(box).text(QAccessible::Name));
    }
    for (QWidget *w : std::as_const(widgets))
        if (QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
}

void installAccessibleWidgets() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(&describe);
    previousUpdateHandler = QAccessible::installUpdateHandler(&tellAccessibilityUpdate);
}

} // namespace lmk
