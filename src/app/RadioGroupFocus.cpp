#include "app/RadioGroupFocus.h"

#include <QButtonGroup>
#include <QRadioButton>

namespace lmk {

namespace {
// The buttons that exclude each other with `b`.
QList<QAbstractButton *> groupOf(QRadioButton *b) {
    if (QButtonGroup *group = b->group())
        return group->exclusive() ? group->buttons() : QList<QAbstractButton *>{b};
    if (!b->autoExclusive() || !b->parentWidget())
        return {b};
    QList<QAbstractButton *> out;
    const auto siblings =
        b->parentWidget()->findChildren<QRadioButton *>(Qt::FindDirectChildrenOnly);
    for (QRadioButton *s : siblings)
        if (s->autoExclusive() && !s->group())
            out << s;
    return out;
}

void updatePolicies(QRadioButton *changed) {
    const QList<QAbstractButton *> group = groupOf(changed);
    bool anyChecked = false;
    for (QAbstractButton *b : group)
        anyChecked = anyChecked || b->isChecked();
    for (QAbstractButton *b : group) {
        // With nothing selected, every button stays a stop.
        const bool stop = b->isChecked() || !anyChecked;
        b->setFocusPolicy(stop ? Qt::StrongFocus : Qt::ClickFocus);
    }
}
} // namespace

void installRadioGroupFocus(QWidget *root) {
    for (QRadioButton *b : root->findChildren<QRadioButton *>()) {
        QObject::connect(b, &QRadioButton::toggled, b, [b] { updatePolicies(b); });
        updatePolicies(b);
    }
}

} // namespace lmk
