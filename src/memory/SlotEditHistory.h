#pragma once
// Undo and redo for the slot image of the memory editor. Every change is
// recorded as the image before and after it (kept as the one byte range
// that differs), so undo and redo restore exact bytes whatever the change
// was: a cell edit, a paste, a move, a cleared slot, a CSV import, a .Mem
// file loaded. The saved state is marked clean; undoing or redoing back to
// it makes the image clean again.

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <optional>

namespace lmk {

class SlotEditHistory : public QObject {
    Q_OBJECT
  public:
    // Oldest steps are dropped beyond this.
    static constexpr int kLimit = 200;

    explicit SlotEditHistory(QObject *parent = nullptr);

    // A change from `before` to `after`, named `text` ("Paste", ...). An
    // unchanged image records nothing. Steps that were undone are dropped.
    void record(const QString &text, const QByteArray &before, const QByteArray &after);

    bool canUndo() const { return m_index > 0; }
    bool canRedo() const { return m_index < m_steps.size(); }
    QString undoText() const;
    QString redoText() const;

    // The image before the last change, given the current one (which is
    // the image after it); nothing when there is no step.
    std::optional<QByteArray> undo(const QByteArray &current);
    std::optional<QByteArray> redo(const QByteArray &current);

    // The current image is the saved one.
    void setClean();
    bool isClean() const { return m_clean == m_index; }
    // Forgets every step; the current image becomes the clean state.
    void clear();

  signals:
    // After every record, undo, redo, setClean and clear.
    void changed();
    void cleanChanged(bool clean);

  private:
    struct Step {
        QString text;
        qsizetype offset = 0;  // where the changed range starts
        QByteArray before;     // the range before the change
        QByteArray after;      // and after it
    };
    static QByteArray replaced(const QByteArray &image, qsizetype offset, qsizetype oldLength,
                               const QByteArray &with);
    void notify(bool wasClean);

    QList<Step> m_steps;
    qsizetype m_index = 0;  // steps below it are done
    qsizetype m_clean = 0;  // the step index of the saved state; -1: unreachable
};

} // namespace lmk
