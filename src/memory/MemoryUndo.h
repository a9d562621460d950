#pragma once
// Undo and redo over a MemorySession's image. Every change of the image
// becomes one step of a SlotEditHistory: a cell stored, a .Mem file loaded,
// a read from the receiver, and every edit the memory editor applies (a
// paste, a move, a cleared slot, a CSV import). Undo and redo put the exact
// bytes back and announce them, so the page, the editor and the title's
// unsaved mark follow.

#include "memory/SlotEditHistory.h"

#include <QByteArray>
#include <QObject>
#include <QString>

namespace lmk {

class MemorySession;

class MemoryUndo : public QObject {
    Q_OBJECT
  public:
    explicit MemoryUndo(MemorySession &session, QObject *parent = nullptr);

    const SlotEditHistory &history() const { return m_history; }

    // Makes `image` the session's image as one step named `text`.
    void apply(const QString &text, const QByteArray &image);
    // The name of the next change the session makes as a whole (a file the
    // editor opens); changes it makes without one are named "Slots replaced".
    void nameNextChange(const QString &text) { m_nextText = text; }

    void undo();
    void redo();

  signals:
    // A step was recorded, undone or redone.
    void changed();

  private:
    void capture(const QString &text);
    // An undo or a redo: the history moves, then the image follows.
    void step(std::optional<QByteArray> (SlotEditHistory::*move)(const QByteArray &));
    void setImage(const QByteArray &bytes);

    MemorySession &m_session;
    SlotEditHistory m_history;
    QByteArray m_seen; // the image as the last step left it
    QString m_nextText;
    bool m_applying = false;
    bool m_stepping = false; // the history moves; the image follows next
};

} // namespace lmk
