#include "upload/ui/EmptyListHint.h"

#include <QEvent>
#include <QListWidget>
#include <QPainter>

namespace lmk {

namespace {
class HintPainter : public QObject {
  public:
    HintPainter(QListWidget *list) : QObject(list), m_list(list) {}

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Paint && watched == m_list->viewport() &&
            m_list->count() == 0 && !m_list->accessibleDescription().isEmpty()) {
            QWidget *viewport = m_list->viewport();
            QPainter p(viewport);
            p.setPen(m_list->palette().color(QPalette::PlaceholderText));
            p.drawText(viewport->rect().adjusted(4, 0, -4, 0),
                       Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                       m_list->accessibleDescription());
        }
        return false;
    }

  private:
    QListWidget *m_list;
};
} // namespace

void EmptyListHint::install(QListWidget *list) {
    list->viewport()->installEventFilter(new HintPainter(list));
}

} // namespace lmk
